// The print-data endpoints seen from the terminal's side: their replies have the shape the
// printing code was written against, and every figure agrees with the demo database.

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <QTest>

#include "apibackend.h"

namespace {

QJsonObject fixtureData(const QString &name)
{
    QFile f(QStringLiteral(BRENVO_PRINT_TEST_DATA "/") + name);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", qPrintable(name));
    return QJsonDocument::fromJson(f.readAll()).object().value("data").toObject();
}

// Where `reply` lacks a member of `expected`, or holds it with another JSON type (null
// stands for "string or null" and matches anything). Lists compare every element with the
// fixture's first one. Empty when the shapes agree.
QStringList shapeDifferences(const QJsonValue &expected, const QJsonValue &reply,
                             const QString &where)
{
    if (expected.isNull() || reply.isNull())
        return {};
    if (expected.type() != reply.type())
        return {where + " has JSON type " + QString::number(reply.type()) + ", expected " +
                QString::number(expected.type())};
    QStringList out;
    if (expected.isObject()) {
        const QJsonObject e = expected.toObject(), r = reply.toObject();
        for (auto it = e.begin(); it != e.end(); ++it) {
            if (!r.contains(it.key()))
                out << where + "." + it.key() + " is missing";
            else
                out << shapeDifferences(it.value(), r.value(it.key()), where + "." + it.key());
        }
    } else if (expected.isArray() && !expected.toArray().isEmpty()) {
        const QJsonArray r = reply.toArray();
        for (int i = 0; i < r.size(); ++i)
            out << shapeDifferences(expected.toArray().first(), r.at(i),
                                    where + "[" + QString::number(i) + "]");
    }
    return out;
}

} // namespace

class TestPrintEndpoints : public QObject, private ApiBackend
{
    Q_OBJECT

private slots:
    void initTestCase();

    void replyShapesMatchLayoutFixtures_data();
    void replyShapesMatchLayoutFixtures();
    void orderTicketMatchesDatabase_data();
    void orderTicketMatchesDatabase();
    void bagLabelMatchesDatabase_data();
    void bagLabelMatchesDatabase();
    void washLabelsMatchDatabase_data();
    void washLabelsMatchDatabase();
    void certificateMatchesDatabase();
    void certificateRefusedBeforeTheCheck();
    void unknownRecordsRefused_data();
    void unknownRecordsRefused();

private:
    QJsonObject fetch(const QString &path, const QString &field, const QString &id);

    BackendDatabase db_;
};

void TestPrintEndpoints::initTestCase()
{
    // A backend of its own: the demo data stays as seeded while the replies are compared.
    QVERIFY2(start(), qPrintable(output()));
    QVERIFY(db_.open(databasePath()));
    QVERIFY(db_.number("SELECT COUNT(*) FROM orders") > 0);
}

QJsonObject TestPrintEndpoints::fetch(const QString &path, const QString &field, const QString &id)
{
    // Orders, garments and bags belong to their store, so each is asked for by its own store's
    // worker: the store of the record the id names (store 1 for an unknown one).
    const char *storeOf = field == "orderId" ? "SELECT store_id FROM orders WHERE id = ?"
                          : field == "orderProId"
                              ? "SELECT o.store_id FROM order_products p JOIN orders o "
                                "ON o.id = p.order_id WHERE p.id = ?"
                              : "SELECT store_id FROM batch_in WHERE id = ?";
    const qint64 store = db_.number(storeOf, {id});
    return call(store == 2 ? store2 : store1, path, {{field, id}});
}

void TestPrintEndpoints::replyShapesMatchLayoutFixtures_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("fixture");

    // The richest demo records: garments with accessories, a refund-wash, a rail position.
    const QString withAnnex =
        db_.value("SELECT p.id FROM order_products p JOIN order_product_annexes a "
                  "ON a.order_product_id = p.id ORDER BY p.id LIMIT 1");
    const QString orderOf =
        db_.value("SELECT order_id FROM order_products WHERE id = ?", {withAnnex});
    const QString refunded = db_.value("SELECT order_id FROM order_products WHERE has_refund = 1");
    const QString hung = db_.value("SELECT order_id FROM order_products WHERE store_shelf_no > 0");
    const QString passed = db_.value("SELECT id FROM order_products WHERE is_packaged = 1");
    const QString bag = db_.value("SELECT batch_in_id FROM batch_in_rel LIMIT 1");
    for (const QString &id : {withAnnex, orderOf, refunded, hung, passed, bag})
        QVERIFY(!id.isEmpty());

    QTest::newRow("ticket, accessories") << "print/order/detail"
                                         << "orderId" << orderOf << "order_detail.json";
    QTest::newRow("ticket, refund-wash") << "print/order/detail"
                                         << "orderId" << refunded << "order_detail.json";
    QTest::newRow("ticket, on the rail") << "print/order/detail"
                                         << "orderId" << hung << "order_detail.json";
    QTest::newRow("bag label") << "print/batchIn/product"
                               << "id" << bag << "batch_product.json";
    QTest::newRow("wash label") << "print/product/detail"
                                << "orderProId" << withAnnex << "product_detail.json";
    QTest::newRow("wash labels of an order") << "print/product/all"
                                             << "orderId" << orderOf << "product_all.json";
    QTest::newRow("certificate") << "print/product/qualified"
                                 << "orderProId" << passed << "product_qualified.json";
}

void TestPrintEndpoints::replyShapesMatchLayoutFixtures()
{
    QFETCH(QString, path);
    QFETCH(QString, field);
    QFETCH(QString, id);
    QFETCH(QString, fixture);
    const QJsonObject reply = fetch(path, field, id);
    QCOMPARE(reply.value("httpCode").toInt(), 200);
    const QStringList differences =
        shapeDifferences(fixtureData(fixture), reply.value("data"), QStringLiteral("data"));
    QVERIFY2(differences.isEmpty(), qPrintable(differences.join('\n')));
}

void TestPrintEndpoints::orderTicketMatchesDatabase_data()
{
    QTest::addColumn<QString>("orderId");
    const auto orders = db_.rows("SELECT id, order_no, status FROM orders ORDER BY id");
    QVERIFY(orders.size() >= 10);
    for (const QStringList &o : orders)
        QTest::addRow("%s status %s", qPrintable(o[1]), qPrintable(o[2])) << o[0];
}

void TestPrintEndpoints::orderTicketMatchesDatabase()
{
    QFETCH(QString, orderId);
    const QJsonObject reply = fetch("print/order/detail", "orderId", orderId);
    QCOMPARE(reply.value("httpCode").toInt(), 200);
    const QJsonObject d = reply.value("data").toObject();
    const QStringList o = db_.rows("SELECT o.order_no, m.name, s.name, u.name, u.phone, "
                                   "o.order_price, o.payment_price, o.refund_price, o.carriage, "
                                   "o.created_at, o.discount, o.modify_price, o.pay_status, "
                                   "COALESCE(w.name, ''), u.balance + u.gift_balance "
                                   "FROM orders o JOIN merchants m ON m.id = o.merc_id "
                                   "JOIN stores s ON s.id = o.store_id "
                                   "JOIN users u ON u.id = o.user_id "
                                   "LEFT JOIN workers w ON w.id = o.worker_id WHERE o.id = ?",
                                   {orderId})
                              .value(0);
    QCOMPARE(d.value("orderNo").toString(), o[0]);
    QCOMPARE(d.value("mercName").toString(), o[1]);
    QCOMPARE(d.value("storeName").toString(), o[2]);
    QCOMPARE(d.value("userName").toString(), o[3]);
    QCOMPARE(d.value("userPhone").toString(), o[4]);
    QCOMPARE(whole(d.value("orderPrice")), o[5].toLongLong());
    QCOMPARE(whole(d.value("paidPrice")), o[6].toLongLong());
    QCOMPARE(whole(d.value("refundPrice")), o[7].toLongLong());
    QCOMPARE(whole(d.value("takeCarriage")) + whole(d.value("sendCarriage")), o[8].toLongLong());
    QCOMPARE(whole(d.value("createTime")), o[9].toLongLong());
    QCOMPARE(whole(d.value("discount")), o[10].toLongLong());
    QCOMPARE(whole(d.value("modifyPrice")), o[11].toLongLong());
    QCOMPARE(
        d.value("payStatusText").toString(),
        db_.value("SELECT text FROM dictionary WHERE code = 'PAY_STATUS' AND val = ?", {o[12]}));
    QCOMPARE(d.value("sendWorkName").toString(), o[13]);
    QCOMPARE(whole(d.value("userBalance")), o[14].toLongLong());

    // The garments in intake order; the ticket's total is the sum of the printed garments.
    const auto garments = db_.rows("SELECT scan_code, subtotal, has_refund, store_shelf_no, "
                                   "is_custom_num, count FROM order_products "
                                   "WHERE order_id = ? ORDER BY id",
                                   {orderId});
    const QJsonArray list = d.value("orderProductList").toArray();
    QCOMPARE(list.size(), garments.size());
    qint64 sum = 0;
    for (int i = 0; i < list.size(); ++i) {
        const QJsonObject g = list.at(i).toObject();
        QCOMPARE(g.value("scanCode").toString(), garments[i][0]);
        QCOMPARE(whole(g.value("subtotal")), garments[i][1].toLongLong());
        QCOMPARE(whole(g.value("hasRefund")), garments[i][2].toLongLong());
        QCOMPARE(whole(g.value("storeShelfNo")), garments[i][3].toLongLong());
        QCOMPARE(g.value("tranNum").toString().isEmpty(), garments[i][3] == "0");
        const qint64 count = garments[i][5].toLongLong();
        QCOMPARE(whole(g.value("count")), garments[i][4] == "1" ? count : count * 100);
        QVERIFY(whole(g.value("serviceAmt")) > 0);
        for (const char *desc : {"colorDesc", "flawDesc", "effectDesc", "addServiceDesc"})
            QVERIFY2(QJsonDocument::fromJson(g.value(desc).toString().toUtf8()).isArray(), desc);
        sum += whole(g.value("subtotal"));
    }
    QCOMPARE(whole(d.value("orderPrice")), sum);
    const qint64 annexes =
        db_.number("SELECT COUNT(*) FROM order_product_annexes a JOIN order_products p "
                   "ON p.id = a.order_product_id WHERE p.order_id = ?",
                   {orderId});
    QCOMPARE(whole(d.value("productCnt")), garments.size() + annexes);
}

void TestPrintEndpoints::bagLabelMatchesDatabase_data()
{
    QTest::addColumn<QString>("bagId");
    const auto bags = db_.rows("SELECT id, bag_no FROM batch_in ORDER BY id");
    QVERIFY(!bags.isEmpty());
    for (const QStringList &b : bags)
        QTest::addRow("%s", qPrintable(b[1])) << b[0];
}

void TestPrintEndpoints::bagLabelMatchesDatabase()
{
    QFETCH(QString, bagId);
    const QJsonObject reply = fetch("print/batchIn/product", "id", bagId);
    QCOMPARE(reply.value("httpCode").toInt(), 200);
    const QJsonObject batch = reply.value("data").toObject().value("batch").toObject();
    const QStringList b = db_.rows("SELECT b.bag_no, b.created_at, s.name, s.addr_desc "
                                   "FROM batch_in b JOIN stores s ON s.id = b.store_id "
                                   "WHERE b.id = ?",
                                   {bagId})
                              .value(0);
    QCOMPARE(batch.value("code").toString(), b[0]);
    // Printed without its last two characters: the seconds' fraction goes, the time stays.
    const QString created = batch.value("createTime").toString();
    QCOMPARE(created.chopped(2), QDateTime::fromMSecsSinceEpoch(b[1].toLongLong())
                                     .toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
    QCOMPARE(batch.value("storeName").toString(), b[2]);
    QCOMPARE(batch.value("storeAddrDesc").toString(), b[3]);
    QCOMPARE(whole(batch.value("productCnt")),
             db_.number("SELECT COUNT(*) FROM batch_in_rel WHERE batch_in_id = ?", {bagId}));
    QCOMPARE(whole(batch.value("annexCnt")),
             db_.number("SELECT COUNT(*) FROM batch_in_rel r JOIN order_product_annexes a "
                        "ON a.order_product_id = r.order_product_id WHERE r.batch_in_id = ?",
                        {bagId}));
}

void TestPrintEndpoints::washLabelsMatchDatabase_data()
{
    QTest::addColumn<QString>("orderId");
    const auto orders = db_.rows("SELECT o.id, o.order_no FROM orders o WHERE EXISTS "
                                 "(SELECT 1 FROM order_products p WHERE p.order_id = o.id) "
                                 "ORDER BY o.id");
    QVERIFY(!orders.isEmpty());
    for (const QStringList &o : orders)
        QTest::addRow("%s", qPrintable(o[1])) << o[0];
}

void TestPrintEndpoints::washLabelsMatchDatabase()
{
    QFETCH(QString, orderId);
    const QJsonObject all = fetch("print/product/all", "orderId", orderId);
    QCOMPARE(all.value("httpCode").toInt(), 200);
    const QJsonObject d = all.value("data").toObject();
    const QStringList o = db_.rows("SELECT o.order_no, o.pay_status, u.name, u.phone, s.name, "
                                   "s.code FROM orders o JOIN users u ON u.id = o.user_id "
                                   "JOIN stores s ON s.id = o.store_id WHERE o.id = ?",
                                   {orderId})
                              .value(0);
    QCOMPARE(d.value("orderNo").toString(), o[0]);
    QCOMPARE(d.value("isPaid").toBool(), o[1] == "1");
    QCOMPARE(d.value("userName").toString(), o[2]);
    QCOMPARE(d.value("userPhone").toString(), o[3]);
    QCOMPARE(d.value("storeName").toString(), o[4]);
    QCOMPARE(d.value("storeId").toString(), o[5]);

    const auto garments = db_.rows(
        "SELECT id, scan_code, product_name, subtotal FROM order_products WHERE order_id = ? "
        "ORDER BY id",
        {orderId});
    const QJsonArray list = d.value("productList").toArray();
    QCOMPARE(list.size(), garments.size());
    // Each piece, garment or accessory, has its own number 1..productCnt and its own label code.
    QSet<qint64> numbers;
    for (int i = 0; i < list.size(); ++i) {
        const QJsonObject g = list.at(i).toObject();
        QCOMPARE(g.value("id").toString(), garments[i][0]);
        QCOMPARE(g.value("scanCode").toString(), garments[i][1]);
        QCOMPARE(g.value("productName").toString(), garments[i][2]);
        QCOMPARE(whole(g.value("subtotal")), garments[i][3].toLongLong());
        QCOMPARE(whole(g.value("type")), 1);
        numbers << whole(g.value("no"));
        const auto annexes = db_.rows("SELECT id, name, scan_code FROM order_product_annexes "
                                      "WHERE order_product_id = ? ORDER BY id",
                                      {garments[i][0]});
        const QJsonArray annexList = g.value("annexList").toArray();
        QCOMPARE(annexList.size(), annexes.size());
        // The accessory text the label prints after its count names the same accessories.
        QCOMPARE(QJsonDocument::fromJson(g.value("annexDesc").toString().toUtf8()).array().size(),
                 annexes.size());
        for (int k = 0; k < annexList.size(); ++k) {
            const QJsonObject a = annexList.at(k).toObject();
            QCOMPARE(whole(a.value("type")), 2);
            QCOMPARE(a.value("productName").toString(), annexes[k][1]);
            QCOMPARE(a.value("scanCode").toString(), annexes[k][2]);
            numbers << whole(a.value("no"));
        }

        // One garment's own reply is the same element with the order's members beside it.
        const QJsonObject one = fetch("print/product/detail", "orderProId", garments[i][0]);
        QCOMPARE(one.value("httpCode").toInt(), 200);
        QJsonObject detail = one.value("data").toObject();
        for (const char *key :
             {"isPaid", "userName", "userPhone", "storeName", "storeId", "productCnt", "orderNo"}) {
            QCOMPARE(detail.value(key), d.value(key));
            detail.remove(key);
        }
        detail.remove("parentProName");
        QCOMPARE(detail, g);
    }
    const qint64 pieces = whole(d.value("productCnt"));
    QCOMPARE(qint64(numbers.size()), pieces);
    for (qint64 n = 1; n <= pieces; ++n)
        QVERIFY2(numbers.contains(n), qPrintable(QString::number(n)));
}

void TestPrintEndpoints::certificateMatchesDatabase()
{
    const auto passed = db_.rows("SELECT p.id, p.scan_code, p.product_name, p.order_id, "
                                 "o.order_no, s.name, s.code, u.name, u.phone, p.store_shelf_no, "
                                 "p.color_desc FROM order_products p "
                                 "JOIN orders o ON o.id = p.order_id "
                                 "JOIN stores s ON s.id = o.store_id "
                                 "JOIN users u ON u.id = o.user_id WHERE p.is_packaged = 1");
    QVERIFY(!passed.isEmpty());
    for (const QStringList &p : passed) {
        const QJsonObject reply = fetch("print/product/qualified", "orderProId", p[0]);
        QCOMPARE(reply.value("httpCode").toInt(), 200);
        const QJsonObject d = reply.value("data").toObject();
        QVERIFY(QStringList({"1", "2", "3"}).contains(d.value("certStyle").toString()));
        QCOMPARE(d.value("scanCode").toString(), p[1]);
        QCOMPARE(d.value("productName").toString(), p[2]);
        QCOMPARE(d.value("orderNo").toString(), p[4]);
        QCOMPARE(d.value("storeName").toString(), p[5]);
        QCOMPARE(d.value("storeId").toString(), p[6]);
        QCOMPARE(d.value("userName").toString(), p[7]);
        QCOMPARE(d.value("userPhone").toString(), p[8]);
        QCOMPARE(d.value("tranNum").toString(), p[9] == "0" ? QString() : p[9]);
        QCOMPARE(d.value("colorDesc").toString(), p[10]);
        QCOMPARE(whole(d.value("productCnt")),
                 db_.number("SELECT COUNT(*) FROM order_products WHERE order_id = ?", {p[3]}));
        QCOMPARE(whole(d.value("annexCnt")),
                 db_.number("SELECT COUNT(*) FROM order_product_annexes a JOIN order_products p "
                            "ON p.id = a.order_product_id WHERE p.order_id = ?",
                            {p[3]}));
        QVERIFY(whole(d.value("createTime")) > 0);
    }
}

void TestPrintEndpoints::certificateRefusedBeforeTheCheck()
{
    const QString unchecked = db_.value("SELECT id FROM order_products WHERE is_packaged = 0");
    QVERIFY(!unchecked.isEmpty());
    const QJsonObject reply = fetch("print/product/qualified", "orderProId", unchecked);
    QCOMPARE(reply.value("httpCode").toInt(), 409);
    QCOMPARE(reply.value("msg").toString(), QStringLiteral("衣物尚未质检合格"));
    QVERIFY(!reply.contains("data"));
}

void TestPrintEndpoints::unknownRecordsRefused_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("id");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("msg");

    const QString unknown = QStringLiteral("987654321");
    QTest::newRow("ticket") << "print/order/detail"
                            << "orderId" << unknown << 404 << "订单不存在";
    QTest::newRow("bag") << "print/batchIn/product"
                         << "id" << unknown << 404 << "袋子不存在";
    QTest::newRow("wash label") << "print/product/detail"
                                << "orderProId" << unknown << 404 << "衣物不存在";
    QTest::newRow("labels of an order") << "print/product/all"
                                        << "orderId" << unknown << 404 << "订单不存在";
    QTest::newRow("certificate") << "print/product/qualified"
                                 << "orderProId" << unknown << 404 << "衣物不存在";
    QTest::newRow("id not a number") << "print/order/detail"
                                     << "orderId"
                                     << "12ab" << 400 << "参数类型错误: orderId";
    QTest::newRow("id missing") << "print/batchIn/product"
                                << "bagId"
                                << "1" << 400 << "缺少参数: id";
}

void TestPrintEndpoints::unknownRecordsRefused()
{
    QFETCH(QString, path);
    QFETCH(QString, field);
    QFETCH(QString, id);
    QFETCH(int, code);
    QFETCH(QString, msg);
    const QJsonObject reply = fetch(path, field, id);
    QCOMPARE(reply.value("httpCode").toInt(), code);
    QCOMPARE(reply.value("msg").toString(), msg);
    QVERIFY(!reply.contains("data"));
}

QTEST_GUILESS_MAIN(TestPrintEndpoints)
#include "tst_printendpoints.moc"
