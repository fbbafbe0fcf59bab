.pragma library

// The photo window's rules: how a new photo is named and numbered, how many a garment holds,
// and the image list sent to orderProductRelImg/batchAdd.

// A garment holds at most this many photos, stored and new together.
var most = 9

// The photo's key in the photo store, and its file below "qrpic/": "client/", six random
// characters, the garment's code, the running number, ".jpg".
function photoKey(random, scanCode, number) {
    return "client/" + random + scanCode + number + ".jpg"
}

// The last digit of a photo's file name ("…/client/ab12cd70100000013.jpg" -> 3); 0 when it
// ends in none.
function lastDigit(address) {
    var name = String(address || "")
    name = name.substring(name.lastIndexOf("/") + 1).replace(/\.[^.]*$/, "")
    var digit = name.length > 0 ? name.charAt(name.length - 1) : ""
    return /\d/.test(digit) ? parseInt(digit, 10) : 0
}

// The running number new photos count on from: the photo count, or for a garment with stored
// photos 10 plus the last digit of the first one's name. Each capture takes the next one.
function startNumber(picCnt, stored) {
    if (stored.length > 0)
        return 10 + lastDigit(stored[0])
    var n = parseInt(picCnt, 10)
    return isNaN(n) ? 0 : n
}

function canCapture(storedCount, newCount) {
    return storedCount + newCount < most
}

// '[{"cameraImg":"client/a.jpg","compressImg": "" },…]': one object per uploaded photo,
// written as the backend has always been sent it.
function imagesText(keys) {
    return "[" + keys.map(function (key) {
        return '{"cameraImg":' + JSON.stringify(String(key)) + ',"compressImg": "" }'
    }).join(",") + "]"
}
