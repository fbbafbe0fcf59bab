// The reference backend's revenue reports as the revenue analysis reads them, on a backend of
// the test's own. A day at the counter is scripted through the endpoints: orders paid in cash,
// by a WeChat code, from the member balance with cash, by the group pay card with another
// means, by an Alipay code with a coupon; refunds in cash, by the original route and back to
// the balance, one left waiting; recharges with a bonus; an order on credit settled and one
// left owing; an order voided; a new member; garments handed out; a sale in the other store.
// Then each report's figures equal the sums this test makes itself from the database's rows,
// the day's events show in the figures they belong to, the breakdowns keep their positions, a
// day with nothing is zeros, the trend ends with the day or month asked, and another store's
// figures are refused.

#include <QDateTime>
#include <QJsonArray>
#include <QTest>
#include <map>
#include <utility>

#include "apibackend.h"

namespace {

// [from, to) in milliseconds, local time.
struct Span
{
    qint64 from = 0;
    qint64 to = 0;
    bool holds(qint64 t) const { return t >= from && t < to; }
};

Span dayOf(const QDate &day)
{
    return {QDateTime(day, QTime(0, 0)).toMSecsSinceEpoch(),
            QDateTime(day.addDays(1), QTime(0, 0)).toMSecsSinceEpoch()};
}

Span monthOf(const QDate &day)
{
    const QDate first(day.year(), day.month(), 1);
    return {QDateTime(first, QTime(0, 0)).toMSecsSinceEpoch(),
            QDateTime(first.addMonths(1), QTime(0, 0)).toMSecsSinceEpoch()};
}

// The records of the database the reports are made of, read row by row.
struct Trade
{
    qint64 id, kind, means;
    QString sign;
    qint64 amount, status, paidAt, orderId, storeId;
};
struct RefundPart
{
    qint64 amount, refundMeans, tradeId, auditStatus, auditedAt, storeId;
};
struct Order
{
    qint64 id, storeId, createdAt, status, destroyed, payable, credit, creditedAt;
};
struct Payment
{
    qint64 storeId, status, finishedAt, coupon;
};
struct Recharge
{
    qint64 storeId, status, paidAt, amount, gift;
};
struct Garment
{
    qint64 orderId, createdAt, handedOutAt;
};
struct Member
{
    qint64 storeId, createdAt;
};

// A column as a number; -1 for NULL.
qint64 num(const QStringList &row, int i)
{
    return row.value(i).isNull() ? -1 : row.value(i).toLongLong();
}

} // namespace

class TestReportEndpoints : public QObject, private ApiBackend
{
    Q_OBJECT

private slots:
    void initTestCase();

    void figuresEqualTheRows_data();
    void figuresEqualTheRows();
    void theDaysEventsShow();
    void breakdownsByPosition();
    void nothingIsZeros_data();
    void nothingIsZeros();
    void trendEndsWithTheOneAsked_data();
    void trendEndsWithTheOneAsked();
    void refusals_data();
    void refusals();
    void withoutAStoreTheCallersOwn();

private:
    void scriptedDay();
    QJsonObject report(const QString &path, const QString &dateType, const QString &date,
                       const WorkerSession *as = nullptr);
    QJsonValue dataAt(const QString &path, const QString &dateType, const QString &date);
    void readRows();
    QJsonObject expectedSummary(const Span &span);
    QJsonObject expectedCounts(const Span &span);
    QJsonObject expectedOrderMoney(const Span &span);
    QJsonObject expectedRechargeMoney(const Span &span);
    QJsonArray expectedPositions(const Span &span, qint64 kind);
    qint64 paidOrder(const QString &path, qint64 orderId, const QJsonObject &fields);
    void approveRefund(qint64 orderId, qint64 amount, const QString &payMethod);

    QDate day_;
    QString dayText_, monthText_;
    std::map<QString, QJsonValue> before_; // today's reports before the scripted day
    qint64 couponTaken_ = 0;
    qint64 cardTaken_ = 0;

    QList<Trade> trades_;
    QList<RefundPart> refunds_;
    QList<Order> orders_;
    QList<Payment> payments_;
    QList<Recharge> recharges_;
    QList<Garment> garments_;
    QList<Member> members_;
};

const QStringList reportPaths{"revenueSum/queryReport",     "revenueCnt/getReport",
                              "revenueOrder/getReport",     "revenueRecharge/getReport",
                              "reportTradeOrder/getReport", "reportTradeRecharge/getReport"};

void TestReportEndpoints::initTestCase()
{
    QVERIFY2(start(), qPrintable(output()));
    day_ = QDate::currentDate();
    dayText_ = day_.toString("yyyy-MM-dd");
    monthText_ = day_.toString("yyyy-MM");
    for (const QString &path : reportPaths)
        before_[path] = dataAt(path, "1", dayText_);
    scriptedDay();
    // The day's events and the reports of it must fall on the same day.
    if (QDate::currentDate() != day_)
        QSKIP("the day changed while the day at the counter was played");
    readRows();
}

QJsonObject TestReportEndpoints::report(const QString &path, const QString &dateType,
                                        const QString &date, const WorkerSession *as)
{
    return call(
        path, {{"storeId", as == &store2 ? "2" : "1"}, {"dateType", dateType}, {"date", date}}, as);
}

QJsonValue TestReportEndpoints::dataAt(const QString &path, const QString &dateType,
                                       const QString &date)
{
    const QJsonObject reply = report(path, dateType, date);
    if (codeOf(reply) != 200)
        qWarning() << path << reply;
    return reply.value("data");
}

// An order paid at once through `path` with `fields`; what its coupon took.
qint64 TestReportEndpoints::paidOrder(const QString &path, qint64 orderId,
                                      const QJsonObject &fields)
{
    QJsonObject all{{"orderId", n(orderId)}, {"remark", ""}, {"groupCardType", ""}};
    for (auto it = fields.begin(); it != fields.end(); ++it)
        all.insert(it.key(), it.value());
    const QJsonObject reply = call(path, all);
    if (codeOf(reply) != 200 || dataOf(reply).value("status").toInt() != 1)
        qWarning() << path << reply;
    cardTaken_ += whole(dataOf(reply).value("cardAmt"));
    return whole(dataOf(reply).value("couponAmt"));
}

// A refund asked for at the counter and approved by the head office.
void TestReportEndpoints::approveRefund(qint64 orderId, qint64 amount, const QString &payMethod)
{
    const QJsonObject asked = call("tradeRefund/refund", {{"orderId", n(orderId)},
                                                          {"amount", n(amount)},
                                                          {"payMethod", payMethod},
                                                          {"remark", "顾客要求"}});
    QCOMPARE(codeOf(asked), 200);
    const std::string target =
        "/audit/refund?id=" + QString::number(whole(dataOf(asked).value("id"))).toStdString();
    auto res = client().http().Post(target, "", "text/plain");
    QVERIFY(res && res->status == 200);
}

void TestReportEndpoints::scriptedDay()
{
    using Intake = ApiBackend::Intake;
    // Cash; then a refund of 15.00 in cash, and its garments handed out.
    const qint64 cash = orderWithGarments(2, {3000, 2000}, Intake::finished);
    paidOrder("tradePay/confirmPay", cash, {});
    approveRefund(cash, 1500, "2");
    QVERIFY(arrive(cash));
    QCOMPARE(codeOf(call("orderInfo/sign", {{"id", n(cash)}})), 200);
    // A WeChat code; a refund asked for and not decided yet.
    const qint64 wechat = orderWithGarments(4, {2500}, Intake::finished);
    paidOrder("tradePay/wxMicroPay", wechat, {{"authCode", "134567890123456789"}});
    QCOMPARE(
        codeOf(call(
            "tradeRefund/refund",
            {{"orderId", n(wechat)}, {"amount", "500"}, {"payMethod", "1"}, {"remark", "待审批"}})),
        200);
    // The member balance (10.00 of it) and cash; a refund of 15.00: 10.00 back to the balance,
    // 5.00 by the original route.
    QVERIFY(write("UPDATE users SET balance = 1000, gift_balance = 0 WHERE id = 7"));
    const qint64 balance = orderWithGarments(7, {3000}, Intake::finished);
    paidOrder("tradePay/confirmPay", balance, {{"balance", "1000"}});
    approveRefund(balance, 1500, "1");
    // The group pay card (half) and the merchant's bank card.
    const qint64 card = orderWithGarments(6, {6000}, Intake::finished);
    paidOrder("tradePay/otherPay", card,
              {{"groupCardType", "41"},
               {"cardBalance", n(number("SELECT balance FROM group_pay_cards WHERE user_id = 6"))},
               {"paySign", "5"}});
    // An Alipay code with a coupon of 10.00.
    const int couponHolder = int(number("SELECT user_id FROM user_coupons WHERE coupon_id = 1 "
                                        "AND use_status = 0 ORDER BY id LIMIT 1"));
    const qint64 couponId = number(QString("SELECT id FROM user_coupons WHERE coupon_id = 1 AND "
                                           "use_status = 0 AND user_id = %1 ORDER BY id LIMIT 1")
                                       .arg(couponHolder));
    const qint64 alipay = orderWithGarments(couponHolder, {5000}, Intake::finished);
    couponTaken_ = paidOrder("tradePay/aliMicroPay", alipay,
                             {{"authCode", "284567890123456712"}, {"cpnRelId", n(couponId)}});
    QCOMPARE(couponTaken_, 1000LL);
    // On credit, then settled in cash; on credit and left owing.
    const qint64 settled = orderWithGarments(11, {4000}, Intake::finished);
    QCOMPARE(codeOf(call("orderInfo/credit", {{"id", n(settled)}, {"creditRemark", "月底结"}})),
             200);
    paidOrder("tradePay/confirmPay", settled, {});
    const qint64 owing = orderWithGarments(13, {3500}, Intake::finished);
    QCOMPARE(codeOf(call("orderInfo/credit", {{"id", n(owing)}, {"creditRemark", "老客户"}})), 200);
    // Recharges: 500 in cash with 50 bonus, 1000 by Meituan with 150 bonus.
    QCOMPARE(
        codeOf(call("userRecharge/confirmRecharge",
                    {{"userId", "9"}, {"amount", "50000"}, {"withActive", "1"}, {"remark", ""}})),
        200);
    QCOMPARE(codeOf(call("userRecharge/otherRecharge", {{"userId", "10"},
                                                        {"amount", "100000"},
                                                        {"withActive", "1"},
                                                        {"paySign", "10"},
                                                        {"remark", ""}})),
             200);
    // An order voided after its intake (no endpoint voids one yet): nothing of it counts.
    const qint64 voided = orderWithGarments(15, {1200, 800}, Intake::finished);
    QVERIFY(write(QString("UPDATE orders SET status = 50, destroyed_at = %1 WHERE id = %2")
                      .arg(QDateTime::currentMSecsSinceEpoch())
                      .arg(voided)));
    // A new member.
    QCOMPARE(codeOf(call("userInfo/add", {{"name", "新客"},
                                          {"phone", "13800002222"},
                                          {"sex", "1"},
                                          {"cardId", ""},
                                          {"groupId", "-1"},
                                          {"birthday", ""}})),
             200);
    // The other store sells too.
    const QJsonObject elsewhere = call(store2, "orderInfo/add", ApiBackend::orderHeader(5));
    const qint64 other = orderIdOf(elsewhere.value("data").toString());
    QVERIFY(other > 0);
    QCOMPARE(codeOf(call(store2, "stockIn/add",
                         {{"orderId", n(other)},
                          {"mercBusinessId", "1"},
                          {"productId", "10"},
                          {"proServiceId", n(number("SELECT MIN(id) FROM product_services "
                                                    "WHERE product_id = 10"))},
                          {"chgSubtotal", "9900"}})),
             200);
    QCOMPARE(codeOf(call(store2, "tradePay/wxMicroPay",
                         {{"orderId", n(other)},
                          {"remark", ""},
                          {"groupCardType", ""},
                          {"authCode", "134567890123456711"}})),
             200);
}

void TestReportEndpoints::readRows()
{
    BackendDatabase db;
    QVERIFY(db.open(databasePath()));
    for (const QStringList &r :
         db.rows("SELECT id, kind, pay_means, pay_sign, amount, status, paid_at, "
                 "COALESCE(order_id, 0), store_id FROM trades"))
        trades_ << Trade{num(r, 0), num(r, 1), num(r, 2), r.value(3), num(r, 4),
                         num(r, 5), num(r, 6), num(r, 7), num(r, 8)};
    for (const QStringList &r :
         db.rows("SELECT r.amount, r.refund_means, r.trade_id, a.status, a.audited_at, "
                 "a.store_id FROM refunds r JOIN refund_audits a ON a.id = r.audit_id"))
        refunds_ << RefundPart{num(r, 0), num(r, 1), num(r, 2), num(r, 3), num(r, 4), num(r, 5)};
    for (const QStringList &r :
         db.rows("SELECT id, store_id, created_at, status, destroyed_at IS NOT NULL, "
                 "payable_price, credit_status, credited_at FROM orders"))
        orders_ << Order{num(r, 0), num(r, 1), num(r, 2), num(r, 3),
                         num(r, 4), num(r, 5), num(r, 6), num(r, 7)};
    for (const QStringList &r :
         db.rows("SELECT store_id, status, finished_at, coupon_amount FROM payments"))
        payments_ << Payment{num(r, 0), num(r, 1), num(r, 2), num(r, 3)};
    for (const QStringList &r :
         db.rows("SELECT store_id, status, paid_at, amount, gift_amount FROM recharges"))
        recharges_ << Recharge{num(r, 0), num(r, 1), num(r, 2), num(r, 3), num(r, 4)};
    for (const QStringList &r :
         db.rows("SELECT order_id, created_at, handed_out_at FROM order_products"))
        garments_ << Garment{num(r, 0), num(r, 1), num(r, 2)};
    for (const QStringList &r : db.rows("SELECT store_id, created_at FROM users"))
        members_ << Member{num(r, 0), num(r, 1)};
}

// ---- what the reports should say, from the rows ------------------------------------------
// Store 1's; a paid trade has status 1, an approved refund 1, a voided order 50, an order on
// credit credit_status 1, the member balance is means 4, a refund back to it means 3.

QJsonObject TestReportEndpoints::expectedSummary(const Span &span)
{
    std::map<std::pair<qint64, QString>, qint64> byMeans;
    std::map<qint64, Trade> tradeById;
    for (const Trade &t : trades_) {
        tradeById[t.id] = t;
        if (t.storeId == 1 && t.status == 1 && span.holds(t.paidAt) && t.means != 4)
            byMeans[{t.means, t.sign}] += t.amount;
    }
    for (const RefundPart &r : refunds_) {
        const Trade &t = tradeById[r.tradeId];
        if (r.storeId != 1 || r.auditStatus != 1 || !span.holds(r.auditedAt) ||
            r.refundMeans == 3 || t.means == 4)
            continue;
        // Cash goes back in cash; the original route by the trade's means.
        if (r.refundMeans == 2)
            byMeans[{1, QString()}] -= r.amount;
        else
            byMeans[{t.means, t.sign}] -= r.amount;
    }
    const std::map<std::pair<qint64, QString>, QString> names{
        {{1, ""}, "现金"},    {{2, ""}, "微信"},   {{3, ""}, "支付宝"},    {{8, ""}, "优付卡"},
        {{9, "5"}, "银行卡"}, {{9, "10"}, "美团"}, {{9, "11"}, "大众点评"}};
    QJsonArray list;
    qint64 total = 0;
    for (const auto &[means, amount] : byMeans) {
        if (amount == 0)
            continue;
        list.append(QJsonObject{
            {"payMethod", means.first}, {"payMethodText", names.at(means)}, {"amount", amount}});
        total += amount;
    }
    return {{"totalAmt", total}, {"payList", list}};
}

QJsonObject TestReportEndpoints::expectedCounts(const Span &span)
{
    std::map<qint64, Order> orderById;
    qint64 orderCnt = 0, userCnt = 0, takeProCnt = 0, sendProCnt = 0, rechargeCnt = 0;
    for (const Order &o : orders_) {
        orderById[o.id] = o;
        orderCnt += o.storeId == 1 && span.holds(o.createdAt) && o.status != 50 && !o.destroyed;
    }
    for (const Member &m : members_)
        userCnt += m.storeId == 1 && span.holds(m.createdAt);
    for (const Garment &g : garments_) {
        const Order &o = orderById[g.orderId];
        if (o.storeId != 1)
            continue;
        takeProCnt += span.holds(g.createdAt) && o.status != 50 && !o.destroyed;
        sendProCnt += span.holds(g.handedOutAt);
    }
    for (const Recharge &r : recharges_)
        rechargeCnt += r.storeId == 1 && r.status == 1 && span.holds(r.paidAt);
    return {{"orderCnt", orderCnt},
            {"userCnt", userCnt},
            {"takeProCnt", takeProCnt},
            {"sendProCnt", sendProCnt},
            {"rechargeCnt", rechargeCnt}};
}

QJsonObject TestReportEndpoints::expectedOrderMoney(const Span &span)
{
    std::map<qint64, Order> orderById;
    for (const Order &o : orders_)
        orderById[o.id] = o;
    qint64 orderAmt = 0, couponAmt = 0, total = 0, debtPaid = 0, owed = 0, refunded = 0,
           toBalance = 0;
    for (const Order &o : orders_) {
        if (o.storeId != 1 || o.status == 50 || o.destroyed)
            continue;
        if (span.holds(o.createdAt))
            orderAmt += o.payable;
        if (o.creditedAt < 0 || !span.holds(o.creditedAt))
            continue;
        bool paidByTheEnd = false;
        for (const Trade &t : trades_)
            paidByTheEnd |= t.orderId == o.id && t.kind == 1 && t.status == 1 && t.paidAt < span.to;
        if (!paidByTheEnd)
            owed += o.payable;
    }
    for (const Payment &p : payments_)
        if (p.storeId == 1 && p.status == 1 && span.holds(p.finishedAt))
            couponAmt += p.coupon;
    for (const Trade &t : trades_) {
        if (t.storeId != 1 || t.kind != 1 || t.status != 1 || !span.holds(t.paidAt))
            continue;
        total += t.amount;
        if (orderById[t.orderId].credit == 1)
            debtPaid += t.amount;
    }
    for (const RefundPart &r : refunds_) {
        if (r.storeId != 1 || r.auditStatus != 1 || !span.holds(r.auditedAt))
            continue;
        refunded += r.amount;
        if (r.refundMeans == 3)
            toBalance += r.amount;
    }
    return {{"orderAmt", orderAmt},           {"couponAmt", couponAmt},
            {"refundAmt", refunded},          {"unpaidDebtAmt", owed},
            {"paymentAmt", total - debtPaid}, {"paidDebtAmt", debtPaid},
            {"refBalanceAmt", toBalance},     {"totalAmt", total},
            {"actualAmt", total - refunded}};
}

QJsonObject TestReportEndpoints::expectedRechargeMoney(const Span &span)
{
    qint64 amount = 0, gift = 0;
    for (const Recharge &r : recharges_)
        if (r.storeId == 1 && r.status == 1 && span.holds(r.paidAt)) {
            amount += r.amount;
            gift += r.gift;
        }
    return {{"totalAmt", amount + gift},
            {"giftAmt", gift},
            {"amount", amount},
            {"refundAmt", 0},
            {"actualAmt", amount}};
}

// Order payments: WeChat, cash, balance, Alipay, group pay card, the rest. Recharges: WeChat,
// cash, Alipay, two means this system has not, the rest.
QJsonArray TestReportEndpoints::expectedPositions(const Span &span, qint64 kind)
{
    const QList<qint64> means = kind == 1 ? QList<qint64>{2, 1, 4, 3, 8} : QList<qint64>{2, 1, 3};
    const QStringList texts = kind == 1 ? QStringList{"微信支付",   "现金支付",   "余额支付",
                                                      "支付宝支付", "优付卡支付", "其他支付"}
                                        : QStringList{"微信支付",   "现金支付",     "支付宝支付",
                                                      "充值卡支付", "绑卡充值支付", "其他支付"};
    QVector<qint64> amounts(6, 0);
    for (const Trade &t : trades_)
        if (t.storeId == 1 && t.kind == kind && t.status == 1 && span.holds(t.paidAt))
            amounts[means.contains(t.means) ? means.indexOf(t.means) : 5] += t.amount;
    QJsonArray list;
    for (int i = 0; i < 6; ++i)
        list.append(QJsonObject{{"payMethodText", texts[i]}, {"payAmount", amounts[i]}});
    return list;
}

// ---- the tests ------------------------------------------------------------------------

void TestReportEndpoints::figuresEqualTheRows_data()
{
    QTest::addColumn<QString>("dateType");
    QTest::newRow("the day") << "1";
    QTest::newRow("the month") << "2";
}

void TestReportEndpoints::figuresEqualTheRows()
{
    QFETCH(QString, dateType);
    const bool monthly = dateType == "2";
    const Span span = monthly ? monthOf(day_) : dayOf(day_);
    const QString date = monthly ? monthText_ : dayText_;
    QCOMPARE(dataAt("revenueSum/queryReport", dateType, date).toObject(), expectedSummary(span));
    QCOMPARE(dataAt("revenueCnt/getReport", dateType, date).toObject(), expectedCounts(span));
    QCOMPARE(dataAt("revenueOrder/getReport", dateType, date).toObject(), expectedOrderMoney(span));
    QCOMPARE(dataAt("revenueRecharge/getReport", dateType, date).toObject(),
             expectedRechargeMoney(span));
    QCOMPARE(dataAt("reportTradeOrder/getReport", dateType, date).toArray(),
             expectedPositions(span, 1));
    QCOMPARE(dataAt("reportTradeRecharge/getReport", dateType, date).toArray(),
             expectedPositions(span, 2));
}

// What the scripted day added to the day's figures, event by event.
void TestReportEndpoints::theDaysEventsShow()
{
    auto added = [&](const QString &path, const QString &field) {
        const QJsonObject now = dataAt(path, "1", dayText_).toObject();
        return whole(now.value(field)) - whole(before_[path].toObject().value(field));
    };
    QCOMPARE(added("revenueCnt/getReport", "orderCnt"), 7LL);
    QCOMPARE(added("revenueCnt/getReport", "takeProCnt"), 8LL);
    QCOMPARE(added("revenueCnt/getReport", "sendProCnt"), 2LL);
    QCOMPARE(added("revenueCnt/getReport", "userCnt"), 1LL);
    QCOMPARE(added("revenueCnt/getReport", "rechargeCnt"), 2LL);
    QCOMPARE(added("revenueOrder/getReport", "orderAmt"),
             5000LL + 2500 + 3000 + 6000 + 5000 + 4000 + 3500);
    QCOMPARE(added("revenueOrder/getReport", "couponAmt"), 1000LL);
    QCOMPARE(added("revenueOrder/getReport", "totalAmt"),
             5000LL + 2500 + 3000 + 6000 + 4000 + 4000);
    QCOMPARE(added("revenueOrder/getReport", "paidDebtAmt"), 4000LL);
    QCOMPARE(added("revenueOrder/getReport", "unpaidDebtAmt"), 3500LL);
    QCOMPARE(added("revenueOrder/getReport", "refundAmt"), 3000LL);
    QCOMPARE(added("revenueOrder/getReport", "refBalanceAmt"), 1000LL);
    QCOMPARE(added("revenueRecharge/getReport", "amount"), 150000LL);
    QCOMPARE(added("revenueRecharge/getReport", "giftAmt"), 20000LL);
    // In the drawer: cash 50.00 + 20.00 + 40.00 + 500.00 less 15.00 and 5.00 given back; the
    // balance part is no takings, and what went back to it leaves nothing.
    QCOMPARE(added("revenueSum/queryReport", "totalAmt"),
             (5000LL + 2000 + 4000 + 50000 - 1500 - 500) + 2500 + cardTaken_ + (6000 - cardTaken_) +
                 4000 + 100000);

    auto addedAt = [&](const QString &path, int position) {
        const QJsonArray now = dataAt(path, "1", dayText_).toArray();
        return whole(now.at(position).toObject().value("payAmount")) -
               whole(before_[path].toArray().at(position).toObject().value("payAmount"));
    };
    const QList<qint64> orderPayments{2500, 5000 + 2000 + 4000, 1000,
                                      4000, cardTaken_,         6000 - cardTaken_};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(addedAt("reportTradeOrder/getReport", i), orderPayments[i]);
    const QList<qint64> recharges{0, 50000, 0, 0, 0, 100000};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(addedAt("reportTradeRecharge/getReport", i), recharges[i]);
}

void TestReportEndpoints::breakdownsByPosition()
{
    for (const QString &path :
         {QString("reportTradeOrder/getReport"), QString("reportTradeRecharge/getReport")}) {
        const QJsonArray list = dataAt(path, "2", monthText_).toArray();
        QCOMPARE(list.size(), 6);
        for (const QJsonValue &entry : list)
            QVERIFY(entry.toObject().value("payAmount").isDouble());
    }
    const QJsonArray orders = dataAt("reportTradeOrder/getReport", "1", dayText_).toArray();
    QCOMPARE(orders.at(2).toObject().value("payMethodText").toString(), QString("余额支付"));
    QCOMPARE(orders.at(4).toObject().value("payMethodText").toString(), QString("优付卡支付"));
    const QJsonArray recharges = dataAt("reportTradeRecharge/getReport", "1", dayText_).toArray();
    QCOMPARE(recharges.at(2).toObject().value("payMethodText").toString(), QString("支付宝支付"));
    QCOMPARE(recharges.at(3).toObject().value("payMethodText").toString(), QString("充值卡支付"));
}

void TestReportEndpoints::nothingIsZeros_data()
{
    QTest::addColumn<QString>("dateType");
    QTest::addColumn<QString>("date");
    QTest::newRow("a day long ago") << "1"
                                    << "2019-03-01";
    QTest::newRow("a month long ago") << "2"
                                      << "2019-03";
    QTest::newRow("a day to come") << "1" << day_.addYears(1).toString("yyyy-MM-dd");
}

void TestReportEndpoints::nothingIsZeros()
{
    QFETCH(QString, dateType);
    QFETCH(QString, date);
    const QJsonObject sum = dataAt("revenueSum/queryReport", dateType, date).toObject();
    QCOMPARE(sum, (QJsonObject{{"totalAmt", 0}, {"payList", QJsonArray()}}));
    for (const QString &path : {QString("revenueCnt/getReport"), QString("revenueOrder/getReport"),
                                QString("revenueRecharge/getReport")}) {
        const QJsonObject figures = dataAt(path, dateType, date).toObject();
        QVERIFY(!figures.isEmpty());
        for (const QJsonValue &v : figures)
            QCOMPARE(v.toDouble(-1), 0.0);
    }
    for (const QString &path :
         {QString("reportTradeOrder/getReport"), QString("reportTradeRecharge/getReport")}) {
        const QJsonArray list = dataAt(path, dateType, date).toArray();
        QCOMPARE(list.size(), 6);
        for (const QJsonValue &entry : list)
            QCOMPARE(entry.toObject().value("payAmount").toDouble(-1), 0.0);
    }
}

void TestReportEndpoints::trendEndsWithTheOneAsked_data()
{
    QTest::addColumn<QString>("dateType");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("first");
    QTest::addColumn<int>("count");
    QTest::newRow("30 days") << "1" << dayText_ << day_.addDays(-29).toString("yyyy-MM-dd") << 30;
    QTest::newRow("12 months") << "2" << monthText_ << day_.addMonths(-11).toString("yyyy-MM")
                               << 12;
    QTest::newRow("over a month's end") << "1"
                                        << "2019-03-01"
                                        << "2019-01-31" << 30;
    QTest::newRow("over a year's end") << "2"
                                       << "2019-03"
                                       << "2018-04" << 12;
}

// Each step is the takings of its day or month: the last one, the summary's total.
void TestReportEndpoints::trendEndsWithTheOneAsked()
{
    QFETCH(QString, dateType);
    QFETCH(QString, date);
    QFETCH(QString, first);
    QFETCH(int, count);
    const QJsonArray list =
        dataAt("revenueSum/trend", dateType, date).toObject().value("list").toArray();
    QCOMPARE(list.size(), count);
    QCOMPARE(list.first().toObject().value("date").toString(), first);
    const QJsonObject last = list.last().toObject();
    QCOMPARE(last.value("date").toString(), date);
    QCOMPARE(last.value("amount"),
             dataAt("revenueSum/queryReport", dateType, date).toObject().value("totalAmt"));
    const QJsonObject before = list.at(count - 2).toObject();
    QCOMPARE(before.value("amount"),
             dataAt("revenueSum/queryReport", dateType, before.value("date").toString())
                 .toObject()
                 .value("totalAmt"));
}

void TestReportEndpoints::refusals_data()
{
    QTest::addColumn<QJsonObject>("fields");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("msg");
    const QJsonObject day{{"storeId", "1"}, {"dateType", "1"}, {"date", "2019-03-01"}};
    auto with = [&](const QString &key, const QString &value) {
        QJsonObject f = day;
        f.insert(key, value);
        return f;
    };
    QTest::newRow("another store's") << with("storeId", "2") << 403 << "非此门店";
    QTest::newRow("no such store") << with("storeId", "99") << 404 << "门店不存在";
    QTest::newRow("not a store") << with("storeId", "x") << 400 << "参数类型错误: storeId";
    QTest::newRow("another kind") << with("dateType", "3") << 400 << "参数取值错误: dateType";
    QTest::newRow("a day written short") << with("date", "2019-3-1") << 400 << "日期格式错误: date";
    QTest::newRow("a month for a day") << with("date", "2019-03") << 400 << "日期格式错误: date";
    QJsonObject month = with("dateType", "2");
    QTest::newRow("a day for a month") << month << 400 << "月份格式错误: date";
}

void TestReportEndpoints::refusals()
{
    QFETCH(QJsonObject, fields);
    QFETCH(int, code);
    QFETCH(QString, msg);
    for (const QString &path : reportPaths + QStringList{"revenueSum/trend"}) {
        const QJsonObject reply = call(path, fields);
        QCOMPARE(codeOf(reply), code);
        if (!msg.isEmpty())
            QCOMPARE(reply.value("msg").toString(), msg);
        QVERIFY(!reply.contains("data"));
    }
    // Store 2's worker reads store 2's figures.
    QCOMPARE(codeOf(report("revenueSum/queryReport", "1", "2019-03-01", &store2)), 200);
}

// A terminal signed in by card at start-up knows no store id: its reports are its own store's.
void TestReportEndpoints::withoutAStoreTheCallersOwn()
{
    for (const QString &path : reportPaths) {
        const QJsonObject own =
            call(path, {{"storeId", ""}, {"dateType", "1"}, {"date", dayText_}});
        QCOMPARE(codeOf(own), 200);
        QCOMPARE(own.value("data"), dataAt(path, "1", dayText_));
        const QJsonObject other =
            call(store2, path, {{"storeId", ""}, {"dateType", "1"}, {"date", dayText_}});
        QCOMPARE(other.value("data"), report(path, "1", dayText_, &store2).value("data"));
    }
    QVERIFY(dataAt("revenueSum/queryReport", "1", dayText_) !=
            report("revenueSum/queryReport", "1", dayText_, &store2).value("data"));
}

QTEST_GUILESS_MAIN(TestReportEndpoints)
#include "tst_reportendpoints.moc"
