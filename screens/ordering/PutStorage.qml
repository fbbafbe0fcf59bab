import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "screens.js" as Screens
import "intake.js" as Intake

// "入库": an order's garments are taken in here. Opened over the place-order form with the
// new order's number, from the menu waiting for a scanned or typed number, or from the order
// book. The order and customer on the left, the garments on the right, the order's actions
// below; each action reloads the order.
ScreenPage {
    id: page
    objectName: "PutStorage"
    enterFlag: "PutStorage"

    // From the place-order form: the new order and what the form knew of it.
    property string orderNumber: ""
    property string clothNum1: ""
    property string creatOrderTime: ""
    property string user_info_name: ""
    property string user_info_phone: ""
    property string user_card_cardNumber: ""
    property string user_card_level: ""
    property string user_ext_balance: ""
    property string user_card_RfidNumber: ""
    property string priority: ""

    // The message box; tests put a recorder in its place.
    property var messageBox: followUp.box
    // After a failed order: its actions are withdrawn until an order loads.
    property bool withdrawn: false
    // After a payment, until the order arrives again.
    property bool paidHere: false
    readonly property alias conversation: talk
    readonly property alias followUp: followUp
    readonly property alias orderField: orderField
    readonly property var offered: {
        var b = Intake.buttons(talk.flags, talk.orderNo, talk.rows.length)
        if (withdrawn) {
            b.finish = false
            b.modifyPrice = false
            b.pay = false
        }
        if (paidHere) {
            b.modifyPrice = false
            b.pay = false
            b.add = false
            b.paid = true
        }
        return b
    }

    Component.onCompleted: {
        orderField.forceActiveFocus()
        if (orderNumber !== "")
            talk.load(orderNumber)
    }

    function search() {
        var number = orderField.text
        if (number === "" || talk.backend.busy("OrderInfo"))
            return
        talk.load(number)
    }

    // Once the worker confirms the box, a failed order withdraws its actions; other failures
    // open the settings screen, where the printers and the terminal's options are chosen.
    function showError(purpose, text) {
        followUp.error(text, function () {
            if (purpose === "order") {
                page.withdrawn = true
                orderField.text = ""
            } else if (purpose === "settings") {
                Screens.open(page, "Setting", { backVisible: true })
            }
        })
    }

    // After a direct payment in the cashier.
    function loadPutStorage() {
        orderField.forceActiveFocus()
        paidHere = true
        talk.reload()
    }

    function openCashier() {
        var cashier = Screens.open(page, "Cashier", { orderId: talk.orderId, userIds: talk.userId, payFlags: "PutOrder" })
        if (cashier === null)
            return
        cashier.paid.connect(page.loadPutStorage)
        cashier.returned.connect(talk.reload)
    }

    function openGarmentEntry(code) {
        var entry = Screens.open(page, "ChooseClothInfo", { keywords: talk.orderNo, idofCloth: code })
        if (entry !== null)
            entry.garmentSaved.connect(talk.reload)
    }

    IntakeConversation {
        id: talk
        messageBox: page.messageBox
        onOrderLoaded: {
            orderField.text = ""
            page.withdrawn = false
            page.paidHere = false
        }
        onFailed: function (purpose, text) { page.showError(purpose, text) }
        onRemarkAdded: page.noteField.text = ""
        onCodeBound: bindWindow.close()
    }

    FollowUpBox { id: followUp; messageBox: page.messageBox }

    // --- The order field -------------------------------------------------------------------

    Row {
        id: searchRow
        anchors.left: page.backButton.right
        anchors.leftMargin: Theme.spacingLarge
        y: Theme.spacingMedium
        spacing: Theme.spacingMedium
        TextField {
            id: orderField
            objectName: "orderField"
            width: 320
            placeholderText: "运单号/订单号"
            font.pixelSize: Theme.fontMedium
            maximumLength: 25
            validator: RegularExpressionValidator { regularExpression: /\d*/ }
            Keys.onReturnPressed: if (Session.enterFlag === "PutStorage") page.search()
            Keys.onEnterPressed: if (Session.enterFlag === "PutStorage") page.search()
        }
        Button {
            objectName: "searchButton"
            text: "搜索"
            onClicked: page.search()
        }
    }

    IntakeOrderBlock {
        id: orderBlock
        objectName: "orderBlock"
        x: Theme.spacingLarge
        anchors.top: searchRow.bottom
        anchors.topMargin: Theme.spacingMedium
        anchors.bottom: parent.bottom
        anchors.bottomMargin: Theme.spacingLarge
        width: 300
        info: talk.info
        shown: talk.orderNo !== ""
        paid: page.offered.paid
        onPriceClicked: priceWindow.open()
    }

    // --- The garments --------------------------------------------------------------------------

    Item {
        id: garmentArea
        anchors.left: orderBlock.right
        anchors.leftMargin: Theme.spacingMedium
        anchors.right: parent.right
        anchors.rightMargin: Theme.spacingLarge
        anchors.top: orderBlock.top
        anchors.bottom: actionArea.top
        anchors.bottomMargin: Theme.spacingMedium

        Text {
            id: countsText
            objectName: "countsText"
            text: Intake.countsText(talk.rows)
            font.pixelSize: Theme.fontBody
            color: Theme.textRegular
            anchors.verticalCenter: addButton.verticalCenter
        }
        Button {
            id: addButton
            objectName: "addGarmentButton"
            anchors.right: parent.right
            text: "添加衣物"
            visible: page.offered.add
            onClicked: page.openGarmentEntry("")
        }
        IntakeGarmentTable {
            id: garmentTable
            objectName: "garmentTable"
            anchors.top: addButton.bottom
            anchors.topMargin: Theme.spacingSmall
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            rows: talk.rows
            labels: page.offered.labels
            electronicLabel: Session.isElectronicLabel === 1
            onChangeClicked: function (row) { page.openGarmentEntry(row.scanCode) }
            onCopyClicked: function (row) { talk.copyGarment(row) }
            onDeleteClicked: function (row) { talk.deleteGarment(row.id) }
            onPhotoClicked: function (row) { photoWindow.start(row) }
            onLabelClicked: function (row) { talk.printLabel(row.id) }
            onBindClicked: function (row) { bindWindow.start(row.id) }
        }
    }

    IntakeActions {
        id: actionArea
        objectName: "actionArea"
        anchors.left: garmentArea.left
        anchors.right: garmentArea.right
        anchors.bottom: parent.bottom
        anchors.bottomMargin: Theme.spacingLarge
        offered: page.offered
        carriageText: talk.orderNo !== "" ? Intake.carriageLine(talk.carriage) : ""
        latestNote: talk.notes.length > 0 ? talk.notes[0].remark : ""
        onAddNote: function (text) {
            if (text !== "" && talk.orderId !== "")
                talk.addRemark(text)
        }
        onShowNotes: remarksWindow.open()
        onWaybill: waybillWindow.open()
        onModifyPrice: priceInput.open()
        onFinish: talk.finish()
        onAllLabels: talk.printAllLabels()
        onTicket: talk.printTicket()
        onBag: bagWindow.start()
        onPay: page.openCashier()
    }
    property alias noteField: actionArea.noteField

    // --- Windows -------------------------------------------------------------------------------

    IntakePriceWindow { id: priceWindow; objectName: "priceWindow"; info: talk.info }
    IntakeRemarksWindow { id: remarksWindow; objectName: "remarksWindow"; notes: talk.notes }
    ClothInputWindow {
        id: priceInput
        objectName: "modifyPriceWindow"
        title: "修改为"
        suffix: "元"
        maximumLength: 21
        validator: RegularExpressionValidator { regularExpression: /\d[\d.]{0,20}/ }
        onAccepted: function (text) {
            var total = Intake.newTotal(text)
            if (total.refusal !== "")
                followUp.error(total.refusal)
            if (isNaN(total.fen) || total.refusal !== "")
                return
            priceInput.close()
            talk.modifyPrice(total.fen)
        }
    }
    ClothInputWindow {
        id: waybillWindow
        objectName: "waybillWindow"
        title: "录入运单号"
        maximumLength: 35
        validator: RegularExpressionValidator { regularExpression: /\d*/ }
        onAccepted: function (text) {
            if (text === "")
                return
            waybillWindow.close()
            talk.setWaybill(text)
        }
    }
    BindCodeWindow {
        id: bindWindow
        objectName: "bindWindow"
        request: talk.request
        onConfirmed: function (garmentId, code) { talk.bind(garmentId, code) }
    }
    BagWindow {
        id: bagWindow
        objectName: "bagWindow"
        conversation: talk
        orderNo: talk.orderNo
        garmentCount: Intake.counts(talk.rows).garments
        accessoryCount: Intake.counts(talk.rows).accessories
        onBagged: talk.reload()
    }
    PhotoWindow {
        id: photoWindow
        objectName: "photoWindow"
        conversation: talk
        onDone: talk.reload()
        onFailed: function (purpose, text) { page.showError(purpose, text) }
    }

    LoadingShade { visible: talk.loading }
}
