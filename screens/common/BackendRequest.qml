import QtQuick 2.15
import ks.Net.CCRequest 1.0
import SignSet 1.0
import Brenvo 1.0

// A screen's line to the backend: its own request and signing objects, the session fields
// every call carries, and the reply envelope stored in the session before the screen's
// handler sees it. One request is in flight at a time; `Session.whoPost` names it.
Item {
    id: backend

    // Emitted for every reply, after Session.httpCode and Session.msg were set from it.
    signal replied(string reply)

    property alias request: ccRequest

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

    // Sends a signed POST of `body` (an object) to `path` under the request tag `tag`.
    function postBody(tag, path, body) {
        var text = JSON.stringify(body)
        Session.whoPost = tag
        ccRequest.CCRequest_POST(text, path + "?" + signSet.getinterfastr(text))
    }

    // Sends a signed POST of the session fields plus `fields` to `path`.
    function post(tag, path, fields) {
        postBody(tag, path, sessionBody(fields || {}))
    }

    CCRequest {
        id: ccRequest
        onReqFlishedReturn: function (jsonStr) {
            Session.httpCode = ccRequest.josnHttpCode(jsonStr)
            Session.msg = ccRequest.josnMsg(jsonStr)
            backend.replied(jsonStr)
        }
    }

    SignSet { id: signSet }
}
