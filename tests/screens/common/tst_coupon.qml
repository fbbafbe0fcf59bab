import QtQuick 2.15
import QtTest 1.2
import "qrc:/coupon.js" as Coupon

// How a coupon is written, and what a click on it does at the cashier.
TestCase {
    name: "Coupon"

    function test_texts() {
        compare(Coupon.couponAmount("1000"), "¥10.00")
        compare(Coupon.couponThreshold("0"), "无限制")
        compare(Coupon.couponThreshold("10050"), "满100元可用")
        compare(Coupon.couponRule("通用"), "通用")
        compare(Coupon.couponRule("皮具护理"), "仅限皮具护理使用")
    }

    function test_dates() {
        var start = new Date(2024, 5, 5, 10, 0).getTime()
        var end = new Date(2024, 10, 30, 23, 0).getTime()
        compare(Coupon.couponDate(start, "."), "2024.06.5")
        compare(Coupon.couponDate(start, "/"), "2024/06/5")
        compare(Coupon.validity({ timeStart: String(start), timeEnd: end }, "."), "2024.06.5 至 2024.11.30有效")
        compare(Coupon.couponDate("", "."), "")
    }

    function test_click_data() {
        return [
            { tag: "in use on this order", c: { useStatus: "1", orderId: "12", enableUse: "1" }, action: "remove" },
            { tag: "usable", c: { useStatus: "0", orderId: "0", enableUse: "1" }, action: "apply" },
            { tag: "held by another order", c: { useStatus: "1", orderId: "13", enableUse: "0" }, action: "" },
            { tag: "not usable", c: { useStatus: "0", orderId: "0", enableUse: "0" }, action: "" }
        ]
    }
    function test_click(row) {
        compare(Coupon.clickAction(row.c, "12"), row.action)
    }
}
