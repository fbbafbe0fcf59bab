// userGroup/...: the merchant's customer groups.

#include "api/families.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace {

Json::Value groups(Call &call)
{
    Json::Value list(Json::arrayValue);
    Query q = call.db.query("SELECT id, name FROM user_groups WHERE merc_id = ? ORDER BY sort, id",
                            call.mercId);
    while (q.next())
        list.append(q.object());
    return list;
}

} // namespace

void api::userGroup::registerEndpoints(ApiRegistry &api)
{
    api.read("userGroup/list", Access::Worker, groups);
}
