// Customers' addresses and the pick-up and delivery time slots.

#include <json/json.h>

#include "apiregistry.h"
#include "database.h"
#include "endpoints.h"
#include "members.h"

namespace {

// Addresses in the order they were added; the terminal moves the default one up itself.
Json::Value addresses(Call &call)
{
    const std::int64_t userId = members::memberOf(call, "userId");
    Json::Value list(Json::arrayValue);
    Query q = call.db.query("SELECT id, contact, phone, IFNULL(region_id, 0), city || district, "
                            "address || house_no, is_default, longitude, latitude "
                            "FROM user_addresses WHERE user_id = ? ORDER BY id",
                            userId);
    while (q.next()) {
        Json::Value a(Json::objectValue);
        a["id"] = reply::number(q.integer(0));
        a["name"] = q.text(1);
        a["phone"] = q.text(2);
        a["regionalId"] = reply::number(q.integer(3));
        a["regionalDesc"] = q.text(4);
        a["detail"] = q.text(5);
        a["def"] = reply::number(q.integer(6));
        a["longitude"] = q.text(7);
        a["latitude"] = q.text(8);
        list.append(a);
    }
    return list;
}

// The region text arrives whole (province, city and district), so it goes into `district`
// with an empty `city`; a new default address takes the flag from the others.
Json::Value addAddress(Call &call)
{
    const std::int64_t userId = members::memberOf(call, "userId");
    const std::string name = call.requiredText("name");
    const std::string phone = call.requiredText("phone");
    const std::string detail = call.requiredText("detail");
    const std::string regionalDesc = call.text("regionalDesc");
    const std::int64_t regionalId = call.optionalInteger("regionalId", 0);
    const std::int64_t def = call.optionalInteger("def", 0);
    if (def != 0 && def != 1)
        throw ApiError(codes::badRequest, "参数取值错误: def");
    if (def == 1)
        call.db.exec("UPDATE user_addresses SET is_default = 0 WHERE user_id = ?", userId);
    call.db.exec("INSERT INTO user_addresses (user_id, contact, phone, city_id, region_id, city, "
                 "district, address, house_no, longitude, latitude, is_default, created_at) "
                 "VALUES (?, ?, ?, ?, ?, '', ?, ?, '', ?, ?, ?, ?)",
                 userId, name, phone, regionalId / 10000 * 10000, regionalId, regionalDesc, detail,
                 call.optionalText("longitude"), call.optionalText("latitude"), def, call.now);
    Json::Value data(Json::objectValue);
    data["id"] = reply::number(call.db.lastInsertId());
    return data;
}

Json::Value serviceTimes(Call &call)
{
    Json::Value list(Json::arrayValue);
    Query q = call.db.query("SELECT id, time_start, time_end FROM service_times WHERE merc_id = ? "
                            "ORDER BY time_start, id",
                            call.mercId);
    while (q.next()) {
        Json::Value slot(Json::objectValue);
        slot["id"] = reply::number(q.integer(0));
        slot["timeStart"] = q.text(1);
        slot["timeEnd"] = q.text(2);
        list.append(slot);
    }
    Json::Value data(Json::objectValue);
    data["list"] = list;
    return data;
}

} // namespace

void registerUserAddressEndpoints(ApiRegistry &api)
{
    api.add("userAddress/list", Access::Worker, addresses);
    api.add("userAddress/add", Access::Worker, addAddress);
    api.add("serviceTime/list", Access::Worker, serviceTimes);
}
