// factory/...: the merchant's cleaning factories.

#include "api/families.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace {

// The factories the garment list filters by: `data` is the list, each `id` and `name`.
Json::Value merchantFactories(Call &call)
{
    Json::Value list(Json::arrayValue);
    Query q =
        call.db.query("SELECT id, name FROM factories WHERE merc_id = ? ORDER BY id", call.mercId);
    while (q.next())
        list.append(q.object());
    return list;
}

} // namespace

void api::factory::registerEndpoints(ApiRegistry &api)
{
    api.read("factory/merc/list", Access::Worker, merchantFactories);
}
