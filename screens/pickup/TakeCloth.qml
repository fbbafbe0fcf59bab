import QtQuick 2.15
import QtQuick.Controls 2.15
import BVMessageBox 1.0
import Brenvo 1.0
import "screens.js" as Screens
import "requests.js" as Requests
import "pickup.js" as Pickup

// "取衣": finds the customer by phone, order or member card number and opens the customer's
// orders over this screen.
ScreenPage {
    id: takeCloth
    objectName: "TakeCloth"
    enterFlag: "TakeCloth"
    backVisible: false

    property bool cardMode: false
    property var messageBox: mMessageBox
    readonly property alias backend: backend

    // The customer was found and the order list opened for it.
    signal customerFound(string record)

    Component.onCompleted: searchField.forceActiveFocus()

    function search() {
        var typed = searchField.text
        if (typed === "" || backend.busy("UserInfo"))
            return
        backend.call("UserInfo", "userInfo/info", { searchValue: typed }, function (reply) {
            takeCloth.found(typed, reply)
        }, function (reply, unreachable) {
            takeCloth.messageBox.btnMsgMessageErrBox("错误提示", unreachable ? Requests.unreachableText : Session.msg)
        })
    }

    function found(typed, reply) {
        var r = backend.request
        var data = r.josnData(reply)
        var userId = r.getMemberInfo(data, "info", "id", "", 0)
        var phone = r.getMemberInfo(data, "info", "phone", "", 0)
        var key = Pickup.orderKey(typed, phone, userId)
        var list = Screens.open(takeCloth, "TakeClothList", {
            userData: data, userIdkey: userId, userPhone: phone,
            orderKey: key.orderKey, getFlag: key.getFlag
        })
        customerFound(data)
        return list
    }

    function enterPressed() {
        if (Session.enterFlag === "TakeCloth" && !cardMode)
            search()
    }

    BackendRequest {
        id: backend
        objectName: "takeClothBackend"
        messageBox: takeCloth.messageBox
    }

    BVMessageBox { id: mMessageBox }

    Rectangle {
        width: 640
        height: 420
        anchors.centerIn: parent
        radius: 8
        color: Theme.card
        border.color: Theme.border

        Text {
            id: title
            text: "取衣"
            font.pixelSize: Theme.fontHeading
            color: Theme.text
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.top: parent.top
            anchors.topMargin: 30
        }

        Row {
            id: tabs
            spacing: 20
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.top: title.bottom
            anchors.topMargin: 24
            Button {
                objectName: "keyModeButton"
                text: "手机号/订单号/会员卡号"
                width: 200
                font.pixelSize: Theme.fontMedium
                highlighted: !takeCloth.cardMode
                onClicked: {
                    takeCloth.cardMode = false
                    searchField.forceActiveFocus()
                }
            }
            Button {
                objectName: "cardModeButton"
                text: "刷卡"
                width: 160
                font.pixelSize: Theme.fontMedium
                highlighted: takeCloth.cardMode
                onClicked: takeCloth.cardMode = true
            }
        }

        Row {
            visible: !takeCloth.cardMode
            spacing: 12
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.top: tabs.bottom
            anchors.topMargin: 50
            TextField {
                id: searchField
                objectName: "searchField"
                width: 380
                height: 50
                font.pixelSize: Theme.fontTitle
                placeholderText: "手机号/订单号/会员卡号"
                maximumLength: 25
                validator: RegularExpressionValidator { regularExpression: /\d{0,25}/ }
                focus: true
                Keys.onReturnPressed: takeCloth.enterPressed()
                Keys.onEnterPressed: takeCloth.enterPressed()
            }
            Button {
                objectName: "searchButton"
                text: "搜索"
                width: 110
                height: 50
                font.pixelSize: Theme.fontLarge
                onClicked: takeCloth.search()
            }
        }

        Column {
            visible: takeCloth.cardMode
            spacing: 16
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.top: tabs.bottom
            anchors.topMargin: 30
            Image {
                source: "qrc:/icon/icon/RFIDshow.png"
                anchors.horizontalCenter: parent.horizontalCenter
            }
            Text {
                objectName: "cardPrompt"
                text: "请将卡放入感应区"
                font.pixelSize: Theme.fontLarge
                color: Theme.textFaint
                anchors.horizontalCenter: parent.horizontalCenter
            }
        }
    }
}
