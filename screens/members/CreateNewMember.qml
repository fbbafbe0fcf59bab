import QtQuick 2.15
import QtQuick.Controls 2.15
import BVMessageBox 1.0
import Brenvo 1.0
import "members.js" as Members

// "新建会员": phone, name, sex, card level, birthday and group of a new member. Opening it
// reads the levels, then the groups, then whether a level may be chosen. "保存" creates the
// member and closes the screen (the opener hears `created`); a refusal is told and the form
// stays as it is.
ScreenPage {
    id: form
    objectName: "CreateNewMember"

    // From the place-order screen: the phone that found nobody.
    property string createNewMemberPhone: ""

    property bool loading: true
    property var levels: []
    property var groups: []
    property bool addCardUser: false
    property string cardId: ""
    property string cardName: ""
    property string groupId: "-1"
    property string groupName: "默认分组"
    property string sex: ""
    property string birthday: Qt.formatDate(new Date(), "yyyy-MM-dd")
    property var messageBox: mMessageBox
    readonly property alias backend: backend
    readonly property alias phoneField: phoneField
    readonly property alias nameField: nameField

    signal created(string phone)

    Component.onCompleted: {
        phoneField.text = createNewMemberPhone
        phoneField.forceActiveFocus()
        load()
    }

    function load() {
        loading = true
        levels = []
        groups = []
        backend.call("CardList", "userCard/listForSelect", {}, function (reply) {
            form.levels = Members.levels(reply)
            var def = Members.defaultLevel(form.levels)
            form.cardId = def !== null ? def.id : ""
            form.cardName = def !== null ? def.name : ""
            backend.call("GroupList", "userGroup/list", {}, function (groupReply) {
                form.groups = [{ id: "-1", label: "默认分组" }].concat(
                    Members.groupFilter("", groupReply).map(function (g) { return { id: g.id, label: g.name } }))
                backend.call("IsCard", "mercCity/paramDetail", {}, function (params) {
                    form.addCardUser = backend.request.getReturnMsg(params, "addCardUser") === "1"
                    form.loading = false
                })
            })
        })
    }

    function save() {
        if (phoneField.text === "" || backend.busy("CreateMember"))
            return
        var fields = Members.newMemberFields({
            name: nameField.text.trim(), phone: phoneField.text, sex: sex,
            cardId: cardId, groupId: groupId, birthday: birthday
        })
        backend.call("CreateMember", "userInfo/add", fields, function () {
            form.created(fields.phone)
            form.close()
        }, function (reply, unreachable) {
            form.messageBox.btnMsgMessageErrBox("错误提示", backend.failureText(unreachable))
        })
    }

    BackendRequest {
        id: backend
        objectName: "newMemberBackend"
        messageBox: form.messageBox
    }

    BVMessageBox { id: mMessageBox }

    component Label: Text {
        width: 110
        font.pixelSize: Theme.fontMedium
        color: Theme.text
        anchors.verticalCenter: parent.verticalCenter
    }
    component Choice: Rectangle {
        id: choice
        property alias text: choiceText.text
        signal clicked()
        width: 320
        height: 40
        radius: 4
        border.color: Theme.lineInput
        color: Theme.card
        Text {
            id: choiceText
            x: 12
            anchors.verticalCenter: parent.verticalCenter
            font.pixelSize: Theme.fontBody
            color: Theme.text
        }
        MouseArea { anchors.fill: parent; onClicked: choice.clicked() }
    }

    Text {
        text: "新建会员"
        anchors.left: form.backButton.right
        anchors.leftMargin: 20
        anchors.verticalCenter: form.backButton.verticalCenter
        font.pixelSize: Theme.fontTitle
        font.bold: true
        color: Theme.textStrong
    }

    Rectangle {
        anchors.centerIn: parent
        width: 560
        height: 500
        radius: 8
        color: Theme.card

        Column {
            anchors.fill: parent
            anchors.margins: 40
            spacing: 18
            Row {
                Label { text: "手机号：" }
                TextField {
                    id: phoneField
                    objectName: "newPhoneField"
                    width: 320
                    placeholderText: "请输入手机号"
                    validator: RegularExpressionValidator { regularExpression: Members.phonePattern }
                }
            }
            Row {
                Label { text: "姓名：" }
                TextField {
                    id: nameField
                    objectName: "newNameField"
                    width: 320
                    placeholderText: "请输入姓名"
                    maximumLength: 30
                }
            }
            Row {
                spacing: 10
                Label { text: "性别：" }
                RadioButton {
                    objectName: "sexMale"
                    text: "男"
                    checked: form.sex === "1"
                    onClicked: form.sex = "1"
                }
                RadioButton {
                    objectName: "sexFemale"
                    text: "女"
                    checked: form.sex === "2"
                    onClicked: form.sex = "2"
                }
            }
            Row {
                Label { text: "会员卡" }
                Choice {
                    objectName: "cardChoice"
                    text: form.cardName
                    onClicked: {
                        if (form.addCardUser)
                            levelWindow.openAt(form.cardId)
                    }
                }
            }
            Row {
                Label { text: "出生日期：" }
                Choice {
                    objectName: "birthdayChoice"
                    text: form.birthday
                    onClicked: birthdayPopup.open()
                }
            }
            Row {
                Label { text: "分组：" }
                Choice {
                    objectName: "groupChoice"
                    text: form.groupName
                    onClicked: groupWindow.openAt(form.groupId)
                }
            }
            Row {
                spacing: 30
                anchors.horizontalCenter: parent.horizontalCenter
                Button { objectName: "newMemberBack"; text: "返回"; width: 120; onClicked: form.close() }
                Button { objectName: "newMemberSave"; text: "保存"; width: 120; highlighted: true; onClicked: form.save() }
            }
        }
    }

    // Birthday: a day up to today.
    DatePickerPopup {
        id: birthdayPopup
        objectName: "newBirthdayPopup"
        anchors.centerIn: parent
        maximumDate: Qt.formatDate(new Date(), "yyyy-MM-dd")
        selectedDate: form.birthday
        onChosen: function (date) { form.birthday = date }
    }

    ChoiceWindow {
        id: levelWindow
        objectName: "levelWindow"
        title: "会员卡"
        entries: form.levels.map(function (l) { return { id: l.id, label: l.label } })
        onChosen: function (id, label) {
            form.cardId = id
            for (var i = 0; i < form.levels.length; ++i)
                if (form.levels[i].id === id)
                    form.cardName = form.levels[i].name
        }
    }
    ChoiceWindow {
        id: groupWindow
        objectName: "newGroupChooser"
        title: "分组"
        entries: form.groups
        onChosen: function (id, label) {
            form.groupId = id
            form.groupName = label
        }
    }

    LoadingShade { visible: form.loading }
}
