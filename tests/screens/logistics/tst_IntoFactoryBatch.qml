import QtQuick 2.15
import QtTest 1.2
import Brenvo 1.0
import BrenvoTest 1.0
import "qrc:/"
import "../common"
import "../common/fakeroutes.js" as Routes

// A bag's contents against the reference backend: garments scanned in (twice is once),
// chosen from the waiting list, taken out, moved to another bag; the bag completed and its
// label printed. The move window's empty list against a backend of the test's own.
ScreenTestCase {
    id: testCase
    name: "IntoFactoryBatch"
    needsSignIn: true
    confirmsBoxes: false

    readonly property string pdf: "release/qrpic/123.pdf"

    SignalSpy { id: sentSpy; signalName: "reqParamsReturn" }

    function init() {
        Session.ticketPriterName = "pdf"
    }

    function open(bagId) {
        screen = Qt.createComponent("qrc:/IntoFactoryBatch.qml").createObject(host, { codeId: String(bagId) })
        verify(screen !== null)
        screen.messageBox = boxRecorder
        sentSpy.target = screen.conversation.backend.request
        settle(screen.conversation)
        return screen
    }

    // A new open bag, shown.
    function openNewBag() {
        return open(reference.data("orderProductBatchIn/add", {}).data.id)
    }

    function inBag() {
        var list = reference.data("orderProductBatchInRel/list", { inId: screen.codeId }).data.list
        return list.map(function (g) { return String(g.id) })
    }

    function scan(code) {
        screen.scanField.focusField()
        type(code)
        keyClick(Qt.Key_Return)
        compare(screen.scanField.field.text, "")
        settle(screen.conversation)
    }

    function row(garmentId) {
        var found = null
        tryVerify(function () { found = findChild(screen.garmentList, "garment_" + garmentId); return found !== null }, 5000)
        return found
    }

    // The requests the screen sent to `path` since it opened, as their fields.
    function sent(path) {
        var all = []
        for (var i = 0; i < sentSpy.count; ++i) {
            var url = sentSpy.signalArguments[i][0]
            if (url.indexOf("/mac/" + path + "?") >= 0)
                all.push(query(url))
        }
        return all
    }

    // Opening shows the bag and its garments, the action bar of an open bag, and holds the
    // keyboard in the scan field.
    function test_opening_shows_the_bag() {
        var garment = reference.waitingGarment(3, 1800)
        var bag = reference.bagOf([garment], true)
        open(bag.id)
        compare(findChild(screen, "bagCode").text, "袋号：" + bag.code)
        compare(findChild(screen, "bagTotal").text, "共1件")
        compare(findChild(screen, "bagStatus").text, "状态：等待物流人员收取")
        tryCompare(findChild(screen, "bagQr"), "status", Image.Ready, 5000)
        verify(findChild(screen, "actionBar").visible)
        verify(findChild(screen, "completeButton").visible)
        verify(!findChild(screen, "printButton").visible)
        var values = row(garment.id).values
        compare([values[1], values[2], values[4], values[5]], [garment.orderNo, garment.code, "已入袋", "18.00"])
        tryVerify(function () { return screen.scanField.field.activeFocus }, 5000)
        compare(Session.enterFlag, "NewBatch")
        shot("intofactorybatch")
    }

    // A scanned garment goes in at once; scanned again it is refused, told, and in the bag
    // once. A code the backend does not know is told and leaves the bag as it was.
    function test_scanning_twice_is_once() {
        var garment = reference.waitingGarment(3, 1500)
        openNewBag()
        scan(garment.code)
        compare(inBag(), [garment.id])
        row(garment.id)
        compare(reference.garmentStatus(garment.code), "已入袋")
        scan(garment.code)
        compare(TestSupport.boxes().length, 1)
        verify(boxes[0][1].indexOf("衣物已入袋") === 0, boxes[0][1])
        screen.followUp.confirm()
        compare(inBag(), [garment.id])
        scan("7019999999")
        compare(boxes[1], ["错误提示", "衣物不存在: 7019999999"])
        compare(inBag(), [garment.id])
        compare(screen.conversation.garments.length, 1)
    }

    // Enter on the screen, away from the field, adds what the field holds.
    function test_enter_anywhere_adds_the_scanned_code() {
        var garment = reference.waitingGarment(3, 1500)
        openNewBag()
        screen.scanField.focusField()
        type(garment.code)
        screen.forceActiveFocus()
        keyClick(Qt.Key_Return)
        settle(screen.conversation)
        compare(inBag(), [garment.id])
    }

    // "添加衣物" lists the garments waiting for a bag; the chosen ones go in and the window
    // closes.
    function test_waiting_garments_go_in() {
        var first = reference.waitingGarment(3, 1500)
        var second = reference.waitingGarment(4, 2500)
        openNewBag()
        click("addButton")
        var window = screen.waitingWindow
        verify(window.visible)
        settle(screen.conversation)
        var list = window.list
        // The newest waiting garments are on the last pages: page through.
        var firstRow = null, secondRow = null
        tryVerify(function () {
            firstRow = findChild(list, "waiting_" + first.id)
            secondRow = findChild(list, "waiting_" + second.id)
            if (firstRow !== null && secondRow !== null)
                return true
            list.positionViewAtEnd()
            list.loadMore()
            return false
        }, 10000, "the waiting garments are not listed")
        compare(sent("orderProductRel/batchInList")[0].pageSize, "10")
        list.positionViewAtIndex(list.count - 1, ListView.End)
        click(firstRow)
        click(secondRow)
        compare(findChild(window, "chosenCount").text, "已选中 2 件")
        click(findChild(window, "waitingConfirm"))
        settle(screen.conversation)
        tryCompare(window, "visible", false, 5000)
        compare(inBag().sort(), [first.id, second.id].sort())
        compare(sent("orderProductBatchInRel/addBatch")[0].orderProIds, first.id + "," + second.id)
    }

    // "移除" takes the chosen garment out: it waits for a bag again. "全选" turns every row's
    // choice over.
    function test_take_out_chosen() {
        var a = reference.waitingGarment(3, 1500)
        var b = reference.waitingGarment(3, 1600)
        var bag = reference.bagOf([a, b], true)
        open(bag.id)
        click(row(a.id))
        compare(screen.clothArray, [a.id])
        click("flipAllButton")
        compare(screen.clothArray, [b.id])
        click("takeOutButton")
        compare(screen.clothArray, [])
        settle(screen.conversation)
        compare(inBag(), [a.id])
        compare(reference.garmentStatus(b.code), "已收衣")
        compare(sent("orderProductBatchInRel/deleteBatch")[0].ids, b.id)
        // Nothing chosen: the worker is told, nothing is sent.
        click("takeOutButton")
        compare(boxes, [["提示", "请先选择衣物"]])
        compare(sent("orderProductBatchInRel/deleteBatch").length, 1)
    }

    // "移入另一批次" lists the open bags but this one and the completed ones; the first is
    // chosen, and "确定" moves the chosen garments there.
    function test_move_to_another_bag() {
        var a = reference.waitingGarment(3, 1500)
        var target = reference.bagOf([reference.waitingGarment(4, 1000)], true)
        var done = reference.bagOf([reference.waitingGarment(4, 1000)])
        var bag = reference.bagOf([a], true)
        open(bag.id)
        click(row(a.id))
        click("moveButton")
        var window = screen.moveWindow
        verify(window.visible)
        compare(window.title, "移入另一袋号")
        settle(screen.conversation)
        compare(sent("orderProductBatchIn/list")[0].pageSize, "30")
        verify(findChild(window, "bag_" + target.id) !== null)
        verify(findChild(window, "bag_" + bag.id) === null)
        verify(findChild(window, "bag_" + done.id) === null)
        click(findChild(window, "bag_" + target.id))
        compare(screen.otherBatchId, target.id)
        click(findChild(window, "bagConfirm"))
        settle(screen.conversation)
        compare(inBag(), [])
        var there = reference.data("orderProductBatchInRel/list", { inId: target.id }).data.list
        verify(there.some(function (g) { return String(g.id) === a.id }))
    }

    // With no other open bag the move window lists nothing, and "确定" sends nothing.
    function test_move_without_other_bag_sends_nothing() {
        routed.start()
        var bag = { id: 5, code: "925113001005", isFinish: 0, status: 1, statusText: "等待物流人员收取", productCnt: 1, annexCnt: 0 }
        routes = {
            "orderProductBatchIn/detail": Routes.ok(bag),
            "orderProductBatchInRel/list": Routes.ok({ list: [{ id: 77, productName: "衬衫", orderNo: "261130010001", scanCode: "7010000077",
                                                              createTime: 1700000000000, proStatusText: "已入袋", subtotal: 1500, serviceName: "水洗" }] }),
            "orderProductBatchIn/list": Routes.ok({ list: [bag, { id: 6, code: "925113001006", isFinish: 1, status: 1, productCnt: 2, annexCnt: 0 }] })
        }
        open(5)
        click(row(77))
        click("moveButton")
        tryVerify(function () { return sentTo("orderProductBatchIn/list").length === 1 && screen.conversation.backend.pending === 0 }, 5000)
        compare(screen.moveWindow.bags.count, 0)
        compare(screen.otherBatchId, "")
        click(findChild(screen.moveWindow, "bagConfirm"))
        wait(50)
        compare(sentTo("orderProductBatchInRel/shift"), [])
        compare(screen.clothArray, ["77"])
    }

    // Completed, the bag hides its actions and offers its label; the label prints to PDF with
    // a QR code that reads back as the bag's number.
    function test_completed_bag_prints_its_label() {
        var garment = reference.waitingGarment(3, 1500)
        var bag = reference.bagOf([garment], true)
        open(bag.id)
        click("completeButton")
        settle(screen.conversation)
        compare(reference.data("orderProductBatchIn/detail", { id: bag.id }).data.isFinish, 1)
        verify(!findChild(screen, "actionBar").visible)
        verify(!findChild(screen, "completeButton").visible)
        verify(findChild(screen, "printButton").visible)
        // Enter no longer scans.
        keyClick(Qt.Key_Return)
        compare(sent("orderProductBatchInRel/add").length, 0)

        TestSupport.removeFile(pdf)
        click("printButton")
        settle(screen.conversation)
        compare(TestSupport.pdfCodes(pdf, 1), ["QR-Code:" + bag.code])
        var text = TestSupport.pdfPages(pdf)[0]
        verify(text.indexOf("入厂袋号：" + bag.code) >= 0, text)
        verify(text.indexOf("共1件") >= 0, text)
        compare(boxes, [])
    }

    // "返回" tells the grid to read itself again.
    function test_back_returns_to_the_grid() {
        openNewBag()
        var returned = false
        screen.returned.connect(function () { returned = true })
        click(findChild(screen, "backButton"))
        verify(returned)
        tryVerify(function () { return closed() }, 5000)
    }

    // A bag that cannot be read closes the screen once the worker has read why.
    function test_unknown_bag_closes() {
        open(999999)
        compare(boxes, [["错误提示", "袋子不存在"]])
        var returned = false
        screen.returned.connect(function () { returned = true })
        screen.followUp.confirm()
        verify(returned)
        tryVerify(function () { return closed() }, 5000)
    }
}
