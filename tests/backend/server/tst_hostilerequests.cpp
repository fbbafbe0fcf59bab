// Requests a hostile or careless client might send: bytes that are not UTF-8, texts beyond
// their limits, numbers beyond 64 bits, deep nesting, a captured request replayed with a
// changed body or after its session ended, or late. Each is refused cleanly and changes
// nothing; a late repeat of the very same request gets its first answer; a legal request is
// never refused for the length of its address; tokens are kept only as hashes.

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QTest>
#include <QThread>

#include <httplib.h>

#include "backendclient.h"
#include "backenddatabase.h"
#include "privatebackend.h"

namespace {

const QString terminal = "BV2024000001";

int codeOf(const QByteArray &reply)
{
    return QJsonDocument::fromJson(reply).object().value("httpCode").toInt(-1);
}

// A text that stands in the body for bytes a QString cannot hold.
const QString mark = "@MARK@";

// The body as text with `mark` replaced by `bytes`, and its signed query computed the
// terminal's way over those very bytes.
std::pair<QString, QByteArray> rawSigned(const QString &path, const QJsonObject &body,
                                         const QByteArray &bytes)
{
    QByteArray joined;
    for (auto it = body.begin(); it != body.end(); ++it)
        joined += it.value().toString().toUtf8();
    joined.replace(mark.toUtf8(), bytes);
    const QString sign = QCryptographicHash::hash(joined, QCryptographicHash::Md5).toHex();
    QString query = BackendClient::signedQuery(body);
    query.replace(QRegularExpression("sign=[0-9a-f]{32}"), "sign=" + sign);
    QByteArray text = QJsonDocument(body).toJson(QJsonDocument::Compact);
    text.replace(mark.toUtf8(), bytes);
    return {"/mac/" + path + "?" + query, text};
}

QJsonObject objectOf(const QByteArray &reply)
{
    return QJsonDocument::fromJson(reply).object();
}

const QString staleText = "请求时间戳已过期";

const QJsonObject orderFields{{"userId", "2"},   {"takeMode", "1"},  {"sendMode", "1"},
                              {"priority", "0"}, {"takeAddrId", ""}, {"sendAddrId", ""},
                              {"remark", ""},    {"userRemark", ""}};

// An order whose two remarks hold 500 characters each, as many as they may: the terminal
// repeats them in the signed query, an address of about 9 KB.
QJsonObject orderWithLongRemarks()
{
    QJsonObject order = orderFields;
    order["remark"] = QString(500, QChar(0x6d17));
    order["userRemark"] = QString(500, QChar(0x8863));
    return order;
}

// Twice as long as any legal request's address.
const QString overlongPadding = "&padding=" + QString(1600 * 1024, 'a');

} // namespace

class TestHostileRequests : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void badTextIsRefused_data();
    void badTextIsRefused();
    void hugeNumbersAndDeepNestingAre400_data();
    void hugeNumbersAndDeepNestingAre400();
    void changedBodyUnderTheSameSignNeverRuns();
    void repeatAfterTheSessionEndedIsRefused_data();
    void repeatAfterTheSessionEndedIsRefused();
    void lateRepeatGetsTheFirstAnswer_data();
    void lateRepeatGetsTheFirstAnswer();
    void longAddressOfALegalRequestIsAnswered_data();
    void longAddressOfALegalRequestIsAnswered();
    void overlongAddressGetsAnEnvelope();
    void longAddressOverHttps();
    void tokensAreKeptOnlyAsHashes();

private:
    QJsonObject body(const QJsonObject &fields) const;

    PrivateBackend backend_;
    std::unique_ptr<BackendClient> client_;
    WorkerSession session_;
    BackendDatabase db_;
};

void TestHostileRequests::initTestCase()
{
    QVERIFY2(!backend_.url().isEmpty(), qPrintable(backend_.output()));
    client_ = std::make_unique<BackendClient>(backend_.url());
    session_ = WorkerSession::open(*client_, terminal, "zhangli");
    QVERIFY(!session_.accessToken.isEmpty());
    QVERIFY(db_.open(backend_.databasePath()));
}

QJsonObject TestHostileRequests::body(const QJsonObject &fields) const
{
    QJsonObject b = session_.body();
    for (auto it = fields.begin(); it != fields.end(); ++it)
        b.insert(it.key(), it.value());
    return b;
}

void TestHostileRequests::badTextIsRefused_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QJsonObject>("fields");
    QTest::addColumn<QByteArray>("bytes"); // what `mark` stands for
    QTest::addColumn<QString>("stored");   // a query whose value the request must not change
    QTest::addColumn<int>("code");
    const QString name11 = "SELECT name FROM users WHERE id = 11";
    const QString addresses = "SELECT COUNT(*) FROM user_addresses";
    const QString orders = "SELECT COUNT(*) FROM orders";
    QJsonObject address{{"userId", "3"},          {"name", "李四"},     {"phone", "13800000000"},
                        {"regionalId", "310104"}, {"regionalDesc", ""}, {"detail", mark}};
    QJsonObject order = orderFields;
    order["remark"] = mark;

    QTest::newRow("name with bytes FF FE")
        << "userInfo/updateName" << QJsonObject{{"id", "11"}, {"name", "王" + mark}}
        << QByteArray("\xff\xfe") << name11 << 400;
    QTest::newRow("name with a lone surrogate escape")
        << "userInfo/updateName" << QJsonObject{{"id", "11"}, {"name", mark}}
        << QByteArray("\\udc00") << name11 << 400;
    QTest::newRow("name with an overlong slash")
        << "userInfo/updateName" << QJsonObject{{"id", "11"}, {"name", mark}}
        << QByteArray("\xc0\xaf") << name11 << 400;
    QTest::newRow("address with bytes FF FE")
        << "userAddress/add" << address << QByteArray("\xff\xfe") << addresses << 400;
    QTest::newRow("order remark with bytes FF FE")
        << "orderInfo/add" << order << QByteArray("\xff\xfe") << orders << 400;
    QTest::newRow("name of 101 characters")
        << "userInfo/updateName" << QJsonObject{{"id", "11"}, {"name", mark}}
        << QString(101, QChar(0x738b)).toUtf8() << name11 << 400;
    QTest::newRow("name of 10 MB")
        << "userInfo/updateName" << QJsonObject{{"id", "11"}, {"name", mark}}
        << QByteArray(10 * 1024 * 1024, 'a') << name11 << 400;
    QTest::newRow("order remark of 501 characters")
        << "orderInfo/add" << order << QByteArray(501, 'x') << orders << 400;
    // The limits themselves are accepted.
    QTest::newRow("name of 100 characters")
        << "userInfo/updateName" << QJsonObject{{"id", "11"}, {"name", mark}}
        << QString(100, QChar(0x738b)).toUtf8() << name11 << 200;
}

void TestHostileRequests::badTextIsRefused()
{
    QFETCH(QString, path);
    QFETCH(QJsonObject, fields);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, stored);
    QFETCH(int, code);
    const QString before = db_.value(stored.toUtf8().constData());
    const auto [target, text] = rawSigned(path, body(fields), bytes);
    const QByteArray reply = client_->postRaw(target, text);
    QCOMPARE(codeOf(reply), code);
    QCOMPARE(db_.value(stored.toUtf8().constData()) == before, code != 200);
}

void TestHostileRequests::hugeNumbersAndDeepNestingAre400_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QJsonObject>("fields");
    QTest::addColumn<QByteArray>("number");  // the text `12345678` is replaced with
    QTest::addColumn<QByteArray>("rawBody"); // instead of the signed body, when not empty
    const QByteArray twoTo63 = "9223372036854775808";
    QJsonObject hugeUser = orderFields;
    hugeUser["userId"] = 12345678;
    QJsonObject hugeMode = orderFields;
    hugeMode["takeMode"] = 12345678;
    QTest::newRow("id 2^63") << "userInfo/updateName"
                             << QJsonObject{{"id", 12345678}, {"name", "王"}} << twoTo63
                             << QByteArray();
    QTest::newRow("userId 2^63") << "orderInfo/add" << hugeUser << twoTo63 << QByteArray();
    QTest::newRow("takeMode 2^63") << "orderInfo/add" << hugeMode << twoTo63 << QByteArray();
    QTest::newRow("takeMode below -2^63")
        << "orderInfo/add" << hugeMode << QByteArray("-9223372036854775809") << QByteArray();
    QTest::newRow("takeMode 1e400")
        << "orderInfo/add" << hugeMode << QByteArray("1e400") << QByteArray();
    // -2^63 has no positive counterpart, and no number may stand for "not sent": a balance
    // of -2^63 once read as a payment without the balance.
    QTest::newRow("id -2^63") << "userInfo/updateName"
                              << QJsonObject{{"id", 12345678}, {"name", "王"}}
                              << QByteArray("-9223372036854775808") << QByteArray();
    const QString unpaid = db_.value(
        "SELECT o.id FROM orders o WHERE o.store_id = 1 AND o.pay_status = 0 AND o.locked = 0 "
        "AND o.status = 10 AND EXISTS (SELECT 1 FROM order_products p WHERE p.order_id = o.id) "
        "ORDER BY o.id LIMIT 1");
    QVERIFY(!unpaid.isEmpty());
    QTest::newRow("balance -2^63 on a cash payment")
        << "tradePay/confirmPay"
        << QJsonObject{{"orderId", unpaid}, {"balance", 12345678}, {"cpnRelId", ""}}
        << QByteArray("-9223372036854775808") << QByteArray();
    QTest::newRow("100 000 [") << "userInfo/updateName" << QJsonObject() << QByteArray()
                               << QByteArray(100000, '[');
    QTest::newRow("a field nested 100 000 deep")
        << "userInfo/updateName" << QJsonObject() << QByteArray()
        << "{\"id\":" + QByteArray(100000, '[') + QByteArray(100000, ']') + "}";
    QTest::newRow("a field nested 40 deep")
        << "userInfo/updateName" << QJsonObject{{"id", 12345678}, {"name", "王"}}
        << QByteArray(40, '[') + "1" + QByteArray(40, ']') << QByteArray();
}

void TestHostileRequests::hugeNumbersAndDeepNestingAre400()
{
    QFETCH(QString, path);
    QFETCH(QJsonObject, fields);
    QFETCH(QByteArray, number);
    QFETCH(QByteArray, rawBody);
    const QString users = db_.value("SELECT group_concat(name) FROM users");
    const QString orders = db_.value("SELECT COUNT(*) FROM orders");
    const QString trades = db_.value("SELECT COUNT(*) FROM trades");
    QJsonObject b = body(fields);
    QByteArray text = QJsonDocument(b).toJson(QJsonDocument::Compact);
    // Numbers are outside the signature: the query stays valid with any number in the body.
    text.replace("12345678", number);
    if (!rawBody.isEmpty())
        text = rawBody;
    const QByteArray reply =
        client_->postRaw("/mac/" + path + "?" + BackendClient::signedQuery(b), text);
    QCOMPARE(codeOf(reply), 400);
    QVERIFY(!QJsonDocument::fromJson(reply).object().value("msg").toString().isEmpty());
    QCOMPARE(db_.value("SELECT group_concat(name) FROM users"), users);
    QCOMPARE(db_.value("SELECT COUNT(*) FROM orders"), orders);
    QCOMPARE(db_.value("SELECT COUNT(*) FROM trades"), trades);
}

// A captured orderInfo/add sent again with "x":0 added (numbers are outside the signature)
// under the same sign: refused, and the order is made once. The very same text again is
// still answered with the first order's number.
void TestHostileRequests::changedBodyUnderTheSameSignNeverRuns()
{
    const QJsonObject b = body(orderFields);
    const QString target = "/mac/orderInfo/add?" + BackendClient::signedQuery(b);
    const QByteArray text = QJsonDocument(b).toJson(QJsonDocument::Compact);
    QByteArray changed = text;
    changed.replace("{", "{\"x\":0,");
    const qint64 before = db_.number("SELECT COUNT(*) FROM orders");

    const QJsonObject first = QJsonDocument::fromJson(client_->postRaw(target, text)).object();
    QCOMPARE(first.value("httpCode").toInt(), 200);
    const QByteArray replay = client_->postRaw(target, changed);
    QCOMPARE(codeOf(replay), 403);
    QVERIFY(!QJsonDocument::fromJson(replay).object().contains("data"));
    const QJsonObject again = QJsonDocument::fromJson(client_->postRaw(target, text)).object();
    QCOMPARE(again, first);
    QCOMPARE(db_.number("SELECT COUNT(*) FROM orders"), before + 1);
}

void TestHostileRequests::repeatAfterTheSessionEndedIsRefused_data()
{
    QTest::addColumn<QString>("ending");
    QTest::newRow("after sign-out") << "logout";
    QTest::newRow("after the idle time") << "idle";
}

// A verbatim repeat of a call is answered from the first answer only while its session
// lives; the sign-out's own repeat still answers as the sign-out did.
void TestHostileRequests::repeatAfterTheSessionEndedIsRefused()
{
    QFETCH(QString, ending);
    // 3 seconds of idle time for the expiry case.
    PrivateBackend backend(ending == "idle" ? QStringList{"--idle-minutes", "0.05"}
                                            : QStringList{});
    QVERIFY2(!backend.url().isEmpty(), qPrintable(backend.output()));
    BackendClient client(backend.url());
    const WorkerSession s = WorkerSession::open(client, terminal, "zhangli");
    QJsonObject write = s.body();
    write["id"] = "12";
    write["name"] = "周小五";
    const QString target = "/mac/userInfo/updateName?" + BackendClient::signedQuery(write);
    const QByteArray text = QJsonDocument(write).toJson(QJsonDocument::Compact);
    QCOMPARE(codeOf(client.postRaw(target, text)), 200);

    if (ending == "logout") {
        QCOMPARE(codeOf(client.postRaw(target, text)), 200); // a repeat while the session lives
        const QJsonObject logout = s.body();
        QCOMPARE(client.call("client/logout", logout).value("httpCode").toInt(), 200);
        QCOMPARE(client.call("client/logout", logout).value("httpCode").toInt(), 200);
    } else {
        QThread::msleep(3500); // past the idle time and the tenth it may be late by
    }
    const QJsonObject repeat = QJsonDocument::fromJson(client.postRaw(target, text)).object();
    QCOMPARE(repeat.value("httpCode").toInt(), 401);
    QVERIFY(!repeat.contains("data"));
}

void TestHostileRequests::lateRepeatGetsTheFirstAnswer_data()
{
    QTest::addColumn<int>("minutes");
    QTest::newRow("6 minutes later") << 6;
    QTest::newRow("23 hours later") << 23 * 60;
}

// A recharge whose reply was lost, sent again unchanged long after its timestamp could be
// accepted: answered as the first time, recorded once. The same identity with another body,
// and a new request carrying the old timestamp, are still refused, the latter with the text
// the terminal reads as "the backend never saw it".
void TestHostileRequests::lateRepeatGetsTheFirstAnswer()
{
    QFETCH(int, minutes);
    const QStringList twoDaysIdle{"--idle-minutes", "2880"}; // the session outlives the repeat
    PrivateBackend backend(twoDaysIdle);
    QVERIFY2(!backend.url().isEmpty(), qPrintable(backend.output()));
    WorkerSession s;
    QJsonObject first;
    QJsonObject recharge;
    {
        BackendClient client(backend.url());
        s = WorkerSession::open(client, terminal, "zhangli");
        recharge = s.body();
        recharge["userId"] = "7";
        recharge["amount"] = "5000";
        recharge["withActive"] = "0";
        recharge["remark"] = "";
        first = client.call("userRecharge/confirmRecharge", recharge);
    }
    QCOMPARE(first.value("httpCode").toInt(), 200);
    const QString target =
        "/mac/userRecharge/confirmRecharge?" + BackendClient::signedQuery(recharge);
    const QByteArray text = QJsonDocument(recharge).toJson(QJsonDocument::Compact);
    QByteArray changed = text;
    changed.replace("{", "{\"x\":0,");
    QJsonObject another = recharge;
    another["remark"] = "再充一次";
    BackendDatabase db;
    QVERIFY(db.open(backend.databasePath()));
    const QString balance = db.value("SELECT balance FROM users WHERE id = 7");
    const QString recharges = db.value("SELECT COUNT(*) FROM recharges WHERE user_id = 7");

    QVERIFY2(backend.restart(twoDaysIdle +
                             QStringList{"--clock-offset-minutes", QString::number(minutes)}),
             qPrintable(backend.output()));
    BackendClient client(backend.url());
    QCOMPARE(objectOf(client.postRaw(target, text)), first);
    QCOMPARE(codeOf(client.postRaw(target, changed)), 403);
    const QJsonObject stale = client.call("userRecharge/confirmRecharge", another);
    QCOMPARE(stale.value("httpCode").toInt(), 403);
    QVERIFY2(stale.value("msg").toString().startsWith(staleText),
             qPrintable(stale.value("msg").toString()));
    QCOMPARE(objectOf(client.postRaw(target, text)), first);
    QCOMPARE(db.value("SELECT balance FROM users WHERE id = 7"), balance);
    QCOMPARE(db.value("SELECT COUNT(*) FROM recharges WHERE user_id = 7"), recharges);
    // The session lives on at the backend's moved clock: a request stamped with it is served.
    QJsonObject now = s.body();
    now["timestamp"] = BackendClient::now(minutes * 60 * 1000LL);
    QCOMPARE(client.call("wkMenu/queryAllByWorkId", now).value("httpCode").toInt(), 200);
}

void TestHostileRequests::longAddressOfALegalRequestIsAnswered_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QJsonObject>("fields");
    QTest::addColumn<QString>("count"); // raised by one by the request ("": nothing)
    QTest::newRow("two remarks of 500 characters")
        << "orderInfo/add" << orderWithLongRemarks() << "SELECT COUNT(*) FROM orders";
    // The body's limit bounds every request: here a body near it, each byte of it three times
    // over in the address (percent-encoded).
    QTest::newRow("a body near its limit")
        << "wkMenu/queryAllByWorkId" << QJsonObject{{"note", QString(85000, QChar(0x6d17))}} << "";
}

void TestHostileRequests::longAddressOfALegalRequestIsAnswered()
{
    QFETCH(QString, path);
    QFETCH(QJsonObject, fields);
    QFETCH(QString, count);
    const QJsonObject b = body(fields);
    QVERIFY(BackendClient::signedQuery(b).size() > 9000);
    const qint64 before = count.isEmpty() ? 0 : db_.number(count.toUtf8().constData());
    const QJsonObject reply = client_->call(path, b);
    QCOMPARE(reply.value("httpCode").toInt(), 200);
    if (!count.isEmpty())
        QCOMPARE(db_.number(count.toUtf8().constData()), before + 1);
}

// An address longer than any legal request needs is refused with an envelope that says why,
// and the connection serves the next request.
void TestHostileRequests::overlongAddressGetsAnEnvelope()
{
    const QJsonObject b = body({});
    const QJsonObject reply = client_->post("wkMenu/queryAllByWorkId", b,
                                            BackendClient::signedQuery(b) + overlongPadding);
    QCOMPARE(reply.value("httpCode").toInt(), 400);
    QVERIFY(!reply.value("msg").toString().isEmpty());
    QVERIFY(!reply.contains("data"));
    QCOMPARE(client_->call("wkMenu/queryAllByWorkId", body({})).value("httpCode").toInt(), 200);
}

void TestHostileRequests::longAddressOverHttps()
{
    const QString certs = QStringLiteral(BRENVO_TEST_CERT_DIR);
    PrivateBackend tls({"--cert", certs + "/server.pem", "--key", certs + "/server.key"});
    QVERIFY2(tls.url().startsWith("https://"), qPrintable(tls.output()));
    BackendClient client(tls.url());
    client.http().set_ca_cert_path((certs + "/ca.pem").toStdString());
    client.http().enable_server_certificate_verification(true);
    const WorkerSession s = WorkerSession::open(client, terminal, "zhangli");
    QVERIFY(!s.accessToken.isEmpty());

    QJsonObject order = s.body();
    const QJsonObject fields = orderWithLongRemarks();
    for (auto it = fields.begin(); it != fields.end(); ++it)
        order.insert(it.key(), it.value());
    QCOMPARE(client.call("orderInfo/add", order).value("httpCode").toInt(), 200);
    const QJsonObject menu = s.body();
    QCOMPARE(client
                 .post("wkMenu/queryAllByWorkId", menu,
                       BackendClient::signedQuery(menu) + overlongPadding)
                 .value("httpCode")
                 .toInt(),
             400);
    QCOMPARE(client.call("wkMenu/queryAllByWorkId", s.body()).value("httpCode").toInt(), 200);
}

void TestHostileRequests::tokensAreKeptOnlyAsHashes()
{
    const QString secret = client_->handshake(terminal);
    const QJsonObject login{{"serialNum", terminal},
                            {"appSecret", secret},
                            {"account", "wangqiang"},
                            {"password", BackendClient::mmd5("123456", secret)},
                            {"timestamp", BackendClient::now()}};
    const QJsonObject first = client_->call("client/login", login);
    const QString token = first.value("data").toObject().value("accessToken").toString();
    QCOMPARE(token.size(), 48);
    const QString hash =
        QCryptographicHash::hash(token.toUtf8(), QCryptographicHash::Sha256).toHex();
    QCOMPARE(db_.number("SELECT COUNT(*) FROM sessions WHERE token_hash = ?", {hash}), 1);
    const QString anywhere = "%" + token + "%";
    QCOMPARE(db_.number("SELECT COUNT(*) FROM sessions WHERE token_hash LIKE ? OR app_secret "
                        "LIKE ?",
                        {anywhere, anywhere}),
             0);
    QCOMPARE(db_.number("SELECT COUNT(*) FROM replies WHERE body LIKE ?", {anywhere}), 0);
    // The login's verbatim repeat still brings the same token back, and it works.
    QCOMPARE(client_->call("client/login", login), first);
    WorkerSession s{terminal, secret, token};
    QCOMPARE(client_->call("wkMenu/queryAllByWorkId", s.body()).value("httpCode").toInt(), 200);
}

QTEST_GUILESS_MAIN(TestHostileRequests)
#include "tst_hostilerequests.moc"
