.pragma library
// The pick-up counter's rules: how a search lists orders, the garment selection and the
// buttons it allows, the paid parts of an order, and how a refund is split. Money in whole
// fen (money.js), never floating yuan.

.import "money.js" as Money
.import "payment.js" as Payment
.import "requests.js" as Requests
.import "listtexts.js" as ListTexts

// --- The search ---------------------------------------------------------------------------

// The typed text lists the customer's orders by id when it is the customer's phone (getFlag
// 1), else by the text itself (2): an order or card number lists what the backend matches.
function orderKey(typed, phone, userId) {
    return String(typed) === String(phone) ? { orderKey: String(userId), getFlag: 1 }
                                           : { orderKey: String(typed), getFlag: 2 }
}

// The fields of orderInfo/takeList2 beyond the paging.
function listFields(getFlag, orderKey) {
    return getFlag === 1 ? { userId: orderKey } : { searchValue: orderKey }
}

// The order rows of an orderInfo/takeList2 reply (its `data.pageInfo.list`); none for a reply
// that holds no list.
function orderRows(text) {
    var pageInfo = Requests.dataObject(text).pageInfo
    var list = pageInfo ? pageInfo.list : undefined
    return Array.isArray(list) ? list : []
}

// --- Garment selection ----------------------------------------------------------------------

// A selection: the garment ids in click order, those of them already in a factory batch, and
// how many are garments (type "1") rather than accessories.
function emptySelection() {
    return { ids: [], factoryIds: [], garmentCount: 0 }
}

function has(selection, id) {
    return selection.ids.indexOf(String(id)) >= 0
}

// A click on a row ({id, type, outBatch}) selects it, or deselects it when it was selected.
function toggle(selection, row) {
    var id = String(row.id)
    var ids = selection.ids.slice()
    var factoryIds = selection.factoryIds.slice()
    var count = selection.garmentCount
    var at = ids.indexOf(id)
    var garment = String(row.type) === "1"
    if (at >= 0) {
        ids.splice(at, 1)
        var f = factoryIds.indexOf(id)
        if (f >= 0)
            factoryIds.splice(f, 1)
        if (garment)
            --count
    } else {
        ids.push(id)
        if (String(row.outBatch) === "1")
            factoryIds.push(id)
        if (garment)
            ++count
    }
    return { ids: ids, factoryIds: factoryIds, garmentCount: count }
}

// Which garment buttons the selection allows, given the rows by id: each needs a selection
// whose every garment allows it.
function buttons(selection, rowsById) {
    var result = { refundWash: selection.ids.length > 0, rework: selection.ids.length > 0,
                   pick: selection.ids.length > 0 }
    for (var i = 0; i < selection.ids.length; ++i) {
        var row = rowsById[selection.ids[i]] || {}
        result.refundWash = result.refundWash && Payment.flag(row.isEnableRefund)
        result.rework = result.rework && Payment.flag(row.isEnableStockRework)
        result.pick = result.pick && Payment.flag(row.isEnableSign)
    }
    return result
}

// --- Payments -------------------------------------------------------------------------------

// The order's payments as tradeOrder/list gives them (newest first): every method joined by
// "/", the last one's time, and the paid parts the refund window shows: the last entry first
// (a payment's balance part), the first entry second when there are two or more.
function payments(list) {
    var methods = list.map(function (p) { return p.payMethodText })
    var parts = []
    if (list.length > 0)
        parts.push(part(list[list.length - 1]))
    if (list.length > 1)
        parts.push(part(list[0]))
    return {
        methods: methods.join("/"),
        lastTime: list.length > 0 ? list[list.length - 1].tradeTime : "",
        parts: parts
    }
}

// A paid part: its means, what it paid, what it may still give back (refunds asked for and
// given are taken off), and whether it is the member balance.
function part(p) {
    var amount = Payment.fen(p.amount)
    return { method: String(p.payMethodText), amount: amount,
             refundable: p.refundableAmount !== undefined ? Payment.fen(p.refundableAmount) : amount,
             balance: String(p.payMethod) === "4" || String(p.payMethodText).indexOf("余额") >= 0 }
}

// --- Refunds --------------------------------------------------------------------------------

// What the amount field takes: a digit first, then up to 34 digits or points.
var amountPattern = /^\d[\d.]{0,34}$/

function isAmountText(text) {
    return amountPattern.test(String(text))
}

// How a typed refund is split, for a paid order whose paid parts are `parts` (payments()),
// with `refundable` fen left to give back:
// - the balance part (when the first paid part is the balance) takes the amount up to what it
//   may still give back, back to the balance (after an earlier refund to the balance, less,
//   or nothing);
// - the rest goes to the means chosen from the list, so a means is needed when it is above 0;
// - above `refundable`, "over" blocks the request and the shares stop at `refundable`.
function refundSplit(text, parts, refundable) {
    var result = { empty: String(text).trim() === "", valid: false, over: false, amount: 0,
                   toBalance: 0, toMeans: 0, balanceMethod: "", needsMeans: false }
    if (result.empty)
        return result
    // Rounded half up past the second decimal ("0.125" is 13 fen).
    var amount = Money.yuanToFenRounded(text)
    if (isNaN(amount))
        return result
    var cap = Math.max(0, parseInt(refundable, 10) || 0)
    var shared = Math.min(amount, cap)
    var balancePart = parts.length > 0 && parts[0].balance ? parts[0].refundable : 0
    result.valid = true
    result.amount = amount
    result.over = amount > cap
    result.toBalance = Math.min(shared, balancePart)
    result.toMeans = shared - result.toBalance
    result.balanceMethod = balancePart > 0 ? parts[0].method : ""
    result.needsMeans = result.toMeans > 0
    return result
}

// Whether "确定" may send: a reason and an amount, not above what may be given back, and a
// means when part of it needs one. Returns "" to send, or what stops it: "over" (nothing
// happens), "missing" ("请输入原因或修改后价格"), "means" ("请选择退款方式").
function refundBlock(split, reason, paid, meansChosen) {
    if (paid && split.over)
        return "over"
    if (split.empty || !split.valid || String(reason).trim() === "")
        return "missing"
    if (paid && split.needsMeans && !meansChosen)
        return "means"
    return ""
}

// The request body's own fields of a refund (tradeRefund/refund) or refund-wash
// (orderProductRelAudit/refund, with the garments).
function refundFields(orderId, payMethod, amountFen, reason, garmentIds) {
    var fields = { orderId: String(orderId) }
    if (payMethod !== "")
        fields.payMethod = String(payMethod)
    fields.amount = String(amountFen)
    fields.remark = String(reason).trim()
    if (garmentIds !== undefined)
        fields.orderProIds = garmentIds.join(",")
    return fields
}

// A share and where it goes: "10.00元退至现金" for a means named by what it is; a means
// whose name already says how it goes back ("退至会员余额", "原路退回") follows the amount as
// it is: "10.00元退至会员余额", "10.00元原路退回".
function shareText(fen, method) {
    var name = String(method)
    return Money.fenToYuan(fen) + "元" + (name.indexOf("退") >= 0 ? "" : "退至") + name
}

// --- Texts ----------------------------------------------------------------------------------

// The names of a garment's list text joined by "/" (listtexts.js).
function names(text, withAmount) {
    return ListTexts.names(text, withAmount)
}

// The rail place of a garment: its conveyor type (a "滑" shown as "输") and shelf number;
// "" when it is not on the rail.
function railText(typeName, shelfNo) {
    if (String(shelfNo) === "0" || String(shelfNo) === "" || shelfNo === undefined)
        return ""
    return String(typeName || "").replace("滑", "输") + shelfNo
}
