import QtQuick 2.15
import QtQuick.Controls 2.15
import FileIo 1.0
import Brenvo 1.0

// The sign-in panel: staff card first, account and password on the second tab.
Rectangle {
    id: panel
    objectName: "SignInPanel"

    gradient: Gradient {
        GradientStop { position: 0.0; color: "#0B2D63" }
        GradientStop { position: 1.0; color: "#A4DDF4" }
    }

    // Starts a sign-in in the current mode (the handshake comes first).
    function startSignIn() {
        console.warn("sign-in is not available yet")
    }

    FileIo { id: storeFile; source: "setting/stroename.ini" }

    Item {
        id: banner
        width: 1000
        height: 100
        y: 50
        anchors.horizontalCenter: parent.horizontalCenter
        Rectangle {
            anchors.fill: parent
            radius: 20
            color: "black"
            opacity: 0.3
        }
        Text {
            x: 20
            anchors.verticalCenter: parent.verticalCenter
            text: "所属门店：" + storeFile.read()
            color: "white"
            font.pixelSize: 20
        }
        Text {
            anchors.right: parent.right
            anchors.rightMargin: 20
            anchors.verticalCenter: parent.verticalCenter
            text: "序列号：" + Session.storeSerial
            color: "white"
            font.pixelSize: 20
        }
    }

    Rectangle {
        id: box
        width: 500
        height: 433
        radius: 8
        anchors.centerIn: parent
        clip: true

        Rectangle {
            id: tabs
            width: parent.width
            height: 70
            radius: 8
            color: "#f7f7f7"

            Image {
                width: 250; height: 70
                fillMode: Image.Pad
                source: Session.loginFlag === "rfID" ? "qrc:/icon/icon/RFIDchose.png" : "qrc:/icon/icon/RFIDunchose.png"
                MouseArea {
                    anchors.fill: parent
                    onClicked: Session.loginFlag = "rfID"
                }
            }
            Text {
                x: 250
                width: 250; height: 70
                text: "账号登录"
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
                font.pixelSize: 18
                color: Session.loginFlag === "passWD" ? "#00c800" : "black"
                MouseArea {
                    anchors.fill: parent
                    onClicked: Session.loginFlag = "passWD"
                }
            }
            Image {
                x: Session.loginFlag === "rfID" ? 117 : 367
                anchors.bottom: parent.bottom
                source: "qrc:/icon/icon/triangle.png"
            }
            Rectangle { x: 250; width: 1; height: parent.height; color: "#cdcdcd" }
            Rectangle { anchors.bottom: parent.bottom; width: parent.width; height: 1; color: "#cdcdcd" }
        }

        Column {
            visible: Session.loginFlag === "rfID"
            anchors.top: tabs.bottom
            anchors.topMargin: 60
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: 30
            Image {
                anchors.horizontalCenter: parent.horizontalCenter
                source: "qrc:/icon/icon/RFIDshow.png"
            }
            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                text: "请识卡登陆"
                color: "grey"
                font.pixelSize: 20
            }
        }

        Column {
            visible: Session.loginFlag === "passWD"
            anchors.top: tabs.bottom
            anchors.topMargin: 30
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: 20
            Image {
                width: 80; height: 80
                anchors.horizontalCenter: parent.horizontalCenter
                source: "qrc:/icon/icon/Defaultheadimage.png"
            }
            TextField {
                width: 300
                placeholderText: "请输入账号"
            }
            TextField {
                width: 300
                placeholderText: "请输入密码"
                echoMode: TextInput.Password
            }
        }
    }
}
