// The request object on the wire, against a server on the loopback address.
#include "loopbackserver.h"
#include "net/ccnetworkrequest.h"
#include "net/signset.h"
#include "tests/device/logcapture.h"

#include <QtTest>

#include <algorithm>

namespace {

const QString kParamError = QStringLiteral("请求参数错误!");

struct Spies
{
    explicit Spies(CCNetWorkRequest &r)
        : finished(&r, &CCNetWorkRequest::reqFlishedReturn),
          refused(&r, &CCNetWorkRequest::reqErrorReturn),
          params(&r, &CCNetWorkRequest::reqParamsReturn)
    {
        // What a reply handler sees while the text is being delivered.
        QObject::connect(&r, &CCNetWorkRequest::reqFlishedReturn, &r,
                         [this, &r] { failed << r.lastReplyFailed(); });
    }
    QString finishedText() const { return finished.value(0).value(0).toString(); }
    QSignalSpy finished;
    QSignalSpy refused;
    QSignalSpy params;
    QList<bool> failed;
};

bool runOpenssl(const QStringList &args, const QString &dir)
{
    QProcess openssl;
    openssl.setWorkingDirectory(dir);
    openssl.start(QStringLiteral(BRENVO_OPENSSL), args);
    return openssl.waitForFinished(60000) && openssl.exitStatus() == QProcess::NormalExit &&
           openssl.exitCode() == 0;
}

} // namespace

class TestCCNetWorkRequest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void postSendsSortedCompactBody_data();
    void postSendsSortedCompactBody();
    void postRefusesTextThatIsNotJson_data();
    void postRefusesTextThatIsNotJson();
    void getAddressesAndKeptHeader();
    void fullAddressVariants();
    void signedQueryArrivesIntact();
    void appSecretStaysOutOfTheAddress_data();
    void appSecretStaysOutOfTheAddress();
    void replyIsDecodedAsUtf8();
    void failuresDeliverTheErrorText_data();
    void failuresDeliverTheErrorText();
    void silentServerTimesOut();
    void repliesAreReleased();
    void repliesReachTheirCall();
    void objectsShareOneConnection();
    void closedObjectDropsItsCalls();
    void repliesWaitForTheUploadLoop();
    void logHidesSecrets_data();
    void logHidesSecrets();
    void tlsTrust_data();
    void tlsTrust();

private:
    void useBackend(const LoopbackServer &server);

    QTemporaryDir certDir;
    bool haveCerts = false;
};

void TestCCNetWorkRequest::initTestCase()
{
    // Only the environment configures these tests, never a brenvo.ini lying around.
    qputenv("BRENVO_CONFIG", QFile::encodeName(certDir.filePath("none.ini")));
    QVERIFY(certDir.isValid());

    // A private CA and a server certificate for 127.0.0.1 signed by it.
    const QString dir = certDir.path();
    haveCerts =
        QSslSocket::supportsSsl() &&
        runOpenssl({"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                    "-nodes", "-keyout", "ca.key", "-out", "ca.pem", "-days", "2", "-subj",
                    "/CN=Brenvo Test CA", "-addext", "basicConstraints=critical,CA:TRUE", "-addext",
                    "keyUsage=critical,keyCertSign,cRLSign"},
                   dir) &&
        runOpenssl({"req", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
                    "-keyout", "server.key", "-out", "server.csr", "-subj", "/CN=127.0.0.1"},
                   dir);
    if (haveCerts) {
        QFile ext(certDir.filePath("server.ext"));
        QVERIFY(ext.open(QIODevice::WriteOnly));
        ext.write("subjectAltName=IP:127.0.0.1\nbasicConstraints=CA:FALSE\n"
                  "extendedKeyUsage=serverAuth\n");
        ext.close();
        haveCerts = runOpenssl({"x509", "-req", "-in", "server.csr", "-CA", "ca.pem", "-CAkey",
                                "ca.key", "-CAcreateserial", "-out", "server.pem", "-days", "2",
                                "-extfile", "server.ext"},
                               dir);
    }
}

void TestCCNetWorkRequest::init()
{
    qunsetenv("BRENVO_CA_BUNDLE");
    qunsetenv("BRENVO_REQUEST_TIMEOUT_MS");
    qunsetenv("BRENVO_BACKEND_URL");
    qunsetenv("BRENVO_UPLOAD_HOST");
}

void TestCCNetWorkRequest::useBackend(const LoopbackServer &server)
{
    // A trailing slash must not double the one before "mac".
    qputenv("BRENVO_BACKEND_URL", (server.baseUrl() + "/").toUtf8());
}

void TestCCNetWorkRequest::postSendsSortedCompactBody_data()
{
    QTest::addColumn<QString>("param");
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("empty object") << "{}" << QByteArray("{}");
    QTest::newRow("keys sorted") << R"({"b":"1","a":"2"})" << QByteArray(R"({"a":"2","b":"1"})");
    QTest::newRow("whitespace dropped, nested sorted, numbers kept")
        << "{ \"z\" : { \"b\" : 1, \"a\" : [ 2, \"中 文\" ] }, \"pageNum\": 1 }"
        << QByteArray("{\"pageNum\":1,\"z\":{\"a\":[2,\"中 文\"],\"b\":1}}");
}

void TestCCNetWorkRequest::postSendsSortedCompactBody()
{
    QFETCH(QString, param);
    QFETCH(QByteArray, body);
    LoopbackServer server;
    QVERIFY(server.start());
    useBackend(server);

    CCNetWorkRequest request;
    Spies spies(request);
    request.CCRequest_POST(param, "orderInfo/add?a=1");
    QTRY_COMPARE(spies.finished.count(), 1);

    QCOMPARE(server.requests.size(), 1);
    const ReceivedRequest &got = server.requests.first();
    QCOMPARE(got.method, QByteArray("POST"));
    QCOMPARE(got.target, QByteArray("/mac/orderInfo/add?a=1"));
    QCOMPARE(got.body, body);
    QCOMPARE(got.headers.value("content-type"), QByteArray("application/json;charset=UTF-8"));
    QCOMPARE(spies.params.count(), 1);
    QCOMPARE(spies.params.first().first().toString(), server.baseUrl() + "/mac/orderInfo/add?a=1");
    QCOMPARE(spies.finishedText(), QString::fromUtf8(server.replyBody));
    QCOMPARE(spies.refused.count(), 0);
}

void TestCCNetWorkRequest::postRefusesTextThatIsNotJson_data()
{
    QTest::addColumn<bool>("fullAddress");
    QTest::addColumn<QString>("param");
    QTest::newRow("POST abc") << false << "abc";
    QTest::newRow("POST empty") << false << "";
    QTest::newRow("POST cut short") << false << R"({"a":)";
    QTest::newRow("POST1 abc") << true << "abc";
}

void TestCCNetWorkRequest::postRefusesTextThatIsNotJson()
{
    QFETCH(bool, fullAddress);
    QFETCH(QString, param);
    LoopbackServer server;
    QVERIFY(server.start());
    useBackend(server);

    CCNetWorkRequest request;
    Spies spies(request);
    if (fullAddress)
        request.CCRequest_POST1(param, server.baseUrl() + "/x");
    else
        request.CCRequest_POST(param, "orderInfo/add");
    QCOMPARE(spies.refused.count(), 1);
    QCOMPARE(spies.refused.first().first().toString(), kParamError);
    QTest::qWait(300);
    QCOMPARE(spies.finished.count(), 0);
    QCOMPARE(spies.params.count(), 0);
    QCOMPARE(server.connections, 0);
}

void TestCCNetWorkRequest::getAddressesAndKeptHeader()
{
    LoopbackServer server;
    QVERIFY(server.start());
    useBackend(server);

    CCNetWorkRequest fresh;
    Spies freshSpies(fresh);
    fresh.CCRequest_GET("?k=1", "userTag/all");
    QTRY_COMPARE(freshSpies.finished.count(), 1);
    QCOMPARE(server.requests.last().method, QByteArray("GET"));
    QCOMPARE(server.requests.last().target, QByteArray("/mac/userTag/all?k=1"));
    QVERIFY(!server.requests.last().headers.contains("content-type"));

    // The header a POST set stays on the object's request for its later GETs.
    CCNetWorkRequest request;
    Spies spies(request);
    request.CCRequest_POST("{}", "client/logout");
    QTRY_COMPARE(spies.finished.count(), 1);
    request.CCRequest_GET("", "wkMenu/queryAllByWorkId?x=2");
    QTRY_COMPARE(spies.finished.count(), 2);
    QCOMPARE(server.requests.last().method, QByteArray("GET"));
    QCOMPARE(server.requests.last().target, QByteArray("/mac/wkMenu/queryAllByWorkId?x=2"));
    QCOMPARE(server.requests.last().headers.value("content-type"),
             QByteArray("application/json;charset=UTF-8"));
    QCOMPARE(spies.params.last().first().toString(),
             server.baseUrl() + "/mac/wkMenu/queryAllByWorkId?x=2");
}

void TestCCNetWorkRequest::fullAddressVariants()
{
    LoopbackServer server;
    QVERIFY(server.start());
    server.replyBody = "V4.0.3";

    CCNetWorkRequest request;
    Spies spies(request);
    request.CCRequest_GET1("ignored", server.baseUrl() + "/pos/upgrade_pc.txt");
    QTRY_COMPARE(spies.finished.count(), 1);
    QCOMPARE(server.requests.last().target, QByteArray("/pos/upgrade_pc.txt"));
    QCOMPARE(spies.finishedText(), QString("V4.0.3"));
    QCOMPARE(spies.failed, QList<bool>{false});
    QCOMPARE(spies.params.last().first().toString(), server.baseUrl() + "/pos/upgrade_pc.txt");

    request.CCRequest_POST1(R"({"b":2,"a":1})", server.baseUrl() + "/v3/ip?output=json");
    QTRY_COMPARE(spies.finished.count(), 2);
    QCOMPARE(server.requests.last().method, QByteArray("POST"));
    QCOMPARE(server.requests.last().target, QByteArray("/v3/ip?output=json"));
    QCOMPARE(server.requests.last().body, QByteArray(R"({"a":1,"b":2})"));
}

void TestCCNetWorkRequest::signedQueryArrivesIntact()
{
    LoopbackServer server;
    QVERIFY(server.start());
    useBackend(server);

    const QString raw = QString::fromUtf8("x&y=z#w+v 中");
    const QString param =
        QString::fromUtf8(QJsonDocument(QJsonObject{{"a", raw}, {"timestamp", "1"}}).toJson());
    SignSet signSet;
    CCNetWorkRequest request;
    Spies spies(request);
    request.CCRequest_POST(param, "userInfo/queryByKey?" + signSet.getinterfastr(param));
    QTRY_COMPARE(spies.finished.count(), 1);

    const QByteArray target = server.requests.first().target;
    QVERIFY2(target.startsWith("/mac/userInfo/queryByKey?a=x%26y%3Dz%23w%2Bv%20%E4%B8%AD&"),
             target.constData());
    const QUrlQuery query(QUrl::fromEncoded("http://h" + target).query(QUrl::FullyEncoded));
    QCOMPARE(query.queryItemValue("a", QUrl::FullyDecoded), raw);
    QCOMPARE(query.queryItemValue("timestamp", QUrl::FullyDecoded), QString("1"));
    // MD5 of the raw texts "x&y=z#w+v 中" and "1".
    QCOMPARE(query.queryItemValue("sign", QUrl::FullyDecoded),
             QString("9a3a34680000667b86b9b41d0343aa2d"));
    QCOMPARE(server.requests.first().body,
             QJsonDocument::fromJson(param.toUtf8()).toJson(QJsonDocument::Compact));
}

void TestCCNetWorkRequest::appSecretStaysOutOfTheAddress_data()
{
    QTest::addColumn<QString>("param");
    QTest::addColumn<QString>("secret");
    // As the screens' request piece builds them: the session fields, then the call's own.
    QTest::newRow("session fields")
        << R"({"accessToken":"T1","appSecret":"S3cretKey","serialNum":"BV1","timestamp":"17","userId":"7"})"
        << "S3cretKey";
    QTest::newRow("a field shaped like the pair")
        << R"({"appSecret":"S3cretKey","remark":"&appSecret=forged","timestamp":"17"})"
        << "S3cretKey";
    QTest::newRow("keys on either side")
        << R"({"Zone":"x","appSecret":"S3cretKey","appSecretX":"y","b":"z","timestamp":"5"})"
        << "S3cretKey";
    QTest::newRow("secret with query characters")
        << R"({"appSecret":"S3cret&b=1 中","timestamp":"9"})"
        << "S3cret";
    QTest::newRow("no timestamp, so no sign") << R"({"a":"1","appSecret":"S3cretKey"})"
                                              << "S3cretKey";
}

// The signing key enters the signature and travels in the body, but the address that is sent,
// announced and logged never carries it.
void TestCCNetWorkRequest::appSecretStaysOutOfTheAddress()
{
    QFETCH(QString, param);
    QFETCH(QString, secret);
    LoopbackServer server;
    QVERIFY(server.start());
    useBackend(server);

    LogCapture log("brenvo.net");
    SignSet signSet;
    CCNetWorkRequest request;
    Spies spies(request);
    request.CCRequest_POST(param, "userInfo/list?" + signSet.getinterfastr(param));
    QTRY_COMPARE(spies.finished.count(), 1);

    const ReceivedRequest &sent = server.requests.first();
    const QUrl url = QUrl::fromEncoded("http://h" + sent.target);
    QVERIFY2(!QUrlQuery(url.query(QUrl::FullyEncoded)).hasQueryItem("appSecret"),
             sent.target.constData());
    QVERIFY2(!QUrl::fromPercentEncoding(sent.target).contains(secret), sent.target.constData());
    const QString announced = spies.params.value(0).value(0).toString();
    QVERIFY2(announced.startsWith(server.baseUrl()) && !announced.contains(secret),
             qPrintable(announced));
    const QString lines = log.lines().join('\n');
    QVERIFY2(lines.contains("send:") && !lines.contains(secret), qPrintable(lines));
    QVERIFY(QJsonDocument::fromJson(sent.body)
                .object()
                .value("appSecret")
                .toString()
                .startsWith(secret));
}

void TestCCNetWorkRequest::replyIsDecodedAsUtf8()
{
    LoopbackServer server;
    QVERIFY(server.start());
    useBackend(server);
    server.replyBody = "{\"msg\":\"\xe6\x88\x90\xff\"}";

    CCNetWorkRequest request;
    Spies spies(request);
    request.CCRequest_POST("{}", "x");
    QTRY_COMPARE(spies.finished.count(), 1);
    QCOMPARE(spies.finishedText(), QString::fromUtf8("{\"msg\":\"成\xef\xbf\xbd\"}"));
    QCOMPARE(request.josnMsg(spies.finishedText()), QString::fromUtf8("成\xef\xbf\xbd"));
}

void TestCCNetWorkRequest::failuresDeliverTheErrorText_data()
{
    QTest::addColumn<QByteArray>("status");
    QTest::addColumn<QString>("fragment");
    QTest::newRow("nobody listening") << QByteArray() << "refused";
    QTest::newRow("not found") << QByteArray("404 Not Found") << "Not Found";
    QTest::newRow("server error") << QByteArray("500 Internal Server Error")
                                  << "Internal Server Error";
}

void TestCCNetWorkRequest::failuresDeliverTheErrorText()
{
    QFETCH(QByteArray, status);
    QFETCH(QString, fragment);
    LoopbackServer server;
    QVERIFY(server.start());
    useBackend(server);
    if (status.isEmpty())
        server.close();
    else
        server.replyStatus = status;

    CCNetWorkRequest request;
    Spies spies(request);
    request.CCRequest_POST("{}", "orderInfo/list");
    QTRY_COMPARE(spies.finished.count(), 1);
    const QString text = spies.finishedText();
    QVERIFY2(text.contains(fragment, Qt::CaseInsensitive), qPrintable(text));
    QVERIFY(!text.contains("httpCode"));
    QCOMPARE(spies.failed, QList<bool>{true});
    // What the screens do with it: the text itself as the code, so never "200".
    QCOMPARE(request.josnHttpCode(text), text);
    QCOMPARE(request.josnMsg(text), QString());
}

void TestCCNetWorkRequest::silentServerTimesOut()
{
    LoopbackServer server;
    QVERIFY(server.start());
    useBackend(server);
    server.answer = false;
    qputenv("BRENVO_REQUEST_TIMEOUT_MS", "300");

    CCNetWorkRequest request;
    Spies spies(request);
    request.CCRequest_POST("{}", "orderInfo/list");
    request.CCRequest_GET("", "userTag/all");
    QTRY_COMPARE_WITH_TIMEOUT(spies.finished.count(), 2, 15000);
    QCOMPARE(server.requests.size(), 2);
    QCOMPARE(spies.failed, (QList<bool>{true, true}));
    for (const QList<QVariant> &emitted : spies.finished) {
        const QString text = emitted.first().toString();
        QVERIFY(!text.isEmpty());
        QVERIFY(request.josnHttpCode(text) != "200");
    }
}

void TestCCNetWorkRequest::repliesAreReleased()
{
    LoopbackServer server;
    QVERIFY(server.start());
    useBackend(server);

    CCNetWorkRequest request;
    Spies spies(request);
    for (int i = 0; i < 3; ++i)
        request.CCRequest_POST("{}", "x");
    QTRY_COMPARE(spies.finished.count(), 3);
    QTRY_COMPARE(qApp->findChildren<QNetworkReply *>().size(), 0);
}

void TestCCNetWorkRequest::repliesReachTheirCall()
{
    LoopbackServer server;
    QVERIFY(server.start());
    useBackend(server);
    server.answer = false;

    CCNetWorkRequest request;
    QSignalSpy calls(&request, &CCNetWorkRequest::callFinished);
    const int first = request.CCRequest_POST(R"({"n":"1"})", "userTag/list");
    const int second = request.CCRequest_POST(R"({"n":"2"})", "couponInfo/userList");
    QVERIFY(first > 0 && second > 0 && first != second);
    QCOMPARE(request.CCRequest_POST("abc", "x"), 0); // refused: nothing sent, no id
    QTRY_COMPARE(server.held.size(), 2);

    // The later request is answered first; each answer names its own call.
    const int secondIndex = server.requests[0].body.contains("\"2\"") ? 0 : 1;
    server.answerHeld(secondIndex, R"({"httpCode":200,"msg":"coupons"})");
    QTRY_COMPARE(calls.count(), 1);
    server.answerHeld(1 - secondIndex, R"({"httpCode":200,"msg":"tags"})");
    QTRY_COMPARE(calls.count(), 2);
    QCOMPARE(calls[0][0].toInt(), second);
    QCOMPARE(request.josnMsg(calls[0][1].toString()), QString("coupons"));
    QCOMPARE(calls[1][0].toInt(), first);
    QCOMPARE(request.josnMsg(calls[1][1].toString()), QString("tags"));
    QCOMPARE(calls[1][2].toBool(), false);
}

void TestCCNetWorkRequest::objectsShareOneConnection()
{
    LoopbackServer server;
    QVERIFY(server.start());
    useBackend(server);

    // One screen after the other, as the worker moves through the terminal.
    for (int i = 0; i < 3; ++i) {
        CCNetWorkRequest request;
        Spies spies(request);
        request.CCRequest_POST("{}", "x");
        QTRY_COMPARE(spies.finished.count(), 1);
    }
    QCOMPARE(server.requests.size(), 3);
    QCOMPARE(server.connections, 1);
}

void TestCCNetWorkRequest::closedObjectDropsItsCalls()
{
    LoopbackServer server;
    QVERIFY(server.start());
    useBackend(server);
    server.answer = false;

    auto *request = new CCNetWorkRequest;
    request->CCRequest_POST("{}", "orderInfo/list");
    QTRY_COMPARE(server.held.size(), 1);
    delete request; // the screen closed while its call was out
    server.answerHeld(0, server.replyBody);
    QTRY_COMPARE(qApp->findChildren<QNetworkReply *>().size(), 0);
}

// A screen uploads its photos one after the other, blocked in each upload, while replies to
// its earlier requests and to another screen's come in. The other screen hears its reply
// during the uploads; this screen hears its own only once it is back in the event loop,
// after the last upload, in the order they came.
void TestCCNetWorkRequest::repliesWaitForTheUploadLoop()
{
    LoopbackServer backend;
    backend.answer = false;
    QVERIFY(backend.start());
    useBackend(backend);
    LoopbackServer store;
    store.answer = false;
    QVERIFY(store.start());
    qputenv("BRENVO_UPLOAD_HOST", store.baseUrl().toUtf8());
    QTemporaryDir work;
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(work.path()));
    QVERIFY(QDir().mkpath("qrpic/client"));
    for (const char *name : {"qrpic/client/a.jpg", "qrpic/client/b.jpg"}) {
        QFile photo(QString::fromLatin1(name));
        QVERIFY(photo.open(QIODevice::WriteOnly) && photo.write("jpeg") == 4);
    }

    CCNetWorkRequest screen;
    CCNetWorkRequest other;
    QSignalSpy screenCalls(&screen, &CCNetWorkRequest::callFinished);
    QSignalSpy otherCalls(&other, &CCNetWorkRequest::callFinished);
    const int photos = screen.CCRequest_POST("{}", "orderProductRelImg/list");
    const int carriage = screen.CCRequest_POST("{}", "mercCity/carriage");
    other.CCRequest_POST("{}", "wkMenu/queryAllByWorkId");
    auto held = [&](const char *path) {
        for (int i = 0; i < backend.requests.size(); ++i)
            if (backend.requests[i].target.contains(path))
                return i;
        return -1;
    };

    // Played while the screen is blocked in its uploads: the backend answers the carriage,
    // then the photos, then the other screen; the photo store answers the first upload once
    // all three replies are in, and the second upload at once.
    int step = 0;
    QTimer counter;
    counter.setInterval(5);
    connect(&counter, &QTimer::timeout, this, [&] {
        const QByteArray ok = R"({"httpCode":200,"msg":"ok"})";
        if (step == 0 && store.held.size() == 1 && backend.requests.size() == 3) {
            backend.answerHeld(held("mercCity"), ok);
            ++step;
        } else if (step == 1 && screen.heldReplyCount() == 1) {
            backend.answerHeld(held("orderProductRelImg"), ok);
            backend.answerHeld(held("wkMenu"), ok);
            ++step;
        } else if (step == 2 && screen.heldReplyCount() == 2 && otherCalls.count() == 1) {
            store.answerHeld(0, R"({"key":"client/a.jpg"})");
            ++step;
        } else if (step == 3 && store.held.size() == 2) {
            store.answerHeld(1, R"({"key":"client/b.jpg"})");
            ++step;
        }
    });
    counter.start();

    QCOMPARE(screen.qiniuUpload("token", "client/a.jpg"), QString("client/a.jpg"));
    // Between two uploads, still inside the screen's loop.
    QCOMPARE(screenCalls.count(), 0);
    QCOMPARE(screen.qiniuUpload("token", "client/b.jpg"), QString("client/b.jpg"));
    QCOMPARE(step, 4);
    QCOMPARE(screenCalls.count(), 0);
    QCOMPARE(otherCalls.count(), 1);
    QCOMPARE(screen.heldReplyCount(), 2);

    QTRY_COMPARE(screenCalls.count(), 2);
    QCOMPARE(screenCalls[0][0].toInt(), carriage);
    QCOMPARE(screenCalls[1][0].toInt(), photos);
    QCOMPARE(screen.heldReplyCount(), 0);
    QVERIFY(QDir::setCurrent(before));
}

void TestCCNetWorkRequest::logHidesSecrets_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("session token") << "accessToken";
    QTest::newRow("payment code") << "authCode";
    QTest::newRow("sign-in password") << "password";
}

void TestCCNetWorkRequest::logHidesSecrets()
{
    QFETCH(QString, key);
    LoopbackServer server;
    QVERIFY(server.start());
    useBackend(server);

    LogCapture log("brenvo.net");
    CCNetWorkRequest request;
    Spies spies(request);
    const QString json = QStringLiteral(R"({"%1":"tok-SECRET-1","sign":"x"})").arg(key);
    const QString query = QStringLiteral("%1=tok-SECRET-1&appSecret=&sign=x").arg(key);
    request.CCRequest_POST(json, "wkMenu/queryAllByWorkId?" + query);
    request.CCRequest_POST1(json, server.baseUrl() + "/raw");
    request.CCRequest_GET("?" + query, "userTag/all");
    QTRY_COMPARE(spies.finished.count(), 3);
    // The secret still reaches the backend (the three requests arrive in any order), but never
    // the log.
    const auto carried =
        std::count_if(server.requests.cbegin(), server.requests.cend(), [&](const auto &r) {
            return r.target.contains((key + "=tok-SECRET-1").toUtf8());
        });
    QCOMPARE(carried, 2);
    const QString lines = log.lines().join('\n');
    QVERIFY2(!lines.contains("SECRET"), qPrintable(lines));
    QCOMPARE(lines.count(key + "=***"), 2);
    QCOMPARE(lines.count(QStringLiteral(R"("%1":"***")").arg(key)), 1);
    // Only the secret goes: the rest of the line still helps support.
    QVERIFY(lines.contains("sign=x"));
}

void TestCCNetWorkRequest::tlsTrust_data()
{
    QTest::addColumn<bool>("bundle");
    QTest::newRow("unknown CA refused") << false;
    QTest::newRow("configured CA bundle trusted") << true;
}

void TestCCNetWorkRequest::tlsTrust()
{
    QFETCH(bool, bundle);
    if (!haveCerts)
        QSKIP("no TLS support or no openssl program to make certificates");
    LoopbackServer server;
    server.certificate = QSslCertificate::fromPath(certDir.filePath("server.pem")).value(0);
    QFile keyFile(certDir.filePath("server.key"));
    QVERIFY(keyFile.open(QIODevice::ReadOnly));
    server.key = QSslKey(&keyFile, QSsl::Ec);
    QVERIFY(!server.key.isNull());
    QVERIFY(server.start());
    useBackend(server);
    if (bundle)
        qputenv("BRENVO_CA_BUNDLE", QFile::encodeName(certDir.filePath("ca.pem")));

    CCNetWorkRequest request;
    Spies spies(request);
    request.CCRequest_POST(R"({"b":"1","a":"2"})", "client/sign");
    QTRY_COMPARE_WITH_TIMEOUT(spies.finished.count(), 1, 15000);
    QCOMPARE(spies.failed, QList<bool>{!bundle});
    if (bundle) {
        QCOMPARE(spies.finishedText(), QString::fromUtf8(server.replyBody));
        QCOMPARE(server.requests.size(), 1);
        QCOMPARE(server.requests.first().body, QByteArray(R"({"a":"2","b":"1"})"));
    } else {
        QVERIFY2(spies.finishedText().contains("SSL", Qt::CaseInsensitive),
                 qPrintable(spies.finishedText()));
        QVERIFY(server.requests.isEmpty());
    }
}

QTEST_GUILESS_MAIN(TestCCNetWorkRequest)
#include "tst_ccnetworkrequest.moc"
