.pragma library
.import "money.js" as Money
.import "payment.js" as Payment
.import "requests.js" as Requests

// The rules of a member recharge: the merchant's offers as the screen writes them, the free
// amount, and the fields of each recharge request. Amounts are whole fen; the backend takes
// the bonus from the offer itself.

function str(value) {
    return value === undefined || value === null ? "" : String(value)
}

// The offers of userRechargeRule/queryRechargeList: what each is paid and gives. A gift is
// counted only when its `isSend...` flag is on.
function schemes(text) {
    var data = Requests.dataOf(text)
    var list = Array.isArray(data) ? data : []
    return list.map(function (e) {
        return {
            id: str(e.id),
            name: str(e.name),
            amount: Payment.fen(e.amount),
            giftAmount: Payment.flag(e.isSendAmt) ? Payment.fen(e.giftAmount) : 0,
            giftPoint: Payment.flag(e.isSendPoint) ? Payment.fen(e.giftPoint) : 0,
            cardName: Payment.flag(e.isSendCard) ? str(e.cardName) : "",
            couponCnt: Payment.flag(e.isSendCoupon) ? Payment.fen(e.couponCnt) : 0
        }
    })
}

// "充500.00元送50.00元".
function schemeText(s) {
    return "充" + Money.fenToYuan(s.amount) + "元送" + Money.fenToYuan(s.giftAmount) + "元"
}

// What else the offer gives, each as its text: points, a card, coupons.
function schemeExtras(s) {
    var out = []
    if (s.giftPoint > 0)
        out.push("赠送" + s.giftPoint + "积分")
    if (s.cardName !== "")
        out.push("赠送" + s.cardName)
    if (s.couponCnt > 0)
        out.push("赠送优惠券" + s.couponCnt + "张")
    return out
}

// The extras in parentheses, "" when there are none.
function extrasText(s) {
    var extras = schemeExtras(s)
    return extras.length > 0 ? "(" + extras.join("，") + ")" : ""
}

// --- The free amount -------------------------------------------------------------------

// What the amount field takes: a digit, then up to 20 digits or points.
var amountPattern = /^\d[\d.]{0,20}$/

// Fen of a free amount typed in yuan; NaN for no amount or nothing to recharge.
function freeAmountFen(text) {
    var fen = Money.yuanToFen(text)
    return !isNaN(fen) && fen > 0 ? fen : NaN
}

// "零散金额：50.00元".
function freeAmountText(fen) {
    return "零散金额：" + Money.fenToYuan(fen) + "元"
}

// What the worker is told once the money is in: "充值成功，本次充值500.00元".
function doneText(fen) {
    return "充值成功，本次充值" + Money.fenToYuan(fen) + "元"
}

// --- Requests --------------------------------------------------------------------------

// What every recharge request says: who, how much in fen, and whether by an offer.
function rechargeFields(userId, amountFen, withActive, remark) {
    return {
        userId: str(userId),
        amount: String(amountFen),
        remark: str(remark),
        withActive: withActive ? "1" : "0"
    }
}

// userRecharge/createPay: "1" WeChat, "4" Alipay; "MICROPAY" the worker scans the customer's
// code, "NATIVE" the customer scans ours.
function createPayFields(userId, amountFen, withActive, wallet, payType) {
    var fields = rechargeFields(userId, amountFen, withActive, "")
    fields.payMethod = wallet === "alipay" ? "4" : "1"
    fields.payType = payType
    return fields
}

// The wallet of a pay trade for a means: WeChat or Alipay as chosen; for cash and other means
// none ("").
function walletOf(means) {
    return means === "wechat" || means === "alipay" ? means : ""
}

// What a recharge request may be sent with: a member and an amount.
function ready(userId, amountFen) {
    return str(userId) !== "" && amountFen > 0
}
