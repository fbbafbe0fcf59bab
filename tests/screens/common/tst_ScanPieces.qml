import QtQuick 2.15
import QtQuick.Window 2.15
import QtTest 1.2
import BrenvoTest 1.0
import "qrc:/"
import "qrc:/qrpictures.js" as QrPictures

// The pieces of the scanning screens: the field a barcode scanner types into, and the QR
// picture of a code, made once per code.
TestCase {
    id: testCase
    name: "ScanPieces"
    when: windowShown

    Window {
        id: testWindow
        width: 600
        height: 300
        visible: true
        ScanField { id: scanField; x: 10; y: 10 }
        QrPicture { id: picture; x: 10; y: 80; width: 120; height: 120 }
    }

    SignalSpy { id: scannedSpy; target: scanField; signalName: "scanned" }

    function init() {
        testWindow.requestActivate()
        tryCompare(testWindow, "active", true)
        scanField.focusField()
        scannedSpy.clear()
    }

    function scan(text) {
        for (var i = 0; i < text.length; ++i)
            keyClick(text.charAt(i))
        keyClick(Qt.Key_Return)
    }

    function test_scanned_codes_go_out_once_each_data() {
        return [
            { tag: "a code", typed: ["880012345621"], codes: ["880012345621"] },
            { tag: "the same code twice", typed: ["880012345621", "880012345621"],
              codes: ["880012345621", "880012345621"] },
            { tag: "letters typed by hand", typed: ["88a1"], codes: [] },
            { tag: "Enter alone", typed: [""], codes: [] }
        ]
    }
    function test_scanned_codes_go_out_once_each(row) {
        row.typed.forEach(scan)
        compare(scannedSpy.count, row.codes.length)
        for (var i = 0; i < row.codes.length; ++i)
            compare(scannedSpy.signalArguments[i][0], row.codes[i])
        compare(scanField.field.text, "")
    }

    function test_button_sends_the_typed_code() {
        scanField.field.text = "12345"
        mouseClick(findChild(scanField, "scanButton"))
        compare(scannedSpy.count, 1)
        compare(scannedSpy.signalArguments[0][0], "12345")
    }

    function test_qr_picture_is_made_once_per_code() {
        var made = 0
        var printer = { creatQRCode: function () { ++made } }
        QrPictures.pictureOf("T-1", printer, false)
        compare(QrPictures.pictureOf("T-1", printer, false), "image://imageProvider/qrpic/T-1.jpg")
        compare(made, 1)
        QrPictures.pictureOf("T-1", printer, true)
        compare(made, 2)
    }

    // The picture shows from qrpic/; after qrpic/ was emptied it is made again.
    function test_qr_picture_shows_and_is_remade_when_missing() {
        picture.code = "880099990001"
        tryCompare(picture, "status", Image.Ready)
        verify(TestSupport.exists("qrpic/880099990001.jpg"))
        verify(TestSupport.removeFile("qrpic/880099990001.jpg"))
        picture.cache = false
        picture.code = ""
        picture.code = "880099990001"
        tryCompare(picture, "status", Image.Ready)
        verify(TestSupport.exists("qrpic/880099990001.jpg"))
    }
}
