.pragma library
// The revenue reports' rules: which reports make up the revenue analysis (RevenueAnalysis),
// in the order they are read, and the fields every one of them is asked with.

// The reports of one day or month, read one after the other: each request's tag and path.
var reports = [
    { tag: "RevenueSum", path: "revenueSum/queryReport" },
    { tag: "RevenueCnt", path: "revenueCnt/getReport" },
    { tag: "RevenueOrder", path: "revenueOrder/getReport" },
    { tag: "RevenueRecharge", path: "revenueRecharge/getReport" },
    { tag: "RevenueTradeOrder", path: "reportTradeOrder/getReport" },
    { tag: "RevenueTradecharge", path: "reportTradeRecharge/getReport" }
]

var daily = "1"
var monthly = "2"

// The fields of every report: the store, daily ("1") or monthly ("2"), and the day
// ("yyyy-MM-dd") or the month ("yyyy-MM") shown.
function reportFields(storeId, dateType, day, month) {
    var type = String(dateType) === monthly ? monthly : daily
    return { storeId: String(storeId), dateType: type, date: type === monthly ? String(month) : String(day) }
}
