import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "books.js" as Books
import "customer.js" as Customer
import "money.js" as Money

// One order of the order book: when and how it was placed, its number (its details), the
// customer (the member's details), pick-up and delivery, its state and money, the remarks,
// and the actions the order offers.
Rectangle {
    id: row

    // A row of the book (books.js bookRow).
    property var order: ({})

    signal detailsClicked()
    signal customerClicked()
    // "pay", "credit", "void", "ticket", "stockIn", "bag" or "notes".
    signal acted(string what)

    height: 150
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

    Image {
        id: picture
        x: Theme.spacingMedium
        y: Theme.spacingMedium
        width: 48
        height: 48
        fillMode: Image.PreserveAspectCrop
        source: (row.order.headimgPath || "") !== "" ? row.order.headimgPath : "qrc:/icon/icon/grayhead.png"
        MouseArea { anchors.fill: parent; onClicked: row.customerClicked() }
    }
    Column {
        id: customer
        anchors.left: picture.right
        anchors.leftMargin: Theme.spacingSmall
        anchors.top: picture.top
        width: 170
        spacing: Theme.spacingTiny
        Row {
            spacing: Theme.spacingTiny
            Link { objectName: "customerName"; text: row.order.userName || ""; onClicked: row.customerClicked() }
            Image {
                objectName: "gradeFlag"
                visible: Customer.gradeFlag(row.order.grade) !== ""
                source: visible ? "qrc:/icon/icon/" + Customer.gradeFlag(row.order.grade) + ".png" : ""
            }
        }
        Link { objectName: "customerPhone"; text: row.order.userPhone || ""; onClicked: row.customerClicked() }
        Link {
            objectName: "customerCard"
            text: Books.cardShown(row.order.rfidNo, row.order.cardNo)
            onClicked: row.customerClicked()
        }
    }

    Column {
        id: middle
        anchors.left: customer.right
        anchors.leftMargin: Theme.spacingMedium
        anchors.right: state.left
        anchors.top: picture.top
        spacing: Theme.spacingTiny
        Row {
            spacing: Theme.spacingMedium
            Link {
                objectName: "orderNoLink"
                text: row.order.orderNo || ""
                font.bold: true
                onClicked: row.detailsClicked()
            }
            Small { objectName: "createTime"; text: Session.timerToDate(row.order.createTime) }
            Small { text: row.order.originText || "" }
        }
        Small {
            width: parent.width
            text: Books.modeLine(row.order.takeModeText, "预约取件: ", row.order.takeDate, "取件员：", row.order.takeWorkName)
        }
        Small {
            width: parent.width
            text: Books.modeLine(row.order.sendModeText, "预约送件: ", row.order.sendDate, "送件员：", row.order.sendWorkName)
        }
        Small { objectName: "userRemark"; width: parent.width; text: "用户：" + Books.cleanString(row.order.userRemark) }
        Small {
            objectName: "notesLine"
            width: parent.width
            visible: (row.order.notesLine || "") !== ""
            text: "管理:" + (row.order.notesLine || "")
        }
    }

    Column {
        id: state
        anchors.right: parent.right
        anchors.rightMargin: Theme.spacingMedium
        anchors.top: picture.top
        width: 160
        spacing: Theme.spacingTiny
        Small { objectName: "statusText"; text: row.order.statusText || ""; color: Theme.primary }
        Small { objectName: "amountText"; text: "金额 : " + Money.fenToYuan(row.order.payablePrice || 0); color: Theme.amount }
        Row {
            spacing: Theme.spacingSmall
            Small {
                objectName: "payStatusText"
                text: row.order.payStatusText || ""
                color: Books.unpaid(row.order.payStatusText) ? Theme.danger : Theme.success
            }
            Small {
                objectName: "creditMark"
                visible: String(row.order.creditStatus) === "1"
                text: "赊"
                color: Theme.warning
            }
        }
    }

    Row {
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: Theme.spacingSmall
        spacing: Theme.spacingSmall
        // Only the actions offered are made: a page of rows draws sooner.
        Repeater {
            model: Books.rowActions(row.order)
            Button {
                required property var modelData
                objectName: modelData.what + "Button"
                text: modelData.text
                font.pixelSize: Theme.fontNormal
                onClicked: row.acted(modelData.what)
            }
        }
    }
}
