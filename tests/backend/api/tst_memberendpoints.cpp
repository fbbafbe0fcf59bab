// The reference backend's member side as the member screens use it, on a backend of the test's
// own: levels and groups with their counts, the member list by page, search, level and group,
// new members (a phone already taken refused), important-customer grades apart from company
// prices, the member's details, addresses changed, made the default and deleted, and the
// member's orders by page.

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>
#include <algorithm>
#include <limits>
#include <memory>

#include "apibackend.h"

namespace {

QJsonArray listOf(const QJsonObject &reply)
{
    return reply.value("data").toObject().value("list").toArray();
}

} // namespace

class TestMemberEndpoints : public QObject, private ApiBackend
{
    Q_OBJECT

private slots:
    void initTestCase();

    void levelsAndGroupsWithCounts();
    void memberListByPageAndFilters_data();
    void memberListByPageAndFilters();
    void pagesFollowOneAnother();
    void newMemberIsFoundByPhone();
    void newMemberRefusals_data();
    void newMemberRefusals();
    void gradesMarkImportantCustomersOnly();
    void detailsOfOneMember();
    void addressChangedMadeDefaultAndDeleted();
    void ordersOfOneMemberByPage();

private:
    QJsonArray addresses(int userId);
};

void TestMemberEndpoints::initTestCase()
{
    QVERIFY2(start(), qPrintable(output()));
}

QJsonArray TestMemberEndpoints::addresses(int userId)
{
    return call("userAddress/list", {{"userId", n(userId)}}).value("data").toArray();
}

void TestMemberEndpoints::levelsAndGroupsWithCounts()
{
    const QJsonObject levels = call("userCard/listForSelect", {});
    QCOMPARE(codeOf(levels), 200);
    const QJsonArray list = listOf(levels);
    QCOMPARE(list.size(), int(number("SELECT COUNT(*) FROM card_levels")));
    QCOMPARE(list.at(0).toObject().value("name").toString(), QString("普通会员"));
    QCOMPARE(list.at(0).toObject().value("def").toInt(), 1);
    QCOMPARE(list.at(0).toObject().value("rights").toString(), QString("10")); // 100 %: none
    QCOMPARE(list.at(1).toObject().value("def").toInt(), 0);
    QCOMPARE(list.at(1).toObject().value("discount").toInt(), 95);
    QCOMPARE(list.at(1).toObject().value("rights").toString().mid(1, 1), QString("1"));

    const QJsonArray side = call("userGroup/sideCnt", {}).value("data").toArray();
    QCOMPARE(side.size(), 2);
    QCOMPARE(side.at(0).toObject().value("name").toString(), QString("全部分组"));
    QCOMPARE(side.at(0).toObject().value("cnt").toInt(),
             int(number("SELECT COUNT(*) FROM users WHERE merc_id = 1")));
    QCOMPARE(side.at(1).toObject().value("name").toString(), QString("默认分组"));
    QCOMPARE(side.at(1).toObject().value("cnt").toInt(),
             int(number("SELECT COUNT(*) FROM users WHERE group_id IS NULL")));

    const QJsonArray groups = call("userGroup/list", {}).value("data").toArray();
    QCOMPARE(groups.size(), 4);
    for (const QJsonValue &g : groups)
        QCOMPARE(g.toObject().value("cnt").toInt(),
                 int(number(QString("SELECT COUNT(*) FROM users WHERE group_id = %1")
                                .arg(g.toObject().value("id").toInt()))));

    QCOMPARE(call("mercCity/paramDetail", {}).value("data").toObject().value("addCardUser"),
             QJsonValue("1"));
}

void TestMemberEndpoints::memberListByPageAndFilters_data()
{
    QTest::addColumn<QJsonObject>("fields");
    QTest::addColumn<QString>("where"); // the members expected, as a condition on users
    QTest::newRow("first page") << QJsonObject{{"pageNum", 1}, {"pageSize", "10"}} << "1";
    QTest::newRow("phone") << QJsonObject{{"searchValue", "13912340007"}}
                           << "phone = '13912340007'";
    QTest::newRow("part of a phone")
        << QJsonObject{{"searchValue", "1234002"}} << "phone LIKE '%1234002%'";
    QTest::newRow("card number, any case")
        << QJsonObject{{"searchValue", "vip0012"}} << "card_no = 'VIP0012'";
    QTest::newRow("name") << QJsonObject{{"searchValue", "张"}} << "name LIKE '%张%'";
    QTest::newRow("a wildcard is a character") << QJsonObject{{"searchValue", "%"}} << "0";
    QTest::newRow("level") << QJsonObject{{"cardId", "3"}} << "card_level_id = 3";
    QTest::newRow("group") << QJsonObject{{"groupId", "2"}} << "group_id = 2";
    QTest::newRow("default group") << QJsonObject{{"groupId", "-1"}} << "group_id IS NULL";
    QTest::newRow("level and group")
        << QJsonObject{{"cardId", "2"}, {"groupId", "1"}} << "card_level_id = 2 AND group_id = 1";
}

void TestMemberEndpoints::memberListByPageAndFilters()
{
    QFETCH(QJsonObject, fields);
    QFETCH(QString, where);
    if (!fields.contains("pageNum"))
        fields.insert("pageNum", "1");
    fields.insert("pageSize", "10");
    const QJsonObject reply = call("userInfo/list", fields);
    QCOMPARE(codeOf(reply), 200);
    const QJsonArray list = listOf(reply);
    const qint64 expected = std::min<qint64>(
        10, number("SELECT COUNT(*) FROM users WHERE merc_id = 1 AND (" + where + ")"));
    QCOMPARE(qint64(list.size()), expected);
    for (const QJsonValue &v : list) {
        const QJsonObject m = v.toObject();
        const int id = m.value("info").toObject().value("id").toInt();
        QCOMPARE(
            number(QString("SELECT COUNT(*) FROM users WHERE id = %1 AND (%2)").arg(id).arg(where)),
            1LL);
        // What a row shows.
        QCOMPARE(m.value("info").toObject().value("phone").toString(),
                 QString("139123400%1").arg(id, 2, 10, QChar('0')));
        QVERIFY(m.value("info").toObject().value("createTime").toDouble() > 0);
        QCOMPARE(qint64(m.value("ext").toObject().value("balance").toDouble()),
                 number(QString("SELECT balance + gift_balance FROM users WHERE id = %1").arg(id)));
        QVERIFY(m.value("card").toObject().value("info").toObject().contains("discount"));
        QVERIFY(m.value("group").toObject().contains("name"));
        QCOMPARE(qint64(m.value("tagList").toArray().size()),
                 number(QString("SELECT COUNT(*) FROM user_tag_rel WHERE user_id = %1").arg(id)));
    }
}

// Newest first, ten at a time: 30 members fill three pages, the fourth is empty.
void TestMemberEndpoints::pagesFollowOneAnother()
{
    QList<int> seen;
    for (int page = 1; page <= 4; ++page) {
        const QJsonArray list =
            listOf(call("userInfo/list", {{"pageNum", n(page)}, {"pageSize", "10"}}));
        QCOMPARE(list.size(), page <= 3 ? 10 : 0);
        for (const QJsonValue &v : list)
            seen << v.toObject().value("info").toObject().value("id").toInt();
    }
    QList<int> sorted = seen;
    std::sort(sorted.begin(), sorted.end(), std::greater<int>());
    QCOMPARE(seen, sorted); // demo members joined in the order of their ids
    QCOMPARE(int(std::unique(sorted.begin(), sorted.end()) - sorted.begin()), 30);
}

void TestMemberEndpoints::newMemberIsFoundByPhone()
{
    const qint64 defaultGroup = number("SELECT COUNT(*) FROM users WHERE group_id IS NULL");
    const QJsonObject added = call("userInfo/add", {{"name", "新会员"},
                                                    {"phone", "13800001111"},
                                                    {"sex", "2"},
                                                    {"cardId", "2"},
                                                    {"groupId", "-1"},
                                                    {"birthday", "1992-06-01"}});
    QCOMPARE(codeOf(added), 200);
    const int id = added.value("data").toObject().value("id").toInt();
    QVERIFY(id > 30);

    // Found by phone at the place-order screen and in the member list, in any store.
    const QJsonObject found = call(store2, "userInfo/queryByKey", {{"key", "13800001111"}});
    const QJsonObject info =
        found.value("data").toObject().value("user").toObject().value("info").toObject();
    QCOMPARE(info.value("id").toInt(), id);
    QCOMPARE(info.value("name").toString(), QString("新会员"));
    QCOMPARE(info.value("sex").toInt(), 2);
    const QJsonArray listed = listOf(call(
        "userInfo/list", {{"pageNum", "1"}, {"pageSize", "10"}, {"searchValue", "13800001111"}}));
    QCOMPARE(listed.size(), 1);
    const QJsonObject row = listed.at(0).toObject();
    QCOMPARE(row.value("card").toObject().value("info").toObject().value("name").toString(),
             QString("银卡会员"));
    QCOMPARE(row.value("card").toObject().value("no").toString(),
             QString("VIP%1").arg(id, 4, 10, QChar('0')));
    QCOMPARE(row.value("group").toObject().value("name").toString(), QString("默认分组"));
    QCOMPARE(number(QString("SELECT store_id FROM users WHERE id = %1").arg(id)), 1LL);
    QCOMPARE(
        call("userGroup/sideCnt", {}).value("data").toArray().at(1).toObject().value("cnt").toInt(),
        int(defaultGroup + 1));

    // Without a level the member gets the first; without a birthday none is kept.
    const QJsonObject plain = call("userInfo/add", {{"name", ""},
                                                    {"phone", "13800002222"},
                                                    {"sex", "0"},
                                                    {"cardId", ""},
                                                    {"groupId", "2"},
                                                    {"birthday", ""}});
    QCOMPARE(codeOf(plain), 200);
    const int plainId = plain.value("data").toObject().value("id").toInt();
    QCOMPARE(
        number(
            QString("SELECT card_level_id * 10 + group_id FROM users WHERE id = %1").arg(plainId)),
        12LL);
}

void TestMemberEndpoints::newMemberRefusals_data()
{
    QTest::addColumn<QJsonObject>("fields");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("msg");
    QTest::newRow("phone taken") << QJsonObject{{"phone", "13912340005"}} << 409
                                 << "该手机号已注册";
    QTest::newRow("phone too short")
        << QJsonObject{{"phone", "1391234000"}} << 400 << "手机号格式错误";
    QTest::newRow("phone not starting with 1")
        << QJsonObject{{"phone", "23912340099"}} << 400 << "手机号格式错误";
    QTest::newRow("no phone") << QJsonObject{{"phone", ""}} << 400 << "";
    QTest::newRow("level not to be chosen")
        << QJsonObject{{"phone", "13800003333"}, {"cardId", "4"}} << 409
        << "该会员卡等级不能直接办理";
    QTest::newRow("unknown level")
        << QJsonObject{{"phone", "13800003333"}, {"cardId", "99"}} << 404 << "会员卡等级不存在";
    QTest::newRow("unknown group")
        << QJsonObject{{"phone", "13800003333"}, {"groupId", "99"}} << 404 << "分组不存在";
    QTest::newRow("birthday after today")
        << QJsonObject{{"phone", "13800003333"}, {"birthday", "2999-01-01"}} << 400
        << "生日不能晚于今天";
}

void TestMemberEndpoints::newMemberRefusals()
{
    QFETCH(QJsonObject, fields);
    QFETCH(int, code);
    QFETCH(QString, msg);
    const qint64 before = number("SELECT COUNT(*) FROM users");
    fields.insert("name", "某人");
    const QJsonObject reply = call("userInfo/add", fields);
    QCOMPARE(codeOf(reply), code);
    if (!msg.isEmpty())
        QCOMPARE(reply.value("msg").toString(), msg);
    QCOMPARE(number("SELECT COUNT(*) FROM users"), before);
}

// A grade marks important customers only: a blue crown brings no company prices, and a
// company client's member without a crown keeps them.
void TestMemberEndpoints::gradesMarkImportantCustomersOnly()
{
    const int plain = 5;    // group 2: store prices
    const int company = 10; // group 3: a company client's member
    QCOMPARE(codeOf(call("userInfo/updateGrade",
                         {{"ids", n(plain) + "," + n(company)}, {"grade", "1"}})),
             200);
    QCOMPARE(
        number(
            QString("SELECT SUM(grade) FROM users WHERE id IN (%1, %2)").arg(plain).arg(company)),
        2LL);
    QCOMPARE(codeOf(call("userInfo/updateGrade", {{"ids", n(company)}, {"grade", "-1"}})), 200);
    QCOMPARE(number(QString("SELECT grade FROM users WHERE id = %1").arg(company)), 0LL);
    QCOMPARE(codeOf(call("userInfo/updateGrade", {{"ids", n(plain)}, {"grade", "3"}})), 200);
    QCOMPARE(call("userInfo/detail", {{"id", n(plain)}})
                 .value("data")
                 .toObject()
                 .value("info")
                 .toObject()
                 .value("grade")
                 .toInt(),
             3);

    auto pricingOfNewOrder = [&](int userId) {
        return number("SELECT pricing_mode FROM orders WHERE order_no = '" + newOrder(userId) +
                      "'");
    };
    QCOMPARE(pricingOfNewOrder(plain), 1LL);
    QCOMPARE(pricingOfNewOrder(company), 2LL);
    const QJsonObject companyInfo = call("userInfo/detail", {{"id", n(company)}});
    QVERIFY(!companyInfo.value("data")
                 .toObject()
                 .value("unionInfo")
                 .toObject()
                 .value("name")
                 .toString()
                 .isEmpty());

    for (const QJsonObject &bad :
         {QJsonObject{{"ids", "1,x"}, {"grade", "1"}}, QJsonObject{{"ids", "1,,2"}, {"grade", "1"}},
          QJsonObject{{"ids", "1"}, {"grade", "4"}}, QJsonObject{{"ids", ""}, {"grade", "1"}}})
        QCOMPARE(codeOf(call("userInfo/updateGrade", bad)), 400);
    QCOMPARE(codeOf(call("userInfo/updateGrade", {{"ids", "1,99999"}, {"grade", "2"}})), 404);
    QCOMPARE(number("SELECT grade FROM users WHERE id = 1"), 0LL); // all or nothing
}

void TestMemberEndpoints::detailsOfOneMember()
{
    const int member = 7;
    const QJsonObject reply = call(store2, "userInfo/detail", {{"id", n(member)}});
    QCOMPARE(codeOf(reply), 200);
    const QJsonObject data = reply.value("data").toObject();
    QCOMPARE(data.value("info").toObject().value("id").toInt(), member);
    QCOMPARE(data.value("info").toObject().value("phone").toString(), QString("13912340007"));
    QCOMPARE(qint64(data.value("ext").toObject().value("balance").toDouble()),
             number(QString("SELECT balance + gift_balance FROM users WHERE id = %1").arg(member)));
    QCOMPARE(data.value("card").toObject().value("no").toString(), QString("VIP0007"));
    QCOMPARE(qint64(data.value("tagList").toArray().size()),
             number(QString("SELECT COUNT(*) FROM user_tag_rel WHERE user_id = %1").arg(member)));
    QVERIFY(data.contains("couponCnt"));
    QCOMPARE(data.value("info").toObject().value("wxId").toString(), QString("-1")); // no WeChat
    QCOMPARE(codeOf(call("userInfo/detail", {{"id", "99999"}})), 404);
}

// An update names the address it replaces: the member sees the new one, an order that named
// the old one keeps it. Exactly one default; a deleted address is gone.
void TestMemberEndpoints::addressChangedMadeDefaultAndDeleted()
{
    const int member = 3; // two addresses, the first the default
    QJsonArray list = addresses(member);
    QCOMPARE(list.size(), 2);
    const int first = list.at(0).toObject().value("id").toInt();
    const int second = list.at(1).toObject().value("id").toInt();
    QCOMPARE(list.at(1).toObject().value("def").toInt(), 0);

    // An order taken to the second address keeps it through the change.
    const QString orderNo = newOrder(member, {{"takeMode", "2"},
                                              {"takeAddrId", n(second)},
                                              {"takeDate", "2999-01-01"},
                                              {"takeTimeStart", "09:00"},
                                              {"takeTimeEnd", "11:00"}});
    QVERIFY(!orderNo.isEmpty());

    const QJsonObject updated = call("userAddress/update", {{"id", n(second)},
                                                            {"userId", n(member)},
                                                            {"name", "王小二"},
                                                            {"sex", "1"},
                                                            {"phone", "13900000000"},
                                                            {"regionalId", "310104"},
                                                            {"regionalDesc", "上海市徐汇区"},
                                                            {"detail", "漕溪北路1号5号楼203室"},
                                                            {"latitude", "31.19"},
                                                            {"def", "1"},
                                                            {"longitude", "121.43"}});
    QCOMPARE(codeOf(updated), 200);
    const int replaced = updated.value("data").toObject().value("id").toInt();
    list = addresses(member);
    QCOMPARE(list.size(), 2);
    QCOMPARE(list.at(1).toObject().value("id").toInt(), replaced);
    QCOMPARE(list.at(1).toObject().value("name").toString(), QString("王小二"));
    QCOMPARE(list.at(1).toObject().value("detail").toString(), QString("漕溪北路1号5号楼203室"));
    QCOMPARE(list.at(1).toObject().value("def").toInt(), 1);
    QCOMPARE(list.at(0).toObject().value("def").toInt(), 0);
    QCOMPARE(number("SELECT take_address_id FROM orders WHERE order_no = '" + orderNo + "'"),
             qint64(second));
    QVERIFY(number(QString("SELECT COUNT(*) FROM user_addresses WHERE id = %1 AND address <> "
                           "'漕溪北路1号5号楼203室'")
                       .arg(second)) == 1);
    // The old address is no longer the member's to change or choose.
    QCOMPARE(codeOf(call("userAddress/updateDefault", {{"id", n(second)}})), 404);

    QCOMPARE(codeOf(call("userAddress/updateDefault", {{"id", n(first)}})), 200);
    list = addresses(member);
    QCOMPARE(list.at(0).toObject().value("def").toInt(), 1);
    QCOMPARE(list.at(1).toObject().value("def").toInt(), 0);

    QCOMPARE(codeOf(call(store2, "userAddress/delete", {{"id", n(first)}})), 200);
    list = addresses(member);
    QCOMPARE(list.size(), 1);
    QCOMPARE(list.at(0).toObject().value("id").toInt(), replaced);
    QCOMPARE(codeOf(call("userAddress/delete", {{"id", n(first)}})), 404);
    QCOMPARE(codeOf(call("userAddress/update", {{"id", n(replaced)},
                                                {"userId", "4"},
                                                {"name", "x"},
                                                {"phone", "1"},
                                                {"regionalDesc", ""},
                                                {"detail", "d"}})),
             400);
}

// A member's orders of this store, newest first, ten a page, with their garments.
void TestMemberEndpoints::ordersOfOneMemberByPage()
{
    const int member = 2;
    const QString mine = QString("FROM orders WHERE user_id = %1 AND store_id = 1").arg(member);
    // Enough orders for a second page.
    while (number("SELECT COUNT(*) " + mine) < 13)
        QVERIFY(!newOrder(member).isEmpty());
    const qint64 total = number("SELECT COUNT(*) " + mine);
    QJsonArray all;
    for (int page = 1; page <= 3; ++page) {
        const QJsonArray list = listOf(
            call("orderInfo/list", {{"pageNum", page}, {"pageSize", "10"}, {"userId", n(member)}}));
        for (const QJsonValue &v : list)
            all.append(v);
        QCOMPARE(qint64(list.size()), std::clamp<qint64>(total - (page - 1) * 10, 0, 10));
    }
    QCOMPARE(qint64(all.size()), total);
    qint64 previous = std::numeric_limits<qint64>::max();
    for (const QJsonValue &v : all) {
        const QJsonObject o = v.toObject();
        const int id = o.value("id").toInt();
        QCOMPARE(number(QString("SELECT COUNT(*) %1 AND id = %2").arg(mine).arg(id)), 1LL);
        QCOMPARE(
            qint64(o.value("business").toArray().size()),
            number(QString("SELECT COUNT(*) FROM order_products WHERE order_id = %1").arg(id)));
        QVERIFY(!o.value("statusText").toString().isEmpty());
        QVERIFY(!o.value("payStatusText").toString().isEmpty());
        QVERIFY(!o.value("orderNo").toString().isEmpty());
        const qint64 time = qint64(o.value("createTime").toDouble());
        QVERIFY(time <= previous);
        previous = time;
    }
    // The other store sees its own orders of the member only.
    const QJsonArray other = listOf(call(
        store2, "orderInfo/list", {{"pageNum", "1"}, {"pageSize", "10"}, {"userId", n(member)}}));
    QCOMPARE(qint64(other.size()),
             std::min<qint64>(10, number(QString("SELECT COUNT(*) FROM orders WHERE user_id = %1 "
                                                 "AND store_id = 2")
                                             .arg(member))));
}

QTEST_GUILESS_MAIN(TestMemberEndpoints)
#include "tst_memberendpoints.moc"
