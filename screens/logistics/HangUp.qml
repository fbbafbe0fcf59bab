import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "quality.js" as Quality

// "上挂": garments back in the store are hung on the store's rail, one to a position. A
// scanned garment shows its order, its customer and its garments with their positions; the
// scanned garment's rail input opens by itself while it is not hung, any other opens with a
// click on its position, and "整单上挂" hangs the whole order from one number on. The tab "质检"
// switches to the quality check through the menu.
ScreenPage {
    id: page
    objectName: "HangUp"
    enterFlag: "HangUp"

    // The message box; tests put a recorder in its place.
    property var messageBox: followUp.box
    // The garment whose rail input is open ("" for none).
    property string openRowId: ""
    property bool wholeOrderOpen: false
    readonly property var rows: Quality.railRows(talk.order)
    readonly property bool orderShown: talk.order.orderId !== undefined

    readonly property alias conversation: talk
    readonly property alias followUp: followUp
    readonly property alias scanField: scanField
    readonly property alias garmentList: garmentList

    // "质检": the menu opens the quality check instead.
    signal toquality()

    Component.onCompleted: scanField.focusField()

    // Read from the order itself: the bindings on it may not have caught up yet.
    function showOrder() {
        wholeOrderOpen = false
        openRowId = Quality.openRow(Quality.railRows(talk.order), talk.scannedCode)
        if (openRowId === "")
            scanField.focusField()
    }

    function closeRow() {
        openRowId = ""
        scanField.focusField()
    }

    function hangOrder() {
        var typed = wholeOrderField.text.trim()
        wholeOrderOpen = false
        if (Quality.railNumberPattern.test(typed))
            talk.hangOrder(typed)
        scanField.focusField()
    }

    HangUpConversation {
        id: talk
        messageBox: page.messageBox
        onOrderChanged: page.showOrder()
        onFailed: function (text) { followUp.error(text) }
    }

    FollowUpBox { id: followUp; messageBox: page.messageBox }

    // --- Tabs and the scan field -------------------------------------------------------------

    Row {
        id: tabs
        x: 140
        y: 16
        spacing: Theme.spacingSmall
        Button {
            objectName: "hangUpTab"
            text: "上挂"
            highlighted: true
        }
        Button {
            objectName: "qualityTab"
            text: "质检"
            onClicked: {
                // Closed first: the keyboard and the Enter flag go back before the other
                // screen opens in its place.
                page.close()
                page.toquality()
            }
        }
    }

    Row {
        id: searchRow
        x: 20
        anchors.top: tabs.bottom
        anchors.topMargin: Theme.spacingLarge
        spacing: Theme.spacingMedium
        ScanField {
            id: scanField
            objectName: "hangUpScan"
            placeholderText: "衣物条码"
            buttonText: "搜索"
            fieldWidth: 320
            onScanned: function (code) { talk.search(code, code) }
        }
        Text {
            objectName: "searchNotice"
            anchors.verticalCenter: parent.verticalCenter
            text: talk.notice
            font.pixelSize: Theme.fontNormal
            color: Theme.danger
        }
    }

    // --- The order ---------------------------------------------------------------------------

    OrderCustomerBlock {
        id: header
        objectName: "orderBlock"
        visible: page.orderShown
        anchors.top: searchRow.bottom
        anchors.topMargin: Theme.spacingLarge
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.leftMargin: Theme.spacingLarge
        anchors.rightMargin: Theme.spacingLarge
        height: implicitHeight
        order: talk.order
    }

    Row {
        id: orderTools
        visible: page.orderShown
        anchors.top: header.bottom
        anchors.topMargin: Theme.spacingMedium
        anchors.left: header.left
        spacing: Theme.spacingSmall
        Button {
            objectName: "wholeOrderButton"
            text: "整单上挂"
            onClicked: {
                page.openRowId = ""
                page.wholeOrderOpen = true
                wholeOrderField.text = ""
                wholeOrderField.forceActiveFocus()
            }
        }
        TextField {
            id: wholeOrderField
            objectName: "wholeOrderField"
            visible: page.wholeOrderOpen
            width: 160
            placeholderText: "滑轨号"
            maximumLength: 25
            validator: RegularExpressionValidator { regularExpression: /\d*/ }
            onAccepted: page.hangOrder()
        }
        Button {
            objectName: "wholeOrderConfirm"
            visible: page.wholeOrderOpen
            text: "确定"
            onClicked: page.hangOrder()
        }
        Button {
            objectName: "ticketButton"
            text: "打小票"
            onClicked: talk.prints.printTicket(talk.order.orderId)
        }
        Text {
            objectName: "allHungText"
            visible: Quality.allHung(page.rows)
            anchors.verticalCenter: parent.verticalCenter
            text: "已操作【上挂】"
            font.pixelSize: Theme.fontMedium
            font.bold: true
            color: Theme.success
        }
    }

    ListView {
        id: garmentList
        objectName: "garmentList"
        visible: page.orderShown
        anchors.top: orderTools.bottom
        anchors.topMargin: Theme.spacingMedium
        anchors.left: header.left
        anchors.right: header.right
        anchors.bottom: parent.bottom
        anchors.bottomMargin: Theme.spacingLarge
        clip: true
        spacing: Theme.spacingTiny
        // A short order stays put under the scanner's hand.
        interactive: Quality.items(talk.order).length > 10
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {}
        model: page.rows
        delegate: HangUpRow {
            required property var modelData
            width: garmentList.width - 12
            garment: modelData
            open: page.openRowId === String(modelData.id)
            onOpenRequested: {
                page.wholeOrderOpen = false
                page.openRowId = String(modelData.id)
            }
            onRailTyped: function (shelfNo) {
                page.openRowId = ""
                talk.hang(modelData, shelfNo)
            }
            onCloseRequested: page.closeRow()
        }
    }

    LoadingShade { visible: talk.loading }
}
