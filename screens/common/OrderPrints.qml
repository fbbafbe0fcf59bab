import QtQuick 2.15
import PrinterHelper 1.0
import Brenvo 1.0

// An order's ticket and its garment labels, printed from the backend's print data on the
// printers chosen in the settings. Screens with an order's print buttons share it. A print
// that printed says nothing; "无" prints nothing and says nothing either.
Item {
    id: prints
    visible: false

    // The screen's request piece.
    property var backend: null

    // Nothing could be printed: no printer is chosen for it, or the one chosen is not there.
    signal refused(string text)

    // The ticket on the ticket printer, 80 or 58 mm as the printer type says.
    function printTicket(orderId) {
        var name = Session.ticketPriterName
        if (name === "") {
            refused("未设置小票打印机")
            return
        }
        backend.call("TicketPrinte", "print/order/detail", { orderId: String(orderId) }, function (reply) {
            var type = String(Session.printetype)
            var narrow = type !== "" && type !== "0"
            prints.tell(narrow ? printer.ticketPrintIfo58(name, reply)
                               : printer.ticketPrintIfo(name, reply), name)
        })
    }

    // The label of one garment, with its accessories' labels, as one job.
    function printLabel(garmentId) {
        var name = Session.washPrinterName
        if (name === "") {
            refused("未设置水洗标打印机")
            return
        }
        backend.call("ClothPriInfo", "print/product/detail", { orderProId: String(garmentId) }, function (reply) {
            prints.tell(printer.printInfo(name, reply, ""), name)
        })
    }

    // Every label of the order (each garment, then its accessories) as one job.
    function printAllLabels(orderId) {
        var name = Session.washPrinterName
        if (name === "") {
            refused("未设置水洗标打印机")
            return
        }
        backend.call("AlClothPri", "print/product/all", { orderId: String(orderId) }, function (reply) {
            // An order without garments has no label to print.
            if (prints.backend.request.getClothNum(reply, "productList", 1) === 0)
                return
            prints.tell(printer.printAllLabels(name, reply), name)
        })
    }

    // After a job: a printer that was chosen and did not print is named to the worker.
    function tell(printed, name) {
        if (printed || name === "无")
            return
        console.warn(Logs.common, "nothing printed on " + name)
        refused(notPrintedText(name))
    }

    // Why: the PDF file could not be written, the printer refused the job, or (most often) the
    // printer chosen is not installed on this machine.
    function notPrintedText(name) {
        if (name === "pdf")
            return "未能写入 release/qrpic/123.pdf，请检查该文件夹"
        var installed = printer.getPrinterList()
        for (var i = 0; i < installed.length; ++i)
            if (String(installed[i]) === name)
                return "打印机“" + name + "”未能打印，请检查打印机"
        return "打印机“" + name + "”未安装，未能打印。请在“设置”中选择打印机"
    }

    PrinterHelper { id: printer }
}
