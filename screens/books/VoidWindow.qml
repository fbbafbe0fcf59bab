import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "books.js" as Books

// "订单作废": an order voided for a reason, which is required; a void cannot be undone.
PopupWindow {
    id: window
    objectName: "voidWindow"
    title: "订单作废"
    panelWidth: 480
    panelHeight: 300

    property string orderNo: ""
    readonly property alias reasonField: reasonField

    signal confirmed(string reason)
    // "确定" with no reason: nothing is sent.
    signal missingReason()

    function start(number) {
        orderNo = number
        reasonField.text = ""
        open()
        reasonField.forceActiveFocus()
    }

    function confirm() {
        var reason = Books.voidReason(reasonField.text)
        if (reason === "")
            missingReason()
        else
            confirmed(reason)
    }

    Column {
        anchors.fill: parent
        spacing: Theme.spacingMedium
        Text {
            text: "订单号：" + window.orderNo
            font.pixelSize: Theme.fontBody
            color: Theme.textRegular
        }
        Row {
            spacing: Theme.spacingTiny
            Text { text: "作废原因"; font.pixelSize: Theme.fontBody; color: Theme.textStrong }
            Text { text: "(必填，作废后不可恢复)"; font.pixelSize: Theme.fontBody; color: Theme.danger }
        }
        TextField {
            id: reasonField
            objectName: "voidReason"
            width: parent.width
            maximumLength: 200
            placeholderText: "请输入作废原因"
        }
        Row {
            spacing: Theme.spacingLarge
            Button {
                objectName: "voidConfirm"
                text: "确定"
                highlighted: true
                onClicked: window.confirm()
            }
            Button {
                text: "取消"
                onClicked: window.close()
            }
        }
    }
}
