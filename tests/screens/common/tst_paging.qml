import QtQuick 2.15
import QtTest 1.2
import "qrc:/paging.js" as Paging

// The paging rules every backend list follows.
TestCase {
    name: "Paging"

    function test_first_page_replaces_and_asks_for_page_1() {
        var p = Paging.start(10)
        compare(Paging.fields(p), { pageNum: "1", pageSize: "10" })
        verify(Paging.replaces(p))
        verify(!Paging.hasMore(p), "nothing more while page 1 is out")
    }

    function test_next_page_only_after_a_full_page_data() {
        return [
            { tag: "full page", count: 10, more: true },
            { tag: "short page", count: 7, more: false },
            { tag: "empty page", count: 0, more: false }
        ]
    }
    function test_next_page_only_after_a_full_page(row) {
        var p = Paging.received(Paging.start(10), row.count)
        compare(Paging.hasMore(p), row.more)
    }

    function test_pages_follow_one_another() {
        var p = Paging.received(Paging.start(40), 40)
        p = Paging.next(p)
        compare(Paging.fields(p), { pageNum: "2", pageSize: "40" })
        verify(!Paging.replaces(p), "page 2 is appended")
        verify(!Paging.hasMore(p), "one page at a time")
        p = Paging.received(p, 40)
        verify(Paging.hasMore(p))
        compare(Paging.next(p).page, 3)
    }

    function test_a_failed_page_can_be_asked_again() {
        var p = Paging.next(Paging.received(Paging.start(10), 10))
        p = Paging.failed(p)
        compare(p.page, 1)
        verify(Paging.hasMore(p))
        compare(Paging.next(p).page, 2)

        var first = Paging.failed(Paging.start(10))
        compare(first.page, 1)
        verify(!first.loading)
    }
}
