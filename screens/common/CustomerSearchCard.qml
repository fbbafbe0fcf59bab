import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0

// The card of a screen that finds a customer: its title, a tab for a typed key and one for a
// card on the reader, the key field with "搜索", and the reader's prompt. The screen owns the
// mode and does the searching.
Rectangle {
    id: searchCard

    property alias title: titleText.text
    // The typed-key tab's text, also the field's placeholder.
    property alias keyModeText: keyModeButton.text
    property alias keyModeWidth: keyModeButton.width
    property bool cardMode: false
    readonly property alias field: searchField
    readonly property alias searchRow: searchRow

    // "搜索", or Enter in the field.
    signal searchRequested()
    signal keyModeChosen()
    signal cardModeChosen()

    width: 640
    height: 420
    radius: Theme.radiusLarge
    color: Theme.card
    border.color: Theme.border

    Text {
        id: titleText
        font.pixelSize: Theme.fontHeading
        color: Theme.text
        anchors.horizontalCenter: searchCard.horizontalCenter
        anchors.top: searchCard.top
        anchors.topMargin: Theme.spacingHuge
    }

    Row {
        id: tabs
        spacing: Theme.spacingLarge
        anchors.horizontalCenter: searchCard.horizontalCenter
        anchors.top: titleText.bottom
        anchors.topMargin: Theme.spacingLarge
        Button {
            id: keyModeButton
            objectName: "keyModeButton"
            width: 160
            font.pixelSize: Theme.fontMedium
            highlighted: !searchCard.cardMode
            onClicked: {
                searchCard.keyModeChosen()
                searchField.forceActiveFocus()
            }
        }
        Button {
            objectName: "cardModeButton"
            text: "刷卡"
            width: 160
            font.pixelSize: Theme.fontMedium
            highlighted: searchCard.cardMode
            onClicked: searchCard.cardModeChosen()
        }
    }

    Row {
        id: searchRow
        visible: !searchCard.cardMode
        spacing: Theme.spacingMedium
        anchors.horizontalCenter: searchCard.horizontalCenter
        anchors.top: tabs.bottom
        anchors.topMargin: Theme.spacingHuge
        TextField {
            id: searchField
            objectName: "searchField"
            width: 380
            height: 50
            font.pixelSize: Theme.fontTitle
            placeholderText: keyModeButton.text
            maximumLength: 25
            // Phones and order numbers are digits; member card numbers carry letters (VIP0001).
            validator: RegularExpressionValidator { regularExpression: /[0-9A-Za-z]{0,25}/ }
            focus: true
            Keys.onReturnPressed: searchCard.searchRequested()
            Keys.onEnterPressed: searchCard.searchRequested()
        }
        Button {
            objectName: "searchButton"
            text: "搜索"
            width: 110
            height: 50
            font.pixelSize: Theme.fontLarge
            onClicked: searchCard.searchRequested()
        }
    }

    Column {
        id: cardPromptColumn
        visible: searchCard.cardMode
        spacing: Theme.spacingMedium
        anchors.horizontalCenter: searchCard.horizontalCenter
        anchors.top: tabs.bottom
        anchors.topMargin: Theme.spacingLarge
        Image {
            source: "qrc:/icon/icon/RFIDshow.png"
            anchors.horizontalCenter: cardPromptColumn.horizontalCenter
        }
        Text {
            objectName: "cardPrompt"
            text: "请将卡放入感应区"
            font.pixelSize: Theme.fontLarge
            color: Theme.textFaint
            anchors.horizontalCenter: cardPromptColumn.horizontalCenter
        }
    }
}
