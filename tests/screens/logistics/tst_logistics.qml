import QtQuick 2.15
import QtTest 1.2
import "qrc:/logistics.js" as Logistics

// The factory road's rules.
TestCase {
    name: "LogisticsRules"

    function test_bag_filters_start_with_all() {
        compare(Logistics.bagFilters.map(function (f) { return f.status }), ["", "1", "2", "3"])
        compare(Logistics.bagFilters[0].label, "全部")
    }

    // A bag counts its garments and their accessories; what is missing counts as none.
    function test_garment_count() {
        compare(Logistics.garmentCount({ annexCnt: "2", productCnt: 3 }), 5)
        compare(Logistics.garmentCount({ productCnt: "4" }), 4)
        compare(Logistics.garmentCount({}), 0)
    }

    function test_bag_actions_data() {
        return [
            { tag: "completed", bag: { isFinish: "1", productCnt: 3 }, print: true, remove: false, complete: false },
            { tag: "open with garments", bag: { isFinish: "0", productCnt: 1 }, print: false, remove: true, complete: true },
            { tag: "open with accessories only", bag: { isFinish: 0, annexCnt: "1", productCnt: "0" }, print: false, remove: true, complete: true },
            { tag: "open and empty", bag: { isFinish: "0", annexCnt: 0, productCnt: 0 }, print: false, remove: true, complete: false },
            { tag: "no finish flag", bag: { productCnt: 2 }, print: false, remove: true, complete: false }
        ]
    }
    function test_bag_actions(row) {
        compare(Logistics.bagActions(row.bag), { print: row.print, remove: row.remove, complete: row.complete })
    }
}
