import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "quality.js" as Quality

// A whole order at the quality check: the order and its customer, a field for its garments'
// codes, its items newest first with what each offers (rowActions of quality.js), and the
// order's own tools: "全部合格", "全部返洗", "打印小票". Every action is a signal.
Item {
    id: view

    // The order (orderInfo/search).
    property var order: ({})

    signal garmentScanned(string code)
    signal passClicked(string scanCode)
    signal reworkClicked(string garmentId)
    signal certificateClicked(string garmentId)
    signal passAllClicked()
    signal reworkAllClicked()
    signal ticketClicked()

    readonly property alias garmentField: garmentField

    component Action: Button { font.pixelSize: Theme.fontNormal }

    OrderCustomerBlock {
        id: header
        objectName: "orderBlock"
        anchors.left: parent.left
        anchors.right: parent.right
        height: implicitHeight
        order: view.order
    }

    Row {
        id: tools
        anchors.top: header.bottom
        anchors.topMargin: Theme.spacingMedium
        spacing: Theme.spacingSmall
        ScanField {
            id: garmentField
            objectName: "orderGarmentField"
            placeholderText: "衣物条码"
            fieldWidth: 240
            onScanned: function (code) { view.garmentScanned(code) }
        }
        Action { objectName: "passAllButton"; text: "全部合格"; visible: Quality.somethingToPass(view.order); onClicked: view.passAllClicked() }
        Action { objectName: "reworkAllButton"; text: "全部返洗"; visible: Quality.mayReworkAll(view.order); onClicked: view.reworkAllClicked() }
        Action { objectName: "orderTicketButton"; text: "打印小票"; visible: Quality.allPacked(view.order); onClicked: view.ticketClicked() }
    }

    ListView {
        id: list
        objectName: "orderItems"
        anchors.top: tools.bottom
        anchors.topMargin: Theme.spacingMedium
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        clip: true
        spacing: Theme.spacingTiny
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {}
        model: Quality.orderRows(view.order)
        delegate: Rectangle {
            id: row
            required property var modelData
            readonly property var offers: Quality.rowActions(modelData)
            readonly property bool garment: Quality.isGarment(modelData)
            objectName: "item_" + modelData.scanCode
            width: list.width - 12
            height: 44
            radius: Theme.radiusMedium
            color: garment ? Theme.card : Theme.cardAlt

            Row {
                anchors.verticalCenter: parent.verticalCenter
                x: Theme.spacingMedium
                spacing: Theme.spacingLarge
                Text {
                    width: 160
                    text: (row.garment ? "" : "附件：") + row.modelData.productName
                    font.pixelSize: Theme.fontNormal
                    font.bold: row.garment
                    color: Theme.textStrong
                    elide: Text.ElideRight
                }
                Text { width: 110; text: row.modelData.scanCode; font.pixelSize: Theme.fontNormal; color: Theme.textRegular }
                Text { width: 80; text: row.modelData.statusText || ""; font.pixelSize: Theme.fontNormal; color: Theme.primary }
                Text {
                    width: 150
                    text: Session.timerToDate(row.modelData.statusTime)
                    font.pixelSize: Theme.fontSmall
                    color: Theme.textSecondary
                }
                Text {
                    objectName: "mark"
                    width: 60
                    text: row.offers.mark
                    font.pixelSize: Theme.fontNormal
                    color: text === "已返洗" || text === "未核对" ? Theme.danger : Theme.success
                }
            }
            Row {
                anchors.right: parent.right
                anchors.rightMargin: Theme.spacingMedium
                anchors.verticalCenter: parent.verticalCenter
                spacing: Theme.spacingSmall
                Action {
                    objectName: "certificateButton"
                    text: "打合格证"
                    visible: row.offers.certificate
                    onClicked: view.certificateClicked(String(row.modelData.id))
                }
                Action {
                    objectName: "reworkButton"
                    text: "返洗"
                    visible: row.offers.rework
                    onClicked: view.reworkClicked(String(row.modelData.id))
                }
                Action {
                    objectName: "passButton"
                    text: "合格"
                    visible: row.offers.pass
                    onClicked: view.passClicked(String(row.modelData.scanCode))
                }
            }
        }
    }
}
