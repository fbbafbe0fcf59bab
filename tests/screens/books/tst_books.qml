import QtQuick 2.15
import QtTest 1.2
import "qrc:/books.js" as Books

// The store's books' rules.
TestCase {
    name: "BookRules"

    readonly property var filters: ({ startCreateTime: "2026-02-01", endCreateTime: "2026-03-02", payStatus: "0", statusVal: "" })

    function test_order_list_fields_data() {
        return [
            { tag: "the filters that are set", search: "", fields: { startCreateTime: "2026-02-01", endCreateTime: "2026-03-02", payStatus: "0" } },
            { tag: "a search goes alone", search: "VIP0001", fields: { searchValue: "VIP0001" } },
            { tag: "blank search is none", search: "  ", fields: { startCreateTime: "2026-02-01", endCreateTime: "2026-03-02", payStatus: "0" } }
        ]
    }
    function test_order_list_fields(row) {
        compare(Books.orderListFields(row.search, filters), row.fields)
    }

    function test_no_filters_no_fields() {
        compare(Books.orderListFields("", {}), {})
        compare(Books.orderListFields(undefined, { payStatus: 1 }), { payStatus: "1" })
    }
}
