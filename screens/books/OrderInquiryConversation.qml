import QtQuick 2.15
import Brenvo 1.0
import "books.js" as Books
import "requests.js" as Requests

// The order book's requests: its pages, the order-status choices, and what a row starts:
// voiding, a management note, credit and the ticket (the bag window, the cashier and the
// intake have their own). It holds what the backend said; the view shows it.
Item {
    id: talk
    visible: false

    property var messageBox: null
    property bool loading: false
    // The "ORDER_STATUS" choices ({text, val}), read again each time the filter opens.
    property var statuses: []

    readonly property alias backend: backend
    readonly property alias prints: prints

    signal pageReceived(var rows)
    // A refused page is logged and the list stays; one that never came is told (`refused`).
    signal pageFailed()
    // A write went through (the list is read again), or was refused with `text`.
    signal voided()
    signal remarkAdded()
    signal credited()
    signal refused(string text)
    // The ticket cannot be printed (no ticket printer).
    signal printRefused(string text)

    // A page of the book: `fields` are the filters (books.js orderListFields), `paging` the page.
    function requestPage(fields, paging) {
        var body = {}
        for (var key in paging)
            body[key] = paging[key]
        for (var f in fields)
            body[f] = fields[f]
        loading = true
        backend.call("getOrderList", "orderInfo/list", body, function (reply) {
            talk.loading = false
            var list = Requests.dataObject(reply).list
            talk.pageReceived((Array.isArray(list) ? list : []).map(Books.bookRow))
        }, function (reply, unreachable) {
            console.log(Logs.books, "getOrderList: " + reply)
            talk.loading = false
            talk.pageFailed()
            if (unreachable)
                talk.refused(backend.failureText(true))
        })
    }

    function loadStatuses() {
        statuses = []
        backend.call("OrderStatus", "sysDicKey/keyList", { code: "ORDER_STATUS" }, function (reply) {
            talk.statuses = backend.listOf(reply, ["text", "val"], 0)
        }, function (reply) { console.log(Logs.books, "OrderStatus: " + reply) })
    }

    // Each write is told when the backend refuses it, and changes nothing then. (The bag
    // window writes through it too.)
    function write(tag, path, fields, done) {
        backend.write(tag, path, fields, done, function (reply, unreachable) {
            console.log(Logs.books, tag + ": " + reply)
            talk.refused(backend.failureText(unreachable))
        })
    }

    function voidOrder(orderId, reason) {
        write("DestoryOrder", "orderInfo/destroy", { id: String(orderId), remark: reason },
                  function () { talk.voided() })
    }

    function addRemark(orderId, text) {
        write("AddRemark", "orderExt/addRemark", { id: String(orderId), remark: text },
                  function () { talk.remarkAdded() })
    }

    function credit(orderId, remark) {
        write("onCredit", "orderInfo/credit", { id: String(orderId), creditRemark: remark },
                  function () { talk.credited() })
    }

    BackendRequest {
        id: backend
        objectName: "orderInquiryBackend"
        messageBox: talk.messageBox
    }

    OrderPrints {
        id: prints
        backend: backend
        onRefused: function (text) { talk.printRefused(text) }
    }
}
