#pragma once

#include <QString>
#include <json/json.h>

// Reading the print endpoints' replies: the layouts share these so that a missing, null or
// oddly typed field reads the same way everywhere.
namespace PrintData {

// Normalises `printinfo` through Qt's JSON writer, parses it with JsonCpp and returns the
// root's `data` member (null when the text is not JSON).
Json::Value readData(const QString &printinfo);

// Field lookups on an object; anything that is not an object reads as empty.
bool isNull(const Json::Value &object, const char *key);
QString text(const Json::Value &object, const char *key);
qint64 integer(const Json::Value &object, const char *key);
const Json::Value &member(const Json::Value &object, const char *key);

// An amount in fen (or a quantity in hundredths) as yuan text with two decimals, "-1.50".
QString hundredths(qint64 value);

// The list field written the way the screens hand it to `jsonTra`: the string value as
// styled JSON text, quoted, followed by a line end.
QString styledText(const Json::Value &value);

// Joins the names of a JSON list held in a string field into one line (`jsonTra`).
QString jsonTra(const QString &json, const QString &key);

// Milliseconds since 1970 as local time in `format`.
QString localTime(qint64 msecs, const QString &format);

} // namespace PrintData
