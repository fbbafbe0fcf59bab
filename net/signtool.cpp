#include "net/signtool.h"

#include <QCryptographicHash>

#include <algorithm>

QString SignTool::md5Hex(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

QStringList SignTool::sortedKeys(const QJsonObject &params)
{
    QStringList keys = params.keys();
    // QString's operator< compares UTF-16 code units, which is the order the backend uses.
    std::sort(keys.begin(), keys.end());
    return keys;
}

QString SignTool::valueText(const QJsonValue &value)
{
    return value.toString();
}

QString SignTool::signature(const QJsonObject &params)
{
    QString joined;
    for (const QString &key : sortedKeys(params))
        joined += valueText(params.value(key));
    return md5Hex(joined.toUtf8());
}

QString SignTool::doubleMd5(const QString &first, const QString &second)
{
    const QString inner = md5Hex(first.toLatin1());
    return md5Hex((inner + second).toLatin1());
}
