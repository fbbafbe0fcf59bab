import QtQuick 2.15
import Brenvo 1.0

// A card of the revenue analysis: its title, a line per figure (the label on the left, the
// value on the right) and, when given, a total under a rule. With `colors`, each line starts
// with the colour of its part in a chart laid into the card's side (`sideWidth` wide: the
// card's children go there).
Rectangle {
    id: block

    property string title
    // [{label, value}]
    property var lines: []
    property string totalLabel: ""
    property string totalValue: ""
    // Said when there are no lines.
    property string emptyText: ""
    property var colors: []
    property int sideWidth: 0
    default property alias side: sideArea.data

    color: Theme.card
    radius: Theme.radiusLarge
    border.color: Theme.line
    implicitHeight: Math.max(column.implicitHeight, sideWidth) + 2 * Theme.spacingLarge

    // The value shown for `label` ("" when there is no such line).
    function valueOf(label) {
        for (var i = 0; i < lines.length; ++i)
            if (lines[i].label === label)
                return lines[i].value
        return label === totalLabel ? totalValue : ""
    }

    Column {
        id: column
        anchors.left: parent.left
        anchors.right: sideArea.left
        anchors.top: parent.top
        anchors.margins: Theme.spacingLarge
        spacing: Theme.spacingSmall

        Text {
            text: block.title
            font.pixelSize: Theme.fontLarge
            font.bold: true
            color: Theme.textStrong
            bottomPadding: Theme.spacingTiny
        }
        // Lines kept from one report to the next: only their texts change.
        Repeater {
            model: block.lines.length
            delegate: Item {
                id: line
                required property int index
                readonly property var entry: block.lines[index] || ({ label: "", value: "" })
                objectName: "line_" + entry.label
                width: column.width
                height: lineLabel.implicitHeight
                Rectangle {
                    id: swatch
                    visible: block.colors.length > 0
                    width: visible ? 10 : 0
                    height: 10
                    radius: 2
                    anchors.verticalCenter: parent.verticalCenter
                    color: block.colors.length > 0 ? block.colors[line.index % block.colors.length] : Theme.card
                }
                Text {
                    id: lineLabel
                    anchors.left: swatch.right
                    anchors.leftMargin: swatch.visible ? Theme.spacingSmall : 0
                    text: line.entry.label
                    font.pixelSize: Theme.fontBody
                    color: Theme.textRegular
                }
                Text {
                    objectName: "value"
                    anchors.right: parent.right
                    text: line.entry.value
                    font.pixelSize: Theme.fontBody
                    color: Theme.text
                }
            }
        }
        Text {
            visible: block.lines.length === 0 && block.emptyText !== ""
            text: block.emptyText
            font.pixelSize: Theme.fontBody
            color: Theme.textMuted
        }
        Rectangle {
            visible: block.totalLabel !== ""
            width: column.width
            height: 1
            color: Theme.lineLight
        }
        Item {
            visible: block.totalLabel !== ""
            objectName: "line_" + block.totalLabel
            width: column.width
            height: totalText.implicitHeight
            Text {
                text: block.totalLabel
                font.pixelSize: Theme.fontMedium
                font.bold: true
                color: Theme.textStrong
            }
            Text {
                id: totalText
                objectName: "value"
                anchors.right: parent.right
                text: block.totalValue
                font.pixelSize: Theme.fontMedium
                font.bold: true
                color: Theme.amount
            }
        }
    }

    Item {
        id: sideArea
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.margins: Theme.spacingLarge
        anchors.leftMargin: block.sideWidth > 0 ? Theme.spacingLarge : 0
        width: block.sideWidth
        height: block.sideWidth
    }
}
