import QtQuick 2.15
import QtTest 1.2
import Brenvo 1.0
import BrenvoTest 1.0
import "../common"

// The terminal's main smoke test: a first order taken from end to end in the real main
// window against the reference backend, as a new worker would take it. Sign in, choose the
// "pdf" printer for labels and tickets on the settings screen, find demo member 3 (钻石会员,
// 85 %), create the order, take in three garments (curtains priced by the square metre, a
// coat with its belt, jeans with stain removal), finish the intake, print the labels and the
// ticket to PDF and read their codes back, pay in cash, and find the order so in the backend.
// Each screen on the way is left in BRENVO_SHOTS_DIR as first-order-*.png. (The README walks
// the whole road of a garment: tst_GarmentRoad.)
ScreenTestCase {
    id: testCase
    name: "FirstOrder"

    MainWindowDriver {
        id: walk
        testCase: testCase
        shotPrefix: "first-order-"
    }
    readonly property string pdf: walk.pdf

    function ask(path, fields) {
        return reference.data(path, fields)
    }

    // --- The walk -----------------------------------------------------------------------

    function test_first_order() {
        // A new terminal: no printer chosen yet.
        verify(!TestSupport.exists("setting/Wash.ini") && !TestSupport.exists("setting/Ticket.ini"))
        verify(TestSupport.writeFile("setting/account.ini", "zhangli\n"))

        // Sign in.
        walk.open()
        compare(Session.washPrinterName, "")
        walk.signIn("zhangli", "123456", "1-sign-in")

        // The menu; "设置": the "pdf" printer for the labels and the tickets.
        walk.picture("2-menu")
        var settings = walk.openEntry("532", "Setting")
        walk.choosePdf(settings, 1, "setting/Wash.ini", "washPrinterName")
        walk.choosePdf(settings, 2, "setting/Ticket.ini", "ticketPriterName")
        walk.picture("3-printers")

        // The home button: the menu again; "下单" finds the customer by phone.
        walk.home()
        var placeOrder = walk.openEntry("525", "PlaceOrder")
        walk.inside(placeOrder, "searchField").forceActiveFocus()
        type("13912340003")
        keyClick(Qt.Key_Return)
        var content = walk.inside(placeOrder, "PlaceOrderContent")
        tryCompare(content, "loading", false, 5000)
        settle(content.conversation.backend)
        // The member card by the number the ticket prints, not its RFID card's.
        compare(findChild(content, "cardNumber").text, "VIP0003")
        walk.picture("4-order-form")

        // "提交下单": the order exists and the intake screen opens over the form.
        walk.clickIn(content, "submitOrder")
        var intake = walk.inside(content, "PutStorage")
        tryVerify(function () { return intake.conversation.orderNo !== "" }, 5000)
        settle(intake.conversation.backend)
        var orderNo = intake.conversation.orderNo
        var orderId = intake.conversation.orderId
        compare(Session.enterFlag, "PutStorage")
        compare(findChild(intake, "countsText").text, "已录入0件衣服，0件附件")
        compare(findChild(intake, "customerCard").text, "会员卡号:VIP0003")

        // Three garments: curtains of 2.5 square metres, a coat with its belt, jeans with
        // stain removal for 5.00.
        walk.addGarment(intake, "家居纺织", "窗帘地毯", "窗帘", "水洗", function (entry) {
            walk.enter(entry, "sizeWindow", "2.5")
            tryCompare(findChild(entry, "amountText"), "text", "金额：37.50")
        }, "5-garment-entry")
        walk.addGarment(intake, "洗衣", "外套", "大衣", "干洗", function (entry) {
            walk.pick(entry, "annex", "腰带")
        })
        walk.addGarment(intake, "洗衣", "裤装", "牛仔裤", "水洗", function (entry) {
            mouseClick(findChild(entry, "tab:附加"))
            walk.pick(entry, "addOn", "去渍")
            walk.enter(entry, "addOnWindow", "5")
        })
        var rows = intake.conversation.rows
        compare(findChild(intake, "countsText").text, "已录入3件衣服，1件附件")
        compare(rows.map(function (r) { return r.productName }), ["窗帘", "大衣", "腰带", "牛仔裤"])
        compare(findChild(findChild(intake, "garmentRow_0"), "garmentAmount").text, "水洗：37.50")
        // 31.87 + 46.75 + 22.00
        compare(findChild(intake, "orderTotal").text, "订单总额:¥100.62")
        walk.picture("6-intake")

        // "完成入库": the labels are offered.
        walk.clickIn(intake, "finishButton")
        tryVerify(function () { return findChild(intake, "allLabelsButton").visible }, 5000)
        settle(intake.conversation.backend)
        verify(!findChild(intake, "finishButton").visible)

        // "打标": one garment's label, the coat's with its belt's after it, in one job; every
        // code reads back.
        var codes = rows.map(function (r) { return r.scanCode })
        compare(walk.printed(function () { mouseClick(findChild(findChild(intake, "garmentRow_0"), "labelButton")) }, 1),
                ["QR-Code:" + codes[0]])
        compare(TestSupport.pdfPages(pdf).length, 1)
        walk.printed(function () { mouseClick(findChild(findChild(intake, "garmentRow_1"), "labelButton")) }, 1)
        compare(walk.codesByPage(), [["QR-Code:" + codes[1]], ["QR-Code:" + codes[2]]])
        // "全打标": every label of the order in one job, one page each in the garments' order.
        walk.printed(function () { mouseClick(findChild(intake, "allLabelsButton")) }, 1)
        compare(walk.codesByPage(), codes.map(function (code) { return ["QR-Code:" + code] }))
        var labelTexts = TestSupport.pdfPages(pdf)
        ;["窗帘", "大衣", "腰带", "牛仔裤"].forEach(function (name, page) {
            verify(labelTexts[page].indexOf(name) >= 0, labelTexts[page])
            verify(labelTexts[page].indexOf("未") >= 0, labelTexts[page])
        })
        compare(boxes, [])

        // The ticket: the order number's QR code, and the garments on it.
        var ticket = walk.printed(function () { mouseClick(findChild(intake, "ticketButton")) }, 1)
        verify(ticket.indexOf("QR-Code:" + orderNo) >= 0, ticket.join(" "))
        var ticketText = TestSupport.pdfPages(pdf).join("")
        verify(ticketText.indexOf("窗帘") >= 0 && ticketText.indexOf("大衣") >= 0 && ticketText.indexOf("牛仔裤") >= 0, ticketText)
        verify(ticketText.indexOf("100.62") >= 0, ticketText)
        // The card number the order form showed.
        verify(ticketText.indexOf("VIP0003") >= 0, ticketText)
        walk.picture("7-finished")

        // "收款" in cash, the balance left alone.
        walk.clickIn(intake, "payButton")
        var cashier = walk.inside(intake, "Cashier")
        tryCompare(cashier.conversation, "loading", false, 5000)
        var balanceSwitch = findChild(cashier, "balanceSwitch")
        if (balanceSwitch.visible && balanceSwitch.checked)
            mouseClick(balanceSwitch)
        tryCompare(findChild(cashier, "stillToCollect"), "text", "100.62")
        walk.clickIn(cashier, "means_cash")
        findChild(cashier, "cashReceived").forceActiveFocus()
        type("110")
        compare(findChild(cashier, "cashChange").text, "9.38")
        walk.picture("8-cashier")
        walk.clickIn(cashier, "cashConfirm")
        tryVerify(function () { return findChild(intake, "Cashier") === null }, 5000, "cashier closed")
        tryCompare(findChild(intake, "payStatus"), "text", "已付款", 5000)
        settle(intake.conversation.backend)
        verify(!findChild(intake, "payButton").visible)
        verify(!findChild(intake, "modifyPriceButton").visible)
        verify(!findChild(intake, "addGarmentButton").visible)
        walk.picture("9-paid")

        // The order in the backend: its garments, amounts, paid, labels printable again.
        var order = ask("stockIn/queryOrder", { keywords: orderNo }).data
        compare(order.proList.map(function (r) { return r.productName }), ["窗帘", "大衣", "腰带", "牛仔裤"])
        compare(order.proList.map(function (r) { return r.subtotal }), [3187, 4675, 0, 2200])
        compare(order.proList[0].count, 250)
        compare(order.orderInfo.orderPrice, 10062)
        compare(order.orderInfo.paymentPrice, 10062)
        compare(order.orderInfo.statusText, "已收衣")
        compare(order.isPaid, true)
        compare(order.isEnablePay, false)
        compare(order.isEnablePrint, true)
        var pay = ask("orderInfo/payInfo", { id: orderId }).data
        compare(pay.payStatus, 1)
        var labels = ask("print/product/all", { orderId: orderId })
        compare(labels.httpCode, 200)
        compare(labels.data.productList.length, 3)
        compare(labels.data.isPaid, true)
        walk.printed(function () { mouseClick(findChild(intake, "allLabelsButton")) }, 1)
        compare(walk.codesByPage(), codes.map(function (code) { return ["QR-Code:" + code] }))
        TestSupport.pdfPages(pdf).forEach(function (label) { verify(label.indexOf("已") >= 0, label) })
    }
}
