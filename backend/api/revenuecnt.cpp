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
    // A voided order's garments were never really taken in; they are few, found through the
    // voided orders of the store.
    const std::int64_t takenIn =
        db.scalar(0,
                  "SELECT COUNT(*) FROM order_products WHERE store_id = ? AND created_at >= ? "
                  "AND created_at < ?",
                  store, span.from, span.to);
    const std::int64_t ofVoided = db.scalar(
        0,
        "SELECT COUNT(*) FROM orders o CROSS JOIN order_products p ON p.order_id = o.id "
        "WHERE o.store_id = ? AND o.status = ? AND p.created_at >= ? AND p.created_at < ?",
        store, orderState::voided, span.from, span.to);
    data["takeProCnt"] = Json::Int64(takenIn - ofVoided);
    data["sendProCnt"] = Json::Int64(
        db.scalar(0,
                  "SELECT COUNT(*) FROM order_products WHERE store_id = ? AND handed_out_at >= ? "
                  "AND handed_out_at < ?",
                  store, span.from, span.to));
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
