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

// Whether a call's outcome is not known: no usable answer, or a fault of the service (5xx),
// after which the backend may or may not have done the work.
function unresolved(outcome, httpCode) {
    return outcome === "unreachable" || (outcome === "refused" && Number(httpCode) >= 500)
}

// The backend's refusal of a request whose timestamp is too old. For a write sent again it
// means the backend never saw the first sending (it answers a repeat it knows with its kept
// answer first), so a fresh request is safe.
function isStale(httpCode, msg) {
    return String(httpCode) === "403" && String(msg).indexOf("请求时间戳已过期") === 0
}

// --- Writes whose outcome is not known -------------------------------------------------------
// One table for the whole terminal (a library file is shared by every screen): the body of each
// write sent and not yet answered for sure, by writeKey. The worker's retry of the same write,
// from the same screen or one opened again, sends that very body, which the backend answers
// once.
var heldWrites = ({})

// The same path with the same fields in the same session is the same write.
function writeKey(path, fields, token) {
    return path + "\n" + token + "\n" + stableText(fields)
}

function heldBody(key) {
    return heldWrites.hasOwnProperty(key) ? heldWrites[key] : null
}

function hold(key, body) {
    heldWrites[key] = body
}

function release(key) {
    delete heldWrites[key]
}

function forgetHeldWrites() {
    heldWrites = ({})
}

// JSON text with object keys in order, so fields built in another order give the same text.
function stableText(value) {
    if (Array.isArray(value))
        return "[" + value.map(stableText).join(",") + "]"
    if (value !== null && typeof value === "object")
        return "{" + Object.keys(value).sort().map(function (k) {
            return JSON.stringify(k) + ":" + stableText(value[k])
        }).join(",") + "}"
    return JSON.stringify(value === undefined ? null : value)
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
