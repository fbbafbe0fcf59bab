import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Dialogs 1.2
import BVMessageBox 1.0
import Brenvo 1.0
import "screens.js" as Screens
import "money.js" as Money
import "payment.js" as Payment
import "pickup.js" as Pickup

// "订单详情": one order at the pick-up counter, embedded in a host (the pick-up list, the
// member details). It shows the order in full and carries the counter's actions: payment and
// credit, handing out garments or the whole order, completion, refund and refund-wash
// requests, rework, the refund records, the ticket and the labels. "订单列表" tells the host.
Rectangle {
    id: view
    objectName: "TakeClothOrderInfo"
    color: Theme.page

    // From the host.
    property string orderId: ""
    property string userId: ""
    // "TakeCloth" (the pick-up list), "MemverDetails" (the member details) or "OrderDetails"
    // (the full-window order details, which read the payments and refund means with the order).
    property string infoFlag: "TakeCloth"
    // The screen the cashier and the garment details open over.
    property var screenHost: null
    property var messageBox: mMessageBox

    // The garments chosen, and which buttons that allows.
    property var selection: Pickup.emptySelection()
    readonly property var rowsById: {
        var byId = {}
        for (var i = 0; i < talk.garments.length; ++i)
            byId[String(talk.garments[i].id)] = talk.garments[i]
        return byId
    }
    readonly property var garmentButtons: Pickup.buttons(selection, rowsById)
    readonly property var order: talk.order
    readonly property alias conversation: talk
    readonly property alias refundWindow: refundWindow
    readonly property alias bagWindow: bagWindow
    readonly property alias creditWindow: creditWindow
    readonly property alias recordWindow: recordWindow

    // "订单列表": the host shows its order list again from page 1.
    signal backToList()

    component Action: Button { font.pixelSize: Theme.fontNormal }

    Component.onCompleted: reload()

    // A fresh view of the order: the selection cleared, the garment buttons hidden.
    function reload() {
        selection = Pickup.emptySelection()
        talk.load()
    }

    function toggle(garment) {
        selection = Pickup.toggle(selection, garment)
    }

    function flag(name) {
        return Payment.flag(order[name])
    }

    function customerId() {
        return userId !== "" ? userId : (order.userInfo ? String(order.userInfo.id) : "")
    }

    function garmentCount() {
        var n = 0
        for (var i = 0; i < talk.garments.length; ++i)
            if (String(talk.garments[i].type) === "1")
                ++n
        return n
    }

    function tell(text) {
        messageBox.btnMsgMessageInformationBox("提示", text)
    }

    function openRefund(wash) {
        if (!talk.readsEverything)
            talk.loadRefundMeans()
        refundWindow.paid = talk.paid()
        refundWindow.orderNo = order.orderNo || ""
        refundWindow.payablePrice = String(order.payablePrice || 0)
        refundWindow.customer = order.userInfo ? order.userInfo.name : ""
        refundWindow.payStatusText = order.payStatusText || ""
        refundWindow.garmentCount = garmentCount()
        refundWindow.selectedCount = selection.garmentCount
        refundWindow.parts = Pickup.payments(talk.payments).parts
        refundWindow.refundable = String(order.refundablePrice || 0)
        refundWindow.start(wash)
    }

    function sendRefund(payMethod, amountFen, reason) {
        var wash = refundWindow.wash
        talk.refund(wash, Pickup.refundFields(orderId, payMethod, amountFen, reason,
                                              wash ? selection.ids : undefined))
    }

    // "是否确认返洗" was answered yes: garments bagged once choose their bag first.
    function reworkConfirmed() {
        if (selection.factoryIds.length === 0)
            talk.rework(selection.ids, "", [])
        else
            bagWindow.start()
    }

    function openCredit() {
        creditWindow.orderNo = order.orderNo || ""
        creditWindow.amount = String(order.payablePrice || 0)
        creditWindow.customer = order.userInfo ? order.userInfo.name : ""
        creditWindow.payStatusText = order.payStatusText || ""
        creditWindow.start()
    }

    function openCashier() {
        var cashier = Screens.open(screenHost || view, "Cashier",
                                   { orderId: orderId, userIds: customerId(),
                                     payFlags: infoFlag === "OrderDetails" ? "orderDetails" : "TakeCloth" })
        if (cashier === null)
            return
        cashier.paid.connect(view.reload)
        cashier.returned.connect(view.reload)
    }

    function openDetails(scanCode) {
        Screens.open(screenHost || view, "ClothDetails", { idofCloth: scanCode })
    }

    OrderInfoConversation {
        id: talk
        orderId: view.orderId
        messageBox: view.messageBox
        readsEverything: view.infoFlag === "OrderDetails"
        onRefundAsked: function (text, wash) {
            refundWindow.close()
            refundWindow.clear()
            view.tell(text)
            view.reload()
        }
        onRefundRefused: function (text) { refundWindow.note = text }
        // The garments went back either way; a bag that refused them is said.
        onReworked: function (bagRefusal) {
            if (bagRefusal === "")
                view.tell("衣物返洗成功")
            else
                talk.followUp.error("衣物已返洗，未能放入袋中：" + bagRefusal)
            view.reload()
        }
        onCredited: {
            creditWindow.close()
            view.reload()
        }
        onCreditRefused: function (text) { view.tell(text) }
        onBagsListed: function (rows) { bagWindow.received(rows) }
        onRecordsListed: function (refunds, audits) {
            recordWindow.orderNo = view.order.orderNo || ""
            recordWindow.show(refunds, audits)
        }
    }

    BVMessageBox { id: mMessageBox }

    Text {
        id: heading
        text: "订单详情"
        font.pixelSize: Theme.fontTitle
        font.bold: true
        color: Theme.textStrong
        anchors.left: parent.left
        anchors.top: parent.top
    }
    Button {
        objectName: "backToListButton"
        text: "订单列表"
        anchors.right: parent.right
        anchors.verticalCenter: heading.verticalCenter
        onClicked: view.backToList()
    }

    Flickable {
        id: page
        anchors.left: parent.left
        anchors.top: heading.bottom
        anchors.bottom: actions.top
        anchors.topMargin: Theme.spacingMedium
        anchors.bottomMargin: Theme.spacingMedium
        width: parent.width * 0.4
        contentHeight: summary.height
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {}

        OrderSummary {
            id: summary
            width: page.width - 16
            order: talk.order
            payments: talk.payments
            onRecordsClicked: talk.loadRecords()
        }
    }

    Text {
        id: garmentsTitle
        text: "衣物清单"
        font.pixelSize: Theme.fontMedium
        font.bold: true
        color: Theme.textStrong
        anchors.left: page.right
        anchors.leftMargin: Theme.spacingMedium
        anchors.top: page.top
    }

    ListView {
        id: garmentList
        objectName: "garmentList"
        anchors.left: garmentsTitle.left
        anchors.right: parent.right
        anchors.top: garmentsTitle.bottom
        anchors.bottom: actions.top
        anchors.topMargin: Theme.spacingMedium
        anchors.bottomMargin: Theme.spacingMedium
        clip: true
        spacing: Theme.spacingSmall
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {}
        model: talk.garments
        delegate: GarmentRow {
            required property var modelData
            width: garmentList.width - 12
            garment: modelData
            selected: Pickup.has(view.selection, modelData.id)
            onClicked: view.toggle(modelData)
            onDetailsRequested: function (scanCode) { view.openDetails(scanCode) }
        }
    }

    Flow {
        id: actions
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        spacing: Theme.spacingSmall
        Action { objectName: "signAllButton"; text: "全部取衣"; visible: view.flag("isEnableSign"); onClicked: talk.signOrder() }
        Action { objectName: "pickButton"; text: "取衣"; visible: view.garmentButtons.pick; onClicked: talk.pick(view.selection.ids) }
        Action { objectName: "refundWashButton"; text: "退洗"; visible: view.garmentButtons.refundWash; onClicked: view.openRefund(true) }
        Action { objectName: "reworkButton"; text: "返洗"; visible: view.garmentButtons.rework; onClicked: reworkQuestion.open() }
        Action { objectName: "completeButton"; text: "完成"; visible: view.flag("isEnableComplete"); onClicked: talk.complete() }
        Action { objectName: "payButton"; text: "收款"; visible: view.flag("isEnablePay"); onClicked: view.openCashier() }
        Action { objectName: "creditButton"; text: "赊账"; visible: view.flag("isEnableCredit"); onClicked: view.openCredit() }
        Action { objectName: "refundButton"; text: "退款"; visible: view.flag("isEnableRefund"); onClicked: view.openRefund(false) }
        Action { objectName: "ticketButton"; text: "打印小票"; onClicked: talk.prints.printTicket(view.orderId) }
        Action { objectName: "labelsButton"; text: "全打标"; onClicked: talk.prints.printAllLabels(view.orderId) }
    }

    RefundWindow {
        id: refundWindow
        means: talk.refundMeans
        onConfirmed: function (payMethod, amountFen, reason) { view.sendRefund(payMethod, amountFen, reason) }
        onBlocked: function (why) { view.tell(why === "means" ? "请选择退款方式" : "请输入原因或修改后价格") }
    }
    BagChoiceWindow {
        id: bagWindow
        onPageRequested: function (fields) { talk.listBags(fields) }
        onChosen: function (bagId) { talk.rework(view.selection.ids, bagId, view.selection.factoryIds) }
        onSkipped: talk.rework(view.selection.ids, "", [])
    }
    CreditWindow {
        id: creditWindow
        onConfirmed: function (remark) { talk.credit(remark) }
        onMissingReason: view.tell("请输入赊账原因")
    }
    RefundRecordWindow { id: recordWindow }

    MessageDialog {
        id: reworkQuestion
        title: "提示"
        text: "是否确认返洗"
        standardButtons: StandardButton.Yes | StandardButton.No
        onYes: view.reworkConfirmed()
    }

    LoadingShade { visible: talk.loading }
}
