import QtQuick 2.15
import "customer.js" as Customer

// Finding a customer's record (the `data` of userInfo/queryByKey, its member under `user`):
// by phone, member card or order number, by a member card's secret, or by what the worker
// typed at the pick-up counter. The conversation of the screens that search, and a part of
// those that open the order form for the customer they show. A look-up already out is not
// sent again (a scanner's Enter after a click).
Item {
    id: lookup
    visible: false

    property var messageBox: null
    // The tag of a look-up by key, as each screen names it.
    property string keyTag: "placeOrder"
    // A failed look-up is `failed`; otherwise the request piece's own handling (logged, or
    // told when the backend cannot be reached).
    property bool reportsFailures: false
    readonly property alias backend: backend

    // `record` is the customer record of `key`.
    signal found(string record, string userId, string phone, string key)
    // Nobody has that key; `byCard` when it was a card's secret.
    signal nobody(string key, bool byCard)
    signal failed(string text)

    // Whether a look-up is out.
    function busy() {
        return backend.pending > 0
    }

    function byKey(key) {
        send(keyTag, "userInfo/queryByKey", { key: key }, key, false)
    }

    function byCard(secret) {
        send("RfidUser", "rfid/user", { rfidSecret: secret }, secret, true)
    }

    // The pick-up counter's search: nobody is a refusal ("未找到该顾客"), a failure.
    function bySearch(typed) {
        send("UserInfo", "userInfo/info", { searchValue: typed }, typed, false)
    }

    function send(tag, path, fields, key, byCard) {
        if (backend.busy(tag))
            return
        backend.call(tag, path, fields, function (reply) { lookup.answer(reply, key, byCard) },
                     reportsFailures ? function (reply, unreachable) {
                         lookup.failed(backend.failureText(unreachable))
                     } : undefined)
    }

    function answer(reply, key, byCard) {
        var r = backend.request
        var record = r.josnData(reply)
        if (Customer.isRecord(record))
            found(record, r.getMemberInfo(record, "info", "id", "", 0), r.getMemberInfo(record, "info", "phone", "", 0), key)
        else
            nobody(key, byCard)
    }

    BackendRequest {
        id: backend
        messageBox: lookup.messageBox
    }
}
