import QtQuick 2.15
import Brenvo 1.0

// One of the settings screen's six section buttons: blue with white text while its section
// is shown, plain otherwise.
Rectangle {
    id: button

    property string label
    property string icon
    property bool selected: false

    signal clicked()

    width: 200
    height: 56
    color: selected ? Theme.action : Theme.card

    Image {
        id: iconImage
        x: Theme.spacingLarge
        width: 24
        height: 24
        anchors.verticalCenter: parent.verticalCenter
        source: button.icon
        sourceSize: Qt.size(24, 24)
    }

    Text {
        anchors.left: iconImage.right
        anchors.leftMargin: Theme.spacingMedium
        anchors.verticalCenter: parent.verticalCenter
        text: button.label
        font.pixelSize: Theme.fontMedium
        color: button.selected ? Theme.textOnDark : Theme.text
    }

    MouseArea {
        anchors.fill: parent
        onClicked: button.clicked()
    }
}
