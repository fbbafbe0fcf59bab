import QtQuick 2.15
import Brenvo 1.0
import "settingoptions.js" as Options

// "参数设置": three rows, each showing its current choice; a row opens its option page
// (`parameterNo`), whose "返回" leads back to the rows.
Item {
    id: page

    // The chosen entry of each list of settingoptions.js, -1 for none.
    property var choices: [-1, -1, -1, -1]
    property int parameterNo: 0
    property bool optionOpen: false

    signal chosen(int list, int choice)

    function rowText(row) {
        var texts = []
        for (var i = 0; i < Options.rows[row].lists.length; ++i) {
            var list = Options.rows[row].lists[i]
            texts.push(Options.labelOf(list, page.choices[list]))
        }
        return texts.join(" / ")
    }

    function open(row) {
        page.parameterNo = row
        page.optionOpen = true
    }

    Column {
        objectName: "optionRows"
        width: page.width
        visible: !page.optionOpen

        Repeater {
            model: Options.rows

            delegate: SettingRow {
                id: row
                required property int index
                required property var modelData

                objectName: "optionRow" + index
                width: page.width
                label: modelData.label
                onClicked: page.open(row.index)

                Text {
                    objectName: "optionValue"
                    anchors.right: parent.right
                    anchors.rightMargin: Theme.spacingLarge
                    anchors.verticalCenter: parent.verticalCenter
                    text: page.rowText(row.index) + "  >"
                    font.pixelSize: Theme.fontMedium
                    color: Theme.textMuted
                }
            }
        }
    }

    Column {
        objectName: "optionPage"
        width: page.width
        visible: page.optionOpen

        Rectangle {
            objectName: "backButton"
            width: 120
            height: 44

            Image {
                id: backIcon
                x: Theme.spacingLarge
                width: 24
                height: 24
                anchors.verticalCenter: parent.verticalCenter
                source: "qrc:/icon/icon/goback.png"
            }
            Text {
                anchors.left: backIcon.right
                anchors.leftMargin: Theme.spacingSmall
                anchors.verticalCenter: parent.verticalCenter
                text: "返回"
                font.pixelSize: Theme.fontMedium
                color: Theme.action
            }
            MouseArea {
                anchors.fill: parent
                onClicked: page.optionOpen = false
            }
        }

        Repeater {
            model: Options.rows[page.parameterNo].lists

            delegate: SettingChoiceList {
                id: choiceList
                required property int modelData

                objectName: "optionList" + modelData
                width: page.width
                caption: Options.rows[page.parameterNo].lists.length > 1
                         ? (modelData === 1 ? "上架方式" : "附件核对") : ""
                labels: Options.lists[modelData].labels
                current: page.choices[modelData]
                onChosen: function (index, label) { page.chosen(choiceList.modelData, index) }
            }
        }
    }
}
