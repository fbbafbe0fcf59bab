import QtQuick 2.15
import QtQuick.Dialogs 1.2
import Brenvo 1.0

// The refusal of a login: the backend's message, kept in Session.errormsg.
MessageDialog {
    objectName: "errorDialog"
    title: "错误提示"
    text: Session.errormsg + ",请重新输入"
    icon: StandardIcon.Critical
    standardButtons: StandardButton.Yes
    modality: Qt.ApplicationModal
}
