import QtQuick 2.15
import QtQuick.Controls 2.15
import "orderheader.js" as Header

// The customer's group, chosen from "默认分组" and the backend's groups; opened for the
// garment mark ("请选择衣物标记") it leaves "默认分组" out.
PopupWindow {
    id: groupWindow
    objectName: "groupWindow"
    title: markMode ? "请选择衣物标记" : "分组"
    panelHeight: 420

    property bool markMode: false
    property var groups: []
    property string currentId: ""
    readonly property var choices: Header.groupChoices(groups, !markMode)

    signal chosen(string id, string name, bool forMark)

    function choose() {
        for (var i = 0; i < choices.length; ++i)
            if (String(choices[i].id) === currentId) {
                chosen(currentId, choices[i].name, markMode)
                return
            }
        close()
    }

    ListView {
        id: list
        objectName: "groupList"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.bottom: confirmButton.top
        anchors.bottomMargin: Theme.spacingMedium
        clip: true
        model: groupWindow.choices
        delegate: RadioDelegate {
            required property var modelData
            width: list.width
            text: modelData.name
            checked: String(modelData.id) === groupWindow.currentId
            onClicked: groupWindow.currentId = String(modelData.id)
        }
    }
    Button {
        id: confirmButton
        objectName: "groupConfirm"
        text: "确定"
        width: 120
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        onClicked: groupWindow.choose()
    }
}
