// orderProductBatchInRel/...: garments in factory bags. The intake screen puts the chosen
// garments of an order into an open bag at once.

#include <algorithm>
#include <set>
#include <vector>

#include "api/families.h"
#include "domain/bags.h"
#include "domain/ownership.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace records = ownership::records;

namespace {

// The most garments one request puts into a bag.
constexpr size_t maxGarments = 200;

// "12,13,15": ids joined by ",", each once, in the order sent.
std::vector<std::int64_t> idList(const std::string &text)
{
    std::vector<std::int64_t> ids;
    std::set<std::int64_t> seen;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = std::min(text.find(',', start), text.size());
        const std::string part = trimmed(text.substr(start, comma - start));
        if (part.empty() || part.size() > 18 ||
            part.find_first_not_of("0123456789") != std::string::npos)
            throw ApiError(codes::badRequest, "参数格式错误: orderProIds");
        const std::int64_t id = std::stoll(part);
        if (seen.insert(id).second)
            ids.push_back(id);
        start = comma + 1;
    }
    if (ids.size() > maxGarments)
        throw ApiError(codes::badRequest, "一次最多放入200件衣物");
    return ids;
}

// `inId` (the bag) and `orderProIds`: every garment goes in, or none does.
Json::Value addBatch(Call &call)
{
    const std::int64_t bagId = ownership::owned(call, records::bag, "inId");
    const std::string text = trimmed(call.text("orderProIds", limits::jsonText));
    if (text.empty())
        throw ApiError(codes::badRequest, "请选择衣物");
    const std::vector<std::int64_t> ids = idList(text);
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
