import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "orderheader.js" as Header

// "标签": the customer's tags over all tags. Clicking one of all tags toggles it in the
// customer's set, "添加" adds the typed text as a new tag, "确定" hands over the set as the
// text userInfo/updateTag takes.
PopupWindow {
    id: tagWindow
    objectName: "tagWindow"
    title: "标签"
    panelWidth: 600

    // [{ id, name }]
    property var customerTags: []
    property var allTags: []

    signal confirmed(string tags)

    function has(tag) {
        for (var i = 0; i < customerTags.length; ++i)
            if (String(customerTags[i].id) === String(tag.id) && customerTags[i].name === tag.name)
                return true
        return false
    }

    function toggle(tag) { customerTags = Header.toggleTag(customerTags, tag) }

    function addTyped() {
        var name = newTag.text.trim()
        if (name === "")
            return
        customerTags = customerTags.concat([{ id: "", name: name }])
        newTag.text = ""
    }

    component TagChip: Rectangle {
        id: chip
        property string label
        property bool on: false
        signal clicked()
        width: chipText.width + 2 * Theme.spacingMedium
        height: 30
        radius: height / 2
        color: on ? Theme.primary : Theme.neutralLight
        Text {
            id: chipText
            anchors.centerIn: parent
            text: chip.label
            font.pixelSize: Theme.fontNormal
            color: chip.on ? Theme.textOnDark : Theme.textRegular
        }
        MouseArea { anchors.fill: parent; onClicked: chip.clicked() }
    }

    Column {
        anchors.fill: parent
        spacing: Theme.spacingMedium
        Text { text: "顾客标签"; font.pixelSize: Theme.fontBody; color: Theme.textSecondary }
        Flow {
            objectName: "customerTagFlow"
            width: parent.width
            spacing: Theme.spacingSmall
            Repeater {
                model: tagWindow.customerTags
                TagChip {
                    required property var modelData
                    label: modelData.name
                    on: true
                    onClicked: tagWindow.toggle(modelData)
                }
            }
        }
        Text { text: "所有标签"; font.pixelSize: Theme.fontBody; color: Theme.textSecondary }
        Flow {
            objectName: "allTagFlow"
            width: parent.width
            spacing: Theme.spacingSmall
            Repeater {
                model: tagWindow.allTags
                TagChip {
                    required property var modelData
                    label: modelData.name
                    on: tagWindow.has(modelData)
                    onClicked: tagWindow.toggle(modelData)
                }
            }
        }
        Row {
            spacing: Theme.spacingMedium
            TextField {
                id: newTag
                objectName: "newTagField"
                width: 240
                placeholderText: "新标签"
                maximumLength: 20
            }
            Button {
                objectName: "addTagButton"
                text: "添加"
                onClicked: tagWindow.addTyped()
            }
        }
    }
    Button {
        objectName: "tagConfirm"
        text: "确定"
        width: 120
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        onClicked: tagWindow.confirmed(Header.tagsText(tagWindow.customerTags))
    }
}
