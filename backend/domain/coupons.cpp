#include "domain/coupons.h"

#include <algorithm>

#include "domain/states.h"
#include "server/registry.h"
#include "store/database.h"

namespace coupons {

namespace {

const char *const columns =
    "SELECT uc.id, uc.user_id AS userId, c.name, c.type, c.amount, c.full_amount AS fullAmount, "
    "c.discount, c.use_balance AS useBalance, uc.use_status AS useStatus, "
    "IFNULL(uc.order_id, 0) AS orderId, uc.time_start AS timeStart, uc.time_end AS timeEnd "
    "FROM user_coupons uc JOIN coupons c ON c.id = uc.coupon_id ";

Coupon read(const Query &q)
{
    Coupon c;
    c.id = q.integer("id");
    c.userId = q.integer("userId");
    c.name = q.text("name");
    c.type = static_cast<int>(q.integer("type"));
    c.amount = q.integer("amount");
    c.fullAmount = q.integer("fullAmount");
    c.discount = q.integer("discount");
    c.useBalance = q.integer("useBalance") != 0;
    c.useStatus = static_cast<int>(q.integer("useStatus"));
    c.orderId = q.integer("orderId");
    c.timeStart = q.integer("timeStart");
    c.timeEnd = q.integer("timeEnd");
    return c;
}

} // namespace

Coupon load(Connection &db, std::int64_t userCouponId)
{
    Query q = db.query(std::string(columns) + "WHERE uc.id = ?", userCouponId);
    if (!q.next())
        throw ApiError(codes::notFound, "优惠券不存在");
    return read(q);
}

bool heldBy(Connection &db, std::int64_t orderId, Coupon &out)
{
    Query q = db.query(std::string(columns) +
                           "WHERE uc.order_id = ? AND uc.use_status = ? ORDER BY uc.id LIMIT 1",
                       orderId, couponState::held);
    if (!q.next())
        return false;
    out = read(q);
    return true;
}

std::int64_t value(const Coupon &c, std::int64_t payable)
{
    if (payable <= 0)
        return 0;
    switch (c.type) {
    case 2:
        return payable - payable * std::clamp<std::int64_t>(c.discount, 0, 100) / 100;
    case 3:
        return payable >= c.fullAmount ? std::min(c.amount, payable) : 0;
    default:
        return std::clamp<std::int64_t>(c.amount, 0, payable);
    }
}

std::string refusal(const Coupon &c, std::int64_t orderId, std::int64_t userId,
                    std::int64_t payable, std::int64_t now)
{
    if (c.userId != userId)
        return "优惠券不属于该会员";
    if (c.useStatus == couponState::used)
        return "优惠券已使用";
    if (c.useStatus == couponState::held && c.orderId != orderId)
        return "优惠券已被其他订单使用";
    if (c.useStatus == couponState::expired || c.timeEnd <= now)
        return "优惠券已过期";
    if (c.timeStart > now)
        return "优惠券未到使用时间";
    if (c.type == 3 && payable < c.fullAmount)
        return "订单金额未满足优惠券使用条件";
    return {};
}

void hold(Connection &db, std::int64_t orderId, const Coupon &c, std::int64_t payable)
{
    db.exec("UPDATE user_coupons SET use_status = ?, order_id = NULL "
            "WHERE order_id = ? AND use_status = ? AND id <> ?",
            couponState::unused, orderId, couponState::held, c.id);
    db.exec("UPDATE user_coupons SET use_status = ?, order_id = ? WHERE id = ?", couponState::held,
            orderId, c.id);
    db.exec("UPDATE orders SET coupon_amount = ? WHERE id = ?", value(c, payable), orderId);
}

void release(Connection &db, std::int64_t orderId)
{
    db.exec("UPDATE user_coupons SET use_status = ?, order_id = NULL "
            "WHERE order_id = ? AND use_status = ?",
            couponState::unused, orderId, couponState::held);
    db.exec("UPDATE orders SET coupon_amount = 0 WHERE id = ?", orderId);
}

} // namespace coupons
