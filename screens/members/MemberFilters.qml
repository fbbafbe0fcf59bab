import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0

// The member list's side: card levels ("全部用户" first) and groups with their member counts
// ("全部分组", "默认分组", then the merchant's), one of each marked; "新建分组" below.
Rectangle {
    id: filters
    color: Theme.card
    radius: Theme.radiusMedium

    // [{ id, label }] and [{ id, name, cnt }]
    property var levels: []
    property var groups: []
    property string levelId: ""
    property string groupId: ""

    signal levelClicked(string id)
    signal groupClicked(string id)
    signal newGroupClicked()

    component Entry: Rectangle {
        id: entry
        property string label
        property bool chosen: false
        signal clicked()
        width: parent ? parent.width : 0
        height: 40
        color: chosen ? Theme.selected : Theme.card
        Text {
            anchors.verticalCenter: parent.verticalCenter
            x: Theme.spacingMedium
            width: parent.width - 2 * Theme.spacingMedium
            elide: Text.ElideRight
            text: entry.label
            font.pixelSize: Theme.fontBody
            color: entry.chosen ? Theme.primary : Theme.text
        }
        MouseArea { anchors.fill: parent; onClicked: entry.clicked() }
    }

    Flickable {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.bottom: newGroupButton.top
        anchors.bottomMargin: Theme.spacingSmall
        contentHeight: column.height
        clip: true
        Column {
            id: column
            width: parent.width
            Text {
                x: Theme.spacingMedium
                height: 40
                verticalAlignment: Text.AlignVCenter
                text: "会员卡等级"
                font.pixelSize: Theme.fontMedium
                font.bold: true
                color: Theme.textStrong
            }
            Repeater {
                objectName: "levelList"
                model: filters.levels
                Entry {
                    required property var modelData
                    objectName: "level_" + modelData.id
                    label: modelData.label
                    chosen: filters.levelId === modelData.id
                    onClicked: filters.levelClicked(modelData.id)
                }
            }
            Text {
                x: Theme.spacingMedium
                height: 40
                verticalAlignment: Text.AlignVCenter
                text: "会员分组"
                font.pixelSize: Theme.fontMedium
                font.bold: true
                color: Theme.textStrong
            }
            Repeater {
                objectName: "groupList"
                model: filters.groups
                Entry {
                    required property var modelData
                    objectName: "group_" + modelData.name
                    label: modelData.name + "(" + modelData.cnt + ")"
                    chosen: filters.groupId === modelData.id
                    onClicked: filters.groupClicked(modelData.id)
                }
            }
        }
    }
    Button {
        id: newGroupButton
        objectName: "newGroupButton"
        text: "新建分组"
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: Theme.spacingMedium
        onClicked: filters.newGroupClicked()
    }
}
