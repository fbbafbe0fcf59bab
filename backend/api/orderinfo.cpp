// orderInfo/...: orders. The place-order screen creates the order header before any
// garment is taken in.

#include <algorithm>

#include "api/families.h"
#include "domain/books.h"
#include "domain/batches.h"
#include "domain/catalogue.h"
#include "domain/coupons.h"
#include "domain/dates.h"
#include "domain/garments.h"
#include "domain/members.h"
#include "domain/merchant.h"
#include "domain/numbers.h"
#include "domain/orders.h"
#include "domain/ownership.h"
#include "domain/payments.h"
#include "domain/pickup.h"
#include "domain/quality.h"
#include "domain/rail.h"
#include "domain/states.h"
#include "server/call.h"
#include "server/json.h"
#include "server/registry.h"
#include "store/conditions.h"
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
               "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, NULLIF(?, 0), NULLIF(?, 0), ?, ?, ?, ?, ?, ?, "
               "?, ?, ?, ?, ?)")
        .bindAll(orderNo, call.mercId, call.storeId, userId, call.workerId, orderState::waiting,
                 discount, takeMode - 1, sendMode - 1, takeAddr, sendAddr,
                 takeMode == 2 ? takeDate + " " + takeStart + "-" + takeEnd : std::string(),
                 sendDate, priority, remarkJson, call.now, userRemark, mark, takeDate, takeStart,
                 takeEnd, sendDate)
        .exec();
    const std::int64_t orderId = call.db.lastInsertId();
    call.db.exec("UPDATE orders SET pricing_mode = ? WHERE id = ?",
                 catalogue::pricingModeFor(call.db, userId), orderId);
    if (!remark.empty())
        orders::addNote(call.db, orderId, call.workerId, remark, call.now);
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

// ---- orderInfo/detail ------------------------------------------------------------------------

// The management notes of an order, newest first: `createTime` ("yyyy-MM-dd hh:mm:ss"),
// `workName`, `remark`.
Json::Value notesOf(Connection &db, std::int64_t orderId)
{
    Json::Value list(Json::arrayValue);
    Query q = db.query("SELECT created_at AS at, worker_name AS workName, remark "
                       "FROM order_remarks WHERE order_id = ? ORDER BY id DESC",
                       orderId);
    while (q.next()) {
        Json::Value note(Json::objectValue);
        note["createTime"] = dates::localDateTime(q.integer("at"));
        note["workName"] = q.text("workName");
        note["remark"] = q.text("remark");
        list.append(note);
    }
    return list;
}

// One order in full: its header, customer, money (fen), the management notes (`remarkJson`)
// and the garments (`productList`, the rows the intake screen shows).
Json::Value detail(Call &call)
{
    const std::int64_t orderId = ownership::owned(call, ownership::records::order, "id");
    Query q = call.db.query(
        "SELECT o.id, o.order_no AS orderNo, '' AS transNo, o.factory_trans_no AS factoryTransNo, "
        "o.created_at AS createTime, o.priority, o.status, COALESCE(ds.text, '') AS statusText, "
        "o.pay_status AS payStatus, COALESCE(dp.text, '') AS payStatusText, "
        "o.credit_status AS creditStatus, o.destroyed_at IS NOT NULL AS destroyed, "
        "o.order_price AS orderPrice, o.modify_price AS modifyPrice, o.carriage, "
        "o.coupon_amount AS couponAmt, o.payable_price AS payablePrice, "
        "o.payment_price AS paymentPrice, o.refund_price AS refundPrice, "
        "o.user_remark AS userRemark, o.mark AS tag, COALESCE(dt.text, '') AS takeModeText, "
        "COALESCE(dm.text, '') AS sendModeText, o.take_date AS takeDate, o.send_date AS sendDate, "
        "u.id AS \"userInfo.id\", u.name AS \"userInfo.name\", u.phone AS \"userInfo.phone\", "
        "u.grade AS \"userInfo.grade\", COALESCE(u.card_no, '') AS \"userInfo.cardNo\", "
        "COALESCE(u.rfid_no, '') AS \"userInfo.rfidNo\", "
        "COALESCE(c.name, '') AS \"userInfo.cardName\", "
        "u.balance + u.gift_balance AS \"userInfo.balance\", u.points AS \"userInfo.point\" "
        "FROM orders o JOIN users u ON u.id = o.user_id "
        "LEFT JOIN card_levels c ON c.id = u.card_level_id "
        "LEFT JOIN dictionary ds ON ds.code = 'ORDER_STATUS' AND ds.val = o.status "
        "LEFT JOIN dictionary dp ON dp.code = 'PAY_STATUS' AND dp.val = o.pay_status "
        "LEFT JOIN dictionary dt ON dt.code = 'TAKE_MODE' AND dt.val = o.take_mode "
        "LEFT JOIN dictionary dm ON dm.code = 'SEND_MODE' AND dm.val = o.send_mode WHERE o.id = ?",
        orderId);
    q.next();
    Json::Value data = q.object();
    data["productList"] = garments::intakeRows(call.db, orderId);
    data["remarkJson"] = notesOf(call.db, orderId);
    data.removeMember("destroyed");
    pickup::describe(call.db, orderId, call.now, data);
    books::addWashedStep(call.db, orderId, data["statusList"]);
    // What the order details show of the customer beyond the order view: the bindings, the
    // picture and the group card.
    const Json::Value member = members::record(call, data["userInfo"]["id"].asInt64())["user"];
    for (const char *key :
         {"wxNickname", "wxId", "verifyAndriod", "verifyIos", "verifyPhone", "headimgPath"})
        data["userInfo"][key] = member["info"][key];
    data["unionName"] = member["unionInfo"]["name"];
    return data;
}

// ---- orderInfo/modifyPrice, orderInfo/updateFactoryTransNo -----------------------------------

// The most a total set by hand may be: 999,999.99 yuan.
constexpr std::int64_t maxPrice = 99999999;

// `id` and `modifyPrice` (fen): what the order asks for instead of its garments and carriage.
// Only while the order is not paid or being paid, and not yet sent. 0 is refused: the worker
// who types it means a free order, not "back to the garments' total".
Json::Value modifyPrice(Call &call)
{
    const std::int64_t orderId = ownership::owned(call, ownership::records::order, "id");
    const std::int64_t fen = call.integer("modifyPrice");
    if (fen < 0 || fen > maxPrice)
        throw ApiError(codes::badRequest, "金额错误");
    if (fen == 0)
        throw ApiError(codes::badRequest, "修改后的总价须大于0");
    Query q = call.db.query("SELECT status, pay_status AS payStatus, "
                            "destroyed_at IS NOT NULL AS destroyed FROM orders WHERE id = ?",
                            orderId);
    q.next();
    if (q.integer("destroyed"))
        throw ApiError(codes::conflict, "订单已作废");
    if (q.integer("payStatus") == payState::paid)
        throw ApiError(codes::conflict, "订单已付款，不能修改金额");
    if (payments::held(call.db, orderId, call.now))
        throw ApiError(codes::conflict, "订单正在付款，请稍后再试");
    if (q.integer("status") > orderState::takenIn)
        throw ApiError(codes::conflict, "订单已送洗，不能修改金额");
    call.db.exec("UPDATE orders SET modify_price = ? WHERE id = ?", fen, orderId);
    orders::refreshTotals(call.db, orderId);
    return Json::Value(Json::objectValue);
}

// `orderId` and `transNo`: the factory's waybill number, by which the intake screen finds the
// order too; one waybill belongs to one order of the merchant.
Json::Value updateFactoryTransNo(Call &call)
{
    const std::int64_t orderId = ownership::owned(call, ownership::records::order, "orderId");
    const std::string number = trimmed(call.requiredText("transNo"));
    if (number.empty() || number.size() > 35 ||
        number.find_first_not_of("0123456789") != std::string::npos)
        throw ApiError(codes::badRequest, "运单号只能是数字，最多35位");
    if (call.db.scalar(0, "SELECT destroyed_at IS NOT NULL FROM orders WHERE id = ?", orderId))
        throw ApiError(codes::conflict, "订单已作废");
    if (call.db.scalar(0,
                       "SELECT COUNT(*) FROM orders WHERE merc_id = ? AND factory_trans_no = ? "
                       "AND id <> ?",
                       call.mercId, number, orderId) > 0)
        throw ApiError(codes::conflict, "该运单号已用于其他订单");
    call.db.exec("UPDATE orders SET factory_trans_no = ? WHERE id = ?", number, orderId);
    return Json::Value(Json::objectValue);
}

// ---- orderInfo/list, orderInfo/destroy: the order book -----------------------------------

// The store's orders, newest first, a page at a time (books::orderPage), narrowed by each
// filter sent: `userId` (a member's orders), `searchValue` (an order number of the store, or
// a member's phone, card or RFID card number: that member's orders; nothing for a text that
// names neither), the creation dates `startCreateTime` and `endCreateTime` ("yyyy-MM-dd", both
// days included), `statusVal` (ORDER_STATUS) and `payStatus` (PAY_STATUS).
Json::Value orderList(Call &call)
{
    const Page page = call.page();
    Conditions where;
    where.add("o.store_id = ?", call.storeId);
    if (call.optionalInteger("userId", 0) != 0)
        where.add("o.user_id = ?", ownership::owned(call, ownership::records::member, "userId"));
    const std::string search = trimmed(call.optionalText("searchValue"));
    if (!search.empty()) {
        const std::int64_t orderId = call.db.scalar(
            0, "SELECT id FROM orders WHERE order_no = ? AND store_id = ?", search, call.storeId);
        if (orderId != 0)
            where.add("o.id = ?", orderId);
        else // 0: nobody, no order
            where.add("o.user_id = ?", members::find(call, search, false));
    }
    books::createdBetween(call, where, "o.created_at", "startCreateTime", "endCreateTime");
    if (const auto status = call.optionalInteger("statusVal"))
        where.add("o.status = ?", *status);
    if (const auto paid = call.optionalInteger("payStatus")) {
        if (*paid != payState::paid && *paid != payState::unpaid)
            throw ApiError(codes::badRequest, "参数错误: payStatus");
        where.add("o.pay_status = ?", *paid);
    }
    Json::Value data(Json::objectValue);
    data["list"] = books::orderPage(call.db, where, page, call.now);
    return data;
}

// `id` and `remark`, the reason (required): an order taken by mistake is voided, once.
Json::Value destroyOrder(Call &call)
{
    const std::int64_t orderId = ownership::owned(call, ownership::records::order, "id");
    const std::string remark = trimmed(call.text("remark", limits::longText));
    if (remark.empty())
        throw ApiError(codes::badRequest, "请输入作废原因");
    books::destroy(call.db, orderId, call.workerId, remark, call.now);
    return Json::Value(Json::objectValue);
}

// ---- the pick-up counter ---------------------------------------------------------------------

// A customer's orders in this store, newest first, in `data.pageInfo.list`: by `userId`, or
// by `searchValue` (an order number lists that order; a card or phone number its holder's).
Json::Value takeList(Call &call)
{
    const Page page = call.page(10, 100);
    std::int64_t userId = 0;
    std::string orderNo;
    if (call.has("userId") && call.optionalInteger("userId", 0) != 0) {
        userId = ownership::owned(call, ownership::records::member, "userId");
    } else {
        const std::string key = trimmed(call.requiredText("searchValue"));
        if (call.db.scalar(0, "SELECT COUNT(*) FROM orders WHERE store_id = ? AND order_no = ?",
                           call.storeId, key) > 0)
            orderNo = key;
        else
            userId = members::find(call, key, false);
    }
    Json::Value list(Json::arrayValue);
    Query q = call.db.query(
        "SELECT o.id, o.order_no AS orderNo, o.created_at AS createTime, "
        "o.payable_price AS payablePrice, COALESCE(ds.text, '') AS statusText, "
        "COALESCE(dp.text, '') AS payStatusText, (SELECT COUNT(*) FROM order_products p "
        "WHERE p.order_id = o.id) + (SELECT COUNT(*) FROM order_product_annexes a JOIN "
        "order_products p ON p.id = a.order_product_id WHERE p.order_id = o.id) AS productCnt "
        "FROM orders o LEFT JOIN dictionary ds ON ds.code = 'ORDER_STATUS' AND ds.val = o.status "
        "LEFT JOIN dictionary dp ON dp.code = 'PAY_STATUS' AND dp.val = o.pay_status "
        "WHERE o.store_id = ? AND (o.user_id = ? OR o.order_no = ?) "
        "ORDER BY o.created_at DESC, o.id DESC LIMIT ? OFFSET ?",
        call.storeId, userId, orderNo, page.size, page.offset());
    while (q.next())
        list.append(q.object());
    Json::Value data(Json::objectValue);
    data["pageInfo"]["list"] = list;
    data["pageInfo"]["pageNum"] = Json::Int64(page.num);
    data["pageInfo"]["pageSize"] = Json::Int64(page.size);
    return data;
}

// `id`: every garment of the order that is in the store goes to the customer.
Json::Value signOrder(Call &call)
{
    const std::int64_t orderId = ownership::owned(call, ownership::records::order, "id");
    pickup::handOut(call.db, orderId, {}, call.now);
    return Json::Value(Json::objectValue);
}

Json::Value completeOrder(Call &call)
{
    const std::int64_t orderId = ownership::owned(call, ownership::records::order, "id");
    pickup::complete(call.db, orderId, call.now);
    return Json::Value(Json::objectValue);
}

// `id` and `creditRemark`, the reason the customer may pay later.
Json::Value creditOrder(Call &call)
{
    const std::int64_t orderId = ownership::owned(call, ownership::records::order, "id");
    const std::string remark = trimmed(call.requiredText("creditRemark", limits::longText));
    if (remark.empty())
        throw ApiError(codes::badRequest, "请输入赊账原因");
    pickup::credit(call.db, orderId, remark, call.now);
    return Json::Value(Json::objectValue);
}

// ---- the quality check and the rail -----------------------------------------------------------

// `scanCode`: the order of a garment's or an accessory's code, or of that number.
Json::Value search(Call &call)
{
    return quality::orderView(call,
                              quality::orderByCode(call, trimmed(call.requiredText("scanCode"))));
}

// `orderId` and `storeShelfNo`: the slot (配单号) the worker typed for the order.
Json::Value updateStoreShelfNo(Call &call)
{
    const std::int64_t orderId = ownership::owned(call, ownership::records::order, "orderId");
    rail::setSlot(call.db, call.storeId, orderId, call.integer("storeShelfNo"));
    return Json::Value(Json::objectValue);
}

// ---- The factory road -------------------------------------------------------------------

// `orderNo`: the order whose garments came back from the factory, scanned at the store:
// `orderId`, `orderNo`, its latest return (`createTime`, `factoryName`, `storeName`) and the
// signed-in worker as `workName`.
Json::Value factoryOutScan(Call &call)
{
    const std::string orderNo = trimmed(call.requiredText("orderNo"));
    const std::int64_t orderId = call.db.scalar(
        0, "SELECT id FROM orders WHERE order_no = ? AND merc_id = ?", orderNo, call.mercId);
    if (orderId == 0)
        throw ApiError(codes::notFound, "订单不存在: " + orderNo);
    ownership::check(call, ownership::records::order, orderId);
    return batches::orderReturn(call.db, orderId, call.workerId);
}

} // namespace

void api::orderInfo::registerEndpoints(ApiRegistry &api)
{
    // A payment held past its time holds the order and the member's balance these show or
    // change: closed before they look.
    const Upkeep expired = payments::expiredOfOrder("id");
    api.write("orderInfo/add", Access::Worker, addOrder);
    api.read("orderInfo/payInfo", Access::Worker, payInfo, expired);
    api.read("orderInfo/detail", Access::Worker, detail, expired);
    api.read("orderInfo/list", Access::Worker, orderList);
    api.write("orderInfo/modifyPrice", Access::Worker, modifyPrice, expired);
    api.write("orderInfo/updateFactoryTransNo", Access::Worker, updateFactoryTransNo);
    api.read("orderInfo/takeList2", Access::Worker, takeList);
    api.write("orderInfo/sign", Access::Worker, signOrder);
    api.write("orderInfo/complete", Access::Worker, completeOrder);
    api.write("orderInfo/credit", Access::Worker, creditOrder);
    // The quality check and the rail.
    api.read("orderInfo/search", Access::Worker, search);
    api.write("orderInfo/updateStoreShelfNo", Access::Worker, updateStoreShelfNo);
    // The order book.
    api.write("orderInfo/destroy", Access::Worker, destroyOrder, expired);
    // The factory road.
    api.read("orderInfo/factoryOut/scanCode", Access::Worker, factoryOutScan);
}
