import QtQuick 2.15
import Brenvo 1.0

// A text that acts when clicked: the light actions of the factory road's screens (a bag
// card's "打印袋号", "删除", "批次完成"; clearing a search), where a page holds many of them
// and a button each would weigh on it.
Text {
    id: link

    property color tint: Theme.primary

    signal clicked()

    font.pixelSize: Theme.fontNormal
    color: area.pressed ? Theme.actionPressed : tint

    MouseArea {
        id: area
        anchors.fill: parent
        anchors.margins: -Theme.spacingTiny
        cursorShape: Qt.PointingHandCursor
        onClicked: link.clicked()
    }
}
