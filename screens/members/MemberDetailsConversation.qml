import QtQuick 2.15
import Brenvo 1.0
import "records.js" as Records

// The member details' requests: the member, the addresses and what changes them, the pages
// of the record tabs, and the member looked up before an order. It holds what the backend
// said; the view and its record tabs show it.
Item {
    id: talk
    visible: false

    property string userId: ""
    property var messageBox: null
    // While the member, then the first addresses, are on their way; a failure ends it too, so
    // that "返回" is always in reach.
    property bool loading: true
    // The `data` of userInfo/detail.
    property string detail: ""
    property bool addressesShown: false

    readonly property alias backend: backend
    readonly property alias lookup: lookup

    signal memberLoaded()
    signal memberFailed(string text)
    // `first` the first time the screen shows them: the member's tags follow.
    signal addressesLoaded(var addresses, bool first)
    signal recordsReceived(string key, var cards)
    // Reading (or changing) the addresses failed with `text`.
    signal addressesFailed(string text)
    // Reading a page of tab `key` failed with `text`.
    signal tabFailed(string key, string text)
    signal addressSaved()
    signal addressRefused(string text)
    signal customerFound(string record, string phone)

    function load() {
        loading = true
        backend.call("UserInfo", "userInfo/detail", { id: userId }, function (reply) {
            talk.detail = backend.request.josnData(reply)
            talk.memberLoaded()
        }, function (reply, unreachable) {
            talk.loading = false
            talk.memberFailed(backend.failureText(unreachable))
        })
    }

    function addressFailure(reply, unreachable) {
        talk.loading = false
        talk.addressesFailed(backend.failureText(unreachable))
    }

    // --- Addresses -------------------------------------------------------------------------

    function loadAddresses() {
        backend.call("getUserAddress", "userAddress/list", { userId: userId }, function (reply) {
            var first = !talk.addressesShown
            talk.addressesShown = true
            talk.loading = false
            talk.addressesLoaded(Records.addresses(reply), first)
        }, addressFailure)
    }

    function setDefault(addressId) {
        backend.write("UpdateDefault", "userAddress/updateDefault", { id: addressId }, loadAddresses,
                      addressFailure)
    }

    function removeAddress(addressId) {
        backend.write("DeleteUserAddr", "userAddress/delete", { id: addressId }, loadAddresses,
                      addressFailure)
    }

    // A new address, or the one `editingId` names changed (the fields of a new one and its id).
    function saveAddress(editingId, fields) {
        if (backend.busy("AddUserAddr"))
            return
        fields.userId = userId
        var editing = editingId !== ""
        backend.write("AddUserAddr", editing ? "userAddress/update" : "userAddress/add",
                      editing ? Records.updateFields(editingId, fields) : fields, function () {
            talk.addressSaved()
        }, function (reply, unreachable) {
            talk.addressRefused(backend.failureText(unreachable))
        })
    }

    // --- Record tabs -----------------------------------------------------------------------

    // Page `number` of tab `key`; `fields` holds the paging. The coupon tab has one page only.
    function recordPage(key, number, fields) {
        var request = Records.requests[key]
        if (!request.paged && number > 1) {
            recordsReceived(key, [])
            return
        }
        if (request.paged)
            fields.userId = userId
        else
            fields = { userId: userId }
        backend.call(request.tag, request.path, fields, function (reply) {
            talk.recordsReceived(key, Records.cards(key, reply, Session.timerToDate, Session.timerToDates, Date.now()))
        }, function (reply, unreachable) {
            talk.tabFailed(key, backend.failureText(unreachable))
        })
    }

    function placeOrder(phone) {
        lookup.byKey(phone)
    }

    BackendRequest {
        id: backend
        objectName: "memberDetailsBackend"
        messageBox: talk.messageBox
    }

    CustomerLookup {
        id: lookup
        messageBox: talk.messageBox
        keyTag: "ReturnPlace"
        onFound: function (record, userId, phone, key) { talk.customerFound(record, key) }
    }
}
