import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "screens.js" as Screens
import "money.js" as Money

// "会员详情": one member in full. The customer panel on the left with every window it opens
// (name, sex, birthday, group, tags, coupons and codes, member card), "充值" and "下单"; the
// record tabs on the right, where a click on an order shows it (TakeClothOrderInfo) in their
// place. Opening it reads the member, then the addresses, then the tags.
ScreenPage {
    id: details
    objectName: "MemberDetails"

    // From the opener: the member's id.
    property string userId: ""

    property string orderId: ""
    property var orderView: null
    property var messageBox: followUp.box
    readonly property alias loading: talk.loading
    readonly property alias conversation: talk
    readonly property alias panel: customerPanel
    readonly property alias followUp: followUp
    readonly property alias records: records
    readonly property alias addressForm: addressForm

    Component.onCompleted: talk.load()

    // The panel reads a customer record, whose member lies under `user`.
    function record() {
        return talk.detail === "" ? "" : "{\"user\":" + talk.detail + "}"
    }

    function openRecharge() {
        Screens.open(details, "MemberRecharge", {
            userNames: customerPanel.name,
            userPhones: customerPanel.phone,
            userBlances: Money.fenToYuan(customerPanel.balance),
            userIds: userId,
            rechargeFlag: "MemberDetails"
        })
    }

    function openOrderForm(record, phone) {
        Screens.open(details, "PlaceOrderContent", { userData: record, searchKey: phone })
    }

    // --- The order view --------------------------------------------------------------------

    function openOrder(id) {
        closeOrder()
        orderId = id
        orderView = orderViewComponent.createObject(orderArea, { orderId: id, userId: userId,
                                                                infoFlag: "MemverDetails", screenHost: details })
    }

    function closeOrder() {
        if (orderView !== null)
            orderView.destroy()
        orderView = null
        orderId = ""
    }

    MemberDetailsConversation {
        id: talk
        userId: details.userId
        messageBox: details.messageBox
        onMemberLoaded: records.choose("address")
        // A member that cannot be read is told, and the screen closes.
        onMemberFailed: function (text) { followUp.error(text, details.close) }
        onAddressesLoaded: function (addresses, first) {
            if (first)
                customerWindows.loadTags()
        }
        onAddressSaved: {
            addressForm.close()
            records.loadAddresses()
        }
        onAddressRefused: function (text) { followUp.error(text) }
        onCustomerFound: function (record, phone) { details.openOrderForm(record, phone) }
    }

    FollowUpBox { id: followUp; messageBox: details.messageBox }

    Text {
        text: "会员详情"
        anchors.left: details.backButton.right
        anchors.leftMargin: Theme.spacingLarge
        anchors.verticalCenter: details.backButton.verticalCenter
        font.pixelSize: Theme.fontTitle
        font.bold: true
        color: Theme.textStrong
    }

    Column {
        id: left
        anchors.left: parent.left
        anchors.top: details.backButton.bottom
        anchors.bottom: parent.bottom
        anchors.margins: Theme.spacingLarge
        width: 400
        spacing: Theme.spacingMedium
        CustomerPanel {
            id: customerPanel
            width: parent.width
            height: parent.height - actions.height - parent.spacing
            userData: details.record()
            request: talk.backend.request
            showBindings: true
            tagNames: customerWindows.customerTags.map(function (t) { return t.name })
            onRechargeClicked: details.openRecharge()
        }
        Row {
            id: actions
            spacing: Theme.spacingMedium
            Button { objectName: "detailsRecharge"; text: "充值"; onClicked: details.openRecharge() }
            Button { objectName: "detailsPlaceOrder"; text: "下单"; onClicked: talk.placeOrder(customerPanel.phone) }
            Button {
                objectName: "detailsCard"
                text: customerPanel.isBinding === "1" ? "RFID实体会员卡" : "电子会员卡"
                onClicked: customerPanel.cardClicked()
            }
        }
    }

    Item {
        id: orderArea
        anchors.left: left.right
        anchors.right: parent.right
        anchors.top: left.top
        anchors.bottom: parent.bottom
        anchors.leftMargin: Theme.spacingLarge
        anchors.rightMargin: Theme.spacingLarge
        anchors.bottomMargin: Theme.spacingLarge

        MemberRecords {
            id: records
            anchors.fill: parent
            visible: details.orderView === null
            conversation: talk
            onFailed: function (text, retry) { details.followUp.error(text, retry) }
            onOrderClicked: function (id) { details.openOrder(id) }
            onAddAddress: {
                addressForm.contactName = customerPanel.name
                addressForm.contactPhone = customerPanel.phone
                addressForm.start()
            }
            onEditAddress: function (address) { addressForm.edit(address) }
        }
    }

    Component {
        id: orderViewComponent
        TakeClothOrderInfo {
            anchors.fill: parent
            onBackToList: {
                details.closeOrder()
                records.choose("order")
            }
        }
    }

    CustomerWindows {
        id: customerWindows
        backend: talk.backend
        panel: customerPanel
        onFailed: function (text) { details.followUp.error(text) }
    }

    AddressForm {
        id: addressForm
        onSaveRequested: function (fields) { talk.saveAddress(addressForm.editingId, fields) }
    }

    LoadingShade { visible: talk.loading }
}
