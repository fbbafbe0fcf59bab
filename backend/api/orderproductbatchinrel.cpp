// orderProductBatchInRel/...: garments in factory bags. The intake screen puts the chosen
// garments of an order into an open bag at once.

#include <vector>

#include "api/families.h"
#include "domain/bags.h"
#include "domain/garments.h"
#include "domain/ownership.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace records = ownership::records;

namespace {

// The most garments one request puts into a bag.
constexpr size_t maxGarments = 200;

// `inId` (the bag) and `orderProIds`: every garment goes in, or none does.
Json::Value addBatch(Call &call)
{
    const std::int64_t bagId = ownership::owned(call, records::bag, "inId");
    const std::vector<std::int64_t> ids = garments::chosen(call, "orderProIds");
    if (ids.size() > maxGarments)
        throw ApiError(codes::badRequest, "一次最多放入200件衣物");
    for (const std::int64_t id : ids) {
        ownership::check(call, records::garment, id);
        bags::putIn(call.db, bagId, id, call.now);
    }
    return Json::Value(Json::objectValue);
}

} // namespace

void api::orderProductBatchInRel::registerEndpoints(ApiRegistry &api)
{
    api.write("orderProductBatchInRel/addBatch", Access::Worker, addBatch);
}
