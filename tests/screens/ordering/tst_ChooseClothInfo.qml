import QtQuick 2.15
import QtTest 1.2
import Brenvo 1.0
import BrenvoTest 1.0
import "qrc:/"
import "../common"

// Garment entry against the reference backend's demo catalogue, on orders of demo member 3
// (钻石会员, 85 %) made for each test. 牛仔裤 is washed for 20.00; 窗帘 is priced at 15.00
// the square metre; 上衣 lists 42 garments, 39 of them named with 衫.
ScreenTestCase {
    id: testCase
    name: "ChooseClothInfo"
    needsSignIn: true

    property string orderNo: ""

    SignalSpy { id: sentSpy; signalName: "reqParamsReturn" }
    SignalSpy { id: savedSpy; signalName: "garmentSaved" }

    function init() {
        orderNo = newOrder("3")
        verify(orderNo !== "")
    }

    // --- Helpers ---------------------------------------------------------------------------

    // A call of the test's own; its reply text.
    function ask(path, fields) {
        return reference.text(path, fields)
    }

    function newOrder(userId) {
        var reply = reference.data("orderInfo/add", { userId: userId, takeMode: "1", sendMode: "1" })
        compare(reply.httpCode, 200, reply.msg)
        return String(reply.data)
    }

    function garmentsOf(number) {
        return JSON.parse(ask("stockIn/queryOrder", { keywords: number })).data.proList
    }

    function open(code) {
        screen = Qt.createComponent("qrc:/ChooseClothInfo.qml").createObject(host, { keywords: orderNo, idofCloth: code || "" })
        verify(screen !== null)
        screen.messageBox = boxRecorder
        sentSpy.target = screen.backend.request
        savedSpy.target = screen
        idle()
        return screen
    }

    function idle() {
        settle(screen)
    }

    function tab(name) {
        mouseClick(findChild(screen, "tab:" + name))
        idle()
    }

    // Clicks the entry of that name once it is shown where the worker would click it.
    function pick(kind, name) {
        mouseClick(inSight(screen.tabs.grid(kind).view, "cell:" + name))
        idle()
    }

    // Into a window's field, then "确定".
    function enter(windowName, text) {
        var window = findChild(screen, windowName)
        tryVerify(function () { return window.visible }, 2000, windowName)
        var field = findChild(window, "inputField")
        field.forceActiveFocus()
        field.text = ""
        type(text)
        compare(field.text, text, windowName + ": the typed text did not arrive")
        mouseClick(findChild(window, "inputConfirm"))
        idle()
        return window
    }

    // A row of a selected column, once laid out as the worker sees it: where it was drawn
    // in two frames running, so a column still being laid out is not clicked beside the row.
    function tapRow(name) {
        var row = null
        var at = null
        tryVerify(function () {
            row = findChild(screen, name)
            if (row === null || !row.visible)
                return false
            var p = row.mapToItem(screen, 0, 0)
            var still = at !== null && at.x === p.x && at.y === p.y
            at = p
            if (!still)
                waitForRendering(screen)
            return still
        }, 5000, name)
        mouseClick(row)
        idle()
        tryVerify(function () {
            var left = findChild(screen, name)
            return left === null || !left.visible
        }, 5000, name + " is still selected")
    }

    function textOf(name) {
        return findChild(screen, name).text
    }

    // The requests sent to `path`, from "/mac/" on (path and signed query).
    function sent(path) {
        var all = []
        for (var i = 0; i < sentSpy.count; ++i) {
            var url = sentSpy.signalArguments[i][0]
            if (url.indexOf("/mac/" + path + "?") >= 0)
                all.push(url.substring(url.indexOf("/mac/")))
        }
        return all
    }

    function lastSent(path) {
        var all = sent(path)
        return all.length > 0 ? query(all[all.length - 1]) : null
    }

    // Project 洗衣, category 裤装, 牛仔裤, 水洗.
    function chooseJeans() {
        pick("project", "洗衣")
        pick("category", "裤装")
        pick("garment", "牛仔裤")
        pick("service", "水洗")
    }

    function finish() {
        mouseClick(findChild(screen, "finishButton"))
        tryCompare(savedSpy, "count", 1, 5000)
        compare(savedSpy.signalArguments[0][0], orderNo)
    }

    // --- Opening ---------------------------------------------------------------------------

    function test_opening_loads_the_order_then_the_projects() {
        open()
        compare(screen.orderId, String(JSON.parse(ask("stockIn/queryOrder", { keywords: orderNo })).data.orderInfo.id))
        var projects = lastSent("productBusiness/list")
        compare(projects.pricingMode, "1")
        compare(screen.tabs.grid("project").count, 4)
        compare(screen.tabs.openCount, 1)
        verify(!findChild(screen, "loadingShade").visible)
        compare(Session.enterFlag, "ChooseClothInfo")
    }

    function test_another_stores_order_is_refused() {
        // The demo's store 2 takes its first order of a day (number ...020001) every day or so.
        var other = ""
        for (var d = 0; d < 3 && other === ""; ++d) {
            var n = Qt.formatDate(new Date(Date.now() - d * 86400000), "yyMMdd") + "020001"
            if (JSON.parse(ask("stockIn/queryOrder", { keywords: n })).httpCode === 403)
                other = n
        }
        verify(other !== "")
        orderNo = other
        open()
        compare(boxes, [["错误提示", "非此门店订单"]])
        verify(!findChild(screen, "loadingShade").visible)
        compare(sent("productBusiness/list").length, 0)
    }

    // The item drawn on top at `x`, `y` of the screen (what a click there reaches first).
    function topmostAt(x, y) {
        var item = screen
        for (;;) {
            var p = screen.mapToItem(item, x, y)
            var child = item.childAt(p.x, p.y)
            if (child === null)
                return item
            item = child
        }
    }

    // At the terminal's window size the nine tabs fit beside the side panel: each lies whole
    // in sight, nothing is drawn over its middle, and a click there opens it.
    function test_every_tab_in_sight_and_clickable() {
        compare([host.width, host.height], [1200, 880])
        open()
        chooseJeans()
        compare(screen.tabs.openCount, screen.tabs.names.length)
        var panel = findChild(screen, "sidePanel")
        var panelLeft = panel.mapToItem(screen, 0, 0).x
        // From the last tab to the first, so each click changes the tab shown.
        for (var i = screen.tabs.names.length - 1; i >= 0; --i) {
            var name = screen.tabs.names[i]
            var tab = findChild(screen, "tab:" + name)
            var at = tab.mapToItem(screen, 0, 0)
            verify(at.x >= 0 && at.x + tab.width <= panelLeft, name + " from " + at.x + " to " + (at.x + tab.width)
                   + ", the side panel from " + panelLeft)
            var middle = topmostAt(at.x + tab.width / 2, at.y + tab.height / 2)
            verify(middle === tab || middle.parent === tab, name + ": " + middle + " is drawn over it")
            mouseClick(tab)
            compare(screen.tabs.currentIndex, i, name)
        }
        shot("chooseclothinfo-tabs")
    }

    // --- The price cases --------------------------------------------------------------------

    function test_discounted_garment_with_an_add_on() {
        open()
        chooseJeans()
        var garments = lastSent("productInfo/list")
        compare(garments.typeId, "2")
        compare(garments.pageNum, "1")
        compare(garments.pageSize, "40")
        compare(garments.keywords, "")
        compare(garments.mercBusinessId, "1")
        compare(textOf("amountText"), "金额：20.00")
        compare(textOf("discountedText"), "折后：17.00")
        compare(textOf("subtotalText"), "17.00")
        compare(screen.tabs.currentIndex, screen.tabs.annexTab)

        tab("附加")
        pick("addOn", "去渍")
        compare(findChild(screen, "addOnWindow").title, "附加服务:去渍")
        verify(!enter("addOnWindow", "5").visible)
        compare(textOf("addOnText"), "附加：5.00")
        compare(textOf("subtotalText"), "22.00")
        shot("chooseclothinfo-price")
        var orderId = screen.orderId
        finish()

        var body = lastSent("stockIn/add")
        compare(body.addServiceDesc, '[{"id":"1","amt":"500","name":"去渍"}]')
        compare(body.productId, "10")
        compare(body.businessName, "洗衣")
        compare(body.mercBusinessId, "1")
        compare(body.orderId, orderId)
        compare(body.count, undefined)
        // The garment is in the order, priced by the backend alike.
        var g = garmentsOf(orderNo)
        compare(g.length, 1)
        compare(g[0].productName, "牛仔裤")
        compare([g[0].serviceAmt, g[0].saleAmt, g[0].addsrvAmt, g[0].subtotal], [2000, 1700, 500, 2200])
    }

    function test_garment_priced_by_size() {
        open()
        pick("project", "家居纺织")
        pick("category", "窗帘地毯")
        pick("garment", "窗帘")
        pick("service", "水洗")
        var window = findChild(screen, "sizeWindow")
        verify(window.visible)
        compare(window.title, "衣物面积")
        compare(findChild(window, "inputPrompt").text, "每平方米衣物价格15元")
        compare(findChild(window, "inputField").placeholderText, "请输入衣物面积")
        enter("sizeWindow", "2.5")
        verify(!window.visible)
        compare(textOf("amountText"), "金额：37.50")
        compare(textOf("discountedText"), "折后：31.87")
        finish()
        compare(lastSent("stockIn/add").count, "250")
        var g = garmentsOf(orderNo)
        compare([g[0].count, g[0].serviceAmt, g[0].subtotal], [250, 1500, 3187])
    }

    function test_size_that_is_no_number_is_refused() {
        open()
        pick("project", "家居纺织")
        pick("category", "窗帘地毯")
        pick("garment", "窗帘")
        pick("service", "水洗")
        var window = enter("sizeWindow", "1.2.3")
        verify(window.visible)
        compare(boxes, [["错误提示", "请输入正确的衣物面积"]])
        compare(screen.sel.count, "")
    }

    // --- Lists ---------------------------------------------------------------------------------

    function test_removed_entries_keep_the_others_paired() {
        open()
        chooseJeans()
        tab("瑕疵")
        pick("flaw", "污渍")
        pick("flaw", "破损")
        findChild(screen, "flawTyped").text = "袖口磨损"
        mouseClick(findChild(screen, "flawAdd"))
        compare(screen.tabs.grid("flaw").count > 3, true)
        tapRow("flaws:破损")

        tab("附加")
        pick("addOn", "去渍")
        enter("addOnWindow", "5")
        pick("addOn", "加急")
        enter("addOnWindow", "20")
        findChild(screen, "addOnTyped").text = "补线"
        mouseClick(findChild(screen, "addOnAdd"))
        pick("addOn", "补线")
        enter("addOnWindow", "3")
        tapRow("addOns:加急")
        compare(textOf("addOnText"), "附加：8.00")
        shot("chooseclothinfo-lists")
        finish()

        var body = lastSent("stockIn/add")
        compare(body.flawDesc, '[{"id":"2","name":"污渍"},{"id":"null","name":"袖口磨损"}]')
        compare(body.addServiceDesc, '[{"id":"1","amt":"500","name":"去渍"},{"id":"","amt":"300","name":"补线"}]')
        var g = garmentsOf(orderNo)
        compare(JSON.parse(g[0].flawDesc).map(function (f) { return f.name }), ["污渍", "袖口磨损"])
        compare(g[0].addsrvAmt, 800)
    }

    function test_colour_and_brand_lead_on() {
        open()
        chooseJeans()
        tab("颜色")
        verify(lastSent("productColor/list") !== null)
        pick("colour", "蓝色")
        compare(screen.tabs.currentIndex, screen.tabs.flawTab)
        tab("品牌")
        pick("brand", "李宁")
        compare(screen.tabs.currentIndex, screen.tabs.addOnTab)
        finish()
        var body = lastSent("stockIn/add")
        compare(body.colorDesc, '[{"id":"9","name":"蓝色"}]')
        compare(body.brandId, "7")
        compare(body.brandName, "李宁")
    }

    // --- Paging ---------------------------------------------------------------------------------

    function pageTwoRequests(typeId, keywords) {
        return sent("productInfo/list").map(query).filter(function (q) {
            return q.pageNum === "2" && q.typeId === typeId && q.keywords === keywords
        }).length
    }

    function scrollToEnd(grid) {
        grid.view.positionViewAtEnd()
        grid.view.movementEnded()
        idle()
    }

    function test_a_full_page_of_garments_asks_for_the_next() {
        open()
        pick("project", "洗衣")
        // The first category, 上衣, is chosen: 40 garments, a full page.
        var grid = screen.tabs.grid("garment")
        compare(screen.sel.category.name, "上衣")
        scrollToEnd(grid)
        compare(pageTwoRequests("1", ""), 1)
        compare(grid.count, 42)

        // Those named with 衫 are 39: no second page.
        findChild(screen, "garmentSearch").text = "衫"
        idle()
        compare(grid.count, 39)
        scrollToEnd(grid)
        compare(pageTwoRequests("1", "衫"), 0)
        compare(lastSent("productInfo/list").keywords, "衫")
        compare(lastSent("productInfo/list").pageNum, "1")
    }

    // --- The subtotal by hand --------------------------------------------------------------------

    function test_subtotal_by_hand_data() {
        return [
            { tag: "19.99", text: "19.99", shown: "19.99", sent: "1999", refused: false },
            { tag: "20", text: "20", shown: "20.00", sent: "2000", refused: false },
            { tag: "1.2.3", text: "1.2.3", shown: "17.00", sent: undefined, refused: true },
            { tag: "empty", text: "", shown: "17.00", sent: undefined, refused: true }
        ]
    }
    function test_subtotal_by_hand(row) {
        open()
        chooseJeans()
        mouseClick(findChild(screen, "subtotalArea"))
        compare(findChild(screen, "subtotalWindow").title, "修改衣物金额")
        var window = enter("subtotalWindow", row.text)
        compare(window.visible, row.refused)
        compare(boxes, row.refused ? [["错误提示", "请输入正确的金额"]] : [])
        compare(textOf("subtotalText"), row.shown)
        window.close()
        finish()
        compare(lastSent("stockIn/add").chgSubtotal, row.sent)
        compare(garmentsOf(orderNo)[0].subtotal, row.refused ? 1700 : Number(row.sent))
    }

    // --- Change mode ---------------------------------------------------------------------------

    // A garment stored by the test: 牛仔裤 with two flaws, a colour and an add-on.
    function storedGarment() {
        var q = JSON.parse(ask("stockIn/queryOrder", { keywords: orderNo }))
        var service = JSON.parse(ask("productService/list", { productId: "10", pricingMode: "1" })).data[0].id
        var reply = JSON.parse(ask("stockIn/add", {
            orderId: String(q.data.orderInfo.id), mercBusinessId: "1", productId: "10",
            proServiceId: String(service),
            flawDesc: '[{"id":"2","name":"污渍"},{"id":"1","name":"破损"}]',
            colorDesc: '[{"id":"4","name":"红色"}]',
            addServiceDesc: '[{"id":"1","amt":"1000","name":"去渍"}]',
            chgSubtotal: "2500"
        }))
        compare(reply.httpCode, 200)
        return reply.data
    }

    function test_change_mode_data() {
        return [
            { tag: "flaws untouched", empty: false },
            { tag: "flaws emptied", empty: true }
        ]
    }
    function test_change_mode(row) {
        var stored = storedGarment()
        open(stored.scanCode)
        compare(lastSent("orderProductRel/detail").scanCode, stored.scanCode)
        tryVerify(function () { return !screen.preselecting }, 5000)
        idle()
        compare(screen.sel.project.name, "洗衣")
        compare(screen.sel.category.name, "裤装")
        compare(screen.tabs.grid("garment").selectedKeys, ["id:10"])
        compare(textOf("amountText"), "金额：20.00")
        compare(textOf("discountedText"), "折后：17.00")
        compare(textOf("addOnText"), "附加：10.00")
        compare(textOf("subtotalText"), "25.00")
        if (row.empty) {
            tab("瑕疵")
            pick("flaw", "污渍")   // out again
            tapRow("flaws:破损")
        }
        shot("chooseclothinfo-change")
        finish()
        verify(lastSent("stockIn/add") === null)
        var body = lastSent("stockIn/update")
        compare(body.id, String(stored.id))
        compare(body.flawDesc, row.empty ? "" : stored.flawDesc)
        compare(body.colorDesc, stored.colorDesc)
        compare(body.addServiceDesc, stored.addServiceDesc)
        compare(body.chgSubtotal, "2500")
        compare(body.mercBusinessId, "1")
        var g = garmentsOf(orderNo)
        compare(g.length, 1)
        compare(g[0].flawDesc, row.empty ? "[]" : stored.flawDesc)
        compare(g[0].subtotal, 2500)
    }

    // --- Saving -------------------------------------------------------------------------------

    function test_failed_save_is_sent_again_unchanged() {
        open()
        chooseJeans()
        routed.start()
        fake.setMode("truncated")
        mouseClick(findChild(screen, "finishButton"))
        tryCompare(testCase.boxes, "length", 1, 5000)
        compare(boxes[0][0], "错误提示")
        compare(savedSpy.count, 0)
        var first = sent("stockIn/add")
        compare(first.length, 1)

        TestSupport.setEnv("BRENVO_BACKEND_URL", TestSupport.backendUrl)
        screen.followUp.confirm()
        tryCompare(savedSpy, "count", 1, 5000)
        var all = sent("stockIn/add")
        compare(all.length, 2)
        compare(all[1], all[0])   // same body, timestamp and sign
        compare(garmentsOf(orderNo).length, 1)
    }

    function test_lost_reply_is_not_stored_twice() {
        open()
        chooseJeans()
        // Clicked without a turn of the event loop, so that no answer can come in before it
        // is lost.
        findChild(screen, "finishButton").clicked()
        // The garment is stored, but its reply is lost on the way.
        var out = Object.keys(screen.backend.calls)
        compare(out.length, 1)
        screen.backend.finish(Number(out[0]), "Operation canceled", true)
        tryCompare(testCase.boxes, "length", 1, 5000)
        tryVerify(function () { return garmentsOf(orderNo).length === 1 }, 5000)
        // The worker closes the box instead of confirming it, and clicks "完成" again.
        mouseClick(findChild(screen, "finishButton"))
        tryCompare(savedSpy, "count", 1, 5000)
        var all = sent("stockIn/add")
        compare(all.length, 2)
        compare(all[1], all[0])
        compare(garmentsOf(orderNo).length, 1)
    }

    function test_refused_save_is_not_sent_again() {
        open()
        pick("project", "洗衣")
        pick("category", "裤装")
        pick("garment", "牛仔裤")
        mouseClick(findChild(screen, "finishButton"))
        tryCompare(testCase.boxes, "length", 1, 5000)
        compare(boxes[0], ["错误提示", "请选择服务"])
        screen.followUp.confirm()
        idle()
        compare(sent("stockIn/add").length, 1)
        compare(savedSpy.count, 0)
        // Mended, it goes.
        pick("service", "水洗")
        finish()
        compare(garmentsOf(orderNo).length, 1)
    }

    function test_a_second_click_while_saving_sends_once() {
        open()
        chooseJeans()
        var button = findChild(screen, "finishButton")
        mouseClick(button)
        mouseClick(button)
        tryCompare(savedSpy, "count", 1, 5000)
        compare(sent("stockIn/add").length, 1)
    }
}
