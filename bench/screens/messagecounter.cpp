#include "messagecounter.h"

#include <QMutex>
#include <QMutexLocker>

namespace {

QtMessageHandler previous = nullptr;
bool echoAll = false;
QMutex mutex;
MessageCounter::Counts counts;

void count(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    const bool warning = type == QtWarningMsg || type == QtCriticalMsg || type == QtFatalMsg;
    if (warning) {
        QMutexLocker lock(&mutex);
        ++counts.warnings;
        if (text.contains(QLatin1String("TypeError")))
            ++counts.typeErrors;
        ++counts.texts[text.left(300)];
    }
    if (echoAll && previous)
        previous(type, context, text);
}

} // namespace

void MessageCounter::install(bool echo)
{
    echoAll = echo;
    previous = qInstallMessageHandler(count);
}

MessageCounter::Counts MessageCounter::take()
{
    QMutexLocker lock(&mutex);
    Counts taken = counts;
    counts = Counts();
    return taken;
}
