import QtQuick 2.15
import Brenvo 1.0
import "payment.js" as Payment
import "coupon.js" as Coupon

// The cashier's requests and what they brought: the order's amounts, the member's balance
// and group pay card, the merchant's means, the coupons, and the payment under way. One
// payment at a time: `busy` is set when any payment goes out and stays set while a wallet
// trade is followed, so a second press, a second scan or another means does nothing.
Item {
    id: talk
    visible: false

    property string orderId: ""
    property string userIds: ""
    property var messageBox: followUp.box
    readonly property alias backend: backend
    readonly property alias poller: follower.poller

    // --- What the backend says ----------------------------------------------------------
    property bool loading: true
    property string orderNo: ""
    property int receivable: 0
    property int carriage: 0
    property string modifyPrice: ""
    property int couponAmount: 0
    property string couponId: ""
    property bool couponForbidsBalance: false
    // The last coupon list, and whether it was empty.
    readonly property alias coupons: couponRequests.list
    readonly property alias noCoupons: couponRequests.none
    property int balance: 0
    property bool cardEnabled: false
    property int cardBalance: 0
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
    readonly property int toPay: figures.toPay
    readonly property int stillToCollect: Payment.stillToCollect(figures)

    // --- The payment under way ----------------------------------------------------------
    property bool busy: false
    // The wallet trade followed: "qr" (the customer scans), "scan" (a code the worker
    // scanned waits for the customer), "" none.
    property string tradeMode: ""
    property string tradeSeq: ""
    property string codeUrl: ""
    readonly property alias tradeStatus: follower.status
    // A line for the worker about the last payment, and whether it went wrong.
    property string note: ""
    property bool noteBad: false

    signal loaded()
    // The coupon list arrived: open the window when there are coupons.
    signal couponsListed(bool any)
    signal codeExchanged()
    signal codeRefused()
    // A wallet trade for the customer to scan is being created.
    signal qrStarted(string wallet, int amountFen)
    // The trade was given up at the deadline.
    signal qrGivenUp()
    signal paid(int amountFen, bool viaQr)

    function load() {
        loading = true
        backend.call("PayInfo", "orderInfo/payInfo", { id: orderId }, function (reply) {
            talk.takePayInfo(reply)
            talk.loadBalance()
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
        enabledMeans = Payment.enabledMeans(function (key) { return r.getReturnMsg(reply, key) })
        cardEnabled = r.getqueryOrder(reply, "uPayCard", "isEnable") === "1"
        cardBalance = Payment.fen(r.getqueryOrder(reply, "uPayCard", "balance"))
        cardRatio = Payment.fen(r.getqueryOrder(reply, "uPayCard", "payRatio"))
        useBalance = true
        useCard = false
    }

    function loadBalance() {
        backend.call("Balance", "userExt/balance", { id: userIds }, function (reply) {
            talk.balance = Payment.fen(backend.request.getReturnMsg(reply, "balance"))
            if (talk.couponForbidsBalance)
                talk.useBalance = false
            talk.loadConfig()
        }, failedLoading)
    }

    function loadConfig() {
        backend.call("PayInfoCard", "mercParam/getPaymentConfig", {}, function (reply) {
            talk.paySigns = Payment.paySignList(reply)
            talk.loading = false
            talk.loaded()
        }, failedLoading)
    }

    // A failed load is told; confirming the box loads everything again.
    function failedLoading(reply, unreachable) {
        console.log("Cashier: " + Session.whoPost + " failed: " + reply)
        followUp.error(backend.failureText(unreachable), load)
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
        if (busy || loading || (mode === "whole") !== (stillToCollect <= 0))
            return false
        var s = Object.assign({ orderId: orderId, couponId: couponId }, figures, extra || {})
        var request = Payment.paymentRequest(mode, s)
        busy = true
        note = ""
        noteBad = false
        if (mode === "wechatQr" || mode === "alipayQr") {
            tradeMode = "qr"
            tradeSeq = ""
            codeUrl = ""
            follower.status = ""
            qrStarted(mode === "alipayQr" ? "alipay" : "wechat", stillToCollect)
        }
        backend.call("PayOrder", request.path, request.fields, function (reply) {
            talk.paymentAnswered(mode, reply)
        }, function (reply, unreachable) {
            talk.paymentRefused(mode, reply, unreachable)
        })
        return true
    }

    function paymentAnswered(mode, reply) {
        var r = backend.request
        var seq = r.getReturnMsg(reply, "seq")
        if (mode === "wechatQr" || mode === "alipayQr") {
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

    // A refused payment leaves the screen ready for another try; the reason is shown where
    // the worker looks (the QR window, or the line under the means).
    function paymentRefused(mode, reply, unreachable) {
        console.log("Cashier: payment refused: " + reply)
        tradeMode = ""
        busy = false
        note = backend.failureText(unreachable)
        noteBad = true
    }

    function succeed(reply, viaQr) {
        var amount = backend.request.getReturnMsg(reply, "payAmount")
        tradeMode = ""
        busy = true
        paid(amount !== "" ? Payment.fen(amount) : toPay, viaQr)
    }

    // The window of the QR code was closed: stop following the trade and give it back.
    function qrClosed() {
        if (tradeMode !== "qr")
            return
        tradeMode = ""
        if (tradeSeq !== "" || backend.busy("PayOrder"))
            release(true)
        else
            busy = false
    }

    // Leaving the screen while a trade is followed gives it back.
    function abandon() {
        if (tradeMode !== "") {
            var viaQr = tradeMode === "qr"
            tradeMode = ""
            release(viaQr)
        }
    }

    // Stops following the trade and releases the order. Should the trade have been paid
    // meanwhile, the payment is done after all.
    function release(viaQr) {
        follower.stop()
        tradeSeq = ""
        backend.call("UnClock", "tradePay/unlockOrder", { orderId: orderId }, function (reply) {
            if (backend.request.getReturnMsg(reply, "payStatus") === "1")
                talk.succeed(reply, viaQr)
            else
                talk.busy = false
        }, function (reply) {
            console.log("Cashier: unlockOrder failed: " + reply)
            talk.busy = false
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
