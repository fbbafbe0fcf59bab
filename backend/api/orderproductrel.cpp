// orderProductRel/...: one garment of an order, found by its code.

#include "api/families.h"
#include "domain/garments.h"
#include "domain/ownership.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace {

// The garment as the garment entry screen reads it to change it: `productInfo`, the same
// object an intake row is.
Json::Value detail(Call &call)
{
    const std::string code = trimmed(call.requiredText("scanCode"));
    const std::int64_t id =
        call.db.scalar(0,
                       "SELECT p.id FROM order_products p JOIN orders o ON o.id = p.order_id "
                       "WHERE p.scan_code = ? AND o.merc_id = ?",
                       code, call.mercId);
    if (!id)
        throw ApiError(codes::notFound, "衣物不存在");
    ownership::check(call, ownership::records::garment, id);
    Json::Value data(Json::objectValue);
    data["productInfo"] = garments::intakeRow(call.db, id);
    return data;
}

} // namespace

void api::orderProductRel::registerEndpoints(ApiRegistry &api)
{
    api.read("orderProductRel/detail", Access::Worker, detail);
}
