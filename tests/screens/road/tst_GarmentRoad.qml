import QtQuick 2.15
import QtTest 1.2
import Brenvo 1.0
import BrenvoTest 1.0
import "../common"

// A garment's whole road in the real main window against the reference backend, as the
// README walks it by hand: sign in, choose the "pdf" printer for labels, tickets and
// certificates, take demo member 3's order of three garments, print their labels and the
// ticket, pay in cash, put them into a factory bag, complete the bag and print its label;
// the factory stand-in brings them back in a batch, which is confirmed in the store; each
// passes the quality check with its certificate, the order is hung on the rail and handed
// out at the pick-up counter. The backend is read after each step; the screens on the way
// are left in BRENVO_SHOTS_DIR as road-*.png, drawn small: the README's pictures
// (docs/road/).
ScreenTestCase {
    id: testCase
    name: "GarmentRoad"

    // The rail positions the order is hung at (free in the demo, freed again at hand-out).
    readonly property int firstRailPosition: 56

    MainWindowDriver {
        id: walk
        testCase: testCase
        shotPrefix: "road-"
        shotScale: 0.75
    }

    // The garments' states as the store's garment list shows them.
    function statuses(codes) {
        return codes.map(function (code) { return reference.garmentStatus(code) })
    }

    function each(text, count) {
        var all = []
        for (var i = 0; i < count; ++i)
            all.push(text)
        return all
    }

    // The order of a code as the rail and the pick-up counter read it.
    function orderNow(code) {
        return reference.data("orderInfo/search", { scanCode: String(code) }).data
    }

    // A code scanned: the scanner types into the field that has the keyboard, then Enter.
    function scanInto(field, code) {
        waitForKeyboard(field.field)
        type(String(code))
        keyClick(Qt.Key_Return)
    }

    function waitForKeyboard(field) {
        tryVerify(function () { return field.activeFocus }, 2000, (field.placeholderText || field.objectName) + " has no keyboard")
    }

    function test_garment_road() {
        verify(TestSupport.writeFile("setting/account.ini", "zhangli\n"))

        // Sign in; "设置": the "pdf" printer for labels, tickets and certificates.
        walk.open()
        walk.signIn("zhangli", "123456")
        var settings = walk.openEntry("532", "Setting")
        walk.choosePdf(settings, 1, "setting/Wash.ini", "washPrinterName")
        walk.choosePdf(settings, 2, "setting/Ticket.ini", "ticketPriterName")
        walk.choosePdf(settings, 3, "setting/Certificate.ini", "certificatePrinterName")

        // "下单": member 3 by phone, the order form; "提交下单" makes the order.
        walk.home()
        var placeOrder = walk.openEntry("525", "PlaceOrder")
        waitForKeyboard(walk.inside(placeOrder, "searchField"))
        type("13912340003")
        keyClick(Qt.Key_Return)
        var content = walk.inside(placeOrder, "PlaceOrderContent")
        tryCompare(content, "loading", false, 5000)
        settle(content.conversation.backend)
        walk.picture("1-order-form")
        walk.clickIn(content, "submitOrder")
        var intake = walk.inside(content, "PutStorage")
        tryVerify(function () { return intake.conversation.orderNo !== "" }, 5000)
        settle(intake.conversation.backend)
        var orderNo = intake.conversation.orderNo
        var orderId = intake.conversation.orderId
        compare(reference.data("stockIn/queryOrder", { keywords: orderNo }).data.orderInfo.statusText, "待收衣")

        // Three garments through "添加衣物", at 85 % for a 钻石会员.
        walk.addGarment(intake, "洗衣", "上衣", "衬衫", "水洗")
        walk.addGarment(intake, "洗衣", "裤装", "牛仔裤", "水洗")
        walk.addGarment(intake, "洗衣", "外套", "大衣", "干洗", null, "2-garment-entry")
        var codes = intake.conversation.rows.map(function (r) { return r.scanCode })
        var order = reference.data("stockIn/queryOrder", { keywords: orderNo }).data
        compare(order.proList.map(function (r) { return r.productName }), ["衬衫", "牛仔裤", "大衣"])
        compare(order.proList.map(function (r) { return r.scanCode }), codes)
        compare(order.proList.map(function (r) { return r.subtotal }), [1530, 1700, 4675])
        compare(order.orderInfo.paymentPrice, 7905)

        // "完成入库", then "全打标" (a label a page) and "打印小票".
        walk.clickIn(intake, "finishButton")
        tryVerify(function () { return findChild(intake, "allLabelsButton").visible }, 5000)
        settle(intake.conversation.backend)
        compare(statuses(codes), each("已收衣", 3))
        walk.printed(function () { walk.clickIn(intake, "allLabelsButton") }, 1)
        compare(walk.codesByPage(), codes.map(function (code) { return ["QR-Code:" + code] }))
        var ticket = walk.printed(function () { walk.clickIn(intake, "ticketButton") }, 1)
        verify(ticket.indexOf("QR-Code:" + orderNo) >= 0, ticket.join(" "))
        verify(TestSupport.pdfPages(walk.pdf).join("").indexOf("79.05") >= 0)
        walk.picture("3-labels")

        // "收款": 100 in cash, 20.95 back.
        walk.clickIn(intake, "payButton")
        var cashier = walk.inside(intake, "Cashier")
        tryCompare(cashier.conversation, "loading", false, 5000)
        var balanceSwitch = findChild(cashier, "balanceSwitch")
        if (balanceSwitch.visible && balanceSwitch.checked)
            click(balanceSwitch)
        tryCompare(findChild(cashier, "stillToCollect"), "text", "79.05")
        walk.clickIn(cashier, "means_cash")
        click(findChild(cashier, "cashReceived"))
        type("100")
        compare(findChild(cashier, "cashChange").text, "20.95")
        walk.picture("4-cashier")
        walk.clickIn(cashier, "cashConfirm")
        tryVerify(function () { return findChild(intake, "Cashier") === null }, 5000, "cashier closed")
        tryCompare(findChild(intake, "payStatus"), "text", "已付款", 5000)
        settle(intake.conversation.backend)
        compare(reference.data("orderInfo/payInfo", { id: orderId }).data.payStatus, 1)

        // "入袋": "新建袋号", the new bag (listed first), "加入袋号".
        walk.clickIn(intake, "bagButton")
        var bagWindow = walk.inside(intake, "bagWindow")
        tryVerify(function () { return bagWindow.visible }, 5000, "no bag window")
        settle(intake.conversation.backend)
        compare(bagWindow.items.map(function (g) { return g.chosen }), [true, true, true])
        var bagsBefore = bagWindow.listedBags.map(function (b) { return b.id })
        walk.clickIn(bagWindow, "newBagButton")
        tryVerify(function () {
            return bagWindow.listedBags.length > 0 && bagsBefore.indexOf(bagWindow.listedBags[0].id) < 0
        }, 5000, "the new bag is not listed")
        var bag = bagWindow.listedBags[0]
        var newBag = null
        tryVerify(function () {
            newBag = findChild(bagWindow.bagList, "bag_0")
            return newBag !== null && findChild(newBag, "bagText").text.indexOf(bag.code) >= 0
        }, 5000, "the new bag is not shown first")
        click(newBag)
        walk.picture("5-bag")
        walk.clickIn(bagWindow, "addToBagButton")
        tryVerify(function () { return bagWindow.items.every(function (g) { return g.bagged }) }, 5000, "not bagged")
        settle(intake.conversation.backend)
        compare(statuses(codes), each("已入袋", 3))
        click(findChild(bagWindow, "windowClose"))
        verify(!bagWindow.visible)

        // "送厂": the bag's number opens its contents; "批次完成", "打印袋号".
        walk.home()
        var sendFactory = walk.openEntry("528", "SendFactory")
        settle(sendFactory.conversation)
        var cell = null
        tryVerify(function () {
            cell = findChild(sendFactory.grid, "bagCell_" + bag.id)
            return cell !== null && cell.visible
        }, 5000, "no cell of the new bag")
        walk.clickIn(cell, "bagOpenArea")
        var contents = walk.inside(sendFactory, "IntoFactoryBatch")
        settle(contents.conversation)
        tryCompare(findChild(contents, "bagTotal"), "text", "共3件")
        walk.clickIn(contents, "completeButton")
        settle(contents.conversation)
        tryVerify(function () { return findChild(contents, "printButton").visible }, 5000, "no 打印袋号")
        compare(walk.printed(function () { walk.clickIn(contents, "printButton") }, 1), ["QR-Code:" + bag.code])
        var bagNow = reference.data("orderProductBatchIn/detail", { id: String(bag.id) }).data
        compare([String(bagNow.isFinish), bagNow.statusText], ["1", "等待物流人员收取"])
        walk.picture("6-bag-contents")

        // The factory stand-in: collected, washed and sent back in a batch.
        var back = reference.factory("return", bag.code)
        compare(back.status, 200)
        var batchCode = String(back.body.batchCode)
        compare(statuses(codes), each("已出厂", 3))

        // "到店": the batch's number, then "全部确认到店".
        walk.home()
        var arrival = walk.openEntry("527", "BatchArrivalStore")
        compare(arrival.asMode, 0)
        scanInto(arrival.firstField, batchCode)
        settle(arrival.conversation)
        compare(arrival.conversation.pending.map(function (g) { return g.scanCode }).sort(), codes.slice().sort())
        walk.clickIn(arrival, "confirmAllButton")
        settle(arrival.conversation)
        tryCompare(arrival.conversation.confirmed, "length", 3)
        compare(statuses(codes), each("已到店", 3))
        walk.picture("7-arrival")

        // "门店质检": each garment scanned, "合格": its certificate.
        walk.home()
        var quality = walk.openEntry("534", "qualityTest")
        codes.forEach(function (code) {
            scanInto(quality.scanField, code)
            settle(quality.conversation)
            compare(quality.conversation.record.scanCode, code)
            var certificate = walk.printed(function () { walk.clickIn(quality, "passButton") }, 1)
            settle(quality.conversation)
            compare(certificate, ["QR-Code:" + code])
        })
        compare(statuses(codes), each("质检合格", 3))
        walk.picture("8-quality")

        // "上挂" (the check's tab): a garment scanned, "整单上挂" from one position.
        walk.clickIn(quality, "hangUpTab")
        var rail = walk.inside(walk.menu(), "HangUp")
        scanInto(rail.scanField, codes[0])
        settle(rail.conversation)
        walk.clickIn(rail, "wholeOrderButton")
        tryVerify(function () { return findChild(rail, "wholeOrderField").activeFocus }, 2000)
        type(String(firstRailPosition))
        keyClick(Qt.Key_Return)
        settle(rail.conversation)
        tryVerify(function () { return findChild(rail, "allHungText").visible }, 5000, "not all hung")
        var hung = orderNow(orderNo).productList
        compare(hung.map(function (g) { return String(g.storeShelfNo) }),
                [0, 1, 2].map(function (i) { return String(firstRailPosition + i) }))
        compare(statuses(codes), each("已上挂", 3))
        walk.picture("9-rail")

        // "取衣": the order by its number, "全部取衣".
        walk.home()
        var pickUp = walk.openEntry("526", "TakeCloth")
        waitForKeyboard(walk.inside(pickUp, "searchField"))
        type(orderNo)
        keyClick(Qt.Key_Return)
        var list = walk.inside(pickUp, "TakeClothList")
        tryCompare(list.orders, "loading", false, 5000)
        walk.clickIn(list, "order_" + orderId)
        tryVerify(function () { return list.orderView !== null }, 5000, "the order is not shown")
        var view = list.orderView
        tryCompare(view.conversation, "loading", false, 5000)
        walk.picture("10-pick-up")
        walk.clickIn(view, "signAllButton")
        tryVerify(function () { return orderNow(orderNo).statusText === "已取衣" }, 5000, "not handed out")
        settle(view.conversation)
        compare(statuses(codes), each("已取衣", 3))
        compare(orderNow(orderNo).productList.map(function (g) { return String(g.storeShelfNo) }), ["0", "0", "0"])
        compare(boxes, [])
    }
}
