import QtQuick 2.15
import QtTest 1.2

TestCase {
    name: "SessionTimeout"
    when: windowShown

    property var dialog: null

    function init() {
        dialog = Qt.createComponent("qrc:/SessionTimeout.qml").createObject(null)
        verify(dialog !== null)
    }

    function cleanup() {
        dialog.close()
        dialog.destroy()
    }

    function test_only_401_opens_the_dialog_data() {
        return [
            { tag: "401 as a number", code: 401, opens: true },
            { tag: "401 as text", code: "401", opens: true },
            { tag: "200", code: "200", opens: false },
            { tag: "network error text", code: "Connection refused", opens: false },
            { tag: "empty", code: "", opens: false }
        ]
    }

    function test_only_401_opens_the_dialog(row) {
        compare(dialog.check(row.code), row.opens)
        compare(dialog.visible, row.opens)
    }

    function test_texts() {
        compare(dialog.title, "登录超时")
        compare(dialog.text, "您长时间没有操作，请重新登录")
    }
}
