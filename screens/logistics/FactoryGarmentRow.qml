import QtQuick 2.15
import Brenvo 1.0

// A row of the garment tables on the factory road (a bag's garments, the garments waiting for
// a bag, the garments back from the factory), or their header: texts in columns of relative
// widths. An accessory carries the clip mark and the tag "附件" in its `markColumn`.
Rectangle {
    id: row

    property var values: []
    // Relative widths of the columns, one per value.
    property var weights: []
    property bool header: false
    property bool selected: false
    property bool accessory: false
    property int markColumn: 0

    signal clicked()

    readonly property real totalWeight: weights.reduce(function (a, b) { return a + b }, 0)

    height: header ? 36 : 40
    color: header ? Theme.tabBar : (selected ? Theme.selected : Theme.card)
    border.color: selected ? Theme.primary : Theme.lineLight

    MouseArea {
        anchors.fill: parent
        enabled: !row.header
        onClicked: row.clicked()
    }

    Row {
        anchors.fill: parent
        anchors.leftMargin: Theme.spacingMedium
        anchors.rightMargin: Theme.spacingMedium
        Repeater {
            model: row.values
            Item {
                id: column
                required property var modelData
                required property int index
                readonly property bool marked: row.accessory && index === row.markColumn
                width: row.totalWeight > 0 ? parent.width * (row.weights[index] || 0) / row.totalWeight : 0
                height: row.height
                Image {
                    id: mark
                    objectName: "annexMark"
                    visible: column.marked
                    source: column.marked ? "qrc:/icon/icon/annexmark.png" : ""
                    anchors.verticalCenter: parent.verticalCenter
                }
                Text {
                    id: cellText
                    anchors.left: column.marked ? mark.right : parent.left
                    anchors.leftMargin: column.marked ? Theme.spacingTiny : 0
                    anchors.verticalCenter: parent.verticalCenter
                    width: Math.min(implicitWidth, parent.width - x - (tag.visible ? tag.width + Theme.spacingSmall : 0))
                    elide: Text.ElideRight
                    text: column.modelData === undefined || column.modelData === null ? "" : String(column.modelData)
                    font.pixelSize: Theme.fontNormal
                    font.bold: row.header
                    color: row.header ? Theme.textStrong : Theme.text
                }
                Rectangle {
                    id: tag
                    objectName: "annexTag"
                    visible: column.marked
                    anchors.left: cellText.right
                    anchors.leftMargin: Theme.spacingTiny
                    anchors.verticalCenter: parent.verticalCenter
                    width: tagText.implicitWidth + Theme.spacingSmall
                    height: tagText.implicitHeight + 2
                    radius: Theme.radiusSmall
                    color: Theme.warningLight
                    border.color: Theme.warningLine
                    Text {
                        id: tagText
                        anchors.centerIn: parent
                        text: "附件"
                        font.pixelSize: Theme.fontTiny
                        color: Theme.warning
                    }
                }
            }
        }
    }
}
