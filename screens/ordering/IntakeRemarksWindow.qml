import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0

// "查看备注": the order's management notes, newest first, each with its time and worker.
PopupWindow {
    id: window
    title: "查看备注"
    panelWidth: 560
    panelHeight: 460

    // { createTime, workName, remark } each.
    property var notes: []

    ListView {
        objectName: "remarkList"
        anchors.fill: parent
        clip: true
        spacing: Theme.spacingMedium
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {}
        model: window.notes
        delegate: Column {
            id: note
            required property var modelData
            width: ListView.view.width
            spacing: Theme.spacingTiny
            Text {
                text: (note.modelData.createTime || "") + "  " + (note.modelData.workName || "")
                font.pixelSize: Theme.fontSmall
                color: Theme.textSecondary
            }
            Text {
                width: parent.width
                text: note.modelData.remark || ""
                wrapMode: Text.WrapAnywhere
                font.pixelSize: Theme.fontBody
                color: Theme.text
            }
        }
    }
    Text {
        anchors.centerIn: parent
        visible: window.notes.length === 0
        text: "暂无备注"
        font.pixelSize: Theme.fontBody
        color: Theme.textMuted
    }
}
