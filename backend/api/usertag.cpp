// userTag/...: the merchant's customer tags, and a member's.

#include "api/families.h"
#include "domain/ownership.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace {

Json::Value listOf(Query &q)
{
    Json::Value data(Json::objectValue);
    Json::Value &list = data["list"] = Json::Value(Json::arrayValue);
    while (q.next())
        list.append(q.object());
    return data;
}

Json::Value tagsOfMember(Call &call)
{
    const std::int64_t userId = ownership::owned(call, ownership::records::member, "userId");
    Query q = call.db.query("SELECT t.id, t.name FROM user_tag_rel r JOIN user_tags t "
                            "ON t.id = r.tag_id WHERE r.user_id = ? ORDER BY t.sort, t.id",
                            userId);
    return listOf(q);
}

Json::Value allTags(Call &call)
{
    Query q = call.db.query("SELECT id, name FROM user_tags WHERE merc_id = ? ORDER BY sort, id",
                            call.mercId);
    return listOf(q);
}

} // namespace

void api::userTag::registerEndpoints(ApiRegistry &api)
{
    api.read("userTag/list", Access::Worker, tagsOfMember);
    api.read("userTag/all", Access::Worker, allTags);
}
