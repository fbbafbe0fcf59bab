// orderProductRel/...: garments of orders: one found by its code, the store's garments listed,
// an electronic label bound to a garment; the garments waiting for a factory bag, and those
// back from the factory confirmed in the store.

#include <cctype>
#include <vector>

#include "api/families.h"
#include "domain/batches.h"
#include "domain/books.h"
#include "domain/garments.h"
#include "domain/members.h"
#include "domain/merchant.h"
#include "domain/ownership.h"
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

// The garment as the garment entry screen reads it to change it, and as the garment details
// show it: `productInfo` (an intake row, with its order, store, factory and rail place),
// `user` (the customer record of its order's member), `statusList` (its road, oldest first)
// and `productImgList` (its photos).
Json::Value detail(Call &call)
{
    const std::string code = trimmed(call.requiredText("scanCode"));
    const std::int64_t id =
        call.db.scalar(0,
                       "SELECT p.id FROM order_products p JOIN orders o ON o.id = p.order_id "
                       "WHERE p.scan_code = ? AND o.merc_id = ?",
                       code, call.mercId);
    if (!id)
        throw ApiError(codes::notFound, "衣物不存在");
    ownership::check(call, ownership::records::garment, id);
    Json::Value info = garments::intakeRow(call.db, id);
    Query q = call.db.query(
        "SELECT o.order_no AS orderNo, o.user_id AS userId, s.name AS storeName, "
        "COALESCE(f.name, '') AS factoryName, p.store_shelf_no AS storeShelfNo, "
        "COALESCE(w.name, '') AS workName FROM order_products p "
        "JOIN orders o ON o.id = p.order_id JOIN stores s ON s.id = o.store_id "
        "LEFT JOIN factories f ON f.id = p.factory_id LEFT JOIN workers w ON w.id = o.worker_id "
        "WHERE p.id = ?",
        id);
    q.next();
    const std::int64_t shelf = q.integer("storeShelfNo");
    info["orderNo"] = q.text("orderNo");
    info["total"] =
        garments::pieceCount(garments::ofOrder(call.db, garments::orderOf(call.db, id)));
    info["storeName"] = q.text("storeName");
    info["factoryName"] = q.text("factoryName");
    info["storeShelfNo"] = Json::Int64(shelf);
    info["tranTypeName"] = shelf > 0 ? "滑轨" : "";
    info["tranTypeText"] = shelf > 0 ? "滑轨" : "";
    info["tranNum"] = shelf > 0 ? std::to_string(shelf) : "";
    Json::Value data(Json::objectValue);
    data["productInfo"] = info;
    data["user"] = members::record(call, q.integer("userId"))["user"];

    // Its road: the intake by the order's worker, then every status it reached.
    Json::Value track(Json::arrayValue);
    Query t =
        call.db.query("SELECT t.created_at AS createTime, COALESCE(d.text, '') AS statusText, "
                      "CASE WHEN t.status = ? THEN ? ELSE '' END AS workName "
                      "FROM garment_track t LEFT JOIN dictionary d "
                      "ON d.code = 'PRODUCT_STATUS' AND d.val = t.status "
                      "WHERE t.order_product_id = ? ORDER BY t.created_at, t.id",
                      garmentState::takenIn, q.text("workName"), id);
    while (t.next())
        track.append(t.object());
    data["statusList"] = track;
    data["productImgList"] = garments::photos(call.db, call.baseUrl, id);
    return data;
}

// The garments' status choices of the garment list: `data` is the list, each `text`, `val`.
Json::Value statuses(Call &call)
{
    return merchant::dictionaryChoices(call.db, "PRODUCT_STATUS");
}

// Garments from this status on have left the store's hands (handed out, refunded unwashed).
constexpr int handedOut = garmentState::handedOut;

// `id` and `bindCode`: the electronic label read from the reader or typed. A label moves on
// from a garment that was handed out; one on a garment still in the chain is refused.
Json::Value bindCode(Call &call)
{
    const std::int64_t id = ownership::owned(call, ownership::records::garment, "id");
    std::string code = trimmed(call.requiredText("bindCode"));
    if (code.empty() || code.size() > 35 ||
        code.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        throw ApiError(codes::badRequest, "标签号错误");
    for (char &c : code)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (call.db.scalar(0, "SELECT status FROM order_products WHERE id = ?", id) >= handedOut)
        throw ApiError(codes::conflict, "衣物已取走，不能绑标");
    Query holder = call.db.query("SELECT id, status FROM order_products "
                                 "WHERE rfid_code = ? AND id <> ?",
                                 code, id);
    if (holder.next()) {
        if (holder.integer("status") < handedOut)
            throw ApiError(codes::conflict, "该标签已绑定其他衣物");
        call.db.exec("UPDATE order_products SET rfid_code = NULL WHERE id = ?",
                     holder.integer("id"));
    }
    call.db.exec("UPDATE order_products SET rfid_code = ? WHERE id = ?", code, id);
    return Json::Value(Json::objectValue);
}

// What the garment list's code search names: an order of the store by its number or its
// factory waybill number (its garments), else the store's garment by its code or by an
// accessory's (that garment); nothing for a code that names none of them. An order's garments
// are found by their order, not among the store's.
void keywordCondition(Call &call, const std::string &keywords, Conditions &where)
{
    // The number first, then the waybill, each on its own index.
    std::int64_t orderId = call.db.scalar(
        0, "SELECT id FROM orders WHERE order_no = ? AND store_id = ?", keywords, call.storeId);
    if (orderId == 0)
        orderId = call.db.scalar(0,
                                 "SELECT id FROM orders WHERE factory_trans_no = ? AND "
                                 "factory_trans_no <> '' AND store_id = ? LIMIT 1",
                                 keywords, call.storeId);
    if (orderId != 0) {
        where.add("p.order_id = ?", orderId);
        return;
    }
    where.add("p.store_id = ?", call.storeId);
    where.add("p.id = ?",
              call.db.scalar(0,
                             "SELECT id FROM order_products WHERE scan_code = ? UNION ALL "
                             "SELECT order_product_id FROM order_product_annexes "
                             "WHERE scan_code = ?",
                             keywords, keywords));
}

// The store's garments, newest first, in `data.list`: by `keywords` (keywordCondition), the
// creation dates `startDate` and `endDate` ("yyyy-MM-dd", both days included), status
// `proStatusVal` and factory `factoryId`, each only when sent; `pageNum` and `pageSize` (up to
// 100 a page; all of an order when not sent). The page's garments are chosen on the indexes
// of the garments' store first, then only they are read in full.
Json::Value proList(Call &call)
{
    const Page page = call.page(100, 100);
    Conditions where;
    const std::string keywords = trimmed(call.optionalText("keywords"));
    if (!keywords.empty())
        keywordCondition(call, keywords, where);
    else
        where.add("p.store_id = ?", call.storeId);
    books::createdBetween(call, where, "p.created_at", "startDate", "endDate");
    if (const auto status = call.optionalInteger("proStatusVal"))
        where.add("p.status = ?", *status);
    if (call.optionalInteger("factoryId"))
        where.add("p.factory_id = ?",
                  ownership::owned(call, ownership::records::factory, "factoryId"));
    Query q = where.query(
        call.db, "WITH page AS (SELECT p.id, p.created_at FROM order_products p",
        "ORDER BY p.created_at DESC, p.id DESC LIMIT ? OFFSET ?) "
        "SELECT p.id, 1 AS type, p.product_name AS productName, p.service_name AS serviceName, "
        "p.subtotal, p.scan_code AS scanCode, o.order_no AS orderNo, o.id AS orderId, "
        "u.name AS userName, u.phone AS userPhone, u.grade, p.created_at AS createTime, "
        "COALESCE(b.bag_no, '') AS batchInCode, COALESCE(f.name, '') AS factoryName, "
        "COALESCE((SELECT bo.batch_no FROM batch_out_rel r2 JOIN batch_out bo "
        "ON bo.id = r2.batch_out_id WHERE r2.order_product_id = p.id ORDER BY bo.id DESC "
        "LIMIT 1), '') AS batchOutCode, p.status AS statusVal, "
        "COALESCE(d.text, '') AS statusText, p.store_shelf_no AS storeShelfNo, "
        "CASE WHEN p.store_shelf_no > 0 THEN '滑轨' ELSE '' END AS tranTypeText, "
        "CASE WHEN p.store_shelf_no > 0 THEN '滑轨' ELSE '' END AS tranTypeName, "
        "CASE WHEN p.store_shelf_no > 0 THEN CAST(p.store_shelf_no AS TEXT) ELSE '' END "
        "AS tranNum, COALESCE(p.rfid_code, '') AS bindCode, "
        "(SELECT COUNT(*) FROM order_product_annexes a "
        "WHERE a.order_product_id = p.id) AS annexCnt "
        "FROM page JOIN order_products p ON p.id = page.id JOIN orders o ON o.id = p.order_id "
        "JOIN users u ON u.id = o.user_id "
        "LEFT JOIN batch_in_rel r ON r.order_product_id = p.id "
        "LEFT JOIN batch_in b ON b.id = r.batch_in_id "
        "LEFT JOIN factories f ON f.id = p.factory_id "
        "LEFT JOIN dictionary d ON d.code = 'PRODUCT_STATUS' AND d.val = p.status "
        "ORDER BY page.created_at DESC, page.id DESC",
        {page.size, page.offset()});

    Json::Value list(Json::arrayValue);
    while (q.next()) {
        Json::Value row = q.object();
        row["isEnableBindCode"] = q.integer("statusVal") < handedOut ? 1 : 0;
        // The customer as the garment list reads it: {"n": name, "p": phone}.
        Json::Value user(Json::objectValue);
        user["n"] = q.text("userName");
        user["p"] = q.text("userPhone");
        row["userJson"] = json::write(user);
        list.append(row);
    }
    Json::Value data(Json::objectValue);
    data["list"] = list;
    return data;
}

// The garments of one order the text `field` names, each the caller's; and their order.
std::vector<std::int64_t> garmentsOfOneOrder(Call &call, const char *field, std::int64_t &orderId)
{
    const std::vector<std::int64_t> ids = garments::chosen(call, field);
    orderId = 0;
    for (const std::int64_t id : ids) {
        ownership::check(call, ownership::records::garment, id);
        const std::int64_t order = garments::orderOf(call.db, id);
        if (orderId != 0 && order != orderId)
            throw ApiError(codes::badRequest, "衣物不属于同一订单");
        orderId = order;
    }
    return ids;
}

// `orderProIds`: the chosen garments go to the customer, all or none.
Json::Value productSign(Call &call)
{
    std::int64_t orderId = 0;
    const std::vector<std::int64_t> ids = garmentsOfOneOrder(call, "orderProIds", orderId);
    pickup::handOut(call.db, orderId, ids, call.now);
    return Json::Value(Json::objectValue);
}

// `proIds`: the chosen garments go back to the factory to be washed again, all or none.
Json::Value stockReworkBatch(Call &call)
{
    std::int64_t orderId = 0;
    const std::vector<std::int64_t> ids = garmentsOfOneOrder(call, "proIds", orderId);
    pickup::rework(call.db, orderId, ids, call.now);
    return Json::Value(Json::objectValue);
}

// ---- the quality check and the rail ------------------------------------------------------

// `scanCode` (and `queryFlag`, which changes nothing here): the garment for the quality test.
Json::Value queryProductInfo(Call &call)
{
    return quality::record(call,
                           quality::garmentByCode(call, trimmed(call.requiredText("scanCode"))));
}

// `id`: one garment goes back to the factory from the quality test.
Json::Value stockRework(Call &call)
{
    const std::int64_t id = ownership::owned(call, ownership::records::garment, "id");
    pickup::rework(call.db, garments::orderOf(call.db, id), {id}, call.now);
    return Json::Value(Json::objectValue);
}

// `orderId`: "全部返洗", every garment of the order.
Json::Value orderRework(Call &call)
{
    quality::reworkOrder(call.db, ownership::owned(call, ownership::records::order, "orderId"),
                         call.now);
    return Json::Value(Json::objectValue);
}

// `id` and `shelfNo`: the garment on that position of the store's rail.
Json::Value clothesShelf(Call &call)
{
    const std::int64_t id = ownership::owned(call, ownership::records::garment, "id");
    rail::hang(call.db, call.storeId, id, call.integer("shelfNo"), call.now);
    return Json::Value(Json::objectValue);
}

// `orderId` and `stoerShelfNo` (so named by the terminal): the order's garments on the rail
// from that position on.
Json::Value orderShelf(Call &call)
{
    const std::int64_t orderId = ownership::owned(call, ownership::records::order, "orderId");
    rail::hangOrder(call.db, call.storeId, orderId, call.integer("stoerShelfNo"), call.now);
    return Json::Value(Json::objectValue);
}

// ---- The factory road: garments waiting for a bag, garments back from the factory ----------

// `pageNum`, `pageSize`: the store's garments waiting for a factory bag (taken in, or sent
// back for rework), the longest waiting first, in `data.list`.
Json::Value batchInList(Call &call)
{
    const Page page = call.page(10, 100);
    Query q = call.db.query(
        "SELECT p.id, p.product_name AS productName, o.order_no AS orderNo, "
        "p.scan_code AS scanCode, p.service_name AS serviceName, p.subtotal, "
        "COALESCE(d.text, '') AS statusText, (SELECT COUNT(*) FROM order_product_annexes a "
        "WHERE a.order_product_id = p.id) AS annexCnt "
        "FROM order_products p JOIN orders o ON o.id = p.order_id "
        "LEFT JOIN dictionary d ON d.code = 'PRODUCT_STATUS' AND d.val = p.status "
        "WHERE o.store_id = ? AND o.destroyed_at IS NULL AND o.status >= ? "
        "AND p.status IN (?, ?) ORDER BY p.id LIMIT ? OFFSET ?",
        call.storeId, orderState::takenIn, garmentState::takenIn, garmentState::rework, page.size,
        page.offset());
    Json::Value list(Json::arrayValue);
    while (q.next())
        list.append(q.object());
    Json::Value data(Json::objectValue);
    data["list"] = list;
    return data;
}

// `orderId`, `isStoreStatus` 0 or 1: the order's garments back from the factory still to be
// confirmed in the store, or those confirmed, each followed by its accessories.
Json::Value factoryOutList(Call &call)
{
    const std::int64_t orderId = ownership::owned(call, ownership::records::order, "orderId");
    return batches::garmentsOfOrder(call.db, orderId, call.oneOf("isStoreStatus", {0, 1}) == 1);
}

// `id` for one garment, or `orderId` for every garment of the order still to be confirmed:
// back in the store. Neither is refused: no request confirms anything by leaving ids out.
Json::Value factoryOutConfirm(Call &call)
{
    const std::optional<std::int64_t> garmentId = call.optionalInteger("id");
    if (garmentId) {
        ownership::check(call, ownership::records::garment, *garmentId);
        const std::optional<std::int64_t> orderId = call.optionalInteger("orderId");
        if (orderId && garments::orderOf(call.db, *garmentId) != *orderId)
            throw ApiError(codes::badRequest, "衣物不属于该订单");
        batches::arrive(call.db, *garmentId, call.now);
        return Json::Value(Json::objectValue);
    }
    if (!call.optionalInteger("orderId"))
        throw ApiError(codes::badRequest, "请选择衣物");
    const std::int64_t orderId = ownership::owned(call, ownership::records::order, "orderId");
    const std::vector<std::int64_t> pending = batches::pendingOfOrder(call.db, orderId);
    if (pending.empty())
        throw ApiError(codes::conflict, "该订单的衣物都已确认到店");
    for (const std::int64_t id : pending)
        batches::arrive(call.db, id, call.now);
    return Json::Value(Json::objectValue);
}

// `scanCode` (the garment's, or one of its accessories'): the garment is back in the store.
// The garment's return (`factoryName`, `storeName`, `createTime`), `workName` and `proList`.
Json::Value reachStore(Call &call)
{
    const std::string code = trimmed(call.requiredText("scanCode"));
    const std::int64_t garmentId = garments::byScanCode(call.db, call.mercId, code);
    if (garmentId == 0)
        throw ApiError(codes::notFound, "衣物不存在: " + code);
    ownership::check(call, ownership::records::garment, garmentId);
    batches::arrive(call.db, garmentId, call.now);
    return batches::garmentReturn(call.db, garmentId, call.workerId);
}

} // namespace

void api::orderProductRel::registerEndpoints(ApiRegistry &api)
{
    api.read("orderProductRel/detail", Access::Worker, detail);
    api.read("orderProductRel/proList", Access::Worker, proList);
    api.write("orderProductRel/bindCode", Access::Worker, bindCode);
    api.write("orderProductRel/productSign", Access::Worker, productSign);
    api.write("orderProductRel/stockReworkBatch", Access::Worker, stockReworkBatch);
    // The quality check and the rail.
    api.read("orderProductRel/queryProductInfo", Access::Worker, queryProductInfo);
    api.write("orderProductRel/stockRework", Access::Worker, stockRework);
    api.write("orderProductRel/orderRework", Access::Worker, orderRework);
    api.write("orderProductRel/clothesShelf", Access::Worker, clothesShelf);
    api.write("orderProductRel/orderShelf", Access::Worker, orderShelf);
    // The garment list.
    api.read("orderProductRel/status/list", Access::Worker, statuses);
    // The factory road.
    api.read("orderProductRel/batchInList", Access::Worker, batchInList);
    api.read("orderProductRel/factoryOut/proList", Access::Worker, factoryOutList);
    api.write("orderProductRel/factoryOut/confirmStore", Access::Worker, factoryOutConfirm);
    api.write("orderProductRel/reachStore/confirm", Access::Worker, reachStore);
}
