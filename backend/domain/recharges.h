#pragma once

#include <cstdint>
#include <string>

#include <json/value.h>

#include "domain/states.h"
#include "domain/wallet.h"

class Connection;
struct Call;

// Recharges of a member's prepaid balance, by one of the merchant's offers ("活动方案": pay a
// fixed amount, get a bonus) or by a free amount. A recharge is opened waiting and then paid
// once: the balance goes up by the amount (paid-in) and the bonus (gift balance), the offer's
// points, card level and coupons are given, and a trade records it. Cash and other means are
// paid in the call that opens them; a wallet recharge waits for the customer, who pays or
// not (a scanned code's rule, or the phone scanning the QR code), and closes unpaid when its
// time is up. Nothing is taken from anyone before it is paid, so an abandoned recharge needs
// no release. Its states are the trade states (tradeState).
namespace recharges {

// How long a wallet recharge waits for the customer.
constexpr std::int64_t waitMs = 5 * 60 * 1000;
// The largest recharge taken at the counter, in fen.
constexpr std::int64_t maxAmount = 10000000;

// What a recharge request asks for, checked against the merchant's offers: `userId`,
// `amount` (fen), `withActive` ("1": the offer of that amount, "0": a free amount), `remark`.
struct Plan
{
    std::int64_t userId = 0;
    std::int64_t amount = 0;
    std::int64_t ruleId = 0; // 0: a free amount
    std::int64_t giftAmount = 0;
    std::int64_t giftPoint = 0;
    std::string remark;
};
Plan plan(Call &call);

struct Recharge
{
    std::int64_t id = 0;
    std::string seq;
    std::int64_t userId = 0;
    int status = tradeState::waiting;
    int means = 1;        // PAY_MEANS
    wallet::Trade wallet; // mode "" for one paid in cash or by other means
    std::int64_t amount = 0;
    std::int64_t giftAmount = 0;
};

// Opens a waiting recharge of the plan, to be paid by `means` (a wallet's in `walletMode`
// "micro" or "native"), in the caller's store.
Recharge open(Call &call, const Plan &plan, int means, const std::string &paySign,
              const std::string &walletMode = {});
// A wallet recharge paid: with the customer's code (`authCode`, a "micro" recharge) it is paid
// at once, refused (409, it stays waiting for another code) or waits for the customer's
// confirmation; a "native" one answers the QR code the customer scans (`codeUrl`). 409 for a
// recharge paid, closed or past its time.
Json::Value pay(Call &call, const Recharge &r);
// Pays a waiting recharge: the member's balance, points, card and coupons, and its trade.
void complete(Connection &db, std::int64_t rechargeId, std::int64_t now);
// Ends a waiting recharge unpaid (tradeState::failed or closed).
void close(Connection &db, std::int64_t rechargeId, int state, std::int64_t now);

Recharge load(Connection &db, std::int64_t rechargeId);
bool findBySeq(Connection &db, const std::string &seq, Recharge &out);
// The sequence number of the newest waiting QR recharge; "" for none.
std::string latestQrSeq(Connection &db);

// The trade's book (domain/wallet) for what the customer's wallet decides: its status query
// and the wallet stand-in move it through this.
wallet::Book book(Connection &db, std::int64_t id, std::int64_t now);
// The status query of tradePay/queryStatusBySeq for a recharge's sequence number, as it is
// for a payment: a scanned code that waits moves on, a recharge whose time is up closes,
// nothing else moves it.
Json::Value followRecharge(Call &call, const Recharge &r);

// What the terminal is told: seq (also as tradeSeq), status ("0", "1", "-1", "2" as numbers),
// amount, giftAmount.
Json::Value reply(const Recharge &r);

} // namespace recharges
