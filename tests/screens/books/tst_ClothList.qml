import QtQuick 2.15
import QtTest 1.2
import Brenvo 1.0
import BrenvoTest 1.0
import "qrc:/"
import "qrc:/books.js" as Books
import "../common"
import "../common/fakeroutes.js" as Routes

// The garment list and a garment's details. What the filters and the code search send, the
// paging and a failed list against a backend answering as each test says; binding a label, the
// screens a row opens and the details against the reference backend, on orders the test makes.
ScreenTestCase {
    id: testCase
    name: "ClothList"
    needsSignIn: true

    function init() {
        Session.isElectronicLabel = 0
        Session.washPrinterName = "pdf"
    }

    function open() {
        screen = Qt.createComponent("qrc:/ClothList.qml").createObject(host, {})
        verify(screen !== null)
        tryCompare(screen.conversation, "loading", false, 5000)
        return screen
    }

    function daysBack(n) {
        var d = new Date()
        return Books.dateText(new Date(d.getFullYear(), d.getMonth(), d.getDate() - n))
    }

    function sentFields(body) {
        var out = {}
        for (var k in body)
            if (["serialNum", "timestamp", "appSecret", "accessToken"].indexOf(k) < 0)
                out[k] = body[k]
        return out
    }

    function choose(filter, text) {
        click(filter + "Button")
        var popup = item(filter).popup
        tryCompare(popup, "opened", true, 5000)
        var choice = null
        tryVerify(function () { choice = findChild(popup.contentItem, "choice_" + text); return choice !== null }, 5000)
        click(choice)
    }

    function search(code) {
        screen.searchField.field.text = code
        click(item("scanButton", screen.searchField))
        tryCompare(screen.conversation, "loading", false, 5000)
    }

    // The row of garment `id`, once the list has made it.
    function row(id) {
        var list = screen.list
        for (var i = 0; i < list.count; ++i) {
            if (String(list.model.get(i).id) !== String(id))
                continue
            list.positionViewAtIndex(i, ListView.Beginning)
            return rowAt(list, i)
        }
        return null
    }

    // --- Against the test's own backend -------------------------------------------------

    function garment(id) {
        return { id: id, type: 1, productName: "衬衫", serviceName: "水洗", subtotal: 1800, scanCode: "70100000" + (10 + id),
                 orderNo: "260301010007", orderId: 7, userJson: '{"n":"王芳","p":"13912340007"}', grade: 0,
                 createTime: 1772330000000, batchInCode: "", factoryName: "", batchOutCode: "", statusText: "已收衣",
                 tranTypeText: "", tranNum: "", tranTypeName: "", storeShelfNo: 0, bindCode: "", isEnableBindCode: 1 }
    }

    // Pages of these sizes (the last one repeats).
    function useFake(sizes) {
        routed.start()
        routes = {
            "orderProductRel/proList": function (body) {
                var n = Number(body.pageNum)
                var list = []
                for (var i = 0; i < sizes[Math.min(n, sizes.length) - 1]; ++i)
                    list.push(garment((n - 1) * 10 + i + 1))
                return Routes.ok({ list: list })
            },
            "orderProductRel/status/list": Routes.ok([{ text: "已收衣", val: 10 }, { text: "已上挂", val: 25 }]),
            "factory/merc/list": Routes.ok([{ id: 1, name: "中央工厂" }, { id: 2, name: "皮具中心" }]),
            "orderProductRel/bindCode": Routes.ok({})
        }
    }

    // Opening lists the last 30 days; a factory chosen while "全部状态" is shown sends no
    // status, and no dates; a time choice keeps the status and factory; a code goes alone.
    function test_filters_send_only_what_is_set() {
        useFake([2])
        open()
        compare(Session.enterFlag, "ClothList")
        choose("factoryFilter", "皮具中心")
        tryVerify(function () { return sentTo("orderProductRel/proList").length === 2 }, 5000)
        compare(screen.timeFilter.choice, "所有")
        choose("statusFilter", "已上挂")
        tryVerify(function () { return sentTo("orderProductRel/proList").length === 3 }, 5000)
        click(item("time_近7天", screen.timeFilter))
        tryVerify(function () { return sentTo("orderProductRel/proList").length === 4 }, 5000)
        search("7010000011")
        tryVerify(function () { return sentTo("orderProductRel/proList").length === 5 }, 5000)
        compare(sentTo("orderProductRel/status/list").length, 1)
        compare(sentTo("factory/merc/list").length, 1)

        function page1(more) { var o = { pageNum: "1", pageSize: "10" }; for (var k in more) o[k] = more[k]; return o }
        compare(sentTo("orderProductRel/proList").map(sentFields), [
            page1({ startDate: daysBack(30), endDate: daysBack(0) }),
            page1({ factoryId: "2" }),
            page1({ factoryId: "2", proStatusVal: "25" }),
            page1({ factoryId: "2", proStatusVal: "25", startDate: daysBack(7), endDate: daysBack(0) }),
            page1({ keywords: "7010000011" })
        ])
        // The filters' choices are read once.
        choose("statusFilter", "全部状态")
        tryVerify(function () { return sentTo("orderProductRel/proList").length === 6 }, 5000)
        compare(sentTo("orderProductRel/status/list").length, 1)
        compare(sentFields(sentTo("orderProductRel/proList")[5]), page1({ factoryId: "2" }))
    }

    // A page of 10 lets the list ask for one more, one of 9 does not; the next pages keep
    // what filled the list, a searched code too.
    function test_paging_stops_at_a_short_page_data() {
        return [
            { tag: "10 then 9", sizes: [10, 9], asked: 2, rows: 19 },
            { tag: "9", sizes: [9], asked: 1, rows: 9 }
        ]
    }
    function test_paging_stops_at_a_short_page(row_) {
        useFake(row_.sizes)
        open()
        search("260301010007")
        for (var i = 0; i < 3; ++i) {
            screen.list.positionViewAtEnd()
            screen.list.loadMore()
            tryCompare(screen.conversation, "loading", false, 5000)
        }
        var pages = sentTo("orderProductRel/proList").slice(1)
        compare(pages.length, row_.asked)
        pages.forEach(function (b) { compare(b.keywords, "260301010007") })
        compare(screen.list.count, row_.rows)
    }

    // After a label is bound while three pages are shown, the list shows page 1 only.
    function test_binding_reloads_page_one() {
        Session.isElectronicLabel = 1
        useFake([10, 10, 10, 0])
        open()
        screen.list.loadMore()
        tryCompare(screen.conversation, "loading", false, 5000)
        screen.list.loadMore()
        tryCompare(screen.conversation, "loading", false, 5000)
        compare(screen.list.count, 30)
        screen.list.positionViewAtBeginning()
        click(findChild(row(1), "bindButton"))
        verify(screen.bindWindow.visible)
        item("bindCodeField", screen.bindWindow).text = "e0040150a1b2c3d5"
        click(item("bindConfirm", screen.bindWindow))
        tryVerify(function () { return !screen.bindWindow.visible }, 5000)
        tryCompare(screen.conversation, "loading", false, 5000)
        compare(screen.list.count, 10)
        compare(screen.list.page, 1)
        compare(sentFields(sentTo("orderProductRel/bindCode")[0]), { id: "1", bindCode: "e0040150a1b2c3d5" })
    }

    // A label the backend refuses is told; the window stays and the list is not read again.
    function test_refused_label() {
        Session.isElectronicLabel = 1
        useFake([1])
        routes["orderProductRel/bindCode"] = Routes.refused(409, "该标签已绑定其他衣物")
        open()
        click(findChild(row(1), "bindButton"))
        item("bindCodeField", screen.bindWindow).text = "e0040150a1b2c3d7"
        click(item("bindConfirm", screen.bindWindow))
        tryVerify(function () { return boxes.length === 1 }, 5000)
        compare(boxes[0], ["错误提示", "该标签已绑定其他衣物"])
        verify(screen.bindWindow.visible)
        compare(sentTo("orderProductRel/proList").length, 1)
    }

    // A list the backend refuses is told, and the screen closes once the worker confirms.
    function test_failed_list_closes_the_screen() {
        useFake([1])
        routes["orderProductRel/proList"] = Routes.refused(500, "服务器忙")
        screen = Qt.createComponent("qrc:/ClothList.qml").createObject(host, {})
        tryVerify(function () { return closed() }, 5000)
        compare(boxes, [["错误提示", "服务器忙"]])
    }

    // No label printer: told, and nothing is asked for.
    function test_label_without_printer() {
        Session.washPrinterName = ""
        useFake([1])
        open()
        click(findChild(row(1), "printLabelButton"))
        compare(boxes, [["错误提示", "未设置水洗标打印机"]])
        compare(sentTo("print/product/detail").length, 0)
    }

    // A garment's photos: the first one large; it opens the photo window, whose arrows step.
    function test_photos() {
        routed.start()
        routes = { "orderProductRel/detail": Routes.ok({
            productInfo: { productName: "衬衫", scanCode: "7010000011", statusText: "已上挂", total: 2, type: 1,
                           serviceName: "水洗", colorDesc: '[{"id":"1","name":"黑色"}]', serviceAmt: 1800,
                           subtotal: 1800, flawDesc: "[]", addServiceDesc: "[]", bindCode: "",
                           tranTypeName: "滑轨", storeShelfNo: 12, tranTypeText: "滑轨", tranNum: "12" },
            user: { info: { name: "王芳", phone: "13912340007", wxId: "-1" }, card: { no: "VIP0007", rfidNo: "" } },
            statusList: [], productImgList: [{ cameraImg: "qrc:/icon/icon/done.png" },
                                             { cameraImg: "qrc:/icon/icon/grayhead.png" }] }) }
        screen = Qt.createComponent("qrc:/ClothDetails.qml").createObject(host, { idofCloth: "7010000011" })
        tryCompare(screen.conversation, "loading", false, 5000)
        compare(item("serviceLine").text, "水洗 黑色 ¥:18.00元")
        compare(item("railLine").text, "输轨12")
        click(item("section_照片"))
        click(inSight(item("detailsPage"), "firstPhoto"))
        verify(screen.photoWindow.visible)
        compare(screen.photoWindow.current, 0)
        click(item("nextPhoto", screen.photoWindow))
        compare(screen.photoWindow.current, 1)
        click(item("nextPhoto", screen.photoWindow))
        compare(screen.photoWindow.current, 0)
        click(item("photoBack", screen.photoWindow))
        verify(!screen.photoWindow.visible)
    }

    // --- Against the reference backend ----------------------------------------------------

    // An order of member `userId` with one garment; { id, number, garment, code }.
    function newGarment(userId) {
        var order = reference.newOrder(userId, 1800)
        var rows = reference.data("stockIn/queryOrder", { keywords: order.number }).data.proList
        order.garment = String(rows[0].id)
        order.code = rows[0].scanCode
        return order
    }

    // "绑标" puts the label on the garment; the row shows "已绑" once the list is read again.
    function test_bind_a_label() {
        Session.isElectronicLabel = 1
        var order = newGarment(26)
        open()
        search(order.number)
        compare(screen.list.count, 1)
        compare(findChild(row(order.garment), "bindButton").text, "绑标")
        click(findChild(row(order.garment), "bindButton"))
        item("bindCodeField", screen.bindWindow).text = "e0040150a1b2c3d6"
        click(item("bindConfirm", screen.bindWindow))
        tryVerify(function () { return !screen.bindWindow.visible }, 5000)
        tryCompare(screen.conversation, "loading", false, 5000)
        compare(reference.data("orderProductRel/detail", { scanCode: order.code }).data.productInfo.bindCode,
                "e0040150a1b2c3d6")
        compare(findChild(row(order.garment), "bindButton").text, "已绑")
        compare(findChild(row(order.garment), "bindCodeText").text, "绑标：e0040150a1b2c3d6")
        shot("cloth-list")
    }

    // The code opens the garment's details, the order number the order's; both go back to
    // the list as it was.
    function test_details_from_a_row_data() {
        return [
            { tag: "garment", link: "codeLink", opens: "ClothDetails", back: "backToListButton" },
            { tag: "order", link: "orderLink", opens: "OrderDetails", back: "backToListButton" }
        ]
    }
    function test_details_from_a_row(row_) {
        var order = newGarment(27)
        open()
        search(order.number)
        click(findChild(row(order.garment), row_.link))
        var opened = null
        tryVerify(function () { opened = findChild(screen, row_.opens); return opened !== null }, 5000)
        compare(opened.toOrderFlag, "ClothList")
        if (row_.opens === "ClothDetails")
            compare(opened.idofCloth, order.code)
        else
            compare(opened.orderId, order.id)
        tryVerify(function () { var s = findChild(opened, "loadingShade"); return s === null || !s.visible }, 5000)
        click(findChild(opened, row_.back))
        tryVerify(function () { return findChild(screen, row_.opens) === null }, 5000)
        compare(screen.list.count, 1)
    }

    // A garment's details: its order and store, its price, its customer (with no RFID card,
    // the member card), its road.
    function test_garment_details() {
        var order = newGarment(6)
        screen = Qt.createComponent("qrc:/ClothDetails.qml").createObject(host, { idofCloth: order.code })
        tryCompare(screen.conversation, "loading", false, 5000)
        compare(item("scanCodeValue").text, order.code)
        compare(item("orderNoValue").text, order.number)
        compare(item("storeNameValue").text, "净衣坊·徐汇店")
        compare(item("statusTextValue").text, "已收衣")
        compare(item("pieceCount").text, "该订单共有1衣物")
        compare(item("subtotalLine").text, "小计：¥18.00")
        compare(item("memberCardValue").text, "VIP0006")
        compare(item("customerPhoneValue").text, "13912340006")
        verify(!item("bindWechat").visible)
        compare(screen.conversation.track.length, 1)
        compare(screen.conversation.track[0].statusText, "已收衣")
        // A section button brings its section into sight.
        click(item("section_照片"))
        var photos = item("photoSection")
        var at = photos.mapToItem(item("detailsPage"), 0, 0).y
        verify(at >= 0 && at < item("detailsPage").height, "the photos are at " + at)
        shot("cloth-details")
        click("backToListButton")
        tryVerify(function () { return closed() }, 5000)
    }

    // A garment the backend does not know leaves the details empty, and tells nothing.
    function test_unknown_garment_stays_empty() {
        screen = Qt.createComponent("qrc:/ClothDetails.qml").createObject(host, { idofCloth: "7019999999" })
        tryCompare(screen.conversation, "loading", false, 5000)
        compare(item("scanCodeValue").text, "")
        compare(boxes, [])
    }

    // The pick-up view opens the garment's details from its code.
    function test_pickup_view_opens_the_details() {
        var order = newGarment(28)
        screen = Qt.createComponent("qrc:/TakeClothOrderInfo.qml").createObject(host,
                     { orderId: order.id, userId: "28", screenHost: host, width: 1000, height: 860 })
        tryCompare(screen.conversation, "loading", false, 5000)
        var code = null
        var garmentRow = item("garment_" + order.garment)
        tryVerify(function () {
            code = null
            var stack = [garmentRow]
            while (stack.length > 0 && code === null) {
                var it = stack.pop()
                if (it.text === "条码：" + order.code)
                    code = it
                for (var c = 0; c < it.children.length; ++c)
                    stack.push(it.children[c])
            }
            return code !== null
        }, 5000)
        mouseClick(code)
        var details = null
        tryVerify(function () { details = findChild(host, "ClothDetails"); return details !== null }, 5000)
        compare(details.idofCloth, order.code)
        tryCompare(details.conversation, "loading", false, 5000)
        compare(findChild(details, "orderNoValue").text, order.number)
    }
}
