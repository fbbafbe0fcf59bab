#include "domain/reports.h"

#include <optional>
#include <string>

#include "domain/dates.h"
#include "domain/ownership.h"
#include "domain/paymeans.h"
#include "domain/refunds.h"
#include "domain/states.h"
#include "server/call.h"
#include "store/database.h"

namespace reports {

namespace {

// The day or month `offset` steps from the one asked.
Span spanAt(const Asked &a, int offset)
{
    if (a.monthly)
        return {dates::localMidnight(a.year, a.month + offset, 1),
                dates::localMidnight(a.year, a.month + offset + 1, 1)};
    return {dates::localMidnight(a.year, a.month, a.day + offset),
            dates::localMidnight(a.year, a.month, a.day + offset + 1)};
}

// The refund parts approved in the span that went back out by a means (bound as the first
// values: cash, then the store, the state and the span, then the two means that keep the
// money in the store's books). Back to the member balance nothing leaves the store.
const char *const refundsOut =
    "FROM refund_audits a JOIN refunds r ON r.audit_id = a.id JOIN trades t ON t.id = r.trade_id "
    "WHERE a.store_id = ? AND a.status = ? AND a.audited_at >= ? AND a.audited_at < ? "
    "AND r.refund_means <> ? AND t.pay_means <> ?";

// Adds each row's `amount` (times `sign`) to its means. Summed here rather than by GROUP BY,
// which would sort a month's trades to make a handful of groups.
void addUp(Query &rows, ByMeans &sums, int sign)
{
    Means last{-1, {}};
    std::int64_t *sum = nullptr;
    while (rows.next()) {
        const Means m{static_cast<int>(rows.integer("means")), rows.text("sign")};
        if (sum == nullptr || m.means != last.means || m.sign != last.sign) {
            last = m;
            sum = &sums[m];
        }
        *sum += sign * rows.integer("amount");
    }
}

} // namespace

Asked asked(Call &call)
{
    // A terminal signed in by card at start-up has no store id to send (it learns it only from a
    // password login): a report without one is of the caller's store.
    if (const std::optional<std::int64_t> store = call.optionalInteger("storeId"))
        ownership::check(call, ownership::records::store, *store);
    Asked a;
    a.monthly = call.oneOf("dateType", {1, 2}) == 2;
    const std::string date = a.monthly ? call.month("date") : call.date("date");
    a.year = std::stoi(date.substr(0, 4));
    a.month = std::stoi(date.substr(5, 2));
    a.day = a.monthly ? 1 : std::stoi(date.substr(8, 2));
    a.span = spanAt(a, 0);
    return a;
}

std::vector<Step> stepsUpTo(const Asked &asked, int count)
{
    std::vector<Step> steps;
    for (int offset = 1 - count; offset <= 0; ++offset) {
        const Span span = spanAt(asked, offset);
        const std::string day = dates::localDate(span.from);
        steps.push_back({asked.monthly ? day.substr(0, 7) : day, span});
    }
    return steps;
}

ByMeans paid(Connection &db, std::int64_t storeId, int kind, const Span &span)
{
    Query q = db.query("SELECT pay_means AS means, pay_sign AS sign, amount FROM trades "
                       "WHERE store_id = ? AND status = ? AND paid_at >= ? AND paid_at < ? "
                       "AND kind = ?",
                       storeId, tradeState::paid, span.from, span.to, kind);
    ByMeans sums;
    addUp(q, sums, 1);
    return sums;
}

ByMeans takings(Connection &db, std::int64_t storeId, const Span &span)
{
    ByMeans sums;
    {
        Query q = db.query("SELECT pay_means AS means, pay_sign AS sign, amount FROM trades "
                           "WHERE store_id = ? AND status = ? AND paid_at >= ? AND paid_at < ? "
                           "AND pay_means <> ?",
                           storeId, tradeState::paid, span.from, span.to, payMeans::balance);
        addUp(q, sums, 1);
    }
    Query q = db.query(std::string("SELECT CASE WHEN r.refund_means = ? THEN ? ELSE t.pay_means "
                                   "END AS means, CASE WHEN r.refund_means = ? THEN '' ELSE "
                                   "t.pay_sign END AS sign, r.amount AS amount ") +
                           refundsOut,
                       refunds::cash, payMeans::cash, refunds::cash, storeId, refundState::approved,
                       span.from, span.to, refunds::toBalance, payMeans::balance);
    addUp(q, sums, -1);
    return sums;
}

std::int64_t takingsTotal(Connection &db, std::int64_t storeId, const Span &span)
{
    const std::int64_t in =
        db.scalar(0,
                  "SELECT COALESCE(SUM(amount), 0) FROM trades WHERE store_id = ? AND status = ? "
                  "AND paid_at >= ? AND paid_at < ? AND pay_means <> ?",
                  storeId, tradeState::paid, span.from, span.to, payMeans::balance);
    const std::int64_t out =
        db.scalar(0, std::string("SELECT COALESCE(SUM(r.amount), 0) ") + refundsOut, storeId,
                  refundState::approved, span.from, span.to, refunds::toBalance, payMeans::balance);
    return in - out;
}

std::string meansText(Connection &db, std::int64_t storeId, const Means &m)
{
    Query q = db.query(std::string("SELECT ") + payMeans::textSql +
                           " AS text FROM (SELECT ? AS pay_means, ? AS pay_sign, ? AS store_id) t "
                           "LEFT JOIN dictionary dm ON dm.code = 'PAY_MEANS' "
                           "AND dm.val = t.pay_means",
                       payMeans::other, m.means, m.sign, storeId);
    return q.next() ? q.text("text") : std::string();
}

Json::Value byPosition(const ByMeans &sums, std::initializer_list<Position> positions)
{
    std::vector<std::int64_t> amounts(positions.size(), 0);
    for (const auto &[m, amount] : sums) {
        size_t at = positions.size() - 1;
        for (size_t i = 0; i + 1 < positions.size(); ++i)
            if (positions.begin()[i].means == m.means)
                at = i;
        amounts[at] += amount;
    }
    Json::Value list(Json::arrayValue);
    size_t i = 0;
    for (const Position &p : positions) {
        Json::Value entry(Json::objectValue);
        entry["payMethodText"] = p.text;
        entry["payAmount"] = Json::Int64(amounts[i++]);
        list.append(entry);
    }
    return list;
}

} // namespace reports
