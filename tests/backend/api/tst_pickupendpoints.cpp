// The pick-up counter against a backend of the test's own: finding the customer and the
// orders, handing garments out, rework, credit and completion, refunds and refund-washes that
// wait for the head office's approval (the stand-in /audit/refund), and the states the
// database holds after each action.
//
// Orders, bags and payments are made through the endpoints (ApiBackend::orderWithGarments);
// garments come back from the factory and members' balances are laid out in the database,
// since no endpoint moves them yet.

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

#include "apibackend.h"

namespace {

const QStringList flagNames{"isEnablePay", "isEnableRefund", "isEnableSign", "isEnableComplete",
                            "isEnableCredit"};

} // namespace

class TestPickupEndpoints : public QObject, private ApiBackend
{
    Q_OBJECT

private slots:
    void initTestCase();

    void findsTheCustomer_data();
    void findsTheCustomer();
    void ordersByCustomerOrNumber();
    void handingOutFollowsTheStore();
    void completedOrderOffersNothing();
    void reworkAndItsBag();
    void refundIsSplitCappedAndApproved();
    void refundSentTwiceMakesOneRequest();
    void refundWash_data();
    void refundWash();
    void refundWashNeverRaisesTheTotal();
    void refundRefusals_data();
    void refundRefusals();
    void anotherStoreIsRefused();
    void refundMeans();

private:
    // A new order of the member in store 1 with one garment per subtotal, its intake finished;
    // its id.
    qint64 newOrder(int userId, const QList<qint64> &subtotals)
    {
        return orderWithGarments(userId, subtotals, Intake::finished);
    }
    QJsonObject detail(qint64 orderId);
    QJsonObject row(const QJsonObject &detail, qint64 garmentId);
    QList<bool> flags(qint64 orderId);
    QJsonObject refund(qint64 orderId, qint64 amount, const QString &payMethod,
                       const QString &garments = QString());
    int decide(const QString &id, bool approve = true);
};

void TestPickupEndpoints::initTestCase()
{
    QVERIFY2(start(), qPrintable(output()));
}

QJsonObject TestPickupEndpoints::detail(qint64 orderId)
{
    return dataOf(call("orderInfo/detail", {{"id", n(orderId)}}));
}

QJsonObject TestPickupEndpoints::row(const QJsonObject &detail, qint64 garmentId)
{
    for (const QJsonValue &r : detail.value("productList").toArray())
        if (r.toObject().value("type").toInt() == 1 &&
            r.toObject().value("id").toVariant().toLongLong() == garmentId)
            return r.toObject();
    return {};
}

QList<bool> TestPickupEndpoints::flags(qint64 orderId)
{
    const QJsonObject d = detail(orderId);
    QList<bool> out;
    for (const QString &name : flagNames)
        out << d.value(name).toBool();
    return out;
}

QJsonObject TestPickupEndpoints::refund(qint64 orderId, qint64 amount, const QString &payMethod,
                                        const QString &garments)
{
    QJsonObject fields{{"orderId", n(orderId)}, {"amount", n(amount)}, {"remark", "顾客要求"}};
    if (!payMethod.isEmpty())
        fields.insert("payMethod", payMethod);
    if (garments.isEmpty())
        return call("tradeRefund/refund", fields);
    fields.insert("orderProIds", garments);
    return call("orderProductRelAudit/refund", fields);
}

int TestPickupEndpoints::decide(const QString &id, bool approve)
{
    const std::string target =
        "/audit/refund?id=" + id.toStdString() + (approve ? "" : "&result=reject");
    auto res = client().http().Post(target, "", "text/plain");
    return res ? res->status : -1;
}

// A phone, a member card or an order number finds the customer; nobody is a refusal.
void TestPickupEndpoints::findsTheCustomer_data()
{
    QTest::addColumn<QString>("search");
    QTest::addColumn<int>("member");
    QTest::newRow("phone") << "13912340003" << 3;
    QTest::newRow("member card") << "VIP0003" << 3;
    QTest::newRow("order number") << "order of 3" << 3;
    QTest::newRow("nobody") << "13900000000" << 0;
}

void TestPickupEndpoints::findsTheCustomer()
{
    QFETCH(QString, search);
    QFETCH(int, member);
    if (search.startsWith("order"))
        search = QString::number(
            number("SELECT order_no FROM orders WHERE user_id = 3 AND store_id = 1 LIMIT 1"));
    const QJsonObject reply = call("userInfo/info", {{"searchValue", search}});
    if (member == 0) {
        QCOMPARE(codeOf(reply), 404);
        QCOMPARE(reply.value("msg").toString(), QString("未找到该顾客"));
        return;
    }
    QCOMPARE(codeOf(reply), 200);
    const QJsonObject info = dataOf(reply).value("user").toObject().value("info").toObject();
    QCOMPARE(info.value("id").toInt(), member);
    QCOMPARE(info.value("phone").toString(), QString("13912340003"));
}

// By customer: all of the customer's orders in this store, newest first, ten a page. By an
// order number: that order alone; by a card number: its holder's orders. Another store's
// order number finds nothing here.
void TestPickupEndpoints::ordersByCustomerOrNumber()
{
    const int member = 17;
    QList<qint64> made;
    for (int i = 0; i < 11; ++i)
        made << newOrder(member, {1000 + i});
    QVERIFY(!made.contains(0));

    const QJsonObject page1 = dataOf(
        call("orderInfo/takeList2", {{"userId", n(member)}, {"pageNum", 1}, {"pageSize", "10"}}));
    const QJsonArray rows = page1.value("pageInfo").toObject().value("list").toArray();
    QCOMPARE(rows.size(), 10);
    const QJsonObject newest = rows.first().toObject();
    QCOMPARE(newest.value("id").toVariant().toLongLong(), made.last());
    QCOMPARE(newest.value("payablePrice").toInt(), 1010);
    QCOMPARE(newest.value("productCnt").toInt(), 1);
    QCOMPARE(newest.value("statusText").toString(), QString("已收衣"));
    QCOMPARE(newest.value("payStatusText").toString(), QString("未支付"));
    QVERIFY(!newest.value("orderNo").toString().isEmpty());
    QVERIFY(newest.value("createTime").toDouble() > 0);
    const QJsonObject page2 = dataOf(
        call("orderInfo/takeList2", {{"userId", n(member)}, {"pageNum", "2"}, {"pageSize", "10"}}));
    QCOMPARE(page2.value("pageInfo").toObject().value("list").toArray().size(), 1);

    const QString orderNo =
        QString::number(number("SELECT order_no FROM orders WHERE id = " + n(made.at(4))));
    const QJsonArray one =
        dataOf(call("orderInfo/takeList2",
                    {{"searchValue", orderNo}, {"pageNum", "1"}, {"pageSize", "10"}}))
            .value("pageInfo")
            .toObject()
            .value("list")
            .toArray();
    QCOMPARE(one.size(), 1);
    QCOMPARE(one.first().toObject().value("id").toVariant().toLongLong(), made.at(4));

    const QJsonArray byCard =
        dataOf(call("orderInfo/takeList2",
                    {{"searchValue", "VIP0017"}, {"pageNum", "1"}, {"pageSize", "10"}}))
            .value("pageInfo")
            .toObject()
            .value("list")
            .toArray();
    QCOMPARE(byCard.size(), 10);

    const QString elsewhere =
        QString::number(number("SELECT order_no FROM orders WHERE store_id = 2 LIMIT 1"));
    const QJsonObject none = call(
        "orderInfo/takeList2", {{"searchValue", elsewhere}, {"pageNum", "1"}, {"pageSize", "10"}});
    QCOMPARE(codeOf(none), 200);
    QCOMPARE(dataOf(none).value("pageInfo").toObject().value("list").toArray().size(), 0);
}

// Garments go out only once they are back in the store and the order is paid or on credit;
// a garment signed out cannot be signed out again; the order is handed out with its last
// garment, and completed once it is paid.
void TestPickupEndpoints::handingOutFollowsTheStore()
{
    const qint64 order = newOrder(18, {1500, 2500, 500});
    const QList<qint64> g = garmentsOf(order);
    QCOMPARE(g.size(), 3);
    QJsonObject d = detail(order);
    QCOMPARE(flags(order), (QList<bool>{true, false, false, false, true}));
    QCOMPARE(row(d, g[0]).value("isEnableSign").toBool(), false);
    QCOMPARE(row(d, g[0]).value("isEnableRefund").toBool(), true);
    QCOMPARE(row(d, g[0]).value("isEnableStockRework").toBool(), false);

    QVERIFY(arrive(order));
    const QJsonObject unpaid = call("orderProductRel/productSign", {{"orderProIds", n(g[0])}});
    QCOMPARE(codeOf(unpaid), 409);
    QCOMPARE(unpaid.value("msg").toString(), QString("订单未支付，请先收款或赊账"));
    QCOMPARE(codeOf(call("orderInfo/sign", {{"id", n(order)}})), 409);

    QCOMPARE(codeOf(call("orderInfo/credit", {{"id", n(order)}, {"creditRemark", " "}})), 400);
    QCOMPARE(codeOf(call("orderInfo/credit", {{"id", n(order)}, {"creditRemark", "月底结账"}})),
             200);
    d = detail(order);
    QCOMPARE(d.value("creditStatus").toInt(), 1);
    QCOMPARE(d.value("creditRemark").toString(), QString("月底结账"));
    QCOMPARE(flags(order), (QList<bool>{true, false, true, false, false}));
    QCOMPARE(codeOf(call("orderInfo/credit", {{"id", n(order)}, {"creditRemark", "再赊"}})), 409);

    QCOMPARE(codeOf(call("orderProductRel/productSign", {{"orderProIds", n(g[0])}})), 200);
    QCOMPARE(number("SELECT status FROM order_products WHERE id = " + n(g[0])), 40);
    const QJsonObject again = call("orderProductRel/productSign", {{"orderProIds", n(g[0])}});
    QCOMPARE(codeOf(again), 409);
    QVERIFY(again.value("msg").toString().startsWith("衣物已取走"));
    // All or none: a handed-out garment beside one in the store sends neither.
    QCOMPARE(
        codeOf(call("orderProductRel/productSign", {{"orderProIds", n(g[1]) + "," + n(g[0])}})),
        409);
    QCOMPARE(number("SELECT status FROM order_products WHERE id = " + n(g[1])), 19);
    QCOMPARE(row(detail(order), g[0]).value("isEnableSign").toBool(), false);
    QCOMPARE(number("SELECT status FROM orders WHERE id = " + n(order)), 30);

    QCOMPARE(codeOf(call("orderInfo/sign", {{"id", n(order)}})), 200);
    QCOMPARE(number("SELECT COUNT(*) FROM order_products WHERE order_id = " + n(order) +
                    " AND status = 40"),
             3);
    QCOMPARE(number("SELECT status FROM orders WHERE id = " + n(order)), 40);
    QVERIFY(number("SELECT signed_at FROM orders WHERE id = " + n(order)) > 0);
    QCOMPARE(codeOf(call("orderInfo/sign", {{"id", n(order)}})), 409);
    QCOMPARE(flags(order), (QList<bool>{true, false, false, false, false}));

    const QJsonObject owing = call("orderInfo/complete", {{"id", n(order)}});
    QCOMPARE(codeOf(owing), 409);
    QCOMPARE(owing.value("msg").toString(), QString("订单未支付，请先收款"));
    QCOMPARE(codeOf(payCash(order)), 200);
    QCOMPARE(flags(order), (QList<bool>{false, true, false, true, false}));
    QCOMPARE(codeOf(call("orderInfo/complete", {{"id", n(order)}})), 200);
    QCOMPARE(number("SELECT status FROM orders WHERE id = " + n(order)), 45);
    QCOMPARE(detail(order).value("statusText").toString(), QString("已完成"));
}

// A completed order offers nothing more, and every action on it is refused.
void TestPickupEndpoints::completedOrderOffersNothing()
{
    const qint64 order = newOrder(19, {2000});
    const qint64 garment = garmentsOf(order).first();
    QVERIFY(arrive(order));
    QCOMPARE(codeOf(payCash(order)), 200);
    QCOMPARE(codeOf(call("orderInfo/sign", {{"id", n(order)}})), 200);
    QCOMPARE(codeOf(call("orderInfo/complete", {{"id", n(order)}})), 200);

    const QJsonObject d = detail(order);
    QCOMPARE(flags(order), (QList<bool>{false, false, false, false, false}));
    for (const char *flag : {"isEnableSign", "isEnableStockRework", "isEnableRefund"})
        QCOMPARE(row(d, garment).value(flag).toBool(), false);
    const QList<QJsonObject> refused{
        call("orderInfo/complete", {{"id", n(order)}}),
        call("orderInfo/credit", {{"id", n(order)}, {"creditRemark", "x"}}),
        call("orderProductRel/stockReworkBatch", {{"proIds", n(garment)}}),
        refund(order, 100, "2"),
        refund(order, 100, "2", n(garment)),
    };
    for (const QJsonObject &reply : refused) {
        QCOMPARE(codeOf(reply), 409);
        QCOMPARE(reply.value("msg").toString(), QString("订单已完成"));
    }
    QCOMPARE(number("SELECT COUNT(*) FROM refund_audits WHERE order_id = " + n(order)), 0);
}

// Rework sends garments in the store back to the factory and frees their rail places; a
// garment that had been in a factory bag goes into an open bag again.
void TestPickupEndpoints::reworkAndItsBag()
{
    const qint64 order = newOrder(21, {1000, 1000});
    const QList<qint64> g = garmentsOf(order);
    QCOMPARE(codeOf(call("orderProductRel/stockReworkBatch", {{"proIds", n(g[0])}})), 409);

    // The first garment went to the factory in a bag; both are back, the first on the rail.
    const qint64 firstBag = whole(dataOf(call("orderProductBatchIn/add", {})).value("id"));
    QCOMPARE(codeOf(call("orderProductBatchInRel/addBatch",
                         {{"inId", n(firstBag)}, {"orderProIds", n(g[0])}})),
             200);
    QVERIFY(arrive(order));
    QVERIFY(write("UPDATE rail_positions SET order_product_id = " + n(g[0]) +
                  " WHERE store_id = 1 AND shelf_no = 50"));
    QVERIFY(
        write("UPDATE order_products SET status = 25, store_shelf_no = 50 WHERE id = " + n(g[0])));
    QJsonObject d = detail(order);
    QCOMPARE(row(d, g[0]).value("outBatch").toInt(), 1);
    QCOMPARE(row(d, g[0]).value("tranNum").toString(), QString("50"));
    QCOMPARE(row(d, g[1]).value("outBatch").toInt(), 0);

    QCOMPARE(
        codeOf(call("orderProductRel/stockReworkBatch", {{"proIds", n(g[0]) + "," + n(g[1])}})),
        200);
    QCOMPARE(number("SELECT COUNT(*) FROM order_products WHERE order_id = " + n(order) +
                    " AND status = 30"),
             2);
    QCOMPARE(number("SELECT COUNT(*) FROM rail_positions WHERE order_product_id = " + n(g[0])), 0);
    QCOMPARE(number("SELECT status FROM orders WHERE id = " + n(order)), 20);
    QCOMPARE(codeOf(call("orderProductRel/stockReworkBatch", {{"proIds", n(g[1])}})), 409);

    const QJsonObject bag = dataOf(call("orderProductBatchIn/add", {}));
    QCOMPARE(codeOf(call("orderProductBatchInRel/addBatch",
                         {{"inId", n(bag.value("id").toVariant().toLongLong())},
                          {"orderProIds", n(g[0])}})),
             200);
    QCOMPARE(number("SELECT status FROM order_products WHERE id = " + n(g[0])), 11);
    QCOMPARE(number("SELECT batch_in_id FROM batch_in_rel WHERE order_product_id = " + n(g[0])),
             bag.value("id").toVariant().toLongLong());
}

// 30.00 paid as 10.00 from the balance and 20.00 cash: the balance part goes back first, the
// rest by the chosen means, never beyond what is left to give back; the head office's
// approval moves the money, a refusal frees it.
void TestPickupEndpoints::refundIsSplitCappedAndApproved()
{
    const int member = 22;
    QVERIFY(write("UPDATE users SET balance = 1000, gift_balance = 0 WHERE id = 22"));
    const qint64 order = newOrder(member, {3000});
    QCOMPARE(codeOf(payCash(order, 1000)), 200);

    const QJsonArray trades =
        dataOf(call("tradeOrder/list", {{"orderId", n(order)}})).value("list").toArray();
    QCOMPARE(trades.size(), 2);
    QCOMPARE(trades.at(0).toObject().value("payMethodText").toString(), QString("现金"));
    QCOMPARE(trades.at(0).toObject().value("amount").toInt(), 2000);
    QCOMPARE(trades.at(1).toObject().value("payMethodText").toString(), QString("会员余额"));
    QCOMPARE(trades.at(1).toObject().value("refundableAmount").toInt(), 1000);
    QCOMPARE(detail(order).value("refundablePrice").toInt(), 3000);

    const QJsonObject over = refund(order, 3500, "2");
    QCOMPARE(codeOf(over), 409);
    QCOMPARE(over.value("msg").toString(), QString("超出可退款金额"));
    QCOMPARE(codeOf(refund(order, 2500, "")), 400);
    QCOMPARE(number("SELECT COUNT(*) FROM refund_audits WHERE order_id = " + n(order)), 0);

    const QJsonObject asked = refund(order, 2500, "2");
    QCOMPARE(codeOf(asked), 200);
    QCOMPARE(
        number("SELECT amount FROM refunds WHERE order_id = " + n(order) + " AND refund_means = 3"),
        1000);
    QCOMPARE(
        number("SELECT amount FROM refunds WHERE order_id = " + n(order) + " AND refund_means = 2"),
        1500);
    QCOMPARE(detail(order).value("refundablePrice").toInt(), 500);
    QCOMPARE(codeOf(refund(order, 600, "2")), 409);
    QCOMPARE(number("SELECT balance FROM users WHERE id = 22"), 0);

    const QJsonObject records = dataOf(call("tradeOrderRefund/list", {{"orderId", n(order)}}));
    QCOMPARE(records.value("list").toArray().size(), 2);
    QCOMPARE(records.value("list").toArray().first().toObject().value("statusText").toString(),
             QString("退款审核中"));
    const QJsonArray audits =
        dataOf(call("tradeAudit/refund/list", {{"orderId", n(order)}})).value("list").toArray();
    QCOMPARE(audits.size(), 1);
    QCOMPARE(audits.first().toObject().value("amount").toInt(), 2500);
    QCOMPARE(audits.first().toObject().value("auditStatusText").toString(), QString("待审核"));
    QCOMPARE(audits.first().toObject().value("seq").toString(),
             dataOf(asked).value("seq").toString());

    const QString id = n(dataOf(asked).value("id").toVariant().toLongLong());
    QCOMPARE(decide(id), 200);
    QCOMPARE(number("SELECT balance FROM users WHERE id = 22"), 1000);
    QCOMPARE(number("SELECT refund_price FROM orders WHERE id = " + n(order)), 2500);
    QCOMPARE(
        number("SELECT COUNT(*) FROM refunds WHERE order_id = " + n(order) + " AND status = 1"), 2);
    QCOMPARE(decide(id), 409);

    const QJsonObject second = refund(order, 500, "3");
    QCOMPARE(codeOf(second), 200);
    QCOMPARE(detail(order).value("isEnableRefund").toBool(), false);
    QCOMPARE(decide(n(dataOf(second).value("id").toVariant().toLongLong()), false), 200);
    QCOMPARE(number("SELECT balance FROM users WHERE id = 22"), 1000);
    QCOMPARE(detail(order).value("refundablePrice").toInt(), 500);
    QCOMPARE(codeOf(refund(order, 500, "3")), 200);
    QCOMPARE(decide("latest"), 200);
    QCOMPARE(number("SELECT balance FROM users WHERE id = 22"), 1500);
    QCOMPARE(number("SELECT refund_price FROM orders WHERE id = " + n(order)), 3000);
    QCOMPARE(detail(order).value("isEnableRefund").toBool(), false);
}

// The same request again (its reply was lost) is answered as the first, not recorded twice.
void TestPickupEndpoints::refundSentTwiceMakesOneRequest()
{
    const qint64 order = newOrder(23, {2000});
    QCOMPARE(codeOf(payCash(order)), 200);
    QJsonObject body = store1.body();
    const QJsonObject fields{
        {"orderId", n(order)}, {"amount", "1200"}, {"payMethod", "2"}, {"remark", "重复的申请"}};
    for (auto it = fields.begin(); it != fields.end(); ++it)
        body.insert(it.key(), it.value());
    const QByteArray text = QJsonDocument(body).toJson(QJsonDocument::Compact);
    const QString target = "/mac/tradeRefund/refund?" + BackendClient::signedQuery(body);
    const QJsonObject first = QJsonDocument::fromJson(client().postRaw(target, text)).object();
    const QJsonObject retry = QJsonDocument::fromJson(client().postRaw(target, text)).object();
    QCOMPARE(codeOf(first), 200);
    QCOMPARE(codeOf(retry), 200);
    QCOMPARE(dataOf(retry).value("seq").toString(), dataOf(first).value("seq").toString());
    QCOMPARE(number("SELECT COUNT(*) FROM refund_audits WHERE order_id = " + n(order)), 1);
    QCOMPARE(number("SELECT COALESCE(SUM(amount), 0) FROM refunds WHERE order_id = " + n(order)),
             1200);
}

// A refund-wash of an unpaid order asks for its new total; of a paid one, money back within
// what is left. Approved, the garment is refunded unwashed; the order is handed out once
// nothing of it is left in the store's hands.
void TestPickupEndpoints::refundWash_data()
{
    QTest::addColumn<bool>("paid");
    QTest::addColumn<qint64>("tooMuch");
    QTest::addColumn<qint64>("amount");
    QTest::newRow("unpaid: the new total") << false << qint64(3001) << qint64(2000);
    QTest::newRow("paid: money back") << true << qint64(3001) << qint64(1000);
}

void TestPickupEndpoints::refundWash()
{
    QFETCH(bool, paid);
    QFETCH(qint64, tooMuch);
    QFETCH(qint64, amount);
    const qint64 order = newOrder(paid ? 24 : 25, {1000, 2000});
    const QList<qint64> g = garmentsOf(order);
    if (paid)
        QCOMPARE(codeOf(payCash(order)), 200);

    QCOMPARE(codeOf(refund(order, tooMuch, "2", n(g[0]))), 409);
    const QJsonObject asked = refund(order, amount, "2", n(g[0]));
    QCOMPARE(codeOf(asked), 200);
    const QJsonObject waiting = row(detail(order), g[0]);
    QCOMPARE(waiting.value("hasRefundText").toString(), QString("退洗审核中"));
    QCOMPARE(waiting.value("isEnableRefund").toBool(), false);
    QCOMPARE(codeOf(refund(order, 0, "2", n(g[0]))), 409);

    QCOMPARE(decide(n(dataOf(asked).value("id").toVariant().toLongLong())), 200);
    QCOMPARE(number("SELECT status FROM order_products WHERE id = " + n(g[0])), 50);
    QCOMPARE(number("SELECT has_refund FROM order_products WHERE id = " + n(g[0])), 1);
    QCOMPARE(row(detail(order), g[0]).value("hasRefundText").toString(), QString("已退洗"));
    if (paid) {
        QCOMPARE(number("SELECT refund_price FROM orders WHERE id = " + n(order)), amount);
        QCOMPARE(number("SELECT pay_status FROM orders WHERE id = " + n(order)), 1);
    } else {
        QCOMPARE(number("SELECT payable_price FROM orders WHERE id = " + n(order)), amount);
        QCOMPARE(number("SELECT refund_price FROM orders WHERE id = " + n(order)), 0);
    }
    QCOMPARE(number("SELECT status FROM orders WHERE id = " + n(order)), 10);

    // The other garment, handed out: nothing of the order is left in the store.
    QVERIFY(arrive(order));
    QCOMPARE(number("SELECT status FROM order_products WHERE id = " + n(g[0])), 50);
    if (!paid)
        QCOMPARE(codeOf(payCash(order)), 200);
    QCOMPARE(codeOf(call("orderInfo/sign", {{"id", n(order)}})), 200);
    QCOMPARE(number("SELECT status FROM orders WHERE id = " + n(order)), 40);
}

// An unpaid order's refund-wash asks for a new total no higher than the order's: refused
// beyond it when asked (2^32 + 1 fen too, not read as its low 32 bits), and capped by the
// order's total when approved after the total was lowered meanwhile.
void TestPickupEndpoints::refundWashNeverRaisesTheTotal()
{
    const qint64 order = newOrder(20, {1000, 2000});
    const QList<qint64> g = garmentsOf(order);
    const QJsonObject huge = refund(order, 4294967297LL, "", n(g[0]));
    QCOMPARE(codeOf(huge), 409);
    QCOMPARE(huge.value("msg").toString(), QString("修改后金额不能高于订单金额"));
    QCOMPARE(number("SELECT COUNT(*) FROM refund_audits WHERE order_id = " + n(order)), 0);

    const QJsonObject asked = refund(order, 2500, "", n(g[0]));
    QCOMPARE(codeOf(asked), 200);
    QCOMPARE(codeOf(call("orderInfo/modifyPrice", {{"id", n(order)}, {"modifyPrice", "1500"}})),
             200);
    QCOMPARE(decide(n(whole(dataOf(asked).value("id")))), 200);
    QCOMPARE(number("SELECT payable_price FROM orders WHERE id = " + n(order)), 1500);
    QCOMPARE(number("SELECT status FROM order_products WHERE id = " + n(g[0])), 50);
    QCOMPARE(whole(dataOf(call("orderInfo/payInfo", {{"id", n(order)}})).value("payablePrice")),
             1500LL);
}

void TestPickupEndpoints::refundRefusals_data()
{
    QTest::addColumn<QJsonObject>("fields");
    QTest::addColumn<int>("code");
    QTest::newRow("yuan, not fen") << QJsonObject{{"amount", "12.5"}, {"remark", "x"}} << 400;
    QTest::newRow("negative") << QJsonObject{{"amount", "-100"}, {"remark", "x"}} << 400;
    QTest::newRow("not a number") << QJsonObject{{"amount", "abc"}, {"remark", "x"}} << 400;
    QTest::newRow("no reason") << QJsonObject{{"amount", "100"}, {"remark", ""}} << 400;
    QTest::newRow("unknown means")
        << QJsonObject{{"amount", "100"}, {"remark", "x"}, {"payMethod", "7"}} << 400;
}

void TestPickupEndpoints::refundRefusals()
{
    QFETCH(QJsonObject, fields);
    QFETCH(int, code);
    static qint64 order = 0;
    if (order == 0) {
        order = newOrder(26, {2000});
        QCOMPARE(codeOf(payCash(order)), 200);
    }
    fields.insert("orderId", n(order));
    if (!fields.contains("payMethod"))
        fields.insert("payMethod", "2");
    QCOMPARE(codeOf(call("tradeRefund/refund", fields)), code);
    QCOMPARE(number("SELECT COUNT(*) FROM refund_audits WHERE order_id = " + n(order)), 0);
    // An unpaid order has nothing to give back.
    const qint64 unpaid = newOrder(26, {2000});
    QCOMPARE(codeOf(refund(unpaid, 100, "2")), 409);
}

// Another store's order: its worker may neither hand out nor ask for a refund.
void TestPickupEndpoints::anotherStoreIsRefused()
{
    const qint64 order = newOrder(27, {2000});
    const qint64 garment = garmentsOf(order).first();
    QVERIFY(arrive(order));
    QCOMPARE(codeOf(payCash(order)), 200);
    QCOMPARE(codeOf(call("orderInfo/sign", {{"id", n(order)}}, &store2)), 403);
    QCOMPARE(codeOf(call("orderProductRel/productSign", {{"orderProIds", n(garment)}}, &store2)),
             403);
    QCOMPARE(
        codeOf(call("tradeRefund/refund",
                    {{"orderId", n(order)}, {"amount", "100"}, {"payMethod", "2"}, {"remark", "x"}},
                    &store2)),
        403);
    QCOMPARE(codeOf(call("tradeOrder/list", {{"orderId", n(order)}}, &store2)), 403);
    QCOMPARE(number("SELECT status FROM order_products WHERE id = " + n(garment)), 19);
}

void TestPickupEndpoints::refundMeans()
{
    const QJsonObject reply = call("sysDicKey/refundMethodList", {});
    QCOMPARE(codeOf(reply), 200);
    const QJsonArray means = reply.value("data").toArray();
    QCOMPARE(means.size(), 3);
    QCOMPARE(means.at(2).toObject().value("showText").toString(), QString("退至会员余额"));
    QCOMPARE(means.at(2).toObject().value("id").toInt(), 3);
}

QTEST_GUILESS_MAIN(TestPickupEndpoints)
#include "tst_pickupendpoints.moc"
