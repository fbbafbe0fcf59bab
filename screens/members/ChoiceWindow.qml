import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0

// A list to pick one entry from (the new member's card level or group): a click marks an
// entry, "确定" hands the marked one over, "取消" or closing changes nothing.
PopupWindow {
    id: choiceWindow
    panelWidth: 800
    panelHeight: 400

    // [{ id, label }]
    property var entries: []
    property string markedId: ""

    signal chosen(string id, string label)

    function openAt(id) {
        markedId = id
        open()
    }

    function confirm() {
        for (var i = 0; i < entries.length; ++i)
            if (entries[i].id === markedId) {
                chosen(entries[i].id, entries[i].label)
                close()
                return
            }
        close()
    }

    GridView {
        id: grid
        objectName: "choiceList"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.bottom: buttons.top
        anchors.bottomMargin: Theme.spacingMedium
        clip: true
        cellWidth: 250
        cellHeight: 48
        model: choiceWindow.entries
        delegate: RadioDelegate {
            required property var modelData
            objectName: "choice_" + modelData.id
            width: grid.cellWidth - Theme.spacingSmall
            text: modelData.label
            checked: choiceWindow.markedId === modelData.id
            onClicked: choiceWindow.markedId = modelData.id
        }
    }
    WindowButtons {
        id: buttons
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        confirmName: "choiceConfirm"
        cancelName: "choiceCancel"
        onConfirmed: choiceWindow.confirm()
        onCancelled: choiceWindow.close()
    }
}
