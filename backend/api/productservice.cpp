// productService/...: the services of one garment with their prices (fen) under a pricing
// mode. With an order, the order's own mode decides, whatever the terminal sends.

#include "api/families.h"
#include "domain/catalogue.h"
#include "domain/ownership.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace records = ownership::records;

namespace {

Json::Value services(Call &call)
{
    const std::int64_t productId = ownership::owned(call, records::product, "productId");
    std::int64_t mode = catalogue::pricingMode(call);
    if (call.optionalInteger("orderId", 0)) {
        const std::int64_t orderId = ownership::owned(call, records::order, "orderId");
        mode = call.db.scalar(mode, "SELECT pricing_mode FROM orders WHERE id = ?", orderId);
    }
    const Page page = call.page(100);
    Query q = call.db.query("SELECT id, name FROM product_services WHERE product_id = ? "
                            "AND instr(name, ?) > 0 ORDER BY sort, id LIMIT ? OFFSET ?",
                            productId, catalogue::keywords(call), page.size, page.offset());
    Json::Value rows(Json::arrayValue);
    while (q.next()) {
        Json::Value row = q.object();
        row["price"] = Json::Int64(catalogue::servicePrice(call.db, q.integer("id"), mode));
        rows.append(row);
    }
    return rows;
}

} // namespace

void api::productService::registerEndpoints(ApiRegistry &api)
{
    api.read("productService/list", Access::Worker, services);
}
