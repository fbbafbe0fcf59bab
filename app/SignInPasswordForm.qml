import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0

// The sign-in panel's password mode: the last worker's portrait, the account field with
// the remembered accounts under it, the password field and the login button. It is laid
// out on the panel's 500 x 433 box.
Item {
    id: form
    objectName: "passwordMode"

    property alias account: accountField.text
    property alias password: passwordField.text

    // The login screen closes the suggestions when the account field loses the keyboard.
    property bool closeListOnBlur: false

    property bool listOpen: false
    property var accounts: []

    signal loginClicked()

    function focusAccount() {
        accountField.forceActiveFocus()
    }

    function fillList(text) {
        accounts = accountFile.readaccount(text).list
    }

    function pickAccount(account) {
        Session.accountchange = true
        accountField.text = account
        listOpen = false
    }

    Component.onCompleted: accountField.text = accountFile.reads(1)

    SettingsFile { id: headFile; source: "setting/HeadPath.ini" }
    SettingsFile { id: accountFile; source: "setting/account.ini" }

    Image {
        objectName: "lastPortrait"
        x: 210; y: 130
        width: 80; height: 80
        source: headFile.read() !== "" ? headFile.read() : "qrc:/icon/icon/Defaultheadimage.png"
    }

    TextField {
        id: accountField
        objectName: "accountField"
        x: 80; y: 235
        width: 340; height: 40
        rightPadding: 40
        font.pixelSize: Theme.fontMedium
        placeholderText: "请输入账号"
        onTextChanged: {
            if (!Session.accountchange) {
                form.fillList(text)
                form.listOpen = true
            }
            Session.accountchange = false
        }
        onActiveFocusChanged: {
            if (!activeFocus && form.closeListOnBlur)
                form.listOpen = false
        }

        Image {
            objectName: "dropButton"
            width: 20; height: 20
            anchors.right: parent.right
            anchors.rightMargin: Theme.spacingMedium
            anchors.verticalCenter: parent.verticalCenter
            source: form.listOpen ? "qrc:/icon/icon/upup.png" : "qrc:/icon/icon/downdown.png"
            MouseArea {
                anchors.fill: parent
                anchors.margins: -10
                onClicked: {
                    form.fillList("")
                    form.listOpen = !form.listOpen
                }
            }
        }
    }

    TextField {
        id: passwordField
        objectName: "passwordField"
        x: 80; y: 295
        width: 280; height: 40
        font.pixelSize: Theme.fontMedium
        placeholderText: "请输入密码"
        echoMode: TextInput.Password
    }

    Rectangle {
        objectName: "loginButton"
        x: 370
        width: 50; height: 35
        anchors.verticalCenter: passwordField.verticalCenter
        radius: Theme.radiusSmall
        color: loginArea.pressed ? Theme.actionPressed : (passwordField.text === "" ? Theme.actionPale : Theme.action)
        Text {
            anchors.centerIn: parent
            text: "登录"
            color: Theme.textOnDark
            font.pixelSize: Theme.fontMedium
        }
        MouseArea {
            id: loginArea
            anchors.fill: parent
            onClicked: form.loginClicked()
        }
    }

    Rectangle {
        objectName: "accountList"
        x: accountField.x
        y: accountField.y + accountField.height
        z: 10
        width: accountField.width
        height: 300
        visible: form.listOpen && accountView.count > 0
        color: Theme.card
        border.color: Theme.separator

        ListView {
            id: accountView
            objectName: "accountView"
            anchors.fill: parent
            anchors.margins: parent.border.width
            clip: true
            model: form.accounts
            delegate: Rectangle {
                id: row
                required property var modelData
                width: accountView.width
                height: 30
                color: rowArea.containsMouse ? Theme.selectedStrong : Theme.card
                Text {
                    x: Theme.spacingMedium
                    anchors.verticalCenter: parent.verticalCenter
                    text: row.modelData.view
                    font.pixelSize: Theme.fontMedium
                }
                MouseArea {
                    id: rowArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: form.pickAccount(row.modelData.view)
                }
            }
        }
    }
}
