import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "intake.js" as Intake

// "入袋": puts an order's garments into an open factory bag. The garments not in a bag yet
// are chosen at the start (a click toggles them); the store's open bags are listed ten at a
// time; "新建袋号" makes a new bag; "加入袋号" puts the chosen garments into the chosen bag.
PopupWindow {
    id: window
    title: "入袋"
    panelWidth: 920
    panelHeight: 620

    // The screen's conversation (the intake's or the order book's: its `backend` and
    // `write(tag, path, fields, done)`): the bag window's replies are the screen's, and so are
    // its writes.
    property var conversation: null
    readonly property var backend: conversation !== null ? conversation.backend : null
    property string orderNo: ""
    property int garmentCount: 0
    property int accessoryCount: 0

    // Intake.bagChoice of the order's garments.
    property var items: []
    property string chosenBagId: ""
    property var listedBags: []
    readonly property alias bagList: bags

    // Garments went into a bag.
    signal bagged()

    function start() {
        items = []
        chosenBagId = ""
        open()
        loadGarments()
    }

    function loadGarments() {
        backend.call("GetClothList", "orderProductRel/proList", { keywords: orderNo }, function (reply) {
            window.items = Intake.bagChoice(window.backend.listOf(reply,
                ["id", "productName", "scanCode", "batchInCode"], 1))
            bags.reload()
        })
    }

    function loadBags(fields) {
        fields.isFinish = "0"
        backend.call("GetBatchList", "orderProductBatchIn/list", fields, function (reply) {
            var page = window.backend.listOf(reply, ["id", "code", "productCnt", "annexCnt", "isFinish"], 1)
            if (bags.page === 1)
                window.listedBags = []
            var fresh = Intake.openBags(window.listedBags, page)
            window.listedBags = window.listedBags.concat(fresh)
            bags.received(fresh, page.length)
        }, function (reply) {
            console.log(Logs.ordering, "GetBatchList: " + reply)
            bags.failed()
        })
    }

    function createBag() {
        conversation.write("CreateBag", "orderProductBatchIn/add", {}, function () {
            window.chosenBagId = ""
            bags.reload()
        })
    }

    function addToBag() {
        var ids = Intake.chosenIds(items)
        if (chosenBagId === "" || ids === "")
            return
        conversation.write("AddInBag", "orderProductBatchInRel/addBatch", { inId: chosenBagId, orderProIds: ids },
                           function () {
                               window.chosenBagId = ""
                               window.loadGarments()
                               window.bagged()
                           })
    }

    Text {
        id: header
        objectName: "bagHeader"
        text: "单号：" + window.orderNo + "    " + Intake.bagHeader(window.garmentCount, window.accessoryCount)
        font.pixelSize: Theme.fontBody
        color: Theme.textRegular
    }

    ListView {
        id: garments
        objectName: "bagGarments"
        anchors.top: header.bottom
        anchors.topMargin: Theme.spacingMedium
        anchors.bottom: bagButtons.top
        anchors.bottomMargin: Theme.spacingMedium
        width: parent.width / 2 - Theme.spacingMedium
        clip: true
        spacing: Theme.spacingSmall
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {}
        model: window.items
        delegate: Rectangle {
            id: garmentRow
            required property var modelData
            required property int index
            objectName: "bagGarment_" + garmentRow.index
            width: garments.width
            height: 56
            radius: Theme.radiusSmall
            color: garmentRow.modelData.chosen ? Theme.selected : Theme.cardAlt
            border.color: garmentRow.modelData.chosen ? Theme.primary : Theme.line
            Column {
                anchors.verticalCenter: parent.verticalCenter
                x: Theme.spacingMedium
                Text {
                    text: garmentRow.modelData.position + "  " + garmentRow.modelData.productName
                    font.pixelSize: Theme.fontBody
                    color: Theme.text
                }
                Text {
                    text: garmentRow.modelData.scanCode + (garmentRow.modelData.bagged ? "    已入袋 " + garmentRow.modelData.bagCode : "")
                    font.pixelSize: Theme.fontSmall
                    color: garmentRow.modelData.bagged ? Theme.textMuted : Theme.textSecondary
                }
            }
            MouseArea {
                anchors.fill: parent
                onClicked: window.items = Intake.toggled(window.items, garmentRow.index)
            }
        }
    }

    PagedList {
        id: bags
        objectName: "bagList"
        anchors.top: header.bottom
        anchors.topMargin: Theme.spacingMedium
        anchors.bottom: bagButtons.top
        anchors.bottomMargin: Theme.spacingMedium
        anchors.right: parent.right
        width: parent.width / 2 - Theme.spacingMedium
        pageSize: 10
        spacing: Theme.spacingSmall
        onPageRequested: function (page, fields) { window.loadBags(fields) }
        delegate: Rectangle {
            id: bagRow
            required property var model
            required property int index
            readonly property string bagId: model.id
            objectName: "bag_" + bagRow.index
            width: bags.width
            height: 52
            radius: Theme.radiusSmall
            color: window.chosenBagId === bagId ? Theme.selected : Theme.cardAlt
            border.color: window.chosenBagId === bagId ? Theme.primary : Theme.line
            Text {
                objectName: "bagText"
                anchors.verticalCenter: parent.verticalCenter
                x: Theme.spacingMedium
                text: "袋号：" + bagRow.model.code + "    衣物件数:" + Intake.bagCount(bagRow.model)
                font.pixelSize: Theme.fontBody
                color: Theme.text
            }
            MouseArea {
                anchors.fill: parent
                onClicked: window.chosenBagId = bagRow.bagId
            }
        }
    }

    Row {
        id: bagButtons
        anchors.bottom: parent.bottom
        anchors.right: parent.right
        spacing: Theme.spacingMedium
        Button {
            objectName: "newBagButton"
            text: "新建袋号"
            onClicked: window.createBag()
        }
        Button {
            objectName: "addToBagButton"
            text: "加入袋号"
            visible: window.chosenBagId !== ""
            onClicked: window.addToBag()
        }
    }
}
