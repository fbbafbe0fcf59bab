import QtQuick 2.15
import Brenvo 1.0

// The sign-in panel's tab row: staff card on the left, account and password on the right,
// the current one (Session.loginFlag) marked by the triangle under it.
Rectangle {
    id: tabs

    signal cardClicked()
    signal passwordClicked()

    height: 70
    radius: Theme.radiusLarge
    color: Theme.tabBar

    // Square lower corners under the rounded upper ones.
    Rectangle { width: parent.width; height: Theme.radiusLarge; anchors.bottom: parent.bottom; color: parent.color }

    Item {
        objectName: "cardTab"
        width: 250; height: 70
        Image {
            anchors.centerIn: parent
            source: Session.loginFlag === "rfID" ? "qrc:/icon/icon/RFIDchose.png" : "qrc:/icon/icon/RFIDunchose.png"
        }
        MouseArea {
            anchors.fill: parent
            onClicked: tabs.cardClicked()
        }
    }
    Text {
        objectName: "passwordTab"
        x: 250
        width: 250; height: 70
        text: "账号登录"
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        font.pixelSize: Theme.fontLarge
        color: Session.loginFlag === "passWD" ? Theme.successStrong : Theme.tabText
        MouseArea {
            anchors.fill: parent
            onClicked: tabs.passwordClicked()
        }
    }
    Image {
        x: (Session.loginFlag === "rfID" ? 125 : 375) - width / 2
        anchors.bottom: parent.bottom
        source: "qrc:/icon/icon/triangle.png"
        z: 1
    }
    Rectangle { x: 250; y: 15; width: 1; height: 40; color: Theme.separator }
    Rectangle { anchors.bottom: parent.bottom; width: parent.width; height: 1; color: Theme.separator }
}
