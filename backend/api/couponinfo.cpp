// couponInfo/...: a customer's coupons, and the coupon an order uses.

#include <vector>

#include "api/families.h"
#include "domain/coupons.h"
#include "domain/ownership.h"
#include "domain/payments.h"
#include "domain/states.h"
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
        "IFNULL(uc.order_id, 0) AS orderId, c.use_balance AS useBalance "
        "FROM user_coupons uc JOIN coupons c ON c.id = uc.coupon_id "
        "WHERE uc.user_id = ? AND uc.use_status = ? AND uc.time_end > ? "
        "ORDER BY uc.time_end, uc.id",
        call.now, userId, couponState::unused, call.now);
    while (q.next())
        list.append(q.object());
    return list;
}

struct OrderMoney
{
    std::int64_t id = 0;
    std::int64_t userId = 0;
    std::int64_t payable = 0;
};

OrderMoney orderOf(Call &call)
{
    OrderMoney o;
    o.id = ownership::owned(call, ownership::records::order, "orderId");
    Query q = call.db.query("SELECT user_id AS userId, payable_price AS payable FROM orders "
                            "WHERE id = ?",
                            o.id);
    q.next();
    o.userId = q.integer("userId");
    o.payable = q.integer("payable");
    return o;
}

// The coupons of the order's member the order may use, and the one it holds. `amount` is
// what each takes off this order; `enableUse` says whether it can go on it now.
Json::Value couponsOfOrder(Call &call)
{
    const OrderMoney order = orderOf(call);
    std::vector<std::int64_t> ids;
    {
        Query q =
            call.db.query("SELECT id FROM user_coupons WHERE user_id = ? AND "
                          "((use_status = ? AND time_end > ?) OR "
                          "(use_status = ? AND order_id = ?)) ORDER BY time_end, id",
                          order.userId, couponState::unused, call.now, couponState::held, order.id);
        while (q.next())
            ids.push_back(q.integer("id"));
    }
    Json::Value list(Json::arrayValue);
    for (std::int64_t id : ids) {
        const coupons::Coupon c = coupons::load(call.db, id);
        Json::Value entry(Json::objectValue);
        entry["id"] = Json::Int64(c.id);
        entry["name"] = c.name;
        entry["type"] = c.type;
        entry["amount"] = Json::Int64(coupons::value(c, order.payable));
        entry["fullAmount"] = Json::Int64(c.fullAmount);
        entry["discount"] = Json::Int64(c.discount);
        entry["couponRuleName"] = "通用";
        entry["timeStart"] = Json::Int64(c.timeStart);
        entry["timeEnd"] = Json::Int64(c.timeEnd);
        entry["enableUse"] =
            coupons::refusal(c, order.id, order.userId, order.payable, call.now).empty() ? 1 : 0;
        entry["useStatus"] = c.useStatus;
        entry["orderId"] = Json::Int64(c.orderId);
        entry["useBalance"] = c.useBalance ? 1 : 0;
        list.append(entry);
    }
    return list;
}

// A coupon changes only on an order that can still be paid.
OrderMoney changeableOrder(Call &call)
{
    const OrderMoney order = orderOf(call);
    if (call.db.scalar(0, "SELECT pay_status FROM orders WHERE id = ?", order.id) == payState::paid)
        throw ApiError(codes::conflict, "订单已支付");
    if (payments::held(call.db, order.id, call.now))
        throw ApiError(codes::conflict, "订单正在支付中，请稍后再试");
    return order;
}

Json::Value couponMoney(Call &call, std::int64_t orderId, std::int64_t payable)
{
    Json::Value data(Json::objectValue);
    const std::int64_t off =
        call.db.scalar(0, "SELECT coupon_amount FROM orders WHERE id = ?", orderId);
    data["couponAmt"] = Json::Int64(off);
    data["payAmount"] = Json::Int64(payable - off);
    return data;
}

// The order uses the coupon (and lets go of any other).
Json::Value useCoupon(Call &call)
{
    const OrderMoney order = changeableOrder(call);
    const std::int64_t id = ownership::owned(call, ownership::records::userCoupon, "relId");
    const coupons::Coupon c = coupons::load(call.db, id);
    const std::string why = coupons::refusal(c, order.id, order.userId, order.payable, call.now);
    if (!why.empty())
        throw ApiError(codes::conflict, why);
    coupons::hold(call.db, order.id, c, order.payable);
    return couponMoney(call, order.id, order.payable);
}

// The order lets go of the coupon it uses.
Json::Value unuseCoupon(Call &call)
{
    const OrderMoney order = changeableOrder(call);
    const std::int64_t id = ownership::owned(call, ownership::records::userCoupon, "relId");
    const coupons::Coupon c = coupons::load(call.db, id);
    if (c.useStatus != couponState::held || c.orderId != order.id)
        throw ApiError(codes::conflict, "该订单未使用此优惠券");
    coupons::release(call.db, order.id);
    return couponMoney(call, order.id, order.payable);
}

} // namespace

void api::couponInfo::registerEndpoints(ApiRegistry &api)
{
    api.read("couponInfo/userList", Access::Worker, couponsOfMember);
    api.read("couponInfo/orderList", Access::Worker, couponsOfOrder);
    // A payment held past its time holds the order: closed before the coupon changes.
    api.write("couponInfo/use", Access::Worker, useCoupon, payments::expiredOfOrder("orderId"));
    api.write("couponInfo/unused", Access::Worker, unuseCoupon,
              payments::expiredOfOrder("orderId"));
}
