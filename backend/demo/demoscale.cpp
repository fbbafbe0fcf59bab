#include "demo/demoscale.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "domain/dates.h"
#include "domain/garments.h"
#include "domain/numbers.h"
#include "domain/paymeans.h"
#include "domain/states.h"
#include "server/json.h"
#include "store/database.h"

namespace demo {

namespace {

constexpr std::int64_t minute = 60 * 1000;
constexpr std::int64_t hour = 60 * minute;
constexpr std::int64_t day = 24 * hour;
constexpr std::int64_t year = 365 * day;

// Draws from a fixed seed. mt19937_64's numbers are fixed by the standard; the library's
// distributions are not, so the draws below are made here and seed the same store anywhere.
class Dice
{
public:
    explicit Dice(std::uint64_t seed) : engine_(seed) {}

    // 0 to n - 1.
    std::int64_t below(std::int64_t n)
    {
        return static_cast<std::int64_t>(engine_() % static_cast<std::uint64_t>(n));
    }
    // [0, 1).
    double unit() { return static_cast<double>(engine_() >> 11) / 9007199254740992.0; }
    bool chance(double p) { return unit() < p; }
    // An index of `weights`, drawn by weight.
    std::size_t weighted(const std::vector<double> &weights)
    {
        double total = 0;
        for (double w : weights)
            total += w;
        double at = unit() * total;
        for (std::size_t i = 0; i < weights.size(); ++i) {
            if (at < weights[i])
                return i;
            at -= weights[i];
        }
        return weights.size() - 1;
    }

private:
    std::mt19937_64 engine_;
};

// A garment of the catalogue with the service a counter takes most (its first).
struct Product
{
    std::int64_t id = 0, typeId = 0, businessId = 0, serviceId = 0;
    std::string name, serviceName;
    bool bySize = false, memberDiscount = true;
    std::int64_t price = 0, companyPrice = 0; // fen, pricing modes 1 and 2
};

struct Member
{
    std::int64_t id = 0;
    std::int64_t discount = 100; // percent of the price paid
    bool company = false;
    std::int64_t balance = 0, gift = 0, points = 0; // what the year changed
};

// How much of the counter's work each kind of garment is (product_types ids 1 to 12): tops and
// trousers most, coats twice as much in the cold months.
double typeWeight(std::int64_t typeId, bool winter)
{
    static const double weights[] = {30, 20, 8, 12, 5, 8, 3, 2, 1, 1, 4, 1};
    const double w = typeId >= 1 && typeId <= 12 ? weights[typeId - 1] : 1;
    return typeId == 4 && winter ? w * 3 : w;
}

const char *const surnames[] = {"李", "王", "张", "刘", "陈", "杨", "黄", "赵", "吴", "周",
                                "徐", "孙", "马", "朱", "胡", "郭", "何", "高", "林", "罗"};
const char *const givenNames[] = {"晓明", "思琪", "建国", "雨桐", "子涵", "浩然", "欣怡",
                                  "志强", "梓萱", "俊杰", "佳怡", "文博", "诗涵", "明轩",
                                  "静怡", "宇航", "婉清", "海涛", "一诺", "国庆"};
const char *const colors[] = {"黑色", "白色", "灰色", "红色", "粉色", "橙色", "黄色", "绿色",
                              "蓝色", "藏青", "紫色", "棕色", "米色", "卡其", "花色"};
const char *const notes[] = {"顾客要求加急", "袖口有旧污渍，已告知顾客", "衣物有破损，顾客知晓",
                             "顾客要求不要熨烫", "取衣时请致电顾客"};

// The means orders are paid by, as a store sees them over a year: the order of weights.
const int payMeansDrawn[] = {payMeans::wechat, payMeans::alipay, payMeans::cash, payMeans::balance,
                             payMeans::other};
const std::vector<double> payMeansWeights = {42, 22, 12, 18, 6};

struct Store
{
    std::int64_t id;
    const char *code;
    std::vector<std::int64_t> workers;
};

class ScaleSeeder
{
public:
    ScaleSeeder(Connection &db, std::int64_t nowMs) : db(db), now(nowMs) {}

    void run(std::int64_t orders);

private:
    void loadCatalogue();
    void addMembers(std::int64_t count);
    std::vector<std::int64_t> times(std::int64_t count);
    Member &customer();
    void addOrder(const Store &store, std::int64_t created);
    void addGarments(const Store &store, std::int64_t orderId, std::int64_t created,
                     const Member &m, int garmentStatus, std::int64_t statusTime,
                     std::int64_t &total);
    void pay(const Store &store, std::int64_t orderId, Member &m, std::int64_t amount,
             std::int64_t at, std::int64_t worker);
    void refund(const Store &store, std::int64_t orderId, std::int64_t amount, std::int64_t at);
    void recharge(const Store &store, std::int64_t at);
    std::int64_t bagOf(const Store &store, std::int64_t created);
    std::int64_t batchOf(const Store &store, std::int64_t back);
    void settleMembers();

    Connection &db;
    const std::int64_t now;
    Dice dice{20240601};
    std::vector<Product> products;
    std::vector<double> summerWeights, winterWeights;
    std::vector<Member> members;
    std::map<std::pair<std::int64_t, std::string>, std::int64_t> bags, batches;
};

void ScaleSeeder::loadCatalogue()
{
    Query q = db.query(
        "SELECT p.id, p.type_id AS typeId, p.business_id AS businessId, p.name, "
        "p.is_custom_num AS bySize, p.member_discount AS memberDiscount, s.id AS serviceId, "
        "s.name AS serviceName, s.price, COALESCE(sp.price, s.price) AS companyPrice "
        "FROM products p JOIN product_services s ON s.id = (SELECT MIN(id) FROM "
        "product_services WHERE product_id = p.id) LEFT JOIN product_service_prices sp "
        "ON sp.service_id = s.id AND sp.pricing_mode = 2 ORDER BY p.id");
    while (q.next()) {
        Product p;
        p.id = q.integer("id");
        p.typeId = q.integer("typeId");
        p.businessId = q.integer("businessId");
        p.name = q.text("name");
        p.bySize = q.integer("bySize") != 0;
        p.memberDiscount = q.integer("memberDiscount") != 0;
        p.serviceId = q.integer("serviceId");
        p.serviceName = q.text("serviceName");
        p.price = q.integer("price");
        p.companyPrice = q.integer("companyPrice");
        products.push_back(p);
        summerWeights.push_back(typeWeight(p.typeId, false));
        winterWeights.push_back(typeWeight(p.typeId, true));
    }
}

// New members over the two years before now, besides the demo's: levels mostly the first.
void ScaleSeeder::addMembers(std::int64_t count)
{
    const std::int64_t first = db.scalar(0, "SELECT MAX(id) FROM users") + 1;
    for (std::int64_t i = 0; i < count; ++i) {
        const std::int64_t id = first + i;
        const std::string name = std::string(surnames[dice.below(std::size(surnames))]) +
                                 givenNames[dice.below(std::size(givenNames))];
        const std::int64_t level = 1 + static_cast<std::int64_t>(dice.weighted({60, 25, 12, 3}));
        const std::int64_t group = 1 + static_cast<std::int64_t>(dice.weighted({50, 30, 0, 20}));
        char phone[32];
        std::snprintf(phone, sizeof phone, "138%08lld", static_cast<long long>(id));
        db.exec("INSERT INTO users (id, merc_id, store_id, name, phone, sex, group_id, "
                "card_level_id, card_no, created_at) VALUES (?, 1, ?, ?, ?, ?, ?, ?, ?, ?)",
                id, dice.chance(0.1) ? 2 : 1, name, std::string(phone), 1 + dice.below(2), group,
                level, "VIP" + std::to_string(id), now - 2 * year + dice.below(2 * year));
    }
    Query q = db.query("SELECT u.id, u.company, COALESCE(c.discount, 100) AS discount "
                       "FROM users u LEFT JOIN card_levels c ON c.id = u.card_level_id "
                       "ORDER BY u.id");
    while (q.next()) {
        Member m;
        m.id = q.integer("id");
        m.discount = q.integer("discount");
        m.company = q.integer("company") != 0;
        members.push_back(m);
    }
}

// `count` moments of the year before now, oldest first: weekends half again as busy as
// weekdays, the counter open 8:00 to 21:00 with the evening busiest.
std::vector<std::int64_t> ScaleSeeder::times(std::int64_t count)
{
    static const std::vector<double> hours = {2, 4, 6, 7, 6, 4, 4, 5, 6, 8, 10, 9, 5};
    const std::int64_t today = dates::dayStart(dates::localDate(now));
    std::vector<double> days;
    for (int d = 0; d < 365; ++d) {
        const std::tm t = dates::localTime(today - d * day);
        days.push_back(t.tm_wday == 0 || t.tm_wday == 6 ? 3 : 2);
    }
    std::vector<std::int64_t> out;
    out.reserve(static_cast<std::size_t>(count));
    while (static_cast<std::int64_t>(out.size()) < count) {
        const std::int64_t at = today - static_cast<std::int64_t>(dice.weighted(days)) * day +
                                (8 + static_cast<std::int64_t>(dice.weighted(hours))) * hour +
                                dice.below(hour);
        if (at < now - 10 * minute) // today's orders only up to a moment ago
            out.push_back(at);
    }
    std::sort(out.begin(), out.end());
    return out;
}

// A customer: a few regulars bring much of the work (the first of 20,000 members a hundred
// and some orders a year), most come a few times.
Member &ScaleSeeder::customer()
{
    return members[static_cast<std::size_t>(
        std::floor(std::pow(dice.unit(), 1.5) * static_cast<double>(members.size())))];
}

std::int64_t ScaleSeeder::bagOf(const Store &store, std::int64_t created)
{
    const std::string dayText = numbers::dayText(created);
    auto found = bags.find({store.id, dayText});
    if (found != bags.end())
        return found->second;
    // A bag a day, sent in the evening: today's is still open at the counter.
    const std::int64_t closing = dates::dayStart(dates::localDate(created)) + 20 * hour;
    const bool open = closing > now;
    db.exec("INSERT INTO batch_in (bag_no, store_id, factory_id, worker_id, status, created_at, "
            "completed_at) VALUES (?, ?, 1, ?, ?, ?, NULLIF(?, 0))",
            numbers::bagNo(db, store.code, created), store.id, store.workers[0],
            open ? bagState::open : bagState::atFactory, created, open ? 0 : closing);
    const std::int64_t id = db.lastInsertId();
    bags[{store.id, dayText}] = id;
    return id;
}

std::int64_t ScaleSeeder::batchOf(const Store &store, std::int64_t back)
{
    const std::string dayText = numbers::dayText(back);
    auto found = batches.find({store.id, dayText});
    if (found != batches.end())
        return found->second;
    const bool received = back + day < now;
    db.exec("INSERT INTO batch_out (batch_no, factory_id, store_id, status, created_at, "
            "received_at) VALUES (?, 1, ?, ?, ?, NULLIF(?, 0))",
            numbers::batchNo(db, store.code, back), store.id,
            received ? batchState::received : batchState::onTheWay, back,
            received ? back + 4 * hour : 0);
    const std::int64_t id = db.lastInsertId();
    batches[{store.id, dayText}] = id;
    return id;
}

void ScaleSeeder::addGarments(const Store &store, std::int64_t orderId, std::int64_t created,
                              const Member &m, int garmentStatus, std::int64_t statusTime,
                              std::int64_t &total)
{
    const int month = dates::localTime(created).tm_mon + 1;
    const bool winter = month >= 11 || month <= 3;
    const int count = 1 + static_cast<int>(dice.weighted({35, 30, 18, 9, 4, 2, 1, 1}));
    for (int n = 0; n < count; ++n) {
        const Product &p = products[dice.weighted(winter ? winterWeights : summerWeights)];
        const std::int64_t unitPrice = m.company ? p.companyPrice : p.price;
        const std::int64_t size = p.bySize ? 150 + dice.below(500) : 1; // hundredths of a unit
        const bool addon = dice.chance(0.08);
        Json::Value addList(Json::arrayValue);
        if (addon) {
            Json::Value a(Json::objectValue);
            a["id"] = 1;
            a["name"] = "去渍";
            a["amt"] = "1000";
            addList.append(a);
        }
        Json::Value colorList(Json::arrayValue);
        const int color = static_cast<int>(dice.below(std::size(colors)));
        colorList.append(Json::Value(Json::objectValue));
        colorList[0]["id"] = color + 1;
        colorList[0]["name"] = colors[color];
        Json::Value flawList(Json::arrayValue);
        if (dice.chance(0.15)) {
            flawList.append(Json::Value(Json::objectValue));
            flawList[0]["id"] = 2;
            flawList[0]["name"] = "污渍";
        }
        const garments::Amounts a = garments::amounts(
            unitPrice, p.bySize, size, p.memberDiscount ? m.discount : 100, addon ? 1000 : 0, -1);
        total += a.subtotal;
        db.query("INSERT INTO order_products (order_id, store_id, scan_code, product_id, "
                 "pro_type_id, business_id, pro_service_id, product_name, service_name, "
                 "color_desc, flaw_desc, add_service_desc, is_custom_num, count, service_amt, "
                 "addsrv_amt, subtotal, status, status_time, is_packaged, factory_id, "
                 "created_at, unit_price, discount, sale_amt) VALUES (?, ?, ?, ?, ?, ?, ?, ?, "
                 "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
            .bindAll(orderId, store.id, numbers::garmentCode(db, store.code), p.id, p.typeId,
                     p.businessId, p.serviceId, p.name, p.serviceName, json::write(colorList),
                     json::write(flawList), json::write(addList), p.bySize ? 1 : 0, size,
                     a.serviceAmt, a.addsrvAmt, a.subtotal, garmentStatus, statusTime,
                     garmentStatus == garmentState::passed ||
                             garmentStatus == garmentState::handedOut
                         ? 1
                         : 0,
                     p.businessId == 3 ? 2 : 1, created + 2 * minute + n, unitPrice,
                     p.memberDiscount ? m.discount : 100, a.saleAmt)
            .exec();
        const std::int64_t garmentId = db.lastInsertId();
        if (p.typeId == 4 && dice.chance(0.2))
            db.exec("INSERT INTO order_product_annexes (order_product_id, annex_id, name, "
                    "scan_code) VALUES (?, 1, '腰带', ?)",
                    garmentId, numbers::annexCode(db, store.code));
        // Bagged at the counter from the evening of its day; back from the factory three days on.
        if (garmentStatus != garmentState::takenIn)
            db.exec("INSERT INTO batch_in_rel (batch_in_id, order_product_id, created_at) "
                    "VALUES (?, ?, ?)",
                    bagOf(store, created), garmentId, created + 30 * minute);
        const bool back =
            garmentStatus != garmentState::takenIn && garmentStatus != garmentState::inBag &&
            garmentStatus != garmentState::sentToFactory && garmentStatus != garmentState::washing;
        if (back) {
            const std::int64_t returned = created + 3 * day;
            db.exec("INSERT INTO batch_out_rel (batch_out_id, order_product_id, confirmed_at) "
                    "VALUES (?, ?, NULLIF(?, 0))",
                    batchOf(store, returned), garmentId,
                    garmentStatus == garmentState::leftFactory ? 0 : returned + 6 * hour);
        }
    }
}

// A payment of the whole amount by a means of the year's spread; the member balance only
// while it holds enough.
void ScaleSeeder::pay(const Store &store, std::int64_t orderId, Member &m, std::int64_t amount,
                      std::int64_t at, std::int64_t worker)
{
    int means = payMeansDrawn[dice.weighted(payMeansWeights)];
    if (means == payMeans::balance && m.balance + m.gift < amount)
        means = payMeans::wechat;
    if (means == payMeans::balance) {
        const std::int64_t fromBalance = std::min(m.balance, amount);
        m.balance -= fromBalance;
        m.gift -= amount - fromBalance;
    }
    db.exec("INSERT INTO trades (trade_no, kind, order_id, user_id, store_id, worker_id, "
            "pay_means, amount, status, created_at, paid_at, pay_sign) "
            "VALUES (?, 1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
            numbers::tradeNo(db, at), orderId, m.id, store.id, worker, means, amount,
            tradeState::paid, at, at, means == payMeans::other ? "10" : "");
}

// An approved refund of part of a paid order, back the way it was paid.
void ScaleSeeder::refund(const Store &store, std::int64_t orderId, std::int64_t amount,
                         std::int64_t at)
{
    db.exec("INSERT INTO refund_audits (order_id, kind, status, amount, reason, worker_id, "
            "created_at, audited_at, seq, pay_method, store_id) "
            "VALUES (?, 1, ?, ?, '顾客对洗护效果不满意', ?, ?, ?, ?, 1, ?)",
            orderId, refundState::approved, amount, store.workers[0], at, at + day,
            numbers::tradeNo(db, at), store.id);
    const std::int64_t auditId = db.lastInsertId();
    db.exec("INSERT INTO refunds (order_id, trade_id, store_id, worker_id, refund_means, amount, "
            "reason, status, created_at, audit_id, seq) VALUES (?, (SELECT MIN(id) FROM trades "
            "WHERE order_id = ?), ?, ?, 1, ?, '顾客对洗护效果不满意', ?, ?, ?, ?)",
            orderId, orderId, store.id, store.workers[0], amount, refundState::approved, at + day,
            auditId, numbers::tradeNo(db, at + day));
    db.exec("UPDATE refund_audits SET refund_id = ? WHERE id = ?", db.lastInsertId(), auditId);
    db.exec("UPDATE orders SET refund_price = ? WHERE id = ?", amount, orderId);
}

void ScaleSeeder::addOrder(const Store &store, std::int64_t created)
{
    Member &m = customer();
    const std::int64_t worker = store.workers[dice.below(store.workers.size())];
    const std::int64_t age = now - created;
    // Where the order stands after `age`: the last days' are in the house, most are long
    // handed out, a few voided.
    int status = orderState::handedOut;
    int garmentStatus = garmentState::handedOut;
    if (dice.chance(0.02)) {
        status = orderState::voided;
        garmentStatus = garmentState::takenIn;
    } else if (age < 2 * hour && dice.chance(0.3)) {
        status = orderState::waiting;
        garmentStatus = garmentState::takenIn;
    } else if (age < day) {
        status = orderState::takenIn;
        garmentStatus = dice.chance(0.4) ? garmentState::inBag : garmentState::takenIn;
    } else if (age < 3 * day) {
        status = orderState::washing;
        garmentStatus = age < 2 * day ? garmentState::sentToFactory : garmentState::washing;
    } else if (age < 4 * day) {
        status = orderState::washing;
        garmentStatus = garmentState::leftFactory;
    } else if (age < 6 * day ||
               (age < 30 * day && !dice.chance(0.9 * (age - 6 * day) / (24.0 * day))) ||
               dice.chance(0.02)) {
        status = orderState::ready;
        garmentStatus = dice.chance(0.3) ? garmentState::arrived : garmentState::passed;
    } else if (age >= 30 * day && dice.chance(0.63)) {
        status = orderState::completed;
    }
    const std::int64_t signedAt = created + 6 * day + dice.below(5 * day);
    const std::int64_t statusTime = status >= orderState::handedOut && status != orderState::voided
                                        ? signedAt
                                        : created + 30 * minute;

    db.exec("INSERT INTO orders (order_no, merc_id, store_id, user_id, worker_id, status, "
            "discount, pricing_mode, created_at) VALUES (?, 1, ?, ?, ?, ?, ?, ?, ?)",
            numbers::orderNo(db, store.code, created), store.id, m.id, worker, status, m.discount,
            m.company ? 2 : 1, created);
    const std::int64_t orderId = db.lastInsertId();
    std::int64_t total = 0;
    addGarments(store, orderId, created, m, garmentStatus, statusTime, total);
    if (dice.chance(0.04))
        db.exec("INSERT INTO order_remarks (order_id, worker_id, worker_name, remark, created_at) "
                "VALUES (?, ?, (SELECT name FROM workers WHERE id = ?), ?, ?)",
                orderId, worker, worker, notes[dice.below(std::size(notes))], created + minute);

    // Paid at the counter when it was taken in, or when it was collected; some on credit.
    bool paid = false, credit = false;
    std::int64_t paidAt = created + 20 * minute;
    if (status == orderState::voided || status == orderState::waiting) {
    } else if (dice.chance(0.7)) {
        paid = true;
    } else if (status == orderState::handedOut || status == orderState::completed) {
        paid = true;
        paidAt = signedAt;
    } else {
        credit = dice.chance(0.15);
    }
    if (paid)
        pay(store, orderId, m, total, paidAt, worker);
    // Moments that did not come are NULL (0 here).
    db.exec("UPDATE orders SET order_price = ?, payable_price = ?, payment_price = ?, "
            "pay_status = ?, credit_status = ?, credit_remark = ?, finished_at = NULLIF(?, 0), "
            "signed_at = NULLIF(?, 0), completed_at = NULLIF(?, 0), destroyed_at = NULLIF(?, 0), "
            "destroyed_by = NULLIF(?, 0), destroy_remark = ? WHERE id = ?",
            total, total, paid ? total : 0, paid ? payState::paid : payState::unpaid,
            credit ? 1 : 0, credit ? "老顾客，取衣时付款" : "",
            status == orderState::waiting ? 0 : created + 20 * minute,
            status == orderState::handedOut || status == orderState::completed ? signedAt : 0,
            status == orderState::completed ? signedAt + hour : 0,
            status == orderState::voided ? created + 40 * minute : 0,
            status == orderState::voided ? worker : 0,
            status == orderState::voided ? "顾客取消订单" : "", orderId);
    if (paid && status >= orderState::handedOut && status != orderState::voided &&
        dice.chance(0.008))
        refund(store, orderId, total * 3 / 10, signedAt + day);
}

// A member's recharge: an offer of the merchant, or a free amount in whole hundreds of yuan.
void ScaleSeeder::recharge(const Store &store, std::int64_t at)
{
    Member &m = customer();
    static const std::int64_t offers[][4] = {// rule, amount, gift, points
                                             {1, 50000, 5000, 500},
                                             {2, 100000, 15000, 1000},
                                             {3, 200000, 40000, 2000},
                                             {4, 500000, 120000, 5000}};
    std::int64_t rule = 0, amount = 10000 * (1 + dice.below(10)), gift = 0, points = 0;
    if (!dice.chance(0.2)) {
        const auto &o = offers[dice.weighted({50, 30, 15, 5})];
        rule = o[0];
        amount = o[1];
        gift = o[2];
        points = o[3];
    }
    const int means = std::vector<int>{payMeans::wechat, payMeans::alipay, payMeans::cash,
                                       payMeans::other}[dice.weighted({45, 25, 20, 10})];
    db.exec(
        "INSERT INTO recharges (recharge_no, user_id, store_id, worker_id, rule_id, amount, "
        "gift_amount, gift_point, pay_means, status, created_at, paid_at, with_active, "
        "pay_sign, finished_at) VALUES (?, ?, ?, ?, NULLIF(?, 0), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
        numbers::tradeNo(db, at), m.id, store.id, store.workers[0], rule, amount, gift, points,
        means, tradeState::paid, at, at, rule != 0 ? 1 : 0, means == payMeans::other ? "10" : "",
        at);
    db.exec("INSERT INTO trades (trade_no, kind, recharge_id, user_id, store_id, worker_id, "
            "pay_means, amount, status, created_at, paid_at, pay_sign) "
            "VALUES (?, 2, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
            numbers::tradeNo(db, at), db.lastInsertId(), m.id, store.id, store.workers[0], means,
            amount, tradeState::paid, at, at, means == payMeans::other ? "10" : "");
    m.balance += amount;
    m.gift += gift;
    m.points += points;
}

// The members' balances and points as the year left them (never below nothing).
void ScaleSeeder::settleMembers()
{
    for (const Member &m : members)
        if (m.balance != 0 || m.gift != 0 || m.points != 0)
            db.exec("UPDATE users SET balance = MAX(0, balance + ?), "
                    "gift_balance = MAX(0, gift_balance + ?), points = points + ? WHERE id = ?",
                    m.balance, m.gift, m.points, m.id);
}

void ScaleSeeder::run(std::int64_t orders)
{
    loadCatalogue();
    addMembers(std::max<std::int64_t>(100, orders / 5));
    const Store stores[] = {{1, "01", {1, 2}}, {2, "02", {3}}};
    // Every moment of the year in its order, so that ids, numbers and balances follow time.
    struct Event
    {
        std::int64_t at;
        int store;
        bool recharge;
    };
    std::vector<Event> events;
    for (std::int64_t at : times(orders))
        events.push_back({at, 0, false});
    for (std::int64_t at : times(orders / 10))
        events.push_back({at, 1, false});
    for (std::int64_t at : times(orders / 25))
        events.push_back({at, dice.chance(0.1) ? 1 : 0, true});
    std::stable_sort(events.begin(), events.end(),
                     [](const Event &a, const Event &b) { return a.at < b.at; });
    for (const Event &e : events) {
        if (e.recharge)
            recharge(stores[e.store], e.at);
        else
            addOrder(stores[e.store], e.at);
    }
    settleMembers();
}

} // namespace

void seedScale(Connection &db, std::int64_t orders, std::int64_t nowMs)
{
    if (orders <= 0)
        return;
    // The year is written in one transaction: room for its pages in memory until the commit,
    // instead of spilling them to the log and reading them back while the indexes grow, and
    // each statement's own undo journal (statements with triggers keep one) in memory too.
    const std::int64_t cachePages = db.scalar(-2000, "PRAGMA cache_size");
    const std::int64_t tempStore = db.scalar(0, "PRAGMA temp_store");
    db.script("PRAGMA cache_size = -524288; PRAGMA temp_store = MEMORY"); // 512 MiB at most
    {
        Transaction tx(db);
        ScaleSeeder(db, nowMs).run(orders);
        tx.commit();
    }
    db.script("PRAGMA cache_size = " + std::to_string(cachePages) +
              "; PRAGMA temp_store = " + std::to_string(tempStore));
}

} // namespace demo
