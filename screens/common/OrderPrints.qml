import QtQuick 2.15
import PrinterHelper 1.0
import Brenvo 1.0

// An order's ticket and its garment labels, printed from the backend's print data on the
// printers chosen in the settings. Screens with an order's print buttons share it.
Item {
    id: prints
    visible: false

    // The screen's request piece.
    property var backend: null

    // Nothing could be printed: no printer is chosen for it.
    signal refused(string text)

    // The ticket on the ticket printer, 80 or 58 mm as the printer type says.
    function printTicket(orderId) {
        if (Session.ticketPriterName === "") {
            refused("未设置小票打印机")
            return
        }
        backend.call("TicketPrinte", "print/order/detail", { orderId: String(orderId) }, function (reply) {
            var type = String(Session.printetype)
            if (type === "" || type === "0")
                printer.ticketPrintIfo(Session.ticketPriterName, reply)
            else
                printer.ticketPrintIfo58(Session.ticketPriterName, reply)
        })
    }

    // The label of one garment.
    function printLabel(garmentId) {
        if (Session.washPrinterName === "") {
            refused("未设置水洗标打印机")
            return
        }
        backend.call("ClothPriInfo", "print/product/detail", { orderProId: String(garmentId) }, function (reply) {
            printer.printInfo(Session.washPrinterName, reply, "")
        })
    }

    // One label per garment of the order (each garment's accessories follow its label).
    function printAllLabels(orderId) {
        if (Session.washPrinterName === "") {
            refused("未设置水洗标打印机")
            return
        }
        backend.call("AlClothPri", "print/product/all", { orderId: String(orderId) }, function (reply) {
            var r = prints.backend.request
            var n = r.getClothNum(reply, "productList", 1)
            for (var i = 0; i < n; ++i)
                printer.printInfo(Session.washPrinterName,
                                  '{"data":' + r.getClothInfo(reply, "productList", "", i, 1) + "}", reply)
        })
    }

    PrinterHelper { id: printer }
}
