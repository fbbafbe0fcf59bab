// Request signing: the signed query and the login digests. Expected digests were worked
// out independently of this code (MD5 of the value texts in key order).
#include "net/ccnetworkrequest.h"
#include "net/signset.h"

#include <QtTest>

class TestSignSet : public QObject
{
    Q_OBJECT

private slots:
    void signedQuery_data();
    void signedQuery();
    void signature_data();
    void signature();
    void loginDigest_data();
    void loginDigest();
};

void TestSignSet::signedQuery_data()
{
    QTest::addColumn<QString>("params");
    QTest::addColumn<QString>("query");

    QTest::newRow("keys sorted, sign before timestamp")
        << R"({"b":"2","a":"1","timestamp":"100"})"
        << "a=1&b=2&sign=c8829bcfb9c1d89b93f14dee9add8a0b&timestamp=100";
    QTest::newRow("number signed and sent as empty")
        << R"({"pageNum":1,"timestamp":"5"})"
        << "pageNum=&sign=e4da3b7fbbce2345d7772b0674a318d5&timestamp=5";
    QTest::newRow("appSecret signed, never in the query")
        << R"({"b":"B","appSecret":"S","accessToken":"T","timestamp":"9"})"
        << "accessToken=T&b=B&sign=6b97e57f2092e072c48104b81850f524&timestamp=9";
    QTest::newRow("upper case before lower case")
        << R"({"apple":"y","Zone":"x","timestamp":"1"})"
        << "Zone=x&apple=y&sign=9aa9401209923ed8f13679750fd1db76&timestamp=1";
    QTest::newRow("no timestamp, no sign") << R"({"a":"1"})"
                                           << "a=1";
    QTest::newRow("empty object") << "{}"
                                  << "";
    QTest::newRow("not JSON") << "abc"
                              << "";
    QTest::newRow("top-level array") << R"(["a"])"
                                     << "";
    QTest::newRow("null, bool and object values are empty")
        << R"({"a":null,"b":true,"c":{"x":"1"},"d":[1]})"
        << "a=&b=&c=&d=";
    // The query is percent-encoded; the signature is over the raw texts.
    QTest::newRow("reserved characters, space and Chinese encoded")
        << R"({"a":"x&y=z#w+v 中","timestamp":"1"})"
        << "a=x%26y%3Dz%23w%2Bv%20%E4%B8%AD&sign=9a3a34680000667b86b9b41d0343aa2d&timestamp=1";
    QTest::newRow("keys encoded too")
        << R"({"键 k":"值","timestamp":"1"})"
        << "sign=8ba2e641bec7e83d2ddd0b2d4e7d6707&timestamp=1&%E9%94%AE%20k=%E5%80%BC";
    QTest::newRow("unreserved characters kept") << R"({"a":"A-z_0.9~"})"
                                                << "a=A-z_0.9~";
}

void TestSignSet::signedQuery()
{
    QFETCH(QString, params);
    QFETCH(QString, query);
    SignSet signSet;
    QCOMPARE(signSet.getinterfastr(params), query);
}

void TestSignSet::signature_data()
{
    QTest::addColumn<QString>("params");
    QTest::addColumn<QString>("sign");

    QTest::newRow("values in key order") << R"({"timestamp":"100","b":"2","a":"1"})"
                                         << "c8829bcfb9c1d89b93f14dee9add8a0b";
    QTest::newRow("not JSON is the digest of nothing") << "{"
                                                       << "d41d8cd98f00b204e9800998ecf8427e";
    QTest::newRow("empty object") << "{}"
                                  << "d41d8cd98f00b204e9800998ecf8427e";
    QTest::newRow("UTF-8 of Chinese") << R"({"x":"值","a":"1"})"
                                      << "8ba2e641bec7e83d2ddd0b2d4e7d6707";
}

void TestSignSet::signature()
{
    QFETCH(QString, params);
    QFETCH(QString, sign);
    SignSet signSet;
    QCOMPARE(signSet.getSign(params), sign);
}

void TestSignSet::loginDigest_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("digest");

    QTest::newRow("ASCII") << "abc"
                           << "xyz"
                           << "df33539ba1f99ca65385da84feebf702";
    QTest::newRow("Latin-1 byte") << QString::fromUtf8("é") << "k"
                                  << "6b7e8a714099f5b58b7f54a13bc18dc4";
    QTest::newRow("outside Latin-1 becomes ?") << QString::fromUtf8("中") << "k"
                                               << "5e5c52e856b2bc29a774ff3bdf7ad36b";
}

void TestSignSet::loginDigest()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, digest);
    CCNetWorkRequest request;
    QCOMPARE(request.mmd5(first, second), digest);
}

QTEST_GUILESS_MAIN(TestSignSet)
#include "tst_signset.moc"
