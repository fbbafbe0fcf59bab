import QtQuick 2.15
import Brenvo 1.0
import "money.js" as Money
import "customer.js" as Customer
import "quality.js" as Quality

// An order found by a scanned code (orderInfo/search) as the quality check and the rail show
// it: number and state, money, its pieces, the customer and how the garments come and go.
Rectangle {
    id: block
    color: Theme.card
    radius: Theme.radiusLarge
    implicitHeight: lines.implicitHeight + 2 * Theme.spacingMedium

    property var order: ({})

    function field(name) {
        var v = order[name]
        return v === undefined || v === null ? "" : String(v)
    }

    component Line: Text {
        font.pixelSize: Theme.fontNormal
        color: Theme.textRegular
        elide: Text.ElideRight
        width: Math.min(implicitWidth, 330)
    }

    Flow {
        id: lines
        anchors.fill: parent
        anchors.margins: Theme.spacingMedium
        spacing: Theme.spacingMedium

        Line { objectName: "orderNoText"; text: "单号：" + block.field("orderNo") + "  " + block.field("statusText"); color: Theme.textStrong; font.bold: true }
        Line {
            objectName: "amountText"
            text: "金额：" + Money.fenToYuan(block.field("paymentPrice")) + "  " + block.field("payStatusText")
            color: Theme.amount
        }
        Line {
            objectName: "countText"
            text: "件数：" + Quality.countText(block.field("proCnt"), Quality.items(block.order))
        }
        Row {
            spacing: Theme.spacingTiny
            Line { objectName: "customerName"; text: "姓名：" + block.field("userName") }
            Image {
                objectName: "gradeFlag"
                visible: Customer.gradeFlag(block.field("grade")) !== ""
                source: visible ? "qrc:/icon/icon/" + Customer.gradeFlag(block.field("grade")) + ".png" : ""
            }
        }
        Line { objectName: "customerPhone"; text: "手机号：" + block.field("userPhone") }
        Line { objectName: "customerBalance"; text: "余额：" + Money.fenToYuan(block.field("userBalance")) }
        Line { objectName: "customerGroup"; text: "分组：" + block.field("userGroup") }
        Row {
            spacing: Theme.spacingTiny
            Line { objectName: "unionName"; text: "所属集团：" + block.field("unionName") }
            Rectangle {
                objectName: "unionBadge"
                visible: block.field("unionName") !== ""
                width: 20
                height: 20
                radius: Theme.radiusSmall
                color: Theme.warning
                Text {
                    anchors.centerIn: parent
                    text: "团"
                    color: Theme.textOnDark
                    font.pixelSize: Theme.fontSmall
                }
            }
        }
        Line { objectName: "takeMode"; text: "取件方式：" + block.field("takeModeText") }
        Line { objectName: "sendMode"; text: "送件方式：" + block.field("sendModeText") }
    }
}
