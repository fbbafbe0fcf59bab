import QtQuick 2.15
import QtQuick.Window 2.15
import Brenvo 1.0

// The frame of a screen's pop-up windows: a shade over the screen, a white panel with its
// title and close button, and room for the window's own content. The window holds the
// keyboard while it is open. A window offering "确定" and "取消" puts them in a WindowButtons
// row at its foot.
FocusScope {
    id: frame
    anchors.fill: parent
    visible: false
    z: 10

    property string title: ""
    property int panelWidth: 520
    property int panelHeight: 480
    // Whether the shade covers the whole window rather than the item the pop-up sits in: a
    // pop-up of a view embedded in a screen would leave the rest of the window within reach.
    property bool coversWindow: false
    default property alias content: body.data

    // The worker closed the window (its close button, or close()).
    signal closed()

    function open() {
        // Drawn over the window's content; it still belongs to (and goes with) its owner.
        var whole = frame.Window.contentItem
        if (coversWindow && whole && frame.parent !== whole)
            frame.parent = whole
        visible = true
        forceActiveFocus()
    }

    function close() {
        if (!visible)
            return
        visible = false
        closed()
    }

    Rectangle {
        anchors.fill: parent
        color: Theme.shade
        MouseArea { anchors.fill: parent }
    }

    Rectangle {
        id: panel
        width: frame.panelWidth
        height: frame.panelHeight
        anchors.centerIn: parent
        radius: Theme.radiusLarge
        color: Theme.card

        Text {
            id: titleText
            objectName: "windowTitle"
            text: frame.title
            font.pixelSize: Theme.fontLarge
            font.bold: true
            color: Theme.textStrong
            anchors.left: panel.left
            anchors.top: panel.top
            anchors.margins: Theme.spacingLarge
        }
        Image {
            objectName: "windowClose"
            source: closeArea.pressed ? "qrc:/icon/icon/close_x2.png" : "qrc:/icon/icon/close_x1.png"
            anchors.right: panel.right
            anchors.top: panel.top
            anchors.margins: Theme.spacingLarge
            MouseArea {
                id: closeArea
                anchors.fill: parent
                onClicked: frame.close()
            }
        }
        // The window's content, under its title.
        Item {
            id: body
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: titleText.bottom
            anchors.bottom: parent.bottom
            anchors.margins: Theme.spacingLarge
        }
    }
}
