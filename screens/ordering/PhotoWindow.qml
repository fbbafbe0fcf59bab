import QtQuick 2.15
import QtQuick.Controls 2.15
import QtMultimedia 5.15
import Brenvo 1.0
import "photos.js" as Photos

// A garment's photos: the stored ones (the first one large) and new ones taken with the
// camera, at most nine together. "确定" uploads the new photos to the photo store one after
// the other and records those stored; closing the window ("返回", or after the record)
// stops the camera, clears the local photo folder and has the order reloaded. Without a
// camera the window says so, and the stored photos still show.
PopupWindow {
    id: window
    title: "衣物照片"
    panelWidth: 1040
    panelHeight: 660

    // The screen's request piece: uploads hold the screen's replies until they are over.
    property var backend: null
    // Where pictures come from: the camera, or what a test puts in its place.
    property var source: camera
    property string garmentId: ""
    property string scanCode: ""
    property int picCnt: 0
    // { id, cameraImg } each, from orderProductRelImg/list.
    property var stored: []
    // { key, address } each: taken in this visit, not uploaded yet.
    property var fresh: []
    property int number: 0
    property string pendingKey: ""
    property bool uploading: false
    readonly property var shown: stored.map(function (p) { return p.cameraImg })
                                 .concat(fresh.map(function (p) { return p.address }))

    // The window closed: the order is reloaded.
    signal done()
    // A failure the worker confirms (as the intake conversation's).
    signal failed(string purpose, string text)

    function start(row) {
        garmentId = String(row.id)
        scanCode = row.scanCode
        picCnt = parseInt(row.picCnt, 10) || 0
        stored = []
        fresh = []
        pendingKey = ""
        number = Photos.startNumber(picCnt, [])
        open()
        source.start()
        loadStored(true)
    }

    function loadStored(first) {
        backend.call("CLothPhoto", "orderProductRelImg/list", { orderProId: garmentId }, function (reply) {
            window.stored = window.backend.listOf(reply, ["id", "cameraImg"], 0)
            if (first)
                window.number = Photos.startNumber(window.picCnt, window.shown)
        })
    }

    function capture() {
        if (!source.available || pendingKey !== "" || !Photos.canCapture(stored.length, fresh.length))
            return
        number += 1
        pendingKey = Photos.photoKey(backend.request.randString(), scanCode, number)
        files.makeFolder("/qrpic/client/")
        source.capture(files.getFilePath() + "/qrpic/" + pendingKey)
    }

    function removeStored(photo) {
        backend.call("DeletePhoto", "orderProductRelImg/delete", { id: photo.id }, function () {
            window.loadStored(false)
        })
    }

    function removeFresh(index) {
        fresh = fresh.filter(function (p, i) { return i !== index })
    }

    // Uploads run one after the other and block the screen; the replies of its other requests
    // wait until they are over (the request object holds them). A failed upload is left out
    // of the record and told once, after the record was sent; when none was stored the window
    // stays open with its photos, so nothing taken is lost.
    function save() {
        if (uploading || backend.busy("UpLoadPic"))
            return
        if (fresh.length === 0) {
            close()
            return
        }
        uploading = true
        var keys = []
        var failures = 0
        for (var i = 0; i < fresh.length; ++i) {
            var key = backend.request.qiniuUpload(Session.qiniuToken, fresh[i].key)
            if (key === "")
                ++failures
            else
                keys.push(key)
        }
        uploading = false
        if (keys.length > 0)
            backend.call("UpLoadPic", "orderProductRelImg/batchAdd",
                         { orderProId: garmentId, imgs: Photos.imagesText(keys) },
                         function () { window.close() },
                         function (reply, unreachable) {
                             window.failed("order", window.backend.failureText(unreachable))
                         })
        if (failures > 0)
            failed("settings", "图片上传")
    }

    onClosed: {
        source.stop()
        files.deleteFile("/qrpic/client/")
        fresh = []
        pendingKey = ""
        done()
    }

    Connections {
        target: window.source
        function onCaptured(path) {
            if (window.pendingKey === "")
                return
            window.fresh = window.fresh.concat([{ key: window.pendingKey,
                                                  address: "image://imageProvider/qrpic/" + window.pendingKey }])
            window.pendingKey = ""
        }
        function onFailed(message) {
            console.log("photo: " + message)
            window.pendingKey = ""
        }
    }

    SettingsFile { id: files }
    CameraSource { id: camera }

    Image {
        id: large
        objectName: "largePhoto"
        width: 460
        height: 340
        fillMode: Image.PreserveAspectFit
        cache: false
        source: window.shown.length > 0 ? window.shown[0] : ""
    }

    GridView {
        id: thumbnails
        objectName: "photoThumbnails"
        anchors.top: large.bottom
        anchors.topMargin: 10
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 50
        width: large.width
        cellWidth: 115
        cellHeight: 90
        clip: true
        model: window.shown
        delegate: Item {
            id: thumbnail
            required property string modelData
            required property int index
            width: 110
            height: 86
            Image {
                anchors.fill: parent
                fillMode: Image.PreserveAspectCrop
                cache: false
                source: thumbnail.modelData
            }
            Text {
                objectName: "deletePhoto_" + thumbnail.index
                anchors.right: parent.right
                anchors.top: parent.top
                text: "×"
                font.pixelSize: Theme.fontLarge
                color: Theme.dangerStrong
                MouseArea {
                    anchors.fill: parent
                    anchors.margins: -4
                    onClicked: {
                        if (thumbnail.index < window.stored.length)
                            window.removeStored(window.stored[thumbnail.index])
                        else
                            window.removeFresh(thumbnail.index - window.stored.length)
                    }
                }
            }
        }
    }

    Rectangle {
        anchors.left: large.right
        anchors.leftMargin: 20
        anchors.right: parent.right
        anchors.top: parent.top
        height: 420
        color: Theme.viewfinder
        VideoOutput {
            anchors.fill: parent
            visible: window.source.viewfinder !== null && window.source.viewfinder !== undefined
            source: visible ? window.source.viewfinder : null
        }
        Text {
            objectName: "noCameraText"
            anchors.centerIn: parent
            visible: !window.source.available
            text: "未检测到摄像头，无法拍照"
            font.pixelSize: Theme.fontLarge
            color: Theme.textOnDark
        }
    }

    Row {
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        spacing: 12
        Text {
            objectName: "photoCountText"
            anchors.verticalCenter: parent.verticalCenter
            text: window.shown.length + "/" + Photos.most
            font.pixelSize: Theme.fontBody
            color: Theme.textSecondary
        }
        Button {
            objectName: "captureButton"
            text: "拍照"
            enabled: window.source.available && Photos.canCapture(window.stored.length, window.fresh.length)
            onClicked: window.capture()
        }
        Button {
            objectName: "photoConfirm"
            text: "确定"
            onClicked: window.save()
        }
        Button {
            objectName: "photoBack"
            text: "返回"
            onClicked: window.close()
        }
    }
}
