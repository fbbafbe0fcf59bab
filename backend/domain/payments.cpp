#include "domain/payments.h"

#include <algorithm>
#include <vector>

#include "domain/numbers.h"
#include "domain/paymeans.h"
#include "server/registry.h"
#include "store/database.h"

namespace payments {

namespace {

const char *const columns =
    "SELECT id, seq, order_id AS orderId, status, wallet_mode AS walletMode, "
    "wallet_steps AS walletSteps, wallet_result AS walletResult, to_pay AS toPay, "
    "coupon_amount AS couponAmount, balance_amount AS balanceAmount, card_amount AS cardAmount, "
    "means_amount AS meansAmount, expires_at AS expiresAt FROM payments ";

Payment read(const Query &q)
{
    Payment p;
    p.id = q.integer("id");
    p.seq = q.text("seq");
    p.orderId = q.integer("orderId");
    p.status = static_cast<int>(q.integer("status"));
    p.walletMode = q.text("walletMode");
    p.walletSteps = static_cast<int>(q.integer("walletSteps"));
    p.walletPays = q.integer("walletResult") == paid;
    p.toPay = q.integer("toPay");
    p.couponAmount = q.integer("couponAmount");
    p.balanceAmount = q.integer("balanceAmount");
    p.cardAmount = q.integer("cardAmount");
    p.meansAmount = q.integer("meansAmount");
    p.expiresAt = q.integer("expiresAt");
    return p;
}

// One part of a paid payment, as the order's and the member's records show it.
void trade(Connection &db, std::int64_t paymentId, int means, std::int64_t amount, std::int64_t now)
{
    db.exec("INSERT INTO trades (trade_no, kind, order_id, user_id, store_id, worker_id, "
            "pay_means, amount, status, auth_code, created_at, paid_at, payment_id, pay_sign, "
            "remark) SELECT ?, 1, order_id, user_id, store_id, worker_id, ?, ?, 1, "
            "CASE WHEN ? = means THEN auth_code ELSE '' END, created_at, ?, id, "
            "CASE WHEN ? = means THEN pay_sign ELSE '' END, remark FROM payments WHERE id = ?",
            numbers::tradeNo(db, now), means, amount, means, now, means, paymentId);
}

} // namespace

int answer(int status)
{
    switch (status) {
    case paid:
        return 1;
    case failed:
        return -1;
    case closed:
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
             "VALUES (?, ?, ?, ?, NULLIF(?, 0), ?, ?, 0, ?, NULLIF(?, 0), ?, ?, ?, ?, ?, ?, ?, ?, "
             "?, ?, ?, ?)")
        .bindAll(seq, parts.orderId, parts.userId, parts.storeId, parts.workerId, parts.means,
                 parts.walletMode, parts.toPay, parts.couponId, parts.couponAmount,
                 parts.balanceAmount, fromGift, parts.cardAmount, parts.meansAmount, parts.authCode,
                 parts.paySign, parts.remark, parts.walletSteps,
                 parts.walletPays ? int(paid) : int(failed), now, now + waitMs)
        .exec();
    const std::int64_t id = db.lastInsertId();
    db.exec("UPDATE orders SET locked = 1 WHERE id = ?", parts.orderId);
    return load(db, id);
}

void complete(Connection &db, std::int64_t paymentId, std::int64_t now)
{
    const Payment p = load(db, paymentId);
    if (p.status != waiting)
        throw ApiError(codes::conflict, "交易已结束");
    const int means =
        static_cast<int>(db.scalar(1, "SELECT means FROM payments WHERE id = ?", p.id));
    if (p.balanceAmount > 0 && means != payMeans::balance)
        trade(db, p.id, payMeans::balance, p.balanceAmount, now);
    if (p.cardAmount > 0)
        trade(db, p.id, payMeans::card, p.cardAmount, now);
    // The means always leaves a record, even of nothing left to collect.
    trade(db, p.id, means, means == payMeans::balance ? p.balanceAmount : p.meansAmount, now);
    db.exec("UPDATE user_coupons SET use_status = 2, order_id = (SELECT order_id FROM payments "
            "WHERE id = ?) WHERE id = (SELECT coupon_id FROM payments WHERE id = ?)",
            p.id, p.id);
    db.exec("UPDATE orders SET pay_status = 1, locked = 0, payment_price = ?, coupon_amount = ? "
            "WHERE id = ?",
            p.toPay, p.couponAmount, p.orderId);
    db.exec("UPDATE payments SET status = 1, finished_at = ? WHERE id = ?", now, p.id);
}

void close(Connection &db, std::int64_t paymentId, Status status, std::int64_t now)
{
    Query q = db.query("SELECT user_id AS userId, order_id AS orderId, status, "
                       "balance_amount AS balanceAmount, gift_amount AS giftAmount, "
                       "card_amount AS cardAmount FROM payments WHERE id = ?",
                       paymentId);
    if (!q.next() || q.integer("status") != waiting)
        return;
    const std::int64_t userId = q.integer("userId");
    const std::int64_t gift = q.integer("giftAmount");
    db.exec("UPDATE users SET balance = balance + ?, gift_balance = gift_balance + ? WHERE id = ?",
            q.integer("balanceAmount") - gift, gift, userId);
    db.exec("UPDATE group_pay_cards SET balance = balance + ? WHERE user_id = ?",
            q.integer("cardAmount"), userId);
    db.exec("UPDATE payments SET status = ?, finished_at = ? WHERE id = ?",
            static_cast<int>(status), now, paymentId);
    db.exec("UPDATE orders SET locked = 0 WHERE id = ?", q.integer("orderId"));
}

void closeWaiting(Connection &db, std::int64_t orderId, std::int64_t now, bool all)
{
    std::vector<std::int64_t> ids;
    {
        Query q = db.query("SELECT id FROM payments WHERE order_id = ? AND status = 0 "
                           "AND (? OR expires_at <= ?)",
                           orderId, all ? 1 : 0, now);
        while (q.next())
            ids.push_back(q.integer("id"));
    }
    for (std::int64_t id : ids)
        close(db, id, closed, now);
}

bool held(Connection &db, std::int64_t orderId, std::int64_t now)
{
    return db.scalar(0,
                     "SELECT COUNT(*) FROM payments WHERE order_id = ? AND status = 0 "
                     "AND expires_at > ?",
                     orderId, now) > 0;
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

} // namespace payments
