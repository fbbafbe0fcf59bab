import QtQuick 2.15
import QtTest 1.2
import "qrc:/"

// "确定" and "取消" stand the same way round in every pop-up window that offers both: "确定"
// first, on the same line, the pair from the one shared row.
ScreenTestCase {
    id: testCase
    name: "WindowButtons"

    function test_confirm_before_cancel_data() {
        return ["AmountWindow", "ChoiceWindow", "GradeWindow", "BagChoiceWindow", "CreditWindow",
                "RefundWindow"].map(function (name) { return { tag: name, file: "qrc:/" + name + ".qml" } })
    }

    // The buttons below `item` whose text is `text`.
    function buttons(item, text) {
        var found = []
        for (var i = 0; i < item.children.length; ++i) {
            var child = item.children[i]
            if (child.text === text && child.clicked !== undefined)
                found.push(child)
            found = found.concat(buttons(child, text))
        }
        return found
    }

    function test_confirm_before_cancel(row) {
        var component = Qt.createComponent(row.file)
        compare(component.status, Component.Ready, component.errorString())
        var window = component.createObject(host)
        verify(window !== null)
        window.open()
        waitForRendering(window)
        var confirm = buttons(window, "确定")
        var cancel = buttons(window, "取消")
        compare([confirm.length, cancel.length], [1, 1])
        verify(confirm[0].visible && cancel[0].visible)
        verify(confirm[0].parent === cancel[0].parent && confirm[0].parent.confirmName !== undefined,
               "not the shared button row")
        var c = confirm[0].mapToItem(null, 0, 0)
        var x = cancel[0].mapToItem(null, 0, 0)
        compare(c.y, x.y)
        verify(c.x + confirm[0].width <= x.x, "确定 at " + c.x + ", 取消 at " + x.x)
        verify(confirm[0].highlighted)
        window.destroy()
    }
}
