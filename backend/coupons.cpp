// A customer's coupons and the redeeming of coupon codes.

#include <json/json.h>

#include "apiregistry.h"
#include "database.h"
#include "endpoints.h"
#include "members.h"

namespace {

// The coupons a customer can still use: unused and not yet expired, soonest end first.
Json::Value couponsOfMember(Call &call)
{
    const std::int64_t userId = members::memberOf(call, "userId");
    Json::Value list(Json::arrayValue);
    Query q = call.db.query("SELECT uc.id, c.name, c.type, c.amount, c.full_amount, c.discount, "
                            "uc.time_start, uc.time_end, uc.use_status, IFNULL(uc.order_id, 0) "
                            "FROM user_coupons uc JOIN coupons c ON c.id = uc.coupon_id "
                            "WHERE uc.user_id = ? AND uc.use_status = 0 AND uc.time_end > ? "
                            "ORDER BY uc.time_end, uc.id",
                            userId, call.now);
    while (q.next()) {
        Json::Value c(Json::objectValue);
        c["id"] = reply::number(q.integer(0));
        c["name"] = q.text(1);
        c["type"] = reply::number(q.integer(2));
        c["amount"] = reply::number(q.integer(3));
        c["fullAmount"] = reply::number(q.integer(4));
        c["discount"] = reply::number(q.integer(5));
        c["couponRuleName"] = "通用";
        c["timeStart"] = reply::number(q.integer(6));
        c["timeEnd"] = reply::number(q.integer(7));
        c["enableUse"] = reply::number(q.integer(6) <= call.now ? 1 : 0);
        c["useStatus"] = reply::number(q.integer(8));
        c["orderId"] = reply::number(q.integer(9));
        c["useBalance"] = reply::number(1);
        list.append(c);
    }
    return list;
}

// A code gives its coupon once; the coupon runs for the coupon's valid days from now.
Json::Value exchangeCode(Call &call)
{
    const std::int64_t userId = members::memberOf(call, "userId");
    const std::string code = call.requiredText("code");
    Query q = call.db.query("SELECT cc.coupon_id, cc.user_coupon_id IS NOT NULL, c.valid_days "
                            "FROM coupon_codes cc JOIN coupons c ON c.id = cc.coupon_id "
                            "WHERE cc.code = ? AND c.merc_id = ?",
                            code, call.mercId);
    if (!q.next())
        throw ApiError(codes::notFound, "优惠码不存在");
    if (q.integer(1))
        throw ApiError(codes::conflict, "优惠码已被使用");
    const std::int64_t couponId = q.integer(0);
    const std::int64_t end = call.now + q.integer(2) * 24 * 60 * 60 * 1000;
    call.db.exec("INSERT INTO user_coupons (user_id, coupon_id, use_status, time_start, time_end, "
                 "created_at) VALUES (?, ?, 0, ?, ?, ?)",
                 userId, couponId, call.now, end, call.now);
    const std::int64_t userCouponId = call.db.lastInsertId();
    call.db.exec("UPDATE coupon_codes SET user_coupon_id = ? WHERE code = ?", userCouponId, code);
    Json::Value data(Json::objectValue);
    data["id"] = reply::number(userCouponId);
    return data;
}

} // namespace

void registerCouponEndpoints(ApiRegistry &api)
{
    api.add("couponInfo/userList", Access::Worker, couponsOfMember);
    api.add("couponFCode/exchangeCode", Access::Worker, exchangeCode);
}
