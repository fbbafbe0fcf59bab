#include "domain/batches.h"

#include "domain/numbers.h"
#include "domain/states.h"
#include "server/registry.h"
#include "store/database.h"

namespace batches {

namespace {

// A garment is waiting to be confirmed while it is back from the factory (已出厂) and its
// return is not confirmed yet.
const char *const pendingCondition =
    "p.status = ? AND EXISTS (SELECT 1 FROM batch_out_rel r WHERE r.order_product_id = p.id "
    "AND r.confirmed_at IS NULL)";

std::vector<std::int64_t> ids(Query &q)
{
    std::vector<std::int64_t> out;
    while (q.next())
        out.push_back(q.integer("id"));
    return out;
}

// Appends the garment and its accessories as the arrival lists show them.
void appendRows(Connection &db, std::int64_t garmentId, bool confirmed, Json::Value &rows)
{
    Query g = db.query("SELECT p.id, p.scan_code AS scanCode, o.order_no AS orderNo, "
                       "p.product_name AS productName, p.service_name AS serviceName "
                       "FROM order_products p JOIN orders o ON o.id = p.order_id WHERE p.id = ?",
                       garmentId);
    if (!g.next())
        return;
    const char *checked = confirmed ? "已核对" : "未核对";
    Json::Value row = g.object();
    row["orderProType"] = 1;
    row["type"] = 1;
    row["storeStatusText"] = checked;
    rows.append(row);
    Query a = db.query("SELECT name, scan_code AS scanCode FROM order_product_annexes "
                       "WHERE order_product_id = ? ORDER BY id",
                       garmentId);
    while (a.next()) {
        Json::Value annex = row;
        annex["scanCode"] = a.text("scanCode");
        annex["productName"] = a.text("name");
        annex["serviceName"] = "";
        annex["orderProType"] = 2;
        annex["type"] = 2;
        rows.append(annex);
    }
}

// The batch the garment came back in last, 0 for none.
std::int64_t latestBatchOf(Connection &db, std::int64_t garmentId)
{
    return db.scalar(0, "SELECT MAX(batch_out_id) FROM batch_out_rel WHERE order_product_id = ?",
                     garmentId);
}

std::string workerName(Connection &db, std::int64_t workerId)
{
    Query q = db.query("SELECT name FROM workers WHERE id = ?", workerId);
    return q.next() ? q.text("name") : std::string();
}

const char *const batchColumns =
    "SELECT bo.id, bo.batch_no AS code, bo.status, COALESCE(f.name, '') AS factoryName, "
    "s.name AS storeName, bo.created_at AS factoryWorkTime "
    "FROM batch_out bo JOIN stores s ON s.id = bo.store_id "
    "LEFT JOIN factories f ON f.id = bo.factory_id WHERE bo.id = ?";

} // namespace

Json::Value sendBack(Connection &db, std::int64_t bagId, std::int64_t now)
{
    Query bag = db.query("SELECT b.status, b.factory_id AS factoryId, b.store_id AS storeId, "
                         "s.code AS storeCode, (SELECT COUNT(*) FROM batch_out bo "
                         "WHERE bo.batch_in_id = b.id) AS returned "
                         "FROM batch_in b JOIN stores s ON s.id = b.store_id WHERE b.id = ?",
                         bagId);
    if (!bag.next())
        throw ApiError(codes::notFound, "袋子不存在");
    if (bag.integer("status") != bagState::atFactory)
        throw ApiError(codes::conflict, "工厂还没有收到该袋子");
    if (bag.integer("returned"))
        throw ApiError(codes::conflict, "该袋衣物已送回");
    Query washed = db.query("SELECT p.id FROM order_products p JOIN batch_in_rel r "
                            "ON r.order_product_id = p.id WHERE r.batch_in_id = ? AND p.status = ? "
                            "ORDER BY p.id",
                            bagId, garmentState::washing);
    const std::vector<std::int64_t> garments = ids(washed);
    if (garments.empty())
        throw ApiError(codes::conflict, "袋子里没有洗护中的衣物");

    const std::string code = numbers::batchNo(db, bag.text("storeCode"), now);
    db.exec("INSERT INTO batch_out (batch_no, factory_id, store_id, status, created_at, "
            "batch_in_id) VALUES (?, ?, ?, ?, ?, ?)",
            code, bag.integer("factoryId"), bag.integer("storeId"), batchState::onTheWay, now,
            bagId);
    const std::int64_t batchId = db.lastInsertId();
    for (const std::int64_t garmentId : garments) {
        db.exec("INSERT INTO batch_out_rel (batch_out_id, order_product_id) VALUES (?, ?)", batchId,
                garmentId);
        db.exec("UPDATE order_products SET status = ?, status_time = ? WHERE id = ?",
                garmentState::leftFactory, now, garmentId);
    }
    Json::Value batch(Json::objectValue);
    batch["id"] = Json::Int64(batchId);
    batch["batchCode"] = code;
    return batch;
}

std::int64_t byCode(Connection &db, std::int64_t mercId, const std::string &code)
{
    return db.scalar(0,
                     "SELECT bo.id FROM batch_out bo JOIN stores s ON s.id = bo.store_id "
                     "WHERE bo.batch_no = ? AND s.merc_id = ?",
                     code, mercId);
}

Json::Value receive(Connection &db, std::int64_t batchId, std::int64_t now)
{
    db.exec("UPDATE batch_out SET status = ?, received_at = ? WHERE id = ? AND status = ?",
            batchState::received, now, batchId, batchState::onTheWay);
    Query q = db.query(batchColumns, batchId);
    if (!q.next())
        throw ApiError(codes::notFound, "批次不存在");
    return q.object();
}

Json::Value garmentsOfBatch(Connection &db, std::int64_t batchId)
{
    Query q = db.query("SELECT order_product_id AS id, confirmed_at IS NOT NULL AS confirmed "
                       "FROM batch_out_rel WHERE batch_out_id = ? ORDER BY order_product_id",
                       batchId);
    Json::Value rows(Json::arrayValue);
    while (q.next())
        appendRows(db, q.integer("id"), q.integer("confirmed") != 0, rows);
    return rows;
}

Json::Value garmentsOfOrder(Connection &db, std::int64_t orderId, bool confirmed)
{
    std::vector<std::int64_t> listed;
    if (confirmed) {
        Query q = db.query(
            "SELECT p.id FROM order_products p JOIN batch_out_rel r ON r.order_product_id = p.id "
            "WHERE p.order_id = ? AND r.confirmed_at IS NOT NULL AND r.batch_out_id = "
            "(SELECT MAX(r2.batch_out_id) FROM batch_out_rel r2 WHERE r2.order_product_id = p.id) "
            "ORDER BY p.id",
            orderId);
        listed = ids(q);
    } else {
        listed = pendingOfOrder(db, orderId);
    }
    Json::Value rows(Json::arrayValue);
    for (const std::int64_t id : listed)
        appendRows(db, id, confirmed, rows);
    return rows;
}

std::vector<std::int64_t> pendingOfBatch(Connection &db, std::int64_t batchId)
{
    Query q = db.query("SELECT p.id FROM order_products p JOIN batch_out_rel r "
                       "ON r.order_product_id = p.id WHERE r.batch_out_id = ? AND "
                       "r.confirmed_at IS NULL AND p.status = ? ORDER BY p.id",
                       batchId, garmentState::leftFactory);
    return ids(q);
}

std::vector<std::int64_t> pendingOfOrder(Connection &db, std::int64_t orderId)
{
    Query q = db.query(std::string("SELECT p.id FROM order_products p WHERE p.order_id = ? AND ") +
                           pendingCondition + " ORDER BY p.id",
                       orderId, garmentState::leftFactory);
    return ids(q);
}

void arrive(Connection &db, std::int64_t garmentId, std::int64_t now)
{
    Query g = db.query(std::string("SELECT p.scan_code AS scanCode, p.order_id AS orderId, ") +
                           "(" + pendingCondition +
                           ") AS pending, COALESCE(d.text, '') AS "
                           "statusText FROM order_products p LEFT JOIN dictionary d "
                           "ON d.code = 'PRODUCT_STATUS' AND d.val = p.status WHERE p.id = ?",
                       garmentState::leftFactory, garmentId);
    if (!g.next())
        throw ApiError(codes::notFound, "衣物不存在");
    const std::string code = g.text("scanCode");
    if (!g.integer("pending"))
        throw ApiError(codes::conflict, "衣物" + g.text("statusText") + "，不能确认到店: " + code);
    const std::int64_t orderId = g.integer("orderId");
    const std::int64_t batchId =
        db.scalar(0,
                  "SELECT batch_out_id FROM batch_out_rel WHERE order_product_id = ? AND "
                  "confirmed_at IS NULL",
                  garmentId);
    db.exec("UPDATE batch_out_rel SET confirmed_at = ? WHERE batch_out_id = ? AND "
            "order_product_id = ?",
            now, batchId, garmentId);
    db.exec("UPDATE order_products SET status = ?, status_time = ? WHERE id = ?",
            garmentState::arrived, now, garmentId);
    // The batch is evidently at the store, scanned or not.
    db.exec("UPDATE batch_out SET status = ?, received_at = ? WHERE id = ? AND status = ?",
            batchState::received, now, batchId, batchState::onTheWay);
    // Nothing of the order is at the counter waiting, in a bag or at the factory any more.
    const std::int64_t away = db.scalar(
        1,
        "SELECT COUNT(*) FROM order_products WHERE order_id = ? AND status IN (?, ?, ?, ?, ?, ?)",
        orderId, garmentState::takenIn, garmentState::inBag, garmentState::sentToFactory,
        garmentState::washing, garmentState::leftFactory, garmentState::rework);
    if (away == 0)
        db.exec("UPDATE orders SET status = ? WHERE id = ? AND status IN (?, ?)", orderState::ready,
                orderId, orderState::takenIn, orderState::washing);
}

Json::Value orderReturn(Connection &db, std::int64_t orderId, std::int64_t workerId)
{
    Query q =
        db.query("SELECT o.id AS orderId, o.order_no AS orderNo, bo.created_at AS createTime, "
                 "COALESCE(f.name, '') AS factoryName, s.name AS storeName "
                 "FROM orders o JOIN stores s ON s.id = o.store_id "
                 "JOIN batch_out bo ON bo.id = (SELECT MAX(r.batch_out_id) FROM batch_out_rel r "
                 "JOIN order_products p ON p.id = r.order_product_id WHERE p.order_id = o.id) "
                 "LEFT JOIN factories f ON f.id = bo.factory_id WHERE o.id = ?",
                 orderId);
    if (!q.next())
        throw ApiError(codes::conflict, "该订单没有出厂的衣物");
    Json::Value data = q.object();
    data["workName"] = workerName(db, workerId);
    return data;
}

Json::Value garmentReturn(Connection &db, std::int64_t garmentId, std::int64_t workerId)
{
    const std::int64_t batchId = latestBatchOf(db, garmentId);
    Query q = db.query(batchColumns, batchId);
    Json::Value data(Json::objectValue);
    data["workName"] = workerName(db, workerId);
    if (q.next()) {
        data["factoryName"] = q.text("factoryName");
        data["storeName"] = q.text("storeName");
        data["createTime"] = Json::Int64(q.integer("factoryWorkTime"));
    }
    Json::Value rows(Json::arrayValue);
    appendRows(db, garmentId,
               db.scalar(0,
                         "SELECT confirmed_at IS NOT NULL FROM batch_out_rel WHERE "
                         "batch_out_id = ? AND order_product_id = ?",
                         batchId, garmentId) != 0,
               rows);
    data["proList"] = rows;
    return data;
}

} // namespace batches
