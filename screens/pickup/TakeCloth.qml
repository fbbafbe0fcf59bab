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
    readonly property alias conversation: lookup

    // The customer was found and the order list opened for it.
    signal customerFound(string record)

    Component.onCompleted: searchCard.field.forceActiveFocus()

    // A search already out is not sent again.
    function search() {
        var typed = searchCard.field.text
        if (typed === "" || lookup.busy())
            return
        lookup.bySearch(typed)
    }

    function found(record, userId, phone, typed) {
        var key = Pickup.orderKey(typed, phone, userId)
        var list = Screens.open(takeCloth, "TakeClothList", {
            userData: record, userIdkey: userId, userPhone: phone,
            orderKey: key.orderKey, getFlag: key.getFlag
        })
        customerFound(record)
        return list
    }

    function enterPressed() {
        if (Session.enterFlag === "TakeCloth" && !cardMode)
            search()
    }

    // A customer nobody has is a refusal, told; the search screen stays.
    CustomerLookup {
        id: lookup
        messageBox: takeCloth.messageBox
        reportsFailures: true
        onFound: function (record, userId, phone, key) { takeCloth.found(record, userId, phone, key) }
        onFailed: function (text) { takeCloth.messageBox.btnMsgMessageErrBox("错误提示", text) }
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
