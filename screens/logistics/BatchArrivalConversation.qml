import QtQuick 2.15
import Brenvo 1.0
import "logistics.js" as Logistics
import "requests.js" as Requests

// The arrival screen's requests, in its three ways: a batch back from the factory scanned and
// its garments confirmed, an order's garments confirmed, a garment confirmed by its code. It
// holds what the backend said: the batch or order, where it came from, the garments still to
// confirm and those confirmed.
Item {
    id: talk
    visible: false

    property var messageBox: null
    // The batch scanned (mode 0) and the order scanned (mode 1).
    property string batchId: ""
    property string batchNo: ""
    property string batchStatus: ""
    property string orderNo: ""
    property string orderId: ""
    // Where the garments came from: the factory, the store, when they left the factory (ms),
    // and who confirms them.
    property string factoryName: ""
    property string storeName: ""
    property var factoryTime: ""
    property string operatorName: ""
    // Arrival rows (Logistics.arrivalRows): still to confirm, and confirmed.
    property var pending: []
    property var confirmed: []

    readonly property alias backend: backend

    // A batch or an order was found: its garments are being read; the garment field is next.
    signal scanned()
    // A request was refused, or the backend could not be reached.
    signal told(string text)
    // A confirmation failed: `retry` sends the very same one again (a lost answer is
    // answered once), `reload` reads the lists again.
    signal confirmFailed(string text, bool unreachable, var retry, var reload)

    function clear() {
        batchId = ""
        batchNo = ""
        batchStatus = ""
        orderNo = ""
        orderId = ""
        factoryName = ""
        storeName = ""
        factoryTime = ""
        operatorName = ""
        pending = []
        confirmed = []
    }

    function showOrigin(data, time, worker) {
        factoryName = data.factoryName || ""
        storeName = data.storeName || ""
        factoryTime = time === undefined || time === null ? "" : time
        operatorName = worker || ""
    }

    function refused(tag) {
        return function (reply, unreachable) {
            console.log(Logs.logistics, tag + ": " + reply)
            talk.told(backend.failureText(unreachable))
        }
    }

    // --- By batch (mode 0) ----------------------------------------------------------------------

    function receiveBatch(code) {
        pending = []
        confirmed = []
        backend.write("ReceiveStore", "orderProductBatchOut/receiveStore", { batchCode: code }, function (reply) {
            var batch = Requests.dataObject(reply)
            talk.batchId = String(batch.id)
            talk.batchNo = String(batch.code)
            talk.batchStatus = String(batch.status)
            talk.showOrigin(batch, batch.factoryWorkTime, Session.workername)
            talk.loadBatch()
            talk.scanned()
        }, refused("ReceiveStore"))
    }

    function loadBatch() {
        backend.call("BatchCloth", "orderProductBatchOutRel/receiveProList", { outId: batchId, status: batchStatus },
                     function (reply) {
                         var split = Logistics.splitChecked(Logistics.arrivalRows(reply, false))
                         talk.pending = split.pending
                         talk.confirmed = split.confirmed
                     }, refused("BatchCloth"))
    }

    // One garment of the batch, or ("") every garment still to confirm.
    function confirmInBatch(garmentId) {
        var fields = { outId: batchId }
        if (garmentId !== "")
            fields.id = garmentId
        backend.write("ConfirmStore", "orderProductBatchOutRel/confirmStore", fields, function () {
            talk.pending = []
            talk.confirmed = []
            talk.loadBatch()
        }, function (reply, unreachable) {
            console.log(Logs.logistics, "ConfirmStore: " + reply)
            talk.confirmFailed(backend.failureText(unreachable), unreachable,
                               function () { talk.confirmInBatch(garmentId) }, talk.loadBatch)
        })
    }

    // --- By order (mode 1) ----------------------------------------------------------------------

    function findOrder(number) {
        pending = []
        confirmed = []
        backend.call("GetOrderInfo", "orderInfo/factoryOut/scanCode", { orderNo: number }, function (reply) {
            var order = Requests.dataObject(reply)
            talk.orderNo = String(order.orderNo)
            talk.orderId = String(order.orderId)
            talk.showOrigin(order, order.createTime, order.workName)
            talk.loadOrder()
            talk.scanned()
        }, refused("GetOrderInfo"))
    }

    // The garments still to confirm, then those confirmed.
    function loadOrder() {
        backend.call("ClothList", "orderProductRel/factoryOut/proList", { orderId: orderId, isStoreStatus: "0" },
                     function (reply) {
                         talk.pending = Logistics.arrivalRows(reply, false)
                         backend.call("AClothList", "orderProductRel/factoryOut/proList",
                                      { orderId: talk.orderId, isStoreStatus: "1" }, function (reply) {
                                          talk.confirmed = Logistics.arrivalRows(reply, false)
                                      }, talk.refused("AClothList"))
                     }, refused("ClothList"))
    }

    // One garment of the order, or ("") every garment of it still to confirm: a confirmation
    // always names what it confirms.
    function confirmInOrder(garmentId) {
        var fields = garmentId !== "" ? { id: garmentId } : { orderId: orderId }
        backend.write("ConfirmArrive", "orderProductRel/factoryOut/confirmStore", fields, function () {
            talk.loadOrder()
        }, function (reply, unreachable) {
            console.log(Logs.logistics, "ConfirmArrive: " + reply)
            talk.confirmFailed(backend.failureText(unreachable), unreachable,
                               function () { talk.confirmInOrder(garmentId) }, talk.loadOrder)
        })
    }

    // --- One garment (mode 2) -------------------------------------------------------------------

    function confirmGarment(code) {
        backend.write("ClothAs", "orderProductRel/reachStore/confirm", { scanCode: code }, function (reply) {
            var garment = Requests.dataObject(reply)
            talk.showOrigin(garment, garment.createTime, garment.workName)
            talk.confirmed = talk.confirmed.concat(Logistics.arrivalRows(reply, true))
        }, refused("ClothAs"))
    }

    BackendRequest {
        id: backend
        objectName: "batchArrivalBackend"
        messageBox: talk.messageBox
    }
}
