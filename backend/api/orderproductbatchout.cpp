// orderProductBatchOut/...: batches back from the factory. The arrival screen scans a batch's
// code when it reaches the store.

#include "api/families.h"
#include "domain/batches.h"
#include "domain/ownership.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace {

// `batchCode`: the batch is received at the store (scanning it again answers it as it is).
Json::Value receiveStore(Call &call)
{
    const std::string code = trimmed(call.requiredText("batchCode"));
    const std::int64_t batchId = batches::byCode(call.db, call.mercId, code);
    if (batchId == 0)
        throw ApiError(codes::notFound, "批次不存在: " + code);
    ownership::check(call, ownership::records::batch, batchId);
    return batches::receive(call.db, batchId, call.now);
}

} // namespace

void api::orderProductBatchOut::registerEndpoints(ApiRegistry &api)
{
    api.write("orderProductBatchOut/receiveStore", Access::Worker, receiveStore);
}
