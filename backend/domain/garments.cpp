#include "domain/garments.h"

#include <map>

#include "domain/states.h"
#include "server/call.h"
#include "server/json.h"
#include "server/registry.h"
#include "store/database.h"

namespace garments {

std::int64_t Garment::servicePrice() const
{
    if (unitPrice >= 0)
        return unitPrice;
    return quantity() > 0 ? serviceAmt * 100 / quantity() : serviceAmt;
}

std::vector<Garment> ofOrder(Connection &db, std::int64_t orderId)
{
    std::vector<Garment> list;
    Query q = db.query(
        "SELECT p.id, p.order_id AS orderId, p.scan_code AS scanCode, "
        "p.product_name AS productName, p.service_name AS serviceName, p.color_desc AS colorDesc, "
        "p.flaw_desc AS flawDesc, p.effect_desc AS effectDesc, "
        "p.add_service_desc AS addServiceDesc, p.is_custom_num AS bySize, p.count, "
        "p.service_amt AS serviceAmt, COALESCE(p.unit_price, ps.price, -1) AS unitPrice, "
        "p.discount, p.subtotal, p.status, "
        "p.status_time AS statusTime, p.has_refund AS hasRefund, p.is_packaged AS isPackaged, "
        "COALESCE(p.passed_at, p.status_time) AS passedAt, p.store_shelf_no AS shelfNo, "
        "p.created_at AS createdAt "
        "FROM order_products p LEFT JOIN product_services ps ON ps.id = p.pro_service_id "
        "WHERE p.order_id = ? ORDER BY p.id",
        orderId);
    while (q.next()) {
        Garment g;
        g.id = q.integer("id");
        g.orderId = q.integer("orderId");
        g.scanCode = q.text("scanCode");
        g.productName = q.text("productName");
        g.serviceName = q.text("serviceName");
        g.colorDesc = q.text("colorDesc");
        g.flawDesc = q.text("flawDesc");
        g.effectDesc = q.text("effectDesc");
        g.addServiceDesc = q.text("addServiceDesc");
        g.bySize = q.integer("bySize") != 0;
        g.count = q.integer("count");
        g.serviceAmt = q.integer("serviceAmt");
        g.unitPrice = q.integer("unitPrice");
        g.discount = q.integer("discount");
        g.subtotal = q.integer("subtotal");
        g.status = q.integer("status");
        g.statusTime = q.integer("statusTime");
        g.hasRefund = q.integer("hasRefund");
        g.isPackaged = q.integer("isPackaged");
        g.passedAt = q.integer("passedAt");
        g.shelfNo = q.integer("shelfNo");
        g.createdAt = q.integer("createdAt");
        list.push_back(std::move(g));
    }
    int no = 0;
    for (Garment &g : list) {
        g.no = ++no;
        Query a =
            db.query("SELECT id, COALESCE(annex_id, 0) AS annexId, name, scan_code AS scanCode "
                     "FROM order_product_annexes WHERE order_product_id = ? ORDER BY id",
                     g.id);
        while (a.next()) {
            Annex x;
            x.id = a.integer("id");
            x.annexId = a.integer("annexId");
            x.name = a.text("name");
            x.scanCode = a.text("scanCode");
            x.no = ++no;
            g.annexes.push_back(std::move(x));
        }
    }
    return list;
}

Amounts amounts(std::int64_t unitPrice, bool bySize, std::int64_t count, std::int64_t discount,
                std::int64_t addsrvAmt, std::int64_t chgSubtotal)
{
    Amounts a;
    a.serviceAmt = bySize ? (unitPrice * count + 50) / 100 : unitPrice;
    a.saleAmt = a.serviceAmt * discount / 100;
    a.addsrvAmt = addsrvAmt;
    a.subtotal = chgSubtotal >= 0 ? chgSubtotal : a.saleAmt + addsrvAmt;
    return a;
}

std::string annexDesc(const Garment &g)
{
    Json::Value list(Json::arrayValue);
    for (const Annex &a : g.annexes) {
        Json::Value e(Json::objectValue);
        e["id"] = a.annexId > 0 ? std::to_string(a.annexId) : std::string("null");
        e["name"] = a.name;
        list.append(e);
    }
    return json::write(list);
}

namespace {

// What the intake screens read of a garment beyond the pieces' numbering, by garment id.
std::map<std::int64_t, Json::Value> intakeFields(Connection &db, std::int64_t orderId)
{
    Query q = db.query(
        "SELECT p.id, p.order_id AS orderId, p.scan_code AS scanCode, 1 AS type, "
        "p.business_id AS businessId, p.business_id AS mercBusinessId, "
        "COALESCE(b.name, '') AS businessName, p.pro_type_id AS proTypeId, "
        "p.product_id AS productId, p.product_name AS productName, "
        "COALESCE(p.pro_service_id, 0) AS proServiceId, p.service_name AS serviceName, "
        "p.brand_id AS brandId, p.brand_name AS brandName, p.color_desc AS colorDesc, "
        "p.flaw_desc AS flawDesc, p.effect_desc AS effectDesc, "
        "p.add_service_desc AS addServiceDesc, p.is_custom_num AS isCustomNum, p.count, "
        "COALESCE(pr.unit, '') AS unitText, COALESCE(p.unit_price, ps.price, 0) AS serviceAmt, "
        "p.discount, p.sale_amt AS saleAmt, p.addsrv_amt AS addsrvAmt, p.subtotal, "
        "p.chg_subtotal AS chgSubtotal, p.status AS statusVal, "
        "COALESCE(d.text, '') AS statusText, p.status < ? AS isEnableBindCode, "
        "COALESCE(p.rfid_code, '') AS bindCode, (SELECT COUNT(*) FROM order_product_imgs i "
        "WHERE i.order_product_id = p.id) AS picCnt "
        "FROM order_products p LEFT JOIN product_services ps ON ps.id = p.pro_service_id "
        "LEFT JOIN products pr ON pr.id = p.product_id "
        "LEFT JOIN business_lines b ON b.id = p.business_id "
        "LEFT JOIN dictionary d ON d.code = 'PRODUCT_STATUS' AND d.val = p.status "
        "WHERE p.order_id = ?",
        garmentState::handedOut, orderId);
    std::map<std::int64_t, Json::Value> byId;
    while (q.next())
        byId[q.integer("id")] = q.object();
    return byId;
}

Json::Value annexRow(const Annex &a, const Json::Value &garment)
{
    Json::Value r(Json::objectValue);
    r["id"] = Json::Int64(a.id);
    r["no"] = a.no;
    r["type"] = 2;
    r["scanCode"] = a.scanCode;
    r["productName"] = a.name;
    r["parentProName"] = garment["productName"];
    r["parentId"] = garment["id"];
    r["businessName"] = garment["businessName"];
    r["statusVal"] = garment["statusVal"];
    r["statusText"] = garment["statusText"];
    for (const char *money : {"serviceAmt", "saleAmt", "addsrvAmt", "subtotal"})
        r[money] = 0;
    for (const char *desc : {"colorDesc", "flawDesc", "effectDesc", "addServiceDesc", "annexDesc"})
        r[desc] = "[]";
    r["isEnableBindCode"] = 0;
    r["bindCode"] = "";
    r["picCnt"] = 0;
    return r;
}

} // namespace

Json::Value intakeRows(Connection &db, std::int64_t orderId)
{
    std::map<std::int64_t, Json::Value> fields = intakeFields(db, orderId);
    Json::Value rows(Json::arrayValue);
    for (const Garment &g : ofOrder(db, orderId)) {
        Json::Value &row = fields[g.id];
        row["no"] = g.no;
        row["annexDesc"] = annexDesc(g);
        rows.append(row);
        for (const Annex &a : g.annexes)
            rows.append(annexRow(a, row));
    }
    return rows;
}

Json::Value intakeRow(Connection &db, std::int64_t garmentId)
{
    for (const Json::Value &row : intakeRows(db, orderOf(db, garmentId)))
        if (row["type"].asInt() == 1 && row["id"].asInt64() == garmentId)
            return row;
    return Json::Value();
}

std::int64_t orderOf(Connection &db, std::int64_t garmentId)
{
    return db.scalar(0, "SELECT order_id FROM order_products WHERE id = ?", garmentId);
}

std::int64_t byScanCode(Connection &db, std::int64_t mercId, const std::string &code)
{
    return db.scalar(
        0,
        "SELECT p.id FROM order_products p JOIN orders o ON o.id = p.order_id "
        "WHERE o.merc_id = ? AND (p.scan_code = ? OR p.id = (SELECT a.order_product_id "
        "FROM order_product_annexes a WHERE a.scan_code = ?))",
        mercId, code, code);
}

Json::Value photos(Connection &db, const std::string &baseUrl, std::int64_t garmentId)
{
    Json::Value list(Json::arrayValue);
    Query q = db.query("SELECT ? || camera_img AS cameraImg FROM order_product_imgs "
                       "WHERE order_product_id = ? ORDER BY id",
                       baseUrl + "/files/", garmentId);
    while (q.next())
        list.append(q.object());
    return list;
}

std::vector<std::int64_t> chosen(const Call &call, const char *field)
{
    const std::string text = trimmed(call.text(field, limits::jsonText));
    if (text.empty())
        throw ApiError(codes::badRequest, "请选择衣物");
    return idList(text, field);
}

int pieceCount(const std::vector<Garment> &list)
{
    int n = 0;
    for (const Garment &g : list)
        n += 1 + static_cast<int>(g.annexes.size());
    return n;
}

int annexCount(const std::vector<Garment> &list)
{
    return pieceCount(list) - static_cast<int>(list.size());
}

} // namespace garments
