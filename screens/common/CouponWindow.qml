import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "coupon.js" as Coupon

// "优惠券": a customer's coupons, and the entry of a coupon code ("兑换优惠码"). At the
// cashier (`orderId` set) the coupon the order uses is marked, and a click on a coupon is
// handed to the owner.
PopupWindow {
    id: couponWindow
    objectName: "couponWindow"
    title: codeMode ? "兑换优惠码" : "优惠券"
    panelWidth: 600
    panelHeight: 560

    // [{ id, amount, fullAmount, couponRuleName, timeStart, timeEnd, useBalance, name,
    //    enableUse, useStatus, orderId }]
    property var coupons: []
    property bool codeMode: false
    property alias code: codeField.text
    // The order at the cashier; "" elsewhere.
    property string orderId: ""
    // Between the parts of the validity dates.
    property string dateSeparator: "/"

    signal refresh()
    signal exchange(string code)
    signal couponClicked(var coupon)

    ListView {
        id: list
        objectName: "couponList"
        visible: !couponWindow.codeMode
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.bottom: buttons.top
        anchors.bottomMargin: Theme.spacingMedium
        clip: true
        spacing: Theme.spacingMedium
        model: couponWindow.coupons
        delegate: Rectangle {
            id: coupon
            required property var modelData
            width: list.width
            height: 92
            readonly property bool inUse: couponWindow.orderId !== ""
                                          && Coupon.usedBy(coupon.modelData, couponWindow.orderId)
            radius: Theme.radiusMedium
            border.color: inUse ? Theme.amount : Theme.warningLine
            border.width: inUse ? 2 : 1
            color: Theme.warningLight
            opacity: couponWindow.orderId === "" || inUse || String(coupon.modelData.enableUse) === "1" ? 1 : 0.5
            MouseArea {
                anchors.fill: parent
                onClicked: couponWindow.couponClicked(coupon.modelData)
            }
            Text {
                objectName: "couponInUse"
                visible: coupon.inUse
                text: "✔"
                anchors.right: parent.right
                anchors.top: parent.top
                anchors.margins: Theme.spacingSmall
                font.pixelSize: Theme.fontLarge
                color: Theme.amount
            }
            Column {
                id: amountColumn
                anchors.left: parent.left
                anchors.leftMargin: Theme.spacingMedium
                anchors.verticalCenter: parent.verticalCenter
                width: 130
                Text {
                    objectName: "couponAmount"
                    text: Coupon.couponAmount(coupon.modelData.amount)
                    font.pixelSize: Theme.fontHeading
                    color: Theme.amount
                }
                Text {
                    objectName: "couponThreshold"
                    text: Coupon.couponThreshold(coupon.modelData.fullAmount)
                    font.pixelSize: Theme.fontSmall
                    color: Theme.textSecondary
                }
            }
            Column {
                anchors.left: amountColumn.right
                anchors.leftMargin: Theme.spacingMedium
                anchors.verticalCenter: parent.verticalCenter
                spacing: Theme.spacingTiny
                Text { text: coupon.modelData.name; font.pixelSize: Theme.fontMedium; color: Theme.textStrong }
                Text {
                    objectName: "couponRule"
                    text: Coupon.couponRule(coupon.modelData.couponRuleName)
                          + (String(coupon.modelData.useBalance) === "0" ? "  不能与余额同时使用" : "")
                    font.pixelSize: Theme.fontSmall
                    color: Theme.textRegular
                }
                Text {
                    objectName: "couponValidity"
                    text: Coupon.validity(coupon.modelData, couponWindow.dateSeparator)
                    font.pixelSize: Theme.fontSmall
                    color: Theme.textSecondary
                }
            }
        }
    }

    Column {
        visible: couponWindow.codeMode
        anchors.fill: parent
        spacing: Theme.spacingMedium
        Text { text: "优惠码"; font.pixelSize: Theme.fontBody }
        TextField {
            id: codeField
            objectName: "couponCodeField"
            width: 320
            placeholderText: "请输入优惠码"
        }
    }

    Row {
        id: buttons
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        spacing: Theme.spacingMedium
        Button {
            objectName: "couponRefresh"
            visible: !couponWindow.codeMode
            text: "刷新"
            onClicked: couponWindow.refresh()
        }
        Button {
            objectName: "couponCodeButton"
            visible: !couponWindow.codeMode
            text: "兑换优惠码"
            onClicked: couponWindow.codeMode = true
        }
        Button {
            objectName: "couponCodeBack"
            visible: couponWindow.codeMode
            text: "返回"
            onClicked: couponWindow.codeMode = false
        }
        Button {
            objectName: "couponCodeConfirm"
            visible: couponWindow.codeMode
            text: "确定"
            onClicked: {
                if (codeField.text.trim() !== "")
                    couponWindow.exchange(codeField.text.trim())
            }
        }
    }
}
