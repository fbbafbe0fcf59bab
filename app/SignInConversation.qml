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

    // A handshake without an accepted answer is tried again after this pause, which doubles
    // up to `retryMaxMs`. A sign-in the worker starts (a click, Enter) goes at once and
    // starts the pause again from `retryFirstMs`, so a terminal the backend does not know
    // never floods it and a worker never waits on a long pause.
    readonly property int retryFirstMs: 1000
    readonly property int retryMaxMs: 30000
    property int retryDelayMs: retryFirstMs
    readonly property alias retryPending: retryTimer.running

    // What the worker should know while no sign-in can get through ("" when all is well):
    // the backend cannot be reached, or it refuses this terminal.
    property string problem: ""

    // A handshake or login is out: a second Enter or click must not start another.
    readonly property bool signingIn: backend.pending > 0

    // The serial number the last handshake named: its secret belongs to that terminal.
    property string handshakeSerial: ""

    // Emitted once the worker is signed in.
    signal loggedIn()
    // Emitted when the backend refuses a login; Session.msg holds its reason.
    signal refused()

    // --- Requests --------------------------------------------------------------------

    // The worker asks to sign in.
    function start() {
        if (signingIn)
            return
        retryDelayMs = retryFirstMs
        handshake()
    }

    function handshake() {
        retryTimer.stop()
        var request = backend.request
        var serial = AppConfig.serialNum
        Session.storeSerial = serial
        handshakeSerial = serial
        var stamp = request.mtimestamp()
        var body = SignIn.handshakeBody(serial, stamp, request.mmd5(serial, stamp),
                                        conversation.loginScreen ? fileio.getMac() : undefined)
        backend.callAddress("getAppSecret", SignIn.handshakeQuery(body), body,
                            handshakeReplied, handshakeFailed)
    }

    function passwordLogin() {
        var request = backend.request
        backend.callBody("pswdLogin", "client/login", {
            serialNum: Session.serialNum,
            appSecret: Session.appSecret,
            account: conversation.account,
            password: request.mmd5(conversation.password, Session.appSecret),
            timestamp: request.mtimestamp(),
            sysVersion: fileio.osVersion(),
            version: Session.exeVersion.substring(1)
        }, passwordLoginReplied, loginFailed)
    }

    function cardLogin() {
        var request = backend.request
        backend.callBody("WorkInfo", "cashier/refid/login", {
            serialNum: Session.serialNum,
            appSecret: Session.appSecret,
            timestamp: request.mtimestamp(),
            rfidSecret: request.getRFIDSecret()
        }, cardLoginReplied, loginFailed)
    }

    // --- Replies ---------------------------------------------------------------------

    function handshakeFailed(reply, unreachable) {
        console.log(Logs.app, reply)
        console.log(Logs.app, "获取AppSecret失败")
        problem = unreachable ? "无法连接服务器，正在重试…" : Session.msg + "，正在重试…"
        retryTimer.interval = retryDelayMs
        retryTimer.start()
        retryDelayMs = SignIn.nextRetryDelay(retryDelayMs, retryMaxMs)
    }

    // The session is now this terminal's: both logins, and every request after them, name
    // it by the serial number the handshake named.
    function handshakeReplied(reply) {
        problem = ""
        retryDelayMs = retryFirstMs
        Session.appSecret = backend.request.getReturnMsg(reply, "appSecret")
        Session.serialNum = handshakeSerial
        if (Session.loginFlag === "passWD") {
            Session.whoPost = "pswdLogin"
            if (conversation.account !== "" || conversation.password !== "")
                passwordLogin()
        } else {
            cardLogin()
        }
    }

    // A login without an answer says so on the panel; a refusal shows the backend's reason.
    function loginFailed(reply, unreachable) {
        console.log(Logs.app, reply)
        if (unreachable) {
            problem = "无法连接服务器，请重试"
            return
        }
        problem = ""
        conversation.refused()
    }

    function field(reply, key, key1) {
        return backend.request.getqueryOrder(reply, key, key1)
    }

    // What both logins show: the store and the worker. The store's name is kept for the
    // banner of the next sign-in panel.
    function takeWorker(reply) {
        Session.storename = field(reply, "storeInfo", "name")
        if (Session.storename !== "")
            storeFile.write(Session.storename)
        Session.workername = field(reply, "workerInfo", "name")
        Session.workerHaedPic = field(reply, "workerInfo", "imgPath")
        Session.storeAddr = field(reply, "storeInfo", "addrDesc")
        Session.storeCreatTime = Session.timerToDates(field(reply, "storeInfo", "createTime"))
        headFile.write(Session.workerHaedPic)
    }

    function passwordLoginReplied(reply) {
        problem = ""
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
        }
        accountFile.write(conversation.account)
        Session.enterFlag = "MENU"
        conversation.loggedIn()
    }

    function cardLoginReplied(reply) {
        problem = ""
        Session.accessToken = backend.request.getReturnMsg(reply, "accessToken")
        if (Session.accessToken === "" || Session.appSecret === "")
            return
        takeWorker(reply)
        Session.enterFlag = "MENU"
        if (conversation.loginScreen) {
            accountFile.write(conversation.account)
            backend.call("Qiniu", "attachment/qiniu/token", {}, function (tokenReply) {
                Session.qiniuToken = backend.request.getReturnMsg(tokenReply, "token")
            })
        } else {
            accountFile.writes(conversation.account)
        }
        conversation.loggedIn()
    }

    BackendRequest {
        id: backend
        objectName: "signInBackend"
    }

    Timer {
        id: retryTimer
        repeat: false
        onTriggered: conversation.handshake()
    }

    FileIo { id: fileio }
    SettingsFile { id: storeFile; source: "setting/stroename.ini" }
    SettingsFile { id: headFile; source: "setting/HeadPath.ini" }
    SettingsFile { id: accountFile; source: "setting/account.ini" }
}
