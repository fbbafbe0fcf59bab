#pragma once

#include "tests/net/loopbackserver.h"

#include <QObject>
#include <QString>

// A backend that misbehaves on purpose, for the screens' tests: it can hold requests and
// answer them in any order, or fail the way real networks do.
//   "answer"    every request gets `reply`
//   "hold"      requests wait until the test answers them (answerHeld), or forever
//   "down"      nobody listens: connections are refused
//   "html502"   a proxy's "502 Bad Gateway" page
//   "truncated" a 200 whose JSON is cut off
class FakeBackend : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString url READ url CONSTANT)
    Q_PROPERTY(QString reply MEMBER m_reply)

public:
    explicit FakeBackend(QObject *parent = nullptr);

    QString url() const { return m_url; }

    Q_INVOKABLE void setMode(const QString &mode);
    Q_INVOKABLE int requestCount() const { return int(m_server.requests.size()); }
    // "/mac/<path>?<query>" of request `index`.
    Q_INVOKABLE QString requestTarget(int index) const;
    Q_INVOKABLE QString requestBody(int index) const;
    // Index of the first request whose target contains `fragment`, or -1.
    Q_INVOKABLE int indexOf(const QString &fragment) const;
    Q_INVOKABLE void answerHeld(int index, const QString &body);

private:
    LoopbackServer m_server;
    QString m_url;
    QString m_reply = QStringLiteral(R"({"httpCode":200,"msg":"ok","data":{}})");
};
