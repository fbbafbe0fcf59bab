.pragma library
.import "money.js" as Money
.import "requests.js" as Requests

// The revenue reports' rules: which reports make up the revenue analysis (RevenueAnalysis),
// in the order they are read, the fields every one of them is asked with, and how their
// replies read: the figures of each block, the two breakdowns by means with their shares, and
// the bars of the takings before the day or month shown.

// The reports of one day or month, read one after the other: each request's tag and path.
var reports = [
    { tag: "RevenueSum", path: "revenueSum/queryReport" },
    { tag: "RevenueCnt", path: "revenueCnt/getReport" },
    { tag: "RevenueOrder", path: "revenueOrder/getReport" },
    { tag: "RevenueRecharge", path: "revenueRecharge/getReport" },
    { tag: "RevenueTradeOrder", path: "reportTradeOrder/getReport" },
    { tag: "RevenueTradecharge", path: "reportTradeRecharge/getReport" }
]
// The takings of the 30 days (12 months) up to the one shown, read after the six.
var trend = { tag: "RevenueTrend", path: "revenueSum/trend" }

var daily = "1"
var monthly = "2"

// The fields of every report: the store, daily ("1") or monthly ("2"), and the day
// ("yyyy-MM-dd") or the month ("yyyy-MM") shown.
function reportFields(storeId, dateType, day, month) {
    var type = String(dateType) === monthly ? monthly : daily
    return { storeId: String(storeId), dateType: type, date: type === monthly ? String(month) : String(day) }
}

// --- Days and months --------------------------------------------------------------------

// "2019-03-01" of a Date, in local time.
function dayOf(date) {
    return Qt.formatDate(date, "yyyy-MM-dd")
}

// "2019-03" of a day "2019-03-01" (a picked date's first 7 characters).
function monthOf(day) {
    return String(day).substring(0, 7)
}

// --- Amounts ---------------------------------------------------------------------------

// A reply's amount in whole fen; 0 for what is missing or not a whole number.
function fen(value) {
    var text = value === undefined || value === null ? "" : String(value).trim()
    return /^-?\d+$/.test(text) ? Number(text) : 0
}

// "¥12.34".
function yuan(value) {
    return "¥" + Money.fenToYuan(fen(value))
}

// --- The blocks ------------------------------------------------------------------------

// "汇总统计": a line per means that moved money, and the sum.
function summary(text) {
    var data = Requests.dataObject(text)
    var list = Array.isArray(data.payList) ? data.payList : []
    return {
        lines: list.map(function (e) {
            return { label: String(e && e.payMethodText !== undefined ? e.payMethodText : ""), value: yuan(e && e.amount) }
        }),
        total: yuan(data.totalAmt)
    }
}

// The counts: label, field and unit, in the order shown.
var countLines = [
    { label: "订单数", key: "orderCnt", unit: "单" },
    { label: "新增客户", key: "userCnt", unit: "人" },
    { label: "收衣（入库）", key: "takeProCnt", unit: "件" },
    { label: "取衣", key: "sendProCnt", unit: "件" },
    { label: "储值笔数", key: "rechargeCnt", unit: "笔" }
]

// The order money and the stored value: label and field, in the order shown.
var orderLines = [
    { label: "订单总额", key: "orderAmt" },
    { label: "使用优惠券", key: "couponAmt" },
    { label: "订单退款", key: "refundAmt" },
    { label: "未付欠款", key: "unpaidDebtAmt" },
    { label: "订单实收金额", key: "paymentAmt" },
    { label: "回收欠款", key: "paidDebtAmt" },
    { label: "退至余额", key: "refBalanceAmt" },
    { label: "订单营收总额", key: "totalAmt" },
    { label: "订单实际营收", key: "actualAmt" }
]
var rechargeLines = [
    { label: "储值总额", key: "totalAmt" },
    { label: "赠送金额", key: "giftAmt" },
    { label: "储值实收金额", key: "amount" },
    { label: "储值退款", key: "refundAmt" },
    { label: "储值营收总额", key: "actualAmt" }
]

// A block of figures from a reply: [{label, value}], counts as they come (with their unit),
// money as "¥" and yuan.
function figures(text, lines) {
    var data = Requests.dataObject(text)
    return lines.map(function (line) {
        var v = data[line.key]
        return {
            label: line.label,
            value: line.unit !== undefined ? (v === undefined || v === null ? "0" : String(v)) + line.unit : yuan(v)
        }
    })
}

// --- The breakdowns by means -----------------------------------------------------------

// Read by position: the means each position of the list stands for.
var orderMeans = ["微信支付", "现金支付", "余额支付", "支付宝支付", "优付卡支付", "其他支付"]
var rechargeMeans = ["微信支付", "现金支付", "支付宝支付", "充值卡支付", "绑卡充值支付", "其他支付"]

// The six amounts in fen of a breakdown reply (`data` a list read by position); a missing
// position is 0.
function positions(text) {
    var data = Requests.dataOf(text)
    var list = Array.isArray(data) ? data : []
    var out = []
    for (var i = 0; i < 6; ++i)
        out.push(fen(list[i] ? list[i].payAmount : 0))
    return out
}

// Each amount's share of their sum in hundredths of a percent (6452 for 64.52 %), computed from
// the exact amounts in fen with integers only, and rounded so that the shares add up to
// exactly 100.00 %: each is its exact share rounded down, and the hundredths still missing go
// to the largest remainders (the earlier position on a tie). null when there is nothing to
// share: a sum of 0, or an amount below 0.
function shares(amounts) {
    var total = 0
    for (var i = 0; i < amounts.length; ++i) {
        if (amounts[i] < 0)
            return null
        total += amounts[i]
    }
    if (total <= 0)
        return null
    var parts = amounts.map(function (a, index) {
        var d = divide(a, total)
        d.index = index
        return d
    })
    var missing = 10000 - parts.reduce(function (sum, p) { return sum + p.quotient }, 0)
    var byRemainder = parts.slice().sort(function (x, y) {
        return x.remainder !== y.remainder ? y.remainder - x.remainder : x.index - y.index
    })
    for (var m = 0; m < missing; ++m)
        byRemainder[m].quotient += 1
    return parts.map(function (p) { return p.quotient })
}

// amount * 10000 / total as a whole quotient and a remainder (0 <= amount <= total), by long
// division one decimal digit at a time, so no product ever leaves the integers a number holds
// exactly (the sum may reach 10^14 fen).
function divide(amount, total) {
    var quotient = amount >= total ? 1 : 0
    var remainder = amount - quotient * total
    for (var digit = 0; digit < 4; ++digit) {
        remainder *= 10
        var d = Math.floor(remainder / total)
        if (d * total > remainder)
            d -= 1
        else if ((d + 1) * total <= remainder)
            d += 1
        quotient = quotient * 10 + d
        remainder -= d * total
    }
    return { quotient: quotient, remainder: remainder }
}

// "64.52%" of 6452.
function percentText(hundredths) {
    return Math.floor(hundredths / 100) + "." + ("0" + hundredths % 100).slice(-2) + "%"
}

// The lines of a breakdown: [{label, value, share}]: "¥10.00  (64.52%)", or "¥0.00" alone when
// there is no share; `share` in hundredths of a percent (0 without one), for the chart.
function breakdown(amounts, labels) {
    var s = shares(amounts)
    return labels.map(function (label, i) {
        var value = "¥" + Money.fenToYuan(amounts[i])
        return {
            label: label,
            value: s === null ? value : value + "  (" + percentText(s[i]) + ")",
            share: s === null ? 0 : s[i]
        }
    })
}

// --- The trend -------------------------------------------------------------------------

// The takings of a trend reply: [{date, amount}] oldest first.
function trendOf(text) {
    var data = Requests.dataObject(text)
    var list = Array.isArray(data.list) ? data.list : []
    return list.map(function (e) {
        return { date: String(e && e.date !== undefined ? e.date : ""), amount: fen(e && e.amount) }
    })
}

// The bars of a trend drawn `height` pixels high: each bar's top and height from a common
// baseline (lower when some amount is below 0, which hangs below it), and its label: the day
// of the month ("01"), or the month ("03"). Whole pixels; a bar of an amount other than 0 is
// at least one pixel.
function bars(list, height) {
    var high = 0
    var low = 0
    list.forEach(function (e) {
        high = Math.max(high, e.amount)
        low = Math.min(low, e.amount)
    })
    var range = high - low
    var baseline = range > 0 ? Math.round(height * high / range) : height
    return list.map(function (e) {
        var size = range > 0 ? Math.round(height * Math.abs(e.amount) / range) : 0
        if (size === 0 && e.amount !== 0)
            size = 1
        return {
            date: e.date,
            amount: e.amount,
            label: e.date.length > 7 ? e.date.substring(8) : e.date.substring(5),
            top: e.amount >= 0 ? baseline - size : baseline,
            height: size,
            below: e.amount < 0
        }
    })
}
