import QtQuick 2.15
import QtQuick.Dialogs 1.2

// Shown by the request piece when the backend answers 401: the worker's session has
// expired, and the only way on is to start the terminal again.
MessageDialog {
    objectName: "sessionTimeout"
    title: "登录超时"
    text: "您长时间没有操作，请重新登录"
    icon: StandardIcon.Critical
    standardButtons: StandardButton.Yes
    modality: Qt.ApplicationModal
    onYes: Qt.quit()
}
