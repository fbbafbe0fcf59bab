import QtQuick 2.15
import QtQuick.Controls 2.15
import "paging.js" as Paging

// A list that the backend fills page by page: page 1 when it is (re)loaded, the next page
// when the worker scrolls to the end after a full page. The owner sends the request for
// each page it is asked for (pageRequested, with the paging fields to send) and hands the
// rows back with received(); a failed request is reported with failed().
ListView {
    id: list

    property int pageSize: 10
    property var pager: Paging.start(pageSize)
    readonly property int page: pager.page
    readonly property bool loading: pager.loading

    // Send the request of this page; `fields` holds pageNum and pageSize.
    signal pageRequested(int page, var fields)

    model: ListModel { id: rows }
    clip: true
    boundsBehavior: Flickable.StopAtBounds
    ScrollBar.vertical: ScrollBar {}

    // Empties the list and asks for page 1.
    function reload() {
        pager = Paging.start(pageSize)
        rows.clear()
        pageRequested(1, Paging.fields(pager))
    }

    // The rows of the page last asked for. `count` is how many the reply held, when the
    // owner shows fewer of them (a page of bags of which only the open ones are listed).
    function received(newRows, count) {
        if (Paging.replaces(pager))
            rows.clear()
        for (var i = 0; i < newRows.length; ++i)
            rows.append(newRows[i])
        pager = Paging.received(pager, count === undefined ? newRows.length : count)
    }

    // Empties the list without asking for anything: nothing more to show.
    function clear() {
        pager = Paging.received(Paging.start(pageSize), 0)
        rows.clear()
    }

    function failed() {
        pager = Paging.failed(pager)
    }

    function loadMore() {
        if (!Paging.hasMore(pager))
            return false
        pager = Paging.next(pager)
        pageRequested(pager.page, Paging.fields(pager))
        return true
    }

    onMovementEnded: {
        if (atYEnd)
            loadMore()
    }
}
