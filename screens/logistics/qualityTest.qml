import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "screens.js" as Screens
import "quality.js" as Quality

// "质检": garments back from the factory are checked before they are handed back. In the
// garment mode a scanned garment shows its record; its accessories are checked one by one or
// all at once, then it passes ("合格", at once when accessories need no check), gets its
// certificate and, when slots are typed, its order's slot; or it goes back to be washed
// again. In the order mode a whole order is checked. The mode is kept in setting/quality.ini;
// the tab "上挂" switches to the rail through the menu.
ScreenPage {
    id: page
    objectName: "qualityTest"
    enterFlag: "Quality"

    // The message box; tests put a recorder in its place.
    property var messageBox: followUp.box
    property int qualityFlag: Quality.modeOf(Session.qualityFlagM)
    // setting/register.ini "1": the worker types the order's slot; setting/isCheck.ini "0":
    // accessories need no check.
    readonly property bool manualSlots: String(Session.iniRegister).trim() === "1"
    readonly property bool checkAnnexes: String(Session.ischecks).trim() !== "0"
    readonly property var actions: Quality.garmentActions(talk.record, manualSlots, checkAnnexes)
    readonly property bool garmentShown: talk.record.id !== undefined
    readonly property bool orderShown: talk.order.orderId !== undefined
    // The garment's place among its order's garments passed, as last heard.
    property var place: ({ index: "", total: "" })

    readonly property alias conversation: talk
    readonly property alias followUp: followUp
    readonly property alias scanField: scanField
    readonly property alias slotWindow: slotWindow
    readonly property alias garmentView: garmentView
    readonly property alias orderView: orderView

    // "上挂": the menu opens the rail instead.
    signal tohangup()

    Component.onCompleted: scanField.focusField()

    function setMode(flag) {
        if (flag === qualityFlag)
            return
        qualityFlag = flag
        Session.qualityFlagM = String(flag)
        if (!settingsFile.write(String(flag)))
            console.warn(Logs.logistics, "setting/quality.ini could not be written")
        talk.record = {}
        talk.order = {}
        scanField.focusField()
    }

    function scanned(code) {
        if (qualityFlag === Quality.orderMode)
            talk.searchOrder(code)
        else
            talk.query(code)
    }

    // A garment shown: a packed one without a slot asks for it when slots are typed; one that
    // needs no accessory check passes at once. Otherwise the scanner's next code goes where
    // the garment needs it: its accessories', or the next garment's (a click on "合格" or
    // "全部核对" took the keyboard).
    function recordShown() {
        var r = talk.record
        var offered = Quality.garmentActions(r, manualSlots, checkAnnexes)
        place = { index: String(r.proIndex), total: String(r.proTotal) }
        if (offered.askSlot && !slotWindow.visible)
            slotWindow.ask()
        else if (offered.autoPass)
            talk.pass(r.scanCode, manualSlots)
        else if (offered.checkAll)
            garmentView.focusAnnexField()
        else if (!slotWindow.visible)
            scanField.focusField()
    }

    function garmentPassed(data) {
        var next = Quality.afterPass(data, manualSlots)
        place = { index: next.index, total: next.total }
        if (next.askSlot)
            slotWindow.ask()
        else if (next.allSlotted)
            slotWindow.tellAllSlotted(next.slot)
        talk.printCertificate(talk.record.id, talk.refresh)
    }

    function slotSet(slot) {
        if (place.index !== "" && place.index === place.total)
            slotWindow.tellAllSlotted(slot)
        else
            slotWindow.close()
        talk.refresh()
    }

    function openSettings() {
        Screens.open(page, "Setting", { backVisible: true })
    }

    QualityConversation {
        id: talk
        messageBox: page.messageBox
        onRecordLoaded: page.recordShown()
        onPassed: function (data) { page.garmentPassed(data) }
        onReworked: followUp.info("提示", "衣物返洗成功", talk.refresh)
        onSlotSet: function (slot) { page.slotSet(slot) }
        onFailed: function (text) { followUp.error(text) }
        onPrinterMissing: followUp.error(Quality.warning("未设置合格证打印机"), page.openSettings)
    }

    FollowUpBox { id: followUp; messageBox: page.messageBox }

    SettingsFile { id: settingsFile; source: "setting/quality.ini" }

    // --- Tabs, mode and the scan field -------------------------------------------------------

    Row {
        id: tabs
        x: 140
        y: 16
        spacing: Theme.spacingSmall
        Button {
            objectName: "qualityTab"
            text: "质检"
            highlighted: true
        }
        Button {
            objectName: "hangUpTab"
            text: "上挂"
            onClicked: {
                // Closed first: the keyboard and the Enter flag go back before the other
                // screen opens in its place.
                page.close()
                page.tohangup()
            }
        }
    }

    Row {
        id: searchRow
        x: 20
        anchors.top: tabs.bottom
        anchors.topMargin: Theme.spacingLarge
        spacing: Theme.spacingMedium
        Repeater {
            model: Quality.modes
            Button {
                required property var modelData
                objectName: "mode_" + modelData.flag
                text: modelData.label
                highlighted: page.qualityFlag === modelData.flag
                onClicked: page.setMode(modelData.flag)
            }
        }
        ScanField {
            id: scanField
            objectName: "qualityScan"
            placeholderText: Quality.modes[page.qualityFlag].placeholder
            fieldWidth: 320
            onScanned: function (code) { page.scanned(code) }
        }
    }

    QualityGarmentView {
        id: garmentView
        objectName: "garmentView"
        visible: page.qualityFlag === Quality.garmentMode && page.garmentShown
        anchors.top: searchRow.bottom
        anchors.topMargin: Theme.spacingLarge
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: Theme.spacingLarge
        record: talk.record
        actions: page.actions
        onAnnexScanned: function (code) { talk.checkAnnex(code, talk.record.id) }
        onCheckAllClicked: talk.checkAllAnnexes(talk.record.id)
        onPassClicked: talk.pass(talk.record.scanCode, page.manualSlots)
        onReworkClicked: talk.rework(talk.record.id)
        onCertificateClicked: talk.printCertificate(talk.record.id, talk.refresh)
        onTicketClicked: talk.prints.printTicket(talk.record.orderId)
    }

    QualityOrderView {
        id: orderView
        objectName: "orderView"
        visible: page.qualityFlag === Quality.orderMode && page.orderShown
        anchors.top: searchRow.bottom
        anchors.topMargin: Theme.spacingLarge
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: Theme.spacingLarge
        order: talk.order
        onGarmentScanned: function (code) { talk.passInOrder(code) }
        onPassClicked: function (scanCode) { talk.passInOrder(scanCode) }
        onReworkClicked: function (garmentId) { talk.reworkInOrder(garmentId) }
        onCertificateClicked: function (garmentId) { talk.printCertificate(garmentId) }
        onPassAllClicked: talk.passOrder()
        onReworkAllClicked: talk.reworkOrder()
        onTicketClicked: talk.prints.printTicket(talk.order.orderId)
    }

    QualitySlotWindow {
        id: slotWindow
        onSlotTyped: function (slot) { talk.setSlot(talk.record.orderId, slot) }
        onClosed: scanField.focusField()
    }

    LoadingShade { visible: talk.loading }
}
