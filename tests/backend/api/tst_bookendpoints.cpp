// The store's books against a backend of the test's own: the order book's pages and each of
// its filters (compared with what the database holds), what each order offers, voiding an
// order once; the garment list's filters, a garment's details and road; the choices the
// filters list; and a seeded year of a busy store (--demo-scale), the same for the same N.

#include <QDate>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

#include "apibackend.h"

namespace {

QJsonArray listOf(const QJsonObject &reply)
{
    return reply.value("data").toObject().value("list").toArray();
}

QList<qint64> idsOf(const QJsonArray &list)
{
    QList<qint64> ids;
    for (const QJsonValue &v : list)
        ids << whole(v.toObject().value("id"));
    return ids;
}

QString today()
{
    return QDate::currentDate().toString("yyyy-MM-dd");
}

QString daysAgo(int days)
{
    return QDate::currentDate().addDays(-days).toString("yyyy-MM-dd");
}

// Milliseconds of a local day's start.
qint64 dayStartMs(const QString &date)
{
    return QDateTime(QDate::fromString(date, "yyyy-MM-dd"), QTime(0, 0)).toMSecsSinceEpoch();
}

} // namespace

class TestBookEndpoints : public QObject, private ApiBackend
{
    Q_OBJECT

private slots:
    void initTestCase();

    void orderBookFilters_data();
    void orderBookFilters();
    void orderBookPages();
    void orderBookRefusals_data();
    void orderBookRefusals();
    void orderRows();
    void destroyOnce();
    void destroyRefusals_data();
    void destroyRefusals();
    void garmentListFilters_data();
    void garmentListFilters();
    void garmentDetail();
    void washedStep();
    void choices();
    void scaledStore();

private:
    // The first page (10) of the order book with `fields` as the ids the database says it
    // holds: the store's orders matching `where`, newest first.
    QList<qint64> expectedOrders(const QString &where);
    QList<qint64> expectedGarments(const QString &where);
    QList<qint64> dbIds(const QString &sql);
    // The ids of the first page (10) of `path` with `fields`, answered.
    QList<qint64> firstPage(const QString &path, QJsonObject fields);
    QJsonObject rowOf(qint64 orderId);

    QString phone3 = "13912340003";
};

void TestBookEndpoints::initTestCase()
{
    QVERIFY2(start(), qPrintable(output()));
    // A few orders of member 3 in the states the filters tell apart: unpaid with garments,
    // paid, voided, and a header with none; one of member 6 in store 2.
    const qint64 unpaid = orderWithGarments(3, {1200, 800}, Intake::finished);
    const qint64 paid = orderWithGarments(3, {2500}, Intake::finished);
    QVERIFY(unpaid && paid);
    QCOMPARE(codeOf(payCash(paid)), 200);
    QVERIFY(orderIdOf(newOrder(3)) != 0);
    QCOMPARE(codeOf(call(store2, "orderInfo/add", ApiBackend::orderHeader(6))), 200);
}

QList<qint64> TestBookEndpoints::dbIds(const QString &sql)
{
    BackendDatabase db;
    QList<qint64> ids;
    if (!db.open(databasePath()))
        return ids;
    for (const QStringList &r : db.rows(sql.toUtf8().constData()))
        ids << r.value(0).toLongLong();
    return ids;
}

QList<qint64> TestBookEndpoints::firstPage(const QString &path, QJsonObject fields)
{
    fields.insert("pageNum", "1");
    fields.insert("pageSize", "10");
    const QJsonObject reply = call(path, fields);
    if (codeOf(reply) != 200)
        qWarning() << path << reply;
    return codeOf(reply) == 200 ? idsOf(listOf(reply)) : QList<qint64>{-1};
}

QList<qint64> TestBookEndpoints::expectedOrders(const QString &where)
{
    return dbIds("SELECT id FROM orders WHERE store_id = 1 AND (" + where +
                 ") ORDER BY created_at DESC, id DESC LIMIT 10");
}

QList<qint64> TestBookEndpoints::expectedGarments(const QString &where)
{
    return dbIds("SELECT p.id FROM order_products p JOIN orders o ON o.id = p.order_id "
                 "WHERE o.store_id = 1 AND (" +
                 where + ") ORDER BY p.created_at DESC, p.id DESC LIMIT 10");
}

QJsonObject TestBookEndpoints::rowOf(qint64 orderId)
{
    const QString number = value("SELECT order_no FROM orders WHERE id = " + n(orderId));
    const QJsonArray list = listOf(
        call("orderInfo/list", {{"pageNum", "1"}, {"pageSize", "10"}, {"searchValue", number}}));
    return list.size() == 1 ? list[0].toObject() : QJsonObject();
}

// ---- the order book ----------------------------------------------------------------------

void TestBookEndpoints::orderBookFilters_data()
{
    QTest::addColumn<QJsonObject>("fields");
    QTest::addColumn<QString>("where"); // the same orders, as the database tells them
    const QString newest = n(number("SELECT MAX(id) FROM orders WHERE store_id = 1"));
    QTest::newRow("none") << QJsonObject{} << "1";
    QTest::newRow("an order number")
        << QJsonObject{{"searchValue", value("SELECT order_no FROM orders WHERE id = " + newest)}}
        << "id = " + newest;
    QTest::newRow("a phone: the member's orders here")
        << QJsonObject{{"searchValue", phone3}} << "user_id = 3";
    QTest::newRow("a card number") << QJsonObject{{"searchValue", "VIP0011"}} << "user_id = 11";
    QTest::newRow("an RFID card") << QJsonObject{{"searchValue", "e004010000000003"}}
                                  << "user_id = 3";
    QTest::newRow("another store's order number")
        << QJsonObject{{"searchValue",
                        value("SELECT order_no FROM orders WHERE store_id = 2 LIMIT 1")}}
        << "0";
    QTest::newRow("nothing known") << QJsonObject{{"searchValue", "12345"}} << "0";
    QTest::newRow("today") << QJsonObject{{"startCreateTime", today()}, {"endCreateTime", today()}}
                           << "created_at >= " + n(dayStartMs(today()));
    QTest::newRow("the last 7 days, yesterday's end")
        << QJsonObject{{"startCreateTime", daysAgo(7)}, {"endCreateTime", daysAgo(1)}}
        << "created_at >= " + n(dayStartMs(daysAgo(7))) + " AND created_at < " +
               n(dayStartMs(today()));
    QTest::newRow("from a day") << QJsonObject{{"startCreateTime", daysAgo(6)}}
                                << "created_at >= " + n(dayStartMs(daysAgo(6)));
    QTest::newRow("waiting for the customer") << QJsonObject{{"statusVal", "30"}} << "status = 30";
    QTest::newRow("voided, as a number") << QJsonObject{{"statusVal", 50}} << "status = 50";
    QTest::newRow("unpaid") << QJsonObject{{"payStatus", "0"}} << "pay_status = 0";
    QTest::newRow("paid, taken in, this month")
        << QJsonObject{{"payStatus", "1"},
                       {"statusVal", "10"},
                       {"startCreateTime", daysAgo(30)},
                       {"endCreateTime", today()}}
        << "pay_status = 1 AND status = 10 AND created_at >= " + n(dayStartMs(daysAgo(30)));
    QTest::newRow("empty fields are none") << QJsonObject{{"searchValue", " "},
                                                          {"statusVal", ""},
                                                          {"payStatus", ""},
                                                          {"startCreateTime", ""}}
                                           << "1";
}

void TestBookEndpoints::orderBookFilters()
{
    QFETCH(QJsonObject, fields);
    QFETCH(QString, where);
    QCOMPARE(firstPage("orderInfo/list", fields), expectedOrders(where));
}

// Pages of the store's book follow one another without a gap or a repeat; a page past the
// end is empty.
void TestBookEndpoints::orderBookPages()
{
    for (int i = 0; i < 4; ++i)
        QVERIFY(orderWithGarments(21, {1000}) != 0);
    QList<qint64> all;
    for (int page = 1;; ++page) {
        const QJsonArray list =
            listOf(call("orderInfo/list", {{"pageNum", n(page)}, {"pageSize", "4"}}));
        all << idsOf(list);
        if (list.size() < 4)
            break;
    }
    QCOMPARE(all, dbIds("SELECT id FROM orders WHERE store_id = 1 ORDER BY created_at DESC, "
                        "id DESC"));
    QCOMPARE(listOf(call("orderInfo/list", {{"pageNum", "99"}, {"pageSize", "10"}})).size(), 0);
}

void TestBookEndpoints::orderBookRefusals_data()
{
    QTest::addColumn<QJsonObject>("fields");
    QTest::addColumn<int>("code");
    QTest::newRow("not a date") << QJsonObject{{"startCreateTime", "2026-02-30"}} << 400;
    QTest::newRow("a payment status of none") << QJsonObject{{"payStatus", "2"}} << 400;
    QTest::newRow("a status not a number") << QJsonObject{{"statusVal", "已收衣"}} << 400;
    QTest::newRow("another merchant's member") << QJsonObject{{"userId", "99999"}} << 404;
}

void TestBookEndpoints::orderBookRefusals()
{
    QFETCH(QJsonObject, fields);
    QFETCH(int, code);
    fields.insert("pageNum", "1");
    fields.insert("pageSize", "10");
    QCOMPARE(codeOf(call("orderInfo/list", fields)), code);
}

// A row holds what the book shows of the order and its customer, and offers what the order's
// state allows.
void TestBookEndpoints::orderRows()
{
    const qint64 header = orderIdOf(newOrder(3));
    QJsonObject row = rowOf(header);
    QCOMPARE(row.value("userPhone").toString(), phone3);
    QCOMPARE(row.value("cardNo").toString(), QString("VIP0003"));
    QCOMPARE(row.value("rfidNo").toString(), QString("e004010000000003"));
    QCOMPARE(row.value("statusText").toString(), QString("待收衣"));
    QCOMPARE(row.value("payStatusText").toString(), QString("未支付"));
    QCOMPARE(row.value("business").toArray().size(), 0);
    QCOMPARE(row.value("remarkJson").toArray().size(), 0);
    const QStringList flags{"isEnablePay",   "isEnableCredit",  "isEnableDestroy",
                            "isEnablePrint", "isEnableStockIn", "isEnableBatchIn"};
    auto offered = [&](const QJsonObject &r) {
        QStringList out;
        for (const QString &f : flags)
            if (r.value(f).toBool())
                out << f;
        return out;
    };
    QCOMPARE(offered(row), (QStringList{"isEnableDestroy", "isEnableStockIn"}));

    // Garments taken in and the intake finished: pay, credit, void, print, bag.
    QVERIFY(!addGarment(header, {{"chgSubtotal", "1550"}}).isEmpty());
    QCOMPARE(codeOf(call("stockIn/finish", {{"id", n(header)}})), 200);
    QCOMPARE(codeOf(call("orderExt/addRemark", {{"id", n(header)}, {"remark", "袖口有污渍"}})),
             200);
    row = rowOf(header);
    QCOMPARE(offered(row), (QStringList{"isEnablePay", "isEnableCredit", "isEnableDestroy",
                                        "isEnablePrint", "isEnableBatchIn"}));
    QCOMPARE(whole(row.value("payablePrice")), 1550);
    QCOMPARE(row.value("business").toArray()[0].toObject().value("productName").toString(),
             QString("牛仔裤"));
    const QJsonObject note = row.value("remarkJson").toArray()[0].toObject();
    QCOMPARE(note.value("remark").toString(), QString("袖口有污渍"));
    QCOMPARE(note.value("workName").toString(), QString("张丽"));
    QVERIFY(QDateTime::fromString(note.value("createTime").toString(), "yyyy-MM-dd hh:mm:ss")
                .isValid());

    // Paid: nothing to pay, credit or void any more.
    QCOMPARE(codeOf(payCash(header)), 200);
    QCOMPARE(offered(rowOf(header)), (QStringList{"isEnablePrint", "isEnableBatchIn"}));
}

// ---- voiding -------------------------------------------------------------------------------

// An order is voided once: the reason is kept, a coupon it held is free again; the same
// request again is answered as the first, a new one is refused, and nothing changes.
void TestBookEndpoints::destroyOnce()
{
    const qint64 id = orderWithGarments(3, {12000}, Intake::finished);
    QVERIFY(id);
    // Member 3's 满100减20.
    const qint64 coupon = number("SELECT id FROM user_coupons WHERE user_id = 3 AND use_status = 0 "
                                 "AND coupon_id = 2 LIMIT 1");
    QVERIFY(coupon > 0);
    QCOMPARE(codeOf(call("couponInfo/use", {{"orderId", n(id)}, {"relId", n(coupon)}})), 200);

    const QJsonObject body = this->body(store1, {{"id", n(id)}, {"remark", "  顾客取消  "}});
    const QJsonObject first = client().call("orderInfo/destroy", body);
    QCOMPARE(codeOf(first), 200);
    QCOMPARE(number("SELECT status FROM orders WHERE id = " + n(id)), 50);
    QCOMPARE(value("SELECT destroy_remark FROM orders WHERE id = " + n(id)), QString("顾客取消"));
    QCOMPARE(number("SELECT destroyed_by FROM orders WHERE id = " + n(id)), 1);
    QCOMPARE(number("SELECT use_status FROM user_coupons WHERE id = " + n(coupon)), 0);
    const QString at = value("SELECT destroyed_at FROM orders WHERE id = " + n(id));

    QCOMPARE(client().call("orderInfo/destroy", body), first);
    const QJsonObject again = call("orderInfo/destroy", {{"id", n(id)}, {"remark", "再来一次"}});
    QCOMPARE(codeOf(again), 409);
    QCOMPARE(again.value("msg").toString(), QString("订单已作废"));
    QCOMPARE(value("SELECT destroyed_at FROM orders WHERE id = " + n(id)), at);
    QCOMPARE(value("SELECT destroy_remark FROM orders WHERE id = " + n(id)), QString("顾客取消"));
    QCOMPARE(rowOf(id).value("statusText").toString(), QString("已作废"));
    QVERIFY(!rowOf(id).value("isEnableDestroy").toBool());
    QVERIFY(!rowOf(id).value("isEnablePay").toBool());
}

void TestBookEndpoints::destroyRefusals_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("remark");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("msg");
    QTest::newRow("paid") << "paid"
                          << "不要了" << 409 << "订单已支付，不能作废";
    QTest::newRow("a garment in a bag") << "bagged"
                                        << "不要了" << 409 << "衣物已入袋或送洗，不能作废";
    QTest::newRow("garments back from the factory")
        << "arrived"
        << "不要了" << 409 << "衣物已入袋或送洗，不能作废";
    QTest::newRow("no reason") << "unpaid"
                               << "   " << 400 << "请输入作废原因";
    QTest::newRow("another store's") << "store2"
                                     << "不要了" << 403 << "非此门店订单";
}

void TestBookEndpoints::destroyRefusals()
{
    QFETCH(QString, state);
    QFETCH(QString, remark);
    QFETCH(int, code);
    QFETCH(QString, msg);
    const qint64 id = orderWithGarments(4, {2000}, Intake::finished);
    QVERIFY(id);
    if (state == "paid")
        QCOMPARE(codeOf(payCash(id)), 200);
    if (state == "bagged") {
        const QString bag =
            n(whole(call("orderProductBatchIn/add", {}).value("data").toObject().value("id")));
        QCOMPARE(codeOf(call("orderProductBatchInRel/addBatch",
                             {{"inId", bag}, {"orderProIds", n(garmentsOf(id)[0])}})),
                 200);
    }
    if (state == "arrived")
        QVERIFY(arrive(id));
    const QString before = value("SELECT status || '/' || COALESCE(destroyed_at, '') FROM orders "
                                 "WHERE id = " +
                                 n(id));
    const QJsonObject reply = call(state == "store2" ? store2 : store1, "orderInfo/destroy",
                                   {{"id", n(id)}, {"remark", remark}});
    QCOMPARE(codeOf(reply), code);
    QCOMPARE(reply.value("msg").toString(), msg);
    QCOMPARE(
        value("SELECT status || '/' || COALESCE(destroyed_at, '') FROM orders WHERE id = " + n(id)),
        before);
    QVERIFY(!rowOf(id).value("isEnableDestroy").toBool() || state == "unpaid" || state == "store2");
}

// ---- the garment list ----------------------------------------------------------------------

void TestBookEndpoints::garmentListFilters_data()
{
    QTest::addColumn<QJsonObject>("fields");
    QTest::addColumn<QString>("where");
    const QString order = n(number("SELECT MAX(id) FROM orders WHERE store_id = 1 AND id IN "
                                   "(SELECT order_id FROM order_products)"));
    const QString orderNo = value("SELECT order_no FROM orders WHERE id = " + order);
    const QString garment = n(number("SELECT MIN(id) FROM order_products WHERE order_id = 6"));
    const QString code = value("SELECT scan_code FROM order_products WHERE id = " + garment);
    const QString annexOf = n(number("SELECT MIN(order_product_id) FROM order_product_annexes a "
                                     "JOIN order_products p ON p.id = a.order_product_id "
                                     "WHERE p.store_id = 1"));
    const QString annex = value("SELECT scan_code FROM order_product_annexes "
                                "WHERE order_product_id = " +
                                annexOf + " LIMIT 1");
    QTest::newRow("none") << QJsonObject{} << "1";
    QTest::newRow("an order number")
        << QJsonObject{{"keywords", orderNo}} << "p.order_id = " + order;
    QTest::newRow("a garment's code") << QJsonObject{{"keywords", code}} << "p.id = " + garment;
    QTest::newRow("an accessory's code") << QJsonObject{{"keywords", annex}} << "p.id = " + annexOf;
    QTest::newRow("another store's order")
        << QJsonObject{{"keywords", value("SELECT o.order_no FROM orders o JOIN order_products p "
                                          "ON p.order_id = o.id WHERE o.store_id = 2 LIMIT 1")}}
        << "0";
    QTest::newRow("today") << QJsonObject{{"startDate", today()}, {"endDate", today()}}
                           << "p.created_at >= " + n(dayStartMs(today()));
    QTest::newRow("a week, yesterday's end")
        << QJsonObject{{"startDate", daysAgo(7)}, {"endDate", daysAgo(1)}}
        << "p.created_at >= " + n(dayStartMs(daysAgo(7))) + " AND p.created_at < " +
               n(dayStartMs(today()));
    QTest::newRow("on the rail") << QJsonObject{{"proStatusVal", "25"}} << "p.status = 25";
    QTest::newRow("leather care's factory")
        << QJsonObject{{"factoryId", "2"}} << "p.factory_id = 2";
    QTest::newRow("status and factory, no status chosen")
        << QJsonObject{{"proStatusVal", ""}, {"factoryId", "1"}} << "p.factory_id = 1";
    QTest::newRow("status, factory and dates")
        << QJsonObject{{"proStatusVal", "10"},
                       {"factoryId", "1"},
                       {"startDate", daysAgo(30)},
                       {"endDate", today()}}
        << "p.status = 10 AND p.factory_id = 1 AND p.created_at >= " + n(dayStartMs(daysAgo(30)));
}

void TestBookEndpoints::garmentListFilters()
{
    QFETCH(QJsonObject, fields);
    QFETCH(QString, where);
    QCOMPARE(firstPage("orderProductRel/proList", fields), expectedGarments(where));
    // Another merchant's factory is nobody's to list by.
    QCOMPARE(codeOf(call("orderProductRel/proList", {{"factoryId", "77"}})), 404);
}

// A garment's details: its row with its order, store and factory, its customer, its road and
// its photos; another store's garment is refused.
void TestBookEndpoints::garmentDetail()
{
    const qint64 id = orderWithGarments(2, {1800, 1900}, Intake::finished);
    QVERIFY(id);
    const qint64 garment = garmentsOf(id)[1];
    const QString code = value("SELECT scan_code FROM order_products WHERE id = " + n(garment));
    const QString bag =
        n(whole(call("orderProductBatchIn/add", {}).value("data").toObject().value("id")));
    QCOMPARE(codeOf(call("orderProductBatchInRel/addBatch",
                         {{"inId", bag}, {"orderProIds", n(garment)}})),
             200);

    const QJsonObject reply = call("orderProductRel/detail", {{"scanCode", code}});
    QCOMPARE(codeOf(reply), 200);
    const QJsonObject data = dataOf(reply);
    const QJsonObject info = data.value("productInfo").toObject();
    QCOMPARE(info.value("orderNo").toString(),
             value("SELECT order_no FROM orders WHERE id = " + n(id)));
    QCOMPARE(whole(info.value("no")), 2);
    QCOMPARE(whole(info.value("total")), 2);
    QCOMPARE(info.value("storeName").toString(), QString("净衣坊·徐汇店"));
    QCOMPARE(info.value("factoryName").toString(),
             value("SELECT COALESCE(f.name, '') FROM order_products p LEFT JOIN factories f "
                   "ON f.id = p.factory_id WHERE p.id = " +
                   n(garment)));
    QCOMPARE(info.value("statusText").toString(), QString("已入袋"));
    QCOMPARE(whole(info.value("subtotal")), 1900);
    const QJsonObject user = data.value("user").toObject();
    QCOMPARE(user.value("info").toObject().value("phone").toString(), QString("13912340002"));
    QCOMPARE(user.value("card").toObject().value("no").toString(), QString("VIP0002"));
    const QJsonArray road = data.value("statusList").toArray();
    QCOMPARE(road.size(), 2);
    QCOMPARE(road[0].toObject().value("statusText").toString(), QString("已收衣"));
    QCOMPARE(road[0].toObject().value("workName").toString(), QString("张丽"));
    QCOMPARE(road[1].toObject().value("statusText").toString(), QString("已入袋"));
    QVERIFY(whole(road[1].toObject().value("createTime")) >=
            whole(road[0].toObject().value("createTime")));
    QCOMPARE(data.value("productImgList").toArray().size(), 0);

    QCOMPARE(codeOf(call(store2, "orderProductRel/detail", {{"scanCode", code}})), 403);
    QCOMPARE(codeOf(call("orderProductRel/detail", {{"scanCode", "7019999999"}})), 404);
}

// The order's track says when its garments were washed, once all of them are back.
void TestBookEndpoints::washedStep()
{
    const qint64 id = orderWithGarments(5, {1000}, Intake::finished);
    QVERIFY(id);
    auto steps = [&] {
        QStringList out;
        for (const QJsonValue &v :
             dataOf(call("orderInfo/detail", {{"id", n(id)}})).value("statusList").toArray())
            out << v.toObject().value("statusText").toString();
        return out;
    };
    QCOMPARE(steps(), (QStringList{"已下单，待接单", "已入库"}));
    QVERIFY(arrive(id));
    QCOMPARE(steps(), (QStringList{"已下单，待接单", "已入库", "已洗完"}));
    const QJsonObject detail = dataOf(call("orderInfo/detail", {{"id", n(id)}}));
    QCOMPARE(detail.value("userInfo").toObject().value("wxId").toString(), QString("-1"));
    QVERIFY(detail.contains("unionName"));
}

void TestBookEndpoints::choices()
{
    const QJsonArray statuses = call("orderProductRel/status/list", {}).value("data").toArray();
    QCOMPARE(statuses.size(), int(number("SELECT COUNT(*) FROM dictionary "
                                         "WHERE code = 'PRODUCT_STATUS'")));
    QCOMPARE(statuses[0].toObject().value("text").toString(), QString("已收衣"));
    QCOMPARE(whole(statuses[0].toObject().value("val")), 10);

    const QJsonArray factories = call("factory/merc/list", {}).value("data").toArray();
    QCOMPARE(factories.size(), 2);
    QCOMPARE(factories[1].toObject().value("name").toString(), QString("净衣坊皮具护理中心"));
    QCOMPARE(whole(factories[1].toObject().value("id")), 2);

    const QJsonArray orderStatus =
        call("sysDicKey/keyList", {{"code", "ORDER_STATUS"}}).value("data").toArray();
    QStringList texts;
    for (const QJsonValue &v : orderStatus)
        texts << v.toObject().value("text").toString();
    QCOMPARE(texts,
             (QStringList{"待收衣", "已收衣", "洗护中", "待取衣", "已取衣", "已完成", "已作废"}));
    QCOMPARE(call("sysDicKey/keyList", {{"code", "NO_SUCH_CODE"}}).value("data").toArray().size(),
             0);
    QCOMPARE(codeOf(call("sysDicKey/keyList", {})), 400);
}

// --demo-scale N: the same N seeds the same store (only the dates follow the clock), whose
// records agree with one another, and new orders of today follow the seeded ones' numbers.
void TestBookEndpoints::scaledStore()
{
    const QString figures =
        "SELECT (SELECT COUNT(*) FROM orders) || '/' || (SELECT COUNT(*) FROM order_products) "
        "|| '/' || (SELECT group_concat(status || ':' || c) FROM (SELECT status, COUNT(*) c "
        "FROM orders GROUP BY status)) || '/' || (SELECT SUM(amount) FROM trades) || '/' || "
        "(SELECT COUNT(*) FROM recharges) || '/' || (SELECT SUM(payable_price) FROM orders)";
    const char *perStore = "SELECT COUNT(*) FROM orders WHERE store_id = ?";
    PrivateBackend demo;
    BackendDatabase plain;
    QVERIFY(plain.open(demo.databasePath()));
    QStringList seen;
    for (int run = 0; run < 2; ++run) {
        PrivateBackend scaled({"--demo-scale", "400"});
        QVERIFY2(!scaled.url().isEmpty(), qPrintable(scaled.output()));
        BackendDatabase db;
        QVERIFY(db.open(scaled.databasePath()));
        // Beside the demo's own orders.
        QCOMPARE(db.number(perStore, {"1"}), 400 + plain.number(perStore, {"1"}));
        QCOMPARE(db.number(perStore, {"2"}), 40 + plain.number(perStore, {"2"}));
        // Each order asks for its garments' total; a paid one was paid that in full.
        QCOMPARE(db.number("SELECT COUNT(*) FROM orders o WHERE o.order_price <> (SELECT "
                           "COALESCE(SUM(subtotal), 0) FROM order_products WHERE order_id = o.id)"),
                 0);
        QCOMPARE(db.number("SELECT COUNT(*) FROM orders o WHERE o.pay_status = 1 AND "
                           "o.payment_price <> (SELECT SUM(amount) FROM trades "
                           "WHERE order_id = o.id AND kind = 1)"),
                 0);
        QCOMPARE(db.number("SELECT COUNT(*) FROM order_products p JOIN orders o "
                           "ON o.id = p.order_id WHERE p.store_id <> o.store_id"),
                 0);
        QVERIFY(db.number("SELECT MIN(created_at) FROM orders") <
                QDateTime::currentMSecsSinceEpoch() - 300LL * 86400000);
        seen << db.value(figures.toUtf8().constData());

        BackendClient client(scaled.url());
        const WorkerSession worker = WorkerSession::open(client, "BV2024000001", "zhangli");
        QJsonObject body = worker.body();
        const QJsonObject header = ApiBackend::orderHeader(3);
        for (auto it = header.begin(); it != header.end(); ++it)
            body.insert(it.key(), it.value());
        QCOMPARE(codeOf(client.call("orderInfo/add", body)), 200);
    }
    QCOMPARE(seen[1], seen[0]);
}

QTEST_GUILESS_MAIN(TestBookEndpoints)
#include "tst_bookendpoints.moc"
