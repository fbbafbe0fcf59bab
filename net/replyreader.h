#pragma once

#include <QJsonArray>
#include <QJsonValue>
#include <QSet>
#include <QString>

#include <memory>

class ParsedReply;

// Reads fields out of backend reply texts. Pure functions of their arguments: the
// request object's invokable methods hand their work to these, and the fuzz target
// drives them directly.
//
// Four ways of reading a value are used, each by a fixed set of extractors:
// object reading (QJsonValue::toString), variant reading (QVariant::toString), tree
// reading with a numeric key set, and array-text reading (a JSON array kept as text).
class ReplyReader
{
public:
    // Keys read as numbers by the tree reading; any other key is read as text.
    enum class KeySet { OrderList, ProductList, PlainList, Garment, NestedList, None };

    // Value conversions of the four readings.
    static QString objectText(const QJsonValue &value);
    static QString variantText(const QJsonValue &value);
    static QString indentedObject(const QJsonValue &value);
    static QString treeText(const QJsonValue &element, const QString &key, KeySet numeric,
                            bool wholeOnEmptyKey);
    static const QSet<QString> &numericKeys(KeySet set);

    enum class ArrayText { Bare, Quoted };
    static QJsonArray arrayTextElements(const QString &text, ArrayText form);
    static QString quotedText(const QJsonValue &value);

    // The parsed reply, logging a text that is not JSON.
    static std::shared_ptr<const ParsedReply> parse(const QString &text);

    static QString josnHttpCode(const QString &rel_str);
    static QString josnMsg(const QString &rel_str);
    static QString josnData(const QString &rel_str);
    static QString josnReturn(const QString &rel_str, const QString &key);
    static QString getReturnMsg(const QString &rel_str, const QString &key);

    static QString getOrderName(const QString &rel_str);
    static QString getqueryOrder(const QString &jsonstr, const QString &key, const QString &key1);
    static QString jsoninfo(const QString &jsonstr, const QString &key);
    static QString getUserInfo(const QString &jsonstr, const QString &key);
    static QString getMemberInfo(const QString &jsonstr, const QString &key, const QString &key1,
                                 const QString &key2, int flags);
    static QString getOrderInfo(const QString &rel_str, const QString &key, int num, int dataflag);
    static int getOrderNum(const QString &rel_str, int dataflag);
    static QString getClothInfo(const QString &jsonstr, const QString &key, const QString &key1,
                                int num, int dataflag);
    static int getClothNum(const QString &jsonstr, const QString &key, int dataflag);
    static QString getListInfo(const QString &jsonstr, const QString &key, const QString &key1,
                               const QString &key2, int num);
    static int getListNum(const QString &jsonstr, const QString &key, const QString &key1);
    static int getListNums(const QString &jsonstr, const QString &key);
    static QString getJsonStr(const QString &jsonstr, const QString &key);
    static QString getJsonFormString(const QString &str, const QString &key);
    static QJsonArray getArrayFromString(const QString &str, const QString &key);
    static QJsonArray getArrayFromString(const QString &str);

    static QString jsonTra(const QString &str);
    static QString jsonTra1(const QString &str);
    static QString jsonaddService(const QString &str);
    static int jsonaddServiceNum(const QString &str);
};
