#include "domain/merchant.h"

#include "server/registry.h"
#include "store/database.h"

namespace merchant {

std::string setting(Connection &db, std::int64_t mercId, const Setting &s)
{
    Query q = db.query("SELECT value FROM merchant_params WHERE merc_id = ? AND name = ?", mercId,
                       s.name);
    return q.next() ? q.text("value") : std::string(s.fallback);
}

void addPayMeans(Connection &db, std::int64_t mercId, Json::Value &data)
{
    data["isEnableWx"] = setting(db, mercId, settings::payWechat) == "1";
    data["isEnableAli"] = setting(db, mercId, settings::payAlipay) == "1";
    data["isEnableCash"] = setting(db, mercId, settings::payCash) == "1";
    data["isEnableOther"] = setting(db, mercId, settings::payOther) == "1";
}

void checkPaySign(Connection &db, std::int64_t mercId, const std::string &paySign)
{
    if (paySign.empty())
        throw ApiError(codes::badRequest, "请选择支付方式");
    if (db.scalar(0, "SELECT COUNT(*) FROM pay_signs WHERE merc_id = ? AND val = ?", mercId,
                  paySign) == 0)
        throw ApiError(codes::badRequest, "未知的支付方式");
}

std::string dictionaryText(Connection &db, const char *code, std::int64_t value)
{
    Query q = db.query("SELECT text FROM dictionary WHERE code = ? AND val = ?", code, value);
    return q.next() ? q.text("text") : std::string();
}

Json::Value dictionaryChoices(Connection &db, const std::string &code)
{
    Json::Value list(Json::arrayValue);
    Query q = db.query("SELECT text, val FROM dictionary WHERE code = ? ORDER BY sort, val", code);
    while (q.next())
        list.append(q.object());
    return list;
}

} // namespace merchant
