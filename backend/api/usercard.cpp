// userCard/...: the merchant's member card levels.

#include "api/families.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace {

// Every level in its order. `rights` is a text of flags whose second one says the level
// grants a discount; `discount` is the percent of the price paid; `def` marks the level a
// new member gets when none is chosen (the first); `selectable` whether one may be chosen
// for a new member at all.
Json::Value levels(Call &call)
{
    Json::Value list(Json::arrayValue);
    Query q = call.db.query(
        "SELECT id, name, discount, CASE WHEN discount < 100 THEN '11' ELSE '10' END AS rights, "
        "'1' AS discountType, selectable, "
        "id = (SELECT id FROM card_levels WHERE merc_id = ?1 ORDER BY sort, id LIMIT 1) AS def "
        "FROM card_levels WHERE merc_id = ?1 ORDER BY sort, id",
        call.mercId);
    while (q.next())
        list.append(q.object());
    Json::Value data(Json::objectValue);
    data["list"] = list;
    return data;
}

} // namespace

void api::userCard::registerEndpoints(ApiRegistry &api)
{
    api.read("userCard/listForSelect", Access::Worker, levels);
}
