import QtQuick 2.15
import QtQuick.Controls 2.15
import BVMessageBox 1.0
import Brenvo 1.0
import "screens.js" as Screens
import "orderheader.js" as Header
import "customer.js" as Customer

// The order form for one customer: the customer panel beside the order header. Opening it
// loads the addresses, then the time slots, then the customer's tags, one request after
// the other. "提交下单" creates the order header and opens the intake screen over the form.
Item {
    id: content
    objectName: "PlaceOrderContent"
    anchors.fill: parent

    // From the opener: the customer record and the key that found it.
    property string userData: ""
    property string searchKey: ""

    property bool loading: true
    property string pending: ""
    property var addresses: []
    property var slots: []
    property var customerTags: []
    property bool tagWindowOpened: false
    // The body of the last orderInfo/add: a failed attempt is sent again as it was.
    property var orderBody: null
    // What the intake screen is handed once the order exists.
    property var handOff: null
    property string boxPurpose: ""
    property var messageBox: mMessageBox
    readonly property alias backend: backend
    readonly property alias panel: customerPanel
    readonly property alias header: headerForm

    signal orderCreated(string orderNumber, var handOff)

    Component.onCompleted: loadAddresses()

    function userId() {
        if (customerPanel.userId === "")
            customerPanel.load()
        return customerPanel.userId
    }

    function send(tag, path, fields) {
        pending = tag
        backend.post(tag, path, fields)
    }

    function loadAddresses() {
        loading = true
        send("getUserAddress", "userAddress/list", { userId: userId() })
    }

    function showError(purpose, text) {
        boxPurpose = purpose
        messageBox.btnMsgMessageErrBox("错误提示", text)
    }

    // The error box was confirmed: the loading chain starts again, a failed order is sent
    // again as the very same request.
    function boxConfirmed() {
        var purpose = boxPurpose
        boxPurpose = ""
        if (purpose === "reload")
            loadAddresses()
        else if (purpose === "resendOrder")
            resendOrder()
    }

    function submitOrder() {
        var remark = headerForm.remark
        orderBody = Header.orderBody({
            serialNum: Session.serialNum,
            userId: userId(),
            timestamp: backend.request.mtimestamp(),
            appSecret: Session.appSecret,
            accessToken: Session.accessToken,
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
        resendOrder()
    }

    function resendOrder() {
        pending = "createOrder"
        backend.postBody("createOrder", "orderInfo/add", orderBody)
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
            user_ext_balance: Customer.fenToYuan(customerPanel.balance),
            user_card_RfidNumber: customerPanel.rfidNo,
            priority: String(headerForm.priority)
        }
        orderCreated(number, handOff)
        if (Screens.open(content, "PutStorage", handOff) === null)
            console.log("PlaceOrderContent: the intake screen is not available; order " + number)
    }

    function openRecharge() {
        var screen = Screens.open(content, "MemberRecharge", {
            userNames: customerPanel.name,
            userPhones: customerPanel.phone,
            userBlances: Customer.fenToYuan(customerPanel.balance),
            userIds: customerPanel.userId,
            rechargeFlag: "PlaceOrder"
        })
        if (screen === null)
            console.log("PlaceOrderContent: member recharge is not available yet")
    }

    function listOf(reply, keys, flag) {
        var n = backend.request.getOrderNum(reply, flag)
        var list = []
        for (var i = 0; i < n; ++i) {
            var entry = {}
            for (var k = 0; k < keys.length; ++k)
                entry[keys[k]] = backend.request.getOrderInfo(reply, keys[k], i, flag)
            list.push(entry)
        }
        return list
    }

    // The customer read again after a card change, by phone: the key that opened the form
    // may have been the very card that was just taken off.
    function requery() { send("placeOrders", "userInfo/queryByKey", { key: customerPanel.phone }) }

    // Replies by request tag: on 200, and on any other code.
    readonly property var onSuccess: ({
        getUserAddress: function (reply) {
            content.addresses = Header.addressesDefaultFirst(content.listOf(reply,
                ["id", "name", "phone", "regionalDesc", "detail", "def"], 0))
            headerForm.setAddress(Header.preselectedAddress(content.addresses))
            content.send("getServiceTime", "serviceTime/list", { type: "1" })
        },
        getServiceTime: function (reply) {
            content.slots = content.listOf(reply, ["timeStart", "timeEnd"], 1)
            if (content.slots.length > 0) {
                headerForm.takeTimeStart = content.slots[0].timeStart
                headerForm.takeTimeEnd = content.slots[0].timeEnd
            }
            content.loading = false
            content.send("UserTag", "userTag/list", { userId: content.userId() })
        },
        UserTag: function (reply) {
            content.customerTags = content.listOf(reply, ["id", "name"], 1)
            if (content.tagWindowOpened)
                content.send("AllTag", "userTag/all", {})
        },
        AllTag: function (reply) {
            tagWindow.allTags = content.listOf(reply, ["id", "name"], 1)
            tagWindow.customerTags = content.customerTags
        },
        UpdateTag: function () {
            tagWindow.close()
            content.send("UserTag", "userTag/list", { userId: content.userId() })
        },
        createOrder: function (reply) { content.orderDone(reply) },
        AddUserAddr: function () {
            addressForm.close()
            content.send("getUserAddress", "userAddress/list", { userId: content.userId() })
        },
        CouponInfo: function (reply) {
            couponWindow.coupons = content.listOf(reply, ["id", "name", "amount", "fullAmount",
                "couponRuleName", "timeStart", "timeEnd", "enableUse", "orderId", "useStatus", "useBalance"], 0)
            customerPanel.couponCnt = String(couponWindow.coupons.length)
            couponWindow.open()
        },
        ExchangeDisCode: function () {
            couponWindow.codeMode = false
            couponWindow.code = ""
            content.send("CouponInfo", "couponInfo/userList", { userId: content.userId() })
        },
        UpdateName: function (reply, sent) { customerPanel.name = sent.name },
        UpdataSex: function (reply, sent) { customerPanel.sex = sent.sex },
        GroupList: function (reply) { content.openGroups(reply, false) },
        GroupListBiao: function (reply) { content.openGroups(reply, true) },
        UpdataGruop: function (reply, sent) {
            groupWindow.close()
            customerPanel.groupId = sent.groupId
            customerPanel.groupName = sent.groupName
            headerForm.mark = sent.groupName
        },
        UpdateBrith: function (reply, sent) { customerPanel.birthday = sent.birthday },
        CardNumBind: function () { cardWindow.showResult("绑卡成功"); content.requery() },
        CardCancel: function () { cardWindow.showResult("已作废"); content.requery() },
        CardUntie: function () { cardWindow.showResult("已解绑"); content.requery() },
        placeOrders: function (reply) {
            var data = backend.request.josnData(reply)
            customerPanel.cardNo = backend.request.getMemberInfo(data, "card", "no", "", 0)
            customerPanel.rfidNo = backend.request.getMemberInfo(data, "card", "rfidNo", "", 0)
            customerPanel.isBinding = backend.request.getMemberInfo(data, "card", "isBinding", "", 0)
        }
    })

    // The fields of the request in flight, for the handlers that show what was changed.
    property var sentFields: ({})

    function change(tag, path, fields, shown) {
        sentFields = shown || fields
        send(tag, path, fields)
    }

    function openGroups(reply, forMark) {
        groupWindow.groups = listOf(reply, ["id", "name"], 0)
        groupWindow.markMode = forMark
        groupWindow.currentId = customerPanel.groupId
        groupWindow.open()
    }

    function handleReply(reply) {
        if (timeout.check(Session.httpCode))
            return
        var tag = pending
        pending = ""
        if (String(Session.httpCode) === "200") {
            if (onSuccess[tag])
                onSuccess[tag](reply, sentFields)
            return
        }
        if (tag === "getUserAddress" || tag === "getServiceTime")
            showError("reload", Session.msg)
        else if (tag === "createOrder")
            showError("resendOrder", Session.msg)
        else if (tag === "ExchangeDisCode") {
            couponWindow.code = ""
            showError("", Session.msg)
        } else
            console.log("PlaceOrderContent: " + tag + " failed: " + reply)
    }

    BackendRequest {
        id: backend
        objectName: "contentBackend"
        onReplied: function (reply) { content.handleReply(reply) }
    }

    SessionTimeout { id: timeout }

    BVMessageBox {
        id: mMessageBox
        onOkFlishedReturn: function (jsonStr) { content.boxConfirmed() }
    }

    Rectangle {
        anchors.fill: parent
        color: "#f2f4f7"
        MouseArea { anchors.fill: parent }
    }

    Button {
        id: backButton
        objectName: "backButton"
        text: "返回"
        icon.source: "qrc:/icon/icon/goback.png"
        x: 20
        y: 16
        onClicked: content.destroy()
    }

    CustomerPanel {
        id: customerPanel
        anchors.left: parent.left
        anchors.top: backButton.bottom
        anchors.bottom: parent.bottom
        anchors.margins: 20
        userData: content.userData
        request: backend.request
        tagNames: content.customerTags.map(function (t) { return t.name })
        onNameEdited: function (name) {
            content.change("UpdateName", "userInfo/updateName", { id: content.userId(), name: name })
        }
        onSexChosen: function (sex) {
            content.change("UpdataSex", "userInfo/updateSex", { id: content.userId(), sex: sex })
        }
        onBirthdayChosen: function (birthday) {
            content.change("UpdateBrith", "userInfo/updateBirthday", { id: content.userId(), birthday: birthday })
        }
        onCouponsClicked: content.send("CouponInfo", "couponInfo/userList", { userId: content.userId() })
        onCardClicked: {
            cardWindow.bound = isBinding === "1"
            cardWindow.cardNumber = rfidNo
            cardWindow.open()
        }
        onGroupClicked: content.send("GroupList", "userGroup/list", {})
        onTagsClicked: {
            content.tagWindowOpened = true
            tagWindow.customerTags = content.customerTags
            tagWindow.open()
            content.send("AllTag", "userTag/all", {})
        }
        onRechargeClicked: content.openRecharge()
    }

    OrderHeaderForm {
        id: headerForm
        anchors.left: customerPanel.right
        anchors.right: parent.right
        anchors.top: backButton.bottom
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
        onChooseMark: content.send("GroupListBiao", "userGroup/list", {})
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
        onSaveRequested: function (fields) {
            fields.userId = content.userId()
            content.send("AddUserAddr", "userAddress/add", fields)
        }
    }
    TagWindow {
        id: tagWindow
        onConfirmed: function (tags) {
            content.send("UpdateTag", "userInfo/updateTag", { id: content.userId(), tags: tags })
        }
    }
    GroupWindow {
        id: groupWindow
        onChosen: function (id, name, forMark) {
            content.change("UpdataGruop", "userInfo/updateGroup", { id: content.userId(), groupId: id },
                           { groupId: id, groupName: name })
        }
    }
    MemberCardWindow {
        id: cardWindow
        onBindCard: function (rfidNo, checkCode) {
            content.send("CardNumBind", "rfid/user/manual/binding",
                         { userId: content.userId(), rfidNo: rfidNo, checkCode: checkCode })
        }
        onCancelCard: content.send("CardCancel", "rfid/user/cancel", { userId: content.userId() })
        onUnbindCard: content.send("CardUntie", "rfid/user/unbundling", { userId: content.userId() })
    }
    CouponWindow {
        id: couponWindow
        onRefresh: content.send("CouponInfo", "couponInfo/userList", { userId: content.userId() })
        onExchange: function (code) {
            content.send("ExchangeDisCode", "couponFCode/exchangeCode", { code: code, userId: content.userId() })
        }
    }

    Rectangle {
        objectName: "loadingShade"
        anchors.fill: parent
        visible: content.loading
        color: "#99000000"
        z: 20
        MouseArea { anchors.fill: parent }
        Text {
            anchors.centerIn: parent
            text: "正在加载数据，请稍等..."
            color: "white"
            font.pixelSize: 20
        }
    }
}
