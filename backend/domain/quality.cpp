#include "domain/quality.h"

#include <algorithm>
#include <vector>

#include "domain/garments.h"
#include "domain/ownership.h"
#include "domain/pickup.h"
#include "domain/states.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace quality {

namespace {

// The order's slot as the quality test shows it: "" for none.
std::string slotText(std::int64_t slot)
{
    return slot > 0 ? std::to_string(slot) : std::string();
}

// A garment's place among its order's garments passed so far, in the order they were passed
// (0 while it is not), and how many garments the order has that are to be passed at all (those
// refunded unwashed never come back).
struct Place
{
    int index = 0;
    int total = 0;
};

Place placeOf(Connection &db, std::int64_t garmentId)
{
    const std::int64_t orderId = garments::orderOf(db, garmentId);
    Place place;
    place.total = static_cast<int>(
        db.scalar(0, "SELECT COUNT(*) FROM order_products WHERE order_id = ? AND status <> ?",
                  orderId, garmentState::refundWashed));
    Query q = db.query("SELECT id FROM order_products WHERE order_id = ? AND is_packaged = 1 "
                       "AND status <> ? ORDER BY COALESCE(passed_at, status_time), id",
                       orderId, garmentState::refundWashed);
    for (int n = 1; q.next(); ++n)
        if (q.integer("id") == garmentId)
            place.index = n;
    return place;
}

const pickup::GarmentState &stateOf(const std::vector<pickup::GarmentState> &list,
                                    std::int64_t garmentId)
{
    for (const pickup::GarmentState &g : list)
        if (g.id == garmentId)
            return g;
    throw ApiError(codes::notFound, "衣物不存在");
}

// Why a garment out of the store's hands cannot be worked on here.
std::string reason(const pickup::GarmentState &g, const char *action)
{
    if (g.washPending)
        return "衣物退洗审核中: " + g.scanCode;
    return "衣物" + g.statusText + "，不能" + action + ": " + g.scanCode;
}

// The garment must be back in the store, and not waiting for a refund-wash's approval.
void refuseOutOfStore(const pickup::GarmentState &g, const char *action)
{
    if (!pickup::inStore(g.status) || g.washPending)
        throw ApiError(codes::conflict, reason(g, action));
}

void refuseVoided(Connection &db, std::int64_t orderId)
{
    if (db.scalar(0, "SELECT destroyed_at IS NOT NULL FROM orders WHERE id = ?", orderId))
        throw ApiError(codes::conflict, "订单已作废");
}

bool packed(Connection &db, std::int64_t garmentId)
{
    return db.scalar(0, "SELECT is_packaged FROM order_products WHERE id = ?", garmentId) != 0;
}

// A garment passed already, whether it still waits or was hung since.
bool passedAlready(Connection &db, const pickup::GarmentState &g)
{
    return packed(db, g.id) &&
           (g.status == garmentState::passed || g.status == garmentState::onRail);
}

void markAnnexesChecked(Connection &db, std::int64_t garmentId, std::int64_t workerId,
                        std::int64_t now)
{
    db.exec("UPDATE order_product_annexes SET checked = 1, checked_at = ?, checked_by = ? "
            "WHERE order_product_id = ? AND checked = 0",
            now, workerId, garmentId);
}

void markPassed(Connection &db, std::int64_t garmentId, std::int64_t workerId, std::int64_t now)
{
    db.exec("UPDATE order_products SET is_packaged = 1, passed_at = ?, passed_by = ?, "
            "status_time = CASE WHEN status = ? THEN ? ELSE status_time END, "
            "status = CASE WHEN status = ? THEN ? ELSE status END WHERE id = ?",
            now, workerId, garmentState::arrived, now, garmentState::arrived, garmentState::passed,
            garmentId);
    markAnnexesChecked(db, garmentId, workerId, now);
}

// The garment's accessories as the quality test lists them: each with the garment's state
// and rail position, and when and by whom it was checked.
Json::Value annexList(Connection &db, std::int64_t garmentId, const Json::Value &garment,
                      const std::string &railNo)
{
    Json::Value list(Json::arrayValue);
    Query q = db.query("SELECT a.id, a.name AS productName, a.scan_code AS scanCode, "
                       "a.checked AS isPackaged, COALESCE(a.checked_at, p.status_time) AS "
                       "statusTime, COALESCE(w.name, '') AS statusWorkName "
                       "FROM order_product_annexes a "
                       "JOIN order_products p ON p.id = a.order_product_id "
                       "LEFT JOIN workers w ON w.id = a.checked_by "
                       "WHERE a.order_product_id = ? ORDER BY a.id",
                       garmentId);
    while (q.next()) {
        Json::Value a = q.object();
        a["statusText"] = garment["statusText"];
        a["tranNum"] = railNo;
        list.append(a);
    }
    return list;
}

} // namespace

std::int64_t garmentByCode(Call &call, const std::string &code)
{
    const std::int64_t id =
        call.db.scalar(0,
                       "SELECT p.id FROM order_products p JOIN orders o ON o.id = p.order_id "
                       "WHERE p.scan_code = ? AND o.merc_id = ?",
                       code, call.mercId);
    if (id == 0) {
        if (call.db.scalar(0,
                           "SELECT COUNT(*) FROM order_product_annexes a "
                           "JOIN order_products p ON p.id = a.order_product_id "
                           "JOIN orders o ON o.id = p.order_id "
                           "WHERE a.scan_code = ? AND o.merc_id = ?",
                           code, call.mercId) > 0)
            throw ApiError(codes::badRequest, "请扫描衣物条码");
        throw ApiError(codes::notFound, "衣物不存在");
    }
    ownership::check(call, ownership::records::garment, id);
    return id;
}

Json::Value record(Call &call, std::int64_t garmentId)
{
    Query q = call.db.query(
        "SELECT p.id, p.order_id AS orderId, p.product_name AS productName, "
        "p.scan_code AS scanCode, p.status AS statusVal, COALESCE(d.text, '') AS statusText, "
        "p.status_time AS statusTime, p.service_name AS serviceName, "
        "p.is_packaged AS isPackaged, p.is_packaged AS print, "
        "p.add_service_desc AS addServiceDesc, p.brand_name AS brandName, "
        "p.color_desc AS colorDesc, p.flaw_desc AS flawDesc, p.effect_desc AS effectDesc, "
        "s.name AS storeName, o.store_shelf_no AS slot, p.store_shelf_no AS railNo "
        "FROM order_products p JOIN orders o ON o.id = p.order_id "
        "JOIN stores s ON s.id = o.store_id "
        "LEFT JOIN dictionary d ON d.code = 'PRODUCT_STATUS' AND d.val = p.status "
        "WHERE p.id = ?",
        garmentId);
    if (!q.next())
        throw ApiError(codes::notFound, "衣物不存在");
    Json::Value data = q.object();
    data.removeMember("slot");
    data.removeMember("railNo");
    data["storeShelfNo"] = slotText(q.integer("slot"));
    const Place place = placeOf(call.db, garmentId);
    data["proIndex"] = place.index;
    data["proTotal"] = place.total;
    data["productImgList"] = garments::photos(call.db, call.baseUrl, garmentId);
    const std::int64_t railNo = q.integer("railNo");
    data["annexList"] =
        annexList(call.db, garmentId, data, railNo > 0 ? std::to_string(railNo) : std::string());
    return data;
}

void pass(Connection &db, std::int64_t garmentId, std::int64_t workerId, std::int64_t now)
{
    const std::int64_t orderId = garments::orderOf(db, garmentId);
    refuseVoided(db, orderId);
    const std::vector<pickup::GarmentState> list = pickup::loadGarments(db, orderId);
    const pickup::GarmentState &g = stateOf(list, garmentId);
    if (passedAlready(db, g))
        return;
    refuseOutOfStore(g, "质检");
    markPassed(db, garmentId, workerId, now);
}

void passOrder(Connection &db, std::int64_t orderId, std::int64_t workerId, std::int64_t now)
{
    refuseVoided(db, orderId);
    int passed = 0;
    for (const pickup::GarmentState &g : pickup::loadGarments(db, orderId)) {
        if (!pickup::inStore(g.status) || g.washPending || passedAlready(db, g))
            continue;
        markPassed(db, g.id, workerId, now);
        ++passed;
    }
    if (passed == 0)
        throw ApiError(codes::conflict, "订单没有待质检的衣物");
}

Json::Value passAnswer(Connection &db, std::int64_t garmentId)
{
    Query q = db.query("SELECT p.id, p.order_id AS orderId, p.scan_code AS scanCode, "
                       "p.is_packaged AS isPackaged, p.status AS statusVal, "
                       "COALESCE(d.text, '') AS statusText, o.store_shelf_no AS slot "
                       "FROM order_products p JOIN orders o ON o.id = p.order_id "
                       "LEFT JOIN dictionary d ON d.code = 'PRODUCT_STATUS' AND d.val = p.status "
                       "WHERE p.id = ?",
                       garmentId);
    q.next();
    Json::Value data = q.object();
    data.removeMember("slot");
    const Place place = placeOf(db, garmentId);
    Json::Value map(Json::objectValue);
    map["proIndex"] = place.index;
    map["proTotal"] = place.total;
    map["storeShelfNo"] = slotText(q.integer("slot"));
    data["storeShelfNo"] = map["storeShelfNo"];
    data["proIndex"] = place.index;
    data["proTotal"] = place.total;
    data["map"] = map;
    return data;
}

void checkAnnex(Connection &db, std::int64_t garmentId, const std::string &code,
                std::int64_t workerId, std::int64_t now)
{
    Query a = db.query("SELECT id, order_product_id AS garmentId FROM order_product_annexes "
                       "WHERE scan_code = ?",
                       code);
    if (!a.next())
        throw ApiError(codes::notFound, "附件不存在");
    if (a.integer("garmentId") != garmentId)
        throw ApiError(codes::conflict, "附件不属于该衣物");
    const std::int64_t annexId = a.integer("id");
    refuseOutOfStore(stateOf(pickup::loadGarments(db, garments::orderOf(db, garmentId)), garmentId),
                     "核对附件");
    db.exec("UPDATE order_product_annexes SET checked = 1, checked_at = ?, checked_by = ? "
            "WHERE id = ? AND checked = 0",
            now, workerId, annexId);
}

void checkAnnexes(Connection &db, std::int64_t garmentId, std::int64_t workerId, std::int64_t now)
{
    refuseOutOfStore(stateOf(pickup::loadGarments(db, garments::orderOf(db, garmentId)), garmentId),
                     "核对附件");
    markAnnexesChecked(db, garmentId, workerId, now);
}

std::int64_t orderByCode(Call &call, const std::string &code)
{
    const std::int64_t id = call.db.scalar(
        0,
        "SELECT o.id FROM orders o WHERE o.merc_id = ? AND (o.order_no = ? OR o.id IN "
        "(SELECT order_id FROM order_products WHERE scan_code = ?) OR o.id IN "
        "(SELECT p.order_id FROM order_product_annexes a JOIN order_products p "
        "ON p.id = a.order_product_id WHERE a.scan_code = ?)) LIMIT 1",
        call.mercId, code, code, code);
    if (id == 0)
        throw ApiError(codes::notFound, "订单不存在");
    ownership::check(call, ownership::records::order, id);
    return id;
}

Json::Value orderView(Call &call, std::int64_t orderId)
{
    Query q = call.db.query(
        "SELECT o.id AS orderId, o.order_no AS orderNo, COALESCE(ds.text, '') AS statusText, "
        "o.pay_status AS payStatus, o.payable_price AS payable, o.coupon_amount AS coupon, "
        "o.payment_price AS paid, COALESCE(dp.text, '') AS payStatusText, "
        "u.name AS userName, u.grade, u.phone AS userPhone, "
        "u.balance + u.gift_balance AS userBalance, IFNULL(g.name, '默认分组') AS userGroup, "
        "CASE WHEN u.company = 1 THEN m.union_name ELSE '' END AS unionName, "
        "COALESCE(dt.text, '') AS takeModeText, COALESCE(dm.text, '') AS sendModeText, "
        "s.name AS storeName FROM orders o JOIN users u ON u.id = o.user_id "
        "JOIN merchants m ON m.id = o.merc_id JOIN stores s ON s.id = o.store_id "
        "LEFT JOIN user_groups g ON g.id = u.group_id "
        "LEFT JOIN dictionary ds ON ds.code = 'ORDER_STATUS' AND ds.val = o.status "
        "LEFT JOIN dictionary dp ON dp.code = 'PAY_STATUS' AND dp.val = o.pay_status "
        "LEFT JOIN dictionary dt ON dt.code = 'TAKE_MODE' AND dt.val = o.take_mode "
        "LEFT JOIN dictionary dm ON dm.code = 'SEND_MODE' AND dm.val = o.send_mode "
        "WHERE o.id = ?",
        orderId);
    if (!q.next())
        throw ApiError(codes::notFound, "订单不存在");
    Json::Value data = q.object();
    // What a paid order took, what an unpaid one still asks for.
    const bool paid = q.integer("payStatus") == payState::paid;
    const std::int64_t asked =
        std::max<std::int64_t>(q.integer("payable") - q.integer("coupon"), 0);
    data["paymentPrice"] = Json::Int64(paid ? q.integer("paid") : asked);
    for (const char *helper : {"payStatus", "payable", "coupon", "paid", "storeName"})
        data.removeMember(helper);

    const std::string storeName = q.text("storeName");
    Json::Value list(Json::arrayValue);
    int garmentCount = 0;
    for (const pickup::GarmentState &g : pickup::loadGarments(call.db, orderId)) {
        ++garmentCount;
        Query p = call.db.query("SELECT product_name AS productName, status_time AS statusTime, "
                                "is_packaged AS isPackaged FROM order_products WHERE id = ?",
                                g.id);
        p.next();
        Json::Value row(Json::objectValue);
        row["id"] = Json::Int64(g.id);
        row["type"] = 1;
        row["productName"] = p.text("productName");
        row["scanCode"] = g.scanCode;
        row["statusVal"] = Json::Int64(g.status);
        row["statusText"] = g.statusText;
        row["statusTime"] = Json::Int64(p.integer("statusTime"));
        row["isPackaged"] = Json::Int64(p.integer("isPackaged"));
        // A refund-wash waiting for approval holds the garment as much as one approved.
        row["hasRefund"] = g.hasRefund || g.washPending ? 1 : 0;
        row["storeName"] = storeName;
        row["storeShelfNo"] = Json::Int64(g.shelfNo);
        row["tranTypeName"] = g.shelfNo > 0 ? "滑轨" : "";
        list.append(row);
        Query a = call.db.query("SELECT id, name AS productName, scan_code AS scanCode, "
                                "checked AS isPackaged, COALESCE(checked_at, ?) AS statusTime "
                                "FROM order_product_annexes WHERE order_product_id = ? ORDER BY id",
                                p.integer("statusTime"), g.id);
        while (a.next()) {
            Json::Value annex = a.object();
            annex["type"] = 2;
            annex["parentId"] = Json::Int64(g.id);
            for (const char *shared : {"statusVal", "statusText", "hasRefund", "storeName"})
                annex[shared] = row[shared];
            annex["storeShelfNo"] = 0;
            annex["tranTypeName"] = "";
            list.append(annex);
        }
    }
    data["proCnt"] = garmentCount;
    data["productList"] = list;
    return data;
}

void reworkOrder(Connection &db, std::int64_t orderId, std::int64_t now)
{
    const std::vector<pickup::GarmentState> list = pickup::loadGarments(db, orderId);
    if (list.empty())
        throw ApiError(codes::conflict, "订单还没有衣物");
    std::vector<std::int64_t> ids;
    for (const pickup::GarmentState &g : list) {
        if (g.hasRefund)
            throw ApiError(codes::conflict, "衣物已退洗: " + g.scanCode);
        refuseOutOfStore(g, "返洗");
        ids.push_back(g.id);
    }
    pickup::rework(db, orderId, ids, now);
}

} // namespace quality
