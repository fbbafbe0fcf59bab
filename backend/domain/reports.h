#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include <json/value.h>

class Connection;
struct Call;

// The store's revenue reports (revenueSum/..., revenueCnt/..., revenueOrder/...,
// revenueRecharge/..., reportTradeOrder/..., reportTradeRecharge/...): the day or month a
// report covers, and the money that moved in it. Every figure is summed here from the store's
// own records for that span of local time; a span with nothing in it sums to zeros.
//
// What counts, and by which moment:
// - payments: the paid trades (kind 1 of an order, kind 2 of a recharge) by when they were
//   paid, each part by its means;
// - refunds: the parts of refund requests approved in the span (refund_audits.audited_at), by
//   the means they went back by: back to the member balance (REFUND_METHOD 3, and every part
//   of a balance payment), cash, or the trade's own means (原路退回);
// - orders by when they were taken (not voided), put on credit, and garments by when they were
//   taken in and handed out; members by when they joined this store.
namespace reports {

// The kinds of trade (trades.kind).
namespace tradeKind {
constexpr int order = 1;
constexpr int recharge = 2;
} // namespace tradeKind

// [from, to) in milliseconds since 1970.
struct Span
{
    std::int64_t from = 0;
    std::int64_t to = 0;
};

// What a report was asked for: a day (`dateType` 1, `date` "yyyy-MM-dd") or a month (2,
// "yyyy-MM") of the store `storeId`, which must be the caller's (none sent: the caller's).
struct Asked
{
    bool monthly = false;
    int year = 0;
    int month = 0;
    int day = 1; // 1 for a month
    Span span;
};
Asked asked(Call &call);

// The `count` days (or months, as asked) that end with the one asked, oldest first, each with
// its label "yyyy-MM-dd" (or "yyyy-MM").
struct Step
{
    std::string label;
    Span span;
};
std::vector<Step> stepsUpTo(const Asked &asked, int count);

// Money by means: PAY_MEANS, and for "其他" the merchant's other means (pay_signs.val).
struct Means
{
    int means = 0;
    std::string sign;
    bool operator<(const Means &o) const
    {
        return means != o.means ? means < o.means : sign < o.sign;
    }
};
using ByMeans = std::map<Means, std::int64_t>;

// The paid trades of `kind` (tradeKind::order or recharge) in the span, by means.
ByMeans paid(Connection &db, std::int64_t storeId, int kind, const Span &span);
// The store's takings in the span: what came in by every means but the member balance (stored
// value, taken in when it was recharged), orders and recharges alike, less what went back out
// by that means. Stored value given back to a member's balance stays taken.
ByMeans takings(Connection &db, std::int64_t storeId, const Span &span);
// The sum of takings(), without grouping.
std::int64_t takingsTotal(Connection &db, std::int64_t storeId, const Span &span);
// The means as the worker knows it ("现金", the merchant's "银行卡" for one of its own).
std::string meansText(Connection &db, std::int64_t storeId, const Means &m);

// A breakdown read by position: one entry per position, `payMethodText` and `payAmount`, the
// amount of its means; the last position takes every means not named before it.
struct Position
{
    int means;
    const char *text;
};
// The means of a position that no means of this system fills.
constexpr int noMeans = -1;
Json::Value byPosition(const ByMeans &sums, std::initializer_list<Position> positions);

} // namespace reports
