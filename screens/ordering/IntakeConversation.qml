import QtQuick 2.15
import PrinterHelper 1.0
import Brenvo 1.0
import "requests.js" as Requests
import "intake.js" as Intake

// The garment intake's conversation with the backend: the order and what follows it (the
// city's carriage, the photo upload token, the management notes), the order's actions, each
// reloading the order when it is done, and the printing of tickets and labels. The screen's
// windows send their requests through `backend` too, so a photo upload holds every reply of
// the screen until it is over.
Item {
    id: talk
    visible: false

    property var messageBox: null
    readonly property alias backend: backend
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

    // A failure the worker is shown, then `purpose` runs.
    function failWith(purpose) {
        return function (reply, unreachable) {
            talk.failed(purpose, backend.failureText(unreachable))
        }
    }

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
            console.log("Carriage: " + reply)
            talk.loadToken()
        })
    }

    function loadToken() {
        backend.call("Qiniu", "attachment/qiniu/token", {}, function (reply) {
            Session.qiniuToken = backend.request.getReturnMsg(reply, "token")
            talk.loadNotes()
        }, function (reply) {
            console.log("Qiniu: " + reply)
            talk.loadNotes()
        })
    }

    function loadNotes() {
        backend.call("GetOrderInfo", "orderInfo/detail", { id: orderId }, function (reply) {
            var list = Requests.dataObject(reply).remarkJson
            talk.notes = Array.isArray(list) ? list : []
        })
    }

    // --- The order's actions: each reloads the order when it is done --------------------------

    // An action in flight ignores a second trigger.
    function act(tag, path, fields, onFailure) {
        if (backend.busy(tag))
            return
        backend.call(tag, path, fields, function () { talk.reload() }, onFailure)
    }

    function deleteGarment(id) {
        act("DeleteCloth", "stockIn/delete", { id: id })
    }

    function copyGarment(row) {
        act("CopyCloth", "stockIn/add", Intake.copyBody(row, orderId))
    }

    function finish() {
        act("Finished", "stockIn/finish", { id: orderId }, failWith("settings"))
    }

    function modifyPrice(fen) {
        act("ModifyPrice", "orderInfo/modifyPrice", { id: orderId, modifyPrice: String(fen) })
    }

    function setWaybill(number) {
        act("SetCarriageNum", "orderInfo/updateFactoryTransNo", { orderId: orderId, transNo: number })
    }

    function addRemark(text) {
        if (backend.busy("AddRemark"))
            return
        backend.call("AddRemark", "orderExt/addRemark", { id: orderId, remark: text }, function () {
            talk.remarkAdded()
            talk.loadNotes()
        })
    }

    function bind(id, code) {
        if (backend.busy("BindCode"))
            return
        backend.call("BindCode", "orderProductRel/bindCode", { id: id, bindCode: code }, function () {
            talk.codeBound()
            talk.reload()
        }, failWith("settings"))
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

    // Draws the order's QR picture for the order block.
    PrinterHelper { id: printer }
}
