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

    // --- The bag grid ---------------------------------------------------------------------

    // A page's fields carry the tab's status and the keywords only when there are any.
    function test_bag_list_fields_data() {
        return [
            { tag: "all", filter: { status: "", keywords: "" }, fields: { pageNum: "2", pageSize: "18" } },
            { tag: "tab", filter: { status: "3", keywords: "" }, fields: { pageNum: "2", pageSize: "18", status: "3" } },
            { tag: "search", filter: { status: "", keywords: "0101" }, fields: { pageNum: "2", pageSize: "18", keywords: "0101" } },
            { tag: "both", filter: { status: "1", keywords: "9251" }, fields: { pageNum: "2", pageSize: "18", status: "1", keywords: "9251" } }
        ]
    }
    function test_bag_list_fields(row) {
        compare(Logistics.bagListFields(row.filter, { pageNum: "2", pageSize: "18" }), row.fields)
    }

    // A page of 18 is three whole rows of six; fewer leave the last row short.
    function test_grid_rows() {
        var bags = []
        for (var i = 1; i <= 14; ++i)
            bags.push({ id: i })
        var rows = Logistics.gridRows(bags, 6)
        compare(rows.map(function (r) { return r.cells.length }), [6, 6, 2])
        compare(rows[2].cells[1].id, 14)
        compare(Logistics.gridRows([], 6), [])
        compare(Logistics.bagPageSize % Logistics.bagColumns, 0)
    }

    function test_courier_text() {
        compare(Logistics.courierText("陈师傅", "13700000001"), "陈师傅 13700000001")
        compare(Logistics.courierText("", ""), "")
        compare(Logistics.courierText(undefined, null), "")
        compare(Logistics.courierText("陈师傅", ""), "陈师傅")
    }

    // --- A bag's contents -----------------------------------------------------------------

    // A click flips one row; "全选" flips every row; the chosen keep their click order.
    function test_flipped_data() {
        return [
            { tag: "choose", selection: [], ids: ["3"], result: ["3"] },
            { tag: "choose another", selection: ["3"], ids: ["1"], result: ["3", "1"] },
            { tag: "unchoose", selection: ["3", "1"], ids: ["3"], result: ["1"] },
            { tag: "all of none", selection: [], ids: ["1", "2", "3"], result: ["1", "2", "3"] },
            { tag: "all of some", selection: ["2"], ids: ["1", "2", "3"], result: ["1", "3"] },
            { tag: "all of all", selection: ["3", "1", "2"], ids: ["1", "2", "3"], result: [] }
        ]
    }
    function test_flipped(row) {
        compare(Logistics.flipped(row.selection, row.ids), row.result)
    }

    // A garment moves only to another open bag.
    function test_move_targets() {
        var bags = [{ id: "1", code: "A", isFinish: "0" }, { id: "2", code: "B", isFinish: "1" }, { id: "3", code: "C", isFinish: 0 }]
        compare(Logistics.moveTargets(bags, "A").map(function (b) { return b.id }), ["3"])
        compare(Logistics.moveTargets(bags, "Z").map(function (b) { return b.id }), ["1", "3"])
        compare(Logistics.moveTargets([bags[0]], "A"), [])
    }

    // --- Arrival --------------------------------------------------------------------------

    function test_arrival_mode_data() {
        return [
            { tag: "by batch", text: "0", mode: 0 },
            { tag: "by order", text: "1", mode: 1 },
            { tag: "by garment, with a line end", text: "2\n", mode: 2 },
            { tag: "never written", text: "", mode: 0 },
            { tag: "unknown", text: "3", mode: 0 },
            { tag: "not a number", text: "x", mode: 0 }
        ]
    }
    function test_arrival_mode(row) {
        compare(Logistics.arrivalMode(row.text), row.mode)
    }

    function test_arrival_modes() {
        compare(Logistics.arrivalModes.map(function (m) { return m.label }), ["批次到店", "订单到店", "衣物到店"])
        compare(Logistics.arrivalModes.map(function (m) { return m.placeholder }), ["批次号", "订单号", "衣物条码"])
        compare(Logistics.arrivalModes.map(function (m) { return m.pendingTitle }), ["出厂批次衣物", "出厂订单衣物", "出厂衣物"])
    }

    // The list is `data`, or `data.proList` for a single garment; any other reply lists nothing.
    function test_arrival_rows() {
        var rows = [{ id: 1, scanCode: "7" }]
        compare(Logistics.arrivalRows(JSON.stringify({ httpCode: 200, data: rows }), false), rows)
        compare(Logistics.arrivalRows(JSON.stringify({ httpCode: 200, data: { proList: rows } }), true), rows)
        compare(Logistics.arrivalRows(JSON.stringify({ httpCode: 200, data: {} }), false), [])
        compare(Logistics.arrivalRows("<html>", true), [])
    }

    function test_split_checked() {
        var rows = [{ scanCode: "1", storeStatusText: "已核对" }, { scanCode: "2", storeStatusText: "未核对" }, { scanCode: "3" }]
        var split = Logistics.splitChecked(rows)
        compare(split.confirmed.map(function (r) { return r.scanCode }), ["1"])
        compare(split.pending.map(function (r) { return r.scanCode }), ["2", "3"])
    }

    // A code that is not waiting finds nothing (and so sends nothing); an accessory's code
    // finds its row, which names its garment.
    function test_pending_by_code() {
        var rows = [{ id: 5, scanCode: "7010000005" }, { id: 5, scanCode: "6010000006", orderProType: 2 }]
        compare(Logistics.pendingByCode(rows, "7010000005").id, 5)
        compare(Logistics.pendingByCode(rows, "6010000006").id, 5)
        compare(Logistics.pendingByCode(rows, "7019999999"), null)
        compare(Logistics.pendingByCode([], "7010000005"), null)
    }

    function test_is_accessory_data() {
        return [
            { tag: "batch accessory", row: { orderProType: 2, type: 1 }, accessory: true },
            { tag: "order accessory", row: { type: "2" }, accessory: true },
            { tag: "garment", row: { orderProType: "1", type: 1 }, accessory: false },
            { tag: "nothing said", row: {}, accessory: false }
        ]
    }
    function test_is_accessory(row) {
        compare(Logistics.isAccessory(row.row), row.accessory)
    }
}
