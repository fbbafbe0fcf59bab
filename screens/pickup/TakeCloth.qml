import QtQuick 2.15
import QtQuick.Controls 2.15
import BVMessageBox 1.0
import Brenvo 1.0
import "screens.js" as Screens
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

    Component.onCompleted: searchCard.field.forceActiveFocus()

    function search() {
        var typed = searchCard.field.text
        if (typed === "" || backend.busy("UserInfo"))
            return
        backend.call("UserInfo", "userInfo/info", { searchValue: typed }, function (reply) {
            takeCloth.found(typed, reply)
        }, function (reply, unreachable) {
            takeCloth.messageBox.btnMsgMessageErrBox("错误提示", backend.failureText(unreachable))
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

    CustomerSearchCard {
        id: searchCard
        anchors.centerIn: parent
        title: "取衣"
        keyModeText: "手机号/订单号/会员卡号"
        keyModeWidth: 200
        cardMode: takeCloth.cardMode
        onKeyModeChosen: takeCloth.cardMode = false
        onCardModeChosen: takeCloth.cardMode = true
        onSearchRequested: takeCloth.enterPressed()
    }
}
