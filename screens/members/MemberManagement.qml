import QtQuick 2.15
import QtQuick.Controls 2.15
import BVMessageBox 1.0
import Brenvo 1.0
import "screens.js" as Screens
import "members.js" as Members
import "money.js" as Money

// "会员管理": the merchant's members ten at a time, filtered by card level, by group or by a
// search text. Members ticked in the list can be made important customers; a row opens the
// member's details, a recharge or a new order. Opening it reads the levels, then the group
// counts, then the groups, then the first page, one after the other.
ScreenPage {
    id: page
    objectName: "MemberManagement"
    enterFlag: "MemberMage"
    backVisible: false

    // The level and group marked ("" for all, "-1" the default group).
    property string userLvlup: ""
    property string userGroup: ""
    // What filled the list; the next pages are asked for with the same.
    property var listFilters: ({})
    // Ids of the ticked members, and their grades by id.
    property var memberArray: []
    property var tickedGrades: ({})
    property var messageBox: mMessageBox
    readonly property alias loading: talk.loading
    readonly property alias levels: talk.levels
    readonly property alias groups: talk.groups
    readonly property alias conversation: talk
    readonly property alias list: memberList
    readonly property alias searchField: searchField

    Component.onCompleted: {
        searchField.forceActiveFocus()
        loadAll()
    }

    // After the opening chain: the first page of all members, or of the filters as they stand.
    property bool keepFilters: false

    // Everything read again: the filters, then the first page.
    function loadAll() {
        memberArray = []
        tickedGrades = {}
        talk.open()
    }

    // Everything read again, the level, group or search the list shows kept (the search field
    // still holds it), so a member just recharged shows with the new balance.
    function refresh() {
        keepFilters = true
        loadAll()
    }

    function reload(filters) {
        listFilters = filters
        memberList.reload()
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
        // After a recharge from this list, the recharge screen closes and the list is read
        // again as it stands.
        if (screen !== null)
            screen.recharged.connect(function () {
                screen.close()
                page.refresh()
            })
    }

    function openOrderForm(record, phone) {
        Screens.open(page, "PlaceOrderContent", { userData: record, searchKey: phone })
    }

    // --- Important customers -------------------------------------------------------------

    function openGrades() {
        if (memberArray.length === 0)
            return
        gradeWindow.openAt(Members.startGrade(memberArray.map(function (id) { return tickedGrades[id] })))
    }

    function gradeSet() {
        memberArray = []
        tickedGrades = {}
        gradeWindow.close()
        reload(listFilters)
    }

    // --- New group -----------------------------------------------------------------------

    function addGroup(name) {
        if (Members.groupNameTaken(groups, name)) {
            messageBox.btnMsgMessageInformationBox("提示", "分组名称已存在！！！")
            return
        }
        talk.addGroup(name)
        newGroupWindow.close()
    }

    MemberListConversation {
        id: talk
        messageBox: page.messageBox
        onOpened: {
            if (page.keepFilters) {
                page.keepFilters = false
                page.reload(page.listFilters)
                return
            }
            page.userLvlup = ""
            page.userGroup = ""
            page.reload({})
        }
        onPageReceived: function (rows) { memberList.received(rows) }
        onPageFailed: memberList.failed()
        onGradeSet: page.gradeSet()
        onCustomerFound: function (record, phone) { page.openOrderForm(record, phone) }
    }

    BVMessageBox { id: mMessageBox }

    MemberFilters {
        id: filters
        anchors.left: parent.left
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        anchors.margins: Theme.spacingLarge
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
        anchors.margins: Theme.spacingLarge
        spacing: Theme.spacingMedium
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
        anchors.margins: Theme.spacingLarge
        onPageRequested: function (number, fields) { talk.requestPage(page.listFilters, fields) }
        delegate: MemberRow {
            width: memberList.width
            ticked: page.memberArray.indexOf(userId) >= 0
            onTickClicked: page.tick(userId, grade)
            onDetailsClicked: page.openDetails(userId)
            onRechargeClicked: page.openRecharge({ userId: userId, name: name, phone: phone, balance: balance })
            onOrderClicked: talk.placeOrder(phone)
        }
    }

    GradeWindow {
        id: gradeWindow
        onConfirmed: function (grade) { talk.setGrade(page.memberArray, grade) }
    }
    NewGroupWindow {
        id: newGroupWindow
        onConfirmed: function (name) { page.addGroup(name) }
    }

    LoadingShade { visible: page.loading }
}
