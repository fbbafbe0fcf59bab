import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "intake.js" as Intake

// The order's garments, one row per garment or accessory: number, project and garment,
// service, add-ons, colour, flaws and expected effect, brand, accessories, amounts, photo
// count and the row's actions. Clicking a garment's name changes it, its photo count opens
// its photos.
Rectangle {
    id: table
    color: Theme.card
    radius: Theme.radiusMedium

    property var rows: []
    // Labels are offered once the intake is finished; "绑标" on terminals that bind labels.
    property bool labels: false
    property bool electronicLabel: false
    readonly property alias view: list

    signal changeClicked(var row)
    signal copyClicked(var row)
    signal deleteClicked(var row)
    signal photoClicked(var row)
    signal labelClicked(var row)
    signal bindClicked(var row)

    // Column widths, as parts of the table's width.
    readonly property var columns: [
        { title: "序号", part: 0.06 }, { title: "项目/衣物", part: 0.12 },
        { title: "服务", part: 0.07 }, { title: "附加", part: 0.1 },
        { title: "颜色/瑕疵/预计效果", part: 0.13 }, { title: "品牌", part: 0.07 },
        { title: "附件", part: 0.08 }, { title: "金额", part: 0.14 },
        { title: "小计", part: 0.07 }, { title: "照片", part: 0.05 }, { title: "操作", part: 0.11 }
    ]
    function columnWidth(i) {
        return Math.floor((list.width - 8) * columns[i].part)
    }

    component Cell: Text {
        font.pixelSize: Theme.fontSmall
        color: Theme.text
        wrapMode: Text.WrapAnywhere
        maximumLineCount: 4
        elide: Text.ElideRight
        leftPadding: Theme.spacingTiny
    }
    // A column's text, centred in the row's height.
    component TextCell: Item {
        property alias text: cellText.text
        property alias color: cellText.color
        default property alias extra: cellText.data
        height: parent.height
        Cell {
            id: cellText
            width: parent.width
            anchors.verticalCenter: parent.verticalCenter
        }
    }
    component Action: Text {
        signal clicked()
        font.pixelSize: Theme.fontSmall
        color: Theme.primary
        MouseArea {
            anchors.fill: parent
            anchors.margins: -Theme.spacingTiny
            onClicked: parent.clicked()
        }
    }

    Row {
        id: header
        x: Theme.spacingTiny
        y: Theme.spacingTiny
        height: 36
        Repeater {
            model: table.columns
            Text {
                width: table.columnWidth(index)
                height: header.height
                text: modelData.title
                verticalAlignment: Text.AlignVCenter
                wrapMode: Text.WrapAnywhere
                maximumLineCount: 2
                leftPadding: Theme.spacingTiny
                font.pixelSize: Theme.fontSmall
                font.bold: true
                color: Theme.textSecondary
            }
        }
    }
    Rectangle { anchors.top: header.bottom; width: parent.width; height: 1; color: Theme.line }

    ListView {
        id: list
        objectName: "garmentList"
        anchors.fill: parent
        anchors.topMargin: header.height + 6
        anchors.leftMargin: Theme.spacingTiny
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {}
        model: table.rows

        delegate: Rectangle {
            id: rowItem
            objectName: "garmentRow_" + index
            required property var modelData
            required property int index
            readonly property var actions: Intake.rowActions(modelData, table.electronicLabel, table.labels)
            readonly property var amounts: Intake.amountLines(modelData)
            width: list.width
            height: 78
            color: index % 2 ? Theme.cardAlt : Theme.card

            Row {
                anchors.fill: parent
                TextCell {
                    objectName: "garmentNo"; width: table.columnWidth(0)
                    text: rowItem.modelData.no + "/" + table.rows.length
                }
                TextCell {
                    objectName: "garmentName"; width: table.columnWidth(1)
                    text: (rowItem.modelData.businessName || "") + "/" + rowItem.modelData.productName +
                          (Intake.isAccessory(rowItem.modelData) ? "（附件）" : "")
                    color: rowItem.actions.change ? Theme.primary : Theme.text
                    MouseArea {
                        anchors.fill: parent
                        enabled: rowItem.actions.change
                        onClicked: table.changeClicked(rowItem.modelData)
                    }
                }
                TextCell { width: table.columnWidth(2); text: rowItem.modelData.serviceName || "" }
                TextCell {
                    objectName: "garmentAddOns"; width: table.columnWidth(3)
                    text: Intake.addOnsText(rowItem.modelData.addServiceDesc)
                }
                TextCell {
                    objectName: "garmentLooks"; width: table.columnWidth(4)
                    text: Intake.descriptionText(rowItem.modelData)
                }
                TextCell { width: table.columnWidth(5); text: rowItem.modelData.brandName || "" }
                TextCell {
                    objectName: "garmentAccessories"; width: table.columnWidth(6)
                    text: Intake.namesOf(rowItem.modelData.annexDesc)
                }
                Item {
                    width: table.columnWidth(7); height: parent.height
                    Column {
                        anchors.verticalCenter: parent.verticalCenter
                        visible: !Intake.isAccessory(rowItem.modelData)
                        Cell { objectName: "garmentAmount"; text: rowItem.amounts.amount }
                        Cell { objectName: "garmentSale"; text: rowItem.amounts.sale }
                        Cell { objectName: "garmentAddOnAmount"; text: rowItem.amounts.addOn }
                    }
                }
                TextCell {
                    objectName: "garmentSubtotal"; width: table.columnWidth(8)
                    text: Intake.isAccessory(rowItem.modelData) ? "" : rowItem.amounts.subtotal
                    color: Theme.amount
                }
                Item {
                    width: table.columnWidth(9); height: parent.height
                    Action {
                        objectName: "photoCount"
                        anchors.verticalCenter: parent.verticalCenter
                        leftPadding: Theme.spacingTiny
                        visible: rowItem.actions.photo
                        text: String(rowItem.modelData.picCnt || "0")
                        onClicked: table.photoClicked(rowItem.modelData)
                    }
                }
                Item {
                    width: table.columnWidth(10); height: parent.height
                    Flow {
                        width: parent.width
                        anchors.verticalCenter: parent.verticalCenter
                        spacing: Theme.spacingSmall
                        Action {
                            objectName: "copyButton"; text: "复制"; visible: rowItem.actions.copy
                            onClicked: table.copyClicked(rowItem.modelData)
                        }
                        Action {
                            objectName: "deleteButton"; text: "删除"; visible: rowItem.actions.remove
                            color: Theme.danger
                            onClicked: table.deleteClicked(rowItem.modelData)
                        }
                        Action {
                            objectName: "labelButton"; text: "打标"; visible: rowItem.actions.label
                            onClicked: table.labelClicked(rowItem.modelData)
                        }
                        Action {
                            objectName: "bindButton"; text: "绑标"; visible: rowItem.actions.bind
                            onClicked: table.bindClicked(rowItem.modelData)
                        }
                        Text {
                            objectName: "boundText"; text: "已绑"; visible: rowItem.actions.bound
                            font.pixelSize: Theme.fontSmall
                            color: Theme.success
                        }
                    }
                }
            }
        }
    }
}
