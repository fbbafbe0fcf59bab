.pragma library

// How the customer panel writes a customer's values (money: money.js), and whether a
// look-up found a customer.

// Whether the `data` of a customer look-up (userInfo/queryByKey) holds a customer: nobody
// is "{}", or no data at all.
function isRecord(data) {
    var text = String(data === undefined || data === null ? "" : data)
    return text !== "" && text.replace(/\s/g, "") !== "{}"
}

// The member discount is the percentage of the price that is charged: 85 -> "8.5折".
// Nothing off (0, or the full 100) reads "无折扣"; several discounts on one card "多折扣".
function discountText(discount, discountType) {
    if (String(discountType) === "2")
        return "多折扣"
    var d = parseInt(discount, 10)
    if (isNaN(d) || d <= 0 || d >= 100)
        return "无折扣"
    return (d % 10 === 0 ? String(d / 10) : Math.floor(d / 10) + "." + d % 10) + "折"
}

function sexText(sex) {
    var s = String(sex)
    return s === "1" ? "男" : s === "2" ? "女" : "未知"
}

// The grade flag's icon: none for 0, blue for 1, yellow for 2, purple above.
function gradeFlag(grade) {
    var g = parseInt(grade, 10)
    if (isNaN(g) || g <= 0)
        return ""
    return g === 1 ? "flagblue" : g === 2 ? "flagyellow" : "flagpurple"
}

// The member card as people know it: its card number, the one the ticket prints and the
// searches find. A bound RFID card's own number is the reader's; it stands in only for a
// member without a card number.
function cardNumber(isBinding, rfidNo, no) {
    if (String(no || "") !== "")
        return String(no)
    return String(isBinding) === "1" ? String(rfidNo || "") : ""
}
