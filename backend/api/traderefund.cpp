// tradeRefund/...: the counter asks for an order's money back; the request waits for the
// head office's approval (domain/refunds).

#include "api/families.h"
#include "domain/refunds.h"
#include "server/registry.h"

namespace {

Json::Value refund(Call &call)
{
    return refunds::ask(call, refunds::money);
}

} // namespace

void api::tradeRefund::registerEndpoints(ApiRegistry &api)
{
    api.write("tradeRefund/refund", Access::Worker, refund);
}
