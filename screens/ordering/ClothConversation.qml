import QtQuick 2.15
import Brenvo 1.0
import "garmentrecord.js" as Record

// The garment entry's conversation with the backend: the order, the garment to change, the
// catalogue's pages and the save, each answer handed on through a signal. The save is a
// write (BackendRequest.write): saved again after an unknown outcome, the same garment goes
// as the very same request, so a lost reply never stores it twice; a refusal is final.
Item {
    id: conversation
    visible: false

    property var messageBox: null
    // From stockIn/queryOrder.
    property string orderId: ""
    property string pricingMode: ""
    readonly property alias backend: backend

    signal orderLoaded()
    signal detailLoaded(var detail)
    signal loadFailed(string text)
    signal pageLoaded(string kind, int page, var rows, int generation)
    signal pageFailed(string kind, int generation)
    signal saved()
    signal saveFailed(string text, bool unresolved)

    function refused(reply, unreachable) {
        conversation.loadFailed(backend.failureText(unreachable))
    }

    function loadOrder(keywords) {
        backend.call("queryOrder", "stockIn/queryOrder", { keywords: keywords }, function (reply) {
            conversation.orderId = backend.request.getqueryOrder(reply, "orderInfo", "id")
            conversation.pricingMode = backend.request.getqueryOrder(reply, "orderInfo", "pricingMode")
            conversation.orderLoaded()
        }, refused)
    }

    function loadDetail(code) {
        backend.call("GetClothInfo", "orderProductRel/detail", { scanCode: code }, function (reply) {
            var detail = Record.detailOf(reply)
            if (detail === null)
                conversation.loadFailed("")
            else
                conversation.detailLoaded(detail)
        }, refused)
    }

    // Failed catalogue requests are only logged: their grids stay as they were.
    function requestPage(kind, page, fields, generation, sel) {
        var r = Record.pageRequest(kind, sel, { orderId: orderId, pricingMode: pricingMode }, fields)
        backend.call(r.tag, r.path, r.fields, function (reply) {
            conversation.pageLoaded(kind, page, backend.listOf(reply, r.keys, 0), generation)
        }, function (reply, unreachable) {
            console.log(Logs.ordering, r.tag + ": " + reply)
            conversation.pageFailed(kind, generation)
        })
    }

    // "完成": a save already out is not sent twice. `unresolved` tells the worker's retry that
    // the same garment will go as the very same request.
    function save(sel) {
        if (backend.busy("FinishOrder") || backend.busy("FinishModiffCloth"))
            return
        var change = sel.changeMode
        var path = change ? "stockIn/update" : "stockIn/add"
        var fields = Record.saveFields(sel, orderId)
        backend.write(change ? "FinishModiffCloth" : "FinishOrder", path, fields, function () {
            conversation.saved()
        }, function (reply, unreachable) {
            conversation.saveFailed(backend.failureText(unreachable), backend.held(path, fields))
        })
    }

    BackendRequest {
        id: backend
        objectName: "clothBackend"
        messageBox: conversation.messageBox
    }
}
