// productType/...: the garment types ("categories") of one business line.

#include "api/families.h"
#include "domain/catalogue.h"
#include "domain/ownership.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace {

Json::Value types(Call &call)
{
    const std::int64_t lineId =
        ownership::owned(call, ownership::records::businessLine, "mercBusinessId");
    const Page page = call.page(100);
    Query q = call.db.query("SELECT id, name FROM product_types "
                            "WHERE business_id = ? AND instr(name, ?) > 0 "
                            "ORDER BY sort, id LIMIT ? OFFSET ?",
                            lineId, catalogue::keywords(call), page.size, page.offset());
    Json::Value rows(Json::arrayValue);
    while (q.next())
        rows.append(q.object());
    return rows;
}

} // namespace

void api::productType::registerEndpoints(ApiRegistry &api)
{
    api.read("productType/list", Access::Worker, types);
}
