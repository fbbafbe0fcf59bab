import QtQuick 2.15
import Brenvo 1.0
import "payment.js" as Payment
import "coupon.js" as Coupon

// The cashier's requests and what they brought: the order's amounts, the member's balance
// and group pay card, the merchant's means, the coupons, and the payment under way. One
// payment at a time: `busy` is set when any payment goes out and stays set while a wallet
// trade is followed, so a second press, a second scan or another means does nothing.
//
// A payment is a write (BackendRequest.write): one whose answer was lost is sent again, on
// the worker's retry, as the very same request, and answered from what the backend kept.
// Until its outcome is known the cashier holds it as `unsettled`: leaving the screen or
// closing the QR window releases the order (a wallet trade may be waiting on it), and the
// backend's "订单已支付" for the same order and amount means it went through.
Item {
    id: talk
    visible: false

    property string orderId: ""
    property string userIds: ""
    property var messageBox: followUp.box
    readonly property alias backend: backend
    readonly property alias poller: follower.poller
    readonly property alias followUp: followUp

    // --- What the backend says ----------------------------------------------------------
    // Amounts in fen travel as numbers (exact to 2^53), never as 32-bit ints.
    property bool loading: true
    // Everything needed to take a payment has arrived.
    property bool ready: false
    property string orderNo: ""
    property real receivable: 0
    property real carriage: 0
    property string modifyPrice: ""
    property real couponAmount: 0
    property string couponId: ""
    property bool couponForbidsBalance: false
    // Another payment holds the order (a wallet trade waiting): none can be taken now.
    property bool held: false
    // The last coupon list, and whether it was empty.
    readonly property alias coupons: couponRequests.list
    readonly property alias noCoupons: couponRequests.none
    property real balance: 0
    property bool cardEnabled: false
    property real cardBalance: 0
    property int cardRatio: 0
    property var enabledMeans: ({})
    property var paySigns: []

    // --- The worker's choices and the figures they give ---------------------------------
    property bool useBalance: true
    property bool useCard: false
    readonly property var figures: ({
        toPay: Payment.toPay(receivable, couponAmount),
        balance: balance,
        useBalance: useBalance,
        couponForbidsBalance: couponForbidsBalance,
        cardEnabled: cardEnabled,
        cardBalance: cardBalance,
        cardRatio: cardRatio,
        useCard: useCard
    })
    readonly property real toPay: figures.toPay
    readonly property real stillToCollect: Payment.stillToCollect(figures)

    // --- The payment under way ----------------------------------------------------------
    property bool busy: false
    // The wallet trade followed: "qr" (the customer scans), "scan" (a code the worker
    // scanned waits for the customer), "" none.
    property string tradeMode: ""
    property string tradeSeq: ""
    property string codeUrl: ""
    readonly property alias tradeStatus: follower.status
    // The payment sent whose outcome is not known: { path, fields, toPay }, or null.
    property var unsettled: null
    // tradePay/unlockOrder is out.
    property bool releasing: false
    // A line for the worker about the last payment, and whether it went wrong.
    property string note: ""
    property bool noteBad: false

    signal loaded()
    // The coupon list arrived: open the window when there are coupons.
    signal couponsListed(bool any)
    signal codeExchanged()
    signal codeRefused()
    // A wallet trade for the customer to scan is being created.
    signal qrStarted(string wallet, real amountFen)
    // The trade was given up at the deadline.
    signal qrGivenUp()
    signal paid(real amountFen, bool viaQr)
    // The order was released (unlockOrder answered, or could not be reached) and not paid.
    signal released()

    function load() {
        loading = true
        ready = false
        backend.call("PayInfo", "orderInfo/payInfo", { id: orderId }, function (reply) {
            talk.takePayInfo(reply)
            talk.useBalance = true
            talk.useCard = false
            talk.loadBalance(talk.loadConfig, talk.failedLoading)
        }, failedLoading)
    }

    function takePayInfo(reply) {
        var r = backend.request
        orderNo = r.getReturnMsg(reply, "orderNo")
        receivable = Payment.fen(r.getReturnMsg(reply, "payablePrice"))
        carriage = Payment.fen(r.getReturnMsg(reply, "carriage"))
        modifyPrice = r.getReturnMsg(reply, "modifyPrice")
        couponAmount = Payment.fen(r.getReturnMsg(reply, "couponAmt"))
        couponId = r.getReturnMsg(reply, "cpnRelId")
        couponForbidsBalance = couponId !== "" && r.getReturnMsg(reply, "cpnUseBalance") === "0"
        held = Payment.flag(r.getReturnMsg(reply, "isLocked"))
        enabledMeans = Payment.enabledMeans(function (key) { return r.getReturnMsg(reply, key) })
        cardEnabled = r.getqueryOrder(reply, "uPayCard", "isEnable") === "1"
        cardBalance = Payment.fen(r.getqueryOrder(reply, "uPayCard", "balance"))
        cardRatio = Payment.fen(r.getqueryOrder(reply, "uPayCard", "payRatio"))
    }

    function loadBalance(then, onFailure) {
        backend.call("Balance", "userExt/balance", { id: userIds }, function (reply) {
            talk.balance = Payment.fen(backend.request.getReturnMsg(reply, "balance"))
            if (talk.couponForbidsBalance)
                talk.useBalance = false
            then()
        }, onFailure)
    }

    function loadConfig() {
        backend.call("PayInfoCard", "mercParam/getPaymentConfig", {}, function (reply) {
            talk.paySigns = Payment.paySignList(reply)
            talk.loading = false
            talk.ready = true
            talk.loaded()
        }, failedLoading)
    }

    // A failed load is told; confirming the box loads everything again. The shade lifts
    // meanwhile, so that "返回" stays within reach; nothing is offered until a load is done.
    function failedLoading(reply, unreachable) {
        console.log(Logs.ordering, "Cashier: " + Session.whoPost + " failed: " + reply)
        loading = false
        followUp.error(backend.failureText(unreachable), load)
    }

    // The amounts read again after a refused payment, the worker's choices kept: a hold shows,
    // and a balance or card balance that moved since it was sent is told. `then` runs after.
    function recheck(sent, reason, then) {
        backend.call("PayInfo", "orderInfo/payInfo", { id: orderId }, function (reply) {
            talk.takePayInfo(reply)
            talk.loadBalance(function () {
                if (Payment.balanceMoved(sent, talk.figures))
                    talk.followUp.error(reason)
                then()
            }, then)
        }, then)
    }

    // --- Switches -----------------------------------------------------------------------

    function setBalance(on) {
        if (busy)
            return
        useBalance = on
        if (on)
            useCard = false
    }

    function setCard(on) {
        if (busy)
            return
        useCard = on
        if (on)
            useBalance = false
    }

    // --- Coupons ------------------------------------------------------------------------

    function listCoupons() {
        couponRequests.load()
    }

    function exchangeCode(code) {
        couponRequests.exchange(code)
    }

    // A click in the coupon window: the coupon in use is taken off, a usable one applied.
    // The screen shows the new choice at once.
    function couponClicked(coupon) {
        if (busy)
            return
        var action = Coupon.clickAction(coupon, orderId)
        if (action === "remove") {
            couponId = ""
            couponAmount = 0
            couponForbidsBalance = false
            couponRequests.release(coupon.id)
        } else if (action === "apply") {
            couponId = String(coupon.id)
            couponAmount = Payment.fen(coupon.amount)
            couponForbidsBalance = String(coupon.useBalance) === "0"
            if (couponForbidsBalance) {
                useBalance = false
                useCard = false
            }
            couponRequests.use(coupon.id)
        }
    }

    // --- Payments -----------------------------------------------------------------------

    // Sends the payment of `mode` (see Payment.paymentRequest) unless one is under way.
    // `extra`: paySign, remark, authCode where the means has them.
    function pay(mode, extra) {
        if (busy || !ready || held || (mode === "whole") !== (stillToCollect <= 0))
            return false
        var s = Object.assign({ orderId: orderId, couponId: couponId }, figures, extra || {})
        var request = Payment.paymentRequest(mode, s)
        var viaQr = mode === "wechatQr" || mode === "alipayQr"
        var amount = toPay
        busy = true
        note = ""
        noteBad = false
        if (viaQr) {
            tradeMode = "qr"
            tradeSeq = ""
            codeUrl = ""
            follower.status = ""
            qrStarted(mode === "alipayQr" ? "alipay" : "wechat", stillToCollect)
        }
        var callId = backend.write("PayOrder", request.path, request.fields, function (reply) {
            talk.unsettled = null
            talk.paymentAnswered(viaQr, reply)
        }, function (reply, unreachable, held) {
            talk.paymentFailed(viaQr, { path: request.path, fields: request.fields, toPay: amount },
                               backend.failureText(unreachable), held)
        })
        if (callId === 0) {
            busy = false
            tradeMode = ""
        }
        return callId !== 0
    }

    function paymentAnswered(viaQr, reply) {
        var r = backend.request
        var seq = r.getReturnMsg(reply, "seq")
        if (viaQr) {
            if (tradeMode !== "qr") {
                // The window was closed while the trade was being made: give it back.
                release(true)
                return
            }
            tradeSeq = seq
            codeUrl = r.getReturnMsg(reply, "codeUrl")
            follower.start(seq)
            return
        }
        if (r.getReturnMsg(reply, "status") === "0") {
            // The customer confirms the payment on the phone: follow the trade.
            tradeMode = "scan"
            tradeSeq = seq
            note = Payment.statusText("0")
            follower.start(seq)
            return
        }
        succeed(reply, false)
    }

    // A payment that failed. Its outcome unknown, it is `unsettled`: the worker's retry sends
    // it again unchanged, and a QR window closed now releases the order. The backend's
    // "订单已支付" for the amount of an unsettled payment is that payment gone through. Any
    // other refusal is shown where the worker looks (the QR window, or the line under the
    // means), after the amounts were read again.
    function paymentFailed(viaQr, request, text, isHeld) {
        console.log(Logs.ordering, "Cashier: payment failed: " + text)
        note = text
        noteBad = true
        if (isHeld) {
            unsettled = request
            // A QR trade may be waiting on the order: closing the window releases it.
            if (!viaQr)
                tradeMode = ""
            busy = false
            return
        }
        if (Payment.paidBefore(text, unsettled, request.toPay)) {
            note = ""
            noteBad = false
            succeedWith(request.toPay, false)
            return
        }
        tradeMode = ""
        recheck(request.fields, text, function () { talk.busy = talk.releasing })
    }

    function succeed(reply, viaQr) {
        var amount = reply !== null ? backend.request.getReturnMsg(reply, "payAmount") : ""
        succeedWith(amount !== "" ? Payment.fen(amount) : toPay, viaQr)
    }

    function succeedWith(amountFen, viaQr) {
        settleUnknown()
        follower.stop()
        tradeMode = ""
        busy = true
        paid(amountFen, viaQr)
    }

    // The outcome of the unsettled payment is known by other means (the order was released,
    // or paid): sent again, it would be a new request.
    function settleUnknown() {
        if (unsettled !== null)
            backend.forget(unsettled.path, unsettled.fields)
        unsettled = null
    }

    // The window of the QR code was closed: stop following the trade and give it back, also
    // when the request that made it got no answer.
    function qrClosed() {
        if (tradeMode !== "qr")
            return
        tradeMode = ""
        if (tradeSeq !== "" || unsettled !== null || backend.busy("PayOrder"))
            release(true)
        else
            busy = false
    }

    // Leaving the screen: a followed trade, a payment out or one whose outcome is not known
    // is given back first. True when a release is under way (released() or paid() follows).
    function abandon() {
        if (releasing)
            return true
        if (tradeMode === "" && unsettled === null && !backend.busy("PayOrder"))
            return false
        var viaQr = tradeMode === "qr"
        tradeMode = ""
        release(viaQr)
        return true
    }

    // Stops following the trade and releases the order. Should the trade have been paid
    // meanwhile, the payment is done after all. unlockOrder is a command on the order as it
    // is now, so it is never held as a write: a later one must release a later trade.
    function release(viaQr) {
        follower.stop()
        tradeSeq = ""
        busy = true
        releasing = true
        backend.call("UnClock", "tradePay/unlockOrder", { orderId: orderId }, function (reply) {
            talk.releasing = false
            if (backend.request.getReturnMsg(reply, "payStatus") === "1") {
                talk.succeed(reply, viaQr)
                return
            }
            talk.settleUnknown()
            talk.busy = false
            talk.released()
        }, function (reply) {
            console.log(Logs.ordering, "Cashier: unlockOrder failed: " + reply)
            talk.releasing = false
            talk.busy = false
            talk.released()
        })
    }

    function followEnded(outcome, reply) {
        if (outcome === "paid") {
            succeed(reply, tradeMode === "qr")
            return
        }
        if (outcome === "failed" || outcome === "cancelled") {
            // The backend has closed the trade and released the order; the QR window keeps
            // showing its status until it is closed.
            tradeSeq = ""
            if (tradeMode === "scan") {
                tradeMode = ""
                noteBad = true
            }
            busy = tradeMode === "qr"
            return
        }
        if (outcome === "deadline") {
            var wasQr = tradeMode === "qr"
            tradeMode = ""
            release(wasQr)
            note = "支付超时，交易已取消"
            noteBad = true
            if (wasQr)
                qrGivenUp()
            followUp.info("提示", "顾客未在规定时间内完成支付，交易已取消")
            return
        }
        // A failed query: the QR window stays until it is closed; a scanned code's trade is
        // given back at once.
        if (tradeMode === "scan") {
            tradeMode = ""
            release(false)
        }
    }

    BackendRequest {
        id: backend
        objectName: "cashierBackend"
        messageBox: talk.messageBox
    }

    TradeFollower {
        id: follower
        backend: backend
        onAnswered: function (status) {
            if (talk.tradeMode === "scan")
                talk.note = Payment.statusText(status)
        }
        onEnded: function (outcome, reply) { talk.followEnded(outcome, reply) }
    }

    CashierCoupons {
        id: couponRequests
        backend: backend
        orderId: talk.orderId
        userIds: talk.userIds
        onListed: function (any) { talk.couponsListed(any) }
        onListFailed: function (reply, unreachable) { talk.failedLoading(reply, unreachable) }
        onCodeExchanged: talk.codeExchanged()
        onCodeRefused: function (reason) {
            talk.codeRefused()
            followUp.error(reason)
        }
    }

    FollowUpBox { id: followUp; messageBox: talk.messageBox }
}
