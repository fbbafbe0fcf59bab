import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "screens.js" as Screens
import "books.js" as Books

// "衣物管理": the store's garments, newest first, ten at a time, filtered by creation time,
// status and factory, or found by a scanned or typed code. A row prints the garment's label,
// binds an electronic label to it, and opens the garment's details or its order's.
ScreenPage {
    id: page
    objectName: "ClothList"
    enterFlag: "ClothList"

    property var messageBox: followUp.box
    // What filled the list: its next pages are asked for with the same fields.
    property var listFields: ({})
    property string statusVal: ""
    property string factoryId: ""
    readonly property alias conversation: talk
    readonly property alias followUp: followUp
    readonly property alias list: clothList
    readonly property alias timeFilter: timeFilter
    readonly property alias searchField: searchField
    readonly property alias bindWindow: bindWindow

    Component.onCompleted: {
        searchField.focusField()
        timeFilter.set(Books.defaultTime)
        showFiltered()
    }

    function filters() {
        return { startDate: timeFilter.startDate, endDate: timeFilter.endDate, proStatusVal: statusVal,
                 factoryId: factoryId }
    }

    function show(fields) {
        listFields = fields
        clothList.reload()
    }

    function showFiltered() {
        show(Books.clothListFields("", filters()))
    }

    // A code is looked for alone, whatever the filters say.
    function search(code) {
        show(Books.clothListFields(code, {}))
    }

    // A status or a factory lists with no dates.
    function chooseStatus(val) {
        statusVal = val
        timeFilter.set("所有")
        showFiltered()
    }

    function chooseFactory(val) {
        factoryId = val
        timeFilter.set("所有")
        showFiltered()
    }

    function openDetails(scanCode) {
        Screens.open(page, "ClothDetails", { idofCloth: scanCode, toOrderFlag: "ClothList" })
    }

    function openOrder(orderId) {
        Screens.open(page, "OrderDetails", { orderId: orderId, toOrderFlag: "ClothList" })
    }

    ClothListConversation {
        id: talk
        messageBox: page.messageBox
        onPageReceived: function (rows) { clothList.received(rows) }
        // The list cannot be read: told, and the screen closes once the worker confirms.
        onPageFailed: function (text) {
            clothList.failed()
            followUp.error(text, page.close)
        }
        onBound: {
            bindWindow.close()
            clothList.reload()
        }
        onBindRefused: function (text) { followUp.error(text) }
        onPrintRefused: function (text) { followUp.error(text) }
    }

    FollowUpBox { id: followUp; messageBox: page.messageBox }

    Text {
        id: title
        text: "衣物管理"
        anchors.left: page.backButton.right
        anchors.leftMargin: Theme.spacingLarge
        anchors.verticalCenter: page.backButton.verticalCenter
        font.pixelSize: Theme.fontTitle
        font.bold: true
        color: Theme.textStrong
    }
    ScanField {
        id: searchField
        objectName: "clothSearch"
        anchors.left: title.right
        anchors.leftMargin: Theme.spacingHuge
        anchors.verticalCenter: title.verticalCenter
        placeholderText: "请输入或扫描衣物条码/订单号"
        buttonText: "搜索"
        onScanned: function (code) { page.search(code) }
    }

    Flow {
        id: filterBar
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: page.backButton.bottom
        anchors.margins: Theme.spacingLarge
        spacing: Theme.spacingLarge
        TimeFilter {
            id: timeFilter
            objectName: "timeFilter"
            onChanged: page.showFiltered()
        }
        FilterChoice {
            objectName: "statusFilter"
            label: "衣物状态"
            choices: Books.choices("全部状态", talk.statuses)
            value: page.statusVal
            onOpening: talk.loadStatuses()
            onChosen: function (val) { page.chooseStatus(val) }
        }
        FilterChoice {
            objectName: "factoryFilter"
            label: "工厂"
            choices: Books.choices("全部工厂", talk.factories)
            value: page.factoryId
            onOpening: talk.loadFactories()
            onChosen: function (val) { page.chooseFactory(val) }
        }
    }

    PagedList {
        id: clothList
        objectName: "clothList"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: filterBar.bottom
        anchors.bottom: parent.bottom
        anchors.margins: Theme.spacingLarge
        spacing: Theme.spacingSmall
        pageSize: 10
        onPageRequested: function (number, paging) { talk.requestPage(page.listFields, paging) }
        delegate: ClothRow {
            required property var model
            objectName: "cloth_" + model.id
            width: clothList.width
            garment: model
            electronicLabels: Session.isElectronicLabel === 1
            onDetailsClicked: function (scanCode) { page.openDetails(scanCode) }
            onOrderClicked: function (orderId) { page.openOrder(orderId) }
            onPrintClicked: function (garmentId) { talk.prints.printLabel(garmentId) }
            onBindClicked: function (garmentId) { bindWindow.start(garmentId) }
        }
    }

    Text {
        anchors.centerIn: clothList
        visible: clothList.count === 0 && !talk.loading
        text: "暂无衣物"
        font.pixelSize: Theme.fontBody
        color: Theme.textMuted
    }

    BindCodeWindow {
        id: bindWindow
        objectName: "bindWindow"
        request: talk.backend.request
        onConfirmed: function (garmentId, code) { talk.bind(garmentId, code) }
    }
}
