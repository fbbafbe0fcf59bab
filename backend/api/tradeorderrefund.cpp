// tradeOrderRefund/...: an order's refunds, part by part, as the refund records list them.

#include "api/families.h"
#include "domain/ownership.h"
#include "domain/refunds.h"
#include "server/call.h"
#include "server/registry.h"

namespace {

Json::Value refundList(Call &call)
{
    const std::int64_t orderId = ownership::owned(call, ownership::records::order, "orderId");
    Json::Value data(Json::objectValue);
    data["list"] = refunds::refundRecords(call.db, orderId);
    return data;
}

} // namespace

void api::tradeOrderRefund::registerEndpoints(ApiRegistry &api)
{
    api.read("tradeOrderRefund/list", Access::Worker, refundList);
}
