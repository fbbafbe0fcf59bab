import QtQuick 2.15
import QtTest 1.2
import Brenvo 1.0
import BrenvoTest 1.0
import "../common"

// The terminal's main smoke test: a first order taken from end to end in the real main
// window against the reference backend, as a new worker would take it. Sign in, find demo
// member 3 (钻石会员, 85 %), create the order, take in three garments (curtains priced by the
// square metre, a coat with its belt, jeans with stain removal), finish the intake, print the
// labels and the ticket to PDF and read their codes back, pay in cash, and find the order so
// in the backend. Each screen on the way is left in BRENVO_SHOTS_DIR as first-order-*.png,
// the pictures of the README's "first order".
ScreenTestCase {
    id: testCase
    name: "FirstOrder"

    property var window: null
    readonly property string pdf: "release/qrpic/123.pdf"

    // --- Helpers ---------------------------------------------------------------------------

    function find(name) {
        var found = null
        tryVerify(function () { found = findChild(window.contentItem, name); return found !== null }, 5000, name)
        return found
    }

    function inside(parent, name) {
        var found = null
        tryVerify(function () { found = findChild(parent, name); return found !== null }, 5000, name)
        return found
    }

    function clickIn(parent, name) {
        var target = inside(parent, name)
        tryVerify(function () { return target.visible }, 5000, name + " shown")
        mouseClick(target)
    }

    // A picture of the window for the README's walk.
    function readmeShot(name) {
        shot(window.contentItem, "first-order-" + name)
    }

    function ask(path, fields) {
        return reference.data(path, fields)
    }

    // Garment entry: an entry of a grid, clicked once it is shown where the worker clicks.
    function pick(entry, kind, name) {
        mouseClick(inSight(entry.tabs.grid(kind).view, "cell:" + name))
        settle(entry)
    }

    function enter(entry, windowName, text) {
        var w = inside(entry, windowName)
        tryVerify(function () { return w.visible }, 3000, windowName)
        findChild(w, "inputField").forceActiveFocus()
        type(text)
        mouseClick(findChild(w, "inputConfirm"))
    }

    // One garment through the garment entry screen, opened by "添加衣物"; `more` chooses the
    // rest (size, accessories, add-ons) before "完成".
    function addGarment(intake, project, category, garment, service, more, shotName) {
        var rowsBefore = intake.conversation.rows.length
        clickIn(intake, "addGarmentButton")
        var entry = inside(intake, "ChooseClothInfo")
        settle(entry)
        pick(entry, "project", project)
        pick(entry, "category", category)
        pick(entry, "garment", garment)
        pick(entry, "service", service)
        more(entry)
        if (shotName)
            readmeShot(shotName)
        mouseClick(findChild(entry, "finishButton"))
        tryVerify(function () { return findChild(intake, "ChooseClothInfo") === null }, 5000, "entry closed")
        tryVerify(function () { return intake.conversation.rows.length > rowsBefore }, 5000)
        settle(intake.conversation.backend)
    }

    // Prints through `click` and waits for the PDF it writes; the codes on `page` of it.
    function printed(doClick, page) {
        TestSupport.removeFile(pdf)
        doClick()
        tryVerify(function () { return TestSupport.exists(pdf) }, 5000, "nothing printed")
        return TestSupport.pdfCodes(pdf, page)
    }

    // --- The walk -----------------------------------------------------------------------

    function test_first_order() {
        // The worker chose the PDF printer for labels and tickets on the settings screen.
        verify(TestSupport.writeFile("setting/Wash.ini", "pdf"))
        verify(TestSupport.writeFile("setting/Ticket.ini", "pdf"))
        verify(TestSupport.writeFile("setting/printetype.ini", "0"))
        verify(TestSupport.writeFile("setting/account.ini", "zhangli\n"))

        // Sign in.
        window = createWindow("qrc:/main.qml")
        window.requestActivate()
        tryCompare(window, "active", true)
        tryCompare(Session, "newestVersion", "V4.0.2")
        compare(Session.washPrinterName, "pdf")
        var panel = find("signInPanel")
        mouseClick(findChild(panel, "passwordTab"))
        var account = findChild(panel, "accountField")
        account.text = ""
        mouseClick(account)
        type("zhangli")
        mouseClick(panel, 5, 5)
        mouseClick(findChild(panel, "passwordField"))
        type("123456")
        readmeShot("1-sign-in")
        mouseClick(findChild(panel, "loginButton"))

        // The menu; "下单" finds the customer by phone.
        var menu = find("Menu")
        tryCompare(find("menuGrid"), "count", 12)
        readmeShot("2-menu")
        clickIn(menu, "entry_525")
        var placeOrder = inside(menu, "PlaceOrder")
        inside(placeOrder, "searchField").forceActiveFocus()
        type("13912340003")
        keyClick(Qt.Key_Return)
        var content = inside(placeOrder, "PlaceOrderContent")
        tryCompare(content, "loading", false, 5000)
        settle(content.conversation.backend)
        readmeShot("3-order-form")

        // "提交下单": the order exists and the intake screen opens over the form.
        clickIn(content, "submitOrder")
        var intake = inside(content, "PutStorage")
        tryVerify(function () { return intake.conversation.orderNo !== "" }, 5000)
        settle(intake.conversation.backend)
        var orderNo = intake.conversation.orderNo
        var orderId = intake.conversation.orderId
        compare(Session.enterFlag, "PutStorage")
        compare(findChild(intake, "countsText").text, "已录入0件衣服，0件附件")

        // Three garments: curtains of 2.5 square metres, a coat with its belt, jeans with
        // stain removal for 5.00.
        addGarment(intake, "家居纺织", "窗帘地毯", "窗帘", "水洗", function (entry) {
            enter(entry, "sizeWindow", "2.5")
            tryCompare(findChild(entry, "amountText"), "text", "金额：37.50")
        }, "4-garment-entry")
        addGarment(intake, "洗衣", "外套", "大衣", "干洗", function (entry) {
            pick(entry, "annex", "腰带")
        })
        addGarment(intake, "洗衣", "裤装", "牛仔裤", "水洗", function (entry) {
            mouseClick(findChild(entry, "tab:附加"))
            pick(entry, "addOn", "去渍")
            enter(entry, "addOnWindow", "5")
        })
        var rows = intake.conversation.rows
        compare(findChild(intake, "countsText").text, "已录入3件衣服，1件附件")
        compare(rows.map(function (r) { return r.productName }), ["窗帘", "大衣", "腰带", "牛仔裤"])
        compare(findChild(findChild(intake, "garmentRow_0"), "garmentAmount").text, "水洗：37.50")
        // 31.87 + 46.75 + 22.00
        compare(findChild(intake, "orderTotal").text, "订单总额:¥100.62")
        readmeShot("5-intake")

        // "完成入库": the labels are offered.
        clickIn(intake, "finishButton")
        tryVerify(function () { return findChild(intake, "allLabelsButton").visible }, 5000)
        settle(intake.conversation.backend)
        verify(!findChild(intake, "finishButton").visible)

        // One label per garment, the coat's with its belt's after it; every code reads back.
        var codes = rows.map(function (r) { return r.scanCode })
        compare(printed(function () { mouseClick(findChild(findChild(intake, "garmentRow_0"), "labelButton")) }, 1),
                ["QR-Code:" + codes[0]])
        compare(printed(function () { mouseClick(findChild(findChild(intake, "garmentRow_1"), "labelButton")) }, 1),
                ["QR-Code:" + codes[1]])
        compare(TestSupport.pdfCodes(pdf, 2), ["QR-Code:" + codes[2]])
        // "全打标" prints them all, one document per garment: the last is the jeans'.
        compare(printed(function () { mouseClick(findChild(intake, "allLabelsButton")) }, 1),
                ["QR-Code:" + codes[3]])
        var labelText = TestSupport.pdfPages(pdf)[0]
        verify(labelText.indexOf("牛仔裤") >= 0, labelText)
        verify(labelText.indexOf("未") >= 0, labelText)

        // The ticket: the order number's QR code, and the garments on it.
        var ticket = printed(function () { mouseClick(findChild(intake, "ticketButton")) }, 1)
        verify(ticket.indexOf("QR-Code:" + orderNo) >= 0, ticket.join(" "))
        var ticketText = TestSupport.pdfPages(pdf).join("")
        verify(ticketText.indexOf("窗帘") >= 0 && ticketText.indexOf("大衣") >= 0 && ticketText.indexOf("牛仔裤") >= 0, ticketText)
        verify(ticketText.indexOf("100.62") >= 0, ticketText)
        readmeShot("6-finished")

        // "收款" in cash, the balance left alone.
        clickIn(intake, "payButton")
        var cashier = inside(intake, "Cashier")
        tryCompare(cashier.conversation, "loading", false, 5000)
        var balanceSwitch = findChild(cashier, "balanceSwitch")
        if (balanceSwitch.visible && balanceSwitch.checked)
            mouseClick(balanceSwitch)
        tryCompare(findChild(cashier, "stillToCollect"), "text", "100.62")
        clickIn(cashier, "means_cash")
        findChild(cashier, "cashReceived").forceActiveFocus()
        type("110")
        compare(findChild(cashier, "cashChange").text, "9.38")
        readmeShot("7-cashier")
        clickIn(cashier, "cashConfirm")
        tryVerify(function () { return findChild(intake, "Cashier") === null }, 5000, "cashier closed")
        tryCompare(findChild(intake, "payStatus"), "text", "已付款", 5000)
        settle(intake.conversation.backend)
        verify(!findChild(intake, "payButton").visible)
        verify(!findChild(intake, "modifyPriceButton").visible)
        verify(!findChild(intake, "addGarmentButton").visible)
        readmeShot("8-paid")

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
        compare(printed(function () { mouseClick(findChild(intake, "allLabelsButton")) }, 1),
                ["QR-Code:" + codes[3]])
        verify(TestSupport.pdfPages(pdf)[0].indexOf("已") >= 0)
    }
}
