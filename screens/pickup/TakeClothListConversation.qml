import QtQuick 2.15
import Brenvo 1.0
import "pickup.js" as Pickup

// The pick-up list's requests: the customer's orders page by page, and the customer looked up
// again before an order. The order shown beside the list has its own conversation.
Item {
    id: talk
    visible: false

    property var messageBox: null

    readonly property alias backend: backend
    readonly property alias lookup: lookup

    // A page of order rows (after each, the customer's tags are read).
    signal pageReceived(var rows)
    signal pageFailed(string text)
    signal customerFound(string record, string phone)

    // Page `fields` (pageNum, pageSize) of the orders listed by customer id (getFlag 1) or by
    // the typed order or card number (2).
    function requestPage(getFlag, orderKey, fields) {
        var key = Pickup.listFields(getFlag, orderKey)
        for (var k in key)
            fields[k] = key[k]
        backend.call("TakeList", "orderInfo/takeList2", fields, function (reply) {
            talk.pageReceived(Pickup.orderRows(reply))
        }, function (reply, unreachable) {
            talk.pageFailed(backend.failureText(unreachable))
        })
    }

    // "下单": the customer is read again by phone for the order form.
    function placeOrder(phone) {
        lookup.byKey(phone)
    }

    BackendRequest {
        id: backend
        objectName: "takeListBackend"
        messageBox: talk.messageBox
    }

    CustomerLookup {
        id: lookup
        messageBox: talk.messageBox
        keyTag: "ReturnPlace"
        onFound: function (record, userId, phone, key) { talk.customerFound(record, key) }
    }
}
