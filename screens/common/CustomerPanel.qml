import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "customer.js" as Customer
import "money.js" as Money

// The customer panel of the place-order form, the pick-up list and the member details:
// identity, balance, points, coupons, card, level and discount, group, corporate badge,
// birthday and tags. It reads the customer record (the `data` text of a customer look-up)
// through the screen's request object and tells the screen what the worker asks to change.
Rectangle {
    id: panel
    objectName: "customerPanel"
    width: 400
    color: Theme.card
    border.color: Theme.line
    radius: 6

    // The customer record text and the request object whose extractors read it.
    property string userData: ""
    property var request: null
    // The customer's tag names, shown joined by " | ".
    property var tagNames: []

    // Values read from the record; the screen sets them anew after a successful change.
    property string userId: ""
    property string name: ""
    property string sex: "0"
    property string phone: ""
    property string wxNickname: ""
    property string headimgPath: ""
    property string grade: "0"
    property string balance: "0"
    property string point: "0"
    property string birthday: ""
    property string cardNo: ""
    property string rfidNo: ""
    property string isBinding: "0"
    property string levelName: ""
    property string level: ""
    property string discount: "0"
    property string discountType: ""
    property string groupId: ""
    property string groupName: ""
    property string unionName: ""
    property string couponCnt: "0"
    property string wxId: "-1"
    property string verifyPhone: "0"
    property string verifyAndriod: "0"
    property string verifyIos: "0"

    // The pick-up list shows the account's bindings (WeChat, phone, Android, iOS) and writes
    // the coupon count with its unit right after it.
    property bool showBindings: false
    property string couponUnit: " 张"

    signal nameEdited(string name)
    signal sexChosen(string sex)
    signal birthdayChosen(string birthday)
    signal couponsClicked()
    signal cardClicked()
    signal groupClicked()
    signal tagsClicked()
    signal rechargeClicked()

    onUserDataChanged: load()
    onRequestChanged: load()

    function field(key, key1, key2) {
        return request.getMemberInfo(userData, key, key1, key2 || "", 0)
    }

    function load() {
        if (request === null || userData === "")
            return
        userId = field("info", "id")
        name = field("info", "name")
        sex = field("info", "sex")
        phone = field("info", "phone")
        wxNickname = field("info", "wxNickname")
        headimgPath = field("info", "headimgPath")
        grade = field("info", "grade")
        balance = field("ext", "balance")
        point = field("ext", "point")
        birthday = field("ext", "birthday")
        cardNo = field("card", "no")
        rfidNo = field("card", "rfidNo")
        isBinding = field("card", "isBinding")
        levelName = field("card", "info", "name")
        level = field("card", "info", "level")
        discount = field("card", "info", "discount")
        discountType = field("card", "info", "discountType")
        groupId = field("group", "id")
        groupName = field("group", "name")
        unionName = field("unionInfo", "name")
        couponCnt = request.getMemberInfo(userData, "couponCnt", "", "", 0)
        wxId = field("info", "wxId")
        verifyPhone = field("info", "verifyPhone")
        verifyAndriod = field("info", "verifyAndriod")
        verifyIos = field("info", "verifyIos")
    }

    component Label: Text {
        font.pixelSize: Theme.fontBody
        color: Theme.textSecondary
        width: 80
    }
    component Value: Text {
        font.pixelSize: Theme.fontBody
        color: Theme.textStrong
        elide: Text.ElideRight
    }
    component Link: Text {
        signal clicked()
        font.pixelSize: Theme.fontBody
        color: Theme.primary
        MouseArea {
            anchors.fill: parent
            cursorShape: Qt.PointingHandCursor
            onClicked: parent.clicked()
        }
    }

    Column {
        id: column
        anchors.fill: parent
        anchors.margins: 20
        spacing: 14

        Row {
            spacing: 14
            Image {
                id: head
                width: 70
                height: 70
                source: panel.headimgPath !== "" ? panel.headimgPath : "qrc:/icon/icon/grayhead.png"
                fillMode: Image.PreserveAspectCrop
            }
            Column {
                spacing: 8
                anchors.verticalCenter: parent.verticalCenter
                Row {
                    spacing: 8
                    Text {
                        id: nameText
                        objectName: "customerName"
                        text: panel.name
                        visible: !nameEditor.visible
                        font.pixelSize: Theme.fontTitle
                        font.bold: true
                        color: Theme.textStrong
                        MouseArea {
                            anchors.fill: parent
                            onClicked: {
                                nameEditor.text = panel.name
                                nameEditor.visible = true
                                nameEditor.forceActiveFocus()
                            }
                        }
                    }
                    TextField {
                        id: nameEditor
                        objectName: "nameEditor"
                        visible: false
                        width: 150
                        height: 32
                        font.pixelSize: Theme.fontMedium
                        onAccepted: {
                            visible = false
                            if (text.trim() !== "" && text !== panel.name)
                                panel.nameEdited(text.trim())
                        }
                        onActiveFocusChanged: if (!activeFocus) visible = false
                    }
                    Image {
                        objectName: "gradeFlag"
                        visible: Customer.gradeFlag(panel.grade) !== ""
                        source: visible ? "qrc:/icon/icon/" + Customer.gradeFlag(panel.grade) + ".png" : ""
                        anchors.verticalCenter: parent.verticalCenter
                    }
                    Text {
                        objectName: "wxNickname"
                        visible: panel.wxNickname !== ""
                        text: "(" + panel.wxNickname + ")"
                        font.pixelSize: Theme.fontNormal
                        color: Theme.success
                        anchors.verticalCenter: parent.verticalCenter
                    }
                }
                Row {
                    spacing: 8
                    Link {
                        objectName: "sexText"
                        text: Customer.sexText(panel.sex)
                        color: Theme.textRegular
                        onClicked: sexMenu.open()
                        // A plain popup: the terminal has a screen called Menu of its own.
                        Popup {
                            id: sexMenu
                            y: parent.height
                            padding: 4
                            Column {
                                Repeater {
                                    model: [["男", "1"], ["女", "2"], ["未知", "0"]]
                                    ItemDelegate {
                                        required property var modelData
                                        width: 80
                                        text: modelData[0]
                                        onClicked: {
                                            sexMenu.close()
                                            panel.sexChosen(modelData[1])
                                        }
                                    }
                                }
                            }
                        }
                    }
                    Rectangle {
                        objectName: "unionBadge"
                        visible: panel.unionName !== ""
                        width: 22
                        height: 22
                        radius: 4
                        color: Theme.warning
                        Text {
                            anchors.centerIn: parent
                            text: "团"
                            color: Theme.textOnDark
                            font.pixelSize: Theme.fontNormal
                        }
                    }
                    Value {
                        objectName: "unionName"
                        visible: panel.unionName !== ""
                        text: panel.unionName
                        width: 200
                    }
                }
            }
        }

        Row {
            objectName: "bindings"
            visible: panel.showBindings
            spacing: 6
            Repeater {
                model: [["bindWechat", "微信", panel.wxId !== "-1"],
                        ["bindPhone", "手机", panel.verifyPhone !== "0"],
                        ["bindAndroid", "安卓", panel.verifyAndriod !== "0"],
                        ["bindIos", "iOS", panel.verifyIos !== "0"]]
                Rectangle {
                    required property var modelData
                    objectName: modelData[0]
                    visible: modelData[2]
                    width: 44
                    height: 22
                    radius: 4
                    color: Theme.primaryLight
                    Text {
                        anchors.centerIn: parent
                        text: parent.modelData[1]
                        color: Theme.primary
                        font.pixelSize: Theme.fontSmall
                    }
                }
            }
        }

        Rectangle { width: column.width; height: 1; color: Theme.lineLight }

        Row {
            Label { text: "手机账号" }
            Value { objectName: "customerPhone"; text: panel.phone }
        }
        Row {
            spacing: 0
            Label { text: "余额" }
            Value {
                objectName: "customerBalance"
                text: "¥ " + Money.fenToYuan(panel.balance)
                color: Theme.amount
                width: 180
            }
            Link {
                objectName: "rechargeButton"
                text: "充值"
                onClicked: panel.rechargeClicked()
            }
        }
        Row {
            Label { text: "积分" }
            Value { objectName: "customerPoint"; text: panel.point }
        }
        Row {
            Label { text: "优惠券" }
            Link {
                objectName: "couponCount"
                text: panel.couponCnt + panel.couponUnit
                onClicked: panel.couponsClicked()
            }
        }
        Row {
            Label { text: "会员卡" }
            Link {
                objectName: "cardNumber"
                text: Customer.cardNumber(panel.isBinding, panel.rfidNo, panel.cardNo) || "未绑卡"
                onClicked: panel.cardClicked()
            }
        }
        Row {
            Label { text: "等级" }
            Value {
                objectName: "cardLevel"
                text: panel.levelName + "  " + Customer.discountText(panel.discount, panel.discountType)
            }
        }
        Row {
            Label { text: "分组" }
            Link {
                objectName: "groupName"
                text: panel.groupName || "默认分组"
                onClicked: panel.groupClicked()
            }
        }
        Row {
            Label { text: "生日" }
            Link {
                objectName: "birthdayText"
                text: panel.birthday || "未设置"
                onClicked: birthdayPopup.open()
            }
        }
        Row {
            Label { text: "标签" }
            Link {
                objectName: "tagsText"
                width: column.width - 80
                wrapMode: Text.Wrap
                text: panel.tagNames.length > 0 ? panel.tagNames.join(" | ") : "添加标签"
                onClicked: panel.tagsClicked()
            }
        }
    }

    // Birthday: a day up to today.
    DatePickerPopup {
        id: birthdayPopup
        objectName: "birthdayPopup"
        x: 20
        y: 200
        maximumDate: Qt.formatDate(new Date(), "yyyy-MM-dd")
        selectedDate: panel.birthday
        onChosen: function (date) { panel.birthdayChosen(date) }
    }
}
