.pragma library
// The store's books: the garment list and a garment's details (ClothList, ClothDetails), the
// order book and an order's details (OrderInquiry, OrderDetails). Their rules live here.

// --- Dates ------------------------------------------------------------------------------------

// The time choices of both lists, the last one chosen when a list opens.
var timeChoices = ["所有", "今天", "近7天", "近30天"]
var defaultTime = "近30天"

// A day as the backend takes it: "2023-03-05".
function dateText(date) {
    var m = date.getMonth() + 1
    var d = date.getDate()
    return date.getFullYear() + "-" + (m < 10 ? "0" : "") + m + "-" + (d < 10 ? "0" : "") + d
}

// The dates a time choice stands for on `today` (a Date): { start, end } ("" for none).
// Days are counted on the calendar, so a change of the clocks never skips one.
function timeRange(choice, today) {
    var back = { "今天": 0, "近7天": 7, "近30天": 30 }[choice]
    if (back === undefined)
        return { start: "", end: "" }
    var start = new Date(today.getFullYear(), today.getMonth(), today.getDate() - back)
    return { start: dateText(start), end: dateText(today) }
}

// Each field of `values` (keys in `keys`) that is set, as text.
function setFields(values, keys) {
    var fields = {}
    for (var i = 0; i < keys.length; ++i) {
        var value = values[keys[i]]
        if (value !== undefined && value !== null && String(value) !== "")
            fields[keys[i]] = String(value)
    }
    return fields
}

// --- The order book -------------------------------------------------------------------------

// The filter fields of orderInfo/list beyond the paging: a search goes alone, by order, phone
// or card number; otherwise the creation dates ("yyyy-MM-dd"), the payment status ("1" paid,
// "0" unpaid) and the order status, each only when it is set.
function orderListFields(searchValue, filters) {
    var text = String(searchValue || "").trim()
    if (text !== "")
        return { searchValue: text }
    return setFields(filters, ["startCreateTime", "endCreateTime", "payStatus", "statusVal"])
}

// "全部支付状态" and the two payment states.
var payChoices = [{ text: "全部支付状态", val: "" }, { text: "已支付", val: "1" }, { text: "未支付", val: "0" }]

// A filter's choices: "all" (`allText`, the empty value) first, then the backend's entries
// ({text, val}).
function choices(allText, entries) {
    var list = [{ text: allText, val: "" }]
    for (var i = 0; i < entries.length; ++i)
        list.push({ text: String(entries[i].text), val: String(entries[i].val) })
    return list
}

// The text of the choice whose value is `val` ("" when none is).
function choiceText(list, val) {
    for (var i = 0; i < list.length; ++i)
        if (list[i].val === String(val))
            return list[i].text
    return ""
}

// The card a customer is known by: the RFID card when there is one, else the member card.
function cardShown(rfidNo, cardNo) {
    return String(rfidNo || "") !== "" ? String(rfidNo) : String(cardNo || "")
}

// The customer's remark on one line.
function cleanString(text) {
    return String(text || "").replace(/[\r\n]/g, "")
}

// The management notes after "管理:", each its remark and "【" worker "】"; "" for none.
function notesLine(notes) {
    if (!Array.isArray(notes))
        return ""
    return notes.map(function (n) { return n.remark + "【" + n.workName + "】" }).join("  ")
}

// How the garments come or go: the mode, the appointed date and the courier, each label only
// with its value.
function modeLine(modeText, dateLabel, date, workLabel, work) {
    var parts = []
    if (String(modeText || "") !== "")
        parts.push(String(modeText))
    if (String(date || "") !== "")
        parts.push(dateLabel + date)
    if (String(work || "") !== "")
        parts.push(workLabel + work)
    return parts.join("  ")
}

// A row of orderInfo/list as the order book's list keeps it, which holds no lists: the notes
// become their line and their text (for the notes window), the garments their count.
function bookRow(order) {
    var row = {}
    for (var key in order)
        if (!Array.isArray(order[key]))
            row[key] = order[key]
    row.notesLine = notesLine(order.remarkJson)
    row.notesText = JSON.stringify(Array.isArray(order.remarkJson) ? order.remarkJson : [])
    row.garmentCount = Array.isArray(order.business) ? order.business.length : 0
    return row
}

// The actions a row of the book offers, in their order: those its flags allow, then "备注".
// Each is { what, text }; `what` names it to the screen.
var bookActions = [
    { what: "pay", text: "收款", flag: "isEnablePay" },
    { what: "credit", text: "赊账", flag: "isEnableCredit" },
    { what: "void", text: "作废", flag: "isEnableDestroy" },
    { what: "ticket", text: "打小票", flag: "isEnablePrint" },
    { what: "stockIn", text: "入库", flag: "isEnableStockIn" },
    { what: "bag", text: "入袋", flag: "isEnableBatchIn" },
    { what: "notes", text: "备注", flag: "" }
]

function rowActions(order) {
    return bookActions.filter(function (a) {
        var value = String(a.flag === "" ? true : order[a.flag])
        return value === "true" || value === "1"
    }).map(function (a) { return { what: a.what, text: a.text } })
}

function unpaid(payStatusText) {
    return String(payStatusText) === "未支付"
}

// The reason a void is sent with; "" when there is none, and then nothing is sent.
function voidReason(text) {
    return String(text || "").trim()
}

// --- The garment list -----------------------------------------------------------------------

// The filter fields of orderProductRel/proList beyond the paging: a code goes alone;
// otherwise the dates, the status and the factory, each only when it is set.
function clothListFields(keywords, filters) {
    var text = String(keywords || "").trim()
    if (text !== "")
        return { keywords: text }
    return setFields(filters, ["startDate", "endDate", "proStatusVal", "factoryId"])
}

// The customer of a garment row, from its `userJson` ({"n": name, "p": phone}).
function rowCustomer(userJson) {
    try {
        var c = JSON.parse(String(userJson))
        return { name: String(c.n || ""), phone: String(c.p || "") }
    } catch (e) {
        return { name: "", phone: "" }
    }
}

// The label button of a row: "绑标" for a garment that may take an electronic label and has
// none, "已绑" to bind again, "" when the terminal has no labels or the garment takes none.
function bindLabel(electronic, enabled, bindCode) {
    if (!electronic || !(enabled === true || String(enabled) === "1" || String(enabled) === "true"))
        return ""
    return String(bindCode || "") !== "" ? "已绑" : "绑标"
}

// --- The customer of a garment or an order -----------------------------------------------------

// What the details screens show of a customer, from the customer record's `user` object
// (orderProductRel/detail).
function recordCustomer(user) {
    var info = user && user.info ? user.info : {}
    var card = user && user.card ? user.card : {}
    var ext = user && user.ext ? user.ext : {}
    return {
        name: String(info.name || ""), phone: String(info.phone || ""), grade: String(info.grade || "0"),
        wxNickname: String(info.wxNickname || ""), wxId: String(info.wxId === undefined ? "-1" : info.wxId),
        verifyAndriod: String(info.verifyAndriod || "0"), verifyIos: String(info.verifyIos || "0"),
        verifyPhone: String(info.verifyPhone || "0"), headimgPath: String(info.headimgPath || ""),
        unionName: String(user && user.unionInfo ? user.unionInfo.name || "" : ""),
        card: cardShown(card.rfidNo, card.no), levelName: String(card.info ? card.info.name || "" : ""),
        balance: String(ext.balance || 0), point: String(ext.point || 0)
    }
}

// The same from an order (orderInfo/detail: `userInfo` and the group card's `unionName`).
function orderCustomer(order) {
    var u = order && order.userInfo ? order.userInfo : {}
    return recordCustomer({ info: u, card: { no: u.cardNo, rfidNo: u.rfidNo, info: { name: u.cardName } },
                            ext: { balance: u.balance, point: u.point },
                            unionInfo: { name: order ? order.unionName : "" } })
}

// --- Order details --------------------------------------------------------------------------

// The stations of an order's progress line.
var stations = ["已下单", "已入库", "已洗完", "已签收", "已完成"]

// The station a track entry lights, -1 for none.
function stationOf(statusText) {
    var text = String(statusText)
    if (text === "已收件" || text === "已下单，待接单")
        return 0
    return stations.indexOf(text)
}

// The progress line of a track (statusList, oldest first): each station { name, lit, text,
// time }. The track is walked from its end, so the earliest entry of a step is the one shown.
function progress(statusList) {
    var line = stations.map(function (name) { return { name: name, lit: false, text: name, time: "" } })
    var list = Array.isArray(statusList) ? statusList : []
    for (var i = list.length - 1; i >= 0; --i) {
        var at = stationOf(list[i].statusText)
        if (at >= 0)
            line[at] = { name: stations[at], lit: true, text: String(list[i].statusText), time: list[i].createTime }
    }
    return line
}

// The sections of the order details, in the order the section bar names them.
var sections = ["订单信息", "支付信息", "衣物清单", "客户信息", "取送", "订单追踪", "备注", "评价", "异常"]
