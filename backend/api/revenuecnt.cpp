// revenueCnt/...: what the store counted in a day or month: orders, new customers, garments
// in and out, recharges.

#include "api/families.h"
#include "domain/reports.h"
#include "domain/states.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace {

// `storeId`, `dateType`, `date`: `orderCnt` (orders taken, not voided), `userCnt` (members who
// joined at this store), `takeProCnt` (garments taken in), `sendProCnt` (garments handed out),
// `rechargeCnt` (recharges paid).
Json::Value counts(Call &call)
{
    const reports::Span span = reports::asked(call).span;
    const std::int64_t store = call.storeId;
    Connection &db = call.db;
    Json::Value data(Json::objectValue);
    data["orderCnt"] =
        Json::Int64(db.scalar(0,
                              "SELECT COUNT(*) FROM orders WHERE store_id = ? AND created_at >= ? "
                              "AND created_at < ? AND status <> ? AND destroyed_at IS NULL",
                              store, span.from, span.to, orderState::voided));
    data["userCnt"] = Json::Int64(db.scalar(
        0, "SELECT COUNT(*) FROM users WHERE store_id = ? AND created_at >= ? AND created_at < ?",
        store, span.from, span.to));
    data["takeProCnt"] = Json::Int64(db.scalar(
        0,
        "SELECT COUNT(*) FROM order_products p JOIN orders o ON o.id = p.order_id "
        "WHERE p.created_at >= ? AND p.created_at < ? AND o.store_id = ? AND o.status <> ? "
        "AND o.destroyed_at IS NULL",
        span.from, span.to, store, orderState::voided));
    data["sendProCnt"] = Json::Int64(
        db.scalar(0,
                  "SELECT COUNT(*) FROM order_products p JOIN orders o ON o.id = p.order_id "
                  "WHERE p.handed_out_at >= ? AND p.handed_out_at < ? AND o.store_id = ?",
                  span.from, span.to, store));
    data["rechargeCnt"] =
        Json::Int64(db.scalar(0,
                              "SELECT COUNT(*) FROM recharges WHERE store_id = ? AND status = ? "
                              "AND paid_at >= ? AND paid_at < ?",
                              store, tradeState::paid, span.from, span.to));
    return data;
}

} // namespace

void api::revenueCnt::registerEndpoints(ApiRegistry &api)
{
    api.read("revenueCnt/getReport", Access::Worker, counts);
}
