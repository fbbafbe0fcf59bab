import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "logistics.js" as Logistics

// One of the arrival screen's two lists of garments (still to confirm, confirmed): its title
// with the count, the columns "衣物条码", "订单号", "衣物", "服务", accessories marked "附件",
// and the button that confirms them all where the list offers it.
Rectangle {
    id: panel

    property string title: ""
    // Arrival rows (Logistics.arrivalRows).
    property var rows: []
    property bool confirmAllShown: false
    readonly property alias list: list
    readonly property var weights: [3, 3, 3, 2]

    signal confirmAllClicked()

    radius: Theme.radiusLarge
    color: Theme.card
    border.color: Theme.line

    Text {
        id: heading
        objectName: "panelTitle"
        x: Theme.spacingMedium
        anchors.verticalCenter: confirmAll.verticalCenter
        text: panel.title + "  " + panel.rows.length + " 件"
        font.pixelSize: Theme.fontMedium
        font.bold: true
        color: Theme.textStrong
    }
    Button {
        id: confirmAll
        objectName: "confirmAllButton"
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.margins: Theme.spacingMedium
        text: "全部确认到店"
        highlighted: true
        visible: panel.confirmAllShown
        onClicked: panel.confirmAllClicked()
    }

    FactoryGarmentRow {
        id: header
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: confirmAll.bottom
        anchors.margins: Theme.spacingMedium
        header: true
        weights: panel.weights
        values: ["衣物条码", "订单号", "衣物", "服务"]
    }

    ListView {
        id: list
        anchors.left: header.left
        anchors.right: header.right
        anchors.top: header.bottom
        anchors.bottom: parent.bottom
        anchors.bottomMargin: Theme.spacingMedium
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {}
        model: panel.rows
        delegate: FactoryGarmentRow {
            required property var modelData
            objectName: "arrival_" + modelData.scanCode
            width: list.width
            weights: panel.weights
            accessory: Logistics.isAccessory(modelData)
            markColumn: 2
            values: [modelData.scanCode, modelData.orderNo, modelData.productName, modelData.serviceName]
        }
    }
}
