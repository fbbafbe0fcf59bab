.pragma library
.import "money.js" as Money
.import "requests.js" as Requests

// The member details' record tabs: which request fills each tab, and each record as a card
// (a title, a badge on the right, lines of detail, an amount). Times are written by the
// formatters handed in (the session's timerToDate and timerToDates).

var tabs = [
    { key: "address", label: "常用地址" },
    { key: "consumption", label: "消费记录" },
    { key: "recharge", label: "充值记录" },
    { key: "order", label: "订单" },
    { key: "coupon", label: "优惠券" }
]

// The request of a paged tab: its tag and path; the coupon tab lists everything at once.
var requests = {
    consumption: { tag: "TradeOrder", path: "tradeOrder/list", paged: true },
    recharge: { tag: "UserRecharge", path: "userRecharge/list", paged: true },
    order: { tag: "OrderInfo", path: "orderInfo/list", paged: true },
    coupon: { tag: "GetCoupon", path: "couponInfo/userList", paged: false }
}

function str(value) {
    return value === undefined || value === null ? "" : String(value)
}

// The elements of a list reply: `data.list` for the paged tabs, `data` for the coupons.
function elements(text, paged) {
    var data = Requests.dataOf(text)
    var list = paged ? (data ? data.list : undefined) : data
    return Array.isArray(list) ? list : []
}

function consumptionCard(e, timeText) {
    return {
        recordId: str(e.id),
        title: str(e.orderOriginText) + "收款",
        badge: str(e.statusText),
        detail: ["支付时间：" + timeText(e.tradeTime), "单号：" + str(e.orderNo),
                 "支付流水：" + str(e.seq), str(e.payMethodText) + "支付"].join("\n"),
        amount: "金额：" + Money.fenToYuan(e.amount)
    }
}

function rechargeCard(e, timeText) {
    return {
        recordId: str(e.id),
        title: str(e.paySceneText) + "收款",
        badge: str(e.payMethodText) + "支付",
        detail: ["充值时间：" + timeText(e.tradeTime), "支付流水号：" + str(e.seq),
                 "操作员：" + str(e.workName)].join("\n"),
        amount: "充值金额：" + Money.fenToYuan(e.amount) + "\n赠送金额：" + Money.fenToYuan(e.giftAmount)
    }
}

function orderCard(e, timeText) {
    return {
        recordId: str(e.id),
        title: str(e.orderNo),
        badge: str(e.statusText) + "  " + str(e.payStatusText),
        detail: ["数量：" + (Array.isArray(e.business) ? e.business.length : 0),
                 "下单时间：" + timeText(e.createTime)].join("\n"),
        amount: Money.fenToYuan(e.paymentPrice)
    }
}

// A coupon is valid as the backend says (`isValid` "1"), or, when it does not say, while its
// end lies after `now`.
function couponValid(e, now) {
    if (e.isValid !== undefined && e.isValid !== null)
        return str(e.isValid) === "1" || e.isValid === true
    return Number(e.timeEnd) > now
}

function couponCard(e, dateText, now) {
    return {
        recordId: str(e.id),
        title: str(e.name),
        badge: couponValid(e, now) ? "有效" : "已过期",
        detail: [dateText(e.timeStart).trim() + "至" + dateText(e.timeEnd).trim() + "有效",
                 "满" + Money.fenToYuan(e.fullAmount) + "元可使用"].join("\n"),
        amount: Money.fenToYuan(e.amount)
    }
}

// The cards of a tab's reply.
function cards(key, text, timeText, dateText, now) {
    var list = elements(text, requests[key].paged)
    return list.map(function (e) {
        switch (key) {
        case "consumption": return consumptionCard(e, timeText)
        case "recharge": return rechargeCard(e, timeText)
        case "order": return orderCard(e, timeText)
        default: return couponCard(e, dateText, now)
        }
    })
}

// --- Addresses -------------------------------------------------------------------------

// The addresses of userAddress/list as the tab shows them.
function addresses(text) {
    return elements(text, false).map(function (e) {
        return {
            addressId: str(e.id), name: str(e.name), phone: str(e.phone),
            regionalDesc: str(e.regionalDesc), regionalId: str(e.regionalId), detail: str(e.detail),
            longitude: str(e.longitude), latitude: str(e.latitude),
            isDefault: str(e.def) === "1" || e.def === true
        }
    })
}

// The fields of userAddress/update: those of userAddress/add, and the id of the address it
// replaces.
function updateFields(addressId, addFields) {
    var fields = { id: str(addressId) }
    for (var k in addFields)
        fields[k] = addFields[k]
    return fields
}
