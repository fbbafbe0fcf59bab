#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// A reference backend of its own for one test or benchmark (fresh demo database, free
// loopback port), for options the shared fixture does not use.
class PrivateBackend
{
public:
    // `startMs`: how long the backend may take to come up (a large seed takes longer).
    explicit PrivateBackend(const QStringList &extraArguments = {}, int startMs = 10000);
    ~PrivateBackend();
    PrivateBackend(const PrivateBackend &) = delete;
    PrivateBackend &operator=(const PrivateBackend &) = delete;

    // Stops the backend and starts it again on the same database with these options (what
    // a later moment, `--clock-offset-minutes`, looks like to requests already sent); false
    // when it did not come up. The base URL changes.
    bool restart(const QStringList &extraArguments = {});

    // The base URL, "" when the backend did not come up within 10 seconds.
    QString url() const { return url_; }
    QString databasePath() const { return dir_.filePath("backend.db"); }
    QString output() { return QString::fromLocal8Bit(process_.readAll()); }

private:
    void start(const QStringList &extraArguments);
    void stop();

    QTemporaryDir dir_;
    QProcess process_;
    QString url_;
    int startMs_;
};
