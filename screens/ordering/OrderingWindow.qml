import QtQuick 2.15
import QtQuick.Controls 2.15

// The frame of the place-order form's windows: a shade over the form, a white panel with
// its title and close button, and room for the window's own content.
Item {
    id: frame
    anchors.fill: parent
    visible: false
    z: 10

    property string title: ""
    property int panelWidth: 520
    property int panelHeight: 480
    default property alias content: body.data

    function open() { visible = true }
    function close() { visible = false }

    Rectangle {
        anchors.fill: parent
        color: "#80000000"
        MouseArea { anchors.fill: parent }
    }

    Rectangle {
        id: panel
        width: frame.panelWidth
        height: frame.panelHeight
        anchors.centerIn: parent
        radius: 8
        color: "white"

        Text {
            id: titleText
            objectName: "windowTitle"
            text: frame.title
            font.pixelSize: 18
            font.bold: true
            color: "#303133"
            anchors.left: parent.left
            anchors.top: parent.top
            anchors.margins: 20
        }
        Image {
            objectName: "windowClose"
            source: closeArea.pressed ? "qrc:/icon/icon/close_x2.png" : "qrc:/icon/icon/close_x1.png"
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.margins: 18
            MouseArea {
                id: closeArea
                anchors.fill: parent
                onClicked: frame.close()
            }
        }
        Item {
            id: body
            anchors.fill: parent
            anchors.topMargin: 60
            anchors.margins: 20
        }
    }
}
