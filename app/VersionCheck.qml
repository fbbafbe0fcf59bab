import QtQuick 2.15
import ks.Net.CCRequest 1.0
import FileIo 1.0
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
    readonly property bool current: ccRequest.compareStr(Session.newestVersion, Session.exeVersion)
    property alias request: ccRequest

    // The fetch this object is waiting for. Kept here, not read back from Session.whoPost,
    // because another screen may send a request of its own before this reply arrives.
    property string pending: ""

    visible: false

    function checkVersion() {
        fetch("LatestVersion", "upgrade_pc.txt")
    }

    function fetchReleaseNotes() {
        fetch("Upcontent", "upgrade_content_pc.txt")
    }

    function fetch(tag, file) {
        pending = tag
        Session.whoPost = tag
        ccRequest.CCRequest_GET1("", AppConfig.vendorHost + file)
    }

    // A failed fetch, or an empty file, ends the check without a word.
    function handleReply(text) {
        var tag = pending
        pending = ""
        if (ccRequest.lastReplyFailed() || text === "")
            return
        if (tag === "LatestVersion") {
            Session.newestVersion = text
            versionfile.write(text)
            if (!ccRequest.compareStr(Session.newestVersion, Session.exeVersion))
                fetchReleaseNotes()
            else
                check.upToDate()
        } else if (tag === "Upcontent") {
            check.releaseNotes(text)
        }
    }

    CCRequest {
        id: ccRequest
        onReqFlishedReturn: function (jsonStr) { check.handleReply(jsonStr) }
    }
    FileIo { id: versionfile; source: "ver.ini" }
}
