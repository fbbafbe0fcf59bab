#pragma once

#include <cstdint>
#include <string>

class Connection;

// Coupons on orders. A member's coupon (user_coupons) is unused, held by one unpaid order
// (order_id), used by a paid order or expired (couponState). An order holds at most one; what
// it takes off is worked out from the order's payable amount whenever it is needed, never
// taken from the terminal.
namespace coupons {

struct Coupon
{
    std::int64_t id = 0;
    std::int64_t userId = 0;
    std::string name;
    int type = 1;                // 1 amount off, 2 discount, 3 amount off from a total
    std::int64_t amount = 0;     // fen off (types 1 and 3)
    std::int64_t fullAmount = 0; // fen the order must reach (type 3)
    std::int64_t discount = 100; // percent paid (type 2)
    bool useBalance = true;      // may go with the member balance
    int useStatus = 0;           // couponState
    std::int64_t orderId = 0;    // the order holding it, 0 for none
    std::int64_t timeStart = 0;
    std::int64_t timeEnd = 0;
};

// The coupon of that id; ApiError 404 "优惠券不存在" when there is none. Whose it is, is the
// caller's check.
Coupon load(Connection &db, std::int64_t userCouponId);

// The coupon the order holds, if any (found false otherwise).
bool heldBy(Connection &db, std::int64_t orderId, Coupon &out);

// What the coupon takes off `payable` fen: its amount (type 3 only from its threshold), or
// the part beyond its discount (rounded so the customer pays whole fen); never more than
// `payable`.
std::int64_t value(const Coupon &c, std::int64_t payable);

// Why the coupon cannot go on the order of `orderId` (the member `userId`, `payable` fen),
// or "" when it can.
std::string refusal(const Coupon &c, std::int64_t orderId, std::int64_t userId,
                    std::int64_t payable, std::int64_t now);

// The order holds this coupon (and lets go of any other one); the order's coupon amount is
// updated.
void hold(Connection &db, std::int64_t orderId, const Coupon &c, std::int64_t payable);
// The order lets go of its coupon, if it holds one.
void release(Connection &db, std::int64_t orderId);

} // namespace coupons
