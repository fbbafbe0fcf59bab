import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0

// The buttons at the foot of a pop-up window, in the terminal's one order: "确定" first, the
// window's action and highlighted, then "取消", which only closes the window. Every window
// that offers both puts them here, so they stand the same way round in every dialog.
Row {
    id: buttons

    property string confirmText: "确定"
    property string cancelText: "取消"
    property bool confirmEnabled: true
    // The buttons' names, for the tests that click them.
    property string confirmName: "confirmButton"
    property string cancelName: "cancelButton"

    signal confirmed()
    signal cancelled()

    spacing: Theme.spacingLarge

    Button {
        objectName: buttons.confirmName
        text: buttons.confirmText
        highlighted: true
        enabled: buttons.confirmEnabled
        onClicked: buttons.confirmed()
    }
    Button {
        objectName: buttons.cancelName
        text: buttons.cancelText
        onClicked: buttons.cancelled()
    }
}
