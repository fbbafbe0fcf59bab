import QtQuick 2.15
import QtQuick.Window 2.15
import Brenvo 1.0

// The sign-in after a sign-out. It covers the whole window with its own left bar and
// content area, so the next worker's menu opens here, above the previous worker's screens.
FocusScope {
    id: login
    objectName: "login"

    anchors.fill: parent

    // Closed through Screens.close, with what was opened over it.
    readonly property bool isScreen: true

    // The portrait was clicked: the window opens the sign-out panel over everything.
    signal portraitClicked()

    // Enter signs in only while this screen owns the key.
    function enterPressed(event) {
        if (Session.enterFlag !== "MAINl") {
            event.accepted = false
            return
        }
        signInPanel.startSignIn()
    }
    Keys.onReturnPressed: function (event) { login.enterPressed(event) }
    Keys.onEnterPressed: function (event) { login.enterPressed(event) }

    function showMenu() {
        leftBar.signedIn = true
        return content.showMenu()
    }

    Component.onCompleted: {
        Session.enterFlag = "MAINl"
        // The form is made at once: its account field holds the remembered account that a
        // card sign-in here writes back. The keyboard goes to the card mode the screen opens
        // in, so that Enter signs in by card and typing lands in no hidden field.
        signInPanel.passwordForm()
        signInPanel.showCardMode()
    }

    MouseArea { anchors.fill: parent }

    Rectangle {
        id: panel
        objectName: "loginPanel"
        anchors.fill: parent
        // As the main window's panel: 10 pixels inside the window, none when maximised.
        anchors.margins: login.Window.window !== null && login.Window.window.maximized === true ? -1 : 9
        color: Theme.card

        LeftBar {
            id: leftBar
            objectName: "loginLeftBar"
            height: parent.height
            window: login.Window.window
            onHomeClicked: login.showMenu()
            onPortraitClicked: login.portraitClicked()
        }

        Item {
            anchors.left: leftBar.right
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.bottom: parent.bottom

            SignInPanel {
                id: signInPanel
                objectName: "loginSignInPanel"
                anchors.fill: parent
                // Covered by the menu once someone has signed in here: no longer drawn.
                visible: !leftBar.signedIn
                loginScreen: true
                onLoggedIn: login.showMenu()
            }

            ScreenHost {
                id: content
                objectName: "loginContentArea"
                anchors.fill: parent
            }
        }
    }
}
