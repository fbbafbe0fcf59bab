import QtQuick 2.15
import Brenvo 1.0

// The check for a newer published version, shared by the main window (at start-up) and the
// settings screen (on request): the version file, then the release notes. What to do with
// the answers is the owner's: it listens to upToDate() and releaseNotes(text).
Item {
    id: check

    // The version file named this program's version (or a later build of it).
    signal upToDate()
    // The release notes of a newer version, for the update prompt.
    signal releaseNotes(string text)

    // Whether the newest published version seen is the running one.
    readonly property bool current: backend.request.compareStr(Session.newestVersion, Session.exeVersion)
    readonly property alias request: backend.request

    visible: false

    function checkVersion() {
        backend.fetch("LatestVersion", AppConfig.vendorFile("upgrade_pc.txt"), versionRead, quiet)
    }

    function fetchReleaseNotes() {
        backend.fetch("Upcontent", AppConfig.vendorFile("upgrade_content_pc.txt"), function (text) {
            if (text !== "")
                check.releaseNotes(text)
        }, quiet)
    }

    // A vendor host out of reach, or an empty file, ends the check without a word: the
    // terminal works on with the version it has.
    function quiet(text) {
        console.log(Logs.app, "version check: " + text)
    }

    function versionRead(text) {
        if (text === "")
            return
        Session.newestVersion = text
        versionfile.write(text)
        if (!backend.request.compareStr(Session.newestVersion, Session.exeVersion))
            fetchReleaseNotes()
        else
            check.upToDate()
    }

    BackendRequest { id: backend }
    SettingsFile { id: versionfile; source: "ver.ini" }
}
