import QtQuick 2.15
import Brenvo 1.0

// A row of tabs of the factory road's screens (the bag grid's statuses, the arrival's
// modes): `tabs` lists { label, and the value the tab stands for under `valueRole` }; the tab
// whose value is `current` is lit.
Row {
    id: bar

    property var tabs: []
    property string valueRole: "value"
    property var current
    property string namePrefix: "tab_"

    signal chosen(var value)

    spacing: Theme.spacingTiny

    Repeater {
        model: bar.tabs
        delegate: Rectangle {
            id: tab
            required property var modelData
            readonly property var value: modelData[bar.valueRole]
            readonly property bool lit: String(bar.current) === String(value)
            objectName: bar.namePrefix + (String(value) === "" ? "all" : value)
            width: label.implicitWidth + 2 * Theme.spacingLarge
            height: 40
            radius: Theme.radiusSmall
            color: lit ? Theme.primary : Theme.tabBar
            border.color: lit ? Theme.primary : Theme.line
            Text {
                id: label
                anchors.centerIn: parent
                text: tab.modelData.label
                font.pixelSize: Theme.fontNormal
                color: tab.lit ? Theme.textOnDark : Theme.tabText
            }
            MouseArea {
                anchors.fill: parent
                onClicked: bar.chosen(tab.value)
            }
        }
    }
}
