import QtQuick 2.15
import QtGraphicalEffects 1.0

// A picture cut to a rounded rectangle (a circle when `radius` is half the width).
Item {
    id: round

    property alias source: picture.source
    property real radius: width / 2

    Image {
        id: picture
        anchors.fill: parent
        visible: false
        fillMode: Image.PreserveAspectCrop
    }
    Rectangle {
        id: mask
        anchors.fill: parent
        radius: round.radius
        visible: false
    }
    OpacityMask {
        anchors.fill: parent
        source: picture
        maskSource: mask
    }
}
