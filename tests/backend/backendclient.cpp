#include "backendclient.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QJsonDocument>
#include <QUrl>
#include <algorithm>
#include <atomic>

#include <httplib.h>

BackendClient::BackendClient(const QString &baseUrl)
    : http_(std::make_unique<httplib::Client>(baseUrl.toStdString()))
{
    http_->set_keep_alive(true);
    http_->set_tcp_nodelay(true);
    http_->set_read_timeout(30, 0);
}

BackendClient::~BackendClient() = default;

QString BackendClient::sign(const QJsonObject &params)
{
    // QJsonObject keeps its keys in UTF-16 order, the order the signature needs.
    QString joined;
    for (auto it = params.begin(); it != params.end(); ++it)
        joined += it.value().toString();
    return QCryptographicHash::hash(joined.toUtf8(), QCryptographicHash::Md5).toHex();
}

QString BackendClient::signedQuery(const QJsonObject &params)
{
    const QString signature = sign(params);
    QStringList pairs;
    for (auto it = params.begin(); it != params.end(); ++it) {
        if (it.key() == "appSecret")
            continue;
        if (it.key() == "timestamp")
            pairs << "sign=" + signature;
        pairs << QUrl::toPercentEncoding(it.key()) + "=" +
                     QUrl::toPercentEncoding(it.value().toString());
    }
    return pairs.join('&');
}

QString BackendClient::mmd5(const QString &first, const QString &second)
{
    const QByteArray inner =
        QCryptographicHash::hash(first.toLatin1(), QCryptographicHash::Md5).toHex();
    return QCryptographicHash::hash(inner + second.toLatin1(), QCryptographicHash::Md5).toHex();
}

QString BackendClient::now(qint64 offsetMs)
{
    // Never the same millisecond twice in a test program: two requests that differ only in
    // their time must not meet as one request repeated, however fast they follow each other.
    static std::atomic<qint64> last{0};
    qint64 stamp = QDateTime::currentMSecsSinceEpoch();
    qint64 previous = last.load();
    while (!last.compare_exchange_weak(previous, std::max(stamp, previous + 1))) {
    }
    stamp = std::max(stamp, previous + 1);
    return QString::number(stamp + offsetMs);
}

QByteArray BackendClient::postRaw(const QString &pathAndQuery, const QByteArray &body)
{
    auto res = http_->Post(pathAndQuery.toStdString(), body.toStdString(),
                           "application/json;charset=UTF-8");
    if (!res)
        return {};
    return QByteArray::fromStdString(res->body);
}

QJsonObject BackendClient::post(const QString &path, const QJsonObject &body, const QString &query)
{
    const QByteArray text =
        postRaw("/mac/" + path + "?" + query, QJsonDocument(body).toJson(QJsonDocument::Compact));
    return QJsonDocument::fromJson(text).object();
}

QJsonObject BackendClient::call(const QString &path, const QJsonObject &body)
{
    return post(path, body, signedQuery(body));
}

QByteArray BackendClient::get(const QString &pathAndQuery, int *status)
{
    auto res = http_->Get(pathAndQuery.toStdString());
    if (status)
        *status = res ? res->status : -1;
    return res ? QByteArray::fromStdString(res->body) : QByteArray();
}

QString BackendClient::handshake(const QString &serialNum)
{
    const QString ts = now();
    const QString token = mmd5(serialNum, ts);
    const QJsonObject body{{"serialNum", serialNum}, {"timestamp", ts}, {"token", token}};
    const QJsonObject reply = post(
        "client/sign", body, "serialNum=" + serialNum + "&timestamp=" + ts + "&token=" + token);
    return reply.value("data").toObject().value("appSecret").toString();
}

QJsonObject BackendClient::passwordLogin(const QString &serialNum, const QString &appSecret,
                                         const QString &account, const QString &password)
{
    return call("client/login", QJsonObject{{"serialNum", serialNum},
                                            {"appSecret", appSecret},
                                            {"account", account},
                                            {"password", mmd5(password, appSecret)},
                                            {"timestamp", now()},
                                            {"sysVersion", "Windows 10"},
                                            {"version", "4.0.2"}});
}

int BackendClient::storePicture(const WorkerSession &session, const QString &key,
                                const QByteArray &bytes)
{
    const std::string token = call("attachment/qiniu/token", session.body())
                                  .value("data")
                                  .toObject()
                                  .value("token")
                                  .toString()
                                  .toStdString();
    auto res = http_->Post("/qiniu", httplib::MultipartFormDataItems{
                                         {"token", token, "", ""},
                                         {"key", key.toStdString(), "", ""},
                                         {"file", bytes.toStdString(), "p.jpg", "image/jpeg"}});
    return res ? res->status : -1;
}

QJsonObject WorkerSession::body() const
{
    return QJsonObject{{"serialNum", serialNum},
                       {"appSecret", appSecret},
                       {"accessToken", accessToken},
                       {"timestamp", BackendClient::now()}};
}

WorkerSession WorkerSession::open(BackendClient &client, const QString &serialNum,
                                  const QString &account, const QString &password)
{
    WorkerSession s;
    s.serialNum = serialNum;
    s.appSecret = client.handshake(serialNum);
    s.accessToken = client.passwordLogin(serialNum, s.appSecret, account, password)
                        .value("data")
                        .toObject()
                        .value("accessToken")
                        .toString();
    return s;
}
