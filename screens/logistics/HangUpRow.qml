import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "quality.js" as Quality

// One garment of the order on the rail screen: its name, code, rail type and position ("未上挂"
// while it has none). A click on the position opens the rail input; "确定" hangs the garment
// at the number typed, or closes the input when none is.
FocusScope {
    id: row

    property var garment: ({})
    property bool open: false

    // The position was clicked.
    signal openRequested()
    signal railTyped(string shelfNo)
    signal closeRequested()

    readonly property alias railField: railField

    objectName: "garment_" + garment.scanCode
    height: 46

    onOpenChanged: {
        railField.text = ""
        if (open)
            Qt.callLater(takeKeyboard)
    }
    Component.onCompleted: {
        if (open)
            Qt.callLater(takeKeyboard)
    }

    // Once the list has laid its rows out: it hands the keyboard to its current row as it
    // makes them.
    function takeKeyboard() {
        if (open)
            railField.forceActiveFocus()
    }

    function confirm() {
        var typed = railField.text.trim()
        if (typed === "")
            closeRequested()
        else if (Quality.railNumberPattern.test(typed))
            railTyped(typed)
    }

    component Cell: Text {
        font.pixelSize: Theme.fontNormal
        color: Theme.textRegular
        elide: Text.ElideRight
        anchors.verticalCenter: parent.verticalCenter
    }

    Rectangle {
        anchors.fill: parent
        radius: Theme.radiusMedium
        color: row.open ? Theme.selected : Theme.card
        border.color: row.open ? Theme.primary : Theme.line
    }

    Row {
        anchors.fill: parent
        anchors.leftMargin: Theme.spacingMedium
        spacing: Theme.spacingLarge
        Cell { width: 180; text: row.garment.productName || ""; color: Theme.textStrong; font.bold: true }
        Cell { width: 120; text: row.garment.scanCode || "" }
        Cell { width: 140; text: row.garment.statusText || "" }
        Cell { objectName: "railType"; width: 60; text: Quality.railType(row.garment.tranTypeName) }
        Cell {
            objectName: "position"
            visible: !row.open
            width: 80
            text: Quality.positionText(row.garment)
            color: text === "未上挂" ? Theme.danger : Theme.primary
            MouseArea {
                anchors.fill: parent
                onClicked: row.openRequested()
            }
        }
        TextField {
            id: railField
            objectName: "railField"
            visible: row.open
            width: 160
            anchors.verticalCenter: parent.verticalCenter
            placeholderText: "滑轨号"
            maximumLength: 25
            validator: RegularExpressionValidator { regularExpression: /\d*/ }
            onAccepted: row.confirm()
        }
        Button {
            objectName: "railConfirm"
            visible: row.open
            anchors.verticalCenter: parent.verticalCenter
            text: "确定"
            onClicked: row.confirm()
        }
    }
}
