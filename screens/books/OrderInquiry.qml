import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "screens.js" as Screens
import "books.js" as Books

// "订单管理": the store's order book, newest first, ten at a time, filtered by creation date,
// order status and payment status, or searched by order, phone or member card number. From an
// order: its details, the customer, payment, credit, a management note, voiding, the ticket,
// the intake and the factory bag; the list is read again (from page 1, with what filled it)
// after each of them.
ScreenPage {
    id: page
    objectName: "OrderInquiry"
    enterFlag: "OrderList"

    property var messageBox: followUp.box
    // What filled the list: its next pages are asked for with the same fields.
    property var listFields: ({})
    property string statusVal: ""
    property string payStatus: ""
    // The order a window was opened for: { id, orderNo, userId, ... } as its row holds them.
    property var selected: ({})
    readonly property alias conversation: talk
    readonly property alias followUp: followUp
    readonly property alias list: orderList
    readonly property alias timeFilter: timeFilter
    readonly property alias searchField: searchField
    readonly property alias voidWindow: voidWindow
    readonly property alias notesWindow: notesWindow
    readonly property alias creditWindow: creditWindow
    readonly property alias bagWindow: bagWindow

    Component.onCompleted: {
        searchField.forceActiveFocus()
        timeFilter.set(Books.defaultTime)
        showFiltered()
    }

    function filters() {
        return { startCreateTime: timeFilter.startDate, endCreateTime: timeFilter.endDate,
                 payStatus: payStatus, statusVal: statusVal }
    }

    function show(fields) {
        listFields = fields
        orderList.reload()
    }

    // A filter changed: the filters alone, without the search text.
    function showFiltered() {
        searchField.text = ""
        show(Books.orderListFields("", filters()))
    }

    // A search goes alone, whatever the filters show.
    function search() {
        var text = searchField.text.trim()
        if (text !== "")
            show(Books.orderListFields(text, {}))
    }

    function enterPressed() {
        if (Session.enterFlag === "OrderList")
            search()
    }

    function chooseStatus(val) {
        statusVal = val
        showFiltered()
    }

    function choosePayStatus(val) {
        payStatus = val
        showFiltered()
    }

    // After what an order's action changed: page 1 again, with what filled the list.
    function reload() {
        orderList.reload()
    }

    // --- From a row ------------------------------------------------------------------------

    function openDetails(orderId) {
        var details = Screens.open(page, "OrderDetails", { orderId: String(orderId), toOrderFlag: "OrderList" })
        if (details !== null)
            details.returned.connect(page.reload)
    }

    function openCustomer(userId) {
        Screens.open(page, "MemberDetails", { userId: String(userId) })
    }

    // `order` is the row's model, gone with the next reload: what the windows need is kept.
    function act(what, order) {
        selected = { id: String(order.id), orderNo: order.orderNo, userId: String(order.userId) }
        if (what === "pay") {
            var cashier = Screens.open(page, "Cashier", { orderId: String(order.id), userIds: String(order.userId),
                                                          payFlags: "orderDetail" })
            if (cashier !== null) {
                cashier.paid.connect(page.reload)
                cashier.returned.connect(page.reload)
            }
        } else if (what === "credit") {
            creditWindow.orderNo = order.orderNo
            creditWindow.amount = String(order.payablePrice)
            creditWindow.customer = order.userName
            creditWindow.payStatusText = order.payStatusText
            creditWindow.start()
        } else if (what === "void") {
            voidWindow.start(order.orderNo)
        } else if (what === "notes") {
            notesWindow.start(order.userRemark, order.notesText)
        } else if (what === "ticket") {
            talk.prints.printTicket(order.id)
        } else if (what === "stockIn") {
            var intake = Screens.open(page, "PutStorage", { orderNumber: order.orderNo })
            if (intake !== null)
                intake.backClicked.connect(page.reload)
        } else if (what === "bag") {
            bagWindow.orderNo = order.orderNo
            bagWindow.garmentCount = order.garmentCount
            bagWindow.accessoryCount = order.annexCnt
            bagWindow.start()
        }
    }

    OrderInquiryConversation {
        id: talk
        messageBox: page.messageBox
        onPageReceived: function (rows) { orderList.received(rows) }
        onPageFailed: orderList.failed()
        onVoided: {
            voidWindow.close()
            page.reload()
        }
        onRemarkAdded: {
            notesWindow.noteField.text = ""
            notesWindow.close()
            page.reload()
        }
        onCredited: {
            creditWindow.close()
            page.reload()
        }
        // The window stays open, as it was.
        onRefused: function (text) { followUp.error(text) }
        // No ticket printer: the settings screen, where one is chosen, once the worker confirms.
        onPrintRefused: function (text) {
            followUp.error(text, function () { Screens.open(page, "Setting", { backVisible: true }) })
        }
    }

    FollowUpBox { id: followUp; messageBox: page.messageBox }

    Text {
        id: title
        text: "订单管理"
        anchors.left: page.backButton.right
        anchors.leftMargin: Theme.spacingLarge
        anchors.verticalCenter: page.backButton.verticalCenter
        font.pixelSize: Theme.fontTitle
        font.bold: true
        color: Theme.textStrong
    }
    Row {
        anchors.left: title.right
        anchors.leftMargin: Theme.spacingHuge
        anchors.verticalCenter: title.verticalCenter
        spacing: Theme.spacingSmall
        TextField {
            id: searchField
            objectName: "orderSearchField"
            width: 300
            placeholderText: "订单号/手机号/会员卡号"
            maximumLength: 30
            Keys.onReturnPressed: page.enterPressed()
            Keys.onEnterPressed: page.enterPressed()
        }
        Button {
            objectName: "orderSearchButton"
            text: "搜索"
            onClicked: page.search()
        }
    }

    Flow {
        id: filterBar
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: page.backButton.bottom
        anchors.margins: Theme.spacingLarge
        spacing: Theme.spacingLarge
        TimeFilter {
            id: timeFilter
            objectName: "timeFilter"
            onChanged: page.showFiltered()
        }
        FilterChoice {
            objectName: "statusFilter"
            label: "订单状态"
            choices: Books.choices("全部订单状态", talk.statuses)
            value: page.statusVal
            onOpening: talk.loadStatuses()
            onChosen: function (val) { page.chooseStatus(val) }
        }
        FilterChoice {
            objectName: "payFilter"
            label: "支付状态"
            choices: Books.payChoices
            value: page.payStatus
            onChosen: function (val) { page.choosePayStatus(val) }
        }
    }

    PagedList {
        id: orderList
        objectName: "orderList"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: filterBar.bottom
        anchors.bottom: parent.bottom
        anchors.margins: Theme.spacingLarge
        spacing: Theme.spacingSmall
        pageSize: 10
        onPageRequested: function (number, paging) { talk.requestPage(page.listFields, paging) }
        delegate: OrderRow {
            id: orderRow
            required property var model
            objectName: "order_" + model.id
            width: orderList.width
            order: model
            onDetailsClicked: page.openDetails(orderRow.model.id)
            onCustomerClicked: page.openCustomer(orderRow.model.userId)
            onActed: function (what) { page.act(what, orderRow.model) }
        }
    }

    Text {
        anchors.centerIn: orderList
        visible: orderList.count === 0 && !talk.loading
        text: "暂无订单"
        font.pixelSize: Theme.fontBody
        color: Theme.textMuted
    }

    VoidWindow {
        id: voidWindow
        onConfirmed: function (reason) { talk.voidOrder(page.selected.id, reason) }
        onMissingReason: followUp.error("请输入作废原因")
    }
    NotesWindow {
        id: notesWindow
        onAdded: function (text) { talk.addRemark(page.selected.id, text) }
    }
    CreditWindow {
        id: creditWindow
        onConfirmed: function (remark) { talk.credit(page.selected.id, remark) }
        onMissingReason: followUp.info("提示", "请输入赊账原因")
    }
    BagWindow {
        id: bagWindow
        objectName: "bagWindow"
        conversation: talk
        onClosed: page.reload()
    }
}
