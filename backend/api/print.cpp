// print/...: what the order ticket, the bag label, the wash labels and the quality
// certificates are laid out from. Read-only views of orders, garments and bags.

#include <string>
#include <vector>

#include "api/families.h"
#include "domain/dates.h"
#include "domain/garments.h"
#include "domain/merchant.h"
#include "domain/orders.h"
#include "domain/ownership.h"
#include "domain/states.h"
#include "server/call.h"
#include "server/json.h"
#include "server/registry.h"
#include "store/database.h"

using garments::Garment;
using orders::Order;
namespace records = ownership::records;
namespace settings = merchant::settings;

namespace {

// The store has one rail; a garment's hanging point is a position on it.
const char *const railText = "滑轨";

Json::Value textOrNull(const std::string &s)
{
    return s.empty() ? Json::Value() : Json::Value(s);
}

// The garment whose id was sent, once it is the caller's store's, with its order and the
// order's garments; `index` is its place among them.
std::pair<Order, std::vector<Garment>> garmentAndOrder(Call &call, size_t &index)
{
    const std::int64_t garmentId = ownership::owned(call, records::garment, "orderProId");
    const std::int64_t orderId = garments::orderOf(call.db, garmentId);
    Order order = orders::load(call.db, orderId);
    std::vector<Garment> list = garments::ofOrder(call.db, orderId);
    for (index = 0; index < list.size(); ++index)
        if (list[index].id == garmentId)
            break;
    return {std::move(order), std::move(list)};
}

std::string tranText(const Garment &g)
{
    return g.shelfNo > 0 ? railText : "";
}

std::string tranNum(const Garment &g)
{
    return g.shelfNo > 0 ? std::to_string(g.shelfNo) : std::string();
}

// ---- print/order/detail ------------------------------------------------------------------

Json::Value ticketGarment(const Garment &g)
{
    Json::Value e(Json::objectValue);
    e["productName"] = g.productName;
    e["scanCode"] = g.scanCode;
    e["subtotal"] = Json::Int64(g.subtotal);
    e["serviceAmt"] = Json::Int64(g.servicePrice());
    e["count"] = Json::Int64(g.quantity());
    e["discount"] = Json::Int64(g.discount);
    e["colorDesc"] = g.colorDesc;
    e["flawDesc"] = g.flawDesc;
    e["effectDesc"] = g.effectDesc;
    e["addServiceDesc"] = g.addServiceDesc;
    e["tranTypeStr"] = tranText(g);
    e["tranNum"] = tranNum(g);
    e["storeShelfNo"] = Json::Int64(g.shelfNo);
    e["hasRefund"] = Json::Int64(g.hasRefund);
    return e;
}

Json::Value orderDetail(Call &call)
{
    const Order o = orders::load(call.db, ownership::owned(call, records::order, "orderId"));
    const std::vector<Garment> pieces = garments::ofOrder(call.db, o.id);

    Json::Value d(Json::objectValue);
    d["mercName"] = textOrNull(o.mercName);
    d["storeName"] = textOrNull(o.storeName);
    d["orderNo"] = o.orderNo;
    d["isShowOrderQrCode"] = merchant::setting(call.db, o.mercId, settings::showOrderQrCode) != "0";
    d["qrcode"] = merchant::setting(call.db, o.mercId, settings::wxQrcode);
    d["billTip"] = textOrNull(merchant::setting(call.db, o.mercId, settings::billTip));
    const std::int64_t take = orders::takeCarriage(o);
    d["takeCarriage"] = Json::Int64(take);
    d["sendCarriage"] = Json::Int64(o.carriage - take);
    d["createTime"] = Json::Int64(o.createdAt);
    d["productCnt"] = Json::Int64(garments::pieceCount(pieces));
    d["orderPrice"] = Json::Int64(o.orderPrice);
    d["modifyPrice"] = Json::Int64(o.modifyPrice);
    d["paidPrice"] = Json::Int64(o.paidPrice);
    d["refundPrice"] = Json::Int64(o.refundPrice);
    d["sendWorkName"] = textOrNull(o.workerName);
    // How the garments came in (brought to the store or fetched).
    d["sendModeText"] = merchant::dictionaryText(call.db, "TAKE_MODE", o.takeMode);
    d["payStatusText"] = merchant::dictionaryText(call.db, "PAY_STATUS", o.payStatus);
    d["userRemark"] = textOrNull(o.userRemark);
    d["userName"] = o.userName;
    d["userPhone"] = o.userPhone;
    d["userCardNo"] = o.userCardNo;
    d["discount"] = Json::Int64(o.discount);
    d["discountDesc"] = o.discount < 100 && o.couponAmount > 0
                            ? Json::Value("会员折扣" + std::to_string(o.discount) + "%+优惠券")
                            : Json::Value();
    d["userBalance"] = o.isMember ? Json::Int64(o.userBalance) : Json::Value();
    d["wxCode"] = merchant::setting(call.db, o.mercId, settings::wxCode);
    d["sendAddress"] = o.sendMode == 1 && o.sendAddressId
                           ? textOrNull(orders::addressText(call.db, o.sendAddressId))
                           : Json::Value();
    Json::Value &list = d["orderProductList"] = Json::Value(Json::arrayValue);
    for (const Garment &g : pieces)
        list.append(ticketGarment(g));
    return d;
}

// ---- print/batchIn/product ---------------------------------------------------------------

Json::Value bagLabel(Call &call)
{
    const std::int64_t bagId = ownership::owned(call, records::bag, "id");
    Query q = call.db.query(
        "SELECT CAST(b.id AS TEXT) AS id, b.bag_no AS code, b.created_at AS createdAt, "
        "s.name AS storeName, s.addr_desc AS storeAddrDesc, "
        "(SELECT COUNT(*) FROM batch_in_rel r WHERE r.batch_in_id = b.id) AS productCnt, "
        "(SELECT COUNT(*) FROM batch_in_rel r JOIN order_product_annexes a "
        "ON a.order_product_id = r.order_product_id WHERE r.batch_in_id = b.id) AS annexCnt "
        "FROM batch_in b JOIN stores s ON s.id = b.store_id WHERE b.id = ?",
        bagId);
    q.next();
    Json::Value batch = q.object();
    batch.removeMember("createdAt");
    batch["createTime"] = dates::timestampText(q.integer("createdAt"));
    batch["storeAddrDesc"] = textOrNull(q.text("storeAddrDesc"));
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
    e["subtotal"] = Json::Int64(g.subtotal);
    e["no"] = g.no;
    e["serviceName"] = g.serviceName;
    e["addServiceDesc"] = g.addServiceDesc;
    e["annexDesc"] = garments::annexDesc(g);
    e["colorDesc"] = g.colorDesc;
    e["flawDesc"] = g.flawDesc;
    e["effectDesc"] = g.effectDesc;
    e["scanCode"] = g.scanCode;
    e["tranText"] = tranText(g);
    e["tranNum"] = tranNum(g);
    e["createTime"] = Json::Int64(g.createdAt);
    Json::Value &annexes = e["annexList"] = Json::Value(Json::arrayValue);
    for (const garments::Annex &a : g.annexes) {
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
void orderMembers(Json::Value &d, const Order &o, const std::vector<Garment> &pieces)
{
    d["isPaid"] = o.payStatus == payState::paid;
    d["userName"] = o.userName;
    d["userPhone"] = o.userPhone;
    d["storeName"] = o.storeName;
    d["storeId"] = o.storeCode;
    d["productCnt"] = garments::pieceCount(pieces);
    d["orderNo"] = o.orderNo;
}

Json::Value productDetail(Call &call)
{
    size_t index = 0;
    const auto [order, pieces] = garmentAndOrder(call, index);
    Json::Value d = washGarment(pieces[index]);
    d["parentProName"] = Json::Value();
    orderMembers(d, order, pieces);
    return d;
}

Json::Value productAll(Call &call)
{
    const Order o = orders::load(call.db, ownership::owned(call, records::order, "orderId"));
    const std::vector<Garment> pieces = garments::ofOrder(call.db, o.id);
    Json::Value d(Json::objectValue);
    orderMembers(d, o, pieces);
    Json::Value &list = d["productList"] = Json::Value(Json::arrayValue);
    for (const Garment &g : pieces)
        list.append(washGarment(g));
    return d;
}

// ---- print/product/qualified -------------------------------------------------------------

Json::Value qualified(Call &call)
{
    size_t index = 0;
    const auto [o, pieces] = garmentAndOrder(call, index);
    const Garment &g = pieces[index];
    // A certificate says the garment passed the store's check; one that has not must not get it.
    if (!g.isPackaged)
        throw ApiError(codes::conflict, "衣物尚未质检合格");
    Json::Value d(Json::objectValue);
    d["certStyle"] = merchant::setting(call.db, o.mercId, settings::certStyle);
    d["storeId"] = o.storeCode;
    d["scanCode"] = g.scanCode;
    d["productName"] = g.productName;
    d["orderNo"] = o.orderNo;
    d["userName"] = textOrNull(o.userName);
    d["userPhone"] = textOrNull(o.userPhone);
    d["productCnt"] = static_cast<int>(pieces.size());
    d["annexCnt"] = garments::annexCount(pieces);
    d["storeName"] = o.storeName;
    d["tranText"] = tranText(g);
    d["tranNum"] = tranNum(g);
    d["colorDesc"] = g.colorDesc;
    d["showCode"] = merchant::setting(call.db, o.mercId, settings::showCode) == "0" ? 0 : 1;
    // When it passed the check, though it was hung or handed out since.
    d["createTime"] = Json::Int64(g.passedAt);
    return d;
}

} // namespace

void api::print::registerEndpoints(ApiRegistry &api)
{
    api.read("print/order/detail", Access::Worker, orderDetail);
    api.read("print/batchIn/product", Access::Worker, bagLabel);
    api.read("print/product/detail", Access::Worker, productDetail);
    api.read("print/product/all", Access::Worker, productAll);
    api.read("print/product/qualified", Access::Worker, qualified);
}
