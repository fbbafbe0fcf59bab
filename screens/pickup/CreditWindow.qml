import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "money.js" as Money

// "赊账": the customer pays later; the reason is required.
PopupWindow {
    id: creditWindow
    objectName: "creditWindow"
    title: "赊账"
    panelWidth: 480
    panelHeight: 420
    // It sits in the order view, which is embedded in its screen: the shade covers the window.
    coversWindow: true

    property string orderNo: ""
    property string amount: "0"
    property string customer: ""
    property string payStatusText: ""
    readonly property alias reason: reasonField.text

    signal confirmed(string remark)
    // "确定" with no reason.
    signal missingReason()

    function start() {
        reasonField.text = ""
        open()
        reasonField.forceActiveFocus()
    }

    component Line: Text {
        font.pixelSize: Theme.fontBody
        color: Theme.textRegular
    }

    Column {
        anchors.fill: parent
        spacing: Theme.spacingMedium
        Line { text: "订单号: " + creditWindow.orderNo }
        Line { text: "订单金额: " + Money.fenToYuan(creditWindow.amount) }
        Line { text: "客户: " + creditWindow.customer }
        Line { text: "支付状态: " + creditWindow.payStatusText }
        Line {
            text: "该订单确认赊账" + Money.fenToYuan(creditWindow.amount) + "元?"
            color: Theme.textStrong
        }
        Line { text: "赊账原因(必填)" }
        TextField {
            id: reasonField
            objectName: "creditReason"
            width: parent.width
            placeholderText: "请输入赊账原因"
        }
        WindowButtons {
            confirmName: "creditConfirm"
            cancelName: "creditCancel"
            onConfirmed: {
                if (reasonField.text.trim() === "")
                    creditWindow.missingReason()
                else
                    creditWindow.confirmed(reasonField.text.trim())
            }
            onCancelled: creditWindow.close()
        }
    }
}
