#include "demo/demodata.h"

#include <string>
#include <vector>

#include "domain/catalogue.h"
#include "domain/garments.h"
#include "domain/numbers.h"
#include "domain/paymeans.h"
#include "domain/states.h"
#include "server/crypto.h"
#include "server/json.h"
#include "store/database.h"

namespace demo {

namespace {

// An entry of a garment's choice lists (colours, flaws, add-on services): {"id", "name"}.
Json::Value choice(int id, const std::string &name)
{
    Json::Value entry(Json::objectValue);
    entry["id"] = id;
    entry["name"] = name;
    return entry;
}

// A management note as the order keeps it.
std::string urgentRemark()
{
    Json::Value note(Json::objectValue);
    note["createTime"] = "";
    note["remark"] = "顾客要求加急";
    note["workId"] = 1;
    note["workName"] = "张丽";
    Json::Value list(Json::arrayValue);
    list.append(note);
    return json::write(list);
}

constexpr std::int64_t minute = 60 * 1000;
constexpr std::int64_t day = 24 * 60 * minute;

struct Worker
{
    const char *account;
    const char *name;
    int storeId;
    const char *password;
    const char *cardSecret;
    bool enabled;
    std::vector<int> menus;
};

const std::vector<int> allMenus = {525, 526, 527, 528, 529, 530, 531, 532, 533, 534, 535, 536};

const Worker workers[] = {
    {"zhangli", "张丽", 1, "123456", "STAFF-0001-ZL", true, allMenus},
    {"wangqiang", "王强", 1, "123456", "STAFF-0002-WQ", true, {525, 526, 527, 533, 536}},
    {"liuyang", "刘洋", 2, "123456", "STAFF-0003-LY", true, allMenus},
    {"zhaomin", "赵敏", 1, "123456", "STAFF-0004-ZM", false, {525, 526}},
};

struct Product
{
    int typeId;
    const char *name;
    int customNum; // priced by size
    const char *unit;
    std::vector<std::pair<const char *, std::int64_t>> services; // name, fen
};

// Business lines and garment types: {id, business, name}.
struct Type
{
    int id;
    int business;
    const char *name;
};
const Type types[] = {
    {1, 1, "上衣"}, {2, 1, "裤装"},   {3, 1, "裙装"},  {4, 1, "外套"},
    {5, 1, "正装"}, {6, 2, "运动鞋"}, {7, 2, "皮鞋"},  {8, 2, "靴子"},
    {9, 3, "皮衣"}, {10, 3, "包袋"},  {11, 4, "床品"}, {12, 4, "窗帘地毯"},
};

const Product products[] = {
    {1, "T恤", 0, "件", {{"水洗", 1500}, {"熨烫", 800}}},
    {1, "衬衫", 0, "件", {{"水洗", 1800}, {"干洗", 2500}, {"熨烫", 1000}}},
    {1, "毛衣", 0, "件", {{"干洗", 3000}, {"水洗", 2500}}},
    {1, "卫衣", 0, "件", {{"水洗", 2000}}},
    {1, "羊绒衫", 0, "件", {{"干洗", 4500}}},
    {1, "针织开衫", 0, "件", {{"干洗", 3000}}},
    {1, "真丝衬衫", 0, "件", {{"干洗", 3500}}},
    {1, "Polo衫", 0, "件", {{"水洗", 1600}}},
    {2, "西裤", 0, "件", {{"干洗", 2500}, {"熨烫", 1200}}},
    {2, "牛仔裤", 0, "件", {{"水洗", 2000}}},
    {2, "休闲裤", 0, "件", {{"水洗", 1800}}},
    {2, "运动裤", 0, "件", {{"水洗", 1500}}},
    {2, "短裤", 0, "件", {{"水洗", 1200}}},
    {3, "连衣裙", 0, "件", {{"干洗", 3500}, {"水洗", 2800}}},
    {3, "半身裙", 0, "件", {{"干洗", 2500}}},
    {3, "真丝连衣裙", 0, "件", {{"干洗", 4800}}},
    {3, "礼服", 0, "件", {{"干洗", 12000}}},
    {4, "羽绒服", 0, "件", {{"水洗", 4500}, {"精洗", 6800}}},
    {4, "大衣", 0, "件", {{"干洗", 5500}}},
    {4, "羊绒大衣", 0, "件", {{"干洗", 7800}}},
    {4, "风衣", 0, "件", {{"干洗", 4500}}},
    {4, "夹克", 0, "件", {{"干洗", 3500}}},
    {4, "棉服", 0, "件", {{"水洗", 4000}}},
    {5, "西装上衣", 0, "件", {{"干洗", 3800}, {"熨烫", 1500}}},
    {5, "西装套装", 0, "套", {{"干洗", 6500}}},
    {5, "马甲", 0, "件", {{"干洗", 2000}}},
    {5, "旗袍", 0, "件", {{"干洗", 5000}}},
    {6, "运动鞋", 0, "双", {{"精洗", 3500}, {"普洗", 2500}}},
    {6, "帆布鞋", 0, "双", {{"普洗", 2000}}},
    {6, "板鞋", 0, "双", {{"普洗", 2500}}},
    {7, "皮鞋", 0, "双", {{"护理", 3500}}},
    {7, "高跟鞋", 0, "双", {{"护理", 3500}}},
    {8, "短靴", 0, "双", {{"护理", 4500}}},
    {8, "长靴", 0, "双", {{"护理", 6000}}},
    {9, "皮衣", 0, "件", {{"护理", 18000}}},
    {9, "皮草", 0, "件", {{"护理", 38000}}},
    {10, "皮包", 0, "个", {{"护理", 15000}}},
    {10, "帆布包", 0, "个", {{"水洗", 3000}}},
    {11, "被套", 0, "件", {{"水洗", 3000}}},
    {11, "羽绒被", 0, "床", {{"水洗", 8000}}},
    {11, "床单", 0, "件", {{"水洗", 2000}}},
    {11, "枕套", 0, "个", {{"水洗", 800}}},
    {12, "窗帘", 1, "平方米", {{"水洗", 1500}}},
    {12, "地毯", 1, "平方米", {{"精洗", 4000}}},
    {12, "沙发套", 1, "平方米", {{"水洗", 2500}}},
    // More tops: a store's list of shirts and knits runs past one page of the terminal's grid.
    {1, "亚麻衬衫", 0, "件", {{"水洗", 2000}, {"干洗", 2800}}},
    {1, "牛津纺衬衫", 0, "件", {{"水洗", 1800}}},
    {1, "法兰绒衬衫", 0, "件", {{"水洗", 2000}}},
    {1, "格子衬衫", 0, "件", {{"水洗", 1800}}},
    {1, "条纹衬衫", 0, "件", {{"水洗", 1800}}},
    {1, "牛仔衬衫", 0, "件", {{"水洗", 2000}}},
    {1, "短袖衬衫", 0, "件", {{"水洗", 1500}}},
    {1, "免烫衬衫", 0, "件", {{"水洗", 1800}, {"熨烫", 1000}}},
    {1, "礼服衬衫", 0, "件", {{"干洗", 3000}}},
    {1, "雪纺衬衫", 0, "件", {{"干洗", 2500}}},
    {1, "童装衬衫", 0, "件", {{"水洗", 1200}}},
    {1, "丝光棉衬衫", 0, "件", {{"水洗", 2000}}},
    {1, "印花衬衫", 0, "件", {{"水洗", 1800}}},
    {1, "工装衬衫", 0, "件", {{"水洗", 2000}}},
    {1, "羊毛衫", 0, "件", {{"干洗", 3000}}},
    {1, "马海毛衫", 0, "件", {{"干洗", 3800}}},
    {1, "羊绒开衫", 0, "件", {{"干洗", 4500}}},
    {1, "毛线开衫", 0, "件", {{"干洗", 3000}}},
    {1, "高领针织衫", 0, "件", {{"干洗", 2800}}},
    {1, "圆领针织衫", 0, "件", {{"干洗", 2800}}},
    {1, "V领羊毛衫", 0, "件", {{"干洗", 3000}}},
    {1, "罗纹针织衫", 0, "件", {{"干洗", 2800}}},
    {1, "兔毛衫", 0, "件", {{"干洗", 3800}}},
    {1, "驼绒衫", 0, "件", {{"干洗", 4000}}},
    {1, "雪纺衫", 0, "件", {{"干洗", 2500}}},
    {1, "蕾丝衫", 0, "件", {{"干洗", 2800}}},
    {1, "打底衫", 0, "件", {{"水洗", 1200}}},
    {1, "汗衫", 0, "件", {{"水洗", 1000}}},
    {1, "文化衫", 0, "件", {{"水洗", 1200}}},
    {1, "运动衫", 0, "件", {{"水洗", 1500}}},
    {1, "连帽衫", 0, "件", {{"水洗", 2000}}},
    {1, "套头衫", 0, "件", {{"水洗", 1800}}},
    {1, "防晒衫", 0, "件", {{"水洗", 1500}}},
    {1, "唐装衫", 0, "件", {{"干洗", 3500}}},
};

const char *const colors[] = {"黑色", "白色", "灰色", "红色", "粉色", "橙色", "黄色", "绿色",
                              "蓝色", "藏青", "紫色", "棕色", "米色", "卡其", "花色"};
const char *const flaws[] = {"破损", "污渍", "褪色", "起球",     "油渍", "霉斑",
                             "染色", "变形", "缺扣", "拉链损坏", "开线"};
const char *const effects[] = {"污渍可能无法完全去除", "褪色可能加重", "起球无法去除",
                               "可能轻微缩水",         "霉斑可能留痕", "无法保证洗后效果"};
const char *const brands[] = {"优衣库", "ZARA",     "H&M",     "波司登",   "海澜之家", "太平鸟",
                              "李宁",   "安踏",     "耐克",    "阿迪达斯", "雅戈尔",   "江南布衣",
                              "歌力思", "Burberry", "MaxMara", "无品牌"};
const std::pair<const char *, std::int64_t> addServices[] = {
    {"去渍", 1000},     {"加急", 2000},     {"柔顺护理", 800},
    {"防水处理", 1500}, {"消毒除螨", 1000}, {"精细熨烫", 1200}};
const char *const annexes[] = {"腰带", "帽子", "毛领", "内胆", "衣架", "防尘袋", "鞋带", "纽扣"};

const char *const surnames[] = {"李", "王", "张", "刘", "陈", "杨", "黄", "赵", "吴", "周"};
const char *const givenNames[] = {"晓明", "思琪", "建国", "雨桐", "子涵", "浩然", "欣怡", "志强",
                                  "梓萱", "俊杰", "佳怡", "文博", "诗涵", "明轩", "静怡"};

// Fixed places for the members' addresses (the map stand-in knows them too).
struct Spot
{
    const char *district;
    int regionId;
    const char *address;
    const char *lng;
    const char *lat;
};
const Spot spots[] = {
    {"徐汇区", 310104, "漕溪北路331弄徐汇苑", "121.441127", "31.183517"},
    {"徐汇区", 310104, "虹桥路1号港汇恒隆广场", "121.437881", "31.193874"},
    {"静安区", 310106, "南京西路1515号静安嘉里中心", "121.451148", "31.226476"},
    {"静安区", 310106, "共和新路3088弄静安新城", "121.452117", "31.281926"},
    {"黄浦区", 310101, "马当路245号新天地", "121.474625", "31.219713"},
    {"长宁区", 310105, "长宁路780号", "121.416952", "31.219423"},
};

struct Seeder
{
    Connection &db;
    const ServerKeys &keys;
    std::int64_t now;

    void organisation();
    void catalogue();
    void members();
    void orders();
    void qualityChecks();
    // An order in `status` (orderState) whose garments are in `garmentStatus` (garmentState),
    // paid by `paidBy` (PAY_MEANS; 0 unpaid).
    std::int64_t order(int userId, int storeId, int workerId, std::int64_t created, int status,
                       const std::vector<std::pair<int, int>> &garments, int garmentStatus,
                       int paidBy, bool credit);
};

void Seeder::organisation()
{
    const std::int64_t opened = now - 400 * day;
    db.exec("INSERT INTO merchants (id, name, logo_path, main_info, union_name, created_at) "
            "VALUES (1, ?, '', ?, ?, ?)",
            "净衣坊洗护", "专业洗护 · 用心呵护每一件衣物", "净衣坊企业客户联盟", opened);
    db.exec("INSERT INTO cities (id, name, pickup_fee, delivery_fee, free_above) "
            "VALUES (310000, '上海市', 1000, 1000, 10000)");
    db.exec("INSERT INTO stores (id, merc_id, city_id, name, addr_desc, phone, code, created_at) "
            "VALUES (1, 1, 310000, ?, ?, '021-64281234', '01', ?)",
            "净衣坊·徐汇店", "上海市徐汇区漕溪北路88号", opened);
    db.exec("INSERT INTO stores (id, merc_id, city_id, name, addr_desc, phone, code, created_at) "
            "VALUES (2, 1, 310000, ?, ?, '021-62475678', '02', ?)",
            "净衣坊·静安店", "上海市静安区南京西路1266号", opened + 30 * day);
    db.exec("INSERT INTO terminals (serial_num, store_id, created_at) VALUES (?, 1, ?)",
            "BV2024000001", opened);
    db.exec("INSERT INTO terminals (serial_num, store_id, created_at) VALUES (?, 2, ?)",
            "BV2024000002", opened + 30 * day);

    const std::pair<const char *, const char *> params[] = {
        {"cardLevelSelectable", "1"},
        {"payCash", "1"},
        {"payWechat", "1"},
        {"payAlipay", "1"},
        {"payBalance", "1"},
        {"payCredit", "1"},
        {"payOther", "1"},
        {"otherRecharge", "1"},
        // What the tickets print under the garments.
        {"wxCode", "jingyifang_xh"},
        {"wxQrcode", "https://weixin.qq.com/r/jingyifang"},
        {"billTip", "1.衣物请于洗好后30天内取回\n2.贵重物品请勿留在衣物内"},
    };
    for (const auto &p : params)
        db.exec("INSERT INTO merchant_params (merc_id, name, value) VALUES (1, ?, ?)", p.first,
                p.second);

    // Other means of payment ("其他").
    db.exec("INSERT INTO pay_signs (merc_id, val, show_name, name, sort) VALUES "
            "(1, '5', '银行卡', 'bankCard', 1), (1, '10', '美团', 'meituan', 2), "
            "(1, '11', '大众点评', 'dianping', 3)");

    int id = 0;
    for (const auto &w : workers) {
        ++id;
        const std::string salt = crypto::randomHex(16);
        db.query("INSERT INTO workers (id, merc_id, store_id, account, name, phone, img_path, "
                 "pwd_salt, pwd_sealed, card_hash, enabled, created_at) "
                 "VALUES (?, 1, ?, ?, ?, ?, '', ?, ?, ?, ?, ?)")
            .bind(1, id)
            .bind(2, w.storeId)
            .bind(3, w.account)
            .bind(4, w.name)
            .bind(5, "1391000000" + std::to_string(id))
            .bind(6, salt)
            .bindBlob(7,
                      keys.sealPasswordDigest(salt, crypto::md5Hex(crypto::toLatin1(w.password))))
            .bind(8, keys.cardHash(w.cardSecret))
            .bind(9, w.enabled ? 1 : 0)
            .bind(10, opened)
            .exec();
        for (int menu : w.menus)
            db.exec("INSERT INTO worker_menus (worker_id, menu_id) VALUES (?, ?)", id, menu);
    }

    db.exec("INSERT INTO factories (id, merc_id, name, address) VALUES "
            "(1, 1, '净衣坊中央洗护工厂', '上海市闵行区莘庄工业区春中路368号'), "
            "(2, 1, '净衣坊皮具护理中心', '上海市普陀区真北路1108号')");
    const char *const slots[][2] = {{"09:00", "11:00"},
                                    {"11:00", "13:00"},
                                    {"14:00", "16:00"},
                                    {"16:00", "18:00"},
                                    {"18:00", "20:00"}};
    for (const auto &s : slots)
        db.exec("INSERT INTO service_times (merc_id, time_start, time_end) VALUES (1, ?, ?)", s[0],
                s[1]);
    for (int store = 1; store <= 2; ++store)
        for (int shelf = 1; shelf <= 60; ++shelf)
            db.exec("INSERT INTO rail_positions (store_id, shelf_no) VALUES (?, ?)", store, shelf);
}

void Seeder::catalogue()
{
    const char *const lines[] = {"洗衣", "洗鞋", "皮具护理", "家居纺织"};
    for (int i = 0; i < 4; ++i)
        db.exec("INSERT INTO business_lines (id, merc_id, name, sort) VALUES (?, 1, ?, ?)", i + 1,
                lines[i], i + 1);
    for (const auto &t : types)
        db.exec("INSERT INTO product_types (id, business_id, name, sort) VALUES (?, ?, ?, ?)", t.id,
                t.business, t.name, t.id);
    int productId = 0, serviceId = 0;
    for (const auto &p : products) {
        ++productId;
        db.exec("INSERT INTO products (id, type_id, business_id, name, is_custom_num, unit, sort) "
                "VALUES (?, ?, ?, ?, ?, ?, ?)",
                productId, p.typeId, types[p.typeId - 1].business, p.name, p.customNum, p.unit,
                productId);
        int sort = 0;
        for (const auto &s : p.services)
            db.exec("INSERT INTO product_services (id, product_id, name, price, sort) "
                    "VALUES (?, ?, ?, ?, ?)",
                    ++serviceId, productId, s.first, s.second, ++sort);
    }
    auto names = [&](const char *table, const char *const *list, size_t n) {
        for (size_t i = 0; i < n; ++i)
            db.exec(std::string("INSERT INTO ") + table +
                        " (id, merc_id, name, sort) VALUES (?, 1, ?, ?)",
                    static_cast<int>(i + 1), list[i], static_cast<int>(i + 1));
    };
    // Leather care is priced as quoted: no member discount. Company clients pay less for
    // laundry and home textiles.
    db.exec("UPDATE products SET member_discount = 0 WHERE business_id = 3");
    db.exec("INSERT INTO product_service_prices (service_id, pricing_mode, price) "
            "SELECT s.id, 2, s.price * 9 / 10 / 100 * 100 FROM product_services s "
            "JOIN products p ON p.id = s.product_id WHERE p.business_id IN (1, 4)");
    names("colors", colors, std::size(colors));
    names("flaws", flaws, std::size(flaws));
    names("effects", effects, std::size(effects));
    names("brands", brands, std::size(brands));
    names("annexes", annexes, std::size(annexes));
    db.exec("UPDATE annexes SET business_id = 2 WHERE name = '鞋带'");
    int sort = 0;
    for (const auto &a : addServices) {
        ++sort;
        db.exec("INSERT INTO add_services (id, merc_id, name, amt, sort) VALUES (?, 1, ?, ?, ?)",
                sort, a.first, a.second, sort);
    }
}

void Seeder::members()
{
    db.exec("INSERT INTO card_levels (id, merc_id, name, discount, price, selectable, sort) VALUES "
            "(1, 1, '普通会员', 100, 0, 1, 1), (2, 1, '银卡会员', 95, 0, 1, 2), "
            "(3, 1, '金卡会员', 90, 0, 1, 3), (4, 1, '钻石会员', 85, 0, 0, 4)");
    db.exec(
        "INSERT INTO user_groups (id, merc_id, name, sort) VALUES "
        "(1, 1, '散客', 1), (2, 1, '社区居民', 2), (3, 1, '企业客户', 3), (4, 1, '高端客户', 4)");
    db.exec("INSERT INTO user_tags (id, merc_id, name, sort) VALUES "
            "(1, 1, '常客', 1), (2, 1, '高端衣物', 2), (3, 1, '需预约取送', 3), "
            "(4, 1, '对价格敏感', 4), (5, 1, '投诉过', 5), (6, 1, '新客', 6)");
    db.exec(
        "INSERT INTO coupons (id, merc_id, name, type, amount, full_amount, discount, valid_days) "
        "VALUES (1, 1, '10元无门槛券', 1, 1000, 0, 100, 30), "
        "(2, 1, '满100减20', 3, 2000, 10000, 100, 30), "
        "(3, 1, '9折优惠券', 2, 0, 0, 90, 60), "
        "(4, 1, '皮具护理8折券', 2, 0, 0, 80, 90)");
    db.exec("UPDATE coupons SET use_balance = 0 WHERE id = 4"); // not with the member balance
    db.exec("INSERT INTO recharge_rules (id, merc_id, name, amount, gift_amount, gift_point, "
            "card_level_id, sort) VALUES "
            "(1, 1, '充500送50', 50000, 5000, 500, NULL, 1), "
            "(2, 1, '充1000送150', 100000, 15000, 1000, 2, 2), "
            "(3, 1, '充2000送400', 200000, 40000, 2000, 3, 3), "
            "(4, 1, '充5000送1200', 500000, 120000, 5000, 4, 4)");
    // The largest offer also gives two 10元无门槛券.
    db.exec("UPDATE recharge_rules SET gift_coupon_id = 1, gift_coupon_cnt = 2 WHERE id = 4");
    for (int i = 1; i <= 5; ++i)
        db.exec("INSERT INTO coupon_codes (code, coupon_id) VALUES (?, ?)",
                "88880000" + std::string(i < 10 ? "0" : "") + std::to_string(i), i <= 3 ? 1 : 2);
    for (int i = 6; i <= 10; ++i) // member RFID cards in stock, ready to be bound
        db.exec("INSERT INTO member_cards (rfid_no, check_code) VALUES (?, ?)",
                "e0040100000000" + std::string(i < 10 ? "0" : "") + std::to_string(i),
                "1200" + std::string(i < 10 ? "0" : "") + std::to_string(i));

    for (int i = 1; i <= 30; ++i) {
        const std::string name = std::string(surnames[(i - 1) % 10]) + givenNames[(i * 7) % 15];
        const std::string seq = (i < 10 ? "000" : "00") + std::to_string(i);
        const int level = 1 + (i % 4);
        const int group = 1 + (i % 4);
        const std::int64_t balance = (i % 3 == 0) ? 0 : static_cast<std::int64_t>(i) * 4350;
        const std::int64_t gift = (i % 3 == 0) ? 0 : static_cast<std::int64_t>(i) * 500;
        const char *birthday[] = {"1985-03-12", "1990-07-28", "1978-11-05",
                                  "1995-01-19", "1988-09-30", "2001-05-16"};
        db.query("INSERT INTO users (id, merc_id, store_id, name, phone, sex, birthday, grade, "
                 "group_id, card_level_id, card_no, rfid_no, rfid_check, balance, gift_balance, "
                 "points, credit_limit, created_at) "
                 "VALUES (?, 1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
            .bind(1, i)
            .bind(2, i % 5 == 0 ? 2 : 1)
            .bind(3, name)
            .bind(4, "1391234" + seq)
            .bind(5, 1 + (i % 2))
            .bind(6, birthday[i % 6])
            .bind(7, group == 3 ? 1 : 0)
            .bind(8, group)
            .bind(9, level)
            .bind(10, "VIP" + seq)
            .bind(11, i <= 5 ? ("e004010000000" + seq.substr(1)) : std::string())
            .bind(12, i <= 5 ? "12" + seq : std::string())
            .bind(13, balance)
            .bind(14, gift)
            .bind(15, i * 120)
            .bind(16, group == 3 ? 200000 : 0)
            .bind(17, now - (200 - i * 5) * day)
            .exec();
        if (i > 5)
            db.exec("UPDATE users SET rfid_no = NULL WHERE id = ?", i);
        if (group == 3) { // company prices; the company pays half of their orders by the card
            db.exec("UPDATE users SET company = 1 WHERE id = ?", i);
            db.exec("INSERT INTO group_pay_cards (user_id, balance, pay_ratio) VALUES (?, ?, 50)",
                    i, 100000);
        }
        for (int tag = 1; tag <= 6; ++tag)
            if ((i + tag) % 4 == 0)
                db.exec("INSERT INTO user_tag_rel (user_id, tag_id) VALUES (?, ?)", i, tag);
        if (i <= 15) {
            const int addresses = i % 3 == 0 ? 2 : 1;
            for (int a = 0; a < addresses; ++a) {
                const Spot &s = spots[(i + a) % std::size(spots)];
                db.exec("INSERT INTO user_addresses (user_id, contact, phone, city_id, region_id, "
                        "city, district, address, house_no, longitude, latitude, is_default, "
                        "created_at) VALUES (?, ?, ?, 310000, ?, '上海市', ?, ?, ?, ?, ?, ?, ?)",
                        i, name, "1391234" + seq, s.regionId, s.district, s.address,
                        std::to_string(1 + i) + "号楼" + std::to_string(100 + i) + "室", s.lng,
                        s.lat, a == 0 ? 1 : 0, now - 100 * day);
            }
        }
        if (i % 2 == 1) {
            const int coupon = 1 + (i / 2) % 4;
            db.exec("INSERT INTO user_coupons (user_id, coupon_id, use_status, time_start, "
                    "time_end, created_at) VALUES (?, ?, ?, ?, ?, ?)",
                    i, coupon, couponState::unused, now - 10 * day, now + 20 * day, now - 10 * day);
        }
        if (i % 7 == 0)
            db.exec("INSERT INTO user_coupons (user_id, coupon_id, use_status, time_start, "
                    "time_end, created_at) VALUES (?, 1, ?, ?, ?, ?)",
                    i, couponState::expired, now - 60 * day, now - 30 * day, now - 60 * day);
    }

    // Paid recharges behind some of the balances.
    for (int i = 1; i <= 30; i += 4) {
        const int rule = 1 + (i % 3);
        const std::int64_t amount = rule == 1 ? 50000 : rule == 2 ? 100000 : 200000;
        const std::int64_t gift = rule == 1 ? 5000 : rule == 2 ? 15000 : 40000;
        const std::int64_t at = now - (i % 5) * day - 3 * 60 * minute;
        const std::int64_t store = i % 5 == 0 ? 2 : 1;
        db.exec(
            "INSERT INTO recharges (recharge_no, user_id, store_id, worker_id, rule_id, amount, "
            "gift_amount, gift_point, pay_means, status, created_at, paid_at) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
            numbers::tradeNo(db, at), i, store, store == 1 ? 1 : 3, rule, amount, gift,
            amount / 100, 1 + (i % 3), tradeState::paid, at, at);
        const std::int64_t rechargeId = db.lastInsertId();
        db.exec("INSERT INTO trades (trade_no, kind, recharge_id, user_id, store_id, worker_id, "
                "pay_means, amount, status, created_at, paid_at) "
                "VALUES (?, 2, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                numbers::tradeNo(db, at), rechargeId, i, store, store == 1 ? 1 : 3, 1 + (i % 3),
                amount, tradeState::paid, at, at);
    }
}

std::int64_t Seeder::order(int userId, int storeId, int workerId, std::int64_t created, int status,
                           const std::vector<std::pair<int, int>> &garments, int garmentStatus,
                           int paidBy, bool credit)
{
    const std::string storeCode = storeId == 1 ? "01" : "02";
    const int discount = static_cast<int>(
        db.scalar(100,
                  "SELECT c.discount FROM users u JOIN card_levels c ON c.id = u.card_level_id "
                  "WHERE u.id = ?",
                  userId));
    const std::int64_t mode = catalogue::pricingModeFor(db, userId);
    db.exec("INSERT INTO orders (order_no, merc_id, store_id, user_id, worker_id, status, "
            "discount, pricing_mode, created_at) VALUES (?, 1, ?, ?, ?, ?, ?, ?, ?)",
            numbers::orderNo(db, storeCode, created), storeId, userId, workerId, status, discount,
            mode, created);
    const std::int64_t orderId = db.lastInsertId();

    std::int64_t total = 0;
    int n = 0;
    for (const auto &g : garments) {
        const int productId = g.first;
        Query p = db.query("SELECT p.type_id AS typeId, p.business_id AS businessId, "
                           "p.name AS productName, p.is_custom_num AS bySize, s.id AS serviceId, "
                           "s.name AS serviceName, s.price FROM products p JOIN product_services s "
                           "ON s.product_id = p.id WHERE p.id = ? ORDER BY s.sort LIMIT 1",
                           productId);
        p.next();
        const bool bySize = p.integer("bySize") != 0;
        const std::int64_t count = bySize ? 350 : 1; // 3.50 units
        const std::int64_t unitPrice = catalogue::servicePrice(db, p.integer("serviceId"), mode);
        const std::int64_t charged = catalogue::saleDiscount(db, productId, discount);
        const int addon = g.second; // 0 = none, else add_services.id
        const std::int64_t addAmt = addon ? addServices[addon - 1].second : 0;
        Json::Value addList(Json::arrayValue);
        if (addon)
            addList.append(choice(addon, addServices[addon - 1].first))["amt"] =
                std::to_string(addAmt);
        const std::string addDesc = json::write(addList);
        const int color = 1 + (productId + n) % 15;
        Json::Value colorList(Json::arrayValue);
        colorList.append(choice(color, colors[color - 1]));
        const std::string colorDesc = json::write(colorList);
        Json::Value flaws(Json::arrayValue);
        if (productId % 3 == 0)
            flaws.append(choice(2, "污渍"));
        const std::string flawDesc = json::write(flaws);
        const int brand = 1 + (productId * 3) % 16;
        const garments::Amounts amounts =
            garments::amounts(unitPrice, bySize, count, charged, addAmt, -1);
        total += amounts.subtotal;
        db.query("INSERT INTO order_products (order_id, scan_code, product_id, pro_type_id, "
                 "business_id, pro_service_id, product_name, service_name, brand_id, brand_name, "
                 "color_desc, flaw_desc, add_service_desc, is_custom_num, count, service_amt, "
                 "addsrv_amt, subtotal, status, status_time, is_packaged, factory_id, created_at, "
                 "unit_price, discount, sale_amt) "
                 "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                 "?, ?)")
            .bindAll(orderId, numbers::garmentCode(db, storeCode), productId, p.integer("typeId"),
                     p.integer("businessId"), p.integer("serviceId"), p.text("productName"),
                     p.text("serviceName"), brand, brands[brand - 1], colorDesc, flawDesc, addDesc,
                     bySize ? 1 : 0, count, amounts.serviceAmt, addAmt, amounts.subtotal,
                     garmentStatus, created + 30 * minute,
                     (garmentStatus == garmentState::passed ||
                      garmentStatus == garmentState::onRail ||
                      garmentStatus == garmentState::handedOut)
                         ? 1
                         : 0,
                     p.integer("businessId") == 3 ? 2 : 1, created + 5 * minute, unitPrice, charged,
                     amounts.saleAmt)
            .exec();
        if (productId == 19 || productId == 18) // coats come with a belt or a fur collar
            db.exec("INSERT INTO order_product_annexes (order_product_id, annex_id, name, "
                    "scan_code) VALUES (?, ?, ?, ?)",
                    db.lastInsertId(), productId == 19 ? 1 : 3, annexes[productId == 19 ? 0 : 2],
                    numbers::annexCode(db, storeCode));
        ++n;
    }
    // The garments' subtotals carry the member's discount already.
    const std::int64_t payable = total;
    const bool paid = paidBy != 0;
    db.exec("UPDATE orders SET order_price = ?, payable_price = ?, payment_price = ?, "
            "pay_status = ?, credit_status = ?, finished_at = ?, remark_json = ? WHERE id = ?",
            total, payable, paid ? payable : 0, paid ? payState::paid : payState::unpaid,
            credit ? 1 : 0,
            status >= orderState::takenIn && !garments.empty() ? created + 20 * minute : 0,
            n % 2 ? std::string("[]") : urgentRemark(), orderId);
    if (status < orderState::takenIn || garments.empty())
        db.exec("UPDATE orders SET finished_at = NULL WHERE id = ?", orderId);
    if (paid) {
        const std::int64_t at = created + 25 * minute;
        db.exec("INSERT INTO trades (trade_no, kind, order_id, user_id, store_id, worker_id, "
                "pay_means, amount, status, created_at, paid_at) "
                "VALUES (?, 1, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                numbers::tradeNo(db, at), orderId, userId, storeId, workerId, paidBy, payable,
                tradeState::paid, at, at);
    }
    return orderId;
}

void Seeder::orders()
{
    auto at = [&](int daysAgo, int minutesAgo) {
        return now - daysAgo * day - minutesAgo * minute;
    };
    // Waiting for intake: headers only.
    order(1, 1, 1, at(0, 20), orderState::waiting, {}, garmentState::takenIn, 0, false);
    order(5, 2, 3, at(0, 45), orderState::waiting, {}, garmentState::takenIn, 0, false);
    // Taken in: one unpaid, one paid in cash, one with garments in an open bag.
    order(2, 1, 1, at(0, 90), orderState::takenIn, {{2, 0}, {10, 0}}, garmentState::takenIn, 0,
          false);
    order(3, 1, 2, at(0, 150), orderState::takenIn, {{18, 1}, {9, 0}}, garmentState::takenIn,
          payMeans::cash, false);
    const std::int64_t bagged =
        order(4, 1, 1, at(1, 60), orderState::takenIn, {{14, 0}, {1, 0}, {28, 0}},
              garmentState::inBag, payMeans::wechat, false);
    // At the factory: one bag sent, one batch on its way back.
    const std::int64_t sent = order(6, 1, 1, at(2, 30), orderState::washing, {{19, 3}, {24, 0}},
                                    garmentState::sentToFactory, payMeans::wechat, false);
    const std::int64_t coming = order(7, 1, 2, at(4, 30), orderState::washing, {{5, 0}, {15, 0}},
                                      garmentState::leftFactory, payMeans::alipay, false);
    const std::int64_t rework = order(8, 1, 1, at(5, 30), orderState::washing, {{3, 0}, {11, 0}},
                                      garmentState::rework, payMeans::cash, false);
    // Back in the store: arrived, checked, on the rail, on credit.
    const std::int64_t arrived = order(9, 1, 1, at(6, 30), orderState::ready, {{21, 0}, {13, 0}},
                                       garmentState::arrived, payMeans::balance, false);
    const std::int64_t checked = order(10, 1, 2, at(6, 90), orderState::ready, {{31, 0}, {35, 0}},
                                       garmentState::passed, payMeans::cash, false);
    const std::int64_t hung =
        order(11, 1, 1, at(7, 30), orderState::ready, {{20, 2}, {2, 0}, {44, 0}},
              garmentState::onRail, payMeans::alipay, false);
    order(12, 1, 1, at(7, 90), orderState::ready, {{22, 0}}, garmentState::onRail, 0, true);
    // Handed out; one with a refund-wash and a refund; one voided.
    order(13, 1, 1, at(9, 30), orderState::handedOut, {{26, 0}, {9, 0}}, garmentState::handedOut,
          payMeans::wechat, false);
    const std::int64_t refunded =
        order(14, 1, 2, at(10, 30), orderState::handedOut, {{27, 0}, {16, 0}},
              garmentState::handedOut, payMeans::cash, false);
    const std::int64_t voided =
        order(16, 1, 1, at(3, 30), orderState::voided, {{4, 0}}, garmentState::takenIn, 0, false);
    order(20, 2, 3, at(1, 30), orderState::takenIn, {{23, 0}, {40, 0}}, garmentState::takenIn,
          payMeans::wechat, false);
    order(25, 2, 3, at(8, 30), orderState::handedOut, {{37, 0}}, garmentState::handedOut,
          payMeans::balance, false);

    db.exec("UPDATE orders SET destroyed_at = created_at + 600000 WHERE id = ?", voided);
    db.exec("UPDATE orders SET signed_at = created_at + 5 * 86400000 WHERE status = ?",
            orderState::handedOut);

    // Factory bags: an open one and a sent one.
    auto bag = [&](std::int64_t orderId, int status, std::int64_t created) {
        db.exec(
            "INSERT INTO batch_in (bag_no, store_id, factory_id, worker_id, status, created_at, "
            "completed_at) VALUES (?, 1, 1, 1, ?, ?, ?)",
            numbers::bagNo(db, "01", created), status, created,
            status != bagState::open ? created + 60 * minute : 0);
        const std::int64_t bagId = db.lastInsertId();
        if (status == bagState::open)
            db.exec("UPDATE batch_in SET completed_at = NULL WHERE id = ?", bagId);
        db.exec("INSERT INTO batch_in_rel (batch_in_id, order_product_id, created_at) "
                "SELECT ?, id, ? FROM order_products WHERE order_id = ?",
                bagId, created, orderId);
    };
    bag(bagged, bagState::open, at(1, 30));
    bag(sent, bagState::sent, at(2, 0));
    bag(coming, bagState::atFactory, at(4, 0));
    bag(arrived, bagState::atFactory, at(6, 0));
    // Batches back from the factory: one on its way, one received.
    auto batch = [&](const std::vector<std::int64_t> &orderIds, int status, std::int64_t created) {
        const bool received = status == batchState::received;
        db.exec("INSERT INTO batch_out (batch_no, factory_id, store_id, status, created_at, "
                "received_at) VALUES (?, 1, 1, ?, ?, ?)",
                numbers::batchNo(db, "01", created), status, created,
                received ? created + 120 * minute : 0);
        const std::int64_t batchId = db.lastInsertId();
        if (!received)
            db.exec("UPDATE batch_out SET received_at = NULL WHERE id = ?", batchId);
        for (std::int64_t orderId : orderIds)
            db.exec("INSERT INTO batch_out_rel (batch_out_id, order_product_id, confirmed_at) "
                    "SELECT ?, id, ? FROM order_products WHERE order_id = ?",
                    batchId, received ? created + 120 * minute : 0, orderId);
    };
    batch({coming}, batchState::onTheWay, at(0, 240));
    batch({arrived, checked, hung}, batchState::received, at(1, 0));
    db.exec("UPDATE batch_out_rel SET confirmed_at = NULL WHERE confirmed_at = 0");
    // The factory road: the logistics worker collected the bags that left, the factory received
    // two of them, and each batch back names the bag it returns.
    db.exec("UPDATE batch_in SET logistics_name = '陈师傅', logistics_phone = '13700000001', "
            "collected_at = completed_at + 30 * ? WHERE status <> ?",
            minute, bagState::open);
    db.exec("UPDATE batch_in SET factory_received_at = collected_at + 90 * ? WHERE status = ?",
            minute, bagState::atFactory);
    db.exec("UPDATE batch_out SET batch_in_id = (SELECT r.batch_in_id FROM batch_out_rel o "
            "JOIN batch_in_rel r ON r.order_product_id = o.order_product_id "
            "WHERE o.batch_out_id = batch_out.id LIMIT 1)");

    // The rail: the hung order's garments on the first shelves.
    {
        std::vector<std::int64_t> onRail;
        Query q = db.query("SELECT id FROM order_products WHERE order_id = ? ORDER BY id", hung);
        while (q.next())
            onRail.push_back(q.integer("id"));
        int shelf = 0;
        for (std::int64_t garmentId : onRail) {
            ++shelf;
            db.exec("UPDATE rail_positions SET order_product_id = ? WHERE store_id = 1 AND "
                    "shelf_no = ?",
                    garmentId, shelf);
            db.exec("UPDATE order_products SET store_shelf_no = ? WHERE id = ?", shelf, garmentId);
        }
    }
    db.exec("UPDATE orders SET store_shelf_no = 1 WHERE id = ?", hung);

    // Rework: the second garment is back at the factory.
    db.exec("UPDATE order_products SET status = ? WHERE order_id = ? AND id = "
            "(SELECT MIN(id) FROM order_products WHERE order_id = ?)",
            garmentState::arrived, rework, rework);

    // Refund-wash of one garment, with its money refund and audit.
    const std::int64_t garment =
        db.scalar(0, "SELECT MIN(id) FROM order_products WHERE order_id = ?", refunded);
    const std::int64_t amount =
        db.scalar(0, "SELECT subtotal FROM order_products WHERE id = ?", garment);
    const std::int64_t when = at(5, 0);
    db.exec("UPDATE order_products SET status = ?, has_refund = 1 WHERE id = ?",
            garmentState::refundWashed, garment);
    db.exec("INSERT INTO refunds (order_id, trade_id, store_id, worker_id, refund_means, amount, "
            "reason, status, created_at) VALUES (?, (SELECT id FROM trades WHERE order_id = ?), "
            "1, 2, 2, ?, '顾客对洗护效果不满意', ?, ?)",
            refunded, refunded, amount, refundState::approved, when);
    db.exec(
        "INSERT INTO refund_audits (refund_id, order_id, order_product_id, kind, status, amount, "
        "reason, worker_id, created_at, audited_at) VALUES (?, ?, ?, 2, ?, ?, "
        "'顾客对洗护效果不满意', 2, ?, ?)",
        db.lastInsertId(), refunded, garment, refundState::approved, amount, when,
        when + 30 * minute);
    const std::int64_t auditId = db.lastInsertId();
    db.exec("UPDATE refund_audits SET seq = ?, store_id = 1 WHERE id = ?",
            numbers::tradeNo(db, when), auditId);
    db.exec("UPDATE refunds SET audit_id = ?, seq = ? WHERE id = (SELECT refund_id FROM "
            "refund_audits WHERE id = ?)",
            auditId, numbers::tradeNo(db, when), auditId);
    db.exec("INSERT INTO refund_audit_products (audit_id, order_product_id) VALUES (?, ?)", auditId,
            garment);
    db.exec("UPDATE orders SET refund_price = ? WHERE id = ?", amount, refunded);

    // A management note.
    db.exec("INSERT INTO order_remarks (order_id, worker_id, worker_name, remark, created_at) "
            "VALUES (?, 1, '张丽', '羽绒服袖口有旧污渍，已告知顾客', ?)",
            sent, at(2, 25));
    // The moments the revenue reports count by: the order on credit was put on credit at
    // intake, garments handed out went with their order.
    db.exec("UPDATE orders SET credited_at = finished_at WHERE credit_status = 1");
    db.exec("UPDATE order_products SET handed_out_at = (SELECT o.signed_at FROM orders o "
            "WHERE o.id = order_id) WHERE status = ?",
            garmentState::handedOut);
    // A coupon held by an unpaid order.
    db.exec("UPDATE user_coupons SET use_status = ?, order_id = (SELECT id FROM orders WHERE "
            "user_id = 1 LIMIT 1) WHERE user_id = 1 AND use_status = ?",
            couponState::held, couponState::unused);
}

// Orders back from the factory for the store's quality check and its rail, one customer each
// (members 21 to 27), so that each can be checked, hung and handed out on its own: garments
// with accessories to check, garments to pass one by one or a whole order at once, garments
// passed and waiting for the rail. All are paid and in store 1.
void Seeder::qualityChecks()
{
    auto at = [&](int daysAgo, int minutesAgo) {
        return now - daysAgo * day - minutesAgo * minute;
    };
    const int arrived = garmentState::arrived, passed = garmentState::passed;
    // 大衣 with its belt and a hood as well, and a shirt.
    const std::int64_t coat = order(21, 1, 1, at(3, 60), orderState::ready, {{19, 0}, {2, 0}},
                                    arrived, payMeans::cash, false);
    db.exec("INSERT INTO order_product_annexes (order_product_id, annex_id, name, scan_code) "
            "VALUES ((SELECT MIN(id) FROM order_products WHERE order_id = ?), 2, ?, ?)",
            coat, annexes[1], numbers::annexCode(db, "01"));
    // 羽绒服 with its fur collar, passed without a check when accessories need none.
    order(22, 1, 1, at(3, 70), orderState::ready, {{18, 0}}, arrived, payMeans::cash, false);
    // Two garments that take the order's slot as they pass.
    order(23, 1, 1, at(3, 80), orderState::ready, {{1, 0}, {10, 0}}, arrived, payMeans::wechat,
          false);
    // Passed and waiting for the rail: garments one by one, or the whole order.
    order(24, 1, 1, at(3, 90), orderState::ready, {{19, 0}, {3, 0}}, passed, payMeans::cash, false);
    order(25, 1, 1, at(3, 100), orderState::ready, {{9, 0}, {14, 0}}, passed, payMeans::alipay,
          false);
    // From the check to the customer.
    order(26, 1, 1, at(3, 110), orderState::ready, {{24, 0}}, arrived, payMeans::cash, false);
    // Checked as a whole order.
    order(27, 1, 1, at(3, 120), orderState::ready, {{18, 0}, {11, 0}}, arrived, payMeans::cash,
          false);
    db.exec("UPDATE order_products SET passed_at = status_time, passed_by = 1 "
            "WHERE is_packaged = 1 AND passed_at IS NULL");
    db.exec("UPDATE order_product_annexes SET checked = 1, checked_at = (SELECT p.status_time "
            "FROM order_products p WHERE p.id = order_product_id), checked_by = 1 "
            "WHERE order_product_id IN (SELECT id FROM order_products WHERE is_packaged = 1)");
}

} // namespace

bool isEmpty(Connection &db)
{
    return db.scalar(0, "SELECT COUNT(*) FROM merchants") == 0;
}

void seed(Connection &db, const ServerKeys &keys, std::int64_t nowMs)
{
    Transaction tx(db);
    Seeder s{db, keys, nowMs};
    s.organisation();
    s.catalogue();
    s.members();
    s.orders();
    s.qualityChecks();
    tx.commit();
}

} // namespace demo
