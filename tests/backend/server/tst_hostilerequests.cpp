// Requests a hostile or careless client might send: bytes that are not UTF-8, texts beyond
// their limits, numbers beyond 64 bits, deep nesting, a captured request replayed with a
// changed body or after its session ended. Each is refused cleanly and changes nothing;
// tokens are kept only as hashes.

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QTest>
#include <QThread>

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

const QJsonObject orderFields{{"userId", "2"},   {"takeMode", "1"},  {"sendMode", "1"},
                              {"priority", "0"}, {"takeAddrId", ""}, {"sendAddrId", ""},
                              {"remark", ""},    {"userRemark", ""}};

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
