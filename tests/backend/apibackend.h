#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QtDebug>
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

// A whole number of a reply (an id, fen); -1 when it is not a number. Read as a double, so
// amounts beyond a 32-bit int come back whole (exact up to 2^53).
inline qint64 whole(const QJsonValue &v)
{
    return v.isDouble() ? static_cast<qint64>(v.toDouble()) : -1;
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

    // The fields of a plain order header for the member: taken and sent at the counter.
    static QJsonObject orderHeader(int userId)
    {
        return {{"userId", QString::number(userId)},
                {"takeMode", "1"},
                {"sendMode", "1"},
                {"priority", "0"},
                {"takeAddrId", ""},
                {"sendAddrId", ""},
                {"remark", ""},
                {"userRemark", ""}};
    }

    // A new order of the member in store 1, brought to the store (`more` adds or replaces
    // fields); its order number, "" when refused.
    QString newOrder(int userId, const QJsonObject &more = {})
    {
        QJsonObject fields = orderHeader(userId);
        for (auto it = more.begin(); it != more.end(); ++it)
            fields.insert(it.key(), it.value());
        const QJsonObject reply = call("orderInfo/add", fields);
        return codeOf(reply) == 200 ? reply.value("data").toString() : QString();
    }

    // The id of the order of that number, 0 for none.
    qint64 orderIdOf(const QString &orderNo)
    {
        return orderNo.isEmpty()
                   ? 0
                   : std::max<qint64>(
                         0, number("SELECT id FROM orders WHERE order_no = '" + orderNo + "'"));
    }

    // A garment taken into the order by store 1's worker: 牛仔裤 (product 10) with the first
    // service of the product, unless `fields` say otherwise (`chgSubtotal` sets its price by
    // hand). The reply's data, the garment as the intake screen lists it; empty when refused.
    QJsonObject addGarment(qint64 orderId, const QJsonObject &fields = {})
    {
        QJsonObject body{{"orderId", n(orderId)}, {"mercBusinessId", "1"}, {"productId", "10"}};
        for (auto it = fields.begin(); it != fields.end(); ++it)
            body.insert(it.key(), it.value());
        if (!body.contains("proServiceId"))
            body.insert("proServiceId",
                        n(number("SELECT MIN(id) FROM product_services WHERE product_id = " +
                                 body.value("productId").toString())));
        const QJsonObject reply = call("stockIn/add", body);
        if (codeOf(reply) != 200)
            qWarning() << "stockIn/add:" << reply;
        return dataOf(reply);
    }

    // How far an order made by orderWithGarments goes: its garments taken in (待收衣), or
    // its intake finished (已收衣: the garments wait for a factory bag).
    enum class Intake { open, finished };

    // An order of the member in store 1 with one garment per subtotal (fen, set by hand); its
    // id, 0 when a step was refused.
    qint64 orderWithGarments(int userId, const QList<qint64> &subtotals,
                             Intake intake = Intake::open)
    {
        const qint64 id = orderIdOf(newOrder(userId));
        if (id == 0)
            return 0;
        for (qint64 fen : subtotals)
            if (addGarment(id, {{"chgSubtotal", n(fen)}}).isEmpty())
                return 0;
        if (intake == Intake::finished && codeOf(call("stockIn/finish", {{"id", n(id)}})) != 200)
            return 0;
        return id;
    }

    // The order's garments in intake order.
    QList<qint64> garmentsOf(qint64 orderId)
    {
        BackendDatabase db;
        QList<qint64> ids;
        if (!db.open(backend_->databasePath()))
            return ids;
        for (const QStringList &r :
             db.rows("SELECT id FROM order_products WHERE order_id = ? ORDER BY id", {n(orderId)}))
            ids << r.value(0).toLongLong();
        return ids;
    }

    // The order paid in cash, with the member's whole balance going in when `balance` (the
    // balance as the cashier shows it) is not negative; the reply.
    QJsonObject payCash(qint64 orderId, qint64 balance = -1)
    {
        QJsonObject fields{{"orderId", n(orderId)}, {"remark", ""}, {"groupCardType", ""}};
        if (balance >= 0)
            fields.insert("balance", n(balance));
        return call("tradePay/confirmPay", fields);
    }

    // The order's garments are back from the factory (已到店; those handed out or refunded
    // unwashed stay so) and the order waits for its customer: written into the database for
    // tests that need garments in the store without their road to the factory and back.
    bool arrive(qint64 orderId)
    {
        return write("UPDATE order_products SET status = 19 WHERE status NOT IN (40, 50) AND "
                     "order_id = " +
                     n(orderId)) &&
               write("UPDATE orders SET status = 30 WHERE id = " + n(orderId));
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
