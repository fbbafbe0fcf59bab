import QtQuick 2.15
import PrinterHelper 1.0
import Brenvo 1.0

// A factory bag's label, printed on the ticket printer from the backend's print data. The bag
// grid and the bag's own screen share it. Nothing printed is told: no ticket printer chosen,
// or the one chosen is not there.
Item {
    id: label
    visible: false

    // The screen's request piece.
    property var backend: null

    // Nothing was printed; `text` says why.
    signal refused(string text)

    function print(bagId) {
        var printerName = Session.ticketPriterName
        if (printerName === "" || printerName === "无") {
            refused("未设置小票打印机，袋号未打印")
            return
        }
        backend.call("BagInfo", "print/batchIn/product", { id: String(bagId) }, function (reply) {
            if (!printer.bagNumPrintInfo(printerName, reply))
                label.refused("小票打印机“" + printerName + "”不可用，袋号未打印")
        }, function (reply, unreachable) {
            console.log(Logs.logistics, "BagInfo: " + reply)
            label.refused(label.backend.failureText(unreachable))
        })
    }

    PrinterHelper { id: printer }
}
