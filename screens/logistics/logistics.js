.pragma library
// The factory road's rules: the bags sent to the factory and what a bag offers, the bag
// contents, the arrival back in the store, the rail and the quality test. Its screens
// (SendFactory, IntoFactoryBatch, BatchArrivalStore, HangUp, qualityTest) read their rules
// from here.

.import "requests.js" as Requests

// --- Factory bags ---------------------------------------------------------------------------

// The status tabs of the bag grid: "全部" sends no status.
var bagFilters = [
    { status: "", label: "全部" },
    { status: "1", label: "等待物流人员收取" },
    { status: "2", label: "送往工厂途中" },
    { status: "3", label: "到工厂" }
]

// What a bag ({ annexCnt, productCnt }) holds: its garments and their accessories.
function garmentCount(bag) {
    return (parseInt(bag.annexCnt, 10) || 0) + (parseInt(bag.productCnt, 10) || 0)
}

// What a bag's cell offers: a completed bag ("isFinish" "1") prints its label; any other may
// be deleted; an open one ("0") with something in it may be completed.
function bagActions(bag) {
    var finish = String(bag.isFinish)
    return { print: finish === "1", remove: finish !== "1", complete: finish === "0" && garmentCount(bag) > 0 }
}

// The bag grid: pages of 18 bags, six to a row, so that a page is three whole rows and the
// grid pages as a list of rows.
var bagPageSize = 18
var bagColumns = 6

// The request fields of a page of bags: its paging, the status of the tab when one is chosen,
// and the searched keywords when there are any. The next pages keep both.
function bagListFields(filter, paging) {
    var fields = { pageNum: paging.pageNum, pageSize: paging.pageSize }
    if (filter.status !== undefined && filter.status !== "")
        fields.status = filter.status
    if (filter.keywords !== undefined && filter.keywords !== "")
        fields.keywords = filter.keywords
    return fields
}

// Bags as rows of `columns` cells ({ cells: [bag, ...] }), the last row as full as it gets.
function gridRows(bags, columns) {
    var rows = []
    for (var i = 0; i < bags.length; i += columns)
        rows.push({ cells: bags.slice(i, i + columns) })
    return rows
}

// The fields a bag is read with from a list reply (orderProductBatchIn/list, data.list).
var bagKeys = ["id", "code", "annexCnt", "productCnt", "logisticsWorkName", "logisticsWorkPhone",
               "storeName", "factoryName", "statusText", "isFinish", "status"]

// A bag of the grid's model as a plain object: the model's own element goes when the page is
// read again, while the cell that showed it may wait to be reused.
function bagOf(element) {
    var bag = {}
    for (var i = 0; i < bagKeys.length; ++i)
        bag[bagKeys[i]] = element[bagKeys[i]]
    return bag
}

// Who collected the bag, as "物流人员：" shows it (name, a blank, phone), or "" while nobody has.
function courierText(name, phone) {
    return [name, phone].filter(function (t) { return t !== undefined && t !== null && String(t) !== "" }).join(" ")
}

// --- Bag contents -----------------------------------------------------------------------------

// The selection after the rows `ids` are each clicked, in click order: a row not chosen
// joins the end, a chosen one leaves. "全选" clicks every row at once.
function flipped(selection, ids) {
    var kept = selection.filter(function (id) { return ids.indexOf(id) < 0 })
    return kept.concat(ids.filter(function (id) { return selection.indexOf(id) < 0 }))
}

// The bags a garment may be moved to from bag `code`: the open ones but itself.
function moveTargets(bags, code) {
    return bags.filter(function (b) { return String(b.isFinish) === "0" && String(b.code) !== String(code) })
}

// --- Arrival from the factory -------------------------------------------------------------------

// The three ways garments are confirmed back in the store, kept in setting/asMode.ini.
var arrivalModes = [
    { mode: 0, label: "批次到店", placeholder: "批次号", pendingTitle: "出厂批次衣物" },
    { mode: 1, label: "订单到店", placeholder: "订单号", pendingTitle: "出厂订单衣物" },
    { mode: 2, label: "衣物到店", placeholder: "衣物条码", pendingTitle: "出厂衣物" }
]

// The mode a settings file's text names; batch arrival when it names none.
function arrivalMode(text) {
    var t = String(text === undefined || text === null ? "" : text).trim()
    return /^[012]$/.test(t) ? Number(t) : 0
}

// The arrival elements of a reply whose `data` (or `data.proList`) is the list; none for a
// reply without one.
function arrivalRows(reply, inProList) {
    var data = Requests.dataOf(reply)
    var list = inProList ? (data ? data.proList : undefined) : data
    return Array.isArray(list) ? list : []
}

// A batch's garments split by whether the store has confirmed them ("已核对").
function splitChecked(rows) {
    var out = { pending: [], confirmed: [] }
    for (var i = 0; i < rows.length; ++i)
        (rows[i].storeStatusText === "已核对" ? out.confirmed : out.pending).push(rows[i])
    return out
}

// The pending garment whose code was scanned (an accessory's code names its garment), or null:
// a code that is not waiting sends nothing.
function pendingByCode(rows, code) {
    for (var i = 0; i < rows.length; ++i)
        if (String(rows[i].scanCode) === String(code))
            return rows[i]
    return null
}

// Whether a row is an accessory (marked and tagged "附件" in the lists): the batch lists say so
// by `orderProType`, the order and garment lists by `type`.
function isAccessory(row) {
    return String(row.orderProType) === "2" || String(row.type) === "2"
}
