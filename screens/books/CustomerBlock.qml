import QtQuick 2.15
import Brenvo 1.0
import "customer.js" as Customer
import "money.js" as Money

// The customer of a garment or an order as the details screens show it, to read only: the
// picture, the group card ("团"), the grade flag, the name and WeChat nickname, the account's
// bindings, the phone, the member card, the level, the balance and the points.
Column {
    id: block
    spacing: Theme.spacingSmall

    // books.js recordCustomer() or orderCustomer().
    property var customer: ({})

    component Line: Row {
        property string label
        property string value
        spacing: Theme.spacingSmall
        Text {
            width: 70
            text: parent.label
            font.pixelSize: Theme.fontBody
            color: Theme.textSecondary
        }
        Text {
            objectName: parent.objectName + "Value"
            text: parent.value
            font.pixelSize: Theme.fontBody
            color: Theme.textStrong
        }
    }

    Row {
        spacing: Theme.spacingMedium
        Image {
            width: 64
            height: 64
            fillMode: Image.PreserveAspectCrop
            source: (block.customer.headimgPath || "") !== "" ? block.customer.headimgPath : "qrc:/icon/icon/grayhead.png"
        }
        Column {
            anchors.verticalCenter: parent.verticalCenter
            spacing: Theme.spacingTiny
            Row {
                spacing: Theme.spacingSmall
                Rectangle {
                    objectName: "unionBadge"
                    visible: (block.customer.unionName || "") !== ""
                    width: 22
                    height: 22
                    radius: Theme.radiusSmall
                    color: Theme.warning
                    Text {
                        anchors.centerIn: parent
                        text: "团"
                        color: Theme.textOnDark
                        font.pixelSize: Theme.fontNormal
                    }
                }
                Image {
                    objectName: "gradeFlag"
                    anchors.verticalCenter: parent.verticalCenter
                    visible: Customer.gradeFlag(block.customer.grade) !== ""
                    source: visible ? "qrc:/icon/icon/" + Customer.gradeFlag(block.customer.grade) + ".png" : ""
                }
                Text {
                    objectName: "customerName"
                    text: block.customer.name || ""
                    font.pixelSize: Theme.fontTitle
                    font.bold: true
                    color: Theme.textStrong
                }
            }
            Text {
                objectName: "wxNickname"
                text: "微信昵称:" + (block.customer.wxNickname || "")
                font.pixelSize: Theme.fontNormal
                color: Theme.success
            }
            Row {
                objectName: "bindings"
                spacing: Theme.spacingTiny
                Repeater {
                    model: [["bindWechat", "微信", block.customer.wxId !== "-1"],
                            ["bindAndroid", "安卓", block.customer.verifyAndriod !== "0"],
                            ["bindIos", "iOS", block.customer.verifyIos !== "0"],
                            ["bindPhone", "手机", block.customer.verifyPhone !== "0"]]
                    Rectangle {
                        required property var modelData
                        objectName: modelData[0]
                        visible: modelData[2] === true
                        width: 40
                        height: 20
                        radius: Theme.radiusSmall
                        color: Theme.primaryLight
                        Text {
                            anchors.centerIn: parent
                            text: parent.modelData[1]
                            color: Theme.primary
                            font.pixelSize: Theme.fontSmall
                        }
                    }
                }
            }
        }
    }
    Line { objectName: "customerPhone"; label: "手机号"; value: block.customer.phone || "" }
    Line { objectName: "memberCard"; label: "会员卡"; value: block.customer.card || "" }
    Line { objectName: "cardLevel"; label: "等级"; value: block.customer.levelName || "" }
    Line { objectName: "customerBalance"; label: "余额"; value: Money.fenToYuan(block.customer.balance || 0) + "元" }
    Line { objectName: "customerPoint"; label: "积分"; value: String(block.customer.point || 0) }
}
