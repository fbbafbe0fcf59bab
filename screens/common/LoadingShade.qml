import QtQuick 2.15
import Brenvo 1.0

// Covers a screen while its data loads, and keeps clicks off what is not ready yet.
Rectangle {
    objectName: "loadingShade"
    property alias text: label.text

    anchors.fill: parent
    color: Theme.loadingShade
    z: 20

    MouseArea { anchors.fill: parent }

    Text {
        id: label
        anchors.centerIn: parent
        text: "正在加载数据，请稍等..."
        color: Theme.textOnDark
        font.pixelSize: Theme.fontTitle
    }
}
