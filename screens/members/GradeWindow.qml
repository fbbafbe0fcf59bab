import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "members.js" as Members

// "加入重要客户": the important-customer grade of the ticked members.
PopupWindow {
    id: gradeWindow
    objectName: "gradeWindow"
    title: "加入重要客户"
    panelWidth: 460
    panelHeight: 380

    property string grade: "-1"

    signal confirmed(string grade)

    function openAt(startGrade) {
        grade = startGrade
        open()
    }

    Column {
        anchors.fill: parent
        spacing: Theme.spacingSmall
        Repeater {
            model: Members.grades
            RadioDelegate {
                required property var modelData
                objectName: "grade_" + modelData.grade
                width: parent.width
                height: 44
                text: modelData.name
                icon.source: modelData.icon !== "" ? "qrc:/icon/icon/" + modelData.icon + ".png" : ""
                icon.color: "transparent"
                checked: gradeWindow.grade === modelData.grade
                onClicked: gradeWindow.grade = modelData.grade
            }
        }
        Text {
            width: parent.width
            wrapMode: Text.Wrap
            text: "注：重要客户分为三个等级，其中蓝冠等级最低，紫冠等级最高"
            font.pixelSize: Theme.fontSmall
            color: Theme.textSecondary
        }
    }
    WindowButtons {
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        confirmName: "gradeConfirm"
        cancelName: "gradeCancel"
        onConfirmed: gradeWindow.confirmed(gradeWindow.grade)
        onCancelled: gradeWindow.close()
    }
}
