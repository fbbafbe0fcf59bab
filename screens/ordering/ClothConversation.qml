import QtQuick 2.15
import Brenvo 1.0
import "garmentrecord.js" as Record

// The garment entry's conversation with the backend: the order, the garment to change, the
// catalogue's pages and the save, each answer handed on through a signal. A save whose
// outcome is not known (no answer, or a fault of the service) is sent again as the very same
// request, so a lost reply never stores the garment twice; a refusal is final.
Item {
    id: conversation
    visible: false

    property var messageBox: null
    // From stockIn/queryOrder.
    property string orderId: ""
    property string pricingMode: ""
    // The save last sent, { tag, path, fields, body }, and whether its outcome is unknown.
    property var saveRequest: null
    property bool saveUnresolved: false
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
            console.log(r.tag + ": " + reply)
            conversation.pageFailed(kind, generation)
        })
    }

    // "完成": a save already out is not sent twice; after a save whose outcome is not known,
    // the same garment goes again as the very same request.
    function save(sel) {
        if (saveRequest !== null && backend.busy(saveRequest.tag))
            return
        var fields = Record.saveFields(sel, orderId)
        if (saveUnresolved && JSON.stringify(fields) === JSON.stringify(saveRequest.fields)) {
            resend()
            return
        }
        var change = sel.changeMode
        saveRequest = {
            tag: change ? "FinishModiffCloth" : "FinishOrder",
            path: change ? "stockIn/update" : "stockIn/add",
            fields: fields,
            body: backend.sessionBody(fields)
        }
        resend()
    }

    function resend() {
        saveUnresolved = false
        backend.callBody(saveRequest.tag, saveRequest.path, saveRequest.body, function () {
            conversation.saved()
        }, function (reply, unreachable) {
            conversation.saveUnresolved = unreachable || Number(Session.httpCode) >= 500
            conversation.saveFailed(backend.failureText(unreachable), conversation.saveUnresolved)
        })
    }

    BackendRequest {
        id: backend
        objectName: "clothBackend"
        messageBox: conversation.messageBox
    }
}
