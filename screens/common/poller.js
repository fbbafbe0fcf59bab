.pragma library
// Following a wallet trade by its status: one query at a time, a pause between an answer
// and the next query, and a deadline after which the trade is given up. Pure: times are
// passed in, so a test can drive the clock.

var pauseMs = 2000
var deadlineMs = 120000

// A follow that starts at `now`.
function start(now, pause, deadline) {
    return { startedAt: now, pause: pause, deadline: deadline, queries: 0 }
}

// What a status answer says: "1" paid, "-1" failed, "2" cancelled; anything else is a trade
// still under way.
function outcome(status) {
    switch (String(status)) {
    case "1": return "paid"
    case "-1": return "failed"
    case "2": return "cancelled"
    }
    return "pending"
}

// After an answer with `status` at `now`: "paid", "failed" or "cancelled" (the trade is
// over), "again" (ask again after the pause), or "deadline" (the next query would come
// after the deadline: give up).
function next(follow, status, now) {
    var o = outcome(status)
    if (o !== "pending")
        return o
    return now - follow.startedAt + follow.pause >= follow.deadline ? "deadline" : "again"
}
