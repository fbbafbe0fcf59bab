#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QStringList>

// The digests behind request signing and the login tokens. Holds no state.
class SignTool : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Lowercase hexadecimal MD5 of the bytes.
    static QString md5Hex(const QByteArray &bytes);

    // The parameter object's keys in ascending UTF-16 code-unit order (upper case first).
    static QStringList sortedKeys(const QJsonObject &params);

    // A parameter value as it is signed and put into the query: only JSON strings carry
    // text, every other value counts as empty.
    static QString valueText(const QJsonValue &value);

    // MD5 over the value texts in key order, keys left out, appSecret and timestamp in.
    static QString signature(const QJsonObject &params);

    // md5(md5(first) + second), both taken as Latin-1.
    static QString doubleMd5(const QString &first, const QString &second);
};
