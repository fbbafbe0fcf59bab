// stockIn/...: an order's garments at intake. The order with its garments for the intake
// screen, and a garment added or changed from the catalogue. The service prices a garment
// itself: the catalogue's price under the order's pricing mode, the size for garments priced
// by size, the member's discount of the order, and the amounts the worker typed (add-on
// services, a subtotal set by hand). Figures the terminal worked out are not read.

#include <optional>
#include <vector>

#include "api/families.h"
#include "domain/catalogue.h"
#include "domain/garments.h"
#include "domain/numbers.h"
#include "domain/orders.h"
#include "domain/ownership.h"
#include "domain/payments.h"
#include "domain/states.h"
#include "server/call.h"
#include "server/json.h"
#include "server/registry.h"
#include "store/database.h"

namespace records = ownership::records;
using catalogue::ChoiceList;

namespace {

// The most a worker may type for an add-on or a subtotal: 999,999.99 yuan.
constexpr std::int64_t maxAmount = 99999999;
// The largest size of a garment priced by size: 10,000 units, in hundredths.
constexpr std::int64_t maxCount = 1000000;

ApiError bad(const std::string &msg)
{
    return ApiError(codes::badRequest, msg);
}

// ---- the order ---------------------------------------------------------------------------

// What decides whether an order's garments may change, and how they are priced.
struct OrderState
{
    std::int64_t id = 0;
    std::string storeCode;
    std::int64_t discount = 100;
    std::int64_t pricingMode = catalogue::storePrices;
};

// The order, once its garments may still change: not voided, not paid or being paid, not yet
// at the factory. Whose it is, is the caller's check.
OrderState editableOrder(Call &call, std::int64_t orderId)
{
    Query q = call.db.query("SELECT o.status, o.pay_status AS payStatus, "
                            "o.destroyed_at IS NOT NULL AS destroyed, o.discount, "
                            "o.pricing_mode AS pricingMode, s.code AS storeCode "
                            "FROM orders o JOIN stores s ON s.id = o.store_id WHERE o.id = ?",
                            orderId);
    q.next();
    if (q.integer("destroyed"))
        throw ApiError(codes::conflict, "订单已作废");
    if (q.integer("payStatus") == payState::paid)
        throw ApiError(codes::conflict, "订单已付款，不能修改衣物");
    if (payments::held(call.db, orderId, call.now))
        throw ApiError(codes::conflict, "订单正在付款，请稍后再试");
    if (q.integer("status") > orderState::takenIn)
        throw ApiError(codes::conflict, "订单已送洗，不能修改衣物");
    OrderState o;
    o.id = orderId;
    o.storeCode = q.text("storeCode");
    o.discount = q.integer("discount");
    o.pricingMode = q.integer("pricingMode");
    return o;
}

// The caller's order named by `orderId`, once its garments may still change.
OrderState editableOrder(Call &call)
{
    return editableOrder(call, ownership::owned(call, records::order, "orderId"));
}

// ---- the garment a save describes ---------------------------------------------------------

// A whole number of fen (or hundredths) sent as a number or as digits.
std::optional<std::int64_t> wholeNumber(const Json::Value &v)
{
    if (v.isIntegral() && v.isInt64())
        return v.asInt64() >= 0 ? std::optional<std::int64_t>(v.asInt64()) : std::nullopt;
    if (!v.isString() || v.asString().empty() || v.asString().size() > 15 ||
        v.asString().find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::stoll(v.asString());
}

// One entry of a list the worker chose: a catalogue entry by its id, which keeps its
// catalogue name, or one typed in by hand (id "null", "" or none) with the name typed.
// Add-ons also carry the amount typed, `amt`, in fen.
Json::Value choiceEntry(Call &call, const Json::Value &entry, const ChoiceList &list,
                        const std::string &key)
{
    if (!entry.isObject())
        throw bad("参数格式错误: " + key);
    const Json::Value &id = entry["id"];
    std::int64_t catalogueId = 0;
    if (id.isString() && id.asString() != "" && id.asString() != "null") {
        const std::optional<std::int64_t> n = wholeNumber(id);
        if (!n)
            throw bad("参数格式错误: " + key);
        catalogueId = *n;
    } else if (id.isIntegral()) {
        catalogueId = id.asInt64();
    } else if (!id.isNull() && !id.isString()) {
        throw bad("参数格式错误: " + key);
    }

    Json::Value out(Json::objectValue);
    if (catalogueId) {
        out["id"] = std::to_string(catalogueId);
        out["name"] = catalogue::choiceName(call, list, catalogueId);
    } else {
        const std::string name = trimmed(entry["name"].isString() ? entry["name"].asString() : "");
        if (name.empty())
            throw bad("名称不能为空: " + key);
        if (json::characters(name) > limits::text)
            throw bad("名称过长: " + key);
        if (entry.isMember("id"))
            out["id"] = id.isString() ? id.asString() : std::string("null");
        out["name"] = name;
    }
    if (list.withAmount) {
        const std::optional<std::int64_t> amt = wholeNumber(entry["amt"]);
        if (!amt || *amt > maxAmount)
            throw bad("附加服务金额错误");
        out["amt"] = std::to_string(*amt);
    }
    return out;
}

// The list text sent under `key`, checked against the catalogue and written anew; "" and an
// empty list are "[]". Nothing when the call does not send it.
std::optional<std::string> choiceList(Call &call, const char *key, const ChoiceList &list,
                                      size_t most = 50, const char *tooMany = "选择过多")
{
    if (!call.has(key))
        return std::nullopt;
    if (call.text(key, limits::jsonText).empty())
        return std::string("[]");
    const Json::Value sent = call.jsonArray(key);
    if (sent.size() > most)
        throw bad(tooMany);
    Json::Value out(Json::arrayValue);
    for (const Json::Value &entry : sent)
        out.append(choiceEntry(call, entry, list, key));
    return json::write(out);
}

// Fen of the add-on services in a list text (as stored: amounts are whole fen).
std::int64_t addOnTotal(const std::string &text)
{
    Json::Value list;
    std::int64_t total = 0;
    if (!json::parse(text, list) || !list.isArray())
        return 0;
    for (const Json::Value &e : list)
        if (e.isObject())
            total += wholeNumber(e["amt"]).value_or(0);
    return total;
}

struct Brand
{
    std::int64_t id = 0; // 0: typed in by hand, or none
    std::string name;
};

// Everything a save says about the garment, once checked against the catalogue.
struct Garment
{
    std::int64_t productId = 0;
    std::int64_t typeId = 0;
    std::int64_t lineId = 0;
    std::string productName;
    std::int64_t serviceId = 0;
    std::string serviceName;
    bool bySize = false;
    std::int64_t count = 1;
    std::int64_t unitPrice = 0;
    std::int64_t discount = 100;
    std::int64_t chgSubtotal = -1;
    std::optional<Brand> brand;
    std::optional<std::string> colorDesc, flawDesc, effectDesc, addServiceDesc, annexDesc;
};

std::optional<Brand> brandOf(Call &call)
{
    if (!call.has("brandId") && !call.has("brandName"))
        return std::nullopt;
    Brand b;
    b.id = call.optionalInteger("brandId", 0);
    b.name = b.id ? catalogue::choiceName(call, catalogue::lists::brands, b.id)
                  : trimmed(call.optionalText("brandName"));
    return b;
}

Garment describe(Call &call, const OrderState &order)
{
    Garment g;
    g.productId = call.optionalInteger("productId", 0);
    if (!g.productId)
        throw bad("请选择衣物");
    ownership::check(call, records::product, g.productId);
    g.serviceId = call.optionalInteger("proServiceId", 0);
    if (!g.serviceId)
        throw bad("请选择服务");
    {
        Query q = call.db.query("SELECT type_id AS typeId, business_id AS lineId, name, "
                                "is_custom_num AS bySize FROM products WHERE id = ?",
                                g.productId);
        q.next();
        g.typeId = q.integer("typeId");
        g.lineId = q.integer("lineId");
        g.productName = q.text("name");
        g.bySize = q.integer("bySize") != 0;
    }
    {
        Query q = call.db.query("SELECT name FROM product_services WHERE id = ? AND product_id = ?",
                                g.serviceId, g.productId);
        if (!q.next())
            throw bad("所选服务不属于此衣物");
        g.serviceName = q.text("name");
    }
    const std::int64_t project = call.optionalInteger("mercBusinessId", 0);
    if (project && project != g.lineId)
        throw bad("衣物不属于所选项目");
    if (g.bySize) {
        const std::int64_t count = call.optionalInteger("count", 0);
        if (count <= 0 || count > maxCount)
            throw bad("请输入正确的衣物面积");
        g.count = count;
    }
    g.unitPrice = catalogue::servicePrice(call.db, g.serviceId, order.pricingMode);
    g.discount = catalogue::saleDiscount(call.db, g.productId, order.discount);
    // A subtotal set by hand; none is kept as -1, which a caller can never send.
    const std::optional<std::int64_t> chgSubtotal = call.optionalInteger("chgSubtotal");
    if (chgSubtotal && (*chgSubtotal < 0 || *chgSubtotal > maxAmount))
        throw bad("衣物金额错误");
    g.chgSubtotal = chgSubtotal.value_or(-1);
    g.brand = brandOf(call);
    g.colorDesc = choiceList(call, "colorDesc", catalogue::lists::colors, 1, "颜色只能选一种");
    g.flawDesc = choiceList(call, "flawDesc", catalogue::lists::flaws);
    g.effectDesc = choiceList(call, "effectDesc", catalogue::lists::effects);
    g.addServiceDesc = choiceList(call, "addServiceDesc", catalogue::lists::addServices);
    g.annexDesc = choiceList(call, "annexDesc", catalogue::lists::annexes);
    return g;
}

// ---- accessories ----------------------------------------------------------------------------

// The garment's accessory items made to match its accessory list: items still listed keep
// their codes (their labels may be printed), the others go, new ones get codes of their own.
void matchAccessories(Connection &db, std::int64_t garmentId, const std::string &storeCode,
                      const std::string &annexText)
{
    struct Item
    {
        std::int64_t id;
        std::int64_t annexId;
        std::string name;
        bool kept = false;
    };
    std::vector<Item> items;
    {
        Query q = db.query("SELECT id, COALESCE(annex_id, 0) AS annexId, name "
                           "FROM order_product_annexes WHERE order_product_id = ? ORDER BY id",
                           garmentId);
        while (q.next())
            items.push_back({q.integer("id"), q.integer("annexId"), q.text("name")});
    }
    std::vector<std::pair<std::int64_t, std::string>> added;
    Json::Value list;
    json::parse(annexText, list);
    for (const Json::Value &e : list) {
        const std::int64_t annexId = wholeNumber(e["id"]).value_or(0);
        const std::string name = e["name"].asString();
        bool found = false;
        for (Item &item : items)
            if (!item.kept && item.annexId == annexId && item.name == name) {
                item.kept = found = true;
                break;
            }
        if (!found)
            added.emplace_back(annexId, name);
    }
    for (const Item &item : items)
        if (!item.kept)
            db.exec("DELETE FROM order_product_annexes WHERE id = ?", item.id);
    for (const auto &[annexId, name] : added)
        db.exec("INSERT INTO order_product_annexes (order_product_id, annex_id, name, scan_code) "
                "VALUES (?, NULLIF(?, 0), ?, ?)",
                garmentId, annexId, name, numbers::annexCode(db, storeCode));
}

// ---- stockIn/add, stockIn/update -------------------------------------------------------------

std::string stored(Connection &db, std::int64_t garmentId, const char *column)
{
    Query q = db.query(
        std::string("SELECT ") + column + " AS value FROM order_products WHERE id = ?", garmentId);
    return q.next() ? q.text("value") : std::string("[]");
}

// Writes the garment's choices and figures onto its row.
void store(Call &call, std::int64_t garmentId, const OrderState &order, const Garment &g)
{
    auto listOr = [&](const std::optional<std::string> &sent, const char *column) {
        return sent ? *sent : stored(call.db, garmentId, column);
    };
    const std::string colorDesc = listOr(g.colorDesc, "color_desc");
    const std::string flawDesc = listOr(g.flawDesc, "flaw_desc");
    const std::string effectDesc = listOr(g.effectDesc, "effect_desc");
    const std::string addServiceDesc = listOr(g.addServiceDesc, "add_service_desc");
    const std::string annexDesc = listOr(g.annexDesc, "annex_desc");
    const garments::Amounts a = garments::amounts(g.unitPrice, g.bySize, g.count, g.discount,
                                                  addOnTotal(addServiceDesc), g.chgSubtotal);
    call.db
        .query("UPDATE order_products SET product_id = ?, pro_type_id = ?, business_id = ?, "
               "pro_service_id = ?, product_name = ?, service_name = ?, color_desc = ?, "
               "flaw_desc = ?, effect_desc = ?, add_service_desc = ?, annex_desc = ?, "
               "is_custom_num = ?, count = ?, unit_price = ?, discount = ?, service_amt = ?, "
               "sale_amt = ?, addsrv_amt = ?, subtotal = ?, chg_subtotal = NULLIF(?, -1) "
               "WHERE id = ?")
        .bindAll(g.productId, g.typeId, g.lineId, g.serviceId, g.productName, g.serviceName,
                 colorDesc, flawDesc, effectDesc, addServiceDesc, annexDesc, g.bySize ? 1 : 0,
                 g.count, g.unitPrice, g.discount, a.serviceAmt, a.saleAmt, a.addsrvAmt, a.subtotal,
                 g.chgSubtotal, garmentId)
        .exec();
    if (g.brand)
        call.db.exec("UPDATE order_products SET brand_id = NULLIF(?, 0), brand_name = ? "
                     "WHERE id = ?",
                     g.brand->id, g.brand->name, garmentId);
    if (g.annexDesc)
        matchAccessories(call.db, garmentId, order.storeCode, *g.annexDesc);
    orders::refreshTotals(call.db, order.id);
}

Json::Value addGarment(Call &call)
{
    const OrderState order = editableOrder(call);
    const Garment g = describe(call, order);
    call.db.exec("INSERT INTO order_products (order_id, scan_code, product_id, pro_type_id, "
                 "business_id, product_name, status, status_time, created_at) "
                 "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
                 order.id, numbers::garmentCode(call.db, order.storeCode), g.productId, g.typeId,
                 g.lineId, g.productName, garmentState::takenIn, call.now, call.now);
    const std::int64_t garmentId = call.db.lastInsertId();
    store(call, garmentId, order, g);
    return garments::intakeRow(call.db, garmentId);
}

Json::Value updateGarment(Call &call)
{
    const std::int64_t garmentId = ownership::owned(call, records::garment, "id");
    const OrderState order = editableOrder(call);
    if (garments::orderOf(call.db, garmentId) != order.id)
        throw bad("衣物不属于此订单");
    Query q = call.db.query("SELECT p.status, COALESCE(d.text, '') AS statusText "
                            "FROM order_products p LEFT JOIN dictionary d "
                            "ON d.code = 'PRODUCT_STATUS' AND d.val = p.status WHERE p.id = ?",
                            garmentId);
    q.next();
    if (q.integer("status") != garmentState::takenIn)
        throw ApiError(codes::conflict, "衣物" + q.text("statusText") + "，不能修改");
    store(call, garmentId, order, describe(call, order));
    return garments::intakeRow(call.db, garmentId);
}

// ---- stockIn/delete, stockIn/finish ---------------------------------------------------------

// `id`: a garment still at the counter leaves its order, with its accessories and photos.
Json::Value deleteGarment(Call &call)
{
    const std::int64_t garmentId = ownership::owned(call, records::garment, "id");
    const OrderState order = editableOrder(call, garments::orderOf(call.db, garmentId));
    if (call.db.scalar(0, "SELECT status FROM order_products WHERE id = ?", garmentId) !=
            garmentState::takenIn ||
        call.db.scalar(0, "SELECT COUNT(*) FROM batch_in_rel WHERE order_product_id = ?",
                       garmentId) > 0)
        throw ApiError(codes::conflict, "衣物已入袋，不能删除");
    call.db.exec("DELETE FROM order_product_annexes WHERE order_product_id = ?", garmentId);
    call.db.exec("DELETE FROM order_product_imgs WHERE order_product_id = ?", garmentId);
    call.db.exec("DELETE FROM order_products WHERE id = ?", garmentId);
    orders::refreshTotals(call.db, order.id);
    return Json::Value(Json::objectValue);
}

// `id`: the order's garments are all in; from now on they wait for a factory bag and their
// labels are printed.
Json::Value finishIntake(Call &call)
{
    const std::int64_t orderId = ownership::owned(call, records::order, "id");
    Query q = call.db.query("SELECT status, destroyed_at IS NOT NULL AS destroyed, "
                            "(SELECT COUNT(*) FROM order_products p WHERE p.order_id = o.id) "
                            "AS garments FROM orders o WHERE id = ?",
                            orderId);
    q.next();
    if (q.integer("destroyed"))
        throw ApiError(codes::conflict, "订单已作废");
    if (q.integer("status") != orderState::waiting)
        throw ApiError(codes::conflict, "订单已完成入库");
    if (q.integer("garments") == 0)
        throw ApiError(codes::conflict, "订单还没有衣物，请先添加衣物");
    call.db.exec("UPDATE orders SET status = ?, finished_at = ? WHERE id = ?", orderState::takenIn,
                 call.now, orderId);
    return Json::Value(Json::objectValue);
}

// ---- stockIn/queryOrder ----------------------------------------------------------------------

// The order, its customer and its money as the intake screen shows them. `paymentPrice` is
// what the order asks for (the intake screen's "订单金额"); `paidPrice` what was paid.
Json::Value orderInfo(Call &call, std::int64_t orderId)
{
    Query q = call.db.query(
        "SELECT o.id, o.order_no AS orderNo, '' AS transNo, o.factory_trans_no AS factoryTransNo, "
        "o.created_at AS createTime, o.priority, o.status, COALESCE(d.text, '') AS statusText, "
        "o.user_id AS userId, o.order_price AS orderPrice, o.modify_price AS modifyPrice, "
        "o.modify_price > 0 AS isModifyPrice, o.payable_price AS paymentPrice, "
        "o.payable_price AS payablePrice, o.payment_price AS paidPrice, o.discount, "
        "o.pricing_mode AS pricingMode, o.user_remark AS userRemark, o.pay_status AS payStatus, "
        "u.name AS \"userInfo.name\", u.grade AS \"userInfo.grade\", "
        "u.phone AS \"userInfo.phone\", COALESCE(u.card_no, '') AS \"userInfo.cardNo\", "
        "COALESCE(u.rfid_no, '') AS \"userInfo.rfidNo\", "
        "COALESCE(c.name, '') AS \"userInfo.cardName\", "
        "u.balance + u.gift_balance AS \"userInfo.balance\" "
        "FROM orders o JOIN users u ON u.id = o.user_id "
        "LEFT JOIN card_levels c ON c.id = u.card_level_id "
        "LEFT JOIN dictionary d ON d.code = 'ORDER_STATUS' AND d.val = o.status WHERE o.id = ?",
        orderId);
    q.next();
    Json::Value info = q.object();
    const orders::Order o = orders::load(call.db, orderId);
    const std::int64_t take = orders::takeCarriage(o);
    info["takeCarriage"] = Json::Int64(take);
    info["sendCarriage"] = Json::Int64(o.carriage - take);
    return info;
}

Json::Value queryOrder(Call &call)
{
    const std::string key = trimmed(call.requiredText("keywords"));
    // An order number, or the factory waybill number of an order.
    const std::int64_t orderId = call.db.scalar(
        0,
        "SELECT id FROM orders WHERE merc_id = ? AND (order_no = ? OR "
        "(factory_trans_no <> '' AND factory_trans_no = ?)) ORDER BY order_no = ? DESC LIMIT 1",
        call.mercId, key, key, key);
    if (!orderId)
        throw ApiError(codes::notFound, "订单不存在");
    ownership::check(call, records::order, orderId);

    Json::Value data(Json::objectValue);
    Json::Value info = orderInfo(call, orderId);
    Json::Value list = garments::intakeRows(call.db, orderId);
    int garmentCount = 0;
    bool waitingForBag = false;
    for (const Json::Value &row : list)
        if (row["type"].asInt() == 1) {
            ++garmentCount;
            waitingForBag = waitingForBag || row["statusVal"].asInt64() == garmentState::takenIn;
        }
    info["createCnt"] = garmentCount;
    Query q = call.db.query("SELECT status, pay_status AS payStatus, credit_status AS credit, "
                            "destroyed_at IS NOT NULL AS destroyed FROM orders WHERE id = ?",
                            orderId);
    q.next();
    const std::int64_t status = q.integer("status");
    const bool live = q.integer("destroyed") == 0;
    const bool paid = q.integer("payStatus") == payState::paid;
    const bool open = live && !paid && !payments::held(call.db, orderId, call.now) &&
                      status <= orderState::takenIn;
    const bool hasGarments = garmentCount > 0;
    data["orderInfo"] = info;
    data["proList"] = list;
    data["isEnableFinishStockIn"] = live && status == orderState::waiting && hasGarments;
    data["isPaid"] = paid;
    data["isEnableModifyPrice"] = open && hasGarments;
    data["isEnablePay"] = live && !paid && q.integer("credit") == 0 && hasGarments;
    data["isEnableBatchIn"] = live && status >= orderState::takenIn && waitingForBag;
    data["isEnablePrint"] = live && hasGarments;
    return data;
}

} // namespace

void api::stockIn::registerEndpoints(ApiRegistry &api)
{
    // A payment held past its time holds the order's garments and the member's balance that
    // the intake shows: closed before these calls look.
    api.read("stockIn/queryOrder", Access::Worker, queryOrder,
             payments::expiredOfOrderNumber("keywords"));
    api.write("stockIn/add", Access::Worker, addGarment, payments::expiredOfOrder("orderId"));
    api.write("stockIn/update", Access::Worker, updateGarment, payments::expiredOfOrder("orderId"));
    api.write("stockIn/delete", Access::Worker, deleteGarment, payments::expiredOfGarment("id"));
    api.write("stockIn/finish", Access::Worker, finishIntake);
}
