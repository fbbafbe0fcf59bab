.pragma library

// Pure pieces of the place-order screens: the order header's request fields, the address
// list order, the pieces counter, the tag text, the map service's markers.

var maxPieces = 10000
var maxTips = 5

// The `orderInfo/add` fields in their fixed member order (the request adds the session's);
// the optional members only when they apply (a management note, a garment mark, the pick-up
// date and slot for take mode 2, the delivery date for send mode 2).
function orderFields(h) {
    var body = {
        userId: String(h.userId),
        takeMode: String(h.takeMode),
        sendMode: String(h.sendMode),
        priority: String(h.priority || 0),
        takeAddrId: String(h.takeAddrId || ""),
        sendAddrId: String(h.sendAddrId || ""),
        remark: h.remark || "",
        userRemark: h.userRemark || ""
    }
    if (body.remark !== "")
        body.remarkJson = h.remarkJson
    if ((h.mark || "") !== "")
        body.tag = h.mark
    if (String(h.takeMode) === "2") {
        body.takeDate = h.takeDate
        body.takeTimeStart = h.takeTimeStart
        body.takeTimeEnd = h.takeTimeEnd
    }
    if (String(h.sendMode) === "2")
        body.sendDate = h.sendDate
    return body
}

// What the search tells when nobody has the key: 11 digits typed (a phone) may become a new
// member, offered once the box is confirmed; a card number, a card's secret or any other key
// may not.
function nobodyFound(key, byCard) {
    var phone = !byCard && /^\d{11}$/.test(String(key))
    return { text: phone ? "没有此用户，请创建新用户" : "没有此会员卡，请创建账户", offerNewMember: phone }
}

// What the worker asked for in an `orderInfo/add`: its fields without the management note's
// entry, which carries the time it was written and so differs at each attempt.
function orderIntent(fields) {
    var intent = {}
    for (var k in fields)
        if (k !== "remarkJson")
            intent[k] = fields[k]
    return intent
}

// The pieces field: empty, or a whole number from 0 to 10000.
function piecesAccepted(text) {
    return text === "" || (/^\d{1,5}$/.test(text) && parseInt(text, 10) <= maxPieces)
}

// "+" and "-": one step, never below 0 nor above 10000; an empty field counts as 0.
function stepPieces(text, delta) {
    var n = text === "" || !/^\d+$/.test(text) ? 0 : parseInt(text, 10)
    return String(Math.max(0, Math.min(maxPieces, n + delta)))
}

// The addresses with the default one moved to the top (the others keep the reply order).
function addressesDefaultFirst(list) {
    var out = []
    var def = null
    for (var i = 0; i < list.length; ++i) {
        if (def === null && String(list[i].def) === "1")
            def = list[i]
        else
            out.push(list[i])
    }
    return def === null ? out : [def].concat(out)
}

// The address both rows start with: the default one, else the last one; null for none.
function preselectedAddress(list) {
    if (list.length === 0)
        return null
    for (var i = 0; i < list.length; ++i)
        if (String(list[i].def) === "1")
            return list[i]
    return list[list.length - 1]
}

function addressLines(a) {
    return a ? [a.phone + " " + a.name, a.regionalDesc + " " + a.detail] : ["", ""]
}

// The send date may not lie before the take date: a later take date carries it along.
function sendDateAfterTake(takeDate, sendDate) {
    return sendDate < takeDate ? takeDate : sendDate
}

// The district name of a map tip's `district`: after the first "市" up to and including the
// next "区" (to the end without one); "" without a "市".
function districtName(district) {
    var city = district.indexOf("市")
    if (city < 0)
        return ""
    var rest = district.substring(city + 1)
    var area = rest.indexOf("区")
    return area < 0 ? rest : rest.substring(0, area + 1)
}

// "121.44,31.18" -> { longitude: "121.44", latitude: "31.18" }.
function splitLocation(location) {
    var comma = location.indexOf(",")
    if (comma < 0)
        return { longitude: location, latitude: "" }
    return { longitude: location.substring(0, comma), latitude: location.substring(comma + 1) }
}

// Numbered markers of the listed tips: "large,,1:lng,lat|large,,2:lng,lat".
function tipMarkers(locations) {
    var parts = []
    for (var i = 0; i < locations.length; ++i)
        parts.push("large,," + (i + 1) + ":" + locations[i])
    return parts.join("|")
}

// The static map's address; `markers` may be "".
function staticMapUrl(host, key, location, zoom, markers) {
    return host + "/v3/staticmap?location=" + location + "&scale=2&zoom=" + zoom
            + "&size=300*300" + (markers ? "&markers=" + markers : "") + "&key=" + key
}

// A query string from an ordered list of [key, value] pairs (values percent-encoded).
function query(pairs) {
    return pairs.map(function (p) { return p[0] + "=" + encodeURIComponent(p[1]) }).join("&")
}

// The `tags` text of userInfo/updateTag: [{"id":"1", "name":"常客"},{"id":"", "name":"新"}].
function tagsText(tags) {
    return "[" + tags.map(function (t) {
        return "{\"id\":" + JSON.stringify(String(t.id)) + ", \"name\":" + JSON.stringify(String(t.name)) + "}"
    }).join(",") + "]"
}

// Clicking a tag of all tags puts it into the customer's set or takes it out.
function toggleTag(tags, tag) {
    for (var i = 0; i < tags.length; ++i)
        if (String(tags[i].id) === String(tag.id) && tags[i].name === tag.name)
            return tags.slice(0, i).concat(tags.slice(i + 1))
    return tags.concat([{ id: String(tag.id), name: tag.name }])
}

// The group list: "默认分组" first (unless choosing a garment mark), then the backend's
// groups, which are shown only when there is more than one of them.
function groupChoices(groups, withDefault) {
    var out = withDefault ? [{ id: "-1", name: "默认分组" }] : []
    return groups.length > 1 ? out.concat(groups) : out
}
