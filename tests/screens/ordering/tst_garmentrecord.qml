import QtQuick 2.15
import QtTest 1.2
import "qrc:/garmentrecord.js" as Record

// The garment entry's rules: the selection, its price in fen, the record it sends and how a
// garment being changed sends what was not touched.
TestCase {
    name: "GarmentRecord"

    readonly property var laundry: ({ id: "1", name: "洗衣", businessId: "1" })
    readonly property var jeans: ({ id: "10", name: "牛仔裤", businessId: "1", typeId: "2",
                                    isCustomNum: "0", unitText: "件", saleDiscount: "85" })
    readonly property var curtain: ({ id: "43", name: "窗帘", businessId: "4", typeId: "12",
                                      isCustomNum: "1", unitText: "平方米", saleDiscount: "85" })

    // Project, category, garment and service chosen.
    function chosen(garment, price) {
        var s = Record.chooseProject(Record.empty(), laundry)
        s = Record.chooseCategory(s, { id: garment.typeId, name: "类" })
        s = Record.chooseGarment(s, garment)
        return Record.chooseService(s, { id: "77", name: "水洗", price: price })
    }

    // --- Money -------------------------------------------------------------------------------

    function test_prices_data() {
        return [
            { tag: "85 % of 20.00", garment: jeans, price: "2000", count: 0, addOns: [], byHand: "",
              want: [2000, 1700, 0, 1700] },
            { tag: "with an add-on of 5.00", garment: jeans, price: "2000", count: 0, addOns: [500],
              byHand: "", want: [2000, 1700, 500, 2200] },
            { tag: "two add-ons", garment: jeans, price: "2000", count: 0, addOns: [500, 1999],
              byHand: "", want: [2000, 1700, 2499, 4199] },
            { tag: "2.5 m² at 15.00", garment: curtain, price: "1500", count: 250, addOns: [],
              byHand: "", want: [3750, 3187, 0, 3187] },
            { tag: "a size rounds to the fen", garment: curtain, price: "1999", count: 333,
              addOns: [], byHand: "", want: [6657, 5658, 0, 5658] },
            { tag: "by size, no size yet", garment: curtain, price: "1500", count: 0, addOns: [],
              byHand: "", want: [0, 0, 0, 0] },
            { tag: "subtotal by hand", garment: jeans, price: "2000", count: 0, addOns: [500],
              byHand: "1999", want: [2000, 1700, 500, 1999] }
        ]
    }
    function test_prices(row) {
        var s = chosen(row.garment, row.price)
        if (row.count > 0)
            s = Record.setSize(s, row.count)
        for (var i = 0; i < row.addOns.length; ++i)
            s = Record.setAddOn(s, { id: String(i + 1), name: "附加" + i }, row.addOns[i])
        if (row.byHand !== "")
            s = Record.setSubtotal(s, row.byHand)
        var p = Record.prices(s)
        compare([p.amount, p.discounted, p.addOns, p.subtotal], row.want)
    }

    function test_nothing_chosen_costs_nothing() {
        var p = Record.prices(Record.empty())
        compare([p.amount, p.discounted, p.addOns, p.subtotal], [0, 0, 0, 0])
    }

    function test_typed_amounts_data() {
        return [
            { tag: "19.99", text: "19.99", fen: 1999 },
            { tag: "20", text: "20", fen: 2000 },
            { tag: "0.5", text: "0.5", fen: 50 },
            { tag: "5", text: "5", fen: 500 },
            { tag: "most", text: "999999.99", fen: 99999999 },
            { tag: "too much", text: "1000000", fen: NaN },
            { tag: "35 digits", text: "12345678901234567890123456789012345", fen: NaN },
            { tag: "1.2.3", text: "1.2.3", fen: NaN },
            { tag: "empty", text: "", fen: NaN },
            { tag: "three decimals", text: "1.234", fen: NaN },
            { tag: "point only", text: ".", fen: NaN }
        ]
    }
    function test_typed_amounts(row) {
        var fen = Record.typedFen(row.text)
        if (isNaN(row.fen))
            verify(isNaN(fen), row.text + " gave " + fen)
        else
            compare(fen, row.fen)
    }

    function test_typed_sizes_data() {
        return [
            { tag: "2.5", text: "2.5", count: 250 },
            { tag: "3", text: "3", count: 300 },
            { tag: "0.01", text: "0.01", count: 1 },
            { tag: "zero", text: "0", count: NaN },
            { tag: "1.2.3", text: "1.2.3", count: NaN },
            { tag: "2.555", text: "2.555", count: NaN }
        ]
    }
    function test_typed_sizes(row) {
        var count = Record.typedCount(row.text)
        if (isNaN(row.count))
            verify(isNaN(count))
        else
            compare(count, row.count)
    }

    function test_price_text() {
        compare(Record.priceText(1500), "15")
        compare(Record.priceText("1550"), "15.50")
    }

    // --- Lists ---------------------------------------------------------------------------------

    function test_removing_the_middle_of_three_flaws_keeps_the_ids() {
        var s = chosen(jeans, "2000")
        s = Record.toggle(s, "flaws", { id: "2", name: "污渍" })
        s = Record.toggle(s, "flaws", { id: "1", name: "破损" })
        s = Record.addTyped(s, "flaws", "袖口磨损")
        s = Record.removeAt(s, "flaws", 1)
        compare(Record.record(s).flawDesc, '[{"id":"2","name":"污渍"},{"id":"null","name":"袖口磨损"}]')
    }

    function test_removing_an_add_on_keeps_the_others_paired() {
        var s = chosen(jeans, "2000")
        s = Record.setAddOn(s, { id: "1", name: "去渍" }, 500)
        s = Record.setAddOn(s, { id: "2", name: "加急" }, 2000)
        s = Record.setAddOn(s, { id: "", name: "补线" }, 300)
        s = Record.removeAt(s, "addOns", 1)
        compare(Record.record(s).addServiceDesc,
                '[{"id":"1","amt":"500","name":"去渍"},{"id":"","amt":"300","name":"补线"}]')
        compare(Record.prices(s).addOns, 800)
    }

    function test_an_add_on_chosen_again_gets_the_new_amount() {
        var s = chosen(jeans, "2000")
        s = Record.setAddOn(s, { id: "1", name: "去渍" }, 500)
        s = Record.setAddOn(s, { id: "1", name: "去渍" }, 800)
        compare(s.addOns.length, 1)
        compare(Record.prices(s).addOns, 800)
    }

    function test_a_click_toggles() {
        var s = chosen(jeans, "2000")
        s = Record.toggle(s, "annexes", { id: "1", name: "腰带" })
        compare(Record.keysOf(s.annexes), ["id:1"])
        s = Record.toggle(s, "annexes", { id: "1", name: "腰带" })
        compare(s.annexes.length, 0)
        compare(Record.record(s).annexDesc, "")
    }

    function test_array_texts() {
        compare(Record.arrayText([]), "")
        compare(Record.arrayText([{ name: "墨绿" }]), '[{"name":"墨绿"}]')
        compare(Record.arrayText([{ id: 3, name: "红\"色" }]), '[{"id":"3","name":"红\\"色"}]')
        compare(Record.columnText([{ id: "1", name: "去渍", fen: 500 }, { id: "", name: "补线", fen: 30 }]),
                "去渍5.00元\n补线0.30元\n")
        compare(Record.columnText([{ id: "1", name: "腰带" }]), "腰带\n")
    }

    function test_list_texts_read_back_data() {
        return [
            { tag: "flaws", text: '[{"id":"2","name":"污渍"},{"id":null,"name":"x"}]', amounts: false,
              want: [{ id: "2", name: "污渍" }, { id: "null", name: "x" }] },
            { tag: "add-ons, whole fen", text: '[{"amt":"1550","id":3,"name":"去渍"},{"amt":"1550","name":"补线"}]',
              amounts: true, want: [{ id: "3", name: "去渍", fen: 1550 }, { id: "", name: "补线", fen: 1550 }] },
            { tag: "typed colour", text: '[{"name":"墨绿"}]', amounts: false, want: [{ name: "墨绿" }] },
            { tag: "empty text", text: "", amounts: false, want: [] },
            { tag: "not JSON", text: "[{", amounts: true, want: [] },
            { tag: "not a list", text: '{"name":"a"}', amounts: false, want: [] }
        ]
    }
    function test_list_texts_read_back(row) {
        compare(Record.parseList(row.text, row.amounts), row.want)
    }

    // --- The record --------------------------------------------------------------------------

    function test_record_starts_empty_then_every_member() {
        compare(Record.record(Record.empty()), {})
        var s = Record.chooseProject(Record.empty(), laundry)
        compare(Record.record(s), {
            businessName: "洗衣", businessId: "", proTypeId: "", productId: "", proServiceId: "",
            serviceName: "", brandId: "", brandName: "", colorDesc: "", annexDesc: "",
            flawDesc: "", effectDesc: "", addServiceDesc: ""
        })
    }

    function test_save_fields_of_a_new_garment() {
        var s = chosen(curtain, "1500")
        s = Record.setSize(s, 250)
        s = Record.chooseColour(s, { name: "米白" })
        s = Record.chooseBrand(s, { id: "", name: "自家" })
        s = Record.setSubtotal(s, 1999)
        var f = Record.saveFields(s, 52)
        compare(f.orderId, "52")
        compare(f.mercBusinessId, "1")       // the chosen project's businessId
        compare(f.businessId, "4")           // the garment's
        compare(f.productId, "43")
        compare(f.proServiceId, "77")
        compare(f.count, "250")
        compare(f.colorDesc, '[{"name":"米白"}]')
        compare(f.brandId, "")
        compare(f.brandName, "自家")
        compare(f.chgSubtotal, "1999")
        verify(f.id === undefined)
    }

    function test_choosing_clears_what_follows() {
        var s = chosen(jeans, "2000")
        s = Record.toggle(s, "flaws", { id: "2", name: "污渍" })
        s = Record.setSubtotal(s, 100)
        var g = Record.chooseGarment(s, jeans)
        verify(g.service === null)
        compare(g.flaws.length, 0)
        compare(g.chgSubtotal, "")
        var c = Record.chooseCategory(s, { id: "3", name: "裙装" })
        verify(c.garment === null)
        compare(c.project, laundry)
        var sized = Record.setSize(Record.toggle(chosen(curtain, "1500"), "annexes", { id: "1", name: "腰带" }), 250)
        compare(sized.annexes.length, 0)
    }

    // --- Requests --------------------------------------------------------------------------

    function test_page_requests() {
        var s = chosen(jeans, "2000")
        var order = { orderId: "52", pricingMode: "1" }
        var paging = { pageNum: "2", pageSize: "40", keywords: "裤" }
        var r = Record.pageRequest("garment", s, order, paging)
        compare([r.tag, r.path], ["ProductInfo", "productInfo/list"])
        compare(r.fields, { pageNum: "2", pageSize: "40", keywords: "裤", mercBusinessId: "1",
                            pricingMode: "1", typeId: "2", orderId: "52" })
        compare(paging, { pageNum: "2", pageSize: "40", keywords: "裤" })
        compare(Record.pageRequest("service", s, order, {}).fields,
                { productId: "10", pricingMode: "1", orderId: "52" })
        compare(Record.pageRequest("addOn", s, order, paging).fields.businessId, "1")
        compare(Record.pageRequest("category", s, order, {}).fields, { mercBusinessId: "1" })
        compare(Record.pageRequest("project", s, order, {}).fields, { pricingMode: "1" })
        compare(Record.pageRequest("brand", s, order, paging).fields, paging)
        compare(Record.pageRequest("unknown", s, order, {}), null)
    }

    // --- Change mode ----------------------------------------------------------------------------

    readonly property var detail: ({
        id: 31, orderId: 52, businessId: 1, businessName: "洗衣", proTypeId: 2, productId: 10,
        productName: "牛仔裤", proServiceId: 77, serviceName: "水洗", serviceAmt: 2000,
        saleAmt: 1700, discount: 85, isCustomNum: 0, count: 1, unitText: "件", brandId: null,
        brandName: "", colorDesc: '[{"id":"4","name":"红色"}]',
        flawDesc: '[{"id":"2","name":"污渍"}, {"id":"1","name":"破损"}]', effectDesc: "[]",
        annexDesc: "[]", addServiceDesc: '[{"amt":"1000","id":"1","name":"去渍"}]',
        chgSubtotal: 2500
    })

    function test_change_mode_data() {
        return [
            { tag: "untouched: the record's flaws as they came", act: "none",
              flawDesc: '[{"id":"2","name":"污渍"}, {"id":"1","name":"破损"}]', chg: "2500" },
            { tag: "touched and emptied", act: "empty", flawDesc: "", chg: "2500" },
            { tag: "a flaw added keeps the old ones", act: "add",
              flawDesc: '[{"id":"2","name":"污渍"},{"id":"1","name":"破损"},{"id":"8","name":"变形"}]',
              chg: "2500" },
            { tag: "the garment chosen anew", act: "garment", flawDesc: "", chg: undefined }
        ]
    }
    function test_change_mode(row) {
        var s = Record.fromDetail(detail, laundry)
        if (row.act === "empty") {
            s = Record.toggle(s, "flaws", { id: "2", name: "污渍" })
            s = Record.removeAt(s, "flaws", 0)
        } else if (row.act === "add") {
            s = Record.toggle(s, "flaws", { id: "8", name: "变形" })
        } else if (row.act === "garment") {
            s = Record.chooseGarment(s, jeans)
        }
        var f = Record.saveFields(s, 52)
        compare(f.flawDesc, row.flawDesc)
        compare(f.chgSubtotal, row.chg)
        compare(f.id, "31")
        compare(f.mercBusinessId, "1")
        if (row.act !== "garment") {
            // What was not touched goes back as it came.
            compare(f.colorDesc, detail.colorDesc)
            compare(f.addServiceDesc, detail.addServiceDesc)
            compare(f.effectDesc, "[]")
            compare(f.proServiceId, "77")
        }
    }

    // Two add-ons of 15.50 are 31.00, not 30 whole yuan.
    function test_add_ons_of_a_record_add_up_in_fen() {
        var d = JSON.parse(JSON.stringify(detail))
        d.addServiceDesc = '[{"amt":"1550","id":"1","name":"去渍"},{"amt":"1550","id":"2","name":"加急"}]'
        d.chgSubtotal = null
        var p = Record.prices(Record.fromDetail(d, laundry))
        compare([p.addOns, p.subtotal], [3100, 4800])
    }

    function test_change_mode_prices_from_the_record() {
        var s = Record.fromDetail(detail, laundry)
        var p = Record.prices(s)
        compare([p.amount, p.discounted, p.addOns, p.subtotal], [2000, 1700, 1000, 2500])
        s = Record.chooseGarment(s, jeans)
        s = Record.chooseService(s, { id: "77", name: "水洗", price: "2000" })
        p = Record.prices(s)
        compare([p.amount, p.discounted, p.addOns, p.subtotal], [2000, 1700, 0, 1700])
    }

    function test_detail_of_a_reply() {
        compare(Record.detailOf('{"httpCode":200,"data":{"productInfo":{"id":3}}}'), { id: 3 })
        compare(Record.detailOf("<html>"), null)
        compare(Record.detailOf('{"httpCode":200,"data":{}}'), null)
    }
}
