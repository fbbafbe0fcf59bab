import QtQuick 2.15
import QtTest 1.2
import Brenvo 1.0
import BrenvoTest 1.0
import "qrc:/"
import "../common"
import "../common/fakeroutes.js" as Routes

// The cashier. Exact amounts, the order of requests, polling and a payment under way are
// driven by a backend that answers as each test says (RoutedFake: held requests answered by
// path); money moving end to end against the reference backend, on orders the test creates
// there (a garment with a set price, so the amount to pay is known).
ScreenTestCase {
    id: testCase
    name: "Cashier"
    needsSignIn: true
    confirmsBoxes: false

    SignalSpy { id: paidSpy; signalName: "paid" }
    SignalSpy { id: returnedSpy; signalName: "returned" }
    SignalSpy { id: sentSpy; signalName: "reqParamsReturn" }

    property alias cashier: testCase.screen

    // --- The backend of the test --------------------------------------------------------

    function payInfo(over) {
        var data = {
            orderNo: "261130010012", orderPrice: 3000, modifyPrice: null, carriage: 0,
            payablePrice: 3000, couponAmt: 0, cpnRelId: null, cpnUseBalance: null,
            isEnableWx: true, isEnableAli: true, isEnableCash: true, isEnableOther: true,
            uPayCard: { isEnable: 0, balance: 0, payRatio: 0 }
        }
        for (var k in over)
            data[k] = over[k]
        return ok(data)
    }

    function useFake(info, balance) {
        routed.start()
        routes = {
            "orderInfo/payInfo": info,
            "userExt/balance": ok({ balance: balance }),
            "mercParam/getPaymentConfig": ok({ paySignList: [{ val: "5", showName: "银行卡", name: "bankCard" },
                                                             { val: "10", showName: "美团", name: "meituan" }] })
        }
    }

    function open(orderId, userId, payFlags) {
        cashier = Qt.createComponent("qrc:/Cashier.qml").createObject(host,
                      { orderId: String(orderId), userIds: String(userId), payFlags: payFlags || "orderDetail" })
        verify(cashier !== null)
        paidSpy.target = cashier
        returnedSpy.target = cashier
        sentSpy.target = cashier.conversation.backend.request
        tryCompare(cashier.conversation, "loading", false, 5000)
        return cashier
    }

    function paths() {
        return Routes.paths(fake)
    }

    function openFake(info, balance) {
        useFake(info, balance)
        return open(12, 7)
    }

    function text(name) {
        return item(name).text
    }

    // --- Opening ------------------------------------------------------------------------

    // Payment information, then the balance, then the payment configuration, under the shade;
    // a failure of any of them is told, and confirming it loads again from the start.
    function test_loading_chain_with_shade_and_retry_data() {
        return [
            { tag: "payment information fails", failing: "orderInfo/payInfo",
              sent: ["orderInfo/payInfo", "orderInfo/payInfo", "userExt/balance", "mercParam/getPaymentConfig"] },
            { tag: "balance fails", failing: "userExt/balance",
              sent: ["orderInfo/payInfo", "userExt/balance", "orderInfo/payInfo", "userExt/balance", "mercParam/getPaymentConfig"] },
            { tag: "configuration fails", failing: "mercParam/getPaymentConfig",
              sent: ["orderInfo/payInfo", "userExt/balance", "mercParam/getPaymentConfig", "orderInfo/payInfo",
                     "userExt/balance", "mercParam/getPaymentConfig"] }
        ]
    }
    function test_loading_chain_with_shade_and_retry(row) {
        useFake(undefined, 5000)
        TestSupport.confirmBoxes(true)
        cashier = Qt.createComponent("qrc:/Cashier.qml").createObject(host, { orderId: "12", userIds: "7", payFlags: "PutOrder" })
        tryVerify(function () { return fake.requestCount() === 1 }, 5000)
        verify(findChild(cashier, "loadingShade").visible)
        compare(sentTo("orderInfo/payInfo")[0].id, "12")
        // Only now does the backend answer, the failing request refused once.
        routes["orderInfo/payInfo"] = payInfo({})
        routes[row.failing] = [refused(500, "服务器忙"), routes[row.failing]]
        tryCompare(cashier.conversation, "loading", false, 5000)
        compare(TestSupport.boxes()[0].slice(1), ["错误提示", "服务器忙"])
        compare(paths(), row.sent)
        compare(sentTo("userExt/balance")[0].id, "7")
        verify(!findChild(cashier, "loadingShade").visible)
        compare(cashier.means, "wechat")
        tryVerify(function () { return item("scanCodeField").activeFocus }, 5000)
    }

    // The worker closes the box of a failed load instead of confirming it: no shade stays
    // over "返回", and nothing is offered.
    function test_failed_loading_leaves_back_within_reach() {
        useFake(refused(500, "服务器忙"), 0)
        cashier = Qt.createComponent("qrc:/Cashier.qml").createObject(host, { orderId: "12", userIds: "7", payFlags: "PutOrder" })
        returnedSpy.target = cashier
        tryVerify(function () { return TestSupport.boxes().length === 1 }, 5000)
        verify(!findChild(cashier, "loadingShade").visible)
        verify(!item("meansPanel").visible)
        verify(!item("wholeConfirm").visible)
        click(cashier.backButton)
        compare(returnedSpy.count, 1)
        tryVerify(closed, 5000)
    }

    function test_amounts_shown() {
        openFake(payInfo({ payablePrice: 4550, carriage: 1000, modifyPrice: 4550, couponAmt: 500, cpnRelId: 3, cpnUseBalance: 1 }), 0)
        compare(text("orderTotal"), "¥45.50")
        compare(text("carriage"), "¥10.00")
        verify(item("modifyPrice").visible)
        compare(text("couponAmount"), "-5.00")
        compare(text("stillToCollect"), "40.50")
        verify(!item("balanceSwitch").visible) // no balance
    }

    // --- Amounts and switches -----------------------------------------------------------

    // Receivable 30.00 and balance 50.00: only "确认收款", which settles it from the balance.
    function test_whole_amount_from_the_balance() {
        openFake(payInfo({}), 5000)
        routes["tradePay/balancePay"] = ok({ seq: "5001", status: 1, payAmount: 3000 })
        verify(item("wholeConfirm").visible)
        verify(!item("meansPanel").visible)
        compare(text("balanceTaken"), "-30.00 元")
        shot("cashier-whole")
        click(item("wholeConfirm"))
        tryCompare(paidSpy, "count", 1, 5000)
        compare(sentTo("tradePay/balancePay"), [{ serialNum: Session.serialNum, timestamp: sentTo("tradePay/balancePay")[0].timestamp,
                                                 appSecret: Session.appSecret, accessToken: Session.accessToken,
                                                 orderId: "12", remark: "" }])
        verify(item("donePanel").visible)
        compare(text("doneAmount"), "¥30.00")
        tryVerify(closed, 5000)
    }

    // Balance 10.00: 20.00 still to collect; 25 in cash gives 5.00 change, and the request
    // names the whole balance.
    function test_cash_with_balance_and_change() {
        openFake(payInfo({}), 1000)
        routes["tradePay/confirmPay"] = null
        compare(text("stillToCollect"), "20.00")
        click(item("means_cash"))
        compare(cashier.means, "cash")
        item("cashReceived").forceActiveFocus()
        type("19")
        compare(text("cashChange"), "")
        click(item("cashConfirm"))
        compare(sentTo("tradePay/confirmPay").length, 0) // too little: nothing is sent
        item("cashReceived").text = ""
        item("cashReceived").forceActiveFocus()
        type("25")
        compare(text("cashChange"), "5.00")
        shot("cashier-cash")
        click(item("cashConfirm"))
        tryVerify(function () { return sentTo("tradePay/confirmPay").length === 1 }, 5000)
        var body = sentTo("tradePay/confirmPay")[0]
        compare(body.balance, "1000")
        compare(body.groupCardType, "")
        compare(body.orderId, "12")
        compare(body.cpnRelId, undefined)
        compare(body.remark, "")
        // A second press while it is out sends nothing.
        click(item("cashConfirm"))
        wait(50)
        compare(sentTo("tradePay/confirmPay").length, 1)
    }

    // A coupon that does not go with the balance switches it off: the cash request has no
    // `balance`. Either already on the order, or applied in the coupon window.
    function test_coupon_without_balance_data() {
        return [
            { tag: "coupon on the order", onOrder: true },
            { tag: "coupon applied here", onOrder: false }
        ]
    }
    function test_coupon_without_balance(row) {
        var coupon = { id: 9, name: "皮具护理8折券", amount: 600, fullAmount: 0, couponRuleName: "通用",
                       timeStart: 1700000000000, timeEnd: 1900000000000, enableUse: 1,
                       orderId: row.onOrder ? 12 : 0, useStatus: row.onOrder ? 1 : 0, useBalance: 0 }
        openFake(payInfo(row.onOrder ? { couponAmt: 600, cpnRelId: 9, cpnUseBalance: 0 } : {}), 1000)
        routes["couponInfo/orderList"] = ok([coupon])
        routes["couponInfo/use"] = ok({ couponAmt: 600, payAmount: 2400 })
        routes["tradePay/confirmPay"] = null
        if (!row.onOrder) {
            verify(item("balanceSwitch").visible)
            compare(text("stillToCollect"), "20.00")
            click(item("couponButton"))
            var window = item("couponWindow")
            tryVerify(function () { return window.visible }, 5000)
            compare(findChild(window, "couponValidity").text.indexOf("."), 4)
            shot("cashier-coupons")
            click(rowAt(findChild(window, "couponList"), 0))
            tryVerify(function () { return sentTo("couponInfo/use").length === 1 }, 5000)
            compare(sentTo("couponInfo/use")[0].relId, "9")
            window.close()
        }
        compare(text("couponAmount"), "-6.00")
        verify(!item("balanceSwitch").visible)
        compare(text("stillToCollect"), "24.00")
        click(item("means_cash"))
        item("cashReceived").text = "24"
        click(item("cashConfirm"))
        tryVerify(function () { return sentTo("tradePay/confirmPay").length === 1 }, 5000)
        var body = sentTo("tradePay/confirmPay")[0]
        compare(body.balance, undefined)
        compare(body.cpnRelId, "9")
    }

    // Taking the coupon off: to pay is the receivable again, the coupon shows -0.00.
    function test_coupon_removed() {
        var coupon = { id: 9, name: "10元无门槛券", amount: 1000, fullAmount: 0, couponRuleName: "通用",
                       timeStart: 1700000000000, timeEnd: 1900000000000, enableUse: 1,
                       orderId: 12, useStatus: 1, useBalance: 1 }
        openFake(payInfo({ couponAmt: 1000, cpnRelId: 9, cpnUseBalance: 1 }), 500)
        routes["couponInfo/orderList"] = ok([coupon])
        routes["couponInfo/unused"] = ok({ couponAmt: 0, payAmount: 3000 })
        compare(text("stillToCollect"), "15.00")
        click(item("couponButton"))
        var window = item("couponWindow")
        tryVerify(function () { return window.visible }, 5000)
        verify(findChild(window, "couponInUse").visible)
        click(rowAt(findChild(window, "couponList"), 0))
        tryVerify(function () { return sentTo("couponInfo/unused").length === 1 }, 5000)
        compare(text("couponAmount"), "-0.00")
        compare(text("stillToCollect"), "25.00")
        // The list is reloaded after the change.
        tryVerify(function () { return sentTo("couponInfo/orderList").length === 2 }, 5000)
    }

    // "兑换优惠码": a code is redeemed for the customer and the list reloads; a refused code
    // is told and cleared.
    function test_code_exchange() {
        openFake(payInfo({}), 0)
        routes["couponInfo/orderList"] = ok([{ id: 4, name: "10元无门槛券", amount: 1000, fullAmount: 0,
                                               couponRuleName: "通用", timeStart: 1700000000000,
                                               timeEnd: 1900000000000, enableUse: 1, orderId: 0,
                                               useStatus: 0, useBalance: 1 }])
        routes["couponFCode/exchangeCode"] = [refused(409, "优惠码已被使用"), ok({ id: 5 })]
        click(item("couponButton"))
        var window = item("couponWindow")
        tryVerify(function () { return window.visible }, 5000)
        click(findChild(window, "couponCodeButton"))
        findChild(window, "couponCodeField").text = "8888000001"
        click(findChild(window, "couponCodeConfirm"))
        tryVerify(function () { return TestSupport.boxes().length === 1 }, 5000)
        compare(TestSupport.boxes()[0].slice(1), ["错误提示", "优惠码已被使用"])
        compare(findChild(window, "couponCodeField").text, "")
        findChild(window, "couponCodeField").text = "8888000002"
        click(findChild(window, "couponCodeConfirm"))
        tryVerify(function () { return sentTo("couponInfo/orderList").length === 2 }, 5000)
        var sent = sentTo("couponFCode/exchangeCode")
        compare(sent[1].code, "8888000002")
        compare(sent[1].userId, "7")
        verify(!window.codeMode)
        // "刷新" reloads the list (once the reload of the exchange is back).
        tryVerify(function () { return !cashier.conversation.backend.busy("CouponInfo") }, 5000)
        click(findChild(window, "couponRefresh"))
        tryVerify(function () { return sentTo("couponInfo/orderList").length === 3 }, 5000)
    }

    function test_no_coupons_shows_none_usable() {
        openFake(payInfo({}), 0)
        routes["couponInfo/orderList"] = ok([])
        click(item("couponButton"))
        tryCompare(item("couponAmount"), "text", "无可用", 5000)
        verify(!item("couponWindow").visible)
    }

    // The group pay card's share is rounded down to whole fen.
    function test_group_card_data() {
        return [
            { tag: "50 % of 33.33, card 100.00", ratio: 50, card: 10000, payable: 3333, share: "16.66", rest: "16.67" },
            { tag: "100 % of 30.00, card 10.00", ratio: 100, card: 1000, payable: 3000, share: "10.00", rest: "20.00" }
        ]
    }
    function test_group_card(row) {
        openFake(payInfo({ payablePrice: row.payable, uPayCard: { isEnable: 1, balance: row.card, payRatio: row.ratio } }), 0)
        routes["tradePay/confirmPay"] = null
        compare(text("cardRatio"), "支付比例" + row.ratio + "%")
        verify(item("cardSwitch").visible)
        verify(!item("cardTaken").visible)
        click(item("cardSwitch"))
        compare(text("cardTaken"), "抵扣" + row.share + "元")
        compare(text("stillToCollect"), row.rest)
        shot("cashier-card-" + row.ratio)
        click(item("means_cash"))
        item("cashReceived").text = "100"
        click(item("cashConfirm"))
        tryVerify(function () { return sentTo("tradePay/confirmPay").length === 1 }, 5000)
        compare(sentTo("tradePay/confirmPay")[0].groupCardType, "41")
        compare(sentTo("tradePay/confirmPay")[0].cardBalance, String(row.card))
    }

    // Switching the card on switches the balance off, and back.
    function test_balance_and_card_exclude_each_other() {
        openFake(payInfo({ uPayCard: { isEnable: 1, balance: 10000, payRatio: 50 } }), 1000)
        verify(item("balanceSwitch").checked)
        compare(text("stillToCollect"), "20.00")
        click(item("cardSwitch"))
        verify(item("cardSwitch").checked)
        verify(!item("balanceSwitch").checked)
        compare(text("stillToCollect"), "15.00")
        click(item("balanceSwitch"))
        verify(!item("cardSwitch").checked)
        compare(text("stillToCollect"), "20.00")
    }

    function test_other_means() {
        openFake(payInfo({}), 0)
        routes["tradePay/otherPay"] = ok({ seq: "5002", status: 1, payAmount: 3000 })
        click(item("means_other"))
        compare(text("otherAmount"), "¥30.00")
        click(item("otherMeans_10"))
        item("otherRemark").text = "团购券"
        click(item("otherConfirm"))
        tryCompare(paidSpy, "count", 1, 5000)
        var body = sentTo("tradePay/otherPay")[0]
        compare(body.paySign, "10")
        compare(body.remark, "团购券")
    }

    // --- Wallets ------------------------------------------------------------------------

    // Statuses "0", "0", "0", "1": four queries, a pause between them, then success.
    function test_qr_four_queries_then_success() {
        openFake(payInfo({}), 0)
        cashier.conversation.poller.pause = 20
        routes["tradePay/wxUnifiedOrder"] = ok({ seq: "5261130120000000003", status: 0, codeUrl: "weixin://wxpay/bizpayurl?pr=5261130120000000003" })
        routes["tradePay/queryStatusBySeq"] = [ok({ status: 0 }), ok({ status: 0 }), ok({ status: 0 }), ok({ status: 1, payAmount: 3000 })]
        click(item("customerScansButton"))
        var window = item("qrPayWindow")
        verify(window.visible)
        compare(findChild(window, "windowTitle").text, "微信支付")
        compare(findChild(window, "qrAmount").text, "¥30.00")
        tryCompare(paidSpy, "count", 1, 5000)
        compare(sentTo("tradePay/queryStatusBySeq").length, 4)
        compare(sentTo("tradePay/queryStatusBySeq")[3].seq, "5261130120000000003")
        compare(sentTo("tradePay/wxUnifiedOrder")[0].authCode, "")
        tryVerify(closed, 5000)
    }

    // Closing the window while a query is out: that answer is the last; the trade is released.
    function test_closing_the_qr_window_stops_polling() {
        openFake(payInfo({}), 0)
        cashier.conversation.poller.pause = 20
        click(item("means_alipay"))
        routes["tradePay/aliUnifiedOrder"] = ok({ seq: "5261130120000000004", status: 0, codeUrl: "https://qr.alipay.com/bax5261130120000000004" })
        var queries = 0
        routes["tradePay/queryStatusBySeq"] = function () { return ++queries === 1 ? ok({ status: 0 }) : null }
        routes["tradePay/unlockOrder"] = ok({ orderId: 12, payStatus: 0 })
        click(item("customerScansButton"))
        var window = item("qrPayWindow")
        compare(findChild(window, "windowTitle").text, "支付宝支付")
        tryVerify(function () { return sentTo("tradePay/queryStatusBySeq").length === 2 }, 5000)
        compare(findChild(window, "qrStatus").text, "交易中")
        shot("cashier-qr")
        click(findChild(window, "windowClose"))
        verify(!window.visible)
        tryVerify(function () { return sentTo("tradePay/unlockOrder").length === 1 }, 5000)
        compare(sentTo("tradePay/unlockOrder")[0].orderId, "12")
        routes["tradePay/queryStatusBySeq"] = ok({ status: 0 }) // the answer still out
        tryVerify(function () { return Object.keys(answered).length === fake.requestCount() }, 5000)
        wait(100)
        compare(sentTo("tradePay/queryStatusBySeq").length, 2)
        compare(paidSpy.count, 0)
        tryCompare(cashier.conversation, "busy", false, 5000)
    }

    // The customer paid just as the worker closed the window: the release says so, and the
    // payment is done after all.
    function test_paid_while_the_window_closed() {
        openFake(payInfo({}), 0)
        cashier.conversation.poller.pause = 5000
        routes["tradePay/wxUnifiedOrder"] = ok({ seq: "5261130120000000009", status: 0, codeUrl: "weixin://wxpay/bizpayurl?pr=5261130120000000009" })
        routes["tradePay/queryStatusBySeq"] = ok({ status: 0 })
        routes["tradePay/unlockOrder"] = ok({ orderId: 12, payStatus: 1 })
        click(item("customerScansButton"))
        tryVerify(function () { return sentTo("tradePay/queryStatusBySeq").length === 1 }, 5000)
        item("qrPayWindow").close()
        tryCompare(paidSpy, "count", 1, 5000)
        compare(sentTo("tradePay/unlockOrder").length, 1)
    }

    // After the deadline the trade is given up: released, and the worker is told.
    function test_deadline_releases_the_trade() {
        openFake(payInfo({}), 0)
        cashier.conversation.poller.pause = 20
        cashier.conversation.poller.deadline = 150
        routes["tradePay/wxUnifiedOrder"] = ok({ seq: "5261130120000000005", status: 0, codeUrl: "weixin://wxpay/bizpayurl?pr=5261130120000000005" })
        routes["tradePay/queryStatusBySeq"] = ok({ status: 0 })
        routes["tradePay/unlockOrder"] = ok({ orderId: 12, payStatus: 0 })
        click(item("customerScansButton"))
        tryVerify(function () { return sentTo("tradePay/unlockOrder").length === 1 }, 5000)
        var boxes = TestSupport.boxes()
        compare(boxes[boxes.length - 1].slice(1), ["提示", "顾客未在规定时间内完成支付，交易已取消"])
        verify(!item("qrPayWindow").visible)
        var queries = sentTo("tradePay/queryStatusBySeq").length
        verify(queries >= 1)
        wait(100)
        compare(sentTo("tradePay/queryStatusBySeq").length, queries)
        tryCompare(cashier.conversation, "busy", false, 5000)
    }

    // A failed status query ends the polling; the window stays until it is closed.
    function test_failed_status_query_ends_polling() {
        openFake(payInfo({}), 0)
        cashier.conversation.poller.pause = 20
        routes["tradePay/wxUnifiedOrder"] = ok({ seq: "5261130120000000006", status: 0, codeUrl: "weixin://wxpay/bizpayurl?pr=5261130120000000006" })
        routes["tradePay/queryStatusBySeq"] = refused(404, "交易不存在")
        routes["tradePay/unlockOrder"] = ok({ orderId: 12, payStatus: 0 })
        click(item("customerScansButton"))
        tryVerify(function () { return sentTo("tradePay/queryStatusBySeq").length === 1 }, 5000)
        wait(100)
        compare(sentTo("tradePay/queryStatusBySeq").length, 1)
        verify(item("qrPayWindow").visible)
        item("qrPayWindow").close()
        tryVerify(function () { return sentTo("tradePay/unlockOrder").length === 1 }, 5000)
    }

    // The scanner types the code and Enter, twice in a row: one payment request. While it is
    // out, no other means sends anything either.
    function test_double_scan_sends_one_payment() {
        openFake(payInfo({}), 0)
        routes["tradePay/wxMicroPay"] = null
        item("scanCodeField").forceActiveFocus()
        type("134567890123456789")
        keyClick(Qt.Key_Return)
        type("134567890123456789")
        keyClick(Qt.Key_Return)
        click(item("scanConfirmButton"))
        tryVerify(function () { return sentTo("tradePay/wxMicroPay").length === 1 }, 5000)
        compare(sentTo("tradePay/wxMicroPay")[0].authCode, "134567890123456789")
        compare(text("scanCodeField"), "")
        click(item("means_cash"))
        item("cashReceived").text = "30"
        click(item("cashConfirm"))
        click(item("means_other"))
        click(item("otherConfirm"))
        wait(100)
        compare(fake.requestCount(), 4) // the three of the opening and the one payment
        // Refused: no box, the reason under the field, and the next scan goes out.
        routes["tradePay/wxMicroPay"] = [refused(409, "用户余额不足"), null]
        tryCompare(cashier.conversation, "busy", false, 5000)
        compare(TestSupport.boxes().length, 0)
        click(item("means_wechat"))
        compare(text("scanNote"), "用户余额不足")
        item("scanCodeField").forceActiveFocus()
        type("134567890123456700")
        keyClick(Qt.Key_Enter)
        tryVerify(function () { return sentTo("tradePay/wxMicroPay").length === 2 }, 5000)
    }

    // Characters after the 18th send nothing by themselves: only Enter or "确认" does.
    function test_code_sent_only_when_complete() {
        openFake(payInfo({}), 0)
        routes["tradePay/aliMicroPay"] = ok({ seq: "5007", status: 1, payAmount: 3000 })
        click(item("means_alipay"))
        item("scanCodeField").forceActiveFocus()
        type("2845678901234567891234")
        wait(50)
        compare(sentTo("tradePay/aliMicroPay").length, 0)
        click(item("scanConfirmButton"))
        tryCompare(paidSpy, "count", 1, 5000)
        compare(sentTo("tradePay/aliMicroPay").length, 1)
        compare(sentTo("tradePay/aliMicroPay")[0].authCode, "2845678901234567891234")
    }

    // A code the customer confirms on the phone is followed until it is paid.
    function test_scanned_code_waiting_for_the_customer() {
        openFake(payInfo({}), 0)
        cashier.conversation.poller.pause = 20
        routes["tradePay/wxMicroPay"] = ok({ seq: "5008", status: 0 })
        routes["tradePay/queryStatusBySeq"] = [ok({ status: 0 }), ok({ status: 1, payAmount: 3000 })]
        item("scanCodeField").forceActiveFocus()
        type("104567890123456788")
        keyClick(Qt.Key_Return)
        tryCompare(paidSpy, "count", 1, 5000)
        compare(sentTo("tradePay/queryStatusBySeq").length, 2)
    }

    // "返回" tells the opener, so that a payment completed meanwhile shows; a followed trade
    // is released.
    function test_back_tells_the_opener() {
        openFake(payInfo({}), 0)
        click(cashier.backButton)
        compare(returnedSpy.count, 1)
        compare(paidSpy.count, 0)
        tryVerify(closed, 5000)
    }

    // Another payment holds the order: the cashier says so and offers no means until it is
    // free; "刷新" reads the order again.
    function test_held_order_says_so() {
        openFake(payInfo({ isLocked: 1 }), 1000)
        verify(item("heldPanel").visible)
        compare(text("heldText"), "订单正在支付中，请稍后再试")
        verify(!item("meansPanel").visible)
        verify(!item("wholeConfirm").visible)
        verify(!item("balanceSwitch").enabled)
        shot("cashier-held")
        compare(cashier.conversation.pay("cash"), false)
        routes["orderInfo/payInfo"] = payInfo({ isLocked: 0 })
        click(item("heldReload"))
        tryCompare(cashier.conversation, "ready", true, 5000)
        verify(!item("heldPanel").visible)
        verify(item("meansPanel").visible)
        verify(item("balanceSwitch").enabled)
    }

    // The balance or the card balance moved since the worker saw it: the backend refuses the
    // payment, and the worker is told and shown the new amounts. The card's share names the
    // card balance it was worked out from.
    function test_moved_balance_is_told_and_read_again_data() {
        return [
            { tag: "member balance", card: false, sent: "balance", was: "1000", shown: "memberBalance", now: "5.00元",
              msg: "会员余额已变动，请重新打开收款" },
            { tag: "group card", card: true, sent: "cardBalance", was: "10000", shown: "cardBalance", now: "80.00元",
              msg: "优付卡余额已变动，请重新打开收款" }
        ]
    }
    function test_moved_balance_is_told_and_read_again(row) {
        openFake(payInfo({ uPayCard: { isEnable: row.card ? 1 : 0, balance: 10000, payRatio: 50 } }), 1000)
        if (row.card)
            click(item("cardSwitch"))
        routes["tradePay/confirmPay"] = refused(409, row.msg)
        routes["orderInfo/payInfo"] = payInfo({ uPayCard: { isEnable: row.card ? 1 : 0, balance: row.card ? 8000 : 10000, payRatio: 50 } })
        routes["userExt/balance"] = ok({ balance: row.card ? 1000 : 500 })
        click(item("means_cash"))
        item("cashReceived").text = "30"
        click(item("cashConfirm"))
        tryVerify(function () { return TestSupport.boxes().length === 1 }, 5000)
        compare(TestSupport.boxes()[0].slice(1), ["错误提示", row.msg])
        var body = sentTo("tradePay/confirmPay")[0]
        compare(body[row.sent], row.was)
        compare(body.groupCardType, row.card ? "41" : "")
        tryCompare(cashier.conversation, "busy", false, 5000)
        compare(text(row.shown), row.now)
        compare(text("stillToCollect"), row.card ? "15.00" : "25.00")
        compare(paidSpy.count, 0)
    }

    // "订单已支付" with no payment of the cashier's left unknown is somebody else's payment:
    // told, not taken for this one.
    function test_order_paid_elsewhere_is_not_this_payment() {
        openFake(payInfo({}), 0)
        routes["tradePay/confirmPay"] = refused(409, "订单已支付")
        click(item("means_cash"))
        item("cashReceived").text = "30"
        click(item("cashConfirm"))
        tryCompare(cashier.conversation, "busy", false, 5000)
        compare(text("payNote"), "订单已支付")
        compare(paidSpy.count, 0)
    }

    // --- Against the reference backend --------------------------------------------------

    // A cash payment's answer is lost, though the order was paid. The worker's retry: the
    // same payment again (the very same request, answered from what the backend kept), the
    // balance switched off first (a new request, which the backend answers "订单已支付" for
    // the same order and amount), or "返回" (the order is released, and found paid). Each
    // shows "收款完成" and the opener hears `paid`; the balance moved once.
    function test_lost_cash_payment_is_paid_once_data() {
        return [
            { tag: "the same payment again", member: 16, retry: "again" },
            { tag: "the balance switched off first", member: 17, retry: "switch" },
            { tag: "back", member: 13, retry: "back" }
        ]
    }
    function test_lost_cash_payment_is_paid_once(row) {
        var orderId = reference.newOrder(row.member, 100000).id
        var before = reference.data("userExt/balance", { id: String(row.member) }).data.balance
        verify(before > 0 && before < 100000)
        open(orderId, row.member, "TakeCloth")
        click(item("means_cash"))
        item("cashReceived").text = "1000"
        // Clicked without a turn of the event loop, so that no answer can come in before it
        // is lost.
        verify(item("cashConfirm").visible)
        item("cashConfirm").clicked()
        var out = Object.keys(cashier.conversation.backend.calls)
        compare(out.length, 1)
        cashier.conversation.backend.finish(Number(out[0]), "Operation canceled", true)
        tryVerify(function () { return reference.data("orderInfo/payInfo", { id: orderId }).data.payStatus === 1 }, 5000)
        compare(text("payNote"), "无法连接服务器，请检查网络后重试")
        verify(!cashier.conversation.busy)
        if (row.retry === "back") {
            click(cashier.backButton)
        } else {
            if (row.retry === "switch") {
                click(item("balanceSwitch"))
                compare(text("stillToCollect"), "1000.00")
            }
            click(item("cashConfirm"))
        }
        tryCompare(paidSpy, "count", 1, 5000)
        verify(item("donePanel").visible)
        compare(text("doneAmount"), "¥1000.00")
        compare(returnedSpy.count, 0)
        var payments = []
        for (var i = 0; i < sentSpy.count; ++i)
            if (sentSpy.signalArguments[i][0].indexOf("/mac/tradePay/confirmPay?") >= 0)
                payments.push(sentSpy.signalArguments[i][0])
        compare(payments.length, row.retry === "back" ? 1 : 2)
        if (row.retry === "again")
            compare(payments[1], payments[0])
        compare(reference.data("userExt/balance", { id: String(row.member) }).data.balance, 0)
        tryVerify(closed, 5000)
    }

    // The QR trade's answer is lost, though the backend opened the trade and holds the order
    // for it: closing the window releases the order, and the next "被扫" makes a new trade,
    // which the customer pays.
    function test_qr_window_closed_after_a_lost_answer_releases_the_order() {
        var orderId = reference.newOrder(18, 2000).id
        open(orderId, 18, "TakeCloth")
        cashier.conversation.poller.pause = 50
        verify(item("customerScansButton").visible && item("customerScansButton").enabled)
        item("customerScansButton").clicked()
        var out = Object.keys(cashier.conversation.backend.calls)
        compare(out.length, 1)
        cashier.conversation.backend.finish(Number(out[0]), "Operation canceled", true)
        tryVerify(function () { return reference.data("orderInfo/payInfo", { id: orderId }).data.isLocked === 1 }, 5000)
        var window = item("qrPayWindow")
        verify(window.visible)
        compare(findChild(window, "qrStatus").text, "无法连接服务器，请检查网络后重试")
        click(findChild(window, "windowClose"))
        tryCompare(cashier.conversation, "busy", false, 5000)
        compare(reference.data("orderInfo/payInfo", { id: orderId }).data.isLocked, 0)
        click(item("customerScansButton"))
        tryVerify(function () { return cashier.conversation.tradeSeq !== "" }, 5000)
        tryCompare(findChild(window, "qrStatus"), "text", "交易中", 5000)
        compare(reference.scanQr(cashier.conversation.tradeSeq), 200)
        tryCompare(paidSpy, "count", 1, 5000)
        compare(reference.data("orderInfo/payInfo", { id: orderId }).data.payStatus, 1)
    }

    // After each way of paying the order is paid in the backend and the member's balance
    // moved by what it had to give; a second payment of the paid order is refused there.
    function test_paid_in_the_backend_data() {
        return [
            { tag: "whole from the balance", member: 8, fen: 3000, way: "whole", fromBalance: 3000 },
            { tag: "balance and cash", member: 4, fen: 30000, way: "cash", fromBalance: -1 },
            { tag: "wechat QR through the customer's phone", member: 9, fen: 2500, way: "qr", fromBalance: 0 },
            { tag: "scanned alipay code, scanned twice", member: 9, fen: 1800, way: "scan", fromBalance: 0 }
        ]
    }
    function test_paid_in_the_backend(row) {
        var orderId = reference.newOrder(row.member, row.fen).id
        var before = reference.data("userExt/balance", { id: String(row.member) }).data.balance
        open(orderId, row.member, "TakeCloth")
        compare(text("orderTotal"), "¥" + (row.fen / 100).toFixed(2))
        cashier.conversation.poller.pause = 50
        var fromBalance = row.fromBalance === -1 ? before : row.fromBalance
        if (row.way === "whole") {
            verify(item("wholeConfirm").visible)
            click(item("wholeConfirm"))
        } else if (row.way === "cash") {
            compare(text("stillToCollect"), ((row.fen - before) / 100).toFixed(2))
            click(item("means_cash"))
            item("cashReceived").text = String(row.fen / 100)
            click(item("cashConfirm"))
        } else if (row.way === "qr") {
            click(item("customerScansButton"))
            tryVerify(function () { return cashier.conversation.tradeSeq !== "" }, 5000)
            tryCompare(findChild(cashier, "qrStatus"), "text", "交易中", 5000)
            compare(reference.scanQr(cashier.conversation.tradeSeq), 200)
        } else {
            click(item("means_alipay"))
            item("scanCodeField").forceActiveFocus()
            type("284567890123456789")
            keyClick(Qt.Key_Return)
            type("284567890123456789")
            keyClick(Qt.Key_Return)
        }
        tryCompare(paidSpy, "count", 1, 5000)
        var payments = 0
        for (var i = 0; i < sentSpy.count; ++i)
            if (/\/mac\/tradePay\/(balancePay|confirmPay|aliMicroPay|wxUnifiedOrder)\?/.test(sentSpy.signalArguments[i][0]))
                ++payments
        compare(payments, 1)
        tryVerify(closed, 5000)
        var info = reference.data("orderInfo/payInfo", { id: orderId })
        compare(info.data.payStatus, 1)
        compare(reference.data("userExt/balance", { id: String(row.member) }).data.balance, before - fromBalance)
        var again = reference.data("tradePay/confirmPay", { orderId: orderId, remark: "", groupCardType: "" })
        compare(again.httpCode, 409)
        compare(again.msg, "订单已支付")
    }
}
