// The request object's photo upload against the reference backend's photo store: a stored
// picture comes back byte for byte; every failure gives "" and the log line with the
// message, the local path and the code.
#include "loopbackserver.h"
#include "net/ccnetworkrequest.h"

#include "backendclient.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

class TestPhotoUpload : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void storedPictureIsServedBack();
    void failureGivesEmptyKeyAndLogLine_data();
    void failureGivesEmptyKeyAndLogLine();

private:
    QString writePhoto(const QString &key, const QByteArray &bytes);

    QTemporaryDir workDir;
    QString base;
    QString token;
    LoopbackServer silent;
};

void TestPhotoUpload::initTestCase()
{
    QFile urlFile(QStringLiteral(BRENVO_TEST_BACKEND_FILE));
    QVERIFY2(urlFile.open(QIODevice::ReadOnly), "the backend fixture wrote no address");
    base = QString::fromUtf8(urlFile.readAll().trimmed());
    QVERIFY(base.startsWith("http"));

    BackendClient client(base);
    const WorkerSession session = WorkerSession::open(client, "BV2024000001", "zhangli");
    token = client.call("attachment/qiniu/token", session.body())
                .value("data")
                .toObject()
                .value("token")
                .toString();
    QVERIFY(!token.isEmpty());

    // Photos live below the working folder, as the camera writes them.
    QVERIFY(QDir::setCurrent(workDir.path()));
    QVERIFY(QDir().mkpath("qrpic/client"));

    silent.answer = false;
    QVERIFY(silent.start());
}

void TestPhotoUpload::init()
{
    qputenv("BRENVO_UPLOAD_HOST", (base + "/qiniu").toUtf8());
    qunsetenv("BRENVO_REQUEST_TIMEOUT_MS");
}

QString TestPhotoUpload::writePhoto(const QString &key, const QByteArray &bytes)
{
    QFile file("qrpic/" + key);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return QDir::currentPath() + "/qrpic/" + key;
}

void TestPhotoUpload::storedPictureIsServedBack()
{
    // Every byte value, in a picture a little larger than a network buffer.
    QByteArray bytes(300 * 1024, Qt::Uninitialized);
    QRandomGenerator rng(7);
    for (char &b : bytes)
        b = char(rng.bounded(256));
    bytes.replace(0, 4, "\xff\xd8\x00\x0d", 4);
    const QString key = "client/" + CCNetWorkRequest().randString() + "70100000011.jpg";
    QVERIFY(!writePhoto(key, bytes).isEmpty());

    CCNetWorkRequest request;
    QCOMPARE(request.qiniuUpload(token, key), key);

    QNetworkAccessManager manager;
    QNetworkReply *reply = manager.get(QNetworkRequest(QUrl(base + "/files/" + key)));
    QSignalSpy finished(reply, &QNetworkReply::finished);
    QVERIFY(finished.wait(10000));
    QCOMPARE(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 200);
    QCOMPARE(reply->readAll(), bytes);
    delete reply;
}

void TestPhotoUpload::failureGivesEmptyKeyAndLogLine_data()
{
    QTest::addColumn<QString>("host");     // "" keeps the photo store
    QTest::addColumn<QString>("useToken"); // "good" or the token to send
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("writeFile");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("code");

    QTest::newRow("wrong token") << ""
                                 << "forged:eyJkZWFkbGluZSI6OTk5OTk5OTk5OX0"
                                 << "client/wrongtoken1.jpg" << true << "bad token" << 401;
    QTest::newRow("no token") << ""
                              << ""
                              << "client/notoken1.jpg" << true << "bad token" << 401;
    QTest::newRow("unreachable host") << "http://127.0.0.1:9/qiniu"
                                      << "good"
                                      << "client/unreachable1.jpg" << true << "Connection refused"
                                      << int(QNetworkReply::ConnectionRefusedError);
    QTest::newRow("host that never answers")
        << "silent"
        << "good"
        << "client/silent1.jpg" << true << "no answer within 300 ms"
        << int(QNetworkReply::TimeoutError);
    QTest::newRow("no such photo")
        << ""
        << "good"
        << "client/missing1.jpg" << false << "No such file or directory" << -1;
    QTest::newRow("key outside the photo folder")
        << ""
        << "good"
        << "../outside1.jpg" << false << "invalid key" << -1;
}

void TestPhotoUpload::failureGivesEmptyKeyAndLogLine()
{
    QFETCH(QString, host);
    QFETCH(QString, useToken);
    QFETCH(QString, key);
    QFETCH(bool, writeFile);
    QFETCH(QString, message);
    QFETCH(int, code);

    if (host == "silent") {
        host = silent.baseUrl() + "/qiniu";
        qputenv("BRENVO_REQUEST_TIMEOUT_MS", "300");
    }
    if (!host.isEmpty())
        qputenv("BRENVO_UPLOAD_HOST", host.toUtf8());
    if (writeFile)
        QVERIFY(!writePhoto(key, "\xff\xd8 photo").isEmpty());
    const QString path = QDir::currentPath() + "/qrpic/" + key;

    QTest::ignoreMessage(
        QtWarningMsg,
        QRegularExpression("^qiniu upload error: " + QRegularExpression::escape(message) +
                           ".* path: " + QRegularExpression::escape(path) +
                           " code: " + QString::number(code) + "$"));
    CCNetWorkRequest request;
    QCOMPARE(request.qiniuUpload(useToken == "good" ? token : useToken, key), QString());
    if (!key.startsWith("..")) {
        // Nothing was stored under the key.
        BackendClient client(base);
        int status = 0;
        client.get("/files/" + key, &status);
        QCOMPARE(status, 404);
    }
}

QTEST_GUILESS_MAIN(TestPhotoUpload)
#include "tst_photoupload.moc"
