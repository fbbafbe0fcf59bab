#include "domain/catalogue.h"

#include "server/call.h"
#include "server/registry.h"
#include "store/conditions.h"
#include "store/database.h"

namespace catalogue {

namespace lists {
const ChoiceList colors{"colors", "颜色不存在", false, false};
const ChoiceList flaws{"flaws", "瑕疵不存在", false, false};
const ChoiceList effects{"effects", "预计效果不存在", false, false};
const ChoiceList brands{"brands", "品牌不存在", false, false};
const ChoiceList annexes{"annexes", "附件不存在", true, false};
const ChoiceList addServices{"add_services", "附加服务不存在", true, true};
} // namespace lists

namespace {
// The terminal asks for 40 entries a page.
constexpr std::int64_t defaultPageSize = 40;
} // namespace

std::string keywords(Call &call)
{
    return trimmed(call.optionalText("keywords"));
}

Json::Value choicePage(Call &call, const ChoiceList &list)
{
    const Page page = call.page(defaultPageSize);
    const std::string words = keywords(call);
    const std::int64_t businessId = list.byBusiness ? call.optionalInteger("businessId", 0) : 0;
    Conditions where;
    where.add("merc_id = ?", call.mercId);
    where.add("instr(name, ?) > 0", words);
    if (businessId)
        where.add("business_id IS NULL OR business_id = ?", businessId);
    // The table name comes from the fixed lists above, never from the request.
    Query q = where.query(call.db,
                          std::string("SELECT id, name") + (list.withAmount ? ", amt" : "") +
                              " FROM " + list.table,
                          "ORDER BY sort, id LIMIT ? OFFSET ?", {page.size, page.offset()});
    Json::Value rows(Json::arrayValue);
    while (q.next())
        rows.append(q.object());
    return rows;
}

std::string choiceName(Call &call, const ChoiceList &list, std::int64_t id)
{
    Query q = call.db.query(std::string("SELECT name FROM ") + list.table +
                                " WHERE id = ? AND merc_id = ?",
                            id, call.mercId);
    if (!q.next())
        throw ApiError(codes::notFound, list.unknown);
    return q.text("name");
}

std::int64_t pricingModeFor(Connection &db, std::int64_t userId)
{
    return db.scalar(0, "SELECT company FROM users WHERE id = ?", userId) == 1 ? companyPrices
                                                                               : storePrices;
}

std::int64_t pricingMode(Call &call)
{
    const std::int64_t mode = call.optionalInteger("pricingMode", storePrices);
    if (mode != storePrices && mode != companyPrices)
        throw ApiError(codes::badRequest, "参数取值错误: pricingMode");
    return mode;
}

std::int64_t servicePrice(Connection &db, std::int64_t serviceId, std::int64_t mode)
{
    return db.scalar(0,
                     "SELECT COALESCE((SELECT price FROM product_service_prices "
                     "WHERE service_id = s.id AND pricing_mode = ?), s.price) AS price "
                     "FROM product_services s WHERE s.id = ?",
                     mode, serviceId);
}

std::int64_t saleDiscount(Connection &db, std::int64_t productId, std::int64_t orderDiscount)
{
    const bool takesDiscount =
        db.scalar(1, "SELECT member_discount FROM products WHERE id = ?", productId) != 0;
    return takesDiscount ? orderDiscount : 100;
}

} // namespace catalogue
