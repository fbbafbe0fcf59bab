// couponFCode/...: redeeming coupon codes.

#include "api/families.h"
#include "domain/ownership.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace {

// A code gives its coupon once; the coupon runs for the coupon's valid days from now.
Json::Value exchangeCode(Call &call)
{
    const std::int64_t userId = ownership::owned(call, ownership::records::member, "userId");
    const std::string code = call.requiredText("code");
    Query q = call.db.query("SELECT cc.coupon_id AS couponId, "
                            "cc.user_coupon_id IS NOT NULL AS used, c.valid_days AS validDays "
                            "FROM coupon_codes cc JOIN coupons c ON c.id = cc.coupon_id "
                            "WHERE cc.code = ?",
                            code);
    if (!q.next())
        throw ApiError(codes::notFound, "优惠码不存在");
    ownership::check(call, ownership::records::coupon, q.integer("couponId"));
    if (q.integer("used"))
        throw ApiError(codes::conflict, "优惠码已被使用");
    const std::int64_t couponId = q.integer("couponId");
    const std::int64_t end = call.now + q.integer("validDays") * 24 * 60 * 60 * 1000;
    call.db.exec("INSERT INTO user_coupons (user_id, coupon_id, use_status, time_start, time_end, "
                 "created_at) VALUES (?, ?, 0, ?, ?, ?)",
                 userId, couponId, call.now, end, call.now);
    const std::int64_t userCouponId = call.db.lastInsertId();
    call.db.exec("UPDATE coupon_codes SET user_coupon_id = ? WHERE code = ?", userCouponId, code);
    Json::Value data(Json::objectValue);
    data["id"] = Json::Int64(userCouponId);
    return data;
}

} // namespace

void api::couponFCode::registerEndpoints(ApiRegistry &api)
{
    api.write("couponFCode/exchangeCode", Access::Worker, exchangeCode);
}
