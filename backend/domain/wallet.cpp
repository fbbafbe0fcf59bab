#include "domain/wallet.h"

#include <algorithm>

#include "domain/states.h"
#include "server/registry.h"

namespace wallet {

Kind kindOf(const std::string &code)
{
    if (code.size() != 18 ||
        !std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return Kind::None;
    const int prefix = (code[0] - '0') * 10 + (code[1] - '0');
    if (prefix >= 10 && prefix <= 15)
        return Kind::WeChat;
    if (prefix >= 25 && prefix <= 30)
        return Kind::Alipay;
    return Kind::None;
}

void checkCode(const std::string &code, Kind expected)
{
    const Kind scanned = kindOf(code);
    if (scanned == Kind::None)
        throw ApiError(codes::badRequest, "付款码无效");
    if (scanned != expected)
        throw ApiError(codes::badRequest, std::string("请扫描") + name(expected) + "付款码");
}

Decision decide(const std::string &code)
{
    Decision d;
    const std::string tail = code.size() >= 2 ? code.substr(code.size() - 2) : std::string();
    if (tail == "99") {
        d.outcome = Outcome::Refused;
        d.refusal = "用户余额不足";
    } else if (tail == "88" || tail == "77") {
        d.outcome = Outcome::UserPaying;
        d.steps = userPayingSteps;
        d.pays = tail == "88";
    }
    return d;
}

std::string codeUrl(Kind kind, const std::string &seq)
{
    return (kind == Kind::Alipay ? "https://qr.alipay.com/bax" : "weixin://wxpay/bizpayurl?pr=") +
           seq;
}

const char *name(Kind kind)
{
    return kind == Kind::Alipay ? "支付宝" : "微信";
}

void follow(const Trade &t, std::int64_t now, const Book &book)
{
    if (t.expiresAt <= now)
        book.close(tradeState::closed);
    else if (t.mode != "micro" || t.authCode.empty())
        return;
    else if (t.steps > 0)
        book.countDown();
    else if (t.pays)
        book.pay();
    else
        book.close(tradeState::failed);
}

} // namespace wallet
