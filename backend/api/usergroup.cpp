// userGroup/...: the merchant's customer groups.

#include "api/families.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace {

// Each group with the number of its members (`cnt`).
Json::Value groups(Call &call)
{
    Json::Value list(Json::arrayValue);
    Query q = call.db.query("SELECT g.id, g.name, (SELECT COUNT(*) FROM users u "
                            "WHERE u.group_id = g.id) AS cnt FROM user_groups g "
                            "WHERE g.merc_id = ? ORDER BY g.sort, g.id",
                            call.mercId);
    while (q.next())
        list.append(q.object());
    return list;
}

// The two groups every merchant has: all members, and those in no group of the merchant.
Json::Value sideCounts(Call &call)
{
    auto entry = [](const char *name, std::int64_t cnt) {
        Json::Value e(Json::objectValue);
        e["name"] = name;
        e["cnt"] = Json::Int64(cnt);
        return e;
    };
    Json::Value list(Json::arrayValue);
    list.append(entry("全部分组", call.db.scalar(0, "SELECT COUNT(*) FROM users WHERE merc_id = ?",
                                                 call.mercId)));
    list.append(entry("默认分组", call.db.scalar(0,
                                                 "SELECT COUNT(*) FROM users WHERE merc_id = ? "
                                                 "AND group_id IS NULL",
                                                 call.mercId)));
    return list;
}

} // namespace

void api::userGroup::registerEndpoints(ApiRegistry &api)
{
    api.read("userGroup/list", Access::Worker, groups);
    api.read("userGroup/sideCnt", Access::Worker, sideCounts);
}
