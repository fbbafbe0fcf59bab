import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0

// The order's slot: "配单号" asks for the number the worker gathers the order's garments
// under; "已全部配单" tells that the order's last garment has joined its slot.
PopupWindow {
    id: window
    objectName: "slotWindow"
    panelWidth: 420
    panelHeight: 240
    title: allSlotted ? "已全部配单" : "配单号"

    // The slot, once the order has one.
    property string slot: ""
    property bool allSlotted: false
    readonly property alias field: slotField

    // "确定" with a slot typed.
    signal slotTyped(string slot)

    function ask() {
        allSlotted = false
        slotField.text = ""
        open()
        slotField.forceActiveFocus()
    }

    function tellAllSlotted(slot) {
        window.slot = slot
        allSlotted = true
        open()
    }

    function confirm() {
        if (allSlotted) {
            close()
            return
        }
        var typed = slotField.text.trim()
        if (typed !== "")
            slotTyped(typed)
    }

    Column {
        anchors.fill: parent
        spacing: Theme.spacingLarge

        TextField {
            id: slotField
            objectName: "slotField"
            visible: !window.allSlotted
            width: parent.width
            placeholderText: "请输入配单号"
            font.pixelSize: Theme.fontMedium
            maximumLength: 9
            validator: RegularExpressionValidator { regularExpression: /\d*/ }
            onAccepted: window.confirm()
        }
        Text {
            objectName: "allSlottedText"
            visible: window.allSlotted
            width: parent.width
            wrapMode: Text.WordWrap
            text: "本单衣物已全部配单，配单号：" + window.slot
            font.pixelSize: Theme.fontMedium
            color: Theme.textStrong
        }
        Button {
            objectName: "slotConfirm"
            anchors.right: parent.right
            text: "确定"
            onClicked: window.confirm()
        }
    }
}
