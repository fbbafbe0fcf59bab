import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0

// "新建分组": a name for a group of this screen's list; the owner refuses a name it has.
PopupWindow {
    id: groupWindow
    objectName: "newGroupWindow"
    title: "新建分组"
    panelWidth: 400
    panelHeight: 260

    property alias name: nameField.text

    signal confirmed(string name)

    onVisibleChanged: {
        if (visible) {
            nameField.text = ""
            nameField.forceActiveFocus()
        }
    }

    Column {
        anchors.fill: parent
        spacing: Theme.spacingMedium
        TextField {
            id: nameField
            objectName: "newGroupName"
            width: parent.width
            focus: true
            placeholderText: "请输入分组名称"
            maximumLength: 20
            onAccepted: confirmButton.clicked()
        }
    }
    Button {
        id: confirmButton
        objectName: "newGroupConfirm"
        text: "确定"
        highlighted: true
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        onClicked: {
            if (nameField.text.trim() !== "")
                groupWindow.confirmed(nameField.text.trim())
        }
    }
}
