import QtQuick 2.15
import QtTest 1.2
import Brenvo 1.0
import BrenvoTest 1.0
import "../common"
import "qualitydemo.js" as Demo

// A garment's last steps, from the menu as a worker takes them, against the reference
// backend: member 26's suit jacket is back from the factory; "门店质检" passes it, the tab
// "上挂" switches to the rail through the menu, where it is hung; "取衣" then hands it to the
// customer. The backend is read after each step.
ScreenTestCase {
    id: testCase
    name: "QualityRoad"
    needsSignIn: true

    function find(within, name) {
        var found = null
        tryVerify(function () { found = findChild(within, name); return found !== null }, 5000, name)
        return found
    }

    function scanInto(field, code) {
        field.focusField()
        type(String(code))
        keyClick(Qt.Key_Return)
    }

    function garmentNow(order, garment) {
        return Demo.garment(Demo.now(reference, order.orderNo), garment.scanCode)
    }

    function test_checked_hung_and_handed_out() {
        Session.iniRegister = "0"
        Session.ischecks = "1"
        Session.qualityFlagM = "0"
        Session.certificatePrinterName = "无"
        var order = Demo.order(reference, 26)
        verify(order !== null, "no demo order of member 26")
        var jacket = Demo.garments(order)[0]
        compare(Number(jacket.statusVal), 19)

        var menu = Qt.createComponent("qrc:/Menu.qml").createObject(host)
        verify(menu !== null)
        screen = menu
        settle(find(menu, "menuBackend"))
        // Under the menu something holds the keyboard, as the left bar does in the main window.
        menu.forceActiveFocus()
        var menuFlag = Session.enterFlag

        // The check: "合格".
        click(find(menu, "entry_534"))
        var quality = find(menu, "qualityTest")
        compare(Session.enterFlag, "Quality")
        scanInto(quality.scanField, jacket.scanCode)
        settle(quality.conversation)
        click(item("passButton", quality))
        settle(quality.conversation)
        compare(Number(garmentNow(order, jacket).statusVal), 60)
        compare(Number(garmentNow(order, jacket).isPackaged), 1)

        // "上挂": the menu swaps the check for the rail, which has the keyboard.
        click(item("hangUpTab", quality))
        var rail = find(menu, "HangUp")
        tryVerify(function () { return findChild(menu, "qualityTest") === null }, 5000, "the check is still open")
        compare(Session.enterFlag, "HangUp")
        tryVerify(function () { return rail.scanField.field.activeFocus }, 2000, "the rail's scan field has no keyboard")
        scanInto(rail.scanField, jacket.scanCode)
        settle(rail.conversation)
        var row = item("garment_" + jacket.scanCode, rail)
        verify(row.open)
        tryVerify(function () { return item("railField", row).activeFocus }, 2000)
        type("51")
        keyClick(Qt.Key_Return)
        settle(rail.conversation)
        compare(Number(garmentNow(order, jacket).statusVal), 25)
        compare(String(garmentNow(order, jacket).storeShelfNo), "51")
        verify(item("allHungText", rail).visible)
        click(item("backButton", rail))
        tryVerify(function () { return findChild(menu, "HangUp") === null }, 5000)
        compare(Session.enterFlag, menuFlag)
        verify(menu.activeFocus, "the keyboard is back under the menu")

        // "取衣": the customer's order, handed out whole.
        click(find(menu, "entry_526"))
        var pickUp = find(menu, "TakeCloth")
        item("searchField", pickUp).forceActiveFocus()
        type("13912340026")
        keyClick(Qt.Key_Return)
        var list = find(pickUp, "TakeClothList")
        tryCompare(list.orders, "loading", false, 5000)
        list.openOrder(order.orderId)
        var view = list.orderView
        tryCompare(view.conversation, "loading", false, 5000)
        verify(item("signAllButton", view).visible, "the counter does not offer the garment")
        click(item("signAllButton", view))
        tryVerify(function () { return Number(garmentNow(order, jacket).statusVal) === 40 }, 5000)
        var after = Demo.now(reference, order.orderNo)
        compare(after.statusText, "已取衣")
        compare(String(Demo.garment(after, jacket.scanCode).storeShelfNo), "0")
        compare(TestSupport.boxes().length, 0)
    }
}
