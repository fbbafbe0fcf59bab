import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "books.js" as Books
import "customer.js" as Customer
import "money.js" as Money
import "pickup.js" as Pickup

// One garment of the garment list: what it is and costs, its code (its details) and its
// order (the order's details), the customer, where it has been and stands, its label; "打标"
// and, with electronic labels, "绑标" or "已绑".
Rectangle {
    id: row

    // A row of orderProductRel/proList.
    property var garment: ({})
    property bool electronicLabels: false
    readonly property var customer: Books.rowCustomer(garment.userJson)
    readonly property string bindText: Books.bindLabel(electronicLabels, garment.isEnableBindCode, garment.bindCode)
    readonly property string rail: Pickup.railText(garment.tranTypeName, garment.storeShelfNo)

    signal detailsClicked(string scanCode)
    signal orderClicked(string orderId)
    signal printClicked(string garmentId)
    signal bindClicked(string garmentId)

    height: 112
    radius: Theme.radiusMedium
    color: Theme.card
    border.color: Theme.line

    component Small: Text {
        font.pixelSize: Theme.fontNormal
        color: Theme.textRegular
        elide: Text.ElideRight
    }
    component Link: Small {
        signal clicked()
        color: Theme.primary
        MouseArea {
            anchors.fill: parent
            cursorShape: Qt.PointingHandCursor
            onClicked: parent.clicked()
        }
    }

    Column {
        id: what
        x: Theme.spacingMedium
        anchors.verticalCenter: parent.verticalCenter
        width: parent.width * 0.3
        spacing: Theme.spacingTiny
        Text {
            width: parent.width
            text: row.garment.productName || ""
            font.pixelSize: Theme.fontMedium
            font.bold: true
            color: Theme.textStrong
            elide: Text.ElideRight
        }
        Small { text: "小计: ¥" + Money.fenToYuan(row.garment.subtotal || 0); color: Theme.amount }
        Link {
            objectName: "codeLink"
            text: "条码：" + (row.garment.scanCode || "")
            onClicked: row.detailsClicked(row.garment.scanCode)
        }
        Link {
            objectName: "orderLink"
            text: "单号：" + (row.garment.orderNo || "")
            onClicked: row.orderClicked(String(row.garment.orderId))
        }
    }

    Column {
        id: who
        anchors.left: what.right
        anchors.verticalCenter: parent.verticalCenter
        width: parent.width * 0.3
        spacing: Theme.spacingTiny
        Row {
            spacing: Theme.spacingSmall
            Small { objectName: "customerText"; text: row.customer.name + "  " + row.customer.phone }
            Image {
                objectName: "gradeFlag"
                visible: Customer.gradeFlag(row.garment.grade) !== ""
                source: visible ? "qrc:/icon/icon/" + Customer.gradeFlag(row.garment.grade) + ".png" : ""
            }
        }
        Small { text: "入库时间：" + Session.timerToDate(row.garment.createTime) }
        Small { text: "入厂袋号：" + (row.garment.batchInCode || "") + "  " + (row.garment.factoryName || "") }
        Small { text: "出厂批次：" + (row.garment.batchOutCode || "") }
    }

    Column {
        anchors.left: who.right
        anchors.right: buttons.left
        anchors.verticalCenter: parent.verticalCenter
        spacing: Theme.spacingTiny
        Small { objectName: "statusText"; text: row.garment.statusText || ""; color: Theme.success }
        Small {
            objectName: "railPlace"
            visible: text !== ""
            text: (row.rail !== "" ? row.rail + "  " : "") + ((row.garment.tranTypeText || "") !== ""
                  ? row.garment.tranTypeText + " " + row.garment.tranNum : "")
        }
        Small {
            objectName: "bindCodeText"
            visible: (row.garment.bindCode || "") !== ""
            text: "绑标：" + (row.garment.bindCode || "")
        }
    }

    Column {
        id: buttons
        anchors.right: parent.right
        anchors.rightMargin: Theme.spacingMedium
        anchors.verticalCenter: parent.verticalCenter
        spacing: Theme.spacingTiny
        Button {
            objectName: "printLabelButton"
            text: "打标"
            onClicked: row.printClicked(String(row.garment.id))
        }
        Button {
            objectName: "bindButton"
            visible: row.bindText !== ""
            text: row.bindText
            onClicked: row.bindClicked(String(row.garment.id))
        }
    }
}
