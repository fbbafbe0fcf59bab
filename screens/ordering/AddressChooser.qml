import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "orderheader.js" as Header

// "选择地址": the customer's addresses, default first. "确定" hands the marked one over;
// with none marked it changes nothing.
PopupWindow {
    id: chooser
    objectName: "addressChooser"
    title: "选择地址"

    property var addresses: []
    property int marked: -1

    signal chosen(var address)

    onVisibleChanged: if (visible) marked = -1

    function confirm() {
        if (marked >= 0 && marked < addresses.length)
            chosen(addresses[marked])
        close()
    }

    ListView {
        id: list
        objectName: "addressList"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.bottom: confirmButton.top
        anchors.bottomMargin: Theme.spacingMedium
        clip: true
        spacing: Theme.spacingSmall
        model: chooser.addresses
        delegate: Rectangle {
            id: entry
            required property var modelData
            required property int index
            width: list.width
            height: 64
            radius: Theme.radiusSmall
            color: chooser.marked === index ? Theme.primaryLight : Theme.cardAlt
            border.color: chooser.marked === index ? Theme.primary : Theme.line
            Column {
                anchors.verticalCenter: parent.verticalCenter
                anchors.left: parent.left
                anchors.leftMargin: Theme.spacingMedium
                spacing: Theme.spacingSmall
                Text {
                    text: Header.addressLines(entry.modelData)[0]
                          + (String(entry.modelData.def) === "1" ? "  [默认]" : "")
                    font.pixelSize: Theme.fontBody
                    color: Theme.textStrong
                }
                Text {
                    text: Header.addressLines(entry.modelData)[1]
                    font.pixelSize: Theme.fontSmall
                    color: Theme.textSecondary
                }
            }
            MouseArea {
                anchors.fill: parent
                onClicked: chooser.marked = entry.index
            }
        }
    }
    Button {
        id: confirmButton
        objectName: "addressConfirm"
        text: "确定"
        width: 120
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        onClicked: chooser.confirm()
    }
}
