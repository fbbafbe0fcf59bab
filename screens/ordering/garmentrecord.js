.pragma library
.import "money.js" as Money
.import "requests.js" as Requests

// The garment being composed on the garment entry screen, its price in fen and the record
// that stockIn/add and stockIn/update send.
//
// A selection is a plain object, replaced (never changed in place) by each function below,
// so the screen's bindings follow it:
//   project   { id, name, businessId }            the business line
//   category  { id, name }
//   garment   { id, name, businessId, typeId, isCustomNum, unitText, saleDiscount }
//   service   { id, name, price }                 price in fen, of a piece or a unit
//   count     size × 100 as text ("" when not sized)
//   colour    { id, name } or { name }            one choice; a typed colour has no id
//   brand     { id, name }                        a typed brand has id ""
//   annexes, flaws, effects: [{ id, name }]       a typed entry has id "null"
//   addOns    [{ id, name, fen }]                 a typed add-on has id ""
//   chgSubtotal  the subtotal set by hand, fen as text ("" for none)
// In change mode `original` holds the garment's record as the backend sent it, `touched`
// names the lists changed in this visit, and `fresh` says a project, category or garment
// was chosen anew.

// Most that may be typed as an amount: 999,999.99 yuan; the backend takes no more either.
var maxFen = 99999999
// Largest size: 10,000 units, in hundredths.
var maxCount = 1000000

// The selection lists with the record member each is sent as.
var lists = [
    { name: "annexes", member: "annexDesc" },
    { name: "flaws", member: "flawDesc" },
    { name: "effects", member: "effectDesc" },
    { name: "addOns", member: "addServiceDesc" }
]

function empty() {
    return {
        changeMode: false, original: null, touched: {}, fresh: false, chosen: false,
        project: null, category: null, garment: null, service: null, count: "",
        colour: null, brand: null, annexes: [], flaws: [], effects: [], addOns: [],
        chgSubtotal: ""
    }
}

function copy(sel) {
    var out = {}
    for (var k in sel)
        out[k] = sel[k]
    var touched = {}
    for (var t in sel.touched)
        touched[t] = sel.touched[t]
    out.touched = touched
    return out
}

function touchAll(out) {
    for (var i = 0; i < lists.length; ++i)
        out.touched[lists[i].member] = true
    out.touched.colorDesc = true
    out.touched.brand = true
    out.fresh = true
}

// Everything below the garment: its service, size, choices and any subtotal set by hand.
function clearBelowGarment(out) {
    out.service = null
    out.count = ""
    out.colour = null
    out.brand = null
    out.annexes = []
    out.flaws = []
    out.effects = []
    out.addOns = []
    out.chgSubtotal = ""
    touchAll(out)
}

// --- Choosing ------------------------------------------------------------------------------

// The project, the category and the garment are chosen in that order: choosing one clears
// those after it and everything below the garment.
var levels = ["project", "category", "garment"]

function chooseLevel(sel, level, value) {
    var out = copy(sel)
    out.chosen = true
    for (var i = levels.indexOf(level) + 1; i < levels.length; ++i)
        out[levels[i]] = null
    out[level] = value
    clearBelowGarment(out)
    return out
}

function chooseProject(sel, project) {
    return chooseLevel(sel, "project", project)
}

function chooseCategory(sel, category) {
    return chooseLevel(sel, "category", category)
}

function chooseGarment(sel, garment) {
    return chooseLevel(sel, "garment", garment)
}

function chooseService(sel, service) {
    var out = copy(sel)
    out.service = service
    return out
}

function bySize(sel) {
    return sel.garment !== null && String(sel.garment.isCustomNum) === "1"
}

// The size of a garment priced by size was confirmed: its count, and a fresh start for the
// choices that follow the service.
function setSize(sel, count) {
    var out = copy(sel)
    out.count = String(count)
    out.colour = null
    out.brand = null
    out.annexes = []
    out.flaws = []
    out.effects = []
    out.touched.annexDesc = out.touched.flawDesc = out.touched.effectDesc = true
    out.touched.colorDesc = out.touched.brand = true
    return out
}

// The key an entry is told apart by: its id, or its name when it was typed in by hand.
function keyOf(entry) {
    var id = entry.id === undefined || entry.id === null ? "" : String(entry.id)
    return id !== "" && id !== "null" ? "id:" + id : "name:" + entry.name
}

function keysOf(entries) {
    return entries.map(keyOf)
}

function memberOf(listName) {
    for (var i = 0; i < lists.length; ++i)
        if (lists[i].name === listName)
            return lists[i].member
    return ""
}

function withList(sel, listName, entries) {
    var out = copy(sel)
    out[listName] = entries
    out.touched[memberOf(listName)] = true
    return out
}

// An accessory, flaw or effect clicked in its grid: in when it was out, out when it was in.
function toggle(sel, listName, entry) {
    var key = keyOf(entry)
    var kept = sel[listName].filter(function (e) { return keyOf(e) !== key })
    if (kept.length === sel[listName].length)
        kept.push({ id: String(entry.id), name: String(entry.name) })
    return withList(sel, listName, kept)
}

// The entry at `index` of a selected column removed, the others keeping their ids.
function removeAt(sel, listName, index) {
    var kept = sel[listName].slice()
    kept.splice(index, 1)
    return withList(sel, listName, kept)
}

// An accessory, flaw or effect typed in by hand, selected.
function addTyped(sel, listName, name) {
    var kept = sel[listName].slice()
    kept.push({ id: "null", name: name })
    return withList(sel, listName, kept)
}

// An add-on with its amount: a new one is appended, one chosen before gets the new amount.
function setAddOn(sel, entry, fen) {
    var key = keyOf(entry)
    var kept = sel.addOns.slice()
    var item = { id: String(entry.id), name: String(entry.name), fen: fen }
    for (var i = 0; i < kept.length; ++i)
        if (keyOf(kept[i]) === key) {
            kept[i] = item
            return withList(sel, "addOns", kept)
        }
    kept.push(item)
    return withList(sel, "addOns", kept)
}

function chooseColour(sel, colour) {
    var out = copy(sel)
    out.colour = colour
    out.touched.colorDesc = true
    return out
}

function chooseBrand(sel, brand) {
    var out = copy(sel)
    out.brand = brand
    out.touched.brand = true
    return out
}

function setSubtotal(sel, fen) {
    var out = copy(sel)
    out.chgSubtotal = String(fen)
    return out
}

// --- Money ---------------------------------------------------------------------------------

// `price` fen per unit for a size of `count` hundredths, rounded to the nearest fen.
function sizeAmount(price, count) {
    return Math.floor((Number(price) * Number(count) + 50) / 100)
}

// The subtotal set by hand that applies: this visit's, else (change mode) the record's,
// unless the garment was chosen anew; "" for none.
function subtotalByHand(sel) {
    if (sel.chgSubtotal !== "")
        return sel.chgSubtotal
    var o = sel.original
    if (o !== null && !sel.fresh && o.chgSubtotal !== undefined && o.chgSubtotal !== null
            && String(o.chgSubtotal) !== "")
        return String(o.chgSubtotal)
    return ""
}

// The price block, all in fen: amount ("金额"), discounted ("折后"), add-ons ("附加"), subtotal.
function prices(sel) {
    var amount = 0
    if (sel.service !== null) {
        var price = Number(sel.service.price)
        if (!bySize(sel))
            amount = price
        else if (sel.count !== "")
            amount = sizeAmount(price, sel.count)
    }
    var percent = sel.garment !== null ? Number(sel.garment.saleDiscount) : 100
    var discounted = Money.percentOf(amount, isNaN(percent) ? 100 : percent)
    var addOns = 0
    for (var i = 0; i < sel.addOns.length; ++i)
        addOns += Number(sel.addOns[i].fen)
    var byHand = subtotalByHand(sel)
    return {
        amount: amount,
        discounted: discounted,
        addOns: addOns,
        subtotal: byHand !== "" ? Number(byHand) : discounted + addOns
    }
}

// --- Amounts typed ---------------------------------------------------------------------------

// Fen of an amount typed in yuan ("19.99" → 1999); NaN for "", "1.2.3", more than two
// decimals or more than maxFen.
function typedFen(text) {
    var fen = Money.yuanToFen(text)
    return isNaN(fen) || fen > maxFen ? NaN : fen
}

// Hundredths of a size typed ("2.5" → 250); NaN for nothing, zero or anything else.
function typedCount(text) {
    var count = Money.yuanToFen(text)
    return isNaN(count) || count <= 0 || count > maxCount ? NaN : count
}

// A price for the size window: "15" for a whole number of yuan, else "15.50".
function priceText(fen) {
    var n = Number(fen)
    return n % 100 === 0 ? String(n / 100) : Money.fenToYuan(n)
}

// --- Texts -------------------------------------------------------------------------------------

// A list as the record sends it: no whitespace, every value a string, "" for no entries.
function arrayText(entries) {
    if (entries.length === 0)
        return ""
    return JSON.stringify(entries.map(function (e) {
        var id = e.id === undefined ? undefined : String(e.id)
        if (e.fen !== undefined)
            return { id: id, amt: String(e.fen), name: String(e.name) }
        return id === undefined ? { name: String(e.name) } : { id: id, name: String(e.name) }
    }))
}

// A selected column: each name on its own line; add-ons with their amount and "元".
function columnText(entries) {
    var text = ""
    for (var i = 0; i < entries.length; ++i)
        text += entries[i].name + (entries[i].fen !== undefined ? Money.fenToYuan(entries[i].fen) + "元" : "") + "\n"
    return text
}

// The entries of a list text the backend keeps; [] for anything that is not one.
function parseList(text, withAmounts) {
    var parsed
    try {
        parsed = JSON.parse(String(text === undefined || text === null ? "" : text))
    } catch (e) {
        return []
    }
    if (!Array.isArray(parsed))
        return []
    var out = []
    for (var i = 0; i < parsed.length; ++i) {
        var e = parsed[i]
        if (e === null || typeof e !== "object" || e.name === undefined)
            continue
        var entry = { name: String(e.name) }
        if (e.id !== undefined)
            entry.id = e.id === null ? "null" : String(e.id)
        if (withAmounts) {
            entry.id = entry.id === undefined ? "" : entry.id
            entry.fen = /^\d+$/.test(String(e.amt)) ? parseInt(e.amt, 10) : 0
        }
        out.push(entry)
    }
    return out
}

// --- Change mode -------------------------------------------------------------------------------

// The `productInfo` object of an orderProductRel/detail reply; null when the reply holds none.
function detailOf(replyText) {
    var info = Requests.dataObject(replyText).productInfo
    return info !== null && typeof info === "object" ? info : null
}

function text(value) {
    return value === undefined || value === null ? "" : String(value)
}

// The selection of a garment being changed, from its record and the project it belongs to:
// what was chosen is marked, its lists are selected, its price comes from its record.
function fromDetail(detail, project) {
    var sel = empty()
    sel.changeMode = true
    sel.original = detail
    sel.chosen = true
    sel.project = project
    sel.category = { id: text(detail.proTypeId), name: "" }
    sel.garment = {
        id: text(detail.productId), name: text(detail.productName),
        businessId: text(detail.businessId), typeId: text(detail.proTypeId),
        isCustomNum: text(detail.isCustomNum), unitText: text(detail.unitText),
        saleDiscount: text(detail.discount) === "" ? "100" : text(detail.discount)
    }
    sel.service = { id: text(detail.proServiceId), name: text(detail.serviceName),
                    price: Number(detail.serviceAmt) || 0 }
    sel.count = text(detail.isCustomNum) === "1" ? text(detail.count) : ""
    var colours = parseList(detail.colorDesc, false)
    sel.colour = colours.length > 0 ? colours[0] : null
    sel.brand = text(detail.brandName) === "" && text(detail.brandId) === "" ? null
            : { id: text(detail.brandId), name: text(detail.brandName) }
    sel.annexes = parseList(detail.annexDesc, false)
    sel.flaws = parseList(detail.flawDesc, false)
    sel.effects = parseList(detail.effectDesc, false)
    sel.addOns = parseList(detail.addServiceDesc, true)
    return sel
}

// --- The catalogue's requests --------------------------------------------------------------

// The request of a page of the grid of that kind: its tag, path, fields and the members its
// rows carry. `order` is { orderId, pricingMode }; `paging` the grid's own fields (pageNum,
// pageSize, keywords) for the paged grids.
function pageRequest(kind, sel, order, paging) {
    var f = {}
    for (var k in paging)
        f[k] = paging[k]
    var lineOfGarment = sel.garment !== null ? text(sel.garment.businessId) : ""
    var project = sel.project !== null ? text(sel.project.id) : ""
    var named = ["id", "name"]
    switch (kind) {
    case "project":
        return { tag: "ProductBusiness", path: "productBusiness/list",
                 fields: { pricingMode: order.pricingMode }, keys: ["id", "name", "businessId"] }
    case "category":
        return { tag: "ProductType", path: "productType/list", fields: { mercBusinessId: project },
                 keys: named }
    case "garment":
        f.mercBusinessId = project
        f.pricingMode = order.pricingMode
        f.typeId = sel.category !== null ? text(sel.category.id) : ""
        f.orderId = order.orderId
        return { tag: "ProductInfo", path: "productInfo/list", fields: f,
                 keys: ["id", "name", "businessId", "typeId", "isCustomNum", "unitText", "saleDiscount"] }
    case "service":
        return { tag: "ProductService", path: "productService/list",
                 fields: { productId: sel.garment !== null ? text(sel.garment.id) : "",
                           pricingMode: order.pricingMode, orderId: order.orderId },
                 keys: ["id", "name", "price"] }
    case "annex":
        f.businessId = lineOfGarment
        return { tag: "ProductAnnex", path: "productAnnex/list", fields: f, keys: named }
    case "addOn":
        f.businessId = lineOfGarment
        return { tag: "ProductAddService", path: "productAddService/list", fields: f, keys: named }
    case "colour":
        return { tag: "ProductColor", path: "productColor/list", fields: f, keys: named }
    case "flaw":
        return { tag: "ProductFlaw", path: "productFlaw/list", fields: f, keys: named }
    case "effect":
        return { tag: "ProductEffect", path: "productEffect/list", fields: f, keys: named }
    case "brand":
        return { tag: "ProductBrand", path: "productBrand/list", fields: f, keys: named }
    }
    return null
}

// --- The record --------------------------------------------------------------------------------

// A list member: rebuilt from the selection when new or touched in this visit, else as the
// record had it.
function listMember(sel, member, entries) {
    if (sel.original !== null && !sel.touched[member])
        return text(sel.original[member])
    return arrayText(entries)
}

// The garment record: empty until a project is chosen, then every member (an empty choice as
// ""), `count` for garments priced by size and `chgSubtotal` for a subtotal set by hand.
function record(sel) {
    var r = {}
    if (!sel.chosen)
        return r
    var o = sel.original
    r.businessName = sel.project !== null ? text(sel.project.name) : text(o && o.businessName)
    r.businessId = sel.garment !== null ? text(sel.garment.businessId) : ""
    r.proTypeId = sel.category !== null ? text(sel.category.id) : ""
    r.productId = sel.garment !== null ? text(sel.garment.id) : ""
    r.proServiceId = sel.service !== null ? text(sel.service.id) : ""
    r.serviceName = sel.service !== null ? text(sel.service.name) : ""
    if (o !== null && !sel.touched.brand) {
        r.brandId = text(o.brandId)
        r.brandName = text(o.brandName)
    } else {
        r.brandId = sel.brand !== null ? text(sel.brand.id) : ""
        r.brandName = sel.brand !== null ? text(sel.brand.name) : ""
    }
    r.colorDesc = listMember(sel, "colorDesc", sel.colour !== null ? [sel.colour] : [])
    r.annexDesc = listMember(sel, "annexDesc", sel.annexes)
    r.flawDesc = listMember(sel, "flawDesc", sel.flaws)
    r.effectDesc = listMember(sel, "effectDesc", sel.effects)
    r.addServiceDesc = listMember(sel, "addServiceDesc", sel.addOns)
    if (bySize(sel) && sel.count !== "")
        r.count = sel.count
    var byHand = subtotalByHand(sel)
    if (byHand !== "")
        r.chgSubtotal = byHand
    return r
}

// What "完成" sends: the record, the order and the chosen project's businessId; in change
// mode also the garment's id.
function saveFields(sel, orderId) {
    var fields = record(sel)
    fields.orderId = text(orderId)
    fields.mercBusinessId = sel.project !== null ? text(sel.project.businessId) : ""
    if (sel.original !== null)
        fields.id = text(sel.original.id)
    return fields
}
