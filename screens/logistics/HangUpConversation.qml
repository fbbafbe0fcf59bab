import QtQuick 2.15
import Brenvo 1.0
import "requests.js" as Requests

// The rail's conversation with the backend: the order of a scanned code, a garment or the
// whole order hung, each followed by the order found again, and the order's ticket.
Item {
    id: talk
    visible: false

    property var messageBox: null
    readonly property alias backend: backend
    readonly property alias prints: prints

    // The order shown (orderInfo/search), {} for none; the code last searched, and the one the
    // worker scanned for it ("" when the order was found again after a hang-up).
    property var order: ({})
    property string lastCode: ""
    property string scannedCode: ""
    // Why the last search found nothing; the screen keeps showing what it showed.
    property string notice: ""
    property bool loading: false

    // A hang-up was refused: the backend's reason.
    signal failed(string text)

    function search(code, scanned) {
        lastCode = String(code)
        loading = true
        backend.call("OrderInfo", "orderInfo/search", { scanCode: lastCode }, function (reply) {
            talk.loading = false
            talk.notice = ""
            talk.scannedCode = String(scanned)
            talk.order = Requests.dataObject(reply)
        }, function (reply, unreachable) {
            talk.loading = false
            console.log(Logs.logistics, "OrderInfo: " + reply)
            talk.notice = backend.failureText(unreachable)
        })
    }

    // One garment at position `shelfNo`; then its order again, no row opened by itself.
    function hang(garment, shelfNo) {
        var code = String(garment.scanCode)
        backend.write("ClothHangUp", "orderProductRel/clothesShelf", { id: String(garment.id), shelfNo: String(shelfNo) },
                      function () { talk.search(code, "") },
                      function (reply, unreachable) { talk.failed(backend.failureText(unreachable)) })
    }

    // "整单上挂": the order's garments from position `shelfNo` on. The backend names the number
    // `stoerShelfNo`.
    function hangOrder(shelfNo) {
        backend.write("OrderHangUp", "orderProductRel/orderShelf", { orderId: String(order.orderId), stoerShelfNo: String(shelfNo) },
                      function () { talk.search(talk.lastCode, "") },
                      function (reply, unreachable) { talk.failed(backend.failureText(unreachable)) })
    }

    BackendRequest {
        id: backend
        objectName: "hangUpBackend"
        messageBox: talk.messageBox
    }

    OrderPrints {
        id: prints
        backend: backend
        onRefused: function (text) { talk.messageBox.btnMsgMessageInformationBox("提示", text) }
    }
}
