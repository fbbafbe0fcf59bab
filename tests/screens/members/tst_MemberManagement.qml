import QtQuick 2.15
import QtTest 1.2
import Brenvo 1.0
import BrenvoTest 1.0
import "qrc:/"
import "../common"
import "../common/fakeroutes.js" as Routes

// The member list. The order of requests, their fields and the paging against a backend
// answering as each test says; levels, groups, grades and the row actions against the
// reference backend.
ScreenTestCase {
    id: testCase
    name: "MemberManagement"
    needsSignIn: true
    confirmsBoxes: false

    function open() {
        screen = Qt.createComponent("qrc:/MemberManagement.qml").createObject(host, {})
        verify(screen !== null)
        return screen
    }

    function openLoaded() {
        open()
        tryCompare(screen, "loading", false, 5000)
        tryVerify(function () { return screen.list.count > 0 }, 5000)
        return screen
    }

    // The row of the list showing member `userId`.
    // The row of the list showing member `userId`, scrolled to the top of the list.
    function row(userId) {
        var list = screen.list
        for (var i = 0; i < list.count; ++i) {
            list.positionViewAtIndex(i, ListView.Beginning)
            waitForItemPolished(list)
            var r = list.itemAtIndex(i)
            if (r !== null && r.userId === String(userId))
                return r
        }
        return null
    }

    // --- Against the test's own backend -------------------------------------------------

    function member(id) {
        return { info: { id: id, name: "会员" + id, phone: "139000000" + id, headimgPath: "", createTime: 1700000000000, grade: 0 },
                 ext: { point: 1, balance: 100 }, card: { no: "VIP" + id, rfidNo: "", isBinding: 0, info: { name: "普通会员", discount: 100, discountType: "1" } },
                 group: { id: -1, name: "默认分组" }, tagList: [] }
    }

    function page(count, first) {
        var list = []
        for (var i = 0; i < count; ++i)
            list.push(member(first + i))
        return Routes.ok({ list: list })
    }

    function useFake(levels) {
        routed.start()
        routes = {
            "userCard/listForSelect": Routes.ok({ list: levels }),
            "userGroup/sideCnt": Routes.ok([{ name: "全部分组", cnt: 30 }, { name: "默认分组", cnt: 3 }]),
            "userGroup/list": Routes.ok([{ id: 1, name: "散客", cnt: 7 }, { id: 2, name: "社区居民", cnt: 8 }]),
            "userInfo/list": function (body) { return page(body.pageNum === "1" ? 10 : 0, (Number(body.pageNum) - 1) * 10 + 1) }
        }
    }

    function levelList() {
        return [{ id: 1, name: "普通会员", rights: "10", discountType: "1", discount: 100, def: 1 },
                { id: 2, name: "银卡会员", rights: "11", discountType: "1", discount: 95, def: 0 }]
    }

    // Levels, then the group counts, then the groups, then page 1 without filters.
    function test_opening_chain() {
        useFake(levelList())
        open()
        verify(item("loadingShade").visible)
        tryCompare(screen, "loading", false, 5000)
        compare(Routes.paths(fake), ["userCard/listForSelect", "userGroup/sideCnt", "userGroup/list", "userInfo/list"])
        var first = sentTo("userInfo/list")[0]
        compare([first.pageNum, first.pageSize, first.searchValue, first.cardId, first.groupId], ["1", "10", undefined, undefined, undefined])
        compare(screen.levels.map(function (l) { return l.label }), ["全部用户", "普通会员", "银卡会员(9.5折)"])
        compare(screen.groups.map(function (g) { return g.name + g.cnt }), ["全部分组30", "默认分组3", "散客7", "社区居民8"])
        compare(screen.list.count, 10)
        tryVerify(function () { return item("memberSearchField").activeFocus }, 5000)
    }

    function test_no_levels_no_all_members_entry() {
        useFake([])
        open()
        tryCompare(screen, "loading", false, 5000)
        compare(screen.levels, [])
        compare(screen.list.count, 10)
    }

    // A failed step stops the chain; the shade stays.
    function test_failed_step_stops_the_chain() {
        useFake(levelList())
        routes["userGroup/sideCnt"] = Routes.refused(500, "服务器忙")
        open()
        tryVerify(function () { return answered[1] === true }, 5000)
        wait(50)
        compare(Routes.paths(fake), ["userCard/listForSelect", "userGroup/sideCnt"])
        verify(screen.loading)
        compare(screen.groups, [])
    }

    // A full page lets one more page be asked for (even when it brings nothing); a short
    // page stops the list. The next page keeps the filters of the first.
    function test_paging_by_ten_data() {
        return [
            { tag: "10 then nothing", sizes: [10, 0], asked: 2 },
            { tag: "10, 10, then 5", sizes: [10, 10, 5], asked: 3 },
            { tag: "fewer than 10", sizes: [7], asked: 1 }
        ]
    }
    function test_paging_by_ten(row) {
        useFake(levelList())
        routes["userInfo/list"] = function (body) {
            var n = Number(body.pageNum)
            return page(row.sizes[n - 1] || 0, (n - 1) * 10 + 1)
        }
        open()
        tryCompare(screen, "loading", false, 5000)
        click(findChild(screen, "group_散客"))
        tryCompare(screen.list, "loading", false, 5000)
        for (var i = 0; i < 5; ++i) {
            screen.list.positionViewAtEnd()
            screen.list.loadMore()
            tryCompare(screen.list, "loading", false, 5000)
        }
        var pages = sentTo("userInfo/list").slice(1)
        compare(pages.map(function (b) { return b.pageNum }), row.sizes.map(function (s, i) { return String(i + 1) }))
        compare(pages.length, row.asked)
        for (var p = 0; p < pages.length; ++p)
            compare(pages[p].groupId, "1")
        compare(screen.list.count, row.sizes.reduce(function (a, b) { return a + b }, 0))
    }

    // A level keeps the group, a group keeps the level; a search goes alone; an empty one
    // sends nothing.
    function test_filters_and_search() {
        useFake(levelList())
        open()
        tryCompare(screen, "loading", false, 5000)
        item("memberSearchField").text = "139"
        var clicks = ["level_2", "group_默认分组", "group_全部分组", "level_"]
        for (var c = 0; c < clicks.length; ++c) {
            click(findChild(screen, clicks[c]))
            tryCompare(screen, "loading", false, 5000)
        }
        compare(item("memberSearchField").text, "")
        tryVerify(function () { return sentTo("userInfo/list").length === 5 }, 5000)
        var sent = sentTo("userInfo/list")
        compare([sent[1].cardId, sent[1].groupId], ["2", undefined])
        compare([sent[2].cardId, sent[2].groupId], ["2", "-1"])
        compare([sent[3].cardId, sent[3].groupId], ["2", undefined])
        compare([sent[4].cardId, sent[4].groupId], [undefined, undefined])

        click(findChild(screen, "group_散客"))
        tryCompare(screen, "loading", false, 5000)
        item("memberSearchField").forceActiveFocus()
        keyClick(Qt.Key_Return)
        click(item("memberSearchButton"))
        wait(50)
        compare(sentTo("userInfo/list").length, 6)
        item("memberSearchField").text = "张三"
        keyClick(Qt.Key_Return)
        tryVerify(function () { return sentTo("userInfo/list").length === 7 }, 5000)
        var search = sentTo("userInfo/list")[6]
        compare([search.searchValue, search.cardId, search.groupId, search.pageNum], ["张三", undefined, undefined, "1"])
    }

    // --- Against the reference backend ----------------------------------------------------

    function search(text) {
        item("memberSearchField").text = text
        click(item("memberSearchButton"))
        tryCompare(screen, "loading", false, 5000)
        tryVerify(function () { return screen.list.count > 0 }, 5000)
    }

    function test_rows_of_the_demo_members() {
        openLoaded()
        compare(screen.levels.length, 5)
        compare(screen.groups[0].name, "全部分组")
        compare(screen.list.count, 10)
        search("13912340014")
        compare(screen.list.count, 1)
        var r = row(14)
        verify(r !== null)
        var detail = reference.data("userInfo/detail", { id: "14" }).data
        compare(findChild(r, "rowName").text, detail.info.name)
        compare(findChild(r, "rowCard").text, "VIP0014")
        compare(findChild(r, "rowBalance").text, (detail.ext.balance / 100).toFixed(2) + " 元")
        shot("member-list")
    }

    // Ticking twice leaves nothing ticked; the dialog starts on the one member's grade, or
    // on "不是重要客户" for several; the grade is saved for all of them and the list reloads.
    function test_important_customers() {
        openLoaded()
        click(item("gradeButton"))
        verify(!item("gradeWindow").visible) // nothing ticked
        search("1391234002") // members 20 to 29
        var a = row(21)
        click(findChild(a, "tickBox"))
        click(findChild(a, "tickBox"))
        compare(screen.memberArray, [])
        click(findChild(a, "tickBox"))
        compare(screen.memberArray, ["21"])
        verify(a.ticked)
        verify(Qt.colorEqual(a.color, Theme.ticked))
        click(item("gradeButton"))
        var window = item("gradeWindow")
        verify(window.visible)
        var grade = reference.data("userInfo/detail", { id: "21" }).data.info.grade
        compare(window.grade, grade > 0 ? String(grade) : "-1")
        click(item("gradeCancel"))
        click(findChild(row(22), "tickBox"))
        click(item("gradeButton"))
        compare(window.grade, "-1")
        click(item("grade_3"))
        click(item("gradeConfirm"))
        tryVerify(function () { return !window.visible }, 5000)
        compare(screen.memberArray, [])
        tryCompare(screen, "loading", false, 5000)
        compare(reference.data("userInfo/detail", { id: "21" }).data.info.grade, 3)
        compare(reference.data("userInfo/detail", { id: "22" }).data.info.grade, 3)
        tryVerify(function () { var r = row(22); return r !== null && findChild(r, "rowFlag").visible }, 5000)
        compare(String(findChild(row(22), "rowFlag").source), "qrc:/icon/icon/flagpurple.png")
    }

    function test_new_group_data() {
        return [
            { tag: "a group of the merchant", name: "散客", added: false },
            { tag: "all groups", name: "全部分组", added: false },
            { tag: "a new name", name: "老客户", added: true }
        ]
    }
    function test_new_group(row) {
        openLoaded()
        var before = screen.groups.length
        click(item("newGroupButton"))
        var window = item("newGroupWindow")
        verify(window.visible)
        item("newGroupName").text = row.name
        click(item("newGroupConfirm"))
        if (row.added) {
            verify(!window.visible)
            compare(screen.groups.length, before + 1)
            compare(findChild(screen, "group_" + row.name).label, row.name + "(0)")
            compare(TestSupport.boxes(), [])
        } else {
            verify(window.visible)
            compare(screen.groups.length, before)
            compare(TestSupport.boxes()[0].slice(1), ["提示", "分组名称已存在！！！"])
        }
    }

    // Name, phone or card opens the details; "充值" the recharge with the member; "下单" the
    // order form with the member found by phone.
    function test_row_actions() {
        openLoaded()
        search("13912340012")
        var r = row(12)
        click(findChild(r, "rowPhone"))
        var details = findChild(screen, "MemberDetails")
        verify(details !== null)
        compare(details.userId, "12")
        details.close()
        tryVerify(function () { return findChild(screen, "MemberDetails") === null }, 5000)

        click(findChild(r, "rowRecharge"))
        var recharge = findChild(screen, "MemberRecharge")
        verify(recharge !== null)
        compare([recharge.userIds, recharge.userPhones, recharge.rechargeFlag], ["12", "13912340012", "MemberList"])
        compare(recharge.userBlances, (reference.data("userExt/balance", { id: "12" }).data.balance / 100).toFixed(2))
        // A recharge in cash: the worker is told, the recharge screen closes and the list is
        // read again under the search that found the member, with the new balance.
        tryCompare(recharge.conversation, "loading", false, 5000)
        var before = reference.data("userExt/balance", { id: "12" }).data.balance
        var paid = recharge.conversation.amountFen
        click(findChild(recharge, "means_cash"))
        findChild(recharge, "cashReceived").text = String(paid / 100)
        click(findChild(recharge, "cashConfirm"))
        tryVerify(function () { return findChild(screen, "MemberRecharge") === null }, 5000)
        compare(TestSupport.boxes().map(function (b) { return b.slice(1) }),
                [["提示", "充值成功，本次充值" + (paid / 100).toFixed(2) + "元"]])
        tryCompare(screen, "loading", false, 5000)
        compare(item("memberSearchField").text, "13912340012")
        compare(screen.list.count, 1)
        var after = reference.data("userExt/balance", { id: "12" }).data.balance
        verify(after >= before + paid, before + " + " + paid + " -> " + after)
        compare(findChild(row(12), "rowBalance").text, (after / 100).toFixed(2) + " 元")

        click(findChild(row(12), "rowOrder"))
        tryVerify(function () { return findChild(screen, "PlaceOrderContent") !== null }, 5000)
        compare(findChild(screen, "PlaceOrderContent").panel.phone, "13912340012")
    }
}
