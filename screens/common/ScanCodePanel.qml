import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "payment.js" as Payment

// WeChat or Alipay: the worker scans the customer's payment code ("主扫", the field), or the
// customer scans a code the screen shows ("被扫"). A code goes out once, on the scanner's
// Enter or on "确认", and never while the owner is busy with a payment: the field is emptied
// at once, so a second scan of the same code does not pile onto the first.
FocusScope {
    id: panel
    implicitWidth: 460
    implicitHeight: column.implicitHeight

    // A payment of the owner is under way: codes are not sent.
    property bool busy: false
    // A line under the field: the state of the last payment, or why it was refused.
    property string note: ""
    property bool noteBad: false
    readonly property alias field: codeField

    signal codeEntered(string code)
    // "被扫": the customer is to scan a code of the screen's.
    signal qrRequested()

    function focusField() {
        codeField.forceActiveFocus()
    }

    function submit() {
        var code = codeField.text
        codeField.text = ""
        if (Payment.codeReady(code, busy))
            codeEntered(code)
    }

    Column {
        id: column
        width: parent.width
        spacing: Theme.spacingMedium
        Row {
            spacing: Theme.spacingMedium
            Button {
                objectName: "staffScansButton"
                text: "主扫"
                highlighted: true
                onClicked: panel.focusField()
            }
            Button {
                objectName: "customerScansButton"
                text: "被扫"
                enabled: !panel.busy
                onClicked: panel.qrRequested()
            }
        }
        Row {
            spacing: Theme.spacingMedium
            TextField {
                id: codeField
                objectName: "scanCodeField"
                width: 320
                focus: true
                placeholderText: "用扫码枪扫客户的付款码"
                maximumLength: Payment.maxCodeLength
                validator: RegularExpressionValidator { regularExpression: /\d{0,35}/ }
                onAccepted: panel.submit()
            }
            Button {
                objectName: "scanConfirmButton"
                text: "确认"
                onClicked: panel.submit()
            }
        }
        Text {
            objectName: "scanNote"
            visible: panel.note !== ""
            text: panel.note
            font.pixelSize: Theme.fontNormal
            color: panel.noteBad ? Theme.danger : Theme.textRegular
        }
    }
}
