.pragma library
.import "money.js" as Money

// Lists the backend keeps as JSON text on a garment ('[{"id":"3","name":"红色"}]'): colours,
// flaws, effects, accessories and add-on services.

// The names joined by "/"; add-on services with their amounts ("熨烫5.00元") when
// `withAmount`. "" for anything that is not such a list.
function names(text, withAmount) {
    var list
    try {
        list = JSON.parse(String(text || ""))
    } catch (e) {
        return ""
    }
    if (!Array.isArray(list))
        return ""
    return list.map(function (e) {
        var name = e && e.name !== undefined ? String(e.name) : ""
        return withAmount && e && e.amt !== undefined ? name + Money.fenToYuan(e.amt) + "元" : name
    }).join("/")
}
