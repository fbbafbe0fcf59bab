.pragma library

// A published version names itself the way the program's own does: "V" and dotted digits.
// A failed fetch delivers the network layer's error text instead, which never does.
function looksLikeVersion(text) {
    return /v\d+(\.\d+)+/i.test(String(text))
}
