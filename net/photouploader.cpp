#include "net/photouploader.h"

#include "app/appconfig.h"
#include "net/netlogging.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHttpMultiPart>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace {

// What a failed upload reports, like the store client's error record.
struct Failure
{
    QString message;
    int code;
};

void logFailure(const Failure &failure, const QString &path)
{
    qCWarning(lcNet).noquote() << "qiniu upload error:" << failure.message << "path:" << path
                               << "code:" << failure.code;
}

// The key names a file below "qrpic": one that climbs out of it is refused.
bool acceptableKey(const QString &key)
{
    if (key.isEmpty() || QDir::isAbsolutePath(key))
        return false;
    const QStringList parts = key.split(QLatin1Char('/'));
    return !parts.contains(QStringLiteral("..")) && !parts.contains(QString());
}

QHttpPart textPart(const char *name, const QString &value)
{
    QHttpPart part;
    part.setHeader(QNetworkRequest::ContentDispositionHeader,
                   QStringLiteral("form-data; name=\"%1\"").arg(QLatin1String(name)));
    part.setBody(value.toUtf8());
    return part;
}

QHttpPart filePart(const QString &key, QFile *file)
{
    QHttpPart part;
    part.setHeader(
        QNetworkRequest::ContentDispositionHeader,
        QStringLiteral("form-data; name=\"file\"; filename=\"%1\"").arg(QFileInfo(key).fileName()));
    part.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/octet-stream"));
    part.setBodyDevice(file);
    return part;
}

// The store answers {"key": ...} when it kept the file, {"error": ...} when it did not.
QString storedKey(QNetworkReply *reply, Failure *failure)
{
    const QByteArray body = reply->readAll();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QJsonObject answer = QJsonDocument::fromJson(body).object();
    if (reply->error() == QNetworkReply::NoError && status == 200) {
        const QString key = answer.value(QStringLiteral("key")).toString();
        if (!key.isEmpty())
            return key;
        *failure = {QStringLiteral("no key in the answer: ") + QString::fromUtf8(body), status};
        return QString();
    }
    const QString error = answer.value(QStringLiteral("error")).toString();
    *failure = {error.isEmpty() ? reply->errorString() : error,
                status > 0 ? status : int(reply->error())};
    return QString();
}

} // namespace

PhotoUploader::PhotoUploader(QNetworkAccessManager *manager, QSslConfiguration ssl)
    : manager(manager), ssl(std::move(ssl))
{
}

QString PhotoUploader::localPath(const QString &key)
{
    return QDir::currentPath() + QStringLiteral("/qrpic/") + key;
}

QString PhotoUploader::upload(const QString &token, const QString &key) const
{
    const QString path = localPath(key);
    if (!acceptableKey(key)) {
        logFailure({QStringLiteral("invalid key"), -1}, path);
        return QString();
    }
    auto *file = new QFile(path);
    if (!file->open(QIODevice::ReadOnly)) {
        logFailure({file->errorString(), -1}, path);
        delete file;
        return QString();
    }

    auto *form = new QHttpMultiPart(QHttpMultiPart::FormDataType);
    form->append(textPart("token", token));
    form->append(textPart("key", key));
    form->append(filePart(key, file));
    file->setParent(form);

    QNetworkRequest request{QUrl(AppConfig::uploadHost())};
    request.setSslConfiguration(ssl);
    QNetworkReply *reply = manager->post(request, form);
    form->setParent(reply);

    // The whole upload, not just a silence, must end within the request time limit.
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, reply, &QNetworkReply::abort);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    limit.start(AppConfig::requestTimeoutMs());
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);

    Failure failure{QString(), 0};
    if (!limit.isActive())
        failure = {QStringLiteral("no answer within %1 ms").arg(AppConfig::requestTimeoutMs()),
                   int(QNetworkReply::TimeoutError)};
    const QString stored = limit.isActive() ? storedKey(reply, &failure) : QString();
    delete reply;
    if (stored.isEmpty())
        logFailure(failure, path);
    return stored;
}
