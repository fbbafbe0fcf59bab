import QtQuick 2.15
import FileIo 1.0
import Brenvo 1.0
import "signin.js" as SignIn

// The sign-in's talk with the backend: a handshake for the terminal's secret followed by
// the worker's login, by password or by staff card (Session.loginFlag). It shows nothing:
// the panel hands it the typed account and password and shows what it reports.
Item {
    id: conversation

    visible: false

    // true on the `login` screen: its handshake names the machine's network address, its
    // logins leave the merchant details alone, and a card login also fetches the photo
    // upload token.
    property bool loginScreen: false

    // What the password form holds.
    property string account: ""
    property string password: ""

    // A refused handshake is tried again after this pause, which doubles up to
    // `retryMaxMs` and starts again from `retryFirstMs` after an accepted one, so a terminal
    // the backend does not know never floods it.
    readonly property int retryFirstMs: 1000
    readonly property int retryMaxMs: 30000
    property int retryDelayMs: retryFirstMs
    readonly property alias retryPending: retryTimer.running

    // Request tag of the request in flight. Session.whoPost is set too, as every screen
    // does, but other screens (the menu) reuse it while this reply is out.
    property string pending: ""

    // Emitted once the worker is signed in.
    signal loggedIn()
    // Emitted when the backend refuses a login; Session.msg holds its reason.
    signal refused()

    // --- Requests --------------------------------------------------------------------

    function send(tag, path, body) {
        pending = tag
        backend.postBody(tag, path, body)
    }

    function handshake() {
        retryTimer.stop()
        var request = backend.request
        var serial = AppConfig.serialNum
        Session.storeSerial = serial
        var stamp = request.mtimestamp()
        var body = SignIn.handshakeBody(serial, stamp, request.mmd5(serial, stamp),
                                        conversation.loginScreen ? fileio.getMac() : undefined)
        pending = "getAppSecret"
        Session.whoPost = "getAppSecret"
        request.CCRequest_POST(JSON.stringify(body), SignIn.handshakeQuery(body))
    }

    function passwordLogin() {
        if (!conversation.loginScreen) {
            Session.serialNum = AppConfig.serialNum
            Session.storeSerial = Session.serialNum
        }
        var request = backend.request
        send("pswdLogin", "client/login", {
            serialNum: Session.serialNum,
            appSecret: Session.appSecret,
            account: conversation.account,
            password: request.mmd5(conversation.password, Session.appSecret),
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
            retryDelayMs = SignIn.nextRetryDelay(retryDelayMs, retryMaxMs)
            return
        }
        retryDelayMs = retryFirstMs
        Session.appSecret = backend.request.getReturnMsg(reply, "appSecret")
        if (Session.loginFlag === "passWD") {
            Session.whoPost = "pswdLogin"
            if (conversation.account !== "" || conversation.password !== "")
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
            conversation.refused()
            return
        }
        Session.accessToken = backend.request.getReturnMsg(reply, "accessToken")
        if (Session.accessToken === "" || Session.appSecret === "")
            return
        takeWorker(reply)
        Session.workerid = Number(field(reply, "workerInfo", "id")) || 0
        if (!conversation.loginScreen) {
            Session.storeId = field(reply, "storeInfo", "id")
            Session.logoPath = field(reply, "mercInfo", "logoPath")
            Session.mainInfo = field(reply, "mercInfo", "mainInfo")
            Session.mainName = field(reply, "mercInfo", "name")
            storeFile.write(Session.storename)
        }
        accountFile.write(conversation.account)
        Session.enterFlag = "MENU"
        conversation.loggedIn()
    }

    function cardLoginReplied(reply, ok) {
        if (!ok) {
            console.log(reply)
            conversation.refused()
            return
        }
        Session.accessToken = backend.request.getReturnMsg(reply, "accessToken")
        if (Session.accessToken === "" || Session.appSecret === "")
            return
        takeWorker(reply)
        Session.enterFlag = "MENU"
        if (conversation.loginScreen) {
            accountFile.write(conversation.account)
            // Sent before the menu asks for the worker's rights: the menu recognises its
            // reply by Session.whoPost, which a later request would overwrite.
            pending = "Qiniu"
            backend.post("Qiniu", "attachment/qiniu/token")
        } else {
            accountFile.writes(conversation.account)
        }
        conversation.loggedIn()
    }

    BackendRequest {
        id: backend
        objectName: "signInBackend"
        onReplied: function (reply) { conversation.replied(reply) }
    }

    Timer {
        id: retryTimer
        repeat: false
        onTriggered: conversation.handshake()
    }

    FileIo { id: fileio }
    FileIo { id: storeFile; source: "setting/stroename.ini" }
    FileIo { id: headFile; source: "setting/HeadPath.ini" }
    FileIo { id: accountFile; source: "setting/account.ini" }
}
