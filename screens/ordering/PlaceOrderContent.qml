import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "screens.js" as Screens
import "orderheader.js" as Header
import "customer.js" as Customer
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

    // The form's own data is not all there yet (the shade also waits for the tags).
    readonly property bool loading: !addressesLoaded || !slotsLoaded
    property bool addressesLoaded: false
    property bool slotsLoaded: false
    property bool failureTold: false
    property var addresses: []
    property var slots: []
    readonly property alias customerTags: customerWindows.customerTags
    // What the intake screen is handed once the order exists.
    property var handOff: null
    property var messageBox: followUp.box
    readonly property alias backend: backend
    readonly property alias panel: customerPanel
    readonly property alias header: headerForm
    readonly property alias followUp: followUp

    signal orderCreated(string orderNumber, var handOff)

    Component.onCompleted: load()

    function userId() {
        if (customerPanel.userId === "")
            customerPanel.load()
        return customerPanel.userId
    }

    // A failed load is told once; confirming the box asks again for what is missing.
    function reloadAfter(reply, unreachable) {
        if (failureTold)
            return
        failureTold = true
        followUp.error(backend.failureText(unreachable), load)
    }

    function listOf(reply, keys, flag) {
        return backend.listOf(reply, keys, flag)
    }

    // --- Loading: addresses, time slots, tags -------------------------------------------

    // All three are asked for at once and the shade lifts when all have answered: the form
    // is drawn whole, in one frame, instead of once per answer.
    function load() {
        failureTold = false
        if (!addressesLoaded && !backend.busy("getUserAddress"))
            loadAddresses()
        if (!slotsLoaded && !backend.busy("getServiceTime"))
            loadSlots()
        if (!customerWindows.tagsLoaded && !backend.busy("UserTag"))
            loadTags()
    }

    function loadAddresses() {
        backend.call("getUserAddress", "userAddress/list", { userId: userId() }, function (reply) {
            content.takeAddresses(reply)
            headerForm.setAddress(Header.preselectedAddress(content.addresses))
            content.addressesLoaded = true
        }, reloadAfter)
    }

    function takeAddresses(reply) {
        addresses = Header.addressesDefaultFirst(listOf(reply,
            ["id", "name", "phone", "regionalDesc", "detail", "def"], 0))
    }

    function loadSlots() {
        backend.call("getServiceTime", "serviceTime/list", { type: "1" }, function (reply) {
            content.slots = content.listOf(reply, ["timeStart", "timeEnd"], 1)
            if (content.slots.length > 0) {
                headerForm.takeTimeStart = content.slots[0].timeStart
                headerForm.takeTimeEnd = content.slots[0].timeEnd
            }
            content.slotsLoaded = true
        }, reloadAfter)
    }

    function loadTags() {
        customerWindows.loadTags()
    }

    // --- The order -----------------------------------------------------------------------

    // "提交下单" while the order is being created does nothing: one order per submission. An
    // order whose answer was lost goes again, on the worker's confirmation or next press, as
    // the very same request; a refusal is told and the form stays as it was.
    function submitOrder() {
        if (backend.busy("createOrder"))
            return
        var remark = headerForm.remark
        var fields = Header.orderFields({
            userId: userId(),
            takeMode: headerForm.takeMode,
            sendMode: headerForm.sendMode,
            priority: headerForm.priority,
            takeAddrId: headerForm.takeAddrId,
            sendAddrId: headerForm.sendAddrId,
            remark: remark,
            userRemark: headerForm.userRemark,
            remarkJson: remark !== "" ? backend.request.createRemarkJson(remark, Session.workerid, Session.workername) : "",
            mark: headerForm.mark,
            takeDate: headerForm.takeDate,
            takeTimeStart: headerForm.takeTimeStart,
            takeTimeEnd: headerForm.takeTimeEnd,
            sendDate: headerForm.sendDate
        })
        // The note's entry carries the time it was written: the order is what the worker typed.
        var intent = Object.assign({}, fields)
        delete intent.remarkJson
        backend.write("createOrder", "orderInfo/add", fields, orderDone, function (reply, unreachable) {
            var again = backend.held("orderInfo/add", fields, intent)
            followUp.error(backend.failureText(unreachable), again ? content.submitOrder : null)
        }, intent)
    }

    function orderDone(reply) {
        var number = backend.request.getOrderName(reply)
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
            console.log("PlaceOrderContent: member recharge is not available yet")
    }

    // --- The customer's windows ----------------------------------------------------------

    // A new address joins the list. The time slot and the addresses chosen so far stay,
    // unless the new address was made the default: then it fills both rows, as the
    // default does when the form opens.
    function saveAddress(fields) {
        if (backend.busy("AddUserAddr"))
            return
        fields.userId = userId()
        backend.call("AddUserAddr", "userAddress/add", fields, function () {
            addressForm.close()
            backend.call("getUserAddress", "userAddress/list", { userId: content.userId() }, function (reply) {
                content.takeAddresses(reply)
                if (fields.def === "1")
                    headerForm.setAddress(Header.preselectedAddress(content.addresses))
            })
        })
    }

    function showGroups(reply, forMark) {
        customerWindows.showGroups(reply, forMark)
    }

    BackendRequest {
        id: backend
        objectName: "contentBackend"
        messageBox: content.messageBox
    }

    FollowUpBox { id: followUp; messageBox: content.messageBox }

    CustomerPanel {
        id: customerPanel
        anchors.left: parent.left
        anchors.top: content.backButton.bottom
        anchors.bottom: parent.bottom
        anchors.margins: 20
        userData: content.userData
        request: backend.request
        tagNames: content.customerTags.map(function (t) { return t.name })
        onRechargeClicked: content.openRecharge()
    }

    OrderHeaderForm {
        id: headerForm
        anchors.left: customerPanel.right
        anchors.right: parent.right
        anchors.top: content.backButton.bottom
        anchors.bottom: parent.bottom
        anchors.margins: 20
        onChooseAddress: {
            addressChooser.addresses = content.addresses
            addressChooser.open()
        }
        onAddAddress: {
            addressForm.contactName = customerPanel.name
            addressForm.contactPhone = customerPanel.phone
            addressForm.start()
        }
        onChooseSlot: {
            slotWindow.slots = content.slots
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
        backend: backend
        panel: customerPanel
        onGroupChosen: function (id, name, forMark) { headerForm.mark = name }
        onFailed: function (text) { followUp.error(text) }
    }

    // Lifted once the panel has all it shows: no frame shows "添加标签" before the tags.
    LoadingShade { visible: content.loading || !customerWindows.tagsLoaded }
}
