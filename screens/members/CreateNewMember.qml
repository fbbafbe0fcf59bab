import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "members.js" as Members

// "新建会员": phone, name, sex, card level, birthday and group of a new member. Opening it
// reads the levels, then the groups, then whether a level may be chosen; if that fails, the
// worker is told (confirming asks again) and can always leave. "保存" creates the member and
// closes the screen (the opener hears `created`); a refusal is told and the form stays as it
// is.
ScreenPage {
    id: form
    objectName: "CreateNewMember"

    // From the place-order screen: the phone that found nobody.
    property string createNewMemberPhone: ""

    property string cardId: ""
    property string cardName: ""
    property string groupId: "-1"
    property string groupName: "默认分组"
    property string sex: ""
    property string birthday: Qt.formatDate(new Date(), "yyyy-MM-dd")
    property var messageBox: followUp.box
    readonly property alias loading: talk.loading
    readonly property alias conversation: talk
    readonly property alias followUp: followUp
    readonly property alias phoneField: phoneField
    readonly property alias nameField: nameField

    signal created(string phone)

    Component.onCompleted: {
        phoneField.text = createNewMemberPhone
        phoneField.forceActiveFocus()
        talk.load()
    }

    function save() {
        if (phoneField.text === "" || !talk.ready)
            return
        talk.create(Members.newMemberFields({
            name: nameField.text.trim(), phone: phoneField.text, sex: sex,
            cardId: cardId, groupId: groupId, birthday: birthday
        }))
    }

    NewMemberConversation {
        id: talk
        messageBox: form.messageBox
        onLevelsLoaded: function (level) {
            form.cardId = level !== null ? level.id : ""
            form.cardName = level !== null ? level.name : ""
        }
        onLoadFailed: function (text) { followUp.error(text, talk.load) }
        onCreated: function (phone) {
            form.created(phone)
            form.close()
        }
        onRefused: function (text) { followUp.error(text) }
    }

    FollowUpBox { id: followUp; messageBox: form.messageBox }

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
        radius: Theme.radiusSmall
        border.color: Theme.lineInput
        color: Theme.card
        Text {
            id: choiceText
            x: Theme.spacingMedium
            anchors.verticalCenter: parent.verticalCenter
            font.pixelSize: Theme.fontBody
            color: Theme.text
        }
        MouseArea { anchors.fill: parent; onClicked: choice.clicked() }
    }

    Text {
        text: "新建会员"
        anchors.left: form.backButton.right
        anchors.leftMargin: Theme.spacingLarge
        anchors.verticalCenter: form.backButton.verticalCenter
        font.pixelSize: Theme.fontTitle
        font.bold: true
        color: Theme.textStrong
    }

    Rectangle {
        anchors.centerIn: parent
        width: 560
        height: 500
        radius: Theme.radiusLarge
        color: Theme.card

        Column {
            anchors.fill: parent
            anchors.margins: Theme.spacingHuge
            spacing: Theme.spacingLarge
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
                spacing: Theme.spacingMedium
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
                        if (talk.addCardUser)
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
                spacing: Theme.spacingHuge
                anchors.horizontalCenter: parent.horizontalCenter
                Button { objectName: "newMemberBack"; text: "返回"; width: 120; onClicked: form.close() }
                Button {
                    objectName: "newMemberSave"
                    text: "保存"
                    width: 120
                    highlighted: true
                    enabled: talk.ready
                    onClicked: form.save()
                }
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
        entries: talk.levels.map(function (l) { return { id: l.id, label: l.label } })
        onChosen: function (id, label) {
            form.cardId = id
            for (var i = 0; i < talk.levels.length; ++i)
                if (talk.levels[i].id === id)
                    form.cardName = talk.levels[i].name
        }
    }
    ChoiceWindow {
        id: groupWindow
        objectName: "newGroupChooser"
        title: "分组"
        entries: talk.groups
        onChosen: function (id, label) {
            form.groupId = id
            form.groupName = label
        }
    }

    LoadingShade { visible: talk.loading }
}
