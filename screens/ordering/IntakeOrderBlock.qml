import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "money.js" as Money
import "customer.js" as Customer
import "intake.js" as Intake

// The intake screen's order and customer block: the order's QR code, numbers and times, the
// customer, the order total with its price details, whether it is paid, the customer's note.
Rectangle {
    id: block
    color: Theme.card
    radius: Theme.radiusMedium

    // The order's fields from stockIn/queryOrder ({} before one is shown).
    property var info: ({})
    property bool paid: false
    // Whether an order is shown: the price details open only then.
    property bool shown: false

    signal priceClicked()

    function field(name) {
        var v = info[name]
        return v === undefined || v === null ? "" : String(v)
    }

    component Line: Text {
        width: parent.width
        font.pixelSize: Theme.fontNormal
        color: Theme.textRegular
        elide: Text.ElideRight
    }

    Column {
        anchors.fill: parent
        anchors.margins: Theme.spacingMedium
        spacing: Theme.spacingSmall

        Image {
            objectName: "orderQrCode"
            width: 120
            height: 120
            anchors.horizontalCenter: parent.horizontalCenter
            cache: false
            visible: block.shown
            source: block.shown ? "image://imageProvider/qrpic/" + block.field("orderNo") + ".jpg" : ""
        }
        Line { objectName: "orderNoText"; text: "单号:" + block.field("orderNo"); color: Theme.textStrong; font.bold: true }
        Line { objectName: "transNoText"; text: "运单号:" + block.field("transNo") }
        Line { objectName: "factoryTransNoText"; text: "工厂运单号:" + block.field("factoryTransNo") }
        Line { objectName: "createTimeText"; text: "下单时间:" + Session.timerToDate(block.field("createTime")) }
        Line {
            objectName: "priorityText"
            text: "快慢:" + (block.shown ? Intake.priorityText(block.field("priority")) : "")
        }
        Line { objectName: "createCntText"; text: "下单件数:" + block.field("createCnt") }
        Line { objectName: "statusText"; text: block.field("statusText"); color: Theme.primary }

        Rectangle { width: parent.width; height: 1; color: Theme.divider }

        Row {
            spacing: Theme.spacingSmall
            width: parent.width
            Line {
                objectName: "customerName"
                width: Math.min(implicitWidth, parent.width - 30)
                text: "名字:" + Intake.customerName(block.field("name"))
                color: Theme.textStrong
            }
            Image {
                objectName: "gradeFlag"
                visible: Customer.gradeFlag(block.field("grade")) !== ""
                source: visible ? "qrc:/icon/icon/" + Customer.gradeFlag(block.field("grade")) + ".png" : ""
            }
        }
        Line { objectName: "customerPhone"; text: "手机:" + block.field("phone") }
        Line {
            objectName: "customerCard"
            // The order carries an RFID number only for a bound card.
            text: "会员卡号:" + Customer.cardNumber(block.field("rfidNo") !== "" ? "1" : "0",
                                                  block.field("rfidNo"), block.field("cardNo"))
        }
        Line { objectName: "customerLevel"; text: "等级:" + block.field("cardName") }
        Line { objectName: "customerBalance"; text: "余额:" + Money.fenToYuan(block.field("balance")) }

        Rectangle { width: parent.width; height: 1; color: Theme.divider }

        Row {
            spacing: Theme.spacingSmall
            Text {
                objectName: "orderTotal"
                text: "订单总额:¥" + Money.fenToYuan(block.field("paymentPrice"))
                font.pixelSize: Theme.fontMedium
                color: Theme.amount
            }
            Button {
                objectName: "priceDetailsButton"
                text: "改 ▸"
                flat: true
                font.pixelSize: Theme.fontSmall
                onClicked: {
                    if (block.shown)
                        block.priceClicked()
                }
            }
        }
        Text {
            objectName: "payStatus"
            visible: block.shown
            text: block.paid ? "已付款" : "未付款"
            font.pixelSize: Theme.fontMedium
            font.bold: true
            color: block.paid ? Theme.success : Theme.danger
        }
        Line {
            objectName: "userRemark"
            text: "客户备注：" + block.field("userRemark")
            wrapMode: Text.WrapAnywhere
            maximumLineCount: 3
        }
    }
}
