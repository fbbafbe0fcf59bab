import QtQuick 2.15
import Brenvo 1.0
import "money.js" as Money

// The garment's price: "金额：" (the service, by size where priced so), "折后：" (after the
// garment's discount), "附加：" (the add-on services) and the subtotal, which a click offers
// to set by hand. Amounts come in fen.
Column {
    id: block
    spacing: Theme.spacingSmall

    // { amount, discounted, addOns, subtotal } in fen (garmentrecord.js prices()).
    property var price: ({ amount: 0, discounted: 0, addOns: 0, subtotal: 0 })

    signal subtotalClicked()

    Repeater {
        model: [
            { name: "amountText", caption: "金额：", fen: block.price.amount },
            { name: "discountedText", caption: "折后：", fen: block.price.discounted },
            { name: "addOnText", caption: "附加：", fen: block.price.addOns }
        ]
        delegate: Text {
            required property var modelData
            objectName: modelData.name
            text: modelData.caption + Money.fenToYuan(modelData.fen)
            font.pixelSize: Theme.fontBody
            color: Theme.textRegular
        }
    }
    Row {
        spacing: Theme.spacingSmall
        Text {
            text: "小计："
            font.pixelSize: Theme.fontLarge
            color: Theme.text
            anchors.verticalCenter: parent.verticalCenter
        }
        Text {
            objectName: "subtotalText"
            text: Money.fenToYuan(block.price.subtotal)
            font.pixelSize: Theme.fontTitle
            font.bold: true
            font.underline: true
            color: Theme.amount
            MouseArea {
                objectName: "subtotalArea"
                anchors.fill: parent
                onClicked: block.subtotalClicked()
            }
        }
    }
}
