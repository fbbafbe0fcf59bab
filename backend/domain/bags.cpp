#include "domain/bags.h"

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

} // namespace

Json::Value list(Connection &db, std::int64_t storeId, const Filter &filter, std::int64_t limit,
                 std::int64_t offset)
{
    // A completed bag has its completion time and stays open (bagState) until it is sent.
    Conditions where;
    where.add("b.store_id = ?", storeId);
    if (filter.isFinish >= 0)
        where.add("(b.completed_at IS NOT NULL OR b.status <> ?) = ?", bagState::open,
                  filter.isFinish ? 1 : 0);
    if (filter.status >= 0)
        where.add("b.status = ?", filter.status - terminalOffset);
    if (!filter.code.empty())
        where.add("instr(b.bag_no, ?) > 0", filter.code);
    Query q = where.query(
        db,
        "SELECT b.id, b.bag_no AS code, "
        "(SELECT COUNT(*) FROM batch_in_rel r WHERE r.batch_in_id = b.id) AS productCnt, "
        "(SELECT COUNT(*) FROM batch_in_rel r JOIN order_product_annexes a "
        "ON a.order_product_id = r.order_product_id WHERE r.batch_in_id = b.id) AS annexCnt, "
        "b.completed_at IS NOT NULL AS completed, b.status, s.name AS storeName, "
        "COALESCE(f.name, '') AS factoryName, '' AS logisticsWorkName, "
        "'' AS logisticsWorkPhone, b.created_at AS createTime "
        "FROM batch_in b JOIN stores s ON s.id = b.store_id "
        "LEFT JOIN factories f ON f.id = b.factory_id",
        "ORDER BY b.id DESC LIMIT ? OFFSET ?", {limit, offset});
    Json::Value rows(Json::arrayValue);
    while (q.next()) {
        Json::Value row = q.object();
        const std::int64_t state = q.integer("status");
        row.removeMember("completed");
        row["isFinish"] = q.integer("completed") || state != bagState::open ? 1 : 0;
        row["status"] = Json::Int64(state + terminalOffset);
        row["statusText"] = statusText(state);
        rows.append(row);
    }
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
    db.exec("INSERT INTO batch_in_rel (batch_in_id, order_product_id, created_at) "
            "VALUES (?, ?, ?)",
            bagId, garmentId, now);
    db.exec("UPDATE order_products SET status = ?, status_time = ? WHERE id = ?",
            garmentState::inBag, now, garmentId);
}

} // namespace bags
