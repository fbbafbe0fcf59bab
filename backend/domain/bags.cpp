#include "domain/bags.h"

#include <vector>

#include "domain/numbers.h"
#include "domain/states.h"
#include "server/registry.h"
#include "store/conditions.h"
#include "store/database.h"

namespace bags {

namespace {

// The terminal counts bag states from 1.
constexpr int terminalOffset = 1;

const char *statusText(std::int64_t state)
{
    switch (state) {
    case bagState::open:
        return "等待物流人员收取";
    case bagState::sent:
        return "送往工厂途中";
    default:
        return "到工厂";
    }
}

// The columns a bag is shown with (alias b for batch_in, s for its store, f its factory).
const char *const bagColumns =
    "SELECT b.id, b.bag_no AS code, "
    "(SELECT COUNT(*) FROM batch_in_rel r WHERE r.batch_in_id = b.id) AS productCnt, "
    "(SELECT COUNT(*) FROM batch_in_rel r JOIN order_product_annexes a "
    "ON a.order_product_id = r.order_product_id WHERE r.batch_in_id = b.id) AS annexCnt, "
    "b.completed_at IS NOT NULL AS completed, b.status, s.name AS storeName, "
    "COALESCE(f.name, '') AS factoryName, b.logistics_name AS logisticsWorkName, "
    "b.logistics_phone AS logisticsWorkPhone, b.created_at AS createTime, "
    "b.collected_at AS logisticsWorkTime, b.completed_at AS storeWorkTime, "
    "b.factory_received_at AS factoryWorkTime "
    "FROM batch_in b JOIN stores s ON s.id = b.store_id "
    "LEFT JOIN factories f ON f.id = b.factory_id";

// A row of bagColumns as the terminal reads a bag.
Json::Value bagRow(const Query &q)
{
    Json::Value row = q.object();
    const std::int64_t state = q.integer("status");
    row.removeMember("completed");
    row["isFinish"] = q.integer("completed") || state != bagState::open ? 1 : 0;
    row["status"] = Json::Int64(state + terminalOffset);
    row["statusText"] = statusText(state);
    return row;
}

} // namespace

Json::Value list(Connection &db, std::int64_t storeId, const Filter &filter, std::int64_t limit,
                 std::int64_t offset)
{
    // A completed bag has its completion time and stays open (bagState) until it is sent.
    Conditions where;
    where.add("b.store_id = ?", storeId);
    if (filter.isFinish)
        where.add("(b.completed_at IS NOT NULL OR b.status <> ?) = ?", bagState::open,
                  *filter.isFinish ? 1 : 0);
    if (filter.status)
        where.add("b.status = ?", *filter.status - terminalOffset);
    if (!filter.code.empty())
        where.add("instr(b.bag_no, ?) > 0", filter.code);
    Query q = where.query(db, bagColumns, "ORDER BY b.id DESC LIMIT ? OFFSET ?", {limit, offset});
    Json::Value rows(Json::arrayValue);
    while (q.next())
        rows.append(bagRow(q));
    return rows;
}

Json::Value create(Connection &db, std::int64_t storeId, const std::string &storeCode,
                   std::int64_t workerId, std::int64_t now)
{
    const std::string code = numbers::bagNo(db, storeCode, now);
    db.exec("INSERT INTO batch_in (bag_no, store_id, factory_id, worker_id, status, created_at) "
            "VALUES (?, ?, (SELECT MIN(f.id) FROM factories f JOIN stores s "
            "ON s.merc_id = f.merc_id WHERE s.id = ?), ?, ?, ?)",
            code, storeId, storeId, workerId, bagState::open, now);
    Json::Value bag(Json::objectValue);
    bag["id"] = Json::Int64(db.lastInsertId());
    bag["code"] = code;
    return bag;
}

void putIn(Connection &db, std::int64_t bagId, std::int64_t garmentId, std::int64_t now)
{
    if (db.scalar(1, "SELECT completed_at IS NOT NULL OR status <> ? FROM batch_in WHERE id = ?",
                  bagState::open, bagId))
        throw ApiError(codes::conflict, "袋子已完成，不能再放入衣物");
    Query q = db.query("SELECT p.scan_code AS scanCode, p.status, COALESCE(d.text, '') AS "
                       "statusText, o.status AS orderStatus, o.destroyed_at IS NOT NULL AS "
                       "destroyed, (SELECT COUNT(*) FROM batch_in_rel r "
                       "WHERE r.order_product_id = p.id) AS bagged "
                       "FROM order_products p JOIN orders o ON o.id = p.order_id "
                       "LEFT JOIN dictionary d ON d.code = 'PRODUCT_STATUS' AND d.val = p.status "
                       "WHERE p.id = ?",
                       garmentId);
    if (!q.next())
        throw ApiError(codes::notFound, "衣物不存在");
    const std::string code = q.text("scanCode");
    if (q.integer("destroyed"))
        throw ApiError(codes::conflict, "订单已作废: " + code);
    if (q.integer("orderStatus") < orderState::takenIn)
        throw ApiError(codes::conflict, "订单尚未完成入库: " + code);
    // A garment sent back for rework goes to the factory again: its earlier bag gives it up.
    const bool again = q.integer("status") == garmentState::rework;
    if (q.integer("bagged") && !again)
        throw ApiError(codes::conflict, "衣物已入袋: " + code);
    if (q.integer("status") != garmentState::takenIn && !again)
        throw ApiError(codes::conflict, "衣物" + q.text("statusText") + "，不能入袋: " + code);
    if (again)
        db.exec("DELETE FROM batch_in_rel WHERE order_product_id = ?", garmentId);
    db.exec("INSERT INTO batch_in_rel (batch_in_id, order_product_id, created_at, "
            "garment_status) VALUES (?, ?, ?, ?)",
            bagId, garmentId, now, q.integer("status"));
    db.exec("UPDATE order_products SET status = ?, status_time = ? WHERE id = ?",
            garmentState::inBag, now, garmentId);
}

// ---- A bag's life: contents, completion, the logistics worker and the factory ----------------

namespace {

// The bag's state: whether it is still open for garments.
bool isOpen(Connection &db, std::int64_t bagId)
{
    return db.scalar(0, "SELECT completed_at IS NULL AND status = ? FROM batch_in WHERE id = ?",
                     bagState::open, bagId) != 0;
}

void refuseClosed(Connection &db, std::int64_t bagId, const std::string &refusal)
{
    if (!isOpen(db, bagId))
        throw ApiError(codes::conflict, refusal);
}

std::string scanCodeOf(Connection &db, std::int64_t garmentId)
{
    Query q = db.query("SELECT scan_code AS code FROM order_products WHERE id = ?", garmentId);
    return q.next() ? q.text("code") : std::string();
}

// The open bag the garment is in; ApiError 409 when it is in none, or in one that is closed.
std::int64_t openBagOf(Connection &db, std::int64_t garmentId)
{
    const std::int64_t bagId =
        db.scalar(0, "SELECT batch_in_id FROM batch_in_rel WHERE order_product_id = ?", garmentId);
    if (bagId == 0)
        throw ApiError(codes::conflict, "衣物不在袋中: " + scanCodeOf(db, garmentId));
    refuseClosed(db, bagId, "袋子已完成，衣物不能再移出: " + scanCodeOf(db, garmentId));
    return bagId;
}

// The garment leaves its open bag and waits for a bag again, as it did before it went in.
void backToWaiting(Connection &db, std::int64_t garmentId, std::int64_t now)
{
    const std::int64_t before =
        db.scalar(garmentState::takenIn,
                  "SELECT COALESCE(garment_status, ?) FROM batch_in_rel WHERE order_product_id = ?",
                  garmentState::takenIn, garmentId);
    db.exec("DELETE FROM batch_in_rel WHERE order_product_id = ?", garmentId);
    db.exec("UPDATE order_products SET status = ?, status_time = ? WHERE id = ?", before, now,
            garmentId);
}

// The bag's garments whose state is `from` move on to `to`; their orders are being washed.
void moveGarments(Connection &db, std::int64_t bagId, int from, int to, std::int64_t now)
{
    db.exec("UPDATE orders SET status = ? WHERE status IN (?, ?) AND id IN (SELECT p.order_id "
            "FROM order_products p JOIN batch_in_rel r ON r.order_product_id = p.id "
            "WHERE r.batch_in_id = ? AND p.status = ?)",
            orderState::washing, orderState::takenIn, orderState::ready, bagId, from);
    db.exec("UPDATE order_products SET status = ?, status_time = ?, factory_id = "
            "(SELECT factory_id FROM batch_in WHERE id = ?) WHERE status = ? AND id IN "
            "(SELECT order_product_id FROM batch_in_rel WHERE batch_in_id = ?)",
            to, now, bagId, from, bagId);
}

} // namespace

Json::Value detail(Connection &db, std::int64_t bagId)
{
    Query q = db.query(std::string(bagColumns) + " WHERE b.id = ?", bagId);
    if (!q.next())
        throw ApiError(codes::notFound, "袋子不存在");
    return bagRow(q);
}

Json::Value contents(Connection &db, std::int64_t bagId)
{
    Query q =
        db.query("SELECT p.id, p.product_name AS productName, o.order_no AS orderNo, "
                 "p.scan_code AS scanCode, p.created_at AS createTime, COALESCE(d.text, '') AS "
                 "proStatusText, p.subtotal, p.service_name AS serviceName, "
                 "(SELECT COUNT(*) FROM order_product_annexes a WHERE a.order_product_id = p.id) "
                 "AS annexCnt "
                 "FROM batch_in_rel r JOIN order_products p ON p.id = r.order_product_id "
                 "JOIN orders o ON o.id = p.order_id "
                 "LEFT JOIN dictionary d ON d.code = 'PRODUCT_STATUS' AND d.val = p.status "
                 "WHERE r.batch_in_id = ? ORDER BY r.created_at DESC, p.id DESC",
                 bagId);
    Json::Value rows(Json::arrayValue);
    while (q.next())
        rows.append(q.object());
    return rows;
}

void complete(Connection &db, std::int64_t bagId, std::int64_t now)
{
    refuseClosed(db, bagId, "袋子已完成");
    if (db.scalar(0, "SELECT COUNT(*) FROM batch_in_rel WHERE batch_in_id = ?", bagId) == 0)
        throw ApiError(codes::conflict, "袋子里还没有衣物，不能完成");
    db.exec("UPDATE batch_in SET completed_at = ? WHERE id = ?", now, bagId);
}

void remove(Connection &db, std::int64_t bagId, std::int64_t now)
{
    refuseClosed(db, bagId, "袋子已完成，不能删除");
    std::vector<std::int64_t> inside;
    Query q =
        db.query("SELECT order_product_id AS id FROM batch_in_rel WHERE batch_in_id = ?", bagId);
    while (q.next())
        inside.push_back(q.integer("id"));
    for (const std::int64_t garmentId : inside)
        backToWaiting(db, garmentId, now);
    db.exec("DELETE FROM batch_in WHERE id = ?", bagId);
}

void takeOut(Connection &db, std::int64_t garmentId, std::int64_t now)
{
    openBagOf(db, garmentId);
    backToWaiting(db, garmentId, now);
}

void shift(Connection &db, std::int64_t bagId, std::int64_t garmentId, std::int64_t now)
{
    refuseClosed(db, bagId, "袋子已完成，不能再放入衣物");
    if (openBagOf(db, garmentId) == bagId)
        return;
    db.exec("UPDATE batch_in_rel SET batch_in_id = ?, created_at = ? WHERE order_product_id = ?",
            bagId, now, garmentId);
}

void collect(Connection &db, std::int64_t bagId, const std::string &name, const std::string &phone,
             std::int64_t now)
{
    Query q = db.query("SELECT completed_at IS NOT NULL AS completed, status FROM batch_in "
                       "WHERE id = ?",
                       bagId);
    if (!q.next())
        throw ApiError(codes::notFound, "袋子不存在");
    if (q.integer("status") != bagState::open)
        throw ApiError(codes::conflict, "袋子已被收取");
    if (!q.integer("completed"))
        throw ApiError(codes::conflict, "袋子尚未完成");
    db.exec("UPDATE batch_in SET status = ?, collected_at = ?, logistics_name = ?, "
            "logistics_phone = ? WHERE id = ?",
            bagState::sent, now, name, phone, bagId);
    moveGarments(db, bagId, garmentState::inBag, garmentState::sentToFactory, now);
}

void receive(Connection &db, std::int64_t bagId, std::int64_t now)
{
    const std::int64_t state = db.scalar(-1, "SELECT status FROM batch_in WHERE id = ?", bagId);
    if (state < 0)
        throw ApiError(codes::notFound, "袋子不存在");
    if (state != bagState::sent)
        throw ApiError(codes::conflict,
                       state == bagState::open ? "袋子还没有送往工厂" : "工厂已收到该袋子");
    db.exec("UPDATE batch_in SET status = ?, factory_received_at = ? WHERE id = ?",
            bagState::atFactory, now, bagId);
    moveGarments(db, bagId, garmentState::sentToFactory, garmentState::washing, now);
}

} // namespace bags
