import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "books.js" as Books
import "money.js" as Money

// "订单管理" / "订单列表": one order over the whole window. The order view of the pick-up counter
// (TakeClothOrderInfo) carries the order, its garments and every counter action with their
// windows; this screen adds above it the progress line, the money block, the waybill and the
// order's QR code, beside it the customer in full, the review and the exceptions, and the
// section bar. "订单列表" or "返回" closes it and tells the opener (`returned`), which reads its
// list again.
ScreenPage {
    id: details
    objectName: "OrderDetails"

    // From the opener: the order, and which list opened it ("OrderList" or "ClothList").
    property string orderId: ""
    property string toOrderFlag: ""

    readonly property alias orderView: orderView
    readonly property var order: orderView.order
    readonly property var stations: Books.progress(order.statusList)
    readonly property bool unpaid: Books.unpaid(order.payStatusText)

    signal returned()

    onBackClicked: returned()

    function back() {
        returned()
        close()
    }

    // The sections in sight at once (the header, the order view) are only marked; the customer,
    // the review and the exceptions scroll the side column, the last ones as far as it goes.
    property string chosenSection: Books.sections[0]

    function showSection(name) {
        chosenSection = name
        var section = { "客户信息": customerSection, "评价": reviewSection, "异常": problemSection }[name]
        if (section !== undefined)
            side.contentY = Math.max(0, Math.min(section.y, side.contentHeight - side.height))
    }

    component Heading: Text {
        font.pixelSize: Theme.fontMedium
        font.bold: true
        color: Theme.textStrong
        topPadding: Theme.spacingMedium
    }
    component Amount: Column {
        property string label
        property string value
        spacing: Theme.spacingTiny
        Text { text: parent.label; font.pixelSize: Theme.fontNormal; color: Theme.textSecondary }
        Text {
            objectName: parent.objectName + "Value"
            text: parent.value
            font.pixelSize: Theme.fontLarge
            color: Theme.amount
        }
    }

    Text {
        id: title
        text: "订单管理"
        anchors.left: details.backButton.right
        anchors.leftMargin: Theme.spacingLarge
        anchors.verticalCenter: details.backButton.verticalCenter
        font.pixelSize: Theme.fontTitle
        font.bold: true
        color: Theme.textStrong
    }

    Row {
        id: sectionBar
        anchors.left: title.right
        anchors.leftMargin: Theme.spacingHuge
        anchors.verticalCenter: title.verticalCenter
        spacing: Theme.spacingTiny
        Repeater {
            model: Books.sections
            Button {
                required property string modelData
                objectName: "section_" + modelData
                text: modelData
                flat: true
                highlighted: details.chosenSection === modelData
                onClicked: details.showSection(modelData)
            }
        }
    }

    Item {
        id: header
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: details.backButton.bottom
        anchors.margins: Theme.spacingLarge
        height: Math.max(headerLeft.height, qr.height)
        Column {
            id: headerLeft
            spacing: Theme.spacingMedium
            Row {
                spacing: Theme.spacingLarge
                OrderProgress {
                    objectName: "progressLine"
                    stations: details.stations
                }
                Rectangle {
                    objectName: "signedStamp"
                    visible: details.stations.length > 3 && details.stations[3].lit
                    width: 72
                    height: 32
                    radius: Theme.radiusSmall
                    color: "transparent"
                    border.color: Theme.success
                    border.width: 2
                    rotation: -12
                    Text {
                        anchors.centerIn: parent
                        text: "已签收"
                        font.pixelSize: Theme.fontMedium
                        font.bold: true
                        color: Theme.success
                    }
                }
            }
            Row {
                spacing: Theme.spacingHuge
                Amount { objectName: "payable"; label: "订单金额"; value: Money.fenToYuan(details.order.payablePrice || 0) }
                Amount { objectName: "coupon"; label: "使用优惠券"; value: Money.fenToYuan(details.order.couponAmt || 0) }
                Amount {
                    objectName: "paid"
                    label: "实付金额"
                    value: details.unpaid ? "0.00" : Money.fenToYuan(details.order.paymentPrice || 0)
                }
                Amount { objectName: "refunded"; label: "已退款"; value: Money.fenToYuan(details.order.refundPrice || 0) }
                Text {
                    objectName: "creditMark"
                    anchors.bottom: parent.bottom
                    visible: String(details.order.creditStatus) === "1"
                    text: details.unpaid ? "已赊账" : "赊"
                    font.pixelSize: Theme.fontBody
                    color: Theme.warning
                }
                Text {
                    objectName: "waybill"
                    anchors.bottom: parent.bottom
                    visible: (details.order.transNo || "") !== ""
                    text: "运单号：" + (details.order.transNo || "")
                    font.pixelSize: Theme.fontBody
                    color: Theme.textRegular
                }
            }
        }
        QrPicture {
            id: qr
            objectName: "orderQr"
            anchors.right: parent.right
            width: 110
            height: 110
            code: details.order.orderNo || ""
        }
    }

    TakeClothOrderInfo {
        id: orderView
        anchors.left: parent.left
        anchors.right: side.left
        anchors.top: header.bottom
        anchors.bottom: parent.bottom
        anchors.margins: Theme.spacingLarge
        orderId: details.orderId
        infoFlag: "OrderDetails"
        screenHost: details
        onBackToList: details.back()
    }
    // An order that cannot be read: once its box is confirmed, the screen closes.
    Connections {
        target: orderView.conversation
        function onLoadFailed() { details.back() }
    }

    Flickable {
        id: side
        objectName: "sidePage"
        anchors.right: parent.right
        anchors.top: header.bottom
        anchors.bottom: parent.bottom
        anchors.margins: Theme.spacingLarge
        width: 300
        contentHeight: sideColumn.height
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {}

        Column {
            id: sideColumn
            width: side.width - Theme.spacingMedium
            spacing: Theme.spacingMedium

            Column {
                id: customerSection
                spacing: Theme.spacingSmall
                Heading { text: "客户信息"; topPadding: 0 }
                CustomerBlock {
                    objectName: "customerBlock"
                    customer: Books.orderCustomer(details.order)
                }
            }
            Column {
                id: reviewSection
                objectName: "reviewSection"
                spacing: Theme.spacingSmall
                Heading { text: "评价" }
                Text { text: "评价内容："; font.pixelSize: Theme.fontBody; color: Theme.textRegular }
                Text { text: "洗涤服务："; font.pixelSize: Theme.fontBody; color: Theme.textRegular }
            }
            Column {
                id: problemSection
                spacing: Theme.spacingSmall
                Heading { text: "异常" }
            }
        }
    }
}
