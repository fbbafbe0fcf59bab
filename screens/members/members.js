.pragma library
.import "customer.js" as Customer
.import "requests.js" as Requests

// The member screens' rules: the level and group lists of the member list, its rows and the
// fields of its requests, important-customer grades, and the new member's form.

function str(value) {
    return value === undefined || value === null ? "" : String(value)
}

// --- Card levels -----------------------------------------------------------------------

// A level of userCard/listForSelect: the second flag of `rights` says it grants a discount;
// only then is its discount type kept.
function level(entry) {
    var rights = str(entry.rights)
    return {
        id: str(entry.id),
        name: str(entry.name),
        discount: str(entry.discount),
        discountType: rights.charAt(1) === "1" ? str(entry.discountType) : "",
        def: str(entry.def) === "1" || entry.def === true
    }
}

// The levels of a reply, each with its label.
function levels(text) {
    var data = Requests.dataOf(text)
    var list = data && Array.isArray(data.list) ? data.list : []
    return list.map(function (e) {
        var l = level(e)
        l.label = levelLabel(l)
        return l
    })
}

// "银卡会员(9.5折)", "普通会员" for a level without a discount, "(多折扣)", "(无折扣)".
function levelLabel(l) {
    if (l.discountType === "")
        return l.name
    return l.name + "(" + Customer.discountText(l.discount, l.discountType) + ")"
}

// The level filter: "全部用户" (no level) before the levels, and nothing without levels.
function levelFilter(levelList) {
    if (levelList.length === 0)
        return []
    return [{ id: "", name: "全部用户", label: "全部用户" }].concat(levelList)
}

// --- Groups ----------------------------------------------------------------------------

// The group filter: the two fixed groups of userGroup/sideCnt ("全部分组": no filter, "默认分组":
// "-1"), then the merchant's groups, each with its member count.
function groupFilter(sideText, groupsText) {
    var side = Requests.dataOf(sideText)
    var groups = Requests.dataOf(groupsText)
    var out = []
    var fixedIds = ["", "-1"]
    if (Array.isArray(side))
        for (var i = 0; i < side.length && i < 2; ++i)
            out.push({ id: fixedIds[i], name: str(side[i].name), cnt: str(side[i].cnt) })
    if (Array.isArray(groups))
        for (var j = 0; j < groups.length; ++j)
            out.push({ id: str(groups[j].id), name: str(groups[j].name), cnt: str(groups[j].cnt) })
    return out
}

// Whether a new group of that name would repeat one listed (the fixed ones included).
function groupNameTaken(groupList, name) {
    for (var i = 0; i < groupList.length; ++i)
        if (groupList[i].name === name)
            return true
    return false
}

// --- The member list ---------------------------------------------------------------------

// The filter fields of userInfo/list, only those that are set.
function listFields(filters) {
    var fields = {}
    if (str(filters.searchValue) !== "")
        fields.searchValue = str(filters.searchValue)
    if (str(filters.cardId) !== "")
        fields.cardId = str(filters.cardId)
    if (str(filters.groupId) !== "")
        fields.groupId = str(filters.groupId)
    return fields
}

// The fields of one page of userInfo/list: the filters, then the paging (pageNum, pageSize).
function pageFields(filters, paging) {
    var fields = listFields(filters)
    for (var k in paging)
        fields[k] = str(paging[k])
    return fields
}

function get(object, path) {
    var v = object
    for (var i = 0; i < path.length; ++i) {
        if (v === null || typeof v !== "object")
            return ""
        v = v[path[i]]
    }
    return str(v)
}

// One row of the member list from an element of userInfo/list.
function memberRow(e) {
    var tags = Array.isArray(e.tagList) ? e.tagList : []
    return {
        userId: get(e, ["info", "id"]),
        name: get(e, ["info", "name"]),
        phone: get(e, ["info", "phone"]),
        headimgPath: get(e, ["info", "headimgPath"]),
        createTime: get(e, ["info", "createTime"]),
        grade: get(e, ["info", "grade"]),
        point: get(e, ["ext", "point"]),
        balance: get(e, ["ext", "balance"]),
        cardNumber: Customer.cardNumber(get(e, ["card", "isBinding"]) === "1" || get(e, ["card", "isBinding"]) === "true" ? "1" : "0",
                                        get(e, ["card", "rfidNo"]), get(e, ["card", "no"])),
        levelName: get(e, ["card", "info", "name"]),
        discountText: Customer.discountText(get(e, ["card", "info", "discount"]),
                                            get(e, ["card", "info", "discountType"])),
        groupName: get(e, ["group", "name"]),
        tags: tags.map(function (t) { return get(t, ["userTag", "name"]) }).join(" | ")
    }
}

function memberRows(text) {
    var data = Requests.dataOf(text)
    var list = data && Array.isArray(data.list) ? data.list : []
    return list.map(memberRow)
}

// Ticking a member adds its id, ticking it again takes it out.
function toggled(ids, id) {
    var i = ids.indexOf(id)
    return i < 0 ? ids.concat([id]) : ids.slice(0, i).concat(ids.slice(i + 1))
}

// --- Important customers ---------------------------------------------------------------

var grades = [
    { grade: "-1", name: "不是重要客户", icon: "" },
    { grade: "1", name: "蓝冠", icon: "flagblue" },
    { grade: "2", name: "黄冠", icon: "flagyellow" },
    { grade: "3", name: "紫冠", icon: "flagpurple" }
]

// The grade the dialog starts on: the one ticked member's, "-1" for several (or none).
function startGrade(tickedGrades) {
    if (tickedGrades.length !== 1)
        return "-1"
    var g = parseInt(tickedGrades[0], 10)
    return isNaN(g) || g <= 0 ? "-1" : String(Math.min(g, 3))
}

// --- New member ------------------------------------------------------------------------

// What the phone field admits: input that can still become 1 followed by ten digits.
var phonePattern = /^(1\d{0,10})?$/

// The body fields of userInfo/add.
function newMemberFields(form) {
    return {
        name: str(form.name),
        phone: str(form.phone),
        sex: str(form.sex) === "" ? "0" : str(form.sex),
        cardId: str(form.cardId),
        groupId: str(form.groupId) === "" ? "-1" : str(form.groupId),
        birthday: str(form.birthday)
    }
}

// The new member's group choices from userGroup/list: "默认分组" (-1) first, as { id, label }.
function newMemberGroups(groupsText) {
    return [{ id: "-1", label: "默认分组" }].concat(groupFilter("", groupsText).map(function (g) {
        return { id: g.id, label: g.name }
    }))
}

// The level a new member gets unless another is chosen: the one marked `def`, else the first.
function defaultLevel(levelList) {
    for (var i = 0; i < levelList.length; ++i)
        if (levelList[i].def)
            return levelList[i]
    return levelList.length > 0 ? levelList[0] : null
}
