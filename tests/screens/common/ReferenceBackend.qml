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

    // The customer's phone scans the QR trade `seq` ("latest" for the newest); the stand-in's
    // HTTP status.
    function scanQr(seq) {
        var done = false
        var xhr = new XMLHttpRequest()
        xhr.onreadystatechange = function () { if (xhr.readyState === XMLHttpRequest.DONE) done = true }
        xhr.open("POST", TestSupport.backendUrl + "/wallet/scan?seq=" + seq)
        xhr.send("")
        testCase.tryVerify(function () { return done }, 5000, "no answer from the wallet")
        return xhr.status
    }
}
