import QtQuick 2.15
import QtQuick.Controls 2.15
import BVMessageBox 1.0
import Brenvo 1.0
import "logistics.js" as Logistics
import "money.js" as Money

// "进厂批次": one factory bag, opened over the bag grid. While the bag is open the staff fill
// it: a scanned garment code goes in at once (the scanner types the code and Enter), "添加衣物"
// chooses from the garments waiting for a bag, "移除" takes the chosen ones out, "移入另一批次"
// moves them to another open bag. "批次完成" closes the bag; its label prints from then on.
ScreenPage {
    id: page
    objectName: "IntoFactoryBatch"
    enterFlag: "NewBatch"

    // From the grid: the bag shown.
    property string codeId: ""
    property var messageBox: mMessageBox
    // The chosen garments of the bag, in click order.
    property var clothArray: []
    readonly property var bag: talk.bag
    readonly property string batchId: bag.id === undefined ? "" : String(bag.id)
    readonly property string isFinish: bag.isFinish === undefined ? "" : String(bag.isFinish)
    readonly property bool bagOpen: isFinish === "0"
    readonly property string otherBatchId: moveWindow.chosenId
    readonly property var weights: [3, 3, 3, 4, 2, 2, 2]
    readonly property alias conversation: talk
    readonly property alias followUp: followUp
    readonly property alias scanField: scanField
    readonly property alias garmentList: garmentList
    readonly property alias waitingWindow: waitingWindow
    readonly property alias moveWindow: moveWindow

    // The grid shows itself again and reads its first page.
    signal returned()

    Component.onCompleted: {
        talk.load()
        scanField.focusField()
    }
    onBackClicked: returned()

    function leave() {
        returned()
        close()
    }

    function reload() {
        clothArray = []
        talk.load()
    }

    function toggle(id) {
        clothArray = Logistics.flipped(clothArray, [String(id)])
    }

    // "全选": every row's choice turns over.
    function flipAll() {
        clothArray = Logistics.flipped(clothArray, talk.garments.map(function (g) { return String(g.id) }))
    }

    // The chosen garments, handed on; the choice starts over.
    function takeChosen() {
        var ids = clothArray
        clothArray = []
        return ids
    }

    function takeOut() {
        if (clothArray.length === 0) {
            followUp.info("提示", "请先选择衣物")
            return
        }
        talk.takeOut(takeChosen())
    }

    function openMove() {
        if (clothArray.length === 0) {
            followUp.info("提示", "请先选择衣物")
            return
        }
        moveWindow.start()
    }

    // With no other open bag there is no target: nothing is sent.
    function moveTo(targetId) {
        if (targetId === "" || clothArray.length === 0)
            return
        talk.move(targetId, takeChosen())
    }

    function addWaiting(ids) {
        waitingWindow.addClothArray = []
        talk.addChosen(ids)
    }

    function enterPressed() {
        if (Session.enterFlag === "NewBatch" && page.bagOpen)
            scanField.submit()
    }

    Keys.onReturnPressed: enterPressed()
    Keys.onEnterPressed: enterPressed()

    component Detail: Text {
        width: parent.width
        wrapMode: Text.WordWrap
        font.pixelSize: Theme.fontNormal
        color: Theme.textRegular
    }

    IntoFactoryBatchConversation {
        id: talk
        codeId: page.codeId
        messageBox: page.messageBox
        onBagFailed: function (text) { followUp.error(text, page.leave) }
        onGarmentsFailed: function (text) { followUp.error(text, talk.loadGarments) }
        onTold: function (text) { followUp.error(text) }
        onLabelRefused: function (text) { followUp.info("提示", text) }
        onAdded: waitingWindow.close()
        onWaitingReceived: function (rows) { waitingWindow.received(rows) }
        onWaitingFailed: waitingWindow.list.failed()
        onBagsReceived: function (rows, count) {
            moveWindow.received(Logistics.moveTargets(rows, page.bag.code), count)
        }
        onBagsFailed: moveWindow.bags.failed()
    }

    BVMessageBox { id: mMessageBox }
    FollowUpBox { id: followUp; messageBox: page.messageBox }

    Text {
        id: title
        text: "进厂批次"
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.top: parent.top
        anchors.topMargin: Theme.spacingLarge
        font.pixelSize: Theme.fontTitle
        font.bold: true
        color: Theme.textStrong
    }

    // The bag: its code and QR picture, where it has been, what it holds, what it offers.
    Rectangle {
        id: card
        anchors.left: parent.left
        anchors.top: title.bottom
        anchors.bottom: parent.bottom
        anchors.margins: Theme.spacingLarge
        width: 300
        radius: Theme.radiusLarge
        color: Theme.card
        border.color: Theme.line

        Column {
            anchors.fill: parent
            anchors.margins: Theme.spacingLarge
            spacing: Theme.spacingSmall
            QrPicture {
                objectName: "bagQr"
                anchors.horizontalCenter: parent.horizontalCenter
                width: 160
                height: 160
                code: page.bag.code || ""
            }
            Text {
                objectName: "bagCode"
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                text: "袋号：" + (page.bag.code || "")
                font.pixelSize: Theme.fontMedium
                font.bold: true
                color: Theme.textStrong
            }
            Detail {
                objectName: "bagCourier"
                text: "物流人员：" + Logistics.courierText(page.bag.logisticsWorkName, page.bag.logisticsWorkPhone)
            }
            Detail { text: "收取时间：" + Session.timerToDate(page.bag.logisticsWorkTime) }
            Detail { text: "门店：" + (page.bag.storeName || "") + "  " + Session.timerToDate(page.bag.storeWorkTime) }
            Detail { text: "工厂：" + (page.bag.factoryName || "") + "  " + Session.timerToDate(page.bag.factoryWorkTime) }
            Detail { objectName: "bagStatus"; text: "状态：" + (page.bag.statusText || "") }
            Text {
                objectName: "bagTotal"
                text: "共" + Logistics.garmentCount(page.bag) + "件"
                font.pixelSize: Theme.fontLarge
                font.bold: true
                color: Theme.text
            }
            Row {
                spacing: Theme.spacingMedium
                Button {
                    objectName: "completeButton"
                    text: "批次完成"
                    highlighted: true
                    visible: page.isFinish === "0"
                    onClicked: talk.complete()
                }
                Button {
                    objectName: "printButton"
                    text: "打印袋号"
                    visible: page.isFinish === "1"
                    onClicked: talk.label.print(page.codeId)
                }
            }
        }
    }

    // Hidden once the bag is completed: nothing of it changes any more.
    Row {
        id: actions
        objectName: "actionBar"
        anchors.left: card.right
        anchors.top: card.top
        anchors.leftMargin: Theme.spacingLarge
        spacing: Theme.spacingMedium
        visible: page.bagOpen
        height: visible ? implicitHeight : 0
        Button { objectName: "flipAllButton"; text: "全选"; onClicked: page.flipAll() }
        Button { objectName: "addButton"; text: "添加衣物"; onClicked: waitingWindow.start() }
        Button { objectName: "takeOutButton"; text: "移除"; onClicked: page.takeOut() }
        Button { objectName: "moveButton"; text: "移入另一批次"; onClicked: page.openMove() }
        ScanField {
            id: scanField
            anchors.verticalCenter: parent.verticalCenter
            placeholderText: "衣物条码"
            fieldWidth: 220
            onScanned: function (code) { talk.scan(code) }
        }
    }

    FactoryGarmentRow {
        id: header
        anchors.left: actions.left
        anchors.right: parent.right
        anchors.top: actions.bottom
        anchors.topMargin: page.bagOpen ? Theme.spacingMedium : 0
        anchors.rightMargin: Theme.spacingLarge
        header: true
        weights: page.weights
        values: ["衣物", "订单号", "衣物条码号", "入库时间", "状态", "小计", "服务"]
    }

    ListView {
        id: garmentList
        objectName: "garmentList"
        anchors.left: header.left
        anchors.right: header.right
        anchors.top: header.bottom
        anchors.bottom: parent.bottom
        anchors.bottomMargin: Theme.spacingLarge
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {}
        model: talk.garments
        delegate: FactoryGarmentRow {
            required property var modelData
            objectName: "garment_" + modelData.id
            width: garmentList.width
            weights: page.weights
            values: [modelData.productName, modelData.orderNo, modelData.scanCode, Session.timerToDate(modelData.createTime),
                     modelData.proStatusText, Money.fenToYuan(modelData.subtotal), modelData.serviceName]
            selected: page.clothArray.indexOf(String(modelData.id)) >= 0
            onClicked: if (page.bagOpen) page.toggle(modelData.id)
        }
    }

    WaitingGarmentsWindow {
        id: waitingWindow
        onPageRequested: function (fields) { talk.requestWaiting(fields) }
        onConfirmed: function (ids) { page.addWaiting(ids) }
    }

    BagChoiceWindow {
        id: moveWindow
        objectName: "moveWindow"
        title: "移入另一袋号"
        onPageRequested: function (fields) { talk.requestBags(fields) }
        onChosen: function (bagId) { page.moveTo(bagId) }
    }

    LoadingShade { visible: talk.loading }
}
