import QtQuick 2.15
import QtTest 1.2
import Brenvo 1.0
import BrenvoTest 1.0
import "../common"

ScreenTestCase {
    id: testCase
    name: "MainWindow"

    property var window: null

    function init() {
        Session.istackphoto = false
        Session.enterFlag = "MAIN"
        window = createWindow("qrc:/main.qml")
        waitForRendering(findChild(window.contentItem, "panel"))
    }

    function contentArea() {
        return findChild(window.contentItem, "contentArea")
    }

    function menusIn(host) {
        var count = 0
        for (var i = 0; i < host.children.length; ++i)
            if (host.children[i].objectName === "Menu")
                ++count
        return count
    }

    function test_window_geometry_and_colours() {
        compare(window.width, 1300)
        compare(window.height, 900)
        compare(window.title, "Brenvo门店")
        compare(window.color, Qt.rgba(0, 0, 0, 0))
        var panel = findChild(window.contentItem, "panel")
        compare(panel.width, 1280)
        compare(panel.height, 880)
        var bar = findChild(window.contentItem, "leftBar")
        compare(bar.width, 80)
        compare(bar.color, Qt.rgba(0, 0, 0, 1))
        shot(window.contentItem, "main-signin")
    }

    function test_worker_items_hidden_until_signed_in() {
        var home = findChild(window.contentItem, "homeButton")
        var portrait = findChild(window.contentItem, "portrait")
        verify(!home.visible)
        verify(!portrait.visible)
        window.showMenu()
        verify(home.visible)
        verify(portrait.visible)
    }

    function test_home_does_nothing_while_camera_is_open() {
        window.showMenu()
        wait(0)
        Session.istackphoto = true
        var home = findChild(window.contentItem, "homeButton")
        var before = contentArea().children[0]
        mouseClick(home)
        wait(0)
        compare(contentArea().children.length, 1)
        verify(contentArea().children[0] === before)
    }

    function test_home_releases_covered_screens() {
        var home = findChild(window.contentItem, "homeButton")
        window.showMenu()
        for (var i = 0; i < 100; ++i) {
            mouseClick(home)
            wait(0)
        }
        compare(menusIn(contentArea()), 1)
        compare(contentArea().children.length, 1)
    }

    function test_menu_shows_all_entries_when_rights_fail() {
        // The tests' default backend address refuses connections: the rights request fails.
        var menu = window.showMenu()
        var grid = findChild(menu, "menuGrid")
        compare(grid.count, 12)
        tryVerify(function () { return TestSupport.boxes().length === 1 }, 5000)
        compare(TestSupport.boxes()[0], ["error", "错误提示", "无法连接服务器，请检查网络后重试"])
        compare(grid.count, 12)
        shot(window.contentItem, "main-menu")
    }

    // The rights reply comes after a request of a screen opened from the menu, and is
    // still applied.
    function test_rights_reply_filters_and_orders_the_grid_data() {
        return [
            { tag: "530 before 525", rights: [{ id: "530" }, { id: "525" }], entries: ["530", "525"] },
            { tag: "unknown id skipped", rights: [{ id: "999" }, { id: "536" }], entries: ["536"] },
            { tag: "no rights", rights: [], entries: [] }
        ]
    }
    function test_rights_reply_filters_and_orders_the_grid(row) {
        routed.start()
        var menu = window.showMenu()
        var grid = findChild(menu, "menuGrid")
        tryVerify(function () { return fake.requestCount() === 1 }, 5000)

        var screen = menu.openScreen("PlaceOrder", "PlaceOrder")
        findChild(screen, "searchField").text = "13912340001"
        screen.search()
        tryVerify(function () { return fake.requestCount() === 2 }, 5000)
        verify(fake.requestTarget(1).indexOf("/mac/userInfo/queryByKey?") === 0)
        fake.answerHeld(1, '{"httpCode":200,"msg":"ok","data":{}}')
        tryVerify(function () { return TestSupport.boxes().length === 1 }, 5000)
        compare(TestSupport.boxes()[0][1], "创建新用户")

        compare(grid.count, 12)
        fake.answerHeld(0, JSON.stringify({ httpCode: 200, msg: "ok", data: row.rights }))
        tryCompare(grid, "count", row.entries.length, 5000)
        laidOut(grid)
        for (var i = 0; i < row.entries.length; ++i)
            compare(findChild(grid, "entry_" + row.entries[i]).x, 200 * i)
    }

    function test_double_click_toggles_maximised_and_back() {
        var strip = findChild(window.contentItem, "dragStrip")
        mouseDoubleClickSequence(strip, 10, 10)
        tryCompare(window, "maximized", true)
        compare(findChild(window.contentItem, "panel").x, -1)
        mouseDoubleClickSequence(strip, 10, 10)
        tryCompare(window, "maximized", false)
        compare(window.width, 1300)
        compare(window.height, 900)
        compare(findChild(window.contentItem, "panel").x, 9)
    }
}
