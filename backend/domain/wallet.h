#pragma once

#include <cstdint>
#include <functional>
#include <string>

// WeChat Pay and Alipay as the service simulates them, the way a merchant's test account
// behaves: no money leaves anyone's wallet, but every answer the terminal can meet can be
// brought about on purpose (backend/README.md, "The wallets").
//
// A payment code is 18 digits: WeChat codes start with 10 to 15, Alipay codes with 25 to 30.
// Its last two digits decide what the customer's wallet does:
//   "99"  refuses at once ("用户余额不足");
//   "88"  the customer confirms on the phone: the status query answers "0" three times,
//         then "1";
//   "77"  the same, but the customer gives up: "0" three times, then "-1";
//   other digits pay at once.
// A QR code the customer is to scan stays unpaid until the stand-in /wallet/scan scans it.
// Nothing else pays a trade: a status query only follows what the customer's wallet decided.
namespace wallet {

enum class Kind { None, WeChat, Alipay };
enum class Outcome { Paid, UserPaying, Refused };

struct Decision
{
    Outcome outcome = Outcome::Paid;
    int steps = 0;       // UserPaying: status answers "0" before the customer decides
    bool pays = true;    // UserPaying: what the customer decides then
    std::string refusal; // Refused: the wallet's reason
};

// Status answers "0" of a code that waits for the customer.
constexpr int userPayingSteps = 3;

Kind kindOf(const std::string &code);
// Refuses (400) a code that is no payment code ("付款码无效") or another wallet's
// ("请扫描微信付款码").
void checkCode(const std::string &code, Kind expected);
Decision decide(const std::string &code);
// The text of the QR code of a trade ("weixin://..." or "https://qr.alipay.com/..."), ending
// in the trade's sequence number.
std::string codeUrl(Kind kind, const std::string &seq);
const char *name(Kind kind); // "微信", "支付宝"

// A waiting wallet trade of an order or a recharge, as its status query finds it.
struct Trade
{
    std::string mode;     // "micro": the worker scans a code; "native": the customer scans ours
    std::string authCode; // the code scanned, "" while none was
    int steps = 0;        // status answers "0" left before the customer decides
    bool pays = true;     // what the customer decides then
    std::int64_t expiresAt = 0;
};

// A waiting trade's own book, an order's payment or a member's recharge: how it is paid, how it
// ends unpaid (tradeState::failed or closed), and one status answer less while its customer
// decides.
struct Book
{
    std::function<void()> pay;
    std::function<void(int state)> close;
    std::function<void()> countDown;
};
// Makes the move a status query at `now` calls for: a trade past its time is closed; a
// scanned code counts down, then is paid or fails as its customer decided. A QR code, and a
// trade no code was scanned into yet, do not move: only the customer's wallet pays them.
void follow(const Trade &t, std::int64_t now, const Book &book);

} // namespace wallet
