.pragma library
// Money in whole fen, never in floating yuan: 19.99 * 100 is 1998.9999999999998 in
// JavaScript, so amounts are parsed and written as text and computed as integers.

// 1234 or "1234" -> "12.34", -5 -> "-0.05"; anything that is not a whole number of fen
// -> "0.00".
function fenToYuan(fen) {
    var text = String(fen === undefined || fen === null ? "" : fen).trim()
    if (!/^-?\d+$/.test(text))
        return "0.00"
    var negative = text.charAt(0) === "-"
    var digits = negative ? text.substring(1) : text
    while (digits.length < 3)
        digits = "0" + digits
    var whole = digits.substring(0, digits.length - 2).replace(/^0+(?=\d)/, "")
    return (negative && /[1-9]/.test(digits) ? "-" : "") + whole + "." + digits.substring(digits.length - 2)
}

// The largest whole number of fen held exactly: amounts travel as numbers (never through a
// 32-bit int), and a double holds every whole number up to 2^53 exactly. Every amount the
// backend takes is far below it; a typed amount above it is no amount.
var maxFen = 9007199254740991

// Whole fen from the digits of the yuan and of the fen ("42949673", "01" -> 4294967301);
// NaN when that is more than maxFen.
function fenOf(yuanDigits, fenDigits) {
    var digits = (yuanDigits + fenDigits).replace(/^0+(?=\d)/, "")
    var max = String(maxFen)
    if (digits.length > max.length || (digits.length === max.length && digits > max))
        return NaN
    return parseInt(digits, 10)
}

// Yuan as typed ("19.99", "20", "0.5", " 3. ") -> whole fen (1999, 2000, 50, 300); NaN for
// anything else ("", "1.2.3", "1.234", "-1", "abc") and above maxFen.
function yuanToFen(text) {
    var t = String(text === undefined || text === null ? "" : text).trim()
    var m = /^(\d*)(?:\.(\d{0,2}))?$/.exec(t)
    if (m === null || (m[1] === "" && (m[2] === undefined || m[2] === "")))
        return NaN
    return fenOf(m[1] || "0", ((m[2] || "") + "00").substring(0, 2))
}

// Whether `text` is an amount in yuan that yuanToFen takes.
function isYuan(text) {
    return !isNaN(yuanToFen(text))
}

// `percent` % of `fen`, rounded down to whole fen: percentOf(3333, 50) is 1666.
function percentOf(fen, percent) {
    return Math.floor(Number(fen) * Number(percent) / 100)
}

// Yuan as typed, with any number of decimals, to whole fen rounded half up ("12.345" ->
// 1235, "0.004" -> 0, "7" -> 700); NaN for what is not a plain decimal ("1.2.3", "", "-1")
// and above maxFen.
function yuanToFenRounded(text) {
    var t = String(text === undefined || text === null ? "" : text).trim()
    var m = /^(\d*)(?:\.(\d*))?$/.exec(t)
    if (m === null || (m[1] === "" && (m[2] === undefined || m[2] === "")))
        return NaN
    var decimals = (m[2] || "") + "000"
    var fen = fenOf(m[1] || "0", decimals.substring(0, 2))
    return decimals.charAt(2) >= "5" ? (fen < maxFen ? fen + 1 : NaN) : fen
}
