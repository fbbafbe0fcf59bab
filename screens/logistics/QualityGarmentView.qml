import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "pickup.js" as Pickup
import "quality.js" as Quality

// One garment at the quality check: its photos, its record, its accessories with the field
// they are checked by, the slot line and what the garment offers (garmentActions of
// quality.js). Every action is a signal; the screen sends it.
Rectangle {
    id: view
    color: Theme.card
    radius: Theme.radiusLarge

    // The garment (orderProductRel/queryProductInfo) and what it offers.
    property var record: ({})
    property var actions: ({})

    signal annexScanned(string code)
    signal checkAllClicked()
    signal passClicked()
    signal reworkClicked()
    signal certificateClicked()
    signal ticketClicked()

    readonly property var photos: Array.isArray(record.productImgList) ? record.productImgList : []
    readonly property alias annexField: annexField
    property string shownPhoto: ""

    onRecordChanged: shownPhoto = photos.length > 0 ? photos[0].cameraImg : ""

    function field(name) {
        var v = record[name]
        return v === undefined || v === null ? "" : String(v)
    }

    // The accessory field takes the keyboard while accessories wait for their check.
    function focusAnnexField() {
        annexField.focusField()
    }

    component Line: Text {
        width: parent.width
        font.pixelSize: Theme.fontNormal
        color: Theme.textRegular
        elide: Text.ElideRight
    }
    component Action: Button { font.pixelSize: Theme.fontNormal }
    component Cell: Text {
        font.pixelSize: Theme.fontNormal
        color: Theme.textRegular
    }

    // --- Photos ------------------------------------------------------------------------------

    Column {
        id: photoColumn
        x: Theme.spacingLarge
        y: Theme.spacingLarge
        width: 300
        spacing: Theme.spacingSmall
        Rectangle {
            width: parent.width
            height: 300
            color: Theme.cardAlt
            border.color: Theme.line
            Image {
                objectName: "largePhoto"
                anchors.fill: parent
                anchors.margins: 2
                fillMode: Image.PreserveAspectFit
                asynchronous: true
                source: view.shownPhoto
            }
            Text {
                anchors.centerIn: parent
                visible: view.photos.length === 0
                text: "暂无照片"
                color: Theme.textMuted
                font.pixelSize: Theme.fontNormal
            }
        }
        Text {
            objectName: "photoCount"
            text: "共" + view.photos.length + "张"
            font.pixelSize: Theme.fontSmall
            color: Theme.textSecondary
        }
        Flow {
            width: parent.width
            spacing: Theme.spacingTiny
            Repeater {
                model: view.photos
                Image {
                    required property var modelData
                    width: 56
                    height: 56
                    fillMode: Image.PreserveAspectCrop
                    asynchronous: true
                    source: modelData.cameraImg
                    MouseArea {
                        anchors.fill: parent
                        onClicked: view.shownPhoto = parent.modelData.cameraImg
                    }
                }
            }
        }
    }

    // --- The record --------------------------------------------------------------------------

    Column {
        id: recordColumn
        anchors.left: photoColumn.right
        anchors.leftMargin: Theme.spacingLarge
        anchors.right: parent.right
        anchors.rightMargin: Theme.spacingLarge
        y: Theme.spacingLarge
        spacing: Theme.spacingTiny

        Row {
            spacing: Theme.spacingMedium
            Text {
                id: productName
                objectName: "productName"
                text: view.field("productName")
                font.pixelSize: Theme.fontLarge
                font.bold: true
                color: Theme.textStrong
            }
            Text {
                objectName: "garmentStatus"
                text: view.field("statusText")
                font.pixelSize: Theme.fontNormal
                color: Theme.primary
                anchors.baseline: productName.baseline
            }
        }
        Line { objectName: "garmentCode"; text: "条码：" + view.field("scanCode") }
        Line { text: "状态时间：" + Session.timerToDate(view.field("statusTime")) }
        Line { text: "服务：" + view.field("serviceName") }
        Line { text: "附加服务：" + Pickup.names(view.field("addServiceDesc"), true) }
        Line { text: "颜色：" + Pickup.names(view.field("colorDesc")) }
        Line { text: "瑕疵：" + Pickup.names(view.field("flawDesc")) }
        Line { text: "洗后效果：" + Pickup.names(view.field("effectDesc")) }
        Line { text: "品牌：" + view.field("brandName") }
        Row {
            objectName: "slotLine"
            visible: view.actions.slotLine === true
            spacing: Theme.spacingLarge
            Text {
                objectName: "placeText"
                text: Quality.placeText(view.field("proIndex"), view.field("proTotal"))
                font.pixelSize: Theme.fontMedium
                color: Theme.textStrong
            }
            Text {
                objectName: "slotText"
                text: Quality.slotText(view.field("storeShelfNo"))
                font.pixelSize: Theme.fontMedium
                font.bold: true
                color: Theme.amount
            }
        }

        // --- Accessories ---------------------------------------------------------------------

        Text {
            topPadding: Theme.spacingMedium
            text: "附件（" + Quality.annexes(view.record).length + "）"
            font.pixelSize: Theme.fontMedium
            font.bold: true
            color: Theme.textStrong
        }
        Row {
            spacing: Theme.spacingSmall
            visible: view.actions.checkAll === true
            ScanField {
                id: annexField
                objectName: "annexField"
                placeholderText: "衣物附件核对"
                fieldWidth: 220
                onScanned: function (code) { view.annexScanned(code) }
            }
            Action {
                objectName: "checkAllButton"
                text: "全部核对"
                onClicked: view.checkAllClicked()
            }
        }
        Repeater {
            model: Quality.annexes(view.record)
            Rectangle {
                id: annexRow
                required property var modelData
                objectName: "annex_" + modelData.scanCode
                width: recordColumn.width
                height: 34
                color: Theme.cardAlt
                radius: Theme.radiusSmall

                Row {
                    anchors.verticalCenter: parent.verticalCenter
                    x: Theme.spacingSmall
                    spacing: Theme.spacingMedium
                    Cell { text: annexRow.modelData.productName; color: Theme.textStrong }
                    Cell { text: annexRow.modelData.scanCode }
                    Cell { text: annexRow.modelData.statusText || "" }
                    Cell { text: annexRow.modelData.tranNum || "" }
                    Cell {
                        objectName: "annexState"
                        text: Quality.annexStateText(annexRow.modelData)
                        color: Quality.isTrue(annexRow.modelData.isPackaged) ? Theme.success : Theme.danger
                    }
                    Cell {
                        text: Session.timerToDate(annexRow.modelData.statusTime) + " " + (annexRow.modelData.statusWorkName || "")
                        font.pixelSize: Theme.fontSmall
                        color: Theme.textSecondary
                    }
                }
            }
        }
    }

    // --- What the garment offers -----------------------------------------------------------

    Row {
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: Theme.spacingLarge
        spacing: Theme.spacingSmall
        Action { objectName: "reworkButton"; text: "返洗"; visible: view.actions.rework === true; onClicked: view.reworkClicked() }
        Action { objectName: "passButton"; text: "合格"; visible: view.actions.pass === true; onClicked: view.passClicked() }
        Action { objectName: "certificateButton"; text: "打合格证"; visible: view.actions.tools === true; onClicked: view.certificateClicked() }
        Action { objectName: "ticketButton"; text: "打印小票"; visible: view.actions.tools === true; onClicked: view.ticketClicked() }
    }
}
