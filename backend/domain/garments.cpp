#include "domain/garments.h"

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
        "p.service_amt AS serviceAmt, COALESCE(ps.price, -1) AS unitPrice, p.subtotal, p.status, "
        "p.status_time AS statusTime, p.has_refund AS hasRefund, p.is_packaged AS isPackaged, "
        "p.store_shelf_no AS shelfNo, p.created_at AS createdAt "
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
        g.subtotal = q.integer("subtotal");
        g.status = q.integer("status");
        g.statusTime = q.integer("statusTime");
        g.hasRefund = q.integer("hasRefund");
        g.isPackaged = q.integer("isPackaged");
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

std::int64_t orderOf(Connection &db, std::int64_t garmentId)
{
    return db.scalar(0, "SELECT order_id FROM order_products WHERE id = ?", garmentId);
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
