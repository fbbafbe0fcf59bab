#include "print/printdata.h"

#include <QDateTime>
#include <QJsonDocument>
#include <cmath>
#include <cstring>
#include <limits>

namespace PrintData {

namespace {

bool parse(const std::string &text, Json::Value &root)
{
    Json::Reader reader(Json::Features::all());
    return reader.parse(text, root, false);
}

std::string toStd(const QString &text)
{
    return text.toUtf8().toStdString();
}

QString fromStd(const std::string &text)
{
    return QString::fromUtf8(text.data(), int(text.size()));
}

// Whole fen out of a decimal text; a fraction of a fen is dropped, never rounded through a float.
qint64 integerText(const QString &text)
{
    const QString trimmed = text.trimmed();
    const int point = trimmed.indexOf(QLatin1Char('.'));
    bool ok = false;
    const qint64 value = (point < 0 ? trimmed : trimmed.left(point)).toLongLong(&ok);
    return ok ? value : 0;
}

// The content of the list field. The quoted string is decoded as JSON first, so that names
// written as \uXXXX escapes come out as names; text that is not one JSON string goes the
// plain way: line ends and backslashes removed, the outer quotes dropped.
Json::Value decodeList(const QString &json)
{
    Json::Value outer;
    if (parse(toStd(json), outer) && outer.isString()) {
        Json::Value list;
        if (parse(outer.asString(), list))
            return list;
        return Json::Value();
    }
    QString inner = json;
    inner.remove(QLatin1Char('\n'));
    inner.remove(QLatin1Char('\\'));
    inner = inner.mid(1);
    inner.chop(1);
    Json::Value wrapped;
    if (parse(toStd(QStringLiteral("{\"data\":") + inner + QStringLiteral("}")), wrapped))
        return wrapped["data"];
    return Json::Value();
}

} // namespace

Json::Value readData(const QString &printinfo)
{
    const QByteArray compact =
        QJsonDocument::fromJson(printinfo.toUtf8()).toJson(QJsonDocument::Compact);
    Json::Value root;
    if (!parse(compact.toStdString(), root) || !root.isObject())
        return Json::Value();
    return root["data"];
}

const Json::Value &member(const Json::Value &object, const char *key)
{
    static const Json::Value none;
    if (!object.isObject())
        return none;
    const Json::Value *found = object.find(key, key + std::strlen(key));
    return found ? *found : none;
}

bool isNull(const Json::Value &object, const char *key)
{
    return member(object, key).isNull();
}

QString text(const Json::Value &object, const char *key)
{
    const Json::Value &value = member(object, key);
    if (value.isString())
        return fromStd(value.asString());
    if (value.isBool())
        return value.asBool() ? QStringLiteral("true") : QStringLiteral("false");
    if (value.isInt64())
        return QString::number(value.asInt64());
    if (value.isUInt64())
        return QString::number(value.asUInt64());
    if (value.isDouble())
        return QString::number(value.asDouble());
    return QString();
}

qint64 integer(const Json::Value &object, const char *key)
{
    const Json::Value &value = member(object, key);
    if (value.isInt64())
        return value.asInt64();
    if (value.isUInt64())
        return std::numeric_limits<qint64>::max();
    if (value.isDouble()) {
        // Only a count or amount that the JSON writer put in exponent form lands here.
        const double d = value.asDouble();
        if (!std::isfinite(d) || std::fabs(d) >= 9.0e18)
            return 0;
        return qint64(d);
    }
    if (value.isBool())
        return value.asBool() ? 1 : 0;
    if (value.isString())
        return integerText(fromStd(value.asString()));
    return 0;
}

QString hundredths(qint64 value)
{
    const quint64 magnitude = value < 0 ? quint64(0) - quint64(value) : quint64(value);
    return QStringLiteral("%1%2.%3")
        .arg(value < 0 ? QStringLiteral("-") : QString())
        .arg(magnitude / 100)
        .arg(int(magnitude % 100), 2, 10, QLatin1Char('0'));
}

QString styledText(const Json::Value &value)
{
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "   ";
    builder["emitUTF8"] = true;
    return fromStd(Json::writeString(builder, value)) + QLatin1Char('\n');
}

QString jsonTra(const QString &json, const QString &key)
{
    if (json == QLatin1String("null\n"))
        return QString();
    const Json::Value list = decodeList(json);
    const bool withPrice = key == QLatin1String("addServiceDesc");
    QString joined;
    if (list.isArray()) {
        for (const Json::Value &element : list) {
            joined += text(element, "name");
            if (withPrice)
                joined += hundredths(integerText(text(element, "amt"))) + QStringLiteral("元");
            joined += QLatin1Char('/');
        }
    }
    joined.chop(1);
    if (key == QLatin1String("annexDesc"))
        joined.prepend(QString::number(list.isArray() ? list.size() : 0));
    return joined;
}

QString localTime(qint64 msecs, const QString &format)
{
    return QDateTime::fromMSecsSinceEpoch(msecs).toString(format);
}

} // namespace PrintData
