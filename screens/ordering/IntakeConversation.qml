import QtQuick 2.15
import PrinterHelper 1.0
import Brenvo 1.0
import "requests.js" as Requests
import "intake.js" as Intake

// The garment intake's conversation with the backend: the order and what follows it (the
// city's carriage, the photo upload token, the management notes), the order's writes, each
// reloading the order when it is done, and the printing of tickets and labels. The screen's
// windows send their requests through `backend` and `write` too, so a photo upload holds
// every reply of the screen until it is over.
Item {
    id: talk
    visible: false

    property var messageBox: null
    readonly property alias backend: backend
    readonly property alias followUp: followUp
    readonly property alias request: backend.request

    // The order shown, from stockIn/queryOrder.
    property string orderNo: ""
    property string orderId: ""
    property string userId: ""
    property var info: ({})
    property var flags: ({})
    property var rows: []
    property var carriage: ({ isCarriage: "0" })
    // Management notes of orderInfo/detail, newest first: { createTime, workName, remark }.
    property var notes: []
    property bool loading: false

    // The order arrived (or arrived again).
    signal orderLoaded()
    // A failure the worker confirms; `purpose` says what confirming it does ("order": the
    // order's actions are withdrawn, "settings": the settings screen opens).
    signal failed(string purpose, string text)
    signal remarkAdded()
    signal codeBound()

    readonly property var orderKeys: ["id", "orderNo", "transNo", "factoryTransNo", "createTime",
        "priority", "createCnt", "userId", "statusText", "orderPrice", "takeCarriage",
        "sendCarriage", "modifyPrice", "paymentPrice", "isModifyPrice", "userRemark",
        "name", "grade", "phone", "cardNo", "rfidNo", "cardName", "balance"]
    readonly property var flagKeys: ["isEnableFinishStockIn", "isPaid", "isEnableModifyPrice",
        "isEnablePay", "isEnableBatchIn", "isEnablePrint"]
    readonly property var rowKeys: ["id", "no", "scanCode", "type", "businessName", "productName",
        "serviceName", "addServiceDesc", "colorDesc", "flawDesc", "effectDesc", "brandName",
        "annexDesc", "serviceAmt", "saleAmt", "addsrvAmt", "subtotal", "isCustomNum", "count",
        "picCnt", "isEnableBindCode", "bindCode", "mercBusinessId", "businessId", "proTypeId",
        "productId", "proServiceId", "brandId", "chgSubtotal"]

    // --- Loading -----------------------------------------------------------------------------

    function load(number) {
        loading = true
        backend.call("OrderInfo", "stockIn/queryOrder", { keywords: number }, function (reply) {
            talk.takeOrder(reply)
            talk.loading = false
            talk.loadCarriage()
        }, function (reply, unreachable) {
            talk.loading = false
            talk.failed("order", backend.failureText(unreachable))
        })
    }

    function reload() {
        if (orderNo !== "")
            load(orderNo)
    }

    function takeOrder(reply) {
        var r = backend.request
        var order = {}
        for (var i = 0; i < orderKeys.length; ++i)
            order[orderKeys[i]] = r.getUserInfo(reply, orderKeys[i])
        var f = {}
        for (var k = 0; k < flagKeys.length; ++k)
            f[flagKeys[k]] = r.getReturnMsg(reply, flagKeys[k])
        // The picture is there before the block shows it.
        printer.creatQRCode(order.orderNo)
        info = order
        flags = f
        rows = backend.listOf(reply, rowKeys, 2)
        orderId = order.id
        userId = order.userId
        orderNo = order.orderNo
        orderLoaded()
    }

    // The order's chain goes on whatever each step answers: a missing carriage line or note
    // does not keep the order from being worked on.
    function loadCarriage() {
        backend.call("Carriage", "mercCity/carriage", {}, function (reply) {
            var r = backend.request
            talk.carriage = {
                isCarriage: r.getReturnMsg(reply, "isCarriage"),
                freeCarriageAmt: r.getReturnMsg(reply, "freeCarriageAmt"),
                takeCarriage: r.getReturnMsg(reply, "takeCarriage"),
                sendCarriage: r.getReturnMsg(reply, "sendCarriage")
            }
            talk.loadToken()
        }, function (reply) {
            console.log(Logs.ordering, "Carriage: " + reply)
            talk.loadToken()
        })
    }

    function loadToken() {
        backend.call("Qiniu", "attachment/qiniu/token", {}, function (reply) {
            Session.qiniuToken = backend.request.getReturnMsg(reply, "token")
            talk.loadNotes()
        }, function (reply) {
            console.log(Logs.ordering, "Qiniu: " + reply)
            talk.loadNotes()
        })
    }

    function loadNotes() {
        backend.call("GetOrderInfo", "orderInfo/detail", { id: orderId }, function (reply) {
            var list = Requests.dataObject(reply).remarkJson
            talk.notes = Array.isArray(list) ? list : []
        })
    }

    // --- The order's writes: each reloads the order when it is done ----------------------------

    // A write of the order's; the screen's windows send theirs here too. Done: `done` runs, by
    // default the order is read again. Its outcome unknown: the worker is told, and confirming
    // the box sends the very same request again (as does the worker's own retry). Refused:
    // `refused(text)` runs; by default the worker is told and the order read again, since what
    // was refused may have changed under the screen.
    function write(tag, path, fields, done, refused) {
        return backend.writeWithRetry(followUp, tag, path, fields, done || reload, refused || function (text) {
            talk.followUp.error(text)
            talk.reload()
        })
    }

    // The worker is shown a failure first, then the settings screen (printers, options).
    function toSettings(text) {
        talk.failed("settings", text)
    }

    function deleteGarment(id) {
        write("DeleteCloth", "stockIn/delete", { id: id })
    }

    function copyGarment(row) {
        write("CopyCloth", "stockIn/add", Intake.copyBody(row, orderId))
    }

    function finish() {
        write("Finished", "stockIn/finish", { id: orderId }, null, toSettings)
    }

    function modifyPrice(fen) {
        write("ModifyPrice", "orderInfo/modifyPrice", { id: orderId, modifyPrice: String(fen) })
    }

    function setWaybill(number) {
        write("SetCarriageNum", "orderInfo/updateFactoryTransNo", { orderId: orderId, transNo: number })
    }

    function addRemark(text) {
        write("AddRemark", "orderExt/addRemark", { id: orderId, remark: text }, function () {
            talk.remarkAdded()
            talk.loadNotes()
        }, function (text) { talk.followUp.error(text) })
    }

    function bind(id, code) {
        write("BindCode", "orderProductRel/bindCode", { id: id, bindCode: code }, function () {
            talk.codeBound()
            talk.reload()
        }, toSettings)
    }

    // --- Printing --------------------------------------------------------------------------------

    function printTicket() { prints.printTicket(orderId) }
    function printLabel(garmentId) { prints.printLabel(garmentId) }
    function printAllLabels() { prints.printAllLabels(orderId) }

    BackendRequest {
        id: backend
        objectName: "intakeBackend"
        messageBox: talk.messageBox
    }

    // A missing printer opens the settings, where the worker chooses one.
    OrderPrints {
        id: prints
        backend: backend
        onRefused: function (text) { talk.failed("settings", text) }
    }

    FollowUpBox { id: followUp; messageBox: talk.messageBox }

    // Draws the order's QR picture for the order block.
    PrinterHelper { id: printer }
}
