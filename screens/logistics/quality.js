.pragma library
// The rules of the store's quality check (qualityTest) and of the rail (HangUp): what a
// garment or an order offers at the check, the slot line, which certificate to print, and
// which rail input opens. Flags and states come from the backend as numbers or texts alike,
// so they are compared as texts.

// --- States -----------------------------------------------------------------------------------

// PRODUCT_STATUS values the check looks at.
var arrived = "19"
var passed = "60"
var onRail = "25"
var rework = "30"

// Back from the factory and not handed out: arrived, passed or on the rail.
function inStore(statusVal) {
    var s = String(statusVal)
    return s === arrived || s === passed || s === onRail
}

function isTrue(flag) {
    return String(flag) === "1"
}

// --- Modes ------------------------------------------------------------------------------------

// "衣物" checks one garment at a time, "订单" a whole order; setting/quality.ini keeps the
// choice ("0" or "1", anything else is the garment mode).
var garmentMode = 0
var orderMode = 1
var modes = [
    { flag: garmentMode, label: "衣物", placeholder: "衣物条码" },
    { flag: orderMode, label: "订单", placeholder: "衣物条码/订单号" }
]

function modeOf(text) {
    return String(text).trim() === "1" ? orderMode : garmentMode
}

// --- Messages ---------------------------------------------------------------------------------

// How the check words a failure: "警告：" + the reason + "。".
function warning(text) {
    return "警告：" + text + "。"
}

// The backend asks for a garment's code when an accessory's was scanned.
function scanRefusal(msg) {
    return String(msg) === "请扫描衣物条码" ? "附件无需单独质检，请扫描衣物条码" : String(msg)
}

// --- One garment ------------------------------------------------------------------------------

function annexes(record) {
    return Array.isArray(record.annexList) ? record.annexList : []
}

// Every accessory checked (a garment without accessories has nothing to check).
function annexesChecked(record) {
    return annexes(record).every(function (a) { return isTrue(a.isPackaged) })
}

function annexStateText(annex) {
    return isTrue(annex.isPackaged) ? "已核对" : "未核对"
}

function hasSlot(record) {
    var slot = record.storeShelfNo
    return slot !== undefined && slot !== null && String(slot) !== "" && String(slot) !== "0"
}

// What the garment record offers, with the terminal's settings `manualSlots`
// (setting/register.ini "1") and `checkAnnexes` (setting/isCheck.ini not "0"):
// - checkAll: "全部核对" and the accessory field, while an accessory is unchecked;
// - pass: "合格", for a garment in the store not packed yet whose accessories are checked;
// - autoPass: the garment is passed at once, when accessories need no check;
// - tools: the certificate and the ticket, for a packed garment;
// - slotLine: "第N件，共M件" and "配单号", for a packed garment with a slot;
// - askSlot: the slot window, for a packed garment without one when slots are typed;
// - rework: "返洗", for a garment in the store.
function garmentActions(record, manualSlots, checkAnnexes) {
    var packed = isTrue(record.isPackaged)
    var here = record.statusVal === undefined || inStore(record.statusVal)
    var checked = annexesChecked(record)
    return {
        checkAll: !checked && !packed,
        pass: !packed && here && checked && checkAnnexes,
        autoPass: !packed && here && !checkAnnexes,
        tools: packed,
        slotLine: packed && hasSlot(record),
        askSlot: packed && !hasSlot(record) && manualSlots,
        rework: here
    }
}

// "第2件，共3件" for the garment's place among its order's garments passed.
function placeText(index, total) {
    return "第" + index + "件，共" + total + "件"
}

function slotText(slot) {
    return "配单号：" + slot
}

// What follows a pass whose answer is `data` (station/newStoreScanCode), when slots are typed:
// the slot window for an order without a slot ("1": the order's first garment), or the slot
// line, and "已全部配单" once the order's last garment passed.
function afterPass(data, manualSlots) {
    var map = data.map || {}
    var slot = map.storeShelfNo !== undefined ? map.storeShelfNo : data.storeShelfNo
    var withSlot = hasSlot({ storeShelfNo: slot })
    var index = String(map.proIndex !== undefined ? map.proIndex : data.proIndex)
    var total = String(map.proTotal !== undefined ? map.proTotal : data.proTotal)
    return {
        askSlot: manualSlots && !withSlot,
        slot: withSlot ? String(slot) : "",
        index: index,
        total: total,
        allSlotted: manualSlots && withSlot && index === total
    }
}

// --- Certificates -----------------------------------------------------------------------------

// How a certificate is printed on `printer` in `certStyle`: { ask: true } when no printer is
// chosen, { method: "" } for "无" and for a style the terminal does not know (nothing is
// printed), else the PrinterHelper method of the style.
function certificate(printer, certStyle) {
    if (String(printer) === "")
        return { ask: true, method: "" }
    if (String(printer) === "无")
        return { ask: false, method: "" }
    var methods = { "1": "qualifiedPrintInfo", "2": "qualifiedPrintInfo1", "3": "qualifiedPrintInfo2" }
    var method = methods[String(certStyle)]
    return { ask: false, method: method !== undefined ? method : "" }
}

// --- One order --------------------------------------------------------------------------------

function items(order) {
    return Array.isArray(order.productList) ? order.productList : []
}

function isGarment(item) {
    return String(item.type) === "1"
}

// "2件衣服，1件附件": the garments, then every other item of the list.
function countText(garments, list) {
    var others = list.filter(function (item) { return !isGarment(item) }).length
    return garments + "件衣服，" + others + "件附件"
}

// The order view lists the items newest first: the reply's list reversed.
function orderRows(order) {
    return items(order).slice().reverse()
}

// "打印小票": every item of the order is packed (its accessories checked).
function allPacked(order) {
    var list = items(order)
    return list.length > 0 && list.every(function (item) { return isTrue(item.isPackaged) })
}

// "全部合格": some garment in the store is still to be passed.
function somethingToPass(order) {
    return items(order).some(function (item) {
        return isGarment(item) && !isTrue(item.isPackaged) && inStore(item.statusVal)
    })
}

// "全部返洗": every item is in the store and none was refunded (or waits to be).
function mayReworkAll(order) {
    var list = items(order)
    return list.length > 0 && list.every(function (item) {
        return inStore(item.statusVal) && String(item.hasRefund) === "0"
    })
}

// What a row of the order view offers: "打合格证" for a packed garment, "合格" for one in the
// store not packed yet, "返洗" for one in the store, and its mark ("已返洗", "已合格"; an
// accessory: "已核对" or "未核对").
function rowActions(item) {
    if (!isGarment(item))
        return { certificate: false, pass: false, rework: false, mark: annexStateText(item) }
    var packed = isTrue(item.isPackaged)
    var here = inStore(item.statusVal)
    var mark = String(item.statusVal) === rework ? "已返洗" : packed ? "已合格" : ""
    return {
        certificate: packed && here,
        pass: !packed && here,
        rework: here && String(item.hasRefund) === "0",
        mark: mark
    }
}

// --- The rail ---------------------------------------------------------------------------------

// What a rail number is: digits, at most 25.
var railNumberPattern = /^\d{1,25}$/

// The garments of the order (accessories hang with them and are not listed).
function railRows(order) {
    return items(order).filter(isGarment)
}

function hung(item) {
    var s = String(item.storeShelfNo)
    return s !== "" && s !== "0" && s !== "undefined" && s !== "null"
}

// "已操作【上挂】": no listed garment is waiting for a position.
function allHung(rows) {
    return rows.length > 0 && rows.every(hung)
}

// The rail type as the rail screen names it.
function railType(name) {
    return String(name || "").replace("滑", "输")
}

function positionText(item) {
    return hung(item) ? String(item.storeShelfNo) : "未上挂"
}

// The row whose rail input opens by itself: the scanned garment, while it is not hung; "" for
// none.
function openRow(rows, scannedCode) {
    for (var i = 0; i < rows.length; ++i)
        if (String(rows[i].scanCode) === String(scannedCode) && !hung(rows[i]))
            return String(rows[i].id)
    return ""
}
