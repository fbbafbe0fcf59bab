#include "domain/recharges.h"

#include "domain/numbers.h"
#include "domain/ownership.h"
#include "domain/payments.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace recharges {

namespace {

const char *const columns =
    "SELECT id, recharge_no AS seq, user_id AS userId, status, pay_means AS means, "
    "wallet_mode AS walletMode, wallet_steps AS walletSteps, wallet_result AS walletResult, "
    "amount, gift_amount AS giftAmount, expires_at AS expiresAt FROM recharges ";

Recharge read(const Query &q)
{
    Recharge r;
    r.id = q.integer("id");
    r.seq = q.text("seq");
    r.userId = q.integer("userId");
    r.status = static_cast<int>(q.integer("status"));
    r.means = static_cast<int>(q.integer("means"));
    r.walletMode = q.text("walletMode");
    r.walletSteps = static_cast<int>(q.integer("walletSteps"));
    r.walletPays = q.integer("walletResult") == paid;
    r.amount = q.integer("amount");
    r.giftAmount = q.integer("giftAmount");
    r.expiresAt = q.integer("expiresAt");
    return r;
}

constexpr std::int64_t dayMs = 24 * 60 * 60 * 1000;

} // namespace

Plan plan(Call &call)
{
    Plan p;
    p.userId = ownership::owned(call, ownership::records::member, "userId");
    p.amount = call.integer("amount");
    if (p.amount <= 0 || p.amount > maxAmount)
        throw ApiError(codes::badRequest, "充值金额须在0.01元到100000元之间");
    p.remark = call.optionalText("remark", limits::longText);
    if (call.oneOf("withActive", {0, 1}) == 0)
        return p;
    // The offer is the merchant's: the terminal names it by its amount, the bonus is ours.
    Query q = call.db.query("SELECT id, gift_amount AS giftAmount, gift_point AS giftPoint "
                            "FROM recharge_rules WHERE merc_id = ? AND amount = ? "
                            "ORDER BY sort, id LIMIT 1",
                            call.mercId, p.amount);
    if (!q.next())
        throw ApiError(codes::conflict, "充值方案不存在");
    p.ruleId = q.integer("id");
    p.giftAmount = q.integer("giftAmount");
    p.giftPoint = q.integer("giftPoint");
    return p;
}

Recharge open(Call &call, const Plan &plan, int means, const std::string &paySign)
{
    call.db
        .query("INSERT INTO recharges (recharge_no, user_id, store_id, worker_id, rule_id, amount, "
               "gift_amount, gift_point, pay_means, status, created_at, with_active, remark, "
               "pay_sign, expires_at) "
               "VALUES (?, ?, ?, NULLIF(?, 0), NULLIF(?, 0), ?, ?, ?, ?, 0, ?, ?, ?, ?, ?)")
        .bindAll(numbers::tradeNo(call.db, call.now), plan.userId, call.storeId, call.workerId,
                 plan.ruleId, plan.amount, plan.giftAmount, plan.giftPoint, means, call.now,
                 plan.ruleId != 0 ? 1 : 0, plan.remark, paySign, call.now + waitMs)
        .exec();
    return load(call.db, call.db.lastInsertId());
}

void complete(Connection &db, std::int64_t rechargeId, std::int64_t now)
{
    const Recharge r = load(db, rechargeId);
    if (r.status != waiting)
        throw ApiError(codes::conflict, "交易已结束");
    db.exec("UPDATE users SET balance = balance + ?, gift_balance = gift_balance + ?, "
            "points = points + (SELECT gift_point FROM recharges WHERE id = ?) WHERE id = ?",
            r.amount, r.giftAmount, r.id, r.userId);
    // An offer's card level lifts the member to it, never down.
    db.exec("UPDATE users SET card_level_id = (SELECT ru.card_level_id FROM recharges re "
            "JOIN recharge_rules ru ON ru.id = re.rule_id WHERE re.id = ?) "
            "WHERE id = ? AND (SELECT c.sort FROM recharges re JOIN recharge_rules ru "
            "ON ru.id = re.rule_id JOIN card_levels c ON c.id = ru.card_level_id WHERE re.id = ?) "
            "> IFNULL((SELECT c.sort FROM card_levels c JOIN users u ON u.card_level_id = c.id "
            "WHERE u.id = ?), -1)",
            r.id, r.userId, r.id, r.userId);
    Query gift = db.query("SELECT ru.gift_coupon_id AS couponId, ru.gift_coupon_cnt AS cnt, "
                          "IFNULL(c.valid_days, 0) AS days FROM recharges re "
                          "JOIN recharge_rules ru ON ru.id = re.rule_id "
                          "LEFT JOIN coupons c ON c.id = ru.gift_coupon_id WHERE re.id = ?",
                          r.id);
    if (gift.next() && !gift.isNull("couponId")) {
        const std::int64_t couponId = gift.integer("couponId");
        const std::int64_t cnt = gift.integer("cnt");
        const std::int64_t end = now + gift.integer("days") * dayMs;
        for (std::int64_t i = 0; i < cnt; ++i)
            db.exec("INSERT INTO user_coupons (user_id, coupon_id, use_status, time_start, "
                    "time_end, created_at) VALUES (?, ?, 0, ?, ?, ?)",
                    r.userId, couponId, now, end, now);
    }
    db.exec("INSERT INTO trades (trade_no, kind, recharge_id, user_id, store_id, worker_id, "
            "pay_means, amount, status, auth_code, created_at, paid_at, pay_sign, remark) "
            "SELECT ?, 2, id, user_id, store_id, worker_id, pay_means, amount, 1, auth_code, "
            "created_at, ?, pay_sign, remark FROM recharges WHERE id = ?",
            numbers::tradeNo(db, now), now, r.id);
    db.exec("UPDATE recharges SET status = 1, paid_at = ?, finished_at = ? WHERE id = ?", now, now,
            r.id);
}

void close(Connection &db, std::int64_t rechargeId, Status status, std::int64_t now)
{
    db.exec("UPDATE recharges SET status = ?, finished_at = ? WHERE id = ? AND status = 0",
            static_cast<int>(status), now, rechargeId);
}

Recharge load(Connection &db, std::int64_t rechargeId)
{
    Query q = db.query(std::string(columns) + "WHERE id = ?", rechargeId);
    if (!q.next())
        throw ApiError(codes::notFound, "交易不存在");
    return read(q);
}

bool findBySeq(Connection &db, const std::string &seq, Recharge &out)
{
    Query q = db.query(std::string(columns) + "WHERE recharge_no = ?", seq);
    if (!q.next())
        return false;
    out = read(q);
    return true;
}

std::string latestQrSeq(Connection &db)
{
    Query q = db.query("SELECT recharge_no AS seq FROM recharges WHERE wallet_mode = 'native' "
                       "AND status = 0 ORDER BY id DESC LIMIT 1");
    return q.next() ? q.text("seq") : std::string();
}

Json::Value queryStatus(Call &call, const Recharge &found)
{
    ownership::check(call, ownership::records::recharge, found.id);
    Recharge r = found;
    if (r.status == waiting) {
        if (r.expiresAt <= call.now)
            close(call.db, r.id, closed, call.now);
        else if (r.walletMode == "micro" && r.walletSteps > 0)
            call.db.exec("UPDATE recharges SET wallet_steps = wallet_steps - 1 WHERE id = ?", r.id);
        else if (r.walletMode == "micro" && r.walletPays)
            complete(call.db, r.id, call.now);
        else if (r.walletMode == "micro")
            close(call.db, r.id, failed, call.now);
        r = load(call.db, r.id);
    }
    return reply(r);
}

Json::Value reply(const Recharge &r)
{
    Json::Value data(Json::objectValue);
    data["seq"] = r.seq;
    data["tradeSeq"] = r.seq;
    data["status"] = payments::answer(r.status);
    data["amount"] = Json::Int64(r.amount);
    data["giftAmount"] = Json::Int64(r.giftAmount);
    return data;
}

} // namespace recharges
