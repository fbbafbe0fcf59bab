.pragma library
.import Brenvo 1.0 as Brenvo
// Settings files not written yet. On a new terminal a dozen are read at start-up before any
// was chosen; that is no fault, so the ones read together are named in one debug line, and
// each file once.

var named = []
var batch = []

function noteMissing(path) {
    if (named.indexOf(path) >= 0)
        return
    named.push(path)
    batch.push(path)
    if (batch.length === 1)
        Qt.callLater(report)
}

function report() {
    console.debug(Brenvo.Logs.common, "settings not written yet, defaults used: " + batch.join(", "))
    batch = []
}
