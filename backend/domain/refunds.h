#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <json/value.h>

class Connection;
struct Call;

// Refunds of orders. The counter only asks: a request (table refund_audits) waits for the
// head office's approval. A money request is split at once over what the order's trades may
// still give back: the member-balance part first, back to the balance, the rest by the means
// the worker chose; its parts (table refunds) hold that money until the request is decided.
// Approval gives it back by those means, refusal frees it. So whatever the terminal sends, no
// more than was paid is ever asked back. A refund-wash request names garments; for an unpaid
// order it carries the order's new total instead of money.
namespace refunds {

enum Kind { money = 1, wash = 2 };

// REFUND_METHOD: the original route, cash, the member balance.
constexpr int originalRoute = 1;
constexpr int cash = 2;
constexpr int toBalance = 3;

// A paid trade of an order and what it may still give back (fen).
struct PaidPart
{
    std::int64_t tradeId = 0;
    int means = 0; // PAY_MEANS
    std::int64_t amount = 0;
    std::int64_t refundable = 0;
};

// The order's paid trades with money in them, newest first.
std::vector<PaidPart> paidParts(Connection &db, std::int64_t orderId);
// What the order may still give back: paid, less what was refunded or is asked back.
std::int64_t refundable(Connection &db, std::int64_t orderId);

// How an amount is split: what goes back to the balance, what by the chosen means. Taken
// from the balance trades first, then from the others, newest first.
struct Split
{
    std::int64_t toBalance = 0;
    std::int64_t toMeans = 0;
};
Split split(const std::vector<PaidPart> &parts, std::int64_t amount);

struct Request
{
    Kind kind = money;
    std::int64_t orderId = 0;
    std::int64_t storeId = 0;
    std::int64_t workerId = 0;
    std::int64_t amount = 0; // fen to give back, or the new total of an unpaid order
    int payMethod = 0;       // REFUND_METHOD for the part beyond the balance; 0 none chosen
    std::string reason;
    std::vector<std::int64_t> garments; // refund-wash
};

// Records a waiting request; ApiError 409 "超出可退款金额" when it asks back more than the
// order may give, 400 when a means is needed and none was chosen. Its `seq` and `id`.
Json::Value request(Connection &db, const Request &r, std::int64_t now);

// A request as the counter sends it: `orderId`, `amount` (whole fen), `payMethod` (only when
// a means was chosen), `remark` (the reason), and for a refund-wash `orderProIds`. Checked
// against the order's state (paid, not completed, no payment under way; garments that may be
// refunded unwashed), then recorded by request().
Json::Value ask(Call &call, Kind kind);

// Decides a waiting request: approval gives the money back by its means (and refunds the
// garments of a refund-wash, or sets the unpaid order's new total); refusal frees it.
// ApiError 409 when it was decided already.
void decide(Connection &db, std::int64_t auditId, bool approve, std::int64_t now);

// The records the order view lists, `data.list` each: the money parts (seq,
// refundMethodText, createTime, amount, statusText) and the requests (seq, createTime,
// amount, auditStatusText), newest first.
Json::Value refundRecords(Connection &db, std::int64_t orderId);
Json::Value auditRecords(Connection &db, std::int64_t orderId);

} // namespace refunds
