// Print data: what the order ticket, the bag label, the wash labels and the quality
// certificates are laid out from. Read-only views of orders, garments and bags.

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include <json/json.h>

#include "apiregistry.h"
#include "database.h"
#include "endpoints.h"
#include "numbers.h"

namespace {

// The store has one rail; a garment's hanging point is a position on it.
const char *const railText = "滑轨";

// Shop-wide print settings (merchant_params); absent rows fall back to these.
struct Setting
{
    const char *name;
    const char *fallback;
};
const Setting showOrderQrCode{"isShowOrderQrCode", "1"}; // "0": order number as a barcode
const Setting wxCode{"wxCode", ""};                      // the shop's WeChat account
const Setting wxQrcode{"wxQrcode", ""};                  // content of the follow QR code
const Setting billTip{"billTip", ""};                    // the ticket's notes; "" = none
const Setting certStyle{"certStyle", "1"};               // certificate layout "1", "2", "3"
const Setting showCode{"showCode", "1"};                 // certificate: "0" barcode, else QR

std::string setting(Connection &db, std::int64_t mercId, const Setting &s)
{
    Query q = db.query("SELECT value FROM merchant_params WHERE merc_id = ? AND name = ?", mercId,
                       s.name);
    return q.next() ? q.text(0) : std::string(s.fallback);
}

Json::Value textOrNull(const std::string &s)
{
    return s.empty() ? Json::Value() : Json::Value(s);
}

std::string dictionaryText(Connection &db, const char *code, std::int64_t val)
{
    Query q = db.query("SELECT text FROM dictionary WHERE code = ? AND val = ?", code, val);
    return q.next() ? q.text(0) : std::string();
}

// "2024-06-12 18:20:05.0": the form the bag label prints without its last two characters.
std::string timestampText(std::int64_t ms)
{
    const std::tm tm = numbers::localTime(ms);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%lld", tm.tm_year + 1900,
                  tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec,
                  static_cast<long long>(ms % 1000 / 100));
    return buf;
}

struct Order
{
    std::int64_t id = 0;
    std::string orderNo;
    std::int64_t mercId = 0;
    std::string mercName;
    std::string storeName;
    std::string storeCode;
    std::int64_t userId = 0;
    std::string userName;
    std::string userPhone;
    std::string userCardNo;
    bool isMember = false;
    std::int64_t userBalance = 0;
    std::string userRemark;
    std::string workerName; // "" = no worker recorded
    std::int64_t payStatus = 0;
    std::int64_t takeMode = 0;
    std::int64_t sendMode = 0;
    std::int64_t sendAddressId = 0;
    std::int64_t orderPrice = 0;
    std::int64_t discount = 100;
    std::int64_t modifyPrice = 0;
    std::int64_t carriage = 0;
    std::int64_t pickupFee = 0;
    std::int64_t couponAmount = 0;
    std::int64_t paidPrice = 0;
    std::int64_t refundPrice = 0;
    std::int64_t createdAt = 0;
};

// The order, when it belongs to the caller's merchant; 404 otherwise.
Order loadOrder(Call &call, std::int64_t orderId)
{
    Query q = call.db.query(
        "SELECT o.id, o.order_no, o.merc_id, m.name, s.name, s.code, u.id, u.name, u.phone, "
        "COALESCE(u.card_no, ''), u.card_level_id IS NOT NULL, u.balance + u.gift_balance, "
        "o.user_remark, COALESCE(w.name, ''), o.pay_status, o.take_mode, o.send_mode, "
        "COALESCE(o.send_address_id, 0), o.order_price, o.discount, o.modify_price, o.carriage, "
        "COALESCE(c.pickup_fee, 0), o.coupon_amount, o.payment_price, o.refund_price, "
        "o.created_at "
        "FROM orders o JOIN merchants m ON m.id = o.merc_id JOIN stores s ON s.id = o.store_id "
        "JOIN users u ON u.id = o.user_id LEFT JOIN workers w ON w.id = o.worker_id "
        "LEFT JOIN cities c ON c.id = s.city_id WHERE o.id = ? AND o.merc_id = ?",
        orderId, call.mercId);
    if (!q.next())
        throw ApiError(codes::notFound, "订单不存在");
    Order o;
    int i = 0;
    o.id = q.integer(i++);
    o.orderNo = q.text(i++);
    o.mercId = q.integer(i++);
    o.mercName = q.text(i++);
    o.storeName = q.text(i++);
    o.storeCode = q.text(i++);
    o.userId = q.integer(i++);
    o.userName = q.text(i++);
    o.userPhone = q.text(i++);
    o.userCardNo = q.text(i++);
    o.isMember = q.integer(i++) != 0;
    o.userBalance = q.integer(i++);
    o.userRemark = q.text(i++);
    o.workerName = q.text(i++);
    o.payStatus = q.integer(i++);
    o.takeMode = q.integer(i++);
    o.sendMode = q.integer(i++);
    o.sendAddressId = q.integer(i++);
    o.orderPrice = q.integer(i++);
    o.discount = q.integer(i++);
    o.modifyPrice = q.integer(i++);
    o.carriage = q.integer(i++);
    o.pickupFee = q.integer(i++);
    o.couponAmount = q.integer(i++);
    o.paidPrice = q.integer(i++);
    o.refundPrice = q.integer(i++);
    o.createdAt = q.integer(i++);
    return o;
}

struct Annex
{
    std::int64_t id = 0;
    std::int64_t annexId = 0;
    std::string name;
    std::string scanCode;
    int no = 0;
};

struct Garment
{
    std::int64_t id = 0;
    std::string scanCode;
    std::string productName;
    std::string serviceName;
    std::string colorDesc, flawDesc, effectDesc, addServiceDesc;
    bool bySize = false;
    std::int64_t count = 1;
    std::int64_t serviceAmt = 0;
    std::int64_t unitPrice = -1; // the catalogue's price of the service; -1 = not in the catalogue
    std::int64_t subtotal = 0;
    std::int64_t status = 0;
    std::int64_t statusTime = 0;
    std::int64_t hasRefund = 0;
    std::int64_t isPackaged = 0;
    std::int64_t shelfNo = 0;
    std::int64_t createdAt = 0;
    int no = 0;
    std::vector<Annex> annexes;

    // Quantity in hundredths: pieces count whole, sizes are kept in hundredths already.
    std::int64_t quantity() const { return bySize ? count : count * 100; }
    // Price of one piece or unit of the service.
    std::int64_t servicePrice() const
    {
        if (unitPrice >= 0)
            return unitPrice;
        return quantity() > 0 ? serviceAmt * 100 / quantity() : serviceAmt;
    }
};

// The order's garments in intake order, each followed by its accessories; `no` numbers the
// pieces that way, as the labels print it ("2" over the order's piece count).
std::vector<Garment> loadGarments(Connection &db, std::int64_t orderId)
{
    std::vector<Garment> list;
    Query q = db.query(
        "SELECT p.id, p.scan_code, p.product_name, p.service_name, p.color_desc, p.flaw_desc, "
        "p.effect_desc, p.add_service_desc, p.is_custom_num, p.count, p.service_amt, "
        "COALESCE(ps.price, -1), p.subtotal, p.status, p.status_time, p.has_refund, "
        "p.is_packaged, p.store_shelf_no, p.created_at "
        "FROM order_products p LEFT JOIN product_services ps ON ps.id = p.pro_service_id "
        "WHERE p.order_id = ? ORDER BY p.id",
        orderId);
    while (q.next()) {
        Garment g;
        int i = 0;
        g.id = q.integer(i++);
        g.scanCode = q.text(i++);
        g.productName = q.text(i++);
        g.serviceName = q.text(i++);
        g.colorDesc = q.text(i++);
        g.flawDesc = q.text(i++);
        g.effectDesc = q.text(i++);
        g.addServiceDesc = q.text(i++);
        g.bySize = q.integer(i++) != 0;
        g.count = q.integer(i++);
        g.serviceAmt = q.integer(i++);
        g.unitPrice = q.integer(i++);
        g.subtotal = q.integer(i++);
        g.status = q.integer(i++);
        g.statusTime = q.integer(i++);
        g.hasRefund = q.integer(i++);
        g.isPackaged = q.integer(i++);
        g.shelfNo = q.integer(i++);
        g.createdAt = q.integer(i++);
        list.push_back(std::move(g));
    }
    int no = 0;
    for (Garment &g : list) {
        g.no = ++no;
        Query a = db.query("SELECT id, COALESCE(annex_id, 0), name, scan_code "
                           "FROM order_product_annexes WHERE order_product_id = ? ORDER BY id",
                           g.id);
        while (a.next()) {
            Annex x;
            x.id = a.integer(0);
            x.annexId = a.integer(1);
            x.name = a.text(2);
            x.scanCode = a.text(3);
            x.no = ++no;
            g.annexes.push_back(std::move(x));
        }
    }
    return list;
}

int pieceCount(const std::vector<Garment> &garments)
{
    int n = 0;
    for (const Garment &g : garments)
        n += 1 + static_cast<int>(g.annexes.size());
    return n;
}

int annexCount(const std::vector<Garment> &garments)
{
    return pieceCount(garments) - static_cast<int>(garments.size());
}

// The garment whose id was sent, with its order; 404 for an unknown garment or another
// merchant's.
std::pair<Order, std::vector<Garment>> garmentAndOrder(Call &call, std::int64_t garmentId,
                                                       size_t &index)
{
    const std::int64_t orderId =
        call.db.scalar(0, "SELECT order_id FROM order_products WHERE id = ?", garmentId);
    if (orderId == 0)
        throw ApiError(codes::notFound, "衣物不存在");
    Order order;
    try {
        order = loadOrder(call, orderId);
    } catch (const ApiError &) {
        throw ApiError(codes::notFound, "衣物不存在");
    }
    std::vector<Garment> garments = loadGarments(call.db, orderId);
    for (index = 0; index < garments.size(); ++index)
        if (garments[index].id == garmentId)
            break;
    return {std::move(order), std::move(garments)};
}

std::string tranText(const Garment &g)
{
    return g.shelfNo > 0 ? railText : "";
}

std::string tranNum(const Garment &g)
{
    return g.shelfNo > 0 ? std::to_string(g.shelfNo) : std::string();
}

// The accessories as the list text the labels join: [{"id":..,"name":..}].
std::string annexDesc(const Garment &g)
{
    Json::Value list(Json::arrayValue);
    for (const Annex &a : g.annexes) {
        Json::Value e(Json::objectValue);
        e["id"] = reply::number(a.annexId);
        e["name"] = a.name;
        list.append(e);
    }
    Json::StreamWriterBuilder w;
    w["indentation"] = "";
    w["emitUTF8"] = true;
    return Json::writeString(w, list);
}

// ---- print/order/detail ------------------------------------------------------------------

std::string addressText(Connection &db, std::int64_t addressId)
{
    Query q = db.query("SELECT city, district, address, house_no FROM user_addresses "
                       "WHERE id = ?",
                       addressId);
    if (!q.next())
        return {};
    std::string text = q.text(0) + q.text(1) + q.text(2);
    if (!q.text(3).empty())
        text += " " + q.text(3);
    return text;
}

Json::Value ticketGarment(const Garment &g, std::int64_t discount)
{
    Json::Value e(Json::objectValue);
    e["productName"] = g.productName;
    e["scanCode"] = g.scanCode;
    e["subtotal"] = reply::number(g.subtotal);
    e["serviceAmt"] = reply::number(g.servicePrice());
    e["count"] = reply::number(g.quantity());
    e["discount"] = reply::number(discount);
    e["colorDesc"] = g.colorDesc;
    e["flawDesc"] = g.flawDesc;
    e["effectDesc"] = g.effectDesc;
    e["addServiceDesc"] = g.addServiceDesc;
    e["tranTypeStr"] = tranText(g);
    e["tranNum"] = tranNum(g);
    e["storeShelfNo"] = reply::number(g.shelfNo);
    e["hasRefund"] = reply::number(g.hasRefund);
    return e;
}

Json::Value orderDetail(Call &call)
{
    const Order o = loadOrder(call, call.integer("orderId"));
    const std::vector<Garment> garments = loadGarments(call.db, o.id);

    Json::Value d(Json::objectValue);
    d["mercName"] = textOrNull(o.mercName);
    d["storeName"] = textOrNull(o.storeName);
    d["orderNo"] = o.orderNo;
    d["isShowOrderQrCode"] = setting(call.db, o.mercId, showOrderQrCode) != "0";
    d["qrcode"] = setting(call.db, o.mercId, wxQrcode);
    d["billTip"] = textOrNull(setting(call.db, o.mercId, billTip));
    // One carriage figure is kept per order: the pick-up part is the city's pick-up fee when
    // the garments were fetched, the rest is delivery, so the two always add up to it.
    const std::int64_t take = o.takeMode == 1 ? std::min(o.pickupFee, o.carriage) : std::int64_t(0);
    d["takeCarriage"] = reply::number(take);
    d["sendCarriage"] = reply::number(o.carriage - take);
    d["createTime"] = reply::number(o.createdAt);
    d["productCnt"] = reply::number(pieceCount(garments));
    d["orderPrice"] = reply::number(o.orderPrice);
    d["modifyPrice"] = reply::number(o.modifyPrice);
    d["paidPrice"] = reply::number(o.paidPrice);
    d["refundPrice"] = reply::number(o.refundPrice);
    d["sendWorkName"] = textOrNull(o.workerName);
    // How the garments came in (brought to the store or fetched).
    d["sendModeText"] = dictionaryText(call.db, "TAKE_MODE", o.takeMode);
    d["payStatusText"] = dictionaryText(call.db, "PAY_STATUS", o.payStatus);
    d["userRemark"] = textOrNull(o.userRemark);
    d["userName"] = o.userName;
    d["userPhone"] = o.userPhone;
    d["userCardNo"] = o.userCardNo;
    d["discount"] = reply::number(o.discount);
    d["discountDesc"] = o.discount < 100 && o.couponAmount > 0
                            ? Json::Value("会员折扣" + std::to_string(o.discount) + "%+优惠券")
                            : Json::Value();
    d["userBalance"] = o.isMember ? reply::number(o.userBalance) : Json::Value();
    d["wxCode"] = setting(call.db, o.mercId, wxCode);
    d["sendAddress"] = o.sendMode == 1 && o.sendAddressId
                           ? textOrNull(addressText(call.db, o.sendAddressId))
                           : Json::Value();
    Json::Value &list = d["orderProductList"] = Json::Value(Json::arrayValue);
    for (const Garment &g : garments)
        list.append(ticketGarment(g, o.discount));
    return d;
}

// ---- print/batchIn/product ---------------------------------------------------------------

Json::Value bagLabel(Call &call)
{
    const std::int64_t bagId = call.integer("id");
    Query q = call.db.query("SELECT b.id, b.bag_no, b.created_at, s.name, s.addr_desc "
                            "FROM batch_in b JOIN stores s ON s.id = b.store_id "
                            "WHERE b.id = ? AND s.merc_id = ?",
                            bagId, call.mercId);
    if (!q.next())
        throw ApiError(codes::notFound, "袋子不存在");
    Json::Value batch(Json::objectValue);
    batch["id"] = std::to_string(q.integer(0));
    batch["code"] = q.text(1);
    batch["createTime"] = timestampText(q.integer(2));
    batch["productCnt"] = reply::number(
        call.db.scalar(0, "SELECT COUNT(*) FROM batch_in_rel WHERE batch_in_id = ?", bagId));
    batch["annexCnt"] = reply::number(
        call.db.scalar(0,
                       "SELECT COUNT(*) FROM batch_in_rel r JOIN order_product_annexes a "
                       "ON a.order_product_id = r.order_product_id WHERE r.batch_in_id = ?",
                       bagId));
    batch["storeName"] = q.text(3);
    batch["storeAddrDesc"] = textOrNull(q.text(4));
    Json::Value d(Json::objectValue);
    d["batch"] = batch;
    return d;
}

// ---- wash labels: print/product/detail, print/product/all --------------------------------

Json::Value washGarment(const Garment &g)
{
    Json::Value e(Json::objectValue);
    e["id"] = std::to_string(g.id);
    e["type"] = 1;
    e["productName"] = g.productName;
    e["subtotal"] = reply::number(g.subtotal);
    e["no"] = g.no;
    e["serviceName"] = g.serviceName;
    e["addServiceDesc"] = g.addServiceDesc;
    e["annexDesc"] = annexDesc(g);
    e["colorDesc"] = g.colorDesc;
    e["flawDesc"] = g.flawDesc;
    e["effectDesc"] = g.effectDesc;
    e["scanCode"] = g.scanCode;
    e["tranText"] = tranText(g);
    e["tranNum"] = tranNum(g);
    e["createTime"] = reply::number(g.createdAt);
    Json::Value &annexes = e["annexList"] = Json::Value(Json::arrayValue);
    for (const Annex &a : g.annexes) {
        Json::Value x(Json::objectValue);
        x["id"] = std::to_string(a.id);
        x["type"] = 2;
        x["productName"] = a.name;
        x["parentProName"] = g.productName;
        x["no"] = a.no;
        x["subtotal"] = Json::Value(); // accessories are not priced
        x["scanCode"] = a.scanCode;
        annexes.append(x);
    }
    return e;
}

// The members every wash label of an order shares.
void orderMembers(Json::Value &d, const Order &o, const std::vector<Garment> &garments)
{
    d["isPaid"] = o.payStatus == 1;
    d["userName"] = o.userName;
    d["userPhone"] = o.userPhone;
    d["storeName"] = o.storeName;
    d["storeId"] = o.storeCode;
    d["productCnt"] = pieceCount(garments);
    d["orderNo"] = o.orderNo;
}

Json::Value productDetail(Call &call)
{
    size_t index = 0;
    const auto [order, garments] = garmentAndOrder(call, call.integer("orderProId"), index);
    Json::Value d = washGarment(garments[index]);
    d["parentProName"] = Json::Value();
    orderMembers(d, order, garments);
    return d;
}

Json::Value productAll(Call &call)
{
    const Order o = loadOrder(call, call.integer("orderId"));
    const std::vector<Garment> garments = loadGarments(call.db, o.id);
    Json::Value d(Json::objectValue);
    orderMembers(d, o, garments);
    Json::Value &list = d["productList"] = Json::Value(Json::arrayValue);
    for (const Garment &g : garments)
        list.append(washGarment(g));
    return d;
}

// ---- print/product/qualified -------------------------------------------------------------

Json::Value qualified(Call &call)
{
    size_t index = 0;
    const auto [o, garments] = garmentAndOrder(call, call.integer("orderProId"), index);
    const Garment &g = garments[index];
    // A certificate says the garment passed the store's check; one that has not must not get it.
    if (!g.isPackaged)
        throw ApiError(codes::conflict, "衣物尚未质检合格");
    Json::Value d(Json::objectValue);
    d["certStyle"] = setting(call.db, o.mercId, certStyle);
    d["storeId"] = o.storeCode;
    d["scanCode"] = g.scanCode;
    d["productName"] = g.productName;
    d["orderNo"] = o.orderNo;
    d["userName"] = textOrNull(o.userName);
    d["userPhone"] = textOrNull(o.userPhone);
    d["productCnt"] = static_cast<int>(garments.size());
    d["annexCnt"] = annexCount(garments);
    d["storeName"] = o.storeName;
    d["tranText"] = tranText(g);
    d["tranNum"] = tranNum(g);
    d["colorDesc"] = g.colorDesc;
    d["showCode"] = setting(call.db, o.mercId, showCode) == "0" ? 0 : 1;
    // The check is the garment's last change of state when it is the pass itself; later
    // states (hung, handed out) keep no separate pass time, so their last change stands in.
    d["createTime"] = reply::number(g.statusTime);
    return d;
}

} // namespace

void registerPrintEndpoints(ApiRegistry &api)
{
    api.add("print/order/detail", Access::Worker, orderDetail);
    api.add("print/batchIn/product", Access::Worker, bagLabel);
    api.add("print/product/detail", Access::Worker, productDetail);
    api.add("print/product/all", Access::Worker, productAll);
    api.add("print/product/qualified", Access::Worker, qualified);
}
