import QtQuick 2.15
import FileIo 1.0
import Brenvo 1.0

// Signs the worker out. After a sign-out the window replaces everything with the sign-in
// screen (signedOut).
Item {
    id: quit
    objectName: "Quit"

    // Closed through Screens.close, with what was opened over it.
    readonly property bool isScreen: true

    // The backend ended the worker's session; the QR pictures are gone.
    signal signedOut()

    anchors.fill: parent

    function signOut() {
        if (backend.busy("LogOut"))
            return
        backend.call("LogOut", "client/logout", {}, function () {
            fileio.deleteFile("/qrpic/")
            Session.accountchange = true
            quit.signedOut()
        })
    }

    MouseArea { anchors.fill: parent }

    Rectangle {
        anchors.fill: parent
        anchors.margins: Theme.spacingMedium
        color: Theme.quitShade
        opacity: 0.8
    }

    FileIo { id: fileio }

    BackendRequest { id: backend }

    Rectangle {
        width: 500
        height: 433
        radius: Theme.radiusLarge
        anchors.centerIn: parent
        color: Theme.card

        Text {
            x: Theme.spacingLarge; y: Theme.spacingLarge
            text: "退出当前账号"
            font.pixelSize: Theme.fontLarge
        }
        Image {
            objectName: "closeButton"
            width: 20; height: 20
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.margins: Theme.spacingLarge
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
            anchors.topMargin: Theme.spacingMedium
            anchors.horizontalCenter: parent.horizontalCenter
            text: Session.workername
            font.pixelSize: Theme.fontLarge
        }
        Rectangle {
            objectName: "logoutButton"
            width: 120; height: 50
            radius: Theme.radiusSmall
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.bottom: parent.bottom
            anchors.bottomMargin: Theme.spacingHuge + Theme.spacingLarge
            color: logoutArea.pressed ? Theme.dangerPressed : Theme.dangerStrong
            Text {
                anchors.centerIn: parent
                text: "安全退出"
                color: Theme.textOnDark
                font.pixelSize: Theme.fontMedium
            }
            MouseArea {
                id: logoutArea
                anchors.fill: parent
                onClicked: quit.signOut()
            }
        }
    }
}
