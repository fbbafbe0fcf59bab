import QtQuick 2.15
import QtTest 1.2
import "qrc:/reports.js" as Reports

// The revenue reports' rules.
TestCase {
    name: "ReportRules"

    function reply(data) {
        return JSON.stringify({ httpCode: 200, msg: "ok", data: data })
    }

    function test_reports_in_reading_order() {
        compare(Reports.reports.map(function (r) { return r.tag }),
                ["RevenueSum", "RevenueCnt", "RevenueOrder", "RevenueRecharge", "RevenueTradeOrder", "RevenueTradecharge"])
        compare(Reports.reports[0].path, "revenueSum/queryReport")
        compare(Reports.reports[5].path, "reportTradeRecharge/getReport")
        compare(Reports.trend.path, "revenueSum/trend")
    }

    function test_report_fields_data() {
        return [
            { tag: "daily", type: "1", fields: { storeId: "1", dateType: "1", date: "2019-03-01" } },
            { tag: "monthly", type: "2", fields: { storeId: "1", dateType: "2", date: "2019-03" } },
            { tag: "unknown type reads daily", type: "", fields: { storeId: "1", dateType: "1", date: "2019-03-01" } }
        ]
    }
    function test_report_fields(row) {
        compare(Reports.reportFields(1, row.type, "2019-03-01", "2019-03"), row.fields)
    }

    function test_days_and_months() {
        compare(Reports.dayOf(new Date(2019, 2, 1, 23, 59)), "2019-03-01")
        compare(Reports.monthOf("2019-03-01"), "2019-03")
    }

    // --- Shares ------------------------------------------------------------------------

    // Shares of the exact amounts in fen, adding up to 100.00 %.
    function test_shares_data() {
        return [
            { tag: "10.00 and 5.50", amounts: [1000, 550, 0, 0, 0, 0], shares: [6452, 3548, 0, 0, 0, 0] },
            { tag: "thirds", amounts: [100, 100, 100], shares: [3334, 3333, 3333] },
            { tag: "one means", amounts: [0, 0, 4200, 0, 0, 0], shares: [0, 0, 10000, 0, 0, 0] },
            { tag: "below one yuan", amounts: [30, 20], shares: [6000, 4000] },
            { tag: "a fen among millions", amounts: [1, 99999999999999], shares: [0, 10000] },
            { tag: "sevenths", amounts: [1, 1, 1, 1, 1, 1, 1], shares: [1429, 1429, 1429, 1429, 1428, 1428, 1428] },
            { tag: "remainders decide", amounts: [1, 2, 3], shares: [1667, 3333, 5000] },
            { tag: "all zero", amounts: [0, 0, 0, 0, 0, 0], shares: null },
            { tag: "a refund below zero", amounts: [1000, -200], shares: null }
        ]
    }
    function test_shares(row) {
        var s = Reports.shares(row.amounts)
        compare(s, row.shares)
        if (s !== null)
            compare(s.reduce(function (a, b) { return a + b }, 0), 10000)
    }

    function test_breakdown_lines_data() {
        return [
            { tag: "10.00 WeChat and 5.50 cash", amounts: [1000, 550, 0, 0, 0, 0],
              values: ["¥10.00  (64.52%)", "¥5.50  (35.48%)", "¥0.00  (0.00%)", "¥0.00  (0.00%)", "¥0.00  (0.00%)", "¥0.00  (0.00%)"] },
            { tag: "all zeros show no share", amounts: [0, 0, 0, 0, 0, 0],
              values: ["¥0.00", "¥0.00", "¥0.00", "¥0.00", "¥0.00", "¥0.00"] },
            { tag: "half a yuan in all", amounts: [0, 50, 0, 0, 0, 0],
              values: ["¥0.00  (0.00%)", "¥0.50  (100.00%)", "¥0.00  (0.00%)", "¥0.00  (0.00%)", "¥0.00  (0.00%)", "¥0.00  (0.00%)"] }
        ]
    }
    function test_breakdown_lines(row) {
        var lines = Reports.breakdown(row.amounts, Reports.orderMeans)
        compare(lines.map(function (l) { return l.label }), ["微信支付", "现金支付", "余额支付", "支付宝支付", "优付卡支付", "其他支付"])
        compare(lines.map(function (l) { return l.value }), row.values)
    }

    // The list is read by position; what is missing or not a whole number of fen is 0.
    function test_positions_data() {
        return [
            { tag: "six entries", data: [1, 2, 3, 4, 5, 6].map(function (v) { return { payAmount: v } }), amounts: [1, 2, 3, 4, 5, 6] },
            { tag: "three entries", data: [{ payAmount: 1000 }, { payAmount: "550" }, { payAmount: 7 }], amounts: [1000, 550, 7, 0, 0, 0] },
            { tag: "an empty list", data: [], amounts: [0, 0, 0, 0, 0, 0] },
            { tag: "not a list", data: { payAmount: 5 }, amounts: [0, 0, 0, 0, 0, 0] },
            { tag: "odd entries", data: [null, { payAmount: "12.5" }, {}, { payAmount: 4 }], amounts: [0, 0, 0, 4, 0, 0] }
        ]
    }
    function test_positions(row) {
        compare(Reports.positions(reply(row.data)), row.amounts)
    }

    function test_a_reply_that_is_no_envelope_reads_as_zeros() {
        compare(Reports.positions("<html>502</html>"), [0, 0, 0, 0, 0, 0])
        compare(Reports.summary("").total, "¥0.00")
        compare(Reports.figures("{", Reports.orderLines)[0].value, "¥0.00")
    }

    // --- The other blocks --------------------------------------------------------------

    function test_summary_lines() {
        var s = Reports.summary(reply({ totalAmt: 1234567, payList: [
            { payMethod: 1, payMethodText: "现金", amount: 1000 },
            { payMethod: 9, payMethodText: "银行卡", amount: 1233567 }] }))
        compare(s.lines, [{ label: "现金", value: "¥10.00" }, { label: "银行卡", value: "¥12335.67" }])
        compare(s.total, "¥12345.67")
        compare(Reports.summary(reply({ totalAmt: 0, payList: [] })), { lines: [], total: "¥0.00" })
    }

    function test_counts_with_their_units() {
        var lines = Reports.figures(reply({ orderCnt: 12, userCnt: 0, takeProCnt: 31, sendProCnt: 8 }), Reports.countLines)
        compare(lines.map(function (l) { return l.label + " " + l.value }),
                ["订单数 12单", "新增客户 0人", "收衣（入库） 31件", "取衣 8件", "储值笔数 0笔"])
    }

    function test_money_figures() {
        var lines = Reports.figures(reply({ orderAmt: 2900000, couponAmt: 1000, refundAmt: -300, totalAmt: "24500", actualAmt: 21500 }), Reports.orderLines)
        compare(lines.map(function (l) { return l.label + " " + l.value }),
                ["订单总额 ¥29000.00", "使用优惠券 ¥10.00", "订单退款 ¥-3.00", "未付欠款 ¥0.00", "订单实收金额 ¥0.00",
                 "回收欠款 ¥0.00", "退至余额 ¥0.00", "订单营收总额 ¥245.00", "订单实际营收 ¥215.00"])
        compare(Reports.figures(reply({ giftAmt: 5000 }), Reports.rechargeLines)[1], { label: "赠送金额", value: "¥50.00" })
    }

    // --- The trend ---------------------------------------------------------------------

    function test_trend_bars_data() {
        return [
            { tag: "days", list: [["2019-02-27", 0], ["2019-02-28", 5000], ["2019-03-01", 10000]], height: 100,
              bars: [["27", 100, 0], ["28", 50, 50], ["01", 0, 100]] },
            { tag: "months", list: [["2019-02", 1], ["2019-03", 100000]], height: 100,
              bars: [["02", 99, 1], ["03", 0, 100]] },
            { tag: "a day below zero", list: [["2019-03-01", -1000], ["2019-03-02", 3000]], height: 80,
              bars: [["01", 60, 20], ["02", 0, 60]] },
            { tag: "nothing at all", list: [["2019-03-01", 0], ["2019-03-02", 0]], height: 80,
              bars: [["01", 80, 0], ["02", 80, 0]] }
        ]
    }
    function test_trend_bars(row) {
        var list = Reports.trendOf(reply({ list: row.list.map(function (e) { return { date: e[0], amount: e[1] } }) }))
        compare(list.map(function (e) { return e.amount }), row.list.map(function (e) { return e[1] }))
        var bars = Reports.bars(list, row.height)
        compare(bars.map(function (b) { return [b.label, b.top, b.height] }), row.bars)
    }
}
