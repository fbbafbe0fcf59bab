import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "money.js" as Money
import "payment.js" as Payment

// Cash: what the customer hands over ("收款:") and the change ("找零:"). "确认收款" is
// offered to the owner only when the amount received covers what is due.
FocusScope {
    id: cash
    implicitWidth: 460
    implicitHeight: column.implicitHeight

    property real dueFen: 0
    property bool busy: false
    // What the field takes: a digit first, then digits or points.
    property var pattern: Payment.receivedPattern
    readonly property alias receivedText: receivedField.text
    readonly property real changeFen: Payment.change(receivedField.text, dueFen)

    // The worker confirmed a sufficient amount.
    signal confirmed(string receivedText)

    function focusField() {
        receivedField.forceActiveFocus()
    }

    function clear() {
        receivedField.text = ""
    }

    function confirm() {
        if (!busy && Payment.cashCovers(receivedField.text, dueFen))
            confirmed(receivedField.text)
    }

    Column {
        id: column
        width: parent.width
        spacing: Theme.spacingMedium
        Row {
            spacing: Theme.spacingMedium
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: "收款:"
                font.pixelSize: Theme.fontMedium
                color: Theme.text
            }
            TextField {
                id: receivedField
                objectName: "cashReceived"
                width: 240
                focus: true
                validator: RegularExpressionValidator { regularExpression: cash.pattern }
            }
        }
        Row {
            spacing: Theme.spacingMedium
            Text { text: "找零:"; font.pixelSize: Theme.fontMedium; color: Theme.text }
            Text {
                objectName: "cashChange"
                text: !isNaN(cash.changeFen) && cash.changeFen >= 0 ? Money.fenToYuan(cash.changeFen) : ""
                font.pixelSize: Theme.fontMedium
                color: Theme.amount
            }
        }
        Button {
            objectName: "cashConfirm"
            text: "确认收款"
            highlighted: true
            onClicked: cash.confirm()
        }
    }
}
