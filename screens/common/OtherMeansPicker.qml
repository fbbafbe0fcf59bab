import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "money.js" as Money

// "其他": the merchant's other means of payment, listed by `showName`; a click chooses one.
// "确认收款" hands the chosen means (its `val`, "" for none) and the "备注" text to the owner.
FocusScope {
    id: picker
    implicitWidth: 460
    implicitHeight: column.implicitHeight

    // [{ val, showName, name }]
    property var means: []
    property real dueFen: 0
    property bool busy: false
    property string chosen: ""
    readonly property alias remark: remarkField.text

    signal confirmed(string paySign, string remark)

    function clear() {
        chosen = ""
        remarkField.text = ""
    }

    Column {
        id: column
        width: parent.width
        spacing: Theme.spacingMedium
        Flow {
            width: parent.width
            spacing: Theme.spacingMedium
            Repeater {
                model: picker.means
                delegate: Button {
                    required property var modelData
                    objectName: "otherMeans_" + modelData.val
                    text: modelData.showName
                    checkable: true
                    checked: picker.chosen === String(modelData.val)
                    onClicked: picker.chosen = String(modelData.val)
                }
            }
        }
        Row {
            spacing: Theme.spacingMedium
            Text { text: "收款："; font.pixelSize: Theme.fontMedium; color: Theme.text }
            Text {
                objectName: "otherAmount"
                text: "¥" + Money.fenToYuan(picker.dueFen)
                font.pixelSize: Theme.fontMedium
                color: Theme.amount
            }
        }
        Row {
            spacing: Theme.spacingMedium
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: "备注"
                font.pixelSize: Theme.fontMedium
                color: Theme.text
            }
            TextField {
                id: remarkField
                objectName: "otherRemark"
                width: 320
                maximumLength: 500
            }
        }
        Button {
            objectName: "otherConfirm"
            text: "确认收款"
            highlighted: true
            onClicked: {
                if (!picker.busy)
                    picker.confirmed(picker.chosen, remarkField.text)
            }
        }
    }
}
