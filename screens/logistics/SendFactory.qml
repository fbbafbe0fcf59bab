import QtQuick 2.15
import QtQuick.Controls 2.15
import BVMessageBox 1.0
import Brenvo 1.0
import "screens.js" as Screens
import "logistics.js" as Logistics

// "送厂": the store's factory bags as a grid with their QR pictures, 18 at a time, by status
// tab or searched by bag number. A bag is made here ("新建入厂袋号"), completed, deleted while
// open, its label printed once complete; a click opens its contents over the grid.
ScreenPage {
    id: page
    objectName: "SendFactory"
    enterFlag: "SendFactory"
    backVisible: false

    // The status tab chosen ("" for all).
    property string batchType: ""
    // What filled the grid: the tab's status and the searched keywords. The next pages keep both.
    property var listFilter: ({ status: "", keywords: "" })
    // The bag opened over the grid, and the code of a bag just made.
    property string codeId: ""
    property string codeNo: ""
    // A search is out: its reply empties the search field.
    property bool searching: false
    property var messageBox: mMessageBox
    readonly property alias conversation: talk
    readonly property alias grid: bagGrid
    readonly property alias searchField: searchField
    readonly property alias followUp: followUp

    Component.onCompleted: {
        searchField.forceActiveFocus()
        reload()
    }

    // Page 1 again with what filled the grid.
    function reload() {
        bagGrid.reload()
    }

    function chooseTab(status) {
        batchType = status
        listFilter = { status: status, keywords: "" }
        reload()
    }

    function search() {
        var text = searchField.text.trim()
        if (text === "")
            return
        listFilter = { status: batchType, keywords: text }
        searching = true
        reload()
    }

    function clearSearch() {
        listFilter = { status: batchType, keywords: "" }
        reload()
    }

    function received(bags) {
        if (searching)
            searchField.text = ""
        searching = false
        bagGrid.received(Logistics.gridRows(bags, Logistics.bagColumns), bags.length)
    }

    // The bag's contents over the grid; back from them, the grid is read again.
    function openBag(id) {
        codeId = id
        var contents = Screens.open(page, "IntoFactoryBatch", { codeId: id })
        if (contents !== null)
            contents.returned.connect(page.reload)
    }

    function addBag() {
        if (!talk.backend.busy("AddNewBatch"))
            talk.addBag()
    }

    function enterPressed() {
        if (Session.enterFlag === "SendFactory")
            search()
    }

    SendFactoryConversation {
        id: talk
        messageBox: page.messageBox
        onPageReceived: function (bags) { page.received(bags) }
        onPageFailed: {
            page.searching = false
            bagGrid.failed()
        }
        onBagCreated: function (id, code) {
            page.codeNo = code
            page.openBag(id)
        }
        // The screen cannot go on without a bag to fill: it closes once the worker has read why.
        onBagRefused: function (text) { followUp.error(text, page.close) }
        onChanged: page.reload()
        onTold: function (text) { followUp.info("提示", text) }
    }

    BVMessageBox { id: mMessageBox }
    FollowUpBox { id: followUp; messageBox: page.messageBox }

    Row {
        id: toolbar
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.margins: Theme.spacingLarge
        spacing: Theme.spacingLarge

        LogisticsTabs {
            objectName: "bagTabs"
            anchors.verticalCenter: parent.verticalCenter
            tabs: Logistics.bagFilters
            valueRole: "status"
            current: page.batchType
            namePrefix: "bagTab_"
            onChosen: function (value) { page.chooseTab(value) }
        }

        TextField {
            id: searchField
            objectName: "bagSearchField"
            anchors.verticalCenter: parent.verticalCenter
            width: 240
            placeholderText: "入厂袋号"
            maximumLength: 25
            selectByMouse: true
            rightPadding: clearText.width + Theme.spacingSmall
            font.pixelSize: Theme.fontNormal
            Keys.onReturnPressed: page.enterPressed()
            Keys.onEnterPressed: page.enterPressed()
            Text {
                id: clearText
                objectName: "bagSearchClear"
                visible: searchField.text !== ""
                text: "×"
                font.pixelSize: Theme.fontLarge
                color: Theme.textMuted
                anchors.right: parent.right
                anchors.rightMargin: Theme.spacingSmall
                anchors.verticalCenter: parent.verticalCenter
                MouseArea { anchors.fill: parent; onClicked: searchField.text = "" }
            }
        }
        Image {
            objectName: "bagSearchButton"
            anchors.verticalCenter: parent.verticalCenter
            source: searchArea.pressed ? "qrc:/icon/icon/search2.png" : "qrc:/icon/icon/search1.png"
            MouseArea { id: searchArea; anchors.fill: parent; onClicked: page.search() }
        }
        Button {
            objectName: "newBagButton"
            anchors.verticalCenter: parent.verticalCenter
            text: "新建入厂袋号"
            highlighted: true
            onClicked: page.addBag()
        }
    }

    // What the grid was searched for, kept while it pages; the search field is free again.
    Row {
        id: searchNote
        anchors.left: parent.left
        anchors.top: toolbar.bottom
        anchors.leftMargin: Theme.spacingLarge
        anchors.topMargin: Theme.spacingSmall
        spacing: Theme.spacingSmall
        visible: page.listFilter.keywords !== ""
        height: visible ? implicitHeight : 0
        Text {
            objectName: "searchNote"
            text: "袋号含“" + page.listFilter.keywords + "”"
            font.pixelSize: Theme.fontNormal
            color: Theme.textRegular
        }
        LogisticsLink {
            objectName: "searchNoteClear"
            text: "清除"
            onClicked: page.clearSearch()
        }
    }

    // Rows of six cells: a page of 18 bags is three whole rows, so the grid pages as a list.
    // A page read again (a tab, back from a bag) reuses the rows and their cells: only what
    // changed is drawn again, and a bag's QR picture stays.
    PagedList {
        id: bagGrid
        objectName: "bagGrid"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: searchNote.bottom
        anchors.bottom: parent.bottom
        anchors.margins: Theme.spacingLarge
        pageSize: Logistics.bagPageSize
        spacing: Theme.spacingMedium
        reuseItems: true
        onPageRequested: function (number, fields) { talk.requestPage(page.listFilter, fields) }
        delegate: Row {
            id: gridRow
            required property var cells
            spacing: Theme.spacingMedium
            Repeater {
                model: Logistics.bagColumns
                SendFactoryBagCell {
                    required property int index
                    // The bag of this column, none past the end of the last row (or while the
                    // row waits in the pool to be reused).
                    readonly property var shown: gridRow.cells && index < gridRow.cells.count
                                                 ? Logistics.bagOf(gridRow.cells.get(index)) : null
                    visible: !!shown
                    width: (bagGrid.width - (Logistics.bagColumns - 1) * gridRow.spacing) / Logistics.bagColumns
                    bag: shown || ({})
                    onOpenClicked: page.openBag(String(bag.id))
                    onPrintClicked: talk.label.print(bag.id)
                    onDeleteClicked: talk.deleteBag(bag.id)
                    onCompleteClicked: talk.completeBag(bag.id)
                }
            }
        }
    }

    Text {
        objectName: "noBags"
        anchors.centerIn: bagGrid
        visible: !talk.loading && bagGrid.count === 0
        text: "暂无入厂袋"
        font.pixelSize: Theme.fontMedium
        color: Theme.textMuted
    }

    LoadingShade { visible: talk.loading }
}
