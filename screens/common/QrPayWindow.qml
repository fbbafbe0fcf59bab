import QtQuick 2.15
import PrinterHelper 1.0
import Brenvo 1.0
import "money.js" as Money
import "payment.js" as Payment

// The code the customer scans with WeChat or Alipay, with the amount and the state of the
// trade. The owner creates the trade and follows it; closing the window (closed) tells the
// owner to stop following it and to release it.
PopupWindow {
    id: qrWindow
    objectName: "qrPayWindow"
    title: wallet === "alipay" ? "支付宝支付" : "微信支付"
    panelWidth: 420
    panelHeight: 500

    // "wechat" or "alipay".
    property string wallet: "wechat"
    property real amountFen: 0
    // The text of the QR code, once the trade exists.
    property string codeUrl: ""
    // The trade's last status ("" before the first answer); a note of the owner's (why the
    // trade could not be made) is shown instead when there is one.
    property string status: ""
    property string statusNote: ""

    function openFor(walletName, fen) {
        wallet = walletName
        amountFen = fen
        open()
    }

    onCodeUrlChanged: {
        // The picture is written by creatQRCode, then shown from its file.
        qrImage.source = ""
        if (codeUrl !== "")
            printer.creatQRCode(codeUrl)
        qrImage.source = Payment.qrImageSource(codeUrl)
    }

    PrinterHelper { id: printer }

    Column {
        anchors.horizontalCenter: parent.horizontalCenter
        spacing: Theme.spacingMedium
        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: Theme.spacingSmall
            Text { text: "应收金额"; font.pixelSize: Theme.fontMedium; color: Theme.text }
            Text {
                objectName: "qrAmount"
                text: "¥" + Money.fenToYuan(qrWindow.amountFen)
                font.pixelSize: Theme.fontTitle
                color: Theme.amount
            }
        }
        Rectangle {
            width: 220
            height: 220
            anchors.horizontalCenter: parent.horizontalCenter
            color: Theme.card
            border.color: Theme.line
            Image {
                id: qrImage
                objectName: "qrImage"
                anchors.centerIn: parent
                width: 200
                height: 200
                cache: false
            }
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "顾客扫码付款"
            font.pixelSize: Theme.fontBody
            color: Theme.textRegular
        }
        Text {
            objectName: "qrStatus"
            anchors.horizontalCenter: parent.horizontalCenter
            text: qrWindow.statusNote !== "" ? qrWindow.statusNote : Payment.statusText(qrWindow.status)
            font.pixelSize: Theme.fontMedium
            color: Payment.statusTone(qrWindow.status) === "good" ? Theme.success
                 : Payment.statusTone(qrWindow.status) === "bad" ? Theme.danger : Theme.textRegular
        }
    }
}
