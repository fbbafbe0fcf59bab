// revenueRecharge/...: the stored value the store took in a day or month.

#include "api/families.h"
#include "domain/reports.h"
#include "domain/states.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace {

// No endpoint gives a recharge back: what a member paid in stays stored value.
constexpr std::int64_t rechargesGivenBack = 0;

// `storeId`, `dateType`, `date`: of the recharges paid in the span, `amount` (what members
// paid), `giftAmt` (the offers' bonus), `totalAmt` (both: the stored value added),
// `refundAmt` (recharges given back) and `actualAmt` (paid less given back).
Json::Value rechargeMoney(Call &call)
{
    const reports::Span span = reports::asked(call).span;
    Query q = call.db.query("SELECT COALESCE(SUM(amount), 0) AS amount, "
                            "COALESCE(SUM(gift_amount), 0) AS gift FROM recharges "
                            "WHERE store_id = ? AND status = ? AND paid_at >= ? AND paid_at < ?",
                            call.storeId, tradeState::paid, span.from, span.to);
    q.next();
    const std::int64_t amount = q.integer("amount");
    const std::int64_t gift = q.integer("gift");
    Json::Value data(Json::objectValue);
    data["totalAmt"] = Json::Int64(amount + gift);
    data["giftAmt"] = Json::Int64(gift);
    data["amount"] = Json::Int64(amount);
    data["refundAmt"] = Json::Int64(rechargesGivenBack);
    data["actualAmt"] = Json::Int64(amount - rechargesGivenBack);
    return data;
}

} // namespace

void api::revenueRecharge::registerEndpoints(ApiRegistry &api)
{
    api.read("revenueRecharge/getReport", Access::Worker, rechargeMoney);
}
