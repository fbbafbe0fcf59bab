#include "domain/payments.h"

#include <algorithm>
#include <vector>

#include "domain/coupons.h"
#include "domain/merchant.h"
#include "domain/numbers.h"
#include "domain/ownership.h"
#include "domain/paymeans.h"
#include "server/call.h"
#include "store/database.h"

namespace payments {

namespace {

// The group pay card's type as the terminal names it.
const char *const groupCardType = "41";

const char *const columns =
    "SELECT id, seq, order_id AS orderId, status, wallet_mode AS walletMode, "
    "auth_code AS authCode, wallet_steps AS walletSteps, wallet_result AS walletResult, "
    "to_pay AS toPay, coupon_amount AS couponAmount, balance_amount AS balanceAmount, "
    "card_amount AS cardAmount, means_amount AS meansAmount, expires_at AS expiresAt "
    "FROM payments ";

Payment read(const Query &q)
{
    Payment p;
    p.id = q.integer("id");
    p.seq = q.text("seq");
    p.orderId = q.integer("orderId");
    p.status = static_cast<int>(q.integer("status"));
    p.wallet.mode = q.text("walletMode");
    p.wallet.authCode = q.text("authCode");
    p.wallet.steps = static_cast<int>(q.integer("walletSteps"));
    p.wallet.pays = q.integer("walletResult") == tradeState::paid;
    p.wallet.expiresAt = q.integer("expiresAt");
    p.toPay = q.integer("toPay");
    p.couponAmount = q.integer("couponAmount");
    p.balanceAmount = q.integer("balanceAmount");
    p.cardAmount = q.integer("cardAmount");
    p.meansAmount = q.integer("meansAmount");
    return p;
}

// What a payment is made of before it is opened: the order, the member and every amount.
struct Parts
{
    std::int64_t orderId = 0;
    std::int64_t userId = 0;
    std::int64_t storeId = 0;
    std::int64_t workerId = 0;
    int means = payMeans::cash; // of the rest
    std::string walletMode;     // "micro", "native" or ""
    std::int64_t toPay = 0;
    std::int64_t couponId = 0;
    std::int64_t couponAmount = 0;
    std::int64_t balanceAmount = 0;
    std::int64_t cardAmount = 0;
    std::int64_t meansAmount = 0;
    std::string authCode, paySign, remark;
    int walletSteps = 0;
    bool walletPays = true;
};

// One part of a paid payment, as the order's and the member's records show it.
void trade(Connection &db, std::int64_t paymentId, int means, std::int64_t amount, std::int64_t now)
{
    db.exec("INSERT INTO trades (trade_no, kind, order_id, user_id, store_id, worker_id, "
            "pay_means, amount, status, auth_code, created_at, paid_at, payment_id, pay_sign, "
            "remark) SELECT ?, 1, order_id, user_id, store_id, worker_id, ?, ?, ?, "
            "CASE WHEN ? = means THEN auth_code ELSE '' END, created_at, ?, id, "
            "CASE WHEN ? = means THEN pay_sign ELSE '' END, remark FROM payments WHERE id = ?",
            numbers::tradeNo(db, now), means, amount, tradeState::paid, means, now, means,
            paymentId);
}

// Whether the call sent `key` with a value: the terminal leaves a field out, or sends it
// empty, when what it stands for is not used.
bool sent(const Call &call, const char *key)
{
    return call.has(key) && !(call.body[key].isString() && call.body[key].asString().empty());
}

struct Order
{
    std::int64_t id = 0;
    std::int64_t userId = 0;
    std::int64_t payable = 0; // fen, before the coupon
};

// The caller's order, when it can still be paid: not voided, not paid, not held by a wallet
// payment that is still waiting, with garments. Checked before anything else the request
// says, so a paid order always answers "订单已支付".
Order payableOrder(Call &call)
{
    const std::int64_t orderId = ownership::owned(call, ownership::records::order, "orderId");
    closeWaiting(call.db, orderId, call.now, false);
    Query q = call.db.query("SELECT user_id AS userId, payable_price AS payable, "
                            "pay_status AS payStatus, status = ? OR destroyed_at IS NOT NULL "
                            "AS voided FROM orders WHERE id = ?",
                            orderState::voided, orderId);
    q.next();
    if (q.integer("voided"))
        throw ApiError(codes::conflict, "订单已作废");
    if (q.integer("payStatus") == payState::paid)
        throw ApiError(codes::conflict, "订单已支付");
    if (held(call.db, orderId, call.now))
        throw ApiError(codes::conflict, "订单正在支付中，请稍后再试");
    // An order without garments has nothing to pay for yet; paid, it could take none.
    if (call.db.scalar(0, "SELECT COUNT(*) FROM order_products WHERE order_id = ?", orderId) == 0)
        throw ApiError(codes::conflict, "订单还没有衣物");
    Order o;
    o.id = orderId;
    o.userId = q.integer("userId");
    o.payable = q.integer("payable");
    return o;
}

bool meansEnabled(Call &call, int m)
{
    const merchant::Setting &s = m == payMeans::cash     ? merchant::settings::payCash
                                 : m == payMeans::wechat ? merchant::settings::payWechat
                                 : m == payMeans::alipay ? merchant::settings::payAlipay
                                                         : merchant::settings::payOther;
    return merchant::setting(call.db, call.mercId, s) == "1";
}

// The coupon the worker sees is the one the payment uses; without one, the order lets go of
// any it held. Whether the coupon goes with the balance.
bool applyCoupon(Call &call, const Order &order, Parts &p)
{
    const std::int64_t couponId = call.optionalInteger("cpnRelId", 0);
    if (couponId == 0) {
        coupons::release(call.db, order.id);
        return true;
    }
    ownership::check(call, ownership::records::userCoupon, couponId);
    const coupons::Coupon c = coupons::load(call.db, couponId);
    const std::string why = coupons::refusal(c, order.id, order.userId, order.payable, call.now);
    if (!why.empty())
        throw ApiError(codes::conflict, why);
    coupons::hold(call.db, order.id, c, order.payable);
    p.couponId = couponId;
    p.couponAmount = coupons::value(c, order.payable);
    return c.useBalance;
}

// The card's share, when the worker chose the card: it must be the card the worker saw.
std::int64_t cardPart(Call &call, const Order &order, std::int64_t toPay)
{
    const std::int64_t shown = call.integer("cardBalance");
    Query card = call.db.query("SELECT balance, pay_ratio AS payRatio FROM group_pay_cards "
                               "WHERE user_id = ? AND enabled = 1 AND balance > 0",
                               order.userId);
    if (!card.next())
        throw ApiError(codes::conflict, "该会员没有可用的优付卡");
    // The worker collects what the screen showed: a card balance that moved meanwhile would
    // make the card's share, and so the rest, differ from it.
    if (shown != card.integer("balance"))
        throw ApiError(codes::conflict, "优付卡余额已变动，请重新打开收款");
    return cardShare(toPay, card.integer("payRatio"), card.integer("balance"));
}

// The parts of a payment by `m` of the caller's order, from what is stored and what the
// terminal chose (cpnRelId, balance, groupCardType with cardBalance, paySign).
// `wholeFromBalance`: tradePay/balancePay, which settles everything from the balance.
Parts plan(Call &call, int m, bool wholeFromBalance)
{
    const Order order = payableOrder(call);
    Parts p;
    p.orderId = order.id;
    p.userId = order.userId;
    p.storeId = call.storeId;
    p.workerId = call.workerId;
    p.means = m;
    p.remark = call.optionalText("remark", limits::longText);
    const bool couponWithBalance = applyCoupon(call, order, p);
    p.toPay = order.payable - p.couponAmount;

    const std::int64_t memberBalance =
        call.db.scalar(0, "SELECT balance + gift_balance FROM users WHERE id = ?", order.userId);
    if (wholeFromBalance) {
        if (!couponWithBalance && p.toPay > 0)
            throw ApiError(codes::conflict, "该优惠券不能与余额同时使用");
        if (memberBalance < p.toPay)
            throw ApiError(codes::conflict, "会员余额不足");
        p.balanceAmount = p.toPay;
        return p;
    }

    const bool withBalance = sent(call, "balance");
    const std::string cardType = call.optionalText("groupCardType");
    if (!cardType.empty() && cardType != groupCardType)
        throw ApiError(codes::badRequest, "groupCardType只能为空或41");
    if (withBalance && !cardType.empty())
        throw ApiError(codes::badRequest, "余额与优付卡不能同时使用");
    if (withBalance) {
        const std::int64_t shown = call.integer("balance");
        if (shown < 0)
            throw ApiError(codes::badRequest, "balance不能为负数");
        if (!couponWithBalance)
            throw ApiError(codes::conflict, "该优惠券不能与余额同时使用");
        // The worker collects what the screen showed: a balance that moved meanwhile would
        // make the rest differ from it.
        if (shown != memberBalance)
            throw ApiError(codes::conflict, "会员余额已变动，请重新打开收款");
        p.balanceAmount =
            std::clamp<std::int64_t>(memberBalance, 0, std::max<std::int64_t>(p.toPay, 0));
    }
    if (!cardType.empty())
        p.cardAmount = cardPart(call, order, p.toPay);
    p.meansAmount = std::max<std::int64_t>(0, p.toPay - p.balanceAmount - p.cardAmount);
    if (m == payMeans::other) {
        p.paySign = call.optionalText("paySign");
        merchant::checkPaySign(call.db, call.mercId, p.paySign);
    }
    if (p.meansAmount > 0 && !meansEnabled(call, m))
        throw ApiError(codes::conflict, "商户未开通该支付方式");
    return p;
}

// Opens a waiting payment: takes its balance part (paid-in balance first, then the gift
// balance) and its card part from the member and holds the order.
Payment open(Connection &db, const Parts &parts, std::int64_t now)
{
    std::int64_t fromGift = 0;
    if (parts.balanceAmount > 0) {
        const std::int64_t paidIn =
            db.scalar(0, "SELECT balance FROM users WHERE id = ?", parts.userId);
        fromGift =
            parts.balanceAmount - std::min(parts.balanceAmount, std::max<std::int64_t>(paidIn, 0));
        db.exec("UPDATE users SET balance = balance - ?, gift_balance = gift_balance - ? "
                "WHERE id = ?",
                parts.balanceAmount - fromGift, fromGift, parts.userId);
    }
    if (parts.cardAmount > 0)
        db.exec("UPDATE group_pay_cards SET balance = balance - ? WHERE user_id = ?",
                parts.cardAmount, parts.userId);
    const std::string seq = numbers::tradeNo(db, now);
    db.query("INSERT INTO payments (seq, order_id, user_id, store_id, worker_id, means, "
             "wallet_mode, status, to_pay, coupon_id, coupon_amount, balance_amount, gift_amount, "
             "card_amount, means_amount, auth_code, pay_sign, remark, wallet_steps, "
             "wallet_result, created_at, expires_at) "
             "VALUES (?, ?, ?, ?, NULLIF(?, 0), ?, ?, ?, ?, NULLIF(?, 0), ?, ?, ?, ?, ?, ?, ?, ?, "
             "?, ?, ?, ?)")
        .bindAll(seq, parts.orderId, parts.userId, parts.storeId, parts.workerId, parts.means,
                 parts.walletMode, tradeState::waiting, parts.toPay, parts.couponId,
                 parts.couponAmount, parts.balanceAmount, fromGift, parts.cardAmount,
                 parts.meansAmount, parts.authCode, parts.paySign, parts.remark, parts.walletSteps,
                 parts.walletPays ? tradeState::paid : tradeState::failed, now, now + waitMs)
        .exec();
    const std::int64_t id = db.lastInsertId();
    db.exec("UPDATE orders SET locked = 1 WHERE id = ?", parts.orderId);
    return load(db, id);
}

int walletMeans(wallet::Kind kind)
{
    return kind == wallet::Kind::Alipay ? payMeans::alipay : payMeans::wechat;
}

// The member of the order of that id (0 for none).
std::int64_t memberOfOrder(Connection &db, std::int64_t orderId)
{
    return db.scalar(0, "SELECT user_id FROM orders WHERE id = ?", orderId);
}

} // namespace

int answer(int state)
{
    switch (state) {
    case tradeState::paid:
        return 1;
    case tradeState::failed:
        return -1;
    case tradeState::closed:
        return 2;
    default:
        return 0;
    }
}

std::int64_t cardShare(std::int64_t toPay, std::int64_t ratio, std::int64_t cardBalance)
{
    if (toPay <= 0 || ratio <= 0 || cardBalance <= 0)
        return 0;
    return std::min(cardBalance, toPay * std::min<std::int64_t>(ratio, 100) / 100);
}

Json::Value payAtOnce(Call &call, int means)
{
    const Payment opened = open(call.db, plan(call, means, means == payMeans::balance), call.now);
    complete(call.db, opened.id, call.now);
    return reply(load(call.db, opened.id));
}

Json::Value payByCode(Call &call, wallet::Kind kind)
{
    Parts parts = plan(call, walletMeans(kind), false);
    const std::string code = call.requiredText("authCode");
    wallet::checkCode(code, kind);
    if (parts.meansAmount <= 0)
        throw ApiError(codes::conflict, "无需扫码收款");
    const wallet::Decision decision = wallet::decide(code);
    if (decision.outcome == wallet::Outcome::Refused)
        throw ApiError(codes::conflict, decision.refusal);
    parts.walletMode = "micro";
    parts.authCode = code;
    parts.walletSteps = decision.steps;
    parts.walletPays = decision.pays;
    const Payment opened = open(call.db, parts, call.now);
    if (decision.outcome == wallet::Outcome::Paid)
        complete(call.db, opened.id, call.now);
    return reply(load(call.db, opened.id));
}

Json::Value payByQr(Call &call, wallet::Kind kind)
{
    Parts parts = plan(call, walletMeans(kind), false);
    if (parts.meansAmount <= 0)
        throw ApiError(codes::conflict, "无需扫码收款");
    parts.walletMode = "native";
    const Payment opened = open(call.db, parts, call.now);
    Json::Value data = reply(opened);
    data["codeUrl"] = wallet::codeUrl(kind, opened.seq);
    return data;
}

wallet::Book book(Connection &db, std::int64_t id, std::int64_t now)
{
    return {[&db, id, now] { complete(db, id, now); },
            [&db, id, now](int state) { close(db, id, state, now); },
            [&db, id] {
                db.exec("UPDATE payments SET wallet_steps = wallet_steps - 1 WHERE id = ?", id);
            }};
}

Json::Value followPayment(Call &call, const Payment &found)
{
    ownership::check(call, ownership::records::payment, found.id);
    if (found.status != tradeState::waiting)
        return reply(found);
    wallet::follow(found.wallet, call.now, book(call.db, found.id, call.now));
    return reply(load(call.db, found.id));
}

Json::Value unlock(Call &call)
{
    const std::int64_t orderId = ownership::owned(call, ownership::records::order, "orderId");
    closeWaiting(call.db, orderId, call.now, true);
    // With no payment waiting, nothing may hold the order any more.
    call.db.exec("UPDATE orders SET locked = 0 WHERE id = ?", orderId);
    Json::Value data(Json::objectValue);
    data["orderId"] = Json::Int64(orderId);
    data["payStatus"] =
        Json::Int64(call.db.scalar(0, "SELECT pay_status FROM orders WHERE id = ?", orderId));
    return data;
}

void complete(Connection &db, std::int64_t paymentId, std::int64_t now)
{
    const Payment p = load(db, paymentId);
    if (p.status != tradeState::waiting)
        throw ApiError(codes::conflict, "交易已结束");
    const int means = static_cast<int>(
        db.scalar(payMeans::cash, "SELECT means FROM payments WHERE id = ?", p.id));
    if (p.balanceAmount > 0 && means != payMeans::balance)
        trade(db, p.id, payMeans::balance, p.balanceAmount, now);
    if (p.cardAmount > 0)
        trade(db, p.id, payMeans::card, p.cardAmount, now);
    // The means always leaves a record, even of nothing left to collect.
    trade(db, p.id, means, means == payMeans::balance ? p.balanceAmount : p.meansAmount, now);
    db.exec("UPDATE user_coupons SET use_status = ?, order_id = (SELECT order_id FROM payments "
            "WHERE id = ?) WHERE id = (SELECT coupon_id FROM payments WHERE id = ?)",
            couponState::used, p.id, p.id);
    db.exec("UPDATE orders SET pay_status = ?, locked = 0, payment_price = ?, coupon_amount = ? "
            "WHERE id = ?",
            payState::paid, p.toPay, p.couponAmount, p.orderId);
    db.exec("UPDATE payments SET status = ?, finished_at = ? WHERE id = ?", tradeState::paid, now,
            p.id);
}

void close(Connection &db, std::int64_t paymentId, int state, std::int64_t now)
{
    Query q = db.query("SELECT user_id AS userId, order_id AS orderId, status, "
                       "balance_amount AS balanceAmount, gift_amount AS giftAmount, "
                       "card_amount AS cardAmount FROM payments WHERE id = ?",
                       paymentId);
    if (!q.next() || q.integer("status") != tradeState::waiting)
        return;
    const std::int64_t userId = q.integer("userId");
    const std::int64_t gift = q.integer("giftAmount");
    db.exec("UPDATE users SET balance = balance + ?, gift_balance = gift_balance + ? WHERE id = ?",
            q.integer("balanceAmount") - gift, gift, userId);
    db.exec("UPDATE group_pay_cards SET balance = balance + ? WHERE user_id = ?",
            q.integer("cardAmount"), userId);
    db.exec("UPDATE payments SET status = ?, finished_at = ? WHERE id = ?", state, now, paymentId);
    db.exec("UPDATE orders SET locked = 0 WHERE id = ?", q.integer("orderId"));
}

void closeWaiting(Connection &db, std::int64_t orderId, std::int64_t now, bool all)
{
    std::vector<std::int64_t> ids;
    {
        Query q = db.query("SELECT id FROM payments WHERE order_id = ? AND status = ? "
                           "AND (? OR expires_at <= ?)",
                           orderId, tradeState::waiting, all ? 1 : 0, now);
        while (q.next())
            ids.push_back(q.integer("id"));
    }
    for (std::int64_t id : ids)
        close(db, id, tradeState::closed, now);
}

void closeExpiredOfMember(Connection &db, std::int64_t userId, std::int64_t now)
{
    std::vector<std::int64_t> ids;
    {
        Query q = db.query("SELECT p.id FROM orders o JOIN payments p ON p.order_id = o.id "
                           "WHERE o.user_id = ? AND p.status = ? AND p.expires_at <= ?",
                           userId, tradeState::waiting, now);
        while (q.next())
            ids.push_back(q.integer("id"));
    }
    for (std::int64_t id : ids)
        close(db, id, tradeState::closed, now);
}

bool held(Connection &db, std::int64_t orderId, std::int64_t now)
{
    return db.scalar(0,
                     "SELECT COUNT(*) FROM payments WHERE order_id = ? AND status = ? "
                     "AND expires_at > ?",
                     orderId, tradeState::waiting, now) > 0;
}

Payment load(Connection &db, std::int64_t paymentId)
{
    Query q = db.query(std::string(columns) + "WHERE id = ?", paymentId);
    if (!q.next())
        throw ApiError(codes::notFound, "交易不存在");
    return read(q);
}

bool findBySeq(Connection &db, const std::string &seq, Payment &out)
{
    Query q = db.query(std::string(columns) + "WHERE seq = ?", seq);
    if (!q.next())
        return false;
    out = read(q);
    return true;
}

Json::Value reply(const Payment &p)
{
    Json::Value data(Json::objectValue);
    data["seq"] = p.seq;
    data["status"] = answer(p.status);
    data["orderId"] = Json::Int64(p.orderId);
    data["payAmount"] = Json::Int64(p.toPay);
    data["couponAmt"] = Json::Int64(p.couponAmount);
    data["balanceAmt"] = Json::Int64(p.balanceAmount);
    data["cardAmt"] = Json::Int64(p.cardAmount);
    data["amount"] = Json::Int64(p.meansAmount);
    return data;
}

Upkeep expiredOfMember(const char *memberField)
{
    return [memberField](Call &call) {
        closeExpiredOfMember(call.db, call.optionalInteger(memberField, 0), call.now);
    };
}

Upkeep expiredOfOrder(const char *orderField)
{
    return [orderField](Call &call) {
        closeExpiredOfMember(call.db, memberOfOrder(call.db, call.optionalInteger(orderField, 0)),
                             call.now);
    };
}

Upkeep expiredOfGarment(const char *garmentField)
{
    return [garmentField](Call &call) {
        const std::int64_t orderId =
            call.db.scalar(0, "SELECT order_id FROM order_products WHERE id = ?",
                           call.optionalInteger(garmentField, 0));
        closeExpiredOfMember(call.db, memberOfOrder(call.db, orderId), call.now);
    };
}

Upkeep expiredOfOrderNumber(const char *keywordsField)
{
    return [keywordsField](Call &call) {
        const std::string key = trimmed(call.optionalText(keywordsField));
        if (key.empty())
            return;
        // As stockIn/queryOrder finds the order: by its number, else by its factory waybill.
        std::int64_t orderId = call.db.scalar(0, "SELECT id FROM orders WHERE order_no = ?", key);
        if (orderId == 0)
            orderId = call.db.scalar(0, "SELECT id FROM orders WHERE factory_trans_no = ?", key);
        closeExpiredOfMember(call.db, memberOfOrder(call.db, orderId), call.now);
    };
}

} // namespace payments
