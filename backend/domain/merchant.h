#pragma once

#include <cstdint>
#include <string>

#include <json/value.h>

class Connection;

// The merchant's own settings (table merchant_params) and the shared dictionaries.
namespace merchant {

// A shop-wide setting and the value an absent row stands for.
struct Setting
{
    const char *name;
    const char *fallback;
};
namespace settings {
constexpr Setting showOrderQrCode{"isShowOrderQrCode", "1"}; // "0": order number as a barcode
constexpr Setting wxCode{"wxCode", ""};                      // the shop's WeChat account
constexpr Setting wxQrcode{"wxQrcode", ""};                  // content of the follow QR code
constexpr Setting billTip{"billTip", ""};                    // the ticket's notes; "" = none
constexpr Setting certStyle{"certStyle", "1"};               // certificate layout "1", "2", "3"
constexpr Setting showCode{"showCode", "1"};                 // certificate: "0" barcode, else QR
// The means of payment the merchant has opened ("1"), and whether recharges take "其他".
constexpr Setting payWechat{"payWechat", "1"};
constexpr Setting payAlipay{"payAlipay", "1"};
constexpr Setting payCash{"payCash", "1"};
constexpr Setting payOther{"payOther", "1"};
constexpr Setting otherRecharge{"otherRecharge", "1"};
// Whether a card level may be chosen when a member is created ("1").
constexpr Setting cardLevelSelectable{"cardLevelSelectable", "1"};
} // namespace settings

std::string setting(Connection &db, std::int64_t mercId, const Setting &s);

// The means of payment the merchant has opened, as the terminal reads them: isEnableWx,
// isEnableAli, isEnableCash and isEnableOther (true or false) added to `data`.
void addPayMeans(Connection &db, std::int64_t mercId, Json::Value &data);
// Refuses a `paySign` that names none of the merchant's other means (table pay_signs): 400
// "请选择支付方式" for none at all ("其他" with nothing chosen would record money taken by no
// means), 400 "未知的支付方式" for an unknown one.
void checkPaySign(Connection &db, std::int64_t mercId, const std::string &paySign);

// The text of a dictionary value (table dictionary: ORDER_STATUS, PAY_STATUS, TAKE_MODE, ...);
// "" for an unknown value.
std::string dictionaryText(Connection &db, const char *code, std::int64_t value);
// A dictionary's entries in their order, each `text` and `val`, as the terminal's choices list
// them; none for a code the dictionary does not have.
Json::Value dictionaryChoices(Connection &db, const std::string &code);

} // namespace merchant
