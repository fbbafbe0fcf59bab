// userInfo/...: members as the place-order and member screens see them: look-up by phone,
// card or order, and profile edits.

#include <algorithm>
#include <vector>

#include "api/families.h"
#include "domain/dates.h"
#include "domain/members.h"
#include "domain/ownership.h"
#include "server/call.h"
#include "server/json.h"
#include "server/registry.h"
#include "store/database.h"

using ownership::owned;
namespace records = ownership::records;

namespace {

Json::Value queryByKey(Call &call)
{
    const std::string key = trimmed(call.requiredText("key"));
    return members::recordOrEmpty(call, members::find(call, key, true));
}

// `searchValue` (phone, card or order number): the customer of the pick-up counter and of a
// recharge; nobody matching is a refusal the worker reads.
Json::Value info(Call &call)
{
    const std::string key = trimmed(call.requiredText("searchValue"));
    const std::int64_t id = members::find(call, key, true);
    if (!id)
        throw ApiError(codes::notFound, "未找到该顾客");
    return members::record(call, id);
}

// The tag of one entry of the new set: by id, or by name (an existing tag of that name is
// reused rather than duplicated).
std::int64_t tagOf(Call &call, const Json::Value &entry)
{
    if (!entry.isObject())
        throw ApiError(codes::badRequest, "参数格式错误: tags");
    const Json::Value &idValue = entry["id"];
    const std::string idText = idValue.isString() ? idValue.asString() : "";
    if (!idText.empty()) {
        if (idText.find_first_not_of("0123456789") != std::string::npos || idText.size() > 18)
            throw ApiError(codes::badRequest, "参数格式错误: tags");
        const std::int64_t id = std::stoll(idText);
        ownership::check(call, records::tag, id);
        return id;
    }
    const std::string name = trimmed(entry["name"].isString() ? entry["name"].asString() : "");
    if (name.empty())
        throw ApiError(codes::badRequest, "标签名称不能为空");
    if (json::characters(name) > limits::text)
        throw ApiError(codes::badRequest, "标签名称过长");
    const std::int64_t id = call.db.scalar(
        0, "SELECT id FROM user_tags WHERE merc_id = ? AND name = ?", call.mercId, name);
    if (id)
        return id;
    call.db.exec("INSERT INTO user_tags (merc_id, name, sort) VALUES (?, ?, "
                 "(SELECT IFNULL(MAX(sort), 0) + 1 FROM user_tags WHERE merc_id = ?))",
                 call.mercId, name, call.mercId);
    return call.db.lastInsertId();
}

// `tags` is the member's whole new set.
Json::Value updateTags(Call &call)
{
    const std::int64_t userId = owned(call, records::member, "id");
    std::vector<std::int64_t> ids;
    for (const Json::Value &entry : call.jsonArray("tags")) {
        const std::int64_t id = tagOf(call, entry);
        if (std::find(ids.begin(), ids.end(), id) == ids.end())
            ids.push_back(id);
    }
    call.db.exec("DELETE FROM user_tag_rel WHERE user_id = ?", userId);
    for (std::int64_t id : ids)
        call.db.exec("INSERT INTO user_tag_rel (user_id, tag_id) VALUES (?, ?)", userId, id);
    return Json::Value(Json::objectValue);
}

Json::Value updateName(Call &call)
{
    const std::int64_t userId = owned(call, records::member, "id");
    const std::string name = trimmed(call.requiredText("name"));
    if (name.empty())
        throw ApiError(codes::badRequest, "参数不能为空: name");
    call.db.exec("UPDATE users SET name = ? WHERE id = ?", name, userId);
    return Json::Value(Json::objectValue);
}

Json::Value updateSex(Call &call)
{
    const std::int64_t userId = owned(call, records::member, "id");
    const std::int64_t sex = call.oneOf("sex", {0, 1, 2});
    call.db.exec("UPDATE users SET sex = ? WHERE id = ?", sex, userId);
    return Json::Value(Json::objectValue);
}

// groupId -1 is the default group: no group of the merchant.
Json::Value updateGroup(Call &call)
{
    const std::int64_t userId = owned(call, records::member, "id");
    const std::int64_t groupId = call.integer("groupId");
    if (groupId != -1)
        ownership::check(call, records::group, groupId);
    call.db.exec("UPDATE users SET group_id = NULLIF(?, -1) WHERE id = ?", groupId, userId);
    return Json::Value(Json::objectValue);
}

Json::Value updateBirthday(Call &call)
{
    const std::int64_t userId = owned(call, records::member, "id");
    const std::string birthday = call.date("birthday");
    if (birthday > dates::localDate(call.now))
        throw ApiError(codes::badRequest, "生日不能晚于今天");
    call.db.exec("UPDATE users SET birthday = ? WHERE id = ?", birthday, userId);
    return Json::Value(Json::objectValue);
}

} // namespace

void api::userInfo::registerEndpoints(ApiRegistry &api)
{
    api.read("userInfo/queryByKey", Access::Worker, queryByKey);
    api.read("userInfo/info", Access::Worker, info);
    api.write("userInfo/updateTag", Access::Worker, updateTags);
    api.write("userInfo/updateName", Access::Worker, updateName);
    api.write("userInfo/updateSex", Access::Worker, updateSex);
    api.write("userInfo/updateGroup", Access::Worker, updateGroup);
    api.write("userInfo/updateBirthday", Access::Worker, updateBirthday);
}
