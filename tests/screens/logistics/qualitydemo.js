.pragma library
// The demo orders back in store 1 kept for the quality check and the rail, one customer each
// (members 21 to 27), read through the test's reference backend as the backend holds them now.

// Member `n`'s demo order (orderInfo/search), or null when the member has none in the store.
function order(reference, n) {
    var reply = reference.data("orderInfo/takeList2", { searchValue: "139123400" + n, pageNum: 1, pageSize: 10 })
    var list = reply.data && reply.data.pageInfo ? reply.data.pageInfo.list : []
    // Orders come newest first; the demo's is the member's first.
    return list.length > 0 ? now(reference, list[list.length - 1].orderNo) : null
}

// The order of a code as the backend holds it now.
function now(reference, code) {
    return reference.data("orderInfo/search", { scanCode: String(code) }).data
}

function garments(order) {
    return order.productList.filter(function (i) { return String(i.type) === "1" })
}

function accessoriesOf(order, garment) {
    return order.productList.filter(function (i) { return String(i.parentId) === String(garment.id) })
}

// The garment of that code in `order` (as the order holds it).
function garment(order, scanCode) {
    return order.productList.filter(function (i) { return String(i.scanCode) === String(scanCode) })[0]
}
