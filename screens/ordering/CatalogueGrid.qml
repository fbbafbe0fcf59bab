import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "paging.js" as Paging
import "money.js" as Money
import "garmentrecord.js" as Record

// One catalogue list of the garment entry screen as a grid of entries, with its search
// field, its field for an entry typed in by hand and its "下一步" button where it has them.
// The owner sends the request of each page it is asked for (pageRequested) and hands the
// rows back with received(); a paged grid asks for the next page when it is scrolled to its
// end after a full page. A reply that does not come, or comes for an older search, leaves
// the grid as it was.
Item {
    id: grid

    // What the grid lists: "project", "garment", "flaw", ...; it names the grid's signals.
    property string kind: ""
    property bool paged: false
    property bool searchable: false
    property bool addable: false
    property bool nextVisible: false
    property int pageSize: 40
    property int cellWidth: 150
    // Keys (garmentrecord.js keyOf) of the entries shown as chosen.
    property var selectedKeys: []
    // The member in fen a cell shows under the name, in yuan ("price" for services).
    property string detailRole: ""

    property var pager: Paging.start(pageSize)
    // Raised by each (re)load; a reply for an older one is not taken.
    property int generation: 0
    property bool quiet: false
    readonly property alias count: rows.count
    readonly property alias keywords: searchField.text
    readonly property alias view: gridView

    signal pageRequested(string kind, int page, var fields, int generation)
    signal entryClicked(string kind, var entry)
    signal typedAdded(string kind, string name)
    signal nextClicked(string kind)

    // Page 1 again, with the search text (cleared first when `clearSearch`). The rows shown
    // stay until the new ones arrive.
    function reload(clearSearch) {
        if (clearSearch && searchField.text !== "") {
            quiet = true
            searchField.text = ""
            quiet = false
        }
        pager = Paging.start(pageSize)
        ++generation
        pageRequested(kind, 1, fields(), generation)
    }

    // Empties the grid; a reply still out is not taken.
    function clear() {
        ++generation
        pager = Paging.start(pageSize)
        pager = Paging.received(pager, 0)
        rows.clear()
    }

    function fields() {
        if (!paged)
            return {}
        var f = Paging.fields(pager)
        f.keywords = searchField.text
        return f
    }

    function received(list, forGeneration) {
        if (forGeneration !== generation)
            return
        if (Paging.replaces(pager))
            rows.clear()
        for (var i = 0; i < list.length; ++i)
            rows.append(cellOf(list[i]))
        pager = Paging.received(pager, list.length)
        Qt.callLater(fillView)
    }

    function failed(forGeneration) {
        if (forGeneration === generation)
            pager = Paging.failed(pager)
    }

    function loadMore() {
        if (!paged || !Paging.hasMore(pager))
            return false
        pager = Paging.next(pager)
        pageRequested(kind, pager.page, fields(), generation)
        return true
    }

    // When a full page does not fill the view, its end is in view already.
    function fillView() {
        if (gridView.contentHeight <= gridView.height)
            loadMore()
    }

    // An entry typed in by hand, first in the grid.
    function prepend(entry) {
        rows.insert(0, cellOf(entry))
    }

    function cellOf(entry) {
        var detail = detailRole !== "" && entry[detailRole] !== undefined
                ? Money.fenToYuan(entry[detailRole]) : ""
        return { key: Record.keyOf(entry), name: String(entry.name), detail: detail,
                 entry: JSON.stringify(entry) }
    }

    ListModel { id: rows }

    Row {
        id: tools
        spacing: Theme.spacingMedium
        visible: grid.searchable || grid.addable || grid.nextVisible
        height: visible ? 40 : 0
        TextField {
            id: searchField
            objectName: grid.kind + "Search"
            visible: grid.searchable
            width: 220
            placeholderText: "搜索"
            onTextChanged: if (!grid.quiet) grid.reload(false)
        }
        TextField {
            id: typedField
            objectName: grid.kind + "Typed"
            visible: grid.addable
            width: 180
            placeholderText: "手动输入"
            maximumLength: 30
        }
        Button {
            objectName: grid.kind + "Add"
            visible: grid.addable
            text: "添加"
            onClicked: {
                var name = typedField.text.trim()
                if (name === "")
                    return
                typedField.text = ""
                grid.typedAdded(grid.kind, name)
            }
        }
        Button {
            objectName: grid.kind + "Next"
            visible: grid.nextVisible
            text: "下一步"
            onClicked: grid.nextClicked(grid.kind)
        }
    }

    GridView {
        id: gridView
        objectName: grid.kind + "Grid"
        anchors.top: tools.bottom
        anchors.topMargin: tools.visible ? 10 : 0
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        clip: true
        cellWidth: grid.cellWidth
        cellHeight: grid.detailRole !== "" ? 70 : 56
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {}
        model: rows
        delegate: Rectangle {
            id: cell
            required property string key
            required property string name
            required property string detail
            required property string entry
            readonly property bool chosen: grid.selectedKeys.indexOf(key) >= 0
            objectName: "cell:" + name
            width: gridView.cellWidth - 10
            height: gridView.cellHeight - 10
            radius: Theme.radiusSmall
            color: chosen ? Theme.selected : Theme.card
            border.color: chosen ? Theme.primary : Theme.lineInput
            Column {
                anchors.centerIn: parent
                width: parent.width - 10
                Text {
                    width: parent.width
                    text: cell.name
                    elide: Text.ElideRight
                    horizontalAlignment: Text.AlignHCenter
                    font.pixelSize: Theme.fontBody
                    color: cell.chosen ? Theme.primary : Theme.text
                }
                Text {
                    visible: cell.detail !== ""
                    width: parent.width
                    text: "¥" + cell.detail
                    horizontalAlignment: Text.AlignHCenter
                    font.pixelSize: Theme.fontSmall
                    color: Theme.amount
                }
            }
            MouseArea {
                anchors.fill: parent
                onClicked: grid.entryClicked(grid.kind, JSON.parse(cell.entry))
            }
        }
        onMovementEnded: if (atYEnd) grid.loadMore()
    }
}
