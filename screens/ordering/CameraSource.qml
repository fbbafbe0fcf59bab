import QtQuick 2.15
import QtMultimedia 5.15
import Brenvo 1.0

// Where the photo window's pictures come from: the machine's camera. The camera runs only
// while the window is open (start, stop). A test puts any object with the same members in its
// place: `available`, `viewfinder` (what a VideoOutput shows, or null), start(), stop(),
// capture(path), and the signals captured(path) and failed(message).
Item {
    id: source
    visible: false

    readonly property bool available: QtMultimedia.availableCameras.length > 0
    readonly property var viewfinder: loader.item ? loader.item.camera : null

    signal captured(string path)
    signal failed(string message)

    function start() {
        loader.active = available
    }

    function stop() {
        loader.active = false
    }

    // Writes the picture as a JPEG file at `path`.
    function capture(path) {
        if (loader.item === null)
            failed("未检测到摄像头")
        else
            loader.item.camera.imageCapture.captureToLocation(path)
    }

    Loader {
        id: loader
        active: false
        sourceComponent: Item {
            readonly property alias camera: camera
            Camera {
                id: camera
                captureMode: Camera.CaptureStillImage
                imageCapture.onImageSaved: function (requestId, path) { source.captured(path) }
                imageCapture.onCaptureFailed: function (requestId, message) { source.failed(message) }
                onErrorStringChanged: {
                    if (errorString !== "")
                        console.log(Logs.ordering, "camera: " + errorString)
                }
            }
        }
    }
}
