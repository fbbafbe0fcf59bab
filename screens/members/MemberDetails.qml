import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "screens.js" as Screens
import "money.js" as Money
import "customer.js" as Customer
import "records.js" as Records

// "会员详情": one member in full. The customer panel on the left with every window it opens
// (name, sex, birthday, group, tags, coupons and codes, member card), "充值" and "下单"; the
// record tabs on the right, where a click on an order shows it (TakeClothOrderInfo) in their
// place. Opening it reads the member, then the addresses, then the tags.
ScreenPage {
    id: details
    objectName: "MemberDetails"

    // From the opener: the member's id.
    property string userId: ""

    property bool loading: true
    // The `data` of userInfo/detail.
    property string detail: ""
    property string orderId: ""
    property var orderView: null
    property var messageBox: followUp.box
    readonly property alias backend: backend
    readonly property alias panel: customerPanel
    readonly property alias followUp: followUp
    readonly property alias records: records
    readonly property alias addressForm: addressForm

    Component.onCompleted: load()

    // The member, then the addresses (the tags follow them). A member that cannot be read is
    // told, and the screen closes.
    function load() {
        loading = true
        backend.call("UserInfo", "userInfo/detail", { id: userId }, function (reply) {
            details.detail = backend.request.josnData(reply)
            records.choose("address")
        }, function (reply, unreachable) {
            details.followUp.error(backend.failureText(unreachable), function () { details.close() })
        })
    }

    // The panel reads a customer record, whose member lies under `user`.
    function record() {
        return detail === "" ? "" : "{\"user\":" + detail + "}"
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

    function placeOrder() {
        if (backend.busy("ReturnPlace"))
            return
        backend.call("ReturnPlace", "userInfo/queryByKey", { key: customerPanel.phone }, function (reply) {
            var data = backend.request.josnData(reply)
            if (Customer.isRecord(data))
                Screens.open(details, "PlaceOrderContent", { userData: data, searchKey: customerPanel.phone })
        })
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

    // --- Addresses -------------------------------------------------------------------------

    function saveAddress(fields) {
        if (backend.busy("AddUserAddr"))
            return
        fields.userId = userId
        var editing = addressForm.editingId !== ""
        backend.call("AddUserAddr", editing ? "userAddress/update" : "userAddress/add",
                     editing ? Records.updateFields(addressForm.editingId, fields) : fields, function () {
            addressForm.close()
            records.loadAddresses()
        }, function (reply, unreachable) {
            details.followUp.error(backend.failureText(unreachable))
        })
    }

    BackendRequest {
        id: backend
        objectName: "memberDetailsBackend"
        messageBox: details.messageBox
    }

    FollowUpBox { id: followUp; messageBox: details.messageBox }

    Text {
        text: "会员详情"
        anchors.left: details.backButton.right
        anchors.leftMargin: 20
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
        anchors.margins: 20
        width: 400
        spacing: 12
        CustomerPanel {
            id: customerPanel
            width: parent.width
            height: parent.height - actions.height - parent.spacing
            userData: details.record()
            request: backend.request
            showBindings: true
            tagNames: customerWindows.customerTags.map(function (t) { return t.name })
            onRechargeClicked: details.openRecharge()
        }
        Row {
            id: actions
            spacing: 12
            Button { objectName: "detailsRecharge"; text: "充值"; onClicked: details.openRecharge() }
            Button { objectName: "detailsPlaceOrder"; text: "下单"; onClicked: details.placeOrder() }
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
        anchors.leftMargin: 20
        anchors.rightMargin: 20
        anchors.bottomMargin: 20

        MemberRecords {
            id: records
            anchors.fill: parent
            visible: details.orderView === null
            backend: backend
            userId: details.userId
            onAddressesLoaded: {
                if (details.loading) {
                    details.loading = false
                    customerWindows.loadTags()
                }
            }
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
        backend: backend
        panel: customerPanel
        onFailed: function (text) { details.followUp.error(text) }
    }

    AddressForm {
        id: addressForm
        onSaveRequested: function (fields) { details.saveAddress(fields) }
    }

    LoadingShade { visible: details.loading }
}
