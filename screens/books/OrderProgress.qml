import QtQuick 2.15
import Brenvo 1.0

// An order's progress line: "已下单", "已入库", "已洗完", "已签收", "已完成". A station its track
// reached shows the track's text in black, its time and the done mark, and the line before
// it turns green.
Row {
    id: line

    // books.js progress(): { name, lit, text, time } per station.
    property var stations: []

    Repeater {
        model: line.stations
        Row {
            id: station
            required property var modelData
            required property int index
            Rectangle {
                visible: station.index > 0
                y: 9
                width: 60
                height: 2
                color: station.modelData.lit ? Theme.success : Theme.line
            }
            Column {
                objectName: "station_" + station.modelData.name
                width: 110
                spacing: Theme.spacingTiny
                Image {
                    anchors.horizontalCenter: parent.horizontalCenter
                    width: 20
                    height: 20
                    source: "qrc:/icon/icon/done.png"
                    opacity: station.modelData.lit ? 1 : 0.25
                }
                Text {
                    objectName: "stationText"
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: station.modelData.text
                    font.pixelSize: Theme.fontNormal
                    color: station.modelData.lit ? Theme.text : Theme.textMuted
                }
                Text {
                    objectName: "stationTime"
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: station.modelData.lit ? Session.timerToDate(station.modelData.time) : ""
                    font.pixelSize: Theme.fontSmall
                    color: Theme.textSecondary
                }
            }
        }
    }
}
