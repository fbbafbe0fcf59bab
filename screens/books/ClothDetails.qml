import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "money.js" as Money
import "pickup.js" as Pickup

// "衣物详情": one garment in full: where it belongs and stands, what is done to it and what it
// costs, its customer, its road and its photos. The section buttons scroll to their section;
// "衣物列表" closes the details and shows the opener again.
ScreenPage {
    id: details
    objectName: "ClothDetails"

    // From the opener: the garment's code, and which list opened it ("ClothList", ...).
    property string idofCloth: ""
    property string toOrderFlag: ""

    property var messageBox: followUp.box
    readonly property alias conversation: talk
    readonly property alias followUp: followUp
    readonly property alias photoWindow: photoWindow
    readonly property var info: talk.info

    Component.onCompleted: talk.load(idofCloth)

    // Scrolls the page to a section, as far as the page goes.
    function showSection(section) {
        flick.contentY = Math.max(0, Math.min(section.y, flick.contentHeight - flick.height))
    }

    ClothDetailsConversation {
        id: talk
        messageBox: details.messageBox
        onFailed: function (text) { followUp.error(text) }
    }

    FollowUpBox { id: followUp; messageBox: details.messageBox }

    component Heading: Text {
        font.pixelSize: Theme.fontMedium
        font.bold: true
        color: Theme.textStrong
        topPadding: Theme.spacingMedium
    }
    component Line: Text {
        font.pixelSize: Theme.fontBody
        color: Theme.textRegular
        width: body.width
        wrapMode: Text.Wrap
    }
    component Field: Row {
        property string label
        property string value
        spacing: Theme.spacingSmall
        Text { width: 90; text: parent.label; font.pixelSize: Theme.fontBody; color: Theme.textSecondary }
        Text {
            objectName: parent.objectName + "Value"
            text: parent.value
            font.pixelSize: Theme.fontBody
            color: Theme.textStrong
        }
    }

    Text {
        id: title
        text: "衣物详情"
        anchors.left: details.backButton.right
        anchors.leftMargin: Theme.spacingLarge
        anchors.verticalCenter: details.backButton.verticalCenter
        font.pixelSize: Theme.fontTitle
        font.bold: true
        color: Theme.textStrong
    }
    Button {
        objectName: "backToListButton"
        text: "衣物列表"
        anchors.right: parent.right
        anchors.rightMargin: Theme.spacingLarge
        anchors.verticalCenter: title.verticalCenter
        onClicked: details.close()
    }

    Row {
        id: sectionBar
        anchors.left: parent.left
        anchors.top: details.backButton.bottom
        anchors.margins: Theme.spacingLarge
        spacing: Theme.spacingSmall
        Repeater {
            model: [["衣物信息", placeSection], ["衣物详情", garmentSection], ["客户信息", customerSection],
                    ["衣物跟踪", trackSection], ["照片", photoSection]]
            Button {
                required property var modelData
                objectName: "section_" + modelData[0]
                text: modelData[0]
                onClicked: details.showSection(modelData[1])
            }
        }
    }

    Flickable {
        id: flick
        objectName: "detailsPage"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: sectionBar.bottom
        anchors.bottom: parent.bottom
        anchors.margins: Theme.spacingLarge
        contentHeight: body.height
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {}

        Column {
            id: body
            width: flick.width - Theme.spacingLarge
            spacing: Theme.spacingSmall

            Column {
                id: placeSection
                spacing: Theme.spacingSmall
                Heading { text: "衣物信息" }
                Field { objectName: "scanCode"; label: "衣物条码"; value: details.info.scanCode || "" }
                Field { objectName: "orderNo"; label: "所属单号"; value: details.info.orderNo || "" }
                Field { objectName: "statusText"; label: "当前状态"; value: details.info.statusText || "" }
                Field { objectName: "storeName"; label: "所属门店"; value: details.info.storeName || "" }
                Field { objectName: "factoryName"; label: "所属工厂"; value: details.info.factoryName || "" }
                Line {
                    objectName: "pieceCount"
                    text: "该订单共有" + (details.info.total || 0) + "衣物"
                }
            }

            Column {
                id: garmentSection
                spacing: Theme.spacingSmall
                Heading { text: "衣物详情" }
                Row {
                    spacing: Theme.spacingSmall
                    Text {
                        text: details.info.productName || ""
                        font.pixelSize: Theme.fontMedium
                        font.bold: true
                        color: Theme.textStrong
                    }
                    Text {
                        objectName: "accessoryMark"
                        visible: String(details.info.type) === "2"
                        text: "附件"
                        font.pixelSize: Theme.fontNormal
                        color: Theme.warning
                    }
                }
                Line {
                    objectName: "serviceLine"
                    text: (details.info.serviceName || "") + " " + Pickup.names(details.info.colorDesc)
                          + " ¥:" + Money.fenToYuan(details.info.serviceAmt || 0) + "元"
                }
                Line { text: "条码：" + (details.info.scanCode || "") }
                Line {
                    objectName: "bindCodeLine"
                    visible: (details.info.bindCode || "") !== ""
                    text: "绑标：" + (details.info.bindCode || "")
                }
                Line { objectName: "subtotalLine"; text: "小计：¥" + Money.fenToYuan(details.info.subtotal || 0) }
                Line {
                    objectName: "flawLine"
                    visible: text !== ""
                    text: Pickup.names(details.info.flawDesc)
                }
                Line { text: "附加：" + Pickup.names(details.info.addServiceDesc, true) }
                Line {
                    objectName: "railLine"
                    readonly property string rail: Pickup.railText(details.info.tranTypeName, details.info.storeShelfNo)
                    visible: rail !== ""
                    text: rail
                }
                Line {
                    objectName: "conveyorLine"
                    visible: (details.info.tranTypeText || "") !== ""
                    text: (details.info.tranTypeText || "") + " " + (details.info.tranNum || "")
                }
            }

            Column {
                id: customerSection
                spacing: Theme.spacingSmall
                Heading { text: "客户信息" }
                CustomerBlock {
                    objectName: "customerBlock"
                    customer: talk.customer
                }
            }

            Column {
                id: trackSection
                spacing: Theme.spacingSmall
                Heading { text: "衣物跟踪" }
                Repeater {
                    objectName: "trackList"
                    model: talk.track
                    Line {
                        required property var modelData
                        text: Session.timerToDate(modelData.createTime) + "  " + modelData.statusText
                              + (modelData.workName ? "  " + modelData.workName : "")
                    }
                }
            }

            Column {
                id: photoSection
                objectName: "photoSection"
                spacing: Theme.spacingSmall
                Heading { text: "照片" }
                Image {
                    objectName: "firstPhoto"
                    visible: talk.photos.length > 0
                    width: 360
                    height: 270
                    fillMode: Image.PreserveAspectFit
                    asynchronous: true
                    source: talk.photos.length > 0 ? talk.photos[0] : ""
                    MouseArea { anchors.fill: parent; onClicked: photoWindow.show(0) }
                }
                Row {
                    spacing: Theme.spacingSmall
                    Repeater {
                        model: talk.photos.slice(1)
                        Image {
                            required property string modelData
                            required property int index
                            width: 96
                            height: 72
                            fillMode: Image.PreserveAspectCrop
                            asynchronous: true
                            sourceSize.width: 192
                            source: modelData
                            MouseArea { anchors.fill: parent; onClicked: photoWindow.show(parent.index + 1) }
                        }
                    }
                }
                Line { visible: talk.photos.length === 0; text: "暂无照片" }
            }
        }
    }

    GarmentPhotoWindow { id: photoWindow; photos: talk.photos }

    LoadingShade { visible: talk.loading }
}
