import QtQuick 2.15
import Brenvo 1.0
import "requests.js" as Requests

// The order view's requests: the order and its payments, handing out, completion, refunds,
// refund-washes, rework and its bag, credit, the refund records and printing. It holds what
// the backend said; the view shows it. Every write goes through BackendRequest.write: one
// whose answer was lost is sent again, on the worker's retry, as the very same request, so
// a garment is handed out and a refund asked for once.
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

    readonly property alias backend: backend
    readonly property alias prints: prints
    readonly property alias followUp: followUp

    // The order arrived (after its payments, for a paid order), or could not be read (once
    // its box was confirmed).
    signal loaded()
    signal loadFailed()
    // A refund or refund-wash request was recorded: `text` tells the worker.
    signal refundAsked(string text, bool wash)
    // What the refund window shows when the request failed.
    signal refundRefused(string text)
    // The garments went back to the factory; `bagRefusal` is why they did not go into the
    // bag chosen ("" when they did, or when none was to).
    signal reworked(string bagRefusal)
    signal credited()
    signal creditRefused(string text)
    // A page of open factory bags for the bag window.
    signal bagsListed(var rows)
    signal recordsListed(var refunds, var audits)

    function paid() {
        return String(order.payStatusText) === "已支付"
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
            talk.followUp.error(backend.failureText(unreachable), talk.loadFailed)
        })
    }

    function loadPayments() {
        backend.call("TradeOrder", "tradeOrder/list", { orderId: orderId }, function (reply) {
            var list = Requests.dataObject(reply).list
            talk.payments = Array.isArray(list) ? list : []
            talk.paymentsDone()
        }, function (reply) {
            console.log(Logs.pickup, "TradeOrder: " + reply)
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

    // "全部取衣", "取衣", "完成": the order is read again after each, and after a refusal,
    // which the worker is told.
    function act(tag, path, fields) {
        backend.writeWithRetry(followUp, tag, path, fields, function () { talk.load() }, function (text) {
            talk.followUp.error(text)
            talk.load()
        })
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
            console.log(Logs.pickup, "RefundListMM: " + reply)
            if (then)
                then()
        })
    }

    // `fields` from pickup.js refundFields(). A failure is shown in the refund window; "确定"
    // again with the same fields, after an unknown outcome, sends the very same request.
    function refund(wash, fields) {
        var tag = wash ? "ClothRefund" : "OrderRefund"
        backend.write(tag, wash ? "orderProductRelAudit/refund" : "tradeRefund/refund", fields, function () {
            talk.refundAsked(wash ? "已申请退洗，等待审批" : "已申请退款，等待审批", wash)
        }, function (reply, unreachable) {
            console.log(Logs.pickup, tag + ": " + reply)
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
    // ("" for no bag). A refused rework is told; so is a refused bag, after which the order
    // is read again all the same, as the garments did go back.
    function rework(ids, bagId, bagged) {
        var done = bagId !== "" && bagged.length > 0 ? function () { talk.bagReworked(bagId, bagged) }
                                                     : function () { talk.reworked("") }
        backend.writeWithRetry(followUp, "BackWashing", "orderProductRel/stockReworkBatch", { proIds: ids.join(",") },
                               done, function (text) { talk.followUp.error(text) })
    }

    function bagReworked(bagId, bagged) {
        backend.writeWithRetry(followUp, "AddBitch", "orderProductBatchInRel/addBatch",
                               { inId: bagId, orderProIds: bagged.join(",") },
                               function () { talk.reworked("") },
                               function (text) { talk.reworked(text) })
    }

    function listBags(fields) {
        fields.isFinish = "0"
        backend.call("BagList", "orderProductBatchIn/list", fields, function (reply) {
            talk.bagsListed(backend.listOf(reply, ["id", "code", "annexCnt", "productCnt"], 1))
        }, function (reply) { console.log(Logs.pickup, "BagList: " + reply) })
    }

    // A failure is told; "确定" again, after an unknown outcome, sends the very same request.
    function credit(remark) {
        backend.write("onCredit", "orderInfo/credit", { id: orderId, creditRemark: remark }, function () {
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

    FollowUpBox { id: followUp; messageBox: talk.messageBox }
}
