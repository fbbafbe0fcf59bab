import QtQuick 2.15
import Brenvo 1.0

// The sign-in panel: staff card first, account and password on the second tab. A sign-in
// is a handshake for the terminal's secret followed by the worker's login. The same panel
// serves the first sign-in in the main window and the `login` screen after a sign-out.
FocusScope {
    id: panel
    objectName: "SignInPanel"

    // true on the `login` screen: its handshake names the machine's network address, its
    // logins leave the merchant details alone, and a card login also fetches the photo
    // upload token.
    property bool loginScreen: false

    // The pause before a refused handshake is tried again, and whether one is waiting.
    property alias retryDelayMs: conversation.retryDelayMs
    readonly property alias retryPending: conversation.retryPending

    // The account suggestions under the account field, and whether they are shown.
    readonly property bool listOpen: passwordMode.item !== null && passwordMode.item.listOpen
    readonly property var accounts: passwordMode.item !== null ? passwordMode.item.accounts : []

    // Emitted once the worker is signed in; the owner opens the menu in its content area.
    signal loggedIn()

    // What keeps the sign-in from getting through, shown under the panel ("" when nothing).
    readonly property alias problem: conversation.problem

    // Starts a sign-in in the current mode (the handshake comes first). A sign-in already
    // out is not sent twice.
    function startSignIn() {
        closeList()
        conversation.start()
    }

    // Gives the keyboard to the account field.
    function focusAccount() {
        passwordForm().focusAccount()
    }

    function showCardMode() {
        Session.loginFlag = "rfID"
        closeList()
        keySink.forceActiveFocus()
    }

    function showPasswordMode() {
        Session.loginFlag = "passWD"
        focusAccount()
    }

    function closeList() {
        if (passwordMode.item !== null)
            passwordMode.item.listOpen = false
    }

    // The account and password form, made when it is first needed: its text fields load the
    // controls module, which a card sign-in (the panel's first mode) does without, and which
    // would make the terminal's start-up slower.
    function passwordForm() {
        if (passwordMode.item === null)
            passwordMode.setSource("qrc:/SignInPasswordForm.qml", { closeListOnBlur: panel.loginScreen })
        return passwordMode.item
    }

    function showError() {
        Session.errormsg = Session.msg
        errorDialog.open()
    }

    SignInConversation {
        id: conversation
        loginScreen: panel.loginScreen
        // Until the form is made the account field would hold the first remembered account,
        // which the card login's "add the account" leaves as it is; "" does the same.
        account: passwordMode.item !== null ? passwordMode.item.account : ""
        password: passwordMode.item !== null ? passwordMode.item.password : ""
        onLoggedIn: panel.loggedIn()
        onRefused: panel.showError()
    }

    // Holds the keyboard in card mode, so that Enter reaches the owner's handler and
    // typing does not go into the hidden account field.
    Item { id: keySink }

    SettingsFile { id: storeFile; source: "setting/stroename.ini" }

    SignInErrorDialog {
        id: errorDialog
        onYes: {
            if (passwordMode.item !== null)
                passwordMode.item.password = ""
        }
    }

    Rectangle {
        anchors.fill: parent
        gradient: Gradient {
            GradientStop { position: 0.0; color: Theme.gradientTop }
            GradientStop { position: 1.0; color: Theme.gradientBottom }
        }
        MouseArea {
            anchors.fill: parent
            onClicked: panel.closeList()
        }
    }

    Item {
        id: banner
        width: 1000
        height: 100
        y: 50
        anchors.horizontalCenter: parent.horizontalCenter
        Rectangle {
            anchors.fill: parent
            radius: 20
            color: Theme.bannerShade
            opacity: Theme.bannerOpacity
        }
        Text {
            objectName: "storeNameText"
            x: 20
            anchors.verticalCenter: parent.verticalCenter
            text: "所属门店：" + storeFile.read()
            color: Theme.textOnDark
            font.pixelSize: Theme.fontTitle
        }
        Text {
            objectName: "serialText"
            anchors.right: parent.right
            anchors.rightMargin: 20
            anchors.verticalCenter: parent.verticalCenter
            text: "序列号：" + Session.storeSerial
            color: Theme.textOnDark
            font.pixelSize: Theme.fontTitle
        }
    }

    Rectangle {
        id: box
        width: 500
        height: 433
        radius: 8
        anchors.centerIn: parent

        MouseArea {
            anchors.fill: parent
            onClicked: panel.closeList()
        }

        SignInTabs {
            id: tabs
            width: parent.width
            onCardClicked: {
                if (Session.loginFlag === "rfID")
                    return
                panel.showCardMode()
                panel.startSignIn()
            }
            onPasswordClicked: panel.showPasswordMode()
        }

        Column {
            objectName: "cardMode"
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
                color: Theme.hint
                font.pixelSize: Theme.fontTitle
            }
        }

        Text {
            objectName: "problemLine"
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 16
            anchors.horizontalCenter: parent.horizontalCenter
            visible: text !== ""
            text: panel.problem
            color: Theme.danger
            font.pixelSize: Theme.fontNormal
        }

        Loader {
            id: passwordMode
            visible: Session.loginFlag === "passWD"
            anchors.fill: parent
        }
        Connections {
            target: passwordMode.item
            function onLoginClicked() { panel.startSignIn() }
        }
    }
}
