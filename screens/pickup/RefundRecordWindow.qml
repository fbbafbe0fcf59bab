import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "money.js" as Money

// "查看退款记录": the order's refunds part by part, and its requests with how they were
// decided.
PopupWindow {
    id: recordWindow
    objectName: "recordWindow"
    title: "查看退款记录"
    panelWidth: 620
    panelHeight: 520
    // It sits in the order view, which is embedded in its screen: the shade covers the window.
    coversWindow: true

    property string orderNo: ""
    property var refunds: []
    property var audits: []
    property int tab: 0

    function show(refundRows, auditRows) {
        refunds = refundRows
        audits = auditRows
        tab = 0
        open()
    }

    Column {
        anchors.fill: parent
        spacing: Theme.spacingMedium
        Text {
            text: "退款单号：" + recordWindow.orderNo
            font.pixelSize: Theme.fontBody
            color: Theme.textRegular
        }
        Row {
            spacing: Theme.spacingMedium
            Button {
                objectName: "refundTab"
                text: "退款记录"
                highlighted: recordWindow.tab === 0
                onClicked: recordWindow.tab = 0
            }
            Button {
                objectName: "auditTab"
                text: "审核记录"
                highlighted: recordWindow.tab === 1
                onClicked: recordWindow.tab = 1
            }
        }
        ListView {
            objectName: "recordList"
            width: parent.width
            height: 340
            clip: true
            spacing: Theme.spacingSmall
            model: recordWindow.tab === 0 ? recordWindow.refunds : recordWindow.audits
            delegate: Rectangle {
                id: record
                required property var modelData
                width: ListView.view.width
                height: 56
                radius: Theme.radiusSmall
                color: Theme.cardAlt
                Column {
                    anchors.left: parent.left
                    anchors.leftMargin: Theme.spacingMedium
                    anchors.verticalCenter: parent.verticalCenter
                    spacing: Theme.spacingTiny
                    Text {
                        text: "退款流水：" + record.modelData.seq
                        font.pixelSize: Theme.fontNormal
                        color: Theme.textStrong
                    }
                    Text {
                        visible: recordWindow.tab === 0
                        text: Session.timerToDate(record.modelData.createTime) + "  " + (record.modelData.refundMethodText || "")
                        font.pixelSize: Theme.fontSmall
                        color: Theme.textSecondary
                    }
                }
                Column {
                    anchors.right: parent.right
                    anchors.rightMargin: Theme.spacingMedium
                    anchors.verticalCenter: parent.verticalCenter
                    spacing: Theme.spacingTiny
                    Text {
                        text: "¥" + Money.fenToYuan(record.modelData.amount)
                        font.pixelSize: Theme.fontNormal
                        color: Theme.amount
                        anchors.right: parent.right
                    }
                    Text {
                        text: recordWindow.tab === 0 ? record.modelData.statusText : record.modelData.auditStatusText
                        font.pixelSize: Theme.fontSmall
                        color: Theme.textRegular
                        anchors.right: parent.right
                    }
                }
            }
        }
    }
}
