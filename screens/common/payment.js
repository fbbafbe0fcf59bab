.pragma library
.import "money.js" as Money
.import "requests.js" as Requests

// The rules of taking a payment, shared by the cashier, pick-up and member recharge: what is
// still to collect (whole fen only), which choices are offered, when a scanned code may go
// out, and the fields of each payment request. The backend recomputes every amount; these
// figures are what the worker is shown and collects.

// The means, in the order the first enabled one is preselected.
var meansOrder = ["wechat", "alipay", "cash", "other"]

// A wallet payment code: digits only, at most this many (WeChat and Alipay codes have 18).
var maxCodeLength = 35

// "true"/true -> true: the backend's flags arrive as text or as JSON booleans.
function flag(value) {
    return String(value) === "true" || String(value) === "1"
}

function fen(value) {
    var n = parseInt(value, 10)
    return isNaN(n) ? 0 : n
}

// Which means the merchant has enabled ({ wechat, alipay, cash, other } of booleans), from
// the flags of a reply; `read(key)` gives a member of the reply's data as text.
function enabledMeans(read) {
    return {
        wechat: flag(read("isEnableWx")),
        alipay: flag(read("isEnableAli")),
        cash: flag(read("isEnableCash")),
        other: flag(read("isEnableOther"))
    }
}

// The first enabled means ({ wechat, alipay, cash, other } of booleans); "" for none.
function firstMeans(enabled) {
    for (var i = 0; i < meansOrder.length; ++i)
        if (enabled[meansOrder[i]])
            return meansOrder[i]
    return ""
}

function toPay(receivableFen, couponFen) {
    return fen(receivableFen) - fen(couponFen)
}

// What the group pay card takes: its ratio of the amount to pay, rounded down to whole fen
// (33.33 at 50 % is 16.66), or the card's whole balance when that is less.
function cardShare(toPayFen, ratio, cardBalanceFen) {
    return Math.max(0, Math.min(fen(cardBalanceFen), Money.percentOf(fen(toPayFen), fen(ratio))))
}

// The member balance may be chosen when there is some, the coupon allows it and something
// is to pay.
function balanceOffered(s) {
    return fen(s.balance) > 0 && !s.couponForbidsBalance && fen(s.toPay) > 0
}

function cardOffered(s) {
    return s.cardEnabled && fen(s.cardBalance) > 0 && fen(s.toPay) > 0
}

// The switches as they count: a switch that is not offered is off.
function usesBalance(s) {
    return s.useBalance && balanceOffered(s)
}

function usesCard(s) {
    return s.useCard && !usesBalance(s) && cardOffered(s)
}

// Fen still to collect by a means after the balance or the card. Zero or less: the whole
// amount is settled without one ("确认收款").
// s: { toPay, balance, useBalance, couponForbidsBalance, cardEnabled, cardBalance, cardRatio, useCard }
function stillToCollect(s) {
    if (usesBalance(s))
        return fen(s.toPay) - fen(s.balance)
    if (usesCard(s))
        return fen(s.toPay) - cardShare(s.toPay, s.cardRatio, s.cardBalance)
    return fen(s.toPay)
}

// What the balance row says it takes: the smaller of to pay and the balance.
function balanceTaken(s) {
    return Math.max(0, Math.min(fen(s.toPay), fen(s.balance)))
}

function settledWithoutMeans(s) {
    return stillToCollect(s) <= 0
}

// --- Cash ------------------------------------------------------------------------------

// The received field: a digit, then up to 34 digits or points.
var receivedPattern = /^\d[\d.]{0,34}$/

// Change in fen for `receivedText` yuan against `dueFen`; NaN while the text is no amount.
function change(receivedText, dueFen) {
    var received = Money.yuanToFen(receivedText)
    return isNaN(received) ? NaN : received - fen(dueFen)
}

// Cash may be confirmed when what was received covers what is due.
function cashCovers(receivedText, dueFen) {
    var c = change(receivedText, dueFen)
    return !isNaN(c) && c >= 0
}

// --- Wallet codes ----------------------------------------------------------------------

function codeAccepted(text) {
    return /^\d*$/.test(text) && text.length <= maxCodeLength
}

// A code goes out once, on the scanner's Enter or on "确认": only a non-empty code, and
// never while a payment of the screen is under way.
function codeReady(text, busy) {
    return !busy && /^\d+$/.test(text)
}

// --- Requests --------------------------------------------------------------------------

var paths = {
    balance: "tradePay/balancePay",
    cash: "tradePay/confirmPay",
    other: "tradePay/otherPay",
    wechatScan: "tradePay/wxMicroPay",
    alipayScan: "tradePay/aliMicroPay",
    wechatQr: "tradePay/wxUnifiedOrder",
    alipayQr: "tradePay/aliUnifiedOrder"
}

// The path and fields of a payment request. `mode` is "whole" (nothing left to collect),
// "cash", "other", "wechatScan", "alipayScan", "wechatQr" or "alipayQr"; `s` holds
// orderId, couponId ("" for none), the switches and amounts of stillToCollect, and
// paySign, remark, authCode where the means has them.
function paymentRequest(mode, s) {
    var fields = { orderId: String(s.orderId) }
    if (String(s.couponId || "") !== "")
        fields.cpnRelId = String(s.couponId)
    var card = usesCard(s)
    if (mode === "whole" && !card) {
        fields.remark = ""
        return { path: paths.balance, fields: fields }
    }
    // A card that covers the whole amount is settled like cash with nothing to collect:
    // balancePay would charge the member's balance instead of the card.
    var path = mode === "whole" ? paths.cash : paths[mode]
    fields.remark = mode === "other" ? String(s.remark || "") : ""
    fields.groupCardType = card ? "41" : ""
    if (mode === "other" && String(s.paySign || "") !== "")
        fields.paySign = String(s.paySign)
    if (mode === "wechatScan" || mode === "alipayScan")
        fields.authCode = String(s.authCode)
    if (mode === "wechatQr" || mode === "alipayQr")
        fields.authCode = ""
    // What the worker saw of the balance or the card: the backend refuses the payment (409)
    // when it moved meanwhile, instead of collecting a rest the screen did not show.
    if (usesBalance(s))
        fields.balance = String(fen(s.balance))
    if (card)
        fields.cardBalance = String(fen(s.cardBalance))
    return { path: path, fields: fields }
}

// --- After a refusal -------------------------------------------------------------------

// Whether the balance or the card balance a payment sent (its fields) is not what `figures`
// (read again) show: the backend refused it for that.
function balanceMoved(sent, figures) {
    return (sent.balance !== undefined && sent.balance !== String(fen(figures.balance)))
        || (sent.cardBalance !== undefined && sent.cardBalance !== String(fen(figures.cardBalance)))
}

// Whether the backend's refusal `msg` means that an earlier payment went through: "订单已支付"
// while a payment of the same amount (`unsettled`: { toPay }) had no known outcome.
function paidBefore(msg, unsettled, toPayFen) {
    return unsettled !== null && unsettled !== undefined && String(msg) === "订单已支付"
        && fen(unsettled.toPay) === fen(toPayFen)
}

// --- Wallet trade status ---------------------------------------------------------------

function statusText(status) {
    switch (String(status)) {
    case "-1": return "交易失败"
    case "0": return "交易中"
    case "1": return "交易成功"
    case "2": return "交易撤销"
    }
    return ""
}

// "good" for a success, "bad" for a cancelled or failed trade, "" otherwise.
function statusTone(status) {
    var s = String(status)
    return s === "1" ? "good" : s === "2" || s === "-1" ? "bad" : ""
}

// The picture of a QR code made by creatQRCode(codeUrl) (it is named after the last ten
// characters of the text it encodes).
function qrImageSource(codeUrl) {
    var text = String(codeUrl || "")
    return text === "" ? "" : "image://imageProvider/qrpic/" + text.slice(-10) + ".jpg"
}

// --- Replies ---------------------------------------------------------------------------

// The other means of `mercParam/getPaymentConfig`: [{ val, showName, name }].
function paySignList(text) {
    var data = Requests.dataOf(text)
    var list = data && Array.isArray(data.paySignList) ? data.paySignList : []
    return list.map(function (e) {
        return { val: String(e.val), showName: String(e.showName), name: String(e.name) }
    })
}
