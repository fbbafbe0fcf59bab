import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Controls 1.4 as Controls1

// A calendar in a pop-up; a click (or a release) chooses the day as "yyyy-MM-dd". The
// calendar is made only while the pop-up is open: built with every screen that offers a
// date, it would cost more than the screen.
Popup {
    id: picker

    // Limits and the day shown first; "" for none.
    property string minimumDate: ""
    property string maximumDate: ""
    property string selectedDate: ""

    signal chosen(string date)

    width: 320
    height: 300
    modal: true

    function toDate(text, fallback) {
        return text !== "" ? Date.fromLocaleString(Qt.locale(), text, "yyyy-MM-dd") : fallback
    }

    function choose(date) {
        picker.close()
        picker.chosen(Qt.formatDate(date, "yyyy-MM-dd"))
    }

    Loader {
        anchors.fill: parent
        active: picker.opened
        sourceComponent: Controls1.Calendar {
            objectName: picker.objectName + "Calendar"
            minimumDate: picker.toDate(picker.minimumDate, new Date(1900, 0, 1))
            maximumDate: picker.toDate(picker.maximumDate, new Date(2999, 11, 31))
            selectedDate: picker.toDate(picker.selectedDate, new Date())
            onClicked: function (date) { picker.choose(date) }
        }
    }
}
