#include "print/printdata.h"
#include "print/printerhelper.h"

#include <QtTest>
#include <json/value.h>

// The field reading every layout shares, and the printer's `jsonTra`.
class TestPrintData : public QObject
{
    Q_OBJECT

private slots:
    void jsonTraJoinsNames_data();
    void jsonTraJoinsNames();
    void jsonTra1IsJsonTra();
    void styledFieldRoundTrip_data();
    void styledFieldRoundTrip();
    void hundredths_data();
    void hundredths();
    void readDataTakesTheDataMember_data();
    void readDataTakesTheDataMember();
    void integerReadsNumbersAndNumberText_data();
    void integerReadsNumbersAndNumberText();
};

// A list field as the layouts and screens hand it over: the string value as styled JSON.
static QString styled(const QString &listText)
{
    return PrintData::styledText(Json::Value(listText.toStdString()));
}

void TestPrintData::jsonTraJoinsNames_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QString twoServices =
        styled(QStringLiteral(R"([{"name":"A","amt":"500"},{"name":"B","amt":"300"}])"));
    const QString twoAnnexes =
        styled(QStringLiteral(R"([{"id":"1","name":"毛领"},{"id":"2","name":"腰带"}])"));
    const QString empty = styled(QStringLiteral("[]"));

    for (const char *key : {"annexDesc", "addServiceDesc", "colorDesc"})
        QTest::addRow("null, %s", key) << QStringLiteral("null\n") << key << QString();
    QTest::newRow("empty list, annexDesc") << empty << "annexDesc"
                                           << "0";
    QTest::newRow("empty list, colorDesc") << empty << "colorDesc" << QString();
    QTest::newRow("empty list, addServiceDesc") << empty << "addServiceDesc" << QString();
    QTest::newRow("annexDesc counts first") << twoAnnexes << "annexDesc"
                                            << "2毛领/腰带";
    QTest::newRow("addServiceDesc with prices")
        << twoServices << "addServiceDesc" << QStringLiteral("A5.00元/B3.00元");
    QTest::newRow("other key, names only") << twoServices << "flawDesc"
                                           << "A/B";
    QTest::newRow("one colour") << styled(QStringLiteral(R"([{"name":"黑色"}])")) << "colorDesc"
                                << "黑色";
    QTest::newRow("fen not whole yuan")
        << styled(QStringLiteral(R"([{"name":"熨烫","amt":"1505"}])")) << "addServiceDesc"
        << QStringLiteral("熨烫15.05元");
    // JsonCpp's StyledWriter escapes non-ASCII as \uXXXX; the names must survive that.
    QTest::newRow("escaped names")
        << QStringLiteral("\"[{\\\"name\\\":\\\"\\u9ed1\\u8272\\\"}]\"\n") << "colorDesc"
        << QStringLiteral("黑色");
    QTest::newRow("unreadable, annexDesc") << QStringLiteral("\"[{\\\"na\"\n") << "annexDesc"
                                           << "0";
    QTest::newRow("unreadable, colorDesc")
        << QStringLiteral("\"[{\\\"na\"\n") << "colorDesc" << QString();
}

void TestPrintData::jsonTraJoinsNames()
{
    QFETCH(QString, json);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    PrinterHelper helper;
    QCOMPARE(helper.jsonTra(json, key), expected);
}

void TestPrintData::jsonTra1IsJsonTra()
{
    PrinterHelper helper;
    const QString json = styled(QStringLiteral(R"([{"name":"A","amt":"500"}])"));
    for (const QString &key : {QStringLiteral("addServiceDesc"), QStringLiteral("annexDesc")})
        QCOMPARE(helper.jsonTra1(json, key), helper.jsonTra(json, key));
}

void TestPrintData::styledFieldRoundTrip_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("expected");
    QTest::newRow("list in a string field")
        << QStringLiteral(R"({"data":{"colorDesc":"[{\"name\":\"藏青\"},{\"name\":\"白\"}]"}})")
        << QStringLiteral("藏青/白");
    QTest::newRow("null field") << QStringLiteral(R"({"data":{"colorDesc":null}})") << QString();
    QTest::newRow("missing field") << QStringLiteral(R"({"data":{}})") << QString();
}

// What a layout does with a reply field: styled text of the member, then jsonTra.
void TestPrintData::styledFieldRoundTrip()
{
    QFETCH(QString, reply);
    QFETCH(QString, expected);
    const Json::Value data = PrintData::readData(reply);
    QCOMPARE(PrintData::jsonTra(PrintData::styledText(PrintData::member(data, "colorDesc")),
                                QStringLiteral("colorDesc")),
             expected);
}

void TestPrintData::hundredths_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zero") << qint64(0) << "0.00";
    QTest::newRow("one fen") << qint64(1) << "0.01";
    QTest::newRow("yuan and fen") << qint64(13805) << "138.05";
    QTest::newRow("negative change") << qint64(-800) << "-8.00";
    QTest::newRow("negative fen") << qint64(-5) << "-0.05";
    QTest::newRow("quantity 1.50") << qint64(150) << "1.50";
    QTest::newRow("largest") << std::numeric_limits<qint64>::min() << "-92233720368547758.08";
}

void TestPrintData::hundredths()
{
    QFETCH(qint64, value);
    QFETCH(QString, expected);
    QCOMPARE(PrintData::hundredths(value), expected);
}

void TestPrintData::readDataTakesTheDataMember_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("orderNo");
    QTest::newRow("reply") << QStringLiteral(R"({"httpCode":200,"data":{"orderNo":"DD1"}})")
                           << "DD1";
    QTest::newRow("not JSON") << QStringLiteral("<html>502</html>") << QString();
    QTest::newRow("no data") << QStringLiteral(R"({"httpCode":401,"msg":"x"})") << QString();
    QTest::newRow("data not an object") << QStringLiteral(R"({"data":[1,2]})") << QString();
}

void TestPrintData::readDataTakesTheDataMember()
{
    QFETCH(QString, reply);
    QFETCH(QString, orderNo);
    QCOMPARE(PrintData::text(PrintData::readData(reply), "orderNo"), orderNo);
}

void TestPrintData::integerReadsNumbersAndNumberText_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("number") << "13800" << qint64(13800);
    QTest::newRow("negative") << "-800" << qint64(-800);
    QTest::newRow("text") << "\"2500\"" << qint64(2500);
    QTest::newRow("null") << "null" << qint64(0);
    QTest::newRow("milliseconds") << "1718170441000" << qint64(1718170441000);
    QTest::newRow("out of range") << "1e300" << qint64(0);
}

void TestPrintData::integerReadsNumbersAndNumberText()
{
    QFETCH(QString, value);
    QFETCH(qint64, expected);
    const Json::Value data =
        PrintData::readData(QStringLiteral("{\"data\":{\"v\":%1}}").arg(value));
    QCOMPARE(PrintData::integer(data, "v"), expected);
}

QTEST_MAIN(TestPrintData)
#include "tst_printdata.moc"
