import QtQuick 2.15
import QtTest 1.2
import "qrc:/members.js" as Members
import "qrc:/recharge.js" as Recharge

// The member screens' rules: level and group lists, rows, request fields, grades, the new
// member's form, and the recharge offers, free amount and request fields.
TestCase {
    name: "MemberRules"

    function reply(data) {
        return JSON.stringify({ httpCode: 200, msg: "ok", data: data })
    }

    // --- Levels and groups ---------------------------------------------------------------

    function test_level_labels_data() {
        return [
            { tag: "no discount right", e: { name: "普通会员", rights: "10", discountType: "1", discount: 100 }, label: "普通会员" },
            { tag: "9.5", e: { name: "银卡会员", rights: "11", discountType: "1", discount: 95 }, label: "银卡会员(9.5折)" },
            { tag: "8.5 is not rounded to 9", e: { name: "钻石会员", rights: "11", discountType: "1", discount: 85 }, label: "钻石会员(8.5折)" },
            { tag: "several discounts", e: { name: "企业", rights: "11", discountType: "2", discount: 50 }, label: "企业(多折扣)" },
            { tag: "nothing off", e: { name: "体验", rights: "11", discountType: "1", discount: 100 }, label: "体验(无折扣)" },
            { tag: "no rights text", e: { name: "X", discountType: "1", discount: 90 }, label: "X" }
        ]
    }
    function test_level_labels(row) {
        compare(Members.levels(reply({ list: [row.e] }))[0].label, row.label)
    }

    function test_level_filter_starts_with_all_only_when_there_are_levels() {
        compare(Members.levelFilter([]), [])
        compare(Members.levelFilter(Members.levels(reply({ list: [] }))), [])
        compare(Members.levelFilter(Members.levels("not json")), [])
        var list = Members.levelFilter(Members.levels(reply({ list: [{ id: 3, name: "金卡会员", rights: "11", discountType: "1", discount: 90, def: 0 }] })))
        compare(list.map(function (l) { return [l.id, l.label] }), [["", "全部用户"], ["3", "金卡会员(9折)"]])
    }

    function test_group_filter_fixed_groups_first() {
        var groups = Members.groupFilter(reply([{ name: "全部分组", cnt: 30 }, { name: "默认分组", cnt: 2 }]),
                                         reply([{ id: 1, name: "散客", cnt: 7 }]))
        compare(groups, [{ id: "", name: "全部分组", cnt: "30" }, { id: "-1", name: "默认分组", cnt: "2" },
                         { id: "1", name: "散客", cnt: "7" }])
    }

    function test_group_name_taken_data() {
        return [
            { tag: "a group", name: "散客", taken: true },
            { tag: "all groups", name: "全部分组", taken: true },
            { tag: "the default group", name: "默认分组", taken: true },
            { tag: "new", name: "老客户", taken: false }
        ]
    }
    function test_group_name_taken(row) {
        var groups = [{ id: "", name: "全部分组" }, { id: "-1", name: "默认分组" }, { id: "1", name: "散客" }]
        compare(Members.groupNameTaken(groups, row.name), row.taken)
    }

    // --- The list --------------------------------------------------------------------------

    function test_list_fields_only_what_is_set() {
        compare(Members.listFields({ searchValue: "", cardId: "", groupId: "" }), {})
        compare(Members.listFields({ searchValue: "139", cardId: "2", groupId: "-1" }),
                { searchValue: "139", cardId: "2", groupId: "-1" })
        compare(Members.listFields({ cardId: 3 }), { cardId: "3" })
    }

    // A page keeps the filters of the list and adds its paging as text.
    function test_page_fields() {
        compare(Members.pageFields({ cardId: "2", groupId: "" }, { pageNum: 3, pageSize: 10 }),
                { cardId: "2", pageNum: "3", pageSize: "10" })
        compare(Members.pageFields({}, { pageNum: "1", pageSize: "10" }), { pageNum: "1", pageSize: "10" })
    }

    function test_member_row() {
        var e = { info: { id: 7, name: "王芳", phone: "13912340007", headimgPath: "", createTime: 1700000000000, grade: 2 },
                  ext: { point: 840, balance: 33950 },
                  card: { no: "VIP0007", rfidNo: "e004", isBinding: 1, info: { name: "金卡会员", discount: 90, discountType: "1" } },
                  group: { id: 3, name: "企业客户" },
                  tagList: [{ userTag: { id: 1, name: "常客" } }, { userTag: { id: 2, name: "新客" } }] }
        var row = Members.memberRows(reply({ list: [e] }))[0]
        compare(row.userId, "7")
        // The card number the ticket prints, not the bound RFID card's.
        compare(row.cardNumber, "VIP0007")
        compare(row.discountText, "9折")
        compare(row.balance, "33950")
        compare(row.tags, "常客 | 新客")
        compare(row.grade, "2")
        e.card.isBinding = 0
        e.tagList = []
        row = Members.memberRows(reply({ list: [e] }))[0]
        compare(row.cardNumber, "VIP0007")
        compare(row.tags, "")
        compare(Members.memberRows("<html>"), [])
    }

    function test_ticking_twice_takes_the_member_out() {
        var ids = Members.toggled([], "7")
        ids = Members.toggled(ids, "9")
        compare(ids, ["7", "9"])
        compare(Members.toggled(ids, "7"), ["9"])
        compare(Members.toggled(Members.toggled(ids, "7"), "7"), ["9", "7"])
    }

    function test_grade_dialog_start_data() {
        return [
            { tag: "one blue", ticked: ["1"], grade: "1" },
            { tag: "one without grade", ticked: ["0"], grade: "-1" },
            { tag: "one purple", ticked: ["3"], grade: "3" },
            { tag: "several", ticked: ["1", "2"], grade: "-1" },
            { tag: "none", ticked: [], grade: "-1" }
        ]
    }
    function test_grade_dialog_start(row) {
        compare(Members.startGrade(row.ticked), row.grade)
    }

    // --- New member ------------------------------------------------------------------------

    function test_phone_field_data() {
        return [
            { tag: "empty", text: "", ok: true },
            { tag: "1", text: "1", ok: true },
            { tag: "eleven digits", text: "13912340001", ok: true },
            { tag: "twelve digits", text: "139123400011", ok: false },
            { tag: "not starting with 1", text: "2", ok: false },
            { tag: "letters", text: "13a", ok: false }
        ]
    }
    function test_phone_field(row) {
        compare(Members.phonePattern.test(row.text), row.ok)
    }

    function test_new_member_fields() {
        compare(Members.newMemberFields({ name: "新", phone: "13800001111", sex: "", cardId: "2", groupId: "", birthday: "2000-01-02" }),
                { name: "新", phone: "13800001111", sex: "0", cardId: "2", groupId: "-1", birthday: "2000-01-02" })
        var levels = Members.levels(reply({ list: [{ id: 1, name: "A", def: 0 }, { id: 2, name: "B", def: 1 }] }))
        compare(Members.defaultLevel(levels).id, "2")
        compare(Members.defaultLevel([]), null)
    }

    function test_new_member_groups_default_first() {
        compare(Members.newMemberGroups(reply([{ id: 4, name: "高端客户", cnt: 3 }])),
                [{ id: "-1", label: "默认分组" }, { id: "4", label: "高端客户" }])
        compare(Members.newMemberGroups("<html>"), [{ id: "-1", label: "默认分组" }])
    }

    // --- Recharge --------------------------------------------------------------------------

    function test_schemes_count_only_what_they_give() {
        var list = Recharge.schemes(reply([
            { id: 1, name: "充500送50", amount: 50000, giftAmount: 5000, isSendAmt: true, giftPoint: 500, isSendPoint: "true",
              cardName: "", isSendCard: false, couponCnt: 0, isSendCoupon: false },
            { id: 4, name: "充5000送1200", amount: 500000, giftAmount: 120000, isSendAmt: "false", giftPoint: 5000, isSendPoint: false,
              cardName: "钻石会员", isSendCard: true, couponCnt: 2, isSendCoupon: true }
        ]))
        compare(Recharge.schemeText(list[0]), "充500.00元送50.00元")
        compare(Recharge.schemeExtras(list[0]), ["赠送500积分"])
        compare(Recharge.schemeText(list[1]), "充5000.00元送0.00元")
        compare(Recharge.schemeExtras(list[1]), ["赠送钻石会员", "赠送优惠券2张"])
        compare(Recharge.extrasText(list[1]), "(赠送钻石会员，赠送优惠券2张)")
        compare(Recharge.extrasText({ giftPoint: 0, cardName: "", couponCnt: 0 }), "")
        compare(Recharge.schemes(reply([])), [])
        compare(Recharge.schemes("}"), [])
    }

    function test_free_amount_data() {
        return [
            { tag: "50", text: "50", fen: 5000, shown: "零散金额：50.00元" },
            { tag: "19.99 in whole fen", text: "19.99", fen: 1999, shown: "零散金额：19.99元" },
            { tag: "0.1", text: "0.1", fen: 10, shown: "零散金额：0.10元" },
            { tag: "nothing", text: "0", fen: NaN },
            { tag: "two points", text: "1.2.3", fen: NaN },
            { tag: "three decimals", text: "1.234", fen: NaN },
            { tag: "empty", text: "", fen: NaN }
        ]
    }
    function test_free_amount(row) {
        var fen = Recharge.freeAmountFen(row.text)
        if (isNaN(row.fen)) {
            verify(isNaN(fen))
            return
        }
        compare(fen, row.fen)
        compare(Recharge.freeAmountText(fen), row.shown)
    }

    function test_amount_field_pattern() {
        verify(Recharge.amountPattern.test("5"))
        verify(Recharge.amountPattern.test("50.00"))
        verify(!Recharge.amountPattern.test(".5"))
        verify(!Recharge.amountPattern.test("1a"))
        verify(!Recharge.amountPattern.test("1" + "0".repeat(21)))
    }

    function test_request_fields() {
        compare(Recharge.rechargeFields(7, 5000, false, ""), { userId: "7", amount: "5000", remark: "", withActive: "0" })
        compare(Recharge.createPayFields("7", 50000, true, "alipay", "NATIVE"),
                { userId: "7", amount: "50000", remark: "", withActive: "1", payMethod: "4", payType: "NATIVE" })
        compare(Recharge.createPayFields("7", 50000, true, "wechat", "MICROPAY").payMethod, "1")
        verify(!Recharge.ready("7", 0))
        verify(!Recharge.ready("", 100))
        verify(Recharge.ready("7", 1))
    }
}
