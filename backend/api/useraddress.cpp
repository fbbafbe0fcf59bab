// userAddress/...: customers' addresses: listed, added, changed, made the default, deleted.

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
                      "FROM user_addresses WHERE user_id = ? AND deleted = 0 ORDER BY id",
                      userId);
    while (q.next())
        list.append(q.object());
    return list;
}

// The fields of an address as userAddress/add and userAddress/update take them. The region
// text arrives whole (province, city and district), so it goes into `district` with an empty
// `city`.
struct AddressFields
{
    std::string name, phone, detail, regionalDesc, longitude, latitude;
    std::int64_t regionalId = 0;
    std::int64_t def = 0;
};

AddressFields addressFields(Call &call)
{
    AddressFields f;
    f.name = call.requiredText("name");
    f.phone = call.requiredText("phone");
    f.detail = call.requiredText("detail", limits::longText);
    f.regionalDesc = call.text("regionalDesc");
    f.regionalId = call.optionalInteger("regionalId", 0);
    f.def = call.has("def") ? call.oneOf("def", {0, 1}) : 0;
    f.longitude = call.optionalText("longitude");
    f.latitude = call.optionalText("latitude");
    return f;
}

// A new default address takes the flag from the others.
std::int64_t insertAddress(Call &call, std::int64_t userId, const AddressFields &f)
{
    if (f.def == 1)
        call.db.exec("UPDATE user_addresses SET is_default = 0 WHERE user_id = ?", userId);
    call.db.exec("INSERT INTO user_addresses (user_id, contact, phone, city_id, region_id, city, "
                 "district, address, house_no, longitude, latitude, is_default, created_at) "
                 "VALUES (?, ?, ?, ?, ?, '', ?, ?, '', ?, ?, ?, ?)",
                 userId, f.name, f.phone, f.regionalId / 10000 * 10000, f.regionalId,
                 f.regionalDesc, f.detail, f.longitude, f.latitude, f.def, call.now);
    return call.db.lastInsertId();
}

Json::Value addAddress(Call &call)
{
    const std::int64_t userId = owned(call, records::member, "userId");
    Json::Value data(Json::objectValue);
    data["id"] = Json::Int64(insertAddress(call, userId, addressFields(call)));
    return data;
}

std::int64_t memberOf(Call &call, std::int64_t addressId)
{
    return call.db.scalar(0, "SELECT user_id FROM user_addresses WHERE id = ?", addressId);
}

// An address is deleted, or replaced by an update, only for the member: the orders that name
// it keep it as it was.
void retire(Call &call, std::int64_t addressId)
{
    call.db.exec("UPDATE user_addresses SET deleted = 1, is_default = 0 WHERE id = ?", addressId);
}

Json::Value deleteAddress(Call &call)
{
    retire(call, owned(call, records::address, "id"));
    return Json::Value(Json::objectValue);
}

// `id` names the address replaced; the other fields are those of userAddress/add. The answer
// is the id of the address as it is now.
Json::Value updateAddress(Call &call)
{
    const std::int64_t id = owned(call, records::address, "id");
    const std::int64_t userId = memberOf(call, id);
    if (call.has("userId") && call.optionalInteger("userId", userId) != userId)
        throw ApiError(codes::badRequest, "地址不属于该会员");
    AddressFields f = addressFields(call);
    if (!call.has("def"))
        f.def = call.db.scalar(0, "SELECT is_default FROM user_addresses WHERE id = ?", id);
    retire(call, id);
    Json::Value data(Json::objectValue);
    data["id"] = Json::Int64(insertAddress(call, userId, f));
    return data;
}

Json::Value updateDefault(Call &call)
{
    const std::int64_t id = owned(call, records::address, "id");
    call.db.exec("UPDATE user_addresses SET is_default = (id = ?) WHERE user_id = ?", id,
                 memberOf(call, id));
    return Json::Value(Json::objectValue);
}

} // namespace

void api::userAddress::registerEndpoints(ApiRegistry &api)
{
    api.read("userAddress/list", Access::Worker, addresses);
    api.write("userAddress/add", Access::Worker, addAddress);
    api.write("userAddress/update", Access::Worker, updateAddress);
    api.write("userAddress/updateDefault", Access::Worker, updateDefault);
    api.write("userAddress/delete", Access::Worker, deleteAddress);
}
