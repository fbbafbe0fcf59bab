#include "app/applogging.h"
#include "app/caretblinktimeout.h"
#include "app/chineselocale.h"
#include "app/typeregistry.h"
#include "print/imageprovider.h"

#include <QApplication>
#include <QQmlApplicationEngine>
#include <QTranslator>

int main(int argc, char *argv[])
{
    useChineseLocale();
    QApplication app(argc, argv);
    installScreenLogging();
    CaretBlinkTimeout caretBlink;

    // Turns the standard buttons of message boxes and dialogs into Chinese; a missing
    // catalogue only leaves them in English.
    QTranslator translator;
    (void)translator.load(QStringLiteral(":/translations/qt_zh_CN.qm"));
    app.installTranslator(&translator);

    registerBrenvoTypes();

    QQmlApplicationEngine engine;
    engine.addImageProvider(QStringLiteral("imageProvider"), new ImageProvider);
    engine.load(QUrl(QStringLiteral("qrc:/main.qml")));
    if (engine.rootObjects().isEmpty())
        return -1;
    return app.exec();
}
