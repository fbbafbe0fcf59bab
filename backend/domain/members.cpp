#include "domain/members.h"

#include "domain/states.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace members {

Json::Value record(Call &call, std::int64_t userId)
{
    // Members of a company client belong to the merchant's corporate union. No member is bound
    // to a WeChat account here (wxId -1).
    Query q = call.db.query(
        "SELECT u.id AS \"info.id\", u.name AS \"info.name\", u.sex AS \"info.sex\", "
        "u.phone AS \"info.phone\", '-1' AS \"info.wxId\", '' AS \"info.wxNickname\", "
        "'' AS \"info.headimgPath\", 1 AS \"info.status\", 1 AS \"info.verifyPhone\", "
        "0 AS \"info.verifyIos\", 0 AS \"info.verifyAndriod\", 0 AS \"info.subscribe\", "
        "u.grade AS \"info.grade\", u.balance + u.gift_balance AS \"ext.balance\", "
        "u.points AS \"ext.point\", u.birthday AS \"ext.birthday\", "
        "IFNULL(u.card_no, '') AS \"card.no\", IFNULL(u.rfid_no, '') AS \"card.rfidNo\", "
        "IFNULL(u.rfid_no, '') <> '' AS \"card.isBinding\", IFNULL(c.id, 0) AS \"card.info.id\", "
        "IFNULL(c.name, '') AS \"card.info.name\", IFNULL(c.sort, 0) AS \"card.info.level\", "
        "IFNULL(c.discount, 100) AS \"card.info.discount\", "
        "1 AS \"card.info.discountType\", IFNULL(g.id, -1) AS \"group.id\", "
        "IFNULL(g.name, '默认分组') AS \"group.name\", "
        "CASE WHEN u.company = 1 THEN m.union_name ELSE '' END AS \"unionInfo.name\", "
        "(SELECT COUNT(*) FROM user_coupons uc WHERE uc.user_id = u.id AND uc.use_status = ? "
        "AND uc.time_end > ?) AS couponCnt "
        "FROM users u JOIN merchants m ON m.id = u.merc_id "
        "LEFT JOIN card_levels c ON c.id = u.card_level_id "
        "LEFT JOIN user_groups g ON g.id = u.group_id WHERE u.id = ?",
        couponState::unused, call.now, userId);
    if (!q.next())
        throw ApiError(codes::notFound, "会员不存在");
    Json::Value data(Json::objectValue);
    data["user"] = q.object();
    return data;
}

Json::Value recordOrEmpty(Call &call, std::int64_t userId)
{
    return userId ? record(call, userId) : Json::Value(Json::objectValue);
}

Json::Value profile(Call &call, std::int64_t userId)
{
    Json::Value user = record(call, userId)["user"];
    user["info"]["createTime"] =
        Json::Int64(call.db.scalar(0, "SELECT created_at FROM users WHERE id = ?", userId));
    Json::Value tags(Json::arrayValue);
    Query q = call.db.query("SELECT t.id AS \"userTag.id\", t.name AS \"userTag.name\" "
                            "FROM user_tag_rel r JOIN user_tags t ON t.id = r.tag_id "
                            "WHERE r.user_id = ? ORDER BY t.sort, t.id",
                            userId);
    while (q.next())
        tags.append(q.object());
    user["tagList"] = tags;
    return user;
}

std::int64_t find(Call &call, const std::string &key, bool byOrder)
{
    // Each kind of key on its own index, a phone before a card: one statement with the keys
    // OR'ed together reads every member of the merchant. Card numbers compare without regard
    // to case (+merc_id: the card's index, not the merchant's, finds the row).
    std::int64_t id = call.db.scalar(
        0,
        "SELECT id FROM (SELECT id, 0 AS rank FROM users WHERE merc_id = ? AND phone = ? "
        "UNION ALL SELECT id, 1 FROM users WHERE card_no = ? COLLATE NOCASE AND +merc_id = ? "
        "UNION ALL SELECT id, 2 FROM users WHERE rfid_no = ? COLLATE NOCASE AND +merc_id = ?) "
        "ORDER BY rank LIMIT 1",
        call.mercId, key, key, call.mercId, key, call.mercId);
    // An order number finds its customer from any store: members are the merchant's.
    if (!id && byOrder)
        id = call.db.scalar(0, "SELECT user_id FROM orders WHERE merc_id = ? AND order_no = ?",
                            call.mercId, key);
    return id;
}

} // namespace members
