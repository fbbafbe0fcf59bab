// Members as the place-order screen and the member screens see them: look-up by phone,
// card or order, profile edits, tags, groups and the RFID member card.

#include <algorithm>
#include <memory>
#include <vector>

#include <json/json.h>

#include "apiregistry.h"
#include "database.h"
#include "endpoints.h"
#include "members.h"

namespace {

std::string trimmed(const std::string &text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// An empty object when nobody matches, so the terminal can offer to create the member.
Json::Value recordOrEmpty(Call &call, std::int64_t userId)
{
    return userId ? members::record(call, userId) : Json::Value(Json::objectValue);
}

Json::Value queryByKey(Call &call)
{
    const std::string key = trimmed(call.requiredText("key"));
    std::int64_t id = call.db.scalar(
        0,
        "SELECT id FROM users WHERE merc_id = ? AND (phone = ? OR card_no = ? COLLATE NOCASE "
        "OR rfid_no = ? COLLATE NOCASE) ORDER BY phone = ? DESC LIMIT 1",
        call.mercId, key, key, key, key);
    if (!id)
        id = call.db.scalar(0, "SELECT user_id FROM orders WHERE merc_id = ? AND order_no = ?",
                            call.mercId, key);
    return recordOrEmpty(call, id);
}

// A member card on the reader: its secret is the card's number.
Json::Value byRfidSecret(Call &call)
{
    const std::string secret = trimmed(call.requiredText("rfidSecret"));
    return recordOrEmpty(
        call, call.db.scalar(0,
                             "SELECT id FROM users WHERE merc_id = ? AND rfid_no = ? COLLATE "
                             "NOCASE",
                             call.mercId, secret));
}

Json::Value tagList(Query &q)
{
    Json::Value list(Json::arrayValue);
    while (q.next()) {
        Json::Value tag(Json::objectValue);
        tag["id"] = reply::number(q.integer(0));
        tag["name"] = q.text(1);
        list.append(tag);
    }
    Json::Value data(Json::objectValue);
    data["list"] = list;
    return data;
}

Json::Value tagsOfMember(Call &call)
{
    const std::int64_t userId = members::memberOf(call, "userId");
    Query q = call.db.query("SELECT t.id, t.name FROM user_tag_rel r JOIN user_tags t "
                            "ON t.id = r.tag_id WHERE r.user_id = ? ORDER BY t.sort, t.id",
                            userId);
    return tagList(q);
}

Json::Value allTags(Call &call)
{
    Query q = call.db.query("SELECT id, name FROM user_tags WHERE merc_id = ? ORDER BY sort, id",
                            call.mercId);
    return tagList(q);
}

Json::Value parseArray(const std::string &text)
{
    Json::CharReaderBuilder builder;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value out;
    std::string errors;
    if (!reader->parse(text.data(), text.data() + text.size(), &out, &errors) || !out.isArray())
        throw ApiError(codes::badRequest, "参数格式错误: tags");
    return out;
}

// `tags` is the member's whole new set; an entry with an empty id is a new tag by name
// (an existing tag of that name is reused rather than duplicated).
Json::Value updateTags(Call &call)
{
    const std::int64_t userId = members::memberOf(call, "id");
    const Json::Value tags = parseArray(call.text("tags"));
    std::vector<std::int64_t> ids;
    for (const Json::Value &tag : tags) {
        if (!tag.isObject())
            throw ApiError(codes::badRequest, "参数格式错误: tags");
        const std::string idText = tag["id"].isString() ? tag["id"].asString() : "";
        const std::string name = trimmed(tag["name"].isString() ? tag["name"].asString() : "");
        std::int64_t id = 0;
        if (!idText.empty()) {
            id = call.db.scalar(0, "SELECT id FROM user_tags WHERE id = ? AND merc_id = ?", idText,
                                call.mercId);
            if (!id)
                throw ApiError(codes::notFound, "标签不存在");
        } else {
            if (name.empty())
                throw ApiError(codes::badRequest, "标签名称不能为空");
            id = call.db.scalar(0, "SELECT id FROM user_tags WHERE merc_id = ? AND name = ?",
                                call.mercId, name);
            if (!id) {
                call.db.exec("INSERT INTO user_tags (merc_id, name, sort) VALUES (?, ?, "
                             "(SELECT IFNULL(MAX(sort), 0) + 1 FROM user_tags WHERE merc_id = ?))",
                             call.mercId, name, call.mercId);
                id = call.db.lastInsertId();
            }
        }
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
    const std::int64_t userId = members::memberOf(call, "id");
    const std::string name = trimmed(call.requiredText("name"));
    if (name.empty())
        throw ApiError(codes::badRequest, "参数不能为空: name");
    call.db.exec("UPDATE users SET name = ? WHERE id = ?", name, userId);
    return Json::Value(Json::objectValue);
}

Json::Value updateSex(Call &call)
{
    const std::int64_t userId = members::memberOf(call, "id");
    const std::int64_t sex = call.integer("sex");
    if (sex < 0 || sex > 2)
        throw ApiError(codes::badRequest, "性别取值错误");
    call.db.exec("UPDATE users SET sex = ? WHERE id = ?", sex, userId);
    return Json::Value(Json::objectValue);
}

// groupId -1 is the default group: no group of the merchant.
Json::Value updateGroup(Call &call)
{
    const std::int64_t userId = members::memberOf(call, "id");
    const std::int64_t groupId = call.integer("groupId");
    if (groupId == -1) {
        call.db.exec("UPDATE users SET group_id = NULL WHERE id = ?", userId);
        return Json::Value(Json::objectValue);
    }
    if (call.db.scalar(0, "SELECT COUNT(*) FROM user_groups WHERE id = ? AND merc_id = ?", groupId,
                       call.mercId) == 0)
        throw ApiError(codes::notFound, "分组不存在");
    call.db.exec("UPDATE users SET group_id = ? WHERE id = ?", groupId, userId);
    return Json::Value(Json::objectValue);
}

Json::Value updateBirthday(Call &call)
{
    const std::int64_t userId = members::memberOf(call, "id");
    const std::string birthday = call.requiredText("birthday");
    if (!members::isDate(birthday))
        throw ApiError(codes::badRequest, "日期格式错误: birthday");
    if (birthday > members::localDate(call.now))
        throw ApiError(codes::badRequest, "生日不能晚于今天");
    call.db.exec("UPDATE users SET birthday = ? WHERE id = ?", birthday, userId);
    return Json::Value(Json::objectValue);
}

Json::Value groups(Call &call)
{
    Json::Value list(Json::arrayValue);
    Query q = call.db.query("SELECT id, name FROM user_groups WHERE merc_id = ? ORDER BY sort, id",
                            call.mercId);
    while (q.next()) {
        Json::Value group(Json::objectValue);
        group["id"] = reply::number(q.integer(0));
        group["name"] = q.text(1);
        list.append(group);
    }
    return list;
}

// A card from stock whose printed check code matches goes onto a member without one.
Json::Value bindCard(Call &call)
{
    const std::int64_t userId = members::memberOf(call, "userId");
    const std::string rfidNo = trimmed(call.requiredText("rfidNo"));
    const std::string checkCode = trimmed(call.requiredText("checkCode"));
    if (call.db.scalar(0, "SELECT COUNT(*) FROM users WHERE id = ? AND rfid_no IS NOT NULL",
                       userId))
        throw ApiError(codes::conflict, "该会员已绑定会员卡");
    Query card = call.db.query("SELECT check_code, status FROM member_cards WHERE rfid_no = ? "
                               "COLLATE NOCASE",
                               rfidNo);
    if (!card.next()) {
        if (call.db.scalar(0, "SELECT COUNT(*) FROM users WHERE rfid_no = ? COLLATE NOCASE",
                           rfidNo))
            throw ApiError(codes::conflict, "该卡已绑定其他会员");
        throw ApiError(codes::notFound, "卡号不存在");
    }
    if (card.integer(1) == 2)
        throw ApiError(codes::conflict, "该卡已作废");
    if (card.text(0) != checkCode)
        throw ApiError(codes::forbidden, "验证码错误");
    const std::string storedCheck = card.text(0);
    call.db.exec("DELETE FROM member_cards WHERE rfid_no = ? COLLATE NOCASE", rfidNo);
    call.db.exec("UPDATE users SET rfid_no = ?, rfid_check = ? WHERE id = ?", rfidNo, storedCheck,
                 userId);
    return Json::Value(Json::objectValue);
}

// Takes the member's card off the member: back into stock (unbind) or void (lost card).
Json::Value releaseCard(Call &call, int cardStatus)
{
    const std::int64_t userId = members::memberOf(call, "userId");
    Query q = call.db.query("SELECT rfid_no, rfid_check FROM users WHERE id = ? AND rfid_no IS "
                            "NOT NULL",
                            userId);
    if (!q.next())
        throw ApiError(codes::conflict, "该会员未绑定会员卡");
    call.db.exec("INSERT OR REPLACE INTO member_cards (rfid_no, check_code, status, changed_at) "
                 "VALUES (?, ?, ?, ?)",
                 q.text(0), q.text(1), cardStatus, call.now);
    call.db.exec("UPDATE users SET rfid_no = NULL, rfid_check = '' WHERE id = ?", userId);
    return Json::Value(Json::objectValue);
}

} // namespace

void registerUserEndpoints(ApiRegistry &api)
{
    api.add("userInfo/queryByKey", Access::Worker, queryByKey);
    api.add("userInfo/updateTag", Access::Worker, updateTags);
    api.add("userInfo/updateName", Access::Worker, updateName);
    api.add("userInfo/updateSex", Access::Worker, updateSex);
    api.add("userInfo/updateGroup", Access::Worker, updateGroup);
    api.add("userInfo/updateBirthday", Access::Worker, updateBirthday);
    api.add("userTag/list", Access::Worker, tagsOfMember);
    api.add("userTag/all", Access::Worker, allTags);
    api.add("userGroup/list", Access::Worker, groups);
    api.add("rfid/user", Access::Worker, byRfidSecret);
    api.add("rfid/user/manual/binding", Access::Worker, bindCard);
    api.add("rfid/user/cancel", Access::Worker, [](Call &call) { return releaseCard(call, 2); });
    api.add("rfid/user/unbundling", Access::Worker,
            [](Call &call) { return releaseCard(call, 0); });
}
