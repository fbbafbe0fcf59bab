// The reference backend's member recharge as the recharge screen uses it, on a backend of the
// test's own: the offers, a recharge by offer or free amount raising the balance by the amount
// and the bonus once, the request sent twice recharging once, refusals that move nothing,
// wallet recharges paid by a scanned code (at once, after the customer's confirmation, or
// refused and scanned again) or by the customer's phone through the wallet stand-in, and the
// member's recharge records.

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>
#include <algorithm>

#include "apibackend.h"

class TestRechargeEndpoints : public QObject, private ApiBackend
{
    Q_OBJECT

private slots:
    void initTestCase();

    void offersWithWhatTheyGive();
    void rechargeRaisesTheBalanceOnce_data();
    void rechargeRaisesTheBalanceOnce();
    void refusalsMoveNothing_data();
    void refusalsMoveNothing();
    void offerLiftsTheCardLevelAndGivesCoupons();
    void scannedCodePaysOnce_data();
    void scannedCodePaysOnce();
    void refusedCodeMayBeScannedAgain();
    void statusQueriesAloneCreditNothing_data();
    void statusQueriesAloneCreditNothing();
    void qrRechargePaidByThePhone_data();
    void qrRechargePaidByThePhone();
    void closedQrRechargeCannotBePaid();
    void anotherStoreCannotPayOrFollow();
    void recordsOfTheMember();

private:
    qint64 balance(int userId);
    QString createPay(int userId, const QString &payMethod, const QString &payType,
                      qint64 amount = 50000, const QString &withActive = "1");
    int nextMember() { return 1 + (turn_++ % 30); }

    int turn_ = 0;
};

void TestRechargeEndpoints::initTestCase()
{
    QVERIFY2(start(), qPrintable(output()));
}

qint64 TestRechargeEndpoints::balance(int userId)
{
    return number(QString("SELECT balance + gift_balance FROM users WHERE id = %1").arg(userId));
}

QString TestRechargeEndpoints::createPay(int userId, const QString &payMethod,
                                         const QString &payType, qint64 amount,
                                         const QString &withActive)
{
    const QJsonObject reply = call("userRecharge/createPay", {{"userId", n(userId)},
                                                              {"amount", n(amount)},
                                                              {"remark", ""},
                                                              {"withActive", withActive},
                                                              {"payMethod", payMethod},
                                                              {"payType", payType}});
    return codeOf(reply) == 200 ? dataOf(reply).value("tradeSeq").toString() : QString();
}

void TestRechargeEndpoints::offersWithWhatTheyGive()
{
    const QJsonObject reply = call("userRechargeRule/queryRechargeList", {});
    QCOMPARE(codeOf(reply), 200);
    const QJsonArray offers = reply.value("data").toArray();
    QCOMPARE(offers.size(), int(number("SELECT COUNT(*) FROM recharge_rules")));
    const QJsonObject first = offers.at(0).toObject();
    QCOMPARE(first.value("name").toString(), QString("充500送50"));
    QCOMPARE(first.value("amount").toInt(), 50000);
    QCOMPARE(first.value("giftAmount").toInt(), 5000);
    QCOMPARE(first.value("isSendAmt").toBool(), true);
    QCOMPARE(first.value("isSendPoint").toBool(), true);
    QCOMPARE(first.value("isSendCard").toBool(), false);
    QCOMPARE(first.value("isSendCoupon").toBool(), false);
    const QJsonObject last = offers.at(3).toObject();
    QCOMPARE(last.value("cardName").toString(), QString("钻石会员"));
    QCOMPARE(last.value("isSendCard").toBool(), true);
    QCOMPARE(last.value("isSendCoupon").toBool(), true);
    QCOMPARE(last.value("couponCnt").toInt(), 2);
}

void TestRechargeEndpoints::rechargeRaisesTheBalanceOnce_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QJsonObject>("fields");
    QTest::addColumn<qint64>("raised");
    QTest::addColumn<qint64>("gift");
    QTest::addColumn<int>("means");
    QTest::newRow("offer in cash")
        << "userRecharge/confirmRecharge" << QJsonObject{{"amount", "50000"}, {"withActive", "1"}}
        << qint64(50000) << qint64(5000) << 1;
    QTest::newRow("free amount of 50 in cash")
        << "userRecharge/confirmRecharge" << QJsonObject{{"amount", "5000"}, {"withActive", "0"}}
        << qint64(5000) << qint64(0) << 1;
    QTest::newRow("offer by other means") << "userRecharge/otherRecharge"
                                          << QJsonObject{{"amount", "100000"},
                                                         {"withActive", "1"},
                                                         {"paySign", "10"},
                                                         {"remark", "美团券"}}
                                          << qint64(100000) << qint64(15000) << 9;
    QTest::newRow("free amount of 0.01 by other means")
        << "userRecharge/otherRecharge"
        << QJsonObject{{"amount", "1"}, {"withActive", "0"}, {"paySign", "11"}} << qint64(1)
        << qint64(0) << 9;
}

// The very same request again (its reply lost): the kept answer, no second recharge.
void TestRechargeEndpoints::rechargeRaisesTheBalanceOnce()
{
    QFETCH(QString, path);
    QFETCH(QJsonObject, fields);
    QFETCH(qint64, raised);
    QFETCH(qint64, gift);
    QFETCH(int, means);
    const int member = nextMember();
    const qint64 before = balance(member);
    const qint64 giftBefore =
        number(QString("SELECT gift_balance FROM users WHERE id = %1").arg(member));
    const qint64 recharges = number("SELECT COUNT(*) FROM recharges WHERE status = 1");

    if (!fields.contains("remark"))
        fields.insert("remark", "");
    fields.insert("userId", n(member));
    const QJsonObject body = ApiBackend::body(store1, fields);
    const QJsonObject reply = client().call(path, body);
    QCOMPARE(codeOf(reply), 200);
    QCOMPARE(dataOf(reply).value("status").toInt(), 1);
    QCOMPARE(qint64(dataOf(reply).value("giftAmount").toInt()), gift);

    auto checkOnce = [&] {
        QCOMPARE(balance(member), before + raised + gift);
        QCOMPARE(number(QString("SELECT gift_balance FROM users WHERE id = %1").arg(member)),
                 giftBefore + gift);
        QCOMPARE(number("SELECT COUNT(*) FROM recharges WHERE status = 1"), recharges + 1);
        const QString seq = dataOf(reply).value("seq").toString();
        QCOMPARE(number("SELECT COUNT(*) FROM trades t JOIN recharges r ON r.id = t.recharge_id "
                        "WHERE t.kind = 2 AND r.recharge_no = '" +
                        seq + "' AND t.amount = " + n(raised) + " AND t.pay_means = " + n(means)),
                 1LL);
    };
    checkOnce();
    const QJsonObject repeat = client().call(path, body);
    QCOMPARE(QJsonDocument(repeat).toJson(), QJsonDocument(reply).toJson());
    checkOnce();
}

void TestRechargeEndpoints::refusalsMoveNothing_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QJsonObject>("fields");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("msg");
    const QString cash = "userRecharge/confirmRecharge";
    QTest::newRow("no such offer")
        << cash << QJsonObject{{"amount", "12300"}, {"withActive", "1"}} << 409 << "充值方案不存在";
    QTest::newRow("nothing") << cash << QJsonObject{{"amount", "0"}, {"withActive", "0"}} << 400
                             << "";
    QTest::newRow("negative") << cash << QJsonObject{{"amount", "-5000"}, {"withActive", "0"}}
                              << 400 << "";
    QTest::newRow("in yuan, not fen")
        << cash << QJsonObject{{"amount", "50.00"}, {"withActive", "0"}} << 400 << "";
    QTest::newRow("too much") << cash << QJsonObject{{"amount", "10000001"}, {"withActive", "0"}}
                              << 400 << "";
    QTest::newRow("offer flag unknown")
        << cash << QJsonObject{{"amount", "5000"}, {"withActive", "2"}} << 400 << "";
    QTest::newRow("unknown member")
        << cash << QJsonObject{{"amount", "5000"}, {"withActive", "0"}, {"userId", "99999"}} << 404
        << "会员不存在";
    QTest::newRow("unknown other means")
        << "userRecharge/otherRecharge"
        << QJsonObject{{"amount", "5000"}, {"withActive", "0"}, {"paySign", "77"}} << 400
        << "未知的支付方式";
    // "其他" without one of the merchant's means chosen would record money taken by nothing.
    QTest::newRow("other means, none chosen")
        << "userRecharge/otherRecharge"
        << QJsonObject{{"amount", "5000"}, {"withActive", "0"}, {"paySign", ""}} << 400
        << "请选择支付方式";
    QTest::newRow("other means not sent")
        << "userRecharge/otherRecharge" << QJsonObject{{"amount", "5000"}, {"withActive", "1"}}
        << 400 << "请选择支付方式";
}

void TestRechargeEndpoints::refusalsMoveNothing()
{
    QFETCH(QString, path);
    QFETCH(QJsonObject, fields);
    QFETCH(int, code);
    QFETCH(QString, msg);
    const int member = nextMember();
    const qint64 before = balance(member);
    const qint64 count = number("SELECT COUNT(*) FROM recharges");
    if (!fields.contains("userId"))
        fields.insert("userId", n(member));
    fields.insert("remark", "");
    const QJsonObject reply = call(path, fields);
    QCOMPARE(codeOf(reply), code);
    if (!msg.isEmpty())
        QCOMPARE(reply.value("msg").toString(), msg);
    QCOMPARE(balance(member), before);
    QCOMPARE(number("SELECT COUNT(*) FROM recharges"), count);
}

// 充5000送1200 lifts a member to 钻石会员 and gives two coupons; 充1000送150 (银卡会员) does not
// take a 钻石会员 down.
void TestRechargeEndpoints::offerLiftsTheCardLevelAndGivesCoupons()
{
    const int member = 8; // 普通会员 (level 1)
    QVERIFY(number(QString("SELECT card_level_id FROM users WHERE id = %1").arg(member)) < 4);
    const qint64 coupons =
        number(QString("SELECT COUNT(*) FROM user_coupons WHERE user_id = %1").arg(member));
    const qint64 points = number(QString("SELECT points FROM users WHERE id = %1").arg(member));
    QCOMPARE(
        codeOf(call(
            "userRecharge/confirmRecharge",
            {{"userId", n(member)}, {"amount", "500000"}, {"remark", ""}, {"withActive", "1"}})),
        200);
    QCOMPARE(number(QString("SELECT card_level_id FROM users WHERE id = %1").arg(member)), 4LL);
    QCOMPARE(number(QString("SELECT points FROM users WHERE id = %1").arg(member)), points + 5000);
    QCOMPARE(number(QString("SELECT COUNT(*) FROM user_coupons WHERE user_id = %1").arg(member)),
             coupons + 2);
    QCOMPARE(number(QString("SELECT COUNT(*) FROM user_coupons WHERE user_id = %1 AND "
                            "coupon_id = 1 AND use_status = 0 AND time_end > time_start")
                        .arg(member)) >= 2,
             true);
    QCOMPARE(
        codeOf(call(
            "userRecharge/confirmRecharge",
            {{"userId", n(member)}, {"amount", "100000"}, {"remark", ""}, {"withActive", "1"}})),
        200);
    QCOMPARE(number(QString("SELECT card_level_id FROM users WHERE id = %1").arg(member)), 4LL);
}

void TestRechargeEndpoints::scannedCodePaysOnce_data()
{
    QTest::addColumn<QString>("payMethod");
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("waits"); // status answers "0" before the customer decides
    QTest::newRow("WeChat pays at once") << "1"
                                         << "134567890123456789" << 0;
    QTest::newRow("Alipay pays at once") << "4"
                                         << "284567890123456789" << 0;
    QTest::newRow("WeChat after the customer confirms") << "1"
                                                        << "104567890123456788" << 3;
}

void TestRechargeEndpoints::scannedCodePaysOnce()
{
    QFETCH(QString, payMethod);
    QFETCH(QString, code);
    QFETCH(int, waits);
    const int member = nextMember();
    const qint64 before = balance(member);
    const QString seq = createPay(member, payMethod, "MICROPAY");
    QVERIFY(!seq.isEmpty());
    QCOMPARE(balance(member), before); // nothing moves before it is paid

    const QJsonObject paid = call("userRecharge/pay", {{"tradeSeq", seq}, {"authCode", code}});
    QCOMPARE(codeOf(paid), 200);
    QCOMPARE(dataOf(paid).value("status").toInt(), waits > 0 ? 0 : 1);
    for (int i = 0; i < waits; ++i) {
        QCOMPARE(balance(member), before);
        const QJsonObject status = call("tradePay/queryStatusBySeq", {{"seq", seq}});
        QCOMPARE(dataOf(status).value("status").toInt(), 0);
    }
    QCOMPARE(dataOf(call("tradePay/queryStatusBySeq", {{"seq", seq}})).value("status").toInt(), 1);
    QCOMPARE(balance(member), before + 50000 + 5000);
    QCOMPARE(number("SELECT pay_means FROM recharges WHERE recharge_no = '" + seq + "'"),
             payMethod == "4" ? 3LL : 2LL);

    // The same trade scanned again, a new request: refused, nothing moves.
    const QJsonObject again =
        call("userRecharge/pay", {{"tradeSeq", seq}, {"authCode", "134567890123456780"}});
    QCOMPARE(codeOf(again), 409);
    QCOMPARE(again.value("msg").toString(), QString("该充值已完成"));
    QCOMPARE(dataOf(call("tradePay/queryStatusBySeq", {{"seq", seq}})).value("status").toInt(), 1);
    QCOMPARE(balance(member), before + 55000);
}

void TestRechargeEndpoints::refusedCodeMayBeScannedAgain()
{
    const int member = nextMember();
    const qint64 before = balance(member);
    const QString seq = createPay(member, "1", "MICROPAY", 5000, "0");
    QVERIFY(!seq.isEmpty());
    const QJsonObject refused =
        call("userRecharge/pay", {{"tradeSeq", seq}, {"authCode", "134567890123456799"}});
    QCOMPARE(codeOf(refused), 409);
    QCOMPARE(refused.value("msg").toString(), QString("用户余额不足"));
    const QJsonObject wrongWallet =
        call("userRecharge/pay", {{"tradeSeq", seq}, {"authCode", "284567890123456789"}});
    QCOMPARE(codeOf(wrongWallet), 400);
    QCOMPARE(wrongWallet.value("msg").toString(), QString("请扫描微信付款码"));
    QCOMPARE(codeOf(call("userRecharge/pay", {{"tradeSeq", seq}, {"authCode", "12345"}})), 400);
    QCOMPARE(balance(member), before);
    QCOMPARE(
        codeOf(call("userRecharge/pay", {{"tradeSeq", seq}, {"authCode", "134567890123456789"}})),
        200);
    QCOMPARE(balance(member), before + 5000);
    // The customer gave up on the phone: the trade fails, nothing moves.
    const QString quits = createPay(member, "1", "MICROPAY", 5000, "0");
    QCOMPARE(
        codeOf(call("userRecharge/pay", {{"tradeSeq", quits}, {"authCode", "134567890123456777"}})),
        200);
    int status = 0;
    for (int i = 0; i < 5 && status == 0; ++i)
        status =
            dataOf(call("tradePay/queryStatusBySeq", {{"seq", quits}})).value("status").toInt();
    QCOMPARE(status, -1);
    QCOMPARE(balance(member), before + 5000);
}

// A wallet recharge nobody has paid yet: the worker has not scanned a code, or the customer
// has not scanned ours. Following it credits nothing, however often it is asked.
void TestRechargeEndpoints::statusQueriesAloneCreditNothing_data()
{
    QTest::addColumn<QString>("payMethod");
    QTest::addColumn<QString>("payType");
    QTest::addColumn<bool>("askForTheQrCode");
    QTest::newRow("waiting for the worker to scan a code") << "1"
                                                           << "MICROPAY" << false;
    QTest::newRow("QR code not asked for") << "4"
                                           << "NATIVE" << false;
    QTest::newRow("QR code shown, not scanned") << "1"
                                                << "NATIVE" << true;
}

void TestRechargeEndpoints::statusQueriesAloneCreditNothing()
{
    QFETCH(QString, payMethod);
    QFETCH(QString, payType);
    QFETCH(bool, askForTheQrCode);
    const int member = nextMember();
    const qint64 before = balance(member);
    const qint64 points = number(QString("SELECT points FROM users WHERE id = %1").arg(member));
    const QString seq = createPay(member, payMethod, payType);
    QVERIFY(!seq.isEmpty());
    if (askForTheQrCode)
        QCOMPARE(codeOf(call("userRecharge/pay", {{"tradeSeq", seq}})), 200);
    for (int i = 0; i < 6; ++i)
        QCOMPARE(dataOf(call("tradePay/queryStatusBySeq", {{"seq", seq}})).value("status").toInt(),
                 0);
    QCOMPARE(balance(member), before);
    QCOMPARE(number(QString("SELECT points FROM users WHERE id = %1").arg(member)), points);
    QCOMPARE(number("SELECT status FROM recharges WHERE recharge_no = '" + seq + "'"), 0LL);
    QCOMPARE(number("SELECT COUNT(*) FROM trades t JOIN recharges r ON r.id = t.recharge_id "
                    "WHERE r.recharge_no = '" +
                    seq + "'"),
             0LL);
    // What pays it is the customer: a scanned code, or the phone scanning the QR code.
    if (payType == "NATIVE")
        QCOMPARE(scan(seq), 200);
    else
        QCOMPARE(codeOf(call("userRecharge/pay",
                             {{"tradeSeq", seq}, {"authCode", "134567890123456789"}})),
                 200);
    QCOMPARE(dataOf(call("tradePay/queryStatusBySeq", {{"seq", seq}})).value("status").toInt(), 1);
    QCOMPARE(balance(member), before + 55000);
}

void TestRechargeEndpoints::qrRechargePaidByThePhone_data()
{
    QTest::addColumn<QString>("payMethod");
    QTest::addColumn<QString>("codeStart");
    QTest::addColumn<bool>("pays");
    QTest::newRow("WeChat") << "1"
                            << "weixin://wxpay/bizpayurl?pr=" << true;
    QTest::newRow("Alipay") << "4"
                            << "https://qr.alipay.com/bax" << true;
    QTest::newRow("the wallet refuses") << "1"
                                        << "weixin://" << false;
}

void TestRechargeEndpoints::qrRechargePaidByThePhone()
{
    QFETCH(QString, payMethod);
    QFETCH(QString, codeStart);
    QFETCH(bool, pays);
    const int member = nextMember();
    const qint64 before = balance(member);
    const QString seq = createPay(member, payMethod, "NATIVE");
    QVERIFY(!seq.isEmpty());
    const QJsonObject qr = call("userRecharge/pay", {{"tradeSeq", seq}});
    QCOMPARE(codeOf(qr), 200);
    const QString codeUrl = dataOf(qr).value("codeUrl").toString();
    QVERIFY2(codeUrl.startsWith(codeStart) && codeUrl.endsWith(seq), qPrintable(codeUrl));
    QCOMPARE(dataOf(call("tradePay/queryStatusBySeq", {{"seq", seq}})).value("status").toInt(), 0);
    QCOMPARE(
        codeOf(call("userRecharge/pay", {{"tradeSeq", seq}, {"authCode", "134567890123456789"}})),
        200); // asking again for the code of a QR trade answers it again

    QCOMPARE(scan("latest", pays ? QString() : "fail"), 200);
    QCOMPARE(dataOf(call("tradePay/queryStatusBySeq", {{"seq", seq}})).value("status").toInt(),
             pays ? 1 : -1);
    QCOMPARE(balance(member), before + (pays ? 55000 : 0));
    QCOMPARE(scan(seq), 409);
    QCOMPARE(balance(member), before + (pays ? 55000 : 0));
}

// The worker closed the QR window: the customer's phone can no longer pay it; one paid just
// before is told as paid.
void TestRechargeEndpoints::closedQrRechargeCannotBePaid()
{
    const int member = nextMember();
    const qint64 before = balance(member);
    const QString seq = createPay(member, "4", "NATIVE");
    QCOMPARE(codeOf(call("userRecharge/pay", {{"tradeSeq", seq}})), 200);
    const QJsonObject closed = call("userRecharge/closePay", {{"tradeSeq", seq}});
    QCOMPARE(codeOf(closed), 200);
    QCOMPARE(dataOf(closed).value("status").toInt(), 2);
    QCOMPARE(scan(seq), 409);
    QCOMPARE(dataOf(call("tradePay/queryStatusBySeq", {{"seq", seq}})).value("status").toInt(), 2);
    QCOMPARE(balance(member), before);

    const QString paidFirst = createPay(member, "1", "NATIVE", 5000, "0");
    QCOMPARE(codeOf(call("userRecharge/pay", {{"tradeSeq", paidFirst}})), 200);
    QCOMPARE(scan(paidFirst), 200);
    QCOMPARE(
        dataOf(call("userRecharge/closePay", {{"tradeSeq", paidFirst}})).value("status").toInt(),
        1);
    QCOMPARE(balance(member), before + 5000);
    QCOMPARE(codeOf(call(store2, "userRecharge/closePay", {{"tradeSeq", paidFirst}})), 403);
}

void TestRechargeEndpoints::anotherStoreCannotPayOrFollow()
{
    const int member = nextMember();
    const qint64 before = balance(member);
    const QString seq = createPay(member, "1", "MICROPAY");
    const QJsonObject pay =
        call(store2, "userRecharge/pay", {{"tradeSeq", seq}, {"authCode", "134567890123456789"}});
    QCOMPARE(codeOf(pay), 403);
    QCOMPARE(codeOf(call(store2, "tradePay/queryStatusBySeq", {{"seq", seq}})), 403);
    QCOMPARE(codeOf(call("userRecharge/pay", {{"tradeSeq", "5999"}, {"authCode", "1"}})), 404);
    QCOMPARE(balance(member), before);
}

// Paid recharges only, newest first, by page, from every store of the merchant.
void TestRechargeEndpoints::recordsOfTheMember()
{
    const int member = 21; // a demo recharge in store 1
    QCOMPARE(
        codeOf(call(
            store2, "userRecharge/confirmRecharge",
            {{"userId", n(member)}, {"amount", "200000"}, {"remark", ""}, {"withActive", "1"}})),
        200);
    createPay(member, "1", "MICROPAY"); // waiting: not a record
    for (int i = 0; i < 10; ++i)
        QCOMPARE(codeOf(call("userRecharge/confirmRecharge", {{"userId", n(member)},
                                                              {"amount", n(100 + i)},
                                                              {"remark", ""},
                                                              {"withActive", "0"}})),
                 200);
    const qint64 total = number(
        QString("SELECT COUNT(*) FROM recharges WHERE user_id = %1 AND status = 1").arg(member));
    QVERIFY(total >= 12);
    const QJsonObject first =
        call("userRecharge/list", {{"pageNum", 1}, {"pageSize", "10"}, {"userId", n(member)}});
    QCOMPARE(codeOf(first), 200);
    const QJsonArray page1 = dataOf(first).value("list").toArray();
    QCOMPARE(page1.size(), 10);
    const QJsonObject newest = page1.at(0).toObject();
    QCOMPARE(newest.value("amount").toInt(), 109);
    QCOMPARE(newest.value("giftAmount").toInt(), 0);
    QCOMPARE(newest.value("payMethodText").toString(), QString("现金"));
    QCOMPARE(newest.value("workName").toString(), QString("张丽"));
    QCOMPARE(newest.value("paySceneText").toString(), QString("净衣坊·徐汇店"));
    QVERIFY(newest.value("tradeTime").toDouble() > 0);
    QVERIFY(!newest.value("seq").toString().isEmpty());
    const QJsonArray page2 =
        dataOf(
            call("userRecharge/list", {{"pageNum", 2}, {"pageSize", "10"}, {"userId", n(member)}}))
            .value("list")
            .toArray();
    QCOMPARE(qint64(page2.size()), total - 10);
    bool otherStore = false;
    for (const QJsonValue &v : page2)
        otherStore =
            otherStore || (v.toObject().value("paySceneText").toString() == "净衣坊·静安店" &&
                           v.toObject().value("giftAmount").toInt() == 40000);
    QVERIFY(otherStore);
}

QTEST_GUILESS_MAIN(TestRechargeEndpoints)
#include "tst_rechargeendpoints.moc"
