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

    // Opening a list on 15 March 2023 lists the 30 days back, from 13 February.
    function test_time_range_data() {
        return [
            { tag: "所有", start: "", end: "" },
            { tag: "今天", start: "2023-03-15", end: "2023-03-15" },
            { tag: "近7天", start: "2023-03-08", end: "2023-03-15" },
            { tag: "近30天", start: "2023-02-13", end: "2023-03-15" }
        ]
    }
    function test_time_range(row) {
        compare(Books.timeRange(row.tag, new Date(2023, 2, 15, 9, 30)), { start: row.start, end: row.end })
    }

    function test_dates_padded() {
        compare(Books.dateText(new Date(2024, 0, 5)), "2024-01-05")
        compare(Books.timeRange("近7天", new Date(2024, 2, 3)).start, "2024-02-25")
    }

    function test_cloth_list_fields_data() {
        var f = { startDate: "2023-02-13", endDate: "2023-03-15", proStatusVal: "", factoryId: "2" }
        return [
            { tag: "a code goes alone", code: "7010000001", filters: f, fields: { keywords: "7010000001" } },
            { tag: "a factory while 全部状态 sends no status", code: "", filters: f,
              fields: { startDate: "2023-02-13", endDate: "2023-03-15", factoryId: "2" } },
            { tag: "a status and no dates", code: " ", filters: { startDate: "", endDate: "", proStatusVal: 19, factoryId: "" },
              fields: { proStatusVal: "19" } }
        ]
    }
    function test_cloth_list_fields(row) {
        compare(Books.clothListFields(row.code, row.filters), row.fields)
    }

    function test_choices() {
        var list = Books.choices("全部订单状态", [{ text: "已收衣", val: 10 }, { text: "已作废", val: 50 }])
        compare(list, [{ text: "全部订单状态", val: "" }, { text: "已收衣", val: "10" }, { text: "已作废", val: "50" }])
        compare(Books.choiceText(list, 50), "已作废")
        compare(Books.choiceText(list, ""), "全部订单状态")
        compare(Books.choiceText(Books.payChoices, "0"), "未支付")
    }

    function test_row_texts() {
        compare(Books.cardShown("", "VIP0007"), "VIP0007")
        compare(Books.cardShown("e004010000000001", "VIP0001"), "e004010000000001")
        compare(Books.cleanString("要\n加急\r\n谢谢"), "要加急谢谢")
        compare(Books.notesLine([]), "")
        compare(Books.notesLine(undefined), "")
        compare(Books.notesLine([{ remark: "有污渍", workName: "张丽" }, { remark: "加急", workName: "王强" }]),
                "有污渍【张丽】  加急【王强】")
        compare(Books.modeLine("上门取衣", "预约取件: ", "2026-03-02", "取件员：", ""), "上门取衣  预约取件: 2026-03-02")
        compare(Books.modeLine("", "预约送件: ", "", "送件员：", "李师傅"), "送件员：李师傅")
        verify(Books.unpaid("未支付"))
        verify(!Books.unpaid("已支付"))
        compare(Books.voidReason("  "), "")
        compare(Books.voidReason(" 顾客取消 "), "顾客取消")
    }

    function test_row_customer() {
        compare(Books.rowCustomer('{"n":"王芳","p":"13912340007"}'), { name: "王芳", phone: "13912340007" })
        compare(Books.rowCustomer("not json"), { name: "", phone: "" })
    }

    function test_bind_label_data() {
        return [
            { tag: "no electronic labels", electronic: false, enabled: 1, code: "", label: "" },
            { tag: "a garment that takes none", electronic: true, enabled: 0, code: "", label: "" },
            { tag: "no label yet", electronic: true, enabled: 1, code: "", label: "绑标" },
            { tag: "bound once", electronic: true, enabled: "true", code: "e0040100ab", label: "已绑" }
        ]
    }
    function test_bind_label(row) {
        compare(Books.bindLabel(row.electronic, row.enabled, row.code), row.label)
    }

    // A garment with no RFID card shows its member card.
    function test_record_customer() {
        var c = Books.recordCustomer({ info: { name: "李晓明", phone: "13912340001", grade: 3, wxId: "-1", verifyPhone: 1 },
                                       card: { no: "VIP0001", rfidNo: "", info: { name: "银卡会员" } },
                                       ext: { balance: 12345, point: 120 }, unionInfo: { name: "" } })
        compare(c.card, "VIP0001")
        compare(c.levelName, "银卡会员")
        compare(c.balance, "12345")
        compare(c.wxId, "-1")
        compare(c.verifyPhone, "1")
        compare(c.verifyIos, "0")
        var o = Books.orderCustomer({ unionName: "联盟", userInfo: { name: "王芳", rfidNo: "e0040100", cardNo: "VIP0002", cardName: "金卡会员" } })
        compare(o.card, "e0040100")
        compare(o.unionName, "联盟")
        compare(o.levelName, "金卡会员")
    }

    // The earliest entry of a step lights its station: "已收件" twice lights "已下单" with the
    // earlier time.
    function test_progress_earliest_entry() {
        var line = Books.progress([
            { statusText: "已收件", createTime: 1000 },
            { statusText: "已收件", createTime: 2000 },
            { statusText: "已入库", createTime: 3000 },
            { statusText: "已签收", createTime: 5000 },
            { statusText: "已作废", createTime: 6000 }
        ])
        compare(line.map(function (s) { return s.lit }), [true, true, false, true, false])
        compare(line[0].time, 1000)
        compare(line[0].text, "已收件")
        compare(line[2].text, "已洗完")
        compare(line[3].time, 5000)
        compare(Books.progress(undefined).filter(function (s) { return s.lit }).length, 0)
        compare(Books.stationOf("已下单，待接单"), 0)
        compare(Books.stationOf("已完成"), 4)
        compare(Books.stationOf("已作废"), -1)
    }

    // The book's list keeps no lists: the notes and garments become what the row shows.
    function test_book_row() {
        var row = Books.bookRow({ id: 7, orderNo: "260301010007", isEnablePay: true,
                                  remarkJson: [{ remark: "加急", workName: "张丽", createTime: "2026-03-01 10:00:00" }],
                                  business: [{ id: 1 }, { id: 2 }] })
        compare(row.id, 7)
        compare(row.isEnablePay, true)
        compare(row.notesLine, "加急【张丽】")
        compare(JSON.parse(row.notesText)[0].createTime, "2026-03-01 10:00:00")
        compare(row.garmentCount, 2)
        verify(row.remarkJson === undefined && row.business === undefined)
        compare(Books.bookRow({ id: 8 }).notesLine, "")
        compare(Books.bookRow({ id: 8 }).notesText, "[]")
    }

    // A row offers what its flags allow, and always the notes.
    function test_row_actions() {
        var whats = function (order) { return Books.rowActions(order).map(function (a) { return a.what }) }
        compare(whats({ isEnablePay: true, isEnableCredit: false, isEnableDestroy: "true", isEnablePrint: 1,
                        isEnableStockIn: false, isEnableBatchIn: "false" }), ["pay", "void", "ticket", "notes"])
        compare(whats({}), ["notes"])
        compare(Books.rowActions({ isEnableBatchIn: true })[0], { what: "bag", text: "入袋" })
    }
}
