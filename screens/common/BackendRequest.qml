import QtQuick 2.15
import ks.Net.CCRequest 1.0
import SignSet 1.0
import BVMessageBox 1.0
import Brenvo 1.0
import "requests.js" as Requests

// A screen's line to the backend. Each call names the handler of its own reply, so several
// calls may be out at once and each reply reaches the code that asked for it, whatever the
// order in which they come back.
//
//   backend.call("UserTag", "userTag/list", { userId: id }, function (reply) { ... })
//
// Before a handler runs, Session.httpCode and Session.msg hold the reply's envelope (and
// Session.whoPost the tag of the last call sent), as the rest of the terminal expects.
// Handled here once for every screen:
// - 401: the session has expired; the time-out dialog ends the program;
// - no usable answer (network error, time limit, a page that is not an envelope): the
//   call's onFailure(reply, true), or by default the "错误提示" box saying so;
// - any other refusal: onFailure(reply, false), or by default a console line.
// Writes go through write(): a write whose outcome is not known is sent again, on the
// worker's retry, as the very same request, so a lost reply never makes it happen twice. Its
// onFailure hears a third argument, `held`: true while sending it again sends that request.
// Commands whose answer is the state of now (a trade's status, giving an order or a trade
// up) go through call(): they change nothing when repeated, and a repeat must tell the state
// of its own moment, not the kept answer of an earlier one.
Item {
    id: backend

    // Where failures are shown; tests put a recorder in its place.
    property var messageBox: defaultBox
    readonly property alias request: ccRequest
    // How many calls are out.
    property int pending: 0

    // callId -> { tag, onReply, onFailure, envelope, write }
    property var calls: ({})

    visible: false

    // The session fields of a signed call, with the call's own fields added.
    function sessionBody(fields) {
        var body = {
            serialNum: Session.serialNum,
            timestamp: ccRequest.mtimestamp(),
            appSecret: Session.appSecret,
            accessToken: Session.accessToken
        }
        for (var key in fields)
            body[key] = fields[key]
        return body
    }

    // A signed POST of the session fields plus `fields` to `path`. Returns the call id
    // (0 when nothing could be sent).
    function call(tag, path, fields, onReply, onFailure) {
        return callBody(tag, path, sessionBody(fields || {}), onReply, onFailure)
    }

    // A signed POST that changes something on the backend, answered like call(). Until the
    // backend answers it for sure, the write is held (Requests.hold): sending the same path
    // with the same fields again in this session, from this screen or from one opened again,
    // sends the very same request (its timestamp and signature too), and the backend answers
    // that repeat with the answer it kept, at any delay. No usable answer, a fault of the
    // service (5xx) and a screen closed before the answer all leave it held; any other answer
    // releases it. The same write while it is out is not sent twice: that returns 0.
    // `intent` names the write when its fields carry something made afresh at each attempt (a
    // note's time): what the worker asked, which is the same at the retry.
    function write(tag, path, fields, onReply, onFailure, intent) {
        fields = fields || {}
        var key = Requests.writeKey(path, intent !== undefined ? intent : fields, Session.accessToken)
        if (writing(key))
            return 0
        var kept = Requests.heldBody(key)
        var body = kept !== null ? kept : sessionBody(fields)
        Requests.hold(key, body)
        var callId = callBody(tag, path, body, onReply, onFailure)
        if (callId === 0)
            Requests.release(key)
        else
            calls[callId].write = { key: key, path: path, fields: fields, intent: intent, repeat: kept !== null }
        return callId
    }

    // write(), with the worker's retry offered: when the outcome is not known, `followUp` (a
    // FollowUpBox) tells the worker, and confirming it sends the very same request again; a
    // refusal goes to `onRefused(text)`, with the text the worker reads.
    function writeWithRetry(followUp, tag, path, fields, onReply, onRefused, intent) {
        return write(tag, path, fields, onReply, function (reply, unreachable, held) {
            var text = failureText(unreachable)
            if (held)
                followUp.error(text, function () {
                    backend.writeWithRetry(followUp, tag, path, fields, onReply, onRefused, intent)
                })
            else if (onRefused)
                onRefused(text)
        }, intent)
    }

    // Whether this write's outcome is not known (or it is out): sending it again sends the
    // very same request.
    function held(path, fields, intent) {
        var key = Requests.writeKey(path, intent !== undefined ? intent : (fields || {}), Session.accessToken)
        return Requests.heldBody(key) !== null
    }

    // This write's outcome is known by other means (the order it would have paid was released):
    // the same write sent later is a new request.
    function forget(path, fields, intent) {
        Requests.release(Requests.writeKey(path, intent !== undefined ? intent : (fields || {}), Session.accessToken))
    }

    function writing(key) {
        for (var id in calls)
            if (calls[id].write && calls[id].write.key === key)
                return true
        return false
    }

    // A signed POST of `body` exactly as given (it carries the session fields itself).
    function callBody(tag, path, body, onReply, onFailure) {
        var text = JSON.stringify(body)
        return callAddress(tag, path + "?" + signSet.getinterfastr(text), body, onReply, onFailure)
    }

    // A POST of `body` to `pathAndQuery` as given: for the handshake, whose query is not signed.
    function callAddress(tag, pathAndQuery, body, onReply, onFailure) {
        Session.whoPost = tag
        return track(ccRequest.CCRequest_POST(JSON.stringify(body), pathAndQuery),
                     tag, onReply, onFailure, true)
    }

    // A plain GET of a full address outside the backend (vendor files, the map service):
    // no envelope, so onReply gets every answer and onFailure only network failures.
    function fetch(tag, address, onReply, onFailure) {
        Session.whoPost = tag
        return track(ccRequest.CCRequest_GET1("", address), tag, onReply, onFailure, false)
    }

    // A plain POST of `text` to a full address outside the backend, answered like fetch().
    function postTo(tag, address, text, onReply, onFailure) {
        Session.whoPost = tag
        return track(ccRequest.CCRequest_POST1(text, address), tag, onReply, onFailure, false)
    }

    // The rows of a list reply, read with the reply readers: one object per element of the
    // list `flag` selects (0 `data`, 1 `data.list`, 2 `data.proList`), holding `keys`.
    function listOf(reply, keys, flag) {
        var n = ccRequest.getOrderNum(reply, flag)
        var rows = []
        for (var i = 0; i < n; ++i) {
            var row = {}
            for (var k = 0; k < keys.length; ++k)
                row[keys[k]] = ccRequest.getOrderInfo(reply, keys[k], i, flag)
            rows.push(row)
        }
        return rows
    }

    // What the worker reads about a failed call: that the backend cannot be reached, or the
    // backend's own reason (Session.msg, set before the call's onFailure runs).
    function failureText(unreachable) {
        return unreachable ? Requests.unreachableText : Session.msg
    }

    // Whether a call with this tag is out: an action already in flight ignores a second
    // trigger instead of sending twice.
    function busy(tag) {
        for (var id in calls)
            if (calls[id].tag === tag)
                return true
        return false
    }

    function track(callId, tag, onReply, onFailure, envelope) {
        if (callId === 0) {
            console.warn(Logs.common, tag + ": the request could not be built")
            return 0
        }
        calls[callId] = { tag: tag, onReply: onReply, onFailure: onFailure, envelope: envelope }
        ++pending
        return callId
    }

    function finish(callId, text, failed) {
        var entry = calls[callId]
        if (entry === undefined)
            return
        delete calls[callId]
        --pending

        if (!entry.envelope) {
            if (!failed)
                entry.onReply && entry.onReply(text)
            else
                fail(entry, text, true)
            return
        }
        // A network error text is no reply to read (its code is the text itself).
        Session.httpCode = failed ? text : ccRequest.josnHttpCode(text)
        Session.msg = failed ? "" : ccRequest.josnMsg(text)
        var outcome = Requests.outcome(failed, String(Session.httpCode))
        if (entry.write && settleWrite(entry, outcome))
            return
        if (outcome === "expired")
            sessionExpired()
        else if (outcome === "ok")
            entry.onReply && entry.onReply(text)
        else
            fail(entry, text, outcome === "unreachable")
    }

    // Holds or releases a write after its answer. True when the answer was the backend's
    // "too old" for a repeat it never saw: the first sending was lost on its way, so the write
    // goes again as a new request, and its handlers hear that one's answer.
    function settleWrite(entry, outcome) {
        var w = entry.write
        if (Requests.unresolved(outcome, Session.httpCode))
            return false
        Requests.release(w.key)
        if (!w.repeat || !Requests.isStale(Session.httpCode, Session.msg))
            return false
        write(entry.tag, w.path, w.fields, entry.onReply, entry.onFailure, w.intent)
        return true
    }

    function fail(entry, text, unreachable) {
        if (entry.onFailure) {
            entry.onFailure(text, unreachable, entry.write !== undefined && Requests.heldBody(entry.write.key) !== null)
        } else if (unreachable) {
            console.warn(Logs.common, entry.tag + ": " + text)
            messageBox.btnMsgMessageErrBox("错误提示", Requests.unreachableText)
        } else {
            console.log(Logs.common, entry.tag + ": " + text)
        }
    }

    CCRequest {
        id: ccRequest
        onCallFinished: function (callId, jsonStr, failed) { backend.finish(callId, jsonStr, failed) }
    }

    SignSet { id: signSet }

    BVMessageBox { id: defaultBox }

    // The time-out dialog is made on the first 401 only; most screens never need it.
    property var timeoutDialog: null

    function sessionExpired() {
        if (timeoutDialog === null)
            timeoutDialog = timeoutComponent.createObject(backend)
        timeoutDialog.open()
    }

    Component {
        id: timeoutComponent
        SessionTimeout {}
    }
}
