.pragma library
// Answers a FakeBackend's held requests by path, for screen tests that need exact replies.
// `routes`: path -> the reply object, a list of replies given in turn (the last one
// repeats), a function of the request body, a text sent as it is (an answer that is no
// envelope), or null/undefined to keep the request held. `answered`: index -> true.

function ok(data) {
    return { httpCode: 200, msg: "ok", data: data }
}

function refused(code, msg) {
    return { httpCode: code, msg: msg }
}

function pathOf(target) {
    var start = target.indexOf("/mac/") + 5
    var end = target.indexOf("?", start)
    return target.substring(start, end < 0 ? target.length : end)
}

function answer(fake, routes, answered) {
    for (var i = 0; i < fake.requestCount(); ++i) {
        if (answered[i])
            continue
        var route = routes[pathOf(fake.requestTarget(i))]
        var reply = route
        if (Array.isArray(route))
            reply = route.length > 1 ? route.shift() : route[0]
        else if (typeof route === "function")
            reply = route(JSON.parse(fake.requestBody(i)))
        if (reply === undefined || reply === null)
            continue
        answered[i] = true
        fake.answerHeld(i, typeof reply === "string" ? reply : JSON.stringify(reply))
    }
}

// The bodies sent to `path`, in order (as objects, or as texts with `raw`).
function sentTo(fake, path, raw) {
    var out = []
    for (var i = 0; i < fake.requestCount(); ++i)
        if (pathOf(fake.requestTarget(i)) === path)
            out.push(raw ? fake.requestBody(i) : JSON.parse(fake.requestBody(i)))
    return out
}

function paths(fake) {
    var out = []
    for (var i = 0; i < fake.requestCount(); ++i)
        out.push(pathOf(fake.requestTarget(i)))
    return out
}
