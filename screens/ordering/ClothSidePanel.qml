import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "garmentrecord.js" as Record

// Beside the catalogue: what is chosen so far, the selected accessories, flaws, effects and
// add-ons (a click takes one out), the price and "完成".
Rectangle {
    id: panel
    color: Theme.card
    border.color: Theme.line
    radius: Theme.radiusMedium

    // The selection (garmentrecord.js) and its price in fen.
    property var sel: Record.empty()
    property var price: Record.prices(sel)

    signal removeClicked(string listName, int index)

    function rowText(entry) {
        return Record.columnText([entry]).trim()
    }
    signal subtotalClicked()
    signal finishClicked()

    component Line: Text {
        width: parent.width
        elide: Text.ElideRight
        font.pixelSize: Theme.fontBody
        color: Theme.text
    }

    component SelectedColumn: Column {
        id: column
        property string title: ""
        property string listName: ""
        property var entries: []
        width: (panel.width - 50) / 2
        spacing: Theme.spacingTiny
        Text {
            text: column.title
            font.pixelSize: Theme.fontBody
            font.bold: true
            color: Theme.textStrong
        }
        Repeater {
            model: column.entries
            delegate: Text {
                required property var modelData
                required property int index
                objectName: column.listName + ":" + modelData.name
                width: column.width
                elide: Text.ElideRight
                text: panel.rowText(modelData)
                font.pixelSize: Theme.fontNormal
                color: Theme.primary
                MouseArea {
                    anchors.fill: parent
                    onClicked: panel.removeClicked(column.listName, index)
                }
            }
        }
    }

    Column {
        anchors.fill: parent
        anchors.margins: Theme.spacingMedium
        spacing: Theme.spacingMedium

        Line {
            objectName: "projectLine"
            text: "项目：" + (panel.sel.project ? panel.sel.project.name : "")
        }
        Line {
            objectName: "garmentLine"
            text: "衣物：" + (panel.sel.garment ? panel.sel.garment.name : "")
        }
        Line {
            objectName: "serviceLine"
            text: "服务：" + (panel.sel.service ? panel.sel.service.name : "")
                  + (Record.bySize(panel.sel) && panel.sel.count !== ""
                     ? "  " + Record.priceText(panel.sel.count) + panel.sel.garment.unitText : "")
        }
        Line {
            objectName: "colourLine"
            text: "颜色：" + (panel.sel.colour ? panel.sel.colour.name : "")
        }
        Line {
            objectName: "brandLine"
            text: "品牌：" + (panel.sel.brand ? panel.sel.brand.name : "")
        }

        Grid {
            columns: 2
            columnSpacing: 18
            rowSpacing: 12
            SelectedColumn { title: "附件"; listName: "annexes"; entries: panel.sel.annexes }
            SelectedColumn { title: "瑕疵"; listName: "flaws"; entries: panel.sel.flaws }
            SelectedColumn { title: "预计效果"; listName: "effects"; entries: panel.sel.effects }
            SelectedColumn { title: "附加"; listName: "addOns"; entries: panel.sel.addOns }
        }

        ClothPriceBlock {
            price: panel.price
            onSubtotalClicked: panel.subtotalClicked()
        }
    }

    Button {
        objectName: "finishButton"
        text: "完成"
        width: panel.width - 32
        height: 48
        font.pixelSize: Theme.fontMainButton
        highlighted: true
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: Theme.spacingMedium
        onClicked: panel.finishClicked()
    }
}
