// Garment intake against a backend of the test's own: the city's carriage and the order's,
// the order in full with its notes, finishing, deleting, a total set by hand, the factory
// waybill, electronic labels, the store's garment list and factory bags; the order's flags
// follow it through all of them. Demo member 3 is a 钻石会员 (85 %); 牛仔裤 (10) is washed
// for 20.00; 大衣 (19) comes with accessories when asked; the demo city charges 10.00 for
// fetching and 10.00 for delivering below 100.00.

#include <QDate>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTest>

#include "apibackend.h"

namespace {

// The flags the intake screen offers its buttons by, in this order.
const QStringList flagNames{"isEnableFinishStockIn", "isPaid",          "isEnableModifyPrice",
                            "isEnablePay",           "isEnableBatchIn", "isEnablePrint"};

} // namespace

class TestIntakeEndpoints : public QObject, private ApiBackend
{
    Q_OBJECT

private slots:
    void initTestCase();

    void cityCarriage();
    void orderCarriage_data();
    void orderCarriage();
    void flagsFollowTheOrder();
    void finishRefusals();
    void deleteGarment();
    void modifyPrice();
    void factoryWaybill();
    void notesInTheDetail();
    void bindCode();
    void garmentList();
    void bags();
    void addBatchRefusals_data();
    void addBatchRefusals();

private:
    // A new order of the member in store 1 (`fields` added to orderInfo/add); its id.
    QString newOrder(const QString &userId, const QJsonObject &fields = {})
    {
        const qint64 id = orderIdOf(ApiBackend::newOrder(userId.toInt(), fields));
        return id ? n(id) : QString();
    }
    QString orderNo(const QString &orderId);
    // 牛仔裤 washed (or `fields`) added to the order; the garment's id.
    QString addGarment(const QString &orderId, const QJsonObject &fields = {})
    {
        return n(whole(ApiBackend::addGarment(orderId.toLongLong(), fields).value("id")));
    }
    QJsonObject queryOrder(const QString &orderId);
    // The six flags of the order, in flagNames' order.
    QList<bool> flags(const QString &orderId);
    QString dbValue(const QString &sql) { return value(sql); }
    bool dbExec(const QString &sql) { return write(sql); }
};

void TestIntakeEndpoints::initTestCase()
{
    QVERIFY2(start(), qPrintable(output()));
}

QString TestIntakeEndpoints::orderNo(const QString &orderId)
{
    return dbValue("SELECT order_no FROM orders WHERE id = " + orderId);
}

QJsonObject TestIntakeEndpoints::queryOrder(const QString &orderId)
{
    return call("stockIn/queryOrder", {{"keywords", orderNo(orderId)}}).value("data").toObject();
}

QList<bool> TestIntakeEndpoints::flags(const QString &orderId)
{
    const QJsonObject data = queryOrder(orderId);
    QList<bool> out;
    for (const QString &name : flagNames)
        out << data.value(name).toBool();
    return out;
}

// ---- carriage --------------------------------------------------------------------------------

void TestIntakeEndpoints::cityCarriage()
{
    const QJsonObject reply = call("mercCity/carriage", {});
    QCOMPARE(codeOf(reply), 200);
    const QJsonObject d = reply.value("data").toObject();
    const QString city = "SELECT %1 FROM cities c JOIN stores s ON s.city_id = c.id WHERE s.id = 1";
    QCOMPARE(whole(d.value("takeCarriage")), dbValue(city.arg("pickup_fee")).toLongLong());
    QCOMPARE(whole(d.value("sendCarriage")), dbValue(city.arg("delivery_fee")).toLongLong());
    QCOMPARE(whole(d.value("freeCarriageAmt")), dbValue(city.arg("free_above")).toLongLong());
    QCOMPARE(whole(d.value("isCarriage")), 1);

    // A city that charges nothing says so.
    QVERIFY(dbExec("UPDATE cities SET pickup_fee = 0, delivery_fee = 0"));
    QCOMPARE(whole(call("mercCity/carriage", {}).value("data").toObject().value("isCarriage")), 0);
    QVERIFY(dbExec("UPDATE cities SET pickup_fee = 1000, delivery_fee = 1000"));
}

void TestIntakeEndpoints::orderCarriage_data()
{
    QTest::addColumn<QString>("takeMode");
    QTest::addColumn<QString>("sendMode");
    QTest::addColumn<int>("garments"); // 17.00 each for member 3
    QTest::addColumn<qint64>("take");
    QTest::addColumn<qint64>("send");
    QTest::newRow("brought and collected") << "1"
                                           << "1" << 1 << 0ll << 0ll;
    QTest::newRow("fetched") << "2"
                             << "1" << 1 << 1000ll << 0ll;
    QTest::newRow("delivered") << "1"
                               << "2" << 1 << 0ll << 1000ll;
    QTest::newRow("fetched and delivered") << "2"
                                           << "2" << 2 << 1000ll << 1000ll;
    QTest::newRow("free from 100.00") << "2"
                                      << "2" << 6 << 0ll << 0ll;
}

// The order's carriage follows the city's fees as its garments come in; the intake screen
// sees the two parts, and the order asks for them.
void TestIntakeEndpoints::orderCarriage()
{
    QFETCH(QString, takeMode);
    QFETCH(QString, sendMode);
    QFETCH(int, garments);
    QFETCH(qint64, take);
    QFETCH(qint64, send);
    const QString address = dbValue("SELECT MIN(id) FROM user_addresses WHERE user_id = 3");
    QVERIFY(!address.isEmpty());
    const QString today = QDate::currentDate().toString("yyyy-MM-dd");
    const QString id = newOrder("3", {{"takeMode", takeMode},
                                      {"sendMode", sendMode},
                                      {"takeAddrId", address},
                                      {"sendAddrId", address},
                                      {"takeDate", today},
                                      {"sendDate", today},
                                      {"takeTimeStart", "08:00"},
                                      {"takeTimeEnd", "10:00"}});
    QVERIFY(!id.isEmpty());
    for (int i = 0; i < garments; ++i)
        addGarment(id);
    const QJsonObject info = queryOrder(id).value("orderInfo").toObject();
    QCOMPARE(whole(info.value("takeCarriage")), take);
    QCOMPARE(whole(info.value("sendCarriage")), send);
    QCOMPARE(whole(info.value("orderPrice")), 1700ll * garments);
    QCOMPARE(whole(info.value("paymentPrice")), 1700ll * garments + take + send);
}

// ---- the flags -------------------------------------------------------------------------------

void TestIntakeEndpoints::flagsFollowTheOrder()
{
    using Flags = QList<bool>;
    const QString id = newOrder("3");
    // finish, paid, modify, pay, bag, print
    QCOMPARE(flags(id), (Flags{false, false, false, false, false, false}));
    const QString garment = addGarment(id);
    QCOMPARE(flags(id), (Flags{true, false, true, true, false, true}));
    QCOMPARE(codeOf(call("stockIn/finish", {{"id", id}})), 200);
    QCOMPARE(dbValue("SELECT status FROM orders WHERE id = " + id), QString("10"));
    QVERIFY(!dbValue("SELECT finished_at FROM orders WHERE id = " + id).isEmpty());
    QCOMPARE(flags(id), (Flags{false, false, true, true, true, true}));

    QCOMPARE(codeOf(call("tradePay/confirmPay",
                         {{"orderId", id}, {"remark", ""}, {"groupCardType", ""}})),
             200);
    QCOMPARE(flags(id), (Flags{false, true, false, false, true, true}));

    const QString bag = QString::number(
        whole(call("orderProductBatchIn/add", {}).value("data").toObject().value("id")));
    QCOMPARE(
        codeOf(call("orderProductBatchInRel/addBatch", {{"inId", bag}, {"orderProIds", garment}})),
        200);
    QCOMPARE(flags(id), (Flags{false, true, false, false, false, true}));

    // A voided order offers nothing but what it was.
    const QString voided = dbValue("SELECT id FROM orders WHERE destroyed_at IS NOT NULL");
    QCOMPARE(flags(voided), (Flags{false, false, false, false, false, false}));
}

void TestIntakeEndpoints::finishRefusals()
{
    const QString empty = newOrder("3");
    QJsonObject reply = call("stockIn/finish", {{"id", empty}});
    QCOMPARE(codeOf(reply), 409);
    QCOMPARE(reply.value("msg").toString(), QString("订单还没有衣物，请先添加衣物"));

    const QString id = newOrder("3");
    addGarment(id);
    QCOMPARE(codeOf(call("stockIn/finish", {{"id", id}}, &store2)), 403);
    QCOMPARE(codeOf(call("stockIn/finish", {{"id", id}})), 200);
    reply = call("stockIn/finish", {{"id", id}});
    QCOMPARE(codeOf(reply), 409);
    QCOMPARE(reply.value("msg").toString(), QString("订单已完成入库"));

    const QString voided = dbValue("SELECT id FROM orders WHERE destroyed_at IS NOT NULL");
    QCOMPARE(call("stockIn/finish", {{"id", voided}}).value("msg").toString(),
             QString("订单已作废"));
}

// ---- garments ----------------------------------------------------------------------------------

void TestIntakeEndpoints::deleteGarment()
{
    const QString id = newOrder("3");
    const QString kept = addGarment(id);
    const QString coat =
        addGarment(id, {{"productId", "19"}, {"annexDesc", R"([{"id":"1","name":"腰带"}])"}});
    QVERIFY(client().storePicture(store1, "client/abcdef7010000777.jpg", "jpeg") == 200);
    QCOMPARE(codeOf(call("orderProductRelImg/batchAdd",
                         {{"orderProId", coat},
                          {"imgs", R"([{"cameraImg":"client/abcdef7010000777.jpg"}])"}})),
             200);
    QCOMPARE(codeOf(call("stockIn/delete", {{"id", coat}}, &store2)), 403);

    QCOMPARE(codeOf(call("stockIn/delete", {{"id", coat}})), 200);
    QCOMPARE(dbValue("SELECT COUNT(*) FROM order_products WHERE id = " + coat), QString("0"));
    QCOMPARE(dbValue("SELECT COUNT(*) FROM order_product_annexes WHERE order_product_id = " + coat),
             QString("0"));
    QCOMPARE(dbValue("SELECT COUNT(*) FROM order_product_imgs WHERE order_product_id = " + coat),
             QString("0"));
    const QJsonObject data = queryOrder(id);
    QCOMPARE(data.value("proList").toArray().size(), 1);
    QCOMPARE(whole(data.value("orderInfo").toObject().value("orderPrice")),
             dbValue("SELECT subtotal FROM order_products WHERE id = " + kept).toLongLong());

    // A garment in a bag stays, and so does one of a paid order.
    QCOMPARE(codeOf(call("stockIn/finish", {{"id", id}})), 200);
    const QString bag = QString::number(
        whole(call("orderProductBatchIn/add", {}).value("data").toObject().value("id")));
    QCOMPARE(
        codeOf(call("orderProductBatchInRel/addBatch", {{"inId", bag}, {"orderProIds", kept}})),
        200);
    QCOMPARE(codeOf(call("stockIn/delete", {{"id", kept}})), 409);
    const QString paid = newOrder("3");
    const QString paidGarment = addGarment(paid);
    QCOMPARE(codeOf(call("tradePay/confirmPay",
                         {{"orderId", paid}, {"remark", ""}, {"groupCardType", ""}})),
             200);
    QCOMPARE(codeOf(call("stockIn/delete", {{"id", paidGarment}})), 409);
}

void TestIntakeEndpoints::modifyPrice()
{
    const QString id = newOrder("3");
    addGarment(id);
    QCOMPARE(codeOf(call("orderInfo/modifyPrice", {{"id", id}, {"modifyPrice", "1234"}})), 200);
    QJsonObject info = queryOrder(id).value("orderInfo").toObject();
    QCOMPARE(whole(info.value("modifyPrice")), 1234ll);
    QCOMPARE(whole(info.value("isModifyPrice")), 1ll);
    QCOMPARE(whole(info.value("paymentPrice")), 1234ll);
    QCOMPARE(
        whole(
            call("orderInfo/payInfo", {{"id", id}}).value("data").toObject().value("payablePrice")),
        1234ll);
    // 0 is refused, not taken as "no total by hand": the worker asked for a free order.
    const QJsonObject zero = call("orderInfo/modifyPrice", {{"id", id}, {"modifyPrice", "0"}});
    QCOMPARE(codeOf(zero), 400);
    QCOMPARE(zero.value("msg").toString(), QString("修改后的总价须大于0"));
    info = queryOrder(id).value("orderInfo").toObject();
    QCOMPARE(whole(info.value("isModifyPrice")), 1ll);
    QCOMPARE(whole(info.value("paymentPrice")), 1234ll);
    QCOMPARE(dbValue("SELECT order_price FROM orders WHERE id = " + id), QString("1700"));

    QCOMPARE(codeOf(call("orderInfo/modifyPrice", {{"id", id}, {"modifyPrice", "-1"}})), 400);
    QCOMPARE(codeOf(call("orderInfo/modifyPrice", {{"id", id}, {"modifyPrice", "12.5"}})), 400);
    QCOMPARE(codeOf(call("orderInfo/modifyPrice", {{"id", id}, {"modifyPrice", "1"}}, &store2)),
             403);
    QCOMPARE(codeOf(call("tradePay/confirmPay",
                         {{"orderId", id}, {"remark", ""}, {"groupCardType", ""}})),
             200);
    const QJsonObject refused = call("orderInfo/modifyPrice", {{"id", id}, {"modifyPrice", "1"}});
    QCOMPARE(codeOf(refused), 409);
    QCOMPARE(refused.value("msg").toString(), QString("订单已付款，不能修改金额"));
}

void TestIntakeEndpoints::factoryWaybill()
{
    const QString id = newOrder("3");
    const QString number = "88" + QString::number(QDateTime::currentMSecsSinceEpoch());
    QCOMPARE(codeOf(call("orderInfo/updateFactoryTransNo", {{"orderId", id}, {"transNo", number}})),
             200);
    // The intake screen finds the order by it.
    const QJsonObject found = call("stockIn/queryOrder", {{"keywords", number}});
    QCOMPARE(whole(found.value("data").toObject().value("orderInfo").toObject().value("id")),
             id.toLongLong());
    QCOMPARE(found.value("data").toObject().value("orderInfo").toObject().value("factoryTransNo"),
             QJsonValue(number));

    const QString other = newOrder("3");
    const QJsonObject taken =
        call("orderInfo/updateFactoryTransNo", {{"orderId", other}, {"transNo", number}});
    QCOMPARE(codeOf(taken), 409);
    QCOMPARE(taken.value("msg").toString(), QString("该运单号已用于其他订单"));
    QCOMPARE(
        codeOf(call("orderInfo/updateFactoryTransNo", {{"orderId", other}, {"transNo", "12a"}})),
        400);
    QCOMPARE(codeOf(call("orderInfo/updateFactoryTransNo",
                         {{"orderId", other}, {"transNo", QString(36, '1')}})),
             400);
    // The same number again on its own order is no conflict.
    QCOMPARE(codeOf(call("orderInfo/updateFactoryTransNo", {{"orderId", id}, {"transNo", number}})),
             200);
}

void TestIntakeEndpoints::notesInTheDetail()
{
    const QString id =
        newOrder("3", {{"remark", "先到的备注"}, {"remarkJson", R"([{"remark":"先到的备注"}])"}});
    addGarment(id);
    QCOMPARE(codeOf(call("orderExt/addRemark", {{"id", id}, {"remark", "袖口开线"}})), 200);
    QCOMPARE(codeOf(call("orderExt/addRemark", {{"id", id}, {"remark", "  "}})), 400);
    QCOMPARE(codeOf(call("orderExt/addRemark", {{"id", id}, {"remark", "x"}}, &store2)), 403);

    const QJsonObject reply = call("orderInfo/detail", {{"id", id}});
    QCOMPARE(codeOf(reply), 200);
    const QJsonObject d = reply.value("data").toObject();
    QCOMPARE(d.value("orderNo").toString(), orderNo(id));
    QCOMPARE(d.value("userInfo").toObject().value("phone").toString(), QString("13912340003"));
    QCOMPARE(d.value("productList").toArray().size(), 1);
    QCOMPARE(d.value("isEnablePay").toBool(), true);
    const QJsonArray notes = d.value("remarkJson").toArray();
    QCOMPARE(notes.size(), 2);
    // Newest first, each with its worker and time.
    QCOMPARE(notes[0].toObject().value("remark").toString(), QString("袖口开线"));
    QCOMPARE(notes[1].toObject().value("remark").toString(), QString("先到的备注"));
    QCOMPARE(notes[0].toObject().value("workName").toString(), QString("张丽"));
    QVERIFY(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$")
                .match(notes[0].toObject().value("createTime").toString())
                .hasMatch());
}

void TestIntakeEndpoints::bindCode()
{
    const QString id = newOrder("3");
    const QString first = addGarment(id);
    const QString second = addGarment(id);
    QCOMPARE(codeOf(call("orderProductRel/bindCode", {{"id", first}, {"bindCode", "E0040100AB"}})),
             200);
    QCOMPARE(dbValue("SELECT rfid_code FROM order_products WHERE id = " + first),
             QString("e0040100ab"));
    QJsonArray rows = queryOrder(id).value("proList").toArray();
    QCOMPARE(rows[0].toObject().value("bindCode").toString(), QString("e0040100ab"));
    QCOMPARE(whole(rows[0].toObject().value("isEnableBindCode")), 1ll);

    // One label, one garment in the chain's hands.
    const QJsonObject taken =
        call("orderProductRel/bindCode", {{"id", second}, {"bindCode", "e0040100ab"}});
    QCOMPARE(codeOf(taken), 409);
    QCOMPARE(taken.value("msg").toString(), QString("该标签已绑定其他衣物"));
    QCOMPARE(codeOf(call("orderProductRel/bindCode", {{"id", second}, {"bindCode", "xyz"}})), 400);
    QCOMPARE(codeOf(call("orderProductRel/bindCode", {{"id", second}, {"bindCode", "1"}}, &store2)),
             403);
    // Once the first garment is handed out its label moves on.
    QCOMPARE(codeOf(call("stockIn/finish", {{"id", id}})), 200);
    QCOMPARE(codeOf(payCash(id.toLongLong())), 200);
    QVERIFY(arrive(id.toLongLong()));
    QCOMPARE(codeOf(call("orderProductRel/productSign", {{"orderProIds", first}})), 200);
    QCOMPARE(codeOf(call("orderProductRel/bindCode", {{"id", second}, {"bindCode", "e0040100ab"}})),
             200);
    QVERIFY(dbValue("SELECT rfid_code FROM order_products WHERE id = " + first).isNull());
    QCOMPARE(codeOf(call("orderProductRel/bindCode", {{"id", first}, {"bindCode", "77"}})), 409);
}

// ---- the garment list and bags -----------------------------------------------------------

void TestIntakeEndpoints::garmentList()
{
    const QString id = newOrder("3");
    QStringList ids;
    for (int i = 0; i < 3; ++i)
        ids << addGarment(id);
    const QJsonObject reply = call("orderProductRel/proList", {{"keywords", orderNo(id)}});
    QCOMPARE(codeOf(reply), 200);
    const QJsonArray list = reply.value("data").toObject().value("list").toArray();
    QCOMPARE(list.size(), 3);
    // Newest first.
    QCOMPARE(whole(list[0].toObject().value("id")), ids[2].toLongLong());
    QCOMPARE(whole(list[2].toObject().value("id")), ids[0].toLongLong());
    const QJsonObject row = list[0].toObject();
    QCOMPARE(row.value("orderNo").toString(), orderNo(id));
    QCOMPARE(row.value("batchInCode").toString(), QString());
    QCOMPARE(row.value("statusText").toString(), QString("已收衣"));
    const QJsonObject user =
        QJsonDocument::fromJson(row.value("userJson").toString().toUtf8()).object();
    QCOMPARE(user.value("p").toString(), QString("13912340003"));

    // Another store sees none of them; a page of the store's list holds its size.
    QCOMPARE(call("orderProductRel/proList", {{"keywords", orderNo(id)}}, &store2)
                 .value("data")
                 .toObject()
                 .value("list")
                 .toArray()
                 .size(),
             0);
    const QJsonArray page = call("orderProductRel/proList", {{"pageNum", "2"}, {"pageSize", "2"}})
                                .value("data")
                                .toObject()
                                .value("list")
                                .toArray();
    QCOMPARE(page.size(), 2);
    QCOMPARE(whole(page[0].toObject().value("id")), ids[0].toLongLong());
    const QJsonArray bagged = call("orderProductRel/proList", {{"proStatusVal", "11"}})
                                  .value("data")
                                  .toObject()
                                  .value("list")
                                  .toArray();
    QCOMPARE(bagged.size(),
             dbValue("SELECT COUNT(*) FROM order_products p JOIN orders o ON o.id = p.order_id "
                     "WHERE o.store_id = 1 AND p.status = 11")
                 .toInt());
}

void TestIntakeEndpoints::bags()
{
    const QJsonObject made = call("orderProductBatchIn/add", {});
    QCOMPARE(codeOf(made), 200);
    const QString bag = QString::number(whole(made.value("data").toObject().value("id")));
    const QString code = made.value("data").toObject().value("code").toString();
    QVERIFY2(QRegularExpression("^9\\d{6}01\\d{3}$").match(code).hasMatch(), qPrintable(code));

    const QString id = newOrder("3");
    const QString jeans = addGarment(id);
    const QString coat =
        addGarment(id, {{"productId", "19"}, {"annexDesc", R"([{"id":"1","name":"腰带"}])"}});
    QCOMPARE(codeOf(call("stockIn/finish", {{"id", id}})), 200);
    QCOMPARE(codeOf(call("orderProductBatchInRel/addBatch",
                         {{"inId", bag}, {"orderProIds", jeans + "," + coat}})),
             200);
    QCOMPARE(dbValue("SELECT COUNT(*) FROM order_products WHERE status = 11 AND id IN (" + jeans +
                     "," + coat + ")"),
             QString("2"));

    // The open bags: the new one first with its two garments and one accessory; no
    // completed bag.
    const QJsonArray open =
        call("orderProductBatchIn/list", {{"pageNum", "1"}, {"pageSize", "10"}, {"isFinish", "0"}})
            .value("data")
            .toObject()
            .value("list")
            .toArray();
    QVERIFY(!open.isEmpty());
    QCOMPARE(open[0].toObject().value("code").toString(), code);
    QCOMPARE(whole(open[0].toObject().value("productCnt")), 2ll);
    QCOMPARE(whole(open[0].toObject().value("annexCnt")), 1ll);
    for (const QJsonValue &b : open)
        QCOMPARE(whole(b.toObject().value("isFinish")), 0ll);
    QCOMPARE(open.size(),
             dbValue("SELECT COUNT(*) FROM batch_in WHERE store_id = 1 AND status = 0 AND "
                     "completed_at IS NULL")
                 .toInt());
    const QJsonArray all = call("orderProductBatchIn/list", {{"pageNum", "1"}, {"pageSize", "50"}})
                               .value("data")
                               .toObject()
                               .value("list")
                               .toArray();
    QCOMPARE(all.size(), dbValue("SELECT COUNT(*) FROM batch_in WHERE store_id = 1").toInt());
    QVERIFY(all.size() > open.size());
    QCOMPARE(call("orderProductBatchIn/list", {{"pageNum", "1"}, {"pageSize", "10"}}, &store2)
                 .value("data")
                 .toObject()
                 .value("list")
                 .toArray()
                 .size(),
             dbValue("SELECT COUNT(*) FROM batch_in WHERE store_id = 2").toInt());
    // The garment list names the bag.
    const QJsonArray list = call("orderProductRel/proList", {{"keywords", orderNo(id)}})
                                .value("data")
                                .toObject()
                                .value("list")
                                .toArray();
    QCOMPARE(list[0].toObject().value("batchInCode").toString(), code);
}

void TestIntakeEndpoints::addBatchRefusals_data()
{
    QTest::addColumn<QString>("garments"); // "new": a garment of an order not finished
    QTest::addColumn<QString>("bag");      // "open", "completed" or "other"
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("msg");
    QTest::newRow("intake not finished") << "unfinished"
                                         << "open" << 409 << "订单尚未完成入库";
    QTest::newRow("already in a bag") << "bagged"
                                      << "open" << 409 << "衣物已入袋";
    QTest::newRow("completed bag") << "finished"
                                   << "completed" << 409 << "袋子已完成，不能再放入衣物";
    QTest::newRow("another store's bag") << "finished"
                                         << "other" << 403 << "非此门店袋子";
    QTest::newRow("another store's garment") << "foreign"
                                             << "open" << 403 << "非此门店衣物";
    QTest::newRow("not ids") << "1,x"
                             << "open" << 400 << "参数格式错误: orderProIds";
    QTest::newRow("none") << ""
                          << "open" << 400 << "请选择衣物";
}

// A refused garment leaves the bag as it was, the good ones sent with it too.
void TestIntakeEndpoints::addBatchRefusals()
{
    QFETCH(QString, garments);
    QFETCH(QString, bag);
    QFETCH(int, code);
    QFETCH(QString, msg);
    const QString openBag = QString::number(
        whole(call("orderProductBatchIn/add", {}).value("data").toObject().value("id")));
    QString bagId = openBag;
    if (bag == "completed")
        bagId = dbValue("SELECT MIN(id) FROM batch_in WHERE store_id = 1 AND status > 0");
    else if (bag == "other")
        bagId = QString::number(whole(
            call("orderProductBatchIn/add", {}, &store2).value("data").toObject().value("id")));

    const QString id = newOrder("3");
    const QString good = addGarment(id);
    const QString second = addGarment(id);
    if (garments != "unfinished")
        QCOMPARE(codeOf(call("stockIn/finish", {{"id", id}})), 200);
    QString sent = garments;
    if (garments == "unfinished" || garments == "finished")
        sent = good + "," + second;
    else if (garments == "bagged")
        sent = good + "," + dbValue("SELECT MIN(id) FROM order_products WHERE status = 11");
    else if (garments == "foreign")
        sent = good + "," +
               dbValue("SELECT MIN(p.id) FROM order_products p JOIN orders o ON "
                       "o.id = p.order_id WHERE o.store_id = 2 AND p.status = 10");
    const QString before = dbValue("SELECT COUNT(*) FROM batch_in_rel");
    const QJsonObject reply =
        call("orderProductBatchInRel/addBatch", {{"inId", bagId}, {"orderProIds", sent}});
    QCOMPARE(codeOf(reply), code);
    QVERIFY2(reply.value("msg").toString().startsWith(msg),
             qPrintable(reply.value("msg").toString()));
    QCOMPARE(dbValue("SELECT COUNT(*) FROM batch_in_rel"), before);
    QCOMPARE(dbValue("SELECT status FROM order_products WHERE id = " + good), QString("10"));
}

QTEST_GUILESS_MAIN(TestIntakeEndpoints)
#include "tst_intakeendpoints.moc"
