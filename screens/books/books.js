.pragma library
// The store's books: the garment list and a garment's details (ClothList, ClothDetails), the
// order book and an order's details (OrderInquiry, OrderDetails). Their rules live here.

// --- The order book -------------------------------------------------------------------------

// The filter fields of orderInfo/list beyond the paging: a search goes alone, by order, phone
// or card number; otherwise the creation dates ("yyyy-MM-dd"), the payment status ("1" paid,
// "0" unpaid) and the order status, each only when it is set.
function orderListFields(searchValue, filters) {
    var text = String(searchValue || "").trim()
    if (text !== "")
        return { searchValue: text }
    var fields = {}
    var keys = ["startCreateTime", "endCreateTime", "payStatus", "statusVal"]
    for (var i = 0; i < keys.length; ++i) {
        var value = filters[keys[i]]
        if (value !== undefined && value !== null && String(value) !== "")
            fields[keys[i]] = String(value)
    }
    return fields
}
