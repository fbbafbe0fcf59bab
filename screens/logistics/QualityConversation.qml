import QtQuick 2.15
import PrinterHelper 1.0
import Brenvo 1.0
import "requests.js" as Requests
import "quality.js" as Quality

// The quality check's conversation with the backend: a garment found by its code, its
// accessories checked, passed or sent back, the order's slot, certificates and tickets; in the
// order mode an order found by a code and its garments passed or sent back one by one or all
// at once. Each action asks for the garment or the order again, so the screen shows what the
// backend holds.
Item {
    id: talk
    visible: false

    property var messageBox: null
    readonly property alias backend: backend
    readonly property alias prints: prints

    // The garment shown (orderProductRel/queryProductInfo), {} for none.
    property var record: ({})
    // The order shown in the order mode (orderInfo/search), {} for none, and the code that
    // found it.
    property var order: ({})
    property string orderCode: ""
    property bool loading: false

    // A garment arrived (or arrived again).
    signal recordLoaded()
    // A failure to show the worker, worded already.
    signal failed(string text)
    // No certificate printer is chosen: the worker is sent to the settings.
    signal printerMissing()
    // The garment passed: `data` is the backend's answer (its state, the slot, its place).
    signal passed(var data)
    signal reworked()
    // The typed slot is the order's now.
    signal slotSet(string slot)

    function refusal(reply, unreachable) {
        talk.failed(Quality.warning(backend.failureText(unreachable)))
    }

    // --- One garment -------------------------------------------------------------------------

    function query(code) {
        loading = true
        backend.call("Quality", "orderProductRel/queryProductInfo", { scanCode: String(code), queryFlag: "true" },
                     function (reply) {
            talk.loading = false
            var data = Requests.dataObject(reply)
            // Another store's garment is never shown, whatever the backend answered.
            if (String(data.storeName) !== String(Session.storename)) {
                talk.record = {}
                talk.failed(Quality.warning("非此门店衣物"))
                return
            }
            talk.record = data
            talk.recordLoaded()
        }, function (reply, unreachable) {
            talk.loading = false
            talk.record = {}
            talk.failed(Quality.warning(unreachable ? backend.failureText(true) : Quality.scanRefusal(Session.msg)))
        })
    }

    function refresh() {
        if (record.scanCode !== undefined)
            query(record.scanCode)
    }

    // "合格": the slot is typed at the terminal when `manualSlots`, else the backend gives one.
    function pass(code, manualSlots) {
        var fields = { scanCode: String(code) }
        if (manualSlots)
            fields.queryFlag = "true"
        backend.write("QualifyingCloth", "station/newStoreScanCode", fields, function (reply) {
            talk.passed(Requests.dataObject(reply))
        }, refusal)
    }

    function checkAnnex(code, garmentId) {
        backend.write("CheckAnnx", "station/storeScanAnnexCode", { scanCode: String(code), pId: String(garmentId) },
                      function () { talk.refresh() }, refusal)
    }

    function checkAllAnnexes(garmentId) {
        backend.write("CheckAnnxAll", "station/storeScanAnnexAll", { pId: String(garmentId) },
                      function () { talk.refresh() }, refusal)
    }

    // "返洗" of the garment shown.
    function rework(garmentId) {
        backend.write("ClothReWash", "orderProductRel/stockRework", { id: String(garmentId) },
                      function () { talk.reworked() }, refusal)
    }

    function setSlot(orderId, slot) {
        backend.write("Registration", "orderInfo/updateStoreShelfNo", { orderId: String(orderId), storeShelfNo: String(slot) },
                      function () { talk.slotSet(String(slot)) }, refusal)
    }

    // The garment's certificate on the certificate printer, in the style the merchant chose;
    // then `done` (nothing is printed for "无" or a style the terminal does not know).
    function printCertificate(garmentId, done) {
        var printer = Session.certificatePrinterName
        if (Quality.certificate(printer, "").ask) {
            printerMissing()
            return
        }
        backend.call("QualiFied", "print/product/qualified", { orderProId: String(garmentId) }, function (reply) {
            var how = Quality.certificate(printer, Requests.dataObject(reply).certStyle)
            if (how.method !== "")
                certificatePrinter[how.method](printer, reply)
            if (done)
                done()
        }, refusal)
    }

    // --- One order ---------------------------------------------------------------------------

    function searchOrder(code) {
        loading = true
        orderCode = String(code)
        backend.call("OrderSearch", "orderInfo/search", { scanCode: orderCode }, function (reply) {
            talk.loading = false
            var data = Requests.dataObject(reply)
            var list = Array.isArray(data.productList) ? data.productList : []
            if (list.length > 0 && String(list[0].storeName) !== String(Session.storename)) {
                talk.order = {}
                talk.failed(Quality.warning("非此门店订单"))
                return
            }
            talk.order = data
        }, function (reply, unreachable) {
            talk.loading = false
            talk.order = {}
            talk.refusal(reply, unreachable)
        })
    }

    function reloadOrder() {
        if (orderCode !== "")
            searchOrder(orderCode)
    }

    // A garment of the order passed ("合格", or its code in the order's field).
    function passInOrder(code) {
        backend.write("ClothStation", "station/newStoreScanCode", { scanCode: String(code), queryFlag: "true" },
                      reloadOrder, refusal)
    }

    function reworkInOrder(garmentId) {
        backend.write("BackWashing", "orderProductRel/stockRework", { id: String(garmentId) }, reloadOrder, refusal)
    }

    // "全部合格".
    function passOrder() {
        backend.write("OrderStation", "station/orderScanCode", { orderId: String(order.orderId) }, reloadOrder, refusal)
    }

    // "全部返洗".
    function reworkOrder() {
        backend.write("OrderRefund", "orderProductRel/orderRework", { orderId: String(order.orderId) }, reloadOrder, refusal)
    }

    BackendRequest {
        id: backend
        objectName: "qualityBackend"
        messageBox: talk.messageBox
    }

    OrderPrints {
        id: prints
        backend: backend
        onRefused: function (text) { talk.failed(Quality.warning(text)) }
    }

    PrinterHelper { id: certificatePrinter }
}
