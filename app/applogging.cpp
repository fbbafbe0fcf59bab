#include "app/applogging.h"

#include <cstring>

Q_LOGGING_CATEGORY(lcApp, "brenvo.app")
Q_LOGGING_CATEGORY(lcScreens, "brenvo.screens")

namespace {

QtMessageHandler previousHandler = nullptr;

// The QML engine writes console output under "qml" (and "js" for a few of its own lines).
bool fromScreens(const char *category)
{
    return category && (std::strcmp(category, "qml") == 0 || std::strcmp(category, "js") == 0);
}

void screenAwareHandler(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (!fromScreens(context.category)) {
        previousHandler(type, context, text);
        return;
    }
    if (!lcScreens().isEnabled(type))
        return;
    const QMessageLogContext screens(context.file, context.line, context.function,
                                     lcScreens().categoryName());
    previousHandler(type, screens, text);
}

} // namespace

void installScreenLogging()
{
    if (previousHandler)
        return;
    previousHandler = qInstallMessageHandler(screenAwareHandler); // Qt's default at least
}
