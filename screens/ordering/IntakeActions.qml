import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0

// The intake screen's order actions under the garment table: the carriage line, the
// management notes, and the buttons the order offers (Intake.buttons).
Column {
    id: actions
    spacing: Theme.spacingMedium

    property var offered: ({})
    property string carriageText: ""
    // The newest management note.
    property string latestNote: ""
    readonly property alias noteField: noteField

    signal addNote(string text)
    signal showNotes()
    signal waybill()
    signal modifyPrice()
    signal finish()
    signal allLabels()
    signal ticket()
    signal bag()
    signal pay()

    Text {
        objectName: "carriageText"
        width: parent.width
        text: actions.carriageText
        font.pixelSize: Theme.fontNormal
        color: Theme.warning
        elide: Text.ElideRight
    }

    Row {
        spacing: Theme.spacingMedium
        visible: actions.offered.order === true
        TextField {
            id: noteField
            objectName: "noteField"
            width: 300
            placeholderText: "请输入管理备注"
            maximumLength: 200
        }
        Button {
            objectName: "addNoteButton"
            text: "添加\n备注"
            onClicked: actions.addNote(noteField.text.trim())
        }
        Button {
            objectName: "showNotesButton"
            text: "查看备注"
            onClicked: actions.showNotes()
        }
        Text {
            objectName: "latestNote"
            anchors.verticalCenter: parent.verticalCenter
            width: 260
            text: actions.latestNote !== "" ? "管理备注：" + actions.latestNote : ""
            font.pixelSize: Theme.fontNormal
            color: Theme.textRegular
            elide: Text.ElideRight
        }
    }

    Flow {
        width: parent.width
        spacing: Theme.spacingMedium
        layoutDirection: Qt.RightToLeft
        Button {
            objectName: "payButton"; text: "收款"; visible: actions.offered.pay === true
            highlighted: true
            onClicked: actions.pay()
        }
        Button {
            objectName: "bagButton"; text: "入袋"; visible: actions.offered.bag === true
            onClicked: actions.bag()
        }
        Button {
            objectName: "ticketButton"; text: "打印小票"; visible: actions.offered.ticket === true
            onClicked: actions.ticket()
        }
        Button {
            objectName: "allLabelsButton"; text: "全打标"; visible: actions.offered.labels === true
            onClicked: actions.allLabels()
        }
        Button {
            objectName: "finishButton"; text: "完成入库"; visible: actions.offered.finish === true
            highlighted: true
            onClicked: actions.finish()
        }
        Button {
            objectName: "modifyPriceButton"; text: "修改总价"; visible: actions.offered.modifyPrice === true
            onClicked: actions.modifyPrice()
        }
        Button {
            objectName: "waybillButton"; text: "录工厂运单号"; visible: actions.offered.order === true
            onClicked: actions.waybill()
        }
    }
}
