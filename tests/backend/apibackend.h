#pragma once

#include <QJsonObject>
#include <QString>
#include <algorithm>
#include <memory>

#include "backendclient.h"
#include "backenddatabase.h"
#include "privatebackend.h"

// A reference backend of an endpoint test's own, with a worker of each demo store signed in:
// calls carry the session and a timestamp later than any before (so no two of them meet as
// one repeated request), and the backend's database can be read to compare replies with what
// is stored.
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
    QJsonObject call(const QString &path, const QJsonObject &fields)
    {
        return call(store1, path, fields);
    }

    // The first value of a query on the backend's database (-1 when it cannot be opened).
    qint64 number(const QString &sql)
    {
        BackendDatabase db;
        if (!db.open(backend_->databasePath()))
            return -1;
        return db.number(sql.toUtf8().constData());
    }

    WorkerSession store1, store2;

private:
    std::unique_ptr<PrivateBackend> backend_;
    std::unique_ptr<BackendClient> client_;
    qint64 timestamp_ = 0;
};
