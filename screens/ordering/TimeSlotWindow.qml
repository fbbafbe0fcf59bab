import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0

// "选择取衣时间段": the service time slots; "确定" takes the clicked one.
PopupWindow {
    id: slotWindow
    objectName: "timeSlotWindow"
    title: "选择取衣时间段"
    panelHeight: 360

    // [{ timeStart, timeEnd }]
    property var slots: []
    property int marked: -1

    signal chosen(string timeStart, string timeEnd)

    onVisibleChanged: if (visible) marked = -1

    function confirm() {
        if (marked >= 0 && marked < slots.length)
            chosen(slots[marked].timeStart, slots[marked].timeEnd)
        close()
    }

    GridView {
        id: grid
        objectName: "slotGrid"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.bottom: confirmButton.top
        anchors.bottomMargin: Theme.spacingMedium
        cellWidth: 160
        cellHeight: 56
        model: slotWindow.slots
        delegate: Rectangle {
            id: cell
            required property var modelData
            required property int index
            width: 148
            height: 44
            radius: Theme.radiusSmall
            color: slotWindow.marked === index ? Theme.primary : Theme.card
            border.color: Theme.lineInput
            Text {
                anchors.centerIn: parent
                text: cell.modelData.timeStart + " - " + cell.modelData.timeEnd
                font.pixelSize: Theme.fontBody
                color: slotWindow.marked === cell.index ? Theme.textOnDark : Theme.textStrong
            }
            MouseArea {
                anchors.fill: parent
                onClicked: slotWindow.marked = cell.index
            }
        }
    }
    Button {
        id: confirmButton
        objectName: "slotConfirm"
        text: "确定"
        width: 120
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        onClicked: slotWindow.confirm()
    }
}
