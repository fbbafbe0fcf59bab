// productInfo/...: the garments of a business line, by type and name, 40 a page. Each says
// what percent of its price an order's customer is charged (`saleDiscount`): the member's
// discount of the order for garments that take it, else 100.

#include "api/families.h"
#include "domain/catalogue.h"
#include "domain/ownership.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace records = ownership::records;

namespace {

Json::Value garments(Call &call)
{
    const std::int64_t lineId = ownership::owned(call, records::businessLine, "mercBusinessId");
    const std::int64_t typeId = call.optionalInteger("typeId", 0);
    if (typeId &&
        !call.db.scalar(0, "SELECT COUNT(*) FROM product_types WHERE id = ? AND business_id = ?",
                        typeId, lineId))
        throw ApiError(codes::notFound, "品类不存在");
    catalogue::pricingMode(call);
    std::int64_t orderDiscount = 100;
    if (call.optionalInteger("orderId", 0)) {
        const std::int64_t orderId = ownership::owned(call, records::order, "orderId");
        orderDiscount = call.db.scalar(100, "SELECT discount FROM orders WHERE id = ?", orderId);
    }
    const Page page = call.page(40);
    Query q = call.db.query(
        "SELECT id, name, business_id AS businessId, type_id AS typeId, "
        "is_custom_num AS isCustomNum, unit AS unitText, member_discount AS memberDiscount "
        "FROM products WHERE business_id = ? AND (? = 0 OR type_id = ?) AND instr(name, ?) > 0 "
        "ORDER BY sort, id LIMIT ? OFFSET ?",
        lineId, typeId, typeId, catalogue::keywords(call), page.size, page.offset());
    Json::Value rows(Json::arrayValue);
    while (q.next()) {
        Json::Value row = q.object();
        row.removeMember("memberDiscount");
        row["saleDiscount"] = Json::Int64(q.integer("memberDiscount") ? orderDiscount : 100);
        rows.append(row);
    }
    return rows;
}

} // namespace

void api::productInfo::registerEndpoints(ApiRegistry &api)
{
    api.read("productInfo/list", Access::Worker, garments);
}
