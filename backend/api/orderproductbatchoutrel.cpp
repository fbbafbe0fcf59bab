// orderProductBatchOutRel/...: the garments of a batch back from the factory, confirmed in
// the store one by one or all at once.

#include "api/families.h"
#include "domain/batches.h"
#include "domain/ownership.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace records = ownership::records;

namespace {

// `outId`: the batch's garments and their accessories, each with whether it was confirmed.
Json::Value receiveProList(Call &call)
{
    return batches::garmentsOfBatch(call.db, ownership::owned(call, records::batch, "outId"));
}

// `outId`, and `id` for one garment of the batch; without `id` every garment of the batch
// still waiting is confirmed.
Json::Value confirmStore(Call &call)
{
    const std::int64_t batchId = ownership::owned(call, records::batch, "outId");
    const std::optional<std::int64_t> garmentId = call.optionalInteger("id");
    if (!garmentId) {
        const std::vector<std::int64_t> pending = batches::pendingOfBatch(call.db, batchId);
        if (pending.empty())
            throw ApiError(codes::conflict, "该批次的衣物都已确认到店");
        for (const std::int64_t id : pending)
            batches::arrive(call.db, id, call.now);
        return Json::Value(Json::objectValue);
    }
    ownership::check(call, records::garment, *garmentId);
    if (call.db.scalar(0,
                       "SELECT COUNT(*) FROM batch_out_rel WHERE batch_out_id = ? AND "
                       "order_product_id = ?",
                       batchId, *garmentId) == 0)
        throw ApiError(codes::conflict, "衣物不在该批次中");
    batches::arrive(call.db, *garmentId, call.now);
    return Json::Value(Json::objectValue);
}

} // namespace

void api::orderProductBatchOutRel::registerEndpoints(ApiRegistry &api)
{
    api.read("orderProductBatchOutRel/receiveProList", Access::Worker, receiveProList);
    api.write("orderProductBatchOutRel/confirmStore", Access::Worker, confirmStore);
}
