// reportTradeRecharge/...: the store's recharges of a day or month by means.

#include "api/families.h"
#include "domain/paymeans.h"
#include "domain/reports.h"
#include "server/call.h"
#include "server/registry.h"

namespace {

// `storeId`, `dateType`, `date`: the list the terminal reads by position, each entry's
// `payAmount` what members paid in by that means. Recharge cards and card-bound recharges
// are not means of this system: their positions stay 0.
Json::Value byMeans(Call &call)
{
    const reports::Span span = reports::asked(call).span;
    return reports::byPosition(
        reports::paid(call.db, call.storeId, reports::tradeKind::recharge, span),
        {{payMeans::wechat, "微信支付"},
         {payMeans::cash, "现金支付"},
         {payMeans::alipay, "支付宝支付"},
         {reports::noMeans, "充值卡支付"},
         {reports::noMeans, "绑卡充值支付"},
         {payMeans::other, "其他支付"}});
}

} // namespace

void api::reportTradeRecharge::registerEndpoints(ApiRegistry &api)
{
    api.read("reportTradeRecharge/getReport", Access::Worker, byMeans);
}
