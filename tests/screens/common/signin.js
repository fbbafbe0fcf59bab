// Signs the demo worker in against the reference backend for a screen test: the terminal
// handshake, then the password login, written out here so a test needs no sign-in screen.
// Fills Session (serialNum, appSecret, accessToken, workerid, workername, storename).
// ScreenTestCase signs in with it when a test sets needsSignIn. It is no library: it uses
// the importing case's Session and TestSupport.

function md5Latin1(text) {
    return Qt.md5(text)
}

// The terminal's signing rule: values in key order, concatenated, MD5.
function signedQuery(body) {
    var keys = Object.keys(body).sort()
    var values = keys.map(function (k) { return typeof body[k] === "string" ? body[k] : "" })
    var sign = Qt.md5(values.join(""))
    var pairs = []
    for (var i = 0; i < keys.length; ++i) {
        if (keys[i] === "appSecret")
            continue
        if (keys[i] === "timestamp")
            pairs.push("sign=" + sign)
        pairs.push(keys[i] + "=" + (typeof body[keys[i]] === "string" ? body[keys[i]] : ""))
    }
    return pairs.join("&")
}

function post(path, body, done) {
    var xhr = new XMLHttpRequest()
    xhr.onreadystatechange = function () {
        if (xhr.readyState === XMLHttpRequest.DONE)
            done(xhr.status === 200 ? JSON.parse(xhr.responseText) : { httpCode: 0 })
    }
    xhr.open("POST", TestSupport.backendUrl + "/mac/" + path)
    xhr.setRequestHeader("Content-Type", "application/json;charset=UTF-8")
    xhr.send(JSON.stringify(body))
}

function signIn(serial, account, password) {
    var stamp = String(Date.now())
    var token = md5Latin1(md5Latin1(serial) + stamp)
    var hs = { serialNum: serial, timestamp: stamp, token: token }
    var xhrPath = "client/sign?serialNum=" + serial + "&timestamp=" + stamp + "&token=" + token
    post(xhrPath, hs, function (reply) {
        if (reply.httpCode !== 200) {
            console.warn("handshake refused: " + JSON.stringify(reply))
            return
        }
        var secret = reply.data.appSecret
        var login = {
            serialNum: serial, appSecret: secret, account: account,
            password: md5Latin1(md5Latin1(password) + secret), timestamp: String(Date.now())
        }
        post("client/login?" + signedQuery(login), login, function (r) {
            if (r.httpCode !== 200) {
                console.warn("login refused: " + JSON.stringify(r))
                return
            }
            Session.serialNum = serial
            Session.appSecret = secret
            Session.workerid = r.data.workerInfo.id
            Session.workername = r.data.workerInfo.name
            Session.storename = r.data.storeInfo.name
            Session.accessToken = r.data.accessToken
        })
    })
}
