// Reading fields out of reply texts, as the screens do it through the request object.
#include "net/ccnetworkrequest.h"
#include "net/replycache.h"

#include <QtTest>

// Declared ahead of the test data: moc loses its way in raw strings holding escapes.
class TestReplyReader : public QObject
{
    Q_OBJECT

private slots:
    void init() { ReplyCache::setCapacity(ReplyCache::defaultCapacity); }
    void extract_data();
    void extract();
    void numericKeySets_data();
    void numericKeySets();
    void variantReadingMatchesVariantMap_data();
    void variantReadingMatchesVariantMap();
    void cachedEqualsUncached_data();
    void cachedEqualsUncached();
    void cacheKeepsRecentTexts();
    void hostileInputs_data();
    void hostileInputs();
    void tenMegabyteReply();
    void remarkJson();
    void dates_data();
    void dates();
    void textHelpers();
    void randomName();
    void machineAndClock();
};

namespace {

// Calls one extractor of the request object by name; arrays come back as compact text.
QVariant call(CCNetWorkRequest &r, const QString &method, const QVariantList &args)
{
    const auto s = [&](int i) { return args.value(i).toString(); };
    const auto n = [&](int i) { return args.value(i).toInt(); };
    const auto arrayText = [](const QJsonArray &array) {
        return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
    };
    if (method == "josnHttpCode")
        return r.josnHttpCode(s(0));
    if (method == "josnMsg")
        return r.josnMsg(s(0));
    if (method == "josnData")
        return r.josnData(s(0));
    if (method == "josnReturn")
        return r.josnReturn(s(0), s(1));
    if (method == "getReturnMsg")
        return r.getReturnMsg(s(0), s(1));
    if (method == "josnappSecret")
        return r.josnappSecret(s(0));
    if (method == "getaccessToken")
        return r.getaccessToken(s(0));
    if (method == "getOrderName")
        return r.getOrderName(s(0));
    if (method == "getqueryOrder")
        return r.getqueryOrder(s(0), s(1), s(2));
    if (method == "jsoninfo")
        return r.jsoninfo(s(0), s(1));
    if (method == "getUserInfo")
        return r.getUserInfo(s(0), s(1));
    if (method == "getMemberInfo")
        return r.getMemberInfo(s(0), s(1), s(2), s(3), n(4));
    if (method == "getOrderInfo")
        return r.getOrderInfo(s(0), s(1), n(2), n(3));
    if (method == "getOrderNum")
        return r.getOrderNum(s(0), n(1));
    if (method == "getClothInfo")
        return r.getClothInfo(s(0), s(1), s(2), n(3), n(4));
    if (method == "getClothNum")
        return r.getClothNum(s(0), s(1), n(2));
    if (method == "getListInfo")
        return r.getListInfo(s(0), s(1), s(2), s(3), n(4));
    if (method == "getListNum")
        return r.getListNum(s(0), s(1), s(2));
    if (method == "getListNums")
        return r.getListNums(s(0), s(1));
    if (method == "getJsonStr")
        return r.getJsonStr(s(0), s(1));
    if (method == "getJsonFormString")
        return r.getJsonFormString(s(0), s(1));
    if (method == "getArrayFromString")
        return args.size() > 1 ? arrayText(r.getArrayFromString(s(0), s(1)))
                               : arrayText(r.getArrayFromString(s(0)));
    if (method == "jsonTra")
        return r.jsonTra(s(0));
    if (method == "jsonTra1")
        return r.jsonTra1(s(0));
    if (method == "jsonaddService")
        return r.jsonaddService(s(0));
    if (method == "jsonaddServiceNum")
        return r.jsonaddServiceNum(s(0));
    qFatal("no extractor %s", qPrintable(method));
}

// Every extractor with typical arguments, for the inputs that stress the parsing.
QList<QPair<QString, QVariantList>> everyExtractor(const QString &text)
{
    const QVariant t(text);
    return {
        {"josnHttpCode", {t}},
        {"josnMsg", {t}},
        {"josnData", {t}},
        {"josnReturn", {t, "n"}},
        {"getReturnMsg", {t, "n"}},
        {"getOrderName", {t}},
        {"getqueryOrder", {t, "storeInfo", "id"}},
        {"jsoninfo", {t, "n"}},
        {"getUserInfo", {t, "name"}},
        {"getMemberInfo", {t, "tagList", "", "", 0}},
        {"getMemberInfo", {t, "card", "info", "cardNo", 1}},
        {"getOrderInfo", {t, "payablePrice", 0, 1}},
        {"getOrderInfo", {t, "remark", 0, 0}},
        {"getOrderInfo", {t, "", 0, 2}},
        {"getOrderNum", {t, 1}},
        {"getClothInfo", {t, "list", "colorDesc", 0, 1}},
        {"getClothInfo", {t, "list", "", 0, 1}},
        {"getClothNum", {t, "list", 1}},
        {"getListInfo", {t, "tips", "address", "", 0}},
        {"getListInfo", {t, "data", "list", "id", 0}},
        {"getListNum", {t, "data", "list"}},
        {"getListNums", {t, "colorDesc"}},
        {"getJsonStr", {t, "data"}},
        {"getJsonFormString", {t, "remarkJson"}},
        {"getArrayFromString", {t, "remarkJson"}},
        {"getArrayFromString", {t}},
        {"jsonTra", {t}},
        {"jsonTra1", {t}},
        {"jsonaddService", {t}},
        {"jsonaddServiceNum", {t}},
    };
}

// A reply whose only row holds `value` under every key of `keys` and under "zzOther".
QString rowWith(const QString &wrapperPath, const QStringList &keys, const QString &value)
{
    QString row = "{";
    for (const QString &key : keys)
        row += "\"" + key + "\":" + value + ",";
    row += "\"zzOther\":" + value + "}";
    if (wrapperPath == "data")
        return "{\"data\":[" + row + "]}";
    if (wrapperPath == "data.list")
        return "{\"data\":{\"list\":[" + row + "]}}";
    if (wrapperPath == "data.proList")
        return "{\"data\":{\"proList\":[" + row + "]}}";
    if (wrapperPath == "data.clothes")
        return "{\"data\":{\"clothes\":[" + row + "]}}";
    return "{\"order\":{\"items\":[" + row + "]}}";
}

const QString kList = R"({"httpCode":200,"msg":"ok","data":{"list":[{"payablePrice":1550,)"
                      R"("orderNo":"A1","isEnablePay":true,"createTime":1546300800000,)"
                      R"("colorDesc":"[{\"id\":3,\"name\":\"red\"}]"}]}})";

} // namespace

void TestReplyReader::extract_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<QVariantList>("args");
    QTest::addColumn<QVariant>("expected");

    const QString ok = R"({"httpCode":200,"msg":"ok","data":{}})";
    const QString netError = "Connection refused";

    // Envelope.
    QTest::newRow("httpCode 200") << "josnHttpCode" << QVariantList{ok} << QVariant("200");
    QTest::newRow("httpCode as text is 0")
        << "josnHttpCode" << QVariantList{R"({"httpCode":"200"})"} << QVariant("0");
    QTest::newRow("httpCode missing is 0")
        << "josnHttpCode" << QVariantList{R"({"msg":"x"})"} << QVariant("0");
    QTest::newRow("httpCode of a network error is the error")
        << "josnHttpCode" << QVariantList{netError} << QVariant(netError);
    QTest::newRow("httpCode of an empty reply")
        << "josnHttpCode" << QVariantList{""} << QVariant("");
    QTest::newRow("httpCode 401") << "josnHttpCode" << QVariantList{R"({"httpCode":401})"}
                                  << QVariant("401");
    QTest::newRow("msg number is empty")
        << "josnMsg" << QVariantList{R"({"httpCode":500,"msg":3})"} << QVariant("");
    QTest::newRow("msg text") << "josnMsg" << QVariantList{R"({"msg":"登录已过期"})"}
                              << QVariant("登录已过期");
    QTest::newRow("msg of a network error") << "josnMsg" << QVariantList{netError} << QVariant("");
    QTest::newRow("data array gives empty object")
        << "josnData" << QVariantList{R"({"data":[1,2]})"} << QVariant("{\n}\n");
    QTest::newRow("data indented, keys sorted")
        << "josnData" << QVariantList{R"({"data":{"b":1,"a":"x"}})"}
        << QVariant("{\n    \"a\": \"x\",\n    \"b\": 1\n}\n");
    QTest::newRow("josnReturn number is empty")
        << "josnReturn" << QVariantList{R"({"n":12})", "n"} << QVariant("");
    QTest::newRow("josnReturn text")
        << "josnReturn" << QVariantList{R"({"n":"12"})", "n"} << QVariant("12");
    QTest::newRow("getReturnMsg number")
        << "getReturnMsg" << QVariantList{R"({"data":{"n":12}})", "n"} << QVariant("12");
    QTest::newRow("getReturnMsg fraction")
        << "getReturnMsg" << QVariantList{R"({"data":{"n":0.5}})", "n"} << QVariant("0.5");
    QTest::newRow("getReturnMsg 13-digit time")
        << "getReturnMsg" << QVariantList{R"({"data":{"n":1546300800000}})", "n"}
        << QVariant("1546300800000");
    QTest::newRow("getReturnMsg bool")
        << "getReturnMsg" << QVariantList{R"({"data":{"n":false}})", "n"} << QVariant("false");
    QTest::newRow("getReturnMsg null")
        << "getReturnMsg" << QVariantList{R"({"data":{"n":null}})", "n"} << QVariant("");
    QTest::newRow("getReturnMsg object")
        << "getReturnMsg" << QVariantList{R"({"data":{"n":{"a":1}}})", "n"} << QVariant("");
    QTest::newRow("appSecret") << "josnappSecret" << QVariantList{R"({"data":{"appSecret":"s3"}})"}
                               << QVariant("s3");
    QTest::newRow("accessToken") << "getaccessToken"
                                 << QVariantList{R"({"data":{"accessToken":"t1"}})"}
                                 << QVariant("t1");

    // Object reading of data and its members.
    QTest::newRow("data as text") << "getOrderName" << QVariantList{R"({"data":"衬衫"})"}
                                  << QVariant("衬衫");
    QTest::newRow("data object as text is empty")
        << "getOrderName" << QVariantList{R"({"data":{}})"} << QVariant("");
    QTest::newRow("getJsonFormString")
        << "getJsonFormString" << QVariantList{R"({"data":{"k":"v","n":1}})", "k"} << QVariant("v");
    QTest::newRow("getJsonStr object")
        << "getJsonStr" << QVariantList{R"({"user":{"a":1}})", "user"}
        << QVariant("{\n    \"a\": 1\n}\n");
    QTest::newRow("getJsonStr non-object")
        << "getJsonStr" << QVariantList{R"({"user":"x"})", "user"} << QVariant("{\n}\n");
    QTest::newRow("array from data member")
        << "getArrayFromString"
        << QVariantList{R"({"data":{"remarkJson":"[{\"remark\":\"r\",\"workName\":\"w\"}]"}})",
                        "remarkJson"}
        << QVariant(R"([{"remark":"r","workName":"w"}])");
    QTest::newRow("array from missing member")
        << "getArrayFromString" << QVariantList{R"({"data":{}})", "remarkJson"} << QVariant("[]");
    QTest::newRow("array from array text")
        << "getArrayFromString" << QVariantList{"[1,\"a\"]"} << QVariant(R"([1,"a"])");
    QTest::newRow("array from object text")
        << "getArrayFromString" << QVariantList{"{}"} << QVariant("[]");

    // Variant reading along paths.
    QTest::newRow("getqueryOrder")
        << "getqueryOrder"
        << QVariantList{R"({"data":{"storeInfo":{"name":"S","id":12}}})", "storeInfo", "id"}
        << QVariant("12");
    QTest::newRow("getqueryOrder through a list")
        << "getqueryOrder" << QVariantList{R"({"data":{"storeInfo":[1]}})", "storeInfo", "id"}
        << QVariant("");
    QTest::newRow("jsoninfo") << "jsoninfo" << QVariantList{R"({"n":12.25})", "n"}
                              << QVariant("12.25");
    const QString order =
        R"({"data":{"orderInfo":{"orderNo":"N1","name":"order","userInfo":{"name":"王","balance":500}}}})";
    QTest::newRow("getUserInfo user key")
        << "getUserInfo" << QVariantList{order, "name"} << QVariant("王");
    QTest::newRow("getUserInfo balance")
        << "getUserInfo" << QVariantList{order, "balance"} << QVariant("500");
    QTest::newRow("getUserInfo order key")
        << "getUserInfo" << QVariantList{order, "orderNo"} << QVariant("N1");

    const QString member =
        R"({"user":{"couponCnt":2,"card":{"info":{"cardNo":"C9"},"level":"金卡"},"ext":{"balance":100}},)"
        R"("couponCnt":7,"card":{"info":{"cardNo":"R1"}},)"
        R"("tagList":[{"userTag":{"name":"A"}},{"userTag":{"name":"B"}}]})";
    QTest::newRow("member couponCnt under user")
        << "getMemberInfo" << QVariantList{member, "couponCnt", "", "", 0} << QVariant("2");
    QTest::newRow("member couponCnt at the top")
        << "getMemberInfo" << QVariantList{member, "couponCnt", "", "", 1} << QVariant("7");
    QTest::newRow("member card info")
        << "getMemberInfo" << QVariantList{member, "card", "info", "cardNo", 0} << QVariant("C9");
    QTest::newRow("member card info at the top")
        << "getMemberInfo" << QVariantList{member, "card", "info", "cardNo", 1} << QVariant("R1");
    QTest::newRow("member card other key")
        << "getMemberInfo" << QVariantList{member, "card", "level", "x", 0} << QVariant("金卡");
    QTest::newRow("member other key")
        << "getMemberInfo" << QVariantList{member, "ext", "balance", "", 0} << QVariant("100");
    QTest::newRow("member tags, flags 0")
        << "getMemberInfo" << QVariantList{member, "tagList", "", "", 0} << QVariant("A | B");
    QTest::newRow("member tags, flags 1")
        << "getMemberInfo" << QVariantList{member, "tagList", "", "", 1} << QVariant("A | B");
    QTest::newRow("member no tags")
        << "getMemberInfo" << QVariantList{R"({"tagList":[]})", "tagList", "", "", 0}
        << QVariant("");

    // Tree reading of list elements.
    QTest::newRow("order price") << "getOrderInfo" << QVariantList{kList, "payablePrice", 0, 1}
                                 << QVariant("1550");
    QTest::newRow("order text") << "getOrderInfo" << QVariantList{kList, "orderNo", 0, 1}
                                << QVariant("A1");
    QTest::newRow("order bool text")
        << "getOrderInfo" << QVariantList{kList, "isEnablePay", 0, 1} << QVariant("true");
    QTest::newRow("order missing text")
        << "getOrderInfo" << QVariantList{kList, "remark", 0, 1} << QVariant("");
    QTest::newRow("order past the end")
        << "getOrderInfo" << QVariantList{kList, "payablePrice", 5, 1} << QVariant("0");
    QTest::newRow("order negative index")
        << "getOrderInfo" << QVariantList{kList, "orderNo", -1, 1} << QVariant("");
    QTest::newRow("order time stays whole")
        << "getOrderInfo" << QVariantList{kList, "createTime", 0, 1} << QVariant("1546300800000");
    QTest::newRow("order dataflag 3")
        << "getOrderInfo" << QVariantList{kList, "payablePrice", 0, 3} << QVariant("");
    QTest::newRow("numeric rounds")
        << "getOrderInfo" << QVariantList{R"({"data":[{"price":12.6}]})", "price", 0, 0}
        << QVariant("13");
    QTest::newRow("numeric null is 0")
        << "getOrderInfo" << QVariantList{R"({"data":[{"price":null}]})", "price", 0, 0}
        << QVariant("0");
    QTest::newRow("numeric false is 0")
        << "getOrderInfo" << QVariantList{R"({"data":[{"price":false}]})", "price", 0, 0}
        << QVariant("0");
    QTest::newRow("numeric small negative is 0")
        << "getOrderInfo" << QVariantList{R"({"data":[{"price":-0.2}]})", "price", 0, 0}
        << QVariant("0");
    QTest::newRow("text null is empty")
        << "getOrderInfo" << QVariantList{R"({"data":[{"name":null}]})", "name", 0, 0}
        << QVariant("");
    QTest::newRow("empty key not served on dataflag 0")
        << "getOrderInfo" << QVariantList{R"({"data":[{"a":1}]})", "", 0, 0} << QVariant("");
    QTest::newRow("empty key gives the element")
        << "getOrderInfo" << QVariantList{R"({"data":{"proList":[{"b":"x","a":1}]}})", "", 0, 2}
        << QVariant("{\n    \"a\": 1,\n    \"b\": \"x\"\n}\n");
    QTest::newRow("empty key past the end")
        << "getOrderInfo" << QVariantList{R"({"data":{"list":[]}})", "", 0, 1} << QVariant("");
    QTest::newRow("list where an object stands")
        << "getOrderInfo" << QVariantList{R"({"data":{"list":{"id":1}}})", "id", 0, 1}
        << QVariant("0");
    QTest::newRow("count list") << "getOrderNum" << QVariantList{kList, 1} << QVariant(1);
    QTest::newRow("count data") << "getOrderNum" << QVariantList{R"({"data":[1,2,3]})", 0}
                                << QVariant(3);
    QTest::newRow("count proList")
        << "getOrderNum" << QVariantList{R"({"data":{"proList":[{},{}]}})", 2} << QVariant(2);
    QTest::newRow("count dataflag 3") << "getOrderNum" << QVariantList{kList, 3} << QVariant(0);
    QTest::newRow("count not JSON") << "getOrderNum" << QVariantList{netError, 1} << QVariant(0);
    QTest::newRow("count object") << "getOrderNum" << QVariantList{R"({"data":{"a":1}})", 0}
                                  << QVariant(0);

    // Garments.
    const QString clothes =
        R"({"data":{"clothes":[{"saleAmt":2500,"name":"衬衫","colorDesc":"[{\"id\":3,\"name\":\"red\"},{\"name\":\"蓝\"}]",)"
        R"("flawDesc":null,"effectDesc":"[]","annexDesc":"[{\"name\":\"纽扣\"}]"}]}})";
    QTest::newRow("garment amount")
        << "getClothInfo" << QVariantList{clothes, "clothes", "saleAmt", 0, 1} << QVariant("2500");
    QTest::newRow("garment text") << "getClothInfo"
                                  << QVariantList{clothes, "clothes", "name", 0, 1}
                                  << QVariant("衬衫");
    QTest::newRow("garment colours")
        << "getClothInfo" << QVariantList{clothes, "clothes", "colorDesc", 0, 1}
        << QVariant("red\\蓝");
    QTest::newRow("garment accessories")
        << "getClothInfo" << QVariantList{clothes, "clothes", "annexDesc", 0, 1}
        << QVariant("纽扣");
    QTest::newRow("garment null flaws")
        << "getClothInfo" << QVariantList{clothes, "clothes", "flawDesc", 0, 1} << QVariant("");
    QTest::newRow("garment missing add-ons")
        << "getClothInfo" << QVariantList{clothes, "clothes", "addServiceDesc", 0, 1}
        << QVariant("");
    QTest::newRow("garment no effects")
        << "getClothInfo" << QVariantList{clothes, "clothes", "effectDesc", 0, 1} << QVariant("");
    QTest::newRow("garment dataflag 0")
        << "getClothInfo" << QVariantList{clothes, "clothes", "name", 0, 0} << QVariant("");
    QTest::newRow("garment past the end")
        << "getClothInfo" << QVariantList{clothes, "clothes", "saleAmt", 1, 1} << QVariant("0");
    QTest::newRow("garment count")
        << "getClothNum" << QVariantList{clothes, "clothes", 1} << QVariant(1);
    QTest::newRow("garment count of data")
        << "getClothNum" << QVariantList{R"({"data":[{},{}]})", "x", 0} << QVariant(2);
    QTest::newRow("garment count dataflag 2")
        << "getClothNum" << QVariantList{clothes, "clothes", 2} << QVariant(0);

    // Map service and nested lists.
    const QString tips =
        R"({"status":"1","tips":[{"id":"B000A83M61","name":"望京","address":[],"location":"116.4,39.9"},)"
        R"({"id":[],"name":"SOHO","address":"朝阳区","location":"116.5,39.9"}]})";
    QTest::newRow("tip name") << "getListInfo" << QVariantList{tips, "tips", "name", "", 0}
                              << QVariant("望京");
    QTest::newRow("tip id is text")
        << "getListInfo" << QVariantList{tips, "tips", "id", "", 0} << QVariant("B000A83M61");
    QTest::newRow("tip empty address")
        << "getListInfo" << QVariantList{tips, "tips", "address", "", 0} << QVariant("");
    QTest::newRow("tip address") << "getListInfo" << QVariantList{tips, "tips", "address", "", 1}
                                 << QVariant("朝阳区");
    QTest::newRow("tip count ignores key1")
        << "getListNum" << QVariantList{tips, "tips", "x"} << QVariant(2);
    const QString district =
        R"({"districts":[{"center":"116.4,39.9","name":"北京市","adcode":"110000"}]})";
    QTest::newRow("district centre")
        << "getListInfo" << QVariantList{district, "districts", "center", "", 0}
        << QVariant("116.4,39.9");
    const QString nested = R"({"data":{"list":[{"brandId":4,"brandName":"X","count":2.4}]}})";
    QTest::newRow("nested numeric")
        << "getListInfo" << QVariantList{nested, "data", "list", "brandId", 0} << QVariant("4");
    QTest::newRow("nested text") << "getListInfo"
                                 << QVariantList{nested, "data", "list", "brandName", 0}
                                 << QVariant("X");
    QTest::newRow("nested past the end")
        << "getListInfo" << QVariantList{nested, "data", "list", "count", 3} << QVariant("0");
    QTest::newRow("nested count") << "getListNum" << QVariantList{nested, "data", "list"}
                                  << QVariant(1);

    // Array-text reading.
    const QString colours = R"([{"name":"red"},{"name":"blue"}])";
    QTest::newRow("jsonTra") << "jsonTra" << QVariantList{colours} << QVariant("red\\blue");
    QTest::newRow("jsonTra empty") << "jsonTra" << QVariantList{"[]"} << QVariant("");
    QTest::newRow("jsonTra nothing") << "jsonTra" << QVariantList{""} << QVariant("");
    QTest::newRow("jsonTra escaped text")
        << "jsonTra" << QVariantList{R"([{\"name\":\"red\"}])"} << QVariant("red");
    QTest::newRow("jsonTra line breaks")
        << "jsonTra" << QVariantList{"[{\"name\":\n\"red\"},\r\n{\"id\":1}]"} << QVariant("red\\");
    QTest::newRow("jsonTra not JSON") << "jsonTra" << QVariantList{"[{name}]"} << QVariant("");
    QTest::newRow("jsonTra1") << "jsonTra1" << QVariantList{colours} << QVariant("red\nblue");
    QTest::newRow("add-on total cut after each step")
        << "jsonaddService" << QVariantList{R"([{"amt":"1550"},{"amt":"1550"}])"} << QVariant("30");
    QTest::newRow("add-on total empty") << "jsonaddService" << QVariantList{"[]"} << QVariant("0");
    QTest::newRow("add-on total negative")
        << "jsonaddService" << QVariantList{R"([{"amt":"-150"},{"amt":"-150"}])"} << QVariant("-2");
    QTest::newRow("add-on number amt counts 0")
        << "jsonaddService" << QVariantList{R"([{"amt":1550},{"amt":"200"}])"} << QVariant("2");
    QTest::newRow("add-on largest amounts")
        << "jsonaddService"
        << QVariantList{R"([{"amt":"9223372036854775807"},{"amt":"9223372036854775807"}])"}
        << QVariant("184467440737095516");
    QTest::newRow("add-on amount beyond 64 bits counts 0")
        << "jsonaddService" << QVariantList{R"([{"amt":"99999999999999999999"},{"amt":"100"}])"}
        << QVariant("1");
    QTest::newRow("add-on count") << "jsonaddServiceNum" << QVariantList{colours} << QVariant(2);
    QTest::newRow("add-on count not JSON")
        << "jsonaddServiceNum" << QVariantList{"[x]"} << QVariant(0);
    QTest::newRow("count of array text in a member")
        << "getListNums"
        << QVariantList{R"({"colorDesc":"[{\"name\":\"a\"},{\"name\":\"b\"}]"})", "colorDesc"}
        << QVariant(2);
    QTest::newRow("count of missing member")
        << "getListNums" << QVariantList{R"({"a":1})", "colorDesc"} << QVariant(0);
    QTest::newRow("count of empty array text")
        << "getListNums" << QVariantList{R"({"c":"[]"})", "c"} << QVariant(0);
}

void TestReplyReader::extract()
{
    QFETCH(QString, method);
    QFETCH(QVariantList, args);
    QFETCH(QVariant, expected);
    CCNetWorkRequest request;
    QCOMPARE(call(request, method, args), expected);
}

// The keys of each numeric set read a boolean true as 1; every other key as "true".
void TestReplyReader::numericKeySets_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("dataflag");
    QTest::addColumn<QStringList>("keys");

    const QStringList orderCore{"cityId",       "createCnt",    "createTime", "id",
                                "mercId",       "mode",         "orderPrice", "payStatus",
                                "payablePrice", "paymentPrice", "priority",   "statusVal",
                                "storeId",      "userId",       "subtotal",   "isFinish",
                                "status",       "annexCnt",     "productCnt", "orderProType"};
    const QStringList products =
        orderCore + QStringList{"tradeTime", "amount", "giftAmount", "orderId", "type"};
    QTest::newRow("order list") << "getOrderInfo"
                                << "data.list" << 1
                                << products + QStringList{"creditStatus", "def",
                                                          "storeShelfNo", "discountType",
                                                          "discount",     "grade"};
    QTest::newRow("product list") << "getOrderInfo"
                                  << "data.proList" << 2 << products;
    QTest::newRow("plain list") << "getOrderInfo"
                                << "data" << 0
                                << QStringList{
                                       "def",         "id",           "price",        "businessId",
                                       "isCustomNum", "typeId",       "orderProType", "cnt",
                                       "amount",      "fullAmount",   "timeStart",    "timeEnd",
                                       "isValid",     "saleDiscount", "giftAmount",   "giftPoint",
                                       "couponCnt",   "enableUse",    "orderId",      "useStatus",
                                       "useBalance",  "type",         "payAmount"};
    QTest::newRow("garment") << "getClothInfo"
                             << "data.clothes" << 1
                             << QStringList{
                                    "createTime",  "id",        "userId",       "no",
                                    "serviceAmt",  "addsrvAmt", "saleAmt",      "subtotal",
                                    "isCustomNum", "count",     "proTypeId",    "businessId",
                                    "productId",   "tradeTime", "total",        "statusVal",
                                    "type",        "picCnt",    "amount",       "refundableAmount",
                                    "outBatch",    "hasRefund", "storeShelfNo", "orderId",
                                    "isPackaged",  "statusTime"};
    QTest::newRow("nested list") << "getListInfo"
                                 << "order.items" << 0
                                 << orderCore + QStringList{"mercBusinessId", "businessId",
                                                            "proTypeId",      "productId",
                                                            "proServiceId",   "brandId",
                                                            "count",          "chgSubtotal",
                                                            "isCustomNum"};
}

void TestReplyReader::numericKeySets()
{
    QFETCH(QString, method);
    QFETCH(QString, path);
    QFETCH(int, dataflag);
    QFETCH(QStringList, keys);

    const QString reply = rowWith(path, keys, "true");
    CCNetWorkRequest request;
    const auto read = [&](const QString &key) {
        if (method == "getOrderInfo")
            return request.getOrderInfo(reply, key, 0, dataflag);
        if (method == "getClothInfo")
            return request.getClothInfo(reply, "clothes", key, 0, 1);
        return request.getListInfo(reply, "order", "items", key, 0);
    };
    for (const QString &key : keys)
        QVERIFY2(read(key) == "1", qPrintable(key));
    QCOMPARE(read("zzOther"), QString("true"));
    // Keys of the other sets that are not in this one are read as text.
    for (const char *other : {"grade", "price", "saleAmt", "brandId", "creditStatus"}) {
        if (!keys.contains(other))
            QVERIFY2(read(other).isEmpty(), other);
    }
}

// Variant reading must give what converting the whole document to a variant map gives.
void TestReplyReader::variantReadingMatchesVariantMap_data()
{
    QTest::addColumn<QString>("value");
    for (const char *value :
         {"12", "-3", "0.5", "1e20", "1e-7", "1546300800000", "12345678901234567", "-0.0", "true",
          "false", "null", "\"x\"", "\"\"", "[1]", "{\"a\":1}", "3.0", "123456789.125"})
        QTest::newRow(value) << QString::fromLatin1(value);
}

void TestReplyReader::variantReadingMatchesVariantMap()
{
    QFETCH(QString, value);
    const QString reply = "{\"data\":{\"k\":" + value + "}}";
    const QString expected = QJsonDocument::fromJson(reply.toUtf8())
                                 .toVariant()
                                 .toMap()
                                 .value("data")
                                 .toMap()
                                 .value("k")
                                 .toString();
    CCNetWorkRequest request;
    QCOMPARE(request.getReturnMsg(reply, "k"), expected);
}

void TestReplyReader::cachedEqualsUncached_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("order list") << kList;
    QTest::newRow("empty") << "";
    QTest::newRow("network error") << "Network access is disabled.";
    QTest::newRow("truncated") << kList.left(kList.size() / 2);
    QTest::newRow("top-level array") << R"([{"name":"a","amt":"100"}])";
    QTest::newRow("array text") << R"([{\"name\":\"a\"}])";
    QTest::newRow("nested data") << R"({"data":{"list":{"list":[]},"proList":[null,1,"x",[]]}})";
    QTest::newRow("odd types") << R"({"httpCode":true,"msg":null,"data":"text","tips":"x"})";
    QTest::newRow("NUL inside") << QString::fromUtf8("{\"data\":{\"n\":\"a\\u0000b\"}}");
    QTest::newRow("raw NUL") << QString("{\"data\":1}") + QChar(0) + "x";
    QTest::newRow("lone surrogate") << QString("{\"msg\":\"") + QChar(0xD800) + "\"}";
    QTest::newRow("whitespace") << " \n\t ";
}

void TestReplyReader::cachedEqualsUncached()
{
    QFETCH(QString, text);
    CCNetWorkRequest request;
    for (const auto &call_ : everyExtractor(text)) {
        ReplyCache::setCapacity(0);
        const QVariant uncached = call(request, call_.first, call_.second);
        ReplyCache::setCapacity(ReplyCache::defaultCapacity);
        ReplyCache::clear();
        const QVariant first = call(request, call_.first, call_.second);
        // A copy that does not share storage takes the character comparison path.
        QVariantList copied = call_.second;
        copied[0] = QString(text.constData(), text.size());
        const QVariant second = call(request, call_.first, call_.second);
        const QVariant third = call(request, call_.first, copied);
        QVERIFY2(first == uncached && second == uncached && third == uncached,
                 qPrintable(call_.first));
    }
}

void TestReplyReader::cacheKeepsRecentTexts()
{
    CCNetWorkRequest request;
    ReplyCache::clear();
    QList<QString> replies;
    for (int i = 0; i < ReplyCache::defaultCapacity + 3; ++i)
        replies << QString("{\"data\":{\"n\":%1}}").arg(i);
    // Interleave more texts than the cache holds: each still reads its own value.
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < replies.size(); ++i)
            QCOMPARE(request.getReturnMsg(replies[i], "n"), QString::number(i));
    }
    ReplyCache::setCapacity(2);
    QCOMPARE(request.getReturnMsg(replies[0], "n"), QString("0"));
    QCOMPARE(request.getReturnMsg(replies[5], "n"), QString("5"));
    QCOMPARE(request.getReturnMsg(replies[0], "n"), QString("0"));
}

// None of these may crash or hang; the values that are defined are checked too.
void TestReplyReader::hostileInputs_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("deep arrays") << QString(100000, '[') + QString(100000, ']');
    QTest::newRow("deep objects") << QString("{\"data\":").repeated(50000) + "1" +
                                         QString(50000, '}');
    QTest::newRow("deep array text") << "[" + QString(60000, '[') + "]";
    QTest::newRow("huge numbers")
        << R"({"data":{"list":[{"payablePrice":1e308,"orderNo":-1e308,"id":123456789012345678901234567890}],"n":1e308}})";
    QTest::newRow("out-of-range number") << R"({"data":{"n":1e999}})";
    QTest::newRow("invalid UTF-8") << QString::fromUtf8("{\"msg\":\"\xff\xfe\xc3\x28\"}");
    QTest::newRow("NUL bytes") << QString::fromUtf8("{\"msg\":\"a\0b\"}", 13);
    QTest::newRow("quote soup") << QString("\\\"").repeated(1000);
    QTest::newRow("one character") << "[";
}

void TestReplyReader::hostileInputs()
{
    QFETCH(QString, text);
    QLoggingCategory::setFilterRules("brenvo.net.warning=false\nbrenvo.net.debug=false");
    CCNetWorkRequest request;
    for (const auto &call_ : everyExtractor(text))
        call(request, call_.first, call_.second);
    QLoggingCategory::setFilterRules(QString());

    if (QByteArray(QTest::currentDataTag()) == "huge numbers") {
        QCOMPARE(request.getReturnMsg(text, "n"), QString("1e+308"));
        const QString price = request.getOrderInfo(text, "payablePrice", 0, 1);
        QCOMPARE(price.size(), 309);
        QVERIFY(price.startsWith("1000000000000000010979"));
        QCOMPARE(request.getOrderInfo(text, "orderNo", 0, 1), QString("-1e+308"));
        QCOMPARE(request.getOrderInfo(text, "id", 0, 1).size(), 30);
    }
    if (QByteArray(QTest::currentDataTag()) == "invalid UTF-8")
        QCOMPARE(request.josnMsg(text), QString::fromUtf8("\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd("));
}

void TestReplyReader::tenMegabyteReply()
{
    const QString row = R"({"id":%1,"orderNo":"NO%1","payablePrice":%2,"remark":"%3"})";
    const QString filler(400, QLatin1Char('x'));
    QStringList rows;
    int size = 0;
    for (int i = 0; size < 10 * 1024 * 1024; ++i) {
        rows << row.arg(i).arg(i * 10).arg(filler);
        size += rows.last().size();
    }
    const QString reply = "{\"httpCode\":200,\"data\":{\"list\":[" + rows.join(',') + "]}}";
    CCNetWorkRequest request;
    QCOMPARE(request.getOrderNum(reply, 1), rows.size());
    const int last = rows.size() - 1;
    QCOMPARE(request.getOrderInfo(reply, "orderNo", last, 1), "NO" + QString::number(last));
    QCOMPARE(request.getOrderInfo(reply, "payablePrice", last, 1), QString::number(last * 10));

    // The same size of text that is not JSON.
    QLoggingCategory::setFilterRules("brenvo.net.warning=false\nbrenvo.net.debug=false");
    const QString broken = reply.left(reply.size() - 1);
    QCOMPARE(request.getOrderNum(broken, 1), 0);
    QCOMPARE(request.josnHttpCode(broken), broken);
    QCOMPARE(request.jsonTra(broken), QString());
    QLoggingCategory::setFilterRules(QString());
}

void TestReplyReader::remarkJson()
{
    CCNetWorkRequest request;
    const QString text = request.createRemarkJson("加急 \"now\"", 42, "小王");
    QVERIFY(!text.contains('\n'));
    QVERIFY(text.startsWith("[    {        \"createTime\": \""));
    const int created = text.indexOf("createTime"), remark = text.indexOf("\"remark\""),
              workId = text.indexOf("workId"), workName = text.indexOf("workName");
    QVERIFY(created < remark && remark < workId && workId < workName);

    const QJsonArray entries = QJsonDocument::fromJson(text.toUtf8()).array();
    QCOMPARE(entries.size(), 1);
    const QJsonObject entry = entries.first().toObject();
    QCOMPARE(entry.value("remark").toString(), QString("加急 \"now\""));
    QCOMPARE(entry.value("workId").toInt(), 42);
    QCOMPARE(entry.value("workName").toString(), QString("小王"));
    const QDateTime created_ =
        QDateTime::fromString(entry.value("createTime").toString(), "yyyy-MM-dd hh:mm:ss");
    QVERIFY(created_.isValid());
    QVERIFY(qAbs(created_.secsTo(QDateTime::currentDateTime())) < 120);

    // What the order screens read back.
    const QJsonObject data{{"remarkJson", text}};
    const QString reply = QString::fromUtf8(QJsonDocument(QJsonObject{{"data", data}}).toJson());
    QCOMPARE(request.getArrayFromString(reply, "remarkJson"), entries);
}

void TestReplyReader::dates_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("result");
    QTest::newRow("next day over a month") << "2019-1-31"
                                           << "+D"
                                           << "2019-02-01";
    QTest::newRow("previous day over a year") << "2019-01-01"
                                              << "-D"
                                              << "2018-12-31";
    QTest::newRow("leap day") << "2020-2-28"
                              << "+D"
                              << "2020-02-29";
    QTest::newRow("previous month over a year") << "2019-1"
                                                << "-M"
                                                << "2018-12";
    QTest::newRow("next month") << "2019-12"
                                << "+M"
                                << "2020-01";
    QTest::newRow("day text for a month step") << "2019-1-31"
                                               << "+M"
                                               << "";
    QTest::newRow("not a date") << "abc"
                                << "+D"
                                << "";
    QTest::newRow("no such day") << "2019-2-30"
                                 << "+D"
                                 << "";
    QTest::newRow("unknown step") << "2019-1-1"
                                  << "+Y"
                                  << "";
}

void TestReplyReader::dates()
{
    QFETCH(QString, date);
    QFETCH(QString, operation);
    QFETCH(QString, result);
    CCNetWorkRequest request;
    QCOMPARE(request.timeOperation(date, operation), result);
}

void TestReplyReader::textHelpers()
{
    CCNetWorkRequest request;
    QCOMPARE(request.sToD("2019-1-5", 1), QDate(2019, 1, 5));
    QCOMPARE(request.sToD("2019-11", 0), QDate(2019, 11, 1));
    QVERIFY(!request.sToD("2019-11", 1).isValid());
    QVERIFY(!request.sToD("x", 0).isValid());

    QCOMPARE(request.cleanString("a\nb\n", "\n"), QString("ab"));
    QCOMPARE(request.cleanString("Aa-aA", "a"), QString("A-A"));
    QCOMPARE(request.cleanString("abc", ""), QString("abc"));

    QVERIFY(request.compareStr("2.10.3", "2.10"));
    QVERIFY(request.compareStr("ABC", "abc"));
    QVERIFY(!request.compareStr("2.1", "2.10"));

    QCOMPARE(request.transcode("V4.0.2"), QString("V4.0.2"));
}

void TestReplyReader::randomName()
{
    const QString alphabet = "ABCDEFGHIJKLMNOPQRSTUVWZYZqazxswedcvfrtgbnhyujmkiolp";
    CCNetWorkRequest request;
    QSet<QString> seen;
    for (int i = 0; i < 20; ++i) {
        const QString name = request.randString();
        QCOMPARE(name.size(), 6);
        for (QChar c : name)
            QVERIFY2(alphabet.contains(c), qPrintable(name));
        seen.insert(name);
        QTest::qWait(2);
    }
    // Seeded from the clock: different milliseconds give different names.
    QVERIFY(seen.size() > 1);
}

void TestReplyReader::machineAndClock()
{
    CCNetWorkRequest request;
    const QHostAddress address(request.getHostIp());
    QCOMPARE(address.protocol(), QAbstractSocket::IPv4Protocol);

    const qint64 before = QDateTime::currentMSecsSinceEpoch();
    const QString stamp = request.mtimestamp();
    QVERIFY(QRegularExpression("^[0-9]{13}$").match(stamp).hasMatch());
    QVERIFY(stamp.toLongLong() >= before);
    QVERIFY(stamp.toLongLong() <= QDateTime::currentMSecsSinceEpoch());

    // Milliseconds, not seconds.
    QElapsedTimer timer;
    timer.start();
    request.qmlSleep(50);
    QVERIFY(timer.elapsed() >= 49);
    QVERIFY(timer.elapsed() < 20000);

    QCOMPARE(request.getCardId(), QString());
    QCOMPARE(request.getRFIDSecret(), QString());
}

QTEST_GUILESS_MAIN(TestReplyReader)
#include "tst_replyreader.moc"
