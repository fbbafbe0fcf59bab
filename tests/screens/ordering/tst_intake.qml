import QtQuick 2.15
import QtTest 1.2
import "qrc:/intake.js" as Intake
import "qrc:/photos.js" as Photos

// The garment intake's rules: what an order offers, how a garment row reads, what "复制"
// sends, the bag window's choice, and how photos are named, numbered and recorded.
TestCase {
    name: "IntakeRules"

    function flags(over) {
        var f = { isEnableFinishStockIn: "false", isPaid: "false", isEnableModifyPrice: "false",
                  isEnablePay: "false", isEnableBatchIn: "false", isEnablePrint: "false" }
        for (var k in over)
            f[k] = over[k]
        return f
    }

    // --- The order's buttons ---------------------------------------------------------------

    function test_buttons_data() {
        var all = { isEnableFinishStockIn: "true", isEnableModifyPrice: "true", isEnablePay: "true",
                    isEnableBatchIn: "true", isEnablePrint: "true" }
        return [
            { tag: "no order", flags: all, no: "", rows: 2,
              want: { order: false, add: false, finish: false, modifyPrice: false, pay: false, bag: false, ticket: false, labels: false } },
            { tag: "number too short", flags: all, no: "1234", rows: 2,
              want: { order: false, add: false, finish: false, modifyPrice: false, pay: false, bag: false, ticket: false, labels: false } },
            { tag: "new order, no garments", flags: {}, no: "261130010001", rows: 0,
              want: { order: true, add: true, finish: false, modifyPrice: false, pay: false, bag: false, ticket: false, labels: false } },
            { tag: "garments, not finished: no labels yet", flags: { isEnableFinishStockIn: "true", isEnableModifyPrice: "true", isEnablePay: "true", isEnablePrint: "true" },
              no: "261130010001", rows: 3,
              want: { order: true, add: true, finish: true, modifyPrice: true, pay: true, bag: false, ticket: true, labels: false } },
            { tag: "finished: labels and the bag", flags: { isEnableModifyPrice: "1", isEnablePay: "1", isEnableBatchIn: "1", isEnablePrint: "1" },
              no: "261130010001", rows: 3,
              want: { order: true, add: true, finish: false, modifyPrice: true, pay: true, bag: true, ticket: true, labels: true } },
            { tag: "paid: no price, no payment, no garments", flags: { isPaid: "true", isEnableModifyPrice: "true", isEnablePay: "true", isEnableBatchIn: "true", isEnablePrint: "true" },
              no: "261130010001", rows: 3,
              want: { order: true, add: false, finish: false, modifyPrice: false, pay: false, bag: true, ticket: true, labels: true } }
        ]
    }
    function test_buttons(row) {
        var b = Intake.buttons(flags(row.flags), row.no, row.rows)
        for (var k in row.want)
            compare(b[k], row.want[k], k)
        compare(b.paid, row.flags.isPaid === "true")
    }

    function test_customer_block() {
        compare(Intake.customerName("欧阳娜娜欧阳娜娜欧阳娜娜欧阳"), "欧阳娜娜欧阳娜娜欧阳娜")
        compare(Intake.priorityText("1"), "快")
        compare(Intake.priorityText("0"), "慢")
    }

    function test_carriage_line_data() {
        return [
            { tag: "free", c: { isCarriage: "0", freeCarriageAmt: "10000", takeCarriage: "500", sendCarriage: "800" }, text: "免运费。" },
            // The delivery fee is sendCarriage, not takeCarriage.
            { tag: "charged", c: { isCarriage: "1", freeCarriageAmt: "10000", takeCarriage: "500", sendCarriage: "800" },
              text: "订单总额未满100.00元加收取送服务费：取件费5.00元，送件费8.00元。" }
        ]
    }
    function test_carriage_line(row) { compare(Intake.carriageLine(row.c), row.text) }

    function test_price_text_data() {
        return [
            { tag: "yuan", text: "88.5", ok: true },
            { tag: "whole", text: "120", ok: true },
            { tag: "starts with a point", text: ".5", ok: false },
            { tag: "letters", text: "8a", ok: false },
            { tag: "21 characters", text: "1" + "0".repeat(20), ok: true },
            { tag: "22 characters", text: "1" + "0".repeat(21), ok: false }
        ]
    }
    function test_price_text(row) { compare(Intake.isPriceText(row.text), row.ok) }

    // "修改为" never sends 0 (the backend's "back to the garments' total"), and says why.
    function test_new_total_data() {
        return [
            { tag: "rounded half up", text: "88.555", fen: 8856, refusal: "" },
            { tag: "past 32 bits", text: "42949673.01", fen: 4294967301, refusal: "" },
            { tag: "zero", text: "0", fen: 0, refusal: "修改后的总价不能为0" },
            { tag: "rounds to zero", text: "0.004", fen: 0, refusal: "修改后的总价不能为0" },
            { tag: "two points", text: "1.2.3", fen: NaN, refusal: "请输入正确的金额" },
            { tag: "empty", text: "", fen: NaN, refusal: "" }
        ]
    }
    function test_new_total(row) {
        var total = Intake.newTotal(row.text)
        compare(total.refusal, row.refusal)
        if (isNaN(row.fen))
            verify(isNaN(total.fen))
        else
            compare(total.fen, row.fen)
    }

    // --- Garment rows --------------------------------------------------------------------------

    function garment(over) {
        var r = { id: "41", no: "1", scanCode: "7010000041", type: "1", businessName: "洗衣",
                  productName: "牛仔裤", serviceName: "水洗", isCustomNum: "0", count: "1",
                  serviceAmt: "2000", saleAmt: "1700", addsrvAmt: "500", subtotal: "2200",
                  colorDesc: '[{"id":"3","name":"蓝色"}]', flawDesc: '[{"id":"2","name":"污渍"},{"id":"null","name":"起球"}]',
                  effectDesc: "[]", addServiceDesc: '[{"id":"1","amt":"500","name":"去渍"}]',
                  annexDesc: "[]", brandId: "4", brandName: "优衣库", chgSubtotal: "",
                  mercBusinessId: "1", businessId: "1", proTypeId: "2", productId: "10",
                  proServiceId: "21", isEnableBindCode: "1", bindCode: "", picCnt: "0" }
        for (var k in over)
            r[k] = over[k]
        return r
    }

    function test_amount_column_data() {
        return [
            { tag: "a piece", row: garment({}), amount: "水洗：20.00", sale: "折后：17.00", addOn: "附加：5.00", subtotal: "22.00" },
            // 2.50 square metres at 15.00.
            { tag: "priced by size", row: garment({ serviceName: "清洗", isCustomNum: "1", count: "250", serviceAmt: "1500",
                                                     saleAmt: "3750", addsrvAmt: "0", subtotal: "3750" }),
              amount: "清洗：37.50", sale: "折后：37.50", addOn: "附加：0.00", subtotal: "37.50" },
            { tag: "a size to the nearest fen", row: garment({ isCustomNum: "1", count: "333", serviceAmt: "1999" }),
              amount: "水洗：66.57", sale: "折后：17.00", addOn: "附加：5.00", subtotal: "22.00" }
        ]
    }
    function test_amount_column(row) {
        var a = Intake.amountLines(row.row)
        compare([a.amount, a.sale, a.addOn, a.subtotal], [row.amount, row.sale, row.addOn, row.subtotal])
    }

    function test_row_texts() {
        var r = garment({})
        compare(Intake.descriptionText(r), "蓝色\n污渍/起球")
        compare(Intake.addOnsText(r.addServiceDesc), "去渍5.00元")
        compare(Intake.namesOf('[{"id":"1","name":"腰带"},{"id":"3","name":"毛领"}]'), "腰带/毛领")
        compare(Intake.namesOf("not a list"), "")
        compare(Intake.countsText([garment({}), garment({ type: "2" }), garment({})]), "已录入2件衣服，1件附件")
    }

    function test_row_actions_data() {
        return [
            { tag: "garment", row: garment({}), electronic: true, labels: true,
              want: { change: true, copy: true, remove: true, photo: true, label: true, bind: true, bound: false } },
            // Copy is not offered for accessories, nor anything that would take its id for a garment's.
            { tag: "accessory", row: garment({ type: "2", isEnableBindCode: "0" }), electronic: true, labels: true,
              want: { change: false, copy: false, remove: false, photo: false, label: false, bind: false, bound: false } },
            { tag: "bound label", row: garment({ bindCode: "e004" }), electronic: true, labels: false,
              want: { change: true, copy: true, remove: true, photo: true, label: false, bind: false, bound: true } },
            { tag: "terminal without labels", row: garment({}), electronic: false, labels: true,
              want: { change: true, copy: true, remove: true, photo: true, label: true, bind: false, bound: false } },
            { tag: "garment that may not be bound", row: garment({ isEnableBindCode: "0" }), electronic: true, labels: true,
              want: { change: true, copy: true, remove: true, photo: true, label: true, bind: false, bound: false } }
        ]
    }
    function test_row_actions(row) {
        compare(Intake.rowActions(row.row, row.electronic, row.labels), row.want)
    }

    function test_copy_body_data() {
        return [
            { tag: "a piece", row: garment({}), count: undefined, chg: undefined },
            { tag: "priced by size", row: garment({ isCustomNum: "1", count: "250" }), count: "250", chg: undefined },
            { tag: "subtotal set by hand", row: garment({ chgSubtotal: "1000" }), count: undefined, chg: "1000" },
            { tag: "subtotal 0 is none", row: garment({ chgSubtotal: "0" }), count: undefined, chg: undefined }
        ]
    }
    function test_copy_body(row) {
        var body = Intake.copyBody(row.row, "77")
        compare(Object.keys(body), ["orderId", "mercBusinessId", "businessId", "businessName", "proTypeId",
                                    "productId", "proServiceId", "serviceName"]
                .concat(row.count !== undefined ? ["count"] : [])
                .concat(row.chg !== undefined ? ["chgSubtotal"] : [])
                .concat(["brandId", "brandName", "annexDesc", "colorDesc", "flawDesc", "effectDesc", "addServiceDesc"]))
        compare(body.orderId, "77")
        compare(body.productId, "10")
        compare(body.proServiceId, "21")
        compare(body.count, row.count)
        compare(body.chgSubtotal, row.chg)
        compare(body.flawDesc, row.row.flawDesc)
    }

    // --- The bag window ------------------------------------------------------------------------

    function test_five_garments_two_bagged_choose_three() {
        var rows = []
        for (var i = 5; i >= 1; --i)
            rows.push({ id: String(i), productName: "衣物" + i, scanCode: "70100000" + i,
                        batchInCode: i === 2 || i === 4 ? "926030101001" : "" })
        var items = Intake.bagChoice(rows)
        compare(items.map(function (x) { return x.id }), ["1", "2", "3", "4", "5"])
        compare(items.map(function (x) { return x.position }), ["1/5", "2/5", "3/5", "4/5", "5/5"])
        compare(Intake.chosenIds(items), "1,3,5")
        compare(items[1].bagged, true)
        compare(items[1].bagCode, "926030101001")
        // A click toggles a garment without a bag; one in a bag stays unchosen.
        items = Intake.toggled(items, 2)
        compare(Intake.chosenIds(items), "1,5")
        items = Intake.toggled(Intake.toggled(items, 1), 2)
        compare(Intake.chosenIds(items), "1,3,5")
    }

    function test_open_bags_each_once() {
        var listed = [{ id: "9", isFinish: "0" }]
        var page = [{ id: "9", isFinish: "0" }, { id: "8", isFinish: "1" }, { id: "7", isFinish: "0" },
                    { id: "7", isFinish: "0" }]
        compare(Intake.openBags(listed, page).map(function (b) { return b.id }), ["7"])
        compare(Intake.bagCount({ productCnt: "3", annexCnt: "1" }), 4)
        compare(Intake.bagHeader(4, 1), "共5件  (衣物4件，附件1件)")
    }

    // --- Photos -----------------------------------------------------------------------------------

    function test_photo_numbers_data() {
        return [
            { tag: "none stored: from the photo count", picCnt: "0", stored: [], start: 0 },
            { tag: "stored: 10 and the first one's last digit", picCnt: "2",
              stored: ["http://h/files/client/Ab3dEf70100000013.jpg", "http://h/files/client/x70100000018.jpg"], start: 13 },
            { tag: "a name without a digit", picCnt: "1", stored: ["http://h/files/client/photo.jpg"], start: 10 }
        ]
    }
    function test_photo_numbers(row) {
        compare(Photos.startNumber(row.picCnt, row.stored), row.start)
    }

    function test_photo_key_and_count() {
        compare(Photos.photoKey("Ab3dEf", "7010000013", 14), "client/Ab3dEf701000001314.jpg")
        verify(Photos.canCapture(3, 5))
        verify(!Photos.canCapture(4, 5))
        verify(!Photos.canCapture(0, 9))
    }

    function test_images_text() {
        compare(Photos.imagesText(["client/a.jpg", "client/b.jpg"]),
                '[{"cameraImg":"client/a.jpg","compressImg": "" },{"cameraImg":"client/b.jpg","compressImg": "" }]')
        compare(Photos.imagesText([]), "[]")
        compare(JSON.parse(Photos.imagesText(["client/a.jpg"]))[0].cameraImg, "client/a.jpg")
    }
}
