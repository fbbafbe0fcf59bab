import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "logistics.js" as Logistics
import "money.js" as Money

// "添加衣物": the store's garments waiting for a factory bag, ten at a time; clicks choose
// them, "确定" hands the chosen ones on.
PopupWindow {
    id: window
    objectName: "waitingWindow"
    title: "添加衣物"
    panelWidth: 860
    panelHeight: 600

    // Ids of the chosen garments, in click order, and how many.
    property var addClothArray: []
    readonly property int chooseColthNum: addClothArray.length
    readonly property alias list: waitingList
    readonly property var weights: [3, 3, 3, 2, 2]

    // The opener sends the page's request and hands the rows back to received().
    signal pageRequested(var fields)
    signal confirmed(var ids)

    function start() {
        addClothArray = []
        open()
        waitingList.reload()
    }

    function received(rows) {
        waitingList.received(rows)
    }

    FactoryGarmentRow {
        id: header
        width: parent.width
        header: true
        weights: window.weights
        values: ["衣物", "订单号", "衣物条码号", "服务", "小计"]
    }

    PagedList {
        id: waitingList
        objectName: "waitingList"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: header.bottom
        anchors.bottom: footer.top
        anchors.bottomMargin: Theme.spacingMedium
        pageSize: 10
        onPageRequested: function (page, fields) { window.pageRequested(fields) }
        delegate: FactoryGarmentRow {
            required property var model
            objectName: "waiting_" + model.id
            width: waitingList.width
            weights: window.weights
            values: [model.productName, model.orderNo, model.scanCode, model.serviceName, Money.fenToYuan(model.subtotal)]
            selected: window.addClothArray.indexOf(String(model.id)) >= 0
            onClicked: window.addClothArray = Logistics.flipped(window.addClothArray, [String(model.id)])
        }
    }

    Item {
        id: footer
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: buttons.height
        Text {
            objectName: "chosenCount"
            anchors.verticalCenter: parent.verticalCenter
            text: "已选中 " + window.chooseColthNum + " 件"
            font.pixelSize: Theme.fontBody
            color: Theme.textRegular
        }
        Row {
            id: buttons
            anchors.right: parent.right
            spacing: Theme.spacingLarge
            Button {
                objectName: "waitingConfirm"
                text: "确定"
                highlighted: true
                enabled: window.chooseColthNum > 0
                onClicked: window.confirmed(window.addClothArray)
            }
            Button {
                objectName: "waitingCancel"
                text: "取消"
                onClicked: window.close()
            }
        }
    }
}
