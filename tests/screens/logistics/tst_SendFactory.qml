import QtQuick 2.15
import QtTest 1.2
import Brenvo 1.0
import BrenvoTest 1.0
import "qrc:/"
import "../common"
import "../common/fakeroutes.js" as Routes

// The bag grid. Paging, tabs and search against a backend answering as each test says; new
// bags, their actions and their labels against the reference backend, whose bags are read
// back after each step.
ScreenTestCase {
    id: testCase
    name: "SendFactory"
    needsSignIn: true

    readonly property string pdf: "release/qrpic/123.pdf"

    SignalSpy { id: sentSpy; signalName: "reqParamsReturn" }

    function init() {
        Session.ticketPriterName = "pdf"
    }

    function open() {
        screen = Qt.createComponent("qrc:/SendFactory.qml").createObject(host, {})
        verify(screen !== null)
        screen.messageBox = boxRecorder
        sentSpy.target = screen.conversation.backend.request
        return screen
    }

    function openLoaded() {
        open()
        settle(screen.conversation)
        return screen
    }

    // The cell showing the bag with this id, or null. (Only the rows the view lays out count:
    // rows waiting to be reused stay in the grid with what they showed last.)
    function shownCell(id) {
        for (var r = 0; r < screen.grid.count; ++r) {
            var row = screen.grid.itemAtIndex(r)
            if (row === null)
                continue
            for (var c = 0; c < row.children.length; ++c) {
                var item = row.children[c]
                if (item.visible && item.objectName === "bagCell_" + id)
                    return item
            }
        }
        return null
    }

    // The cell of the bag with this id, once the grid shows it.
    function cell(id) {
        var found = null
        tryVerify(function () { found = shownCell(id); return found !== null }, 5000, "no cell of bag " + id)
        return found
    }

    function cellButton(id, name) {
        return findChild(cell(id), name)
    }

    // Whether the grid shows the bag. (The tests wait for what they expect to see: a page read
    // again is laid out at the next frame.)
    function shows(id) {
        return shownCell(id) !== null
    }

    // Whether the bag's cell offers exactly these actions.
    function offers(id, names) {
        var c = shownCell(id)
        if (c === null)
            return false
        return ["printBagButton", "deleteBagButton", "completeBagButton"].every(function (name) {
            return findChild(c, name).visible === (names.indexOf(name) >= 0)
        })
    }

    // The requests the screen sent to `path` since it opened (not its first page), as their
    // fields.
    function sent(path) {
        var all = []
        for (var i = 0; i < sentSpy.count; ++i) {
            var url = sentSpy.signalArguments[i][0]
            if (url.indexOf("/mac/" + path + "?") >= 0)
                all.push(query(url))
        }
        return all
    }

    function bagOnBackend(id) {
        return reference.data("orderProductBatchIn/detail", { id: String(id) })
    }

    // --- Against the test's own backend -------------------------------------------------

    function bags(count, first) {
        var list = []
        for (var i = 0; i < count; ++i)
            list.push({ id: first + i, code: "9251130010" + (100 + first + i), productCnt: 1, annexCnt: 0,
                        isFinish: 0, status: 1, statusText: "等待物流人员收取", storeName: "净衣坊·徐汇店",
                        factoryName: "工厂", logisticsWorkName: "", logisticsWorkPhone: "" })
        return Routes.ok({ list: list })
    }

    // Pages of `sizes[n - 1]` bags; the rest empty.
    function useFake(sizes) {
        routed.start()
        routes = {
            "orderProductBatchIn/list": function (body) {
                var n = Number(body.pageNum)
                return bags(sizes[n - 1] || 0, (n - 1) * 18 + 1)
            }
        }
    }

    function nextPage() {
        screen.grid.positionViewAtEnd()
        screen.grid.loadMore()
        tryCompare(screen.conversation, "loading", false, 5000)
    }

    // Opening asks for page 1 of 18 with no filter, under the loading cover, and shows each
    // bag with its QR picture.
    function test_opening_asks_for_the_first_page() {
        useFake([5])
        open()
        verify(findChild(screen, "loadingShade").visible)
        tryCompare(screen.conversation, "loading", false, 5000)
        var first = sentTo("orderProductBatchIn/list")[0]
        compare([first.pageNum, first.pageSize, first.status, first.keywords], ["1", "18", undefined, undefined])
        verify(!findChild(screen, "loadingShade").visible)
        var c = cell(3)
        compare(findChild(c, "bagCode").text, "袋号：9251130010103")
        compare(findChild(c, "bagCount").text, "衣物件数：1")
        tryCompare(findChild(c, "bagQr"), "status", Image.Ready, 5000)
        verify(TestSupport.exists("qrpic/9251130010103.jpg"))
        tryVerify(function () { return screen.searchField.activeFocus }, 5000)
        compare(Session.enterFlag, "SendFactory")
    }

    // A full page of 18 lets the next page be asked for when the grid stops scrolling (even
    // when it brings nothing); a shorter page ends the grid.
    function test_paging_by_18_data() {
        return [
            { tag: "18 then nothing", sizes: [18, 0], asked: 2, shown: 18 },
            { tag: "18, 18, then 5", sizes: [18, 18, 5], asked: 3, shown: 41 },
            { tag: "fewer than 18", sizes: [17], asked: 1, shown: 17 }
        ]
    }
    function test_paging_by_18(row) {
        useFake(row.sizes)
        open()
        tryCompare(screen.conversation, "loading", false, 5000)
        for (var i = 0; i < 4; ++i)
            nextPage()
        var pages = sentTo("orderProductBatchIn/list")
        compare(pages.map(function (b) { return b.pageNum }), row.sizes.map(function (s, i) { return String(i + 1) }))
        compare(pages.length, row.asked)
        var shown = 0
        for (var r = 0; r < screen.grid.count; ++r)
            shown += screen.grid.model.get(r).cells.count
        compare(shown, row.shown)
    }

    // After a search or a tab, the grid starts at page 1 and its next pages keep the keywords
    // and the status, from page 2 on.
    function test_next_pages_keep_search_and_tab_data() {
        return [
            { tag: "search", tab: "", keywords: "925113", status: undefined },
            { tag: "tab", tab: "2", keywords: "", status: "2" },
            { tag: "tab, then search", tab: "3", keywords: "0101", status: "3" }
        ]
    }
    function test_next_pages_keep_search_and_tab(row) {
        useFake([18, 18, 18, 18])
        open()
        tryCompare(screen.conversation, "loading", false, 5000)
        nextPage()
        if (row.tab !== "") {
            click(findChild(screen, "bagTab_" + row.tab))
            tryCompare(screen.conversation, "loading", false, 5000)
        }
        if (row.keywords !== "") {
            screen.searchField.forceActiveFocus()
            type(row.keywords)
            keyClick(Qt.Key_Return)
            tryCompare(screen.conversation, "loading", false, 5000)
            // The field is free for the next search; the grid says what it holds.
            compare(screen.searchField.text, "")
            compare(findChild(screen, "searchNote").text, "袋号含“" + row.keywords + "”")
        }
        nextPage()
        var pages = sentTo("orderProductBatchIn/list")
        var last = pages.length - 1
        compare([pages[last - 1].pageNum, pages[last].pageNum], ["1", "2"])
        for (var p = last - 1; p <= last; ++p) {
            compare(pages[p].status, row.status)
            compare(pages[p].keywords, row.keywords === "" ? undefined : row.keywords)
        }
    }

    // "清除" beside what the grid was searched for reads page 1 of the tab again.
    function test_clearing_the_search() {
        useFake([18, 18])
        open()
        tryCompare(screen.conversation, "loading", false, 5000)
        click(findChild(screen, "bagTab_3"))
        tryCompare(screen.conversation, "loading", false, 5000)
        screen.searchField.forceActiveFocus()
        type("0101")
        keyClick(Qt.Key_Return)
        tryCompare(screen.conversation, "loading", false, 5000)
        click("searchNoteClear")
        tryCompare(screen.conversation, "loading", false, 5000)
        verify(!findChild(screen, "searchNote").visible)
        var last = sentTo("orderProductBatchIn/list").pop()
        compare([last.pageNum, last.status, last.keywords], ["1", "3", undefined])
    }

    // The grid read again while its page is still on its way (the cover keeps the worker's
    // clicks off meanwhile; the bag screen's return does not wait): only the new page is shown.
    function test_late_page_of_another_tab_is_dropped() {
        routed.start()
        routes = {
            "orderProductBatchIn/list": function (body) {
                return body.status === "2" ? bags(2, 201) : null
            }
        }
        open()
        tryVerify(function () { return fake.requestCount() === 1 }, 5000)
        screen.chooseTab("2")
        tryCompare(screen.conversation, "loading", false, 5000)
        fake.answerHeld(0, JSON.stringify(bags(18, 1)))
        answered[0] = true
        wait(100)
        compare(screen.grid.count, 1)
        verify(shows(201) && !shows(1))
    }

    // An empty search field searches for nothing.
    function test_empty_search_sends_nothing() {
        useFake([3])
        open()
        tryCompare(screen.conversation, "loading", false, 5000)
        screen.searchField.forceActiveFocus()
        keyClick(Qt.Key_Return)
        wait(50)
        compare(sentTo("orderProductBatchIn/list").length, 1)
    }

    // --- Against the reference backend ----------------------------------------------------

    // "新建入厂袋号" makes an open bag and opens it; back from it, the grid shows it first.
    function test_new_bag_opens_its_contents() {
        openLoaded()
        click("newBagButton")
        var contents = null
        tryVerify(function () { contents = findChild(screen, "IntoFactoryBatch"); return contents !== null }, 5000)
        var made = sent("orderProductBatchIn/add")
        compare(made.length, 1)
        verify(screen.codeNo !== "")
        compare(contents.codeId, screen.codeId)
        var bag = bagOnBackend(screen.codeId)
        compare(bag.httpCode, 200)
        compare(bag.data.code, screen.codeNo)
        compare(bag.data.isFinish, 0)
        settle(contents.conversation)
        click(findChild(contents, "backButton"))
        tryVerify(function () { return findChild(screen, "IntoFactoryBatch") === null }, 5000)
        settle(screen.conversation)
        // The grid's first row, once the view has laid out the new page, holds the new bag.
        tryVerify(function () {
            var first = screen.grid.itemAtIndex(0)
            var c = shownCell(screen.codeId)
            return first !== null && c !== null && c.parent === first
        }, 5000, "the new bag is not in the first row")
        compare(sent("orderProductBatchIn/list").length, 1)
    }

    // What a cell offers follows the bag: an empty open bag may be deleted, one with a garment
    // completed as well, a completed one only printed; deleting and completing reach the backend.
    function test_cell_actions_reach_the_backend() {
        var empty = reference.data("orderProductBatchIn/add", {}).data
        var filled = reference.bagOf([reference.waitingGarment(3, 1500)], true)
        openLoaded()
        verify(offers(empty.id, ["deleteBagButton"]))
        verify(offers(filled.id, ["deleteBagButton", "completeBagButton"]))
        shot("sendfactory-grid")

        click(cellButton(filled.id, "completeBagButton"))
        settle(screen.conversation)
        compare(bagOnBackend(filled.id).data.isFinish, 1)
        tryVerify(function () { return offers(filled.id, ["printBagButton"]) }, 5000, "the completed bag offers its label only")

        click(cellButton(empty.id, "deleteBagButton"))
        settle(screen.conversation)
        compare(bagOnBackend(empty.id).httpCode, 404)
        tryVerify(function () { return !shows(empty.id) }, 5000)
        compare(boxes, [])
    }

    // A completed bag's label prints on the ticket printer ("pdf"): its number, its count, and a
    // QR code that reads back as the bag's number.
    function test_label_prints_with_the_bag_code() {
        var bag = reference.bagOf([reference.waitingGarment(3, 1500), reference.waitingGarment(4, 2500)])
        TestSupport.removeFile(pdf)
        openLoaded()
        click(cellButton(bag.id, "printBagButton"))
        settle(screen.conversation)
        verify(TestSupport.exists(pdf))
        compare(TestSupport.pdfCodes(pdf, 1), ["QR-Code:" + bag.code])
        var text = TestSupport.pdfPages(pdf)[0]
        verify(text.indexOf("入厂袋号：" + bag.code) >= 0, text)
        verify(text.indexOf("共2件") >= 0, text)
        compare(boxes, [])
    }

    // Without a ticket printer nothing prints, and the worker is told so.
    function test_label_without_printer_is_told() {
        var bag = reference.bagOf([reference.waitingGarment(3, 1500)])
        Session.ticketPriterName = ""
        openLoaded()
        click(cellButton(bag.id, "printBagButton"))
        compare(boxes, [["提示", "未设置小票打印机，袋号未打印"]])
        compare(sent("print/batchIn/product").length, 0)
    }

    // A bag another terminal completed meanwhile cannot be deleted: the refusal is told and
    // the grid shows the bag as it is.
    function test_refused_delete_is_told() {
        var bag = reference.bagOf([reference.waitingGarment(3, 1500)], true)
        openLoaded()
        var remove = cellButton(bag.id, "deleteBagButton")
        compare(reference.data("orderProductBatchIn/complete", { id: bag.id }).httpCode, 200)
        click(remove)
        settle(screen.conversation)
        compare(boxes, [["提示", "袋子已完成，不能删除"]])
        compare(bagOnBackend(bag.id).httpCode, 200)
        tryVerify(function () { return offers(bag.id, ["printBagButton"]) }, 5000, "the bag is shown completed")
    }

    // The tabs list the bags of their status only.
    function test_tabs_filter_by_status() {
        var waiting = reference.bagOf([reference.waitingGarment(3, 1500)])
        var sentBag = reference.bagOf([reference.waitingGarment(3, 1500)])
        compare(reference.factory("collect", sentBag.code).status, 200)
        openLoaded()
        click(findChild(screen, "bagTab_2"))
        settle(screen.conversation)
        tryVerify(function () { return shows(sentBag.id) && !shows(waiting.id) }, 5000, "tab 2 shows its bags only")
        compare(findChild(cell(sentBag.id), "bagStatus").text, "送往工厂途中")
        click(findChild(screen, "bagTab_1"))
        settle(screen.conversation)
        tryVerify(function () { return shows(waiting.id) && !shows(sentBag.id) }, 5000, "tab 1 shows its bags only")
        compare(sent("orderProductBatchIn/list").map(function (q) { return q.status }), ["2", "1"])
    }
}
