import QtQuick 2.15
import QtQuick.Dialogs 1.2
import QtTest 1.2
import Brenvo 1.0
import BrenvoTest 1.0
import "../common"

// Sign-in against the reference backend: its demo terminal (serial number from the test's
// environment), its demo workers, and staff cards laid on the reader stand-in through the
// card file.
ScreenTestCase {
    id: testCase
    name: "SignIn"

    readonly property string serial: "BV2024000001"
    property var window: null

    SignalSpy { id: mainSpy; signalName: "reqParamsReturn" }
    SignalSpy { id: loginSpy; signalName: "reqParamsReturn" }

    function layCard(secret) {
        verify(TestSupport.writeFile("card.txt", secret === "" ? "" :
            "mifare_serial=1A2B3C4D\nmifare_block4_text=" + secret + "\nmifare_key=BRNV01\n"))
    }

    function resetSession() {
        Session.enterFlag = "MAIN"
        Session.loginFlag = "rfID"
        Session.accountchange = true
        Session.istackphoto = false
        var texts = ["whoPost", "httpCode", "msg", "appSecret", "serialNum", "accessToken",
                     "storename", "workername", "workerHaedPic", "storeId", "storeAddr",
                     "storeCreatTime", "storeSerial", "logoPath", "mainName", "mainInfo",
                     "errormsg", "newestVersion", "qiniuToken"]
        for (var i = 0; i < texts.length; ++i)
            Session[texts[i]] = ""
        Session.workerid = 0
    }

    // A fresh main window whose start-up version check has finished.
    function openWindow() {
        window = createWindow("qrc:/main.qml")
        // Listen before anything waits: a card on the reader signs in while the window renders.
        mainSpy.target = requestOf(mainPanel())
        waitForRendering(findChild(window.contentItem, "panel"))
        // Key clicks go to the focused window.
        window.requestActivate()
        tryCompare(window, "active", true)
        tryCompare(Session, "newestVersion", "V4.0.2")
    }

    function init() {
        TestSupport.setEnv("BRENVO_SERIAL_NUM", serial)
        resetSession()
        layCard("")
        var files = ["setting/account.ini", "setting/HeadPath.ini", "setting/stroename.ini"]
        for (var i = 0; i < files.length; ++i)
            verify(TestSupport.writeFile(files[i], ""))
        mainSpy.clear()
        loginSpy.clear()
    }

    function mainPanel() {
        return findChild(window.contentItem, "signInPanel")
    }

    function requestOf(panel) {
        return findChild(panel, "signInBackend").request
    }

    // The addresses a panel's request object sent to `path`, in order.
    function sent(spy, path) {
        var found = []
        for (var i = 0; i < spy.count; ++i) {
            var url = spy.signalArguments[i][0]
            if (url.indexOf("/mac/" + path + "?") >= 0)
                found.push(url)
        }
        return found
    }

    function queryValue(url, key) {
        var pairs = url.substring(url.indexOf("?") + 1).split("&")
        for (var i = 0; i < pairs.length; ++i) {
            var eq = pairs[i].indexOf("=")
            if (pairs[i].substring(0, eq) === key)
                return pairs[i].substring(eq + 1)
        }
        return undefined
    }

    function accountLines() {
        return TestSupport.readFile("setting/account.ini").split("\n").filter(function (line) {
            return line !== ""
        })
    }

    function menuIds(grid) {
        var ids = []
        for (var i = 0; i < grid.model.count; ++i)
            ids.push(grid.model.get(i).menuId)
        return ids
    }

    // Account and password typed into the password mode, then the login button.
    function passwordSignIn(panel, account, password) {
        mouseClick(findChild(panel, "passwordTab"))
        compare(Session.loginFlag, "passWD")
        var accountField = findChild(panel, "accountField")
        Session.accountchange = true
        accountField.text = ""
        mouseClick(accountField)
        type(account)
        // The suggestions may lie over the password field: a click beside them closes them.
        mouseClick(panel, 5, 5)
        mouseClick(findChild(panel, "passwordField"))
        type(password)
        mouseClick(findChild(panel, "loginButton"))
    }

    function menuIn(hostName) {
        var host = findChild(window.contentItem, hostName)
        for (var i = 0; i < host.children.length; ++i)
            if (host.children[i].objectName === "Menu")
                return host.children[i]
        return null
    }

    // The menu opened in `hostName` once its rights reply has been applied.
    function waitForMenu(hostName, entries) {
        tryVerify(function () { return menuIn(hostName) !== null }, 5000, "no menu in " + hostName)
        var grid = findChild(menuIn(hostName), "menuGrid")
        tryCompare(grid, "count", entries)
        return grid
    }

    function test_password_login_fills_the_session_and_opens_the_worker_menu() {
        verify(TestSupport.writeFile("setting/account.ini", "zhangli\n"))
        openWindow()
        var panel = mainPanel()
        compare(Session.storeSerial, serial)
        compare(findChild(panel, "serialText").text, "序列号：" + serial)
        Session.workerHaedPic = "stale"
        passwordSignIn(panel, "wangqiang", "123456")

        // Worker 王强 may use five functions; the menu shows just those, in the rights' order.
        var grid = waitForMenu("contentArea", 5)
        compare(Session.enterFlag, "MENU")
        compare(Session.serialNum, serial)
        verify(String(Session.appSecret).length > 0)
        verify(String(Session.accessToken).length > 0)
        compare(Session.workername, "王强")
        compare(Session.workerid, 2)
        compare(Session.workerHaedPic, "")
        compare(Session.storename, "净衣坊·徐汇店")
        compare(Session.storeId, "1")
        compare(Session.storeAddr, "上海市徐汇区漕溪北路88号")
        verify(/^\d{4}\/\d{2}\/\d{1,2} $/.test(Session.storeCreatTime), Session.storeCreatTime)
        compare(Session.mainName, "净衣坊洗护")
        compare(Session.mainInfo, "专业洗护 · 用心呵护每一件衣物")
        compare(Session.logoPath, "")
        // The newest account goes on top; the store name is remembered for the banner.
        compare(TestSupport.readFile("setting/account.ini"), "wangqiang\nzhangli\n")
        compare(TestSupport.readFile("setting/stroename.ini"), "净衣坊·徐汇店\n")
        verify(findChild(window.contentItem, "homeButton").visible)
        verify(findChild(window.contentItem, "portrait").visible)
        compare(menuIds(grid), ["525", "526", "527", "533", "536"])

        // The password leaves the terminal only as a digest salted with the handshake's
        // secret, so the value sent differs from one sign-in to the next.
        var logins = sent(mainSpy, "client/login")
        compare(logins.length, 1)
        var first = queryValue(logins[0], "password")
        compare(first, requestOf(panel).mmd5("123456", Session.appSecret))
        verify(first.indexOf("123456") < 0)
        compare(queryValue(logins[0], "account"), "wangqiang")
        compare(queryValue(logins[0], "version"), "4.0.2")
        var firstSecret = Session.appSecret
        panel.startSignIn()
        tryVerify(function () { return sent(mainSpy, "client/login").length === 2 })
        tryVerify(function () { return Session.appSecret !== firstSecret })
        var second = queryValue(sent(mainSpy, "client/login")[1], "password")
        verify(second !== first)
        compare(second, requestOf(panel).mmd5("123456", Session.appSecret))
    }

    function test_wrong_password_shows_the_backend_message_and_empties_the_password() {
        openWindow()
        var panel = mainPanel()
        passwordSignIn(panel, "zhangli", "654321")
        var dialog = findChild(panel, "errorDialog")
        tryCompare(dialog, "visible", true)
        compare(dialog.title, "错误提示")
        compare(Session.errormsg, "账号或密码错误")
        compare(dialog.text, "账号或密码错误,请重新输入")
        compare(findChild(panel, "passwordField").text, "654321")
        shot(window.contentItem, "signin-password")
        dialog.click(StandardButton.Yes)
        compare(findChild(panel, "passwordField").text, "")
        compare(findChild(panel, "accountField").text, "zhangli")
        compare(Session.enterFlag, "MAIN")
        compare(menuIn("contentArea"), null)
        compare(TestSupport.readFile("setting/account.ini"), "")
    }

    function test_account_suggestions_ignore_letter_case() {
        verify(TestSupport.writeFile("setting/account.ini", "cab\nbac\nABC\n"))
        openWindow()
        var panel = mainPanel()
        mouseClick(findChild(panel, "passwordTab"))
        var accountField = findChild(panel, "accountField")
        compare(accountField.text, "cab")
        // The initial text opens no list.
        verify(!findChild(panel, "accountList").visible)
        accountField.text = ""
        mouseClick(accountField)
        type("Ab")
        var list = findChild(panel, "accountList")
        verify(list.visible)
        var shown = []
        for (var i = 0; i < panel.accounts.length; ++i)
            shown.push(panel.accounts[i].view)
        compare(shown, ["cab", "ABC"])
        shot(window.contentItem, "signin-suggestions")
        // Picking a row fills the field without opening the list again.
        var view = findChild(panel, "accountView")
        laidOut(view)
        mouseClick(view.itemAtIndex(1))
        compare(accountField.text, "ABC")
        verify(!list.visible)
        // The drop-down button lists every account; a click on the background closes it.
        mouseClick(findChild(panel, "dropButton"))
        verify(list.visible)
        compare(panel.accounts.length, 3)
        mouseClick(panel, 5, 5)
        verify(!list.visible)
    }

    function test_known_account_in_other_case_adds_no_line() {
        verify(TestSupport.writeFile("setting/account.ini", "ZhangLi\nother\n"))
        openWindow()
        passwordSignIn(mainPanel(), "zhangli", "123456")
        waitForMenu("contentArea", 12)
        compare(TestSupport.readFile("setting/account.ini"), "ZhangLi\nother\n")
    }

    function test_card_login_at_start_up() {
        verify(TestSupport.writeFile("setting/account.ini", "zhangli\n"))
        layCard("STAFF-0002-WQ")
        Session.storeId = "kept"
        Session.mainName = "kept"
        openWindow()
        // The version check found nothing newer and a card lies on the reader.
        waitForMenu("contentArea", 5)
        compare(Session.workername, "王强")
        compare(Session.storename, "净衣坊·徐汇店")
        compare(Session.storeAddr, "上海市徐汇区漕溪北路88号")
        verify(String(Session.accessToken).length > 0)
        compare(Session.enterFlag, "MENU")
        compare(Session.serialNum, serial)
        // What a card login does not fill keeps its value.
        compare(Session.workerid, 0)
        compare(Session.storeId, "kept")
        compare(Session.mainName, "kept")
        var logins = sent(mainSpy, "cashier/refid/login")
        compare(logins.length, 1)
        compare(queryValue(logins[0], "rfidSecret"), "STAFF-0002-WQ")
        compare(queryValue(logins[0], "serialNum"), serial)
        compare(TestSupport.readFile("setting/account.ini"), "zhangli\n")
    }

    function test_card_login_appends_the_typed_account() {
        verify(TestSupport.writeFile("setting/account.ini", "zhangli\n"))
        openWindow()
        var panel = mainPanel()
        mouseClick(findChild(panel, "passwordTab"))
        findChild(panel, "accountField").text = "cardholder"
        layCard("STAFF-0001-ZL")
        // The card tab, clicked in password mode, switches back and signs in at once.
        mouseClick(findChild(panel, "cardTab"))
        compare(Session.loginFlag, "rfID")
        waitForMenu("contentArea", 12)
        compare(Session.workername, "张丽")
        compare(accountLines(), ["zhangli", "cardholder"])
        compare(sent(mainSpy, "attachment/qiniu/token").length, 0)
    }

    function test_request_object_reads_the_card_reader() {
        openWindow()
        var request = requestOf(mainPanel())
        compare(request.getCardId(), "")
        compare(request.getRFIDSecret(), "")
        verify(TestSupport.writeFile("card.txt", "iso15693=E004015012345678\n"))
        compare(request.getCardId(), "e004015012345678")
        layCard("STAFF-0003-LY")
        compare(request.getRFIDSecret(), "STAFF-0003-LY")
    }

    function test_card_login_without_a_card_shows_the_refusal() {
        openWindow()
        var panel = mainPanel()
        mouseClick(findChild(panel, "passwordTab"))
        mouseClick(findChild(panel, "cardTab"))
        var dialog = findChild(panel, "errorDialog")
        tryCompare(dialog, "visible", true)
        var logins = sent(mainSpy, "cashier/refid/login")
        compare(logins.length, 1)
        compare(queryValue(logins[0], "rfidSecret"), "")
        verify(Session.errormsg.length > 0)
        compare(dialog.text, Session.errormsg + ",请重新输入")
        compare(Session.accessToken, "")
        compare(menuIn("contentArea"), null)
        dialog.click(StandardButton.Yes)
    }

    function test_refused_handshake_is_retried_after_a_growing_pause() {
        openWindow()
        var panel = mainPanel()
        compare(panel.retryDelayMs, 1000)
        TestSupport.setEnv("BRENVO_SERIAL_NUM", "BV-NOT-REGISTERED")
        panel.startSignIn()
        // Refused at 0 s, then tried again at about 1 s and 3 s (pauses of 1 s and 2 s);
        // without the pause the loop would send hundreds in this time.
        wait(3500)
        var tries = sent(mainSpy, "client/sign").length
        verify(tries >= 2 && tries <= 4, tries + " handshakes in 3.5 s")
        verify(panel.retryPending)
        verify(panel.retryDelayMs >= 4000, panel.retryDelayMs)
        compare(Session.appSecret, "")
        compare(sent(mainSpy, "cashier/refid/login").length, 0)

        // An accepted handshake resets the pause. In password mode with both fields empty no
        // login follows it.
        TestSupport.setEnv("BRENVO_SERIAL_NUM", serial)
        mouseClick(findChild(panel, "passwordTab"))
        findChild(panel, "accountField").text = ""
        panel.startSignIn()
        tryVerify(function () { return String(Session.appSecret) !== "" })
        compare(panel.retryDelayMs, 1000)
        verify(!panel.retryPending)
        wait(300)
        compare(sent(mainSpy, "client/login").length, 0)
    }

    function test_enter_reaches_only_the_screen_whose_flag_is_current() {
        openWindow()
        var panel = mainPanel()
        mouseClick(findChild(panel, "passwordTab"))
        findChild(panel, "accountField").text = ""
        Session.enterFlag = "MENU"
        keyClick(Qt.Key_Return)
        wait(300)
        compare(sent(mainSpy, "client/sign").length, 0)
        Session.enterFlag = "MAIN"
        keyClick(Qt.Key_Return)
        tryVerify(function () { return sent(mainSpy, "client/sign").length === 1 })

        // The login screen over everything owns "MAINl"; the covered panel stays quiet.
        var component = Qt.createComponent("qrc:/login.qml")
        compare(component.status, Component.Ready, component.errorString())
        var login = component.createObject(findChild(window.contentItem, "windowLayer"))
        compare(Session.enterFlag, "MAINl")
        loginSpy.target = requestOf(findChild(login, "loginSignInPanel"))
        layCard("STAFF-0001-ZL")
        keyClick(Qt.Key_Enter)
        tryVerify(function () { return sent(loginSpy, "client/sign").length === 1 })
        // Signed in: the flag is now "MENU", which no sign-in acts on.
        waitForMenu("loginContentArea", 12)
        compare(Session.enterFlag, "MENU")
        keyClick(Qt.Key_Return)
        wait(300)
        compare(sent(loginSpy, "client/sign").length, 1)
        compare(sent(mainSpy, "client/sign").length, 1)
    }

    function test_sign_out_shows_the_login_screen_where_a_second_sign_in_works() {
        openWindow()
        passwordSignIn(mainPanel(), "zhangli", "123456")
        waitForMenu("contentArea", 12)
        var firstToken = Session.accessToken
        verify(TestSupport.writeFile("qrpic/order1.png", "picture"))
        verify(TestSupport.writeFile("setting/account.ini", "zhangli\n"))
        Session.mainName = "first worker's merchant"

        mouseClick(findChild(window.contentItem, "portrait"))
        var logout = findChild(window.contentItem, "logoutButton")
        verify(logout !== null)
        mouseClick(logout)
        tryVerify(function () { return findChild(window.contentItem, "login") !== null })
        verify(!TestSupport.exists("qrpic/order1.png"))
        compare(Session.enterFlag, "MAINl")
        compare(Session.loginFlag, "rfID")
        compare(Session.accountchange, false) // set by the account field's initial text
        var login = findChild(window.contentItem, "login")
        var panel = findChild(login, "loginSignInPanel")
        compare(findChild(panel, "accountField").text, "zhangli")
        waitForRendering(login)
        shot(window.contentItem, "signin-login-screen")

        // A card and the Enter key sign the next worker in on the login screen.
        loginSpy.target = requestOf(panel)
        findChild(panel, "accountField").text = "nextworker"
        layCard("STAFF-0002-WQ")
        keyClick(Qt.Key_Return)
        var grid = waitForMenu("loginContentArea", 5)
        compare(Session.workername, "王强")
        verify(Session.accessToken !== firstToken)
        compare(Session.enterFlag, "MENU")
        verify(findChild(login, "loginLeftBar").signedIn)
        // The first worker's screens and the sign-out panel were released, not kept below.
        tryCompare(findChild(window.contentItem, "contentArea").children, "length", 0)
        compare(findChild(window.contentItem, "windowLayer").children.length, 1)
        // The login screen's handshake names the machine; its logins leave the merchant alone.
        var handshake = sent(loginSpy, "client/sign")[0]
        verify(queryValue(handshake, "mac") !== undefined, handshake)
        compare(Session.mainName, "first worker's merchant")
        // It writes the account on top and fetches the upload token.
        compare(TestSupport.readFile("setting/account.ini"), "nextworker\nzhangli\n")
        tryVerify(function () { return Session.qiniuToken !== "" })
        compare(sent(loginSpy, "attachment/qiniu/token").length, 1)
        verify(grid.count === 5)

        // Signing out again replaces this login screen; only one is ever kept.
        mouseClick(findChild(login, "portrait"))
        mouseClick(findChild(window.contentItem, "logoutButton"))
        tryVerify(function () {
            var layer = findChild(window.contentItem, "windowLayer")
            return layer.children.length === 1 && layer.children[0] !== login
                && layer.children[0].objectName === "login"
        }, 5000)
    }

    // A held-down Enter, or Enter twice: one sign-in, which still reaches the menu.
    function test_double_enter_signs_in_once() {
        openWindow()
        layCard("STAFF-0001-ZL")
        keyClick(Qt.Key_Return)
        keyClick(Qt.Key_Return)
        keyClick(Qt.Key_Enter)
        waitForMenu("contentArea", 12)
        verify(Session.accessToken !== "")
        compare(Session.workername, "张丽")
        wait(300)
        compare(sent(mainSpy, "client/sign").length, 1)
        compare(sent(mainSpy, "cashier/refid/login").length, 1)
    }

    // The four ways a backend fails to answer: the worker is told within the time limit,
    // and Enter tries again at once with the pause starting again from 1 s.
    function test_unreachable_backend_is_told_and_retried_data() {
        return [
            { tag: "backend down", mode: "down" },
            { tag: "accepts and never answers", mode: "hold" },
            { tag: "HTML 502 page", mode: "html502" },
            { tag: "truncated JSON", mode: "truncated" }
        ]
    }
    function test_unreachable_backend_is_told_and_retried(row) {
        openWindow()
        routed.start()
        fake.setMode(row.mode)
        TestSupport.setEnv("BRENVO_REQUEST_TIMEOUT_MS", "1500")
        var panel = mainPanel()
        var line = findChild(panel, "problemLine")
        verify(!line.visible)

        keyClick(Qt.Key_Return)
        tryVerify(function () { return line.visible }, 3000, "nothing shown")
        compare(line.text, "无法连接服务器，正在重试…")
        // The automatic retry fails too, and the pause grows.
        tryCompare(panel, "retryDelayMs", 4000, 6000)
        verify(panel.retryPending)

        var before = sent(mainSpy, "client/sign").length
        keyClick(Qt.Key_Return)
        compare(sent(mainSpy, "client/sign").length, before + 1)
        tryCompare(panel, "retryDelayMs", 2000, 3000)
        verify(line.visible)

        // The backend is back: the line clears and the worker on the card signs in.
        TestSupport.setEnv("BRENVO_BACKEND_URL", TestSupport.backendUrl)
        layCard("STAFF-0001-ZL")
        keyClick(Qt.Key_Return)
        waitForMenu("contentArea", 12)
        verify(!line.visible)
        compare(panel.retryDelayMs, 1000)
    }

    function signOutToLoginScreen() {
        mouseClick(findChild(window.contentItem, "portrait"))
        mouseClick(findChild(window.contentItem, "logoutButton"))
        tryVerify(function () { return findChild(window.contentItem, "login") !== null })
        return findChild(findChild(window.contentItem, "login"), "loginSignInPanel")
    }

    // A card sign-in names the terminal as the password sign-in does: its login and every
    // request after it carry the terminal's serial number (here the upload token that a
    // card sign-in on the login screen fetches), also when no password sign-in came first.
    function test_requests_after_a_card_sign_in_carry_the_serial_number() {
        layCard("STAFF-0001-ZL")
        openWindow()
        waitForMenu("contentArea", 12)
        compare(Session.serialNum, serial)
        compare(queryValue(sent(mainSpy, "cashier/refid/login")[0], "serialNum"), serial)

        var panel = signOutToLoginScreen()
        loginSpy.target = requestOf(panel)
        keyClick(Qt.Key_Return)
        waitForMenu("loginContentArea", 12)
        compare(queryValue(sent(loginSpy, "cashier/refid/login")[0], "serialNum"), serial)
        tryVerify(function () { return sent(loginSpy, "attachment/qiniu/token").length === 1 })
        compare(queryValue(sent(loginSpy, "attachment/qiniu/token")[0], "serialNum"), serial)
        compare(Session.serialNum, serial)
    }

    // The sign-in panel names the store of the last sign-in, whichever way it went: the name
    // is kept in "setting/stroename.ini" and shown on the next sign-in panel.
    function test_sign_in_panel_shows_the_store_of_the_last_sign_in_data() {
        return [
            { tag: "first sign-in by card", card: "STAFF-0002-WQ", entries: 5 },
            { tag: "first sign-in by password", card: "", entries: 12 }
        ]
    }
    function test_sign_in_panel_shows_the_store_of_the_last_sign_in(row) {
        openWindow()
        compare(findChild(mainPanel(), "storeNameText").text, "所属门店：")
        if (row.card !== "") {
            layCard(row.card)
            keyClick(Qt.Key_Return)
        } else {
            passwordSignIn(mainPanel(), "zhangli", "123456")
        }
        waitForMenu("contentArea", row.entries)
        compare(TestSupport.readFile("setting/stroename.ini"), "净衣坊·徐汇店\n")
        var panel = signOutToLoginScreen()
        compare(findChild(panel, "storeNameText").text, "所属门店：净衣坊·徐汇店")
    }

    // Enter signs in by card whenever the card tab shows, at start-up as after a sign-out;
    // what is typed meanwhile lands in no hidden field.
    function test_enter_signs_in_by_card_where_the_card_tab_shows_data() {
        return [ { tag: "at start-up", signOut: false }, { tag: "after a sign-out", signOut: true } ]
    }
    function test_enter_signs_in_by_card_where_the_card_tab_shows(row) {
        verify(TestSupport.writeFile("setting/account.ini", "zhangli\n"))
        openWindow()
        var panel = mainPanel()
        var host = "contentArea"
        if (row.signOut) {
            passwordSignIn(panel, "zhangli", "123456")
            waitForMenu("contentArea", 12)
            panel = signOutToLoginScreen()
            loginSpy.target = requestOf(panel)
            host = "loginContentArea"
        }
        compare(Session.loginFlag, "rfID")
        var field = findChild(panel, "accountField")
        verify(field === null || !field.activeFocus)
        keyClick(Qt.Key_X)
        verify(field === null || field.text === (row.signOut ? "zhangli" : ""))
        layCard("STAFF-0002-WQ")
        keyClick(Qt.Key_Return)
        waitForMenu(host, 5)
        compare(Session.workername, "王强")
    }
}
