#include "net/replyreader.h"

#include "net/netlogging.h"
#include "net/replycache.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QStringList>
#include <QVariant>

#include <cmath>
#include <limits>

namespace {

QString indentedJson(const QJsonDocument &doc)
{
    return QString::fromUtf8(doc.toJson(QJsonDocument::Indented));
}

// Whole number without decimals; JSON cannot carry NaN or infinity, but a text can.
QString wholeNumberText(double value)
{
    if (!qIsFinite(value))
        return QStringLiteral("0");
    // Ids, fen and times are whole: integer formatting is several times cheaper.
    if (std::abs(value) < 9e15 && std::trunc(value) == value)
        return QString::number(static_cast<qint64>(value));
    QString text = QString::number(value, 'f', 0);
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}

// A member read under a numeric key. A text holding a number (a backend that quotes its
// numbers) is read as that number; anything else that is not a number counts as 0.
QString numberText(const QJsonValue &member)
{
    switch (member.type()) {
    case QJsonValue::Double:
        return wholeNumberText(member.toDouble());
    case QJsonValue::Bool:
        return member.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QJsonValue::String: {
        bool ok = false;
        const double value = member.toString().toDouble(&ok);
        return ok ? wholeNumberText(value) : QStringLiteral("0");
    }
    default:
        return QStringLiteral("0");
    }
}

// A member read under a text key. A number there gets its shortest text rather than
// nothing, containers give the empty text.
QString plainText(const QJsonValue &member)
{
    switch (member.type()) {
    case QJsonValue::String:
        return member.toString();
    case QJsonValue::Bool:
        return member.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Double:
        return ReplyReader::variantText(member);
    default:
        return QString();
    }
}

QJsonValue elementAt(const QJsonArray &array, int num)
{
    if (num < 0 || num >= array.size())
        return QJsonValue(QJsonValue::Null);
    return array.at(num);
}

QStringList elementNames(const QJsonArray &elements)
{
    QStringList names;
    names.reserve(elements.size());
    for (const QJsonValue &element : elements)
        names << element.toObject().value(QLatin1String("name")).toString();
    return names;
}

// Fen text of one add-on service; money stays integral, so only whole fen are read.
qint64 fenOf(const QString &amt)
{
    bool ok = false;
    const qint64 fen = amt.trimmed().toLongLong(&ok);
    return ok ? fen : 0;
}

QString yuanText(qint64 fen)
{
    const qint64 whole = fen / 100;
    const qint64 cents = fen % 100 < 0 ? -(fen % 100) : fen % 100;
    const QString sign = fen < 0 && whole == 0 ? QStringLiteral("-") : QString();
    return sign + QString::number(whole) + QLatin1Char('.') +
           QStringLiteral("%1").arg(cents, 2, 10, QLatin1Char('0'));
}

// trunc(total + fen / 100) in whole numbers, saturating instead of overflowing.
qint64 addYuanTruncated(qint64 total, qint64 fen)
{
    const qint64 whole = fen / 100;
    const qint64 rest = fen % 100;
    qint64 sum;
    if (whole > 0 && total > std::numeric_limits<qint64>::max() - whole)
        sum = std::numeric_limits<qint64>::max();
    else if (whole < 0 && total < std::numeric_limits<qint64>::min() - whole)
        sum = std::numeric_limits<qint64>::min();
    else
        sum = total + whole;
    if (sum > 0 && rest < 0)
        return sum - 1;
    if (sum < 0 && rest > 0)
        return sum + 1;
    return sum;
}

const QSet<QString> &descriptionKeys()
{
    static const QSet<QString> keys{QStringLiteral("annexDesc"), QStringLiteral("colorDesc"),
                                    QStringLiteral("effectDesc"), QStringLiteral("flawDesc"),
                                    QStringLiteral("addServiceDesc")};
    return keys;
}

} // namespace

QString ReplyReader::objectText(const QJsonValue &value)
{
    return value.toString();
}

QString ReplyReader::variantText(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::String:
        return value.toString();
    case QJsonValue::Double:
        // What the document's variant map holds for this number, written as text.
        return value.toVariant().toString();
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    default:
        return QString();
    }
}

QString ReplyReader::indentedObject(const QJsonValue &value)
{
    return indentedJson(QJsonDocument(value.toObject()));
}

const QSet<QString> &ReplyReader::numericKeys(KeySet set)
{
    static const QStringList orderCore{
        QStringLiteral("cityId"),       QStringLiteral("createCnt"),
        QStringLiteral("createTime"),   QStringLiteral("id"),
        QStringLiteral("mercId"),       QStringLiteral("mode"),
        QStringLiteral("orderPrice"),   QStringLiteral("payStatus"),
        QStringLiteral("payablePrice"), QStringLiteral("paymentPrice"),
        QStringLiteral("priority"),     QStringLiteral("statusVal"),
        QStringLiteral("storeId"),      QStringLiteral("userId"),
        QStringLiteral("subtotal"),     QStringLiteral("isFinish"),
        QStringLiteral("status"),       QStringLiteral("annexCnt"),
        QStringLiteral("productCnt"),   QStringLiteral("orderProType")};
    static const QStringList productExtra{QStringLiteral("tradeTime"), QStringLiteral("amount"),
                                          QStringLiteral("giftAmount"), QStringLiteral("orderId"),
                                          QStringLiteral("type")};
    static const QStringList orderExtra{
        QStringLiteral("creditStatus"), QStringLiteral("def"),      QStringLiteral("storeShelfNo"),
        QStringLiteral("discountType"), QStringLiteral("discount"), QStringLiteral("grade")};

    static const QSet<QString> productList =
        QSet<QString>(orderCore.begin(), orderCore.end()) +
        QSet<QString>(productExtra.begin(), productExtra.end());
    static const QSet<QString> orderList =
        productList + QSet<QString>(orderExtra.begin(), orderExtra.end());
    static const QSet<QString> plainList{
        QStringLiteral("def"),          QStringLiteral("id"),
        QStringLiteral("price"),        QStringLiteral("businessId"),
        QStringLiteral("isCustomNum"),  QStringLiteral("typeId"),
        QStringLiteral("orderProType"), QStringLiteral("cnt"),
        QStringLiteral("amount"),       QStringLiteral("fullAmount"),
        QStringLiteral("timeStart"),    QStringLiteral("timeEnd"),
        QStringLiteral("isValid"),      QStringLiteral("saleDiscount"),
        QStringLiteral("giftAmount"),   QStringLiteral("giftPoint"),
        QStringLiteral("couponCnt"),    QStringLiteral("enableUse"),
        QStringLiteral("orderId"),      QStringLiteral("useStatus"),
        QStringLiteral("useBalance"),   QStringLiteral("type"),
        QStringLiteral("payAmount")};
    static const QSet<QString> garment{
        QStringLiteral("createTime"),   QStringLiteral("id"),
        QStringLiteral("userId"),       QStringLiteral("no"),
        QStringLiteral("serviceAmt"),   QStringLiteral("addsrvAmt"),
        QStringLiteral("saleAmt"),      QStringLiteral("subtotal"),
        QStringLiteral("isCustomNum"),  QStringLiteral("count"),
        QStringLiteral("proTypeId"),    QStringLiteral("businessId"),
        QStringLiteral("productId"),    QStringLiteral("tradeTime"),
        QStringLiteral("total"),        QStringLiteral("statusVal"),
        QStringLiteral("type"),         QStringLiteral("picCnt"),
        QStringLiteral("amount"),       QStringLiteral("refundableAmount"),
        QStringLiteral("outBatch"),     QStringLiteral("hasRefund"),
        QStringLiteral("storeShelfNo"), QStringLiteral("orderId"),
        QStringLiteral("isPackaged"),   QStringLiteral("statusTime")};
    static const QSet<QString> nestedList =
        QSet<QString>(orderCore.begin(), orderCore.end()) +
        QSet<QString>{QStringLiteral("mercBusinessId"), QStringLiteral("businessId"),
                      QStringLiteral("proTypeId"),      QStringLiteral("productId"),
                      QStringLiteral("proServiceId"),   QStringLiteral("brandId"),
                      QStringLiteral("count"),          QStringLiteral("chgSubtotal"),
                      QStringLiteral("isCustomNum")};
    static const QSet<QString> none;

    switch (set) {
    case KeySet::OrderList:
        return orderList;
    case KeySet::ProductList:
        return productList;
    case KeySet::PlainList:
        return plainList;
    case KeySet::Garment:
        return garment;
    case KeySet::NestedList:
        return nestedList;
    case KeySet::None:
        break;
    }
    return none;
}

QString ReplyReader::treeText(const QJsonValue &element, const QString &key, KeySet numeric,
                              bool wholeOnEmptyKey)
{
    if (key.isEmpty() && wholeOnEmptyKey) {
        if (element.isObject())
            return indentedJson(QJsonDocument(element.toObject()));
        if (element.isArray())
            return indentedJson(QJsonDocument(element.toArray()));
        return QString();
    }
    const QJsonValue member = element.toObject().value(key);
    if (numericKeys(numeric).contains(key))
        return numberText(member);
    return plainText(member);
}

QJsonArray ReplyReader::arrayTextElements(const QString &text, ArrayText form)
{
    QString cleaned = text;
    cleaned.remove(QLatin1Char('\n'));
    cleaned.remove(QLatin1Char('\r'));
    cleaned.remove(QLatin1Char('\\'));
    // Drop the array's brackets, or the quotes around a quoted text.
    const QString inner = cleaned.size() >= 2 ? cleaned.mid(1, cleaned.size() - 2) : QString();
    const QString wrapped = form == ArrayText::Bare
                                ? QLatin1String("{\"data\":[") + inner + QLatin1String("]}")
                                : QLatin1String("{\"data\":") + inner + QLatin1String("}");
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(wrapped.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError) {
        qCWarning(lcNet).noquote() << QLatin1String("===> please check the string ") + text;
        return QJsonArray();
    }
    return doc.object().value(QLatin1String("data")).toArray();
}

QString ReplyReader::quotedText(const QJsonValue &value)
{
    const QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(wrapped.mid(1, wrapped.size() - 2));
}

std::shared_ptr<const ParsedReply> ReplyReader::parse(const QString &text)
{
    auto parsed = ReplyCache::parse(text);
    if (!parsed->isValid())
        qCWarning(lcNet).noquote() << QLatin1String("===> please check the string ") + text;
    return parsed;
}

QString ReplyReader::josnHttpCode(const QString &rel_str)
{
    const auto reply = parse(rel_str);
    if (!reply->isValid())
        return rel_str;
    return QString::number(reply->root().value(QLatin1String("httpCode")).toInt());
}

QString ReplyReader::josnMsg(const QString &rel_str)
{
    return objectText(parse(rel_str)->root().value(QLatin1String("msg")));
}

QString ReplyReader::josnData(const QString &rel_str)
{
    return indentedObject(parse(rel_str)->root().value(QLatin1String("data")));
}

QString ReplyReader::josnReturn(const QString &rel_str, const QString &key)
{
    return objectText(parse(rel_str)->root().value(key));
}

QString ReplyReader::getReturnMsg(const QString &rel_str, const QString &key)
{
    return variantText(parse(rel_str)->data().value(key));
}

QString ReplyReader::getOrderName(const QString &rel_str)
{
    return objectText(parse(rel_str)->root().value(QLatin1String("data")));
}

QString ReplyReader::getqueryOrder(const QString &jsonstr, const QString &key, const QString &key1)
{
    return variantText(parse(jsonstr)->data().value(key).toObject().value(key1));
}

QString ReplyReader::jsoninfo(const QString &jsonstr, const QString &key)
{
    return variantText(parse(jsonstr)->root().value(key));
}

QString ReplyReader::getUserInfo(const QString &jsonstr, const QString &key)
{
    static const QSet<QString> userKeys{QStringLiteral("name"),    QStringLiteral("cardName"),
                                        QStringLiteral("cardNo"),  QStringLiteral("phone"),
                                        QStringLiteral("balance"), QStringLiteral("rfidNo"),
                                        QStringLiteral("grade")};
    const QJsonObject order = parse(jsonstr)->data().value(QLatin1String("orderInfo")).toObject();
    if (userKeys.contains(key))
        return variantText(order.value(QLatin1String("userInfo")).toObject().value(key));
    return variantText(order.value(key));
}

QString ReplyReader::getMemberInfo(const QString &jsonstr, const QString &key, const QString &key1,
                                   const QString &key2, int flags)
{
    const auto reply = parse(jsonstr);
    const QJsonObject &root = reply->root();
    const QJsonObject base = flags != 0 ? root : root.value(QLatin1String("user")).toObject();

    if (key == QLatin1String("couponCnt") || key == QLatin1String("isRecommend"))
        return variantText(base.value(key));
    if (key == QLatin1String("card") || key == QLatin1String("data")) {
        const QJsonValue inner = base.value(key).toObject().value(key1);
        if (key1 == QLatin1String("info") || key1 == QLatin1String("uPayCard"))
            return variantText(inner.toObject().value(key2));
        return variantText(inner);
    }
    if (key == QLatin1String("tagList")) {
        // Always the top-level list, whatever flags says.
        QStringList names;
        for (const QJsonValue &tag : root.value(QLatin1String("tagList")).toArray())
            names << variantText(tag.toObject()
                                     .value(QLatin1String("userTag"))
                                     .toObject()
                                     .value(QLatin1String("name")));
        return names.join(QLatin1String(" | "));
    }
    return variantText(base.value(key).toObject().value(key1));
}

QString ReplyReader::getOrderInfo(const QString &rel_str, const QString &key, int num, int dataflag)
{
    static const KeySet sets[] = {KeySet::PlainList, KeySet::OrderList, KeySet::ProductList};
    const auto reply = parse(rel_str);
    if (dataflag < 0 || dataflag > 2)
        return QString();
    return treeText(elementAt(reply->list(dataflag), num), key, sets[dataflag], dataflag != 0);
}

int ReplyReader::getOrderNum(const QString &rel_str, int dataflag)
{
    const auto reply = parse(rel_str);
    if (dataflag < 0 || dataflag > 2)
        return 0;
    return reply->list(dataflag).size();
}

QString ReplyReader::getClothInfo(const QString &jsonstr, const QString &key, const QString &key1,
                                  int num, int dataflag)
{
    const auto reply = parse(jsonstr);
    if (dataflag != 1)
        return QString();
    const QJsonValue element = elementAt(reply->data().value(key).toArray(), num);
    if (descriptionKeys().contains(key1)) {
        const QJsonValue member = element.toObject().value(key1);
        if (member.isUndefined() || member.isNull())
            return QString();
        const QJsonArray elements = arrayTextElements(quotedText(member), ArrayText::Quoted);
        return elementNames(elements).join(QLatin1Char('\\'));
    }
    return treeText(element, key1, KeySet::Garment, true);
}

int ReplyReader::getClothNum(const QString &jsonstr, const QString &key, int dataflag)
{
    const auto reply = parse(jsonstr);
    if (dataflag == 1)
        return reply->data().value(key).toArray().size();
    if (dataflag == 0)
        return reply->list(0).size();
    return 0;
}

QString ReplyReader::getListInfo(const QString &jsonstr, const QString &key, const QString &key1,
                                 const QString &key2, int num)
{
    const auto reply = parse(jsonstr);
    const QJsonObject &root = reply->root();
    if (key == QLatin1String("districts") || key == QLatin1String("tips")) {
        // Map-service replies: every member is text, and an empty address comes as [].
        const QJsonValue element = elementAt(root.value(key).toArray(), num);
        if (key1 == QLatin1String("address")) {
            const QJsonValue address = element.toObject().value(key1);
            return address.isString() ? address.toString() : QString();
        }
        return treeText(element, key1, KeySet::None, false);
    }
    const QJsonValue element = elementAt(root.value(key).toObject().value(key1).toArray(), num);
    return treeText(element, key2, KeySet::NestedList, false);
}

int ReplyReader::getListNum(const QString &jsonstr, const QString &key, const QString &key1)
{
    const auto reply = parse(jsonstr);
    const QJsonObject &root = reply->root();
    if (key == QLatin1String("tips"))
        return root.value(key).toArray().size();
    return root.value(key).toObject().value(key1).toArray().size();
}

int ReplyReader::getListNums(const QString &jsonstr, const QString &key)
{
    const QJsonValue member = parse(jsonstr)->root().value(key);
    if (member.isUndefined() || member.isNull())
        return 0;
    return arrayTextElements(quotedText(member), ArrayText::Quoted).size();
}

QString ReplyReader::getJsonStr(const QString &jsonstr, const QString &key)
{
    return indentedObject(parse(jsonstr)->root().value(key));
}

QString ReplyReader::getJsonFormString(const QString &str, const QString &key)
{
    return objectText(parse(str)->data().value(key));
}

QJsonArray ReplyReader::getArrayFromString(const QString &str, const QString &key)
{
    const QString text = objectText(parse(str)->data().value(key));
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError)
        qCWarning(lcNet).noquote() << QLatin1String("===> please check the string ") + text;
    const QJsonArray array = doc.array();
    qCDebug(lcNet) << "key" << array;
    return array;
}

QJsonArray ReplyReader::getArrayFromString(const QString &str)
{
    const QJsonArray array = parse(str)->document().array();
    qCDebug(lcNet) << "key" << array;
    return array;
}

QString ReplyReader::jsonTra(const QString &str)
{
    return elementNames(arrayTextElements(str, ArrayText::Bare)).join(QLatin1Char('\\'));
}

QString ReplyReader::jsonTra1(const QString &str)
{
    qCDebug(lcNet).noquote() << str;
    return elementNames(arrayTextElements(str, ArrayText::Bare)).join(QLatin1Char('\n'));
}

QString ReplyReader::jsonaddService(const QString &str)
{
    qint64 total = 0;
    for (const QJsonValue &element : arrayTextElements(str, ArrayText::Bare)) {
        const QString amt = element.toObject().value(QLatin1String("amt")).toString();
        const qint64 fen = fenOf(amt);
        qCDebug(lcNet).noquote() << "service" << amt;
        qCDebug(lcNet).noquote() << "service1" << yuanText(fen);
        total = addYuanTruncated(total, fen);
    }
    return QString::number(total);
}

int ReplyReader::jsonaddServiceNum(const QString &str)
{
    return arrayTextElements(str, ArrayText::Bare).size();
}
