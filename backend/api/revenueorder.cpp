// revenueOrder/...: the money of the store's orders in a day or month.

#include "api/families.h"
#include "domain/refunds.h"
#include "domain/reports.h"
#include "domain/states.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace {

using reports::Span;

// What the orders taken in the span ask for (not voided).
std::int64_t ordered(Connection &db, std::int64_t store, const Span &span)
{
    return db.scalar(0,
                     "SELECT COALESCE(SUM(payable_price), 0) FROM orders WHERE store_id = ? "
                     "AND created_at >= ? AND created_at < ? AND status <> ? "
                     "AND destroyed_at IS NULL",
                     store, span.from, span.to, orderState::voided);
}

// What the orders paid in the span paid.
std::int64_t paid(Connection &db, std::int64_t store, const Span &span)
{
    return db.scalar(
        0,
        "SELECT COALESCE(SUM(amount), 0) FROM trades WHERE store_id = ? AND status = ? "
        "AND paid_at >= ? AND paid_at < ? AND kind = ?",
        store, tradeState::paid, span.from, span.to, reports::tradeKind::order);
}

// Of those, what settled orders that had been put on credit (debt recovered): the store's orders
// put on credit before the span's end, which are few, and their trades in the span.
std::int64_t debtPaid(Connection &db, std::int64_t store, const Span &span)
{
    return db.scalar(0,
                     "SELECT COALESCE(SUM(t.amount), 0) FROM orders o "
                     "CROSS JOIN trades t ON t.order_id = o.id WHERE o.store_id = ? "
                     "AND o.credited_at < ? AND t.kind = ? AND t.status = ? AND t.paid_at >= ? "
                     "AND t.paid_at < ?",
                     store, span.to, reports::tradeKind::order, tradeState::paid, span.from,
                     span.to);
}

// What the orders put on credit in the span still owed at its end.
std::int64_t owed(Connection &db, std::int64_t store, const Span &span)
{
    return db.scalar(0,
                     "SELECT COALESCE(SUM(o.payable_price), 0) FROM orders o WHERE o.store_id = ? "
                     "AND o.credited_at >= ? AND o.credited_at < ? AND o.status <> ? "
                     "AND o.destroyed_at IS NULL AND NOT EXISTS (SELECT 1 FROM trades t "
                     "WHERE t.order_id = o.id AND t.kind = ? AND t.status = ? AND t.paid_at < ?)",
                     store, span.from, span.to, orderState::voided, reports::tradeKind::order,
                     tradeState::paid, span.to);
}

// `storeId`, `dateType`, `date`:
// - `orderAmt`: what the orders taken in the span ask for;
// - `couponAmt`: what coupons took off the payments of the span;
// - `totalAmt`: every order payment of the span, by every means (the member balance and the
//   group pay card too); `paidDebtAmt` the part that settled orders on credit, `paymentAmt`
//   the rest;
// - `unpaidDebtAmt`: what the orders put on credit in the span still owed at its end;
// - `refundAmt`: the refunds approved in the span, `refBalanceAmt` the part of them given
//   back to members' balances;
// - `actualAmt`: the payments less the refunds.
Json::Value orderMoney(Call &call)
{
    const Span span = reports::asked(call).span;
    const std::int64_t store = call.storeId;
    Connection &db = call.db;
    const std::int64_t total = paid(db, store, span);
    const std::int64_t recovered = debtPaid(db, store, span);
    const std::int64_t coupons = db.scalar(
        0,
        "SELECT COALESCE(SUM(coupon_amount), 0) FROM payments WHERE store_id = ? AND status = ? "
        "AND finished_at >= ? AND finished_at < ?",
        store, tradeState::paid, span.from, span.to);
    Query refunded = db.query(
        "SELECT COALESCE(SUM(r.amount), 0) AS amount, COALESCE(SUM(CASE WHEN r.refund_means = ? "
        "THEN r.amount ELSE 0 END), 0) AS toBalance FROM refund_audits a "
        "JOIN refunds r ON r.audit_id = a.id WHERE a.store_id = ? AND a.status = ? "
        "AND a.audited_at >= ? AND a.audited_at < ?",
        refunds::toBalance, store, refundState::approved, span.from, span.to);
    refunded.next();

    Json::Value data(Json::objectValue);
    data["orderAmt"] = Json::Int64(ordered(db, store, span));
    data["couponAmt"] = Json::Int64(coupons);
    data["refundAmt"] = Json::Int64(refunded.integer("amount"));
    data["unpaidDebtAmt"] = Json::Int64(owed(db, store, span));
    data["paymentAmt"] = Json::Int64(total - recovered);
    data["paidDebtAmt"] = Json::Int64(recovered);
    data["refBalanceAmt"] = Json::Int64(refunded.integer("toBalance"));
    data["totalAmt"] = Json::Int64(total);
    data["actualAmt"] = Json::Int64(total - refunded.integer("amount"));
    return data;
}

} // namespace

void api::revenueOrder::registerEndpoints(ApiRegistry &api)
{
    api.read("revenueOrder/getReport", Access::Worker, orderMoney);
}
