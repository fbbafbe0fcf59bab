import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "books.js" as Books

// A filter of the store's lists whose choices open below it ("全部…" first). Opening it tells
// the list (`opening`: the choices may be loaded then); a click on a choice chooses it.
Row {
    id: filter
    spacing: Theme.spacingSmall

    property string label: ""
    // [{ text, val }], the first one "all" with the empty value.
    property var choices: []
    property string value: ""
    readonly property alias popup: popup

    signal opening()
    signal chosen(string val)

    Text {
        anchors.verticalCenter: parent.verticalCenter
        text: filter.label
        font.pixelSize: Theme.fontNormal
        color: Theme.textRegular
    }
    Button {
        id: button
        objectName: filter.objectName + "Button"
        width: 150
        text: Books.choiceText(filter.choices, filter.value) || (filter.choices.length > 0 ? filter.choices[0].text : "")
        onClicked: {
            filter.opening()
            popup.open()
        }

        Popup {
            id: popup
            objectName: filter.objectName + "Popup"
            y: button.height
            width: 180
            padding: Theme.spacingTiny
            Column {
                width: parent.width
                Repeater {
                    model: filter.choices
                    ItemDelegate {
                        required property var modelData
                        objectName: "choice_" + modelData.text
                        width: parent.width
                        text: modelData.text
                        highlighted: modelData.val === filter.value
                        onClicked: {
                            popup.close()
                            filter.chosen(modelData.val)
                        }
                    }
                }
            }
        }
    }
}
