.pragma library
.import "money.js" as Money
.import "payment.js" as Payment
.import "garmentrecord.js" as Record
.import "listtexts.js" as ListTexts

// The garment intake screen's rules: which buttons an order offers, how a garment row and the
// order's money read, what "复制" sends, and the bag window's choice. Money stays in whole fen
// (money.js); the backend's flags come as "true"/"false" or "1"/"0".

// --- The order ---------------------------------------------------------------------------

// What the order offers, from the flags of stockIn/queryOrder and the number shown. Labels
// come once the intake is finished; a paid order takes no more garments and no other price.
function buttons(flags, orderNo, rowCount) {
    var shown = String(orderNo || "").length >= 5
    var paid = Payment.flag(flags.isPaid)
    var finish = shown && Payment.flag(flags.isEnableFinishStockIn)
    return {
        order: shown,
        add: shown && !paid,
        finish: finish,
        modifyPrice: shown && !paid && Payment.flag(flags.isEnableModifyPrice),
        pay: shown && !paid && Payment.flag(flags.isEnablePay),
        bag: shown && Payment.flag(flags.isEnableBatchIn),
        ticket: shown && Payment.flag(flags.isEnablePrint),
        labels: shown && !finish && rowCount > 0,
        paid: paid
    }
}

// Nothing offered: before an order is shown, and after a failed load.
function noButtons() {
    return buttons({}, "", 0)
}

// The customer's name as the block shows it: at most its first 11 characters.
function customerName(name) {
    return String(name || "").substring(0, 11)
}

function priorityText(priority) {
    return String(priority) === "1" ? "快" : "慢"
}

// The carriage line under the table: the delivery fee is `sendCarriage`, the pick-up fee
// `takeCarriage`.
function carriageLine(c) {
    if (String(c.isCarriage) !== "1")
        return "免运费。"
    return "订单总额未满" + Money.fenToYuan(c.freeCarriageAmt) + "元加收取送服务费：取件费" +
        Money.fenToYuan(c.takeCarriage) + "元，送件费" + Money.fenToYuan(c.sendCarriage) + "元。"
}

// "修改为": a digit first, then up to 20 digits or points.
function isPriceText(text) {
    return /^\d[\d.]{0,20}$/.test(String(text))
}

// What "修改为" sends: the typed yuan in fen, rounded half up, and what keeps it from being
// sent ("" for nothing). 0 is refused: the backend would take it as "back to the garments'
// total", which is not what the worker typed. An empty field is neither.
function newTotal(text) {
    if (String(text).trim() === "")
        return { fen: NaN, refusal: "" }
    var fen = isPriceText(text) ? Money.yuanToFenRounded(text) : NaN
    if (isNaN(fen))
        return { fen: NaN, refusal: "请输入正确的金额" }
    if (fen === 0)
        return { fen: 0, refusal: "修改后的总价不能为0" }
    return { fen: fen, refusal: "" }
}

// --- Garment rows ----------------------------------------------------------------------------

function isAccessory(row) {
    return String(row.type) === "2"
}

// "已录入" n "件衣服，" m "件附件".
function counts(rows) {
    var accessories = 0
    for (var i = 0; i < rows.length; ++i)
        if (isAccessory(rows[i]))
            ++accessories
    return { garments: rows.length - accessories, accessories: accessories }
}

function countsText(rows) {
    var c = counts(rows)
    return "已录入" + c.garments + "件衣服，" + c.accessories + "件附件"
}

// The service amount in fen: the price of a piece, or for a garment priced by size the price
// of a unit times the size in hundredths, to the nearest fen (250 × 1500 is 3750).
function amountFen(row) {
    if (String(row.isCustomNum) !== "1")
        return Payment.fen(row.serviceAmt)
    return Record.sizeAmount(Payment.fen(row.serviceAmt), Payment.fen(row.count))
}

// The "金额" column of a row.
function amountLines(row) {
    return {
        amount: (row.serviceName || "") + "：" + Money.fenToYuan(amountFen(row)),
        sale: "折后：" + Money.fenToYuan(row.saleAmt),
        addOn: "附加：" + Money.fenToYuan(row.addsrvAmt),
        subtotal: Money.fenToYuan(row.subtotal)
    }
}

// The names of a garment's list text, and add-on services with their amounts:
// "去渍5.00元/熨烫3.00元" (listtexts.js).
function namesOf(listText) {
    return ListTexts.names(listText)
}

function addOnsText(listText) {
    return ListTexts.names(listText, true)
}

// "颜色/瑕疵/预计效果": the three lists, each on its own line when it has entries.
function descriptionText(row) {
    return [namesOf(row.colorDesc), namesOf(row.flawDesc), namesOf(row.effectDesc)]
        .filter(function (t) { return t !== "" }).join("\n")
}

// What a row offers. An accessory is a part of its garment (its id is the accessory's, not a
// garment's): it is changed, copied, photographed, labelled and deleted with its garment.
// "绑标" on terminals that bind electronic labels, while the garment has none; "已绑" once it
// has one.
function rowActions(row, electronicLabel, labels) {
    var garment = !isAccessory(row)
    var bound = String(row.bindCode || "") !== ""
    return {
        change: garment,
        copy: garment,
        remove: garment,
        photo: garment,
        label: garment && labels,
        bind: garment && !bound && electronicLabel && Payment.flag(row.isEnableBindCode),
        bound: garment && bound
    }
}

// "复制": the row sent again as a new garment of the order.
function copyBody(row, orderId) {
    var body = {
        orderId: String(orderId),
        mercBusinessId: String(row.mercBusinessId),
        businessId: String(row.businessId),
        businessName: row.businessName || "",
        proTypeId: String(row.proTypeId),
        productId: String(row.productId),
        proServiceId: String(row.proServiceId),
        serviceName: row.serviceName || ""
    }
    if (String(row.isCustomNum) === "1")
        body.count = String(row.count)
    var changed = String(row.chgSubtotal === undefined || row.chgSubtotal === null ? "" : row.chgSubtotal)
    if (changed !== "" && changed !== "0")
        body.chgSubtotal = changed
    body.brandId = String(row.brandId === undefined || row.brandId === null ? "" : row.brandId)
    body.brandName = row.brandName || ""
    body.annexDesc = row.annexDesc || ""
    body.colorDesc = row.colorDesc || ""
    body.flawDesc = row.flawDesc || ""
    body.effectDesc = row.effectDesc || ""
    body.addServiceDesc = row.addServiceDesc || ""
    return body
}

// --- The bag window ------------------------------------------------------------------------------

// The order's garments in the reverse of the reply's order, numbered position/total; those
// without a bag are chosen, those in one are not and cannot be.
function bagChoice(rows) {
    var items = []
    var n = rows.length
    for (var i = n - 1; i >= 0; --i) {
        var r = rows[i]
        var code = String(r.batchInCode || "")
        items.push({
            id: String(r.id), productName: r.productName || "", scanCode: r.scanCode || "",
            position: (n - i) + "/" + n, bagCode: code, bagged: code !== "", chosen: code === ""
        })
    }
    return items
}

// A click on an item: garments already in a bag stay as they are.
function toggled(items, index) {
    return items.map(function (item, i) {
        if (i !== index || item.bagged)
            return item
        var copy = {}
        for (var k in item)
            copy[k] = item[k]
        copy.chosen = !item.chosen
        return copy
    })
}

function chosenIds(items) {
    return items.filter(function (item) { return item.chosen }).map(function (item) { return item.id }).join(",")
}

// A page of bags joins the list: open bags only, each once.
function openBags(listed, page) {
    var seen = {}
    listed.forEach(function (b) { seen[b.id] = true })
    return page.filter(function (b) {
        if (String(b.isFinish) !== "0" || seen[b.id])
            return false
        seen[b.id] = true
        return true
    })
}

function bagCount(bag) {
    return Payment.fen(bag.productCnt) + Payment.fen(bag.annexCnt)
}

// "共" items "件  (衣物" garments "件，附件" accessories "件)".
function bagHeader(garments, accessories) {
    return "共" + (garments + accessories) + "件  (衣物" + garments + "件，附件" + accessories + "件)"
}
