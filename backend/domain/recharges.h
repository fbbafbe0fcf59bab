#pragma once

#include <cstdint>
#include <string>

#include <json/value.h>

class Connection;
struct Call;

// Recharges of a member's prepaid balance, by one of the merchant's offers ("活动方案": pay a
// fixed amount, get a bonus) or by a free amount. A recharge is opened waiting and then paid
// once: the balance goes up by the amount (paid-in) and the bonus (gift balance), the offer's
// points, card level and coupons are given, and a trade records it. Cash and other means are
// paid in the call that opens them; a wallet recharge waits for the customer, who pays or
// not, and closes unpaid when its time is up. Nothing is taken from anyone before it is paid,
// so an abandoned recharge needs no release.
namespace recharges {

enum Status { waiting = 0, paid = 1, failed = 2, closed = 3 };

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
    int status = waiting;
    int means = 1;          // PAY_MEANS
    std::string walletMode; // "micro", "native" or "" (not yet paid by a wallet)
    int walletSteps = 0;
    bool walletPays = true;
    std::int64_t amount = 0;
    std::int64_t giftAmount = 0;
    std::int64_t expiresAt = 0;
};

// Opens a waiting recharge of the plan, to be paid by `means`, in the caller's store.
Recharge open(Call &call, const Plan &plan, int means, const std::string &paySign);
// Pays a waiting recharge: the member's balance, points, card and coupons, and its trade.
void complete(Connection &db, std::int64_t rechargeId, std::int64_t now);
// Ends a waiting recharge unpaid.
void close(Connection &db, std::int64_t rechargeId, Status status, std::int64_t now);

Recharge load(Connection &db, std::int64_t rechargeId);
bool findBySeq(Connection &db, const std::string &seq, Recharge &out);
// The sequence number of the newest waiting QR recharge; "" for none.
std::string latestQrSeq(Connection &db);

// The status query of tradePay/queryStatusBySeq for a recharge's sequence number, as it is
// for a payment: a scanned code that waits moves on, a recharge whose time is up closes.
Json::Value queryStatus(Call &call, const Recharge &r);

// What the terminal is told: seq (also as tradeSeq), status ("0", "1", "-1", "2" as numbers),
// amount, giftAmount.
Json::Value reply(const Recharge &r);

} // namespace recharges
