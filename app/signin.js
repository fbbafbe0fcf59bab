.pragma library
// The pure steps of the sign-in conversation: the handshake's request and the pause
// before a refused handshake is tried again.

// The pause that follows one of `delayMs`: twice as long, but never over `maxMs`.
function nextRetryDelay(delayMs, maxMs) {
    return Math.min(delayMs * 2, maxMs)
}

// The handshake's body. `mac`, the machine's network address, goes in only when given.
function handshakeBody(serial, stamp, token, mac) {
    var body = { serialNum: serial, timestamp: stamp, token: token }
    if (mac !== undefined)
        body.mac = mac
    return body
}

// The handshake's path and query, built by hand from the body and not signed: the secret
// it asks for is what later requests are signed with.
function handshakeQuery(body) {
    var query = "client/sign?serialNum=" + body.serialNum + "&timestamp=" + body.timestamp
            + "&token=" + body.token
    if (body.mac !== undefined)
        query += "&mac=" + body.mac
    return query
}
