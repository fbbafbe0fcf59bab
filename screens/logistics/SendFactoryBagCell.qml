import QtQuick 2.15
import Brenvo 1.0
import "logistics.js" as Logistics

// One bag of the bag grid: its number and QR picture, what it holds, who collected it, where
// it stands, and what it offers. A click on the card opens the bag. A page shows 18 cards, so
// their many small texts are drawn natively (the glyphs as they are cached), which costs a
// frame about half of what distance-field text does on a software-rendered display.
Rectangle {
    id: cell

    // The bag as a list row (Logistics.bagKeys).
    property var bag: ({})
    readonly property var actions: Logistics.bagActions(bag)
    readonly property alias picture: qr

    signal openClicked()
    signal printClicked()
    signal deleteClicked()
    signal completeClicked()

    objectName: "bagCell_" + bag.id
    height: 224
    radius: Theme.radiusLarge
    color: openArea.containsMouse ? Theme.selected : Theme.card
    border.color: Theme.line

    component Action: LogisticsLink { renderType: Text.NativeRendering }
    component Line: Text {
        width: parent.width
        renderType: Text.NativeRendering
        elide: Text.ElideRight
        font.pixelSize: Theme.fontSmall
        color: Theme.textRegular
    }
    MouseArea {
        id: openArea
        objectName: "bagOpenArea"
        anchors.fill: parent
        hoverEnabled: true
        cursorShape: Qt.PointingHandCursor
        onClicked: cell.openClicked()
    }

    Column {
        anchors.fill: parent
        anchors.margins: Theme.spacingMedium
        spacing: Theme.spacingTiny

        Text {
            objectName: "bagCode"
            renderType: Text.NativeRendering
            width: parent.width
            elide: Text.ElideRight
            text: "袋号：" + cell.bag.code
            font.pixelSize: Theme.fontNormal
            font.bold: true
            color: Theme.primary
        }
        Row {
            spacing: Theme.spacingSmall
            QrPicture {
                id: qr
                objectName: "bagQr"
                width: 84
                height: 84
                code: cell.bag.code || ""
            }
            Column {
                spacing: Theme.spacingTiny
                width: cell.width - 2 * Theme.spacingMedium - qr.width - Theme.spacingSmall
                Text {
                    objectName: "bagStatus"
                    renderType: Text.NativeRendering
                    width: parent.width
                    wrapMode: Text.WordWrap
                    text: cell.bag.statusText || ""
                    font.pixelSize: Theme.fontSmall
                    color: String(cell.bag.isFinish) === "1" ? Theme.success : Theme.warning
                }
                Text {
                    objectName: "bagCount"
                    renderType: Text.NativeRendering
                    text: "衣物件数：" + Logistics.garmentCount(cell.bag)
                    font.pixelSize: Theme.fontSmall
                    color: Theme.text
                }
            }
        }
        Line { text: "物流人员：" + Logistics.courierText(cell.bag.logisticsWorkName, cell.bag.logisticsWorkPhone) }
        Line { text: "门店：" + (cell.bag.storeName || "") }
        Line { text: "工厂：" + (cell.bag.factoryName || "") }
    }

    Row {
        anchors.left: parent.left
        anchors.bottom: parent.bottom
        anchors.margins: Theme.spacingMedium
        spacing: Theme.spacingMedium
        Action { objectName: "printBagButton"; text: "打印袋号"; visible: cell.actions.print; onClicked: cell.printClicked() }
        Action { objectName: "deleteBagButton"; text: "删除"; tint: Theme.danger; visible: cell.actions.remove; onClicked: cell.deleteClicked() }
        Action { objectName: "completeBagButton"; text: "批次完成"; visible: cell.actions.complete; onClicked: cell.completeClicked() }
    }
}
