import QtQuick 2.15
import QtTest 1.2
import Brenvo 1.0
import BrenvoTest 1.0
import "qrc:/"
import "../common"
import "../common/fakeroutes.js" as Routes

// Member recharge. The exact requests (amounts in fen, which trade, when) against a backend
// answering as each test says; the balance moving end to end against the reference backend.
ScreenTestCase {
    id: testCase
    name: "MemberRecharge"
    needsSignIn: true
    confirmsBoxes: false

    SignalSpy { id: rechargedSpy; signalName: "recharged" }

    // --- Against the test's own backend ----------------------------------------------------

    function schemeList() {
        return Routes.ok([
            { id: 1, name: "充500送50", amount: 50000, giftAmount: 5000, isSendAmt: true, giftPoint: 500,
              isSendPoint: true, cardName: "", isSendCard: false, couponCnt: 0, isSendCoupon: false },
            { id: 2, name: "充1000送150", amount: 100000, giftAmount: 15000, isSendAmt: true, giftPoint: 0,
              isSendPoint: false, cardName: "银卡会员", isSendCard: true, couponCnt: 0, isSendCoupon: false }
        ])
    }

    function config(over) {
        var data = { paySignList: [{ val: "5", showName: "银行卡", name: "bankCard" }],
                     isEnableWx: true, isEnableAli: true, isEnableCash: true, isEnableOther: true, otherRecharge: 1 }
        for (var k in over)
            data[k] = over[k]
        return Routes.ok(data)
    }

    function useFake(schemes, cfg) {
        routed.start()
        var n = 0
        routes = {
            "userRechargeRule/queryRechargeList": schemes,
            "mercParam/getPaymentConfig": cfg,
            "userRecharge/createPay": function () { return Routes.ok({ tradeSeq: "52611300000000000" + (++n), status: 0 }) }
        }
    }

    // A demo member: phone 139123400NN for member NN.
    function open(flag, userId) {
        var id = userId || 7
        screen = Qt.createComponent("qrc:/MemberRecharge.qml").createObject(host, {
            userNames: "王芳", userPhones: "139123400" + (id < 10 ? "0" : "") + id, userBlances: "339.50",
            userIds: String(id), rechargeFlag: flag || "MemberList" })
        verify(screen !== null)
        rechargedSpy.target = screen
        tryCompare(screen.conversation, "loading", false, 5000)
        screen.conversation.poller.pause = 20
        return screen
    }

    function openFake(schemes, cfg) {
        useFake(schemes, cfg)
        return open()
    }

    // The first offer is current, its trade is made for WeChat, the worker scans into it.
    function test_opens_on_the_first_offer_with_its_trade() {
        openFake(schemeList(), config({}))
        compare(item("rechargeUser").text, "充值用户：13912340007 王芳")
        compare(item("rechargeBalance").text, "当前余额:¥ 339.50")
        compare(item("schemeSummary").text, "活动方案充值：充500.00元送50.00元")
        compare(item("schemeExtras").text, "(赠送500积分)")
        compare(item("amountDue").text, "¥500.00")
        tryVerify(function () { return sentTo("userRecharge/createPay").length === 1 }, 5000)
        var body = sentTo("userRecharge/createPay")[0]
        compare([body.userId, body.amount, body.withActive, body.payMethod, body.payType, body.remark],
                ["7", "50000", "1", "1", "MICROPAY", ""])
        tryVerify(function () { return item("scanCodeField").activeFocus }, 5000)
        shot("member-recharge")
    }

    function test_wechat_closed_alipay_first() {
        openFake(schemeList(), config({ isEnableWx: false }))
        compare(screen.conversation.means, "alipay")
        tryVerify(function () { return sentTo("userRecharge/createPay").length === 1 }, 5000)
        compare(sentTo("userRecharge/createPay")[0].payMethod, "4")
    }

    // Without offers the amount is typed at once; 50 is sent as 5000 fen, without an offer.
    function test_no_offers_free_amount_of_50() {
        openFake(Routes.ok([]), config({ isEnableWx: false, isEnableAli: false }))
        var window = item("amountWindow")
        tryVerify(function () { return window.visible }, 5000)
        verify(!item("schemeModeButton").visible)
        tryVerify(function () { return item("amountField").activeFocus }, 5000)
        type("50")
        click(item("amountConfirm"))
        verify(!window.visible)
        compare(item("freeAmountText").text, "零散金额：50.00元")
        compare(item("amountDue").text, "¥50.00")
        routes["userRecharge/confirmRecharge"] = Routes.ok({ seq: "5001", status: 1, amount: 5000, giftAmount: 0 })
        item("cashReceived").text = "50"
        click(item("cashConfirm"))
        tryCompare(rechargedSpy, "count", 1, 5000)
        var body = sentTo("userRecharge/confirmRecharge")[0]
        compare([body.userId, body.amount, body.withActive, body.remark], ["7", "5000", "0", ""])
        verify(item("rechargeDone").visible)
        verify(!item("payPanel").visible)
    }

    // 42949673.01 yuan stays 4294967301 fen through the amount window and the recharge (a
    // 32-bit int made it 5 fen); the backend, not the screen, says what is too much.
    function test_free_amount_past_32_bits() {
        openFake(Routes.ok([]), config({ isEnableWx: false, isEnableAli: false }))
        tryVerify(function () { return item("amountField").activeFocus }, 5000)
        type("42949673.01")
        click(item("amountConfirm"))
        compare(item("freeAmountText").text, "零散金额：42949673.01元")
        compare(item("amountDue").text, "¥42949673.01")
        compare(screen.conversation.amountFen, 4294967301)
        routes["userRecharge/confirmRecharge"] = Routes.refused(400, "充值金额超出上限")
        item("cashReceived").text = "42949673.01"
        compare(item("cashChange").text, "0.00")
        click(item("cashConfirm"))
        tryVerify(function () { return TestSupport.boxes().length === 1 }, 5000)
        compare(sentTo("userRecharge/confirmRecharge")[0].amount, "4294967301")
        compare(TestSupport.boxes()[0].slice(1), ["错误提示", "充值金额超出上限"])
    }

    // The first requests fail: confirming the box loads again; closing it instead leaves no
    // shade over "返回", and no means is offered.
    function test_failed_loading_leaves_back_within_reach_data() {
        return [
            { tag: "the offers", failing: "userRechargeRule/queryRechargeList" },
            { tag: "the means", failing: "mercParam/getPaymentConfig" }
        ]
    }
    function test_failed_loading_leaves_back_within_reach(row) {
        useFake(schemeList(), config({}))
        routes[row.failing] = [Routes.refused(500, "服务器忙"), routes[row.failing]]
        TestSupport.confirmBoxes(true)
        open()
        compare(TestSupport.boxes()[0].slice(1), ["错误提示", "服务器忙"])
        verify(screen.conversation.ready)
        verify(item("payPanel").visible)

        TestSupport.confirmBoxes(false)
        routes[row.failing] = Routes.refused(500, "服务器忙")
        screen.conversation.load()
        tryVerify(function () { return TestSupport.boxes().length === 2 }, 5000)
        verify(!item("loadingShade").visible)
        verify(!item("payPanel").visible)
        click(screen.backButton)
        tryVerify(function () { return findChild(host, "MemberRecharge") === null }, 5000)
        screen = null
    }

    // Decided here: a click in the offer window only marks; closing it changes nothing, so
    // the amount shown is the amount of the trade. "确定" makes the marked offer the one.
    function test_offer_window_closed_without_confirming() {
        openFake(schemeList(), config({}))
        tryVerify(function () { return sentTo("userRecharge/createPay").length === 1 }, 5000)
        click(item("schemeSummary"))
        var window = item("schemeWindow")
        verify(window.visible)
        click(findChild(window, "scheme_1"))
        click(findChild(window, "windowClose"))
        compare(item("schemeSummary").text, "活动方案充值：充500.00元送50.00元")
        compare(item("amountDue").text, "¥500.00")
        wait(50)
        compare(sentTo("userRecharge/createPay").length, 1)

        click(item("schemeSummary"))
        click(findChild(window, "scheme_1"))
        click(findChild(window, "schemeConfirm"))
        compare(item("schemeSummary").text, "活动方案充值：充1000.00元送150.00元")
        compare(item("schemeExtras").text, "(赠送银卡会员)")
        compare(item("amountDue").text, "¥1000.00")
        tryVerify(function () { return sentTo("userRecharge/createPay").length === 2 }, 5000)
        compare(sentTo("userRecharge/createPay")[1].amount, "100000")
        // The scan goes into the new trade.
        routes["userRecharge/pay"] = Routes.ok({ seq: "52611300000000002", status: 1 })
        tryCompare(screen.conversation, "tradeSeq", "526113000000000002", 5000)
        item("scanCodeField").forceActiveFocus()
        type("134567890123456789")
        keyClick(Qt.Key_Return)
        tryCompare(rechargedSpy, "count", 1, 5000)
        compare(sentTo("userRecharge/pay")[0].tradeSeq, "526113000000000002")
    }

    // A new amount makes a new trade for the wallet the worker chose, not always WeChat.
    function test_new_amount_keeps_the_chosen_wallet() {
        openFake(schemeList(), config({}))
        click(item("means_alipay"))
        tryVerify(function () { return sentTo("userRecharge/createPay").length === 2 }, 5000)
        click(item("freeModeButton"))
        tryVerify(function () { return item("amountField").activeFocus }, 5000)
        type("88.8")
        click(item("amountConfirm"))
        tryVerify(function () { return sentTo("userRecharge/createPay").length === 3 }, 5000)
        var body = sentTo("userRecharge/createPay")[2]
        compare([body.payMethod, body.amount, body.withActive], ["4", "8880", "0"])
        click(item("means_cash"))
        click(item("schemeModeButton"))
        compare(item("amountDue").text, "¥500.00")
        wait(50)
        compare(sentTo("userRecharge/createPay").length, 3) // cash needs no trade
    }

    function test_cash_below_the_amount_sends_nothing() {
        openFake(schemeList(), config({}))
        click(item("means_cash"))
        item("cashReceived").text = "499.99"
        compare(item("cashChange").text, "")
        click(item("cashConfirm"))
        wait(50)
        compare(sentTo("userRecharge/confirmRecharge").length, 0)
        item("cashReceived").text = "600"
        compare(item("cashChange").text, "100.00")
    }

    // A code goes out once, on the scanner's Enter; one that waits for the customer is
    // followed with a pause until it is paid.
    function test_scanned_code_sent_once_and_followed() {
        openFake(schemeList(), config({}))
        tryVerify(function () { return screen.conversation.tradeSeq !== "" }, 5000)
        routes["userRecharge/pay"] = null
        routes["tradePay/queryStatusBySeq"] = [Routes.ok({ status: 0 }), Routes.ok({ status: 1 })]
        item("scanCodeField").forceActiveFocus()
        type("104567890123456788")
        keyClick(Qt.Key_Return)
        compare(item("scanCodeField").text, "")
        type("104567890123456788")
        keyClick(Qt.Key_Return)
        click(item("scanConfirmButton"))
        tryVerify(function () { return sentTo("userRecharge/pay").length === 1 }, 5000)
        wait(50)
        compare(sentTo("userRecharge/pay").length, 1)
        compare(sentTo("userRecharge/pay")[0].authCode, "104567890123456788")
        compare(sentTo("userRecharge/pay")[0].tradeSeq, screen.conversation.tradeSeq)
        routes["userRecharge/pay"] = Routes.ok({ seq: screen.conversation.tradeSeq, status: 0 })
        tryCompare(rechargedSpy, "count", 1, 5000)
        compare(sentTo("tradePay/queryStatusBySeq").length, 2)
    }

    // A refused code is told; the worker scans again into a fresh trade.
    function test_refused_code_is_told() {
        openFake(schemeList(), config({}))
        tryVerify(function () { return screen.conversation.tradeSeq !== "" }, 5000)
        routes["userRecharge/pay"] = [Routes.refused(409, "用户余额不足"), Routes.ok({ status: 1 })]
        item("scanCodeField").forceActiveFocus()
        type("134567890123456799")
        keyClick(Qt.Key_Return)
        tryVerify(function () { return TestSupport.boxes().length === 1 }, 5000)
        compare(TestSupport.boxes()[0].slice(1), ["错误提示", "用户余额不足"])
        tryCompare(screen.conversation, "busy", false, 5000)
        tryVerify(function () { return sentTo("userRecharge/createPay").length === 2 }, 5000)
        tryVerify(function () { return screen.conversation.tradeSeq !== "" }, 5000)
        type("134567890123456789")
        keyClick(Qt.Key_Return)
        tryCompare(rechargedSpy, "count", 1, 5000)
        compare(sentTo("userRecharge/pay")[1].tradeSeq, "526113000000000002")
    }

    // Closing the QR window while a query is out: that answer is the last one, and the trade
    // is closed.
    function test_closing_the_qr_window_stops_polling() {
        openFake(schemeList(), config({}))
        click(item("means_alipay"))
        routes["userRecharge/pay"] = function (body) {
            return Routes.ok({ seq: body.tradeSeq, status: 0, codeUrl: "https://qr.alipay.com/bax" + body.tradeSeq })
        }
        var queries = 0
        routes["tradePay/queryStatusBySeq"] = function () { return ++queries === 1 ? Routes.ok({ status: 0 }) : null }
        routes["userRecharge/closePay"] = Routes.ok({ status: 2 })
        click(item("customerScansButton"))
        var window = item("qrPayWindow")
        verify(window.visible)
        compare(findChild(window, "windowTitle").text, "支付宝支付")
        compare(findChild(window, "qrAmount").text, "¥500.00")
        tryVerify(function () { return sentTo("tradePay/queryStatusBySeq").length === 2 }, 5000)
        var nativeTrades = sentTo("userRecharge/createPay").filter(function (b) { return b.payType === "NATIVE" })
        compare(nativeTrades.length, 1)
        compare(nativeTrades[0].payMethod, "4")
        compare(sentTo("userRecharge/pay")[0].authCode, undefined)
        click(findChild(window, "windowClose"))
        verify(!window.visible)
        tryVerify(function () { return sentTo("userRecharge/closePay").length === 1 }, 5000)
        compare(sentTo("userRecharge/closePay")[0].tradeSeq, sentTo("tradePay/queryStatusBySeq")[0].seq)
        routes["tradePay/queryStatusBySeq"] = Routes.ok({ status: 0 }) // the answer still out
        tryVerify(function () { return Object.keys(answered).length === fake.requestCount() }, 5000)
        wait(100)
        compare(sentTo("tradePay/queryStatusBySeq").length, 2)
        compare(rechargedSpy.count, 0)
        tryCompare(screen.conversation, "busy", false, 5000)
    }

    // The answer of a cash recharge is lost: confirming the box sends the very same request,
    // which the backend answers from what it kept, so the member is recharged once.
    function test_lost_answer_sent_again_unchanged() {
        openFake(schemeList(), config({}))
        click(item("means_cash"))
        routes["userRecharge/confirmRecharge"] = ["<html>502 Bad Gateway</html>", Routes.ok({ status: 1 })]
        TestSupport.confirmBoxes(true)
        item("cashReceived").text = "500"
        click(item("cashConfirm"))
        tryCompare(rechargedSpy, "count", 1, 5000)
        compare(TestSupport.boxes()[0][1], "错误提示")
        var sent = Routes.sentTo(fake, "userRecharge/confirmRecharge", true)
        compare(sent.length, 2)
        compare(sent[1], sent[0])
    }

    function test_other_means() {
        openFake(schemeList(), config({}))
        click(item("means_other"))
        routes["userRecharge/otherRecharge"] = Routes.ok({ status: 1 })
        click(item("otherMeans_5"))
        item("otherRemark").text = "刷卡"
        click(item("otherConfirm"))
        tryCompare(rechargedSpy, "count", 1, 5000)
        var body = sentTo("userRecharge/otherRecharge")[0]
        compare([body.paySign, body.remark, body.amount, body.withActive], ["5", "刷卡", "50000", "1"])
    }

    function test_other_means_offered_only_for_recharges() {
        openFake(schemeList(), config({ otherRecharge: 0 }))
        compare(findChild(screen, "means_other"), null)
    }

    // --- Against the reference backend -------------------------------------------------------

    function balance(userId) {
        return reference.data("userExt/balance", { id: String(userId) }).data.balance
    }

    // Each way of paying raises the balance by the amount and the offer's bonus, once.
    function test_recharged_in_the_backend_data() {
        return [
            { tag: "offer in cash", member: 25, way: "cash", raised: 55000 },
            { tag: "free amount of 50 in cash", member: 26, way: "free", raised: 5000 },
            { tag: "offer by WeChat QR through the customer's phone", member: 27, way: "qr", raised: 55000 },
            { tag: "offer by a scanned Alipay code, scanned twice", member: 28, way: "scan", raised: 55000 }
        ]
    }
    function test_recharged_in_the_backend(row) {
        var before = balance(row.member)
        open("MemberList", row.member)
        if (row.way === "cash" || row.way === "free") {
            click(item("means_cash"))
            if (row.way === "free") {
                click(item("freeModeButton"))
                tryVerify(function () { return item("amountField").activeFocus }, 5000)
                type("50")
                keyClick(Qt.Key_Return)
            }
            item("cashReceived").text = "1000"
            click(item("cashConfirm"))
        } else if (row.way === "qr") {
            click(item("customerScansButton"))
            tryCompare(findChild(screen, "qrStatus"), "text", "交易中", 5000)
            compare(reference.scanQr("latest"), 200)
        } else {
            click(item("means_alipay"))
            tryVerify(function () { return screen.conversation.tradeSeq !== "" }, 5000)
            item("scanCodeField").forceActiveFocus()
            type("284567890123456789")
            keyClick(Qt.Key_Return)
            type("284567890123456789")
            keyClick(Qt.Key_Return)
        }
        tryCompare(rechargedSpy, "count", 1, 5000)
        compare(balance(row.member), before + row.raised)
        var records = reference.data("userRecharge/list", { userId: String(row.member), pageNum: "1", pageSize: "10" })
        compare(records.data.list[0].amount + records.data.list[0].giftAmount, row.raised)
    }

    // After a recharge the screen it came from follows: the member list hears it, the
    // details and the order form open anew.
    function test_follow_up_by_origin_data() {
        return [
            { tag: "member list", flag: "MemberList", opens: "" },
            { tag: "member details", flag: "MemberDetails", opens: "MemberDetails" },
            { tag: "place order", flag: "PlaceOrder", opens: "PlaceOrderContent" },
            { tag: "pick-up", flag: "TakeCloth", opens: "TakeClothList" }
        ]
    }
    function test_follow_up_by_origin(row) {
        open(row.flag, 29)
        var fen = screen.conversation.amountFen
        verify(fen > 0 && fen <= 50000)
        click(item("means_cash"))
        item("cashReceived").text = "500"
        click(item("cashConfirm"))
        tryCompare(rechargedSpy, "count", 1, 5000)
        // The worker is told before the screen moves on.
        compare(TestSupport.boxes().map(function (b) { return b.slice(1) }),
                [["提示", "充值成功，本次充值" + (fen / 100).toFixed(2) + "元"]])
        verify(item("rechargeDone").visible)
        if (row.opens !== "") {
            tryVerify(function () { return findChild(screen, row.opens) !== null }, 5000)
            if (row.flag === "MemberDetails")
                compare(findChild(screen, row.opens).userId, "29")
        }
    }

    // "充值" on the place-order form opens this screen with the customer and "PlaceOrder".
    function test_opened_from_the_order_form() {
        var found = reference.data("userInfo/queryByKey", { key: "13912340011" })
        var form = Qt.createComponent("qrc:/PlaceOrderContent.qml").createObject(host, {
            userData: JSON.stringify(found.data), searchKey: "13912340011" })
        verify(form !== null)
        tryCompare(form, "loading", false, 5000)
        click(findChild(form, "rechargeButton"))
        screen = findChild(form, "MemberRecharge")
        verify(screen !== null)
        compare([screen.userIds, screen.userPhones, screen.userNames, screen.rechargeFlag],
                ["11", "13912340011", found.data.user.info.name, "PlaceOrder"])
        compare(screen.userBlances, (found.data.user.ext.balance / 100).toFixed(2))
        tryCompare(screen.conversation, "loading", false, 5000)
        screen = null
        form.close()
    }
}
