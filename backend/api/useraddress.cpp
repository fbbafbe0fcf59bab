// userAddress/...: customers' addresses.

#include "api/families.h"
#include "domain/ownership.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

using ownership::owned;
namespace records = ownership::records;

namespace {

// Addresses in the order they were added; the terminal moves the default one up itself.
Json::Value addresses(Call &call)
{
    const std::int64_t userId = owned(call, records::member, "userId");
    Json::Value list(Json::arrayValue);
    Query q =
        call.db.query("SELECT id, contact AS name, phone, IFNULL(region_id, 0) AS regionalId, "
                      "city || district AS regionalDesc, address || house_no AS detail, "
                      "is_default AS def, longitude, latitude "
                      "FROM user_addresses WHERE user_id = ? ORDER BY id",
                      userId);
    while (q.next())
        list.append(q.object());
    return list;
}

// The region text arrives whole (province, city and district), so it goes into `district`
// with an empty `city`; a new default address takes the flag from the others.
Json::Value addAddress(Call &call)
{
    const std::int64_t userId = owned(call, records::member, "userId");
    const std::string name = call.requiredText("name");
    const std::string phone = call.requiredText("phone");
    const std::string detail = call.requiredText("detail", limits::longText);
    const std::string regionalDesc = call.text("regionalDesc");
    const std::int64_t regionalId = call.optionalInteger("regionalId", 0);
    const std::int64_t def = call.has("def") ? call.oneOf("def", {0, 1}) : 0;
    if (def == 1)
        call.db.exec("UPDATE user_addresses SET is_default = 0 WHERE user_id = ?", userId);
    call.db.exec("INSERT INTO user_addresses (user_id, contact, phone, city_id, region_id, city, "
                 "district, address, house_no, longitude, latitude, is_default, created_at) "
                 "VALUES (?, ?, ?, ?, ?, '', ?, ?, '', ?, ?, ?, ?)",
                 userId, name, phone, regionalId / 10000 * 10000, regionalId, regionalDesc, detail,
                 call.optionalText("longitude"), call.optionalText("latitude"), def, call.now);
    Json::Value data(Json::objectValue);
    data["id"] = Json::Int64(call.db.lastInsertId());
    return data;
}

} // namespace

void api::userAddress::registerEndpoints(ApiRegistry &api)
{
    api.read("userAddress/list", Access::Worker, addresses);
    api.write("userAddress/add", Access::Worker, addAddress);
}
