// orderExt/...: what the store notes on an order besides its header.

#include "api/families.h"
#include "domain/orders.h"
#include "domain/ownership.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace {

// `id` (the order) and `remark`: one more management note, by the signed-in worker.
Json::Value addRemark(Call &call)
{
    const std::int64_t orderId = ownership::owned(call, ownership::records::order, "id");
    const std::string remark = trimmed(call.requiredText("remark", limits::longText));
    if (remark.empty())
        throw ApiError(codes::badRequest, "请输入备注");
    orders::addNote(call.db, orderId, call.workerId, remark, call.now);
    return Json::Value(Json::objectValue);
}

} // namespace

void api::orderExt::registerEndpoints(ApiRegistry &api)
{
    api.write("orderExt/addRemark", Access::Worker, addRemark);
}
