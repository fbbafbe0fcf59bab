import QtQuick 2.15
import Brenvo 1.0
import "requests.js" as Requests

// A factory bag's requests: the bag and its garments, a garment scanned in, garments added
// from the waiting list, taken out or moved to another open bag, the bag completed, its label,
// and the pages of the waiting list and of the open bags. It holds what the backend said of
// the bag; the view shows it.
Item {
    id: talk
    visible: false

    property string codeId: ""
    property var messageBox: null
    // The bag (orderProductBatchIn/detail) and its garments (orderProductBatchInRel/list).
    property var bag: ({})
    property var garments: []
    property bool loading: true
    // Reads answered after a later one was sent are dropped: scans in quick succession each
    // read the bag again, and the last read is the one to show.
    property int generation: 0

    readonly property alias backend: backend
    readonly property alias label: label

    // The bag could not be read: the screen has nothing to show.
    signal bagFailed(string text)
    // Its garments could not be read; reading them again may do.
    signal garmentsFailed(string text)
    // A request was refused: `text` tells the worker.
    signal told(string text)
    // The label did not print: `text` says why.
    signal labelRefused(string text)
    // The chosen garments went in, or moved: the window that chose them closes.
    signal added()
    signal moved()
    signal waitingReceived(var rows)
    signal waitingFailed()
    signal bagsReceived(var rows, int count)
    signal bagsFailed()

    // The bag, then its garments.
    function load() {
        loading = true
        var current = ++generation
        backend.call("BatchDetail", "orderProductBatchIn/detail", { id: codeId }, function (reply) {
            if (current !== talk.generation)
                return
            talk.bag = Requests.dataObject(reply)
            talk.loadGarments()
        }, function (reply, unreachable) {
            if (current !== talk.generation)
                return
            talk.loading = false
            talk.bagFailed(backend.failureText(unreachable))
        })
    }

    function loadGarments() {
        loading = true
        var current = generation
        backend.call("BatchClothList", "orderProductBatchInRel/list", { inId: codeId }, function (reply) {
            if (current !== talk.generation)
                return
            var list = Requests.dataObject(reply).list
            talk.garments = Array.isArray(list) ? list : []
            talk.loading = false
        }, function (reply, unreachable) {
            if (current !== talk.generation)
                return
            talk.loading = false
            talk.garmentsFailed(backend.failureText(unreachable))
        })
    }

    // A write about the bag; the bag is read again after it, and `then` runs.
    function change(tag, path, fields, then) {
        backend.write(tag, path, fields, function () {
            talk.load()
            if (then)
                then()
        }, function (reply, unreachable) {
            console.log(Logs.logistics, tag + ": " + reply)
            talk.told(backend.failureText(unreachable))
        })
    }

    function scan(code) {
        change("AddCloths", "orderProductBatchInRel/add", { inId: codeId, scanCode: code })
    }

    function addChosen(ids) {
        change("AddCloth", "orderProductBatchInRel/addBatch", { inId: codeId, orderProIds: ids.join(",") },
               function () { talk.added() })
    }

    function takeOut(ids) {
        change("DeleteCloth", "orderProductBatchInRel/deleteBatch", { ids: ids.join(",") })
    }

    function move(targetId, ids) {
        change("MoveCloth", "orderProductBatchInRel/shift", { inId: targetId, orderProIds: ids.join(",") },
               function () { talk.moved() })
    }

    function complete() {
        change("FinishBatch", "orderProductBatchIn/complete", { id: codeId })
    }

    // A page of the garments waiting for a bag.
    function requestWaiting(paging) {
        backend.call("ClothList", "orderProductRel/batchInList", paging, function (reply) {
            talk.waitingReceived(backend.listOf(reply, ["id", "productName", "orderNo", "scanCode", "serviceName", "subtotal"], 1))
        }, function (reply, unreachable) {
            talk.waitingFailed()
            talk.told(backend.failureText(unreachable))
        })
    }

    // A page of the open bags; the view lists those a garment may move to.
    function requestBags(paging) {
        var fields = { pageNum: paging.pageNum, pageSize: paging.pageSize, status: "1", isFinish: "0" }
        backend.call("BatchList", "orderProductBatchIn/list", fields, function (reply) {
            var rows = backend.listOf(reply, ["id", "code", "annexCnt", "productCnt", "isFinish"], 1)
            talk.bagsReceived(rows, rows.length)
        }, function (reply, unreachable) {
            talk.bagsFailed()
            talk.told(backend.failureText(unreachable))
        })
    }

    BackendRequest {
        id: backend
        objectName: "intoFactoryBatchBackend"
        messageBox: talk.messageBox
    }

    BagLabelPrint {
        id: label
        backend: backend
        onRefused: function (text) { talk.labelRefused(text) }
    }
}
