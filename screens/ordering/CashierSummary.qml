import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "money.js" as Money
import "payment.js" as Payment

// What the order costs and what pays for it before a means: the amounts, the coupon, the
// member balance and, for a company client's member, the group pay card ("优付卡支付").
Rectangle {
    id: summary
    color: Theme.card
    radius: Theme.radiusLarge
    implicitWidth: 440
    implicitHeight: column.implicitHeight + 40

    // The figures of Payment.stillToCollect, and the amounts shown beside them (fen).
    property var figures: ({})
    property real receivable: 0
    property real carriage: 0
    property string modifyPrice: ""
    property real couponAmount: 0
    property bool noCoupons: false
    property real stillToCollect: 0
    property bool locked: false

    signal couponClicked()
    signal balanceSwitched(bool on)
    signal cardSwitched(bool on)

    readonly property bool cardPanel: figures.cardEnabled === true
    readonly property bool balanceOn: Payment.usesBalance(figures)
    readonly property bool cardOn: Payment.usesCard(figures)

    component Line: Item {
        id: line
        property alias label: labelText.text
        property alias value: valueText.text
        property alias valueColor: valueText.color
        property string valueName: ""
        implicitWidth: lineRow.implicitWidth
        implicitHeight: lineRow.implicitHeight
        Row {
            id: lineRow
            spacing: Theme.spacingMedium
            Text { id: labelText; width: 110; font.pixelSize: Theme.fontMedium; color: Theme.textRegular }
            Text {
                id: valueText
                objectName: line.valueName
                font.pixelSize: Theme.fontMedium
                color: Theme.text
            }
        }
    }

    Column {
        id: column
        x: Theme.spacingLarge
        y: Theme.spacingLarge
        width: parent.width - 2 * Theme.spacingLarge
        spacing: Theme.spacingMedium

        Line { label: "衣物总额"; value: "¥" + Money.fenToYuan(summary.receivable); valueName: "orderTotal" }
        Line { label: "取送费"; value: "¥" + Money.fenToYuan(summary.carriage); valueName: "carriage" }
        Line {
            visible: summary.modifyPrice !== ""
            label: "修改后金额："
            value: "¥" + Money.fenToYuan(summary.modifyPrice)
            valueName: "modifyPrice"
        }
        Line {
            label: "优惠券"
            value: summary.noCoupons && summary.couponAmount === 0 ? "无可用"
                                                                 : "-" + Money.fenToYuan(summary.couponAmount)
            valueColor: summary.noCoupons && summary.couponAmount === 0 ? Theme.textMuted : Theme.amount
            valueName: "couponAmount"
            MouseArea {
                objectName: "couponButton"
                anchors.fill: parent
                onClicked: summary.couponClicked()
            }
        }
        Line {
            label: "应收款"
            value: "¥" + Money.fenToYuan(summary.receivable)
            valueColor: Theme.amount
            valueName: "receivable"
        }

        Rectangle { width: parent.width; height: 1; color: Theme.divider }

        Text {
            visible: summary.cardPanel
            text: "优付卡支付"
            font.pixelSize: Theme.fontLarge
            font.bold: true
            color: Theme.textStrong
        }
        Row {
            spacing: Theme.spacingMedium
            Text { anchors.verticalCenter: parent.verticalCenter; text: "可用余额"; font.pixelSize: Theme.fontMedium; color: Theme.textRegular }
            Text {
                objectName: "memberBalance"
                anchors.verticalCenter: parent.verticalCenter
                text: Money.fenToYuan(summary.figures.balance) + "元"
                font.pixelSize: Theme.fontMedium
                color: Theme.text
            }
            Text {
                objectName: "balanceTaken"
                anchors.verticalCenter: parent.verticalCenter
                visible: summary.balanceOn
                text: summary.cardPanel ? "抵扣" + Money.fenToYuan(Payment.balanceTaken(summary.figures)) + "元"
                                        : "-" + Money.fenToYuan(Payment.balanceTaken(summary.figures)) + " 元"
                font.pixelSize: Theme.fontMedium
                color: Theme.amount
            }
            Switch {
                objectName: "balanceSwitch"
                anchors.verticalCenter: parent.verticalCenter
                visible: Payment.balanceOffered(summary.figures)
                enabled: !summary.locked
                checked: summary.balanceOn
                onToggled: {
                    summary.balanceSwitched(checked)
                    // The choice is the cashier's: the switch shows it again.
                    checked = Qt.binding(function () { return summary.balanceOn })
                }
            }
        }
        Row {
            visible: summary.cardPanel
            spacing: Theme.spacingMedium
            Text { anchors.verticalCenter: parent.verticalCenter; text: "余额"; font.pixelSize: Theme.fontMedium; color: Theme.textRegular }
            Text {
                objectName: "cardBalance"
                anchors.verticalCenter: parent.verticalCenter
                text: Money.fenToYuan(summary.figures.cardBalance) + "元"
                font.pixelSize: Theme.fontMedium
                color: Theme.text
            }
            Text {
                objectName: "cardRatio"
                anchors.verticalCenter: parent.verticalCenter
                text: "支付比例" + summary.figures.cardRatio + "%"
                font.pixelSize: Theme.fontMedium
                color: Theme.text
            }
            Text {
                objectName: "cardTaken"
                anchors.verticalCenter: parent.verticalCenter
                visible: summary.cardOn
                text: "抵扣" + Money.fenToYuan(Payment.cardShare(summary.figures.toPay, summary.figures.cardRatio,
                                                               summary.figures.cardBalance)) + "元"
                font.pixelSize: Theme.fontMedium
                color: Theme.amount
            }
            Switch {
                objectName: "cardSwitch"
                anchors.verticalCenter: parent.verticalCenter
                visible: Payment.cardOffered(summary.figures)
                enabled: !summary.locked
                checked: summary.cardOn
                onToggled: {
                    summary.cardSwitched(checked)
                    checked = Qt.binding(function () { return summary.cardOn })
                }
            }
        }

        Row {
            visible: summary.stillToCollect > 0
            spacing: Theme.spacingMedium
            Text { anchors.verticalCenter: parent.verticalCenter; text: "还应收款"; font.pixelSize: Theme.fontLarge; color: Theme.textStrong }
            Text {
                objectName: "stillToCollect"
                anchors.verticalCenter: parent.verticalCenter
                text: Money.fenToYuan(summary.stillToCollect)
                font.pixelSize: Theme.fontHeading
                color: Theme.amount
            }
        }
    }
}
