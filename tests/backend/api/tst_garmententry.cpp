// Garment entry against a backend of the test's own: the catalogue lists, the order for
// intake, and garments added and changed with the amounts the backend works out itself.
// Demo members: 3 is a 钻石会员 (85 %) priced at store prices, 2 a company client's member
// (90 %) priced at company prices; 牛仔裤 (10) is washed for 20.00, 窗帘 (43) is priced by
// the square metre at 15.00, leather care (皮衣, 35) takes no member discount.

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTest>

#include "apibackend.h"

namespace {

QString text(const QJsonArray &list)
{
    return QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Compact));
}

QJsonObject entry(const QString &id, const QString &name)
{
    return {{"id", id}, {"name", name}};
}

QStringList names(const QJsonArray &rows)
{
    QStringList out;
    for (const auto &r : rows)
        out << r.toObject().value("name").toString();
    return out;
}

} // namespace

class TestGarmentEntry : public QObject, private ApiBackend
{
    Q_OBJECT

private slots:
    void initTestCase();

    void catalogueLists_data();
    void catalogueLists();
    void saleDiscountFollowsTheOrder_data();
    void saleDiscountFollowsTheOrder();
    void servicePricesFollowThePricingMode_data();
    void servicePricesFollowThePricingMode();
    void addComputesTheAmounts_data();
    void addComputesTheAmounts();
    void addRefusals_data();
    void addRefusals();
    void otherStoresOrdersAndGarments();
    void queryOrderForIntake();
    void accessoriesAreItemsWithCodes();
    void updateRebuildsOnlyWhatIsSent();
    void updateRefusals();
    void lostReplyRetryAddsOneGarment();

private:
    // A new order of that member in store 1; its id.
    QString newOrder(const QString &userId)
    {
        const qint64 id = orderIdOf(ApiBackend::newOrder(userId.toInt()));
        return id ? n(id) : QString();
    }
    // A garment of 牛仔裤 washed (or of `fields`) added to the order; the reply's data.
    QJsonObject addGarment(const QString &orderId, const QJsonObject &fields = {});
    QString dbValue(const QString &sql) { return value(sql); }
};

void TestGarmentEntry::initTestCase()
{
    QVERIFY2(start(), qPrintable(output()));
}

// The whole garment record as the entry screen sends it, empty lists and brand included.
QJsonObject TestGarmentEntry::addGarment(const QString &orderId, const QJsonObject &fields)
{
    QJsonObject record{{"businessId", "1"},    {"proTypeId", "2"}, {"colorDesc", ""},
                       {"flawDesc", ""},       {"effectDesc", ""}, {"annexDesc", ""},
                       {"addServiceDesc", ""}, {"brandId", ""},    {"brandName", ""}};
    for (auto it = fields.begin(); it != fields.end(); ++it)
        record.insert(it.key(), it.value());
    return ApiBackend::addGarment(orderId.toLongLong(), record);
}

// ---- the catalogue -------------------------------------------------------------------------

void TestGarmentEntry::catalogueLists_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QJsonObject>("fields");
    // The names expected, in catalogue order, from the database.
    QTest::addColumn<QString>("expected");
    const QJsonObject tops{
        {"mercBusinessId", "1"}, {"typeId", "1"}, {"pricingMode", "1"}, {"pageSize", "40"}};
    auto page = [](QJsonObject f, const QString &num, const QString &words) {
        f["pageNum"] = num;
        f["keywords"] = words;
        return f;
    };
    QTest::newRow("projects") << "productBusiness/list" << QJsonObject{{"pricingMode", "1"}}
                              << "SELECT name FROM business_lines ORDER BY sort";
    QTest::newRow("categories of 洗鞋")
        << "productType/list" << QJsonObject{{"mercBusinessId", "2"}}
        << "SELECT name FROM product_types WHERE business_id = 2 ORDER BY sort";
    QTest::newRow("tops, page 1: full") << "productInfo/list" << page(tops, "1", "")
                                        << "SELECT name FROM products WHERE type_id = 1 "
                                           "ORDER BY sort LIMIT 40";
    QTest::newRow("tops, page 2: the rest") << "productInfo/list" << page(tops, "2", "")
                                            << "SELECT name FROM products WHERE type_id = 1 "
                                               "ORDER BY sort LIMIT 40 OFFSET 40";
    QTest::newRow("tops named 衫: 39") << "productInfo/list" << page(tops, "1", "衫")
                                       << "SELECT name FROM products WHERE type_id = 1 AND "
                                          "name LIKE '%衫%' ORDER BY sort";
    QTest::newRow("garments of the line, any type")
        << "productInfo/list"
        << QJsonObject{{"mercBusinessId", "4"}, {"pageNum", "1"}, {"pageSize", "40"}}
        << "SELECT name FROM products WHERE business_id = 4 ORDER BY sort";
    QTest::newRow("services of 衬衫")
        << "productService/list" << QJsonObject{{"productId", "2"}, {"pricingMode", "1"}}
        << "SELECT name FROM product_services WHERE product_id = 2 ORDER BY sort";
    QTest::newRow("colours named 色")
        << "productColor/list"
        << QJsonObject{{"keywords", "色"}, {"pageNum", "1"}, {"pageSize", "40"}}
        << "SELECT name FROM colors WHERE name LIKE '%色%' ORDER BY sort";
    QTest::newRow("flaws, page 2 of 5")
        << "productFlaw/list" << QJsonObject{{"keywords", ""}, {"pageNum", "2"}, {"pageSize", "5"}}
        << "SELECT name FROM flaws ORDER BY sort LIMIT 5 OFFSET 5";
    QTest::newRow("effects") << "productEffect/list"
                             << QJsonObject{{"keywords", ""}, {"pageNum", "1"}, {"pageSize", "40"}}
                             << "SELECT name FROM effects ORDER BY sort";
    QTest::newRow("brands named 安")
        << "productBrand/list"
        << QJsonObject{{"keywords", "安"}, {"pageNum", "1"}, {"pageSize", "40"}}
        << "SELECT name FROM brands WHERE name LIKE '%安%' ORDER BY sort";
    QTest::newRow("accessories of a coat: no shoelaces")
        << "productAnnex/list"
        << QJsonObject{{"businessId", "1"}, {"keywords", ""}, {"pageNum", "1"}, {"pageSize", "40"}}
        << "SELECT name FROM annexes WHERE business_id IS NULL OR business_id = 1 ORDER BY sort";
    QTest::newRow("accessories of a shoe")
        << "productAnnex/list"
        << QJsonObject{{"businessId", "2"},
                       {"keywords", "带"},
                       {"pageNum", "1"},
                       {"pageSize", "40"}}
        << "SELECT name FROM annexes WHERE name LIKE '%带%' ORDER BY sort";
    QTest::newRow("add-ons") << "productAddService/list"
                             << QJsonObject{{"businessId", "1"},
                                            {"keywords", ""},
                                            {"pageNum", "1"},
                                            {"pageSize", "40"}}
                             << "SELECT name FROM add_services ORDER BY sort";
}

void TestGarmentEntry::catalogueLists()
{
    QFETCH(QString, path);
    QFETCH(QJsonObject, fields);
    QFETCH(QString, expected);
    const QJsonObject reply = call(path, fields);
    QCOMPARE(codeOf(reply), 200);
    QVERIFY(reply.value("data").isArray());
    const QJsonArray rows = reply.value("data").toArray();

    BackendDatabase db;
    QVERIFY(db.open(databasePath()));
    QStringList want;
    for (const QStringList &row : db.rows(expected.toUtf8().constData()))
        want << row.value(0);
    QVERIFY(!want.isEmpty());
    QCOMPARE(names(rows), want);
    for (const auto &r : rows) {
        const QJsonObject o = r.toObject();
        QVERIFY(whole(o.value("id")) > 0);
        if (path == "productInfo/list") {
            QVERIFY(o.value("businessId").isDouble() && o.value("typeId").isDouble());
            QVERIFY(o.value("isCustomNum").isDouble() && o.value("unitText").isString());
            QCOMPARE(whole(o.value("saleDiscount")), 100); // no order: the full price
        }
        if (path == "productBusiness/list")
            QCOMPARE(o.value("businessId"), o.value("id"));
        if (path == "productService/list")
            QVERIFY(whole(o.value("price")) > 0);
        if (path == "productAddService/list")
            QVERIFY(o.value("amt").isDouble());
    }
}

void TestGarmentEntry::saleDiscountFollowsTheOrder_data()
{
    QTest::addColumn<QString>("userId");
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("saleDiscount");
    QTest::newRow("钻石会员, laundry") << "3"
                                       << "1" << 85;
    QTest::newRow("钻石会员, leather care") << "3"
                                            << "3" << 100;
    QTest::newRow("company member, laundry") << "2"
                                             << "1" << 90;
    QTest::newRow("普通会员") << "4"
                              << "1" << 100;
}

void TestGarmentEntry::saleDiscountFollowsTheOrder()
{
    QFETCH(QString, userId);
    QFETCH(QString, line);
    QFETCH(int, saleDiscount);
    const QString orderId = newOrder(userId);
    QVERIFY(!orderId.isEmpty());
    const QJsonArray rows = call("productInfo/list", {{"mercBusinessId", line},
                                                      {"orderId", orderId},
                                                      {"keywords", ""},
                                                      {"pageNum", "1"},
                                                      {"pageSize", "40"}})
                                .value("data")
                                .toArray();
    QVERIFY(!rows.isEmpty());
    for (const auto &r : rows)
        QCOMPARE(whole(r.toObject().value("saleDiscount")), saleDiscount);
}

void TestGarmentEntry::servicePricesFollowThePricingMode_data()
{
    QTest::addColumn<QString>("pricingMode");
    QTest::addColumn<QString>("orderOf"); // "" = no order
    QTest::addColumn<int>("price");
    QTest::newRow("store prices") << "1"
                                  << "" << 2000;
    QTest::newRow("company prices") << "2"
                                    << "" << 1800;
    QTest::newRow("a company member's order decides") << "1"
                                                      << "2" << 1800;
    QTest::newRow("a store customer's order decides") << "2"
                                                      << "3" << 2000;
}

void TestGarmentEntry::servicePricesFollowThePricingMode()
{
    QFETCH(QString, pricingMode);
    QFETCH(QString, orderOf);
    QFETCH(int, price);
    QJsonObject fields{{"productId", "10"}, {"pricingMode", pricingMode}};
    if (!orderOf.isEmpty())
        fields["orderId"] = newOrder(orderOf);
    const QJsonObject reply = call("productService/list", fields);
    QCOMPARE(codeOf(reply), 200);
    const QJsonArray rows = reply.value("data").toArray();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.at(0).toObject().value("name").toString(), QString("水洗"));
    QCOMPARE(whole(rows.at(0).toObject().value("price")), price);
}

// ---- stockIn/add ---------------------------------------------------------------------------

void TestGarmentEntry::addComputesTheAmounts_data()
{
    QTest::addColumn<QString>("userId");
    QTest::addColumn<QJsonObject>("fields");
    QTest::addColumn<QList<qint64>>(
        "amounts"); // unit price, service, after discount, add-ons, subtotal
    // What the terminal might claim is never read.
    const QJsonObject claims{{"serviceAmt", "1"}, {"saleAmt", "1"},   {"subtotal", "1"},
                             {"discount", "100"}, {"addsrvAmt", "0"}, {"price", "1"}};
    QJsonObject plain = claims;
    QTest::newRow("85 % of 20.00") << "3" << plain << QList<qint64>{2000, 2000, 1700, 0, 1700};
    QJsonObject addOn = claims;
    addOn["addServiceDesc"] = text({QJsonObject{{"id", "1"}, {"amt", "500"}, {"name", "去渍"}}});
    QTest::newRow("and an add-on of 5.00")
        << "3" << addOn << QList<qint64>{2000, 2000, 1700, 500, 2200};
    QJsonObject curtain = claims;
    curtain["mercBusinessId"] = "4";
    curtain["productId"] = "43";
    curtain["count"] = "250";
    QTest::newRow("2.5 m² of curtain at 15.00")
        << "3" << curtain << QList<qint64>{1500, 3750, 3187, 0, 3187};
    QTest::newRow("company prices, 90 %")
        << "2" << plain << QList<qint64>{1800, 1800, 1620, 0, 1620};
    QJsonObject leather = claims;
    leather["mercBusinessId"] = "3";
    leather["productId"] = "35";
    QTest::newRow("leather care: no member discount")
        << "3" << leather << QList<qint64>{18000, 18000, 18000, 0, 18000};
    QJsonObject byHand = addOn;
    byHand["chgSubtotal"] = "1999";
    QTest::newRow("subtotal set by hand")
        << "3" << byHand << QList<qint64>{2000, 2000, 1700, 500, 1999};
}

void TestGarmentEntry::addComputesTheAmounts()
{
    QFETCH(QString, userId);
    QFETCH(QJsonObject, fields);
    QFETCH(QList<qint64>, amounts);
    const QString orderId = newOrder(userId);
    const QString productId = fields.value("productId").toString("10");
    fields["proServiceId"] =
        dbValue("SELECT id FROM product_services WHERE product_id = " + productId +
                " ORDER BY sort LIMIT 1");
    const QJsonObject g = addGarment(orderId, fields);
    QVERIFY(!g.isEmpty());
    QCOMPARE(whole(g.value("serviceAmt")), amounts[0]);
    QCOMPARE(whole(g.value("saleAmt")), amounts[2]);
    QCOMPARE(whole(g.value("addsrvAmt")), amounts[3]);
    QCOMPARE(whole(g.value("subtotal")), amounts[4]);
    QCOMPARE(whole(g.value("no")), 1);
    QVERIFY(QRegularExpression("^701\\d{7}$").match(g.value("scanCode").toString()).hasMatch());

    // Stored as worked out, and the order's price follows.
    const QString id = QString::number(whole(g.value("id")));
    QCOMPARE(dbValue("SELECT unit_price || '/' || service_amt || '/' || sale_amt || '/' || "
                     "addsrv_amt || '/' || subtotal FROM order_products WHERE id = " +
                     id),
             QString("%1/%2/%3/%4/%5")
                 .arg(amounts[0])
                 .arg(amounts[1])
                 .arg(amounts[2])
                 .arg(amounts[3])
                 .arg(amounts[4]));
    QCOMPARE(
        dbValue("SELECT order_price || '/' || payable_price FROM orders WHERE id = " + orderId),
        QString("%1/%1").arg(amounts[4]));
    // The ticket prints the garment's own price and discount.
    const QJsonObject ticket =
        call("print/order/detail", {{"orderId", orderId}}).value("data").toObject();
    const QJsonObject printed = ticket.value("orderProductList").toArray().at(0).toObject();
    QCOMPARE(whole(printed.value("serviceAmt")), amounts[0]);
    QCOMPARE(whole(printed.value("subtotal")), amounts[4]);
    QCOMPARE(whole(printed.value("discount")),
             dbValue("SELECT discount FROM order_products WHERE id = " + id).toLongLong());
    QCOMPARE(whole(ticket.value("orderPrice")), amounts[4]);
}

void TestGarmentEntry::addRefusals_data()
{
    QTest::addColumn<QJsonObject>("fields");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("msg");
    QTest::newRow("no garment") << QJsonObject{{"productId", ""}} << 400 << "请选择衣物";
    QTest::newRow("no service") << QJsonObject{{"proServiceId", ""}} << 400 << "请选择服务";
    QTest::newRow("another garment's service")
        << QJsonObject{{"proServiceId", "1"}} << 400 << "所选服务不属于此衣物";
    QTest::newRow("another project")
        << QJsonObject{{"mercBusinessId", "4"}} << 400 << "衣物不属于所选项目";
    QTest::newRow("unknown garment") << QJsonObject{{"productId", "9999"}} << 404 << "衣物不存在";
    QTest::newRow("by size without a size")
        << QJsonObject{{"mercBusinessId", "4"}, {"productId", "43"}, {"proServiceId", "sv43"}}
        << 400 << "请输入正确的衣物面积";
    QTest::newRow("unknown colour")
        << QJsonObject{{"colorDesc", text({entry("999", "紫红")})}} << 404 << "颜色不存在";
    QTest::newRow("two colours") << QJsonObject{{"colorDesc",
                                                 text({entry("1", "黑色"), entry("2", "白色")})}}
                                 << 400 << "颜色只能选一种";
    QTest::newRow("typed flaw without a name")
        << QJsonObject{{"flawDesc", text({entry("null", " ")})}} << 400 << "名称不能为空: flawDesc";
    QTest::newRow("add-on amount in yuan with a point")
        << QJsonObject{{"addServiceDesc",
                        text({QJsonObject{{"id", "1"}, {"amt", "5.00"}, {"name", "去渍"}}})}}
        << 400 << "附加服务金额错误";
    QTest::newRow("negative add-on")
        << QJsonObject{{"addServiceDesc",
                        text({QJsonObject{{"id", ""}, {"amt", -500}, {"name", "补色"}}})}}
        << 400 << "附加服务金额错误";
    QTest::newRow("subtotal 1.2.3")
        << QJsonObject{{"chgSubtotal", "1.2.3"}} << 400 << "参数类型错误: chgSubtotal";
    QTest::newRow("negative subtotal")
        << QJsonObject{{"chgSubtotal", "-5"}} << 400 << "衣物金额错误";
    // -1 is how the backend keeps "none": sent, it is a negative amount like any other.
    QTest::newRow("subtotal -1") << QJsonObject{{"chgSubtotal", "-1"}} << 400 << "衣物金额错误";
    QTest::newRow("list that is no list")
        << QJsonObject{{"flawDesc", "污渍"}} << 400 << "参数格式错误: flawDesc";
}

void TestGarmentEntry::addRefusals()
{
    QFETCH(QJsonObject, fields);
    QFETCH(int, code);
    QFETCH(QString, msg);
    const QString orderId = newOrder("3");
    QJsonObject body{{"orderId", orderId}, {"mercBusinessId", "1"}, {"productId", "10"}};
    body["proServiceId"] = dbValue("SELECT id FROM product_services WHERE product_id = 10");
    for (auto it = fields.begin(); it != fields.end(); ++it)
        body.insert(it.key(), it.value());
    if (body.value("proServiceId") == "sv43")
        body["proServiceId"] = dbValue("SELECT id FROM product_services WHERE product_id = 43");
    const QJsonObject reply = call("stockIn/add", body);
    QCOMPARE(codeOf(reply), code);
    QCOMPARE(reply.value("msg").toString(), msg);
    QCOMPARE(dbValue("SELECT COUNT(*) FROM order_products WHERE order_id = " + orderId),
             QString("0"));
}

void TestGarmentEntry::otherStoresOrdersAndGarments()
{
    const QString orderId = newOrder("3");
    const QJsonObject g = addGarment(orderId);
    QVERIFY(!g.isEmpty());
    const QString orderNo = dbValue("SELECT order_no FROM orders WHERE id = " + orderId);
    const QString service = dbValue("SELECT id FROM product_services WHERE product_id = 10");
    const QJsonObject add{{"orderId", orderId}, {"productId", "10"}, {"proServiceId", service}};
    QJsonObject update = add;
    update["id"] = QString::number(whole(g.value("id")));

    struct Case
    {
        const char *path;
        QJsonObject fields;
    };
    const Case cases[] = {
        {"stockIn/add", add},
        {"stockIn/update", update},
        {"stockIn/queryOrder", {{"keywords", orderNo}}},
        {"orderProductRel/detail", {{"scanCode", g.value("scanCode").toString()}}},
        {"productInfo/list", {{"mercBusinessId", "1"}, {"orderId", orderId}}}};
    for (const Case &c : cases) {
        const QJsonObject reply = call(c.path, c.fields, &store2);
        QCOMPARE(codeOf(reply), 403);
        QVERIFY2(reply.value("msg").toString().startsWith("非此门店"), c.path);
    }
    QCOMPARE(dbValue("SELECT COUNT(*) FROM order_products WHERE order_id = " + orderId),
             QString("1"));
    QCOMPARE(dbValue("SELECT subtotal FROM order_products WHERE order_id = " + orderId),
             QString("1700"));
}

// ---- stockIn/queryOrder ---------------------------------------------------------------------

void TestGarmentEntry::queryOrderForIntake()
{
    const QString orderId = newOrder("2");
    const QString orderNo = dbValue("SELECT order_no FROM orders WHERE id = " + orderId);
    QJsonObject reply = call("stockIn/queryOrder", {{"keywords", orderNo}});
    QCOMPARE(codeOf(reply), 200);
    QJsonObject data = reply.value("data").toObject();
    QJsonObject info = data.value("orderInfo").toObject();
    QCOMPARE(info.value("id").toVariant().toString(), orderId);
    QCOMPARE(info.value("orderNo").toString(), orderNo);
    QCOMPARE(whole(info.value("pricingMode")), 2);
    QCOMPARE(info.value("userInfo").toObject().value("phone").toString(), QString("13912340002"));
    QCOMPARE(info.value("userInfo").toObject().value("cardNo").toString(), QString("VIP0002"));
    QVERIFY(data.value("proList").toArray().isEmpty());
    QCOMPARE(data.value("isEnableFinishStockIn").toBool(), false);
    QCOMPARE(data.value("isEnablePay").toBool(), false);

    const QJsonObject coat = addGarment(
        orderId,
        {{"productId", "19"},
         {"proServiceId", dbValue("SELECT id FROM product_services WHERE product_id = 19")},
         {"annexDesc", text({entry("1", "腰带")})}});
    addGarment(orderId);
    data = call("stockIn/queryOrder", {{"keywords", orderNo}}).value("data").toObject();
    const QJsonArray list = data.value("proList").toArray();
    // The coat, its belt, the jeans: numbered in that order.
    QCOMPARE(list.size(), 3);
    QCOMPARE(whole(list.at(0).toObject().value("type")), 1);
    QCOMPARE(list.at(0).toObject().value("scanCode"), coat.value("scanCode"));
    QCOMPARE(whole(list.at(1).toObject().value("type")), 2);
    QCOMPARE(list.at(1).toObject().value("productName").toString(), QString("腰带"));
    QCOMPARE(whole(list.at(2).toObject().value("no")), 3);
    QCOMPARE(list.at(2).toObject().value("businessName").toString(), QString("洗衣"));
    qint64 sum = 0;
    for (const auto &r : list)
        sum += whole(r.toObject().value("subtotal"));
    info = data.value("orderInfo").toObject();
    QCOMPARE(whole(info.value("orderPrice")), sum);
    QCOMPARE(whole(info.value("paymentPrice")), sum);
    QCOMPARE(whole(info.value("createCnt")), 2);
    QCOMPARE(data.value("isEnableFinishStockIn").toBool(), true);
    QCOMPARE(data.value("isEnablePay").toBool(), true);
    QCOMPARE(data.value("isPaid").toBool(), false);

    QCOMPARE(codeOf(call("stockIn/queryOrder", {{"keywords", "999999999999"}})), 404);
}

// ---- accessories, changes ----------------------------------------------------------------

void TestGarmentEntry::accessoriesAreItemsWithCodes()
{
    const QString orderId = newOrder("3");
    const QJsonObject g =
        addGarment(orderId, {{"annexDesc", text({entry("1", "腰带"), entry("null", "挂件")})}});
    const QString id = QString::number(whole(g.value("id")));
    BackendDatabase db;
    QVERIFY(db.open(databasePath()));
    const auto before = db.rows("SELECT name, scan_code, IFNULL(annex_id, 0) FROM "
                                "order_product_annexes WHERE order_product_id = ? ORDER BY id",
                                {id});
    QCOMPARE(before.size(), 2);
    QCOMPARE(before[0][0], QString("腰带"));
    QCOMPARE(before[1], (QStringList{"挂件", before[1][1], "0"}));
    for (const QStringList &a : before)
        QVERIFY(QRegularExpression("^601\\d{7}$").match(a[1]).hasMatch());
    // The wash labels print one label for each.
    const QJsonObject label =
        call("print/product/detail", {{"orderProId", id}}).value("data").toObject();
    QCOMPARE(label.value("annexList").toArray().size(), 2);

    // Dropping the typed one keeps the belt's code.
    QJsonObject update{
        {"id", id},
        {"orderId", orderId},
        {"productId", "10"},
        {"proServiceId", dbValue("SELECT id FROM product_services WHERE product_id = 10")},
        {"annexDesc", text({entry("1", "腰带"), entry("null", "吊牌")})}};
    QCOMPARE(codeOf(call("stockIn/update", update)), 200);
    const auto after = db.rows("SELECT name, scan_code FROM order_product_annexes "
                               "WHERE order_product_id = ? ORDER BY id",
                               {id});
    QCOMPARE(after.size(), 2);
    QCOMPARE(after[0], (QStringList{"腰带", before[0][1]}));
    QCOMPARE(after[1][0], QString("吊牌"));
    QVERIFY(after[1][1] != before[1][1]);
}

void TestGarmentEntry::updateRebuildsOnlyWhatIsSent()
{
    const QString orderId = newOrder("3");
    const QString flaws = text({entry("2", "污渍"), entry("1", "破损"), entry("null", "袖口磨损")});
    const QJsonObject g = addGarment(
        orderId,
        {{"flawDesc", flaws},
         {"colorDesc", text({QJsonObject{{"name", "墨绿"}}})},
         {"brandName", "自家品牌"},
         {"addServiceDesc", text({QJsonObject{{"id", "1"}, {"amt", "500"}, {"name", "去渍"}}})}});
    const QString id = QString::number(whole(g.value("id")));
    const QString storedFlaws = dbValue("SELECT flaw_desc FROM order_products WHERE id = " + id);
    const QJsonArray flawList = QJsonDocument::fromJson(storedFlaws.toUtf8()).array();
    QCOMPARE(names(flawList), (QStringList{"污渍", "破损", "袖口磨损"}));
    QCOMPARE(flawList.at(2).toObject().value("id").toString(), QString("null"));
    QCOMPARE(dbValue("SELECT brand_name || '/' || IFNULL(brand_id, '-') FROM order_products "
                     "WHERE id = " +
                     id),
             QString("自家品牌/-"));

    // Changed into a dry-cleaned shirt: priced anew, under the same code.
    const QString shirtDry =
        dbValue("SELECT id FROM product_services WHERE product_id = 2 AND name = '干洗'");
    QJsonObject update{{"id", id},         {"orderId", orderId},       {"mercBusinessId", "1"},
                       {"productId", "2"}, {"proServiceId", shirtDry}, {"effectDesc", ""}};
    QJsonObject reply = call("stockIn/update", update);
    QCOMPARE(codeOf(reply), 200);
    QJsonObject changed = reply.value("data").toObject();
    // Lists not sent stay as stored; the one sent empty is emptied.
    QCOMPARE(dbValue("SELECT flaw_desc FROM order_products WHERE id = " + id), storedFlaws);
    QCOMPARE(dbValue("SELECT effect_desc FROM order_products WHERE id = " + id), QString("[]"));
    QCOMPARE(changed.value("productName").toString(), QString("衬衫"));
    QCOMPARE(whole(changed.value("serviceAmt")), 2500);
    QCOMPARE(whole(changed.value("saleAmt")), 2125);
    QCOMPARE(whole(changed.value("addsrvAmt")), 500);
    QCOMPARE(whole(changed.value("subtotal")), 2625);
    QVERIFY(changed.value("chgSubtotal").isNull());
    QCOMPARE(changed.value("scanCode"), g.value("scanCode"));

    // The flaws sent empty, a subtotal by hand; the detail reads back what is stored.
    update["flawDesc"] = "";
    update["chgSubtotal"] = "1999";
    QCOMPARE(codeOf(call("stockIn/update", update)), 200);
    const QJsonObject detail = call("orderProductRel/detail", {{"scanCode", g.value("scanCode")}})
                                   .value("data")
                                   .toObject()
                                   .value("productInfo")
                                   .toObject();
    QCOMPARE(detail.value("flawDesc").toString(), QString("[]"));
    QCOMPARE(whole(detail.value("chgSubtotal")), 1999);
    QCOMPARE(whole(detail.value("subtotal")), 1999);
    QCOMPARE(whole(detail.value("discount")), 85);
    QCOMPARE(whole(detail.value("proServiceId")), shirtDry.toLongLong());
    QCOMPARE(detail.value("serviceName").toString(), QString("干洗"));
    QCOMPARE(detail.value("businessName").toString(), QString("洗衣"));
    QCOMPARE(whole(detail.value("orderId")), orderId.toLongLong());
    QCOMPARE(dbValue("SELECT order_price FROM orders WHERE id = " + orderId), QString("1999"));
}

void TestGarmentEntry::updateRefusals()
{
    const QString orderId = newOrder("3");
    const QString otherOrder = newOrder("4");
    const QJsonObject g = addGarment(orderId);
    const QString service = dbValue("SELECT id FROM product_services WHERE product_id = 10");
    QJsonObject update{{"id", QString::number(whole(g.value("id")))},
                       {"orderId", otherOrder},
                       {"productId", "10"},
                       {"proServiceId", service}};
    QJsonObject reply = call("stockIn/update", update);
    QCOMPARE(codeOf(reply), 400);
    QCOMPARE(reply.value("msg").toString(), QString("衣物不属于此订单"));

    // Garments of orders that went on: a bagged garment, a paid order, a voided order.
    const QString bagged = dbValue("SELECT p.id || '/' || p.order_id FROM order_products p "
                                   "WHERE p.status = 11 LIMIT 1");
    update["id"] = bagged.section('/', 0, 0);
    update["orderId"] = bagged.section('/', 1, 1);
    reply = call("stockIn/update", update);
    QCOMPARE(codeOf(reply), 409);
    const QString paid = dbValue("SELECT id FROM orders WHERE pay_status = 1 AND status = 10 "
                                 "AND store_id = 1 LIMIT 1");
    reply =
        call("stockIn/add", {{"orderId", paid}, {"productId", "10"}, {"proServiceId", service}});
    QCOMPARE(codeOf(reply), 409);
    QCOMPARE(reply.value("msg").toString(), QString("订单已付款，不能修改衣物"));
    const QString voided = dbValue("SELECT id FROM orders WHERE destroyed_at IS NOT NULL LIMIT 1");
    reply =
        call("stockIn/add", {{"orderId", voided}, {"productId", "10"}, {"proServiceId", service}});
    QCOMPARE(codeOf(reply), 409);
    QCOMPARE(reply.value("msg").toString(), QString("订单已作废"));
}

void TestGarmentEntry::lostReplyRetryAddsOneGarment()
{
    const QString orderId = newOrder("3");
    QJsonObject body = store1.body();
    const QJsonObject fields{
        {"orderId", orderId},
        {"productId", "10"},
        {"proServiceId", dbValue("SELECT id FROM product_services WHERE product_id = 10")},
        {"flawDesc", text({entry("2", "污渍")})}};
    for (auto it = fields.begin(); it != fields.end(); ++it)
        body.insert(it.key(), it.value());
    const QByteArray bytes = QJsonDocument(body).toJson(QJsonDocument::Compact);
    const QString target = "/mac/stockIn/add?" + BackendClient::signedQuery(body);

    const QJsonObject first = QJsonDocument::fromJson(client().postRaw(target, bytes)).object();
    const QJsonObject retry = QJsonDocument::fromJson(client().postRaw(target, bytes)).object();
    QCOMPARE(codeOf(retry), 200);
    QCOMPARE(retry, first);
    QCOMPARE(dbValue("SELECT COUNT(*) FROM order_products WHERE order_id = " + orderId),
             QString("1"));
}

QTEST_GUILESS_MAIN(TestGarmentEntry)
#include "tst_garmententry.moc"
