// userInfo/...: members as the place-order and member screens see them: look-up by phone,
// card or order, the member list and details, new members, and profile edits.

#include <algorithm>
#include <vector>

#include "api/families.h"
#include "domain/dates.h"
#include "domain/members.h"
#include "domain/merchant.h"
#include "domain/ownership.h"
#include "server/call.h"
#include "server/json.h"
#include "server/registry.h"
#include "store/conditions.h"
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

// The merchant's members, newest first, narrowed by a search text (phone, card number or
// name), a card level (`cardId`) and a group (`groupId`, -1 for members of no group).
Json::Value memberList(Call &call)
{
    const Page page = call.page();
    const std::string search = trimmed(call.optionalText("searchValue"));
    const std::int64_t cardId = call.optionalInteger("cardId", 0);
    const std::int64_t groupId = call.optionalInteger("groupId", 0);
    Conditions where;
    where.add("u.merc_id = ?", call.mercId);
    if (!search.empty())
        where.add("u.phone = ? OR u.card_no = ? COLLATE NOCASE OR u.rfid_no = ? COLLATE NOCASE "
                  "OR u.phone LIKE ? ESCAPE '\\' OR u.name LIKE ? ESCAPE '\\'",
                  search, search, search, "%" + Conditions::likeText(search) + "%",
                  "%" + Conditions::likeText(search) + "%");
    if (cardId != 0)
        where.add("u.card_level_id = ?", cardId);
    if (groupId == -1)
        where.add("u.group_id IS NULL");
    else if (groupId != 0)
        where.add("u.group_id = ?", groupId);
    std::vector<std::int64_t> ids;
    {
        Query q = where.query(call.db, "SELECT u.id FROM users u",
                              "ORDER BY u.created_at DESC, u.id DESC LIMIT ? OFFSET ?",
                              {page.size, page.offset()});
        while (q.next())
            ids.push_back(q.integer("id"));
    }
    Json::Value list(Json::arrayValue);
    for (std::int64_t id : ids)
        list.append(members::profile(call, id));
    Json::Value data(Json::objectValue);
    data["list"] = list;
    return data;
}

Json::Value memberDetail(Call &call)
{
    return members::profile(call, owned(call, records::member, "id"));
}

// `ids` joined by ","; `grade` -1 (not an important customer), 1, 2 or 3.
Json::Value updateGrade(Call &call)
{
    const std::int64_t grade = call.oneOf("grade", {-1, 1, 2, 3});
    const std::vector<std::int64_t> ids = idList(call.requiredText("ids", limits::longText), "ids");
    for (std::int64_t id : ids) {
        ownership::check(call, records::member, id);
        call.db.exec("UPDATE users SET grade = ? WHERE id = ?", grade < 0 ? 0 : grade, id);
    }
    return Json::Value(Json::objectValue);
}

// A new member of the merchant, joining in the caller's store. A phone already taken is
// refused; without a card level the member gets the first one.
Json::Value addMember(Call &call)
{
    const std::string phone = trimmed(call.requiredText("phone"));
    if (phone.size() != 11 || phone[0] != '1' ||
        phone.find_first_not_of("0123456789") != std::string::npos)
        throw ApiError(codes::badRequest, "手机号格式错误");
    if (call.db.scalar(0, "SELECT COUNT(*) FROM users WHERE merc_id = ? AND phone = ?", call.mercId,
                       phone) > 0)
        throw ApiError(codes::conflict, "该手机号已注册");
    const std::string name = trimmed(call.optionalText("name"));
    const std::int64_t sex = call.optionalInteger("sex", 0);
    if (sex < 0 || sex > 2)
        throw ApiError(codes::badRequest, "参数取值错误: sex");
    const std::string birthday = call.optionalText("birthday");
    if (!birthday.empty() && !isDate(birthday))
        throw ApiError(codes::badRequest, "日期格式错误: birthday");
    if (birthday > dates::localDate(call.now))
        throw ApiError(codes::badRequest, "生日不能晚于今天");
    const std::int64_t firstLevel = call.db.scalar(
        0, "SELECT id FROM card_levels WHERE merc_id = ? ORDER BY sort, id LIMIT 1", call.mercId);
    std::int64_t level = call.optionalInteger("cardId", 0);
    if (level == 0) {
        level = firstLevel;
    } else if (level != firstLevel) {
        Query q = call.db.query("SELECT selectable FROM card_levels WHERE id = ? AND merc_id = ?",
                                level, call.mercId);
        if (!q.next())
            throw ApiError(codes::notFound, "会员卡等级不存在");
        if (merchant::setting(call.db, call.mercId, merchant::settings::cardLevelSelectable) != "1")
            throw ApiError(codes::conflict, "商户未开放选择会员卡等级");
        if (!q.integer("selectable"))
            throw ApiError(codes::conflict, "该会员卡等级不能直接办理");
    }
    const std::int64_t groupId = call.optionalInteger("groupId", -1);
    if (groupId != -1)
        ownership::check(call, records::group, groupId);
    call.db.exec("INSERT INTO users (merc_id, store_id, name, phone, sex, birthday, group_id, "
                 "card_level_id, created_at) VALUES (?, ?, ?, ?, ?, ?, NULLIF(?, -1), "
                 "NULLIF(?, 0), ?)",
                 call.mercId, call.storeId, name, phone, sex, birthday, groupId, level, call.now);
    const std::int64_t id = call.db.lastInsertId();
    // The member card number follows the member's id, as the demo's do (VIP0001).
    std::string cardNo = std::to_string(id);
    if (cardNo.size() < 4)
        cardNo.insert(0, 4 - cardNo.size(), '0');
    call.db.exec("UPDATE users SET card_no = ? WHERE id = ?", "VIP" + cardNo, id);
    Json::Value data(Json::objectValue);
    data["id"] = Json::Int64(id);
    return data;
}

} // namespace

void api::userInfo::registerEndpoints(ApiRegistry &api)
{
    api.read("userInfo/queryByKey", Access::Worker, queryByKey);
    api.read("userInfo/info", Access::Worker, info);
    api.read("userInfo/list", Access::Worker, memberList);
    api.read("userInfo/detail", Access::Worker, memberDetail);
    api.write("userInfo/updateGrade", Access::Worker, updateGrade);
    api.write("userInfo/add", Access::Worker, addMember);
    api.write("userInfo/updateTag", Access::Worker, updateTags);
    api.write("userInfo/updateName", Access::Worker, updateName);
    api.write("userInfo/updateSex", Access::Worker, updateSex);
    api.write("userInfo/updateGroup", Access::Worker, updateGroup);
    api.write("userInfo/updateBirthday", Access::Worker, updateBirthday);
}
