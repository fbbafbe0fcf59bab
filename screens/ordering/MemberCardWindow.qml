import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0

// "会员卡": a bound RFID card can be voided after a loss or unbound; without one a card is
// bound by its number and the check code on its back. A success shows its text over a tick.
// The number here is the RFID card's, the one its reader gives; the member card number that
// people and tickets know the member by is the panel's.
PopupWindow {
    id: cardWindow
    objectName: "memberCardWindow"
    title: "会员卡"
    panelHeight: 400

    property bool bound: false
    property string cardNumber: ""
    property bool confirmCancel: false
    property string resultText: ""

    signal bindCard(string rfidNo, string checkCode)
    signal cancelCard()
    signal unbindCard()

    onVisibleChanged: if (visible) { confirmCancel = false; resultText = "" }

    function showResult(text) { resultText = text }

    function bind() {
        if (cardField.text.trim() === "" || codeField.text.trim() === "")
            return
        bindCard(cardField.text.trim(), codeField.text.trim())
    }

    Column {
        visible: cardWindow.resultText !== ""
        anchors.centerIn: parent
        spacing: Theme.spacingMedium
        Text {
            text: "✔"
            font.pixelSize: Theme.fontHuge
            color: Theme.success
            anchors.horizontalCenter: parent.horizontalCenter
        }
        Text {
            objectName: "cardResult"
            text: cardWindow.resultText
            font.pixelSize: Theme.fontLarge
            anchors.horizontalCenter: parent.horizontalCenter
        }
    }

    Column {
        visible: cardWindow.resultText === "" && cardWindow.bound
        anchors.fill: parent
        spacing: Theme.spacingMedium
        Text {
            objectName: "rfidCardNumber"
            text: "RFID卡号: " + cardWindow.cardNumber
            font.pixelSize: Theme.fontMedium
        }
        Text {
            visible: cardWindow.confirmCancel
            text: "挂失作废后此卡将无法使用"
            color: Theme.danger
            font.pixelSize: Theme.fontBody
        }
        Row {
            spacing: Theme.spacingMedium
            Button {
                objectName: "cancelCardButton"
                text: cardWindow.confirmCancel ? "确认作废" : "挂失作废"
                onClicked: {
                    if (cardWindow.confirmCancel)
                        cardWindow.cancelCard()
                    else
                        cardWindow.confirmCancel = true
                }
            }
            Button {
                objectName: "unbindCardButton"
                text: "解绑"
                onClicked: cardWindow.unbindCard()
            }
        }
    }

    Column {
        visible: cardWindow.resultText === "" && !cardWindow.bound
        anchors.fill: parent
        spacing: Theme.spacingMedium
        Text { text: "卡号绑卡"; font.pixelSize: Theme.fontMedium; font.bold: true }
        Row {
            spacing: Theme.spacingMedium
            Text { text: "卡号"; width: 60; font.pixelSize: Theme.fontBody; anchors.verticalCenter: parent.verticalCenter }
            TextField { id: cardField; objectName: "bindCardField"; width: 300 }
        }
        Row {
            spacing: Theme.spacingMedium
            Text { text: "验证码"; width: 60; font.pixelSize: Theme.fontBody; anchors.verticalCenter: parent.verticalCenter }
            TextField {
                id: codeField
                objectName: "bindCodeField"
                width: 300
                placeholderText: "请输入卡背面验证码"
            }
        }
        Button {
            objectName: "bindCardButton"
            text: "绑定"
            enabled: cardField.text.trim() !== "" && codeField.text.trim() !== ""
            onClicked: cardWindow.bind()
        }
    }
}
