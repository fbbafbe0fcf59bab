// userExt/...: what a member has besides the profile.

#include "api/families.h"
#include "domain/ownership.h"
#include "domain/payments.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace {

// The balance a member can spend: paid in and given by recharge offers.
Json::Value balance(Call &call)
{
    const std::int64_t userId = ownership::owned(call, ownership::records::member, "id");
    Json::Value data(Json::objectValue);
    data["userId"] = Json::Int64(userId);
    data["balance"] = Json::Int64(
        call.db.scalar(0, "SELECT balance + gift_balance FROM users WHERE id = ?", userId));
    return data;
}

} // namespace

void api::userExt::registerEndpoints(ApiRegistry &api)
{
    // A payment held past its time holds part of the balance: closed before it is shown.
    api.read("userExt/balance", Access::Worker, balance, payments::expiredOfMember("id"));
}
