import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "orderheader.js" as Header

// "优惠券": the customer's coupons, and the entry of a coupon code ("兑换优惠码").
PopupWindow {
    id: couponWindow
    objectName: "couponWindow"
    title: codeMode ? "兑换优惠码" : "优惠券"
    panelWidth: 600
    panelHeight: 560

    // [{ amount, fullAmount, couponRuleName, timeStart, timeEnd, useBalance, name }]
    property var coupons: []
    property bool codeMode: false
    property alias code: codeField.text

    signal refresh()
    signal exchange(string code)

    function validity(c) {
        return Session.timerToDates(c.timeStart).trim() + " 至 "
                + Session.timerToDates(c.timeEnd).trim() + "有效"
    }

    ListView {
        id: list
        objectName: "couponList"
        visible: !couponWindow.codeMode
        anchors.fill: parent
        anchors.bottomMargin: 60
        clip: true
        spacing: 10
        model: couponWindow.coupons
        delegate: Rectangle {
            id: coupon
            required property var modelData
            width: list.width
            height: 92
            radius: 6
            border.color: Theme.warningLine
            color: Theme.warningLight
            Column {
                anchors.left: parent.left
                anchors.leftMargin: 16
                anchors.verticalCenter: parent.verticalCenter
                width: 130
                Text {
                    objectName: "couponAmount"
                    text: Header.couponAmount(coupon.modelData.amount)
                    font.pixelSize: Theme.fontHeading
                    color: Theme.amount
                }
                Text {
                    objectName: "couponThreshold"
                    text: Header.couponThreshold(coupon.modelData.fullAmount)
                    font.pixelSize: Theme.fontSmall
                    color: Theme.textSecondary
                }
            }
            Column {
                x: 160
                anchors.verticalCenter: parent.verticalCenter
                spacing: 4
                Text { text: coupon.modelData.name; font.pixelSize: Theme.fontMedium; color: Theme.textStrong }
                Text {
                    objectName: "couponRule"
                    text: Header.couponRule(coupon.modelData.couponRuleName)
                          + (String(coupon.modelData.useBalance) === "0" ? "  不能与余额同时使用" : "")
                    font.pixelSize: Theme.fontSmall
                    color: Theme.textRegular
                }
                Text {
                    objectName: "couponValidity"
                    text: couponWindow.validity(coupon.modelData)
                    font.pixelSize: Theme.fontSmall
                    color: Theme.textSecondary
                }
            }
        }
    }

    Column {
        visible: couponWindow.codeMode
        anchors.fill: parent
        spacing: 14
        Text { text: "优惠码"; font.pixelSize: Theme.fontBody }
        TextField {
            id: codeField
            objectName: "couponCodeField"
            width: 320
            placeholderText: "请输入优惠码"
        }
    }

    Row {
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        spacing: 16
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
