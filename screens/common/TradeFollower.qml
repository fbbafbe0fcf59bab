import QtQuick 2.15
import Brenvo 1.0

// Follows a wallet trade by its sequence number with tradePay/queryStatusBySeq, for the
// cashier and for member recharge: one query at a time, a pause between them, a deadline
// (StatusPoller). The owner hands in its request piece and hears each status and the end.
Item {
    id: follower
    visible: false

    // The owner's BackendRequest.
    property var backend: null
    readonly property alias poller: poller
    readonly property bool active: poller.active
    // The last status answered ("" before the first), and the text of that answer.
    property string status: ""
    property string lastReply: ""

    signal answered(string status)
    // As StatusPoller.finished; `reply` is the last status answer.
    signal ended(string outcome, string reply)

    function start(seq) {
        status = ""
        lastReply = ""
        poller.start(seq)
    }

    function stop() {
        poller.stop()
    }

    StatusPoller {
        id: poller
        onQuery: function (seq) {
            follower.backend.call("PayStatus", "tradePay/queryStatusBySeq", { seq: seq }, function (reply) {
                follower.lastReply = reply
                follower.status = follower.backend.request.getReturnMsg(reply, "status")
                follower.answered(follower.status)
                poller.received(follower.status)
            }, function (reply) {
                console.log(Logs.common, "status query failed: " + reply)
                poller.queryFailed()
            })
        }
        onFinished: function (outcome) { follower.ended(outcome, follower.lastReply) }
    }
}
