import QtQuick 2.15
import QtQuick.Window 2.15
import QtTest 1.2
import Brenvo 1.0
import BrenvoTest 1.0
import "qrc:/screens.js" as Screens
import "qrc:/requests.js" as Requests
import "signin.js" as SignIn
import "views.js" as Views
import "fakeroutes.js" as Routes

// The set-up every screen test shares: a window of the size screens get in the terminal with
// the host they are opened over, the demo worker signed in when the test needs it, a backend
// of the test's own (RoutedFake) beside the reference backend, the message boxes, and the
// helpers a test drives a screen with.
//
// After each test this case puts everything back: what the test opened over the host and the
// windows it opened, the spies, the environment, held writes and the boxes. A test keeps its
// own init() for what it prepares; it leaves initTestCase() and cleanup() to this case.
TestCase {
    id: screenCase
    when: windowShown

    // Sign the demo worker in against the reference backend before the first test.
    property bool needsSignIn: false
    // Whether the worker confirms every message box; put back before each test.
    property bool confirmsBoxes: true

    // The screen under test: item() looks in it.
    property var screen: null
    readonly property alias host: hostItem

    // A backend of the test's own: routed.start() points the screens at it, and `routes`
    // answers its held requests by path (fakeroutes.js). Back to the reference backend after
    // each test.
    readonly property alias routed: routedFake
    property alias fake: routedFake.fake
    property alias routes: routedFake.routes
    property alias answered: routedFake.answered
    // Calls beside the screen, signed with the test's session.
    readonly property alias reference: referenceBackend

    // [title, text] of each message box shown since the test began; TestSupport.boxes() has
    // their kinds too.
    property var boxes: []
    // A message box that only records: put into a screen's messageBox, it leaves the box up
    // until the test confirms it through the screen's followUp.confirm(), so that a test sees
    // what the screen shows before the next step. (A box of the system's answers while it is
    // shown, as TestSupport.confirmBoxes() says.)
    readonly property QtObject boxRecorder: QtObject {
        function btnMsgMessageInformationBox(title, text) { TestSupport.recordBox("information", title, text) }
        function btnMsgMessageErrBox(title, text) { TestSupport.recordBox("error", title, text) }
    }

    // Windows made with createWindow(), closed after each test.
    property var windows: []

    // The content area of the terminal's panel (1280 x 880 less the 80-pixel bar), where it
    // opens its screens. It is made the active window: key clicks go there.
    Window {
        id: hostWindow
        width: 1200
        height: 880
        visible: true
        Item { id: hostItem; anchors.fill: parent }
    }

    RoutedFake { id: routedFake; testCase: screenCase }
    ReferenceBackend { id: referenceBackend; testCase: screenCase }

    Connections {
        target: TestSupport
        function onBoxShown(kind, title, text) { screenCase.boxes.push([title, text]) }
    }

    function initTestCase() {
        hostWindow.requestActivate()
        tryCompare(hostWindow, "active", true)
        putBack()
        if (needsSignIn) {
            SignIn.signIn("BV2024000001", "zhangli", "123456")
            tryVerify(function () { return Session.accessToken !== "" }, 5000, "no sign-in")
        }
    }

    function cleanup() {
        Screens.closeAll(hostItem)
        for (var i = hostItem.children.length - 1; i >= 0; --i)
            hostItem.children[i].destroy()
        for (var w = 0; w < windows.length; ++w)
            windows[w].destroy()
        windows = []
        screen = null
        routedFake.stop()
        for (var d = 0; d < screenCase.data.length; ++d) {
            var spy = screenCase.data[d]
            if (spy.signalName !== undefined && typeof spy.clear === "function") {
                spy.target = null
                spy.clear()
            }
        }
        // What was closed goes now, with the requests it had out.
        wait(0)
        putBack()
    }

    function putBack() {
        TestSupport.restoreEnv()
        Requests.forgetHeldWrites()
        TestSupport.clearBoxes()
        TestSupport.confirmBoxes(confirmsBoxes)
        boxes = []
    }

    // A window of the terminal's resources (the main window, say), closed after the test.
    function createWindow(url) {
        var component = Qt.createComponent(url)
        compare(component.status, Component.Ready, component.errorString())
        var window = component.createObject(null)
        verify(window !== null, "no window from " + url)
        windows.push(window)
        return window
    }

    // The item named `name` in `within` (the screen under test, else the host).
    function item(name, within) {
        var found = findChild(within || screen || hostItem, name)
        verify(found !== null, "no " + name)
        return found
    }

    // A click on `target` (an item, or the name of a shown one in the screen) once what
    // holds it is laid out: panels shown a moment ago may not be yet.
    function click(target) {
        if (typeof target === "string") {
            var name = target
            target = item(name)
            verify(target.visible, name + " is not shown")
        }
        for (var p = target.parent; p !== null && p !== hostItem; p = p.parent)
            waitForItemPolished(p)
        mouseClick(target)
    }

    // Keys typed into what has the focus.
    function type(text) {
        for (var i = 0; i < text.length; ++i)
            keyClick(text.charAt(i))
    }

    // A picture of `target` (the host when only a name is given) left in BRENVO_SHOTS_DIR
    // for a look by eye. The grab draws the scene as it is now; waitForRendering() would wait
    // out its whole time limit for a scene that has nothing new to draw. A `scale` below 1
    // draws the scene that much smaller (pictures for the documentation).
    function shot(target, name, scale) {
        if (name === undefined) {
            name = target
            target = hostItem
        }
        if (TestSupport.shotsDir === "")
            return
        var path = TestSupport.shotsDir + "/" + name + ".png"
        if (scale === undefined || scale >= 1) {
            grabImage(target).save(path)
            return
        }
        var saved = null
        var size = Qt.size(Math.round(target.width * scale), Math.round(target.height * scale))
        verify(target.grabToImage(function (result) { saved = result.saveToFile(path) }, size), "no picture of " + name)
        tryVerify(function () { return saved !== null }, 5000, "no picture of " + name)
        verify(saved, "cannot write " + path)
    }

    // Waits until `item` and everything in it are laid out: positioners and views place what
    // they hold when they are polished. (waitForRendering() would wait out its whole time
    // limit when nothing has changed since the last frame.)
    function laidOut(item) {
        waitForItemPolished(item)
        for (var i = 0; i < item.children.length; ++i)
            laidOut(item.children[i])
    }

    // Waits until `owner` (a screen or conversation with `backend` and `loading`, or a
    // BackendRequest) is loaded and has no request out.
    function settle(owner) {
        var backend = owner.backend !== undefined ? owner.backend : owner
        tryVerify(function () { return owner.loading !== true && backend.pending === 0 }, 5000,
                  "requests still out")
    }

    // Whether `target` (the screen under test by default) is closed: the properties of a
    // destroyed object read as undefined.
    function closed(target) {
        var s = target === undefined ? screen : target
        return s === null || s.objectName === undefined
    }

    // The item named `name` in `view` once it is shown inside the view, where a worker would
    // click it (a view scrolling to it may not have got there yet).
    function inSight(view, name) {
        var found = null
        tryVerify(function () {
            found = findChild(view, name)
            if (found === null || !found.visible)
                return false
            var p = found.mapToItem(view, found.width / 2, found.height / 2)
            return p.x > 0 && p.y > 0 && p.x < view.width && p.y < view.height
        }, 5000, name + " not in sight")
        return found
    }

    // Row `index` of a ListView, once the view has made it.
    function rowAt(list, index) {
        return Views.rowAt(screenCase, list, index)
    }

    // The fields of a signed request's address (as a request object's reqParamsReturn gives
    // it), decoded.
    function query(url) {
        var out = {}
        url.substring(url.indexOf("?") + 1).split("&").forEach(function (pair) {
            var eq = pair.indexOf("=")
            out[pair.substring(0, eq)] = decodeURIComponent(pair.substring(eq + 1))
        })
        return out
    }

    // The bodies the screens sent to `path` of the test's own backend, in order (as texts
    // with `raw`).
    function sentTo(path, raw) {
        return Routes.sentTo(fake, path, raw)
    }

    function ok(data) {
        return Routes.ok(data)
    }

    function refused(code, msg) {
        return Routes.refused(code, msg)
    }
}
