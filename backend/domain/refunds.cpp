#include "domain/refunds.h"

#include <algorithm>

#include "domain/garments.h"
#include "domain/numbers.h"
#include "domain/ownership.h"
#include "domain/paymeans.h"
#include "domain/pickup.h"
#include "domain/states.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace refunds {

namespace {

// Money asked back or given back from a trade: requests waiting and approved (bound as the
// first two values).
const char *const heldOnTrade = "(SELECT COALESCE(SUM(r.amount), 0) FROM refunds r "
                                "WHERE r.trade_id = t.id AND r.status IN (?, ?))";

void addPart(Connection &db, std::int64_t auditId, const Request &r, std::int64_t tradeId,
             int means, std::int64_t amount, std::int64_t now)
{
    db.exec("INSERT INTO refunds (order_id, trade_id, store_id, worker_id, refund_means, amount, "
            "reason, status, created_at, audit_id, seq) VALUES (?, ?, ?, NULLIF(?, 0), ?, ?, ?, ?, "
            "?, ?, ?)",
            r.orderId, tradeId, r.storeId, r.workerId, means, amount, r.reason,
            refundState::waiting, now, auditId, numbers::tradeNo(db, now));
}

// The member's balance gets a balance part back: what the payment took from the paid-in
// balance first, the gift balance after it.
void backToBalance(Connection &db, std::int64_t refundId, std::int64_t tradeId, std::int64_t userId,
                   std::int64_t amount)
{
    const std::int64_t paidIn =
        db.scalar(0,
                  "SELECT COALESCE((SELECT p.balance_amount - p.gift_amount FROM payments p "
                  "WHERE p.id = t.payment_id), t.amount) FROM trades t WHERE t.id = ?",
                  tradeId);
    const std::int64_t paidInBack =
        db.scalar(0,
                  "SELECT COALESCE(SUM(amount - gift_amount), 0) FROM refunds "
                  "WHERE trade_id = ? AND status = ? AND id <> ?",
                  tradeId, refundState::approved, refundId);
    const std::int64_t toPaidIn = std::min(amount, std::max<std::int64_t>(paidIn - paidInBack, 0));
    const std::int64_t toGift = amount - toPaidIn;
    db.exec("UPDATE users SET balance = balance + ?, gift_balance = gift_balance + ? WHERE id = ?",
            toPaidIn, toGift, userId);
    db.exec("UPDATE refunds SET gift_amount = ? WHERE id = ?", toGift, refundId);
}

// Gives one approved part back by its means. Cash and wallets go back outside these books.
void giveBack(Connection &db, std::int64_t refundId, std::int64_t userId)
{
    Query q = db.query("SELECT r.trade_id AS tradeId, r.refund_means AS means, r.amount, "
                       "t.pay_means AS paidBy FROM refunds r JOIN trades t ON t.id = r.trade_id "
                       "WHERE r.id = ?",
                       refundId);
    if (!q.next())
        return;
    const std::int64_t amount = q.integer("amount");
    const int paidBy = static_cast<int>(q.integer("paidBy"));
    const int means = static_cast<int>(q.integer("means"));
    if (paidBy == payMeans::balance)
        backToBalance(db, refundId, q.integer("tradeId"), userId, amount);
    else if (means == toBalance)
        db.exec("UPDATE users SET balance = balance + ? WHERE id = ?", amount, userId);
    else if (paidBy == payMeans::card && means == originalRoute)
        db.exec("UPDATE group_pay_cards SET balance = balance + ? WHERE user_id = ?", amount,
                userId);
}

} // namespace

std::vector<PaidPart> paidParts(Connection &db, std::int64_t orderId)
{
    std::vector<PaidPart> parts;
    Query q = db.query(std::string("SELECT t.id, t.pay_means AS means, t.amount, t.amount - ") +
                           heldOnTrade +
                           " AS refundable FROM trades t WHERE t.order_id = ? AND t.kind = 1 "
                           "AND t.status = ? AND t.amount > 0 ORDER BY t.id DESC",
                       refundState::waiting, refundState::approved, orderId, tradeState::paid);
    while (q.next()) {
        PaidPart p;
        p.tradeId = q.integer("id");
        p.means = static_cast<int>(q.integer("means"));
        p.amount = q.integer("amount");
        p.refundable = std::max<std::int64_t>(q.integer("refundable"), 0);
        parts.push_back(p);
    }
    return parts;
}

std::int64_t refundable(Connection &db, std::int64_t orderId)
{
    std::int64_t total = 0;
    for (const PaidPart &p : paidParts(db, orderId))
        total += p.refundable;
    return total;
}

Split split(const std::vector<PaidPart> &parts, std::int64_t amount)
{
    Split s;
    for (const PaidPart &p : parts)
        if (p.means == payMeans::balance)
            s.toBalance += std::min(p.refundable, amount - s.toBalance);
    s.toMeans = amount - s.toBalance;
    return s;
}

Json::Value request(Connection &db, const Request &r, std::int64_t now)
{
    const std::vector<PaidPart> parts = paidParts(db, r.orderId);
    const bool newTotal =
        r.kind == wash && r.amount >= 0 &&
        db.scalar(0, "SELECT pay_status FROM orders WHERE id = ?", r.orderId) == payState::unpaid;
    if (!newTotal) {
        std::int64_t available = 0;
        for (const PaidPart &p : parts)
            available += p.refundable;
        if (r.amount > available)
            throw ApiError(codes::conflict, "超出可退款金额");
        if (split(parts, r.amount).toMeans > 0 && r.payMethod == 0)
            throw ApiError(codes::badRequest, "请选择退款方式");
    } else if (r.amount >
               db.scalar(0, "SELECT payable_price FROM orders WHERE id = ?", r.orderId)) {
        throw ApiError(codes::conflict, "修改后金额不能高于订单金额");
    }

    const std::string seq = numbers::tradeNo(db, now);
    db.query(
          "INSERT INTO refund_audits (order_id, kind, status, amount, reason, worker_id, "
          "created_at, seq, pay_method, store_id) VALUES (?, ?, ?, ?, ?, NULLIF(?, 0), ?, ?, ?, ?)")
        .bindAll(r.orderId, static_cast<int>(r.kind), refundState::waiting, newTotal ? 0 : r.amount,
                 r.reason, r.workerId, now, seq, r.payMethod, r.storeId)
        .exec();
    const std::int64_t auditId = db.lastInsertId();
    if (newTotal)
        db.exec("UPDATE refund_audits SET new_total = ? WHERE id = ?", r.amount, auditId);
    for (std::int64_t garment : r.garments)
        db.exec("INSERT INTO refund_audit_products (audit_id, order_product_id) VALUES (?, ?)",
                auditId, garment);

    // The balance trades give back first, then the others, newest first.
    std::int64_t left = newTotal ? 0 : r.amount;
    for (int pass = 0; pass < 2 && left > 0; ++pass)
        for (const PaidPart &p : parts) {
            if ((p.means == payMeans::balance) != (pass == 0) || p.refundable <= 0 || left <= 0)
                continue;
            const std::int64_t take = std::min(left, p.refundable);
            addPart(db, auditId, r, p.tradeId, pass == 0 ? toBalance : r.payMethod, take, now);
            left -= take;
        }

    Json::Value data(Json::objectValue);
    data["id"] = Json::Int64(auditId);
    data["seq"] = seq;
    return data;
}

Json::Value ask(Call &call, Kind kind)
{
    Request r;
    r.kind = kind;
    r.orderId = ownership::owned(call, ownership::records::order, "orderId");
    r.storeId = call.storeId;
    r.workerId = call.workerId;
    r.amount = call.integer("amount");
    if (r.amount < 0)
        throw ApiError(codes::badRequest, "金额错误");
    r.payMethod = call.optionalText("payMethod").empty()
                      ? 0
                      : static_cast<int>(call.oneOf("payMethod", {originalRoute, cash, toBalance}));
    r.reason = trimmed(call.requiredText("remark", limits::longText));
    if (r.reason.empty())
        throw ApiError(codes::badRequest, "请输入原因");

    const pickup::OrderState o = pickup::loadOrder(call.db, r.orderId, call.now);
    if (o.voided)
        throw ApiError(codes::conflict, "订单已作废");
    if (o.status == orderState::completed)
        throw ApiError(codes::conflict, "订单已完成");
    if (o.locked)
        throw ApiError(codes::conflict, "订单正在支付中，请稍后再试");
    if (kind == money) {
        if (!o.paid)
            throw ApiError(codes::conflict, "订单未支付，不能退款");
        if (r.amount == 0)
            throw ApiError(codes::badRequest, "请输入退款金额");
        return request(call.db, r, call.now);
    }

    r.garments = garments::chosen(call, "orderProIds");
    const std::vector<pickup::GarmentState> states = pickup::loadGarments(call.db, r.orderId);
    for (std::int64_t id : r.garments) {
        ownership::check(call, ownership::records::garment, id);
        const pickup::GarmentState *found = nullptr;
        for (const pickup::GarmentState &g : states)
            if (g.id == id)
                found = &g;
        if (!found)
            throw ApiError(codes::conflict, "衣物不属于该订单");
        if (!pickup::mayRefundWash(o, *found))
            throw ApiError(codes::conflict, (found->hasRefund     ? "衣物已退洗: "
                                             : found->washPending ? "衣物退洗审核中: "
                                                                  : "衣物不能退洗: ") +
                                                found->scanCode);
    }
    return request(call.db, r, call.now);
}

void decide(Connection &db, std::int64_t auditId, bool approve, std::int64_t now)
{
    Query a = db.query("SELECT a.order_id AS orderId, a.kind, a.status, a.new_total AS newTotal, "
                       "o.user_id AS userId, o.pay_status AS payStatus FROM refund_audits a "
                       "JOIN orders o ON o.id = a.order_id WHERE a.id = ?",
                       auditId);
    if (!a.next())
        throw ApiError(codes::notFound, "退款申请不存在");
    if (a.integer("status") != refundState::waiting)
        throw ApiError(codes::conflict, "退款申请已审核");
    const std::int64_t orderId = a.integer("orderId");
    const std::int64_t userId = a.integer("userId");
    const bool newTotal = !a.isNull("newTotal");
    const std::int64_t total = newTotal ? a.integer("newTotal") : 0;
    const bool wash = a.integer("kind") == refunds::wash;
    if (approve && newTotal && a.integer("payStatus") == payState::paid)
        throw ApiError(codes::conflict, "订单已支付，请重新申请退洗");

    const int decided = approve ? refundState::approved : refundState::refused;
    db.exec("UPDATE refund_audits SET status = ?, audited_at = ? WHERE id = ?", decided, now,
            auditId);
    db.exec("UPDATE refunds SET status = ? WHERE audit_id = ?", decided, auditId);
    if (!approve)
        return;

    std::vector<std::int64_t> parts;
    {
        Query q = db.query("SELECT id FROM refunds WHERE audit_id = ? ORDER BY id", auditId);
        while (q.next())
            parts.push_back(q.integer("id"));
    }
    for (std::int64_t id : parts)
        giveBack(db, id, userId);
    db.exec("UPDATE orders SET refund_price = refund_price + (SELECT COALESCE(SUM(amount), 0) "
            "FROM refunds WHERE audit_id = ?) WHERE id = ?",
            auditId, orderId);
    // The new total was checked against the order's when asked for; the order may have been
    // lowered since (a garment or its price changed at intake), and approval never raises it.
    if (newTotal)
        db.exec("UPDATE orders SET modify_price = MIN(?, payable_price), "
                "payable_price = MIN(?, payable_price) WHERE id = ?",
                total, total, orderId);
    if (!wash)
        return;
    std::vector<std::int64_t> garments;
    {
        Query q = db.query("SELECT order_product_id AS id FROM refund_audit_products "
                           "WHERE audit_id = ?",
                           auditId);
        while (q.next())
            garments.push_back(q.integer("id"));
    }
    for (std::int64_t g : garments) {
        pickup::takeOffRail(db, g);
        db.exec("UPDATE order_products SET status = ?, status_time = ?, has_refund = 1 "
                "WHERE id = ?",
                garmentState::refundWashed, now, g);
    }
    pickup::settleOrder(db, orderId, now);
}

Json::Value refundRecords(Connection &db, std::int64_t orderId)
{
    Json::Value list(Json::arrayValue);
    Query q =
        db.query("SELECT r.seq, COALESCE(d.text, '') AS refundMethodText, "
                 "r.created_at AS createTime, r.amount, CASE r.status WHEN ? THEN '退款审核中' "
                 "WHEN ? THEN '已退款' ELSE '已拒绝' END AS statusText "
                 "FROM refunds r LEFT JOIN dictionary d ON d.code = 'REFUND_METHOD' "
                 "AND d.val = r.refund_means WHERE r.order_id = ? ORDER BY r.id DESC",
                 refundState::waiting, refundState::approved, orderId);
    while (q.next())
        list.append(q.object());
    return list;
}

Json::Value auditRecords(Connection &db, std::int64_t orderId)
{
    Json::Value list(Json::arrayValue);
    Query q =
        db.query("SELECT seq, created_at AS createTime, COALESCE(new_total, amount) AS amount, "
                 "CASE kind WHEN ? THEN '退洗' ELSE '退款' END AS kindText, "
                 "CASE status WHEN ? THEN '待审核' WHEN ? THEN '审核通过' ELSE '审核拒绝' END "
                 "AS auditStatusText, reason FROM refund_audits WHERE order_id = ? "
                 "ORDER BY id DESC",
                 static_cast<int>(wash), refundState::waiting, refundState::approved, orderId);
    while (q.next())
        list.append(q.object());
    return list;
}

} // namespace refunds
