import QtQuick 2.15
import QtQuick.Window 2.15
import FileIo 1.0
import ks.Net.CCRequest 1.0
import SignSet 1.0
import PrinterHelper 1.0
import BVMessageBox 1.0
import Brenvo 1.0
import "screens.js" as Screens

// The terminal's one window: a frameless panel with the left bar, the content area where
// working screens open, and the first sign-in panel.
Window {
    id: _Main
    objectName: "main"

    // Kept by the window itself: the panel's margin follows it even where no window
    // manager reports the maximised state back.
    property bool maximized: false

    function toggleMaximized() {
        maximized = !maximized
        if (maximized)
            showMaximized()
        else
            showNormal()
    }

    // Creates the menu in the content area once a worker has signed in.
    function showMenu() {
        leftBar.signedIn = true
        return _main.showMenu()
    }

    // The portrait opens the sign-out panel over the whole window.
    function openQuit() {
        var quit = Screens.open(windowLayer, "Quit")
        if (quit !== null)
            quit.signedOut.connect(signedOut)
        return quit
    }

    // After a sign-out only the sign-in screen is left: the previous worker's screens, the
    // sign-out panel and any earlier sign-in screen are released, not kept below it.
    function signedOut() {
        Screens.closeAll(windowLayer)
        Screens.closeAll(_main)
        var login = Screens.open(windowLayer, "login")
        if (login !== null) {
            loginShown = true
            login.portraitClicked.connect(openQuit)
        }
        return login
    }

    // The sign-in screen covers the panel for good once somebody has signed out; the
    // panel is then no longer drawn.
    property bool loginShown: false

    // Start-up version check: the newest published version, then its release notes.
    function checkVersion() {
        versionCheck.checkVersion()
    }

    function fetchReleaseNotes() {
        versionCheck.fetchReleaseNotes()
    }

    Component.onCompleted: Session.storeSerial = AppConfig.serialNum

    // The start-up version check goes out once the first picture is on the screen: setting up
    // the network would only make the worker wait longer for the sign-in panel.
    Connections {
        id: firstFrame
        target: _Main
        function onFrameSwapped() {
            firstFrame.enabled = false
            _Main.checkVersion()
        }
    }

    visible: true
    width: 1300
    height: 900
    minimumWidth: 1300
    minimumHeight: 900
    title: "Brenvo门店"
    flags: Qt.Window | Qt.FramelessWindowHint
    color: "#00000000"

    CCRequest { id: ccRequest }
    VersionCheck {
        id: versionCheck
        // Up to date: a staff card lying on the reader signs in at once.
        onUpToDate: {
            if (ccRequest.getRFIDSecret() !== "")
                signInPanel.startSignIn()
        }
        onReleaseNotes: function (text) {
            Session.messagePost = "update"
            mMessageBox.btnMsgUpdate(text)
        }
    }
    SignSet { id: signSet }
    PrinterHelper { id: printerHelpe }
    BVMessageBox {
        id: mMessageBox
        onOkFlishedReturn: function (jsonStr) {
            if (Session.messagePost === "update") {
                fileio.startUpdate()
                _Main.close()
            }
        }
    }
    FileIo { id: fileio }

    Rectangle {
        id: frame
        anchors.fill: parent
        anchors.margins: 1
        color: "transparent"
        focus: true

        // The first sign-in's Enter key: it acts only while the sign-in panel owns the key;
        // otherwise the key goes on to whoever else may want it.
        function enterPressed(event) {
            if (Session.enterFlag !== "MAIN") {
                event.accepted = false
                return
            }
            signInPanel.startSignIn()
        }
        Keys.onReturnPressed: function (event) { frame.enterPressed(event) }
        Keys.onEnterPressed: function (event) { frame.enterPressed(event) }

        // The window's shadow falls from the panel into the transparent margin around it. It
        // is a picture made once (scripts/render-shadow.py): its corners are drawn as they are
        // and its edges stretched, so no frame, the first one included, works out a blur.
        BorderImage {
            objectName: "windowShadow"
            anchors.fill: parent
            anchors.margins: -1 // the whole window
            // A maximised panel covers the margin.
            visible: !_Main.maximized
            source: "qrc:/icon/icon/windowShadow.png"
            border { left: 32; top: 32; right: 32; bottom: 32 }
        }

        Rectangle {
            id: panel
            objectName: "panel"
            anchors.fill: parent
            anchors.margins: _Main.maximized ? -1 : 9
            color: Theme.card
            visible: !_Main.loginShown

            LeftBar {
                id: leftBar
                objectName: "leftBar"
                height: parent.height
                window: _Main
                onHomeClicked: _Main.showMenu()
                onPortraitClicked: _Main.openQuit()
            }

            Item {
                id: contentArea
                anchors.left: leftBar.right
                anchors.right: parent.right
                anchors.top: parent.top
                anchors.bottom: parent.bottom

                SignInPanel {
                    id: signInPanel
                    objectName: "signInPanel"
                    anchors.fill: parent
                    // Only the first sign-in happens here (later ones on the `login` screen);
                    // under the menu the panel would only be drawn again with every frame.
                    visible: !leftBar.signedIn
                    onLoggedIn: _Main.showMenu()
                }

                ScreenHost {
                    id: _main
                    objectName: "contentArea"
                    anchors.fill: parent
                }
            }
        }

        // Screens that cover the whole window (the sign-out panel and what it opens).
        Item {
            id: windowLayer
            objectName: "windowLayer"
            anchors.fill: parent
        }

        MouseArea {
            objectName: "dragStrip"
            x: 180
            width: parent.width - x - 80
            height: 30
            property real pressX
            property real pressY
            onPressed: function (mouse) {
                pressX = mouse.x
                pressY = mouse.y
            }
            onPositionChanged: function (mouse) {
                if (!_Main.maximized) {
                    _Main.x += mouse.x - pressX
                    _Main.y += mouse.y - pressY
                }
            }
            onDoubleClicked: _Main.toggleMaximized()
        }

        Row {
            anchors.top: parent.top
            anchors.topMargin: 5
            anchors.right: parent.right
            anchors.rightMargin: 15
            spacing: 10
            layoutDirection: Qt.RightToLeft

            WindowButton {
                objectName: "closeButton"
                icon: "red"; hoverIcon: "cloesexe"
                onClicked: _Main.showMinimized()
            }
            WindowButton {
                objectName: "maxButton"
                icon: "green"; hoverIcon: "max"
                onClicked: _Main.toggleMaximized()
            }
            WindowButton {
                objectName: "minButton"
                icon: "yellow"; hoverIcon: "min"
                onClicked: _Main.showMinimized()
            }
        }
    }
}
