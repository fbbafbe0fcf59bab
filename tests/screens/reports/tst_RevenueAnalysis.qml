import QtQuick 2.15
import QtTest 1.2
import Brenvo 1.0
import BrenvoTest 1.0
import "qrc:/"
import "qrc:/requests.js" as Requests
import "../common"
import "../common/fakeroutes.js" as Routes

// The revenue analysis. The chain of reports, their fields, the stepping and the calendars,
// the blocks filled from exact replies and a failed report against a backend answering as each
// test says; the figures of the reference backend's demo store beside its own reports.
ScreenTestCase {
    id: testCase
    name: "RevenueAnalysis"
    needsSignIn: true

    readonly property var chainPaths: ["revenueSum/queryReport", "revenueCnt/getReport", "revenueOrder/getReport",
        "revenueRecharge/getReport", "reportTradeOrder/getReport", "reportTradeRecharge/getReport", "revenueSum/trend"]

    // The terminal's store, as a password sign-in on the main window fills it.
    function init() {
        Session.storeId = "1"
    }

    function today() {
        return Qt.formatDate(new Date(), "yyyy-MM-dd")
    }

    function open() {
        screen = Qt.createComponent("qrc:/RevenueAnalysis.qml").createObject(host, {})
        verify(screen !== null)
        return screen
    }

    function openLoaded() {
        open()
        tryCompare(screen, "loading", false, 5000)
        return screen
    }

    // The value shown on the line `label` of the block `block`.
    function shown(block, label) {
        var line = findChild(item(block), "line_" + label)
        verify(line !== null, "no line " + label + " in " + block)
        return findChild(line, "value").text
    }

    // Every report answered with these data by path (the empty reports unless given).
    function useFake(data) {
        routed.start()
        var days = []
        for (var i = 0; i < 30; ++i)
            days.push({ date: "2019-02-" + ("0" + (i % 28 + 1)).slice(-2), amount: i * 100 })
        var all = {
            "revenueSum/queryReport": { totalAmt: 0, payList: [] },
            "revenueCnt/getReport": { orderCnt: 0, userCnt: 0, takeProCnt: 0, sendProCnt: 0, rechargeCnt: 0 },
            "revenueOrder/getReport": {},
            "revenueRecharge/getReport": {},
            "reportTradeOrder/getReport": [0, 0, 0, 0, 0, 0].map(function (v) { return { payAmount: v } }),
            "reportTradeRecharge/getReport": [0, 0, 0, 0, 0, 0].map(function (v) { return { payAmount: v } }),
            "revenueSum/trend": { list: days }
        }
        for (var path in data)
            all[path] = data[path]
        var r = {}
        for (var p in all)
            r[p] = Routes.ok(all[p])
        routes = r
    }

    function chainsSent() {
        return Routes.paths(fake).length / chainPaths.length
    }

    // --- Against the test's own backend -------------------------------------------------

    // Today's daily report at opening: the six reports and the trend one after the other,
    // each with the store, "1" and the day; the next one only once the last one answered.
    function test_opening_reads_today_one_report_at_a_time() {
        useFake({})
        var held = routes["revenueOrder/getReport"]
        routes["revenueOrder/getReport"] = null
        open()
        verify(item("loadingShade").visible)
        tryVerify(function () { return Routes.paths(fake).length === 3 }, 5000)
        wait(100)
        compare(Routes.paths(fake), chainPaths.slice(0, 3))
        routes["revenueOrder/getReport"] = held
        tryCompare(screen, "loading", false, 5000)
        compare(Routes.paths(fake), chainPaths)
        chainPaths.forEach(function (path) {
            var body = sentTo(path)[0]
            compare([body.storeId, body.dateType, body.date], ["1", "1", today()], path)
        })
        verify(!item("loadingShade").visible)
        compare(item("dayField").text, today())
        verify(item("refreshButton").visible)
    }

    // "月报表" reads the current month as "yyyy-MM"; "日报表" the day again.
    function test_monthly_report_of_the_current_month() {
        useFake({})
        openLoaded()
        click("monthlyTab")
        tryCompare(screen, "loading", false, 5000)
        compare(chainsSent(), 2)
        chainPaths.forEach(function (path) {
            var body = sentTo(path)[1]
            compare([body.dateType, body.date], ["2", today().substring(0, 7)], path)
        })
        compare(item("monthField").text, today().substring(0, 7))
        verify(!item("refreshButton").visible)
        compare(item("previousButton").text, "上一月")
        click("dailyTab")
        tryCompare(screen, "loading", false, 5000)
        compare([sentTo("revenueSum/queryReport")[2].dateType, sentTo("revenueSum/queryReport")[2].date], ["1", today()])
    }

    // Back and forth by a day or a month, with no upper bound; "刷新" reads the same day.
    function test_stepping_data() {
        return [
            { tag: "前一天 from 2019-03-01", type: "1", from: "2019-03-01", forward: false, to: "2019-02-28" },
            { tag: "后一天 over a year's end", type: "1", from: "2019-12-31", forward: true, to: "2020-01-01" },
            { tag: "上一月 from 2019-01", type: "2", from: "2019-01", forward: false, to: "2018-12" },
            { tag: "下一月 past today", type: "2", from: Qt.formatDate(new Date(), "yyyy-MM"), forward: true,
              to: Qt.formatDate(new Date(new Date().getFullYear(), new Date().getMonth() + 1, 1), "yyyy-MM") }
        ]
    }
    function test_stepping(row) {
        useFake({})
        openLoaded()
        if (row.type === "2") {
            click("monthlyTab")
            tryCompare(screen, "loading", false, 5000)
            screen.month = row.from
        } else {
            screen.day = row.from
        }
        click(row.forward ? "nextButton" : "previousButton")
        tryCompare(screen, "loading", false, 5000)
        var sent = sentTo("revenueCnt/getReport")
        compare(sent[sent.length - 1].date, row.to)
        compare(item(row.type === "2" ? "monthField" : "dayField").text, row.to)
        if (row.type === "1") {
            click("refreshButton")
            tryCompare(screen, "loading", false, 5000)
            sent = sentTo("revenueCnt/getReport")
            compare(sent.length, 3)
            compare(sent[2].date, row.to)
        }
    }

    // The calendars reach up to today; a pick reads its day, or its month.
    function test_calendars_up_to_today() {
        useFake({})
        openLoaded()
        click("dayField")
        var calendar = item("revenueCalendar")
        verify(calendar.visible)
        var grid = findChild(calendar.contentItem, "revenueCalendarCalendar")
        verify(grid !== null)
        compare(Qt.formatDate(grid.maximumDate, "yyyy-MM-dd"), today())
        calendar.choose(new Date(2019, 2, 1))
        tryCompare(screen, "loading", false, 5000)
        compare(sentTo("revenueOrder/getReport")[1].date, "2019-03-01")
        compare(item("dayField").text, "2019-03-01")

        click("monthlyTab")
        tryCompare(screen, "loading", false, 5000)
        click("monthField")
        verify(calendar.visible)
        grid = findChild(calendar.contentItem, "revenueCalendarCalendar")
        compare(Qt.formatDate(grid.maximumDate, "yyyy-MM-dd"), today())
        calendar.choose(new Date(2018, 10, 17))
        tryCompare(screen, "loading", false, 5000)
        var sent = sentTo("revenueOrder/getReport")
        compare([sent[3].dateType, sent[3].date], ["2", "2018-11"])
        compare(item("monthField").text, "2018-11")
    }

    // Each block shows its reply: shares of the exact amounts, no share when all are zero, a
    // three-entry list with 0.00 for the rest, counts with their units, the trend's bars.
    function test_blocks_filled_from_the_replies() {
        useFake({
            "revenueSum/queryReport": { totalAmt: 1550, payList: [{ payMethod: 2, payMethodText: "微信", amount: 1000 },
                                                                  { payMethod: 1, payMethodText: "现金", amount: 550 }] },
            "revenueCnt/getReport": { orderCnt: 12, userCnt: 3, takeProCnt: 31, sendProCnt: 8, rechargeCnt: 2 },
            "revenueOrder/getReport": { orderAmt: 2900000, couponAmt: 1000, totalAmt: 1550, actualAmt: 1550 },
            "revenueRecharge/getReport": { totalAmt: 55000, giftAmt: 5000, amount: 50000, actualAmt: 50000 },
            "reportTradeOrder/getReport": [{ payAmount: 1000 }, { payAmount: 550 }, { payAmount: 0 }],
            "reportTradeRecharge/getReport": [0, 0, 0, 0, 0, 0].map(function (v) { return { payAmount: v } })
        })
        openLoaded()
        compare(shown("summaryBlock", "微信"), "¥10.00")
        compare(shown("summaryBlock", "现金"), "¥5.50")
        compare(shown("summaryBlock", "收入合计"), "¥15.50")
        compare(shown("countsBlock", "订单数"), "12单")
        compare(shown("countsBlock", "新增客户"), "3人")
        compare(shown("countsBlock", "收衣（入库）"), "31件")
        compare(shown("countsBlock", "取衣"), "8件")
        compare(shown("countsBlock", "储值笔数"), "2笔")
        compare(shown("orderBlock", "订单总额"), "¥29000.00")
        compare(shown("orderBlock", "未付欠款"), "¥0.00")
        compare(shown("rechargeBlock", "赠送金额"), "¥50.00")
        compare(shown("orderPaymentsBlock", "微信支付"), "¥10.00  (64.52%)")
        compare(shown("orderPaymentsBlock", "现金支付"), "¥5.50  (35.48%)")
        ;["余额支付", "支付宝支付", "优付卡支付", "其他支付"].forEach(function (label) {
            compare(shown("orderPaymentsBlock", label), "¥0.00  (0.00%)")
        })
        ;["微信支付", "现金支付", "支付宝支付", "充值卡支付", "绑卡充值支付", "其他支付"].forEach(function (label) {
            compare(shown("rechargePaymentsBlock", label), "¥0.00")
        })
        compare(item("orderShares").shares, [6452, 3548, 0, 0, 0, 0])
        verify(!item("orderShares").empty)
        verify(item("rechargeShares").empty)
        var trend = item("trendChart")
        compare(trend.bars.length, 30)
        verify(findChild(trend, "bar_2019-02-28") !== null)
        shot("revenue-shares")
    }

    // A bar of the trend shows its day.
    function test_a_bar_shows_its_day() {
        useFake({})
        openLoaded()
        var bar = findChild(item("trendChart"), "bar_2019-02-27")
        verify(bar !== null)
        click(bar)
        tryCompare(screen, "loading", false, 5000)
        compare(item("dayField").text, "2019-02-27")
        compare(sentTo("revenueSum/trend")[1].date, "2019-02-27")
    }

    // Reports asked for again before the first chain ended: only the newer chain is shown
    // and goes on.
    function test_a_newer_chain_wins() {
        useFake({})
        routes["revenueSum/queryReport"] = function (body) {
            return Routes.ok({ totalAmt: body.date === "2019-03-01" ? 100 : 200, payList: [] })
        }
        var held = routes["revenueCnt/getReport"]
        routes["revenueCnt/getReport"] = null
        open()
        tryVerify(function () { return Routes.paths(fake).length === 2 }, 5000)
        screen.day = "2019-03-01"
        screen.reload()
        routes["revenueCnt/getReport"] = held
        tryCompare(screen, "loading", false, 5000)
        wait(100)
        compare(Routes.paths(fake).length, 2 + chainPaths.length)
        compare(shown("summaryBlock", "收入合计"), "¥1.00")
        compare(sentTo("revenueCnt/getReport").map(function (b) { return b.date }), [today(), "2019-03-01"])
    }

    // A failed report stops the chain: the shade lifts, the worker is told, the blocks of the
    // reports not read keep what they showed.
    function test_failed_report_stops_the_chain_data() {
        return [
            { tag: "refused", reply: Routes.refused(500, "服务器忙"), text: "服务器忙" },
            { tag: "no envelope", reply: "<html><body>502 Bad Gateway</body></html>", text: Requests.unreachableText }
        ]
    }
    function test_failed_report_stops_the_chain(row) {
        useFake({ "revenueCnt/getReport": { orderCnt: 5 }, "revenueRecharge/getReport": { giftAmt: 700 } })
        openLoaded()
        compare(shown("countsBlock", "订单数"), "5单")
        routes["revenueSum/queryReport"] = Routes.ok({ totalAmt: 999, payList: [] })
        routes["revenueCnt/getReport"] = Routes.ok({ orderCnt: 6 })
        routes["revenueOrder/getReport"] = row.reply
        click("refreshButton")
        tryCompare(screen, "loading", false, 5000)
        wait(100)
        compare(Routes.paths(fake).slice(chainPaths.length), chainPaths.slice(0, 3))
        verify(!item("loadingShade").visible)
        compare(boxes, [["错误提示", row.text]])
        compare(shown("summaryBlock", "收入合计"), "¥9.99")
        compare(shown("countsBlock", "订单数"), "6单")
        compare(shown("rechargeBlock", "赠送金额"), "¥7.00")
    }

    // --- Against the reference backend ----------------------------------------------------

    // The demo store's day and month: every block as the reports say.
    function test_the_demo_store() {
        openLoaded()
        compareWithReference({ storeId: Session.storeId, dateType: "1", date: today() })
        compare(findChild(item("trendChart"), "bar_" + today()) !== null, true)
        shot("revenue-daily")
        click("monthlyTab")
        tryCompare(screen, "loading", false, 5000)
        compareWithReference({ storeId: Session.storeId, dateType: "2", date: today().substring(0, 7) })
        compare(item("trendChart").bars.length, 12)
        shot("revenue-monthly")
    }

    // "营收分析" on the menu opens the screen, which reads today's reports.
    function test_opened_from_the_menu() {
        var menu = Qt.createComponent("qrc:/Menu.qml").createObject(host, {})
        verify(menu !== null)
        settle(findChild(menu, "menuBackend"))
        var entry = findChild(menu, "entry_535")
        verify(entry !== null)
        click(entry)
        tryVerify(function () { return findChild(menu, "RevenueAnalysis") !== null }, 5000)
        screen = findChild(menu, "RevenueAnalysis")
        tryCompare(screen, "loading", false, 5000)
        compare(item("dayField").text, today())
        compare(boxes, [])
    }

    // A card sign-in at start-up leaves the store id empty: the reports are still the
    // terminal's own store's.
    function test_without_a_store_id() {
        Session.storeId = ""
        openLoaded()
        compare(boxes, [])
        compareWithReference({ storeId: "1", dateType: "1", date: today() })
    }

    function compareWithReference(fields) {
        var sum = reference.data("revenueSum/queryReport", fields).data
        compare(shown("summaryBlock", "收入合计"), "¥" + (sum.totalAmt / 100).toFixed(2))
        sum.payList.forEach(function (line) {
            compare(shown("summaryBlock", line.payMethodText), "¥" + (line.amount / 100).toFixed(2))
        })
        var counts = reference.data("revenueCnt/getReport", fields).data
        compare(shown("countsBlock", "订单数"), counts.orderCnt + "单")
        compare(shown("countsBlock", "取衣"), counts.sendProCnt + "件")
        var order = reference.data("revenueOrder/getReport", fields).data
        compare(shown("orderBlock", "订单营收总额"), "¥" + (order.totalAmt / 100).toFixed(2))
        compare(shown("orderBlock", "订单退款"), "¥" + (order.refundAmt / 100).toFixed(2))
        var recharge = reference.data("revenueRecharge/getReport", fields).data
        compare(shown("rechargeBlock", "储值实收金额"), "¥" + (recharge.amount / 100).toFixed(2))
        var means = reference.data("reportTradeOrder/getReport", fields).data
        compare(shown("orderPaymentsBlock", "现金支付").split("  ")[0], "¥" + (means[1].payAmount / 100).toFixed(2))
        var trend = reference.data("revenueSum/trend", fields).data.list
        compare(item("trendChart").list.map(function (e) { return e.amount }), trend.map(function (e) { return e.amount }))
    }
}
