import QtQuick 2.15
import QtTest 1.2
import "qrc:/pickup.js" as Pickup

// The pick-up counter's rules: how a search lists orders, the garment selection and the
// buttons it allows, the paid parts, and the refund split in whole fen.
TestCase {
    name: "PickupRules"

    function test_search_lists_by_customer_or_by_text_data() {
        return [
            { tag: "the customer's phone", typed: "13912340003", flag: 1, key: "3", fields: { userId: "3" } },
            { tag: "an order number", typed: "261130010012", flag: 2, key: "261130010012",
              fields: { searchValue: "261130010012" } }
        ]
    }
    function test_search_lists_by_customer_or_by_text(row) {
        var key = Pickup.orderKey(row.typed, "13912340003", 3)
        compare(key.getFlag, row.flag)
        compare(key.orderKey, row.key)
        compare(Pickup.listFields(key.getFlag, key.orderKey), row.fields)
    }

    function test_order_rows_of_a_page() {
        var reply = JSON.stringify({ httpCode: 200, msg: "ok", data: { pageInfo: { list: [{ id: 5, orderNo: "261130010012" }] } } })
        compare(Pickup.orderRows(reply), [{ id: 5, orderNo: "261130010012" }])
        compare(Pickup.orderRows(JSON.stringify({ httpCode: 200, data: { pageInfo: {} } })), [])
        compare(Pickup.orderRows("<html>"), [])
    }

    readonly property var rows: ({
        "1": { id: "1", type: "1", outBatch: "0", isEnableSign: "true", isEnableStockRework: "true", isEnableRefund: "true" },
        "2": { id: "2", type: "1", outBatch: "1", isEnableSign: "false", isEnableStockRework: "true", isEnableRefund: "true" },
        "3": { id: "3", type: "2", outBatch: "0", isEnableSign: "false", isEnableStockRework: "false", isEnableRefund: "false" }
    })

    function select(ids) {
        var s = Pickup.emptySelection()
        for (var i = 0; i < ids.length; ++i)
            s = Pickup.toggle(s, rows[ids[i]])
        return s
    }

    // Each button needs a selection whose every garment allows it.
    function test_buttons_follow_the_selection_data() {
        return [
            { tag: "nothing chosen", clicks: [], pick: false, rework: false, wash: false },
            { tag: "one that allows everything", clicks: ["1"], pick: true, rework: true, wash: true },
            { tag: "one may go, one may not: no 取衣", clicks: ["1", "2"], pick: false, rework: true, wash: true },
            { tag: "with an accessory", clicks: ["1", "3"], pick: false, rework: false, wash: false },
            { tag: "the one that may not go clicked off again", clicks: ["1", "2", "2"], pick: true, rework: true, wash: true }
        ]
    }
    function test_buttons_follow_the_selection(row) {
        var b = Pickup.buttons(select(row.clicks), rows)
        compare(b.pick, row.pick)
        compare(b.rework, row.rework)
        compare(b.refundWash, row.wash)
    }

    // Garments bagged once are listed apart; accessories are not counted as garments.
    function test_selection_lists() {
        var s = select(["2", "1", "3"])
        compare(s.ids, ["2", "1", "3"])
        compare(s.factoryIds, ["2"])
        compare(s.garmentCount, 2)
        s = Pickup.toggle(s, rows["2"])
        compare(s.ids, ["1", "3"])
        compare(s.factoryIds, [])
        compare(s.garmentCount, 1)
        verify(Pickup.has(s, 1))
        verify(!Pickup.has(s, 2))
    }

    // tradeOrder/list comes newest first: a payment's balance part is its last entry.
    function test_paid_parts() {
        var p = Pickup.payments([
            { payMethodText: "现金", payMethod: 1, amount: 2000, tradeTime: "200" },
            { payMethodText: "会员余额", payMethod: 4, amount: 1000, tradeTime: "100" }
        ])
        compare(p.methods, "现金/会员余额")
        compare(p.lastTime, "100")
        compare(p.parts.length, 2)
        compare(p.parts[0].method, "会员余额")
        verify(p.parts[0].balance)
        compare(p.parts[1].amount, 2000)
        compare(p.parts[1].refundable, 2000)
        compare(Pickup.payments([]).parts.length, 0)
    }

    // What a part may still give back is what the split uses: after 10.00 went back to the
    // balance, 20 of the 20.00 left goes to the chosen means, and 8 needs a means too.
    function test_refund_split_after_a_balance_refund_data() {
        return [
            { tag: "all that is left", text: "20", balance: 0, means: 2000, over: false },
            { tag: "part of it", text: "8", balance: 0, means: 800, over: false },
            { tag: "more than is left", text: "25", balance: 0, means: 2000, over: true }
        ]
    }
    function test_refund_split_after_a_balance_refund(row) {
        var parts = Pickup.payments([
            { payMethodText: "现金", payMethod: 1, amount: 2000, refundableAmount: 2000, tradeTime: "200" },
            { payMethodText: "会员余额", payMethod: 4, amount: 1000, refundableAmount: 0, tradeTime: "100" }
        ]).parts
        var s = Pickup.refundSplit(row.text, parts, 2000)
        compare(s.toBalance, row.balance)
        compare(s.toMeans, row.means)
        compare(s.over, row.over)
        verify(s.needsMeans)
        compare(Pickup.refundBlock(s, "x", true, false), row.over ? "over" : "means")
    }

    readonly property var balanceThenCash: [{ method: "会员余额", amount: 1000, refundable: 1000, balance: true },
                                            { method: "现金", amount: 2000, refundable: 2000, balance: false }]

    // 30.00 refundable, of which 10.00 from the balance: the balance part first, the rest to
    // the chosen means, capped; above the refundable amount "over" blocks the request.
    function test_refund_split_data() {
        return [
            { tag: "25 of 30", text: "25", parts: balanceThenCash, balance: 1000, means: 1500, over: false },
            { tag: "35 of 30", text: "35", parts: balanceThenCash, balance: 1000, means: 2000, over: true },
            { tag: "within the balance part", text: "5", parts: balanceThenCash, balance: 500, means: 0, over: false },
            { tag: "no balance part", text: "25", parts: [balanceThenCash[1]], balance: 0, means: 2500, over: false },
            { tag: "19.99 without a float", text: "19.99", parts: [balanceThenCash[1]], balance: 0, means: 1999, over: false },
            { tag: "rounded past the second decimal", text: "0.125", parts: [], balance: 0, means: 13, over: false }
        ]
    }
    function test_refund_split(row) {
        var s = Pickup.refundSplit(row.text, row.parts, row.parts.length ? 3000 : 100)
        verify(s.valid)
        compare(s.toBalance, row.balance)
        compare(s.toMeans, row.means)
        compare(s.over, row.over)
        compare(s.needsMeans, row.means > 0)
        if (row.balance > 0)
            compare(Pickup.shareText(s.toBalance, s.balanceMethod), (row.balance / 100).toFixed(2) + "元退至会员余额")
    }

    // The refund means as the backend names them: a name that says how the money goes back
    // is not prefixed again.
    function test_share_text_data() {
        return [
            { tag: "to the balance", method: "退至会员余额", text: "10.00元退至会员余额" },
            { tag: "the way it came", method: "原路退回", text: "10.00元原路退回" },
            { tag: "cash", method: "现金", text: "10.00元退至现金" },
            { tag: "the balance part", method: "会员余额", text: "10.00元退至会员余额" }
        ]
    }
    function test_share_text(row) {
        compare(Pickup.shareText(1000, row.method), row.text)
    }

    function test_refund_split_of_nothing() {
        verify(Pickup.refundSplit("", balanceThenCash, 3000).empty)
        verify(!Pickup.refundSplit("1.2.3", balanceThenCash, 3000).valid)
        verify(Pickup.isAmountText("25.5"))
        verify(!Pickup.isAmountText(".5"))
    }

    function test_refund_block_data() {
        return [
            { tag: "over the refundable amount", text: "35", reason: "x", paid: true, means: true, why: "over" },
            { tag: "no reason", text: "25", reason: " ", paid: true, means: true, why: "missing" },
            { tag: "no amount", text: "", reason: "x", paid: true, means: true, why: "missing" },
            { tag: "a means is needed", text: "25", reason: "x", paid: true, means: false, why: "means" },
            { tag: "balance alone needs no means", text: "8", reason: "x", paid: true, means: false, why: "" },
            { tag: "ready", text: "25", reason: "x", paid: true, means: true, why: "" },
            { tag: "unpaid: the new total", text: "35", reason: "x", paid: false, means: false, why: "" }
        ]
    }
    function test_refund_block(row) {
        var split = Pickup.refundSplit(row.text, balanceThenCash, 3000)
        compare(Pickup.refundBlock(split, row.reason, row.paid, row.means), row.why)
    }

    function test_refund_fields() {
        compare(Pickup.refundFields("12", "", 2500, " 不满意 "),
                { orderId: "12", amount: "2500", remark: "不满意" })
        compare(Pickup.refundFields(12, "2", 2000, "x", ["5", "7"]),
                { orderId: "12", payMethod: "2", amount: "2000", remark: "x", orderProIds: "5,7" })
    }

    function test_texts() {
        compare(Pickup.names('[{"id":"3","name":"红色"},{"id":"4","name":"白色"}]'), "红色/白色")
        compare(Pickup.names('[{"id":"1","name":"熨烫","amt":"500"}]', true), "熨烫5.00元")
        compare(Pickup.names("not json"), "")
        compare(Pickup.railText("滑轨", "12"), "输轨12")
        compare(Pickup.railText("滑轨", "0"), "")
    }
}
