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
        font.pixelSize: Theme.fontMedium
        font.bold: true
        color: Theme.text
    }

    Repeater {
        model: [
            { label: "门店名称", value: Session.storename, name: "storeName" },
            { label: "序列号", value: Session.storeSerial, name: "storeSerial" },
            { label: "创建时间", value: Session.storeCreatTime, name: "storeCreatTime" },
            { label: "所在地址", value: Session.storeAddr, name: "storeAddr" }
        ]

        delegate: SettingRow {
            id: row
            required property var modelData

            width: page.width
            height: 50
            clickable: false
            label: modelData.label
            labelColor: Theme.textFaint
            labelWidth: 120

            Text {
                objectName: row.modelData.name
                x: 140
                width: parent.width - 160
                anchors.verticalCenter: parent.verticalCenter
                text: row.modelData.value
                elide: Text.ElideRight
                font.pixelSize: Theme.fontMedium
                color: Theme.text
            }
        }
    }
}
