import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "money.js" as Money
import "customer.js" as Customer

// One member of the member list: tick box, portrait, name, phone, card, joined, points,
// level and discount, balance, group, tags, and the row's actions.
Rectangle {
    id: row
    height: 96
    color: ticked ? Theme.ticked : Theme.card

    required property string userId
    required property string name
    required property string phone
    required property string headimgPath
    required property string createTime
    required property string grade
    required property string point
    required property string balance
    required property string cardNumber
    required property string levelName
    required property string discountText
    required property string groupName
    required property string tags
    property bool ticked: false

    signal tickClicked()
    signal detailsClicked()
    signal rechargeClicked()
    signal orderClicked()

    component ToDetails: MouseArea {
        anchors.fill: parent
        cursorShape: Qt.PointingHandCursor
        onClicked: row.detailsClicked()
    }

    Row {
        anchors.fill: parent
        anchors.leftMargin: Theme.spacingMedium
        spacing: Theme.spacingMedium
        Image {
            objectName: "tickBox"
            anchors.verticalCenter: parent.verticalCenter
            source: row.ticked ? "qrc:/icon/icon/BalanceUse.png" : "qrc:/icon/icon/BalanceUNUse.png"
            MouseArea { anchors.fill: parent; onClicked: row.tickClicked() }
        }
        Image {
            anchors.verticalCenter: parent.verticalCenter
            width: 70
            height: 70
            fillMode: Image.PreserveAspectCrop
            source: row.headimgPath !== "" ? row.headimgPath : "qrc:/icon/icon/Defaultheadimage.png"
            ToDetails {}
        }
        Column {
            width: 150
            anchors.verticalCenter: parent.verticalCenter
            spacing: Theme.spacingSmall
            Row {
                spacing: Theme.spacingSmall
                Text {
                    objectName: "rowName"
                    text: row.name
                    font.pixelSize: Theme.fontMedium
                    font.bold: true
                    color: Theme.textStrong
                    ToDetails {}
                }
                Image {
                    objectName: "rowFlag"
                    visible: Customer.gradeFlag(row.grade) !== ""
                    source: visible ? "qrc:/icon/icon/" + Customer.gradeFlag(row.grade) + ".png" : ""
                }
            }
            Text {
                objectName: "rowPhone"
                text: row.phone
                font.pixelSize: Theme.fontBody
                color: Theme.textRegular
                ToDetails {}
            }
            Text {
                objectName: "rowCard"
                text: row.cardNumber
                font.pixelSize: Theme.fontNormal
                color: Theme.primary
                ToDetails {}
            }
        }
        Column {
            width: 140
            anchors.verticalCenter: parent.verticalCenter
            spacing: Theme.spacingSmall
            Text { text: Session.timerToDate(row.createTime); font.pixelSize: Theme.fontNormal; color: Theme.textSecondary }
            Text { text: "积分：" + row.point; font.pixelSize: Theme.fontNormal; color: Theme.textRegular }
        }
        Column {
            width: 130
            anchors.verticalCenter: parent.verticalCenter
            spacing: Theme.spacingSmall
            Text { text: row.levelName; font.pixelSize: Theme.fontBody; color: Theme.text }
            Text { objectName: "rowDiscount"; text: row.discountText; font.pixelSize: Theme.fontNormal; color: Theme.warning }
            Text {
                objectName: "rowBalance"
                text: Money.fenToYuan(row.balance) + " 元"
                font.pixelSize: Theme.fontBody
                color: Theme.amount
            }
        }
        Column {
            width: 110
            anchors.verticalCenter: parent.verticalCenter
            spacing: Theme.spacingSmall
            Text { text: row.groupName; font.pixelSize: Theme.fontBody; color: Theme.text }
            Text {
                objectName: "rowTags"
                visible: row.tags !== ""
                width: parent.width
                text: row.tags
                elide: Text.ElideRight
                font.pixelSize: Theme.fontSmall
                color: Theme.textSecondary
            }
        }
        Column {
            anchors.verticalCenter: parent.verticalCenter
            spacing: Theme.spacingSmall
            Button { objectName: "rowRecharge"; text: "充值"; height: 36; onClicked: row.rechargeClicked() }
            Button { objectName: "rowOrder"; text: "下单"; height: 36; onClicked: row.orderClicked() }
        }
    }
    Rectangle { anchors.bottom: parent.bottom; width: parent.width; height: 1; color: Theme.lineLight }
}
