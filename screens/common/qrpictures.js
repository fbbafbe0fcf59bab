.pragma library
// The codes whose QR picture was written into qrpic/ in this run: a grid that redraws, pages
// back or opens again shows the picture without making it again.

var made = ({})

// The address of `code`'s picture for the image provider, made first if need be.
function pictureOf(code, printer, remake) {
    if (remake || !made.hasOwnProperty(code)) {
        printer.creatQRCode(code)
        made[code] = true
    }
    return "image://imageProvider/qrpic/" + code + ".jpg"
}
