import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0

// The field a barcode scanner types into; the scanner ends each code with Enter. A code goes
// out once (`scanned`), on Enter or on the button, and the field is emptied at once, so the
// next scan starts clean and a code scanned twice in a row is two scans, never one long text.
// What `pattern` refuses (letters typed by hand, a half code) goes nowhere.
FocusScope {
    id: scan
    implicitWidth: row.implicitWidth
    implicitHeight: row.implicitHeight

    property alias placeholderText: input.placeholderText
    property alias maximumLength: input.maximumLength
    // What a whole code is; the field also refuses to take anything else as it is typed.
    property var pattern: /^\d{1,25}$/
    property alias buttonText: button.text
    property bool buttonVisible: true
    property int fieldWidth: 300
    readonly property alias field: input

    signal scanned(string code)

    function submit() {
        var code = input.text.trim()
        input.text = ""
        if (code !== "" && pattern.test(code))
            scanned(code)
    }

    function focusField() {
        input.forceActiveFocus()
    }

    Row {
        id: row
        spacing: Theme.spacingMedium
        TextField {
            id: input
            objectName: "scanField"
            width: scan.fieldWidth
            focus: true
            selectByMouse: true
            maximumLength: 25
            font.pixelSize: Theme.fontNormal
            onAccepted: scan.submit()
        }
        Button {
            id: button
            objectName: "scanButton"
            visible: scan.buttonVisible
            text: "确定"
            onClicked: scan.submit()
        }
    }
}
