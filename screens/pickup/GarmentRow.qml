import QtQuick 2.15
import Brenvo 1.0
import "money.js" as Money
import "pickup.js" as Pickup

// One garment (or accessory) of the order view; a click selects or deselects it.
Rectangle {
    id: garmentRow

    property var garment: ({})
    property bool selected: false

    signal clicked()
    // The photo count or the code: the garment's details.
    signal detailsRequested(string scanCode)

    objectName: "garment_" + garment.id
    height: 118
    radius: Theme.radiusMedium
    color: selected ? Theme.selected : Theme.card
    border.color: selected ? Theme.primary : Theme.line

    readonly property bool reworked: garment.statusText === "返工重洗" || garment.statusText === "返洗中"

    component Small: Text {
        font.pixelSize: Theme.fontNormal
        color: Theme.textRegular
        elide: Text.ElideRight
    }

    MouseArea {
        anchors.fill: parent
        onClicked: garmentRow.clicked()
    }

    Column {
        anchors.left: parent.left
        anchors.top: parent.top
        anchors.margins: Theme.spacingMedium
        width: parent.width * 0.55
        spacing: Theme.spacingTiny
        Row {
            spacing: Theme.spacingMedium
            Text {
                text: garmentRow.garment.productName + "  " + garmentRow.garment.no + "/" + garmentRow.garment.total
                font.pixelSize: Theme.fontMedium
                font.bold: true
                color: Theme.textStrong
            }
            Text {
                objectName: "garmentStatus"
                text: garmentRow.garment.statusText || ""
                font.pixelSize: Theme.fontNormal
                color: garmentRow.reworked ? Theme.danger : Theme.success
            }
            Text {
                objectName: "refundMark"
                visible: (garmentRow.garment.hasRefundText || "") !== ""
                text: garmentRow.garment.hasRefundText || ""
                font.pixelSize: Theme.fontNormal
                color: Theme.warning
            }
        }
        Small {
            width: parent.width
            text: [garmentRow.garment.serviceName, Pickup.names(garmentRow.garment.colorDesc),
                   Pickup.names(garmentRow.garment.flawDesc)].filter(function (t) { return t }).join("  ")
        }
        Small {
            objectName: "annexLine"
            width: parent.width
            text: "附件：" + Pickup.names(garmentRow.garment.annexDesc)
        }
        Small {
            width: parent.width
            text: "附加：" + Pickup.names(garmentRow.garment.addServiceDesc, true)
        }
    }

    Column {
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.margins: Theme.spacingMedium
        spacing: Theme.spacingTiny
        Text {
            anchors.right: parent.right
            text: "¥ " + Money.fenToYuan(garmentRow.garment.serviceAmt)
            font.pixelSize: Theme.fontNormal
            color: Theme.textRegular
        }
        Text {
            anchors.right: parent.right
            text: "小计：¥ " + Money.fenToYuan(garmentRow.garment.subtotal)
            font.pixelSize: Theme.fontNormal
            color: Theme.amount
        }
        Small {
            anchors.right: parent.right
            text: "衣物照片：" + (garmentRow.garment.picCnt || 0)
            color: Theme.primary
            MouseArea {
                anchors.fill: parent
                onClicked: garmentRow.detailsRequested(garmentRow.garment.scanCode)
            }
        }
        Small {
            anchors.right: parent.right
            text: "条码：" + garmentRow.garment.scanCode
            color: Theme.primary
            MouseArea {
                anchors.fill: parent
                onClicked: garmentRow.detailsRequested(garmentRow.garment.scanCode)
            }
        }
        Small {
            anchors.right: parent.right
            visible: (garmentRow.garment.bindCode || "") !== ""
            text: "绑标：" + garmentRow.garment.bindCode
        }
        Small {
            objectName: "railPlace"
            anchors.right: parent.right
            readonly property string rail: Pickup.railText(garmentRow.garment.tranTypeName, garmentRow.garment.storeShelfNo)
            visible: rail !== "" || (garmentRow.garment.tranNum || "") !== ""
            text: rail + ((garmentRow.garment.tranTypeText || "") !== "" ? "  " + garmentRow.garment.tranTypeText + " " + garmentRow.garment.tranNum : "")
        }
    }
}
