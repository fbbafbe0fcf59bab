// orderProductRelAudit/...: the counter asks to refund garments unwashed (退洗); the request
// waits for the head office's approval (domain/refunds).

#include "api/families.h"
#include "domain/refunds.h"
#include "server/registry.h"

namespace {

Json::Value refundWash(Call &call)
{
    return refunds::ask(call, refunds::wash);
}

} // namespace

void api::orderProductRelAudit::registerEndpoints(ApiRegistry &api)
{
    api.write("orderProductRelAudit/refund", Access::Worker, refundWash);
}
