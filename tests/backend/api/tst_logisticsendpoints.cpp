// The factory road against a backend of the test's own: bags filled by scanned code, emptied,
// moved between, completed and deleted; the logistics worker and the factory (the stand-in)
// taking a bag away and sending its garments back in a batch; the garments confirmed back in
// the store by batch, by order and one by one. Garment and order states are read from the
// database after each step. Demo member 3's orders; 大衣 (19) is taken in with its belt.

#include <algorithm>

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTest>

#include "apibackend.h"

class TestLogisticsEndpoints : public QObject, private ApiBackend
{
    Q_OBJECT

private slots:
    void initTestCase();

    void bagFilledByScanning();
    void completedBagRefusesChanges_data();
    void completedBagRefusesChanges();
    void takenOutAndMoved();
    void deletedBagFreesItsGarments();
    void waitingList();
    void bagListFilters_data();
    void bagListFilters();
    void roadToTheFactoryAndBack();
    void arrivalByOrderAndGarment();
    void confirmationNeedsIds_data();
    void confirmationNeedsIds();
    void repeatedWritesAnsweredOnce();
    void standInRefusals_data();
    void standInRefusals();
    void otherStoreRefused_data();
    void otherStoreRefused();

private:
    // An order of member 3 with a pair of jeans and a coat with its belt, intake finished: its
    // id, and the two garments' ids.
    struct Order
    {
        QString id, jeans, coat;
    };
    Order finishedOrder();
    QString newBag(const WorkerSession *as = nullptr);
    QString scanCode(const QString &garmentId);
    QString belt(const QString &coatId);
    QString status(const QString &garmentId);
    QString orderStatus(const QString &orderId);
    QJsonObject data(const QJsonObject &reply) { return reply.value("data").toObject(); }
    QJsonArray list(const QJsonObject &reply) { return data(reply).value("list").toArray(); }
    // A bag with the garments, completed.
    QString completedBag(const QStringList &garments);
    // A step of the factory stand-in; its HTTP status, and its answer in `answer`.
    int factory(const QString &step, const QString &bag, QJsonObject *answer = nullptr);
    QString bagCode(const QString &bagId);
    // The bag taken to the factory and its garments sent back: the batch's code.
    QString returned(const QString &bagId);
};

void TestLogisticsEndpoints::initTestCase()
{
    QVERIFY2(start(), qPrintable(output()));
}

TestLogisticsEndpoints::Order TestLogisticsEndpoints::finishedOrder()
{
    const qint64 id = orderIdOf(newOrder(3));
    Order o;
    o.id = n(id);
    o.jeans = n(whole(addGarment(id).value("id")));
    o.coat = n(
        whole(addGarment(id, {{"productId", "19"}, {"annexDesc", R"([{"id":"1","name":"腰带"}])"}})
                  .value("id")));
    if (codeOf(call("stockIn/finish", {{"id", o.id}})) != 200)
        return {};
    return o;
}

QString TestLogisticsEndpoints::newBag(const WorkerSession *as)
{
    return n(whole(data(call("orderProductBatchIn/add", {}, as)).value("id")));
}

QString TestLogisticsEndpoints::scanCode(const QString &garmentId)
{
    return value("SELECT scan_code FROM order_products WHERE id = " + garmentId);
}

QString TestLogisticsEndpoints::belt(const QString &coatId)
{
    return value("SELECT scan_code FROM order_product_annexes WHERE order_product_id = " + coatId);
}

QString TestLogisticsEndpoints::status(const QString &garmentId)
{
    return value("SELECT status FROM order_products WHERE id = " + garmentId);
}

QString TestLogisticsEndpoints::orderStatus(const QString &orderId)
{
    return value("SELECT status FROM orders WHERE id = " + orderId);
}

QString TestLogisticsEndpoints::bagCode(const QString &bagId)
{
    return value("SELECT bag_no FROM batch_in WHERE id = " + bagId);
}

QString TestLogisticsEndpoints::completedBag(const QStringList &garments)
{
    const QString bag = newBag();
    for (const QString &g : garments)
        if (codeOf(call("orderProductBatchInRel/add",
                        {{"inId", bag}, {"scanCode", scanCode(g)}})) != 200)
            return {};
    return codeOf(call("orderProductBatchIn/complete", {{"id", bag}})) == 200 ? bag : QString();
}

int TestLogisticsEndpoints::factory(const QString &step, const QString &bag, QJsonObject *answer)
{
    const std::string target = "/factory/" + step.toStdString() + "?bag=" + bag.toStdString();
    auto res = client().http().Post(target, "", "text/plain");
    if (!res)
        return -1;
    if (answer)
        *answer = QJsonDocument::fromJson(QByteArray::fromStdString(res->body)).object();
    return res->status;
}

QString TestLogisticsEndpoints::returned(const QString &bagId)
{
    QJsonObject answer;
    return factory("return", bagCode(bagId), &answer) == 200 ? answer.value("batchCode").toString()
                                                             : QString();
}

// A scanned code (the garment's or its accessory's) puts the garment into the open bag once;
// a second scan is refused and leaves it there once.
void TestLogisticsEndpoints::bagFilledByScanning()
{
    const Order o = finishedOrder();
    QVERIFY(!o.coat.isEmpty());
    const QString bag = newBag();
    QCOMPARE(codeOf(call("orderProductBatchInRel/add",
                         {{"inId", bag}, {"scanCode", scanCode(o.jeans)}})),
             200);
    QCOMPARE(status(o.jeans), QString("11"));
    const QJsonObject again =
        call("orderProductBatchInRel/add", {{"inId", bag}, {"scanCode", scanCode(o.jeans)}});
    QCOMPARE(codeOf(again), 409);
    QVERIFY2(again.value("msg").toString().startsWith("衣物已入袋"),
             qPrintable(again.value("msg").toString()));
    QCOMPARE(number("SELECT COUNT(*) FROM batch_in_rel WHERE order_product_id = " + o.jeans), 1ll);
    // The belt's code brings its coat.
    QCOMPARE(
        codeOf(call("orderProductBatchInRel/add", {{"inId", bag}, {"scanCode", belt(o.coat)}})),
        200);
    const QJsonObject unknown =
        call("orderProductBatchInRel/add", {{"inId", bag}, {"scanCode", "7019999999"}});
    QCOMPARE(codeOf(unknown), 404);
    QCOMPARE(unknown.value("msg").toString(), QString("衣物不存在: 7019999999"));

    const QJsonObject detail = data(call("orderProductBatchIn/detail", {{"id", bag}}));
    QCOMPARE(detail.value("code").toString(), bagCode(bag));
    QCOMPARE(whole(detail.value("productCnt")), 2ll);
    QCOMPARE(whole(detail.value("annexCnt")), 1ll);
    QCOMPARE(whole(detail.value("isFinish")), 0ll);
    QCOMPARE(whole(detail.value("status")), 1ll);
    QCOMPARE(detail.value("statusText").toString(), QString("等待物流人员收取"));
    QVERIFY(detail.value("storeWorkTime").isNull());
    QVERIFY(detail.value("logisticsWorkTime").isNull());

    // The last one in first, each with what the bag's screen shows.
    const QJsonArray rows = list(call("orderProductBatchInRel/list", {{"inId", bag}}));
    QCOMPARE(rows.size(), 2);
    const QJsonObject coat = rows[0].toObject();
    QCOMPARE(n(whole(coat.value("id"))), o.coat);
    QCOMPARE(coat.value("productName").toString(), QString("大衣"));
    QCOMPARE(coat.value("scanCode").toString(), scanCode(o.coat));
    QCOMPARE(coat.value("orderNo").toString(),
             value("SELECT order_no FROM orders WHERE id = " + o.id));
    QCOMPARE(coat.value("proStatusText").toString(), QString("已入袋"));
    QCOMPARE(whole(coat.value("subtotal")),
             number("SELECT subtotal FROM order_products WHERE id = " + o.coat));
    QVERIFY(!coat.value("serviceName").toString().isEmpty());
    QVERIFY(whole(coat.value("createTime")) > 0);

    // Completed: its time is kept, and the grid offers its label.
    QCOMPARE(codeOf(call("orderProductBatchIn/complete", {{"id", bag}})), 200);
    const QJsonObject done = data(call("orderProductBatchIn/detail", {{"id", bag}}));
    QCOMPARE(whole(done.value("isFinish")), 1ll);
    QVERIFY(whole(done.value("storeWorkTime")) > 0);
}

void TestLogisticsEndpoints::completedBagRefusesChanges_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("fields"); // $bag: the completed bag, $open: an open one,
                                         // $in: its garment, $out: a garment waiting
    QTest::addColumn<QString>("msg");
    QTest::newRow("scan into it") << "orderProductBatchInRel/add"
                                  << "inId=$bag&scanCode=$outCode"
                                  << "袋子已完成，不能再放入衣物";
    QTest::newRow("put in from the list") << "orderProductBatchInRel/addBatch"
                                          << "inId=$bag&orderProIds=$out"
                                          << "袋子已完成，不能再放入衣物";
    QTest::newRow("take out") << "orderProductBatchInRel/deleteBatch"
                              << "ids=$in"
                              << "袋子已完成，衣物不能再移出";
    QTest::newRow("move out") << "orderProductBatchInRel/shift"
                              << "inId=$open&orderProIds=$in"
                              << "袋子已完成，衣物不能再移出";
    QTest::newRow("move into it") << "orderProductBatchInRel/shift"
                                  << "inId=$bag&orderProIds=$openIn"
                                  << "袋子已完成，不能再放入衣物";
    QTest::newRow("delete") << "orderProductBatchIn/delete"
                            << "id=$bag"
                            << "袋子已完成，不能删除";
    QTest::newRow("complete again") << "orderProductBatchIn/complete"
                                    << "id=$bag"
                                    << "袋子已完成";
}

// Nothing of a completed bag changes: the refusal says why, and every garment stays where it
// was.
void TestLogisticsEndpoints::completedBagRefusesChanges()
{
    QFETCH(QString, path);
    QFETCH(QString, fields);
    QFETCH(QString, msg);
    const Order o = finishedOrder();
    const Order other = finishedOrder();
    const QString bag = completedBag({o.jeans});
    QVERIFY(!bag.isEmpty());
    const QString open = newBag();
    QCOMPARE(codeOf(call("orderProductBatchInRel/addBatch",
                         {{"inId", open}, {"orderProIds", other.jeans}})),
             200);
    const QMap<QString, QString> ids{{"$bag", bag},    {"$open", open},
                                     {"$in", o.jeans}, {"$openIn", other.jeans},
                                     {"$out", o.coat}, {"$outCode", scanCode(o.coat)}};
    QJsonObject body;
    for (const QString &pair : fields.split('&')) {
        QString v = pair.section('=', 1);
        for (auto it = ids.begin(); it != ids.end(); ++it)
            if (v == it.key())
                v = it.value();
        body.insert(pair.section('=', 0, 0), v);
    }
    const QString before = value("SELECT group_concat(batch_in_id || ':' || order_product_id) "
                                 "FROM batch_in_rel");
    const QJsonObject reply = call(path, body);
    QCOMPARE(codeOf(reply), 409);
    QVERIFY2(reply.value("msg").toString().startsWith(msg),
             qPrintable(reply.value("msg").toString()));
    QCOMPARE(value("SELECT group_concat(batch_in_id || ':' || order_product_id) FROM batch_in_rel"),
             before);
    QCOMPARE(status(o.jeans), QString("11"));
    QCOMPARE(status(o.coat), QString("10"));
    QCOMPARE(number("SELECT COUNT(*) FROM batch_in WHERE id = " + bag), 1ll);
}

// Garments leave an open bag for the waiting list, in the state they went in with, or move to
// another open bag.
void TestLogisticsEndpoints::takenOutAndMoved()
{
    const Order o = finishedOrder();
    const QString first = newBag();
    const QString second = newBag();
    QCOMPARE(codeOf(call("orderProductBatchInRel/addBatch",
                         {{"inId", first}, {"orderProIds", o.jeans + "," + o.coat}})),
             200);
    QCOMPARE(
        codeOf(call("orderProductBatchInRel/shift", {{"inId", second}, {"orderProIds", o.coat}})),
        200);
    QCOMPARE(value("SELECT batch_in_id FROM batch_in_rel WHERE order_product_id = " + o.coat),
             second);
    QCOMPARE(list(call("orderProductBatchInRel/list", {{"inId", first}})).size(), 1);
    QCOMPARE(status(o.coat), QString("11"));

    QCOMPARE(codeOf(call("orderProductBatchInRel/deleteBatch", {{"ids", o.jeans + "," + o.coat}})),
             200);
    QCOMPARE(number("SELECT COUNT(*) FROM batch_in_rel WHERE order_product_id IN (" + o.jeans +
                    "," + o.coat + ")"),
             0ll);
    QCOMPARE(status(o.jeans), QString("10"));
    QCOMPARE(status(o.coat), QString("10"));
    // A garment in no bag cannot be taken out of one; nothing else moves with it.
    QCOMPARE(codeOf(call("orderProductBatchInRel/addBatch",
                         {{"inId", first}, {"orderProIds", o.jeans}})),
             200);
    const QJsonObject refused =
        call("orderProductBatchInRel/deleteBatch", {{"ids", o.jeans + "," + o.coat}});
    QCOMPARE(codeOf(refused), 409);
    QCOMPARE(refused.value("msg").toString(), "衣物不在袋中: " + scanCode(o.coat));
    QCOMPARE(status(o.jeans), QString("11"));
}

// A deleted open bag leaves its garments waiting for a bag; a garment that had come back
// from the factory and was sent back for rework waits for rework again.
void TestLogisticsEndpoints::deletedBagFreesItsGarments()
{
    const Order o = finishedOrder();
    QVERIFY(!o.coat.isEmpty());
    QVERIFY(!returned(completedBag({o.coat})).isEmpty());
    QCOMPARE(codeOf(call("orderProductBatchOutRel/confirmStore",
                         {{"outId", value("SELECT MAX(id) FROM batch_out")}, {"id", o.coat}})),
             200);
    QCOMPARE(codeOf(call("orderProductRel/stockReworkBatch", {{"proIds", o.coat}})), 200);
    QCOMPARE(status(o.coat), QString("30"));

    const QString bag = newBag();
    QCOMPARE(codeOf(call("orderProductBatchInRel/addBatch",
                         {{"inId", bag}, {"orderProIds", o.jeans + "," + o.coat}})),
             200);
    QCOMPARE(codeOf(call("orderProductBatchIn/delete", {{"id", bag}})), 200);
    QCOMPARE(number("SELECT COUNT(*) FROM batch_in WHERE id = " + bag), 0ll);
    QCOMPARE(status(o.jeans), QString("10"));
    QCOMPARE(status(o.coat), QString("30"));
    QCOMPARE(codeOf(call("orderProductBatchIn/detail", {{"id", bag}})), 404);
}

// The garments waiting for a bag, the longest waiting first, paged; bagged ones are not.
void TestLogisticsEndpoints::waitingList()
{
    const Order o = finishedOrder();
    const auto waiting = [this](int page, int size) {
        return list(
            call("orderProductRel/batchInList", {{"pageNum", n(page)}, {"pageSize", n(size)}}));
    };
    const auto ids = [](const QJsonArray &rows) {
        QStringList out;
        for (const QJsonValue &r : rows)
            out << n(whole(r.toObject().value("id")));
        return out;
    };
    const qint64 total = number("SELECT COUNT(*) FROM order_products p JOIN orders o ON o.id = "
                                "p.order_id WHERE o.store_id = 1 AND o.destroyed_at IS NULL AND "
                                "o.status >= 10 AND p.status IN (10, 30)");
    QStringList all;
    for (int page = 1; page <= total / 3 + 1; ++page)
        all += ids(waiting(page, 3));
    QCOMPARE(all.size(), int(total));
    QVERIFY(all.contains(o.jeans) && all.contains(o.coat));
    QStringList sorted = all;
    std::sort(sorted.begin(), sorted.end(),
              [](const QString &a, const QString &b) { return a.toLongLong() < b.toLongLong(); });
    QCOMPARE(all, sorted);
    const QJsonObject row = waiting(1, 100).last().toObject();
    QCOMPARE(row.value("scanCode").toString(), scanCode(o.coat));
    QCOMPARE(whole(row.value("annexCnt")), 1ll);
    QVERIFY(row.contains("orderNo") && row.contains("serviceName") && row.contains("subtotal"));

    QCOMPARE(codeOf(call("orderProductBatchInRel/addBatch",
                         {{"inId", newBag()}, {"orderProIds", o.coat}})),
             200);
    QVERIFY(!ids(waiting(1, 100)).contains(o.coat));
    // Another store's garments are not this store's to bag.
    const QJsonArray theirs =
        list(call(store2, "orderProductRel/batchInList", {{"pageNum", "1"}, {"pageSize", "100"}}));
    QVERIFY(!ids(theirs).contains(o.jeans));
}

// The bag list's filters take what the tabs send; no number stands for "any" (a filter left
// out, or sent empty, is any).
void TestLogisticsEndpoints::bagListFilters_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("code");
    QTest::newRow("open bags") << "isFinish"
                               << "0" << 200;
    QTest::newRow("isFinish empty") << "isFinish"
                                    << "" << 200;
    QTest::newRow("isFinish -1") << "isFinish"
                                 << "-1" << 400;
    QTest::newRow("on their way") << "status"
                                  << "2" << 200;
    QTest::newRow("status empty") << "status"
                                  << "" << 200;
    QTest::newRow("status -1") << "status"
                               << "-1" << 400;
    QTest::newRow("status 0") << "status"
                              << "0" << 400;
}

void TestLogisticsEndpoints::bagListFilters()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(int, code);
    QCOMPARE(codeOf(call("orderProductBatchIn/list",
                         {{"pageNum", "1"}, {"pageSize", "10"}, {key, value}})),
             code);
}

// A bag of three garments of two orders goes to the factory and comes back in a batch; the
// store scans the batch and confirms one garment, then the rest.
void TestLogisticsEndpoints::roadToTheFactoryAndBack()
{
    const Order a = finishedOrder();
    const Order b = finishedOrder();
    const QString bag = completedBag({a.jeans, a.coat, b.jeans});
    QVERIFY(!bag.isEmpty());
    const QString code = bagCode(bag);

    QJsonObject answer;
    QCOMPARE(factory("collect", code, &answer), 200);
    QCOMPARE(answer.value("status").toInt(), 2);
    QCOMPARE(status(a.jeans), QString("12"));
    QCOMPARE(orderStatus(a.id), QString("20"));
    QCOMPARE(status(b.coat), QString("10")); // not in the bag
    QJsonObject detail = data(call("orderProductBatchIn/detail", {{"id", bag}}));
    QCOMPARE(detail.value("statusText").toString(), QString("送往工厂途中"));
    QCOMPARE(detail.value("logisticsWorkName").toString(), QString("陈师傅"));
    QVERIFY(whole(detail.value("logisticsWorkTime")) > 0);
    const QJsonArray onTheWay = list(
        call("orderProductBatchIn/list", {{"pageNum", "1"}, {"pageSize", "100"}, {"status", "2"}}));
    QVERIFY(std::any_of(onTheWay.begin(), onTheWay.end(), [&](const QJsonValue &v) {
        return v.toObject().value("code").toString() == code;
    }));

    QCOMPARE(factory("receive", code, &answer), 200);
    QCOMPARE(answer.value("status").toInt(), 3);
    QCOMPARE(status(a.coat), QString("15"));
    detail = data(call("orderProductBatchIn/detail", {{"id", bag}}));
    QCOMPARE(detail.value("statusText").toString(), QString("到工厂"));
    QVERIFY(whole(detail.value("factoryWorkTime")) > 0);
    QVERIFY(!detail.value("factoryName").toString().isEmpty());

    QCOMPARE(factory("sendBack", code, &answer), 200);
    const QString batch = answer.value("batchCode").toString();
    QVERIFY2(QRegularExpression("^8\\d{6}01\\d{3}$").match(batch).hasMatch(), qPrintable(batch));
    QCOMPARE(status(a.jeans), QString("17"));
    QCOMPARE(status(b.jeans), QString("17"));

    // The store scans the batch: received, its garments with the coat's belt still to confirm.
    const QJsonObject scanned = call("orderProductBatchOut/receiveStore", {{"batchCode", batch}});
    QCOMPARE(codeOf(scanned), 200);
    const QString batchId = n(whole(data(scanned).value("id")));
    QCOMPARE(data(scanned).value("code").toString(), batch);
    QVERIFY(whole(data(scanned).value("factoryWorkTime")) > 0);
    QVERIFY(!data(scanned).value("factoryName").toString().isEmpty());
    QCOMPARE(value("SELECT status FROM batch_out WHERE id = " + batchId), QString("1"));
    QJsonArray rows =
        call("orderProductBatchOutRel/receiveProList",
             {{"outId", batchId}, {"status", n(whole(data(scanned).value("status")))}})
            .value("data")
            .toArray();
    QCOMPARE(rows.size(), 4);
    QStringList kinds, checked;
    for (const QJsonValue &v : rows) {
        kinds << QString::number(v.toObject().value("orderProType").toInt());
        checked << v.toObject().value("storeStatusText").toString();
    }
    QCOMPARE(kinds, QStringList({"1", "1", "2", "1"}));
    QCOMPARE(rows[2].toObject().value("scanCode").toString(), belt(a.coat));
    QCOMPARE(n(whole(rows[2].toObject().value("id"))), a.coat);
    QCOMPARE(checked, QStringList({"未核对", "未核对", "未核对", "未核对"}));

    QCOMPARE(
        codeOf(call("orderProductBatchOutRel/confirmStore", {{"outId", batchId}, {"id", a.jeans}})),
        200);
    QCOMPARE(status(a.jeans), QString("19"));
    QCOMPARE(status(a.coat), QString("17"));
    QCOMPARE(orderStatus(a.id), QString("20"));
    const QJsonObject twice =
        call("orderProductBatchOutRel/confirmStore", {{"outId", batchId}, {"id", a.jeans}});
    QCOMPARE(codeOf(twice), 409);
    QCOMPARE(twice.value("msg").toString(), "衣物已到店，不能确认到店: " + scanCode(a.jeans));

    QCOMPARE(codeOf(call("orderProductBatchOutRel/confirmStore", {{"outId", batchId}})), 200);
    QCOMPARE(status(a.coat), QString("19"));
    QCOMPARE(status(b.jeans), QString("19"));
    QCOMPARE(orderStatus(a.id), QString("30"));
    QCOMPARE(orderStatus(b.id), QString("20")); // its coat never left
    rows = call("orderProductBatchOutRel/receiveProList", {{"outId", batchId}})
               .value("data")
               .toArray();
    for (const QJsonValue &v : rows)
        QCOMPARE(v.toObject().value("storeStatusText").toString(), QString("已核对"));
    QCOMPARE(codeOf(call("orderProductBatchOutRel/confirmStore", {{"outId", batchId}})), 409);
    // Scanned again, the batch is answered as it is.
    QCOMPARE(codeOf(call("orderProductBatchOut/receiveStore", {{"batchCode", batch}})), 200);
}

// An order's garments back from the factory, confirmed one and then all; a single garment
// confirmed by its code.
void TestLogisticsEndpoints::arrivalByOrderAndGarment()
{
    const Order a = finishedOrder();
    const Order b = finishedOrder();
    QVERIFY(!returned(completedBag({a.jeans, a.coat, b.jeans, b.coat})).isEmpty());
    const QString orderNo = value("SELECT order_no FROM orders WHERE id = " + a.id);

    const QJsonObject scanned = call("orderInfo/factoryOut/scanCode", {{"orderNo", orderNo}});
    QCOMPARE(codeOf(scanned), 200);
    QCOMPARE(n(whole(data(scanned).value("orderId"))), a.id);
    QCOMPARE(data(scanned).value("orderNo").toString(), orderNo);
    QCOMPARE(data(scanned).value("workName").toString(), QString("张丽"));
    QVERIFY(whole(data(scanned).value("createTime")) > 0);
    const auto garments = [&](const char *confirmed) {
        return call("orderProductRel/factoryOut/proList",
                    {{"orderId", a.id}, {"isStoreStatus", confirmed}})
            .value("data")
            .toArray();
    };
    QCOMPARE(garments("0").size(), 3); // the jeans, the coat and its belt
    QCOMPARE(garments("1").size(), 0);

    QCOMPARE(codeOf(call("orderProductRel/factoryOut/confirmStore", {{"id", a.coat}})), 200);
    QCOMPARE(status(a.coat), QString("19"));
    QCOMPARE(garments("0").size(), 1);
    QCOMPARE(garments("1").size(), 2);
    QCOMPARE(codeOf(call("orderProductRel/factoryOut/confirmStore", {{"orderId", a.id}})), 200);
    QCOMPARE(status(a.jeans), QString("19"));
    QCOMPARE(orderStatus(a.id), QString("30"));
    QCOMPARE(codeOf(call("orderProductRel/factoryOut/confirmStore", {{"orderId", a.id}})), 409);

    // One garment by its code (the belt's would do too).
    const QJsonObject reached =
        call("orderProductRel/reachStore/confirm", {{"scanCode", belt(b.coat)}});
    QCOMPARE(codeOf(reached), 200);
    QCOMPARE(status(b.coat), QString("19"));
    QCOMPARE(status(b.jeans), QString("17"));
    const QJsonArray proList = data(reached).value("proList").toArray();
    QCOMPARE(proList.size(), 2);
    QCOMPARE(proList[0].toObject().value("scanCode").toString(), scanCode(b.coat));
    QCOMPARE(proList[0].toObject().value("storeStatusText").toString(), QString("已核对"));
    QCOMPARE(proList[1].toObject().value("orderProType").toInt(), 2);
    QCOMPARE(data(reached).value("workName").toString(), QString("张丽"));
    QVERIFY(!data(reached).value("factoryName").toString().isEmpty());
    const QJsonObject again =
        call("orderProductRel/reachStore/confirm", {{"scanCode", scanCode(b.coat)}});
    QCOMPARE(codeOf(again), 409);
    QCOMPARE(again.value("msg").toString(), "衣物已到店，不能确认到店: " + scanCode(b.coat));

    // An order none of whose garments came back yet.
    const Order c = finishedOrder();
    const QJsonObject none =
        call("orderInfo/factoryOut/scanCode",
             {{"orderNo", value("SELECT order_no FROM orders WHERE id = " + c.id)}});
    QCOMPARE(codeOf(none), 409);
    QCOMPARE(none.value("msg").toString(), QString("该订单没有出厂的衣物"));
    // A garment still at the counter is not back from anywhere.
    QCOMPARE(codeOf(call("orderProductRel/reachStore/confirm", {{"scanCode", scanCode(c.jeans)}})),
             409);
    QCOMPARE(status(c.jeans), QString("10"));
}

void TestLogisticsEndpoints::confirmationNeedsIds_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("an order's") << "orderProductRel/factoryOut/confirmStore";
    QTest::newRow("a batch's") << "orderProductBatchOutRel/confirmStore";
}

// A confirmation that names neither a garment nor its order (or batch) confirms nothing.
void TestLogisticsEndpoints::confirmationNeedsIds()
{
    QFETCH(QString, path);
    const Order o = finishedOrder();
    QVERIFY(!returned(completedBag({o.jeans})).isEmpty());
    const QJsonObject reply = call(path, {{"id", ""}, {"orderId", ""}});
    QCOMPARE(codeOf(reply), 400);
    QCOMPARE(status(o.jeans), QString("17"));
    QCOMPARE(number("SELECT COUNT(*) FROM batch_out_rel WHERE confirmed_at IS NOT NULL AND "
                    "order_product_id = " +
                    o.jeans),
             0ll);
}

// A write sent again with the same body (its answer was lost) is answered as the first time
// and done once.
void TestLogisticsEndpoints::repeatedWritesAnsweredOnce()
{
    const QJsonObject add = body(store1);
    const QJsonObject first = client().call("orderProductBatchIn/add", add);
    const QJsonObject repeat = client().call("orderProductBatchIn/add", add);
    QCOMPARE(codeOf(first), 200);
    QCOMPARE(repeat, first);
    QCOMPARE(number("SELECT COUNT(*) FROM batch_in WHERE bag_no = '" +
                    data(first).value("code").toString() + "'"),
             1ll);

    const Order o = finishedOrder();
    QVERIFY(!returned(completedBag({o.jeans})).isEmpty());
    const QJsonObject reach = body(store1, {{"scanCode", scanCode(o.jeans)}});
    const QJsonObject reached = client().call("orderProductRel/reachStore/confirm", reach);
    QCOMPARE(codeOf(reached), 200);
    QCOMPARE(client().call("orderProductRel/reachStore/confirm", reach), reached);
    QCOMPARE(status(o.jeans), QString("19"));
}

void TestLogisticsEndpoints::standInRefusals_data()
{
    QTest::addColumn<QString>("bag"); // "open", "completed", "sent", "atFactory", "returned"
    QTest::addColumn<QString>("step");
    QTest::addColumn<int>("status");
    QTest::newRow("unknown bag") << "unknown"
                                 << "return" << 404;
    QTest::newRow("collect an open bag") << "open"
                                         << "collect" << 409;
    QTest::newRow("return an open bag") << "open"
                                        << "return" << 409;
    QTest::newRow("receive before it was collected") << "completed"
                                                     << "receive" << 409;
    QTest::newRow("send back before it arrived") << "sent"
                                                 << "sendBack" << 409;
    QTest::newRow("collect twice") << "sent"
                                   << "collect" << 409;
    QTest::newRow("send back twice") << "returned"
                                     << "sendBack" << 409;
    QTest::newRow("return twice") << "returned"
                                  << "return" << 409;
    QTest::newRow("step by step") << "atFactory"
                                  << "sendBack" << 200;
}

// Each step takes a bag only where it stands on its road; a refused step moves nothing.
void TestLogisticsEndpoints::standInRefusals()
{
    QFETCH(QString, bag);
    QFETCH(QString, step);
    QFETCH(int, status);
    const Order o = finishedOrder();
    QString id = bag == "open" ? newBag() : completedBag({o.jeans});
    if (bag == "open")
        QCOMPARE(codeOf(call("orderProductBatchInRel/addBatch",
                             {{"inId", id}, {"orderProIds", o.jeans}})),
                 200);
    const QString code = bag == "unknown" ? QString("9000000000000") : bagCode(id);
    if (bag == "sent" || bag == "atFactory")
        QCOMPARE(factory("collect", code), 200);
    if (bag == "atFactory")
        QCOMPARE(factory("receive", code), 200);
    if (bag == "returned")
        QCOMPARE(factory("return", code), 200);
    const QString before = this->status(o.jeans);
    QCOMPARE(factory(step, code), status);
    if (status != 200)
        QCOMPARE(this->status(o.jeans), before);
    else
        QCOMPARE(this->status(o.jeans), QString("17"));
}

void TestLogisticsEndpoints::otherStoreRefused_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>(
        "fields"); // $bag, $garment, $code, $batch, $batchCode, $order, $orderNo
    QTest::addColumn<QString>("msg");
    QTest::newRow("bag") << "orderProductBatchIn/detail"
                         << "id=$bag"
                         << "非此门店袋子";
    QTest::newRow("complete") << "orderProductBatchIn/complete"
                              << "id=$bag"
                              << "非此门店袋子";
    QTest::newRow("delete") << "orderProductBatchIn/delete"
                            << "id=$bag"
                            << "非此门店袋子";
    QTest::newRow("bag's garments") << "orderProductBatchInRel/list"
                                    << "inId=$bag"
                                    << "非此门店袋子";
    QTest::newRow("scan into their bag") << "orderProductBatchInRel/add"
                                         << "inId=$bag&scanCode=$theirCode"
                                         << "非此门店袋子";
    QTest::newRow("scan their garment") << "orderProductBatchInRel/add"
                                        << "inId=$theirBag&scanCode=$code"
                                        << "非此门店衣物";
    QTest::newRow("take out") << "orderProductBatchInRel/deleteBatch"
                              << "ids=$garment"
                              << "非此门店衣物";
    QTest::newRow("move to their bag") << "orderProductBatchInRel/shift"
                                       << "inId=$theirBag&orderProIds=$garment"
                                       << "非此门店衣物";
    QTest::newRow("batch") << "orderProductBatchOut/receiveStore"
                           << "batchCode=$batchCode"
                           << "非此门店批次";
    QTest::newRow("batch's garments") << "orderProductBatchOutRel/receiveProList"
                                      << "outId=$batch"
                                      << "非此门店批次";
    QTest::newRow("confirm a batch") << "orderProductBatchOutRel/confirmStore"
                                     << "outId=$batch"
                                     << "非此门店批次";
    QTest::newRow("order back") << "orderInfo/factoryOut/scanCode"
                                << "orderNo=$orderNo"
                                << "非此门店订单";
    QTest::newRow("order's garments") << "orderProductRel/factoryOut/proList"
                                      << "orderId=$order&isStoreStatus=0"
                                      << "非此门店订单";
    QTest::newRow("confirm an order") << "orderProductRel/factoryOut/confirmStore"
                                      << "orderId=$order"
                                      << "非此门店订单";
    QTest::newRow("confirm a garment") << "orderProductRel/reachStore/confirm"
                                       << "scanCode=$returnedCode"
                                       << "非此门店衣物";
}

// Store 1's bags, batches, orders and garments refuse store 2's worker (403) and stay as they
// were.
void TestLogisticsEndpoints::otherStoreRefused()
{
    QFETCH(QString, path);
    QFETCH(QString, fields);
    QFETCH(QString, msg);
    const Order o = finishedOrder();
    const Order back = finishedOrder();
    const QString bag = newBag();
    QCOMPARE(
        codeOf(call("orderProductBatchInRel/addBatch", {{"inId", bag}, {"orderProIds", o.jeans}})),
        200);
    const QString batchCode = returned(completedBag({back.jeans}));
    QVERIFY(!batchCode.isEmpty());
    const QString theirBag = newBag(&store2);
    const QString theirCode =
        value("SELECT p.scan_code FROM order_products p JOIN orders o ON "
              "o.id = p.order_id WHERE o.store_id = 2 AND p.status = 10 LIMIT 1");
    const QMap<QString, QString> ids{
        {"$bag", bag},
        {"$garment", o.jeans},
        {"$code", scanCode(o.coat)},
        {"$theirBag", theirBag},
        {"$theirCode", theirCode},
        {"$batch", value("SELECT id FROM batch_out WHERE batch_no = '" + batchCode + "'")},
        {"$batchCode", batchCode},
        {"$order", back.id},
        {"$orderNo", value("SELECT order_no FROM orders WHERE id = " + back.id)},
        {"$returnedCode", scanCode(back.jeans)}};
    QJsonObject fieldsSent;
    for (const QString &pair : fields.split('&'))
        fieldsSent.insert(pair.section('=', 0, 0),
                          ids.value(pair.section('=', 1), pair.section('=', 1)));
    const QString state =
        "SELECT group_concat(id || ':' || status) FROM order_products WHERE id IN (" + o.jeans +
        "," + o.coat + "," + back.jeans + ")";
    const QString before = value(state);
    const QString bags =
        value("SELECT group_concat(batch_in_id || ':' || order_product_id) FROM batch_in_rel");
    const QJsonObject reply = call(path, fieldsSent, &store2);
    QCOMPARE(codeOf(reply), 403);
    QCOMPARE(reply.value("msg").toString(), msg);
    QCOMPARE(value(state), before);
    QCOMPARE(value("SELECT group_concat(batch_in_id || ':' || order_product_id) FROM batch_in_rel"),
             bags);
    QCOMPARE(value("SELECT status FROM batch_out WHERE batch_no = '" + batchCode + "'"),
             QString("0"));
}

QTEST_GUILESS_MAIN(TestLogisticsEndpoints)
#include "tst_logisticsendpoints.moc"
