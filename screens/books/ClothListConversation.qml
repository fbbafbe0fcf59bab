import QtQuick 2.15
import Brenvo 1.0
import "requests.js" as Requests

// The garment list's requests: its pages, the status and factory choices, binding an
// electronic label and printing a garment's label. It holds what the backend said; the view
// shows it.
Item {
    id: talk
    visible: false

    property var messageBox: null
    property bool loading: false
    // The backend's choices ({text, val}); loaded once, when a filter is first opened.
    property var statuses: []
    property var factories: []

    readonly property alias backend: backend
    readonly property alias prints: prints

    signal pageReceived(var rows)
    signal pageFailed(string text)
    // The label is on the garment, or it was refused with `text`.
    signal bound()
    signal bindRefused(string text)
    // A label could not be printed (no label printer).
    signal printRefused(string text)

    // A page of the list: `fields` are the filters (books.js clothListFields), `paging` the page.
    function requestPage(fields, paging) {
        var body = {}
        for (var key in paging)
            body[key] = paging[key]
        for (var f in fields)
            body[f] = fields[f]
        loading = true
        backend.call("ClothInfo", "orderProductRel/proList", body, function (reply) {
            talk.loading = false
            var list = Requests.dataObject(reply).list
            talk.pageReceived(Array.isArray(list) ? list : [])
        }, function (reply, unreachable) {
            talk.loading = false
            talk.pageFailed(backend.failureText(unreachable))
        })
    }

    function loadStatuses() {
        if (statuses.length > 0 || backend.busy("ClothStatus"))
            return
        backend.call("ClothStatus", "orderProductRel/status/list", {}, function (reply) {
            talk.statuses = backend.listOf(reply, ["text", "val"], 0)
        }, function (reply) { console.log(Logs.books, "ClothStatus: " + reply) })
    }

    function loadFactories() {
        if (factories.length > 0 || backend.busy("FactoryList"))
            return
        backend.call("FactoryList", "factory/merc/list", {}, function (reply) {
            talk.factories = backend.listOf(reply, ["name", "id"], 0).map(function (f) {
                return { text: f.name, val: f.id }
            })
        }, function (reply) { console.log(Logs.books, "FactoryList: " + reply) })
    }

    // A refused label changes nothing; the window stays open and the worker is told why.
    function bind(garmentId, code) {
        backend.write("BindCode", "orderProductRel/bindCode", { id: String(garmentId), bindCode: code },
                      function () { talk.bound() },
                      function (reply, unreachable) {
                          console.log(Logs.books, "BindCode: " + reply)
                          talk.bindRefused(backend.failureText(unreachable))
                      })
    }

    BackendRequest {
        id: backend
        objectName: "clothListBackend"
        messageBox: talk.messageBox
    }

    OrderPrints {
        id: prints
        backend: backend
        onRefused: function (text) { talk.printRefused(text) }
    }
}
