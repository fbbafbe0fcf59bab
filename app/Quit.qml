import QtQuick 2.15
import FileIo 1.0
import Brenvo 1.0
import "screens.js" as Screens

// Signs the worker out. After a sign-out the sign-in screen opens inside this one, so it
// covers the whole window from then on.
Item {
    id: quit
    objectName: "Quit"

    anchors.fill: parent

    MouseArea { anchors.fill: parent }

    Rectangle {
        anchors.fill: parent
        anchors.margins: 10
        color: "black"
        opacity: 0.8
    }

    FileIo { id: fileio }

    BackendRequest {
        id: backend
        onReplied: function (reply) {
            if (Session.whoPost !== "LogOut")
                return
            if (String(Session.httpCode) !== "200") {
                console.log(reply)
                return
            }
            fileio.deleteFile("/qrpic/")
            Session.accountchange = true
            Screens.open(quit, "login")
        }
    }

    Rectangle {
        width: 500
        height: 433
        radius: 8
        anchors.centerIn: parent

        Text {
            x: 20; y: 20
            text: "退出当前账号"
            font.pixelSize: 18
        }
        Image {
            objectName: "closeButton"
            width: 20; height: 20
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.margins: 20
            source: closeArea.pressed ? "qrc:/icon/icon/close_x2.png" : "qrc:/icon/icon/close_x1.png"
            MouseArea {
                id: closeArea
                anchors.fill: parent
                onClicked: quit.destroy()
            }
        }
        RoundImage {
            id: portrait
            width: 80; height: 80
            y: 110
            anchors.horizontalCenter: parent.horizontalCenter
            source: Session.workerHaedPic !== "" ? Session.workerHaedPic : "qrc:/icon/icon/grayhead.png"
        }
        Text {
            anchors.top: portrait.bottom
            anchors.topMargin: 15
            anchors.horizontalCenter: parent.horizontalCenter
            text: Session.workername
            font.pixelSize: 18
        }
        Rectangle {
            objectName: "logoutButton"
            width: 120; height: 50
            radius: 4
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 60
            color: logoutArea.pressed ? "#B23232" : "#ff4949"
            Text {
                anchors.centerIn: parent
                text: "安全退出"
                color: "white"
                font.pixelSize: 16
            }
            MouseArea {
                id: logoutArea
                anchors.fill: parent
                onClicked: backend.post("LogOut", "client/logout")
            }
        }
    }
}
