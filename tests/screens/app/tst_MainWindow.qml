import QtQuick 2.15
import QtQuick.Window 2.15
import QtTest 1.2
import Brenvo 1.0
import BrenvoTest 1.0

TestCase {
    id: testCase
    name: "MainWindow"
    when: windowShown

    property var window: null

    function init() {
        Session.istackphoto = false
        Session.enterFlag = "MAIN"
        var component = Qt.createComponent("qrc:/main.qml")
        compare(component.status, Component.Ready, component.errorString())
        window = component.createObject(null)
        verify(window !== null)
        waitForRendering(findChild(window.contentItem, "panel"))
    }

    function cleanup() {
        window.destroy()
        window = null
        wait(0)
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
        if (TestSupport.shotsDir !== "")
            grabImage(window.contentItem).save(TestSupport.shotsDir + "/main-signin.png")
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
        wait(500)
        compare(grid.count, 12)
        if (TestSupport.shotsDir !== "")
            grabImage(window.contentItem).save(TestSupport.shotsDir + "/main-menu.png")
    }

    function test_rights_reply_filters_and_orders_the_grid() {
        var menu = window.showMenu()
        var grid = findChild(menu, "menuGrid")
        var backend = findChild(menu, "menuBackend")
        // Let the real request to the closed test port fail first.
        tryVerify(function () { return String(Session.httpCode) !== "" && String(Session.httpCode) !== "200" })
        Session.whoPost = "MenuControl"
        Session.httpCode = "200"
        backend.replied('{"httpCode":200,"msg":"ok","data":[{"id":"530"},{"id":"525"}]}')
        compare(grid.count, 2)
        waitForRendering(grid)
        compare(findChild(grid, "entry_530").x, 0)
        compare(findChild(grid, "entry_525").x, 200)
        Session.httpCode = "200"
        backend.replied('{"httpCode":200,"msg":"ok","data":[]}')
        compare(grid.count, 0)
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
