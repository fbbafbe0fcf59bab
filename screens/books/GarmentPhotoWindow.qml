import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0

// "衣物照片": a garment's photos one at a time, stepped through by the arrows or the
// thumbnails below; "返回" closes it.
PopupWindow {
    id: window
    objectName: "photoViewer"
    title: "衣物照片"
    panelWidth: 860
    panelHeight: 700

    // The photos' addresses.
    property var photos: []
    property int current: 0

    function show(index) {
        current = Math.max(0, Math.min(index, photos.length - 1))
        open()
    }

    function step(by) {
        if (photos.length > 0)
            current = (current + by + photos.length) % photos.length
    }

    Image {
        objectName: "photoShown"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.bottom: thumbnails.top
        anchors.bottomMargin: Theme.spacingMedium
        anchors.leftMargin: 50
        anchors.rightMargin: 50
        fillMode: Image.PreserveAspectFit
        asynchronous: true
        source: window.photos.length > 0 ? window.photos[window.current] : ""
    }
    Button {
        objectName: "previousPhoto"
        anchors.left: parent.left
        anchors.verticalCenter: parent.verticalCenter
        width: 40
        text: "‹"
        onClicked: window.step(-1)
    }
    Button {
        objectName: "nextPhoto"
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        width: 40
        text: "›"
        onClicked: window.step(1)
    }
    Row {
        id: thumbnails
        anchors.bottom: back.top
        anchors.bottomMargin: Theme.spacingMedium
        anchors.horizontalCenter: parent.horizontalCenter
        spacing: Theme.spacingSmall
        Repeater {
            model: window.photos
            Rectangle {
                required property string modelData
                required property int index
                width: 64
                height: 64
                color: Theme.cardAlt
                border.color: index === window.current ? Theme.primary : Theme.line
                Image {
                    anchors.fill: parent
                    anchors.margins: 2
                    fillMode: Image.PreserveAspectCrop
                    asynchronous: true
                    sourceSize.width: 128
                    source: parent.modelData
                }
                MouseArea { anchors.fill: parent; onClicked: window.current = parent.index }
            }
        }
    }
    Button {
        id: back
        objectName: "photoBack"
        anchors.bottom: parent.bottom
        anchors.horizontalCenter: parent.horizontalCenter
        text: "返回"
        onClicked: window.close()
    }
}
