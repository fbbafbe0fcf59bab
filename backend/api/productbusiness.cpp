// productBusiness/...: the merchant's business lines, the "projects" a garment is chosen
// under. A line's `businessId` is what a garment of it carries and what a saved garment
// names as its `mercBusinessId`.

#include "api/families.h"
#include "domain/catalogue.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace {

Json::Value lines(Call &call)
{
    // Every line is priced under both modes (a mode without its own price takes the
    // catalogue's), so the mode is only checked.
    catalogue::pricingMode(call);
    const Page page = call.page(100);
    Query q = call.db.query("SELECT id, name, id AS businessId FROM business_lines "
                            "WHERE merc_id = ? AND instr(name, ?) > 0 "
                            "ORDER BY sort, id LIMIT ? OFFSET ?",
                            call.mercId, catalogue::keywords(call), page.size, page.offset());
    Json::Value rows(Json::arrayValue);
    while (q.next())
        rows.append(q.object());
    return rows;
}

} // namespace

void api::productBusiness::registerEndpoints(ApiRegistry &api)
{
    api.read("productBusiness/list", Access::Worker, lines);
}
