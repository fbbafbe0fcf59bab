import QtQuick 2.15
import Brenvo 1.0

// "关于Brenvo": the help pages and the version row. The row is green when the newest
// published version is the running one; otherwise red, and a click asks for the update.
Column {
    id: page

    // Whether the newest version seen is the running one.
    property bool current: false

    signal helpClicked()
    signal serviceClicked()
    signal versionClicked()

    width: parent ? parent.width : 600

    Repeater {
        model: [
            { label: "帮助中心", name: "helpRow" },
            { label: "联系客服", name: "serviceRow" },
            { label: "软件版本", name: "versionRow" }
        ]

        delegate: SettingRow {
            id: row
            required property int index
            required property var modelData

            objectName: modelData.name
            width: page.width
            label: modelData.label
            onClicked: {
                if (row.index === 0)
                    page.helpClicked()
                else if (row.index === 1)
                    page.serviceClicked()
                else
                    page.versionClicked()
            }

            Text {
                objectName: row.index === 2 ? "versionText" : ""
                visible: row.index === 2
                anchors.right: parent.right
                anchors.rightMargin: Theme.spacingLarge
                anchors.verticalCenter: parent.verticalCenter
                text: page.current ? "已是最新版本" + Session.exeVersion
                                   : "最新版本" + Session.newestVersion + "，点击升级程序"
                font.pixelSize: Theme.fontMedium
                color: page.current ? Theme.versionCurrent : Theme.versionOutdated
            }

            Text {
                visible: row.index !== 2
                anchors.right: parent.right
                anchors.rightMargin: Theme.spacingLarge
                anchors.verticalCenter: parent.verticalCenter
                text: ">"
                font.pixelSize: Theme.fontMedium
                color: Theme.textMuted
            }
        }
    }
}
