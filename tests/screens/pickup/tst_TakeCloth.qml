import QtQuick 2.15
import QtTest 1.2
import Brenvo 1.0
import BrenvoTest 1.0
import "qrc:/"
import "../common"

// The pick-up counter. The search and the order list against the reference backend, on
// orders the test makes there; the order view's garment buttons, refund window, refund-wash
// and rework against a backend of the test's own answers (RoutedFake), which also shows
// exactly what was sent; handing out a demo order on the rail against the reference backend.
ScreenTestCase {
    id: testCase
    name: "TakeCloth"
    needsSignIn: true

    // --- Helpers ----------------------------------------------------------------------------

    // A new order of `userId` in store 1 with one garment, its intake finished; its id and number.
    function createOrder(userId) {
        var order = reference.newOrder(userId, 2000)
        compare(reference.data("stockIn/finish", { id: order.id }).httpCode, 200)
        return order
    }

    function openSearch() {
        screen = Qt.createComponent("qrc:/TakeCloth.qml").createObject(host)
        verify(screen !== null)
        return screen
    }

    // The search screen finds `typed`; the order list it opens, loaded.
    function search(typed) {
        openSearch()
        item("searchField").forceActiveFocus()
        type(typed)
        keyClick(Qt.Key_Return)
        var list = null
        tryVerify(function () { list = findChild(screen, "TakeClothList"); return list !== null }, 5000)
        tryCompare(list.orders, "loading", false, 5000)
        return list
    }

    function orderIds(list) {
        var ids = []
        for (var i = 0; i < list.orders.count; ++i)
            ids.push(String(list.orders.model.get(i).id))
        return ids
    }

    // --- The search and the list, against the reference backend ------------------------

    // By the customer's phone: all of the customer's orders; by an order number: that one
    // order; "显示全部订单" then lists all of them again.
    function test_search_by_phone_order_number_and_show_all() {
        var made = [createOrder(28), createOrder(28), createOrder(28)]
        var list = search("13912340028")
        compare(list.getFlag, 1)
        compare(orderIds(list).sort(), made.map(function (o) { return o.id }).sort())
        compare(item("customerPhone", list).text, "13912340028")
        screen.close()

        list = search(made[1].number)
        compare(list.getFlag, 2)
        compare(orderIds(list), [made[1].id])
        click(item("showAllButton", list))
        tryCompare(list.orders, "count", 3, 5000)
        compare(list.getFlag, 1)
    }

    // An unknown customer is told, and the search screen stays; an empty field sends nothing.
    function test_unknown_customer_and_empty_field() {
        openSearch()
        var sent = 0
        screen.conversation.backend.request.reqParamsReturn.connect(function () { ++sent })
        item("searchField").forceActiveFocus()
        keyClick(Qt.Key_Return)
        wait(50)
        compare(sent, 0)
        type("13900000099")
        keyClick(Qt.Key_Return)
        tryVerify(function () { return TestSupport.boxes().length === 1 }, 5000)
        compare(TestSupport.boxes()[0][1], "错误提示")
        compare(TestSupport.boxes()[0][2], "未找到该顾客")
        compare(findChild(screen, "TakeClothList"), null)
    }

    // Exactly ten orders: scrolling to the end asks for page 2, which adds nothing.
    function test_ten_orders_ask_for_page_two() {
        for (var i = 0; i < 10; ++i)
            createOrder(29)
        var list = search("13912340029")
        compare(list.orders.count, 10)
        var view = list.orders
        laidOut(view)
        mouseDrag(view, view.width / 2, view.height - 20, 0, -view.height + 40)
        tryCompare(view, "page", 2, 5000)
        tryCompare(view, "loading", false, 5000)
        compare(view.count, 10)
    }

    // A demo order on the rail, on credit: one garment handed out, then the order; a
    // garment handed out is not offered again.
    function test_hand_out_against_the_backend() {
        var list = search("13912340012")
        verify(list.orders.count > 0)
        list.openOrder(list.orders.model.get(0).id)
        var view = list.orderView
        tryCompare(view.conversation, "loading", false, 5000)
        verify(item("signAllButton", view).visible, JSON.stringify(view.order))
        var garment = view.conversation.garments[0]
        click(item("garment_" + garment.id, view))
        shot("takecloth-order")
        verify(item("pickButton", view).visible)
        click(item("pickButton", view))
        tryVerify(function () { return view.conversation.garments.length > 0 && view.conversation.garments[0].statusText === "已取衣" }, 5000)
        compare(view.order.statusText, "已取衣")
        verify(!item("pickButton", view).visible)
        verify(!item("signAllButton", view).visible)
        click(item("garment_" + garment.id, view))
        verify(!item("pickButton", view).visible)
        click(item("backToListButton", view))
        compare(list.orderView, null)
        tryCompare(list.orders, "loading", false, 5000)
    }

    // A demo order of `userId` with a garment that may be handed out; its id.
    function orderToHandOut(list) {
        for (var i = 0; i < list.orders.count; ++i) {
            var id = String(list.orders.model.get(i).id)
            var garments = reference.data("orderInfo/detail", { id: id }).data.productList
            if (garments.some(function (g) { return String(g.isEnableSign) === "true" }))
                return id
        }
        return ""
    }

    // The answer of a hand-out is lost, though the garment went out: the worker's retry
    // (confirming the box, or "取衣" again) sends the very same request, which the backend
    // answers from what it kept, so nothing shows as failed that went through.
    function test_lost_hand_out_is_done_once_data() {
        return [
            { tag: "the box confirmed", retry: "box" },
            { tag: "the button again", retry: "button" }
        ]
    }
    function test_lost_hand_out_is_done_once(row) {
        var list = search("13912340010")
        var orderId = orderToHandOut(list)
        verify(orderId !== "")
        list.openOrder(orderId)
        var view = list.orderView
        var boxes = []
        view.messageBox = {
            btnMsgMessageInformationBox: function (title, text) { boxes.push([title, text]) },
            btnMsgMessageErrBox: function (title, text) { boxes.push([title, text]) }
        }
        tryCompare(view.conversation, "loading", false, 5000)
        var garment = view.conversation.garments.filter(function (g) { return String(g.isEnableSign) === "true" })[0]
        var sent = []
        view.conversation.backend.request.reqParamsReturn.connect(function (url) {
            if (url.indexOf("/mac/orderProductRel/productSign?") >= 0)
                sent.push(url)
        })
        click(item("garment_" + garment.id, view))
        // Clicked without a turn of the event loop, so that no answer can come in before it
        // is lost.
        verify(item("pickButton", view).visible)
        item("pickButton", view).clicked()
        var out = Object.keys(view.conversation.backend.calls)
        compare(out.length, 1)
        view.conversation.backend.finish(Number(out[0]), "Operation canceled", true)
        compare(boxes, [["错误提示", "无法连接服务器，请检查网络后重试"]])
        function handedOut() {
            return reference.data("orderInfo/detail", { id: orderId }).data.productList.some(function (g) {
                return String(g.id) === String(garment.id) && g.statusText === "已取衣"
            })
        }
        tryVerify(handedOut, 5000)
        if (row.retry === "box")
            view.conversation.followUp.confirm()
        else
            click(item("pickButton", view))
        tryVerify(function () {
            return view.conversation.garments.some(function (g) { return g.id === garment.id && g.statusText === "已取衣" })
        }, 5000)
        tryCompare(view.conversation.backend, "pending", 0, 5000)
        compare(boxes.length, 1)
        compare(sent.length, 2)
        compare(sent[1], sent[0])
    }

    // --- The order view, against a backend of the test's own ---------------------------

    function garment(id, over) {
        var g = { id: id, type: 1, no: id, total: 2, productName: "衬衫", serviceName: "水洗",
                  colorDesc: "[]", flawDesc: "[]", annexDesc: '[{"id":"1","name":"腰带"}]', addServiceDesc: "[]",
                  serviceAmt: 1500, subtotal: 1500, picCnt: 0, scanCode: "701000000" + id, bindCode: "",
                  statusText: "已上挂", outBatch: 0, hasRefundText: "", tranTypeName: "滑轨", storeShelfNo: 3,
                  tranTypeText: "", tranNum: "", isEnableSign: true, isEnableStockRework: true, isEnableRefund: true }
        for (var k in over)
            g[k] = over[k]
        return g
    }

    function detail(paid, garments, over) {
        var d = { id: 12, orderNo: "261130010012", originText: "门店下单", createTime: 1764000000000,
                  userInfo: { id: 7, name: "王芳", phone: "13912340007" },
                  statusText: "待取衣", payStatusText: paid ? "已支付" : "未支付", payablePrice: 3000,
                  couponAmt: 0, paymentPrice: paid ? 3000 : 0, refundPrice: 0, refundablePrice: paid ? 3000 : 0,
                  isEnablePay: !paid, isEnableRefund: paid, isEnableSign: false, isEnableComplete: false,
                  isEnableCredit: !paid, creditStatus: 0, creditRemark: "", userRemark: "", remarkJson: [],
                  statusList: [], productList: garments }
        for (var k in over)
            d[k] = over[k]
        return ok(d)
    }

    function openView(detailReply) {
        routed.start()
        routes = {
            "orderInfo/detail": detailReply,
            "tradeOrder/list": ok({ list: [{ payMethodText: "现金", payMethod: 1, amount: 2000, tradeTime: 1764000100000, refundableAmount: 2000 },
                                           { payMethodText: "会员余额", payMethod: 4, amount: 1000, tradeTime: 1764000100000, refundableAmount: 1000 }] }),
            "sysDicKey/refundMethodList": ok([{ id: 1, showText: "原路退回" }, { id: 2, showText: "现金" }, { id: 3, showText: "退至会员余额" }])
        }
        screen = Qt.createComponent("qrc:/TakeClothOrderInfo.qml").createObject(host,
                     { orderId: "12", userId: "7", screenHost: host, width: 1000, height: 860 })
        verify(screen !== null)
        tryCompare(screen.conversation, "loading", false, 5000)
        return screen
    }

    // One garment that may be handed out and one that may not: "取衣" is hidden.
    function test_mixed_garments_hide_pick() {
        openView(detail(true, [garment(1), garment(2, { isEnableSign: false, statusText: "已取衣" })]))
        verify(!item("pickButton").visible)
        click(item("garment_1"))
        verify(item("pickButton").visible)
        click(item("garment_2"))
        verify(!item("pickButton").visible)
        verify(item("reworkButton").visible)
        compare(item("annexLine", item("garment_1")).text, "附件：腰带")
    }

    // 10.00 from the balance and 20.00 cash, 30.00 refundable: 25 shows 10.00 back to the
    // balance and 15.00 to the chosen means; 35 is over, and "确定" sends nothing.
    function test_refund_split_in_the_window() {
        openView(detail(true, [garment(1)]))
        routes["tradeRefund/refund"] = ok({ id: 5, seq: "5261130000001" })
        click(item("refundButton"))
        var w = screen.refundWindow
        tryCompare(w, "visible", true)
        tryVerify(function () { return w.means.length === 3 }, 5000)
        item("amountField", w).forceActiveFocus()
        type("25")
        compare(item("balanceShare", w).text, "10.00元退至会员余额")
        verify(item("meansShare", w).visible)
        verify(item("meansShare", w).text.indexOf("15.00元退至") === 0)
        verify(!item("overText", w).visible)

        item("amountField", w).text = ""
        item("amountField", w).forceActiveFocus()
        type("35")
        verify(item("overText", w).visible)
        compare(item("overText", w).text, "超出可退款金额")
        item("reasonField", w).text = "衣服破损"
        click(item("refundConfirm", w))
        wait(50)
        compare(sentTo("tradeRefund/refund").length, 0)
        compare(TestSupport.boxes().length, 0)

        item("amountField", w).text = "25"
        click(item("means_2", w))
        compare(item("meansShare", w).text, "15.00元退至现金")
        shot("takecloth-refund")
        click(item("refundConfirm", w))
        tryVerify(function () { return TestSupport.boxes().length === 1 }, 5000)
        compare(TestSupport.boxes()[0][2], "已申请退款，等待审批")
        var sent = sentTo("tradeRefund/refund")
        compare(sent.length, 1)
        compare(sent[0].amount, "2500")
        compare(sent[0].payMethod, "2")
        compare(sent[0].remark, "衣服破损")
        verify(!w.visible)
    }

    // The means named by how they give back read as they are: "15.00元原路退回",
    // "15.00元退至会员余额"; a means named by what it is: "15.00元退至现金".
    function test_refund_share_texts_data() {
        return [
            { tag: "the way it came", means: "means_1", text: "15.00元原路退回" },
            { tag: "cash", means: "means_2", text: "15.00元退至现金" },
            { tag: "to the balance", means: "means_3", text: "15.00元退至会员余额" }
        ]
    }
    function test_refund_share_texts(row) {
        openView(detail(true, [garment(1)]))
        click(item("refundButton"))
        var w = screen.refundWindow
        tryVerify(function () { return w.means.length === 3 }, 5000)
        item("amountField", w).forceActiveFocus()
        type("25")
        compare(item("balanceShare", w).text, "10.00元退至会员余额")
        click(item(row.means, w))
        compare(item("meansShare", w).text, row.text)
    }

    // Typing the amount shows and hides the split's lines and the means; nothing below them
    // moves under the pointer, and the shade covers the whole window, not only the view.
    function test_refund_window_holds_still() {
        openView(detail(true, [garment(1)]))
        click(item("refundButton"))
        var w = screen.refundWindow
        tryVerify(function () { return w.means.length === 3 }, 5000)
        var whole = w
        while (whole.parent !== null)
            whole = whole.parent

        var watched = ["reasonField", "refundConfirm", "refundCancel", "means_1"]
        // Where each is drawn, once the form and its means are laid out.
        function places() {
            waitForItemPolished(item("refundMeans", w))
            waitForItemPolished(item("refundForm", w))
            return watched.map(function (name) {
                var p = item(name, w).mapToItem(whole, 0, 0)
                return name + "@" + p.x + "," + p.y
            })
        }
        var field = item("amountField", w)
        field.forceActiveFocus()
        var at = places()
        // Empty, within the balance part, past it (a means is needed), over what may go back.
        ;["1", "2", "5", Qt.Key_Backspace, Qt.Key_Backspace, "3", "5", Qt.Key_Backspace, Qt.Key_Backspace].forEach(function (key) {
            keyClick(key)
            compare(places(), at, "after typing, the amount reads " + field.text)
        })
        type("35")
        verify(item("overText", w).visible)
        compare(places(), at)

        var corner = w.mapToItem(whole, 0, 0)
        compare([corner.x, corner.y, w.width, w.height], [0, 0, whole.width, whole.height])
        verify(w.width > screen.width && w.height > screen.height)
    }

    // Every window of the order view shades the whole window, not only the view.
    function test_order_view_windows_cover_the_window_data() {
        return [
            { tag: "refund", window: "refundWindow" },
            { tag: "credit", window: "creditWindow" },
            { tag: "bag choice", window: "bagWindow" },
            { tag: "refund records", window: "recordWindow" }
        ]
    }
    function test_order_view_windows_cover_the_window(row) {
        openView(detail(false, [garment(1)]))
        routes["orderProductBatchIn/list"] = ok({ list: [] })
        var w = screen[row.window]
        if (row.window === "recordWindow")
            w.show([], [])
        else if (row.window === "refundWindow")
            w.start(false)
        else
            w.start()
        verify(w.visible)
        var whole = w
        while (whole.parent !== null)
            whole = whole.parent
        var corner = w.mapToItem(whole, 0, 0)
        compare([corner.x, corner.y, w.width, w.height], [0, 0, whole.width, whole.height])
        verify(w.width > screen.width && w.height > screen.height)
        w.close()
    }

    // 10.00 of the balance went back already: what is typed goes to the chosen means, which
    // is asked for, instead of to the balance, which has nothing left to give back.
    function test_refund_after_a_balance_refund() {
        openView(detail(true, [garment(1)], { refundPrice: 1000, refundablePrice: 2000 }))
        routes["tradeOrder/list"] = ok({ list: [
            { payMethodText: "现金", payMethod: 1, amount: 2000, tradeTime: 1764000100000, refundableAmount: 2000 },
            { payMethodText: "会员余额", payMethod: 4, amount: 1000, tradeTime: 1764000100000, refundableAmount: 0 }] })
        screen.reload()
        tryCompare(screen.conversation, "loading", false, 5000)
        routes["tradeRefund/refund"] = ok({ id: 7, seq: "5261130000003" })
        click(item("refundButton"))
        var w = screen.refundWindow
        tryVerify(function () { return w.means.length === 3 }, 5000)
        item("amountField", w).text = "8"
        item("reasonField", w).text = "少洗一件"
        verify(!item("balanceShare", w).visible)
        verify(item("meansShare", w).visible)
        click(item("refundConfirm", w))
        compare(TestSupport.boxes()[0][2], "请选择退款方式")
        click(item("means_2", w))
        compare(item("meansShare", w).text, "8.00元退至现金")
        click(item("refundConfirm", w))
        tryVerify(function () { return sentTo("tradeRefund/refund").length === 1 }, 5000)
        var sent = sentTo("tradeRefund/refund")[0]
        compare(sent.amount, "800")
        compare(sent.payMethod, "2")
    }

    // Without a reason or an amount the worker is told, and nothing is sent.
    function test_refund_needs_reason() {
        openView(detail(true, [garment(1)]))
        click(item("refundButton"))
        item("amountField", screen.refundWindow).text = "5"
        click(item("refundConfirm", screen.refundWindow))
        compare(TestSupport.boxes()[0][2], "请输入原因或修改后价格")
        compare(sentTo("tradeRefund/refund").length, 0)
    }

    // A request whose answer never came is sent again as the very same request.
    function test_unanswered_refund_sent_again_unchanged() {
        openView(detail(true, [garment(1)]))
        routes["tradeRefund/refund"] = ["<html>502 Bad Gateway</html>", ok({ id: 5, seq: "5261130000001" })]
        click(item("refundButton"))
        var w = screen.refundWindow
        w.chosenMeans = "1"
        item("amountField", w).text = "8"
        item("reasonField", w).text = "少洗一件"
        click(item("refundConfirm", w))
        tryVerify(function () { return w.note !== "" }, 5000)
        verify(w.visible)
        click(item("refundConfirm", w))
        tryVerify(function () { return sentTo("tradeRefund/refund").length === 2 }, 5000)
        var sent = sentTo("tradeRefund/refund")
        compare(sent[1], sent[0])
    }

    // A refund-wash on an unpaid order asks for the order's new total and sends it.
    function test_refund_wash_unpaid_asks_new_total() {
        openView(detail(false, [garment(1), garment(2)]))
        routes["orderProductRelAudit/refund"] = ok({ id: 6, seq: "5261130000002" })
        click(item("garment_2"))
        click(item("refundWashButton"))
        var w = screen.refundWindow
        compare(w.title, "衣物退洗")
        compare(item("amountCaption", w).text, "修改订单总额为")
        verify(!item("refundable", w).visible)
        compare(item("refundCount", w).text, "该订单共有2件衣物,已选中1衣物")
        item("amountField", w).text = "15"
        item("reasonField", w).text = "顾客不洗了"
        click(item("refundConfirm", w))
        tryVerify(function () { return sentTo("orderProductRelAudit/refund").length === 1 }, 5000)
        var sent = sentTo("orderProductRelAudit/refund")[0]
        compare(sent.amount, "1500")
        compare(sent.orderProIds, "2")
        compare(sent.payMethod, undefined)
        tryVerify(function () { return TestSupport.boxes().length === 1 }, 5000)
        compare(TestSupport.boxes()[0][2], "已申请退洗，等待审批")
        compare(screen.selection.ids.length, 0)
    }

    // 42949673.01 yuan stays 4294967301 fen through the refund-wash window (a 32-bit int made
    // it 5 fen).
    function test_refund_wash_amount_past_32_bits() {
        openView(detail(false, [garment(1)]))
        routes["orderProductRelAudit/refund"] = { httpCode: 409, msg: "修改后金额不能高于订单金额" }
        click(item("garment_1"))
        click(item("refundWashButton"))
        var w = screen.refundWindow
        item("amountField", w).text = "42949673.01"
        item("reasonField", w).text = "顾客不洗了"
        click(item("refundConfirm", w))
        tryVerify(function () { return w.note !== "" }, 5000)
        compare(sentTo("orderProductRelAudit/refund")[0].amount, "4294967301")
        compare(w.note, "修改后金额不能高于订单金额")
    }

    // Rework of garments none of which was bagged sends no bag request; one bagged garment
    // goes into the bag chosen from the open ones.
    function test_rework_and_its_bag_data() {
        return [
            { tag: "no garment bagged", outBatch: 0, bag: false },
            { tag: "a garment bagged once", outBatch: 1, bag: true }
        ]
    }
    function test_rework_and_its_bag(row) {
        openView(detail(true, [garment(1, { outBatch: row.outBatch }), garment(2)]))
        routes["orderProductRel/stockReworkBatch"] = ok({})
        routes["orderProductBatchIn/list"] = ok({ list: [{ id: 41, code: "926113001001", annexCnt: 0, productCnt: 2 },
                                                         { id: 42, code: "926113001002", annexCnt: 1, productCnt: 3 }] })
        routes["orderProductBatchInRel/addBatch"] = ok({})
        click(item("garment_1"))
        click(item("garment_2"))
        verify(item("reworkButton").visible)
        screen.reworkConfirmed()
        if (row.bag) {
            tryCompare(screen.bagWindow, "chosenId", "41", 5000)
            var bag = null
            tryVerify(function () { bag = findChild(screen.bagWindow, "bag_42"); return bag !== null }, 5000)
            click(bag)
            click(item("bagConfirm", screen.bagWindow))
        }
        tryVerify(function () { return TestSupport.boxes().length === 1 }, 5000)
        compare(TestSupport.boxes()[0][2], "衣物返洗成功")
        compare(sentTo("orderProductRel/stockReworkBatch")[0].proIds, "1,2")
        compare(sentTo("orderProductBatchIn/list").length, row.bag ? 1 : 0)
        var bagged = sentTo("orderProductBatchInRel/addBatch")
        compare(bagged.length, row.bag ? 1 : 0)
        if (row.bag) {
            compare(bagged[0].inId, "42")
            compare(bagged[0].orderProIds, "1")
        }
    }

    // The garments went back for rework but the bag refused them: the worker is told so, and
    // the order is read again.
    function test_rework_whose_bag_fails_is_told() {
        openView(detail(true, [garment(1, { outBatch: 1 })]))
        routes["orderProductRel/stockReworkBatch"] = ok({})
        routes["orderProductBatchIn/list"] = ok({ list: [{ id: 41, code: "926113001001", annexCnt: 0, productCnt: 2 }] })
        routes["orderProductBatchInRel/addBatch"] = { httpCode: 409, msg: "袋子已送出，不能再放入衣物" }
        click(item("garment_1"))
        screen.reworkConfirmed()
        tryCompare(screen.bagWindow, "chosenId", "41", 5000)
        click(item("bagConfirm", screen.bagWindow))
        tryVerify(function () { return TestSupport.boxes().length === 1 }, 5000)
        compare(TestSupport.boxes()[0].slice(1), ["错误提示", "衣物已返洗，未能放入袋中：袋子已送出，不能再放入衣物"])
        tryVerify(function () { return sentTo("orderInfo/detail").length === 2 }, 5000)
        compare(sentTo("orderProductBatchInRel/addBatch").length, 1)
    }

    // "打印小票" and "全打标": a print that printed says nothing, nor does "无"; a printer
    // chosen but not installed is named, with where another is chosen.
    function test_print_feedback_data() {
        var rows = []
        var notInstalled = "打印机“Label Printer 3”未安装，未能打印。请在“设置”中选择打印机"
        ;[{ name: "ticket", button: "ticketButton", path: "print/order/detail" },
          { name: "labels", button: "labelsButton", path: "print/product/all" }].forEach(function (b) {
            rows.push({ tag: b.name + " on pdf", button: b.button, path: b.path, printer: "pdf", pdf: true, told: "" })
            rows.push({ tag: b.name + " on 无", button: b.button, path: b.path, printer: "无", pdf: false, told: "" })
            rows.push({ tag: b.name + " on a printer not installed", button: b.button, path: b.path,
                        printer: "Label Printer 3", pdf: false, told: notInstalled })
        })
        return rows
    }
    function test_print_feedback(row) {
        var pdf = "release/qrpic/123.pdf"
        TestSupport.removeFile(pdf)
        Session.ticketPriterName = row.printer
        Session.washPrinterName = row.printer
        Session.printetype = "0"
        openView(detail(true, [garment(1)]))
        routes["print/order/detail"] = ok({ orderNo: "261130010012", productList: [garment(1)] })
        routes["print/product/all"] = ok({ orderNo: "261130010012", productList: [garment(1)] })
        click(item(row.button))
        tryVerify(function () { return sentTo(row.path).length === 1 }, 5000)
        settle(screen.conversation)
        compare(TestSupport.exists(pdf), row.pdf)
        compare(TestSupport.boxes().map(function (b) { return b.slice(1) }),
                row.told === "" ? [] : [["提示", row.told]])
        Session.ticketPriterName = ""
        Session.washPrinterName = ""
    }

    // Credit needs a reason; the order is read again once it is on credit.
    function test_credit_needs_a_reason() {
        openView(detail(false, [garment(1)]))
        routes["orderInfo/credit"] = ok({})
        click(item("creditButton"))
        click(item("creditConfirm", screen.creditWindow))
        compare(TestSupport.boxes()[0][2], "请输入赊账原因")
        item("creditReason", screen.creditWindow).text = "月结客户"
        click(item("creditConfirm", screen.creditWindow))
        tryVerify(function () { return sentTo("orderInfo/credit").length === 1 }, 5000)
        compare(sentTo("orderInfo/credit")[0].creditRemark, "月结客户")
        tryVerify(function () { return sentTo("orderInfo/detail").length === 2 }, 5000)
    }
}
