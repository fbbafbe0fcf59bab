import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0

// "绑标": binds an electronic label to a garment. The green reader button reads the label
// lying on the card reader; the number may be typed as well. "确定" hands it on and empties
// the field; the opener closes the window once the label is bound.
PopupWindow {
    id: window
    title: "绑标"
    panelWidth: 480
    panelHeight: 300

    // The request object whose card reader reads the label.
    property var request: null
    // The garment the label goes on.
    property string garmentId: ""
    property alias code: field.text

    signal confirmed(string garmentId, string code)

    function start(id) {
        garmentId = id
        field.text = ""
        open()
        field.forceActiveFocus()
    }

    // The label's identifier in lowercase hexadecimal, or nothing when no label is read.
    function readLabel() {
        field.text = ""
        field.text = request ? request.getCardId() : ""
    }

    function confirm() {
        if (field.text === "")
            return
        var code = field.text
        field.text = ""
        confirmed(garmentId, code)
    }

    Column {
        anchors.fill: parent
        spacing: Theme.spacingLarge
        Text {
            width: parent.width
            text: "请将电子标签先放在读卡器上后点击“绿色”按钮进行绑标"
            wrapMode: Text.WordWrap
            font.pixelSize: Theme.fontBody
            color: Theme.textRegular
        }
        Row {
            spacing: Theme.spacingMedium
            TextField {
                id: field
                objectName: "bindCodeField"
                width: 300
                placeholderText: "绑卡或输入标号"
                font.pixelSize: Theme.fontLarge
                maximumLength: 35
                validator: RegularExpressionValidator { regularExpression: /[0-9a-fA-F]*/ }
                Keys.onReturnPressed: window.confirm()
                Keys.onEnterPressed: window.confirm()
            }
            Image {
                objectName: "readerButton"
                anchors.verticalCenter: field.verticalCenter
                source: readerArea.pressed ? "qrc:/icon/icon/putreadrfid2.png" : "qrc:/icon/icon/putreadrfid1.png"
                MouseArea {
                    id: readerArea
                    anchors.fill: parent
                    onClicked: window.readLabel()
                }
            }
        }
    }
    Button {
        objectName: "bindConfirm"
        text: "确定"
        width: 120
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        onClicked: window.confirm()
    }
}
