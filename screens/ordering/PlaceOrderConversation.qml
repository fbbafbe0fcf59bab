import QtQuick 2.15
import Brenvo 1.0
import "orderheader.js" as Header

// The order form's requests: the customer's addresses and the time slots that open it, a new
// address, and the order header itself. It holds what the backend said; the form shows it.
Item {
    id: talk
    visible: false

    property var messageBox: null
    // While the addresses and the time slots are on their way.
    property bool loading: true
    // The customer's addresses, the default one first.
    property var addresses: []
    property var slots: []

    readonly property alias backend: backend

    // The addresses and the slots arrived: the form takes its defaults, the tags follow.
    signal opened()
    // Reading them failed with `text`; confirming the box asks again.
    signal openFailed(string text)
    // The addresses were read again after a new one was saved (`def` "1" when it is the
    // default now).
    signal addressAdded(string def)
    signal orderCreated(string orderNumber)
    // The order was not created: `retry` sends the very same request again when its outcome
    // is unknown, and is null when the backend refused it.
    signal orderFailed(string text, var retry)

    // Addresses and time slots are asked for at once; `opened` follows when both have
    // answered, so the form takes its defaults in one go. A failure is told once per attempt,
    // and load() after it asks only for what is still missing.
    property bool addressesLoaded: false
    property bool slotsLoaded: false
    property bool failureTold: false

    function open(userId) {
        addressesLoaded = false
        slotsLoaded = false
        load(userId)
    }

    function load(userId) {
        failureTold = false
        loading = !(addressesLoaded && slotsLoaded)
        if (!addressesLoaded && !backend.busy("getUserAddress"))
            backend.call("getUserAddress", "userAddress/list", { userId: userId }, function (reply) {
                talk.takeAddresses(reply)
                talk.addressesLoaded = true
                talk.answered()
            }, talk.failedOpening)
        if (!slotsLoaded && !backend.busy("getServiceTime"))
            backend.call("getServiceTime", "serviceTime/list", { type: "1" }, function (reply) {
                talk.slots = backend.listOf(reply, ["timeStart", "timeEnd"], 1)
                talk.slotsLoaded = true
                talk.answered()
            }, talk.failedOpening)
    }

    function answered() {
        if (!addressesLoaded || !slotsLoaded)
            return
        loading = false
        opened()
    }

    // The shade goes with the failure, so that "返回" stays in reach while the box is shown.
    function failedOpening(reply, unreachable) {
        loading = false
        if (failureTold)
            return
        failureTold = true
        openFailed(backend.failureText(unreachable))
    }

    function takeAddresses(reply) {
        addresses = Header.addressesDefaultFirst(backend.listOf(reply,
            ["id", "name", "phone", "regionalDesc", "detail", "def"], 0))
    }

    // A new address joins the list; a refusal is logged and changes nothing.
    function addAddress(fields) {
        if (backend.busy("AddUserAddr"))
            return
        backend.write("AddUserAddr", "userAddress/add", fields, function () {
            backend.call("getUserAddress", "userAddress/list", { userId: fields.userId }, function (reply) {
                talk.takeAddresses(reply)
                talk.addressAdded(fields.def)
            })
        })
    }

    // "提交下单" while the order is being created does nothing: one order per submission. An
    // order whose answer was lost goes again, on the worker's confirmation or next press, as
    // the very same request; a refusal is final.
    function createOrder(fields) {
        if (backend.busy("createOrder"))
            return
        // The note's entry carries the time it was written: the order is what the worker typed.
        var intent = Header.orderIntent(fields)
        backend.write("createOrder", "orderInfo/add", fields, function (reply) {
            talk.orderCreated(backend.request.getOrderName(reply))
        }, function (reply, unreachable) {
            var again = backend.held("orderInfo/add", fields, intent)
            talk.orderFailed(backend.failureText(unreachable), again ? function () { talk.createOrder(fields) } : null)
        }, intent)
    }

    BackendRequest {
        id: backend
        objectName: "contentBackend"
        messageBox: talk.messageBox
    }
}
