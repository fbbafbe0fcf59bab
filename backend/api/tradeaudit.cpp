// tradeAudit/...: an order's refund requests and how the head office decided them.

#include "api/families.h"
#include "domain/ownership.h"
#include "domain/refunds.h"
#include "server/call.h"
#include "server/registry.h"

namespace {

Json::Value refundAudits(Call &call)
{
    const std::int64_t orderId = ownership::owned(call, ownership::records::order, "orderId");
    Json::Value data(Json::objectValue);
    data["list"] = refunds::auditRecords(call.db, orderId);
    return data;
}

} // namespace

void api::tradeAudit::registerEndpoints(ApiRegistry &api)
{
    api.read("tradeAudit/refund/list", Access::Worker, refundAudits);
}
