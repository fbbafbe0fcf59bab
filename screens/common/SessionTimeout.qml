import QtQuick 2.15
import QtQuick.Dialogs 1.2

// Shown by a working screen when the backend answers 401: the worker's session has
// expired, and the only way on is to start the terminal again.
MessageDialog {
    title: "登录超时"
    text: "您长时间没有操作，请重新登录"
    icon: StandardIcon.Critical
    standardButtons: StandardButton.Yes
    modality: Qt.ApplicationModal
    onYes: Qt.quit()

    // Opens the dialog when `httpCode` is 401; true when it did.
    function check(httpCode) {
        if (Number(httpCode) !== 401)
            return false
        open()
        return true
    }
}
