#include "domain/recharges.h"

#include "domain/numbers.h"
#include "domain/ownership.h"
#include "domain/paymeans.h"
#include "domain/payments.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace recharges {

namespace {

const char *const columns =
    "SELECT id, recharge_no AS seq, user_id AS userId, status, pay_means AS means, "
    "wallet_mode AS walletMode, auth_code AS authCode, wallet_steps AS walletSteps, "
    "wallet_result AS walletResult, amount, gift_amount AS giftAmount, expires_at AS expiresAt "
    "FROM recharges ";

Recharge read(const Query &q)
{
    Recharge r;
    r.id = q.integer("id");
    r.seq = q.text("seq");
    r.userId = q.integer("userId");
    r.status = static_cast<int>(q.integer("status"));
    r.means = static_cast<int>(q.integer("means"));
    r.wallet.mode = q.text("walletMode");
    r.wallet.authCode = q.text("authCode");
    r.wallet.steps = static_cast<int>(q.integer("walletSteps"));
    r.wallet.pays = q.integer("walletResult") == tradeState::paid;
    r.wallet.expiresAt = q.integer("expiresAt");
    r.amount = q.integer("amount");
    r.giftAmount = q.integer("giftAmount");
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

Recharge open(Call &call, const Plan &plan, int means, const std::string &paySign,
              const std::string &walletMode)
{
    call.db
        .query("INSERT INTO recharges (recharge_no, user_id, store_id, worker_id, rule_id, amount, "
               "gift_amount, gift_point, pay_means, status, created_at, with_active, remark, "
               "pay_sign, wallet_mode, expires_at) "
               "VALUES (?, ?, ?, NULLIF(?, 0), NULLIF(?, 0), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
        .bindAll(numbers::tradeNo(call.db, call.now), plan.userId, call.storeId, call.workerId,
                 plan.ruleId, plan.amount, plan.giftAmount, plan.giftPoint, means,
                 tradeState::waiting, call.now, plan.ruleId != 0 ? 1 : 0, plan.remark, paySign,
                 walletMode, call.now + waitMs)
        .exec();
    return load(call.db, call.db.lastInsertId());
}

Json::Value pay(Call &call, const Recharge &r)
{
    // A refusal rolls back, so an expired recharge is closed by the next status query.
    if (r.status == tradeState::waiting && r.wallet.expiresAt <= call.now)
        throw ApiError(codes::conflict, "交易已超时，请重新发起");
    if (r.status == tradeState::paid)
        throw ApiError(codes::conflict, "该充值已完成");
    if (r.status != tradeState::waiting || r.wallet.mode.empty())
        throw ApiError(codes::conflict, "交易已结束");
    const wallet::Kind kind =
        r.means == payMeans::alipay ? wallet::Kind::Alipay : wallet::Kind::WeChat;
    if (r.wallet.mode == "native") {
        Json::Value data = reply(r);
        data["codeUrl"] = wallet::codeUrl(kind, r.seq);
        return data;
    }
    if (!r.wallet.authCode.empty())
        throw ApiError(codes::conflict, "交易正在等待顾客确认");
    const std::string code = call.requiredText("authCode");
    wallet::checkCode(code, kind);
    const wallet::Decision decision = wallet::decide(code);
    if (decision.outcome == wallet::Outcome::Refused)
        throw ApiError(codes::conflict, decision.refusal);
    call.db.exec("UPDATE recharges SET auth_code = ?, wallet_steps = ?, wallet_result = ? "
                 "WHERE id = ?",
                 code, decision.steps, decision.pays ? tradeState::paid : tradeState::failed, r.id);
    if (decision.outcome == wallet::Outcome::Paid)
        complete(call.db, r.id, call.now);
    return reply(load(call.db, r.id));
}

void complete(Connection &db, std::int64_t rechargeId, std::int64_t now)
{
    const Recharge r = load(db, rechargeId);
    if (r.status != tradeState::waiting)
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
                    "time_end, created_at) VALUES (?, ?, ?, ?, ?, ?)",
                    r.userId, couponId, couponState::unused, now, end, now);
    }
    db.exec("INSERT INTO trades (trade_no, kind, recharge_id, user_id, store_id, worker_id, "
            "pay_means, amount, status, auth_code, created_at, paid_at, pay_sign, remark) "
            "SELECT ?, 2, id, user_id, store_id, worker_id, pay_means, amount, ?, auth_code, "
            "created_at, ?, pay_sign, remark FROM recharges WHERE id = ?",
            numbers::tradeNo(db, now), tradeState::paid, now, r.id);
    db.exec("UPDATE recharges SET status = ?, paid_at = ?, finished_at = ? WHERE id = ?",
            tradeState::paid, now, now, r.id);
}

void close(Connection &db, std::int64_t rechargeId, int state, std::int64_t now)
{
    db.exec("UPDATE recharges SET status = ?, finished_at = ? WHERE id = ? AND status = ?", state,
            now, rechargeId, tradeState::waiting);
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
                       "AND status = ? ORDER BY id DESC LIMIT 1",
                       tradeState::waiting);
    return q.next() ? q.text("seq") : std::string();
}

wallet::Book book(Connection &db, std::int64_t id, std::int64_t now)
{
    return {[&db, id, now] { complete(db, id, now); },
            [&db, id, now](int state) { close(db, id, state, now); },
            [&db, id] {
                db.exec("UPDATE recharges SET wallet_steps = wallet_steps - 1 WHERE id = ?", id);
            }};
}

Json::Value followRecharge(Call &call, const Recharge &found)
{
    ownership::check(call, ownership::records::recharge, found.id);
    if (found.status != tradeState::waiting)
        return reply(found);
    wallet::follow(found.wallet, call.now, book(call.db, found.id, call.now));
    return reply(load(call.db, found.id));
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
