import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Dialogs 1.2
import FileIo 1.0
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

    // A refused handshake is tried again after this pause, which doubles up to
    // `retryMaxMs` and starts again from `retryFirstMs` after an accepted one, so a terminal
    // the backend does not know never floods it.
    readonly property int retryFirstMs: 1000
    readonly property int retryMaxMs: 30000
    property int retryDelayMs: retryFirstMs
    readonly property alias retryPending: retryTimer.running

    // Request tag of the panel's request in flight. Session.whoPost is set too, as every
    // screen does, but other screens (the menu) reuse it while this panel's reply is out.
    property string pending: ""

    // Emitted once the worker is signed in; the owner opens the menu in its content area.
    signal loggedIn()

    // Starts a sign-in in the current mode (the handshake comes first).
    function startSignIn() {
        listOpen = false
        handshake()
    }

    // Gives the keyboard to the account field (the `login` screen does so when it opens).
    function focusAccount() {
        accountField.forceActiveFocus()
    }

    function showCardMode() {
        Session.loginFlag = "rfID"
        listOpen = false
        keySink.forceActiveFocus()
    }

    function showPasswordMode() {
        Session.loginFlag = "passWD"
        accountField.forceActiveFocus()
    }

    // --- Requests --------------------------------------------------------------------

    function send(tag, path, body) {
        pending = tag
        backend.postBody(tag, path, body)
    }

    // The handshake's query is built by hand and not signed: the secret it asks for is
    // what later requests are signed with.
    function handshake() {
        retryTimer.stop()
        var request = backend.request
        var serial = AppConfig.serialNum
        Session.storeSerial = serial
        var stamp = request.mtimestamp()
        var token = request.mmd5(serial, stamp)
        var body = { serialNum: serial, timestamp: stamp, token: token }
        var query = "client/sign?serialNum=" + serial + "&timestamp=" + stamp + "&token=" + token
        if (panel.loginScreen) {
            body.mac = fileio.getMac()
            query += "&mac=" + body.mac
        }
        pending = "getAppSecret"
        Session.whoPost = "getAppSecret"
        request.CCRequest_POST(JSON.stringify(body), query)
    }

    function passwordLogin() {
        if (!panel.loginScreen) {
            Session.serialNum = AppConfig.serialNum
            Session.storeSerial = Session.serialNum
        }
        var request = backend.request
        send("pswdLogin", "client/login", {
            serialNum: Session.serialNum,
            appSecret: Session.appSecret,
            account: accountField.text,
            password: request.mmd5(passwordField.text, Session.appSecret),
            timestamp: request.mtimestamp(),
            sysVersion: fileio.osVersion(),
            version: Session.exeVersion.substring(1)
        })
    }

    function cardLogin() {
        var request = backend.request
        send("WorkInfo", "cashier/refid/login", {
            serialNum: Session.serialNum,
            appSecret: Session.appSecret,
            timestamp: request.mtimestamp(),
            rfidSecret: request.getRFIDSecret()
        })
    }

    // --- Replies ---------------------------------------------------------------------

    function replied(reply) {
        var tag = pending
        pending = ""
        var ok = String(Session.httpCode) === "200"
        if (tag === "getAppSecret")
            handshakeReplied(reply, ok)
        else if (tag === "pswdLogin")
            passwordLoginReplied(reply, ok)
        else if (tag === "WorkInfo")
            cardLoginReplied(reply, ok)
        else if (tag === "Qiniu" && ok)
            Session.qiniuToken = backend.request.getReturnMsg(reply, "token")
    }

    function handshakeReplied(reply, ok) {
        if (!ok) {
            console.log(reply)
            console.log("获取AppSecret失败")
            retryTimer.interval = retryDelayMs
            retryTimer.start()
            retryDelayMs = Math.min(retryDelayMs * 2, retryMaxMs)
            return
        }
        retryDelayMs = retryFirstMs
        Session.appSecret = backend.request.getReturnMsg(reply, "appSecret")
        if (Session.loginFlag === "passWD") {
            Session.whoPost = "pswdLogin"
            if (accountField.text !== "" || passwordField.text !== "")
                passwordLogin()
        } else {
            cardLogin()
        }
    }

    function field(reply, key, key1) {
        return backend.request.getqueryOrder(reply, key, key1)
    }

    // What both logins show: the store and the worker.
    function takeWorker(reply) {
        Session.storename = field(reply, "storeInfo", "name")
        Session.workername = field(reply, "workerInfo", "name")
        Session.workerHaedPic = field(reply, "workerInfo", "imgPath")
        Session.storeAddr = field(reply, "storeInfo", "addrDesc")
        Session.storeCreatTime = Session.timerToDates(field(reply, "storeInfo", "createTime"))
        headFile.write(Session.workerHaedPic)
    }

    function passwordLoginReplied(reply, ok) {
        if (!ok) {
            console.log(reply)
            showError()
            return
        }
        Session.accessToken = backend.request.getReturnMsg(reply, "accessToken")
        if (Session.accessToken === "" || Session.appSecret === "")
            return
        takeWorker(reply)
        Session.workerid = Number(field(reply, "workerInfo", "id")) || 0
        if (!panel.loginScreen) {
            Session.storeId = field(reply, "storeInfo", "id")
            Session.logoPath = field(reply, "mercInfo", "logoPath")
            Session.mainInfo = field(reply, "mercInfo", "mainInfo")
            Session.mainName = field(reply, "mercInfo", "name")
            storeFile.write(Session.storename)
        }
        accountFile.write(accountField.text)
        Session.enterFlag = "MENU"
        panel.loggedIn()
    }

    function cardLoginReplied(reply, ok) {
        if (!ok) {
            console.log(reply)
            showError()
            return
        }
        Session.accessToken = backend.request.getReturnMsg(reply, "accessToken")
        if (Session.accessToken === "" || Session.appSecret === "")
            return
        takeWorker(reply)
        Session.enterFlag = "MENU"
        if (panel.loginScreen) {
            accountFile.write(accountField.text)
            // Sent before the menu asks for the worker's rights: the menu recognises its
            // reply by Session.whoPost, which a later request would overwrite.
            pending = "Qiniu"
            backend.post("Qiniu", "attachment/qiniu/token")
        } else {
            accountFile.writes(accountField.text)
        }
        panel.loggedIn()
    }

    function showError() {
        Session.errormsg = Session.msg
        errorDialog.open()
    }

    // --- Account suggestions ---------------------------------------------------------

    property bool listOpen: false
    property var accounts: []

    function fillList(text) {
        accounts = accountFile.readaccount(text).list
    }

    function pickAccount(account) {
        Session.accountchange = true
        accountField.text = account
        listOpen = false
    }

    Component.onCompleted: accountField.text = accountFile.reads(1)

    BackendRequest {
        id: backend
        objectName: "signInBackend"
        onReplied: function (reply) { panel.replied(reply) }
    }

    Timer {
        id: retryTimer
        repeat: false
        onTriggered: panel.handshake()
    }

    // Holds the keyboard in card mode, so that Enter reaches the owner's handler and
    // typing does not go into the hidden account field.
    Item { id: keySink }

    FileIo { id: fileio }
    FileIo { id: storeFile; source: "setting/stroename.ini" }
    FileIo { id: headFile; source: "setting/HeadPath.ini" }
    FileIo { id: accountFile; source: "setting/account.ini" }

    MessageDialog {
        id: errorDialog
        objectName: "errorDialog"
        title: "错误提示"
        text: Session.errormsg + ",请重新输入"
        icon: StandardIcon.Critical
        standardButtons: StandardButton.Yes
        modality: Qt.ApplicationModal
        onYes: passwordField.text = ""
    }

    Rectangle {
        anchors.fill: parent
        gradient: Gradient {
            GradientStop { position: 0.0; color: "#0B2D63" }
            GradientStop { position: 1.0; color: "#A4DDF4" }
        }
        MouseArea {
            anchors.fill: parent
            onClicked: panel.listOpen = false
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
            objectName: "serialText"
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

        MouseArea {
            anchors.fill: parent
            onClicked: panel.listOpen = false
        }

        Rectangle {
            id: tabs
            width: parent.width
            height: 70
            radius: 8
            color: "#f7f7f7"

            // Square lower corners under the rounded upper ones.
            Rectangle { width: parent.width; height: 8; anchors.bottom: parent.bottom; color: parent.color }

            Item {
                objectName: "cardTab"
                width: 250; height: 70
                Image {
                    anchors.centerIn: parent
                    source: Session.loginFlag === "rfID" ? "qrc:/icon/icon/RFIDchose.png" : "qrc:/icon/icon/RFIDunchose.png"
                }
                MouseArea {
                    anchors.fill: parent
                    onClicked: {
                        if (Session.loginFlag === "rfID")
                            return
                        panel.showCardMode()
                        panel.startSignIn()
                    }
                }
            }
            Text {
                objectName: "passwordTab"
                x: 250
                width: 250; height: 70
                text: "账号登录"
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
                font.pixelSize: 18
                color: Session.loginFlag === "passWD" ? "#00c800" : "black"
                MouseArea {
                    anchors.fill: parent
                    onClicked: panel.showPasswordMode()
                }
            }
            Image {
                x: (Session.loginFlag === "rfID" ? 125 : 375) - width / 2
                anchors.bottom: parent.bottom
                source: "qrc:/icon/icon/triangle.png"
                z: 1
            }
            Rectangle { x: 250; y: 15; width: 1; height: 40; color: "#cdcdcd" }
            Rectangle { anchors.bottom: parent.bottom; width: parent.width; height: 1; color: "#cdcdcd" }
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
                color: "grey"
                font.pixelSize: 20
            }
        }

        Item {
            id: passwordMode
            objectName: "passwordMode"
            visible: Session.loginFlag === "passWD"
            anchors.fill: parent

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
                font.pixelSize: 16
                placeholderText: "请输入账号"
                onTextChanged: {
                    if (!Session.accountchange) {
                        panel.fillList(text)
                        panel.listOpen = true
                    }
                    Session.accountchange = false
                }
                onActiveFocusChanged: {
                    if (!activeFocus && panel.loginScreen)
                        panel.listOpen = false
                }

                Image {
                    objectName: "dropButton"
                    width: 20; height: 20
                    anchors.right: parent.right
                    anchors.rightMargin: 10
                    anchors.verticalCenter: parent.verticalCenter
                    source: panel.listOpen ? "qrc:/icon/icon/upup.png" : "qrc:/icon/icon/downdown.png"
                    MouseArea {
                        anchors.fill: parent
                        anchors.margins: -10
                        onClicked: {
                            panel.fillList("")
                            panel.listOpen = !panel.listOpen
                        }
                    }
                }
            }

            TextField {
                id: passwordField
                objectName: "passwordField"
                x: 80; y: 295
                width: 280; height: 40
                font.pixelSize: 16
                placeholderText: "请输入密码"
                echoMode: TextInput.Password
            }

            Rectangle {
                objectName: "loginButton"
                x: 370
                width: 50; height: 35
                anchors.verticalCenter: passwordField.verticalCenter
                radius: 4
                color: loginArea.pressed ? "#3b78bc" : (passwordField.text === "" ? "#a3dbef" : "#479fff")
                Text {
                    anchors.centerIn: parent
                    text: "登录"
                    color: "white"
                    font.pixelSize: 16
                }
                MouseArea {
                    id: loginArea
                    anchors.fill: parent
                    onClicked: panel.startSignIn()
                }
            }

            Rectangle {
                objectName: "accountList"
                x: accountField.x
                y: accountField.y + accountField.height
                z: 10
                width: accountField.width
                height: 300
                visible: panel.listOpen && accountView.count > 0
                color: "white"
                border.color: "#cdcdcd"

                ListView {
                    id: accountView
                    objectName: "accountView"
                    anchors.fill: parent
                    anchors.margins: 1
                    clip: true
                    model: panel.accounts
                    delegate: Rectangle {
                        id: row
                        required property var modelData
                        width: accountView.width
                        height: 30
                        color: rowArea.containsMouse ? "#e8f2ff" : "white"
                        Text {
                            x: 10
                            anchors.verticalCenter: parent.verticalCenter
                            text: row.modelData.view
                            font.pixelSize: 16
                        }
                        MouseArea {
                            id: rowArea
                            anchors.fill: parent
                            hoverEnabled: true
                            onClicked: panel.pickAccount(row.modelData.view)
                        }
                    }
                }
            }
        }
    }
}
