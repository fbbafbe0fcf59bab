import QtQuick 2.15
import BrenvoTest 1.0
import "qrc:/"

// The test run's reference backend reached beside the screen under test, to set up records
// and to read back what a screen stored: a call signed with the test's session, and the
// customer's phone of the wallet stand-in. `testCase` waits for the answers.
QtObject {
    property var testCase

    property Component requestComponent: Component { BackendRequest {} }
    // One line to the backend for all of the test's calls, made at the first.
    property var backend: null

    // The reply text of a call, answered or refused.
    function text(path, fields) {
        if (backend === null)
            backend = requestComponent.createObject(testCase)
        var reply = null
        backend.call("t", path, fields, function (text) { reply = text }, function (text) { reply = text })
        testCase.tryVerify(function () { return reply !== null }, 5000, "no reply to " + path)
        return reply
    }

    // The whole reply of a call, answered or refused.
    function data(path, fields) {
        return JSON.parse(text(path, fields))
    }

    // A new order of member `userId` in the test's store with one garment of `fen`; its id and
    // number.
    function newOrder(userId, fen) {
        var number = data("orderInfo/add", { userId: String(userId), takeMode: "1", sendMode: "1", priority: "0",
                                             takeAddrId: "", sendAddrId: "", remark: "", userRemark: "" }).data
        var id = String(data("stockIn/queryOrder", { keywords: number }).data.orderInfo.id)
        testCase.compare(data("stockIn/add", { orderId: id, productId: "1", proServiceId: "1",
                                               chgSubtotal: String(fen) }).httpCode, 200)
        return { id: id, number: number }
    }

    // --- The factory road ---------------------------------------------------------------------

    // A new order of member `userId` with one garment of `fen`, its intake finished: the garment
    // waits for a factory bag. The order's id and number, the garment's id and code.
    function waitingGarment(userId, fen) {
        var order = newOrder(userId, fen)
        testCase.compare(data("stockIn/finish", { id: order.id }).httpCode, 200)
        var garment = data("stockIn/queryOrder", { keywords: order.number }).data.proList[0]
        return { orderId: order.id, orderNo: order.number, id: String(garment.id), code: garment.scanCode }
    }

    // A new bag holding the garments (objects of waitingGarment), completed unless `open`; its
    // id and code.
    function bagOf(garments, open) {
        var bag = data("orderProductBatchIn/add", {}).data
        var ids = garments.map(function (g) { return g.id }).join(",")
        testCase.compare(data("orderProductBatchInRel/addBatch", { inId: String(bag.id), orderProIds: ids }).httpCode, 200)
        if (!open)
            testCase.compare(data("orderProductBatchIn/complete", { id: String(bag.id) }).httpCode, 200)
        return { id: String(bag.id), code: bag.code }
    }

    // A garment's state as the store's garment list shows it ("已入袋", "已到店", ...).
    function garmentStatus(code) {
        var list = data("orderProductRel/proList", { keywords: code }).data.list
        testCase.compare(list.length, 1, "no garment " + code)
        return list[0].statusText
    }

    // A step of the factory stand-in ("collect", "receive", "sendBack", "return") on the bag of
    // that code: its HTTP status and its answer.
    function factory(step, bag) {
        return standIn("/factory/" + step + "?bag=" + bag)
    }

    // A stand-in's answer to a POST of `target`: its HTTP status and its JSON (or text).
    function standIn(target) {
        var done = false
        var xhr = new XMLHttpRequest()
        xhr.onreadystatechange = function () { if (xhr.readyState === XMLHttpRequest.DONE) done = true }
        xhr.open("POST", TestSupport.backendUrl + target)
        xhr.send("")
        testCase.tryVerify(function () { return done }, 5000, "no answer from " + target)
        var body = null
        try { body = JSON.parse(xhr.responseText) } catch (e) { body = xhr.responseText }
        return { status: xhr.status, body: body }
    }

    // The customer's phone scans the QR trade `seq` ("latest" for the newest); the stand-in's
    // HTTP status.
    function scanQr(seq) {
        return standIn("/wallet/scan?seq=" + seq).status
    }
}
