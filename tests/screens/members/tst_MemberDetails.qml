import QtQuick 2.15
import QtTest 1.2
import Brenvo 1.0
import BrenvoTest 1.0
import "qrc:/"
import "../common"
import "../common/fakeroutes.js" as Routes

// The member details. The loading chain, the record tabs' paging and failures, and the
// header's texts against a backend answering as each test says; addresses, orders and the
// embedded order view against the reference backend.
ScreenTestCase {
    id: testCase
    name: "MemberDetails"
    needsSignIn: true
    confirmsBoxes: false

    SignalSpy { id: sentSpy; signalName: "reqParamsReturn" }

    function open(userId) {
        screen = Qt.createComponent("qrc:/MemberDetails.qml").createObject(host, { userId: String(userId) })
        verify(screen !== null)
        sentSpy.target = screen.conversation.backend.request
        return screen
    }

    function openLoaded(userId) {
        open(userId)
        tryCompare(screen, "loading", false, 5000)
        return screen
    }

    // The paths sent so far (the request object's signed addresses).
    function sentPaths() {
        var out = []
        for (var i = 0; i < sentSpy.count; ++i)
            out.push(Routes.pathOf(sentSpy.signalArguments[i][0]))
        return out
    }

    // --- Against the test's own backend -------------------------------------------------

    function detail(card) {
        return Routes.ok({ info: { id: 7, name: "王芳", sex: 2, phone: "13912340007", wxId: "-1", wxNickname: "",
                                   headimgPath: "", grade: 2, verifyPhone: 1, verifyAndriod: 0, verifyIos: 0 },
                           ext: { balance: 33950, point: 840, birthday: "1990-07-28" },
                           card: card, group: { id: 3, name: "企业客户" }, unionInfo: { name: "" }, couponCnt: 2 })
    }

    function card(discount, discountType) {
        return { no: "VIP0007", rfidNo: "", isBinding: 0, info: { name: "金卡会员", level: 3, discount: discount, discountType: discountType } }
    }

    function record(n) {
        return { id: n, orderOriginText: "门店", tradeTime: 1700000000000, orderNo: "2611300100" + n, seq: "5" + n,
                 payMethodText: "现金", amount: 1234, statusText: "支付成功",
                 paySceneText: "净衣坊·徐汇店", giftAmount: 500, workName: "张丽",
                 business: [{ id: 1 }, { id: 2 }], createTime: 1700000000000, paymentPrice: 4550,
                 payStatusText: "已支付" }
    }

    // 15 records: a full page, then 5.
    function pageOf(body) {
        var n = body.pageNum === "1" ? 10 : body.pageNum === "2" ? 5 : 0
        var list = []
        for (var i = 0; i < n; ++i)
            list.push(record((Number(body.pageNum) - 1) * 10 + i + 1))
        return Routes.ok({ list: list })
    }

    function useFake(memberCard, addresses) {
        routed.start()
        routes = {
            "userInfo/detail": detail(memberCard || card(90, "1")),
            "userAddress/list": Routes.ok(addresses || []),
            "userTag/list": Routes.ok({ list: [{ id: 1, name: "常客" }] }),
            "tradeOrder/list": pageOf,
            "userRecharge/list": pageOf,
            "orderInfo/list": pageOf,
            "couponInfo/userList": Routes.ok([{ id: 3, name: "10元无门槛券", amount: 1000, fullAmount: 0, couponRuleName: "通用",
                                                timeStart: 1700000000000, timeEnd: Date.now() + 86400000, enableUse: 1,
                                                orderId: 0, useStatus: 0, useBalance: 1 }])
        }
    }

    // The member, then the addresses, then the tags; a member without addresses still gets
    // the tags.
    function test_opening_chain_without_addresses() {
        useFake()
        openLoaded(7)
        tryVerify(function () { return Routes.paths(fake).length === 3 }, 5000)
        compare(Routes.paths(fake), ["userInfo/detail", "userAddress/list", "userTag/list"])
        compare(Routes.sentTo(fake, "userInfo/detail")[0].id, "7")
        compare(screen.records.addresses, [])
        tryCompare(item("tagsText"), "text", "常客", 5000)
        compare(item("customerName").text, "王芳")
        compare(item("customerBalance").text, "¥ 339.50")
        verify(item("bindPhone").visible)
        verify(!item("bindWechat").visible)
        compare(item("detailsCard").text, "电子会员卡")
    }

    function test_discount_texts_data() {
        return [
            { tag: "9 of 10", card: card(90, "1"), text: "金卡会员  9折" },
            { tag: "nothing off", card: card(0, "1"), text: "金卡会员  无折扣" },
            { tag: "several discounts", card: card(85, "2"), text: "金卡会员  多折扣" }
        ]
    }
    function test_discount_texts(row) {
        useFake(row.card)
        openLoaded(7)
        compare(item("cardLevel").text, row.text)
    }

    // A record list of 15 (a full page, then 5) asks for no third page; every tab sends the
    // member and pages of ten.
    function test_record_tabs_page_by_ten_data() {
        return [
            { tag: "consumption", tab: "consumption", path: "tradeOrder/list", amount: "金额：12.34" },
            { tag: "recharges", tab: "recharge", path: "userRecharge/list", amount: "充值金额：12.34\n赠送金额：5.00" },
            { tag: "orders", tab: "order", path: "orderInfo/list", amount: "45.50" }
        ]
    }
    function test_record_tabs_page_by_ten(row) {
        useFake()
        openLoaded(7)
        click(item("tab_" + row.tab))
        var list = screen.records.list
        tryCompare(list, "count", 10, 5000)
        compare(rowAt(list, 0).amount, row.amount)
        for (var i = 0; i < 4; ++i) {
            list.positionViewAtEnd()
            list.loadMore()
            tryCompare(list, "loading", false, 5000)
        }
        compare(list.count, 15)
        var sent = Routes.sentTo(fake, row.path)
        compare(sent.map(function (b) { return [b.pageNum, b.pageSize, b.userId] }), [["1", "10", "7"], ["2", "10", "7"]])
        verify(Qt.colorEqual(item("tab_" + row.tab).color, Theme.action))
    }

    function test_coupon_tab() {
        useFake()
        openLoaded(7)
        click(item("tab_coupon"))
        var list = screen.records.list
        tryCompare(list, "count", 1, 5000)
        var c = rowAt(list, 0)
        compare([c.title, c.badge, c.amount], ["10元无门槛券", "有效", "10.00"])
        verify(c.detail.indexOf("至") > 0)
        compare(c.detail.split("\n")[1], "满0.00元可使用")
    }

    // A failed tab is told; confirming loads it again from page 1.
    function test_failed_tab_loads_again() {
        useFake()
        routes["tradeOrder/list"] = [Routes.refused(500, "服务器忙"), Routes.ok({ list: [record(1)] })]
        openLoaded(7)
        TestSupport.confirmBoxes(true)
        click(item("tab_consumption"))
        tryCompare(screen.records.list, "count", 1, 5000)
        compare(TestSupport.boxes()[0].slice(1), ["错误提示", "服务器忙"])
        compare(Routes.sentTo(fake, "tradeOrder/list").map(function (b) { return b.pageNum }), ["1", "1"])
    }

    // A member that cannot be read is told, and the screen closes.
    function test_member_not_loadable() {
        useFake()
        routes["userInfo/detail"] = Routes.refused(404, "会员不存在")
        TestSupport.confirmBoxes(true)
        open(99999)
        tryVerify(closed, 5000)
        compare(TestSupport.boxes()[0].slice(1), ["错误提示", "会员不存在"])
    }

    // The worker who does not confirm the failure of the first requests can still leave: the
    // shade is gone from "返回".
    function test_failed_opening_leaves_the_way_back_data() {
        return [
            { tag: "member", path: "userInfo/detail", text: "会员不存在" },
            { tag: "addresses", path: "userAddress/list", text: "服务器忙" }
        ]
    }
    function test_failed_opening_leaves_the_way_back(row) {
        useFake()
        routes[row.path] = Routes.refused(500, row.text)
        open(7)
        tryVerify(function () { return TestSupport.boxes().length === 1 }, 5000)
        compare(TestSupport.boxes()[0].slice(1), ["错误提示", row.text])
        tryCompare(screen, "loading", false, 5000)
        var shades = []
        for (var i = 0; i < screen.children.length; ++i)
            if (screen.children[i].objectName === "loadingShade" && screen.children[i].visible)
                shades.push(screen.children[i])
        compare(shades.length, 0)
        verify(!closed())
        click(item("backButton"))
        tryVerify(closed, 5000)
    }

    function test_empty_coupon_code_sends_nothing() {
        useFake()
        openLoaded(7)
        click(item("couponCount"))
        var window = item("couponWindow")
        tryVerify(function () { return window.visible }, 5000)
        click(findChild(window, "couponCodeButton"))
        click(findChild(window, "couponCodeConfirm"))
        wait(50)
        compare(Routes.sentTo(fake, "couponFCode/exchangeCode").length, 0)
    }

    // --- Against the reference backend ----------------------------------------------------

    function addressRows(userId) {
        return reference.data("userAddress/list", { userId: String(userId) }).data
    }

    // Setting a default reloads the list, and the new default shows "默认地址"; a deleted
    // address is gone.
    function test_default_and_delete() {
        var member = 9
        var before = addressRows(member)
        compare(before.length, 2)
        openLoaded(member)
        shot("member-details")
        compare(screen.records.addresses.length, 2)
        var second = String(before[1].id)
        click(item("setDefault_" + second))
        tryVerify(function () {
            var a = screen.records.addresses
            return a.length === 2 && a[1].isDefault && !a[0].isDefault
        }, 5000)
        tryVerify(function () { var m = findChild(screen, "setDefault_" + second); return m === null || !m.visible }, 5000)
        compare(addressRows(member)[1].def, 1)
        click(item("deleteAddress_" + second))
        tryVerify(function () { return screen.records.addresses.length === 1 }, 5000)
        compare(addressRows(member).length, 1)
        compare(sentPaths().filter(function (p) { return p.indexOf("userAddress/") === 0 }),
                ["userAddress/list", "userAddress/updateDefault", "userAddress/list", "userAddress/delete", "userAddress/list"])
    }

    // Changing an address sends its id with the fields of a new one; the list shows the
    // change in its place.
    function test_edit_sends_the_address_id() {
        var member = 12
        var before = addressRows(member)
        openLoaded(member)
        var id = String(before[0].id)
        click(item("editAddress_" + id))
        var form = screen.addressForm
        tryVerify(function () { return form.visible }, 5000)
        compare(findChild(form, "windowTitle").text, "修改地址")
        compare(findChild(form, "contactField").text, before[0].name)
        findChild(form, "houseField").text = "8号楼808室"
        form.save("1")
        tryVerify(function () { return !form.visible }, 5000)
        var sent = -1
        for (var i = 0; i < sentSpy.count; ++i)
            if (sentSpy.signalArguments[i][0].indexOf("/mac/userAddress/update?") >= 0)
                sent = i
        verify(sent >= 0)
        verify(sentSpy.signalArguments[sent][0].indexOf("&id=" + id + "&") >= 0)
        var after = addressRows(member)
        compare(after.length, before.length)
        compare(after[after.length - 1].detail, before[0].detail + "8号楼808室")
        tryVerify(function () {
            var a = screen.records.addresses
            return a.length === before.length && a[a.length - 1].detail === before[0].detail + "8号楼808室"
        }, 5000)
    }

    // A click on an order shows it in place of the records, as the pick-up order view with
    // "MemverDetails"; its "订单列表" brings the orders back.
    function test_order_view_in_place_of_the_records() {
        var member = 0
        var orderId = ""
        for (var m = 1; m <= 30 && orderId === ""; ++m) {
            var list = reference.data("orderInfo/list", { userId: String(m), pageNum: "1", pageSize: "10" }).data.list
            if (list.length > 0) {
                member = m
                orderId = String(list[0].id)
            }
        }
        verify(orderId !== "", "no demo member with orders")
        openLoaded(member)
        click(item("tab_order"))
        var list2 = screen.records.list
        tryVerify(function () { return list2.count > 0 }, 5000)
        list2.positionViewAtBeginning()
        click(rowAt(list2, 0))
        var view = null
        tryVerify(function () { view = findChild(screen, "TakeClothOrderInfo"); return view !== null }, 5000)
        compare([view.orderId, view.userId, view.infoFlag], [orderId, String(member), "MemverDetails"])
        verify(!screen.records.visible)
        tryCompare(view.conversation, "loading", false, 5000)
        shot("member-details-order")
        view.backToList()
        tryVerify(function () { return findChild(screen, "TakeClothOrderInfo") === null }, 5000)
        verify(screen.records.visible)
        tryVerify(function () { return list2.count > 0 }, 5000)
    }
}
