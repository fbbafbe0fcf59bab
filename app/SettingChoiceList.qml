import QtQuick 2.15
import Brenvo 1.0

// A list of choices of which one is ticked (blue tick); -1 ticks none.
Column {
    id: list

    property var labels: []
    property int current: -1
    // A caption above the entries ("" shows none).
    property string caption: ""

    signal chosen(int index, string label)

    width: parent ? parent.width : 600

    Text {
        visible: list.caption !== ""
        height: visible ? 40 : 0
        verticalAlignment: Text.AlignVCenter
        leftPadding: 20
        text: list.caption
        font.pixelSize: Theme.fontNormal
        color: Theme.textMuted
    }

    Repeater {
        model: list.labels

        delegate: SettingRow {
            id: entry
            required property int index
            required property string modelData

            objectName: "choice_" + modelData
            width: list.width
            height: 50
            label: modelData
            onClicked: list.chosen(entry.index, entry.modelData)

            Image {
                objectName: "tick"
                anchors.right: parent.right
                anchors.rightMargin: Theme.spacingLarge
                anchors.verticalCenter: parent.verticalCenter
                width: 20
                height: 20
                visible: entry.index === list.current
                source: "qrc:/icon/icon/blueyes.png"
            }
        }
    }
}
