.pragma library
// How the screens' request piece reads the outcome of a call.

// What the worker is told when the backend gives no usable answer.
var unreachableText = "无法连接服务器，请检查网络后重试"

// "ok", "expired" (401: the worker's session has ended), "unreachable" (a network error,
// the time limit, or an answer that is not an envelope: an HTML page, cut-off JSON) or
// "refused" (an envelope with another code). `httpCode` is the envelope's code as text, or
// the whole answer when it was not JSON.
function outcome(failed, httpCode) {
    if (failed || !/^-?\d+$/.test(httpCode))
        return "unreachable"
    if (httpCode === "200")
        return "ok"
    if (httpCode === "401")
        return "expired"
    return "refused"
}
