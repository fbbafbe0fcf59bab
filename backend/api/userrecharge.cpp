// userRecharge/...: topping up a member's balance at the counter, and the member's recharge
// records. The amount and the offer are checked here (domain/recharges), the bonus is the
// offer's; a recharge is paid once: a repeated request gets its kept answer, a paid or closed
// wallet recharge refuses another payment.

#include "api/families.h"
#include "domain/merchant.h"
#include "domain/ownership.h"
#include "domain/paymeans.h"
#include "domain/recharges.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace {

void requireOpened(Call &call, const merchant::Setting &setting)
{
    if (merchant::setting(call.db, call.mercId, setting) != "1")
        throw ApiError(codes::conflict, "商户未开通该支付方式");
}

Json::Value paidAtOnce(Call &call, int m, const std::string &paySign)
{
    const recharges::Recharge r = recharges::open(call, recharges::plan(call), m, paySign);
    recharges::complete(call.db, r.id, call.now);
    return recharges::reply(recharges::load(call.db, r.id));
}

Json::Value cashRecharge(Call &call)
{
    requireOpened(call, merchant::settings::payCash);
    return paidAtOnce(call, payMeans::cash, "");
}

// "其他": one of the merchant's other means, when it takes recharges.
Json::Value otherRecharge(Call &call)
{
    requireOpened(call, merchant::settings::otherRecharge);
    const std::string paySign = call.optionalText("paySign");
    merchant::checkPaySign(call.db, call.mercId, paySign);
    return paidAtOnce(call, payMeans::other, paySign);
}

// The caller's recharge named by `tradeSeq`.
recharges::Recharge namedRecharge(Call &call)
{
    recharges::Recharge r;
    if (!recharges::findBySeq(call.db, call.requiredText("tradeSeq"), r))
        throw ApiError(codes::notFound, "交易不存在");
    ownership::check(call, ownership::records::recharge, r.id);
    return r;
}

// A wallet recharge waiting to be paid: `payMethod` "1" WeChat, "4" Alipay; `payType`
// "MICROPAY" (the worker scans the customer's code) or "NATIVE" (the customer scans ours).
Json::Value createPay(Call &call)
{
    const bool alipay = call.oneOf("payMethod", {1, 4}) == 4;
    const std::string payType = call.oneOf("payType", {"MICROPAY", "NATIVE"});
    requireOpened(call, alipay ? merchant::settings::payAlipay : merchant::settings::payWechat);
    return recharges::reply(recharges::open(call, recharges::plan(call),
                                            alipay ? payMeans::alipay : payMeans::wechat, "",
                                            payType == "NATIVE" ? "native" : "micro"));
}

// Pays a waiting wallet recharge (domain/recharges): with the customer's code (`authCode`),
// or by the QR code it answers.
Json::Value pay(Call &call)
{
    return recharges::pay(call, namedRecharge(call));
}

// The worker gave a wallet recharge up (the QR window closed, the wait ran out): a waiting
// one is closed, so the customer can no longer pay it. The answer's `status` says whether it
// was paid after all.
Json::Value closePay(Call &call)
{
    const recharges::Recharge r = namedRecharge(call);
    recharges::close(call.db, r.id, tradeState::closed, call.now);
    return recharges::reply(recharges::load(call.db, r.id));
}

// The member's paid recharges, newest first, from every store of the merchant: the balance
// they make up is the merchant's.
Json::Value list(Call &call)
{
    const std::int64_t userId = ownership::owned(call, ownership::records::member, "userId");
    const Page page = call.page();
    Json::Value rows(Json::arrayValue);
    Query q = call.db.query(
        "SELECT r.id, r.recharge_no AS seq, s.name AS paySceneText, r.paid_at AS tradeTime, "
        "IFNULL(d.text, '') AS payMethodText, r.amount, r.gift_amount AS giftAmount, "
        "IFNULL(w.name, '') AS workName FROM recharges r JOIN stores s ON s.id = r.store_id "
        "LEFT JOIN workers w ON w.id = r.worker_id "
        "LEFT JOIN dictionary d ON d.code = 'PAY_MEANS' AND d.val = r.pay_means "
        "WHERE r.user_id = ? AND r.status = ? ORDER BY r.paid_at DESC, r.id DESC "
        "LIMIT ? OFFSET ?",
        userId, tradeState::paid, page.size, page.offset());
    while (q.next())
        rows.append(q.object());
    Json::Value data(Json::objectValue);
    data["list"] = rows;
    data["total"] = Json::Int64(
        call.db.scalar(0, "SELECT COUNT(*) FROM recharges WHERE user_id = ? AND status = ?", userId,
                       tradeState::paid));
    return data;
}

} // namespace

void api::userRecharge::registerEndpoints(ApiRegistry &api)
{
    api.write("userRecharge/confirmRecharge", Access::Worker, cashRecharge);
    api.write("userRecharge/otherRecharge", Access::Worker, otherRecharge);
    api.write("userRecharge/createPay", Access::Worker, createPay);
    api.write("userRecharge/pay", Access::Worker, pay);
    api.write("userRecharge/closePay", Access::Worker, closePay);
    api.read("userRecharge/list", Access::Worker, list);
}
