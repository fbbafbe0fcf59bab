#include "domain/orders.h"

#include <algorithm>

#include "server/registry.h"
#include "store/database.h"

namespace orders {

Order load(Connection &db, std::int64_t orderId)
{
    Query q = db.query(
        "SELECT o.id, o.order_no AS orderNo, o.merc_id AS mercId, m.name AS mercName, "
        "o.store_id AS storeId, s.name AS storeName, s.code AS storeCode, u.id AS userId, "
        "u.name AS userName, u.phone AS userPhone, COALESCE(u.card_no, '') AS userCardNo, "
        "u.card_level_id IS NOT NULL AS isMember, u.balance + u.gift_balance AS userBalance, "
        "o.user_remark AS userRemark, COALESCE(w.name, '') AS workerName, o.status, "
        "o.pay_status AS payStatus, o.take_mode AS takeMode, o.send_mode AS sendMode, "
        "COALESCE(o.send_address_id, 0) AS sendAddressId, o.order_price AS orderPrice, "
        "o.discount, o.modify_price AS modifyPrice, o.carriage, "
        "COALESCE(c.pickup_fee, 0) AS pickupFee, o.coupon_amount AS couponAmount, "
        "o.payment_price AS paidPrice, o.refund_price AS refundPrice, o.created_at AS createdAt "
        "FROM orders o JOIN merchants m ON m.id = o.merc_id JOIN stores s ON s.id = o.store_id "
        "JOIN users u ON u.id = o.user_id LEFT JOIN workers w ON w.id = o.worker_id "
        "LEFT JOIN cities c ON c.id = s.city_id WHERE o.id = ?",
        orderId);
    if (!q.next())
        throw ApiError(codes::notFound, "订单不存在");
    Order o;
    o.id = q.integer("id");
    o.orderNo = q.text("orderNo");
    o.mercId = q.integer("mercId");
    o.mercName = q.text("mercName");
    o.storeId = q.integer("storeId");
    o.storeName = q.text("storeName");
    o.storeCode = q.text("storeCode");
    o.userId = q.integer("userId");
    o.userName = q.text("userName");
    o.userPhone = q.text("userPhone");
    o.userCardNo = q.text("userCardNo");
    o.isMember = q.integer("isMember") != 0;
    o.userBalance = q.integer("userBalance");
    o.userRemark = q.text("userRemark");
    o.workerName = q.text("workerName");
    o.status = q.integer("status");
    o.payStatus = q.integer("payStatus");
    o.takeMode = q.integer("takeMode");
    o.sendMode = q.integer("sendMode");
    o.sendAddressId = q.integer("sendAddressId");
    o.orderPrice = q.integer("orderPrice");
    o.discount = q.integer("discount");
    o.modifyPrice = q.integer("modifyPrice");
    o.carriage = q.integer("carriage");
    o.pickupFee = q.integer("pickupFee");
    o.couponAmount = q.integer("couponAmount");
    o.paidPrice = q.integer("paidPrice");
    o.refundPrice = q.integer("refundPrice");
    o.createdAt = q.integer("createdAt");
    return o;
}

std::int64_t takeCarriage(const Order &o)
{
    return o.takeMode == 1 ? std::min(o.pickupFee, o.carriage) : std::int64_t(0);
}

void refreshTotals(Connection &db, std::int64_t orderId)
{
    db.exec("UPDATE orders SET order_price = (SELECT COALESCE(SUM(subtotal), 0) FROM "
            "order_products WHERE order_id = orders.id) WHERE id = ?",
            orderId);
    // The city's fees for fetching and delivering, unless the garments reach its free total.
    db.exec("UPDATE orders SET carriage = COALESCE((SELECT CASE WHEN c.free_above > 0 AND "
            "orders.order_price >= c.free_above THEN 0 ELSE "
            "(CASE WHEN orders.take_mode = 1 THEN c.pickup_fee ELSE 0 END) + "
            "(CASE WHEN orders.send_mode = 1 THEN c.delivery_fee ELSE 0 END) END "
            "FROM stores s JOIN cities c ON c.id = s.city_id WHERE s.id = orders.store_id), 0) "
            "WHERE id = ?",
            orderId);
    db.exec("UPDATE orders SET payable_price = CASE WHEN modify_price > 0 THEN modify_price "
            "ELSE order_price + carriage END WHERE id = ?",
            orderId);
}

void addNote(Connection &db, std::int64_t orderId, std::int64_t workerId, const std::string &remark,
             std::int64_t now)
{
    db.exec("INSERT INTO order_remarks (order_id, worker_id, worker_name, remark, created_at) "
            "VALUES (?, ?, (SELECT name FROM workers WHERE id = ?), ?, ?)",
            orderId, workerId, workerId, remark, now);
}

std::string addressText(Connection &db, std::int64_t addressId)
{
    Query q = db.query("SELECT city || district || address AS place, house_no AS houseNo "
                       "FROM user_addresses WHERE id = ?",
                       addressId);
    if (!q.next())
        return {};
    const std::string houseNo = q.text("houseNo");
    return q.text("place") + (houseNo.empty() ? "" : " " + houseNo);
}

} // namespace orders
