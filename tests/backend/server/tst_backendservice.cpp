// The reference backend seen from the terminal's side: signature, sessions, logins, menu
// rights, clean refusals, repeated requests, the outside services and concurrent use.

#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QTest>
#include <QThread>
#include <atomic>
#include <thread>

#include <httplib.h>

#include "backendclient.h"
#include "privatebackend.h"

namespace {

const QString store1Terminal = "BV2024000001";
const QString store2Terminal = "BV2024000002";

int codeOf(const QJsonObject &reply)
{
    return reply.value("httpCode").toInt(-1);
}

QString menuIds(const QJsonObject &reply)
{
    QStringList ids;
    for (const auto &v : reply.value("data").toArray())
        ids << QString::number(v.toObject().value("id").toInt());
    return ids.join(',');
}

} // namespace

class TestBackendService : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void signatureKnownAnswer();
    void handshake_data();
    void handshake();
    void validSignedCallPasses();
    void tamperedRequestRefused_data();
    void tamperedRequestRefused();
    void deadTokenGives401_data();
    void deadTokenGives401();
    void idleSessionExpires();
    void passwordLogin_data();
    void passwordLogin();
    void cardLogin_data();
    void cardLogin();
    void menuRightsPerWorker_data();
    void menuRightsPerWorker();
    void malformedInputAnswersCleanly_data();
    void malformedInputAnswersCleanly();
    void repeatedRequestRunsOnce();
    void photoStoreUpload();
    void photoStoreRefusesBadTokens();
    void vendorFiles();
    void mapService();
    void httpsWithPrivateCa();
    void concurrentReadsAndWrites();

private:
    QString base_;
};

void TestBackendService::initTestCase()
{
    QFile f(QStringLiteral(BRENVO_TEST_BACKEND_FILE));
    QVERIFY2(f.open(QIODevice::ReadOnly), "the backend fixture wrote no address");
    base_ = QString::fromUtf8(f.readAll()).trimmed();
    QVERIFY(base_.startsWith("http://127.0.0.1:"));
}

void TestBackendService::signatureKnownAnswer()
{
    // Worked out by hand: MD5 of the values in key order, "1" "2" "100".
    const QJsonObject params{{"b", "2"}, {"a", "1"}, {"timestamp", "100"}};
    QCOMPARE(BackendClient::sign(params), QString("c8829bcfb9c1d89b93f14dee9add8a0b"));
    QCOMPARE(BackendClient::signedQuery(params),
             QString("a=1&b=2&sign=c8829bcfb9c1d89b93f14dee9add8a0b&timestamp=100"));
    QCOMPARE(BackendClient::mmd5("123456", "abc"), QString("322d3fef02fc39251436cb4522d29a71"));
}

void TestBackendService::handshake_data()
{
    QTest::addColumn<QString>("serial");
    QTest::addColumn<qint64>("clockOffsetMs");
    QTest::addColumn<bool>("spoilToken");
    QTest::addColumn<int>("code");
    QTest::newRow("registered terminal") << store1Terminal << qint64(0) << false << 200;
    QTest::newRow("second store's terminal") << store2Terminal << qint64(0) << false << 200;
    QTest::newRow("unknown serial") << "BV2024999999" << qint64(0) << false << 403;
    QTest::newRow("wrong token") << store1Terminal << qint64(0) << true << 403;
    QTest::newRow("stale timestamp") << store1Terminal << qint64(-6 * 60 * 1000) << false << 403;
    QTest::newRow("timestamp from the future")
        << store1Terminal << qint64(6 * 60 * 1000) << false << 403;
}

void TestBackendService::handshake()
{
    QFETCH(QString, serial);
    QFETCH(qint64, clockOffsetMs);
    QFETCH(bool, spoilToken);
    QFETCH(int, code);
    BackendClient client(base_);
    const QString ts = BackendClient::now(clockOffsetMs);
    const QString token = BackendClient::mmd5(serial, spoilToken ? ts + "1" : ts);
    const QJsonObject reply =
        client.post("client/sign", {{"serialNum", serial}, {"timestamp", ts}, {"token", token}},
                    "serialNum=" + serial + "&timestamp=" + ts + "&token=" + token);
    QCOMPARE(codeOf(reply), code);
    const QString secret = reply.value("data").toObject().value("appSecret").toString();
    QCOMPARE(QRegularExpression("^[0-9a-f]{32}$").match(secret).hasMatch(), code == 200);
    if (code != 200)
        QVERIFY(!reply.value("msg").toString().isEmpty());
}

void TestBackendService::validSignedCallPasses()
{
    BackendClient client(base_);
    const WorkerSession s = WorkerSession::open(client, store1Terminal, "zhangli");
    QVERIFY(!s.accessToken.isEmpty());
    const QJsonObject reply = client.call("wkMenu/queryAllByWorkId", s.body());
    QCOMPARE(codeOf(reply), 200);
    QCOMPARE(reply.value("data").toArray().size(), 12);
}

void TestBackendService::tamperedRequestRefused_data()
{
    QTest::addColumn<QString>("tampering");
    QTest::newRow("changed value") << "value";
    QTest::newRow("added field") << "added";
    QTest::newRow("missing sign") << "nosign";
    QTest::newRow("stale timestamp") << "stale";
    QTest::newRow("timestamp from the future") << "future";
    QTest::newRow("signed with another secret") << "secret";
    QTest::newRow("another terminal's serial") << "serial";
    QTest::newRow("no serial") << "noserial";
}

void TestBackendService::tamperedRequestRefused()
{
    QFETCH(QString, tampering);
    BackendClient client(base_);
    const WorkerSession s = WorkerSession::open(client, store1Terminal, "zhangli");
    QJsonObject body = s.body();
    body["note"] = "a";
    QString query = BackendClient::signedQuery(body);
    if (tampering == "value") {
        body["note"] = "b";
    } else if (tampering == "added") {
        body["extra"] = "1";
    } else if (tampering == "nosign") {
        query.remove(QRegularExpression("sign=[0-9a-f]{32}&"));
    } else if (tampering == "stale" || tampering == "future") {
        body["timestamp"] = BackendClient::now((tampering == "stale" ? -6 : 6) * 60 * 1000);
        query = BackendClient::signedQuery(body);
    } else if (tampering == "secret") {
        // Another handshake of the same terminal: a later timestamp, so a new secret.
        body["appSecret"] = client.handshake(store1Terminal);
        QVERIFY(body["appSecret"].toString() != s.appSecret);
        query = BackendClient::signedQuery(body);
    } else if (tampering == "serial" || tampering == "noserial") {
        body["serialNum"] = tampering == "serial" ? store2Terminal : "";
        query = BackendClient::signedQuery(body);
    }
    const QJsonObject reply = client.post("wkMenu/queryAllByWorkId", body, query);
    QCOMPARE(codeOf(reply), 403);
    QVERIFY(!reply.value("msg").toString().isEmpty());
    QVERIFY(!reply.contains("data"));
    // The session itself is still good.
    QCOMPARE(codeOf(client.call("wkMenu/queryAllByWorkId", s.body())), 200);
}

void TestBackendService::deadTokenGives401_data()
{
    QTest::addColumn<QString>("token");
    QTest::newRow("signed out") << "logout";
    QTest::newRow("unknown token") << "0123456789abcdef0123456789abcdef0123456789abcdef";
    QTest::newRow("empty token") << "";
}

void TestBackendService::deadTokenGives401()
{
    QFETCH(QString, token);
    BackendClient client(base_);
    WorkerSession s = WorkerSession::open(client, store1Terminal, "zhangli");
    if (token == "logout")
        QCOMPARE(codeOf(client.call("client/logout", s.body())), 200);
    else
        s.accessToken = token;
    QCOMPARE(codeOf(client.call("wkMenu/queryAllByWorkId", s.body())), 401);
}

void TestBackendService::idleSessionExpires()
{
    PrivateBackend backend({"--idle-minutes", "0.02"}); // 1.2 seconds
    QVERIFY2(!backend.url().isEmpty(), qPrintable(backend.output()));
    BackendClient client(backend.url());
    const WorkerSession s = WorkerSession::open(client, store1Terminal, "zhangli");
    // Each request restarts the idle time: three calls 0.8 s apart all pass.
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(codeOf(client.call("wkMenu/queryAllByWorkId", s.body())), 200);
        QThread::msleep(800);
    }
    QThread::msleep(700);
    const QJsonObject reply = client.call("wkMenu/queryAllByWorkId", s.body());
    QCOMPARE(codeOf(reply), 401);
    QVERIFY(!reply.value("msg").toString().isEmpty());
}

void TestBackendService::passwordLogin_data()
{
    QTest::addColumn<QString>("account");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("digestOfAnotherHandshake");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("workerName");
    QTest::newRow("right password") << "zhangli"
                                    << "123456" << false << 200 << "张丽";
    QTest::newRow("account in other letter case") << "ZhangLi"
                                                  << "123456" << false << 200 << "张丽";
    QTest::newRow("wrong password") << "zhangli"
                                    << "654321" << false << 403 << "";
    QTest::newRow("unknown account") << "nobody"
                                     << "123456" << false << 403 << "";
    QTest::newRow("disabled worker") << "zhaomin"
                                     << "123456" << false << 403 << "";
    QTest::newRow("empty password") << "zhangli"
                                    << "" << false << 400 << "";
    QTest::newRow("digest made with an old appSecret") << "zhangli"
                                                       << "123456" << true << 403 << "";
}

void TestBackendService::passwordLogin()
{
    QFETCH(QString, account);
    QFETCH(QString, password);
    QFETCH(bool, digestOfAnotherHandshake);
    QFETCH(int, code);
    QFETCH(QString, workerName);
    BackendClient client(base_);
    const QString older = client.handshake(store1Terminal);
    const QString secret = client.handshake(store1Terminal);
    QVERIFY(older != secret);
    QJsonObject body{{"serialNum", store1Terminal},
                     {"appSecret", secret},
                     {"account", account},
                     {"password", password.isEmpty()
                                      ? QString()
                                      : BackendClient::mmd5(
                                            password, digestOfAnotherHandshake ? older : secret)},
                     {"timestamp", BackendClient::now()},
                     {"sysVersion", "Windows 10"},
                     {"version", "4.0.2"}};
    const QJsonObject reply = client.call("client/login", body);
    QCOMPARE(codeOf(reply), code);
    const QJsonObject data = reply.value("data").toObject();
    QCOMPARE(data.value("workerInfo").toObject().value("name").toString(), workerName);
    if (code != 200) {
        QVERIFY(!reply.value("msg").toString().isEmpty());
        return;
    }
    QCOMPARE(data.value("accessToken").toString().size(), 48);
    const QJsonObject store = data.value("storeInfo").toObject();
    QCOMPARE(store.value("name").toString(), QString("净衣坊·徐汇店"));
    QVERIFY(QRegularExpression("^\\d{13}$").match(store.value("createTime").toString()).hasMatch());
    QCOMPARE(data.value("mercInfo").toObject().value("name").toString(), QString("净衣坊洗护"));
}

void TestBackendService::cardLogin_data()
{
    QTest::addColumn<QString>("terminal");
    QTest::addColumn<QString>("bodySerial");
    QTest::addColumn<QString>("card");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("workerName");
    QTest::newRow("staff card") << store1Terminal << store1Terminal << "STAFF-0002-WQ" << 200
                                << "王强";
    QTest::newRow("before any password login (empty serial)") << store1Terminal << ""
                                                              << "STAFF-0001-ZL" << 200 << "张丽";
    QTest::newRow("second store") << store2Terminal << store2Terminal << "STAFF-0003-LY" << 200
                                  << "刘洋";
    QTest::newRow("unknown card") << store1Terminal << store1Terminal << "STAFF-9999-XX" << 403
                                  << "";
    QTest::newRow("disabled worker's card")
        << store1Terminal << store1Terminal << "STAFF-0004-ZM" << 403 << "";
    QTest::newRow("no card on the reader") << store1Terminal << store1Terminal << "" << 400 << "";
}

void TestBackendService::cardLogin()
{
    QFETCH(QString, terminal);
    QFETCH(QString, bodySerial);
    QFETCH(QString, card);
    QFETCH(int, code);
    QFETCH(QString, workerName);
    BackendClient client(base_);
    const QString secret = client.handshake(terminal);
    const QJsonObject reply =
        client.call("cashier/refid/login", {{"serialNum", bodySerial},
                                            {"appSecret", secret},
                                            {"timestamp", BackendClient::now()},
                                            {"rfidSecret", card}});
    QCOMPARE(codeOf(reply), code);
    const QJsonObject data = reply.value("data").toObject();
    QCOMPARE(data.value("workerInfo").toObject().value("name").toString(), workerName);
    if (code == 200) {
        // The session is the terminal's the handshake named, whatever serial the login sent:
        // its calls carry that serial, and no other.
        WorkerSession s{terminal, secret, data.value("accessToken").toString()};
        QCOMPARE(codeOf(client.call("wkMenu/queryAllByWorkId", s.body())), 200);
        s.serialNum = "";
        QCOMPARE(codeOf(client.call("wkMenu/queryAllByWorkId", s.body())), 403);
    }
}

void TestBackendService::menuRightsPerWorker_data()
{
    QTest::addColumn<QString>("terminal");
    QTest::addColumn<QString>("account");
    QTest::addColumn<QString>("ids");
    const QString all = "525,526,527,528,529,530,531,532,533,534,535,536";
    QTest::newRow("manager") << store1Terminal << "zhangli" << all;
    QTest::newRow("counter clerk") << store1Terminal << "wangqiang"
                                   << "525,526,527,533,536";
    QTest::newRow("second store") << store2Terminal << "liuyang" << all;
}

void TestBackendService::menuRightsPerWorker()
{
    QFETCH(QString, terminal);
    QFETCH(QString, account);
    QFETCH(QString, ids);
    BackendClient client(base_);
    const WorkerSession s = WorkerSession::open(client, terminal, account);
    const QJsonObject reply = client.call("wkMenu/queryAllByWorkId", s.body());
    QCOMPARE(codeOf(reply), 200);
    QCOMPARE(menuIds(reply), ids);
}

void TestBackendService::malformedInputAnswersCleanly_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("signBody");
    QTest::addColumn<int>("code");
    QTest::newRow("not JSON") << "client/login" << QByteArray("abc") << false << 400;
    QTest::newRow("truncated JSON") << "client/login" << QByteArray("{\"a\":") << false << 400;
    QTest::newRow("JSON array") << "client/login" << QByteArray("[1,2]") << false << 400;
    QTest::newRow("empty body") << "client/login" << QByteArray() << false << 400;
    QTest::newRow("unknown path") << "noSuch/thing" << QByteArray("{}") << false << 404;
    QTest::newRow("missing timestamp")
        << "wkMenu/queryAllByWorkId" << QByteArray("{\"serialNum\":\"x\"}") << true << 400;
    QTest::newRow("timestamp not a number")
        << "wkMenu/queryAllByWorkId" << QByteArray("{\"timestamp\":\"12ab\"}") << true << 400;
    QTest::newRow("account as a number") << "client/login" << QByteArray("account") << true << 400;
    QTest::newRow("missing accessToken")
        << "wkMenu/queryAllByWorkId" << QByteArray("noToken") << true << 400;
}

void TestBackendService::malformedInputAnswersCleanly()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, body);
    QFETCH(bool, signBody);
    QFETCH(int, code);
    BackendClient client(base_);
    QString query;
    if (body == "account" || body == "noToken") {
        const QString secret = client.handshake(store1Terminal);
        QJsonObject o{{"serialNum", store1Terminal},
                      {"appSecret", secret},
                      {"timestamp", BackendClient::now()}};
        if (body == "account") {
            o["account"] = 5;
            o["password"] = BackendClient::mmd5("123456", secret);
        }
        body = QJsonDocument(o).toJson(QJsonDocument::Compact);
    }
    if (signBody)
        query = BackendClient::signedQuery(QJsonDocument::fromJson(body).object());
    const QByteArray text = client.postRaw("/mac/" + path + "?" + query, body);
    const QJsonObject reply = QJsonDocument::fromJson(text).object();
    QVERIFY2(reply.contains("httpCode"), text.constData());
    QCOMPARE(codeOf(reply), code);
    QVERIFY(!reply.value("msg").toString().isEmpty());
    // Only POST is served below /mac/.
    int status = 0;
    const QJsonObject viaGet =
        QJsonDocument::fromJson(client.get("/mac/" + path, &status)).object();
    QCOMPARE(status, 200);
    QCOMPARE(codeOf(viaGet), 400);
}

void TestBackendService::repeatedRequestRunsOnce()
{
    BackendClient client(base_);
    // A handshake sent twice verbatim gets the same secret, not a second one.
    const QString ts = BackendClient::now();
    const QString token = BackendClient::mmd5(store1Terminal, ts);
    const QJsonObject hs{{"serialNum", store1Terminal}, {"timestamp", ts}, {"token", token}};
    const QString hq = "serialNum=" + store1Terminal + "&timestamp=" + ts + "&token=" + token;
    const QJsonObject first = client.post("client/sign", hs, hq);
    QCOMPARE(codeOf(first), 200);
    QCOMPARE(client.post("client/sign", hs, hq), first);

    // A login sent twice verbatim opens one session: the same token comes back.
    const QString secret = first.value("data").toObject().value("appSecret").toString();
    const QJsonObject login{{"serialNum", store1Terminal},
                            {"appSecret", secret},
                            {"account", "zhangli"},
                            {"password", BackendClient::mmd5("123456", secret)},
                            {"timestamp", BackendClient::now()}};
    const QJsonObject a = client.call("client/login", login);
    const QJsonObject b = client.call("client/login", login);
    QCOMPARE(codeOf(a), 200);
    QCOMPARE(b, a);

    // A sign-out repeated after its success still answers success, and the session stays ended.
    WorkerSession s{store1Terminal, secret,
                    a.value("data").toObject().value("accessToken").toString()};
    const QJsonObject logout = s.body();
    QCOMPARE(codeOf(client.call("client/logout", logout)), 200);
    QCOMPARE(codeOf(client.call("client/logout", logout)), 200);
    QCOMPARE(codeOf(client.call("wkMenu/queryAllByWorkId", s.body())), 401);

    // The signature leaves number values out, so a captured call can be sent again with a
    // changed number under the same sign: it is refused, not run as a second call.
    QJsonObject withNumber = login;
    withNumber["timestamp"] = BackendClient::now();
    withNumber["pageNum"] = 1;
    const QJsonObject d = client.call("client/login", withNumber);
    withNumber["pageNum"] = 2;
    const QJsonObject e = client.call("client/login", withNumber);
    QCOMPARE(codeOf(d), 200);
    QCOMPARE(codeOf(e), 403);
    QVERIFY(!e.contains("data"));

    // A fresh timestamp makes it a new request: a new session.
    QJsonObject again = login;
    again["timestamp"] = BackendClient::now();
    const QJsonObject c = client.call("client/login", again);
    QCOMPARE(codeOf(c), 200);
    QVERIFY(c.value("data").toObject().value("accessToken") !=
            a.value("data").toObject().value("accessToken"));
}

void TestBackendService::photoStoreUpload()
{
    BackendClient client(base_);
    const WorkerSession s = WorkerSession::open(client, store1Terminal, "zhangli");
    const QJsonObject reply = client.call("attachment/qiniu/token", s.body());
    QCOMPARE(codeOf(reply), 200);
    const std::string token =
        reply.value("data").toObject().value("token").toString().toStdString();
    QVERIFY(!token.empty());

    const std::string key = "client/AbCdEf70100000011.jpg";
    const std::string bytes("\xff\xd8\xff\xe0 not really a jpeg \x00\x01\x02", 25);
    auto res = client.http().Post(
        "/qiniu", httplib::MultipartFormDataItems{{"token", token, "", ""},
                                                  {"key", key, "", ""},
                                                  {"file", bytes, "x.jpg", "image/jpeg"}});
    QVERIFY(res);
    QCOMPARE(res->status, 200);
    QCOMPARE(QJsonDocument::fromJson(QByteArray::fromStdString(res->body))
                 .object()
                 .value("key")
                 .toString(),
             QString::fromStdString(key));
    int status = 0;
    const QByteArray back = client.get(QString::fromStdString("/files/" + key), &status);
    QCOMPARE(status, 200);
    QCOMPARE(back, QByteArray::fromStdString(bytes));
    QCOMPARE(client.get("/files/client/none.jpg", &status),
             QByteArray("{\"error\":\"no such file\"}"));
    QCOMPARE(status, 404);
}

void TestBackendService::photoStoreRefusesBadTokens()
{
    PrivateBackend backend({"--upload-token-seconds", "0"});
    QVERIFY2(!backend.url().isEmpty(), qPrintable(backend.output()));
    BackendClient client(backend.url());
    const WorkerSession s = WorkerSession::open(client, store1Terminal, "zhangli");
    const std::string expired = client.call("attachment/qiniu/token", s.body())
                                    .value("data")
                                    .toObject()
                                    .value("token")
                                    .toString()
                                    .toStdString();
    QThread::msleep(1100);
    struct Case
    {
        std::string token, key, expectError;
        int status;
    };
    const Case cases[] = {
        {expired, "client/a.jpg", "expired token", 401},
        {"forged:eyJkZWFkbGluZSI6OTk5OTk5OTk5OX0", "client/a.jpg", "bad token", 401},
        {"", "client/a.jpg", "bad token", 401},
    };
    for (const auto &c : cases) {
        auto res = client.http().Post(
            "/qiniu", httplib::MultipartFormDataItems{{"token", c.token, "", ""},
                                                      {"key", c.key, "", ""},
                                                      {"file", "x", "x.jpg", "image/jpeg"}});
        QVERIFY(res);
        QCOMPARE(res->status, c.status);
        QCOMPARE(QJsonDocument::fromJson(QByteArray::fromStdString(res->body))
                     .object()
                     .value("error")
                     .toString(),
                 QString::fromStdString(c.expectError));
    }
    // A good token with a key that climbs out of the store.
    PrivateBackend fresh;
    BackendClient other(fresh.url());
    const WorkerSession t = WorkerSession::open(other, store1Terminal, "zhangli");
    const std::string good = other.call("attachment/qiniu/token", t.body())
                                 .value("data")
                                 .toObject()
                                 .value("token")
                                 .toString()
                                 .toStdString();
    for (const char *key : {"../db", "client/../../x", "/abs.jpg", "client//x.jpg"}) {
        auto res = other.http().Post(
            "/qiniu", httplib::MultipartFormDataItems{{"token", good, "", ""},
                                                      {"key", key, "", ""},
                                                      {"file", "x", "x.jpg", "image/jpeg"}});
        QVERIFY(res);
        QCOMPARE(res->status, 400);
    }
}

void TestBackendService::vendorFiles()
{
    BackendClient client(base_);
    int status = 0;
    QVERIFY(client.get("/vendor/upgrade_pc.txt", &status).contains("V4.0.2"));
    QCOMPARE(status, 200);
    QVERIFY(!client.get("/vendor/upgrade_content_pc.txt", &status).isEmpty());
    QCOMPARE(status, 200);
    PrivateBackend newer({"--vendor-version", "V4.0.3"});
    QCOMPARE(BackendClient(newer.url()).get("/vendor/upgrade_pc.txt"), QByteArray("V4.0.3"));
}

void TestBackendService::mapService()
{
    BackendClient client(base_);
    const QString key = "3f2b9c61d84e4a7f9e05c7d2b1a86e43";
    auto json = [&](const QString &q) { return QJsonDocument::fromJson(client.get(q)).object(); };

    QCOMPARE(json("/amap/v3/ip?ip=192.168.1.5&output=json&key=bad").value("status").toString(),
             QString("0"));
    const QJsonObject ip = json("/amap/v3/ip?ip=192.168.1.5&output=json&key=" + key);
    QCOMPARE(ip.value("adcode").toString(), QString("310000"));
    QCOMPARE(ip.value("city").toString(), QString("上海市"));

    const QJsonObject city =
        json("/amap/v3/config/district?keywords=" + QUrl::toPercentEncoding("上海市") +
             "&subdistrict=0&key=" + key);
    QCOMPARE(city.value("districts").toArray().first().toObject().value("center").toString(),
             QString("121.473667,31.230525"));
    const QJsonObject district =
        json("/amap/v3/config/district?keywords=" + QUrl::toPercentEncoding("徐汇区") +
             "&subdistrict=0&key=" + key);
    QCOMPARE(district.value("districts").toArray().first().toObject().value("adcode").toString(),
             QString("310104"));

    const QJsonObject tips =
        json("/amap/v3/assistant/inputtips?keywords=" + QUrl::toPercentEncoding("学校") +
             "&city=310000&datatype=poi&citylimit=true&output=json&key=" + key);
    const QJsonArray list = tips.value("tips").toArray();
    QVERIFY(list.size() >= 2);
    for (const auto &t : list) {
        QVERIFY(t.toObject().value("district").toString().startsWith("上海市"));
        QVERIFY(t.toObject().value("location").toString().contains(','));
    }
    QCOMPARE(tips.value("count").toString(), QString::number(list.size()));

    int status = 0;
    const QByteArray png = client.get(
        "/amap/v3/staticmap?location=121.437431,31.195413&scale=2&zoom=12&size=300*300&key=" + key +
            "&markers=large,,1:121.437431,31.195413|large,,2:121.437881,31.193874",
        &status);
    QCOMPARE(status, 200);
    QVERIFY(png.startsWith("\x89PNG\r\n\x1a\n"));
    QImage image;
    QVERIFY(image.loadFromData(png, "PNG"));
    QCOMPARE(image.size(), QSize(600, 600));
    // The first marker sits at the centre: a red disc above the point, beside its number.
    QCOMPARE(image.pixelColor(300 + 16, 300 - 24), QColor(0xe5, 0x39, 0x35));
    QCOMPARE(image.pixelColor(5, 5) == QColor(0xe5, 0x39, 0x35), false);
}

void TestBackendService::httpsWithPrivateCa()
{
    if (!QSslSocket::supportsSsl())
        QSKIP("no TLS in this Qt");
    const QString certs = QStringLiteral(BRENVO_TEST_CERT_DIR);
    auto fetch = [](const QString &url, const QList<QSslCertificate> &cas) {
        QNetworkAccessManager nam;
        QNetworkRequest request{QUrl(url + "/vendor/upgrade_pc.txt")};
        if (!cas.isEmpty()) {
            QSslConfiguration conf = QSslConfiguration::defaultConfiguration();
            conf.setCaCertificates(cas);
            request.setSslConfiguration(conf);
        }
        QNetworkReply *reply = nam.get(request);
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
        reply->deleteLater();
        return std::make_pair(reply->error(), reply->readAll());
    };
    const auto ca = QSslCertificate::fromPath(certs + "/ca.pem");
    QCOMPARE(ca.size(), 1);

    PrivateBackend tls({"--cert", certs + "/server.pem", "--key", certs + "/server.key"});
    QVERIFY2(tls.url().startsWith("https://127.0.0.1:"), qPrintable(tls.output()));
    auto trusted = fetch(tls.url(), ca);
    QCOMPARE(trusted.first, QNetworkReply::NoError);
    QVERIFY(trusted.second.contains("V4.0.2"));
    QCOMPARE(fetch(tls.url(), {}).first, QNetworkReply::SslHandshakeFailedError);

    PrivateBackend selfSigned(
        {"--cert", certs + "/selfsigned.pem", "--key", certs + "/selfsigned.key"});
    QCOMPARE(fetch(selfSigned.url(), ca).first, QNetworkReply::SslHandshakeFailedError);
}

void TestBackendService::concurrentReadsAndWrites()
{
    // A backend of its own: other test programs share the fixture's, and its counts are exact.
    PrivateBackend backend;
    QVERIFY2(!backend.url().isEmpty(), qPrintable(backend.output()));
    const QString base = backend.url();
    constexpr int threads = 20;
    constexpr int perThread = 200;
    std::atomic<int> failures{0};
    QStringList firstFailure;
    std::mutex failureLock;
    std::vector<QStringList> tokens(threads);
    std::vector<std::vector<std::string>> keys(threads);

    auto worker = [&](int t) {
        BackendClient client(base);
        const QString serial = t % 2 ? store2Terminal : store1Terminal;
        const QString account = t % 2 ? "liuyang" : "zhangli";
        WorkerSession s = WorkerSession::open(client, serial, account);
        const std::string upload = client.call("attachment/qiniu/token", s.body())
                                       .value("data")
                                       .toObject()
                                       .value("token")
                                       .toString()
                                       .toStdString();
        auto fail = [&](const QString &what) {
            if (failures++ == 0) {
                std::lock_guard<std::mutex> lock(failureLock);
                firstFailure << what;
            }
        };
        for (int i = 0; i < perThread; ++i) {
            switch (i % 4) {
            case 0: { // write: a new session
                const QString secret = client.handshake(serial);
                const QJsonObject r = client.passwordLogin(serial, secret, account, "123456");
                if (codeOf(r) != 200)
                    fail("login: " + QJsonDocument(r).toJson());
                tokens[t] << secret + " " +
                                 r.value("data").toObject().value("accessToken").toString();
                break;
            }
            case 2: { // write: a stored picture
                const std::string key =
                    "client/t" + std::to_string(t) + "-" + std::to_string(i) + ".jpg";
                auto res = client.http().Post(
                    "/qiniu", httplib::MultipartFormDataItems{
                                  {"token", upload, "", ""},
                                  {"key", key, "", ""},
                                  {"file", key + "-content", "x.jpg", "image/jpeg"}});
                if (!res || res->status != 200)
                    fail("upload " + QString::fromStdString(key));
                keys[t].push_back(key);
                break;
            }
            default: { // read
                const QJsonObject r = client.call("wkMenu/queryAllByWorkId", s.body());
                if (codeOf(r) != 200 || r.value("data").toArray().size() != 12)
                    fail("menu: " + QJsonDocument(r).toJson());
            }
            }
        }
    };
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t)
        pool.emplace_back(worker, t);
    for (auto &th : pool)
        th.join();
    QVERIFY2(failures == 0,
             qPrintable(QString::number(failures) + " failures, first: " + firstFailure.join("")));

    // Every write is there: each session works, each picture is stored with its content.
    BackendClient check(base);
    int sessions = 0, pictures = 0;
    for (int t = 0; t < threads; ++t) {
        const QString serial = t % 2 ? store2Terminal : store1Terminal;
        for (const QString &pair : tokens[t]) {
            const QStringList parts = pair.split(' ');
            WorkerSession s{serial, parts[0], parts[1]};
            sessions += codeOf(check.call("wkMenu/queryAllByWorkId", s.body())) == 200;
        }
        for (const auto &key : keys[t])
            pictures += check.get(QString::fromStdString("/files/" + key)) ==
                        QByteArray::fromStdString(key + "-content");
    }
    QCOMPARE(sessions, threads * perThread / 4);
    QCOMPARE(pictures, threads * perThread / 4);
}

QTEST_GUILESS_MAIN(TestBackendService)
#include "tst_backendservice.moc"
