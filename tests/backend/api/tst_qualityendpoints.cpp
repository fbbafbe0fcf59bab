// The store's quality check and its rail against a backend of the test's own: garments back
// from the factory found by their codes, their accessories checked, passed one by one or as a
// whole order, given the order's slot, sent back for rework, hung on the rail one to a
// position, and then handed out at the pick-up counter; the states the database holds after
// each step, what a request sent twice does, and another store's refusal.
//
// Orders are made and paid through the endpoints; their garments come back from the factory
// through ApiBackend::arrive.

#include <QJsonArray>
#include <QTest>

#include "apibackend.h"

class TestQualityEndpoints : public QObject, private ApiBackend
{
    Q_OBJECT

private slots:
    void initTestCase();

    void recordShowsTheGarmentAndItsAccessories();
    void accessoriesCheckedOneByOneOrAll();
    void passPacksTheGarmentOnce();
    void passRefusals_data();
    void passRefusals();
    void slotsTypedOrGiven();
    void wholeOrderPassed();
    void railHoldsOneGarmentAtATime();
    void wholeOrderOnTheRail();
    void reworkSendsTheCheckBack();
    void wholeOrderRework();
    void searchFindsTheOrder_data();
    void searchFindsTheOrder();
    void certificateAfterThePass();
    void fromArrivalToTheCustomer();
    void anotherStoreIsRefused();

private:
    // An order of the member in store 1, paid, its garments back in the store: `count`
    // garments, the first with a belt and a hood when `accessories`; its id.
    qint64 backInStore(int member, int count, bool accessories = false);
    QString code(qint64 garmentId);
    QStringList annexCodes(qint64 garmentId);
    qint64 status(qint64 garmentId);
    QJsonObject pass(const QString &scanCode, bool typedSlot = true);
    // The same signed request sent twice, as a terminal whose first reply was lost; both replies.
    std::pair<QJsonObject, QJsonObject> twice(const QString &path, const QJsonObject &fields);
};

void TestQualityEndpoints::initTestCase()
{
    QVERIFY2(start(), qPrintable(output()));
}

qint64 TestQualityEndpoints::backInStore(int member, int count, bool accessories)
{
    const qint64 order = orderIdOf(newOrder(member));
    if (order == 0)
        return 0;
    for (int i = 0; i < count; ++i) {
        QJsonObject fields{{"chgSubtotal", "2000"}};
        if (accessories && i == 0)
            fields.insert("annexDesc", R"([{"id":"1","name":"腰带"},{"id":"2","name":"帽子"}])");
        if (addGarment(order, fields).isEmpty())
            return 0;
    }
    if (codeOf(call("stockIn/finish", {{"id", n(order)}})) != 200 ||
        codeOf(payCash(order)) != 200 || !arrive(order))
        return 0;
    return order;
}

QString TestQualityEndpoints::code(qint64 garmentId)
{
    return value("SELECT scan_code FROM order_products WHERE id = " + n(garmentId));
}

QStringList TestQualityEndpoints::annexCodes(qint64 garmentId)
{
    BackendDatabase db;
    QStringList codes;
    if (db.open(databasePath()))
        for (const QStringList &r :
             db.rows("SELECT scan_code FROM order_product_annexes WHERE order_product_id = ? "
                     "ORDER BY id",
                     {n(garmentId)}))
            codes << r.value(0);
    return codes;
}

qint64 TestQualityEndpoints::status(qint64 garmentId)
{
    return number("SELECT status FROM order_products WHERE id = " + n(garmentId));
}

QJsonObject TestQualityEndpoints::pass(const QString &scanCode, bool typedSlot)
{
    QJsonObject fields{{"scanCode", scanCode}};
    if (typedSlot)
        fields.insert("queryFlag", "true");
    return call("station/newStoreScanCode", fields);
}

std::pair<QJsonObject, QJsonObject> TestQualityEndpoints::twice(const QString &path,
                                                                const QJsonObject &fields)
{
    const QJsonObject b = body(store1, fields);
    const QJsonObject first = client().call(path, b);
    return {first, client().call(path, b)};
}

// The record the quality test shows: the garment, its state, its accessories unchecked, no
// slot yet and nothing passed.
void TestQualityEndpoints::recordShowsTheGarmentAndItsAccessories()
{
    const qint64 order = backInStore(21, 2, true);
    QVERIFY(order);
    const qint64 garment = garmentsOf(order).first();
    const QJsonObject reply = call("orderProductRel/queryProductInfo",
                                   {{"scanCode", code(garment)}, {"queryFlag", "true"}});
    QCOMPARE(codeOf(reply), 200);
    const QJsonObject d = dataOf(reply);
    QCOMPARE(whole(d.value("id")), garment);
    QCOMPARE(whole(d.value("orderId")), order);
    QCOMPARE(d.value("scanCode").toString(), code(garment));
    QCOMPARE(d.value("productName").toString(), QString("牛仔裤"));
    QCOMPARE(d.value("statusText").toString(), QString("已到店"));
    QCOMPARE(d.value("storeName").toString(), QString("净衣坊·徐汇店"));
    QCOMPARE(whole(d.value("isPackaged")), 0);
    QCOMPARE(d.value("storeShelfNo").toString(), QString());
    QCOMPARE(whole(d.value("proIndex")), 0);
    QCOMPARE(whole(d.value("proTotal")), 2);
    QVERIFY(d.value("productImgList").isArray());
    const QJsonArray annexes = d.value("annexList").toArray();
    QCOMPARE(annexes.size(), 2);
    QCOMPARE(annexes.at(0).toObject().value("productName").toString(), QString("腰带"));
    QCOMPARE(annexes.at(0).toObject().value("scanCode").toString(), annexCodes(garment).first());
    QCOMPARE(whole(annexes.at(0).toObject().value("isPackaged")), 0);
    QCOMPARE(annexes.at(0).toObject().value("statusText").toString(), QString("已到店"));
}

// One accessory by its code, then all: each is checked once, by the worker who checked it;
// another garment's accessory or an unknown code checks nothing.
void TestQualityEndpoints::accessoriesCheckedOneByOneOrAll()
{
    const qint64 order = backInStore(22, 2, true);
    QVERIFY(order);
    const qint64 garment = garmentsOf(order).first();
    const qint64 other = garmentsOf(order).last();
    const QStringList codes = annexCodes(garment);
    const QString checked = "SELECT COUNT(*) FROM order_product_annexes WHERE checked = 1 AND "
                            "order_product_id = " +
                            n(garment);

    QCOMPARE(
        codeOf(call("station/storeScanAnnexCode", {{"scanCode", codes.at(0)}, {"pId", n(other)}})),
        409);
    QCOMPARE(codeOf(call("station/storeScanAnnexCode",
                         {{"scanCode", "6019999999"}, {"pId", n(garment)}})),
             404);
    QCOMPARE(number(checked), 0);

    QCOMPARE(codeOf(call("station/storeScanAnnexCode",
                         {{"scanCode", codes.at(0)}, {"pId", n(garment)}})),
             200);
    QCOMPARE(number(checked), 1);
    QCOMPARE(value("SELECT w.name FROM order_product_annexes a JOIN workers w ON w.id = "
                   "a.checked_by WHERE a.scan_code = '" +
                   codes.at(0) + "'"),
             QString("张丽"));
    const QJsonArray annexes =
        dataOf(call("orderProductRel/queryProductInfo", {{"scanCode", code(garment)}}))
            .value("annexList")
            .toArray();
    QCOMPARE(whole(annexes.at(0).toObject().value("isPackaged")), 1);
    QCOMPARE(annexes.at(0).toObject().value("statusWorkName").toString(), QString("张丽"));
    QCOMPARE(whole(annexes.at(1).toObject().value("isPackaged")), 0);

    QCOMPARE(codeOf(call("station/storeScanAnnexAll", {{"pId", n(garment)}})), 200);
    QCOMPARE(number(checked), 2);
    QCOMPARE(status(garment), 19);
}

// A pass packs the garment with its accessories (质检合格); the same request again gets the
// same answer, and a new one changes nothing.
void TestQualityEndpoints::passPacksTheGarmentOnce()
{
    const qint64 order = backInStore(23, 1, true);
    QVERIFY(order);
    const qint64 garment = garmentsOf(order).first();
    const auto [first, retry] =
        twice("station/newStoreScanCode", {{"scanCode", code(garment)}, {"queryFlag", "true"}});
    QCOMPARE(codeOf(first), 200);
    QCOMPARE(retry, first);
    QCOMPARE(whole(dataOf(first).value("isPackaged")), 1);
    QCOMPARE(whole(dataOf(first).value("statusVal")), 60);
    QCOMPARE(status(garment), 60);
    QCOMPARE(number("SELECT is_packaged FROM order_products WHERE id = " + n(garment)), 1);
    QCOMPARE(number("SELECT COUNT(*) FROM order_product_annexes WHERE checked = 0 AND "
                    "order_product_id = " +
                    n(garment)),
             0);
    const QString passedAt = value("SELECT passed_at FROM order_products WHERE id = " + n(garment));

    QTest::qWait(5);
    QCOMPARE(codeOf(pass(code(garment))), 200);
    QCOMPARE(value("SELECT passed_at FROM order_products WHERE id = " + n(garment)), passedAt);
    QCOMPARE(status(garment), 60);
}

// Only a garment back in the store is passed; an accessory is checked with its garment.
void TestQualityEndpoints::passRefusals_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<int>("httpCode");
    QTest::addColumn<QString>("msg");
    QTest::newRow("at the factory") << "factory" << 409 << "衣物已送厂，不能质检";
    QTest::newRow("handed out") << "handedOut" << 409 << "衣物已取衣，不能质检";
    QTest::newRow("accessory code") << "accessory" << 400 << "请扫描衣物条码";
    QTest::newRow("unknown code") << "unknown" << 404 << "衣物不存在";
}

void TestQualityEndpoints::passRefusals()
{
    QFETCH(QString, state);
    QFETCH(int, httpCode);
    QFETCH(QString, msg);
    const qint64 order = backInStore(24, 1, true);
    QVERIFY(order);
    const qint64 garment = garmentsOf(order).first();
    QString scanned = code(garment);
    if (state == "factory")
        QVERIFY(write("UPDATE order_products SET status = 12 WHERE id = " + n(garment)));
    else if (state == "handedOut")
        QCOMPARE(codeOf(call("orderProductRel/productSign", {{"orderProIds", n(garment)}})), 200);
    else if (state == "accessory")
        scanned = annexCodes(garment).first();
    else
        scanned = "7019999999";
    const qint64 before = status(garment);
    const QJsonObject reply = pass(scanned);
    QCOMPARE(codeOf(reply), httpCode);
    QVERIFY2(reply.value("msg").toString().startsWith(msg),
             qPrintable(reply.value("msg").toString()));
    QCOMPARE(status(garment), before);
    QCOMPARE(number("SELECT is_packaged FROM order_products WHERE id = " + n(garment)), 0);
}

// Typed slots: the first garment passed has none; the slot typed is the order's and no other
// order in the store may take it; the last garment passed is its order's last (proIndex ==
// proTotal). Automatic slots: the lowest free one, free again once the order is handed out.
void TestQualityEndpoints::slotsTypedOrGiven()
{
    const qint64 order = backInStore(25, 2);
    QVERIFY(order);
    const QList<qint64> garments = garmentsOf(order);
    QJsonObject first = dataOf(pass(code(garments.last())));
    QCOMPARE(first.value("storeShelfNo").toString(), QString());
    QCOMPARE(whole(first.value("map").toObject().value("proIndex")), 1);
    QCOMPARE(whole(first.value("map").toObject().value("proTotal")), 2);

    const auto [set, again] =
        twice("orderInfo/updateStoreShelfNo", {{"orderId", n(order)}, {"storeShelfNo", "37"}});
    QCOMPARE(codeOf(set), 200);
    QCOMPARE(again, set);
    QCOMPARE(number("SELECT store_shelf_no FROM orders WHERE id = " + n(order)), 37);
    QCOMPARE(codeOf(call("orderInfo/updateStoreShelfNo",
                         {{"orderId", n(order)}, {"storeShelfNo", "0"}})),
             400);

    const QJsonObject last = dataOf(pass(code(garments.first())));
    QCOMPARE(whole(last.value("map").toObject().value("proIndex")), 2);
    QCOMPARE(whole(last.value("map").toObject().value("proTotal")), 2);
    QCOMPARE(last.value("map").toObject().value("storeShelfNo").toString(), QString("37"));
    QCOMPARE(last.value("storeShelfNo").toString(), QString("37"));
    // The record counts the garments in the order they passed.
    QCOMPARE(whole(dataOf(call("orderProductRel/queryProductInfo",
                               {{"scanCode", code(garments.last())}}))
                       .value("proIndex")),
             1);

    const qint64 next = backInStore(25, 1);
    QVERIFY(next);
    const QJsonObject taken =
        call("orderInfo/updateStoreShelfNo", {{"orderId", n(next)}, {"storeShelfNo", "37"}});
    QCOMPARE(codeOf(taken), 409);
    QVERIFY(taken.value("msg").toString().contains(
        value("SELECT order_no FROM orders WHERE id = " + n(order))));

    // Without a typed slot the order gets the lowest free one.
    const qint64 given =
        number("WITH RECURSIVE n(v) AS (SELECT 1 UNION ALL SELECT v + 1 FROM n WHERE v < 1000) "
               "SELECT MIN(v) FROM n WHERE v NOT IN (SELECT store_shelf_no FROM orders WHERE "
               "store_id = 1 AND status < 40 AND destroyed_at IS NULL)");
    QCOMPARE(dataOf(pass(code(garmentsOf(next).first()), false)).value("storeShelfNo").toString(),
             n(given));
    QCOMPARE(number("SELECT store_shelf_no FROM orders WHERE id = " + n(next)), given);

    // Handed out, the order leaves its slot to the next.
    QCOMPARE(codeOf(call("orderInfo/sign", {{"id", n(order)}})), 200);
    QCOMPARE(number("SELECT store_shelf_no FROM orders WHERE id = " + n(order)), 0);
    QCOMPARE(codeOf(call("orderInfo/updateStoreShelfNo",
                         {{"orderId", n(next)}, {"storeShelfNo", "37"}})),
             200);
}

// "全部合格": every garment of the order in the store; a second time there is nothing left.
void TestQualityEndpoints::wholeOrderPassed()
{
    const qint64 order = backInStore(26, 2, true);
    QVERIFY(order);
    const QList<qint64> garments = garmentsOf(order);
    QVERIFY(write("UPDATE order_products SET status = 12 WHERE id = " + n(garments.last())));
    QCOMPARE(codeOf(call("station/orderScanCode", {{"orderId", n(order)}})), 200);
    QCOMPARE(status(garments.first()), 60);
    QCOMPARE(status(garments.last()), 12);
    QCOMPARE(number("SELECT COUNT(*) FROM order_product_annexes WHERE checked = 0 AND "
                    "order_product_id = " +
                    n(garments.first())),
             0);
    QCOMPARE(codeOf(call("station/orderScanCode", {{"orderId", n(order)}})), 409);
}

// A position holds one garment: another is refused while it hangs there; hanging it where
// it hangs changes nothing; moved, it frees its old position. Only garments in the store hang,
// and only on the store's rail.
void TestQualityEndpoints::railHoldsOneGarmentAtATime()
{
    const qint64 order = backInStore(27, 2);
    QVERIFY(order);
    const QList<qint64> garments = garmentsOf(order);
    const qint64 a = garments.first(), b = garments.last();
    QCOMPARE(codeOf(pass(code(a))), 200);
    const QString holder = "SELECT COALESCE(order_product_id, 0) FROM rail_positions WHERE "
                           "store_id = 1 AND shelf_no = ";

    const auto [hung, again] =
        twice("orderProductRel/clothesShelf", {{"id", n(a)}, {"shelfNo", "41"}});
    QCOMPARE(codeOf(hung), 200);
    QCOMPARE(again, hung);
    QCOMPARE(number(holder + "41"), a);
    QCOMPARE(status(a), 25);
    QCOMPARE(number("SELECT store_shelf_no FROM order_products WHERE id = " + n(a)), 41);
    const QString hungAt = value("SELECT status_time FROM order_products WHERE id = " + n(a));

    const QJsonObject refused =
        call("orderProductRel/clothesShelf", {{"id", n(b)}, {"shelfNo", "41"}});
    QCOMPARE(codeOf(refused), 409);
    QCOMPARE(refused.value("msg").toString(), QString("挂点已有衣物: 41"));
    QCOMPARE(status(b), 19);

    QTest::qWait(5);
    QCOMPARE(codeOf(call("orderProductRel/clothesShelf", {{"id", n(a)}, {"shelfNo", "41"}})), 200);
    QCOMPARE(value("SELECT status_time FROM order_products WHERE id = " + n(a)), hungAt);
    QCOMPARE(codeOf(call("orderProductRel/clothesShelf", {{"id", n(a)}, {"shelfNo", "42"}})), 200);
    QCOMPARE(number(holder + "41"), 0);
    QCOMPARE(number(holder + "42"), a);
    // A garment back in the store hangs before its check too; it is still to be passed.
    QCOMPARE(codeOf(call("orderProductRel/clothesShelf", {{"id", n(b)}, {"shelfNo", "41"}})), 200);
    QCOMPARE(status(b), 25);
    QCOMPARE(codeOf(pass(code(b))), 200);
    QCOMPARE(status(b), 25);
    QCOMPARE(number("SELECT is_packaged FROM order_products WHERE id = " + n(b)), 1);

    QCOMPARE(codeOf(call("orderProductRel/clothesShelf", {{"id", n(a)}, {"shelfNo", "0"}})), 400);
    QCOMPARE(codeOf(call("orderProductRel/clothesShelf", {{"id", n(a)}, {"shelfNo", "61"}})), 400);
    const qint64 away = orderWithGarments(27, {1500}, Intake::finished);
    QCOMPARE(codeOf(call("orderProductRel/clothesShelf",
                         {{"id", n(garmentsOf(away).first())}, {"shelfNo", "50"}})),
             409);
    QCOMPARE(number(holder + "50"), 0);
}

// "整单上挂" takes the rail number as `stoerShelfNo` and hangs the order's garments in the
// store from there on, all or none.
void TestQualityEndpoints::wholeOrderOnTheRail()
{
    const qint64 order = backInStore(30, 2, true);
    QVERIFY(order);
    const QList<qint64> garments = garmentsOf(order);
    const QString holder = "SELECT COALESCE(order_product_id, 0) FROM rail_positions WHERE "
                           "store_id = 1 AND shelf_no = ";
    QCOMPARE(
        codeOf(call("orderProductRel/orderShelf", {{"orderId", n(order)}, {"storeShelfNo", "44"}})),
        400);
    QCOMPARE(number(holder + "44"), 0);

    // A position further on is taken: nothing hangs.
    const qint64 other = backInStore(30, 1);
    QVERIFY(other);
    QCOMPARE(codeOf(call("orderProductRel/clothesShelf",
                         {{"id", n(garmentsOf(other).first())}, {"shelfNo", "45"}})),
             200);
    QCOMPARE(
        codeOf(call("orderProductRel/orderShelf", {{"orderId", n(order)}, {"stoerShelfNo", "44"}})),
        409);
    QCOMPARE(number(holder + "44"), 0);
    QCOMPARE(status(garments.first()), 19);

    const auto [hung, again] =
        twice("orderProductRel/orderShelf", {{"orderId", n(order)}, {"stoerShelfNo", "46"}});
    QCOMPARE(codeOf(hung), 200);
    QCOMPARE(again, hung);
    QCOMPARE(number(holder + "46"), garments.first());
    QCOMPARE(number(holder + "47"), garments.last());
    QCOMPARE(status(garments.last()), 25);
    // Hung again from the position its second garment holds: the order moves up by one.
    QCOMPARE(
        codeOf(call("orderProductRel/orderShelf", {{"orderId", n(order)}, {"stoerShelfNo", "47"}})),
        200);
    QCOMPARE(number(holder + "46"), 0);
    QCOMPARE(number(holder + "47"), garments.first());
    QCOMPARE(number(holder + "48"), garments.last());
}

// A garment sent back from the check goes back to the factory unchecked: when it returns it
// is checked again, its accessories too. Sent twice, it goes once.
void TestQualityEndpoints::reworkSendsTheCheckBack()
{
    const qint64 order = backInStore(21, 2, true);
    QVERIFY(order);
    const QList<qint64> garments = garmentsOf(order);
    QCOMPARE(codeOf(pass(code(garments.first()))), 200);
    QCOMPARE(codeOf(call("orderProductRel/clothesShelf",
                         {{"id", n(garments.first())}, {"shelfNo", "52"}})),
             200);

    const auto [sent, again] = twice("orderProductRel/stockRework", {{"id", n(garments.first())}});
    QCOMPARE(codeOf(sent), 200);
    QCOMPARE(again, sent);
    QCOMPARE(status(garments.first()), 30);
    QCOMPARE(number("SELECT is_packaged FROM order_products WHERE id = " + n(garments.first())), 0);
    QCOMPARE(number("SELECT COUNT(*) FROM order_product_annexes WHERE checked = 1 AND "
                    "order_product_id = " +
                    n(garments.first())),
             0);
    QCOMPARE(number("SELECT COALESCE(order_product_id, 0) FROM rail_positions WHERE store_id = 1 "
                    "AND shelf_no = 52"),
             0);
    QCOMPARE(codeOf(call("orderProductRel/stockRework", {{"id", n(garments.first())}})), 409);

    // The pick-up counter's rework sends the check back the same way.
    QCOMPARE(codeOf(pass(code(garments.last()))), 200);
    QCOMPARE(codeOf(call("orderProductRel/stockReworkBatch", {{"proIds", n(garments.last())}})),
             200);
    QCOMPARE(number("SELECT is_packaged FROM order_products WHERE id = " + n(garments.last())), 0);
    QVERIFY(arrive(order));
    const QJsonObject record =
        dataOf(call("orderProductRel/queryProductInfo", {{"scanCode", code(garments.first())}}));
    QCOMPARE(whole(record.value("isPackaged")), 0);
    QCOMPARE(whole(record.value("annexList").toArray().at(0).toObject().value("isPackaged")), 0);
}

// "全部返洗" sends every garment back, but only while every one of them is in the store and
// none was refunded unwashed.
void TestQualityEndpoints::wholeOrderRework()
{
    const qint64 order = backInStore(22, 2);
    QVERIFY(order);
    const QList<qint64> garments = garmentsOf(order);
    QVERIFY(write("UPDATE order_products SET status = 15 WHERE id = " + n(garments.last())));
    QCOMPARE(codeOf(call("orderProductRel/orderRework", {{"orderId", n(order)}})), 409);
    QCOMPARE(status(garments.first()), 19);

    QVERIFY(write("UPDATE order_products SET status = 19 WHERE id = " + n(garments.last())));
    QCOMPARE(codeOf(pass(code(garments.first()))), 200);
    QCOMPARE(codeOf(call("orderProductRel/orderRework", {{"orderId", n(order)}})), 200);
    QCOMPARE(status(garments.first()), 30);
    QCOMPARE(status(garments.last()), 30);
    QCOMPARE(number("SELECT status FROM orders WHERE id = " + n(order)), 20);
    QCOMPARE(codeOf(call("orderProductRel/orderRework", {{"orderId", n(order)}})), 409);

    const qint64 refunded = backInStore(22, 2);
    QVERIFY(refunded);
    QVERIFY(write("UPDATE order_products SET status = 50, has_refund = 1 WHERE id = " +
                  n(garmentsOf(refunded).last())));
    QCOMPARE(codeOf(call("orderProductRel/orderRework", {{"orderId", n(refunded)}})), 409);
    QCOMPARE(status(garmentsOf(refunded).first()), 19);
}

// The order of an order number, a garment's code or an accessory's code: its customer and
// every garment followed by its accessories, which carry their garment's state.
void TestQualityEndpoints::searchFindsTheOrder_data()
{
    QTest::addColumn<QString>("by");
    QTest::newRow("order number") << "order";
    QTest::newRow("garment code") << "garment";
    QTest::newRow("accessory code") << "accessory";
}

void TestQualityEndpoints::searchFindsTheOrder()
{
    QFETCH(QString, by);
    const qint64 order = backInStore(23, 2, true);
    QVERIFY(order);
    const QList<qint64> garments = garmentsOf(order);
    QCOMPARE(codeOf(pass(code(garments.last()))), 200);
    const QString scanned = by == "order"
                                ? value("SELECT order_no FROM orders WHERE id = " + n(order))
                            : by == "garment" ? code(garments.last())
                                              : annexCodes(garments.first()).last();
    const QJsonObject reply = call("orderInfo/search", {{"scanCode", scanned}});
    QCOMPARE(codeOf(reply), 200);
    const QJsonObject d = dataOf(reply);
    QCOMPARE(whole(d.value("orderId")), order);
    QCOMPARE(d.value("orderNo").toString(),
             value("SELECT order_no FROM orders WHERE id = " + n(order)));
    QCOMPARE(whole(d.value("proCnt")), 2);
    QCOMPARE(whole(d.value("paymentPrice")), 4000);
    QCOMPARE(d.value("payStatusText").toString(), QString("已支付"));
    QCOMPARE(d.value("statusText").toString(), QString("待取衣"));
    QCOMPARE(d.value("userPhone").toString(), QString("13912340023"));
    QCOMPARE(d.value("takeModeText").toString(), QString("到店送衣"));
    const QJsonArray rows = d.value("productList").toArray();
    QCOMPARE(rows.size(), 4);
    QCOMPARE(rows.at(0).toObject().value("type").toInt(), 1);
    QCOMPARE(rows.at(1).toObject().value("type").toInt(), 2);
    QCOMPARE(rows.at(1).toObject().value("productName").toString(), QString("腰带"));
    QCOMPARE(whole(rows.at(1).toObject().value("statusVal")), 19);
    QCOMPARE(whole(rows.at(1).toObject().value("isPackaged")), 0);
    QCOMPARE(whole(rows.at(3).toObject().value("id")), garments.last());
    QCOMPARE(whole(rows.at(3).toObject().value("statusVal")), 60);
    QCOMPARE(whole(rows.at(3).toObject().value("isPackaged")), 1);
    QCOMPARE(whole(rows.at(3).toObject().value("hasRefund")), 0);
    QCOMPARE(rows.at(3).toObject().value("storeName").toString(), QString("净衣坊·徐汇店"));
    QCOMPARE(whole(rows.at(3).toObject().value("storeShelfNo")), 0);

    QCOMPARE(codeOf(call("orderInfo/search", {{"scanCode", "999999999999"}})), 404);
}

// A certificate only for a garment that passed, in the merchant's style, dated by the pass
// even after the garment was hung.
void TestQualityEndpoints::certificateAfterThePass()
{
    const qint64 order = backInStore(24, 1);
    QVERIFY(order);
    const qint64 garment = garmentsOf(order).first();
    QCOMPARE(codeOf(call("print/product/qualified", {{"orderProId", n(garment)}})), 409);
    QCOMPARE(codeOf(pass(code(garment))), 200);
    const QString passedAt = value("SELECT passed_at FROM order_products WHERE id = " + n(garment));
    QTest::qWait(5);
    QCOMPARE(codeOf(call("orderProductRel/clothesShelf", {{"id", n(garment)}, {"shelfNo", "55"}})),
             200);
    QJsonObject d = dataOf(call("print/product/qualified", {{"orderProId", n(garment)}}));
    QCOMPARE(d.value("certStyle").toString(), QString("1"));
    QCOMPARE(d.value("scanCode").toString(), code(garment));
    QCOMPARE(n(whole(d.value("createTime"))), passedAt);
    QCOMPARE(d.value("tranNum").toString(), QString("55"));

    QVERIFY(
        write("INSERT INTO merchant_params (merc_id, name, value) VALUES (1, 'certStyle', '3')"));
    d = dataOf(call("print/product/qualified", {{"orderProId", n(garment)}}));
    QVERIFY(write("DELETE FROM merchant_params WHERE merc_id = 1 AND name = 'certStyle'"));
    QCOMPARE(d.value("certStyle").toString(), QString("3"));
}

// A garment back from the factory is passed, hung and handed out: the pick-up counter takes
// it from the rail, whose position is free again.
void TestQualityEndpoints::fromArrivalToTheCustomer()
{
    const qint64 order = backInStore(25, 1, true);
    QVERIFY(order);
    const qint64 garment = garmentsOf(order).first();
    QCOMPARE(codeOf(call("station/storeScanAnnexAll", {{"pId", n(garment)}})), 200);
    QCOMPARE(codeOf(pass(code(garment))), 200);
    QCOMPARE(status(garment), 60);
    QCOMPARE(codeOf(call("orderProductRel/clothesShelf", {{"id", n(garment)}, {"shelfNo", "58"}})),
             200);
    QCOMPARE(status(garment), 25);
    QCOMPARE(codeOf(call("orderProductRel/productSign", {{"orderProIds", n(garment)}})), 200);
    QCOMPARE(status(garment), 40);
    QCOMPARE(number("SELECT status FROM orders WHERE id = " + n(order)), 40);
    QCOMPARE(number("SELECT COALESCE(order_product_id, 0) FROM rail_positions WHERE store_id = 1 "
                    "AND shelf_no = 58"),
             0);
    // Gone to the customer, it is neither passed nor hung again.
    QCOMPARE(codeOf(pass(code(garment))), 409);
    QCOMPARE(codeOf(call("orderProductRel/clothesShelf", {{"id", n(garment)}, {"shelfNo", "58"}})),
             409);
}

// Every endpoint of the check and the rail refuses another store's garment or order, and
// changes nothing.
void TestQualityEndpoints::anotherStoreIsRefused()
{
    const qint64 order = backInStore(26, 1, true);
    QVERIFY(order);
    const qint64 garment = garmentsOf(order).first();
    const QString g = n(garment), o = n(order);
    const QList<QPair<QString, QJsonObject>> calls{
        {"orderProductRel/queryProductInfo", {{"scanCode", code(garment)}}},
        {"station/newStoreScanCode", {{"scanCode", code(garment)}, {"queryFlag", "true"}}},
        {"station/orderScanCode", {{"orderId", o}}},
        {"station/storeScanAnnexCode", {{"scanCode", annexCodes(garment).first()}, {"pId", g}}},
        {"station/storeScanAnnexAll", {{"pId", g}}},
        {"orderProductRel/stockRework", {{"id", g}}},
        {"orderProductRel/orderRework", {{"orderId", o}}},
        {"orderProductRel/clothesShelf", {{"id", g}, {"shelfNo", "3"}}},
        {"orderProductRel/orderShelf", {{"orderId", o}, {"stoerShelfNo", "3"}}},
        {"orderInfo/updateStoreShelfNo", {{"orderId", o}, {"storeShelfNo", "9"}}},
        {"orderInfo/search", {{"scanCode", code(garment)}}}};
    for (const auto &[path, fields] : calls) {
        const QJsonObject reply = call(path, fields, &store2);
        QVERIFY2(codeOf(reply) == 403, qPrintable(path));
        QVERIFY2(reply.value("msg").toString().startsWith("非此门店"), qPrintable(path));
    }
    QCOMPARE(status(garment), 19);
    QCOMPARE(number("SELECT COUNT(*) FROM order_product_annexes WHERE checked = 1 AND "
                    "order_product_id = " +
                    g),
             0);
    QCOMPARE(number("SELECT store_shelf_no FROM orders WHERE id = " + o), 0);
    QCOMPARE(
        number("SELECT COUNT(*) FROM rail_positions WHERE store_id = 2 AND order_product_id = " +
               g),
        0);
}

QTEST_GUILESS_MAIN(TestQualityEndpoints)
#include "tst_qualityendpoints.moc"
