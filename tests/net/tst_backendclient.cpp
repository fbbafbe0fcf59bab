// The request object and the signing object against the reference backend: the handshake,
// a signed login and a signed call after it, as the sign-in and the main window make them.
#include "net/ccnetworkrequest.h"
#include "net/signset.h"

#include <QtTest>

class TestBackendClient : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void signedRequestsAreAccepted();
    void tamperedSignatureIsRefused();

private:
    QString post(CCNetWorkRequest &request, const QJsonObject &params, const QString &path,
                 const QString &query);
    QString handshake(CCNetWorkRequest &request);
    QJsonObject loginParams(CCNetWorkRequest &request, const QString &appSecret);

    const QString serialNum = QStringLiteral("BV2024000001");
};

void TestBackendClient::initTestCase()
{
    QFile urlFile(QStringLiteral(BRENVO_TEST_BACKEND_FILE));
    QVERIFY2(urlFile.open(QIODevice::ReadOnly), "the backend fixture wrote no address");
    const QByteArray url = urlFile.readAll().trimmed();
    QVERIFY(url.startsWith("http"));
    qputenv("BRENVO_BACKEND_URL", url);
}

QString TestBackendClient::post(CCNetWorkRequest &request, const QJsonObject &params,
                                const QString &path, const QString &query)
{
    QSignalSpy finished(&request, &CCNetWorkRequest::reqFlishedReturn);
    request.CCRequest_POST(QString::fromUtf8(QJsonDocument(params).toJson()), path + "?" + query);
    if (!finished.wait(15000))
        return QString();
    return finished.first().first().toString();
}

// client/sign: a query written out by hand with token = mmd5(serialNum, timestamp).
QString TestBackendClient::handshake(CCNetWorkRequest &request)
{
    const QString timestamp = request.mtimestamp();
    const QString token = request.mmd5(serialNum, timestamp);
    const QJsonObject params{{"serialNum", serialNum}, {"timestamp", timestamp}, {"token", token}};
    const QString reply =
        post(request, params, "client/sign",
             "serialNum=" + serialNum + "&timestamp=" + timestamp + "&token=" + token);
    return request.josnHttpCode(reply) == "200" ? request.josnappSecret(reply) : QString();
}

// A demo worker's password login, as the sign-in sends it.
QJsonObject TestBackendClient::loginParams(CCNetWorkRequest &request, const QString &appSecret)
{
    return {{"account", "zhangli"},
            {"password", request.mmd5("123456", appSecret)},
            {"appSecret", appSecret},
            {"serialNum", serialNum},
            {"timestamp", request.mtimestamp()}};
}

void TestBackendClient::signedRequestsAreAccepted()
{
    CCNetWorkRequest request;
    SignSet signSet;
    const QString appSecret = handshake(request);
    QVERIFY(!appSecret.isEmpty());

    QJsonObject login = loginParams(request, appSecret);
    // "mac" sorts before "sign": unencoded, its "#" would cut the query short there.
    login.insert("mac", QString::fromUtf8("00:1A#2B&x=1+ 中"));
    const QString loginText = QString::fromUtf8(QJsonDocument(login).toJson());
    const QString loginReply =
        post(request, login, "client/login", signSet.getinterfastr(loginText));
    QCOMPARE(request.josnHttpCode(loginReply), QString("200"));
    const QString accessToken = request.getaccessToken(loginReply);
    QVERIFY(!accessToken.isEmpty());

    const QJsonObject menus{{"serialNum", serialNum},
                            {"appSecret", appSecret},
                            {"accessToken", accessToken},
                            {"timestamp", request.mtimestamp()}};
    const QString menuReply = post(request, menus, "wkMenu/queryAllByWorkId",
                                   signSet.getinterfastr(QJsonDocument(menus).toJson()));
    QCOMPARE(request.josnHttpCode(menuReply), QString("200"));
    QCOMPARE(request.getOrderNum(menuReply, 0), 12);
    QCOMPARE(request.getOrderInfo(menuReply, "id", 0, 0), QString("525"));
}

void TestBackendClient::tamperedSignatureIsRefused()
{
    CCNetWorkRequest request;
    SignSet signSet;
    const QString appSecret = handshake(request);
    QVERIFY(!appSecret.isEmpty());
    const QJsonObject login = loginParams(request, appSecret);
    QString query = signSet.getinterfastr(QJsonDocument(login).toJson());
    const int sign = query.indexOf("sign=") + 5;
    query.replace(sign, 32, QString(32, '0'));
    const QString reply = post(request, login, "client/login", query);
    QCOMPARE(request.josnHttpCode(reply), QString("403"));
}

QTEST_GUILESS_MAIN(TestBackendClient)
#include "tst_backendclient.moc"
