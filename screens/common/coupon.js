.pragma library
.import "money.js" as Money

// How a coupon is written in the coupon window, and what a click on it does at the cashier.

// The members of a coupon list (couponInfo/userList, couponInfo/orderList) the window shows.
var listKeys = ["id", "name", "amount", "fullAmount", "couponRuleName", "timeStart", "timeEnd",
                "enableUse", "orderId", "useStatus", "useBalance"]

function couponAmount(fen) {
    return "¥" + Money.fenToYuan(fen)
}

// "无限制" without a threshold, else "满" + whole yuan + "元可用".
function couponThreshold(fullFen) {
    var n = parseInt(fullFen, 10)
    return isNaN(n) || n <= 0 ? "无限制" : "满" + Math.floor(n / 100) + "元可用"
}

function couponRule(name) {
    return name === "通用" ? name : "仅限" + name + "使用"
}

// A day as the year, the two-digit month and the day without a leading zero, joined by
// `separator` ("2024/06/5" at the place-order screen, "2024.06.5" at the cashier).
function couponDate(ms, separator) {
    if (ms === "" || ms === undefined || ms === null)
        return ""
    var d = new Date(Number(ms))
    var month = d.getMonth() + 1
    return d.getFullYear() + separator + (month < 10 ? "0" + month : month) + separator + d.getDate()
}

function validity(coupon, separator) {
    return couponDate(coupon.timeStart, separator) + " 至 " + couponDate(coupon.timeEnd, separator) + "有效"
}

// The coupon this order already uses.
function usedBy(coupon, orderId) {
    return String(coupon.useStatus) === "1" && String(coupon.orderId) === String(orderId)
}

// A click on a coupon at the cashier: "remove" the one in use, "apply" a usable one, ""
// for any other.
function clickAction(coupon, orderId) {
    if (usedBy(coupon, orderId))
        return "remove"
    return String(coupon.enableUse) === "1" ? "apply" : ""
}
