import QtQuick 2.15
import Brenvo 1.0
import "requests.js" as Requests

// The order view's requests: the order and its payments, handing out, completion, refunds,
// refund-washes, rework and its bag, credit, the refund records and printing. It holds what
// the backend said; the view shows it.
Item {
    id: talk
    visible: false

    property string orderId: ""
    property var messageBox: null
    // The full-window order details read the payments of every order, then the refund means,
    // before the order is shown; the pick-up counter reads the payments of a paid order only,
    // and the means when the refund window opens.
    property bool readsEverything: false

    // The order as orderInfo/detail gives it, its garments and its paid parts.
    property var order: ({})
    property var garments: []
    property var payments: []
    property var refundMeans: []
    property bool loading: true
    // A refund whose answer did not arrive is sent again as the very same request, so the
    // backend answers it once: { key: what the worker asked, body: the request sent }.
    property var pendingRefund: null

    readonly property alias backend: backend
    readonly property alias prints: prints

    // The order arrived (after its payments, for a paid order), or could not be read (its box
    // was shown).
    signal loaded()
    signal loadFailed()
    // A refund or refund-wash request was recorded: `text` tells the worker.
    signal refundAsked(string text, bool wash)
    // What the refund window shows when the backend refused the request.
    signal refundRefused(string text)
    signal reworked()
    signal credited()
    signal creditRefused(string text)
    // A page of open factory bags for the bag window.
    signal bagsListed(var rows)
    signal recordsListed(var refunds, var audits)

    function paid() {
        return String(order.payStatusText) === "已支付"
    }

    function errorBox(title) {
        return function (reply, unreachable) {
            talk.messageBox.btnMsgMessageErrBox(title, backend.failureText(unreachable))
        }
    }

    // --- The order --------------------------------------------------------------------------

    function load() {
        loading = true
        backend.call("OrderInfo", "orderInfo/detail", { id: orderId }, function (reply) {
            talk.order = Requests.dataObject(reply)
            talk.garments = Array.isArray(talk.order.productList) ? talk.order.productList : []
            talk.payments = []
            if (talk.paid() || talk.readsEverything)
                talk.loadPayments()
            else
                talk.done()
        }, function (reply, unreachable) {
            talk.loading = false
            talk.errorBox("错误提示")(reply, unreachable)
            talk.loadFailed()
        })
    }

    function loadPayments() {
        backend.call("TradeOrder", "tradeOrder/list", { orderId: orderId }, function (reply) {
            var list = Requests.dataObject(reply).list
            talk.payments = Array.isArray(list) ? list : []
            talk.paymentsDone()
        }, function (reply) {
            console.log("TradeOrder: " + reply)
            talk.paymentsDone()
        })
    }

    function paymentsDone() {
        if (readsEverything)
            loadRefundMeans(done)
        else
            done()
    }

    function done() {
        loading = false
        loaded()
    }

    // "全部取衣", "取衣", "完成": the order is read again after each.
    function act(tag, path, fields) {
        if (backend.busy(tag))
            return
        backend.call(tag, path, fields, function () { talk.load() }, errorBox("错误提示"))
    }

    function signOrder() { act("SignOrder", "orderInfo/sign", { id: orderId }) }
    function pick(ids) { act("PickCloth", "orderProductRel/productSign", { orderProIds: ids.join(",") }) }
    function complete() { act("CompleteOrder", "orderInfo/complete", { id: orderId }) }

    // --- Refunds ----------------------------------------------------------------------------

    // `then` (optional) runs once the means came, or did not.
    function loadRefundMeans(then) {
        refundMeans = []
        backend.call("RefundListMM", "sysDicKey/refundMethodList", {}, function (reply) {
            talk.refundMeans = backend.listOf(reply, ["id", "showText"], 0)
            if (then)
                then()
        }, function (reply) {
            console.log("RefundListMM: " + reply)
            if (then)
                then()
        })
    }

    // `fields` from pickup.js refundFields(); the same fields after an unanswered request send
    // that request again unchanged.
    function refund(wash, fields) {
        var tag = wash ? "ClothRefund" : "OrderRefund"
        if (backend.busy(tag))
            return
        var key = tag + JSON.stringify(fields)
        if (pendingRefund === null || pendingRefund.key !== key)
            pendingRefund = { key: key, body: backend.sessionBody(fields) }
        backend.callBody(tag, wash ? "orderProductRelAudit/refund" : "tradeRefund/refund", pendingRefund.body,
                         function () {
                             talk.pendingRefund = null
                             talk.refundAsked(wash ? "已申请退洗，等待审批" : "已申请退款，等待审批", wash)
                         }, function (reply, unreachable) {
                             if (!unreachable)
                                 talk.pendingRefund = null
                             console.log(tag + ": " + reply)
                             talk.refundRefused(backend.failureText(unreachable))
                         })
    }

    function loadRecords() {
        backend.call("RefundRecord", "tradeOrderRefund/list", { orderId: orderId }, function (reply) {
            var refunds = backend.listOf(reply, ["seq", "refundMethodText", "createTime", "amount", "statusText"], 1)
            backend.call("ExamineRecord", "tradeAudit/refund/list", { orderId: talk.orderId }, function (reply) {
                talk.recordsListed(refunds, backend.listOf(reply, ["seq", "createTime", "amount", "auditStatusText"], 1))
            })
        })
    }

    // --- Rework, bags, credit ---------------------------------------------------------------

    // The garments go back to the factory; those already bagged once go into `bagId` after it
    // ("" for no bag).
    function rework(ids, bagId, bagged) {
        if (backend.busy("BackWashing"))
            return
        backend.call("BackWashing", "orderProductRel/stockReworkBatch", { proIds: ids.join(",") }, function () {
            if (bagId === "" || bagged.length === 0) {
                talk.reworked()
                return
            }
            backend.call("AddBitch", "orderProductBatchInRel/addBatch", { inId: bagId, orderProIds: bagged.join(",") },
                         function () { talk.reworked() },
                         function (reply) { console.log("AddBitch: " + reply) })
        }, function (reply) { console.log("BackWashing: " + reply) })
    }

    function listBags(fields) {
        fields.isFinish = "0"
        backend.call("BagList", "orderProductBatchIn/list", fields, function (reply) {
            talk.bagsListed(backend.listOf(reply, ["id", "code", "annexCnt", "productCnt"], 1))
        }, function (reply) { console.log("BagList: " + reply) })
    }

    function credit(remark) {
        if (backend.busy("onCredit"))
            return
        backend.call("onCredit", "orderInfo/credit", { id: orderId, creditRemark: remark }, function () {
            talk.credited()
        }, function (reply, unreachable) {
            talk.creditRefused(backend.failureText(unreachable))
        })
    }

    BackendRequest {
        id: backend
        objectName: "orderInfoBackend"
        messageBox: talk.messageBox
    }

    OrderPrints {
        id: prints
        backend: backend
        onRefused: function (text) { talk.messageBox.btnMsgMessageInformationBox("提示", text) }
    }
}
