// orderProductBatchInRel/...: garments in factory bags. The intake screen puts the chosen
// garments of an order into an open bag at once; the bag's screen lists its garments, adds one
// by its scanned code, takes garments out and moves them to another open bag.

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

// `inId`: the bag's garments in `data.list`.
Json::Value listInBag(Call &call)
{
    Json::Value data(Json::objectValue);
    data["list"] = bags::contents(call.db, ownership::owned(call, records::bag, "inId"));
    return data;
}

// `inId` and `scanCode` (the garment's, or one of its accessories'): the garment goes into
// the open bag.
Json::Value addScanned(Call &call)
{
    const std::int64_t bagId = ownership::owned(call, records::bag, "inId");
    const std::string code = trimmed(call.requiredText("scanCode"));
    const std::int64_t garmentId = garments::byScanCode(call.db, call.mercId, code);
    if (garmentId == 0)
        throw ApiError(codes::notFound, "衣物不存在: " + code);
    ownership::check(call, records::garment, garmentId);
    bags::putIn(call.db, bagId, garmentId, call.now);
    return Json::Value(Json::objectValue);
}

// The garments `field` lists ("12,13"), each the caller's; at most maxGarments.
std::vector<std::int64_t> ownGarments(Call &call, const char *field)
{
    const std::vector<std::int64_t> ids = garments::chosen(call, field);
    if (ids.size() > maxGarments)
        throw ApiError(codes::badRequest, "一次最多选择200件衣物");
    for (const std::int64_t id : ids)
        ownership::check(call, records::garment, id);
    return ids;
}

// `ids`: the garments leave their open bags, all or none.
Json::Value takeOut(Call &call)
{
    for (const std::int64_t id : ownGarments(call, "ids"))
        bags::takeOut(call.db, id, call.now);
    return Json::Value(Json::objectValue);
}

// `inId` (the bag they go to) and `orderProIds`: the garments move from their open bags,
// all or none.
Json::Value shift(Call &call)
{
    const std::int64_t bagId = ownership::owned(call, records::bag, "inId");
    for (const std::int64_t id : ownGarments(call, "orderProIds"))
        bags::shift(call.db, bagId, id, call.now);
    return Json::Value(Json::objectValue);
}

} // namespace

void api::orderProductBatchInRel::registerEndpoints(ApiRegistry &api)
{
    api.write("orderProductBatchInRel/addBatch", Access::Worker, addBatch);
    api.read("orderProductBatchInRel/list", Access::Worker, listInBag);
    api.write("orderProductBatchInRel/add", Access::Worker, addScanned);
    api.write("orderProductBatchInRel/deleteBatch", Access::Worker, takeOut);
    api.write("orderProductBatchInRel/shift", Access::Worker, shift);
}
