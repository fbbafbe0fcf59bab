import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "orderheader.js" as Header

// The order header being composed: how the garments come and go back, dates and slot,
// addresses, pieces, garment mark and the two notes.
Rectangle {
    id: form
    objectName: "orderHeaderForm"
    color: Theme.card
    border.color: Theme.line
    radius: Theme.radiusMedium

    property int takeMode: 1
    property int sendMode: 1
    readonly property int priority: 0
    property string takeDate: Qt.formatDate(new Date(), "yyyy-MM-dd")
    property string sendDate: takeDate
    property string takeTimeStart: "08:00"
    property string takeTimeEnd: "10:00"
    property string takeAddrId: ""
    property string sendAddrId: ""
    property var takeAddrLines: ["", ""]
    property var sendAddrLines: ["", ""]
    property alias pieces: piecesField.text
    property alias mark: markField.text
    property alias userRemark: userRemarkField.text
    property alias remark: remarkField.text

    signal chooseAddress()
    signal addAddress()
    signal chooseSlot()
    signal chooseMark()
    signal submit()

    function setTakeMode(mode) {
        takeMode = mode
        sendMode = mode
    }

    function setAddress(a) {
        takeAddrId = a ? String(a.id) : ""
        sendAddrId = takeAddrId
        takeAddrLines = Header.addressLines(a)
        sendAddrLines = takeAddrLines
    }

    function setTakeDate(date) {
        takeDate = date
        sendDate = Header.sendDateAfterTake(takeDate, sendDate)
    }

    function stepPieces(delta) { pieces = Header.stepPieces(pieces, delta) }

    function dateLabel(date) {
        return Qt.formatDate(Date.fromLocaleString(Qt.locale(), date, "yyyy-MM-dd"), "MM-dd ddd")
    }

    component RowLabel: Text {
        width: 90
        font.pixelSize: Theme.fontBody
        color: Theme.textRegular
        anchors.verticalCenter: parent ? parent.verticalCenter : undefined
    }
    component ModeButton: Button {
        property bool on: false
        checkable: false
        highlighted: on
        width: 130
        font.pixelSize: Theme.fontBody
    }

    Column {
        id: rows
        anchors.fill: parent
        anchors.margins: Theme.spacingLarge
        spacing: Theme.spacingMedium

        Row {
            spacing: Theme.spacingMedium
            RowLabel { text: "取件方式" }
            ModeButton {
                objectName: "takeMode1"
                text: "顾客送到店"
                on: form.takeMode === 1
                onClicked: form.setTakeMode(1)
            }
            ModeButton {
                objectName: "takeMode2"
                text: "上门取件"
                on: form.takeMode === 2
                onClicked: form.setTakeMode(2)
            }
        }
        Row {
            spacing: Theme.spacingMedium
            visible: form.takeMode === 2
            RowLabel { text: "取件时间" }
            Button {
                objectName: "takeDateButton"
                text: form.dateLabel(form.takeDate)
                onClicked: { datePopup.forSend = false; datePopup.open() }
            }
            Button {
                objectName: "takeSlotButton"
                text: form.takeTimeStart + " - " + form.takeTimeEnd
                onClicked: form.chooseSlot()
            }
        }
        Row {
            spacing: Theme.spacingMedium
            visible: form.takeMode === 2
            RowLabel { text: "取件地址" }
            Column {
                width: 360
                Text { objectName: "takeAddrLine1"; text: form.takeAddrLines[0]; font.pixelSize: Theme.fontNormal }
                Text { text: form.takeAddrLines[1]; font.pixelSize: Theme.fontSmall; color: Theme.textSecondary; width: 360; elide: Text.ElideRight }
            }
            Button { objectName: "takeAddrChoose"; text: "选择地址"; onClicked: form.chooseAddress() }
            Button { objectName: "addAddressButton"; text: "添加地址"; onClicked: form.addAddress() }
        }
        Row {
            spacing: Theme.spacingMedium
            RowLabel { text: "送件方式" }
            ModeButton {
                objectName: "sendMode1"
                text: "顾客到店取"
                on: form.sendMode === 1
                onClicked: form.sendMode = 1
            }
            ModeButton {
                objectName: "sendMode2"
                text: "上门送件"
                on: form.sendMode === 2
                onClicked: form.sendMode = 2
            }
        }
        Row {
            spacing: Theme.spacingMedium
            visible: form.sendMode === 2
            RowLabel { text: "送件时间" }
            Button {
                objectName: "sendDateButton"
                text: form.dateLabel(form.sendDate)
                onClicked: { datePopup.forSend = true; datePopup.open() }
            }
        }
        Row {
            spacing: Theme.spacingMedium
            visible: form.sendMode === 2
            RowLabel { text: "送件地址" }
            Column {
                width: 360
                Text { objectName: "sendAddrLine1"; text: form.sendAddrLines[0]; font.pixelSize: Theme.fontNormal }
                Text { text: form.sendAddrLines[1]; font.pixelSize: Theme.fontSmall; color: Theme.textSecondary; width: 360; elide: Text.ElideRight }
            }
            Button { objectName: "sendAddrChoose"; text: "选择地址"; onClicked: form.chooseAddress() }
        }
        Row {
            spacing: Theme.spacingMedium
            RowLabel { text: "下单件数" }
            Button { objectName: "piecesMinus"; text: "-"; width: 40; onClicked: form.stepPieces(-1) }
            TextField {
                id: piecesField
                objectName: "piecesField"
                width: 100
                horizontalAlignment: Text.AlignHCenter
                validator: RegularExpressionValidator { regularExpression: /(10000|\d{0,4})/ }
            }
            Button { objectName: "piecesPlus"; text: "+"; width: 40; onClicked: form.stepPieces(1) }
        }
        Row {
            spacing: Theme.spacingMedium
            RowLabel { text: "衣物标记" }
            TextField { id: markField; objectName: "markField"; width: 300 }
            Button { objectName: "markChoose"; text: "选择"; onClicked: form.chooseMark() }
        }
        Row {
            spacing: Theme.spacingMedium
            RowLabel { text: "客户备注" }
            TextField { id: userRemarkField; objectName: "userRemarkField"; width: 460 }
        }
        Row {
            spacing: Theme.spacingMedium
            RowLabel { text: "备注管理" }
            TextField { id: remarkField; objectName: "remarkField"; width: 460 }
        }
    }

    Button {
        objectName: "submitOrder"
        text: "提交下单"
        width: 160
        height: 48
        font.pixelSize: Theme.fontMainButton
        highlighted: true
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: Theme.spacingLarge
        onClicked: form.submit()
    }

    // Take date from today on; send date from the take date on.
    DatePickerPopup {
        id: datePopup
        objectName: "datePopup"
        property bool forSend: false
        x: 110
        y: 60
        minimumDate: forSend ? form.takeDate : Qt.formatDate(new Date(), "yyyy-MM-dd")
        onChosen: function (date) {
            if (forSend)
                form.sendDate = date
            else
                form.setTakeDate(date)
        }
    }
}
