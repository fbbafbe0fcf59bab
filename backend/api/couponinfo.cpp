// couponInfo/...: a customer's coupons.

#include "api/families.h"
#include "domain/ownership.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace {

// The coupons a customer can still use: unused and not yet expired, soonest end first.
Json::Value couponsOfMember(Call &call)
{
    const std::int64_t userId = ownership::owned(call, ownership::records::member, "userId");
    Json::Value list(Json::arrayValue);
    Query q = call.db.query(
        "SELECT uc.id, c.name, c.type, c.amount, c.full_amount AS fullAmount, c.discount, "
        "'通用' AS couponRuleName, uc.time_start AS timeStart, uc.time_end AS timeEnd, "
        "uc.time_start <= ? AS enableUse, uc.use_status AS useStatus, "
        "IFNULL(uc.order_id, 0) AS orderId, 1 AS useBalance "
        "FROM user_coupons uc JOIN coupons c ON c.id = uc.coupon_id "
        "WHERE uc.user_id = ? AND uc.use_status = 0 AND uc.time_end > ? "
        "ORDER BY uc.time_end, uc.id",
        call.now, userId, call.now);
    while (q.next())
        list.append(q.object());
    return list;
}

} // namespace

void api::couponInfo::registerEndpoints(ApiRegistry &api)
{
    api.read("couponInfo/userList", Access::Worker, couponsOfMember);
}
