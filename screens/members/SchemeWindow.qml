import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "recharge.js" as Recharge

// "活动方案充值": the merchant's offers. A click marks one; "确定" makes it the amount to pay.
// Closed without "确定", nothing changes: the amount shown stays the amount charged.
PopupWindow {
    id: schemeWindow
    objectName: "schemeWindow"
    title: "活动方案充值"
    panelWidth: 640
    panelHeight: 480

    property var schemes: []
    property int marked: -1

    signal chosen(int index)

    function openAt(index) {
        marked = index
        open()
    }

    ListView {
        id: list
        objectName: "schemeList"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.bottom: confirmButton.top
        anchors.bottomMargin: Theme.spacingMedium
        clip: true
        spacing: Theme.spacingSmall
        model: schemeWindow.schemes
        delegate: Rectangle {
            id: entry
            required property var modelData
            required property int index
            objectName: "scheme_" + index
            width: list.width
            height: 64
            radius: Theme.radiusMedium
            color: schemeWindow.marked === index ? Theme.selected : Theme.cardAlt
            border.color: schemeWindow.marked === index ? Theme.primary : Theme.line
            Column {
                anchors.verticalCenter: parent.verticalCenter
                x: Theme.spacingMedium
                spacing: Theme.spacingTiny
                Text {
                    text: entry.modelData.name + "  " + Recharge.schemeText(entry.modelData)
                    font.pixelSize: Theme.fontMedium
                    color: Theme.text
                }
                Text {
                    visible: text !== ""
                    text: Recharge.extrasText(entry.modelData)
                    font.pixelSize: Theme.fontSmall
                    color: Theme.warning
                }
            }
            MouseArea { anchors.fill: parent; onClicked: schemeWindow.marked = entry.index }
        }
    }
    Button {
        id: confirmButton
        objectName: "schemeConfirm"
        text: "确定"
        highlighted: true
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        onClicked: {
            if (schemeWindow.marked >= 0)
                schemeWindow.chosen(schemeWindow.marked)
            schemeWindow.close()
        }
    }
}
