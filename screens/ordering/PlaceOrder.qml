import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "screens.js" as Screens
import "orderheader.js" as Header

// "下单": finds the customer by phone number, member card number or a member card on the
// reader, and opens the order form for the customer found.
ScreenPage {
    id: placeOrder
    objectName: "PlaceOrder"
    enterFlag: "PlaceOrder"
    backVisible: false

    // The key of the last search and the record it found (the `data` of the reply).
    property string searchKey: ""
    property string userData: ""
    property bool cardMode: false
    // The unknown 11-digit key may become a new member once the box was confirmed.
    property bool offerNewMember: false
    // The message box; tests put a recorder in its place.
    property var messageBox: followUp.box
    readonly property alias conversation: lookup
    readonly property alias followUp: followUp

    // A customer was found and the order form opened for it.
    signal customerFound(string record)

    Component.onCompleted: searchCard.field.forceActiveFocus()

    // A search already out is not sent again (a scanner's Enter after a click).
    function search() {
        var key = searchCard.field.text
        if (key === "" || lookup.busy())
            return
        offerNewMember = false
        searchKey = key
        lookup.byKey(key)
    }

    // Card mode: one read of the card's secret; a member card's secret finds its member.
    function readCard() {
        cardMode = true
        offerNewMember = false
        var secret = lookup.backend.request.getRFIDSecret()
        if (secret === "") {
            console.log(Logs.ordering, "PlaceOrder: no card on the reader")
            return
        }
        if (lookup.busy())
            return
        searchKey = secret
        lookup.byCard(secret)
    }

    function nobody(key, byCard) {
        var said = Header.nobodyFound(key, byCard)
        followUp.info("创建新用户", said.text, said.offerNewMember ? function () { placeOrder.offerNewMember = true } : null)
    }

    function openContent() {
        var content = Screens.open(placeOrder, "PlaceOrderContent",
                                   { userData: userData, searchKey: searchKey })
        customerFound(userData)
        return content
    }

    function openNewMember() {
        var screen = Screens.open(placeOrder, "CreateNewMember",
                                  { createNewMemberPhone: searchKey })
        // The new member can be found now: the offer to create one goes.
        if (screen !== null)
            screen.created.connect(function () { placeOrder.offerNewMember = false })
    }

    function enterPressed() {
        if (Session.enterFlag === "PlaceOrder" && !cardMode)
            search()
    }

    CustomerLookup {
        id: lookup
        messageBox: placeOrder.messageBox
        keyTag: "PlaceOrder"
        reportsFailures: true
        onFound: function (record, userId, phone, key) {
            placeOrder.userData = record
            placeOrder.openContent()
        }
        onNobody: function (key, byCard) { placeOrder.nobody(key, byCard) }
        onFailed: function (text) { followUp.error(text) }
    }

    FollowUpBox { id: followUp; messageBox: placeOrder.messageBox }

    CustomerSearchCard {
        id: searchCard
        anchors.centerIn: parent
        title: "查找顾客"
        keyModeText: "手机号/会员卡号"
        cardMode: placeOrder.cardMode
        onKeyModeChosen: placeOrder.cardMode = false
        onCardModeChosen: placeOrder.readCard()
        onSearchRequested: placeOrder.enterPressed()

        Button {
            objectName: "createUserButton"
            text: "创建该用户"
            visible: placeOrder.offerNewMember && !placeOrder.cardMode
            width: 160
            height: 46
            font.pixelSize: Theme.fontMedium
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.top: searchCard.searchRow.bottom
            anchors.topMargin: Theme.spacingHuge
            onClicked: placeOrder.openNewMember()
        }
    }
}
