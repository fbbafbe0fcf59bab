#pragma once

#include <QJsonObject>
#include <QString>
#include <memory>

namespace httplib {
class Client;
}

struct WorkerSession;

// The terminal's side of the protocol, written independently of the backend's code: the
// signed query, mmd5, and a blocking HTTP client (one per thread).
class BackendClient
{
public:
    explicit BackendClient(const QString &baseUrl);
    ~BackendClient();

    static QString sign(const QJsonObject &params);
    static QString signedQuery(const QJsonObject &params);
    static QString mmd5(const QString &first, const QString &second);
    // The time as the terminal sends it, in milliseconds, plus the offset; a later call never
    // returns the same base time as an earlier one in the same program.
    static QString now(qint64 offsetMs = 0);

    // POST of a body to "/mac/<path>?<query>"; the reply text ("" when the request failed).
    QByteArray postRaw(const QString &pathAndQuery, const QByteArray &body);
    QJsonObject post(const QString &path, const QJsonObject &body, const QString &query);
    // Signs the body and posts it.
    QJsonObject call(const QString &path, const QJsonObject &body);
    QByteArray get(const QString &pathAndQuery, int *status = nullptr);

    // The handshake; returns the appSecret, "" when refused.
    QString handshake(const QString &serialNum);
    QJsonObject passwordLogin(const QString &serialNum, const QString &appSecret,
                              const QString &account, const QString &password);

    // Stores a picture in the photo store under `key` with an upload token of the session;
    // the HTTP status (-1 when the request failed).
    int storePicture(const WorkerSession &session, const QString &key, const QByteArray &bytes);

    httplib::Client &http() { return *http_; }

private:
    std::unique_ptr<httplib::Client> http_;
};

// A signed-in worker: handshake and password login.
struct WorkerSession
{
    QString serialNum;
    QString appSecret;
    QString accessToken;
    // serialNum, appSecret, accessToken and a fresh timestamp.
    QJsonObject body() const;
    static WorkerSession open(BackendClient &client, const QString &serialNum,
                              const QString &account, const QString &password = "123456");
};
