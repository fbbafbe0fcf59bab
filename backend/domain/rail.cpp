#include "domain/rail.h"

#include <set>
#include <string>
#include <vector>

#include "domain/garments.h"
#include "domain/pickup.h"
#include "domain/states.h"
#include "server/registry.h"
#include "store/database.h"

namespace rail {

namespace {

// The highest slot a worker may type.
constexpr std::int64_t maxSlot = 999999999;

// A position of the store's rail and the garment it holds (0 for none).
struct Position
{
    std::int64_t id = 0;
    std::int64_t shelfNo = 0;
    std::int64_t holder = 0;
};

Position positionOf(Connection &db, std::int64_t storeId, std::int64_t shelfNo)
{
    if (shelfNo <= 0)
        throw ApiError(codes::badRequest, "请输入挂点");
    Query q = db.query("SELECT id, COALESCE(order_product_id, 0) AS holder FROM rail_positions "
                       "WHERE store_id = ? AND shelf_no = ?",
                       storeId, shelfNo);
    if (!q.next())
        throw ApiError(codes::badRequest, "挂点不存在: " + std::to_string(shelfNo));
    return Position{q.integer("id"), shelfNo, q.integer("holder")};
}

void refuseClosed(Connection &db, std::int64_t orderId)
{
    Query q = db.query("SELECT status, destroyed_at IS NOT NULL AS voided FROM orders WHERE id = ?",
                       orderId);
    if (!q.next())
        throw ApiError(codes::notFound, "订单不存在");
    if (q.integer("voided"))
        throw ApiError(codes::conflict, "订单已作废");
    if (q.integer("status") >= orderState::handedOut)
        throw ApiError(codes::conflict, "订单已取衣");
}

bool hangable(const pickup::GarmentState &g)
{
    return pickup::inStore(g.status) && !g.washPending;
}

// The garment, off the rail already, takes the position: it is 已上挂 from now.
void putOn(Connection &db, std::int64_t garmentId, const Position &p, std::int64_t now)
{
    db.exec("UPDATE rail_positions SET order_product_id = ? WHERE id = ?", garmentId, p.id);
    db.exec("UPDATE order_products SET store_shelf_no = ?, "
            "status_time = CASE WHEN status <> ? THEN ? ELSE status_time END, status = ? "
            "WHERE id = ?",
            p.shelfNo, garmentState::onRail, now, garmentState::onRail, garmentId);
}

} // namespace

void hang(Connection &db, std::int64_t storeId, std::int64_t garmentId, std::int64_t shelfNo,
          std::int64_t now)
{
    const std::int64_t orderId = garments::orderOf(db, garmentId);
    refuseClosed(db, orderId);
    for (const pickup::GarmentState &g : pickup::loadGarments(db, orderId)) {
        if (g.id != garmentId)
            continue;
        if (!hangable(g))
            throw ApiError(codes::conflict,
                           g.washPending ? "衣物退洗审核中: " + g.scanCode
                                         : "衣物" + g.statusText + "，不能上挂: " + g.scanCode);
        const Position p = positionOf(db, storeId, shelfNo);
        if (p.holder == garmentId)
            return;
        if (p.holder != 0)
            throw ApiError(codes::conflict, "挂点已有衣物: " + std::to_string(shelfNo));
        pickup::takeOffRail(db, garmentId);
        putOn(db, garmentId, p, now);
        return;
    }
    throw ApiError(codes::notFound, "衣物不存在");
}

void hangOrder(Connection &db, std::int64_t storeId, std::int64_t orderId,
               std::int64_t firstShelfNo, std::int64_t now)
{
    refuseClosed(db, orderId);
    std::vector<std::int64_t> going;
    for (const pickup::GarmentState &g : pickup::loadGarments(db, orderId))
        if (hangable(g))
            going.push_back(g.id);
    if (going.empty())
        throw ApiError(codes::conflict, "订单没有可上挂的衣物");
    const std::set<std::int64_t> ours(going.begin(), going.end());
    std::vector<Position> positions;
    for (size_t i = 0; i < going.size(); ++i) {
        const Position p = positionOf(db, storeId, firstShelfNo + static_cast<std::int64_t>(i));
        if (p.holder != 0 && ours.count(p.holder) == 0)
            throw ApiError(codes::conflict, "挂点已有衣物: " + std::to_string(p.shelfNo));
        positions.push_back(p);
    }
    for (std::int64_t id : going)
        pickup::takeOffRail(db, id);
    for (size_t i = 0; i < going.size(); ++i)
        putOn(db, going[i], positions[i], now);
}

void setSlot(Connection &db, std::int64_t storeId, std::int64_t orderId, std::int64_t slot)
{
    if (slot <= 0 || slot > maxSlot)
        throw ApiError(codes::badRequest, "请输入配单号");
    refuseClosed(db, orderId);
    Query holder =
        db.query("SELECT order_no AS orderNo FROM orders WHERE store_id = ? AND "
                 "store_shelf_no = ? AND id <> ? AND status < ? AND destroyed_at IS NULL",
                 storeId, slot, orderId, orderState::handedOut);
    if (holder.next())
        throw ApiError(codes::conflict, "配单号已被订单" + holder.text("orderNo") + "占用");
    db.exec("UPDATE orders SET store_shelf_no = ? WHERE id = ?", slot, orderId);
}

void giveSlot(Connection &db, std::int64_t storeId, std::int64_t orderId)
{
    if (db.scalar(0, "SELECT store_shelf_no FROM orders WHERE id = ?", orderId) > 0)
        return;
    std::set<std::int64_t> taken;
    Query q = db.query("SELECT store_shelf_no AS slot FROM orders WHERE store_id = ? AND "
                       "store_shelf_no > 0 AND status < ? AND destroyed_at IS NULL",
                       storeId, orderState::handedOut);
    while (q.next())
        taken.insert(q.integer("slot"));
    std::int64_t slot = 1;
    while (taken.count(slot))
        ++slot;
    db.exec("UPDATE orders SET store_shelf_no = ? WHERE id = ?", slot, orderId);
}

} // namespace rail
