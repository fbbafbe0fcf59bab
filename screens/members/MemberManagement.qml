import QtQuick 2.15
import QtQuick.Controls 2.15
import BVMessageBox 1.0
import Brenvo 1.0
import "screens.js" as Screens
import "members.js" as Members
import "money.js" as Money
import "customer.js" as Customer

// "会员管理": the merchant's members ten at a time, filtered by card level, by group or by a
// search text. Members ticked in the list can be made important customers; a row opens the
// member's details, a recharge or a new order. Opening it reads the levels, then the group
// counts, then the groups, then the first page, one after the other.
ScreenPage {
    id: page
    objectName: "MemberManagement"
    enterFlag: "MemberMage"
    backVisible: false

    property bool loading: true
    property var levels: []
    property var groups: []
    // The level and group marked ("" for all, "-1" the default group).
    property string userLvlup: ""
    property string userGroup: ""
    // What filled the list; the next pages are asked for with the same.
    property var listFilters: ({})
    // Ids of the ticked members, and their grades by id.
    property var memberArray: []
    property var tickedGrades: ({})
    property var messageBox: mMessageBox
    readonly property alias backend: backend
    readonly property alias list: memberList
    readonly property alias searchField: searchField

    Component.onCompleted: {
        searchField.forceActiveFocus()
        loadAll()
    }

    // --- Loading -------------------------------------------------------------------------

    // The opening chain; a step that fails stops it (its failure is logged, or told when the
    // backend cannot be reached).
    function loadAll() {
        loading = true
        levels = []
        groups = []
        memberArray = []
        tickedGrades = {}
        backend.call("UserCard", "userCard/listForSelect", {}, function (reply) {
            page.levels = Members.levelFilter(Members.levels(reply))
            backend.call("SideCnt", "userGroup/sideCnt", {}, function (side) {
                backend.call("GroupList", "userGroup/list", {}, function (groupReply) {
                    page.groups = Members.groupFilter(side, groupReply)
                    page.userLvlup = ""
                    page.userGroup = ""
                    page.reload({})
                })
            })
        })
    }

    function reload(filters) {
        listFilters = filters
        loading = true
        memberList.reload()
    }

    function requestPage(fields) {
        var body = Members.listFields(listFilters)
        for (var k in fields)
            body[k] = fields[k]
        backend.call("UserList", "userInfo/list", body, function (reply) {
            memberList.received(Members.memberRows(reply))
            page.loading = false
        }, function (reply, unreachable) {
            console.log("MemberManagement: userInfo/list failed: " + reply)
            memberList.failed()
            page.loading = false
        })
    }

    // --- Filters -------------------------------------------------------------------------

    function chooseLevel(id) {
        userLvlup = id
        searchField.text = ""
        reload({ cardId: userLvlup, groupId: userGroup })
    }

    function chooseGroup(id) {
        userGroup = id
        searchField.text = ""
        // A group made on this screen exists nowhere else and has no members yet.
        if (id.indexOf("new:") === 0) {
            listFilters = {}
            memberList.clear()
            return
        }
        reload({ cardId: userLvlup, groupId: userGroup })
    }

    function search() {
        var text = searchField.text.trim()
        if (text === "")
            return
        reload({ searchValue: text })
    }

    function enterPressed() {
        if (Session.enterFlag === "MemberMage")
            search()
    }

    // --- Rows ----------------------------------------------------------------------------

    function tick(userId, grade) {
        memberArray = Members.toggled(memberArray, userId)
        var grades = tickedGrades
        if (memberArray.indexOf(userId) >= 0)
            grades[userId] = grade
        else
            delete grades[userId]
        tickedGrades = grades
    }

    function openDetails(userId) {
        Screens.open(page, "MemberDetails", { userId: userId })
    }

    function openRecharge(row) {
        var screen = Screens.open(page, "MemberRecharge", {
            userNames: row.name,
            userPhones: row.phone,
            userBlances: Money.fenToYuan(row.balance),
            userIds: row.userId,
            rechargeFlag: "MemberList"
        })
        // After a recharge from this list, the recharge screen closes and everything is read
        // again.
        if (screen !== null)
            screen.recharged.connect(function () {
                screen.close()
                page.loadAll()
            })
    }

    function placeOrder(phone) {
        if (backend.busy("placeOrder"))
            return
        backend.call("placeOrder", "userInfo/queryByKey", { key: phone }, function (reply) {
            var data = backend.request.josnData(reply)
            if (!Customer.isRecord(data))
                return
            Screens.open(page, "PlaceOrderContent", { userData: data, searchKey: phone })
        })
    }

    // --- Important customers -------------------------------------------------------------

    function openGrades() {
        if (memberArray.length === 0)
            return
        gradeWindow.openAt(Members.startGrade(memberArray.map(function (id) { return tickedGrades[id] })))
    }

    function setGrade(grade) {
        if (backend.busy("SetGrade"))
            return
        backend.call("SetGrade", "userInfo/updateGrade", { ids: memberArray.join(","), grade: grade }, function () {
            page.memberArray = []
            page.tickedGrades = {}
            gradeWindow.close()
            page.reload(page.listFilters)
        })
    }

    // --- New group -----------------------------------------------------------------------

    function addGroup(name) {
        if (Members.groupNameTaken(groups, name)) {
            messageBox.btnMsgMessageInformationBox("提示", "分组名称已存在！！！")
            return
        }
        groups = groups.concat([{ id: "new:" + name, name: name, cnt: "0" }])
        newGroupWindow.close()
    }

    BackendRequest {
        id: backend
        objectName: "memberListBackend"
        messageBox: page.messageBox
    }

    BVMessageBox { id: mMessageBox }

    MemberFilters {
        id: filters
        anchors.left: parent.left
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        anchors.margins: 20
        width: 200
        levels: page.levels
        groups: page.groups
        levelId: page.userLvlup
        groupId: page.userGroup
        onLevelClicked: function (id) { page.chooseLevel(id) }
        onGroupClicked: function (id) { page.chooseGroup(id) }
        onNewGroupClicked: newGroupWindow.open()
    }

    Row {
        id: toolbar
        anchors.left: filters.right
        anchors.top: parent.top
        anchors.margins: 20
        spacing: 12
        TextField {
            id: searchField
            objectName: "memberSearchField"
            width: 320
            height: 40
            placeholderText: "手机号/会员卡号/姓名"
            maximumLength: 30
            Keys.onReturnPressed: page.enterPressed()
            Keys.onEnterPressed: page.enterPressed()
        }
        Image {
            objectName: "memberSearchButton"
            anchors.verticalCenter: parent.verticalCenter
            source: searchArea.pressed ? "qrc:/icon/icon/search2.png" : "qrc:/icon/icon/search1.png"
            MouseArea { id: searchArea; anchors.fill: parent; onClicked: page.search() }
        }
        Button {
            objectName: "gradeButton"
            text: "加入重要客户"
            onClicked: page.openGrades()
        }
        Button {
            objectName: "newMemberButton"
            text: "新建会员"
            onClicked: Screens.open(page, "CreateNewMember", {})
        }
    }

    PagedList {
        id: memberList
        objectName: "memberList"
        anchors.left: filters.right
        anchors.right: parent.right
        anchors.top: toolbar.bottom
        anchors.bottom: parent.bottom
        anchors.margins: 20
        onPageRequested: function (number, fields) { page.requestPage(fields) }
        delegate: MemberRow {
            width: memberList.width
            ticked: page.memberArray.indexOf(userId) >= 0
            onTickClicked: page.tick(userId, grade)
            onDetailsClicked: page.openDetails(userId)
            onRechargeClicked: page.openRecharge({ userId: userId, name: name, phone: phone, balance: balance })
            onOrderClicked: page.placeOrder(phone)
        }
    }

    GradeWindow {
        id: gradeWindow
        onConfirmed: function (grade) { page.setGrade(grade) }
    }
    NewGroupWindow {
        id: newGroupWindow
        onConfirmed: function (name) { page.addGroup(name) }
    }

    LoadingShade { visible: page.loading }
}
