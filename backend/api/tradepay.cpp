// tradePay/...: paying orders. The rules live in domain/payments: every amount is worked out
// there from the order, its coupon and the member's balance and group pay card, and an order
// is paid once (a repeated request gets the answer kept for it, without running again).

#include "api/families.h"
#include "domain/paymeans.h"
#include "domain/payments.h"
#include "domain/recharges.h"
#include "domain/wallet.h"
#include "server/call.h"
#include "server/registry.h"

namespace {

using wallet::Kind;

// Balance ("余额"), cash ("余额+现金") and other means ("余额+银联"): settled in the call.
Handler paidAtOnce(int means)
{
    return [means](Call &call) { return payments::payAtOnce(call, means); };
}

// The worker scans the customer's code.
Handler paidByCode(Kind kind)
{
    return [kind](Call &call) { return payments::payByCode(call, kind); };
}

// The customer scans our QR code.
Handler paidByQr(Kind kind)
{
    return [kind](Call &call) { return payments::payByQr(call, kind); };
}

// The state of a wallet trade named by `seq`: an order's payment or a member's recharge.
Json::Value queryStatus(Call &call)
{
    const std::string seq = call.requiredText("seq");
    payments::Payment p;
    if (payments::findBySeq(call.db, seq, p))
        return payments::followPayment(call, p);
    recharges::Recharge r;
    if (recharges::findBySeq(call.db, seq, r))
        return recharges::followRecharge(call, r);
    throw ApiError(codes::notFound, "交易不存在");
}

} // namespace

void api::tradePay::registerEndpoints(ApiRegistry &api)
{
    // A payment held past its time holds the order and the member's money: closed before the
    // call looks, so a payment refused for another reason still finds them released.
    const Upkeep expired = payments::expiredOfOrder("orderId");
    api.write("tradePay/balancePay", Access::Worker, paidAtOnce(payMeans::balance), expired);
    api.write("tradePay/confirmPay", Access::Worker, paidAtOnce(payMeans::cash), expired);
    api.write("tradePay/otherPay", Access::Worker, paidAtOnce(payMeans::other), expired);
    api.write("tradePay/wxMicroPay", Access::Worker, paidByCode(Kind::WeChat), expired);
    api.write("tradePay/aliMicroPay", Access::Worker, paidByCode(Kind::Alipay), expired);
    api.write("tradePay/wxUnifiedOrder", Access::Worker, paidByQr(Kind::WeChat), expired);
    api.write("tradePay/aliUnifiedOrder", Access::Worker, paidByQr(Kind::Alipay), expired);
    api.write("tradePay/queryStatusBySeq", Access::Worker, queryStatus);
    api.write("tradePay/unlockOrder", Access::Worker, payments::unlock);
}
