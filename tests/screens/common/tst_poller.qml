import QtQuick 2.15
import QtTest 1.2
import "qrc:/"
import "qrc:/poller.js" as Poller

// Following a wallet trade: one query at a time, a pause between an answer and the next
// query, and an end on success, on a trade that is over, on a failed query, on stop() and at
// the deadline. The clock is the test's.
TestCase {
    id: testCase
    name: "Poller"

    property real now: 1000000
    property var asked: []
    property var ended: []

    Component {
        id: pollerComponent
        StatusPoller {
            pause: 20
            deadline: 120000
            clock: function () { return testCase.now }
            onQuery: function (seq) { testCase.asked.push(seq) }
            onFinished: function (outcome) { testCase.ended.push(outcome) }
        }
    }

    function init() {
        now = 1000000
        asked = []
        ended = []
    }

    function test_next_data() {
        return [
            { tag: "paid", status: "1", elapsed: 0, next: "paid" },
            { tag: "failed", status: "-1", elapsed: 0, next: "failed" },
            { tag: "cancelled", status: "2", elapsed: 0, next: "cancelled" },
            { tag: "pending", status: "0", elapsed: 0, next: "again" },
            { tag: "pending, nearly at the deadline", status: "0", elapsed: 117999, next: "again" },
            { tag: "pending, next query past the deadline", status: "0", elapsed: 118000, next: "deadline" },
            { tag: "paid after the deadline still counts", status: "1", elapsed: 200000, next: "paid" },
            { tag: "an empty status is pending", status: "", elapsed: 0, next: "again" }
        ]
    }
    function test_next(row) {
        var follow = Poller.start(0, 2000, 120000)
        compare(Poller.next(follow, row.status, row.elapsed), row.next)
    }

    function test_defaults_are_two_seconds_and_two_minutes() {
        var poller = createTemporaryObject(pollerComponent, testCase, { pause: Poller.pauseMs, deadline: Poller.deadlineMs })
        compare(poller.pause, 2000)
        compare(poller.deadline, 120000)
    }

    // "0", "0", "0", "1": four queries, then the trade is paid.
    function test_pending_three_times_then_paid() {
        var poller = createTemporaryObject(pollerComponent, testCase)
        poller.start("5001")
        compare(asked, ["5001"])
        var answers = ["0", "0", "0"]
        for (var i = 0; i < answers.length; ++i) {
            poller.received(answers[i])
            // No query at once: the next one waits for the pause.
            compare(asked.length, i + 1)
            tryCompare(testCase.asked, "length", i + 2)
        }
        poller.received("1")
        compare(ended, ["paid"])
        compare(poller.queries, 4)
        verify(!poller.active)
        wait(60)
        compare(asked.length, 4)
    }

    // The window closes while a query is out: its answer is ignored, nothing follows.
    function test_stop_while_a_query_is_out() {
        var poller = createTemporaryObject(pollerComponent, testCase)
        poller.start("5002")
        poller.stop()
        poller.received("0")
        poller.received("1")
        wait(60)
        compare(asked.length, 1)
        compare(ended, [])
    }

    function test_stop_during_the_pause() {
        var poller = createTemporaryObject(pollerComponent, testCase, { pause: 200 })
        poller.start("5003")
        poller.received("0")
        poller.stop()
        wait(300)
        compare(asked.length, 1)
        compare(ended, [])
    }

    function test_deadline_gives_up_without_another_query() {
        var poller = createTemporaryObject(pollerComponent, testCase, { deadline: 5000 })
        poller.start("5004")
        now += 4990
        poller.received("0")
        compare(ended, ["deadline"])
        wait(60)
        compare(asked.length, 1)
    }

    function test_trade_over_or_query_failed_data() {
        return [
            { tag: "failed", status: "-1", outcome: "failed" },
            { tag: "cancelled", status: "2", outcome: "cancelled" },
            { tag: "query failed", status: null, outcome: "error" }
        ]
    }
    function test_trade_over_or_query_failed(row) {
        var poller = createTemporaryObject(pollerComponent, testCase)
        poller.start("5005")
        if (row.status === null)
            poller.queryFailed()
        else
            poller.received(row.status)
        compare(ended, [row.outcome])
        verify(!poller.active)
        wait(60)
        compare(asked.length, 1)
    }

    // A second start follows the new trade only.
    function test_restart_follows_the_new_trade() {
        var poller = createTemporaryObject(pollerComponent, testCase)
        poller.start("5006")
        poller.start("5007")
        poller.received("0")
        tryCompare(testCase.asked, "length", 3)
        compare(asked, ["5006", "5007", "5007"])
    }
}
