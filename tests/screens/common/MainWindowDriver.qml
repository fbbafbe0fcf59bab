import QtQuick 2.15
import Brenvo 1.0
import BrenvoTest 1.0

// The terminal's main window driven as a worker drives it, for the walks that run in the
// real window (the first order, a garment's road): sign-in, the menu and the home button,
// the printers on the settings screen, garment entry, prints to the "pdf" printer read back,
// and pictures of the window. `testCase` is the ScreenTestCase that waits, clicks and types.
QtObject {
    property var testCase
    property var window: null
    // Pictures of the window are named `shotPrefix` + their name, drawn at `shotScale`.
    property string shotPrefix: ""
    property real shotScale: 1
    // Where the "pdf" printer writes.
    readonly property string pdf: "release/qrpic/123.pdf"

    // The main window, as the terminal starts: the version checked, the sign-in panel shown.
    function open() {
        window = testCase.createWindow("qrc:/main.qml")
        window.requestActivate()
        testCase.tryCompare(window, "active", true)
        testCase.tryCompare(Session, "newestVersion", "V4.0.2")
        return window
    }

    // --- Finding and clicking ------------------------------------------------------------

    function find(name) {
        return inside(window.contentItem, name)
    }

    function inside(parent, name) {
        var found = null
        testCase.tryVerify(function () { found = testCase.findChild(parent, name); return found !== null }, 5000, name)
        return found
    }

    function clickIn(parent, name) {
        var target = inside(parent, name)
        testCase.tryVerify(function () { return target.visible }, 5000, name + " shown")
        testCase.click(target)
    }

    // A picture of the window.
    function picture(name) {
        testCase.shot(window.contentItem, shotPrefix + name, shotScale)
    }

    // --- Sign-in and the menu ------------------------------------------------------------

    // "账号登录", the account and the password typed, the picture `shotName` (if any) taken
    // before "登录"; the menu once it shows.
    function signIn(account, password, shotName) {
        var panel = find("signInPanel")
        testCase.mouseClick(testCase.findChild(panel, "passwordTab"))
        var accountField = testCase.findChild(panel, "accountField")
        accountField.text = ""
        testCase.mouseClick(accountField)
        testCase.type(account)
        testCase.mouseClick(panel, 5, 5)
        testCase.mouseClick(testCase.findChild(panel, "passwordField"))
        testCase.type(password)
        if (shotName)
            picture(shotName)
        testCase.mouseClick(testCase.findChild(panel, "loginButton"))
        return menu()
    }

    // The menu, once it shows the worker's twelve entries.
    function menu() {
        var shown = find("Menu")
        testCase.tryCompare(find("menuGrid"), "count", 12)
        return shown
    }

    // The home button: every screen closes, a fresh menu shows.
    function home() {
        var before = find("Menu")
        testCase.mouseClick(find("homeButton"))
        testCase.tryVerify(function () { return testCase.closed(before) }, 5000, "the screens are still open")
        return menu()
    }

    // The menu's entry `menuId` clicked: the screen it opens.
    function openEntry(menuId, screenName) {
        var shown = menu()
        clickIn(shown, "entry_" + menuId)
        return inside(shown, screenName)
    }

    // On the settings screen, the printer page `section` (1 labels, 2 tickets, 3
    // certificates): "pdf", kept in `file` and in the session.
    function choosePdf(settings, section, file, sessionKey) {
        clickIn(settings, "section" + section)
        var page = inside(settings, "printerPage" + section)
        testCase.tryVerify(function () { return page.visible && !testCase.findChild(settings, "printerShade").visible }, 5000,
                           "printers listed")
        var choice = inside(page, "choice_pdf")
        testCase.mouseClick(choice)
        testCase.compare(Session[sessionKey], "pdf")
        testCase.compare(TestSupport.readFile(file).trim(), "pdf")
        testCase.verify(testCase.findChild(choice, "tick").visible)
    }

    // --- Garment entry -------------------------------------------------------------------

    // An entry of a grid, clicked once it is shown where the worker clicks.
    function pick(entry, kind, name) {
        testCase.mouseClick(testCase.inSight(entry.tabs.grid(kind).view, "cell:" + name))
        testCase.settle(entry)
    }

    // A number typed into the entry's input window `windowName`, confirmed.
    function enter(entry, windowName, text) {
        var w = inside(entry, windowName)
        testCase.tryVerify(function () { return w.visible }, 3000, windowName)
        testCase.findChild(w, "inputField").forceActiveFocus()
        testCase.type(text)
        testCase.mouseClick(testCase.findChild(w, "inputConfirm"))
    }

    // One garment through the garment entry screen, opened by "添加衣物" on `intake`; `more`
    // (if any) chooses the rest (size, accessories, add-ons) before "完成", and the picture
    // `shotName` (if any) is taken then.
    function addGarment(intake, project, category, garment, service, more, shotName) {
        var rowsBefore = intake.conversation.rows.length
        clickIn(intake, "addGarmentButton")
        var entry = inside(intake, "ChooseClothInfo")
        testCase.settle(entry)
        pick(entry, "project", project)
        pick(entry, "category", category)
        pick(entry, "garment", garment)
        pick(entry, "service", service)
        if (more)
            more(entry)
        if (shotName)
            picture(shotName)
        testCase.mouseClick(testCase.findChild(entry, "finishButton"))
        testCase.tryVerify(function () { return testCase.findChild(intake, "ChooseClothInfo") === null }, 5000, "entry closed")
        testCase.tryVerify(function () { return intake.conversation.rows.length > rowsBefore }, 5000)
        testCase.settle(intake.conversation.backend)
    }

    // --- Prints --------------------------------------------------------------------------

    // Prints through `doClick` and waits for the PDF it writes; the codes on `page` of it.
    function printed(doClick, page) {
        TestSupport.removeFile(pdf)
        doClick()
        testCase.tryVerify(function () { return TestSupport.exists(pdf) }, 5000, "nothing printed")
        return TestSupport.pdfCodes(pdf, page)
    }

    // The codes of every page of the PDF, page by page.
    function codesByPage() {
        var pages = TestSupport.pdfPages(pdf)
        var codes = []
        for (var page = 1; page <= pages.length; ++page)
            codes.push(TestSupport.pdfCodes(pdf, page))
        return codes
    }
}
