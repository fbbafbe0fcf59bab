import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0

// "入厂袋号": the open factory bags, 30 a page, the first one chosen. Reworked garments that
// had been bagged once go into the chosen bag; "取消" sends the rework alone. A bag's screen
// moves garments to another bag with it too (titled "移入另一袋号").
PopupWindow {
    id: bagWindow
    objectName: "bagWindow"
    title: "入厂袋号"
    panelWidth: 460
    panelHeight: 520
    // It sits in the order view, which is embedded in its screen: the shade covers the window.
    coversWindow: true

    property string chosenId: ""
    readonly property alias bags: bagList

    // The opener sends the page's request and hands the rows to received().
    signal pageRequested(var fields)
    signal chosen(string bagId)
    signal skipped()

    function start() {
        chosenId = ""
        open()
        bagList.reload()
    }

    // `count`: how many bags the reply held, when the opener lists fewer of them.
    function received(rows, count) {
        bagList.received(rows, count)
        if (chosenId === "" && rows.length > 0)
            chosenId = String(rows[0].id)
    }

    PagedList {
        id: bagList
        objectName: "bagList"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.bottom: buttons.top
        anchors.bottomMargin: Theme.spacingMedium
        pageSize: 30
        spacing: Theme.spacingSmall
        onPageRequested: function (page, fields) { bagWindow.pageRequested(fields) }
        delegate: Rectangle {
            id: bagRow
            required property var model
            objectName: "bag_" + model.id
            width: bagList.width
            height: 48
            radius: Theme.radiusSmall
            color: String(model.id) === bagWindow.chosenId ? Theme.selected : Theme.card
            border.color: Theme.line
            MouseArea {
                anchors.fill: parent
                onClicked: bagWindow.chosenId = String(bagRow.model.id)
            }
            Text {
                text: "袋号：" + bagRow.model.code
                font.pixelSize: Theme.fontBody
                color: Theme.textStrong
                anchors.left: parent.left
                anchors.leftMargin: Theme.spacingMedium
                anchors.verticalCenter: parent.verticalCenter
            }
            Text {
                text: "衣物件数：" + (Number(bagRow.model.annexCnt) + Number(bagRow.model.productCnt))
                font.pixelSize: Theme.fontBody
                color: Theme.textRegular
                anchors.right: parent.right
                anchors.rightMargin: Theme.spacingMedium
                anchors.verticalCenter: parent.verticalCenter
            }
        }
    }

    WindowButtons {
        id: buttons
        anchors.bottom: parent.bottom
        anchors.horizontalCenter: parent.horizontalCenter
        confirmName: "bagConfirm"
        cancelName: "bagCancel"
        onConfirmed: {
            bagWindow.close()
            bagWindow.chosen(bagWindow.chosenId)
        }
        onCancelled: {
            bagWindow.close()
            bagWindow.skipped()
        }
    }
}
