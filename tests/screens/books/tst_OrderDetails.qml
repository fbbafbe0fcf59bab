import QtQuick 2.15
import QtTest 1.2
import Brenvo 1.0
import BrenvoTest 1.0
import "qrc:/"
import "../common"
import "../common/fakeroutes.js" as Routes

// The order details. The order of its requests, the progress line, the money block, the
// refund-wash and printing against a backend answering as each test says; the cashier, the
// section bar and going back against the reference backend.
ScreenTestCase {
    id: testCase
    name: "OrderDetails"
    needsSignIn: true

    function init() {
        Session.washPrinterName = "pdf"
        Session.ticketPriterName = "pdf"
    }

    function open(orderId) {
        screen = Qt.createComponent("qrc:/OrderDetails.qml").createObject(host,
                     { orderId: orderId, toOrderFlag: "OrderList" })
        verify(screen !== null)
        return screen
    }

    function loaded(orderId) {
        open(orderId)
        tryCompare(screen.orderView.conversation, "loading", false, 5000)
        return screen
    }

    // --- Against the test's own backend -------------------------------------------------

    function garment(id) {
        return { id: id, type: 1, no: id, total: 1, productName: "衬衫", serviceName: "水洗", colorDesc: "[]",
                 flawDesc: "[]", annexDesc: "[]", addServiceDesc: "[]", serviceAmt: 1500, subtotal: 1500, picCnt: 0,
                 scanCode: "701000000" + id, bindCode: "", statusText: "已收衣", outBatch: 0, hasRefundText: "",
                 tranTypeName: "", storeShelfNo: 0, tranTypeText: "", tranNum: "", isEnableSign: false,
                 isEnableStockRework: false, isEnableRefund: true }
    }

    function detail(over) {
        var d = { id: 12, orderNo: "261130010012", originText: "门店下单", createTime: 1764000000000, transNo: "",
                  userInfo: { id: 7, name: "王芳", phone: "13912340007", grade: 2, rfidNo: "", cardNo: "VIP0007",
                              cardName: "金卡会员", balance: 12345, point: 80, wxId: "-1", verifyPhone: 1,
                              verifyIos: 0, verifyAndriod: 0, wxNickname: "", headimgPath: "" },
                  unionName: "", statusText: "已收衣", payStatusText: "未支付", payablePrice: 3000, couponAmt: 0,
                  paymentPrice: 3000, refundPrice: 0, refundablePrice: 0, isEnablePay: true, isEnableRefund: false,
                  isEnableSign: false, isEnableComplete: false, isEnableCredit: true, creditStatus: 0,
                  creditRemark: "", userRemark: "", remarkJson: [], statusList: [], productList: [garment(1)] }
        for (var k in over)
            d[k] = over[k]
        return Routes.ok(d)
    }

    function useFake(detailReply) {
        routed.start()
        routes = {
            "orderInfo/detail": detailReply,
            "tradeOrder/list": Routes.ok({ list: [] }),
            "sysDicKey/refundMethodList": Routes.ok([{ id: 1, showText: "原路退回" }, { id: 2, showText: "现金" }])
        }
    }

    // An unpaid order still reads its payments, then the refund means, before the shade lifts.
    function test_unpaid_order_reads_payments_and_means_first() {
        useFake(detail({}))
        routes["sysDicKey/refundMethodList"] = null
        open("12")
        tryVerify(function () { return Routes.paths(fake).length === 3 }, 5000)
        compare(Routes.paths(fake), ["orderInfo/detail", "tradeOrder/list", "sysDicKey/refundMethodList"])
        verify(screen.orderView.conversation.loading)
        verify(item("loadingShade", screen.orderView).visible)
        routes["sysDicKey/refundMethodList"] = Routes.ok([{ id: 2, showText: "现金" }])
        tryCompare(screen.orderView.conversation, "loading", false, 5000)
        compare(screen.orderView.conversation.refundMeans.length, 1)
        // The refund window takes the means read with the order.
        click(item("garment_1", screen.orderView))
        click(item("refundWashButton", screen.orderView))
        verify(screen.orderView.refundWindow.visible)
        wait(50)
        compare(sentTo("sysDicKey/refundMethodList").length, 1)
    }

    // "已收件" twice lights "已下单" with the earlier time; "已签收" shows the signed stamp.
    function test_progress_line() {
        useFake(detail({ statusList: [{ createTime: 1764000000000, statusText: "已收件", workName: "" },
                                      { createTime: 1764003600000, statusText: "已收件", workName: "" },
                                      { createTime: 1764007200000, statusText: "已入库", workName: "" },
                                      { createTime: 1764300000000, statusText: "已签收", workName: "" }] }))
        loaded("12")
        var first = item("station_已下单")
        compare(findChild(first, "stationText").text, "已收件")
        compare(findChild(first, "stationTime").text, Session.timerToDate(1764000000000))
        compare(findChild(item("station_已洗完"), "stationTime").text, "")
        verify(item("signedStamp").visible)
        shot("order-details")
    }

    // The money block, the waybill only when there is one, the customer and the QR code.
    function test_header_data() {
        return [
            { tag: "unpaid on credit", over: { creditStatus: 1, refundPrice: 0 }, paid: "0.00", credit: "已赊账", waybill: false },
            { tag: "paid with a refund and a waybill",
              over: { payStatusText: "已支付", paymentPrice: 2950, refundPrice: 500, transNo: "SF1234", creditStatus: 0 },
              paid: "29.50", credit: "", waybill: true }
        ]
    }
    function test_header(row) {
        useFake(detail(row.over))
        loaded("12")
        compare(item("paidValue").text, row.paid)
        compare(item("refundedValue").text, (row.over.refundPrice / 100).toFixed(2))
        compare(item("creditMark").visible, row.credit !== "")
        if (row.credit !== "")
            compare(item("creditMark").text, row.credit)
        compare(item("waybill").visible, row.waybill)
        compare(item("memberCardValue").text, "VIP0007")
        compare(item("customerBalanceValue").text, "123.45元")
        verify(String(item("orderQr").source).indexOf("261130010012") >= 0)
    }

    // A refund-wash on an unpaid order asks for the new total; after it the order is read
    // again and the garment buttons are hidden.
    function test_refund_wash_of_an_unpaid_order() {
        useFake(detail({}))
        routes["orderProductRelAudit/refund"] = Routes.ok({ id: 3, seq: "5261130000003" })
        loaded("12")
        var view = screen.orderView
        click(item("garment_1", view))
        verify(item("refundWashButton", view).visible)
        click(item("refundWashButton", view))
        var w = view.refundWindow
        item("amountField", w).text = "20"
        item("reasonField", w).text = "少洗一件"
        click(item("refundConfirm", w))
        tryVerify(function () { return boxes.length === 1 }, 5000)
        compare(boxes[0][0], "提示")
        tryCompare(view.conversation, "loading", false, 5000)
        compare(sentTo("orderInfo/detail").length, 2)
        compare(sentTo("orderProductRelAudit/refund")[0].amount, "2000")
        verify(!item("refundWashButton", view).visible)
        verify(!item("pickButton", view).visible)
        verify(!item("reworkButton", view).visible)
    }

    // "全打标" with no label printer prints nothing.
    function test_all_labels_without_a_printer() {
        Session.washPrinterName = ""
        useFake(detail({}))
        loaded("12")
        click(item("labelsButton", screen.orderView))
        compare(boxes, [["提示", "未设置水洗标打印机"]])
        compare(sentTo("print/product/all").length, 0)
    }

    // An order that cannot be read is told; once the box is confirmed the screen closes and
    // its opener reads its list again.
    function test_order_that_cannot_be_read_closes() {
        useFake(Routes.refused(404, "订单不存在"))
        open("99")
        var told = 0
        screen.returned.connect(function () { ++told })
        tryVerify(function () { return closed() }, 5000)
        compare(boxes, [["错误提示", "订单不存在"]])
        compare(told, 1)
    }

    // --- Against the reference backend ----------------------------------------------------

    // "收款" opens the cashier for the order details; the section bar scrolls; "订单列表" closes
    // the screen and tells the opener.
    function test_cashier_sections_and_back() {
        var order = reference.newOrder(29, 2600)
        loaded(order.id)
        click(item("payButton", screen.orderView))
        var cashier = null
        tryVerify(function () { cashier = findChild(screen, "Cashier"); return cashier !== null }, 5000)
        compare([cashier.orderId, cashier.userIds, cashier.payFlags], [order.id, "29", "orderDetails"])
        tryVerify(function () { var s = findChild(cashier, "loadingShade"); return s === null || !s.visible }, 5000)
        click(findChild(cashier, "backButton"))
        tryVerify(function () { return findChild(screen, "Cashier") === null }, 5000)
        // The cashier's return reads the order again.
        tryCompare(screen.orderView.conversation, "loading", false, 5000)

        // A section button marks itself and brings its section into sight.
        click(item("section_评价"))
        verify(item("section_评价").highlighted)
        var at = item("reviewSection").mapToItem(item("sidePage"), 0, 0).y
        verify(at >= 0 && at < item("sidePage").height, "the review is at " + at)
        click(item("section_订单信息"))
        verify(!item("section_评价").highlighted)

        var told = 0
        screen.returned.connect(function () { ++told })
        click(item("backToListButton", screen.orderView))
        tryVerify(function () { return closed() }, 5000)
        compare(told, 1)
    }
}
