import QtQuick 2.15
import Brenvo 1.0
import "reports.js" as Reports
import "money.js" as Money

// The takings of the days (or months) up to the one shown, a bar each, oldest on the left; the
// bar of the one shown stands out. The pointer over a bar tells its day and amount; a click
// shows that day's (month's) report.
Item {
    id: chart

    // [{date, amount}] oldest first, as Reports.trendOf reads them.
    property var list: []
    // The date of the bar that stands out.
    property string shown: ""
    readonly property var bars: Reports.bars(list, Math.max(0, plot.height))
    property int pointed: -1

    signal barClicked(string date)

    // The largest amount, over the plot.
    Text {
        id: scale
        objectName: "trendScale"
        anchors.left: parent.left
        anchors.top: parent.top
        text: chart.list.length > 0
              ? "¥" + Money.fenToYuan(chart.list.reduce(function (m, e) { return Math.max(m, e.amount) }, 0))
              : ""
        font.pixelSize: Theme.fontSmall
        color: Theme.textMuted
    }
    Text {
        objectName: "trendPointed"
        anchors.right: parent.right
        anchors.top: parent.top
        visible: chart.pointed >= 0 && chart.pointed < chart.list.length
        text: visible ? chart.list[chart.pointed].date + "  ¥" + Money.fenToYuan(chart.list[chart.pointed].amount) : ""
        font.pixelSize: Theme.fontSmall
        color: Theme.text
    }

    Item {
        id: plot
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: scale.bottom
        anchors.bottom: labels.top
        anchors.topMargin: Theme.spacingTiny
        readonly property real step: chart.bars.length > 0 ? width / chart.bars.length : width

        // One slot per bar, kept from one report to the next (only a change of how many bars
        // makes them anew): a refresh moves 30 rectangles instead of building them again.
        Repeater {
            model: chart.bars.length
            delegate: Item {
                id: slot
                required property int index
                readonly property var bar: chart.bars[index] || ({ date: "", top: 0, height: 0, below: false })
                objectName: "bar_" + bar.date
                x: index * plot.step
                width: plot.step
                height: plot.height
                Rectangle {
                    objectName: "barFill"
                    anchors.horizontalCenter: parent.horizontalCenter
                    y: slot.bar.top
                    width: Math.max(2, plot.step * 0.6)
                    height: slot.bar.height
                    radius: Theme.radiusSmall / 2
                    color: slot.bar.below ? Theme.chartBarBelow
                         : slot.bar.date === chart.shown ? Theme.chartBarShown : Theme.chartBar
                }
                MouseArea {
                    anchors.fill: parent
                    hoverEnabled: true
                    cursorShape: Qt.PointingHandCursor
                    onContainsMouseChanged: {
                        if (containsMouse)
                            chart.pointed = slot.index
                        else if (chart.pointed === slot.index)
                            chart.pointed = -1
                    }
                    onClicked: chart.barClicked(slot.bar.date)
                }
            }
        }
        Rectangle {
            objectName: "trendBaseline"
            width: parent.width
            height: 1
            y: chart.bars.length > 0 ? chart.bars[0].top + (chart.bars[0].below ? 0 : chart.bars[0].height) : plot.height
            color: Theme.line
        }
    }

    Item {
        id: labels
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: Theme.fontSmall + Theme.spacingTiny
        Repeater {
            model: chart.bars.length
            delegate: Text {
                required property int index
                readonly property var bar: chart.bars[index] || ({ date: "", label: "" })
                x: index * plot.step
                width: plot.step
                horizontalAlignment: Text.AlignHCenter
                anchors.bottom: parent.bottom
                text: bar.label
                font.pixelSize: Theme.fontTiny
                color: bar.date === chart.shown ? Theme.textStrong : Theme.textMuted
            }
        }
    }
}
