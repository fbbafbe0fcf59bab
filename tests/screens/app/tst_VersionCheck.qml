import QtQuick 2.15
import QtTest 1.2
import FileIo 1.0
import Brenvo 1.0
import BrenvoTest 1.0
import "../common"

// The start-up version check of the main window, against version files served from the
// test's working folder (file:// addresses take the same road as the vendor's host).
ScreenTestCase {
    name: "VersionCheck"

    property var window: null

    FileIo { id: folder }

    function startWith(version, notes, hostWithoutSlash) {
        var dir = folder.getFilePath() + "/vendor/"
        if (version !== null)
            TestSupport.writeFile(dir + "upgrade_pc.txt", version)
        if (notes !== null)
            TestSupport.writeFile(dir + "upgrade_content_pc.txt", notes)
        TestSupport.setEnv("BRENVO_VENDOR_HOST", "file://" + (hostWithoutSlash ? dir.slice(0, -1) : dir))
        Session.newestVersion = ""
        Session.messagePost = ""
        window = createWindow("qrc:/main.qml")
    }

    function init() {
        TestSupport.writeFile("vendor/upgrade_pc.txt", "")
        TestSupport.writeFile("ver.ini", "")
    }

    function test_up_to_date_data() {
        return [
            { tag: "same version", text: "V4.0.2" },
            { tag: "other case and words", text: "v4.0.2 发布于 2026-12-01" },
            // The host is a folder whether or not its address ends in "/".
            { tag: "host without trailing slash", text: "V4.0.2", noSlash: true }
        ]
    }

    function test_up_to_date(row) {
        startWith(row.text, "notes that must not be fetched", row.noSlash === true)
        tryCompare(Session, "newestVersion", row.text)
        compare(TestSupport.readFile("ver.ini").trim(), row.text)
        wait(200)
        compare(Session.whoPost, "LatestVersion")
        compare(Session.messagePost, "")
    }

    function test_newer_version_fetches_the_notes() {
        // Empty notes end the check silently, so no modal prompt blocks the test.
        startWith("V4.0.3", "")
        tryCompare(Session, "newestVersion", "V4.0.3")
        tryCompare(Session, "whoPost", "Upcontent")
        wait(200)
        compare(Session.messagePost, "")
    }

    function test_unreachable_host_ends_silently() {
        TestSupport.writeFile("vendor/upgrade_pc.txt", "")
        startWith(null, null)
        TestSupport.setEnv("BRENVO_VENDOR_HOST", "http://127.0.0.1:9/")
        window.checkVersion()
        wait(500)
        compare(Session.newestVersion, "")
        compare(Session.whoPost, "LatestVersion")
        compare(TestSupport.readFile("ver.ini"), "")
    }
}
