#include "net/ccnetworkrequest.h"

#include "app/appconfig.h"
#include "device/cmrf800drivehelper.h"
#include "net/netlogging.h"
#include "net/photouploader.h"
#include "net/replyreader.h"
#include "net/signtool.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QHash>
#include <QHostAddress>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QNetworkAccessManager>
#include <QNetworkInterface>
#include <QNetworkReply>
#include <QPointer>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QThread>
#include <QUrl>

#include <climits>

namespace {

// The configured CA bundle, read once per path: a private backend's certificate is
// trusted through it, never by ignoring TLS errors.
QList<QSslCertificate> bundleCertificates(const QString &path)
{
    static QHash<QString, QList<QSslCertificate>> loaded;
    auto found = loaded.constFind(path);
    if (found != loaded.constEnd())
        return found.value();
    QList<QSslCertificate> certificates = QSslCertificate::fromPath(path, QSsl::Pem);
    if (certificates.isEmpty())
        qCWarning(lcNet).noquote() << "no CA certificate could be read from" << path;
    loaded.insert(path, certificates);
    return certificates;
}

QSslConfiguration sslConfiguration()
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    const QString bundle = AppConfig::caBundle();
    if (bundle.isEmpty())
        return configuration;
    // An explicit CA list switches off the system's roots loaded on demand; list them too,
    // so the vendor and map hosts stay trusted beside the private backend.
    static const QList<QSslCertificate> systemRoots = QSslConfiguration::systemCaCertificates();
    configuration.setCaCertificates(systemRoots + bundleCertificates(bundle));
    return configuration;
}

// One network manager for every request object: one connection pool and one TLS session
// cache, instead of a manager, its thread and its connections per open screen.
QNetworkAccessManager *sharedManager()
{
    static QPointer<QNetworkAccessManager> manager;
    if (manager.isNull())
        manager = new QNetworkAccessManager(QCoreApplication::instance());
    return manager;
}

// The reader libraries are loaded once for the process, not once per screen.
CMRF800DriveHelper *sharedReader()
{
    static QPointer<CMRF800DriveHelper> reader;
    if (reader.isNull()) {
        reader = new CMRF800DriveHelper(QCoreApplication::instance());
        // A missing reader library is not fatal: reads then find no card.
        reader->init();
    }
    return reader;
}

} // namespace

CCNetWorkRequest::CCNetWorkRequest(QObject *parent)
    : QObject(parent), manager(sharedManager()), reader(sharedReader())
{
}

CCNetWorkRequest::~CCNetWorkRequest()
{
    // Replies still out belong to the shared manager: stop them, and make sure they can no
    // longer reach this object.
    for (auto it = inFlight.cbegin(); it != inFlight.cend(); ++it) {
        QNetworkReply *reply = it.key();
        disconnect(reply, nullptr, this, nullptr);
        reply->abort();
        reply->deleteLater();
    }
    qCDebug(lcNet) << "析构函数调用";
}

QString CCNetWorkRequest::maskedForLog(QString text)
{
    // The worker's session token, the customer's payment code and the sign-in password's
    // digest: each opens something on its own, so none of them reaches the log.
    static const QRegularExpression query(
        QStringLiteral("(\\b(?:accessToken|authCode|password)=)[^&]*"));
    static const QRegularExpression json(
        QStringLiteral("(\"(?:accessToken|authCode|password)\"\\s*:\\s*\")[^\"]*"));
    return text.replace(query, QStringLiteral("\\1***")).replace(json, QStringLiteral("\\1***"));
}

QString CCNetWorkRequest::baseAddress()
{
    QString backend = AppConfig::backendUrl();
    while (backend.endsWith(QLatin1Char('/')))
        backend.chop(1);
    return backend + QLatin1String("/mac/");
}

void CCNetWorkRequest::setReqNum(int req_num)
{
    this->req_num = req_num;
    qCDebug(lcNet).noquote() << QStringLiteral("请求参数:") + QString::number(req_num);
}

// URL, time limit and trust for the next call; headers set earlier stay on the record.
void CCNetWorkRequest::prepare(const QString &address)
{
    request.setUrl(QUrl(address));
    request.setTransferTimeout(AppConfig::requestTimeoutMs());
    request.setSslConfiguration(sslConfiguration());
}

int CCNetWorkRequest::track(QNetworkReply *reply)
{
    // Ids stay positive when the counter wraps: 0 means "nothing was sent".
    lastCallId = lastCallId == INT_MAX ? 1 : lastCallId + 1;
    inFlight.insert(reply, lastCallId);
    connect(reply, &QNetworkReply::finished, this, [this, reply] { CCRequest_Flished(reply); });
    return lastCallId;
}

int CCNetWorkRequest::get(const QString &address)
{
    url = address;
    emit reqParamsReturn(url);
    prepare(url);
    return track(manager->get(request));
}

int CCNetWorkRequest::postJson(const QString &param, const QString &address)
{
    url = address;
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(param.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError) {
        emit reqErrorReturn(QStringLiteral("请求参数错误!"));
        return 0;
    }
    body = doc.toJson(QJsonDocument::Compact);
    prepare(url);
    request.setRawHeader("Content-Type", "application/json;charset=UTF-8");
    emit reqParamsReturn(url);
    // Qt sends the header and the body in two writes without TCP_NODELAY, so the body waits
    // for the server's delayed acknowledgement (~40 ms a request on a reused connection).
    // A server that answers "100 Continue" acknowledges the header at once. Only this POST
    // carries it: the headers kept on `request` reach later GETs too.
    QNetworkRequest post = request;
    post.setRawHeader("Expect", "100-continue");
    return track(manager->post(post, body));
}

int CCNetWorkRequest::CCRequest_GET(QString param, QString interfaStr)
{
    const QString address = baseAddress() + interfaStr + param;
    qCDebug(lcNet).noquote() << QLatin1String("req_url:") + maskedForLog(address);
    return get(address);
}

int CCNetWorkRequest::CCRequest_GET1(QString param, QString interfaStr)
{
    Q_UNUSED(param)
    return get(interfaStr);
}

int CCNetWorkRequest::CCRequest_POST(QString param, QString interfaStr)
{
    const QString address = baseAddress() + interfaStr;
    const int id = postJson(param, address);
    if (id != 0)
        qCDebug(lcNet).noquote() << QLatin1String("send:") + maskedForLog(address);
    return id;
}

int CCNetWorkRequest::CCRequest_POST1(QString param, QString interfaStr)
{
    const int id = postJson(param, interfaStr);
    if (id != 0)
        qCDebug(lcNet).noquote() << QLatin1String("send:") + maskedForLog(QString::fromUtf8(body));
    return id;
}

void CCNetWorkRequest::CCRequest_Flished(QNetworkReply *rel)
{
    if (!rel)
        return;
    const int callId = inFlight.take(rel);
    // A transfer that runs past its time limit ends here as a network error, like any other.
    const bool failed = rel->error() != QNetworkReply::NoError;
    const HeldReply reply{callId, failed ? rel->errorString() : QString::fromUtf8(rel->readAll()),
                          failed};
    rel->deleteLater();
    // Behind replies already held, in the order they came.
    if (uploading > 0 || !held.isEmpty()) {
        held.append(reply);
        return;
    }
    deliver(reply);
}

void CCNetWorkRequest::deliver(const HeldReply &reply)
{
    replyFailed = reply.failed;
    emit callFinished(reply.callId, reply.text, reply.failed);
    emit reqFlishedReturn(reply.text);
}

// Runs from the event loop. A screen that uploads several photos in a row calls the next
// upload before returning there; the nested loop of that upload may run this, and then it
// leaves the replies held until the last upload has returned.
void CCNetWorkRequest::releaseHeld()
{
    while (uploading == 0 && !held.isEmpty())
        deliver(held.takeFirst());
}

QString CCNetWorkRequest::josnHttpCode(QString rel_str)
{
    return ReplyReader::josnHttpCode(rel_str);
}

QString CCNetWorkRequest::josnMsg(QString rel_str)
{
    return ReplyReader::josnMsg(rel_str);
}

QString CCNetWorkRequest::josnData(QString rel_str)
{
    return ReplyReader::josnData(rel_str);
}

QString CCNetWorkRequest::josnReturn(QString rel_str, QString key)
{
    return ReplyReader::josnReturn(rel_str, key);
}

QString CCNetWorkRequest::getReturnMsg(QString rel_str, QString key)
{
    return ReplyReader::getReturnMsg(rel_str, key);
}

QString CCNetWorkRequest::mtimestamp()
{
    return QStringLiteral("%1").arg(QDateTime::currentMSecsSinceEpoch());
}

void CCNetWorkRequest::qmlSleep(unsigned long ms)
{
    QThread::msleep(ms);
}

QString CCNetWorkRequest::mmd5(QString first, QString sconed)
{
    return SignTool::doubleMd5(first, sconed);
}

QString CCNetWorkRequest::josnappSecret(QString rel_str)
{
    return ReplyReader::getReturnMsg(rel_str, QStringLiteral("appSecret"));
}

QString CCNetWorkRequest::getaccessToken(QString rel_str)
{
    const QString token = ReplyReader::getReturnMsg(rel_str, QStringLiteral("accessToken"));
    // The token itself never goes into the log.
    qCDebug(lcNet).noquote() << QLatin1String(token.isEmpty() ? "accessToken:" : "accessToken:***");
    return token;
}

QString CCNetWorkRequest::getOrderName(QString rel_str)
{
    return ReplyReader::getOrderName(rel_str);
}

QString CCNetWorkRequest::getqueryOrder(QString jsonstr, QString key, QString key1)
{
    return ReplyReader::getqueryOrder(jsonstr, key, key1);
}

QString CCNetWorkRequest::jsoninfo(QString jsonstr, QString key)
{
    return ReplyReader::jsoninfo(jsonstr, key);
}

QString CCNetWorkRequest::getUserInfo(QString jsonstr, QString key)
{
    return ReplyReader::getUserInfo(jsonstr, key);
}

QString CCNetWorkRequest::getMemberInfo(QString jsonstr, QString key, QString key1, QString key2,
                                        int flags)
{
    return ReplyReader::getMemberInfo(jsonstr, key, key1, key2, flags);
}

QString CCNetWorkRequest::getOrderInfo(QString rel_str, QString key, int num, int dataflag)
{
    return ReplyReader::getOrderInfo(rel_str, key, num, dataflag);
}

int CCNetWorkRequest::getOrderNum(QString rel_str, int dataflag)
{
    return ReplyReader::getOrderNum(rel_str, dataflag);
}

QString CCNetWorkRequest::getClothInfo(QString jsonstr, QString key, QString key1, int num,
                                       int dataflag)
{
    return ReplyReader::getClothInfo(jsonstr, key, key1, num, dataflag);
}

int CCNetWorkRequest::getClothNum(QString jsonstr, QString key, int dataflag)
{
    return ReplyReader::getClothNum(jsonstr, key, dataflag);
}

QString CCNetWorkRequest::getListInfo(QString jsonstr, QString key, QString key1, QString key2,
                                      int num)
{
    return ReplyReader::getListInfo(jsonstr, key, key1, key2, num);
}

int CCNetWorkRequest::getListNum(QString jsonstr, QString key, QString key1)
{
    return ReplyReader::getListNum(jsonstr, key, key1);
}

int CCNetWorkRequest::getListNums(QString jsonstr, QString key)
{
    return ReplyReader::getListNums(jsonstr, key);
}

QString CCNetWorkRequest::getJsonStr(QString jsonstr, QString key)
{
    return ReplyReader::getJsonStr(jsonstr, key);
}

QString CCNetWorkRequest::getJsonFormString(QString str, QString key)
{
    return ReplyReader::getJsonFormString(str, key);
}

QJsonArray CCNetWorkRequest::getArrayFromString(QString str, QString key)
{
    return ReplyReader::getArrayFromString(str, key);
}

QJsonArray CCNetWorkRequest::getArrayFromString(QString str)
{
    return ReplyReader::getArrayFromString(str);
}

QString CCNetWorkRequest::jsonTra(QString str)
{
    return ReplyReader::jsonTra(str);
}

QString CCNetWorkRequest::jsonTra1(QString str)
{
    return ReplyReader::jsonTra1(str);
}

QString CCNetWorkRequest::jsonaddService(QString str)
{
    return ReplyReader::jsonaddService(str);
}

int CCNetWorkRequest::jsonaddServiceNum(QString str)
{
    return ReplyReader::jsonaddServiceNum(str);
}

QString CCNetWorkRequest::createRemarkJson(QString remark, int workid, QString workname)
{
    const QJsonObject entry{
        {QStringLiteral("createTime"),
         QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))},
        {QStringLiteral("remark"), remark},
        {QStringLiteral("workId"), workid},
        {QStringLiteral("workName"), workname}};
    QString text =
        QString::fromUtf8(QJsonDocument(QJsonArray{entry}).toJson(QJsonDocument::Indented));
    text.remove(QLatin1Char('\n'));
    return text;
}

QString CCNetWorkRequest::getCardId()
{
    if (!reader->readCardId())
        return QString();
    qCDebug(lcNet).noquote() << reader->cardId();
    return reader->cardId();
}

// The secret of the staff card on the reader, from block 4; "" when there is no card.
QString CCNetWorkRequest::getRFIDSecret()
{
    return reader->readCard(4) ? reader->cardText() : QString();
}

QString CCNetWorkRequest::getHostIp()
{
    const QHostAddress loopback(QHostAddress::LocalHost);
    for (const QHostAddress &address : QNetworkInterface::allAddresses()) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol && address != loopback)
            return address.toString();
    }
    return loopback.toString();
}

QString CCNetWorkRequest::randString()
{
    static const QString alphabet =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWZYZqazxswedcvfrtgbnhyujmkiolp");
    const QTime now = QTime::currentTime();
    // Seeded from the clock's millisecond within the minute: two calls in the same
    // millisecond give the same text.
    QRandomGenerator generator(static_cast<quint32>(now.msec() + now.second() * 1000));
    QString text;
    for (int i = 0; i < 6; ++i)
        text += alphabet.at(static_cast<int>(generator.generate() % 52));
    return text;
}

QDate CCNetWorkRequest::sToD(QString str, int types)
{
    return QDate::fromString(str,
                             types == 1 ? QStringLiteral("yyyy-M-d") : QStringLiteral("yyyy-M"));
}

QString CCNetWorkRequest::timeOperation(QString str, QString operationr)
{
    const bool byDay = operationr == QLatin1String("+D") || operationr == QLatin1String("-D");
    const bool byMonth = operationr == QLatin1String("+M") || operationr == QLatin1String("-M");
    if (!byDay && !byMonth)
        return QString();
    const QDate date = sToD(str, byDay ? 1 : 0);
    if (!date.isValid())
        return QString();
    const int step = operationr.startsWith(QLatin1Char('+')) ? 1 : -1;
    if (byDay)
        return date.addDays(step).toString(QStringLiteral("yyyy-MM-dd"));
    return date.addMonths(step).toString(QStringLiteral("yyyy-MM"));
}

QString CCNetWorkRequest::transcode(QString code)
{
    qCDebug(lcNet).noquote() << code;
    return QString::fromUtf8(code.toLocal8Bit());
}

QString CCNetWorkRequest::cleanString(QString original, QString str)
{
    if (str.isEmpty())
        return original;
    return original.remove(str, Qt::CaseSensitive);
}

bool CCNetWorkRequest::compareStr(QString mainStr, QString secondStr)
{
    return mainStr.contains(secondStr, Qt::CaseInsensitive);
}

QString CCNetWorkRequest::qiniuUpload(QString token, QString key)
{
    ++uploading;
    const QString stored = PhotoUploader(manager, sslConfiguration()).upload(token, key);
    --uploading;
    if (uploading == 0 && !held.isEmpty())
        QMetaObject::invokeMethod(this, &CCNetWorkRequest::releaseHeld, Qt::QueuedConnection);
    return stored;
}
