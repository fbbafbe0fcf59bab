import QtQuick 2.15
import Brenvo 1.0
import "logistics.js" as Logistics
import "requests.js" as Requests

// The bag grid's requests: pages of the store's bags, a new bag, deleting and completing a
// bag, and its label. It holds nothing the backend said beyond the page it hands on.
Item {
    id: talk
    visible: false

    property var messageBox: null
    // While a page is on its way.
    property bool loading: true
    // The grid read from page 1 again (another tab, a search) drops the pages still on their
    // way for what it showed before.
    property int generation: 0

    readonly property alias backend: backend
    readonly property alias label: label

    signal pageReceived(var bags)
    signal pageFailed()
    // A new open bag, to be filled.
    signal bagCreated(string id, string code)
    signal bagRefused(string text)
    // A bag was deleted or completed: the grid is read again.
    signal changed()
    // What the worker is told: a refusal, or a label that did not print.
    signal told(string text)

    // One page of bags; `filter` holds the tab's status and the searched keywords. Page 1
    // starts the grid afresh.
    function requestPage(filter, paging) {
        if (paging.pageNum === "1")
            ++generation
        var current = generation
        loading = true
        backend.call("BatchList", "orderProductBatchIn/list", Logistics.bagListFields(filter, paging), function (reply) {
            if (current !== talk.generation)
                return
            talk.loading = false
            talk.pageReceived(backend.listOf(reply, Logistics.bagKeys, 1))
        }, function (reply, unreachable) {
            console.log(Logs.logistics, "BatchList: " + reply)
            if (current !== talk.generation)
                return
            talk.loading = false
            talk.pageFailed()
            if (unreachable)
                talk.told(backend.failureText(true))
        })
    }

    function addBag() {
        backend.write("AddNewBatch", "orderProductBatchIn/add", {}, function (reply) {
            var bag = Requests.dataObject(reply)
            talk.bagCreated(String(bag.id), String(bag.code))
        }, function (reply, unreachable) {
            talk.bagRefused(backend.failureText(unreachable))
        })
    }

    function deleteBag(id) {
        change("DeleteBatch", "orderProductBatchIn/delete", id)
    }

    function completeBag(id) {
        change("FinishBatch", "orderProductBatchIn/complete", id)
    }

    // A refused change is told (the grid may show a bag another terminal has changed since)
    // and the grid read again either way.
    function change(tag, path, id) {
        backend.write(tag, path, { id: String(id) }, function () {
            talk.changed()
        }, function (reply, unreachable) {
            console.log(Logs.logistics, tag + ": " + reply)
            talk.told(backend.failureText(unreachable))
            if (!unreachable)
                talk.changed()
        })
    }

    BackendRequest {
        id: backend
        objectName: "sendFactoryBackend"
        messageBox: talk.messageBox
    }

    BagLabelPrint {
        id: label
        backend: backend
        onRefused: function (text) { talk.told(text) }
    }
}
