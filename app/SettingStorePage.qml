import QtQuick 2.15
import Brenvo 1.0

// The store's details as the sign-in left them in the session.
Column {
    id: page

    width: parent ? parent.width : 600

    Text {
        height: 50
        leftPadding: 20
        verticalAlignment: Text.AlignVCenter
        text: "门店设置"
        font.pixelSize: 16
        font.bold: true
        color: "#333333"
    }

    Repeater {
        model: [
            { label: "门店名称", value: Session.storename, name: "storeName" },
            { label: "序列号", value: Session.storeSerial, name: "storeSerial" },
            { label: "创建时间", value: Session.storeCreatTime, name: "storeCreatTime" },
            { label: "所在地址", value: Session.storeAddr, name: "storeAddr" }
        ]

        delegate: Item {
            id: row
            required property var modelData

            width: page.width
            height: 50

            Text {
                x: 20
                width: 120
                anchors.verticalCenter: parent.verticalCenter
                text: row.modelData.label
                font.pixelSize: 16
                color: "#666666"
            }

            Text {
                objectName: row.modelData.name
                x: 140
                width: parent.width - 160
                anchors.verticalCenter: parent.verticalCenter
                text: row.modelData.value
                elide: Text.ElideRight
                font.pixelSize: 16
                color: "#333333"
            }

            Rectangle {
                anchors.bottom: parent.bottom
                x: 20
                width: parent.width - 40
                height: 1
                color: "#eeeeee"
            }
        }
    }
}
