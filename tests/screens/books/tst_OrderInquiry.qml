import QtQuick 2.15
import QtTest 1.2
import Brenvo 1.0
import BrenvoTest 1.0
import "qrc:/"
import "qrc:/books.js" as Books
import "../common"
import "../common/fakeroutes.js" as Routes

// The order book. What each filter and the search send, the paging and the rows' texts
// against a backend answering as each test says; voiding, notes, credit and the screens a row
// opens against the reference backend, on orders the test makes there.
ScreenTestCase {
    id: testCase
    name: "OrderInquiry"
    needsSignIn: true

    function init() {
        Session.ticketPriterName = "pdf"
        Session.washPrinterName = "pdf"
    }

    function open() {
        screen = Qt.createComponent("qrc:/OrderInquiry.qml").createObject(host, {})
        verify(screen !== null)
        tryCompare(screen.conversation, "loading", false, 5000)
        return screen
    }

    function daysBack(n) {
        var d = new Date()
        return Books.dateText(new Date(d.getFullYear(), d.getMonth(), d.getDate() - n))
    }

    // The row showing order `id`, once the list has made it.
    function row(id) {
        var list = screen.list
        for (var i = 0; i < list.count; ++i) {
            if (String(list.model.get(i).id) !== String(id))
                continue
            list.positionViewAtIndex(i, ListView.Beginning)
            return rowAt(list, i)
        }
        return null
    }

    // A choice of a filter's list, which opens in a pop-up over the window.
    function choose(filter, text) {
        click(filter + "Button")
        var popup = item(filter).popup
        tryCompare(popup, "opened", true, 5000)
        var choice = null
        tryVerify(function () { choice = findChild(popup.contentItem, "choice_" + text); return choice !== null }, 5000)
        click(choice)
    }

    function searchFor(text) {
        screen.searchField.text = text
        click("orderSearchButton")
        tryCompare(screen.conversation, "loading", false, 5000)
    }

    // --- Against the test's own backend -------------------------------------------------

    function bookRow(id, over) {
        var r = { id: id, orderNo: "2603010100" + (10 + id), createTime: 1772330000000, originText: "门店下单",
                  userId: 7, userName: "王芳", userPhone: "13912340007", headimgPath: "", grade: 0,
                  rfidNo: "", cardNo: "VIP0007", takeModeText: "到店送衣", takeDate: "", takeWorkName: "",
                  sendModeText: "到店取衣", sendDate: "", sendWorkName: "", statusText: "已收衣",
                  payablePrice: 1550, payStatusText: "未支付", creditStatus: 0, userRemark: "",
                  remarkJson: [], business: [{ id: 1 }], annexCnt: 0,
                  isEnablePay: true, isEnableCredit: true, isEnableDestroy: true, isEnablePrint: true,
                  isEnableStockIn: false, isEnableBatchIn: true }
        for (var k in over)
            r[k] = over[k]
        return r
    }

    // A book of pages of these sizes (the last one repeats).
    function useFake(sizes) {
        routed.start()
        routes = {
            "orderInfo/list": function (body) {
                var n = Number(body.pageNum)
                var size = sizes[Math.min(n, sizes.length) - 1]
                var list = []
                for (var i = 0; i < size; ++i)
                    list.push(bookRow((n - 1) * 10 + i + 1))
                return Routes.ok({ list: list })
            },
            "sysDicKey/keyList": Routes.ok([{ text: "已收衣", val: 10 }, { text: "已作废", val: 50 }])
        }
    }

    function sentFields(body) {
        var out = {}
        for (var k in body)
            if (["serialNum", "timestamp", "appSecret", "accessToken"].indexOf(k) < 0)
                out[k] = body[k]
        return out
    }

    // Opening lists the last 30 days from page 1, with nothing else.
    function test_opening_lists_the_last_30_days() {
        useFake([3])
        open()
        compare(sentTo("orderInfo/list").map(sentFields),
                [{ pageNum: "1", pageSize: "10", startCreateTime: daysBack(30), endCreateTime: daysBack(0) }])
        compare(item("startDate", screen.timeFilter).children[0].text, daysBack(30))
        compare(Session.enterFlag, "OrderList")
        tryVerify(function () { return screen.searchField.activeFocus }, 5000)
        compare(screen.list.count, 3)
    }

    // Each filter sends what is set, with no search text; a search sends only its text.
    function test_filters_and_search_send_only_what_is_set() {
        useFake([1])
        open()
        screen.searchField.text = "139"
        click(item("time_所有", screen.timeFilter))
        tryVerify(function () { return sentTo("orderInfo/list").length === 2 }, 5000)
        compare(screen.searchField.text, "")
        choose("payFilter", "未支付")
        tryVerify(function () { return sentTo("orderInfo/list").length === 3 }, 5000)
        choose("statusFilter", "已作废")
        compare(sentTo("sysDicKey/keyList").map(sentFields), [{ code: "ORDER_STATUS" }])
        tryVerify(function () { return sentTo("orderInfo/list").length === 4 }, 5000)
        click(item("time_今天", screen.timeFilter))
        tryVerify(function () { return sentTo("orderInfo/list").length === 5 }, 5000)
        searchFor(" 13912340007 ")
        tryVerify(function () { return sentTo("orderInfo/list").length === 6 }, 5000)

        var sent = sentTo("orderInfo/list").slice(1).map(sentFields)
        var paging = { pageNum: "1", pageSize: "10" }
        function with_(more) { var o = { pageNum: "1", pageSize: "10" }; for (var k in more) o[k] = more[k]; return o }
        compare(sent[0], paging)
        compare(sent[1], with_({ payStatus: "0" }))
        compare(sent[2], with_({ payStatus: "0", statusVal: "50" }))
        compare(sent[3], with_({ payStatus: "0", statusVal: "50", startCreateTime: daysBack(0), endCreateTime: daysBack(0) }))
        compare(sent[4], with_({ searchValue: "13912340007" }))
        // The status filter reads its choices again each time it opens.
        click("statusFilterButton")
        tryVerify(function () { return sentTo("sysDicKey/keyList").length === 2 }, 5000)
        item("statusFilter").popup.close()
    }

    // A last page of 10 asks for one more when scrolled to its end, one of 9 does not; the
    // next pages keep what filled the list.
    function test_paging_stops_at_a_short_page_data() {
        return [
            { tag: "10 then 9", sizes: [10, 9], asked: 2, rows: 19 },
            { tag: "10, 10 then none", sizes: [10, 10, 0], asked: 3, rows: 20 },
            { tag: "9", sizes: [9], asked: 1, rows: 9 }
        ]
    }
    function test_paging_stops_at_a_short_page(row) {
        useFake(row.sizes)
        open()
        searchFor("VIP0007")
        var view = screen.list
        for (var i = 0; i < 4; ++i) {
            waitForRendering(view)
            mouseDrag(view, view.width / 2, view.height - 20, 0, -view.height + 40)
            view.positionViewAtEnd()
            view.loadMore()
            tryCompare(screen.conversation, "loading", false, 5000)
        }
        var pages = sentTo("orderInfo/list").slice(1)
        compare(pages.length, row.asked)
        compare(pages.map(function (b) { return b.pageNum }), row.sizes.map(function (s, n) { return String(n + 1) }))
        pages.forEach(function (b) { compare(b.searchValue, "VIP0007") })
        compare(view.count, row.rows)
    }

    // What a row shows of its order.
    function test_row_texts() {
        routed.start()
        routes = { "orderInfo/list": Routes.ok({ list: [
            bookRow(1, { grade: 3, rfidNo: "e004010000000007", userRemark: "要\n加急", creditStatus: 1,
                         remarkJson: [{ remark: "袖口有污渍", workName: "张丽", createTime: "2026-03-01 10:00:00" }] }),
            bookRow(2, { grade: 0, payStatusText: "已支付", isEnablePay: false, isEnableDestroy: false,
                         takeModeText: "上门取衣", takeDate: "2026-03-02", takeWorkName: "李师傅" })] }) }
        open()
        var first = row(1)
        compare(findChild(first, "amountText").text, "金额 : 15.50")
        verify(findChild(first, "gradeFlag").visible)
        compare(String(findChild(first, "gradeFlag").source), "qrc:/icon/icon/flagpurple.png")
        compare(findChild(first, "customerCard").text, "e004010000000007")
        compare(findChild(first, "userRemark").text, "用户：要加急")
        compare(findChild(first, "notesLine").text, "管理:袖口有污渍【张丽】")
        verify(findChild(first, "creditMark").visible)
        compare(findChild(first, "payStatusText").color, Theme.danger)
        verify(findChild(first, "voidButton") !== null)
        var second = row(2)
        verify(!findChild(second, "gradeFlag").visible)
        verify(!findChild(second, "notesLine").visible)
        compare(findChild(second, "customerCard").text, "VIP0007")
        compare(findChild(second, "payStatusText").color, Theme.success)
        compare(findChild(second, "payButton"), null)
        compare(findChild(second, "voidButton"), null)
        shot("order-inquiry")
    }

    // Voiding with no reason sends nothing.
    function test_void_without_reason_sends_nothing() {
        useFake([1])
        open()
        click(findChild(row(1), "voidButton"))
        verify(screen.voidWindow.visible)
        screen.voidWindow.reasonField.text = "   "
        click(item("voidConfirm", screen.voidWindow))
        compare(boxes, [["错误提示", "请输入作废原因"]])
        wait(50)
        compare(sentTo("orderInfo/destroy").length, 0)
        verify(screen.voidWindow.visible)
    }

    // --- Against the reference backend ----------------------------------------------------

    // A new unpaid order of member `userId` with its intake finished; { id, number }.
    function newOrder(userId) {
        var order = reference.newOrder(userId, 2000)
        compare(reference.data("stockIn/finish", { id: order.id }).httpCode, 200)
        return order
    }

    function statusOf(orderId) {
        return reference.data("orderInfo/detail", { id: orderId }).data.statusText
    }

    // Voided with its reason: the list is read again and shows it voided.
    function test_void_an_order() {
        var order = newOrder(17)
        open()
        searchFor(order.number)
        compare(screen.list.count, 1)
        click(findChild(row(order.id), "voidButton"))
        screen.voidWindow.reasonField.text = "顾客取消"
        click(item("voidConfirm", screen.voidWindow))
        tryVerify(function () { return !screen.voidWindow.visible }, 5000)
        compare(statusOf(order.id), "已作废")
        tryVerify(function () { return screen.list.count === 1 && screen.list.model.get(0).statusText === "已作废" }, 5000)
        compare(findChild(row(order.id), "voidButton"), null)
    }

    // The order was paid since the book showed it: the backend's refusal is shown, the window
    // stays, and the order is as it was.
    function test_void_refused_shows_its_message() {
        var order = newOrder(18)
        open()
        searchFor(order.number)
        verify(findChild(row(order.id), "voidButton") !== null)
        compare(reference.data("tradePay/confirmPay", { orderId: order.id, remark: "", groupCardType: "" }).httpCode, 200)
        click(findChild(row(order.id), "voidButton"))
        screen.voidWindow.reasonField.text = "顾客取消"
        click(item("voidConfirm", screen.voidWindow))
        tryVerify(function () { return boxes.length === 1 }, 5000)
        compare(boxes[0], ["错误提示", "订单已支付，不能作废"])
        verify(screen.voidWindow.visible)
        compare(statusOf(order.id), "已收衣")
        compare(reference.data("orderInfo/detail", { id: order.id }).data.payStatusText, "已支付")
    }

    // A note is added: the window closes and the row shows it after the list is read again.
    function test_add_a_note() {
        var order = newOrder(19)
        open()
        searchFor(order.number)
        verify(!findChild(row(order.id), "notesLine").visible)
        click(findChild(row(order.id), "notesButton"))
        verify(screen.notesWindow.visible)
        screen.notesWindow.noteField.text = "衣领发黄"
        click(item("addNoteButton", screen.notesWindow))
        tryVerify(function () { return !screen.notesWindow.visible }, 5000)
        tryVerify(function () { var r = row(order.id); return r !== null && findChild(r, "notesLine").visible }, 5000)
        compare(findChild(row(order.id), "notesLine").text, "管理:衣领发黄【张丽】")
        compare(screen.notesWindow.noteField.text, "")
    }

    // Credit needs its reason; once given, the order is on credit and the row says so.
    function test_credit() {
        var order = newOrder(22)
        open()
        searchFor(order.number)
        click(findChild(row(order.id), "creditButton"))
        click(item("creditConfirm", screen.creditWindow))
        compare(boxes, [["提示", "请输入赊账原因"]])
        item("creditReason", screen.creditWindow).text = "月结客户"
        click(item("creditConfirm", screen.creditWindow))
        tryVerify(function () { return !screen.creditWindow.visible }, 5000)
        tryVerify(function () { var r = row(order.id); return r !== null && findChild(r, "creditMark").visible }, 5000)
        compare(findChild(row(order.id), "creditButton"), null)
    }

    // The order details, the cashier and the intake open from a row and come back to the
    // list read again from page 1; the customer opens the member details.
    function test_screens_opened_from_a_row_data() {
        return [
            { tag: "order details", button: "orderNoLink", opens: "OrderDetails", back: "backButton", reloads: true },
            { tag: "cashier", button: "payButton", opens: "Cashier", back: "backButton", reloads: true },
            { tag: "intake", button: "stockInButton", opens: "PutStorage", back: "backButton", reloads: true },
            { tag: "member", button: "customerName", opens: "MemberDetails", back: "backButton", reloads: false }
        ]
    }
    function test_screens_opened_from_a_row(row_) {
        var order = reference.newOrder(23, 1800)
        if (row_.tag !== "intake")
            compare(reference.data("stockIn/finish", { id: order.id }).httpCode, 200)
        open()
        searchFor(order.number)
        // More rows than the first page's are on the list before.
        var requests = 0
        screen.conversation.backend.request.reqParamsReturn.connect(function () { ++requests })
        click(findChild(row(order.id), row_.button))
        var opened = null
        tryVerify(function () { opened = findChild(screen, row_.opens); return opened !== null }, 5000)
        if (row_.opens === "OrderDetails") {
            compare(opened.orderId, order.id)
            compare(opened.toOrderFlag, "OrderList")
            tryCompare(opened.orderView.conversation, "loading", false, 5000)
        } else if (row_.opens === "Cashier") {
            compare([opened.orderId, opened.userIds, opened.payFlags], [order.id, "23", "orderDetail"])
        } else if (row_.opens === "PutStorage") {
            compare(opened.orderNumber, order.number)
        } else {
            compare(opened.userId, "23")
        }
        // Loaded: its shade no longer covers "返回".
        tryVerify(function () { var s = findChild(opened, "loadingShade"); return s === null || !s.visible }, 5000)
        click(findChild(opened, row_.back))
        tryVerify(function () { return findChild(screen, row_.opens) === null }, 5000)
        tryCompare(screen.conversation, "loading", false, 5000)
        compare(requests > 0, row_.reloads)
        compare(screen.list.page, 1)
        compare(screen.list.count, 1)
    }

    // Closing the bag window reads the list again.
    function test_bag_window_closing_reloads() {
        var order = newOrder(24)
        open()
        searchFor(order.number)
        click(findChild(row(order.id), "bagButton"))
        verify(screen.bagWindow.visible)
        tryVerify(function () { return screen.bagWindow.items.length === 1 }, 5000)
        var requests = 0
        screen.conversation.backend.request.reqParamsReturn.connect(function (url) {
            if (url.indexOf("orderInfo/list") >= 0)
                ++requests
        })
        screen.bagWindow.close()
        tryVerify(function () { return requests === 1 }, 5000)
    }
}
