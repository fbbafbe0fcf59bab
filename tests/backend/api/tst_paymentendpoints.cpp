// The reference backend's payment side as the cashier uses it, on a backend of the test's own:
// each tradePay path moves the money once and recomputes every amount, a paid or held order
// refuses another payment, another store's order is refused, the group pay card's share is
// rounded down, coupons are held and let go, wallet trades complete through the wallet
// stand-in or are released.
//
// Orders are made through the endpoints (ApiBackend::orderWithGarments); the members' balances
// and cards are laid out in the database (no endpoint sets them).

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>
#include <algorithm>

#include "apibackend.h"

class TestPaymentEndpoints : public QObject, private ApiBackend
{
    Q_OBJECT

private slots:
    void initTestCase();

    void payInfoShowsTheOrder();
    void eachPathMovesTheMoneyOnce_data();
    void eachPathMovesTheMoneyOnce();
    void refusedPaymentsMoveNothing_data();
    void refusedPaymentsMoveNothing();
    void couponsAreHeldUsedAndLetGo();
    void qrTradeCompletesThroughTheWallet_data();
    void qrTradeCompletesThroughTheWallet();
    void scannedCodeWaitsForTheCustomer_data();
    void scannedCodeWaitsForTheCustomer();
    void paidOrderAnswersPaidOnEveryPath_data();
    void paidOrderAnswersPaidOnEveryPath();
    void unlockReleasesWhatTheOrderHolds_data();
    void unlockReleasesWhatTheOrderHolds();
    void expiredPaymentIsClosedByTheCallsThatShowIt_data();
    void expiredPaymentIsClosedByTheCallsThatShowIt();
    void amountsBeyondA32BitInt();
    void anotherStoreCannotFollowOrRelease();

private:
    // A new order of the member in store 1 with one garment of `payable` fen; its id.
    qint64 newOrder(int userId, qint64 payable) { return orderWithGarments(userId, {payable}); }
    void setMember(int userId, qint64 balance, qint64 gift = 0);
    void setCard(int userId, qint64 balance, int ratio);
    qint64 memberBalance(int userId);
    qint64 cardBalance(int userId);

    // Members take turns (the demo has 30); each case sets the balance it needs.
    int nextMember() { return 1 + (turn_++ % 30); }
    int turn_ = 0;
};

void TestPaymentEndpoints::initTestCase()
{
    QVERIFY2(start(), qPrintable(output()));
}

void TestPaymentEndpoints::setMember(int userId, qint64 balance, qint64 gift)
{
    QVERIFY(write(QString("UPDATE users SET balance = %1, gift_balance = %2 WHERE id = %3")
                      .arg(balance)
                      .arg(gift)
                      .arg(userId)));
}

void TestPaymentEndpoints::setCard(int userId, qint64 balance, int ratio)
{
    QVERIFY(write(QString("INSERT OR REPLACE INTO group_pay_cards (user_id, balance, pay_ratio, "
                          "enabled) VALUES (%1, %2, %3, 1)")
                      .arg(userId)
                      .arg(balance)
                      .arg(ratio)));
}

qint64 TestPaymentEndpoints::memberBalance(int userId)
{
    return number(QString("SELECT balance + gift_balance FROM users WHERE id = %1").arg(userId));
}

qint64 TestPaymentEndpoints::cardBalance(int userId)
{
    return number(QString("SELECT IFNULL(MAX(balance), 0) FROM group_pay_cards WHERE user_id = %1")
                      .arg(userId));
}

void TestPaymentEndpoints::payInfoShowsTheOrder()
{
    const int member = 26; // a company client's member: a group pay card
    setMember(member, 4000, 1000);
    setCard(member, 20000, 50);
    const qint64 order = newOrder(member, 3333);
    const QJsonObject reply = call("orderInfo/payInfo", {{"id", n(order)}});
    QCOMPARE(codeOf(reply), 200);
    const QJsonObject data = dataOf(reply);
    QCOMPARE(data.value("payablePrice").toInt(), 3333);
    QCOMPARE(data.value("balance").toInt(), 5000);
    QCOMPARE(data.value("couponAmt").toInt(), 0);
    QVERIFY(data.value("cpnRelId").isNull());
    QVERIFY(data.value("modifyPrice").isNull());
    QCOMPARE(data.value("isEnableWx").toBool(), true);
    QCOMPARE(data.value("isEnableOther").toBool(), true);
    const QJsonObject card = data.value("uPayCard").toObject();
    QCOMPARE(card.value("isEnable").toInt(), 1);
    QCOMPARE(card.value("balance").toInt(), 20000);
    QCOMPARE(card.value("payRatio").toInt(), 50);
    QCOMPARE(dataOf(call("userExt/balance", {{"id", n(member)}})).value("balance").toInt(), 5000);
    const QJsonObject config = dataOf(call("mercParam/getPaymentConfig", {}));
    QCOMPARE(config.value("paySignList").toArray().size(), 3);
    QCOMPARE(config.value("paySignList").toArray().first().toObject().value("showName").toString(),
             QString("银行卡"));
    QCOMPARE(config.value("isEnableCash").toBool(), true);
    // Another store's order is not shown.
    QCOMPARE(codeOf(call(store2, "orderInfo/payInfo", {{"id", n(order)}})), 403);
}

void TestPaymentEndpoints::eachPathMovesTheMoneyOnce_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<qint64>("payable");
    QTest::addColumn<qint64>("balance"); // the member's paid-in balance
    QTest::addColumn<qint64>("gift");
    QTest::addColumn<qint64>("card"); // -1: no card
    QTest::addColumn<int>("ratio");
    QTest::addColumn<QJsonObject>("fields");
    QTest::addColumn<qint64>("fromBalance");
    QTest::addColumn<qint64>("fromCard");
    QTest::addColumn<qint64>("byMeans");
    QTest::addColumn<int>("means");

    QTest::newRow("cash") << "tradePay/confirmPay" << 3000LL << 5000LL << 0LL << -1LL << 0
                          << QJsonObject{{"groupCardType", ""}} << 0LL << 0LL << 3000LL << 1;
    QTest::newRow("balance and cash")
        << "tradePay/confirmPay" << 3000LL << 1000LL << 0LL << -1LL << 0
        << QJsonObject{{"groupCardType", ""}, {"balance", "1000"}} << 1000LL << 0LL << 2000LL << 1;
    QTest::newRow("balance covers the whole")
        << "tradePay/balancePay" << 3000LL << 5000LL << 0LL << -1LL << 0 << QJsonObject{} << 3000LL
        << 0LL << 0LL << 4;
    QTest::newRow("balance, paid-in first, then gift")
        << "tradePay/balancePay" << 3000LL << 1000LL << 2500LL << -1LL << 0 << QJsonObject{}
        << 3000LL << 0LL << 0LL << 4;
    QTest::newRow("balance more than needed")
        << "tradePay/confirmPay" << 3000LL << 8000LL << 0LL << -1LL << 0
        << QJsonObject{{"groupCardType", ""}, {"balance", "8000"}} << 3000LL << 0LL << 0LL << 1;
    QTest::newRow("other means") << "tradePay/otherPay" << 4200LL << 0LL << 0LL << -1LL << 0
                                 << QJsonObject{{"groupCardType", ""},
                                                {"paySign", "5"},
                                                {"remark", "刷卡"}}
                                 << 0LL << 0LL << 4200LL << 9;
    QTest::newRow("wechat code") << "tradePay/wxMicroPay" << 2500LL << 0LL << 0LL << -1LL << 0
                                 << QJsonObject{{"groupCardType", ""},
                                                {"authCode", "134567890123456789"}}
                                 << 0LL << 0LL << 2500LL << 2;
    QTest::newRow("alipay code with balance")
        << "tradePay/aliMicroPay" << 2500LL << 600LL << 0LL << -1LL << 0
        << QJsonObject{{"groupCardType", ""},
                       {"authCode", "284567890123456712"},
                       {"balance", "600"}}
        << 600LL << 0LL << 1900LL << 3;
    QTest::newRow("card 50 % of 33.33")
        << "tradePay/confirmPay" << 3333LL << 0LL << 0LL << 10000LL << 50
        << QJsonObject{{"groupCardType", "41"}, {"cardBalance", "10000"}} << 0LL << 1666LL << 1667LL
        << 1;
    QTest::newRow("card 100 %, short")
        << "tradePay/confirmPay" << 3000LL << 0LL << 0LL << 1000LL << 100
        << QJsonObject{{"groupCardType", "41"}, {"cardBalance", "1000"}} << 0LL << 1000LL << 2000LL
        << 1;
    QTest::newRow("card covers the whole")
        << "tradePay/confirmPay" << 3000LL << 0LL << 0LL << 5000LL << 100
        << QJsonObject{{"groupCardType", "41"}, {"cardBalance", "5000"}} << 0LL << 3000LL << 0LL
        << 1;
}

void TestPaymentEndpoints::eachPathMovesTheMoneyOnce()
{
    QFETCH(QString, path);
    QFETCH(qint64, payable);
    QFETCH(qint64, balance);
    QFETCH(qint64, gift);
    QFETCH(qint64, card);
    QFETCH(int, ratio);
    QFETCH(QJsonObject, fields);
    QFETCH(qint64, fromBalance);
    QFETCH(qint64, fromCard);
    QFETCH(qint64, byMeans);
    QFETCH(int, means);

    const int member = nextMember();
    setMember(member, balance, gift);
    QVERIFY(write(QString("DELETE FROM group_pay_cards WHERE user_id = %1").arg(member)));
    if (card >= 0)
        setCard(member, card, ratio);
    const qint64 order = newOrder(member, payable);
    QVERIFY(order > 0);

    QJsonObject body = ApiBackend::body(store1);
    body.insert("orderId", n(order));
    for (auto it = fields.begin(); it != fields.end(); ++it)
        body.insert(it.key(), it.value());
    if (!body.contains("remark"))
        body.insert("remark", "");

    const QJsonObject reply = client().call(path, body);
    QCOMPARE(codeOf(reply), 200);
    const QJsonObject data = dataOf(reply);
    QCOMPARE(data.value("status").toInt(), 1);
    QCOMPARE(qint64(data.value("payAmount").toInt()), payable);
    QCOMPARE(qint64(data.value("balanceAmt").toInt()), fromBalance);
    QCOMPARE(qint64(data.value("cardAmt").toInt()), fromCard);
    QCOMPARE(qint64(data.value("amount").toInt()), byMeans);

    auto checkMoved = [&] {
        QCOMPARE(
            number(QString("SELECT pay_status * 10 + locked FROM orders WHERE id = %1").arg(order)),
            10LL);
        QCOMPARE(number(QString("SELECT payment_price FROM orders WHERE id = %1").arg(order)),
                 payable);
        QCOMPARE(memberBalance(member), balance + gift - fromBalance);
        if (card >= 0)
            QCOMPARE(cardBalance(member), card - fromCard);
        // The member's records: one trade per part, adding up to what was to pay.
        QCOMPARE(
            number(QString("SELECT SUM(amount) FROM trades WHERE order_id = %1 AND user_id = %2")
                       .arg(order)
                       .arg(member)),
            payable);
        QCOMPARE(number(QString("SELECT IFNULL(SUM(amount), 0) FROM trades WHERE order_id = %1 "
                                "AND pay_means = 4")
                            .arg(order)),
                 fromBalance);
        QCOMPARE(number(QString("SELECT IFNULL(SUM(amount), 0) FROM trades WHERE order_id = %1 "
                                "AND pay_means = 8")
                            .arg(order)),
                 fromCard);
        QCOMPARE(
            number(QString("SELECT COUNT(*) FROM trades WHERE order_id = %1 AND pay_means = %2")
                       .arg(order)
                       .arg(means)),
            1LL);
    };
    checkMoved();
    if (gift > 0 && fromBalance > 0) // paid-in balance goes first
        QCOMPARE(number(QString("SELECT balance FROM users WHERE id = %1").arg(member)),
                 std::max<qint64>(0, balance - fromBalance));

    // The very same request again (a lost reply): the kept answer, no second charge.
    const QJsonObject repeat = client().call(path, body);
    QCOMPARE(QJsonDocument(repeat).toJson(), QJsonDocument(reply).toJson());
    checkMoved();
    // A new request for the paid order is refused.
    fields.insert("orderId", n(order));
    const QJsonObject again = call(path, fields);
    QCOMPARE(codeOf(again), 409);
    QCOMPARE(again.value("msg").toString(), QString("订单已支付"));
    checkMoved();
}

void TestPaymentEndpoints::refusedPaymentsMoveNothing_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QJsonObject>("fields");
    QTest::addColumn<QString>("setup"); // SQL run before, with {order} and {member}
    QTest::addColumn<bool>("otherStore");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("msg");

    const QJsonObject cash{{"groupCardType", ""}};
    QTest::newRow("another store's order")
        << "tradePay/confirmPay" << cash << "" << true << 403 << "非此门店订单";
    QTest::newRow("balance moved since shown")
        << "tradePay/confirmPay" << QJsonObject{{"groupCardType", ""}, {"balance", "999"}} << ""
        << false << 409 << "会员余额已变动，请重新打开收款";
    QTest::newRow("balance and card together")
        << "tradePay/confirmPay" << QJsonObject{{"groupCardType", "41"}, {"balance", "1000"}} << ""
        << false << 400 << "余额与优付卡不能同时使用";
    QTest::newRow("no card") << "tradePay/confirmPay"
                             << QJsonObject{{"groupCardType", "41"}, {"cardBalance", "5000"}}
                             << "DELETE FROM group_pay_cards WHERE user_id = {member}" << false
                             << 409 << "该会员没有可用的优付卡";
    // The card's share is what the worker saw taken off, as the balance is.
    QTest::newRow("card moved since shown")
        << "tradePay/confirmPay" << QJsonObject{{"groupCardType", "41"}, {"cardBalance", "6000"}}
        << "" << false << 409 << "优付卡余额已变动，请重新打开收款";
    QTest::newRow("card without what was shown")
        << "tradePay/confirmPay" << QJsonObject{{"groupCardType", "41"}} << "" << false << 400
        << "缺少参数: cardBalance";
    QTest::newRow("other means, none chosen")
        << "tradePay/otherPay" << QJsonObject{{"groupCardType", ""}, {"paySign", ""}} << "" << false
        << 400 << "请选择支付方式";
    QTest::newRow("other means not sent")
        << "tradePay/otherPay" << QJsonObject{{"groupCardType", ""}} << "" << false << 400
        << "请选择支付方式";
    QTest::newRow("balance short")
        << "tradePay/balancePay" << QJsonObject{} << "" << false << 409 << "会员余额不足";
    QTest::newRow("voided order") << "tradePay/confirmPay" << cash
                                  << "UPDATE orders SET status = 50 WHERE id = {order}" << false
                                  << 409 << "订单已作废";
    QTest::newRow("wallet refuses the code") << "tradePay/wxMicroPay"
                                             << QJsonObject{{"groupCardType", ""},
                                                            {"authCode", "114567890123456799"},
                                                            {"balance", "1000"}}
                                             << "" << false << 409 << "用户余额不足";
    QTest::newRow("alipay code at wechat")
        << "tradePay/wxMicroPay"
        << QJsonObject{{"groupCardType", ""}, {"authCode", "284567890123456789"}} << "" << false
        << 400 << "请扫描微信付款码";
    QTest::newRow("not a payment code")
        << "tradePay/aliMicroPay" << QJsonObject{{"groupCardType", ""}, {"authCode", "12345"}} << ""
        << false << 400 << "付款码无效";
    QTest::newRow("means not opened") << "tradePay/confirmPay" << cash
                                      << "INSERT OR REPLACE INTO merchant_params (merc_id, name, "
                                         "value) VALUES (1, 'payCash', '0')"
                                      << false << 409 << "商户未开通该支付方式";
    QTest::newRow("order without garments")
        << "tradePay/confirmPay" << cash << "DELETE FROM order_products WHERE order_id = {order}"
        << false << 409 << "订单还没有衣物";
    QTest::newRow("unknown other means")
        << "tradePay/otherPay" << QJsonObject{{"groupCardType", ""}, {"paySign", "77"}} << ""
        << false << 400 << "未知的支付方式";
}

void TestPaymentEndpoints::refusedPaymentsMoveNothing()
{
    QFETCH(QString, path);
    QFETCH(QJsonObject, fields);
    QFETCH(QString, setup);
    QFETCH(bool, otherStore);
    QFETCH(int, code);
    QFETCH(QString, msg);

    const int member = nextMember();
    setMember(member, 1000);
    setCard(member, 5000, 50);
    const qint64 order = newOrder(member, 3000);
    if (!setup.isEmpty())
        QVERIFY(write(QString(setup).replace("{order}", n(order)).replace("{member}", n(member))));
    fields.insert("orderId", n(order));
    fields.insert("remark", "");
    const QJsonObject reply = call(otherStore ? store2 : store1, path, fields);
    QVERIFY(write("DELETE FROM merchant_params WHERE name = 'payCash'"));
    QCOMPARE(codeOf(reply), code);
    QCOMPARE(reply.value("msg").toString(), msg);
    QCOMPARE(number(QString("SELECT pay_status + locked FROM orders WHERE id = %1").arg(order)),
             0LL);
    QCOMPARE(memberBalance(member), 1000LL);
    QCOMPARE(number(QString("SELECT COUNT(*) FROM trades WHERE order_id = %1").arg(order)), 0LL);
    QCOMPARE(number(QString("SELECT COUNT(*) FROM payments WHERE order_id = %1").arg(order)), 0LL);
}

void TestPaymentEndpoints::couponsAreHeldUsedAndLetGo()
{
    const int member = 24, other = 25;
    setMember(member, 2000);
    const qint64 order = newOrder(member, 5000);
    // 10元无门槛 (1), 满100减20 (2), 皮具护理8折 (4, not with the balance); one of another member.
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const QString insert = "INSERT INTO user_coupons (user_id, coupon_id, use_status, time_start, "
                           "time_end, created_at) VALUES (%1, %2, 0, %3, %4, %3)";
    for (int coupon : {1, 2, 4})
        QVERIFY(write(insert.arg(member).arg(coupon).arg(now - 1000).arg(now + 86400000)));
    QVERIFY(write(insert.arg(other).arg(1).arg(now - 1000).arg(now + 86400000)));
    auto couponId = [&](int userId, int coupon) {
        return n(number(QString("SELECT MAX(id) FROM user_coupons WHERE user_id = %1 AND "
                                "coupon_id = %2")
                            .arg(userId)
                            .arg(coupon)));
    };
    const QString tenOff = couponId(member, 1), fullOff = couponId(member, 2),
                  discount = couponId(member, 4), othersCoupon = couponId(other, 1);

    const QJsonArray list =
        call("couponInfo/orderList", {{"orderId", n(order)}}).value("data").toArray();
    QCOMPARE(list.size(), 3);
    for (const auto &entry : list) {
        const QJsonObject c = entry.toObject();
        const QString id = n(c.value("id").toInt());
        // What each takes off this order of 50.00, and whether it can go on it.
        const int amount = id == tenOff ? 1000 : id == fullOff ? 0 : 1000;
        QCOMPARE(c.value("amount").toInt(), amount);
        QCOMPARE(c.value("enableUse").toInt(), id == fullOff ? 0 : 1);
        QCOMPARE(c.value("useBalance").toInt(), id == discount ? 0 : 1);
    }

    auto use = [&](const QString &path, const QString &id) {
        return call(path, {{"orderId", n(order)}, {"relId", id}});
    };
    QCOMPARE(dataOf(use("couponInfo/use", tenOff)).value("couponAmt").toInt(), 1000);
    QJsonObject info = dataOf(call("orderInfo/payInfo", {{"id", n(order)}}));
    QCOMPARE(n(info.value("cpnRelId").toInt()), tenOff);
    QCOMPARE(info.value("couponAmt").toInt(), 1000);
    // One coupon per order: another takes its place.
    QCOMPARE(codeOf(use("couponInfo/use", discount)), 200);
    QCOMPARE(number("SELECT use_status FROM user_coupons WHERE id = " + tenOff), 0LL);
    info = dataOf(call("orderInfo/payInfo", {{"id", n(order)}}));
    QCOMPARE(n(info.value("cpnRelId").toInt()), discount);
    QCOMPARE(info.value("cpnUseBalance").toInt(), 0);
    QCOMPARE(use("couponInfo/use", fullOff).value("msg").toString(),
             QString("订单金额未满足优惠券使用条件"));
    QCOMPARE(use("couponInfo/use", othersCoupon).value("msg").toString(),
             QString("优惠券不属于该会员"));
    // A coupon that does not go with the balance refuses a payment with it.
    const QJsonObject withBalance = call("tradePay/confirmPay", {{"orderId", n(order)},
                                                                 {"cpnRelId", discount},
                                                                 {"remark", ""},
                                                                 {"groupCardType", ""},
                                                                 {"balance", "2000"}});
    QCOMPARE(withBalance.value("msg").toString(), QString("该优惠券不能与余额同时使用"));
    QCOMPARE(codeOf(use("couponInfo/unused", discount)), 200);
    QCOMPARE(number("SELECT use_status FROM user_coupons WHERE id = " + discount), 0LL);
    QCOMPARE(codeOf(use("couponInfo/unused", discount)), 409);

    // The payment uses the coupon the terminal names, with the balance.
    const QJsonObject paid = call("tradePay/confirmPay", {{"orderId", n(order)},
                                                          {"cpnRelId", tenOff},
                                                          {"remark", ""},
                                                          {"groupCardType", ""},
                                                          {"balance", "2000"}});
    QCOMPARE(codeOf(paid), 200);
    QCOMPARE(dataOf(paid).value("payAmount").toInt(), 4000);
    QCOMPARE(dataOf(paid).value("amount").toInt(), 2000);
    QCOMPARE(number("SELECT use_status FROM user_coupons WHERE id = " + tenOff), 2LL);
    QCOMPARE(
        number(QString("SELECT coupon_amount * 100000 + payment_price FROM orders WHERE id = %1")
                   .arg(order)),
        1000LL * 100000 + 4000);
    QCOMPARE(memberBalance(member), 0LL);
    // A used coupon goes on no other order.
    const qint64 second = newOrder(member, 5000);
    QCOMPARE(
        call("couponInfo/use", {{"orderId", n(second)}, {"relId", tenOff}}).value("msg").toString(),
        QString("优惠券已使用"));
}

void TestPaymentEndpoints::qrTradeCompletesThroughTheWallet_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("codeStart");
    QTest::newRow("wechat") << "tradePay/wxUnifiedOrder"
                            << "weixin://";
    QTest::newRow("alipay") << "tradePay/aliUnifiedOrder"
                            << "https://qr.alipay.com/";
}

void TestPaymentEndpoints::qrTradeCompletesThroughTheWallet()
{
    QFETCH(QString, path);
    QFETCH(QString, codeStart);
    const int member = nextMember();
    setMember(member, 1000);
    const qint64 order = newOrder(member, 3500);
    const QJsonObject created = call(path, {{"orderId", n(order)},
                                            {"remark", ""},
                                            {"authCode", ""},
                                            {"groupCardType", ""},
                                            {"balance", "1000"}});
    QCOMPARE(codeOf(created), 200);
    const QString seq = dataOf(created).value("seq").toString();
    const QString codeUrl = dataOf(created).value("codeUrl").toString();
    QVERIFY2(codeUrl.startsWith(codeStart) && codeUrl.endsWith(seq), qPrintable(codeUrl));
    QCOMPARE(dataOf(created).value("status").toInt(), 0);
    QCOMPARE(dataOf(created).value("amount").toInt(), 2500);
    // The balance part is held while the customer pays, and the order takes no other payment.
    QCOMPARE(memberBalance(member), 0LL);
    QCOMPARE(
        call("tradePay/confirmPay", {{"orderId", n(order)}, {"remark", ""}, {"groupCardType", ""}})
            .value("msg")
            .toString(),
        QString("订单正在支付中，请稍后再试"));
    QCOMPARE(dataOf(call("orderInfo/payInfo", {{"id", n(order)}})).value("isLocked").toInt(), 1);
    // Following the trade pays nothing: only the customer's phone does.
    for (int i = 0; i < 6; ++i)
        QCOMPARE(dataOf(call("tradePay/queryStatusBySeq", {{"seq", seq}})).value("status").toInt(),
                 0);
    QCOMPARE(number(QString("SELECT pay_status FROM orders WHERE id = %1").arg(order)), 0LL);
    QCOMPARE(number(QString("SELECT COUNT(*) FROM trades WHERE order_id = %1").arg(order)), 0LL);

    QCOMPARE(scan(seq), 200);
    QCOMPARE(dataOf(call("tradePay/queryStatusBySeq", {{"seq", seq}})).value("status").toInt(), 1);
    QCOMPARE(
        number(QString("SELECT pay_status * 10 + locked FROM orders WHERE id = %1").arg(order)),
        10LL);
    QCOMPARE(number(QString("SELECT SUM(amount) FROM trades WHERE order_id = %1").arg(order)),
             3500LL);
    QCOMPARE(memberBalance(member), 0LL);
    // Scanned twice, paid once.
    QCOMPARE(scan(seq), 409);
    QCOMPARE(number(QString("SELECT SUM(amount) FROM trades WHERE order_id = %1").arg(order)),
             3500LL);
}

void TestPaymentEndpoints::scannedCodeWaitsForTheCustomer_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("finalStatus");
    QTest::newRow("customer confirms") << "104567890123456788" << 1;
    QTest::newRow("customer gives up") << "104567890123456777" << -1;
}

void TestPaymentEndpoints::scannedCodeWaitsForTheCustomer()
{
    QFETCH(QString, code);
    QFETCH(int, finalStatus);
    const int member = nextMember();
    setMember(member, 500);
    const qint64 order = newOrder(member, 2000);
    const QJsonObject reply = call("tradePay/wxMicroPay", {{"orderId", n(order)},
                                                           {"remark", ""},
                                                           {"groupCardType", ""},
                                                           {"authCode", code},
                                                           {"balance", "500"}});
    QCOMPARE(codeOf(reply), 200);
    QCOMPARE(dataOf(reply).value("status").toInt(), 0);
    const QString seq = dataOf(reply).value("seq").toString();
    QList<int> answers;
    for (int i = 0; i < 4; ++i)
        answers
            << dataOf(call("tradePay/queryStatusBySeq", {{"seq", seq}})).value("status").toInt();
    QCOMPARE(answers, (QList<int>{0, 0, 0, finalStatus}));
    QCOMPARE(number(QString("SELECT pay_status FROM orders WHERE id = %1").arg(order)),
             finalStatus == 1 ? 1LL : 0LL);
    QCOMPARE(number(QString("SELECT locked FROM orders WHERE id = %1").arg(order)), 0LL);
    QCOMPARE(memberBalance(member), finalStatus == 1 ? 0LL : 500LL);
    if (finalStatus != 1) // the order takes another payment
        QCOMPARE(codeOf(call("tradePay/confirmPay",
                             {{"orderId", n(order)}, {"remark", ""}, {"groupCardType", ""}})),
                 200);
}

// A payment that went through answers "订单已支付" to any later payment of the order, before
// anything else is looked at: the cashier whose reply was lost takes that as success.
void TestPaymentEndpoints::paidOrderAnswersPaidOnEveryPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QJsonObject>("fields");
    QTest::newRow("balance") << "tradePay/balancePay" << QJsonObject{};
    QTest::newRow("cash with a balance moved since")
        << "tradePay/confirmPay" << QJsonObject{{"groupCardType", ""}, {"balance", "1"}};
    QTest::newRow("cash with a card moved since")
        << "tradePay/confirmPay" << QJsonObject{{"groupCardType", "41"}, {"cardBalance", "1"}};
    QTest::newRow("other means, none chosen")
        << "tradePay/otherPay" << QJsonObject{{"groupCardType", ""}, {"paySign", ""}};
    QTest::newRow("a code the wallet refuses")
        << "tradePay/wxMicroPay"
        << QJsonObject{{"groupCardType", ""}, {"authCode", "134567890123456799"}};
    QTest::newRow("the other wallet's code")
        << "tradePay/aliMicroPay"
        << QJsonObject{{"groupCardType", ""}, {"authCode", "134567890123456789"}};
    QTest::newRow("wechat QR") << "tradePay/wxUnifiedOrder"
                               << QJsonObject{{"groupCardType", ""}, {"authCode", ""}};
    QTest::newRow("alipay QR") << "tradePay/aliUnifiedOrder"
                               << QJsonObject{{"groupCardType", ""}, {"authCode", ""}};
}

void TestPaymentEndpoints::paidOrderAnswersPaidOnEveryPath()
{
    QFETCH(QString, path);
    QFETCH(QJsonObject, fields);
    const int member = nextMember();
    setMember(member, 5000);
    const qint64 order = newOrder(member, 2000);
    const QString seq =
        dataOf(
            call("tradePay/wxUnifiedOrder",
                 {{"orderId", n(order)}, {"remark", ""}, {"authCode", ""}, {"groupCardType", ""}}))
            .value("seq")
            .toString();
    QCOMPARE(scan(seq), 200);
    fields.insert("orderId", n(order));
    fields.insert("remark", "");
    const QJsonObject again = call(path, fields);
    QCOMPARE(codeOf(again), 409);
    QCOMPARE(again.value("msg").toString(), QString("订单已支付"));
    QCOMPARE(memberBalance(member), 5000LL);
    QCOMPARE(number(QString("SELECT COUNT(*) FROM payments WHERE order_id = %1").arg(order)), 1LL);
    QCOMPARE(number(QString("SELECT SUM(amount) FROM trades WHERE order_id = %1").arg(order)),
             2000LL);
}

// tradePay/unlockOrder gives back whatever the order holds, whichever way it came to hold it,
// and changes nothing when it holds nothing.
void TestPaymentEndpoints::unlockReleasesWhatTheOrderHolds_data()
{
    QTest::addColumn<QString>("hold"); // how the order comes to be held
    QTest::addColumn<int>("payStatus");
    QTest::newRow("QR trade with the card's share") << "card" << 0;
    QTest::newRow("QR trade with the balance") << "balance" << 0;
    QTest::newRow("scanned code waiting for the customer") << "code" << 0;
    QTest::newRow("a lock left without a payment") << "lock" << 0;
    QTest::newRow("nothing held") << "" << 0;
    QTest::newRow("paid just before") << "paid" << 1;
}

void TestPaymentEndpoints::unlockReleasesWhatTheOrderHolds()
{
    QFETCH(QString, hold);
    QFETCH(int, payStatus);
    const int member = nextMember();
    setMember(member, 800);
    setCard(member, 10000, 50);
    const qint64 order = newOrder(member, 3000);
    QJsonObject fields{{"orderId", n(order)}, {"remark", ""}, {"groupCardType", ""}};
    QString seq;
    if (hold == "card" || hold == "balance" || hold == "paid") {
        fields.insert("authCode", "");
        if (hold == "card") {
            fields.insert("groupCardType", "41");
            fields.insert("cardBalance", "10000");
        } else {
            fields.insert("balance", "800");
        }
        const QJsonObject created = call("tradePay/wxUnifiedOrder", fields);
        QCOMPARE(codeOf(created), 200);
        seq = dataOf(created).value("seq").toString();
        if (hold == "card")
            QCOMPARE(cardBalance(member), 8500LL);
        else
            QCOMPARE(memberBalance(member), 0LL);
        if (hold == "paid")
            QCOMPARE(scan(seq), 200);
    } else if (hold == "code") {
        fields.insert("authCode", "104567890123456788");
        fields.insert("balance", "800");
        const QJsonObject waiting = call("tradePay/wxMicroPay", fields);
        QCOMPARE(dataOf(waiting).value("status").toInt(), 0);
        seq = dataOf(waiting).value("seq").toString();
        QCOMPARE(memberBalance(member), 0LL);
    } else if (hold == "lock") {
        QVERIFY(write(QString("UPDATE orders SET locked = 1 WHERE id = %1").arg(order)));
    }
    const qint64 balanceAfter = payStatus == 1 ? 0 : 800;

    for (int twice = 0; twice < 2; ++twice) {
        const QJsonObject unlocked = call("tradePay/unlockOrder", {{"orderId", n(order)}});
        QCOMPARE(codeOf(unlocked), 200);
        QCOMPARE(dataOf(unlocked).value("payStatus").toInt(), payStatus);
        QCOMPARE(memberBalance(member), balanceAfter);
        QCOMPARE(cardBalance(member), 10000LL);
        QCOMPARE(number(QString("SELECT locked FROM orders WHERE id = %1").arg(order)), 0LL);
        QCOMPARE(dataOf(call("orderInfo/payInfo", {{"id", n(order)}})).value("isLocked").toInt(),
                 0);
    }
    if (!seq.isEmpty() && payStatus == 0) {
        QCOMPARE(dataOf(call("tradePay/queryStatusBySeq", {{"seq", seq}})).value("status").toInt(),
                 2);
        // The customer scans too late, or confirms on the phone after all: nothing is paid.
        if (hold != "code")
            QCOMPARE(scan(seq), 409);
        for (int i = 0; i < 4; ++i)
            call("tradePay/queryStatusBySeq", {{"seq", seq}});
        QCOMPARE(number(QString("SELECT COUNT(*) FROM trades WHERE order_id = %1").arg(order)),
                 0LL);
    }
    // The order takes a payment again, or answers that it is paid.
    const QJsonObject cash = payCash(order);
    QCOMPARE(codeOf(cash), payStatus == 1 ? 409 : 200);
    QCOMPARE(number(QString("SELECT SUM(amount) FROM trades WHERE order_id = %1").arg(order)),
             3000LL);
}

// A QR trade left waiting past its time (the cashier's window closed without a word to the
// backend) holds the order, the balance and the card's share until something closes it: every
// call that shows them, or acts on the order, closes it first, and that stays done even when
// the call itself is refused.
void TestPaymentEndpoints::expiredPaymentIsClosedByTheCallsThatShowIt_data()
{
    QTest::addColumn<QString>("path");
    // "{order}", "{member}", "{orderNo}" and "{service}" (of product 10) filled in
    QTest::addColumn<QJsonObject>("fields");
    QTest::addColumn<bool>("card"); // the trade took the card's share, else the balance
    QTest::addColumn<bool>("otherStore");
    QTest::addColumn<int>("code");
    QTest::newRow("cashier's order")
        << "orderInfo/payInfo" << QJsonObject{{"id", "{order}"}} << false << false << 200;
    QTest::newRow("cashier's order, card")
        << "orderInfo/payInfo" << QJsonObject{{"id", "{order}"}} << true << false << 200;
    QTest::newRow("member's balance")
        << "userExt/balance" << QJsonObject{{"id", "{member}"}} << false << false << 200;
    QTest::newRow("intake's order")
        << "stockIn/queryOrder" << QJsonObject{{"keywords", "{orderNo}"}} << true << false << 200;
    QTest::newRow("pick-up's order")
        << "orderInfo/detail" << QJsonObject{{"id", "{order}"}} << false << false << 200;
    QTest::newRow("a garment added") << "stockIn/add"
                                     << QJsonObject{{"orderId", "{order}"},
                                                    {"productId", "10"},
                                                    {"proServiceId", "{service}"},
                                                    {"chgSubtotal", "100"}}
                                     << false << false << 200;
    QTest::newRow("a garment refused")
        << "stockIn/add" << QJsonObject{{"orderId", "{order}"}, {"productId", "10"}} << true
        << false << 400;
    QTest::newRow("a total set by hand")
        << "orderInfo/modifyPrice" << QJsonObject{{"id", "{order}"}, {"modifyPrice", "2500"}}
        << false << false << 200;
    QTest::newRow("another store's look")
        << "orderInfo/payInfo" << QJsonObject{{"id", "{order}"}} << true << true << 403;
    QTest::newRow("a payment refused")
        << "tradePay/confirmPay" << QJsonObject{{"orderId", "{order}"}, {"groupCardType", "9"}}
        << false << false << 400;
}

void TestPaymentEndpoints::expiredPaymentIsClosedByTheCallsThatShowIt()
{
    QFETCH(QString, path);
    QFETCH(QJsonObject, fields);
    QFETCH(bool, card);
    QFETCH(bool, otherStore);
    QFETCH(int, code);
    const int member = nextMember();
    setMember(member, 1000);
    setCard(member, 10000, 50);
    const qint64 order = newOrder(member, 3000);
    QJsonObject trade{{"orderId", n(order)}, {"remark", ""}, {"authCode", ""}};
    trade.insert("groupCardType", card ? "41" : "");
    trade.insert(card ? "cardBalance" : "balance", card ? "10000" : "1000");
    const QJsonObject created = call("tradePay/aliUnifiedOrder", trade);
    QCOMPARE(codeOf(created), 200);
    const QString seq = dataOf(created).value("seq").toString();
    QCOMPARE(memberBalance(member) + cardBalance(member), card ? 1000 + 8500LL : 10000LL);
    // Its five minutes are up.
    QVERIFY(
        write("UPDATE payments SET expires_at = expires_at - 600000 WHERE seq = '" + seq + "'"));

    const QString orderNo = value(QString("SELECT order_no FROM orders WHERE id = %1").arg(order));
    for (auto it = fields.begin(); it != fields.end(); ++it)
        it.value() =
            it.value()
                .toString()
                .replace("{order}", n(order))
                .replace("{member}", n(member))
                .replace("{orderNo}", orderNo)
                .replace("{service}",
                         value("SELECT MIN(id) FROM product_services WHERE product_id = 10"));
    const QJsonObject reply = call(otherStore ? store2 : store1, path, fields);
    QCOMPARE(codeOf(reply), code);

    QCOMPARE(number("SELECT status FROM payments WHERE seq = '" + seq + "'"), 3LL);
    QCOMPARE(memberBalance(member), 1000LL);
    QCOMPARE(cardBalance(member), 10000LL);
    QCOMPARE(number(QString("SELECT locked FROM orders WHERE id = %1").arg(order)), 0LL);
    // What the call showed is the money back.
    const QJsonObject data = dataOf(reply);
    if (path == "orderInfo/payInfo" && code == 200) {
        QCOMPARE(data.value("isLocked").toInt(), 0);
        QCOMPARE(data.value("balance").toInt(), 1000);
        QCOMPARE(data.value("uPayCard").toObject().value("balance").toInt(), 10000);
    } else if (path == "userExt/balance") {
        QCOMPARE(data.value("balance").toInt(), 1000);
    } else if (path == "stockIn/queryOrder") {
        QCOMPARE(data.value("isEnableModifyPrice").toBool(), true);
        QCOMPARE(data.value("orderInfo")
                     .toObject()
                     .value("userInfo")
                     .toObject()
                     .value("balance")
                     .toInt(),
                 1000);
    } else if (path == "orderInfo/detail") {
        QCOMPARE(data.value("userInfo").toObject().value("balance").toInt(), 1000);
        QCOMPARE(data.value("isEnableCredit").toBool(), true);
    }
    QCOMPARE(scan(seq), 409);
    QCOMPARE(number(QString("SELECT COUNT(*) FROM trades WHERE order_id = %1").arg(order)), 0LL);
}

// Money in fen is 64-bit from end to end: a balance of 30,000,000.02 yuan is shown and taken
// as it is, never as its low 32 bits.
void TestPaymentEndpoints::amountsBeyondA32BitInt()
{
    const int member = nextMember();
    setMember(member, 3000000000LL, 2);
    const qint64 order = newOrder(member, 3000);
    QCOMPARE(whole(dataOf(call("orderInfo/payInfo", {{"id", n(order)}})).value("balance")),
             3000000002LL);
    QCOMPARE(whole(dataOf(call("userExt/balance", {{"id", n(member)}})).value("balance")),
             3000000002LL);
    // 2^32 + 2 is not the balance shown, though its low 32 bits are.
    QCOMPARE(codeOf(payCash(order, 4294967298LL)), 409);
    const QJsonObject paid = payCash(order, 3000000002LL);
    QCOMPARE(codeOf(paid), 200);
    QCOMPARE(whole(dataOf(paid).value("balanceAmt")), 3000LL);
    QCOMPARE(memberBalance(member), 2999997002LL);
}

void TestPaymentEndpoints::anotherStoreCannotFollowOrRelease()
{
    const int member = nextMember();
    setMember(member, 0);
    const qint64 order = newOrder(member, 1200);
    const QString seq =
        dataOf(
            call("tradePay/aliUnifiedOrder",
                 {{"orderId", n(order)}, {"remark", ""}, {"authCode", ""}, {"groupCardType", ""}}))
            .value("seq")
            .toString();
    QVERIFY(!seq.isEmpty());
    QCOMPARE(codeOf(call(store2, "tradePay/queryStatusBySeq", {{"seq", seq}})), 403);
    QCOMPARE(codeOf(call(store2, "tradePay/unlockOrder", {{"orderId", n(order)}})), 403);
    QCOMPARE(codeOf(call(store2, "couponInfo/orderList", {{"orderId", n(order)}})), 403);
    QCOMPARE(codeOf(call("tradePay/queryStatusBySeq", {{"seq", "5000000000000000000"}})), 404);
    QCOMPARE(number(QString("SELECT locked FROM orders WHERE id = %1").arg(order)), 1LL);
    QCOMPARE(codeOf(call("tradePay/unlockOrder", {{"orderId", n(order)}})), 200);
}

QTEST_GUILESS_MAIN(TestPaymentEndpoints)
#include "tst_paymentendpoints.moc"
