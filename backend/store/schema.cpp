#include "store/schema.h"

#include <stdexcept>
#include <string>

#include "store/database.h"

namespace {

// Version 1: the whole domain of the chain. Money is integer fen, times are milliseconds
// since 1970, flags are 0/1. Lists of choices made on a garment (colours, flaws, ...) are
// kept as the JSON array text the terminal sends and reads back.
const char *const version1 = R"SQL(
CREATE TABLE merchants (
    id INTEGER PRIMARY KEY,
    name TEXT NOT NULL,
    logo_path TEXT NOT NULL DEFAULT '',
    main_info TEXT NOT NULL DEFAULT '',
    union_name TEXT NOT NULL DEFAULT '',
    created_at INTEGER NOT NULL
);
CREATE TABLE cities (
    id INTEGER PRIMARY KEY,            -- the map service's adcode
    name TEXT NOT NULL,
    pickup_fee INTEGER NOT NULL DEFAULT 0,   -- fen
    delivery_fee INTEGER NOT NULL DEFAULT 0, -- fen
    free_above INTEGER NOT NULL DEFAULT 0    -- fen; order total from which carriage is free
);
CREATE TABLE stores (
    id INTEGER PRIMARY KEY,
    merc_id INTEGER NOT NULL REFERENCES merchants(id),
    city_id INTEGER REFERENCES cities(id),
    name TEXT NOT NULL,
    addr_desc TEXT NOT NULL DEFAULT '',
    phone TEXT NOT NULL DEFAULT '',
    code TEXT NOT NULL,                -- two digits, part of order numbers and garment codes
    created_at INTEGER NOT NULL,
    UNIQUE (code)
);
CREATE TABLE merchant_params (
    merc_id INTEGER NOT NULL REFERENCES merchants(id),
    name TEXT NOT NULL,
    value TEXT NOT NULL,
    PRIMARY KEY (merc_id, name)
);
CREATE TABLE terminals (
    id INTEGER PRIMARY KEY,
    serial_num TEXT NOT NULL UNIQUE,
    store_id INTEGER NOT NULL REFERENCES stores(id),
    mac TEXT NOT NULL DEFAULT '',
    enabled INTEGER NOT NULL DEFAULT 1,
    created_at INTEGER NOT NULL
);
-- Each handshake issues a new secret; requests before login are signed with one of them.
CREATE TABLE terminal_secrets (
    id INTEGER PRIMARY KEY,
    terminal_id INTEGER NOT NULL REFERENCES terminals(id),
    secret TEXT NOT NULL UNIQUE,
    created_at INTEGER NOT NULL
);
CREATE TABLE workers (
    id INTEGER PRIMARY KEY,
    merc_id INTEGER NOT NULL REFERENCES merchants(id),
    store_id INTEGER NOT NULL REFERENCES stores(id),
    account TEXT NOT NULL COLLATE NOCASE UNIQUE,
    name TEXT NOT NULL,
    phone TEXT NOT NULL DEFAULT '',
    img_path TEXT NOT NULL DEFAULT '',
    pwd_salt TEXT NOT NULL,            -- random, per worker
    pwd_sealed BLOB NOT NULL,          -- md5(password) sealed with the server key and salt
    card_hash TEXT UNIQUE,             -- keyed hash of the staff card's secret, NULL = no card
    enabled INTEGER NOT NULL DEFAULT 1,
    created_at INTEGER NOT NULL
);
CREATE TABLE menus (
    id INTEGER PRIMARY KEY,            -- 525 to 536
    name TEXT NOT NULL,
    sort INTEGER NOT NULL
);
CREATE TABLE worker_menus (
    worker_id INTEGER NOT NULL REFERENCES workers(id),
    menu_id INTEGER NOT NULL REFERENCES menus(id),
    PRIMARY KEY (worker_id, menu_id)
);
CREATE TABLE sessions (
    token TEXT PRIMARY KEY,
    worker_id INTEGER NOT NULL REFERENCES workers(id),
    terminal_id INTEGER NOT NULL REFERENCES terminals(id),
    store_id INTEGER NOT NULL REFERENCES stores(id),
    app_secret TEXT NOT NULL,          -- requests of this session are signed with it
    login_way TEXT NOT NULL,           -- 'password' or 'card'
    sys_version TEXT NOT NULL DEFAULT '',
    client_version TEXT NOT NULL DEFAULT '',
    created_at INTEGER NOT NULL,
    last_seen INTEGER NOT NULL,
    ended_at INTEGER
);
-- The answer given to each signed request, so a repeat is answered, not run again.
CREATE TABLE replies (
    key TEXT PRIMARY KEY,
    created_at INTEGER NOT NULL,
    body TEXT NOT NULL
);
CREATE INDEX replies_age ON replies (created_at);
CREATE TABLE upload_files (
    key TEXT PRIMARY KEY,              -- the photo store's object key, e.g. client/....jpg
    content BLOB NOT NULL,
    mime TEXT NOT NULL,
    hash TEXT NOT NULL,
    created_at INTEGER NOT NULL
);
CREATE TABLE vendor_files (
    name TEXT PRIMARY KEY,             -- upgrade_pc.txt, upgrade_content_pc.txt
    content TEXT NOT NULL
);
CREATE TABLE sequences (
    name TEXT PRIMARY KEY,             -- e.g. order:01:260315
    value INTEGER NOT NULL
);
CREATE TABLE dictionary (
    code TEXT NOT NULL,                -- ORDER_STATUS, PRODUCT_STATUS, REFUND_METHOD, PAY_MEANS, ...
    val INTEGER NOT NULL,
    text TEXT NOT NULL,
    sort INTEGER NOT NULL DEFAULT 0,
    PRIMARY KEY (code, val)
);

-- Members.
CREATE TABLE card_levels (
    id INTEGER PRIMARY KEY,
    merc_id INTEGER NOT NULL REFERENCES merchants(id),
    name TEXT NOT NULL,
    discount INTEGER NOT NULL DEFAULT 100, -- percent of the price paid
    price INTEGER NOT NULL DEFAULT 0,      -- fen to buy the card
    selectable INTEGER NOT NULL DEFAULT 1, -- may be chosen for a new member
    sort INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE user_groups (
    id INTEGER PRIMARY KEY,
    merc_id INTEGER NOT NULL REFERENCES merchants(id),
    name TEXT NOT NULL,
    sort INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE user_tags (
    id INTEGER PRIMARY KEY,
    merc_id INTEGER NOT NULL REFERENCES merchants(id),
    name TEXT NOT NULL,
    sort INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE users (
    id INTEGER PRIMARY KEY,
    merc_id INTEGER NOT NULL REFERENCES merchants(id),
    store_id INTEGER NOT NULL REFERENCES stores(id),  -- where the member joined
    name TEXT NOT NULL DEFAULT '',
    phone TEXT NOT NULL,
    sex INTEGER NOT NULL DEFAULT 0,    -- 0 unknown, 1 male, 2 female
    birthday TEXT NOT NULL DEFAULT '', -- yyyy-MM-dd
    grade INTEGER NOT NULL DEFAULT 0,  -- 1 = member of a company client (grade flag)
    group_id INTEGER REFERENCES user_groups(id),
    card_level_id INTEGER REFERENCES card_levels(id),
    card_no TEXT UNIQUE,
    rfid_no TEXT UNIQUE,               -- member RFID card number
    rfid_check TEXT NOT NULL DEFAULT '', -- check code printed on the card
    balance INTEGER NOT NULL DEFAULT 0,      -- fen, paid in
    gift_balance INTEGER NOT NULL DEFAULT 0, -- fen, given by recharge offers
    points INTEGER NOT NULL DEFAULT 0,
    credit_limit INTEGER NOT NULL DEFAULT 0, -- fen that may be left owing
    remark TEXT NOT NULL DEFAULT '',
    created_at INTEGER NOT NULL,
    UNIQUE (merc_id, phone)
);
CREATE TABLE user_tag_rel (
    user_id INTEGER NOT NULL REFERENCES users(id),
    tag_id INTEGER NOT NULL REFERENCES user_tags(id),
    PRIMARY KEY (user_id, tag_id)
);
CREATE TABLE user_addresses (
    id INTEGER PRIMARY KEY,
    user_id INTEGER NOT NULL REFERENCES users(id),
    contact TEXT NOT NULL DEFAULT '',
    phone TEXT NOT NULL DEFAULT '',
    city_id INTEGER,
    region_id INTEGER,
    city TEXT NOT NULL DEFAULT '',
    district TEXT NOT NULL DEFAULT '',
    address TEXT NOT NULL,
    house_no TEXT NOT NULL DEFAULT '',
    longitude TEXT NOT NULL DEFAULT '',
    latitude TEXT NOT NULL DEFAULT '',
    is_default INTEGER NOT NULL DEFAULT 0,
    created_at INTEGER NOT NULL
);
CREATE TABLE coupons (
    id INTEGER PRIMARY KEY,
    merc_id INTEGER NOT NULL REFERENCES merchants(id),
    name TEXT NOT NULL,
    type INTEGER NOT NULL,             -- 1 amount off, 2 discount (percent), 3 amount off above a total
    amount INTEGER NOT NULL DEFAULT 0, -- fen off
    full_amount INTEGER NOT NULL DEFAULT 0, -- fen the order must reach
    discount INTEGER NOT NULL DEFAULT 100,  -- percent paid
    valid_days INTEGER NOT NULL DEFAULT 30
);
CREATE TABLE coupon_codes (
    code TEXT PRIMARY KEY,             -- a code the customer redeems
    coupon_id INTEGER NOT NULL REFERENCES coupons(id),
    user_coupon_id INTEGER REFERENCES user_coupons(id)
);
CREATE TABLE user_coupons (
    id INTEGER PRIMARY KEY,
    user_id INTEGER NOT NULL REFERENCES users(id),
    coupon_id INTEGER NOT NULL REFERENCES coupons(id),
    use_status INTEGER NOT NULL DEFAULT 0, -- 0 unused, 1 held by an order, 2 used, 3 expired
    order_id INTEGER REFERENCES orders(id),
    time_start INTEGER NOT NULL,
    time_end INTEGER NOT NULL,
    created_at INTEGER NOT NULL
);

-- Catalogue.
CREATE TABLE business_lines (
    id INTEGER PRIMARY KEY,
    merc_id INTEGER NOT NULL REFERENCES merchants(id),
    name TEXT NOT NULL,
    sort INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE product_types (
    id INTEGER PRIMARY KEY,
    business_id INTEGER NOT NULL REFERENCES business_lines(id),
    name TEXT NOT NULL,
    sort INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE products (
    id INTEGER PRIMARY KEY,
    type_id INTEGER NOT NULL REFERENCES product_types(id),
    business_id INTEGER NOT NULL REFERENCES business_lines(id),
    name TEXT NOT NULL,
    is_custom_num INTEGER NOT NULL DEFAULT 0, -- 1 = priced by size
    unit TEXT NOT NULL DEFAULT '件',          -- unit of the size when priced by size
    sort INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE product_services (
    id INTEGER PRIMARY KEY,
    product_id INTEGER NOT NULL REFERENCES products(id),
    name TEXT NOT NULL,                -- 干洗, 水洗, ...
    price INTEGER NOT NULL,            -- fen per piece, or per unit when priced by size
    sort INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE colors (id INTEGER PRIMARY KEY, merc_id INTEGER NOT NULL, name TEXT NOT NULL, sort INTEGER NOT NULL DEFAULT 0);
CREATE TABLE flaws (id INTEGER PRIMARY KEY, merc_id INTEGER NOT NULL, name TEXT NOT NULL, sort INTEGER NOT NULL DEFAULT 0);
CREATE TABLE effects (id INTEGER PRIMARY KEY, merc_id INTEGER NOT NULL, name TEXT NOT NULL, sort INTEGER NOT NULL DEFAULT 0);
CREATE TABLE brands (id INTEGER PRIMARY KEY, merc_id INTEGER NOT NULL, name TEXT NOT NULL, sort INTEGER NOT NULL DEFAULT 0);
CREATE TABLE add_services (
    id INTEGER PRIMARY KEY,
    merc_id INTEGER NOT NULL,
    name TEXT NOT NULL,
    amt INTEGER NOT NULL,              -- fen
    sort INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE annexes (id INTEGER PRIMARY KEY, merc_id INTEGER NOT NULL, name TEXT NOT NULL, sort INTEGER NOT NULL DEFAULT 0);
CREATE TABLE factories (
    id INTEGER PRIMARY KEY,
    merc_id INTEGER NOT NULL REFERENCES merchants(id),
    name TEXT NOT NULL,
    address TEXT NOT NULL DEFAULT ''
);
CREATE TABLE service_times (
    id INTEGER PRIMARY KEY,
    merc_id INTEGER NOT NULL,
    time_start TEXT NOT NULL,          -- HH:mm
    time_end TEXT NOT NULL
);

-- Orders.
CREATE TABLE orders (
    id INTEGER PRIMARY KEY,
    order_no TEXT NOT NULL UNIQUE,     -- digits: yyMMdd + store code + daily number
    merc_id INTEGER NOT NULL REFERENCES merchants(id),
    store_id INTEGER NOT NULL REFERENCES stores(id),
    user_id INTEGER NOT NULL REFERENCES users(id),
    worker_id INTEGER REFERENCES workers(id),
    status INTEGER NOT NULL DEFAULT 0,      -- ORDER_STATUS
    pay_status INTEGER NOT NULL DEFAULT 0,  -- 0 unpaid, 1 paid
    credit_status INTEGER NOT NULL DEFAULT 0, -- 1 = on credit
    locked INTEGER NOT NULL DEFAULT 0,      -- 1 while a payment is under way
    order_price INTEGER NOT NULL DEFAULT 0, -- fen, sum of the garments
    discount INTEGER NOT NULL DEFAULT 100,  -- percent
    discount_type INTEGER NOT NULL DEFAULT 0,
    modify_price INTEGER NOT NULL DEFAULT 0, -- fen set by hand (0 = none)
    carriage INTEGER NOT NULL DEFAULT 0,     -- fen, pick-up and delivery
    coupon_amount INTEGER NOT NULL DEFAULT 0, -- fen taken off by coupons
    payable_price INTEGER NOT NULL DEFAULT 0, -- fen to pay
    payment_price INTEGER NOT NULL DEFAULT 0, -- fen paid so far
    refund_price INTEGER NOT NULL DEFAULT 0,  -- fen refunded
    take_mode INTEGER NOT NULL DEFAULT 0,  -- 0 brought to the store, 1 picked up
    send_mode INTEGER NOT NULL DEFAULT 0,  -- 0 collected at the store, 1 delivered
    take_address_id INTEGER REFERENCES user_addresses(id),
    send_address_id INTEGER REFERENCES user_addresses(id),
    take_time TEXT NOT NULL DEFAULT '',
    send_time TEXT NOT NULL DEFAULT '',
    priority INTEGER NOT NULL DEFAULT 0,
    store_shelf_no INTEGER NOT NULL DEFAULT 0,
    factory_trans_no TEXT NOT NULL DEFAULT '',
    remark_json TEXT NOT NULL DEFAULT '[]',
    created_at INTEGER NOT NULL,
    finished_at INTEGER,               -- intake finished
    signed_at INTEGER,                 -- handed out
    destroyed_at INTEGER
);
CREATE INDEX orders_user ON orders (user_id);
CREATE INDEX orders_store_time ON orders (store_id, created_at);
CREATE TABLE order_remarks (
    id INTEGER PRIMARY KEY,
    order_id INTEGER NOT NULL REFERENCES orders(id),
    worker_id INTEGER REFERENCES workers(id),
    worker_name TEXT NOT NULL DEFAULT '',
    remark TEXT NOT NULL,
    created_at INTEGER NOT NULL
);
CREATE TABLE order_products (
    id INTEGER PRIMARY KEY,
    order_id INTEGER NOT NULL REFERENCES orders(id),
    scan_code TEXT NOT NULL UNIQUE,    -- digits on the wash label
    rfid_code TEXT UNIQUE,             -- electronic label bound to the garment
    product_id INTEGER NOT NULL REFERENCES products(id),
    pro_type_id INTEGER NOT NULL,
    business_id INTEGER NOT NULL,
    pro_service_id INTEGER REFERENCES product_services(id),
    product_name TEXT NOT NULL,
    service_name TEXT NOT NULL DEFAULT '',
    brand_id INTEGER,
    brand_name TEXT NOT NULL DEFAULT '',
    color_desc TEXT NOT NULL DEFAULT '[]',
    flaw_desc TEXT NOT NULL DEFAULT '[]',
    effect_desc TEXT NOT NULL DEFAULT '[]',
    add_service_desc TEXT NOT NULL DEFAULT '[]',
    annex_desc TEXT NOT NULL DEFAULT '[]',
    remark TEXT NOT NULL DEFAULT '',
    is_custom_num INTEGER NOT NULL DEFAULT 0,
    count INTEGER NOT NULL DEFAULT 1,  -- pieces, or size in hundredths of the unit when priced by size
    service_amt INTEGER NOT NULL DEFAULT 0, -- fen
    addsrv_amt INTEGER NOT NULL DEFAULT 0,  -- fen
    sale_amt INTEGER NOT NULL DEFAULT 0,    -- fen taken off
    subtotal INTEGER NOT NULL DEFAULT 0,    -- fen
    status INTEGER NOT NULL DEFAULT 10,     -- PRODUCT_STATUS
    status_time INTEGER NOT NULL,
    has_refund INTEGER NOT NULL DEFAULT 0,
    is_packaged INTEGER NOT NULL DEFAULT 0, -- passed the quality test
    store_shelf_no INTEGER NOT NULL DEFAULT 0,
    factory_id INTEGER REFERENCES factories(id),
    created_at INTEGER NOT NULL
);
CREATE INDEX order_products_order ON order_products (order_id);
CREATE TABLE order_product_annexes (
    id INTEGER PRIMARY KEY,
    order_product_id INTEGER NOT NULL REFERENCES order_products(id),
    annex_id INTEGER REFERENCES annexes(id),
    name TEXT NOT NULL,
    scan_code TEXT NOT NULL UNIQUE,
    checked INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE order_product_imgs (
    id INTEGER PRIMARY KEY,
    order_product_id INTEGER NOT NULL REFERENCES order_products(id),
    camera_img TEXT NOT NULL,          -- photo-store key
    compress_img TEXT NOT NULL DEFAULT '',
    created_at INTEGER NOT NULL
);
CREATE TABLE rail_positions (
    id INTEGER PRIMARY KEY,
    store_id INTEGER NOT NULL REFERENCES stores(id),
    shelf_no INTEGER NOT NULL,
    order_product_id INTEGER UNIQUE REFERENCES order_products(id),
    UNIQUE (store_id, shelf_no)
);

-- Money.
CREATE TABLE trades (
    id INTEGER PRIMARY KEY,
    trade_no TEXT NOT NULL UNIQUE,     -- payment sequence number
    kind INTEGER NOT NULL,             -- 1 order payment, 2 recharge
    order_id INTEGER REFERENCES orders(id),
    recharge_id INTEGER REFERENCES recharges(id),
    user_id INTEGER REFERENCES users(id),
    store_id INTEGER NOT NULL REFERENCES stores(id),
    worker_id INTEGER REFERENCES workers(id),
    pay_means INTEGER NOT NULL,        -- PAY_MEANS
    amount INTEGER NOT NULL,           -- fen
    status INTEGER NOT NULL DEFAULT 0, -- 0 waiting, 1 paid, 2 failed, 3 closed
    auth_code TEXT NOT NULL DEFAULT '',
    created_at INTEGER NOT NULL,
    paid_at INTEGER
);
CREATE INDEX trades_store_time ON trades (store_id, created_at);
CREATE TABLE refunds (
    id INTEGER PRIMARY KEY,
    order_id INTEGER NOT NULL REFERENCES orders(id),
    trade_id INTEGER REFERENCES trades(id),
    store_id INTEGER NOT NULL REFERENCES stores(id),
    worker_id INTEGER REFERENCES workers(id),
    refund_means INTEGER NOT NULL,     -- REFUND_METHOD
    amount INTEGER NOT NULL,           -- fen
    reason TEXT NOT NULL DEFAULT '',
    status INTEGER NOT NULL DEFAULT 0, -- 0 under audit, 1 refunded, 2 refused
    created_at INTEGER NOT NULL
);
CREATE TABLE refund_audits (
    id INTEGER PRIMARY KEY,
    refund_id INTEGER REFERENCES refunds(id),
    order_id INTEGER NOT NULL REFERENCES orders(id),
    order_product_id INTEGER REFERENCES order_products(id),
    kind INTEGER NOT NULL,             -- 1 refund of money, 2 refund-wash of a garment
    status INTEGER NOT NULL DEFAULT 0, -- 0 waiting, 1 approved, 2 refused
    amount INTEGER NOT NULL DEFAULT 0, -- fen
    reason TEXT NOT NULL DEFAULT '',
    worker_id INTEGER REFERENCES workers(id),
    created_at INTEGER NOT NULL,
    audited_at INTEGER
);
CREATE TABLE recharge_rules (
    id INTEGER PRIMARY KEY,
    merc_id INTEGER NOT NULL REFERENCES merchants(id),
    name TEXT NOT NULL,
    amount INTEGER NOT NULL,           -- fen paid
    gift_amount INTEGER NOT NULL DEFAULT 0, -- fen given
    gift_point INTEGER NOT NULL DEFAULT 0,
    card_level_id INTEGER REFERENCES card_levels(id), -- level granted, if any
    sort INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE recharges (
    id INTEGER PRIMARY KEY,
    recharge_no TEXT NOT NULL UNIQUE,
    user_id INTEGER NOT NULL REFERENCES users(id),
    store_id INTEGER NOT NULL REFERENCES stores(id),
    worker_id INTEGER REFERENCES workers(id),
    rule_id INTEGER REFERENCES recharge_rules(id),
    amount INTEGER NOT NULL,           -- fen
    gift_amount INTEGER NOT NULL DEFAULT 0,
    gift_point INTEGER NOT NULL DEFAULT 0,
    pay_means INTEGER NOT NULL,
    status INTEGER NOT NULL DEFAULT 0, -- 0 waiting for payment, 1 paid
    created_at INTEGER NOT NULL,
    paid_at INTEGER
);

-- Factory logistics.
CREATE TABLE batch_in (                -- a bag going to the factory
    id INTEGER PRIMARY KEY,
    bag_no TEXT NOT NULL UNIQUE,
    store_id INTEGER NOT NULL REFERENCES stores(id),
    factory_id INTEGER REFERENCES factories(id),
    worker_id INTEGER REFERENCES workers(id),
    status INTEGER NOT NULL DEFAULT 0, -- 0 open, 1 closed (sent), 2 received by the factory
    created_at INTEGER NOT NULL,
    completed_at INTEGER
);
CREATE TABLE batch_in_rel (
    batch_in_id INTEGER NOT NULL REFERENCES batch_in(id),
    order_product_id INTEGER NOT NULL UNIQUE REFERENCES order_products(id),
    created_at INTEGER NOT NULL,
    PRIMARY KEY (batch_in_id, order_product_id)
);
CREATE TABLE batch_out (               -- a batch coming back from the factory
    id INTEGER PRIMARY KEY,
    batch_no TEXT NOT NULL UNIQUE,
    factory_id INTEGER REFERENCES factories(id),
    store_id INTEGER NOT NULL REFERENCES stores(id),
    status INTEGER NOT NULL DEFAULT 0, -- 0 on the way, 1 received at the store
    created_at INTEGER NOT NULL,
    received_at INTEGER
);
CREATE TABLE batch_out_rel (
    batch_out_id INTEGER NOT NULL REFERENCES batch_out(id),
    order_product_id INTEGER NOT NULL REFERENCES order_products(id),
    confirmed_at INTEGER,
    PRIMARY KEY (batch_out_id, order_product_id)
);
)SQL";

const char *const version1Data = R"SQL(
INSERT INTO menus (id, name, sort) VALUES
    (525, '下单', 1), (526, '取衣', 2), (527, '到店', 3), (528, '送厂', 4),
    (529, '会员管理', 5), (530, '订单管理', 6), (531, '衣物管理', 7), (532, '设置', 8),
    (533, '入库', 9), (534, '门店质检', 10), (535, '营收分析', 11), (536, '上挂', 12);
INSERT INTO dictionary (code, val, text, sort) VALUES
    ('ORDER_STATUS', 0, '待收衣', 1), ('ORDER_STATUS', 10, '已收衣', 2),
    ('ORDER_STATUS', 20, '洗护中', 3), ('ORDER_STATUS', 30, '待取衣', 4),
    ('ORDER_STATUS', 40, '已取衣', 5), ('ORDER_STATUS', 50, '已作废', 6),
    ('PRODUCT_STATUS', 10, '已收衣', 1), ('PRODUCT_STATUS', 11, '已入袋', 2),
    ('PRODUCT_STATUS', 12, '已送厂', 3), ('PRODUCT_STATUS', 15, '洗护中', 4),
    ('PRODUCT_STATUS', 17, '已出厂', 5), ('PRODUCT_STATUS', 19, '已到店', 6),
    ('PRODUCT_STATUS', 60, '质检合格', 7), ('PRODUCT_STATUS', 25, '已上挂', 8),
    ('PRODUCT_STATUS', 30, '返洗中', 9), ('PRODUCT_STATUS', 40, '已取衣', 10),
    ('PRODUCT_STATUS', 50, '已退洗', 11),
    ('PAY_STATUS', 0, '未支付', 1), ('PAY_STATUS', 1, '已支付', 2),
    ('PAY_MEANS', 1, '现金', 1), ('PAY_MEANS', 2, '微信', 2), ('PAY_MEANS', 3, '支付宝', 3),
    ('PAY_MEANS', 4, '会员余额', 4), ('PAY_MEANS', 5, '银行卡', 5), ('PAY_MEANS', 6, '挂账', 6),
    ('PAY_MEANS', 7, '优惠券', 7),
    ('REFUND_METHOD', 1, '原路退回', 1), ('REFUND_METHOD', 2, '现金', 2),
    ('REFUND_METHOD', 3, '退至会员余额', 3),
    ('TAKE_MODE', 0, '到店送衣', 1), ('TAKE_MODE', 1, '上门取衣', 2),
    ('SEND_MODE', 0, '到店取衣', 1), ('SEND_MODE', 1, '送衣上门', 2);
INSERT INTO vendor_files (name, content) VALUES
    ('upgrade_pc.txt', 'V4.0.2'),
    ('upgrade_content_pc.txt', '1. 收衣时可拍摄多张衣物照片\n2. 会员充值支持扫码支付\n3. 修复若干已知问题');
)SQL";

// Version 2: what an order header carries beyond version 1 (the customer's note, the
// garment mark, the pick-up date and slot, the delivery date), and member RFID cards that
// are not on a member: in stock waiting to be bound, or voided after a loss. A bound card
// lives on its member (users.rfid_no, users.rfid_check).
const char *const version2 = R"SQL(
ALTER TABLE orders ADD COLUMN user_remark TEXT NOT NULL DEFAULT '';
ALTER TABLE orders ADD COLUMN mark TEXT NOT NULL DEFAULT '';
ALTER TABLE orders ADD COLUMN take_date TEXT NOT NULL DEFAULT '';       -- yyyy-MM-dd
ALTER TABLE orders ADD COLUMN take_time_start TEXT NOT NULL DEFAULT ''; -- HH:mm
ALTER TABLE orders ADD COLUMN take_time_end TEXT NOT NULL DEFAULT '';
ALTER TABLE orders ADD COLUMN send_date TEXT NOT NULL DEFAULT '';       -- yyyy-MM-dd
CREATE TABLE member_cards (
    rfid_no TEXT PRIMARY KEY,
    check_code TEXT NOT NULL,
    status INTEGER NOT NULL DEFAULT 0, -- 0 in stock, 2 voided
    changed_at INTEGER NOT NULL DEFAULT 0
);
)SQL";

// Version 3: sessions are found by a hash of their token, never the token itself, and the
// answers kept for repeats are keyed by the request (path, serial number, timestamp, sign)
// with the body's hash beside them, for as long as the timestamp lets a repeat arrive. Open
// sessions and kept answers of version 2 held plain tokens: they are dropped, so a terminal
// signed in across the upgrade signs in again.
const char *const version3 = R"SQL(
DROP TABLE sessions;
CREATE TABLE sessions (
    token_hash TEXT PRIMARY KEY,       -- SHA-256 of the access token, in hexadecimal
    worker_id INTEGER NOT NULL REFERENCES workers(id),
    terminal_id INTEGER NOT NULL REFERENCES terminals(id),
    store_id INTEGER NOT NULL REFERENCES stores(id),
    app_secret TEXT NOT NULL,          -- requests of this session are signed with it
    login_way TEXT NOT NULL,           -- 'password' or 'card'
    sys_version TEXT NOT NULL DEFAULT '',
    client_version TEXT NOT NULL DEFAULT '',
    created_at INTEGER NOT NULL,
    last_seen INTEGER NOT NULL,
    ended_at INTEGER
);
DROP TABLE replies;
CREATE TABLE replies (
    key TEXT PRIMARY KEY,              -- path, serial number, timestamp and sign of the request
    body_hash TEXT NOT NULL,           -- a repeat must carry the very same body
    session_hash TEXT,                 -- the session the answer belongs to, if any
    ends_session INTEGER NOT NULL DEFAULT 0, -- the call ended that session (a sign-out)
    issued_token INTEGER NOT NULL DEFAULT 0, -- the answer carried a new access token
    expires_at INTEGER NOT NULL,       -- when the request's timestamp can no longer be accepted
    body TEXT NOT NULL                 -- the answer, any access token in it left out
);
CREATE INDEX replies_expiry ON replies (expires_at);
)SQL";

// Version 4: garment entry. An order is priced by its pricing mode (1 the store's prices, 2
// those of company clients); a service may have a price of its own for a mode, else its
// catalogue price applies. A garment may take the member's discount or not. Accessories and
// add-on services may be limited to one business line (NULL: every line). A garment taken in
// keeps the price of its piece or unit, the percent it was charged and a subtotal set by hand
// (NULL: none); its sale_amt is the service amount after that discount.
const char *const version4 = R"SQL(
ALTER TABLE orders ADD COLUMN pricing_mode INTEGER NOT NULL DEFAULT 1;
ALTER TABLE products ADD COLUMN member_discount INTEGER NOT NULL DEFAULT 1;
CREATE TABLE product_service_prices (
    service_id INTEGER NOT NULL REFERENCES product_services(id),
    pricing_mode INTEGER NOT NULL,
    price INTEGER NOT NULL,            -- fen per piece, or per unit when priced by size
    PRIMARY KEY (service_id, pricing_mode)
);
ALTER TABLE annexes ADD COLUMN business_id INTEGER REFERENCES business_lines(id);
ALTER TABLE add_services ADD COLUMN business_id INTEGER REFERENCES business_lines(id);
ALTER TABLE order_products ADD COLUMN unit_price INTEGER;
ALTER TABLE order_products ADD COLUMN discount INTEGER NOT NULL DEFAULT 100;
ALTER TABLE order_products ADD COLUMN chg_subtotal INTEGER;
)SQL";

// Version 5: payments of orders. A payment is one request of the cashier: what it takes from
// the coupon, the member balance and the group pay card, and the rest by one means; its
// parts are recorded as trades once it is paid. A wallet payment waits (status 0) while the
// customer pays, holding the balance and card parts and the order (orders.locked); closing
// it gives them back. Coupons say whether they go with the member balance; company clients'
// members may have a group pay card ("优付卡") that pays its ratio of each order; merchants
// name their other means of payment.
const char *const version5 = R"SQL(
ALTER TABLE coupons ADD COLUMN use_balance INTEGER NOT NULL DEFAULT 1; -- 0: not with the balance
CREATE TABLE group_pay_cards (
    user_id INTEGER PRIMARY KEY REFERENCES users(id),
    balance INTEGER NOT NULL DEFAULT 0,      -- fen
    pay_ratio INTEGER NOT NULL DEFAULT 100,  -- percent of an order the card pays
    enabled INTEGER NOT NULL DEFAULT 1
);
CREATE TABLE pay_signs (                     -- the merchant's other means ("其他")
    id INTEGER PRIMARY KEY,
    merc_id INTEGER NOT NULL REFERENCES merchants(id),
    val TEXT NOT NULL,
    show_name TEXT NOT NULL,
    name TEXT NOT NULL,
    sort INTEGER NOT NULL DEFAULT 0,
    UNIQUE (merc_id, val)
);
CREATE TABLE payments (
    id INTEGER PRIMARY KEY,
    seq TEXT NOT NULL UNIQUE,               -- the payment sequence number the terminal follows
    order_id INTEGER NOT NULL REFERENCES orders(id),
    user_id INTEGER NOT NULL REFERENCES users(id),
    store_id INTEGER NOT NULL REFERENCES stores(id),
    worker_id INTEGER REFERENCES workers(id),
    means INTEGER NOT NULL,                 -- PAY_MEANS of the rest
    wallet_mode TEXT NOT NULL DEFAULT '',   -- 'micro' (a scanned code), 'native' (a QR code), ''
    status INTEGER NOT NULL DEFAULT 0,      -- 0 waiting, 1 paid, 2 failed, 3 closed
    to_pay INTEGER NOT NULL,                -- fen after the coupon
    coupon_id INTEGER REFERENCES user_coupons(id),
    coupon_amount INTEGER NOT NULL DEFAULT 0,
    balance_amount INTEGER NOT NULL DEFAULT 0, -- fen from the member balance ...
    gift_amount INTEGER NOT NULL DEFAULT 0,    -- ... of which from the gift balance
    card_amount INTEGER NOT NULL DEFAULT 0,
    means_amount INTEGER NOT NULL DEFAULT 0,
    auth_code TEXT NOT NULL DEFAULT '',
    pay_sign TEXT NOT NULL DEFAULT '',
    remark TEXT NOT NULL DEFAULT '',
    wallet_steps INTEGER NOT NULL DEFAULT 0,   -- status queries still answered "0" (scanned codes)
    wallet_result INTEGER NOT NULL DEFAULT 1,  -- then: 1 paid, 2 failed
    created_at INTEGER NOT NULL,
    expires_at INTEGER NOT NULL,            -- a waiting payment is closed after this
    finished_at INTEGER
);
CREATE INDEX payments_order ON payments (order_id, status);
ALTER TABLE trades ADD COLUMN payment_id INTEGER REFERENCES payments(id);
ALTER TABLE trades ADD COLUMN pay_sign TEXT NOT NULL DEFAULT '';
ALTER TABLE trades ADD COLUMN remark TEXT NOT NULL DEFAULT '';
INSERT INTO dictionary (code, val, text, sort) VALUES
    ('PAY_MEANS', 8, '优付卡', 8), ('PAY_MEANS', 9, '其他', 9);
)SQL";

// Version 7: the counter's pick-up. An order is completed after its garments were handed
// out (ORDER_STATUS 45), may be put on credit with a reason, and keeps when it was
// completed. A refund request (refund_audits, waiting for approval) has a number of its own,
// the means the worker chose for what does not go back to the member balance, the garments
// of a refund-wash, and for an unpaid order the new total instead of money; its money parts
// (refunds) point at the request and at the trade they give back, each with a number of its
// own and, for balance parts, what went back to the gift balance.
const char *const version7 = R"SQL(
ALTER TABLE orders ADD COLUMN credit_remark TEXT NOT NULL DEFAULT '';
ALTER TABLE orders ADD COLUMN completed_at INTEGER;
ALTER TABLE refund_audits ADD COLUMN seq TEXT NOT NULL DEFAULT '';
ALTER TABLE refund_audits ADD COLUMN pay_method INTEGER NOT NULL DEFAULT 0; -- REFUND_METHOD, 0 none
ALTER TABLE refund_audits ADD COLUMN new_total INTEGER;  -- unpaid refund-wash: the order's new total
ALTER TABLE refund_audits ADD COLUMN store_id INTEGER REFERENCES stores(id);
ALTER TABLE refunds ADD COLUMN audit_id INTEGER REFERENCES refund_audits(id);
ALTER TABLE refunds ADD COLUMN seq TEXT NOT NULL DEFAULT '';
ALTER TABLE refunds ADD COLUMN gift_amount INTEGER NOT NULL DEFAULT 0;
CREATE TABLE refund_audit_products (
    audit_id INTEGER NOT NULL REFERENCES refund_audits(id),
    order_product_id INTEGER NOT NULL REFERENCES order_products(id),
    PRIMARY KEY (audit_id, order_product_id)
);
CREATE INDEX refund_audits_order ON refund_audits (order_id);
CREATE INDEX refunds_order ON refunds (order_id);
UPDATE refunds SET audit_id = (SELECT a.id FROM refund_audits a WHERE a.refund_id = refunds.id);
UPDATE refund_audits SET store_id = (SELECT o.store_id FROM orders o WHERE o.id = order_id);
INSERT INTO refund_audit_products (audit_id, order_product_id)
    SELECT id, order_product_id FROM refund_audits WHERE order_product_id IS NOT NULL;
UPDATE dictionary SET sort = 7 WHERE code = 'ORDER_STATUS' AND val = 50;
INSERT INTO dictionary (code, val, text, sort) VALUES ('ORDER_STATUS', 45, '已完成', 6);
)SQL";

// Version 8: members and recharges. Being a company client's member (company prices, the
// union badge) is a flag of its own, apart from the important-customer grade the member list
// sets (0 none, 1 blue, 2 yellow, 3 purple), which used to stand for it. A deleted address
// stays for the orders that name it. A recharge offer may give coupons; a recharge keeps
// whether it took an offer, its note and other means, and, paid by a wallet, how the
// customer pays it and until when it waits (status 0 waiting, 1 paid, 2 failed, 3 closed).
const char *const version8 = R"SQL(
ALTER TABLE users ADD COLUMN company INTEGER NOT NULL DEFAULT 0;
UPDATE users SET company = 1 WHERE grade = 1;
ALTER TABLE user_addresses ADD COLUMN deleted INTEGER NOT NULL DEFAULT 0;
ALTER TABLE recharge_rules ADD COLUMN gift_coupon_id INTEGER REFERENCES coupons(id);
ALTER TABLE recharge_rules ADD COLUMN gift_coupon_cnt INTEGER NOT NULL DEFAULT 0;
ALTER TABLE recharges ADD COLUMN with_active INTEGER NOT NULL DEFAULT 1;
ALTER TABLE recharges ADD COLUMN remark TEXT NOT NULL DEFAULT '';
ALTER TABLE recharges ADD COLUMN pay_sign TEXT NOT NULL DEFAULT '';
ALTER TABLE recharges ADD COLUMN wallet_mode TEXT NOT NULL DEFAULT '';  -- 'micro', 'native', ''
ALTER TABLE recharges ADD COLUMN auth_code TEXT NOT NULL DEFAULT '';
ALTER TABLE recharges ADD COLUMN wallet_steps INTEGER NOT NULL DEFAULT 0;
ALTER TABLE recharges ADD COLUMN wallet_result INTEGER NOT NULL DEFAULT 1;
ALTER TABLE recharges ADD COLUMN expires_at INTEGER NOT NULL DEFAULT 0;
ALTER TABLE recharges ADD COLUMN finished_at INTEGER;
CREATE INDEX recharges_user ON recharges (user_id, status);
)SQL";

// Version 9: the photo store keeps each key for the store whose upload token first stored it
// (NULL: stored before, no store's to record).
const char *const version9 = R"SQL(
ALTER TABLE upload_files ADD COLUMN store_id INTEGER REFERENCES stores(id);
)SQL";

// Version 10: the store's books at scale. A voided order keeps its reason and who voided it.
// The order book and the garment list read a page of the store's records newest first,
// filtered: an index serves each filter (and each pair of them) in that order, so a page never
// scans the store's history, and a member's orders are found by member (the member by phone,
// or by a card number in any case). A garment keeps its order's store (garmentStore below),
// so the garment list needs no join to know whose it is. Each change of a garment's status is
// written down (garment_track), by triggers, so its road shows whoever moved it; garments
// already there get their intake and their present status.
const char *const version10 = R"SQL(
ALTER TABLE orders ADD COLUMN destroy_remark TEXT NOT NULL DEFAULT '';
ALTER TABLE orders ADD COLUMN destroyed_by INTEGER REFERENCES workers(id);
DROP INDEX IF EXISTS orders_user;
CREATE INDEX IF NOT EXISTS orders_user_time ON orders (user_id, created_at);
CREATE INDEX IF NOT EXISTS orders_store_status_time ON orders (store_id, status, created_at);
CREATE INDEX IF NOT EXISTS orders_store_paid_time ON orders (store_id, pay_status, created_at);
CREATE INDEX IF NOT EXISTS orders_store_status_paid_time
    ON orders (store_id, status, pay_status, created_at);
CREATE INDEX IF NOT EXISTS orders_waybill ON orders (factory_trans_no) WHERE factory_trans_no <> '';
CREATE INDEX IF NOT EXISTS users_card_nocase ON users (card_no COLLATE NOCASE);
CREATE INDEX IF NOT EXISTS users_rfid_nocase ON users (rfid_no COLLATE NOCASE);
CREATE INDEX IF NOT EXISTS order_remarks_order ON order_remarks (order_id);
CREATE INDEX IF NOT EXISTS trades_order ON trades (order_id);
CREATE INDEX IF NOT EXISTS order_product_annexes_garment ON order_product_annexes (order_product_id);
CREATE INDEX IF NOT EXISTS order_product_imgs_garment ON order_product_imgs (order_product_id);
CREATE INDEX IF NOT EXISTS batch_out_rel_garment ON batch_out_rel (order_product_id);
CREATE INDEX IF NOT EXISTS refund_audit_products_garment ON refund_audit_products (order_product_id);
CREATE INDEX IF NOT EXISTS order_products_store_time ON order_products (store_id, created_at);
CREATE INDEX order_products_store_status_time ON order_products (store_id, status, created_at);
CREATE INDEX order_products_store_factory_time ON order_products (store_id, factory_id, created_at);
CREATE INDEX order_products_store_status_factory_time
    ON order_products (store_id, status, factory_id, created_at);

CREATE TABLE garment_track (
    id INTEGER PRIMARY KEY,
    order_product_id INTEGER NOT NULL REFERENCES order_products(id) ON DELETE CASCADE,
    status INTEGER NOT NULL,           -- PRODUCT_STATUS reached
    created_at INTEGER NOT NULL
);
CREATE INDEX garment_track_garment ON garment_track (order_product_id, created_at);
-- Taken in (10, 已收衣) when the garment is made; a garment made further along its road (demo
-- data) has that status from its status time on.
CREATE TRIGGER garment_track_made AFTER INSERT ON order_products
BEGIN
    INSERT INTO garment_track (order_product_id, status, created_at)
    VALUES (NEW.id, 10, NEW.created_at);
    INSERT INTO garment_track (order_product_id, status, created_at)
    SELECT NEW.id, NEW.status, NEW.status_time WHERE NEW.status <> 10;
END;
-- A writer that did not move the status time is dated by the clock.
CREATE TRIGGER garment_track_moved AFTER UPDATE OF status ON order_products
WHEN NEW.status <> OLD.status
BEGIN
    INSERT INTO garment_track (order_product_id, status, created_at)
    VALUES (NEW.id, NEW.status, CASE WHEN NEW.status_time <> OLD.status_time THEN NEW.status_time
        ELSE CAST((julianday('now') - 2440587.5) * 86400000 AS INTEGER) END);
END;
INSERT INTO garment_track (order_product_id, status, created_at)
    SELECT id, 10, created_at FROM order_products;
INSERT INTO garment_track (order_product_id, status, created_at)
    SELECT id, status, status_time FROM order_products WHERE status <> 10;
)SQL";

// A garment's store: filled by a trigger, whoever writes the garment, and for the rows of
// before from their orders. The books (version 10) and the reports (version 13) both need it;
// a database the reports' version reached first has it already.
const char *const garmentStore = R"SQL(
ALTER TABLE order_products ADD COLUMN store_id INTEGER REFERENCES stores(id);
UPDATE order_products SET store_id = (SELECT o.store_id FROM orders o WHERE o.id = order_id);
CREATE TRIGGER IF NOT EXISTS order_products_store AFTER INSERT ON order_products
WHEN NEW.store_id IS NULL
BEGIN
    UPDATE order_products SET store_id = (SELECT o.store_id FROM orders o WHERE o.id = NEW.order_id)
    WHERE id = NEW.id;
END;
)SQL";

// Version 11: the factory road. A bag keeps who collected it and when (the logistics worker),
// and when the factory received it; a garment in a bag keeps the state it went in with (waiting
// for a bag, or sent back for rework), which it takes again when it leaves the bag before the
// bag goes; a batch back from the factory names the bag whose garments it brings back. (The
// garments' batches back are found on version 10's batch_out_rel_garment.)
const char *const version11 = R"SQL(
ALTER TABLE batch_in_rel ADD COLUMN garment_status INTEGER; -- PRODUCT_STATUS before the bag
ALTER TABLE batch_in ADD COLUMN logistics_name TEXT NOT NULL DEFAULT '';
ALTER TABLE batch_in ADD COLUMN logistics_phone TEXT NOT NULL DEFAULT '';
ALTER TABLE batch_in ADD COLUMN collected_at INTEGER;
ALTER TABLE batch_in ADD COLUMN factory_received_at INTEGER;
ALTER TABLE batch_out ADD COLUMN batch_in_id INTEGER REFERENCES batch_in(id);
UPDATE batch_in SET collected_at = completed_at WHERE status <> 0;
UPDATE batch_in SET factory_received_at = completed_at WHERE status = 2;
CREATE INDEX batch_in_store ON batch_in (store_id, status);
)SQL";

// Version 12: the store's quality check. A garment keeps when it passed and who passed it
// (its status time moves on once it is hung), and an accessory when it was checked and by
// whom. Garments passed before keep their last change of state as the pass.
const char *const version12 = R"SQL(
ALTER TABLE order_products ADD COLUMN passed_at INTEGER;
ALTER TABLE order_products ADD COLUMN passed_by INTEGER REFERENCES workers(id);
ALTER TABLE order_product_annexes ADD COLUMN checked_at INTEGER;
ALTER TABLE order_product_annexes ADD COLUMN checked_by INTEGER REFERENCES workers(id);
UPDATE order_products SET passed_at = status_time WHERE is_packaged = 1;
UPDATE order_product_annexes SET checked_at = (SELECT p.status_time FROM order_products p
    WHERE p.id = order_product_id) WHERE checked = 1;
)SQL";

// Version 13: the revenue reports. An order keeps when it was put on credit, and a garment when
// it was handed out; rows of before get their best known values. The reports' spans of time are read from indexes that
// hold what their sums need, so a month's sums read no table rows: trades, payments and
// recharges by store and moment, orders by store and when they were taken or put on credit (and
// by state, for the few voided ones), members by the store they joined, garments by store and
// when they were taken in or handed out, refund requests by store and when they were decided,
// and their parts by request.
const char *const version13 = R"SQL(
ALTER TABLE orders ADD COLUMN credited_at INTEGER;
ALTER TABLE order_products ADD COLUMN handed_out_at INTEGER;
UPDATE orders SET credited_at = created_at WHERE credit_status = 1;        -- on credit
UPDATE order_products SET handed_out_at = status_time WHERE status = 40; -- 已取衣
CREATE INDEX IF NOT EXISTS trades_store_paid
    ON trades (store_id, status, paid_at, kind, pay_means, pay_sign, amount);
CREATE INDEX IF NOT EXISTS trades_order ON trades (order_id);
CREATE INDEX IF NOT EXISTS payments_store_finished
    ON payments (store_id, status, finished_at, coupon_amount);
CREATE INDEX IF NOT EXISTS recharges_store_paid
    ON recharges (store_id, status, paid_at, amount, gift_amount);
CREATE INDEX IF NOT EXISTS orders_store_taken
    ON orders (store_id, created_at, status, destroyed_at, payable_price);
CREATE INDEX IF NOT EXISTS orders_store_credited ON orders (store_id, credited_at);
CREATE INDEX IF NOT EXISTS orders_store_state ON orders (store_id, status);
CREATE INDEX IF NOT EXISTS users_store_time ON users (store_id, created_at);
CREATE INDEX IF NOT EXISTS order_products_store_time ON order_products (store_id, created_at);
CREATE INDEX IF NOT EXISTS order_products_store_handed_out
    ON order_products (store_id, handed_out_at);
CREATE INDEX IF NOT EXISTS refund_audits_store_audited ON refund_audits (store_id, audited_at);
CREATE INDEX IF NOT EXISTS refunds_audit ON refunds (audit_id);
)SQL";

// Whether the table has that column.
bool hasColumn(Connection &db, const char *table, const char *column)
{
    return db.scalar(0, "SELECT COUNT(*) FROM pragma_table_info(?) WHERE name = ?", table, column) >
           0;
}

} // namespace

namespace schema {

int version(Connection &db)
{
    db.script("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)");
    return static_cast<int>(db.scalar(0, "SELECT MAX(version) FROM schema_version"));
}

bool applied(Connection &db, int version)
{
    return db.scalar(0, "SELECT COUNT(*) FROM schema_version WHERE version = ?", version) > 0;
}

void migrate(Connection &db)
{
    const int found = version(db);
    if (found > currentVersion)
        throw std::runtime_error("the database has schema version " + std::to_string(found) +
                                 ", newer than this service (" + std::to_string(currentVersion) +
                                 ")");
    if (found < 1) {
        Transaction tx(db);
        db.script(version1);
        db.script(version1Data);
        db.exec("INSERT INTO schema_version (version) VALUES (?)", 1);
        tx.commit();
    }
    if (found < 2) {
        Transaction tx(db);
        db.script(version2);
        db.exec("INSERT INTO schema_version (version) VALUES (?)", 2);
        tx.commit();
    }
    if (found < 3) {
        Transaction tx(db);
        db.script(version3);
        db.exec("INSERT INTO schema_version (version) VALUES (?)", 3);
        tx.commit();
    }
    // Later versions: one block per version, each in its own transaction, applied when its
    // own row is missing, so blocks written side by side apply in whatever order they land.
    if (!applied(db, 4)) {
        Transaction tx(db);
        db.script(version4);
        db.exec("INSERT INTO schema_version (version) VALUES (?)", 4);
        tx.commit();
    }
    if (!applied(db, 5)) {
        Transaction tx(db);
        db.script(version5);
        db.exec("INSERT INTO schema_version (version) VALUES (?)", 5);
        tx.commit();
    }
    if (!applied(db, 7)) {
        Transaction tx(db);
        db.script(version7);
        db.exec("INSERT INTO schema_version (version) VALUES (?)", 7);
        tx.commit();
    }
    if (!applied(db, 8)) {
        Transaction tx(db);
        db.script(version8);
        db.exec("INSERT INTO schema_version (version) VALUES (?)", 8);
        tx.commit();
    }
    if (!applied(db, 9)) {
        Transaction tx(db);
        db.script(version9);
        db.exec("INSERT INTO schema_version (version) VALUES (?)", 9);
        tx.commit();
    }
    if (!applied(db, 10)) {
        Transaction tx(db);
        if (!hasColumn(db, "order_products", "store_id"))
            db.script(garmentStore);
        db.script(version10);
        db.exec("INSERT INTO schema_version (version) VALUES (?)", 10);
        tx.commit();
    }
    if (!applied(db, 11)) {
        Transaction tx(db);
        db.script(version11);
        db.exec("INSERT INTO schema_version (version) VALUES (?)", 11);
        tx.commit();
    }
    if (!applied(db, 12)) {
        Transaction tx(db);
        db.script(version12);
        db.exec("INSERT INTO schema_version (version) VALUES (?)", 12);
        tx.commit();
    }
    if (!applied(db, 13)) {
        Transaction tx(db);
        db.script(version13);
        db.exec("INSERT INTO schema_version (version) VALUES (?)", 13);
        tx.commit();
    }
}

} // namespace schema
