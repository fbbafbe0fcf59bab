// reportTradeOrder/...: the store's order payments of a day or month by means.

#include "api/families.h"
#include "domain/paymeans.h"
#include "domain/reports.h"
#include "server/call.h"
#include "server/registry.h"

namespace {

// `storeId`, `dateType`, `date`: the list the terminal reads by position, each entry's
// `payAmount` what the orders paid in the span by that means.
Json::Value byMeans(Call &call)
{
    const reports::Span span = reports::asked(call).span;
    return reports::byPosition(
        reports::paid(call.db, call.storeId, reports::tradeKind::order, span),
        {{payMeans::wechat, "微信支付"},
         {payMeans::cash, "现金支付"},
         {payMeans::balance, "余额支付"},
         {payMeans::alipay, "支付宝支付"},
         {payMeans::card, "优付卡支付"},
         {payMeans::other, "其他支付"}});
}

} // namespace

void api::reportTradeOrder::registerEndpoints(ApiRegistry &api)
{
    api.read("reportTradeOrder/getReport", Access::Worker, byMeans);
}
