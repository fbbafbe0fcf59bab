#include "privatebackend.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

PrivateBackend::PrivateBackend(const QStringList &extraArguments, int startMs) : startMs_(startMs)
{
    process_.setProcessChannelMode(QProcess::MergedChannels);
    start(extraArguments);
}

PrivateBackend::~PrivateBackend()
{
    stop();
}

bool PrivateBackend::restart(const QStringList &extraArguments)
{
    stop();
    start(extraArguments);
    return !url_.isEmpty();
}

void PrivateBackend::start(const QStringList &extraArguments)
{
    const QString urlFile = dir_.filePath("url");
    QFile::remove(urlFile);
    url_.clear();
    process_.start(
        QStringLiteral(BRENVO_BACKEND_EXE),
        QStringList{"--db", databasePath(), "--port", "0", "--demo", "--url-file", urlFile} +
            extraArguments);
    if (!process_.waitForStarted(5000))
        return;
    const QDeadlineTimer deadline(startMs_);
    while (!deadline.hasExpired() && process_.state() == QProcess::Running) {
        QFile f(urlFile);
        if (f.open(QIODevice::ReadOnly)) {
            url_ = QString::fromUtf8(f.readAll()).trimmed();
            if (!url_.isEmpty())
                return;
        }
        QThread::msleep(20);
    }
}

void PrivateBackend::stop()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        if (!process_.waitForFinished(5000))
            process_.kill();
        process_.waitForFinished(2000);
    }
}
