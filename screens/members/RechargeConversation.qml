import QtQuick 2.15
import Brenvo 1.0
import "payment.js" as Payment
import "recharge.js" as Recharge

// The recharge screen's requests and what they brought: the merchant's offers and means, the
// amount chosen, the wallet trade made for it, and the payment under way. One payment at a
// time: `busy` is set when a payment goes out and stays set while a wallet trade is followed.
// The amount shown is always the amount of the trade: a new amount makes a new trade. Every
// write (a trade, a payment) whose answer was lost is sent again as the very same request,
// so the backend answers it from what it kept and the member is recharged once.
Item {
    id: talk
    visible: false

    property string userIds: ""
    property var messageBox: followUp.box
    readonly property alias backend: backend
    readonly property alias followUp: followUp
    readonly property alias poller: follower.poller

    // --- What the backend says ----------------------------------------------------------
    property bool loading: true
    // The offers and the means have arrived: a payment may be taken.
    property bool ready: false
    property var schemes: []
    property var enabledMeans: ({})
    property var paySigns: []

    // --- The amount ---------------------------------------------------------------------
    // The offer shown (-1 none); a free amount when withActive is off.
    property int schemeIndex: -1
    property bool withActive: true
    // Fen as a number (exact to 2^53), never a 32-bit int.
    property real amountFen: 0
    readonly property var scheme: schemeIndex >= 0 && schemeIndex < schemes.length ? schemes[schemeIndex] : null

    // --- The payment --------------------------------------------------------------------
    property string means: ""
    // The wallet trade for the amount: its number, wallet and kind ("MICROPAY", "NATIVE").
    property string tradeSeq: ""
    property string tradeType: ""
    property int tradeVersion: 0
    property bool busy: false
    // "qr" while the customer scans our code, "scan" while a scanned code waits, "" else.
    property string tradeMode: ""
    property string codeUrl: ""
    readonly property alias tradeStatus: follower.status
    property string note: ""
    property bool noteBad: false
    property bool done: false

    signal loaded()
    // The merchant has no offers: the free amount is to be typed.
    signal noSchemes()
    signal qrStarted(string wallet, real amountFen)
    signal qrGivenUp()
    signal recharged(real amountFen)

    function load() {
        loading = true
        ready = false
        backend.call("RechargeList", "userRechargeRule/queryRechargeList", {}, function (reply) {
            talk.schemes = Recharge.schemes(reply)
            if (talk.schemes.length > 0) {
                talk.schemeIndex = 0
                talk.withActive = true
                talk.amountFen = talk.schemes[0].amount
            } else {
                talk.schemeIndex = -1
                talk.withActive = false
                talk.amountFen = 0
            }
            talk.loadConfig()
        }, failedLoading)
    }

    function loadConfig() {
        backend.call("PayConfig", "mercParam/getPaymentConfig", {}, function (reply) {
            var r = backend.request
            talk.paySigns = Payment.paySignList(reply)
            var means = Payment.enabledMeans(function (key) { return r.getReturnMsg(reply, key) })
            // Other means take a recharge only where the merchant allows it.
            means.other = means.other && r.getReturnMsg(reply, "otherRecharge") === "1"
            talk.enabledMeans = means
            talk.loading = false
            talk.ready = true
            talk.chooseMeans(Payment.firstMeans(talk.enabledMeans))
            talk.loaded()
            if (talk.schemes.length === 0)
                talk.noSchemes()
        }, failedLoading)
    }

    // A failed load is told; confirming the box loads again. The shade lifts meanwhile, so
    // that "返回" stays within reach; nothing is offered until a load is done.
    function failedLoading(reply, unreachable) {
        console.log(Logs.members, "MemberRecharge: " + Session.whoPost + " failed: " + reply)
        loading = false
        followUp.error(backend.failureText(unreachable), load)
    }

    // --- The amount ---------------------------------------------------------------------

    function chooseScheme(index) {
        if (busy || index < 0 || index >= schemes.length)
            return
        schemeIndex = index
        withActive = true
        amountFen = schemes[index].amount
        renewTrade()
    }

    function chooseFreeAmount(fen) {
        if (busy || !(fen > 0))
            return
        withActive = false
        amountFen = fen
        renewTrade()
    }

    function chooseMeans(m) {
        if (busy)
            return
        means = m
        renewTrade()
    }

    // --- Wallet trades ------------------------------------------------------------------

    // A trade for the worker to scan the customer's code into, for the amount and wallet
    // chosen; none for cash and other means. Earlier trades are left unpaid.
    function renewTrade() {
        tradeSeq = ""
        ++tradeVersion
        if (Recharge.walletOf(means) !== "" && Recharge.ready(userIds, amountFen))
            createTrade("MICROPAY", null)
    }

    // `then(seq)` runs once the trade exists; the answer of a trade made for an amount or
    // means changed since is dropped. A trade is a write: one whose answer was lost is made
    // again as the very same request, and is the same trade.
    function createTrade(payType, then) {
        var version = ++tradeVersion
        var wallet = Recharge.walletOf(means)
        backend.write("CreatePay", "userRecharge/createPay",
                     Recharge.createPayFields(userIds, amountFen, withActive, wallet, payType), function (reply) {
            if (version !== talk.tradeVersion)
                return
            talk.tradeSeq = backend.request.getReturnMsg(reply, "tradeSeq")
            talk.tradeType = payType
            if (then)
                then(talk.tradeSeq)
        }, function (reply, unreachable) {
            if (version !== talk.tradeVersion)
                return
            talk.refused(reply, unreachable)
            if (then)
                talk.paymentOver()
        })
    }

    // --- Paying -------------------------------------------------------------------------

    // The worker scanned the customer's code.
    function payByCode(code) {
        if (busy || !ready || done || Recharge.walletOf(means) === "" || !Recharge.ready(userIds, amountFen))
            return false
        busy = true
        note = ""
        noteBad = false
        if (tradeSeq !== "" && tradeType === "MICROPAY")
            sendPay({ tradeSeq: tradeSeq, authCode: code })
        else
            createTrade("MICROPAY", function (seq) { talk.sendPay({ tradeSeq: seq, authCode: code }) })
        return true
    }

    function sendPay(fields) {
        send("Pay", "userRecharge/pay", fields, function (reply) {
            var status = backend.request.getReturnMsg(reply, "status")
            if (status === "1") {
                talk.succeed()
            } else {
                // The customer confirms on the phone: follow the trade.
                talk.tradeMode = "scan"
                talk.note = Payment.statusText(status)
                follower.start(talk.tradeSeq)
            }
        })
    }

    // The customer scans our code: a trade of its own, then its code, then its state.
    function payByQr() {
        if (busy || !ready || done || Recharge.walletOf(means) === "" || !Recharge.ready(userIds, amountFen))
            return false
        busy = true
        note = ""
        noteBad = false
        tradeMode = "qr"
        codeUrl = ""
        follower.status = ""
        qrStarted(Recharge.walletOf(means), amountFen)
        createTrade("NATIVE", function (seq) {
            backend.write("Pay", "userRecharge/pay", { tradeSeq: seq }, function (reply) {
                if (talk.tradeMode !== "qr")
                    return
                talk.codeUrl = backend.request.getReturnMsg(reply, "codeUrl")
                follower.start(seq)
            }, function (reply, unreachable) {
                talk.refused(reply, unreachable)
            })
        })
        return true
    }

    function payCash(receivedText) {
        if (busy || !ready || done || !Payment.cashCovers(receivedText, amountFen) || !Recharge.ready(userIds, amountFen))
            return false
        busy = true
        send("XJRecharge", "userRecharge/confirmRecharge",
             Recharge.rechargeFields(userIds, amountFen, withActive, ""), succeed)
        return true
    }

    function payOther(paySign, remark) {
        if (busy || !ready || done || !Recharge.ready(userIds, amountFen))
            return false
        busy = true
        var fields = Recharge.rechargeFields(userIds, amountFen, withActive, remark)
        fields.paySign = paySign
        send("OtherRecharge", "userRecharge/otherRecharge", fields, succeed)
        return true
    }

    // Sends a payment; when its outcome is not known, confirming the box sends it again as
    // the very same request. A refusal is told and the payment is over.
    function send(tag, path, fields, onReply) {
        backend.writeWithRetry(followUp, tag, path, fields, onReply, function (text) {
            console.log(Logs.members, "MemberRecharge: refused: " + text)
            talk.followUp.error(text)
            talk.paymentOver()
        })
    }

    function refused(reply, unreachable) {
        console.log(Logs.members, "MemberRecharge: refused: " + reply)
        followUp.error(backend.failureText(unreachable))
    }

    // A payment ended without money: the screen is ready again, with a fresh trade to scan
    // into (the last one may be over).
    function paymentOver() {
        busy = false
        tradeMode = ""
        if (!done)
            renewTrade()
    }

    function succeed() {
        follower.stop()
        tradeMode = ""
        busy = true
        done = true
        recharged(amountFen)
    }

    // The QR window was closed: no more following; the trade is closed, unless the customer
    // paid it just now.
    function qrClosed() {
        if (tradeMode !== "qr")
            return
        follower.stop()
        closeTrade(tradeSeq)
    }

    function closeTrade(seq) {
        tradeMode = ""
        if (seq === "") {
            paymentOver()
            return
        }
        backend.call("ClosePay", "userRecharge/closePay", { tradeSeq: seq }, function (reply) {
            if (backend.request.getReturnMsg(reply, "status") === "1")
                talk.succeed()
            else
                talk.paymentOver()
        }, function (reply) {
            console.log(Logs.members, "MemberRecharge: closePay failed: " + reply)
            talk.paymentOver()
        })
    }

    // Leaving the screen gives a followed trade up.
    function abandon() {
        if (tradeMode !== "") {
            follower.stop()
            closeTrade(tradeSeq)
        }
    }

    function followEnded(outcome) {
        if (outcome === "paid") {
            succeed()
            return
        }
        var wasQr = tradeMode === "qr"
        if (outcome === "failed" || outcome === "cancelled") {
            note = Payment.statusText(outcome === "failed" ? "-1" : "2")
            noteBad = true
            // The QR window shows the trade's end until it is closed.
            if (!wasQr)
                paymentOver()
            return
        }
        if (outcome === "deadline") {
            note = "支付超时，交易已取消"
            noteBad = true
            if (wasQr)
                qrGivenUp()
            closeTrade(tradeSeq)
            followUp.error("顾客未在规定时间内完成支付，交易已取消")
            return
        }
        // A status query failed: a scanned code's trade is given up at once, the QR window
        // stays until it is closed.
        if (!wasQr)
            closeTrade(tradeSeq)
    }

    BackendRequest {
        id: backend
        objectName: "rechargeBackend"
        messageBox: talk.messageBox
    }

    TradeFollower {
        id: follower
        backend: backend
        onAnswered: function (status) {
            if (talk.tradeMode === "scan")
                talk.note = Payment.statusText(status)
        }
        onEnded: function (outcome, reply) { talk.followEnded(outcome) }
    }

    FollowUpBox { id: followUp; messageBox: talk.messageBox }
}
