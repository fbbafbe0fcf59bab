import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "recharge.js" as Recharge

// "零散金额充值": an amount of the worker's choosing, in yuan; "确定" hands it over in fen.
PopupWindow {
    id: amountWindow
    objectName: "amountWindow"
    title: "零散金额充值"
    panelWidth: 420
    panelHeight: 260

    // Fen as a number: exact to 2^53 (a 32-bit int made 42949673.01 yuan 5 fen).
    signal chosen(real fen)

    onVisibleChanged: {
        if (visible) {
            amountField.text = ""
            amountField.forceActiveFocus()
        }
    }

    function confirm() {
        var fen = Recharge.freeAmountFen(amountField.text)
        if (isNaN(fen))
            return
        chosen(fen)
        close()
    }

    Row {
        spacing: 10
        TextField {
            id: amountField
            objectName: "amountField"
            width: 280
            focus: true
            placeholderText: "请输入充值金额"
            validator: RegularExpressionValidator { regularExpression: Recharge.amountPattern }
            onAccepted: amountWindow.confirm()
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: "元"
            font.pixelSize: Theme.fontMedium
            color: Theme.text
        }
    }
    WindowButtons {
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        confirmName: "amountConfirm"
        cancelName: "amountCancel"
        onConfirmed: amountWindow.confirm()
        onCancelled: amountWindow.close()
    }
}
