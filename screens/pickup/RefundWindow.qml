import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "money.js" as Money
import "pickup.js" as Pickup

// "订单退款" and "衣物退洗": the amount to give back (or, for the garments of an unpaid order,
// the order's new total), how it splits between the member balance and the chosen means, and
// the reason. "确定" does nothing while the amount is above what may be given back. The
// lines of the split keep their room while hidden, so typing the amount moves nothing under
// the pointer.
PopupWindow {
    id: refundWindow
    objectName: "refundWindow"
    title: wash ? "衣物退洗" : "订单退款"
    panelWidth: 560
    panelHeight: 600
    // It sits in the order view, which is embedded in its screen: the shade covers the window.
    coversWindow: true

    property bool wash: false
    property bool paid: true
    property string orderNo: ""
    property string payablePrice: "0"
    property string customer: ""
    property string payStatusText: ""
    property int garmentCount: 0
    property int selectedCount: 0
    // The paid parts (pickup.js payments().parts), what may still be given back (fen), and
    // the means a refund may go back by ({id, showText}).
    property var parts: []
    property string refundable: "0"
    property var means: []
    property string chosenMeans: ""
    property string note: ""

    readonly property alias amountText: amountField.text
    readonly property alias reason: reasonField.text
    readonly property var split: Pickup.refundSplit(amountField.text, parts, refundable)

    // The worker confirmed: the request's means ("" for none), amount in fen and reason.
    signal confirmed(string payMethod, real amountFen, string reason)
    // What stops "确定": "missing" or "means" (the opener tells the worker).
    signal blocked(string why)

    function start(isWash) {
        wash = isWash
        chosenMeans = ""
        note = ""
        open()
        amountField.forceActiveFocus()
    }

    function clear() {
        amountField.text = ""
        reasonField.text = ""
        chosenMeans = ""
        note = ""
    }

    function meansName(id) {
        for (var i = 0; i < means.length; ++i)
            if (String(means[i].id) === String(id))
                return means[i].showText
        return ""
    }

    function confirm() {
        var why = Pickup.refundBlock(split, reasonField.text, paid, chosenMeans !== "")
        if (why === "over")
            return
        if (why !== "") {
            blocked(why)
            return
        }
        confirmed(chosenMeans, split.amount, reasonField.text)
    }

    component Line: Text {
        font.pixelSize: Theme.fontBody
        color: Theme.textRegular
    }

    Column {
        objectName: "refundForm"
        anchors.fill: parent
        spacing: Theme.spacingMedium

        Line { objectName: "refundOrderNo"; text: "订单号:" + refundWindow.orderNo }
        Line { text: "实付金额:" + Money.fenToYuan(refundWindow.payablePrice) }
        Line { text: "客户：" + refundWindow.customer }
        Line { text: "支付状态：" + refundWindow.payStatusText }
        Line {
            objectName: "refundCount"
            text: "该订单共有" + refundWindow.garmentCount + "件衣物"
                  + (refundWindow.wash ? ",已选中" + refundWindow.selectedCount + "衣物" : "")
        }
        Repeater {
            model: refundWindow.paid ? refundWindow.parts : []
            Line {
                required property var modelData
                text: modelData.method + "支付：" + Money.fenToYuan(modelData.amount) + "元"
            }
        }
        Row {
            spacing: Theme.spacingMedium
            Line {
                objectName: "amountCaption"
                text: refundWindow.paid ? "输入退款金额:" : "修改订单总额为"
                anchors.verticalCenter: parent.verticalCenter
            }
            TextField {
                id: amountField
                objectName: "amountField"
                width: 160
                validator: RegularExpressionValidator { regularExpression: /\d[\d.]{0,34}/ }
            }
            Line {
                objectName: "refundable"
                visible: refundWindow.paid
                text: "可退金额：¥" + Money.fenToYuan(refundWindow.refundable)
                anchors.verticalCenter: parent.verticalCenter
            }
        }
        // Each line of the split has a room of one line, which stays whether or not it shows.
        Item {
            width: parent.width
            height: overText.implicitHeight
            visible: refundWindow.paid
            Line {
                id: overText
                objectName: "overText"
                visible: refundWindow.split.over
                text: "超出可退款金额"
                color: Theme.danger
            }
        }
        Item {
            width: parent.width
            height: balanceShare.implicitHeight
            visible: refundWindow.paid
            Line {
                id: balanceShare
                objectName: "balanceShare"
                visible: refundWindow.split.toBalance > 0
                text: Pickup.shareText(refundWindow.split.toBalance, refundWindow.split.balanceMethod)
            }
        }
        Item {
            width: parent.width
            height: meansShare.implicitHeight
            visible: refundWindow.paid
            Line {
                id: meansShare
                objectName: "meansShare"
                visible: refundWindow.split.toMeans > 0
                text: Pickup.shareText(refundWindow.split.toMeans, refundWindow.meansName(refundWindow.chosenMeans))
            }
        }
        // The means stay laid out; they are offered while part of the amount needs one.
        Flow {
            objectName: "refundMeans"
            width: parent.width
            spacing: Theme.spacingSmall
            visible: refundWindow.paid
            opacity: refundWindow.split.toMeans > 0 ? 1 : 0
            enabled: refundWindow.split.toMeans > 0
            Repeater {
                model: refundWindow.means
                Button {
                    required property var modelData
                    objectName: "means_" + modelData.id
                    text: modelData.showText
                    highlighted: String(modelData.id) === refundWindow.chosenMeans
                    onClicked: refundWindow.chosenMeans = String(modelData.id)
                }
            }
        }
        Line { text: "退款原因（必填）" }
        TextField {
            id: reasonField
            objectName: "reasonField"
            width: parent.width
            placeholderText: "请输入退款原因"
        }
        Line {
            objectName: "refundNote"
            visible: refundWindow.note !== ""
            text: refundWindow.note
            color: Theme.danger
        }
        WindowButtons {
            confirmName: "refundConfirm"
            cancelName: "refundCancel"
            onConfirmed: refundWindow.confirm()
            onCancelled: refundWindow.close()
        }
    }
}
