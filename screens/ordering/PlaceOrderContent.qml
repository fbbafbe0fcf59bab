import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "screens.js" as Screens
import "orderheader.js" as Header
import "money.js" as Money

// The order form for one customer: the customer panel beside the order header. Opening it
// loads the addresses, the time slots and the customer's tags under a shade. "提交下单"
// creates the order header and opens the intake screen over the form.
ScreenPage {
    id: content
    objectName: "PlaceOrderContent"

    // From the opener: the customer record and the key that found it.
    property string userData: ""
    property string searchKey: ""

    readonly property alias loading: talk.loading
    readonly property alias addresses: talk.addresses
    readonly property alias slots: talk.slots
    readonly property alias customerTags: customerWindows.customerTags
    // What the intake screen is handed once the order exists.
    property var handOff: null
    property var messageBox: followUp.box
    readonly property alias conversation: talk
    readonly property alias panel: customerPanel
    readonly property alias header: headerForm
    readonly property alias followUp: followUp

    signal orderCreated(string orderNumber, var handOff)

    // The addresses, the time slots and the tags are asked for at once.
    Component.onCompleted: {
        talk.open(userId())
        loadTags()
    }

    function userId() {
        if (customerPanel.userId === "")
            customerPanel.load()
        return customerPanel.userId
    }

    // The form takes the default address and the first slot.
    function opened() {
        headerForm.setAddress(Header.preselectedAddress(addresses))
        if (slots.length > 0) {
            headerForm.takeTimeStart = slots[0].timeStart
            headerForm.takeTimeEnd = slots[0].timeEnd
        }
    }

    function loadTags() {
        customerWindows.loadTags()
    }

    // --- The order -----------------------------------------------------------------------

    function submitOrder() {
        var remark = headerForm.remark
        talk.createOrder(Header.orderFields({
            userId: userId(),
            takeMode: headerForm.takeMode,
            sendMode: headerForm.sendMode,
            priority: headerForm.priority,
            takeAddrId: headerForm.takeAddrId,
            sendAddrId: headerForm.sendAddrId,
            remark: remark,
            userRemark: headerForm.userRemark,
            remarkJson: remark !== "" ? talk.backend.request.createRemarkJson(remark, Session.workerid, Session.workername) : "",
            mark: headerForm.mark,
            takeDate: headerForm.takeDate,
            takeTimeStart: headerForm.takeTimeStart,
            takeTimeEnd: headerForm.takeTimeEnd,
            sendDate: headerForm.sendDate
        }))
    }

    function orderDone(number) {
        handOff = {
            orderNumber: number,
            clothNum1: headerForm.pieces,
            creatOrderTime: Qt.formatDateTime(new Date(), "yyyy-MM-dd hh:mm:ss"),
            user_info_name: customerPanel.name,
            user_info_phone: customerPanel.phone,
            user_card_cardNumber: customerPanel.cardNo,
            user_card_level: customerPanel.levelName,
            user_ext_balance: Money.fenToYuan(customerPanel.balance),
            user_card_RfidNumber: customerPanel.rfidNo,
            priority: String(headerForm.priority)
        }
        orderCreated(number, handOff)
        Screens.open(content, "PutStorage", handOff)
    }

    function openRecharge() {
        var screen = Screens.open(content, "MemberRecharge", {
            userNames: customerPanel.name,
            userPhones: customerPanel.phone,
            userBlances: Money.fenToYuan(customerPanel.balance),
            userIds: customerPanel.userId,
            rechargeFlag: "PlaceOrder"
        })
        if (screen === null)
            console.log(Logs.ordering, "PlaceOrderContent: member recharge is not available yet")
    }

    // --- The customer's windows ----------------------------------------------------------

    // A new address joins the list. The time slot and the addresses chosen so far stay,
    // unless the new address was made the default: then it fills both rows, as the
    // default does when the form opens.
    function saveAddress(fields) {
        fields.userId = userId()
        talk.addAddress(fields)
    }

    function showGroups(reply, forMark) {
        customerWindows.showGroups(reply, forMark)
    }

    PlaceOrderConversation {
        id: talk
        messageBox: content.messageBox
        onOpened: content.opened()
        // Confirming the box asks again for what is still missing.
        onOpenFailed: function (text) { followUp.error(text, function () { talk.load(content.userId()) }) }
        onAddressAdded: function (def) {
            addressForm.close()
            if (def === "1")
                headerForm.setAddress(Header.preselectedAddress(talk.addresses))
        }
        onOrderCreated: function (number) { content.orderDone(number) }
        onOrderFailed: function (text, retry) { followUp.error(text, retry) }
    }

    FollowUpBox { id: followUp; messageBox: content.messageBox }

    CustomerPanel {
        id: customerPanel
        anchors.left: parent.left
        anchors.top: content.backButton.bottom
        anchors.bottom: parent.bottom
        anchors.margins: Theme.spacingLarge
        userData: content.userData
        request: talk.backend.request
        tagNames: content.customerTags.map(function (t) { return t.name })
        onRechargeClicked: content.openRecharge()
    }

    OrderHeaderForm {
        id: headerForm
        anchors.left: customerPanel.right
        anchors.right: parent.right
        anchors.top: content.backButton.bottom
        anchors.bottom: parent.bottom
        anchors.margins: Theme.spacingLarge
        onChooseAddress: {
            addressChooser.addresses = talk.addresses
            addressChooser.open()
        }
        onAddAddress: {
            addressForm.contactName = customerPanel.name
            addressForm.contactPhone = customerPanel.phone
            addressForm.start()
        }
        onChooseSlot: {
            slotWindow.slots = talk.slots
            slotWindow.open()
        }
        onChooseMark: customerWindows.openGroups(true)
        onSubmit: content.submitOrder()
    }

    AddressChooser {
        id: addressChooser
        onChosen: function (address) { headerForm.setAddress(address) }
    }
    TimeSlotWindow {
        id: slotWindow
        onChosen: function (timeStart, timeEnd) {
            headerForm.takeTimeStart = timeStart
            headerForm.takeTimeEnd = timeEnd
        }
    }
    AddressForm {
        id: addressForm
        onSaveRequested: function (fields) { content.saveAddress(fields) }
    }
    CustomerWindows {
        id: customerWindows
        backend: talk.backend
        panel: customerPanel
        onGroupChosen: function (id, name, forMark) { headerForm.mark = name }
        onFailed: function (text) { followUp.error(text) }
    }

    // Lifted once the panel has all it shows: no frame shows "添加标签" before the tags.
    LoadingShade { visible: talk.loading || !customerWindows.tagsLoaded }
}
