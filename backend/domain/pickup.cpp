#include "domain/pickup.h"

#include <algorithm>

#include "domain/orders.h"
#include "domain/payments.h"
#include "domain/refunds.h"
#include "server/registry.h"
#include "store/database.h"

namespace pickup {

bool inStore(std::int64_t status)
{
    return status == garmentState::arrived || status == garmentState::passed ||
           status == garmentState::onRail;
}

namespace {

void refuseClosed(const OrderState &o)
{
    if (o.voided)
        throw ApiError(codes::conflict, "订单已作废");
    if (o.status == orderState::completed)
        throw ApiError(codes::conflict, "订单已完成");
}

// Why a garment may not be handed out or sent back.
std::string reason(const GarmentState &g, const char *action)
{
    if (g.status == garmentState::handedOut)
        return "衣物已取走: " + g.scanCode;
    if (g.status == garmentState::refundWashed)
        return "衣物已退洗: " + g.scanCode;
    if (g.washPending)
        return "衣物退洗审核中: " + g.scanCode;
    return "衣物" + g.statusText + "，不能" + action + ": " + g.scanCode;
}

const GarmentState &garmentOf(const std::vector<GarmentState> &list, std::int64_t id)
{
    for (const GarmentState &g : list)
        if (g.id == id)
            return g;
    throw ApiError(codes::conflict, "衣物不属于该订单");
}

// The contact of an order's pick-up or delivery address, as the order view shows it.
void addressBlock(Connection &db, std::int64_t addressId, const std::string &prefix,
                  Json::Value &data)
{
    std::string name, phone;
    Query q = db.query("SELECT contact, phone FROM user_addresses WHERE id = ?", addressId);
    if (q.next()) {
        name = q.text("contact");
        phone = q.text("phone");
    }
    data[prefix + "Name"] = name;
    data[prefix + "Phone"] = phone;
    data[prefix + "Address"] = orders::addressText(db, addressId);
    data[prefix + "WorkName"] = "";
    data[prefix + "WorkPhone"] = "";
    data[prefix + "WorkImg"] = "";
}

// The order's track, oldest first: made, taken in, handed out, completed or voided.
Json::Value statusList(Connection &db, std::int64_t orderId)
{
    Json::Value list(Json::arrayValue);
    Query q = db.query("SELECT o.created_at AS createdAt, o.finished_at AS finishedAt, "
                       "o.signed_at AS signedAt, o.completed_at AS completedAt, "
                       "o.destroyed_at AS destroyedAt, COALESCE(w.name, '') AS workName "
                       "FROM orders o LEFT JOIN workers w ON w.id = o.worker_id WHERE o.id = ?",
                       orderId);
    if (!q.next())
        return list;
    const std::pair<const char *, const char *> steps[] = {{"createdAt", "已下单，待接单"},
                                                           {"finishedAt", "已入库"},
                                                           {"signedAt", "已签收"},
                                                           {"completedAt", "已完成"},
                                                           {"destroyedAt", "已作废"}};
    for (const auto &step : steps) {
        if (q.isNull(step.first) || q.integer(step.first) == 0)
            continue;
        Json::Value entry(Json::objectValue);
        entry["createTime"] = Json::Int64(q.integer(step.first));
        entry["statusText"] = step.second;
        entry["workName"] = std::string(step.first) == "createdAt" ? q.text("workName") : "";
        list.append(entry);
    }
    return list;
}

void garmentFields(const OrderState &o, const GarmentState *g, int total, Json::Value &row)
{
    const bool shelf = g && g->shelfNo > 0;
    row["total"] = total;
    row["outBatch"] = g && g->bagged ? 1 : 0;
    row["hasRefundText"] = !g ? "" : g->hasRefund ? "已退洗" : g->washPending ? "退洗审核中" : "";
    row["tranTypeName"] = shelf ? "滑轨" : "";
    row["tranTypeText"] = shelf ? "滑轨" : "";
    row["tranNum"] = shelf ? std::to_string(g->shelfNo) : "";
    row["storeShelfNo"] = Json::Int64(g ? g->shelfNo : 0);
    row["isEnableSign"] = g && mayHandOut(o, *g);
    row["isEnableStockRework"] = g && mayRework(o, *g);
    row["isEnableRefund"] = g && mayRefundWash(o, *g);
}

} // namespace

OrderState loadOrder(Connection &db, std::int64_t orderId, std::int64_t now)
{
    Query q = db.query("SELECT o.status, o.destroyed_at IS NOT NULL AS voided, "
                       "o.pay_status AS payStatus, o.credit_status AS credit, "
                       "(SELECT COUNT(*) FROM refund_audits a WHERE a.order_id = o.id "
                       "AND a.status = ?) AS waitingAudit, (SELECT COUNT(*) FROM order_products p "
                       "WHERE p.order_id = o.id) AS garments FROM orders o WHERE o.id = ?",
                       refundState::waiting, orderId);
    if (!q.next())
        throw ApiError(codes::notFound, "订单不存在");
    OrderState o;
    o.id = orderId;
    o.status = q.integer("status");
    o.voided = q.integer("voided") != 0;
    o.paid = q.integer("payStatus") == payState::paid;
    o.credit = q.integer("credit") == 1;
    o.waitingAudit = q.integer("waitingAudit") > 0;
    o.garments = static_cast<int>(q.integer("garments"));
    o.locked = payments::held(db, orderId, now);
    o.refundable = refunds::refundable(db, orderId);
    return o;
}

std::vector<GarmentState> loadGarments(Connection &db, std::int64_t orderId)
{
    std::vector<GarmentState> list;
    Query q = db.query(
        "SELECT p.id, p.status, p.has_refund AS hasRefund, p.store_shelf_no AS shelfNo, "
        "p.scan_code AS scanCode, COALESCE(d.text, '') AS statusText, "
        "EXISTS (SELECT 1 FROM batch_in_rel r WHERE r.order_product_id = p.id) AS bagged, "
        "EXISTS (SELECT 1 FROM refund_audit_products x JOIN refund_audits a ON a.id = x.audit_id "
        "WHERE x.order_product_id = p.id AND a.status = ?) AS washPending "
        "FROM order_products p "
        "LEFT JOIN dictionary d ON d.code = 'PRODUCT_STATUS' AND d.val = p.status "
        "WHERE p.order_id = ? ORDER BY p.id",
        refundState::waiting, orderId);
    while (q.next()) {
        GarmentState g;
        g.id = q.integer("id");
        g.status = q.integer("status");
        g.hasRefund = q.integer("hasRefund") != 0;
        g.washPending = q.integer("washPending") != 0;
        g.bagged = q.integer("bagged") != 0;
        g.shelfNo = q.integer("shelfNo");
        g.scanCode = q.text("scanCode");
        g.statusText = q.text("statusText");
        list.push_back(g);
    }
    return list;
}

bool mayHandOut(const OrderState &o, const GarmentState &g)
{
    return o.open() && (o.paid || o.credit) && inStore(g.status) && !g.washPending;
}

bool mayRework(const OrderState &o, const GarmentState &g)
{
    return o.open() && inStore(g.status) && !g.washPending;
}

bool mayRefundWash(const OrderState &o, const GarmentState &g)
{
    const bool here = g.status == garmentState::takenIn || inStore(g.status) ||
                      g.status == garmentState::handedOut;
    return o.open() && !o.locked && here && !g.hasRefund && !g.washPending;
}

OrderFlags flags(const OrderState &o, const std::vector<GarmentState> &garments)
{
    OrderFlags f;
    const bool open = o.open();
    bool anyOut = false, allOut = !garments.empty();
    for (const GarmentState &g : garments) {
        const bool done =
            g.status == garmentState::handedOut || g.status == garmentState::refundWashed;
        anyOut = anyOut || mayHandOut(o, g);
        allOut = allOut && (done || mayHandOut(o, g));
    }
    f.pay = open && !o.paid && o.garments > 0;
    f.refund = open && o.paid && !o.locked && o.refundable > 0;
    f.sign = open && o.status < orderState::handedOut && anyOut && allOut;
    f.complete = open && o.status == orderState::handedOut && o.paid && !o.waitingAudit;
    f.credit = open && !o.paid && !o.credit && !o.locked && o.garments > 0;
    return f;
}

void describe(Connection &db, std::int64_t orderId, std::int64_t now, Json::Value &data)
{
    const OrderState o = loadOrder(db, orderId, now);
    const std::vector<GarmentState> garments = loadGarments(db, orderId);
    const OrderFlags f = flags(o, garments);
    data["isEnablePay"] = f.pay;
    data["isEnableRefund"] = f.refund;
    data["isEnableSign"] = f.sign;
    data["isEnableComplete"] = f.complete;
    data["isEnableCredit"] = f.credit;
    data["refundablePrice"] = Json::Int64(o.refundable);
    data["originText"] = "门店下单";

    Query q = db.query("SELECT credit_remark AS creditRemark, COALESCE(take_address_id, 0) AS "
                       "takeAddr, COALESCE(send_address_id, 0) AS sendAddr, "
                       "(SELECT COUNT(*) FROM refund_audits a WHERE a.order_id = orders.id) "
                       "AS audits FROM orders WHERE id = ?",
                       orderId);
    q.next();
    data["creditRemark"] = q.text("creditRemark");
    data["hasRefundRecord"] = q.integer("audits") > 0;
    addressBlock(db, q.integer("takeAddr"), "take", data);
    addressBlock(db, q.integer("sendAddr"), "send", data);
    data["statusList"] = statusList(db, orderId);

    Json::Value &rows = data["productList"];
    const int total = static_cast<int>(rows.size());
    for (Json::Value &row : rows) {
        const GarmentState *g = nullptr;
        if (row["type"].asInt() == 1)
            for (const GarmentState &each : garments)
                if (each.id == row["id"].asInt64())
                    g = &each;
        garmentFields(o, g, total, row);
    }
}

void handOut(Connection &db, std::int64_t orderId, const std::vector<std::int64_t> &ids,
             std::int64_t now)
{
    const OrderState o = loadOrder(db, orderId, now);
    refuseClosed(o);
    const std::vector<GarmentState> garments = loadGarments(db, orderId);
    std::vector<std::int64_t> going;
    if (ids.empty()) {
        if (o.status >= orderState::handedOut)
            throw ApiError(codes::conflict, "订单已取衣");
        if (!o.paid && !o.credit)
            throw ApiError(codes::conflict, "订单未支付，请先收款或赊账");
        if (!flags(o, garments).sign)
            throw ApiError(codes::conflict, "还有衣物不在店内，不能全部取衣");
        for (const GarmentState &g : garments)
            if (mayHandOut(o, g))
                going.push_back(g.id);
    } else {
        for (std::int64_t id : ids) {
            const GarmentState &g = garmentOf(garments, id);
            if (!mayHandOut(o, g)) {
                if (inStore(g.status) && !g.washPending)
                    throw ApiError(codes::conflict, "订单未支付，请先收款或赊账");
                throw ApiError(codes::conflict, reason(g, "取衣"));
            }
            going.push_back(id);
        }
    }
    for (std::int64_t id : going) {
        takeOffRail(db, id);
        db.exec("UPDATE order_products SET status = ?, status_time = ?, handed_out_at = ? "
                "WHERE id = ?",
                garmentState::handedOut, now, now, id);
    }
    settleOrder(db, orderId, now);
}

void rework(Connection &db, std::int64_t orderId, const std::vector<std::int64_t> &ids,
            std::int64_t now)
{
    const OrderState o = loadOrder(db, orderId, now);
    refuseClosed(o);
    const std::vector<GarmentState> garments = loadGarments(db, orderId);
    for (std::int64_t id : ids)
        if (!mayRework(o, garmentOf(garments, id)))
            throw ApiError(codes::conflict, reason(garmentOf(garments, id), "返洗"));
    for (std::int64_t id : ids) {
        takeOffRail(db, id);
        db.exec("UPDATE order_products SET status = ?, status_time = ?, is_packaged = 0, "
                "passed_at = NULL, passed_by = NULL WHERE id = ?",
                garmentState::rework, now, id);
        db.exec("UPDATE order_product_annexes SET checked = 0, checked_at = NULL, "
                "checked_by = NULL WHERE order_product_id = ?",
                id);
    }
    db.exec("UPDATE orders SET status = ? WHERE id = ? AND status = ?", orderState::washing,
            orderId, orderState::ready);
}

void complete(Connection &db, std::int64_t orderId, std::int64_t now)
{
    const OrderState o = loadOrder(db, orderId, now);
    refuseClosed(o);
    if (o.status != orderState::handedOut)
        throw ApiError(codes::conflict, "还有衣物未取走，不能完成订单");
    if (!o.paid)
        throw ApiError(codes::conflict, "订单未支付，请先收款");
    if (o.waitingAudit)
        throw ApiError(codes::conflict, "有退款申请等待审批");
    db.exec("UPDATE orders SET status = ?, completed_at = ? WHERE id = ?", orderState::completed,
            now, orderId);
}

void credit(Connection &db, std::int64_t orderId, const std::string &remark, std::int64_t now)
{
    const OrderState o = loadOrder(db, orderId, now);
    refuseClosed(o);
    if (o.paid)
        throw ApiError(codes::conflict, "订单已支付");
    if (o.credit)
        throw ApiError(codes::conflict, "订单已赊账");
    if (o.garments == 0)
        throw ApiError(codes::conflict, "订单还没有衣物");
    if (o.locked)
        throw ApiError(codes::conflict, "订单正在支付中，请稍后再试");
    db.exec("UPDATE orders SET credit_status = 1, credit_remark = ?, credited_at = ? WHERE id = ?",
            remark, now, orderId);
}

void settleOrder(Connection &db, std::int64_t orderId, std::int64_t now)
{
    const std::int64_t waiting = db.scalar(
        1, "SELECT COUNT(*) FROM order_products WHERE order_id = ? AND status NOT IN (?, ?)",
        orderId, garmentState::handedOut, garmentState::refundWashed);
    if (waiting > 0 ||
        db.scalar(0, "SELECT COUNT(*) FROM order_products WHERE order_id = ?", orderId) == 0)
        return;
    db.exec("UPDATE orders SET status = ?, signed_at = ?, store_shelf_no = 0 "
            "WHERE id = ? AND status < ?",
            orderState::handedOut, now, orderId, orderState::handedOut);
}

void takeOffRail(Connection &db, std::int64_t garmentId)
{
    db.exec("UPDATE rail_positions SET order_product_id = NULL WHERE order_product_id = ?",
            garmentId);
    db.exec("UPDATE order_products SET store_shelf_no = 0 WHERE id = ?", garmentId);
}

} // namespace pickup
