import QtQuick 2.15
import QtTest 1.2
import Brenvo 1.0
import BrenvoTest 1.0
import "../common"
import "qualitydemo.js" as Demo

// The rail against the reference backend, on the demo orders passed and waiting for it
// (members 24 and 25): the scanned garment's rail input opens by itself, another opens with a
// click on its position, "整单上挂" sends its number as `stoerShelfNo`, "已操作【上挂】" once
// nothing waits, a position held by another garment is refused, the ticket, a code that finds
// nothing, and the tab "质检". After each hang-up the test reads the backend.
ScreenTestCase {
    id: testCase
    name: "HangUp"
    needsSignIn: true

    readonly property string pdf: "release/qrpic/123.pdf"

    SignalSpy { id: sentSpy; signalName: "reqParamsReturn" }

    function init() {
        Session.ticketPriterName = "pdf"
        Session.printetype = "0"
        TestSupport.removeFile(pdf)
    }

    // --- Helpers ---------------------------------------------------------------------------

    function demoOrder(n) {
        var order = Demo.order(reference, n)
        verify(order !== null, "no demo order of member " + n)
        return order
    }

    // The garment's rail position as the backend holds it now.
    function positionNow(order, garment) {
        return String(Demo.garment(Demo.now(reference, order.orderNo), garment.scanCode).storeShelfNo)
    }

    function open() {
        screen = Qt.createComponent("qrc:/HangUp.qml").createObject(host)
        verify(screen !== null)
        return screen
    }

    function scan(code) {
        screen.scanField.focusField()
        type(String(code))
        keyClick(Qt.Key_Return)
        settle(screen.conversation)
    }

    function row(garment) {
        return item("garment_" + garment.scanCode, screen.garmentList)
    }

    // The rail number typed into the open input, then Enter.
    function typeRail(number) {
        type(number)
        keyClick(Qt.Key_Return)
        settle(screen.conversation)
    }

    // --- Tests -----------------------------------------------------------------------------

    // The scanned garment waits for a position: its input is open and has the keyboard. Hung,
    // it shows its position and nothing opens by itself, not even when it is scanned again;
    // the other garment opens with a click on its position, and once it hangs too the order
    // is all on the rail. Accessories are counted, not listed.
    function test_scanned_garment_opens_its_rail_input() {
        var order = demoOrder(24)
        var pieces = Demo.garments(order)
        open()
        scan(pieces[0].scanCode)
        compare(screen.garmentList.count, 2)
        compare(item("countText").text, "件数：2件衣服，1件附件")
        verify(row(pieces[0]).open)
        tryVerify(function () { return item("railField", row(pieces[0])).activeFocus }, 2000, "the rail input has no keyboard")
        verify(!row(pieces[1]).open)
        compare(item("position", row(pieces[1])).text, "未上挂")
        verify(!item("allHungText").visible)
        shot("hangup-open")

        typeRail("41")
        compare(positionNow(order, pieces[0]), "41")
        compare(Number(Demo.garment(Demo.now(reference, order.orderNo), pieces[0].scanCode).statusVal), 25)
        compare(screen.openRowId, "")
        compare(item("position", row(pieces[0])).text, "41")
        compare(item("railType", row(pieces[0])).text, "输轨")
        verify(!item("allHungText").visible)

        scan(pieces[0].scanCode)
        compare(screen.openRowId, "")
        compare(item("position", row(pieces[0])).text, "41")

        // "确定" with nothing typed closes the input again.
        click(item("position", row(pieces[1])))
        verify(row(pieces[1]).open)
        click(item("railConfirm", row(pieces[1])))
        verify(!row(pieces[1]).open)

        click(item("position", row(pieces[1])))
        tryVerify(function () { return item("railField", row(pieces[1])).activeFocus }, 2000, "the rail input has no keyboard")
        typeRail("42")
        compare(positionNow(order, pieces[1]), "42")
        verify(item("allHungText").visible)
        compare(TestSupport.boxes().length, 0)
    }

    // "整单上挂" hangs the order from one number on; the number goes as `stoerShelfNo`.
    function test_whole_order_from_one_number() {
        var order = demoOrder(25)
        var pieces = Demo.garments(order)
        open()
        sentSpy.target = screen.conversation.backend.request
        scan(pieces[0].scanCode)
        click("wholeOrderButton")
        compare(screen.openRowId, "")
        verify(item("wholeOrderField").activeFocus)
        typeRail("44")
        compare(positionNow(order, pieces[0]), "44")
        compare(positionNow(order, pieces[1]), "45")
        verify(item("allHungText").visible)
        var shelf = []
        for (var i = 0; i < sentSpy.count; ++i)
            if (sentSpy.signalArguments[i][0].indexOf("orderProductRel/orderShelf") >= 0)
                shelf.push(sentSpy.signalArguments[i][0])
        compare(shelf.length, 1)
        var fields = query(shelf[0])
        compare(fields.stoerShelfNo, "44")
        compare(fields.storeShelfNo, undefined)
        compare(fields.orderId, String(order.orderId))
    }

    // A position another garment holds: the worker is told why, and nothing moves.
    function test_taken_position_is_refused() {
        var order = demoOrder(25)
        var garment = Demo.garments(order)[1]
        var before = positionNow(order, garment)
        open()
        scan(garment.scanCode)
        // Not hung yet, its input is open; hung by another test, a click opens it.
        if (!row(garment).open)
            click(item("position", row(garment)))
        tryVerify(function () { return item("railField", row(garment)).activeFocus }, 2000, "the rail input has no keyboard")
        typeRail("1")
        compare(TestSupport.boxes().length, 1)
        compare(TestSupport.boxes()[0][1], "错误提示")
        compare(TestSupport.boxes()[0][2], "挂点已有衣物: 1")
        compare(positionNow(order, garment), before)
    }

    // "打小票" prints the order's ticket; a code that finds nothing says why and keeps the order
    // shown.
    function test_ticket_and_a_code_that_finds_nothing() {
        var order = demoOrder(24)
        open()
        scan(Demo.garments(order)[0].scanCode)
        click("ticketButton")
        tryVerify(function () { return TestSupport.exists(pdf) }, 5000, "no ticket printed")
        verify(TestSupport.pdfPages(pdf).join("").indexOf(order.orderNo) >= 0)

        scan("7019999999")
        compare(item("searchNotice").text, "订单不存在")
        compare(TestSupport.boxes().length, 0)
        verify(item("orderBlock").visible)
        compare(screen.conversation.order.orderNo, order.orderNo)
    }

    // "质检" asks the menu for the quality check and closes the rail.
    function test_quality_tab() {
        open()
        var asked = 0
        screen.toquality.connect(function () { ++asked })
        click("qualityTab")
        compare(asked, 1)
        tryVerify(function () { return closed() }, 2000)
    }
}
