// Whose records a worker may reach: another store's orders, garments, bags and photos are
// refused (403, and nothing changes); the merchant's members, with their addresses, tags and
// coupons, are served in every store.

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

#include "backendclient.h"
#include "backenddatabase.h"
#include "privatebackend.h"

class TestOwnership : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void recordsOfTheOtherStore_data();
    void recordsOfTheOtherStore();

private:
    QJsonObject call(int store, const QString &path, const QJsonObject &fields);

    PrivateBackend backend_;
    std::unique_ptr<BackendClient> client_;
    WorkerSession sessions_[2]; // store 1 (zhangli), store 2 (liuyang)
    BackendDatabase db_;
    QMap<QString, QString> ids_; // "$order" and the like: store 1's records
};

void TestOwnership::initTestCase()
{
    QVERIFY2(!backend_.url().isEmpty(), qPrintable(backend_.output()));
    QVERIFY(db_.open(backend_.databasePath()));
    client_ = std::make_unique<BackendClient>(backend_.url());
    sessions_[0] = WorkerSession::open(*client_, "BV2024000001", "zhangli");
    sessions_[1] = WorkerSession::open(*client_, "BV2024000002", "liuyang");
    QVERIFY(!sessions_[0].accessToken.isEmpty() && !sessions_[1].accessToken.isEmpty());

    ids_["$garment"] = db_.value("SELECT p.id FROM order_products p JOIN orders o "
                                 "ON o.id = p.order_id WHERE o.store_id = 1 LIMIT 1");
    ids_["$order"] =
        db_.value("SELECT order_id FROM order_products WHERE id = ?", {ids_["$garment"]});
    ids_["$bag"] = db_.value("SELECT id FROM batch_in WHERE store_id = 1 LIMIT 1");
    ids_["$member"] = db_.value("SELECT id FROM users WHERE store_id = 1 LIMIT 1");
    // A photo of store 1's garment, recorded by store 1's worker.
    QCOMPARE(client_->storePicture(sessions_[0], "client/own1.jpg", "jpeg"), 200);
    QCOMPARE(call(0, "orderProductRelImg/batchAdd",
                  {{"orderProId", ids_["$garment"]},
                   {"imgs", R"([{"cameraImg":"client/own1.jpg","compressImg":""}])"}})
                 .value("httpCode")
                 .toInt(),
             200);
    ids_["$photo"] = db_.value("SELECT MAX(id) FROM order_product_imgs");
    for (auto it = ids_.begin(); it != ids_.end(); ++it)
        QVERIFY2(!it.value().isEmpty(), qPrintable(it.key()));
}

QJsonObject TestOwnership::call(int store, const QString &path, const QJsonObject &fields)
{
    QJsonObject body = sessions_[store].body();
    for (auto it = fields.begin(); it != fields.end(); ++it)
        body.insert(it.key(), ids_.value(it.value().toString(), it.value().toString()));
    return client_->call(path, body);
}

void TestOwnership::recordsOfTheOtherStore_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QJsonObject>("fields"); // "$order" stands for store 1's order, ...
    QTest::addColumn<int>("code");           // for store 2's worker
    QTest::addColumn<QString>("msg");
    QTest::addColumn<QString>("unchanged"); // a query store 2's refused call must not change

    const QString photos = "SELECT COUNT(*) FROM order_product_imgs";
    QTest::newRow("order ticket") << "print/order/detail" << QJsonObject{{"orderId", "$order"}}
                                  << 403 << "非此门店订单"
                                  << "";
    QTest::newRow("wash labels of an order")
        << "print/product/all" << QJsonObject{{"orderId", "$order"}} << 403 << "非此门店订单"
        << "";
    QTest::newRow("wash label") << "print/product/detail" << QJsonObject{{"orderProId", "$garment"}}
                                << 403 << "非此门店衣物"
                                << "";
    QTest::newRow("bag label") << "print/batchIn/product" << QJsonObject{{"id", "$bag"}} << 403
                               << "非此门店袋子"
                               << "";
    QTest::newRow("garment photos")
        << "orderProductRelImg/list" << QJsonObject{{"orderProId", "$garment"}} << 403
        << "非此门店衣物"
        << "";
    QTest::newRow("adding a garment photo")
        << "orderProductRelImg/batchAdd"
        << QJsonObject{{"orderProId", "$garment"},
                       {"imgs", R"([{"cameraImg":"client/own1.jpg","compressImg":""}])"}}
        << 403 << "非此门店衣物" << photos;
    QTest::newRow("deleting a garment photo")
        << "orderProductRelImg/delete" << QJsonObject{{"id", "$photo"}} << 403
        << "非此门店衣物的图片" << photos;

    // The merchant's members are every store's.
    QTest::newRow("member look-up by store 1's order number")
        << "userInfo/queryByKey" << QJsonObject{{"key", "$orderNo"}} << 200 << "操作成功"
        << "";
    QTest::newRow("member's name")
        << "userInfo/updateName" << QJsonObject{{"id", "$member"}, {"name", "钱七"}} << 200
        << "操作成功"
        << "";
    QTest::newRow("member's addresses")
        << "userAddress/list" << QJsonObject{{"userId", "$member"}} << 200 << "操作成功"
        << "";
    QTest::newRow("member's tags")
        << "userTag/list" << QJsonObject{{"userId", "$member"}} << 200 << "操作成功"
        << "";
    QTest::newRow("member's coupons")
        << "couponInfo/userList" << QJsonObject{{"userId", "$member"}} << 200 << "操作成功"
        << "";
    QTest::newRow("an order for the member")
        << "orderInfo/add"
        << QJsonObject{{"userId", "$member"}, {"takeMode", "1"},  {"sendMode", "1"},
                       {"priority", "0"},     {"takeAddrId", ""}, {"sendAddrId", ""},
                       {"remark", ""},        {"userRemark", ""}}
        << 200 << "操作成功"
        << "";
}

void TestOwnership::recordsOfTheOtherStore()
{
    QFETCH(QString, path);
    QFETCH(QJsonObject, fields);
    QFETCH(int, code);
    QFETCH(QString, msg);
    QFETCH(QString, unchanged);
    ids_["$orderNo"] = db_.value("SELECT order_no FROM orders WHERE id = ?", {ids_["$order"]});
    const QString before = db_.value(unchanged.toUtf8().constData());
    const QJsonObject reply = call(1, path, fields);
    QCOMPARE(reply.value("httpCode").toInt(), code);
    QCOMPARE(reply.value("msg").toString(), msg);
    QCOMPARE(reply.contains("data"), code == 200);
    if (!unchanged.isEmpty())
        QCOMPARE(db_.value(unchanged.toUtf8().constData()), before);
    // Store 1's own worker is served.
    if (code == 403)
        QCOMPARE(call(0, path, fields).value("httpCode").toInt(), 200);
}

QTEST_GUILESS_MAIN(TestOwnership)
#include "tst_ownership.moc"
