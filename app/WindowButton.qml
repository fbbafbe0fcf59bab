import QtQuick 2.15

// One of the three round buttons at the window's top right.
Image {
    id: button

    property string icon
    property string hoverIcon

    signal clicked()

    width: 10
    height: 10
    source: "qrc:/icon/icon/" + (area.containsMouse ? hoverIcon : icon) + ".png"

    MouseArea {
        id: area
        anchors.fill: parent
        hoverEnabled: true
        onClicked: button.clicked()
    }
}
