// The reference backend's member, address, coupon and order-header endpoints, as the
// place-order screen uses them, on a backend of the test's own (the card and coupon cases
// change demo members that other tests read).

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTest>

#include "apibackend.h"

namespace {

QString today(int days = 0)
{
    return QDate::currentDate().addDays(days).toString("yyyy-MM-dd");
}

} // namespace

class TestOrderingService : public QObject, private ApiBackend
{
    Q_OBJECT

private slots:
    void initTestCase();

    void queryByKey_data();
    void queryByKey();
    void memberCardOnTheReader_data();
    void memberCardOnTheReader();
    void addressesDefaultMovesToTheNewOne();
    void tagsAreReplacedAndNewOnesCreatedOnce();
    void profileEdits_data();
    void profileEdits();
    void couponCodeWorksOnce();
    void memberCardBindCancelUnbind();
    void addOrderStoresTheHeader_data();
    void addOrderStoresTheHeader();
    void addOrderRefusals_data();
    void addOrderRefusals();
    void lostReplyRetryCreatesOneOrder();

private:
    QJsonObject user(const QString &key);
    // One value of the first row of a query on the backend's database file.
    QString dbValue(const QString &sql);
};

void TestOrderingService::initTestCase()
{
    QVERIFY2(start(), qPrintable(output()));
}

QJsonObject TestOrderingService::user(const QString &key)
{
    return call("userInfo/queryByKey", {{"key", key}})
        .value("data")
        .toObject()
        .value("user")
        .toObject();
}

QString TestOrderingService::dbValue(const QString &sql)
{
    BackendDatabase db;
    if (!db.open(databasePath()))
        return {};
    const auto rows = db.rows(sql.toUtf8().constData());
    if (rows.isEmpty())
        return {};
    return rows.first().value(0).isNull() ? "NULL" : rows.first().value(0);
}

void TestOrderingService::queryByKey_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("userId"); // 0: nobody
    QTest::newRow("phone") << "13912340007" << 7;
    QTest::newRow("card number") << "VIP0012" << 12;
    QTest::newRow("card number, other case") << "vip0012" << 12;
    QTest::newRow("rfid number") << "e004010000000003" << 3;
    QTest::newRow("unknown phone") << "13900000000" << 0;
    QTest::newRow("unknown card") << "VIP9999" << 0;
}

void TestOrderingService::queryByKey()
{
    QFETCH(QString, key);
    QFETCH(int, userId);
    const QJsonObject reply = call("userInfo/queryByKey", {{"key", key}});
    QCOMPARE(codeOf(reply), 200);
    const QJsonObject data = reply.value("data").toObject();
    if (userId == 0) {
        QVERIFY(data.isEmpty());
        return;
    }
    const QJsonObject u = data.value("user").toObject();
    QCOMPARE(u.value("info").toObject().value("id").toInt(), userId);
    const QString seq = QString("%1").arg(userId, 4, 10, QChar('0'));
    QCOMPARE(u.value("info").toObject().value("phone").toString(), "1391234" + seq);
    QCOMPARE(u.value("card").toObject().value("no").toString(), "VIP" + seq);
    QCOMPARE(u.value("card").toObject().value("isBinding").toInt(), userId <= 5 ? 1 : 0);
    QVERIFY(
        !u.value("card").toObject().value("info").toObject().value("name").toString().isEmpty());
    QVERIFY(u.value("group").toObject().contains("name"));
    QVERIFY(u.contains("couponCnt"));
    QVERIFY(u.value("ext").toObject().contains("balance"));
}

void TestOrderingService::memberCardOnTheReader_data()
{
    QTest::addColumn<QString>("secret");
    QTest::addColumn<int>("userId");
    QTest::newRow("member 2's card") << "e004010000000002" << 2;
    QTest::newRow("card in stock") << "e004010000000009" << 0;
    QTest::newRow("staff card") << "STAFF-0001-ZL" << 0;
}

void TestOrderingService::memberCardOnTheReader()
{
    QFETCH(QString, secret);
    QFETCH(int, userId);
    const QJsonObject reply = call("rfid/user", {{"rfidSecret", secret}});
    QCOMPARE(codeOf(reply), 200);
    const QJsonObject info =
        reply.value("data").toObject().value("user").toObject().value("info").toObject();
    QCOMPARE(info.value("id").toInt(), userId);
}

void TestOrderingService::addressesDefaultMovesToTheNewOne()
{
    const QString userId = "3";
    const QJsonArray before =
        call("userAddress/list", {{"userId", userId}}).value("data").toArray();
    QCOMPARE(before.size(), 2);
    QJsonObject added = call("userAddress/add", {{"userId", userId},
                                                 {"name", "李四"},
                                                 {"sex", "1"},
                                                 {"phone", "13800000000"},
                                                 {"regionalId", "310104"},
                                                 {"regionalDesc", "上海市徐汇区"},
                                                 {"detail", "漕溪北路331弄5号楼203室"},
                                                 {"latitude", "31.183517"},
                                                 {"longitude", "121.441127"},
                                                 {"def", "1"}});
    QCOMPARE(codeOf(added), 200);
    const QJsonArray after = call("userAddress/list", {{"userId", userId}}).value("data").toArray();
    QCOMPARE(after.size(), 3);
    int defaults = 0;
    for (const auto &a : after)
        defaults += a.toObject().value("def").toInt();
    QCOMPARE(defaults, 1);
    const QJsonObject last = after.last().toObject();
    QCOMPARE(last.value("def").toInt(), 1);
    QCOMPARE(last.value("regionalDesc").toString(), QString("上海市徐汇区"));
    QCOMPARE(last.value("detail").toString(), QString("漕溪北路331弄5号楼203室"));
    QCOMPARE(last.value("regionalId").toInt(), 310104);
    // Another member's list is untouched, and a missing detail is refused.
    QCOMPARE(call("userAddress/list", {{"userId", "4"}}).value("data").toArray().size(), 1);
    QCOMPARE(codeOf(call("userAddress/add", {{"userId", userId},
                                             {"name", "a"},
                                             {"phone", "1"},
                                             {"regionalDesc", ""},
                                             {"detail", ""}})),
             400);
}

void TestOrderingService::tagsAreReplacedAndNewOnesCreatedOnce()
{
    const int allBefore =
        call("userTag/all", {}).value("data").toObject().value("list").toArray().size();
    const QString tags =
        "[{\"id\":\"2\", \"name\":\"高端衣物\"},{\"id\":\"\", \"name\":\"爱干净\"}]";
    for (int round = 0; round < 2; ++round)
        QCOMPARE(codeOf(call("userInfo/updateTag", {{"id", "9"}, {"tags", tags}})), 200);
    const QJsonArray mine =
        call("userTag/list", {{"userId", "9"}}).value("data").toObject().value("list").toArray();
    QStringList names;
    for (const auto &t : mine)
        names << t.toObject().value("name").toString();
    QCOMPARE(names, QStringList({"高端衣物", "爱干净"}));
    QCOMPARE(call("userTag/all", {}).value("data").toObject().value("list").toArray().size(),
             allBefore + 1);
    QCOMPARE(codeOf(call("userInfo/updateTag", {{"id", "9"}, {"tags", "not json"}})), 400);
    QCOMPARE(codeOf(call("userInfo/updateTag",
                         {{"id", "9"}, {"tags", "[{\"id\":\"999\", \"name\":\"x\"}]"}})),
             404);
}

void TestOrderingService::profileEdits_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("recordPath"); // part.key of the customer record
    QTest::addColumn<QString>("shown");
    QTest::newRow("name") << "userInfo/updateName"
                          << "name"
                          << "王小二" << 200 << "info.name"
                          << "王小二";
    QTest::newRow("empty name") << "userInfo/updateName"
                                << "name"
                                << " " << 400 << ""
                                << "";
    QTest::newRow("sex") << "userInfo/updateSex"
                         << "sex"
                         << "2" << 200 << "info.sex"
                         << "2";
    QTest::newRow("sex out of range") << "userInfo/updateSex"
                                      << "sex"
                                      << "3" << 400 << ""
                                      << "";
    QTest::newRow("group") << "userInfo/updateGroup"
                           << "groupId"
                           << "4" << 200 << "group.name"
                           << "高端客户";
    QTest::newRow("default group") << "userInfo/updateGroup"
                                   << "groupId"
                                   << "-1" << 200 << "group.name"
                                   << "默认分组";
    QTest::newRow("unknown group") << "userInfo/updateGroup"
                                   << "groupId"
                                   << "99" << 404 << ""
                                   << "";
    QTest::newRow("birthday") << "userInfo/updateBirthday"
                              << "birthday"
                              << "1990-02-28" << 200 << "ext.birthday"
                              << "1990-02-28";
    QTest::newRow("birthday 30 February") << "userInfo/updateBirthday"
                                          << "birthday"
                                          << "1990-02-30" << 400 << ""
                                          << "";
    QTest::newRow("birthday tomorrow") << "userInfo/updateBirthday"
                                       << "birthday" << today(1) << 400 << ""
                                       << "";
}

void TestOrderingService::profileEdits()
{
    QFETCH(QString, path);
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(int, code);
    QFETCH(QString, recordPath);
    QFETCH(QString, shown);
    const QJsonObject before = user("13912340011");
    QCOMPARE(codeOf(call(path, {{"id", "11"}, {field, value}})), code);
    const QJsonObject after = user("13912340011");
    if (code != 200) {
        QCOMPARE(after, before);
        return;
    }
    const QStringList parts = recordPath.split('.');
    const QJsonValue v = after.value(parts[0]).toObject().value(parts[1]);
    QCOMPARE(v.isString() ? v.toString() : QString::number(v.toInt()), shown);
}

void TestOrderingService::couponCodeWorksOnce()
{
    const int before = user("13912340002").value("couponCnt").toInt();
    const int listed =
        call("couponInfo/userList", {{"userId", "2"}}).value("data").toArray().size();
    QCOMPARE(listed, before);
    QCOMPARE(codeOf(call("couponFCode/exchangeCode", {{"code", "8888000004"}, {"userId", "2"}})),
             200);
    const QJsonArray coupons =
        call("couponInfo/userList", {{"userId", "2"}}).value("data").toArray();
    QCOMPARE(coupons.size(), before + 1);
    QCOMPARE(user("13912340002").value("couponCnt").toInt(), before + 1);
    bool found = false;
    for (const auto &c : coupons)
        if (c.toObject().value("name").toString() == "满100减20") {
            found = true;
            QCOMPARE(c.toObject().value("fullAmount").toInt(), 10000);
            QCOMPARE(c.toObject().value("amount").toInt(), 2000);
            QVERIFY(c.toObject().value("timeEnd").toDouble() >
                    c.toObject().value("timeStart").toDouble());
        }
    QVERIFY(found);
    QCOMPARE(codeOf(call("couponFCode/exchangeCode", {{"code", "8888000004"}, {"userId", "4"}})),
             409);
    QCOMPARE(codeOf(call("couponFCode/exchangeCode", {{"code", "12345"}, {"userId", "4"}})), 404);
    QCOMPARE(call("couponInfo/userList", {{"userId", "2"}}).value("data").toArray().size(),
             before + 1);
}

void TestOrderingService::memberCardBindCancelUnbind()
{
    auto bind = [&](const QString &userId, const QString &card, const QString &check) {
        return codeOf(call("rfid/user/manual/binding",
                           {{"userId", userId}, {"rfidNo", card}, {"checkCode", check}}));
    };
    QCOMPARE(bind("6", "e004010000000006", "999999"), 403);
    QCOMPARE(bind("6", "e004010000000006", "120006"), 200);
    QCOMPARE(user("13912340006").value("card").toObject().value("rfidNo").toString(),
             QString("e004010000000006"));
    QCOMPARE(bind("6", "e004010000000007", "120007"), 409); // one card per member
    QCOMPARE(bind("7", "e004010000000006", "120006"), 409); // the card is on member 6
    QCOMPARE(bind("7", "e00401000000FFFF", "1"), 404);

    // Unbound, the card goes back to stock and can go onto another member.
    QCOMPARE(codeOf(call("rfid/user/unbundling", {{"userId", "6"}})), 200);
    QCOMPARE(user("13912340006").value("card").toObject().value("isBinding").toInt(), 0);
    QCOMPARE(codeOf(call("rfid/user/unbundling", {{"userId", "6"}})), 409);
    QCOMPARE(bind("7", "e004010000000006", "120006"), 200);

    // A lost card is voided: off the member and never bound again.
    QCOMPARE(codeOf(call("rfid/user/cancel", {{"userId", "7"}})), 200);
    QCOMPARE(user("13912340007").value("card").toObject().value("isBinding").toInt(), 0);
    QVERIFY(
        call("rfid/user", {{"rfidSecret", "e004010000000006"}}).value("data").toObject().isEmpty());
    QCOMPARE(bind("8", "e004010000000006", "120006"), 409);
}

void TestOrderingService::addOrderStoresTheHeader_data()
{
    QTest::addColumn<QJsonObject>("fields");
    QTest::addColumn<QString>("stored"); // the header columns, joined by "|"
    QTest::newRow("at the store both ways")
        << QJsonObject{{"userId", "1"},   {"takeMode", "1"},     {"sendMode", "1"},
                       {"priority", "0"}, {"takeAddrId", ""},    {"sendAddrId", ""},
                       {"remark", ""},    {"userRemark", "轻洗"}}
        << "0|0|-|-|||||轻洗||0";
    QTest::newRow("take 1, send 2")
        << QJsonObject{{"userId", "1"},       {"takeMode", "1"},   {"sendMode", "2"},
                       {"priority", "0"},     {"takeAddrId", "1"}, {"sendAddrId", "1"},
                       {"remark", ""},        {"userRemark", ""},  {"tag", "企业客户"},
                       {"sendDate", today(2)}}
        << "0|1|1|1||||" + today(2) + "||企业客户|0";
    QTest::newRow("take 2, send 2")
        << QJsonObject{{"userId", "1"},          {"takeMode", "2"},
                       {"sendMode", "2"},        {"priority", "0"},
                       {"takeAddrId", "1"},      {"sendAddrId", "1"},
                       {"remark", "袖口有污渍"}, {"userRemark", ""},
                       {"takeDate", today(1)},   {"takeTimeStart", "09:00"},
                       {"takeTimeEnd", "11:00"}, {"sendDate", today(1)}}
        << "1|1|1|1|" + today(1) + "|09:00|11:00|" + today(1) + "|||0";
}

void TestOrderingService::addOrderStoresTheHeader()
{
    QFETCH(QJsonObject, fields);
    QFETCH(QString, stored);
    const QJsonObject reply = call("orderInfo/add", fields);
    QCOMPARE(codeOf(reply), 200);
    const QString orderNo = reply.value("data").toString();
    QVERIFY2(QRegularExpression("^\\d{6}01\\d{4}$").match(orderNo).hasMatch(), qPrintable(orderNo));
    QCOMPARE(
        dbValue("SELECT take_mode || '|' || send_mode || '|' || IFNULL(take_address_id,'-') "
                "|| '|' || IFNULL(send_address_id,'-') || '|' || take_date || '|' || "
                "take_time_start || '|' || take_time_end || '|' || send_date || '|' || "
                "user_remark || '|' || mark || '|' || priority FROM orders WHERE order_no = '" +
                orderNo + "'"),
        stored);
    QCOMPARE(
        dbValue(
            "SELECT user_id || '/' || status || '/' || worker_id FROM orders WHERE order_no = '" +
            orderNo + "'"),
        QString("1/0/1"));
    const QString remark = fields.value("remark").toString();
    QCOMPARE(dbValue("SELECT COUNT(*) FROM order_remarks r JOIN orders o ON o.id = r.order_id "
                     "WHERE o.order_no = '" +
                     orderNo + "'"),
             QString(remark.isEmpty() ? "0" : "1"));
}

void TestOrderingService::addOrderRefusals_data()
{
    QTest::addColumn<QJsonObject>("fields");
    QTest::addColumn<int>("code");
    const QJsonObject base{{"userId", "1"},   {"takeMode", "1"},  {"sendMode", "1"},
                           {"priority", "0"}, {"takeAddrId", ""}, {"sendAddrId", ""},
                           {"remark", ""},    {"userRemark", ""}};
    auto with = [&](const QJsonObject &more) {
        QJsonObject o = base;
        for (auto it = more.begin(); it != more.end(); ++it)
            o.insert(it.key(), it.value());
        return o;
    };
    QTest::newRow("mode 3") << with({{"takeMode", "3"}}) << 400;
    QTest::newRow("unknown member") << with({{"userId", "999"}}) << 404;
    QTest::newRow("another member's address") << with({{"takeAddrId", "5"}}) << 404;
    QTest::newRow("send 2 without address")
        << with({{"sendMode", "2"}, {"sendDate", today()}}) << 400;
    QTest::newRow("send 2 without date") << with({{"sendMode", "2"}, {"sendAddrId", "1"}}) << 400;
    QTest::newRow("send date yesterday")
        << with({{"sendMode", "2"}, {"sendAddrId", "1"}, {"sendDate", today(-1)}}) << 400;
    QTest::newRow("take slot backwards") << with({{"takeMode", "2"},
                                                  {"takeAddrId", "1"},
                                                  {"takeDate", today()},
                                                  {"takeTimeStart", "11:00"},
                                                  {"takeTimeEnd", "09:00"}})
                                         << 400;
    QTest::newRow("send before take") << with({{"takeMode", "2"},
                                               {"sendMode", "2"},
                                               {"takeAddrId", "1"},
                                               {"sendAddrId", "1"},
                                               {"takeDate", today(2)},
                                               {"takeTimeStart", "09:00"},
                                               {"takeTimeEnd", "11:00"},
                                               {"sendDate", today(1)}})
                                      << 400;
    QTest::newRow("remarkJson not an array")
        << with({{"remark", "x"}, {"remarkJson", "{}"}}) << 400;
}

void TestOrderingService::addOrderRefusals()
{
    QFETCH(QJsonObject, fields);
    QFETCH(int, code);
    const QString count = dbValue("SELECT COUNT(*) FROM orders");
    QCOMPARE(codeOf(call("orderInfo/add", fields)), code);
    QCOMPARE(dbValue("SELECT COUNT(*) FROM orders"), count);
}

// The terminal resends the very text of a failed attempt; when only the reply was lost the
// backend answers the first order's number instead of creating a second order.
void TestOrderingService::lostReplyRetryCreatesOneOrder()
{
    QJsonObject body = store1.body();
    const QJsonObject fields{{"userId", "2"},   {"takeMode", "1"},   {"sendMode", "1"},
                             {"priority", "0"}, {"takeAddrId", "2"}, {"sendAddrId", "2"},
                             {"remark", ""},    {"userRemark", ""}};
    for (auto it = fields.begin(); it != fields.end(); ++it)
        body.insert(it.key(), it.value());
    const QByteArray text = QJsonDocument(body).toJson(QJsonDocument::Compact);
    const QString target = "/mac/orderInfo/add?" + BackendClient::signedQuery(body);
    const QString count = dbValue("SELECT COUNT(*) FROM orders WHERE user_id = 2");

    QVERIFY(!client().postRaw(target, text).isEmpty()); // this reply is "lost"
    const QJsonObject retry = QJsonDocument::fromJson(client().postRaw(target, text)).object();
    QCOMPARE(codeOf(retry), 200);
    QCOMPARE(dbValue("SELECT COUNT(*) FROM orders WHERE user_id = 2"),
             QString::number(count.toInt() + 1));
    QCOMPARE(dbValue("SELECT order_no FROM orders WHERE user_id = 2 ORDER BY id DESC LIMIT 1"),
             retry.value("data").toString());
}

QTEST_GUILESS_MAIN(TestOrderingService)
#include "tst_orderingservice.moc"
