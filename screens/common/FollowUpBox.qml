import QtQuick 2.15
import BVMessageBox 1.0

// A message for the worker, then what follows it: show() puts up the box and, once the worker
// confirms it, runs `then` (closing the box any other way runs nothing).
//
//   followUp.error(backend.failureText(unreachable), function () { talk.load() })
//
// A message box is modal: its answer comes while show() runs, and only that answer is taken
// as this box's, even when several pieces of a screen share one messageBox. A recorder that a
// test puts in its place answers later, through confirm().
Item {
    id: followUp
    visible: false

    // Where the box is shown: a screen hands its own messageBox (which tests replace), or the
    // box of this piece.
    property var messageBox: box
    readonly property BVMessageBox box: BVMessageBox {}
    property var pending: null
    property bool showing: false

    function error(text, then) {
        show("错误提示", text, then, true)
    }

    function info(title, text, then) {
        show(title, text, then, false)
    }

    function show(title, text, then, isError) {
        pending = then || null
        showing = true
        if (isError)
            messageBox.btnMsgMessageErrBox(title, text)
        else
            messageBox.btnMsgMessageInformationBox(title, text)
        showing = false
        if (answersAtOnce())
            pending = null
    }

    // The worker confirmed the box: what follows runs.
    function confirm() {
        var then = pending
        pending = null
        if (then)
            then()
    }

    function answersAtOnce() {
        return typeof messageBox.okFlishedReturn === "function"
    }

    Connections {
        target: followUp.answersAtOnce() ? followUp.messageBox : null
        ignoreUnknownSignals: true
        function onOkFlishedReturn(jsonStr) {
            if (followUp.showing)
                followUp.confirm()
        }
    }
}
