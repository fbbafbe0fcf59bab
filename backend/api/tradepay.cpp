// tradePay/...: paying orders. Every amount is worked out here from the order, its coupon and
// the member's balance and group pay card; the terminal only says which order, which coupon,
// whether the balance or the card goes in, and which means takes the rest. An order is paid
// once: a paid order, or one a waiting wallet payment holds, refuses another payment (and a
// repeated request gets the answer kept for it, without running again).

#include <algorithm>
#include <limits>

#include "api/families.h"
#include "domain/coupons.h"
#include "domain/merchant.h"
#include "domain/ownership.h"
#include "domain/paymeans.h"
#include "domain/payments.h"
#include "domain/recharges.h"
#include "domain/wallet.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace {

// The group pay card's type as the terminal names it.
const char *const groupCardType = "41";

struct Order
{
    std::int64_t id = 0;
    std::int64_t userId = 0;
    std::int64_t payable = 0; // fen, before the coupon
};

// The caller's order, when it can still be paid: not voided, not paid, not held by a wallet
// payment that is still waiting, with garments.
Order payableOrder(Call &call)
{
    const std::int64_t orderId = ownership::owned(call, ownership::records::order, "orderId");
    payments::closeWaiting(call.db, orderId, call.now, false);
    Query q = call.db.query("SELECT user_id AS userId, payable_price AS payable, "
                            "pay_status AS payStatus, locked, "
                            "status = 50 OR destroyed_at IS NOT NULL AS voided "
                            "FROM orders WHERE id = ?",
                            orderId);
    q.next();
    if (q.integer("voided"))
        throw ApiError(codes::conflict, "订单已作废");
    if (q.integer("payStatus"))
        throw ApiError(codes::conflict, "订单已支付");
    if (q.integer("locked"))
        throw ApiError(codes::conflict, "订单正在支付中，请稍后再试");
    // An order without garments has nothing to pay for yet; paid, it could take none.
    if (call.db.scalar(0, "SELECT COUNT(*) FROM order_products WHERE order_id = ?", orderId) == 0)
        throw ApiError(codes::conflict, "订单还没有衣物");
    Order o;
    o.id = orderId;
    o.userId = q.integer("userId");
    o.payable = q.integer("payable");
    return o;
}

bool meansEnabled(Call &call, int m)
{
    const merchant::Setting &s = m == payMeans::cash     ? merchant::settings::payCash
                                 : m == payMeans::wechat ? merchant::settings::payWechat
                                 : m == payMeans::alipay ? merchant::settings::payAlipay
                                                         : merchant::settings::payOther;
    return merchant::setting(call.db, call.mercId, s) == "1";
}

// The parts of a payment by `m` of the caller's order, from what is stored and what the
// terminal chose (cpnRelId, balance, groupCardType). `wholeFromBalance`: tradePay/balancePay,
// which settles everything from the balance.
payments::Parts plan(Call &call, int m, bool wholeFromBalance)
{
    const Order order = payableOrder(call);
    payments::Parts p;
    p.orderId = order.id;
    p.userId = order.userId;
    p.storeId = call.storeId;
    p.workerId = call.workerId;
    p.means = m;
    p.remark = call.optionalText("remark", limits::longText);

    // The coupon the worker sees is the one the payment uses; without one, the order lets
    // go of any it held.
    bool couponWithBalance = true;
    const std::int64_t couponId = call.optionalInteger("cpnRelId", 0);
    if (couponId != 0) {
        ownership::check(call, ownership::records::userCoupon, couponId);
        const coupons::Coupon c = coupons::load(call.db, couponId);
        const std::string why =
            coupons::refusal(c, order.id, order.userId, order.payable, call.now);
        if (!why.empty())
            throw ApiError(codes::conflict, why);
        coupons::hold(call.db, order.id, c, order.payable);
        p.couponId = couponId;
        p.couponAmount = coupons::value(c, order.payable);
        couponWithBalance = c.useBalance;
    } else {
        coupons::release(call.db, order.id);
    }
    p.toPay = order.payable - p.couponAmount;

    const std::int64_t memberBalance =
        call.db.scalar(0, "SELECT balance + gift_balance FROM users WHERE id = ?", order.userId);
    if (wholeFromBalance) {
        if (!couponWithBalance && p.toPay > 0)
            throw ApiError(codes::conflict, "该优惠券不能与余额同时使用");
        if (memberBalance < p.toPay)
            throw ApiError(codes::conflict, "会员余额不足");
        p.balanceAmount = p.toPay;
        return p;
    }

    constexpr std::int64_t none = std::numeric_limits<std::int64_t>::min();
    const std::int64_t sentBalance = call.optionalInteger("balance", none);
    const std::string cardType = call.optionalText("groupCardType");
    if (sentBalance != none && sentBalance < 0)
        throw ApiError(codes::badRequest, "balance不能为负数");
    if (!cardType.empty() && cardType != groupCardType)
        throw ApiError(codes::badRequest, "groupCardType只能为空或41");
    if (sentBalance != none && !cardType.empty())
        throw ApiError(codes::badRequest, "余额与优付卡不能同时使用");
    if (sentBalance != none) {
        if (!couponWithBalance)
            throw ApiError(codes::conflict, "该优惠券不能与余额同时使用");
        // The worker collects what the screen showed: a balance that moved meanwhile would
        // make the rest differ from it.
        if (sentBalance != memberBalance)
            throw ApiError(codes::conflict, "会员余额已变动，请重新打开收款");
        p.balanceAmount =
            std::clamp<std::int64_t>(memberBalance, 0, std::max<std::int64_t>(p.toPay, 0));
    }
    if (!cardType.empty()) {
        Query card = call.db.query("SELECT balance, pay_ratio AS payRatio FROM group_pay_cards "
                                   "WHERE user_id = ? AND enabled = 1 AND balance > 0",
                                   order.userId);
        if (!card.next())
            throw ApiError(codes::conflict, "该会员没有可用的优付卡");
        p.cardAmount =
            payments::cardShare(p.toPay, card.integer("payRatio"), card.integer("balance"));
    }
    p.meansAmount = std::max<std::int64_t>(0, p.toPay - p.balanceAmount - p.cardAmount);
    if (p.meansAmount > 0 && !meansEnabled(call, m))
        throw ApiError(codes::conflict, "商户未开通该支付方式");
    return p;
}

Json::Value paidAtOnce(Call &call, const payments::Parts &parts)
{
    const payments::Payment opened = payments::open(call.db, parts, call.now);
    payments::complete(call.db, opened.id, call.now);
    return payments::reply(payments::load(call.db, opened.id));
}

// Balance ("余额"), cash ("余额+现金") and other means ("余额+银联"): settled in the call.
Json::Value balancePay(Call &call)
{
    return paidAtOnce(call, plan(call, payMeans::balance, true));
}

Json::Value cashPay(Call &call)
{
    return paidAtOnce(call, plan(call, payMeans::cash, false));
}

Json::Value otherPay(Call &call)
{
    payments::Parts parts = plan(call, payMeans::other, false);
    parts.paySign = call.optionalText("paySign");
    merchant::checkPaySign(call.db, call.mercId, parts.paySign);
    return paidAtOnce(call, parts);
}

int walletMeans(wallet::Kind kind)
{
    return kind == wallet::Kind::Alipay ? payMeans::alipay : payMeans::wechat;
}

// The worker scanned the customer's payment code: the wallet pays at once, refuses (nothing
// is kept), or waits for the customer to confirm on the phone (the payment waits, holding
// the order, and the status query follows it).
Json::Value microPay(Call &call, wallet::Kind kind)
{
    const std::string code = call.requiredText("authCode");
    wallet::checkCode(code, kind);
    payments::Parts parts = plan(call, walletMeans(kind), false);
    if (parts.meansAmount <= 0)
        throw ApiError(codes::conflict, "无需扫码收款");
    const wallet::Decision decision = wallet::decide(code);
    if (decision.outcome == wallet::Outcome::Refused)
        throw ApiError(codes::conflict, decision.refusal);
    parts.walletMode = "micro";
    parts.authCode = code;
    parts.walletSteps = decision.steps;
    parts.walletPays = decision.pays;
    const payments::Payment opened = payments::open(call.db, parts, call.now);
    if (decision.outcome == wallet::Outcome::Paid)
        payments::complete(call.db, opened.id, call.now);
    return payments::reply(payments::load(call.db, opened.id));
}

// A QR code for the customer to scan: the payment waits until the wallet reports it paid
// (the stand-in /wallet/scan), the worker gives it up (unlockOrder), or its time runs out.
Json::Value unifiedOrder(Call &call, wallet::Kind kind)
{
    payments::Parts parts = plan(call, walletMeans(kind), false);
    if (parts.meansAmount <= 0)
        throw ApiError(codes::conflict, "无需扫码收款");
    parts.walletMode = "native";
    const payments::Payment opened = payments::open(call.db, parts, call.now);
    Json::Value data = payments::reply(opened);
    data["codeUrl"] = wallet::codeUrl(kind, opened.seq);
    return data;
}

// The state of a payment. A waiting scanned code moves on here, as the customer confirms
// on the phone; a payment whose time ran out is closed.
Json::Value queryStatus(Call &call)
{
    const std::string seq = call.requiredText("seq");
    payments::Payment p;
    if (!payments::findBySeq(call.db, seq, p)) {
        // A member recharge's wallet trade is followed the same way.
        recharges::Recharge r;
        if (!recharges::findBySeq(call.db, seq, r))
            throw ApiError(codes::notFound, "交易不存在");
        return recharges::queryStatus(call, r);
    }
    ownership::check(call, ownership::records::payment, p.id);
    if (p.status == payments::waiting) {
        if (p.expiresAt <= call.now)
            payments::close(call.db, p.id, payments::closed, call.now);
        else if (p.walletMode == "micro" && p.walletSteps > 0)
            call.db.exec("UPDATE payments SET wallet_steps = wallet_steps - 1 WHERE id = ?", p.id);
        else if (p.walletMode == "micro" && p.walletPays)
            payments::complete(call.db, p.id, call.now);
        else if (p.walletMode == "micro")
            payments::close(call.db, p.id, payments::failed, call.now);
        p = payments::load(call.db, p.id);
    }
    return payments::reply(p);
}

// The worker gave the wallet payment up: it is closed and the order is free again. The
// answer says whether the order is paid (the customer may have paid just before).
Json::Value unlockOrder(Call &call)
{
    const std::int64_t orderId = ownership::owned(call, ownership::records::order, "orderId");
    payments::closeWaiting(call.db, orderId, call.now, true);
    Json::Value data(Json::objectValue);
    data["orderId"] = Json::Int64(orderId);
    data["payStatus"] =
        Json::Int64(call.db.scalar(0, "SELECT pay_status FROM orders WHERE id = ?", orderId));
    return data;
}

} // namespace

void api::tradePay::registerEndpoints(ApiRegistry &api)
{
    api.write("tradePay/balancePay", Access::Worker, balancePay);
    api.write("tradePay/confirmPay", Access::Worker, cashPay);
    api.write("tradePay/otherPay", Access::Worker, otherPay);
    api.write("tradePay/wxMicroPay", Access::Worker,
              [](Call &call) { return microPay(call, wallet::Kind::WeChat); });
    api.write("tradePay/aliMicroPay", Access::Worker,
              [](Call &call) { return microPay(call, wallet::Kind::Alipay); });
    api.write("tradePay/wxUnifiedOrder", Access::Worker,
              [](Call &call) { return unifiedOrder(call, wallet::Kind::WeChat); });
    api.write("tradePay/aliUnifiedOrder", Access::Worker,
              [](Call &call) { return unifiedOrder(call, wallet::Kind::Alipay); });
    api.write("tradePay/queryStatusBySeq", Access::Worker, queryStatus);
    api.write("tradePay/unlockOrder", Access::Worker, unlockOrder);
}
