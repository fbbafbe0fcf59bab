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

// The `data` of a reply text; undefined for a text that is not a JSON envelope. A reply that
// is not JSON never throws here.
function dataOf(text) {
    try {
        var reply = JSON.parse(text)
        return reply !== null && typeof reply === "object" ? reply.data : undefined
    } catch (e) {
        return undefined
    }
}

// The `data` of a reply text when it is an object; {} for any other reply.
function dataObject(text) {
    var data = dataOf(text)
    return data !== null && typeof data === "object" ? data : {}
}
