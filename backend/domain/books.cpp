#include "domain/books.h"

#include <algorithm>
#include <vector>

#include "domain/coupons.h"
#include "domain/dates.h"
#include "domain/states.h"
#include "server/call.h"
#include "server/json.h"
#include "server/registry.h"
#include "store/conditions.h"
#include "store/database.h"

namespace books {

namespace {

// The orders of the book: the page's ids are chosen first on the orders' indexes (`page`, a
// WITH of `id` and `created_at`), then only those rows are read in full, with what their
// offers follow from, their garments and their notes, in one statement.
const char *const bookColumns =
    "SELECT o.id, o.order_no AS orderNo, o.created_at AS createTime, '门店下单' AS originText, "
    "o.status, COALESCE(ds.text, '') AS statusText, o.pay_status AS payStatus, "
    "COALESCE(dp.text, '') AS payStatusText, o.payable_price AS payablePrice, "
    "o.payment_price AS paidPrice, o.coupon_amount AS couponAmount, "
    "o.credit_status AS creditStatus, o.user_remark AS userRemark, "
    "COALESCE(dt.text, '') AS takeModeText, o.take_date AS takeDate, '' AS takeWorkName, "
    "COALESCE(dm.text, '') AS sendModeText, o.send_date AS sendDate, '' AS sendWorkName, "
    "o.user_id AS userId, u.name AS userName, u.phone AS userPhone, '' AS headimgPath, "
    "u.grade, COALESCE(u.rfid_no, '') AS rfidNo, COALESCE(u.card_no, '') AS cardNo, "
    "o.destroyed_at IS NOT NULL AS voided, "
    "(SELECT COUNT(*) FROM order_products g WHERE g.order_id = o.id) AS garments, "
    "(SELECT COUNT(*) FROM order_products g JOIN order_product_annexes a "
    "ON a.order_product_id = g.id WHERE g.order_id = o.id) AS annexCnt, "
    "(SELECT COUNT(*) FROM order_products g WHERE g.order_id = o.id AND g.status = ?) "
    "AS atCounter, "
    "EXISTS (SELECT 1 FROM payments pm WHERE pm.order_id = o.id AND pm.status = ? "
    "AND pm.expires_at > ?) AS locked, "
    "EXISTS (SELECT 1 FROM refund_audits a WHERE a.order_id = o.id AND a.status = ?) "
    "AS waitingAudit, "
    "(SELECT json_group_array(json_object('id', g.id, 'productName', g.product_name, "
    "'serviceName', g.service_name)) FROM (SELECT id, product_name, service_name "
    "FROM order_products WHERE order_id = o.id ORDER BY id) g) AS business, "
    "(SELECT json_group_array(json_object('createTime', "
    "datetime(r.created_at / 1000, 'unixepoch', 'localtime'), 'workName', r.worker_name, "
    "'remark', r.remark)) FROM (SELECT created_at, worker_name, remark FROM order_remarks "
    "WHERE order_id = o.id ORDER BY id DESC) r) AS remarkJson "
    "FROM page JOIN orders o ON o.id = page.id JOIN users u ON u.id = o.user_id "
    "LEFT JOIN dictionary ds ON ds.code = 'ORDER_STATUS' AND ds.val = o.status "
    "LEFT JOIN dictionary dp ON dp.code = 'PAY_STATUS' AND dp.val = o.pay_status "
    "LEFT JOIN dictionary dt ON dt.code = 'TAKE_MODE' AND dt.val = o.take_mode "
    "LEFT JOIN dictionary dm ON dm.code = 'SEND_MODE' AND dm.val = o.send_mode "
    "ORDER BY page.created_at DESC, page.id DESC";

Facts factsOf(const Query &q)
{
    Facts f;
    f.order.id = q.integer("id");
    f.order.status = q.integer("status");
    f.order.voided = q.integer("voided") != 0;
    f.order.paid = q.integer("payStatus") == payState::paid;
    f.order.credit = q.integer("creditStatus") == 1;
    f.order.locked = q.integer("locked") != 0;
    f.order.waitingAudit = q.integer("waitingAudit") != 0;
    f.order.garments = static_cast<int>(q.integer("garments"));
    f.atCounter = static_cast<int>(q.integer("atCounter"));
    return f;
}

// bookColumns of the orders `where` chooses; `order` (their order, LIMIT) with its values.
Query bookQuery(Connection &db, const Conditions &where, const std::string &order,
                std::vector<Conditions::Value> orderValues, std::int64_t now)
{
    for (const std::int64_t v :
         {std::int64_t(garmentState::takenIn), std::int64_t(tradeState::waiting), now,
          std::int64_t(refundState::waiting)})
        orderValues.push_back(v);
    return where.query(db, "WITH page AS (SELECT o.id, o.created_at FROM orders o",
                       order + ") " + bookColumns, orderValues);
}

// An order as the book lists it: its facts become its offers.
Json::Value bookRow(const Query &q)
{
    Json::Value row = q.object();
    const Offers o = offers(factsOf(q));
    row["isEnablePay"] = o.pay;
    row["isEnableCredit"] = o.credit;
    row["isEnableDestroy"] = o.destroy;
    row["isEnablePrint"] = o.print;
    row["isEnableStockIn"] = o.stockIn;
    row["isEnableBatchIn"] = o.batchIn;
    // What a paid order took, what an unpaid one still asks for.
    const std::int64_t asked =
        std::max<std::int64_t>(q.integer("payablePrice") - q.integer("couponAmount"), 0);
    row["paymentPrice"] =
        Json::Int64(q.integer("payStatus") == payState::paid ? q.integer("paidPrice") : asked);
    // Lists the statement made as JSON text.
    for (const char *list : {"business", "remarkJson"})
        json::parse(q.text(list), row[list]);
    for (const char *inner :
         {"voided", "garments", "atCounter", "locked", "waitingAudit", "paidPrice", "couponAmount"})
        row.removeMember(inner);
    return row;
}

} // namespace

Offers offers(const Facts &f)
{
    const pickup::OrderState &o = f.order;
    // Payment and credit as the order view offers them.
    const pickup::OrderFlags counter = pickup::flags(o, {});
    Offers out;
    out.pay = counter.pay;
    out.credit = counter.credit;
    out.destroy = voidRefusal(f).empty();
    out.print = !o.voided && o.garments > 0;
    out.stockIn = !o.voided && o.status == orderState::waiting;
    out.batchIn = !o.voided && o.status >= orderState::takenIn && f.atCounter > 0;
    return out;
}

std::string voidRefusal(const Facts &f)
{
    const pickup::OrderState &o = f.order;
    if (o.voided)
        return "订单已作废";
    if (o.status == orderState::completed)
        return "订单已完成";
    if (o.paid)
        return "订单已支付，不能作废";
    if (o.locked)
        return "订单正在付款，请稍后再试";
    if (o.waitingAudit)
        return "有退款申请等待审批";
    if (f.atCounter < o.garments)
        return "衣物已入袋或送洗，不能作废";
    return "";
}

Json::Value orderPage(Connection &db, const Conditions &where, const Page &page, std::int64_t now)
{
    Query q = bookQuery(db, where, "ORDER BY o.created_at DESC, o.id DESC LIMIT ? OFFSET ?",
                        {page.size, page.offset()}, now);
    Json::Value list(Json::arrayValue);
    while (q.next())
        list.append(bookRow(q));
    return list;
}

void destroy(Connection &db, std::int64_t orderId, std::int64_t workerId, const std::string &remark,
             std::int64_t now)
{
    Conditions where;
    where.add("o.id = ?", orderId);
    Query q = bookQuery(db, where, "", {}, now);
    if (!q.next())
        throw ApiError(codes::notFound, "订单不存在");
    const std::string refusal = voidRefusal(factsOf(q));
    if (!refusal.empty())
        throw ApiError(codes::conflict, refusal);
    coupons::release(db, orderId);
    db.exec("UPDATE orders SET status = ?, destroyed_at = ?, destroyed_by = ?, destroy_remark = ? "
            "WHERE id = ?",
            orderState::voided, now, workerId, remark, orderId);
}

void addWashedStep(Connection &db, std::int64_t orderId, Json::Value &statusList)
{
    // Garments given back unwashed are not waited for.
    Query q = db.query(
        "SELECT COUNT(*) AS garments, COUNT(back) AS washed, MAX(back) AS at FROM ("
        "SELECT (SELECT MIN(t.created_at) FROM garment_track t WHERE t.order_product_id = p.id "
        "AND t.status IN (?, ?, ?, ?)) AS back FROM order_products p "
        "WHERE p.order_id = ? AND p.status <> ?)",
        garmentState::leftFactory, garmentState::arrived, garmentState::passed,
        garmentState::onRail, orderId, garmentState::refundWashed);
    if (!q.next() || q.integer("garments") == 0 || q.integer("washed") < q.integer("garments"))
        return;
    Json::Value step(Json::objectValue);
    step["createTime"] = Json::Int64(q.integer("at"));
    step["statusText"] = "已洗完";
    step["workName"] = "";
    Json::Value list(Json::arrayValue);
    bool placed = false;
    for (const Json::Value &entry : statusList) {
        if (!placed && entry["createTime"].asInt64() > q.integer("at")) {
            list.append(step);
            placed = true;
        }
        list.append(entry);
    }
    if (!placed)
        list.append(step);
    statusList = list;
}

void createdBetween(const Call &call, Conditions &where, const char *column, const char *fromField,
                    const char *toField)
{
    if (!call.optionalText(fromField).empty())
        where.add(std::string(column) + " >= ?", dates::dayStart(call.date(fromField)));
    if (!call.optionalText(toField).empty())
        where.add(std::string(column) + " < ?", dates::dayAfter(call.date(toField)));
}

} // namespace books
