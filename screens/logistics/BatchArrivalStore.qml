import QtQuick 2.15
import QtQuick.Controls 2.15
import BVMessageBox 1.0
import Brenvo 1.0
import "logistics.js" as Logistics

// "到店": garments back from the factory confirmed in the store, in one of three ways kept in
// setting/asMode.ini: by batch (scan the batch, then each garment, or confirm all), by order
// (scan the order, then each garment, or confirm all), or garment by garment, each confirmed
// as it is scanned. A garment code that is not waiting to be confirmed sends nothing.
ScreenPage {
    id: page
    objectName: "BatchArrivalStore"
    enterFlag: "BatchArrival"
    backVisible: false

    // 0 by batch, 1 by order, 2 garment by garment.
    property int asMode: 0
    property var messageBox: mMessageBox
    // What the last scan that sent nothing was.
    property string note: ""
    readonly property var mode: Logistics.arrivalModes[asMode]
    readonly property alias conversation: talk
    readonly property alias followUp: followUp
    readonly property alias firstField: firstField
    readonly property alias garmentField: garmentField
    readonly property alias pendingList: pendingPanel.list
    readonly property alias confirmedList: confirmedPanel.list

    Component.onCompleted: {
        asMode = Logistics.arrivalMode(modeFile.read())
        firstField.focusField()
    }

    // A mode chosen is kept for the next start; what the last one showed goes.
    function chooseMode(mode) {
        if (!modeFile.write(String(mode)))
            console.warn(Logs.logistics, "setting/asMode.ini could not be written")
        asMode = mode
        note = ""
        talk.clear()
        firstField.focusField()
    }

    // The batch, the order or (mode 2) the garment.
    function firstScanned(code) {
        garmentField.field.text = ""
        note = ""
        if (asMode === 0)
            talk.receiveBatch(code)
        else if (asMode === 1)
            talk.findOrder(code)
        else
            talk.confirmGarment(code)
    }

    // A garment of the batch or order: only one still to confirm is sent.
    function garmentScanned(code) {
        firstField.field.text = ""
        var row = Logistics.pendingByCode(talk.pending, code)
        if (row === null) {
            note = "衣物条码 " + code + " 不在待确认列表中"
            return
        }
        note = ""
        if (asMode === 0)
            talk.confirmInBatch(String(row.id))
        else
            talk.confirmInOrder(String(row.id))
    }

    function confirmAll() {
        if (asMode === 0)
            talk.confirmInBatch("")
        else if (asMode === 1)
            talk.confirmInOrder("")
    }

    component Info: Text {
        font.pixelSize: Theme.fontBody
        color: Theme.textRegular
    }

    SettingsFile { id: modeFile; source: "setting/asMode.ini" }

    BatchArrivalConversation {
        id: talk
        messageBox: page.messageBox
        onScanned: garmentField.focusField()
        onTold: function (text) { followUp.error(text) }
        // A confirmation whose answer was lost goes again unchanged when the worker confirms
        // the box; a refused one shows the lists as they are now.
        onConfirmFailed: function (text, unreachable, retry, reload) { followUp.error(text, unreachable ? retry : reload) }
    }

    BVMessageBox { id: mMessageBox }
    FollowUpBox { id: followUp; messageBox: page.messageBox }

    Text {
        id: title
        text: "到店"
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.top: parent.top
        anchors.topMargin: Theme.spacingLarge
        font.pixelSize: Theme.fontTitle
        font.bold: true
        color: Theme.textStrong
    }

    LogisticsTabs {
        id: modes
        objectName: "arrivalModes"
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.top: title.bottom
        anchors.topMargin: Theme.spacingMedium
        tabs: Logistics.arrivalModes
        valueRole: "mode"
        current: page.asMode
        namePrefix: "mode_"
        onChosen: function (value) { page.chooseMode(value) }
    }

    Row {
        id: fields
        anchors.left: parent.left
        anchors.top: modes.bottom
        anchors.margins: Theme.spacingLarge
        spacing: Theme.spacingHuge
        ScanField {
            id: firstField
            objectName: "firstField"
            placeholderText: page.mode.placeholder
            onScanned: function (code) { page.firstScanned(code) }
        }
        ScanField {
            id: garmentField
            objectName: "garmentField"
            visible: page.asMode !== 2
            placeholderText: "衣物条码"
            onScanned: function (code) { page.garmentScanned(code) }
        }
    }

    Row {
        id: origin
        objectName: "arrivalOrigin"
        anchors.left: parent.left
        anchors.top: fields.bottom
        anchors.margins: Theme.spacingLarge
        spacing: Theme.spacingHuge
        Info {
            objectName: "scannedNumber"
            visible: page.asMode !== 2
            text: page.asMode === 0 ? "批次号：" + talk.batchNo : "订单号：" + talk.orderNo
        }
        Info { objectName: "factoryName"; text: "工厂：" + talk.factoryName }
        Info { objectName: "storeName"; text: "门店：" + talk.storeName }
        Info { objectName: "factoryTime"; text: "出厂时间：" + Session.timerToDate(talk.factoryTime) }
        Info { objectName: "operatorName"; text: "操作人：" + talk.operatorName }
    }

    Text {
        id: noteLine
        objectName: "arrivalNote"
        anchors.left: parent.left
        anchors.top: origin.bottom
        anchors.leftMargin: Theme.spacingLarge
        anchors.topMargin: Theme.spacingSmall
        height: Theme.fontBody + Theme.spacingSmall
        text: page.note
        font.pixelSize: Theme.fontBody
        color: Theme.danger
    }

    ArrivalPanel {
        id: pendingPanel
        objectName: "pendingPanel"
        anchors.left: parent.left
        anchors.top: noteLine.bottom
        anchors.bottom: parent.bottom
        anchors.margins: Theme.spacingLarge
        width: (parent.width - 3 * Theme.spacingLarge) / 2
        title: page.mode.pendingTitle
        rows: talk.pending
        confirmAllShown: page.asMode !== 2 && talk.pending.length > 0
        onConfirmAllClicked: page.confirmAll()
    }

    ArrivalPanel {
        id: confirmedPanel
        objectName: "confirmedPanel"
        anchors.right: parent.right
        anchors.top: pendingPanel.top
        anchors.bottom: pendingPanel.bottom
        anchors.rightMargin: Theme.spacingLarge
        width: pendingPanel.width
        title: "已确认到店衣物"
        rows: talk.confirmed
    }

    Connections {
        target: confirmedPanel.list
        // The garment confirmed last is in sight.
        function onCountChanged() { confirmedPanel.list.positionViewAtEnd() }
    }
}
