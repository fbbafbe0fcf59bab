#include "app/appconfig.h"

#include <QSettings>
#include <QUrl>

QString AppConfig::configFile()
{
    const QString named = qEnvironmentVariable("BRENVO_CONFIG");
    return named.isEmpty() ? QStringLiteral("brenvo.ini") : named;
}

QString AppConfig::value(const char *envName, const QString &key, const QString &fallback)
{
    const QString fromEnv = qEnvironmentVariable(envName);
    if (!fromEnv.isEmpty())
        return fromEnv;
    const QSettings file(configFile(), QSettings::IniFormat);
    return file.value(key, fallback).toString();
}

QString AppConfig::backendUrl()
{
    return value("BRENVO_BACKEND_URL", QStringLiteral("backend/url"),
                 QStringLiteral("https://pos.brenvo.cn"));
}

QString AppConfig::uploadHost()
{
    return value("BRENVO_UPLOAD_HOST", QStringLiteral("upload/host"),
                 QStringLiteral("https://upload.qiniup.com"));
}

QString AppConfig::mapHost()
{
    return value("BRENVO_MAP_HOST", QStringLiteral("map/host"),
                 QStringLiteral("https://restapi.amap.com"));
}

QString AppConfig::mapKey()
{
    return value("BRENVO_MAP_KEY", QStringLiteral("map/key"), QString());
}

QString AppConfig::vendorHost()
{
    return value("BRENVO_VENDOR_HOST", QStringLiteral("vendor/host"),
                 QStringLiteral("https://update.brenvo.cn/pos/"));
}

QString AppConfig::vendorSite()
{
    return value("BRENVO_VENDOR_SITE", QStringLiteral("vendor/site"),
                 QStringLiteral("https://www.brenvo.cn"));
}

QString AppConfig::helpUrl()
{
    return value("BRENVO_HELP_URL", QStringLiteral("vendor/help"),
                 QStringLiteral("https://www.brenvo.cn/help"));
}

QString AppConfig::vendorFile(const QString &name)
{
    QUrl folder(vendorHost());
    if (!folder.path().endsWith(QLatin1Char('/')))
        folder.setPath(folder.path() + QLatin1Char('/'));
    return folder.resolved(QUrl(name)).toString();
}

// The customer-service page is "kf.html" on the vendor's host unless configured apart.
QString AppConfig::serviceUrl()
{
    return value("BRENVO_SERVICE_URL", QStringLiteral("vendor/service"),
                 vendorFile(QStringLiteral("kf.html")));
}

QString AppConfig::readerKey()
{
    return value("BRENVO_READER_KEY", QStringLiteral("reader/key"), QString());
}

QString AppConfig::serialNum()
{
    return value("BRENVO_SERIAL_NUM", QStringLiteral("terminal/serialNum"), QString());
}

QString AppConfig::caBundle()
{
    return value("BRENVO_CA_BUNDLE", QStringLiteral("backend/caBundle"), QString());
}

int AppConfig::requestTimeoutMs()
{
    bool ok = false;
    const int ms = value("BRENVO_REQUEST_TIMEOUT_MS", QStringLiteral("backend/timeoutMs"),
                         QStringLiteral("30000"))
                       .toInt(&ok);
    return ok && ms > 0 ? ms : 30000;
}
