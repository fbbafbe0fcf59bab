import QtQuick 2.15
import QtQuick.Controls 2.15
import QtMultimedia 5.15
import Brenvo 1.0
import "photos.js" as Photos

// A garment's photos: the stored ones (the first one large) and new ones taken with the
// camera, at most nine together. "确定" uploads the new photos to the photo store one after
// the other and records those stored; closing the window ("返回", or after the record)
// stops the camera, clears the local photo folder and has the order reloaded. Without a
// camera the window says so, and the stored photos still show. A record whose answer was
// lost is sent again as it was, without uploading again, so the photos are recorded once.
PopupWindow {
    id: window
    title: "衣物照片"
    panelWidth: 1040
    panelHeight: 660

    // The screen's conversation (IntakeConversation): its request piece, whose replies wait
    // while photos upload, and its writes.
    property var conversation: null
    readonly property var backend: conversation !== null ? conversation.backend : null
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
    // The fields of the record sent whose outcome is not known yet: "确定" sends it again.
    property var record: null
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
        record = null
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
        if (!source.available || pendingKey !== "" || record !== null || !Photos.canCapture(stored.length, fresh.length))
            return
        number += 1
        pendingKey = Photos.photoKey(backend.request.randString(), scanCode, number)
        files.makeFolder("/qrpic/client/")
        source.capture(files.getFilePath() + "/qrpic/" + pendingKey)
    }

    function removeStored(photo) {
        conversation.write("DeletePhoto", "orderProductRelImg/delete", { id: photo.id }, function () {
            window.loadStored(false)
        }, function (text) {
            window.conversation.followUp.error(text)
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
        if (uploading)
            return
        if (record === null) {
            if (fresh.length === 0) {
                close()
                return
            }
            var uploaded = upload()
            if (uploaded.keys.length > 0) {
                record = { orderProId: garmentId, imgs: Photos.imagesText(uploaded.keys) }
                sendRecord()
            }
            if (uploaded.failures > 0)
                failed("settings", "图片上传")
            return
        }
        sendRecord()
    }

    // { keys, failures } of the new photos put into the photo store.
    function upload() {
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
        return { keys: keys, failures: failures }
    }

    function sendRecord() {
        conversation.write("UpLoadPic", "orderProductRelImg/batchAdd", record, function () {
            window.record = null
            window.close()
        }, function (text) {
            window.record = null
            window.failed("order", text)
        })
    }

    onClosed: {
        source.stop()
        files.deleteFile("/qrpic/client/")
        fresh = []
        pendingKey = ""
        record = null
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
            console.log(Logs.ordering, "photo: " + message)
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
        anchors.topMargin: Theme.spacingMedium
        anchors.bottom: photoButtons.top
        anchors.bottomMargin: Theme.spacingSmall
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
                    anchors.margins: -Theme.spacingTiny
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
        anchors.leftMargin: Theme.spacingLarge
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
        id: photoButtons
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        spacing: Theme.spacingMedium
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
            // A record under way takes no new photo: they would not be in it.
            enabled: window.source.available && window.record === null
                     && Photos.canCapture(window.stored.length, window.fresh.length)
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
