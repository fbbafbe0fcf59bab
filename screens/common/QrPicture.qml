import QtQuick 2.15
import PrinterHelper 1.0
import "qrpictures.js" as QrPictures

// The QR picture of a code (a bag, an order), written once per code into qrpic/ and shown
// through the image provider. A picture that went missing (qrpic/ is emptied at sign-out) is
// made again once.
Image {
    id: picture

    property string code: ""
    property bool remade: false

    fillMode: Image.PreserveAspectFit
    smooth: false
    source: code === "" ? "" : QrPictures.pictureOf(code, printer, false)

    onCodeChanged: remade = false
    onStatusChanged: {
        if (status !== Image.Error || remade || code === "")
            return
        remade = true
        source = ""
        source = QrPictures.pictureOf(code, printer, true)
    }

    PrinterHelper { id: printer }
}
