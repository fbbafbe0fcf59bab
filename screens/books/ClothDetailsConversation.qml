import QtQuick 2.15
import Brenvo 1.0
import "books.js" as Books
import "requests.js" as Requests

// The garment details' one request: the garment, its customer, its road and its photos. A
// garment the backend refuses is logged, and the screen stays empty; a backend that cannot be
// reached is told (`failed`).
Item {
    id: talk
    visible: false

    property var messageBox: null
    property bool loading: false
    // orderProductRel/detail's productInfo, the customer (books.js recordCustomer), the
    // road ({createTime, statusText, workName}) and the photos' addresses.
    property var info: ({})
    property var customer: ({})
    property var track: []
    property var photos: []

    readonly property alias backend: backend

    signal failed(string text)

    function load(scanCode) {
        loading = true
        backend.call("ClothDetail", "orderProductRel/detail", { scanCode: scanCode }, function (reply) {
            var data = Requests.dataObject(reply)
            talk.info = data.productInfo || {}
            talk.customer = Books.recordCustomer(data.user)
            talk.track = Array.isArray(data.statusList) ? data.statusList : []
            talk.photos = (Array.isArray(data.productImgList) ? data.productImgList : []).map(function (p) {
                return String(p.cameraImg)
            })
            talk.loading = false
        }, function (reply, unreachable) {
            console.log(Logs.books, "ClothDetail: " + reply)
            talk.loading = false
            if (unreachable)
                talk.failed(backend.failureText(true))
        })
    }

    BackendRequest {
        id: backend
        objectName: "clothDetailsBackend"
        messageBox: talk.messageBox
    }
}
