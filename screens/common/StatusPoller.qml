import QtQuick 2.15
import "poller.js" as Poller

// Follows one wallet trade: asks its owner to query the status (query), waits for the
// answer (received / queryFailed), pauses, asks again, until the trade is over, the owner
// stops it, or the deadline passes. Only one query is ever out; an answer that arrives after
// stop() is ignored. The timer runs only between an answer and the next query.
Item {
    id: poller
    visible: false

    property int pause: Poller.pauseMs
    property int deadline: Poller.deadlineMs
    // The clock the deadline is measured with; tests may drive their own.
    property var clock: function () { return Date.now() }

    readonly property bool active: follow !== null
    property string seq: ""
    property int queries: 0
    property var follow: null

    // Send the status query of `seq` now, and report its answer with received() or
    // queryFailed().
    signal query(string seq)
    // The follow ended: "paid", "failed", "cancelled" (the trade is over), "deadline" (given
    // up) or "error" (a query failed).
    signal finished(string outcome)

    function start(tradeSeq) {
        stop()
        seq = tradeSeq
        queries = 0
        follow = Poller.start(clock(), pause, deadline)
        ask()
    }

    // No further query; the answer still out, if any, is ignored.
    function stop() {
        pauseTimer.stop()
        follow = null
    }

    function received(status) {
        if (!active)
            return
        var next = Poller.next(follow, status, clock())
        if (next === "again") {
            pauseTimer.restart()
            return
        }
        stop()
        finished(next)
    }

    function queryFailed() {
        if (!active)
            return
        stop()
        finished("error")
    }

    function ask() {
        ++queries
        query(seq)
    }

    Timer {
        id: pauseTimer
        interval: poller.pause
        onTriggered: {
            if (poller.active)
                poller.ask()
        }
    }
}
