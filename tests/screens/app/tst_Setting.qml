import QtQuick 2.15
import QtTest 1.2
import FileIo 1.0
import Brenvo 1.0
import BrenvoTest 1.0
import "../common"
import "qrc:/settingoptions.js" as Options

// The settings screen with the system's printers from the private CUPS queue "BrenvoPDF" and
// the version files of the reference backend. The browser is a stand-in, since the real one
// is another program; the update prompt is recorded and left unanswered ("去更新" would start
// the updater and end the program).
ScreenTestCase {
    id: testCase
    name: "Setting"
    confirmsBoxes: false

    property int printerFetches: 0
    property var opened: []

    FileIo { id: fileIo }
    SignalSpy { id: versionRequests; signalName: "reqParamsReturn" }
    SignalSpy { id: updating; signalName: "updating" }

    readonly property var printerRoles: [
        { section: 1, title: "水洗标打印机设置", file: "setting/Wash.ini", session: "washPrinterName" },
        { section: 2, title: "小票打印机设置", file: "setting/Ticket.ini", session: "ticketPriterName" },
        { section: 3, title: "合格证打印机设置", file: "setting/Certificate.ini", session: "certificatePrinterName" }
    ]

    function openScreen() {
        var component = Qt.createComponent("qrc:/Setting.qml")
        compare(component.status, Component.Ready, component.errorString())
        screen = component.createObject(host)
        verify(screen !== null)
        // Counts the screen's questions to the system, which still answers them.
        var real = screen.printerSource
        screen.printerSource = {
            getPrinterList: function () {
                ++testCase.printerFetches
                return real.getPrinterList()
            }
        }
        screen.openUrl = function (url) { testCase.opened.push(url); return true }
        versionRequests.target = findChild(screen, "settingVersionCheck").request
        updating.target = screen
        waitForRendering(screen)
        return screen
    }

    function init() {
        printerFetches = 0
        opened = []
        Session.enterFlag = "MENU"
        Session.messagePost = ""
        Session.newestVersion = "V4.0.2"
        for (var i = 0; i < printerRoles.length; ++i)
            Session[printerRoles[i].session] = ""
    }

    // What a settings file holds, one value per line (empty lines dropped).
    function fileLines(path) {
        fileIo.source = path
        return fileIo.readlines().split("\n").filter(function (line) { return line !== "" })
    }

    // Clicks a section button; the printers' shade, while up, takes the clicks.
    function showSection(index) {
        mouseClick(findChild(screen, "section" + index))
        tryCompare(findChild(screen, "printerShade"), "visible", false)
    }

    function printerPage(section) {
        var page = findChild(screen, "printerPage" + section)
        tryVerify(function () { return screen.printers !== null }, 5000, "no printer list")
        verify(!findChild(screen, "printerShade").visible)
        laidOut(page)
        return page
    }

    function tickedIn(item, labels) {
        var ticked = []
        for (var i = 0; i < labels.length; ++i) {
            var entry = findChild(item, "choice_" + labels[i])
            if (entry !== null && findChild(entry, "tick").visible)
                ticked.push(labels[i])
        }
        return ticked
    }

    function test_sections_show_their_pages_and_titles() {
        Session.storename = "净衣坊·徐汇店"
        Session.storeSerial = "BV2024000001"
        Session.storeCreatTime = "2024/03/1 "
        Session.storeAddr = "上海市徐汇区漕溪北路88号"
        openScreen()
        compare(Session.enterFlag, "Setting")
        compare(findChild(screen, "pageTitle").text, "门店信息")
        verify(findChild(screen, "storePage").visible)
        compare(findChild(screen, "storeName").text, "净衣坊·徐汇店")
        compare(findChild(screen, "storeSerial").text, "BV2024000001")
        compare(findChild(screen, "storeCreatTime").text, "2024/03/1 ")
        compare(findChild(screen, "storeAddr").text, "上海市徐汇区漕溪北路88号")
        compare(String(findChild(screen, "section0").color), "#479fff")
        compare(String(findChild(screen, "section1").color), "#ffffff")
        shot("setting-store")

        var titles = ["门店信息", "水洗标打印机设置", "小票打印机设置", "合格证打印机设置",
                      "参数设置", "关于Brenvo"]
        var pages = ["storePage", "printerPage1", "printerPage2", "printerPage3", "optionsPage",
                     "aboutPage"]
        for (var i = titles.length - 1; i >= 0; --i) {
            showSection(i)
            compare(findChild(screen, "pageTitle").text, titles[i])
            for (var j = 0; j < pages.length; ++j)
                compare(findChild(screen, pages[j]).visible, i === j, pages[j])
            for (var k = 0; k < titles.length; ++k)
                compare(findChild(screen, "section" + k).selected, i === k)
        }
    }

    function test_printers_are_listed_once_per_visit() {
        openScreen()
        compare(printerFetches, 0)
        mouseClick(findChild(screen, "section2"))
        verify(findChild(screen, "printerShade").visible)
        printerPage(2)
        compare(screen.printers, ["BrenvoPDF"])
        compare(findChild(printerPage(2), "printerChoices").labels, ["无", "pdf", "BrenvoPDF"])
        for (var i = 1; i <= 3; ++i) {
            showSection(i)
            compare(findChild(printerPage(i), "printerChoices").labels, ["无", "pdf", "BrenvoPDF"])
        }
        showSection(0)
        showSection(2)
        wait(100)
        compare(printerFetches, 1)

        // The next visit asks again.
        screen.destroy()
        openScreen()
        showSection(3)
        printerPage(3)
        compare(printerFetches, 2)
    }

    function test_printer_choice_is_stored_alone_data() {
        return printerRoles.map(function (role) { role.tag = role.file; return role })
    }

    function test_printer_choice_is_stored_alone(role) {
        verify(TestSupport.writeFile(role.file, "OldPrinter\n"))
        Session[role.session] = "OldPrinter"
        openScreen()
        showSection(role.section)
        var page = printerPage(role.section)
        compare(findChild(screen, "pageTitle").text, role.title)
        var all = ["无", "pdf", "BrenvoPDF"]
        // A name that is no installed printer ticks nothing.
        compare(tickedIn(page, all), [])

        mouseClick(findChild(page, "choice_BrenvoPDF"))
        compare(Session[role.session], "BrenvoPDF")
        compare(fileLines(role.file), ["BrenvoPDF"])
        compare(tickedIn(page, all), ["BrenvoPDF"])

        // "无" is stored as a name like any other.
        mouseClick(findChild(page, "choice_无"))
        compare(Session[role.session], "无")
        compare(fileLines(role.file), ["无"])
        compare(tickedIn(page, all), ["无"])
        // The other roles keep theirs.
        for (var i = 0; i < printerRoles.length; ++i)
            if (printerRoles[i].session !== role.session)
                compare(Session[printerRoles[i].session], "")
    }

    function test_current_printer_is_ticked_on_opening() {
        Session.ticketPriterName = "BrenvoPDF"
        Session.washPrinterName = "无"
        Session.certificatePrinterName = "pdf"
        var all = ["无", "pdf", "BrenvoPDF"]
        openScreen()
        showSection(2)
        compare(tickedIn(printerPage(2), all), ["BrenvoPDF"])
        shot("setting-printers")
        showSection(1)
        compare(tickedIn(printerPage(1), all), ["无"])
        showSection(3)
        compare(tickedIn(printerPage(3), all), ["pdf"])
    }

    // The README's first order: the worker chooses "pdf" for the labels and the tickets, and
    // what prints lands in release/qrpic/123.pdf. The choice holds on the next visit.
    function test_pdf_printer_is_chosen_data() {
        return printerRoles.map(function (role) { role.tag = role.file; return role })
    }

    function test_pdf_printer_is_chosen(role) {
        openScreen()
        showSection(role.section)
        var page = printerPage(role.section)
        var all = ["无", "pdf", "BrenvoPDF"]
        compare(tickedIn(page, all), [])
        mouseClick(findChild(page, "choice_pdf"))
        compare(Session[role.session], "pdf")
        compare(fileLines(role.file), ["pdf"])
        compare(tickedIn(page, all), ["pdf"])

        screen.destroy()
        openScreen()
        showSection(role.section)
        compare(tickedIn(printerPage(role.section), all), ["pdf"])
    }

    function test_printer_choices_data() {
        return [
            { tag: "no printer installed", installed: [], names: ["无", "pdf"] },
            { tag: "in the system's order", installed: ["Zebra", "BrenvoPDF"], names: ["无", "pdf", "Zebra", "BrenvoPDF"] },
            { tag: "a queue named pdf is listed once", installed: ["pdf", "Zebra"], names: ["无", "pdf", "Zebra"] }
        ]
    }

    function test_printer_choices(row) {
        compare(Options.printerChoices(row.installed), row.names)
    }

    function test_option_choice_is_stored_alone_data() {
        return [
            { tag: "garment label", row: 0, list: 0, file: "setting/sign.ini", session: "isElectronicLabel",
              labels: ["打印水洗标", "绑定纸质或电子标签"], values: [0, 1] },
            { tag: "shelving", row: 1, list: 1, file: "setting/register.ini", session: "iniRegister",
              labels: ["自动上架", "手动上架"], values: ["0", "1"] },
            { tag: "accessory check", row: 1, list: 2, file: "setting/isCheck.ini", session: "ischecks",
              labels: ["无需核对附件", "需要核对附件"], values: ["0", "1"] },
            { tag: "ticket printer type", row: 2, list: 3, file: "setting/printetype.ini", session: "printetype",
              labels: ["80小票打印机", "58小票打印机"], values: ["0", "1"] }
        ]
    }

    function test_option_choice_is_stored_alone(data) {
        openScreen()
        showSection(4)
        var page = findChild(screen, "optionsPage")
        mouseClick(findChild(page, "optionRow" + data.row))
        compare(page.parameterNo, data.row)
        verify(findChild(page, "optionPage").visible)
        var list = findChild(page, "optionList" + data.list)
        laidOut(list)
        // A missing file starts on the first entry.
        compare(tickedIn(list, data.labels), [data.labels[0]])
        if (data.row === 1)
            shot("setting-quality-options")

        for (var pass = 0; pass < 2; ++pass) {
            var choice = 1 - pass
            mouseClick(findChild(list, "choice_" + data.labels[choice]))
            compare(Session[data.session], data.values[choice])
            compare(fileLines(data.file), [String(choice)])
            compare(tickedIn(list, data.labels), [data.labels[choice]])
        }
        // A person's next click comes after the double-click interval; a quicker one may be
        // taken as the second half of a double click and never become a click.
        wait(Qt.styleHints.mouseDoubleClickInterval + 50)
        mouseClick(findChild(list, "choice_" + data.labels[1]))
        compare(Session[data.session], data.values[1])
        mouseClick(findChild(page, "backButton"))
        verify(findChild(page, "optionRows").visible)
        verify(findChild(findChild(page, "optionRow" + data.row), "optionValue").text.indexOf(data.labels[1]) >= 0)
    }

    function test_options_are_read_on_opening_data() {
        return [
            { tag: "empty file", text: "", ticked: ["打印水洗标"], row: "打印水洗标  >" },
            { tag: "0", text: "0\n", ticked: ["打印水洗标"], row: "打印水洗标  >" },
            { tag: "1", text: "1\n", ticked: ["绑定纸质或电子标签"], row: "绑定纸质或电子标签  >" },
            { tag: "not 0 or 1", text: "2\n", ticked: [], row: "  >" }
        ]
    }

    function test_options_are_read_on_opening(data) {
        verify(TestSupport.writeFile("setting/sign.ini", data.text))
        openScreen()
        showSection(4)
        var page = findChild(screen, "optionsPage")
        compare(findChild(findChild(page, "optionRow0"), "optionValue").text, data.row)
        mouseClick(findChild(page, "optionRow0"))
        compare(tickedIn(findChild(page, "optionList0"), ["打印水洗标", "绑定纸质或电子标签"]), data.ticked)
    }

    function test_file_text_chooses_an_entry_data() {
        return [
            { tag: "missing or empty", text: "", choice: 0, label: "打印水洗标" },
            { tag: "0", text: "0", choice: 0, label: "打印水洗标" },
            { tag: "1 with a line end", text: "1\r\n", choice: 1, label: "绑定纸质或电子标签" },
            { tag: "2", text: "2", choice: -1, label: "" },
            { tag: "two values", text: "10", choice: -1, label: "" },
            { tag: "word", text: "无", choice: -1, label: "" }
        ]
    }

    function test_file_text_chooses_an_entry(row) {
        compare(Options.choiceOf(row.text), row.choice)
        compare(Options.labelOf(0, row.choice), row.label)
    }

    // The garment-label flag is a number in the session, the other options are text.
    function test_session_value_types() {
        compare(typeof Options.sessionValue(0, 1), "number")
        for (var list = 1; list < Options.lists.length; ++list)
            compare(Options.sessionValue(list, 1), "1")
    }

    function test_version_row_when_up_to_date() {
        Session.newestVersion = "v4.0.2 (2024-05-01)"
        openScreen()
        showSection(5)
        var text = findChild(screen, "versionText")
        compare(text.text, "已是最新版本V4.0.2")
        compare(String(text.color), "#1aad19")
        shot("setting-about-current")
        mouseClick(findChild(screen, "versionRow"))
        wait(300)
        compare(versionRequests.count, 0)
        compare(boxes.length, 0)
    }

    function test_outdated_version_row_leads_to_the_update_prompt_data() {
        return [
            { tag: "newer version", version: "V4.0.3" },
            { tag: "no version fetched", version: "" }
        ]
    }

    function test_outdated_version_row_leads_to_the_update_prompt(data) {
        Session.newestVersion = data.version
        openScreen()
        showSection(5)
        var text = findChild(screen, "versionText")
        compare(text.text, "最新版本" + data.version + "，点击升级程序")
        compare(String(text.color), "#ff0000")
        if (data.version !== "")
            shot("setting-about-outdated")

        mouseClick(findChild(screen, "versionRow"))
        compare(Session.whoPost, "Upcontent")
        tryVerify(function () { return boxes.length === 1 }, 5000, "no update prompt")
        compare(versionRequests.count, 1)
        compare(versionRequests.signalArguments[0][0], AppConfig.vendorHost + "upgrade_content_pc.txt")
        // The prompt shows the published release notes unchanged.
        var xhr = new XMLHttpRequest()
        xhr.open("GET", AppConfig.vendorHost + "upgrade_content_pc.txt")
        xhr.send()
        tryCompare(xhr, "readyState", XMLHttpRequest.DONE)
        verify(xhr.responseText.length > 0)
        compare(TestSupport.boxes()[0], ["update", "更新提醒", "发现新的版本，是否更新!\n" + xhr.responseText])
        compare(Session.messagePost, "update")
    }

    function test_update_prompt_answers() {
        openScreen()
        var box = findChild(screen, "updateBox")
        // "去更新" on the update prompt hands over to the updater.
        Session.messagePost = "update"
        box.okFlishedReturn("update")
        compare(updating.count, 1)
        // An answer to a box that was not the update prompt starts nothing.
        Session.messagePost = ""
        box.okFlishedReturn("update")
        compare(updating.count, 1)
    }

    function test_help_pages_open_in_the_browser() {
        openScreen()
        showSection(5)
        mouseClick(findChild(screen, "helpRow"))
        mouseClick(findChild(screen, "serviceRow"))
        verify(AppConfig.helpUrl !== "" && AppConfig.serviceUrl !== "")
        compare(opened, [AppConfig.helpUrl, AppConfig.serviceUrl])
    }
}
