// The call's validators, as the coming endpoints read their input: each value either comes
// back as read or is refused with 400 and a message naming the field.

#include <QTemporaryDir>
#include <QTest>
#include <optional>

#include "server/call.h"
#include "server/crypto.h"
#include "server/json.h"
#include "server/options.h"
#include "server/registry.h"
#include "store/database.h"

class TestCallValidators : public QObject
{
    Q_OBJECT

private slots:
    void validators_data();
    void validators();
};

namespace {

// What the validator makes of field "v" of the body: its value as text, or "400 <msg>".
QString readField(const QString &validator, const QByteArray &bodyText)
{
    QTemporaryDir dir;
    Connection db(":memory:");
    const ServerKeys keys(dir.filePath("key").toStdString());
    const ServerOptions options;
    Json::Value body;
    if (!json::parse(bodyText.toStdString(), body))
        return "unparsable test body";
    Call call(db, keys, options, body, 0, "http://127.0.0.1");
    try {
        if (validator == "text")
            return QString::fromStdString(call.text("v"));
        if (validator == "requiredText")
            return QString::fromStdString(call.requiredText("v"));
        if (validator == "integer")
            return QString::number(call.integer("v"));
        if (validator == "optionalInteger") {
            const std::optional<std::int64_t> v = call.optionalInteger("v");
            return v ? QString::number(*v) : "not sent";
        }
        if (validator == "oneOf 1 2")
            return QString::number(call.oneOf("v", {1, 2}));
        if (validator == "oneOf a b")
            return QString::fromStdString(call.oneOf("v", {"a", "b"}));
        if (validator == "date")
            return QString::fromStdString(call.date("v"));
        if (validator == "clockTime")
            return QString::fromStdString(call.clockTime("v"));
        if (validator == "month")
            return QString::fromStdString(call.month("v"));
        if (validator == "jsonArray")
            return QString::fromStdString(json::write(call.jsonArray("v")));
        if (validator == "page") {
            const Page p = call.page(10, 100);
            return QString("%1/%2/%3").arg(p.num).arg(p.size).arg(p.offset());
        }
    } catch (const ApiError &e) {
        return QString::number(e.code()) + " " + QString::fromStdString(e.what());
    }
    return "unknown validator";
}

} // namespace

void TestCallValidators::validators_data()
{
    QTest::addColumn<QString>("validator");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("result");
    const QString hundred(100, QChar(0x5b57)); // 字: three bytes each, one character

    QTest::newRow("text") << "text" << QByteArray(R"({"v":"王小二"})") << "王小二";
    QTest::newRow("text, empty") << "text" << QByteArray(R"({"v":""})") << "";
    QTest::newRow("text, missing") << "text" << QByteArray(R"({})") << "400 缺少参数: v";
    QTest::newRow("text, a number") << "text" << QByteArray(R"({"v":5})") << "400 参数类型错误: v";
    QTest::newRow("text, 100 characters")
        << "text" << (R"({"v":")" + hundred + R"("})").toUtf8() << hundred;
    QTest::newRow("text, 101 characters")
        << "text" << (R"({"v":"x)" + hundred + R"("})").toUtf8() << "400 参数过长: v（最多100字）";
    QTest::newRow("requiredText, empty")
        << "requiredText" << QByteArray(R"({"v":""})") << "400 参数不能为空: v";

    QTest::newRow("integer, number") << "integer" << QByteArray(R"({"v":42})") << "42";
    QTest::newRow("integer, text") << "integer" << QByteArray(R"({"v":"-7"})") << "-7";
    QTest::newRow("integer, largest")
        << "integer" << QByteArray(R"({"v":9223372036854775807})") << "9223372036854775807";
    QTest::newRow("integer, 2^63")
        << "integer" << QByteArray(R"({"v":9223372036854775808})") << "400 参数类型错误: v";
    QTest::newRow("integer, 2^63 as text")
        << "integer" << QByteArray(R"({"v":"9223372036854775808"})") << "400 参数类型错误: v";
    QTest::newRow("integer, fraction")
        << "integer" << QByteArray(R"({"v":1.5})") << "400 参数类型错误: v";
    QTest::newRow("integer, true")
        << "integer" << QByteArray(R"({"v":true})") << "400 参数类型错误: v";
    // -2^63 has no positive counterpart: negated it stays itself.
    QTest::newRow("integer, smallest")
        << "integer" << QByteArray(R"({"v":-9223372036854775807})") << "-9223372036854775807";
    QTest::newRow("integer, -2^63")
        << "integer" << QByteArray(R"({"v":-9223372036854775808})") << "400 参数类型错误: v";
    QTest::newRow("integer, -2^63 as text")
        << "integer" << QByteArray(R"({"v":"-9223372036854775808"})") << "400 参数类型错误: v";

    // Absence is its own answer, apart from every number a caller can send.
    QTest::newRow("optional integer, missing")
        << "optionalInteger" << QByteArray(R"({})") << "not sent";
    QTest::newRow("optional integer, null")
        << "optionalInteger" << QByteArray(R"({"v":null})") << "not sent";
    QTest::newRow("optional integer, empty text")
        << "optionalInteger" << QByteArray(R"({"v":""})") << "not sent";
    QTest::newRow("optional integer, 0") << "optionalInteger" << QByteArray(R"({"v":0})") << "0";
    QTest::newRow("optional integer, -1 as text")
        << "optionalInteger" << QByteArray(R"({"v":"-1"})") << "-1";
    QTest::newRow("optional integer, smallest")
        << "optionalInteger" << QByteArray(R"({"v":"-9223372036854775807"})")
        << "-9223372036854775807";
    QTest::newRow("optional integer, -2^63")
        << "optionalInteger" << QByteArray(R"({"v":-9223372036854775808})")
        << "400 参数类型错误: v";
    QTest::newRow("optional integer, a word")
        << "optionalInteger" << QByteArray(R"({"v":"x"})") << "400 参数类型错误: v";

    QTest::newRow("oneOf, allowed number") << "oneOf 1 2" << QByteArray(R"({"v":2})") << "2";
    QTest::newRow("oneOf, allowed text") << "oneOf 1 2" << QByteArray(R"({"v":"1"})") << "1";
    QTest::newRow("oneOf, other") << "oneOf 1 2" << QByteArray(R"({"v":3})")
                                  << "400 参数取值错误: v";
    QTest::newRow("oneOf texts, allowed") << "oneOf a b" << QByteArray(R"({"v":"b"})") << "b";
    QTest::newRow("oneOf texts, other")
        << "oneOf a b" << QByteArray(R"({"v":"c"})") << "400 参数取值错误: v";

    QTest::newRow("date, leap day")
        << "date" << QByteArray(R"({"v":"2024-02-29"})") << "2024-02-29";
    QTest::newRow("date, no leap day")
        << "date" << QByteArray(R"({"v":"2023-02-29"})") << "400 日期格式错误: v";
    QTest::newRow("date, month 13")
        << "date" << QByteArray(R"({"v":"2024-13-01"})") << "400 日期格式错误: v";
    QTest::newRow("date, short form")
        << "date" << QByteArray(R"({"v":"2024-1-01"})") << "400 日期格式错误: v";
    QTest::newRow("date, empty") << "date" << QByteArray(R"({"v":""})") << "400 参数不能为空: v";

    QTest::newRow("month, December") << "month" << QByteArray(R"({"v":"2019-12"})") << "2019-12";
    QTest::newRow("month, month 13")
        << "month" << QByteArray(R"({"v":"2019-13"})") << "400 月份格式错误: v";
    QTest::newRow("month, month 0")
        << "month" << QByteArray(R"({"v":"2019-00"})") << "400 月份格式错误: v";
    QTest::newRow("month, a day") << "month" << QByteArray(R"({"v":"2019-03-01"})")
                                  << "400 月份格式错误: v";
    QTest::newRow("month, short form")
        << "month" << QByteArray(R"({"v":"2019-3"})") << "400 月份格式错误: v";

    QTest::newRow("clock, midnight") << "clockTime" << QByteArray(R"({"v":"00:00"})") << "00:00";
    QTest::newRow("clock, last minute") << "clockTime" << QByteArray(R"({"v":"23:59"})") << "23:59";
    QTest::newRow("clock, 24:00") << "clockTime" << QByteArray(R"({"v":"24:00"})")
                                  << "400 时间格式错误: v";
    QTest::newRow("clock, minute 60")
        << "clockTime" << QByteArray(R"({"v":"12:60"})") << "400 时间格式错误: v";
    QTest::newRow("clock, one digit hour")
        << "clockTime" << QByteArray(R"({"v":"9:00"})") << "400 时间格式错误: v";

    QTest::newRow("array") << "jsonArray" << QByteArray(R"({"v":"[1, {\"a\": \"x\"}]"})")
                           << R"([1,{"a":"x"}])";
    QTest::newRow("array, an object")
        << "jsonArray" << QByteArray(R"({"v":"{}"})") << "400 参数格式错误: v";
    QTest::newRow("array, not JSON")
        << "jsonArray" << QByteArray(R"({"v":"[1,"})") << "400 参数格式错误: v";
    QTest::newRow("array, nested too deep")
        << "jsonArray" << (R"({"v":")" + QByteArray(100, '[') + QByteArray(100, ']') + R"("})")
        << "400 参数格式错误: v";

    QTest::newRow("page, defaults") << "page" << QByteArray(R"({})") << "1/10/0";
    QTest::newRow("page 3 of 20") << "page" << QByteArray(R"({"pageNum":3,"pageSize":"20"})")
                                  << "3/20/40";
    QTest::newRow("page, size 100") << "page" << QByteArray(R"({"pageSize":100})") << "1/100/0";
    QTest::newRow("page, size 101") << "page" << QByteArray(R"({"pageSize":101})")
                                    << "400 分页参数错误: pageSize 应在1到100之间";
    QTest::newRow("page, size 0") << "page" << QByteArray(R"({"pageSize":0})")
                                  << "400 分页参数错误: pageSize 应在1到100之间";
    QTest::newRow("page 0") << "page" << QByteArray(R"({"pageNum":0})")
                            << "400 分页参数错误: pageNum 应在1到1000000之间";
    QTest::newRow("page, not a number")
        << "page" << QByteArray(R"({"pageNum":"x"})") << "400 参数类型错误: pageNum";
}

void TestCallValidators::validators()
{
    QFETCH(QString, validator);
    QFETCH(QByteArray, body);
    QFETCH(QString, result);
    QCOMPARE(readField(validator, body), result);
}

QTEST_GUILESS_MAIN(TestCallValidators)
#include "tst_callvalidators.moc"
