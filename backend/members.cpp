// The customer record and the checks that the member endpoints share.

#include "members.h"

#include <cstdio>
#include <ctime>

#include <json/json.h>

#include "apiregistry.h"
#include "database.h"
#include "numbers.h"

namespace members {

std::int64_t memberOf(Call &call, const char *key)
{
    const std::int64_t id = call.integer(key);
    if (call.db.scalar(0, "SELECT COUNT(*) FROM users WHERE id = ? AND merc_id = ?", id,
                       call.mercId) == 0)
        throw ApiError(codes::notFound, "会员不存在");
    return id;
}

Json::Value record(Call &call, std::int64_t userId)
{
    Query q = call.db.query(
        "SELECT u.id, u.name, u.sex, u.phone, u.grade, u.balance + u.gift_balance, u.points, "
        "u.birthday, IFNULL(u.card_no, ''), IFNULL(u.rfid_no, ''), IFNULL(c.id, 0), "
        "IFNULL(c.name, ''), IFNULL(c.sort, 0), IFNULL(c.discount, 100), IFNULL(g.id, -1), "
        "IFNULL(g.name, '默认分组'), m.union_name "
        "FROM users u JOIN merchants m ON m.id = u.merc_id "
        "LEFT JOIN card_levels c ON c.id = u.card_level_id "
        "LEFT JOIN user_groups g ON g.id = u.group_id WHERE u.id = ?",
        userId);
    if (!q.next())
        throw ApiError(codes::notFound, "会员不存在");
    Json::Value user(Json::objectValue);
    Json::Value &info = user["info"];
    info["id"] = reply::number(q.integer(0));
    info["name"] = q.text(1);
    info["sex"] = reply::number(q.integer(2));
    info["phone"] = q.text(3);
    info["wxId"] = "";
    info["wxNickname"] = "";
    info["headimgPath"] = "";
    info["status"] = 1;
    info["verifyPhone"] = 1;
    info["verifyIos"] = 0;
    info["verifyAndriod"] = 0;
    info["subscribe"] = 0;
    info["grade"] = reply::number(q.integer(4));
    Json::Value &ext = user["ext"];
    ext["balance"] = reply::number(q.integer(5));
    ext["point"] = reply::number(q.integer(6));
    ext["birthday"] = q.text(7);
    Json::Value &card = user["card"];
    card["no"] = q.text(8);
    card["rfidNo"] = q.text(9);
    card["isBinding"] = q.text(9).empty() ? 0 : 1;
    Json::Value &level = card["info"];
    level["id"] = reply::number(q.integer(10));
    level["name"] = q.text(11);
    level["level"] = reply::number(q.integer(12));
    level["discount"] = reply::number(q.integer(13));
    level["discountType"] = 1; // one discount per level
    Json::Value &group = user["group"];
    group["id"] = reply::number(q.integer(14));
    group["name"] = q.text(15);
    // Members of a company client (grade 1) belong to the merchant's corporate union.
    user["unionInfo"]["name"] = q.integer(4) == 1 ? q.text(16) : std::string();
    user["couponCnt"] = reply::number(
        call.db.scalar(0,
                       "SELECT COUNT(*) FROM user_coupons WHERE user_id = ? AND use_status = 0 "
                       "AND time_end > ?",
                       userId, call.now));
    Json::Value data(Json::objectValue);
    data["user"] = user;
    return data;
}

std::string localDate(std::int64_t ms)
{
    const std::tm tm = numbers::localTime(ms);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
    return buf;
}

namespace {

bool digitsAt(const std::string &text, size_t from, size_t count, int &value)
{
    value = 0;
    for (size_t i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

} // namespace

bool isDate(const std::string &text)
{
    int y = 0, m = 0, d = 0;
    if (text.size() != 10 || text[4] != '-' || text[7] != '-' || !digitsAt(text, 0, 4, y) ||
        !digitsAt(text, 5, 2, m) || !digitsAt(text, 8, 2, d))
        return false;
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m < 1 || m > 12 || d < 1)
        return false;
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return d <= days[m - 1] + (m == 2 && leap ? 1 : 0);
}

bool isClock(const std::string &text)
{
    int h = 0, m = 0;
    return text.size() == 5 && text[2] == ':' && digitsAt(text, 0, 2, h) &&
           digitsAt(text, 3, 2, m) && h < 24 && m < 60;
}

} // namespace members
