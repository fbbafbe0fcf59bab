// orderProductBatchIn/...: the store's factory bags. The intake screen lists the open ones
// and makes a new one to put an order's garments in; the bag grid lists them all, shows one,
// completes and deletes them.

#include "api/families.h"
#include "domain/bags.h"
#include "domain/ownership.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace {

// `pageNum`, `pageSize`, and when sent `isFinish` (0, 1), `status` (1 to 3) and `keywords`
// (part of the bag's code): the store's bags in `data.list`, newest first.
Json::Value listBags(Call &call)
{
    const Page page = call.page(10, 100);
    bags::Filter filter;
    filter.isFinish = call.optionalInteger("isFinish");
    if (filter.isFinish && (*filter.isFinish < 0 || *filter.isFinish > 1))
        throw ApiError(codes::badRequest, "参数错误: isFinish");
    filter.status = call.optionalInteger("status");
    if (filter.status && (*filter.status < 1 || *filter.status > 3))
        throw ApiError(codes::badRequest, "参数错误: status");
    filter.code = trimmed(call.optionalText("keywords"));
    Json::Value data(Json::objectValue);
    data["list"] = bags::list(call.db, call.storeId, filter, page.size, page.offset());
    return data;
}

Json::Value addBag(Call &call)
{
    const std::string storeCode = [&] {
        Query q = call.db.query("SELECT code FROM stores WHERE id = ?", call.storeId);
        return q.next() ? q.text("code") : std::string();
    }();
    return bags::create(call.db, call.storeId, storeCode, call.workerId, call.now);
}

// `id`: one bag with the times of its road.
Json::Value bagDetail(Call &call)
{
    return bags::detail(call.db, ownership::owned(call, ownership::records::bag, "id"));
}

// `id`: the open bag is completed; it waits for the logistics worker.
Json::Value completeBag(Call &call)
{
    bags::complete(call.db, ownership::owned(call, ownership::records::bag, "id"), call.now);
    return Json::Value(Json::objectValue);
}

// `id`: the open bag is deleted; its garments wait for a bag again.
Json::Value deleteBag(Call &call)
{
    bags::remove(call.db, ownership::owned(call, ownership::records::bag, "id"), call.now);
    return Json::Value(Json::objectValue);
}

} // namespace

void api::orderProductBatchIn::registerEndpoints(ApiRegistry &api)
{
    api.read("orderProductBatchIn/list", Access::Worker, listBags);
    api.write("orderProductBatchIn/add", Access::Worker, addBag);
    api.read("orderProductBatchIn/detail", Access::Worker, bagDetail);
    api.write("orderProductBatchIn/complete", Access::Worker, completeBag);
    api.write("orderProductBatchIn/delete", Access::Worker, deleteBag);
}
