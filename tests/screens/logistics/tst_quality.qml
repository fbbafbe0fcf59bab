import QtQuick 2.15
import QtTest 1.2
import "qrc:/quality.js" as Quality

// The rules of the quality check and the rail.
TestCase {
    name: "QualityRules"

    function test_mode_from_the_settings_file_data() {
        return [
            { tag: "order", text: "1", mode: Quality.orderMode },
            { tag: "order with a line end", text: "1\n", mode: Quality.orderMode },
            { tag: "garment", text: "0", mode: Quality.garmentMode },
            { tag: "never written", text: "", mode: Quality.garmentMode },
            { tag: "anything else", text: "x", mode: Quality.garmentMode }
        ]
    }
    function test_mode_from_the_settings_file(row) {
        compare(Quality.modeOf(row.text), row.mode)
    }

    function test_messages() {
        compare(Quality.warning("非此门店衣物"), "警告：非此门店衣物。")
        compare(Quality.scanRefusal("请扫描衣物条码"), "附件无需单独质检，请扫描衣物条码")
        compare(Quality.scanRefusal("衣物不存在"), "衣物不存在")
    }

    function record(over) {
        var r = { isPackaged: 0, statusVal: 19, storeShelfNo: "", annexList: [] }
        for (var k in over)
            r[k] = over[k]
        return r
    }

    // [checkAll, pass, autoPass, tools, slotLine, askSlot, rework] for a record, with slots
    // typed or given and accessories checked or not.
    function test_garment_actions_data() {
        var unchecked = [{ isPackaged: "1" }, { isPackaged: "0" }]
        var checked = [{ isPackaged: 1 }, { isPackaged: "1" }]
        return [
            { tag: "accessory unchecked", r: record({ annexList: unchecked }), manual: false, check: true,
              want: [true, false, false, false, false, false, true] },
            { tag: "accessories checked", r: record({ annexList: checked }), manual: false, check: true,
              want: [false, true, false, false, false, false, true] },
            { tag: "no accessories", r: record({}), manual: false, check: true,
              want: [false, true, false, false, false, false, true] },
            { tag: "no check needed", r: record({ annexList: unchecked }), manual: false, check: false,
              want: [true, false, true, false, false, false, true] },
            { tag: "hung before its check", r: record({ statusVal: "25" }), manual: false, check: false,
              want: [false, false, true, false, false, false, true] },
            { tag: "at the factory", r: record({ statusVal: 12 }), manual: false, check: false,
              want: [false, false, false, false, false, false, false] },
            { tag: "packed, typed slot missing", r: record({ isPackaged: "1", statusVal: 60 }), manual: true, check: true,
              want: [false, false, false, true, false, true, true] },
            { tag: "packed, slots given", r: record({ isPackaged: "1", statusVal: 60 }), manual: false, check: true,
              want: [false, false, false, true, false, false, true] },
            { tag: "packed with a slot", r: record({ isPackaged: 1, statusVal: 60, storeShelfNo: "12" }), manual: true, check: false,
              want: [false, false, false, true, true, false, true] }
        ]
    }
    function test_garment_actions(row) {
        var a = Quality.garmentActions(row.r, row.manual, row.check)
        compare([a.checkAll, a.pass, a.autoPass, a.tools, a.slotLine, a.askSlot, a.rework], row.want)
    }

    function test_slot_line() {
        compare(Quality.placeText(2, 3), "第2件，共3件")
        compare(Quality.slotText("12"), "配单号：12")
        compare(Quality.annexStateText({ isPackaged: "0" }), "未核对")
        compare(Quality.annexStateText({ isPackaged: 1 }), "已核对")
    }

    function test_after_a_pass_data() {
        return [
            { tag: "first garment, slot typed", data: { map: { proIndex: 1, proTotal: 2, storeShelfNo: "" } }, manual: true,
              askSlot: true, slot: "", allSlotted: false },
            { tag: "second of three", data: { map: { proIndex: 2, proTotal: 3, storeShelfNo: "37" } }, manual: true,
              askSlot: false, slot: "37", allSlotted: false },
            { tag: "the order's last", data: { map: { proIndex: "3", proTotal: 3, storeShelfNo: "37" } }, manual: true,
              askSlot: false, slot: "37", allSlotted: true },
            { tag: "slots given", data: { map: { proIndex: 1, proTotal: 1, storeShelfNo: "2" } }, manual: false,
              askSlot: false, slot: "2", allSlotted: false },
            { tag: "no map", data: { proIndex: 1, proTotal: 1, storeShelfNo: "" }, manual: true,
              askSlot: true, slot: "", allSlotted: false }
        ]
    }
    function test_after_a_pass(row) {
        var next = Quality.afterPass(row.data, row.manual)
        compare(next.askSlot, row.askSlot)
        compare(next.slot, row.slot)
        compare(next.allSlotted, row.allSlotted)
    }

    function test_certificate_data() {
        return [
            { tag: "no printer", printer: "", style: "1", ask: true, method: "" },
            { tag: "无", printer: "无", style: "1", ask: false, method: "" },
            { tag: "style 1", printer: "pdf", style: "1", ask: false, method: "qualifiedPrintInfo" },
            { tag: "style 2", printer: "pdf", style: 2, ask: false, method: "qualifiedPrintInfo1" },
            { tag: "style 3", printer: "pdf", style: "3", ask: false, method: "qualifiedPrintInfo2" },
            { tag: "unknown style", printer: "pdf", style: "4", ask: false, method: "" },
            { tag: "no style", printer: "pdf", style: undefined, ask: false, method: "" }
        ]
    }
    function test_certificate(row) {
        compare(Quality.certificate(row.printer, row.style), { ask: row.ask, method: row.method })
    }

    function item(type, statusVal, packed, refund, extra) {
        var i = { type: type, statusVal: statusVal, isPackaged: packed, hasRefund: refund }
        for (var k in extra)
            i[k] = extra[k]
        return i
    }

    function test_order_counts_and_rows() {
        var order = { proCnt: 2, productList: [item(1, 19, 0, 0, { id: 1 }), item(2, 19, 0, 0, { id: 2 }), item("1", 19, 0, 0, { id: 3 })] }
        compare(Quality.countText(order.proCnt, order.productList), "2件衣服，1件附件")
        compare(Quality.orderRows(order).map(function (i) { return i.id }), [3, 2, 1])
        compare(order.productList[0].id, 1)
        compare(Quality.orderRows({}), [])
    }

    // "打印小票" once every item is packed; "全部合格" while a garment in the store waits.
    function test_order_tools_data() {
        return [
            { tag: "all packed", list: [item(1, 60, 1, 0), item(2, 60, 1, 0)], ticket: true, passAll: false },
            { tag: "an accessory unchecked", list: [item(1, 60, 1, 0), item(2, 60, 0, 0)], ticket: false, passAll: false },
            { tag: "a garment to pass", list: [item(1, 19, 0, 0), item(1, 60, 1, 0)], ticket: false, passAll: true },
            { tag: "the rest at the factory", list: [item(1, 12, 0, 0), item(1, 60, 1, 0)], ticket: false, passAll: false },
            { tag: "empty", list: [], ticket: false, passAll: false }
        ]
    }
    function test_order_tools(row) {
        compare(Quality.allPacked({ productList: row.list }), row.ticket)
        compare(Quality.somethingToPass({ productList: row.list }), row.passAll)
    }

    // "全部返洗": one garment refunded, or not in the store, hides it whatever the others are.
    function test_rework_all_data() {
        return [
            { tag: "all in the store", list: [item(1, 19, 0, 0), item(2, 60, 1, "0"), item(1, 25, 1, 0)], shown: true },
            { tag: "one refunded", list: [item(1, 19, 0, 0), item(1, 60, 1, "1")], shown: false },
            { tag: "one reworked", list: [item(1, 19, 0, 0), item(1, 30, 0, 0)], shown: false },
            { tag: "one handed out", list: [item(1, 40, 1, 0), item(1, 60, 1, 0)], shown: false },
            { tag: "empty", list: [], shown: false }
        ]
    }
    function test_rework_all(row) {
        compare(Quality.mayReworkAll({ productList: row.list }), row.shown)
    }

    function test_row_actions_data() {
        return [
            { tag: "arrived", i: item(1, 19, 0, 0), want: { certificate: false, pass: true, rework: true, mark: "" } },
            { tag: "passed", i: item(1, 60, 1, 0), want: { certificate: true, pass: false, rework: true, mark: "已合格" } },
            { tag: "hung", i: item(1, "25", "1", "0"), want: { certificate: true, pass: false, rework: true, mark: "已合格" } },
            { tag: "reworked", i: item(1, 30, 0, 0), want: { certificate: false, pass: false, rework: false, mark: "已返洗" } },
            { tag: "refund waiting", i: item(1, 19, 0, 1), want: { certificate: false, pass: true, rework: false, mark: "" } },
            { tag: "accessory", i: item(2, 19, 0, 0), want: { certificate: false, pass: false, rework: false, mark: "未核对" } }
        ]
    }
    function test_row_actions(row) {
        compare(Quality.rowActions(row.i), row.want)
    }

    // The rail lists garments only; the scanned one opens its input while it waits for a
    // position.
    function test_rail_rows() {
        var order = { productList: [item(1, 60, 1, 0, { id: 1, scanCode: "7010000001", storeShelfNo: 0 }),
                                    item(2, 60, 1, 0, { id: 2, scanCode: "6010000002", storeShelfNo: 0 }),
                                    item(1, 25, 1, 0, { id: 3, scanCode: "7010000003", storeShelfNo: "7" })] }
        var rows = Quality.railRows(order)
        compare(rows.map(function (r) { return r.id }), [1, 3])
        compare(Quality.openRow(rows, "7010000001"), "1")
        compare(Quality.openRow(rows, "7010000003"), "")
        compare(Quality.openRow(rows, "6010000002"), "")
        compare(Quality.positionText(rows[0]), "未上挂")
        compare(Quality.positionText(rows[1]), "7")
        verify(!Quality.allHung(rows))
        verify(Quality.allHung([rows[1]]))
        verify(!Quality.allHung([]))
        compare(Quality.railType("滑轨"), "输轨")
        compare(Quality.railType(undefined), "")
    }

    function test_rail_number_pattern() {
        verify(Quality.railNumberPattern.test("41"))
        verify(Quality.railNumberPattern.test("1234567890123456789012345"))
        verify(!Quality.railNumberPattern.test("12345678901234567890123456"))
        verify(!Quality.railNumberPattern.test("4a"))
        verify(!Quality.railNumberPattern.test(""))
    }
}
