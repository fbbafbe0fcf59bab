#pragma once

#include <QJsonObject>
#include <QString>
#include <algorithm>
#include <memory>
#include <string>

#include <httplib.h>

#include "backendclient.h"
#include "backenddatabase.h"
#include "privatebackend.h"

// A reply's httpCode (-1 when it has none) and its data object.
inline int codeOf(const QJsonObject &reply)
{
    return reply.value("httpCode").toInt(-1);
}

inline QJsonObject dataOf(const QJsonObject &reply)
{
    return reply.value("data").toObject();
}

// A whole number as the terminal sends it: text.
inline QString n(qint64 value)
{
    return QString::number(value);
}

// A reference backend of an endpoint test's own, with a worker of each demo store signed in:
// calls carry the session and a timestamp later than any before (so no two of them meet as
// one repeated request), and the backend's database can be read to compare replies with what
// is stored. An endpoint test derives from it after QObject and calls start() in initTestCase.
class ApiBackend
{
public:
    // Starts the backend and signs the workers in; false when either fails (see output()).
    bool start()
    {
        backend_ = std::make_unique<PrivateBackend>();
        if (backend_->url().isEmpty())
            return false;
        client_ = std::make_unique<BackendClient>(backend_->url());
        store1 = WorkerSession::open(*client_, "BV2024000001", "zhangli");
        store2 = WorkerSession::open(*client_, "BV2024000002", "liuyang");
        return !store1.accessToken.isEmpty() && !store2.accessToken.isEmpty();
    }

    QString output() { return backend_ ? backend_->output() : QString(); }
    QString url() const { return backend_->url(); }
    QString databasePath() const { return backend_->databasePath(); }
    BackendClient &client() { return *client_; }

    // The session's fields, a fresh timestamp, then `fields`: the body of a call.
    QJsonObject body(const WorkerSession &session, const QJsonObject &fields = {})
    {
        QJsonObject b = session.body();
        timestamp_ = std::max(timestamp_ + 1, b.value("timestamp").toString().toLongLong());
        b.insert("timestamp", QString::number(timestamp_));
        for (auto it = fields.begin(); it != fields.end(); ++it)
            b.insert(it.key(), it.value());
        return b;
    }

    QJsonObject call(const WorkerSession &session, const QString &path, const QJsonObject &fields)
    {
        return client_->call(path, body(session, fields));
    }
    // As store 1's worker unless `as` names another.
    QJsonObject call(const QString &path, const QJsonObject &fields,
                     const WorkerSession *as = nullptr)
    {
        return call(as ? *as : store1, path, fields);
    }

    // The first value of a query on the backend's database (-1 when it cannot be opened).
    qint64 number(const QString &sql)
    {
        BackendDatabase db;
        if (!db.open(backend_->databasePath()))
            return -1;
        return db.number(sql.toUtf8().constData());
    }
    // The first value of a query as text ("" when there is none or the database cannot be
    // opened; NULL as a null QString).
    QString value(const QString &sql)
    {
        BackendDatabase db;
        if (!db.open(backend_->databasePath()))
            return {};
        return db.value(sql.toUtf8().constData());
    }
    // Runs one statement on the database, for what no endpoint lays out (balances, states).
    bool write(const QString &sql)
    {
        BackendDatabase db;
        return db.openWritable(backend_->databasePath()) && db.exec(sql.toUtf8().constData());
    }

    // A new order of the member in store 1, brought to the store (`more` adds or replaces
    // fields); its order number, "" when refused.
    QString newOrder(int userId, const QJsonObject &more = {})
    {
        QJsonObject fields{{"userId", n(userId)}, {"takeMode", "1"},  {"sendMode", "1"},
                           {"priority", "0"},     {"takeAddrId", ""}, {"sendAddrId", ""},
                           {"remark", ""},        {"userRemark", ""}};
        for (auto it = more.begin(); it != more.end(); ++it)
            fields.insert(it.key(), it.value());
        const QJsonObject reply = call("orderInfo/add", fields);
        return codeOf(reply) == 200 ? reply.value("data").toString() : QString();
    }

    // The wallet stand-in's scan of a trade's code (`result` "fail" refuses it); the HTTP
    // status, -1 when the request failed.
    int scan(const QString &seq, const QString &result = QString())
    {
        const std::string target = "/wallet/scan?seq=" + seq.toStdString() +
                                   (result.isEmpty() ? "" : "&result=" + result.toStdString());
        auto res = client_->http().Post(target, "", "text/plain");
        return res ? res->status : -1;
    }

    WorkerSession store1, store2;

private:
    std::unique_ptr<PrivateBackend> backend_;
    std::unique_ptr<BackendClient> client_;
    qint64 timestamp_ = 0;
};
