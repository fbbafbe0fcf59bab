import QtQuick 2.15
import Brenvo 1.0

// A row of the settings screen: its label on the left and a divider under it; a clickable row
// shows when it is pressed. What the row shows on the right are its children.
Rectangle {
    id: row

    property alias label: labelText.text
    property alias labelColor: labelText.color
    property alias labelWidth: labelText.width
    property bool clickable: true

    signal clicked()

    height: 56
    color: clickable && area.pressed ? Theme.selected : Theme.card

    Text {
        id: labelText
        x: Theme.spacingLarge
        anchors.verticalCenter: parent.verticalCenter
        font.pixelSize: Theme.fontMedium
        color: Theme.text
    }

    Rectangle {
        anchors.bottom: parent.bottom
        x: Theme.spacingLarge
        width: parent.width - 40
        height: 1
        color: Theme.divider
    }

    MouseArea {
        id: area
        anchors.fill: parent
        enabled: row.clickable
        onClicked: row.clicked()
    }
}
