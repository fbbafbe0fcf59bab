import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0

// A window of the garment entry screen that asks for one value: the size of a garment priced
// by size, the amount of an add-on service, or the garment's subtotal. "确定" hands the text
// on as typed; the screen checks it.
PopupWindow {
    id: window
    panelWidth: 460
    panelHeight: 260

    // The line above the field, the field's placeholder, what follows it ("元").
    property string prompt: ""
    property alias placeholder: field.placeholderText
    property string suffix: ""
    property alias validator: field.validator
    property alias maximumLength: field.maximumLength
    property alias text: field.text

    signal accepted(string text)

    onVisibleChanged: {
        if (visible) {
            field.text = ""
            field.forceActiveFocus()
        }
    }

    Column {
        anchors.fill: parent
        spacing: Theme.spacingLarge
        Text {
            objectName: "inputPrompt"
            visible: window.prompt !== ""
            text: window.prompt
            font.pixelSize: Theme.fontBody
            color: Theme.textRegular
        }
        Row {
            spacing: Theme.spacingSmall
            TextField {
                id: field
                objectName: "inputField"
                width: 300
                font.pixelSize: Theme.fontLarge
                Keys.onReturnPressed: window.accepted(field.text)
                Keys.onEnterPressed: window.accepted(field.text)
            }
            Text {
                visible: window.suffix !== ""
                anchors.verticalCenter: parent.verticalCenter
                text: window.suffix
                font.pixelSize: Theme.fontLarge
                color: Theme.text
            }
        }
    }
    Button {
        objectName: "inputConfirm"
        text: "确定"
        width: 120
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        onClicked: window.accepted(field.text)
    }
}
