// orderInfo/...: orders. The place-order screen creates the order header before any
// garment is taken in.

#include "api/families.h"
#include "domain/catalogue.h"
#include "domain/coupons.h"
#include "domain/dates.h"
#include "domain/merchant.h"
#include "domain/numbers.h"
#include "domain/ownership.h"
#include "domain/payments.h"
#include "server/call.h"
#include "server/json.h"
#include "server/registry.h"
#include "store/database.h"

namespace {

// 1 = the customer comes to the store, 2 = we come to the customer.
std::int64_t modeField(Call &call, const char *key)
{
    return call.oneOf(key, {1, 2});
}

// "" (no address) or an address of the customer.
std::int64_t addressField(Call &call, const char *key, std::int64_t userId, bool required)
{
    const std::int64_t id = call.optionalInteger(key, 0);
    if (id == 0) {
        if (required)
            throw ApiError(codes::badRequest, "请选择地址");
        return 0;
    }
    ownership::check(call, ownership::records::address, id);
    if (call.db.scalar(0, "SELECT COUNT(*) FROM user_addresses WHERE id = ? AND user_id = ?", id,
                       userId) == 0)
        throw ApiError(codes::notFound, "地址不存在");
    return id;
}

std::string dateNotBefore(Call &call, const char *key, const std::string &earliest)
{
    const std::string date = call.date(key);
    if (date < earliest)
        throw ApiError(codes::badRequest, std::string("日期不能早于") + earliest);
    return date;
}

// The management notes as the list the order keeps: the one sent, or one made of `remark`.
std::string remarkList(Call &call, const std::string &remark)
{
    if (remark.empty())
        return "[]";
    if (call.has("remarkJson") && !call.text("remarkJson", limits::jsonText).empty())
        return json::write(call.jsonArray("remarkJson"));
    Json::Value entry(Json::objectValue);
    entry["createTime"] = "";
    entry["remark"] = remark;
    entry["workId"] = Json::Int64(call.workerId);
    entry["workName"] = "";
    Json::Value list(Json::arrayValue);
    list.append(entry);
    return json::write(list);
}

Json::Value addOrder(Call &call)
{
    const std::int64_t userId = ownership::owned(call, ownership::records::member, "userId");
    const std::int64_t takeMode = modeField(call, "takeMode");
    const std::int64_t sendMode = modeField(call, "sendMode");
    const std::int64_t priority = call.optionalInteger("priority", 0);
    const std::int64_t takeAddr = addressField(call, "takeAddrId", userId, takeMode == 2);
    const std::int64_t sendAddr = addressField(call, "sendAddrId", userId, sendMode == 2);
    const std::string remark = call.optionalText("remark", limits::longText);
    const std::string userRemark = call.optionalText("userRemark", limits::longText);
    const std::string mark = call.optionalText("tag");

    const std::string today = dates::localDate(call.now);
    std::string takeDate, takeStart, takeEnd, sendDate;
    if (takeMode == 2) {
        takeDate = dateNotBefore(call, "takeDate", today);
        takeStart = call.clockTime("takeTimeStart");
        takeEnd = call.clockTime("takeTimeEnd");
        if (takeEnd <= takeStart)
            throw ApiError(codes::badRequest, "取件时间段错误");
    }
    if (sendMode == 2)
        sendDate = dateNotBefore(call, "sendDate", takeMode == 2 ? takeDate : today);
    const std::string remarkJson = remarkList(call, remark);

    std::string storeCode;
    {
        Query q = call.db.query("SELECT code FROM stores WHERE id = ?", call.storeId);
        if (q.next())
            storeCode = q.text("code");
    }
    const std::int64_t discount = call.db.scalar(
        100,
        "SELECT c.discount FROM users u JOIN card_levels c ON c.id = u.card_level_id "
        "WHERE u.id = ?",
        userId);
    const std::string orderNo = numbers::orderNo(call.db, storeCode, call.now);
    // The table keeps the modes as 0 (at the store) and 1 (at the customer's address).
    call.db
        .query("INSERT INTO orders (order_no, merc_id, store_id, user_id, worker_id, status, "
               "discount, take_mode, send_mode, take_address_id, send_address_id, take_time, "
               "send_time, priority, remark_json, created_at, user_remark, mark, take_date, "
               "take_time_start, take_time_end, send_date) "
               "VALUES (?, ?, ?, ?, ?, 0, ?, ?, ?, NULLIF(?, 0), NULLIF(?, 0), ?, ?, ?, ?, ?, ?, "
               "?, ?, ?, ?, ?)")
        .bindAll(orderNo, call.mercId, call.storeId, userId, call.workerId, discount, takeMode - 1,
                 sendMode - 1, takeAddr, sendAddr,
                 takeMode == 2 ? takeDate + " " + takeStart + "-" + takeEnd : std::string(),
                 sendDate, priority, remarkJson, call.now, userRemark, mark, takeDate, takeStart,
                 takeEnd, sendDate)
        .exec();
    const std::int64_t orderId = call.db.lastInsertId();
    call.db.exec("UPDATE orders SET pricing_mode = ? WHERE id = ?",
                 catalogue::pricingModeFor(call.db, userId), orderId);
    if (!remark.empty())
        call.db.exec("INSERT INTO order_remarks (order_id, worker_id, worker_name, remark, "
                     "created_at) VALUES (?, ?, (SELECT name FROM workers WHERE id = ?), ?, ?)",
                     orderId, call.workerId, call.workerId, remark, call.now);
    return Json::Value(orderNo);
}

// What the cashier shows of an order: its money in fen (the coupon's part worked out anew),
// the coupon it holds, the means the merchant has opened, the member's balance and group pay
// card. `modifyPrice` and `cpnRelId` are null when there is none.
Json::Value payInfo(Call &call)
{
    const std::int64_t orderId = ownership::owned(call, ownership::records::order, "id");
    Query q = call.db.query(
        "SELECT o.order_no AS orderNo, o.order_price AS orderPrice, o.modify_price AS modifyPrice, "
        "o.carriage, o.payable_price AS payablePrice, o.pay_status AS payStatus, "
        "o.user_id AS userId, u.balance + u.gift_balance AS balance, "
        "IFNULL(c.enabled, 0) AS cardEnabled, IFNULL(c.balance, 0) AS cardBalance, "
        "IFNULL(c.pay_ratio, 0) AS payRatio FROM orders o JOIN users u ON u.id = o.user_id "
        "LEFT JOIN group_pay_cards c ON c.user_id = o.user_id WHERE o.id = ?",
        orderId);
    q.next();
    const std::int64_t payable = q.integer("payablePrice");
    Json::Value data(Json::objectValue);
    data["orderId"] = Json::Int64(orderId);
    data["orderNo"] = q.text("orderNo");
    data["orderPrice"] = Json::Int64(q.integer("orderPrice"));
    data["modifyPrice"] = q.integer("modifyPrice")
                              ? Json::Value(Json::Int64(q.integer("modifyPrice")))
                              : Json::Value();
    data["carriage"] = Json::Int64(q.integer("carriage"));
    data["payablePrice"] = Json::Int64(payable);
    data["payStatus"] = Json::Int64(q.integer("payStatus"));
    data["isLocked"] = payments::held(call.db, orderId, call.now) ? 1 : 0;
    data["balance"] = Json::Int64(q.integer("balance"));
    coupons::Coupon coupon;
    const bool withCoupon = coupons::heldBy(call.db, orderId, coupon);
    data["cpnRelId"] = withCoupon ? Json::Value(Json::Int64(coupon.id)) : Json::Value();
    data["cpnUseBalance"] = withCoupon ? Json::Value(coupon.useBalance ? 1 : 0) : Json::Value();
    data["couponAmt"] = Json::Int64(withCoupon ? coupons::value(coupon, payable) : 0);
    merchant::addPayMeans(call.db, call.mercId, data);
    Json::Value card(Json::objectValue);
    card["isEnable"] = q.integer("cardEnabled") ? 1 : 0;
    card["balance"] = Json::Int64(q.integer("cardBalance"));
    card["payRatio"] = Json::Int64(q.integer("payRatio"));
    data["uPayCard"] = card;
    return data;
}

} // namespace

void api::orderInfo::registerEndpoints(ApiRegistry &api)
{
    api.write("orderInfo/add", Access::Worker, addOrder);
    api.read("orderInfo/payInfo", Access::Worker, payInfo);
}
