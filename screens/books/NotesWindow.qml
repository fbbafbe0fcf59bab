import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "books.js" as Books

// "查看备注": the customer's remark and the order's management notes, newest first, each with
// its time and worker; a new note is added below.
PopupWindow {
    id: window
    objectName: "notesWindow"
    title: "查看备注"
    panelWidth: 560
    panelHeight: 520

    property string userRemark: ""
    // { createTime, workName, remark } each.
    property var notes: []
    readonly property alias noteField: noteField

    signal added(string text)

    function start(remark, notesText) {
        userRemark = remark
        try {
            notes = JSON.parse(notesText)
        } catch (e) {
            notes = []
        }
        open()
        noteField.forceActiveFocus()
    }

    Text {
        id: customerRemark
        objectName: "customerRemark"
        width: parent.width
        text: "客户备注：" + Books.cleanString(window.userRemark)
        wrapMode: Text.WrapAnywhere
        font.pixelSize: Theme.fontBody
        color: Theme.textRegular
    }
    ListView {
        objectName: "noteList"
        anchors.top: customerRemark.bottom
        anchors.topMargin: Theme.spacingMedium
        anchors.bottom: addRow.top
        anchors.bottomMargin: Theme.spacingMedium
        width: parent.width
        clip: true
        spacing: Theme.spacingSmall
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {}
        model: window.notes
        delegate: Text {
            required property var modelData
            width: ListView.view.width
            text: (modelData.createTime || "") + "  " + (modelData.workName || "") + "：" + (modelData.remark || "")
            wrapMode: Text.WrapAnywhere
            font.pixelSize: Theme.fontBody
            color: Theme.text
        }
    }
    Row {
        id: addRow
        anchors.bottom: parent.bottom
        spacing: Theme.spacingMedium
        TextField {
            id: noteField
            objectName: "noteField"
            width: 380
            maximumLength: 200
            placeholderText: "请输入管理备注"
        }
        Button {
            objectName: "addNoteButton"
            text: "添加\n备注"
            onClicked: {
                if (noteField.text.trim() !== "")
                    window.added(noteField.text.trim())
            }
        }
    }
}
