import QtQuick 2.15
import Brenvo 1.0
import "members.js" as Members

// The member list's requests: the levels, group counts and groups that open it, the pages of
// members, the important-customer grade, and the member looked up before an order. It holds
// what the backend said; the view shows it.
Item {
    id: talk
    visible: false

    property var messageBox: null
    // While the opening chain or a page is on its way.
    property bool loading: true
    // The level filter ("全部用户" first) and the group filter with their counts.
    property var levels: []
    property var groups: []

    readonly property alias backend: backend
    readonly property alias lookup: lookup

    // The opening chain ended: the view asks for the first page.
    signal opened()
    signal pageReceived(var rows)
    signal pageFailed()
    // The ticked members have their new grade.
    signal gradeSet()
    // The member's record, for the order form.
    signal customerFound(string record, string phone)

    // Levels, then group counts, then groups, one after the other. A step that fails stops the
    // chain, and the shade stays: its failure is logged, or told when the backend cannot be
    // reached.
    function open() {
        loading = true
        levels = []
        groups = []
        backend.call("UserCard", "userCard/listForSelect", {}, function (reply) {
            talk.levels = Members.levelFilter(Members.levels(reply))
            backend.call("SideCnt", "userGroup/sideCnt", {}, function (side) {
                backend.call("GroupList", "userGroup/list", {}, function (groupReply) {
                    talk.groups = Members.groupFilter(side, groupReply)
                    talk.opened()
                })
            })
        })
    }

    // One page of members with the list's filters; `paging` holds pageNum and pageSize.
    function requestPage(filters, paging) {
        loading = true
        backend.call("UserList", "userInfo/list", Members.pageFields(filters, paging), function (reply) {
            talk.loading = false
            talk.pageReceived(Members.memberRows(reply))
        }, function (reply) {
            console.log(Logs.members, "MemberManagement: userInfo/list failed: " + reply)
            talk.loading = false
            talk.pageFailed()
        })
    }

    // A group made on the screen only, which the backend does not know: its name joins the
    // filter with no members.
    function addGroup(name) {
        groups = groups.concat([{ id: "new:" + name, name: name, cnt: "0" }])
    }

    function setGrade(ids, grade) {
        if (backend.busy("SetGrade"))
            return
        backend.write("SetGrade", "userInfo/updateGrade", { ids: ids.join(","), grade: grade }, function () {
            talk.gradeSet()
        })
    }

    function placeOrder(phone) {
        lookup.byKey(phone)
    }

    BackendRequest {
        id: backend
        objectName: "memberListBackend"
        messageBox: talk.messageBox
    }

    CustomerLookup {
        id: lookup
        messageBox: talk.messageBox
        keyTag: "placeOrder"
        onFound: function (record, userId, phone, key) { talk.customerFound(record, key) }
    }
}
