import QtQuick 2.15
import Brenvo 1.0
import "members.js" as Members

// The new member's requests: the levels, the groups and whether a level may be chosen, then
// the member itself. It holds what the backend said; the form shows it.
Item {
    id: talk
    visible: false

    property var messageBox: null
    // While the form's choices are on their way.
    property bool loading: true
    // Everything the form offers arrived: only then may it be saved.
    property bool ready: false
    property var levels: []
    // "默认分组" (-1) first, then the merchant's groups, as { id, label }.
    property var groups: []
    property bool addCardUser: false

    readonly property alias backend: backend

    // The levels arrived; `level` is the one a new member gets unless another is chosen.
    signal levelsLoaded(var level)
    // A step of the opening chain failed with `text`; confirming the box asks again.
    signal loadFailed(string text)
    signal created(string phone)
    signal refused(string text)

    // Levels, then groups, then the setting, one after the other.
    function load() {
        loading = true
        ready = false
        levels = []
        groups = []
        backend.call("CardList", "userCard/listForSelect", {}, function (reply) {
            talk.levels = Members.levels(reply)
            talk.levelsLoaded(Members.defaultLevel(talk.levels))
            backend.call("GroupList", "userGroup/list", {}, function (groupReply) {
                talk.groups = Members.newMemberGroups(groupReply)
                backend.call("IsCard", "mercCity/paramDetail", {}, function (params) {
                    talk.addCardUser = backend.request.getReturnMsg(params, "addCardUser") === "1"
                    talk.loading = false
                    talk.ready = true
                }, talk.failedLoading)
            }, talk.failedLoading)
        }, talk.failedLoading)
    }

    // The shade goes whatever failed, so that "返回" stays in reach.
    function failedLoading(reply, unreachable) {
        loading = false
        loadFailed(backend.failureText(unreachable))
    }

    // `fields` from members.js newMemberFields(). A member whose answer was lost is sent again
    // unchanged on the next "保存": the backend gives its first answer instead of refusing the
    // phone it has just registered.
    function create(fields) {
        if (backend.busy("CreateMember"))
            return
        backend.write("CreateMember", "userInfo/add", fields, function () {
            talk.created(fields.phone)
        }, function (reply, unreachable) {
            talk.refused(backend.failureText(unreachable))
        })
    }

    BackendRequest {
        id: backend
        objectName: "newMemberBackend"
        messageBox: talk.messageBox
    }
}
