import QtQuick 2.15
import QtTest 1.2
import "qrc:/orderheader.js" as Header
import "qrc:/customer.js" as Customer

// The pure pieces of the place-order screens and the customer panel.
TestCase {
    name: "OrderHeaderLogic"

    function test_discount_text_data() {
        return [
            { tag: "85", d: "85", type: "1", text: "8.5折" },
            { tag: "90", d: "90", type: "1", text: "9折" },
            { tag: "0", d: "0", type: "1", text: "无折扣" },
            { tag: "100", d: "100", type: "1", text: "无折扣" },
            { tag: "several", d: "85", type: "2", text: "多折扣" }
        ]
    }
    function test_discount_text(row) { compare(Customer.discountText(row.d, row.type), row.text) }

    function test_panel_values() {
        compare(Customer.sexText("1"), "男")
        compare(Customer.sexText("2"), "女")
        compare(Customer.sexText("0"), "未知")
        compare(Customer.gradeFlag("0"), "")
        compare(Customer.gradeFlag("1"), "flagblue")
        compare(Customer.gradeFlag("2"), "flagyellow")
        compare(Customer.gradeFlag("5"), "flagpurple")
    }

    // The card number the ticket prints, whether or not an RFID card is bound; a bound card's
    // own number only for a member without a card number.
    function test_card_number_data() {
        return [
            { tag: "bound RFID card", isBinding: "1", rfidNo: "e004010000000003", no: "VIP0003", shown: "VIP0003" },
            { tag: "no RFID card", isBinding: "0", rfidNo: "", no: "VIP0007", shown: "VIP0007" },
            { tag: "RFID card only", isBinding: "1", rfidNo: "e004010000000001", no: "", shown: "e004010000000001" },
            { tag: "unbound, no card number", isBinding: "0", rfidNo: "e004010000000001", no: "", shown: "" },
            { tag: "nothing at all", isBinding: "0", rfidNo: undefined, no: undefined, shown: "" }
        ]
    }

    function test_card_number(row) {
        compare(Customer.cardNumber(row.isBinding, row.rfidNo, row.no), row.shown)
    }

    function test_district_name_data() {
        return [
            { tag: "city and district", d: "上海市徐汇区", name: "徐汇区" },
            { tag: "province, city, district", d: "浙江省杭州市西湖区", name: "西湖区" },
            { tag: "new district", d: "上海市浦东新区", name: "浦东新区" },
            { tag: "no 区", d: "浙江省杭州市临安", name: "临安" },
            { tag: "no 市", d: "浙江省", name: "" },
            { tag: "text after 区", d: "上海市静安区南京西路", name: "静安区" }
        ]
    }
    function test_district_name(row) { compare(Header.districtName(row.d), row.name) }

    function test_tags_text_data() {
        return [
            { tag: "none", tags: [], text: "[]" },
            { tag: "one", tags: [{ id: 1, name: "常客" }], text: "[{\"id\":\"1\", \"name\":\"常客\"}]" },
            { tag: "new one", tags: [{ id: "2", name: "高端" }, { id: "", name: "新\"客" }],
              text: "[{\"id\":\"2\", \"name\":\"高端\"},{\"id\":\"\", \"name\":\"新\\\"客\"}]" }
        ]
    }
    function test_tags_text(row) {
        compare(Header.tagsText(row.tags), row.text)
        compare(JSON.parse(Header.tagsText(row.tags)).length, row.tags.length)
    }

    function test_toggle_tag() {
        var set = Header.toggleTag([], { id: 3, name: "A" })
        compare(JSON.stringify(set), "[{\"id\":\"3\",\"name\":\"A\"}]")
        compare(Header.toggleTag(set, { id: "3", name: "A" }).length, 0)
    }

    function test_pieces_data() {
        return [
            { tag: "empty plus", text: "", delta: 1, result: "1" },
            { tag: "empty minus", text: "", delta: -1, result: "0" },
            { tag: "0 minus", text: "0", delta: -1, result: "0" },
            { tag: "top plus", text: "10000", delta: 1, result: "10000" },
            { tag: "middle", text: "41", delta: 1, result: "42" }
        ]
    }
    function test_pieces(row) { compare(Header.stepPieces(row.text, row.delta), row.result) }

    function test_pieces_accepted_data() {
        return [
            { tag: "empty", text: "", ok: true },
            { tag: "0", text: "0", ok: true },
            { tag: "10000", text: "10000", ok: true },
            { tag: "10001", text: "10001", ok: false },
            { tag: "letters", text: "1a", ok: false }
        ]
    }
    function test_pieces_accepted(row) { compare(Header.piecesAccepted(row.text), row.ok) }

    function header(more) {
        var h = { userId: "7", takeMode: 1, sendMode: 1, priority: 0, takeAddrId: "3", sendAddrId: "3",
                  remark: "", userRemark: "", remarkJson: "[x]", mark: "",
                  takeDate: "2026-03-02", takeTimeStart: "09:00", takeTimeEnd: "11:00",
                  sendDate: "2026-03-04" }
        for (var k in more)
            h[k] = more[k]
        return h
    }

    function test_order_fields_data() {
        var base = ["userId", "takeMode",
                    "sendMode", "priority", "takeAddrId", "sendAddrId", "remark", "userRemark"]
        return [
            { tag: "take 1, send 1", more: {}, keys: base },
            { tag: "take 1, send 2", more: { sendMode: 2 }, keys: base.concat(["sendDate"]) },
            { tag: "take 2, send 2", more: { takeMode: 2, sendMode: 2 },
              keys: base.concat(["takeDate", "takeTimeStart", "takeTimeEnd", "sendDate"]) },
            { tag: "take 2, send 1", more: { takeMode: 2 },
              keys: base.concat(["takeDate", "takeTimeStart", "takeTimeEnd"]) },
            { tag: "note and mark", more: { remark: "n", mark: "企业客户" },
              keys: base.concat(["remarkJson", "tag"]) },
            { tag: "no address", more: { takeAddrId: "", sendAddrId: "" }, keys: base }
        ]
    }
    function test_order_fields(row) {
        var body = Header.orderFields(header(row.more))
        compare(Object.keys(body), row.keys)
        compare(body.takeMode, String(row.more.takeMode || 1))
        compare(body.priority, "0")
        if (body.tag !== undefined)
            compare(body.tag, "企业客户")
        if (body.remarkJson !== undefined)
            compare(body.remarkJson, "[x]")
        compare(body.takeAddrId, row.more.takeAddrId === "" ? "" : "3")
    }

    function test_nobody_found_data() {
        return [
            { tag: "a phone", key: "13900000009", card: false, text: "没有此用户，请创建新用户", offer: true },
            { tag: "10 characters", key: "1390000000", card: false, text: "没有此会员卡，请创建账户", offer: false },
            { tag: "12 characters", key: "139000000001", card: false, text: "没有此会员卡，请创建账户", offer: false },
            { tag: "an 11-character card number", key: "VIP99999999", card: false, text: "没有此会员卡，请创建账户", offer: false },
            { tag: "a card's secret", key: "e0040100000000", card: true, text: "没有此会员卡，请创建账户", offer: false },
            { tag: "an 11-character secret", key: "e0040100000", card: true, text: "没有此会员卡，请创建账户", offer: false }
        ]
    }
    function test_nobody_found(row) {
        compare(Header.nobodyFound(row.key, row.card), { text: row.text, offerNewMember: row.offer })
    }

    // The same order typed again is the same order, whenever its note's entry was written.
    function test_order_intent_leaves_the_note_time_out() {
        var fields = Header.orderFields(header({ remark: "n" }))
        var intent = Header.orderIntent(fields)
        compare(intent.remarkJson, undefined)
        compare(intent.remark, "n")
        compare(Object.keys(intent).length, Object.keys(fields).length - 1)
        compare(fields.remarkJson, "[x]")
    }

    function test_addresses_default_first() {
        var list = [{ id: 1, def: "0" }, { id: 2, def: "0" }, { id: 3, def: "1" }, { id: 4, def: "0" }]
        compare(Header.addressesDefaultFirst(list).map(function (a) { return a.id }), [3, 1, 2, 4])
        compare(Header.preselectedAddress(list).id, 3)
        compare(Header.preselectedAddress([{ id: 1, def: 0 }, { id: 2, def: 0 }]).id, 2)
        compare(Header.preselectedAddress([]), null)
        compare(Header.addressLines({ phone: "139", name: "李", regionalDesc: "上海市徐汇区", detail: "1号" }),
                ["139 李", "上海市徐汇区 1号"])
    }

    function test_send_date_follows_take() {
        compare(Header.sendDateAfterTake("2026-03-05", "2026-03-02"), "2026-03-05")
        compare(Header.sendDateAfterTake("2026-03-05", "2026-03-09"), "2026-03-09")
    }

    function test_group_choices_data() {
        var one = [{ id: 1, name: "散客" }]
        var two = [{ id: 1, name: "散客" }, { id: 2, name: "企业客户" }]
        return [
            { tag: "one group", groups: one, withDefault: true, names: ["默认分组"] },
            { tag: "two groups", groups: two, withDefault: true, names: ["默认分组", "散客", "企业客户"] },
            { tag: "mark, two groups", groups: two, withDefault: false, names: ["散客", "企业客户"] },
            { tag: "none", groups: [], withDefault: true, names: ["默认分组"] }
        ]
    }
    function test_group_choices(row) {
        compare(Header.groupChoices(row.groups, row.withDefault).map(function (g) { return g.name }), row.names)
    }

    function test_map_pieces() {
        compare(Header.tipMarkers(["1,2", "3,4"]), "large,,1:1,2|large,,2:3,4")
        compare(Header.splitLocation("121.44,31.18").latitude, "31.18")
        compare(Header.splitLocation("121.44,31.18").longitude, "121.44")
        compare(Header.staticMapUrl("http://h", "k", "1,2", 10, ""),
                "http://h/v3/staticmap?location=1,2&scale=2&zoom=10&size=300*300&key=k")
        compare(Header.query([["keywords", "小区"], ["city", "310000"]]),
                "keywords=%E5%B0%8F%E5%8C%BA&city=310000")
    }
}
