import QtQuick 2.15
import QtQuick.Controls 2.15
import BVMessageBox 1.0
import Brenvo 1.0
import "screens.js" as Screens
import "money.js" as Money

// The customer found at the pick-up counter: the customer panel on the left, the customer's
// orders on the right, ten at a time. A click on an order shows it (TakeClothOrderInfo) in
// the right-hand area; its "订单列表" brings the list back from page 1.
ScreenPage {
    id: takeList
    objectName: "TakeClothList"

    // From the opener: the customer record, its id and phone, and how to list the orders
    // (getFlag 1: by customer id; 2: by the typed order or card number, orderKey).
    property string userData: ""
    property string userIdkey: ""
    property string userPhone: ""
    property string orderKey: ""
    property int getFlag: 1

    // The order shown in the right-hand area.
    property string orderId: ""
    property var orderView: null
    property var messageBox: mMessageBox
    readonly property alias conversation: talk
    readonly property alias orders: orderList
    readonly property alias panel: customerPanel
    readonly property alias customerWindows: customerWindows

    Component.onCompleted: orderList.reload()

    // "显示全部订单": all of the customer's orders, whatever the search was.
    function showAll() {
        closeOrder()
        getFlag = 1
        orderKey = userIdkey
        orderList.reload()
    }

    function openOrder(id) {
        closeOrder()
        orderId = String(id)
        orderView = orderViewComponent.createObject(rightArea, { orderId: orderId, userId: userIdkey,
                                                                  infoFlag: "TakeCloth", screenHost: takeList })
    }

    function closeOrder() {
        if (orderView !== null)
            orderView.destroy()
        orderView = null
    }

    function openOrderForm(record, phone) {
        Screens.open(takeList, "PlaceOrderContent", { userData: record, searchKey: phone })
    }

    function openRecharge() {
        Screens.open(takeList, "MemberRecharge", {
            userNames: customerPanel.name,
            userPhones: customerPanel.phone,
            userBlances: Money.fenToYuan(customerPanel.balance),
            userIds: customerPanel.userId,
            rechargeFlag: "TakeCloth"
        })
    }

    TakeClothListConversation {
        id: talk
        messageBox: takeList.messageBox
        onPageReceived: function (rows) {
            orderList.received(rows)
            customerWindows.loadTags()
        }
        // The list keeps its rows.
        onPageFailed: function (text) {
            orderList.failed()
            takeList.messageBox.btnMsgMessageErrBox("错误提示", text)
        }
        // A customer whose record comes back empty opens nothing.
        onCustomerFound: function (record, phone) { takeList.openOrderForm(record, phone) }
    }

    BVMessageBox { id: mMessageBox }

    CustomerPanel {
        id: customerPanel
        anchors.left: parent.left
        anchors.top: takeList.backButton.bottom
        anchors.bottom: placeButton.top
        anchors.margins: Theme.spacingLarge
        userData: takeList.userData
        request: talk.backend.request
        showBindings: true
        couponUnit: "张"
        tagNames: customerWindows.customerTags.map(function (t) { return t.name })
        onRechargeClicked: takeList.openRecharge()
    }

    Button {
        id: placeButton
        objectName: "placeOrderButton"
        text: "下单"
        width: customerPanel.width
        height: 46
        font.pixelSize: Theme.fontMainButton
        highlighted: true
        anchors.left: parent.left
        anchors.bottom: parent.bottom
        anchors.margins: Theme.spacingLarge
        onClicked: talk.placeOrder(takeList.userPhone)
    }

    Item {
        id: rightArea
        anchors.left: customerPanel.right
        anchors.right: parent.right
        anchors.top: takeList.backButton.bottom
        anchors.bottom: parent.bottom
        anchors.margins: Theme.spacingLarge

        Text {
            id: listTitle
            text: "订单列表"
            font.pixelSize: Theme.fontTitle
            font.bold: true
            color: Theme.textStrong
        }
        Button {
            objectName: "showAllButton"
            text: "显示全部订单"
            anchors.right: parent.right
            anchors.verticalCenter: listTitle.verticalCenter
            onClicked: takeList.showAll()
        }

        PagedList {
            id: orderList
            objectName: "orderList"
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: listTitle.bottom
            anchors.bottom: parent.bottom
            anchors.topMargin: Theme.spacingLarge
            spacing: Theme.spacingSmall
            pageSize: 10
            onPageRequested: function (page, fields) { talk.requestPage(takeList.getFlag, takeList.orderKey, fields) }
            delegate: Rectangle {
                id: orderRow
                required property var model
                objectName: "order_" + model.id
                width: orderList.width
                height: 86
                radius: Theme.radiusMedium
                color: String(orderRow.model.id) === takeList.orderId ? Theme.selected : Theme.card
                border.color: Theme.line
                MouseArea {
                    anchors.fill: parent
                    onClicked: takeList.openOrder(orderRow.model.id)
                }
                Column {
                    anchors.left: parent.left
                    anchors.verticalCenter: parent.verticalCenter
                    anchors.leftMargin: Theme.spacingMedium
                    spacing: Theme.spacingSmall
                    Text {
                        text: "单号：" + orderRow.model.orderNo
                        font.pixelSize: Theme.fontMedium
                        color: Theme.textStrong
                    }
                    Text {
                        text: "下单时间：" + Session.timerToDate(orderRow.model.createTime)
                        font.pixelSize: Theme.fontNormal
                        color: Theme.textSecondary
                    }
                }
                Column {
                    anchors.horizontalCenter: parent.horizontalCenter
                    anchors.verticalCenter: parent.verticalCenter
                    spacing: Theme.spacingSmall
                    Text {
                        text: "数量 " + orderRow.model.productCnt + " 件"
                        font.pixelSize: Theme.fontNormal
                        color: Theme.textRegular
                    }
                    Text {
                        text: "支付金额 " + Money.fenToYuan(orderRow.model.payablePrice) + " 元"
                        font.pixelSize: Theme.fontNormal
                        color: Theme.amount
                    }
                }
                Column {
                    anchors.right: parent.right
                    anchors.verticalCenter: parent.verticalCenter
                    anchors.rightMargin: Theme.spacingMedium
                    spacing: Theme.spacingSmall
                    Text {
                        text: orderRow.model.statusText
                        font.pixelSize: Theme.fontNormal
                        color: Theme.primary
                        anchors.right: parent.right
                    }
                    Text {
                        text: orderRow.model.payStatusText
                        font.pixelSize: Theme.fontNormal
                        color: Theme.textRegular
                        anchors.right: parent.right
                    }
                }
            }
        }
    }

    Component {
        id: orderViewComponent
        TakeClothOrderInfo {
            anchors.fill: parent
            onBackToList: {
                takeList.closeOrder()
                takeList.orderId = ""
                orderList.reload()
            }
        }
    }

    CustomerWindows {
        id: customerWindows
        backend: talk.backend
        panel: customerPanel
        onFailed: function (text) { takeList.messageBox.btnMsgMessageErrBox("错误提示", text) }
    }
}
