import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "books.js" as Books

// The time filter of the store's lists: "所有", "今天", "近7天", "近30天", and the two dates
// with "至" between them, which the calendars set directly (the start never after the end, the
// end never after today). A choice or a picked date tells the list (`changed`).
Row {
    id: filter
    spacing: Theme.spacingSmall

    // The choice shown ("" after a date was picked) and the dates it stands for ("yyyy-MM-dd",
    // "" for none).
    property string choice: Books.defaultTime
    property string startDate: ""
    property string endDate: ""
    readonly property string today: Books.dateText(new Date())

    signal changed()

    Component.onCompleted: set(choice)

    // Shows `c` and its dates, without telling the list.
    function set(c) {
        var range = Books.timeRange(c, new Date())
        choice = c
        startDate = range.start
        endDate = range.end
    }

    function choose(c) {
        set(c)
        changed()
    }

    function pick(start, end) {
        choice = ""
        startDate = start
        endDate = end
        changed()
    }

    component DateField: Rectangle {
        id: dateField
        property string date: ""
        signal clicked()
        width: 120
        height: 34
        radius: Theme.radiusSmall
        color: Theme.card
        border.color: Theme.lineInput
        Text {
            anchors.centerIn: parent
            text: dateField.date !== "" ? dateField.date : "选择日期"
            font.pixelSize: Theme.fontNormal
            color: dateField.date !== "" ? Theme.text : Theme.textMuted
        }
        MouseArea { anchors.fill: parent; onClicked: dateField.clicked() }
    }

    Text {
        anchors.verticalCenter: parent.verticalCenter
        text: "创建时间"
        font.pixelSize: Theme.fontNormal
        color: Theme.textRegular
    }
    Repeater {
        model: Books.timeChoices
        Button {
            required property string modelData
            objectName: "time_" + modelData
            text: modelData
            highlighted: filter.choice === modelData
            onClicked: filter.choose(modelData)
        }
    }
    DateField {
        id: startField
        objectName: "startDate"
        anchors.verticalCenter: parent.verticalCenter
        date: filter.startDate
        onClicked: startPicker.open()
        DatePickerPopup {
            id: startPicker
            objectName: "startPicker"
            y: parent.height
            maximumDate: filter.endDate !== "" ? filter.endDate : filter.today
            selectedDate: filter.startDate
            onChosen: function (date) { filter.pick(date, filter.endDate) }
        }
    }
    Text {
        anchors.verticalCenter: parent.verticalCenter
        text: "至"
        font.pixelSize: Theme.fontNormal
        color: Theme.textRegular
    }
    DateField {
        objectName: "endDate"
        anchors.verticalCenter: parent.verticalCenter
        date: filter.endDate
        onClicked: endPicker.open()
        DatePickerPopup {
            id: endPicker
            objectName: "endPicker"
            y: parent.height
            minimumDate: filter.startDate
            maximumDate: filter.today
            selectedDate: filter.endDate
            onChosen: function (date) { filter.pick(filter.startDate, date) }
        }
    }
}
