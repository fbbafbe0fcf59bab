// mercCity/...: what the store's city charges for fetching and delivering garments, and the
// merchant's settings for new members.

#include "api/families.h"
#include "domain/merchant.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace {

// `isCarriage` 1 when the city charges for fetching or delivering; `freeCarriageAmt` the
// order total from which it charges nothing (0: no such total); `takeCarriage` and
// `sendCarriage` the two fees. Money in fen.
Json::Value carriage(Call &call)
{
    Query q = call.db.query("SELECT COALESCE(c.pickup_fee, 0) AS takeCarriage, "
                            "COALESCE(c.delivery_fee, 0) AS sendCarriage, "
                            "COALESCE(c.free_above, 0) AS freeCarriageAmt "
                            "FROM stores s LEFT JOIN cities c ON c.id = s.city_id WHERE s.id = ?",
                            call.storeId);
    Json::Value data(Json::objectValue);
    if (!q.next())
        return data;
    data = q.object();
    data["isCarriage"] = q.integer("takeCarriage") > 0 || q.integer("sendCarriage") > 0 ? 1 : 0;
    return data;
}

// The merchant's settings for new members: `addCardUser` "1" when a card level may be
// chosen at creation.
Json::Value paramDetail(Call &call)
{
    Json::Value data(Json::objectValue);
    data["addCardUser"] =
        merchant::setting(call.db, call.mercId, merchant::settings::cardLevelSelectable);
    return data;
}

} // namespace

void api::mercCity::registerEndpoints(ApiRegistry &api)
{
    api.read("mercCity/carriage", Access::Worker, carriage);
    api.read("mercCity/paramDetail", Access::Worker, paramDetail);
}
