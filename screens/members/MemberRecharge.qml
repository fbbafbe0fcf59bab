import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "screens.js" as Screens
import "money.js" as Money
import "customer.js" as Customer
import "recharge.js" as Recharge

// "充值": tops up a member's balance by one of the merchant's offers or a free amount, paid by
// WeChat or Alipay (either way round), cash or another means. After a recharge the worker is
// told so; then the opener hears `recharged` and, by `rechargeFlag`, the member's screen it
// came from follows.
ScreenPage {
    id: recharge
    objectName: "MemberRecharge"
    enterFlag: "Recharge"

    // From the opener: the member, its balance in yuan, and who opened the screen
    // ("MemberList", "MemberDetails", "PlaceOrder", "TakeCloth").
    property string userNames: ""
    property string userPhones: ""
    property string userBlances: "0.00"
    property string userIds: ""
    property string rechargeFlag: ""

    readonly property alias conversation: talk
    property alias messageBox: talk.messageBox

    // The member was recharged (by `amountFen`).
    signal recharged(real amountFen)

    Component.onCompleted: talk.load()
    onBackClicked: talk.abandon()

    // The scanner types into the focused field: after any click the field of the means takes
    // the keyboard back.
    function refocus() {
        if (amountWindow.visible || schemeWindow.visible || qrWindow.visible)
            return
        if (talk.means === "wechat" || talk.means === "alipay")
            scanPanel.focusField()
        else if (talk.means === "cash")
            cashEntry.focusField()
    }

    // What follows a recharge, by where the screen was opened from.
    function followUp() {
        if (rechargeFlag === "MemberDetails") {
            Screens.open(recharge, "MemberDetails", { userId: userIds })
        } else if (rechargeFlag === "PlaceOrder") {
            talk.backend.call("placeOrder", "userInfo/queryByKey", { key: userPhones }, function (reply) {
                var data = talk.backend.request.josnData(reply)
                if (Customer.isRecord(data))
                    Screens.open(recharge, "PlaceOrderContent", { userData: data, searchKey: recharge.userPhones })
            })
        } else if (rechargeFlag === "TakeCloth") {
            talk.backend.call("UserInfo", "userInfo/info", { searchValue: userPhones }, function (reply) {
                var data = talk.backend.request.josnData(reply)
                Screens.open(recharge, "TakeClothList", {
                    userData: data, userIdkey: recharge.userIds, userPhone: recharge.userPhones,
                    orderKey: recharge.userIds, getFlag: 1
                })
            })
        }
        // "MemberList": the list closes this screen and reads everything again.
        recharged(talk.amountFen)
    }

    RechargeConversation {
        id: talk
        userIds: recharge.userIds
        onLoaded: Qt.callLater(recharge.refocus)
        onNoSchemes: amountWindow.open()
        onQrStarted: function (wallet, fen) { qrWindow.openFor(wallet, fen) }
        onQrGivenUp: qrWindow.close()
        // The box is modal: the screen shows "完成收款" behind it until the worker closes it.
        onRecharged: function (amountFen) {
            qrWindow.close()
            talk.followUp.info("提示", Recharge.doneText(amountFen))
            recharge.followUp()
        }
    }

    Text {
        id: title
        text: "充值"
        anchors.left: recharge.backButton.right
        anchors.leftMargin: 20
        anchors.verticalCenter: recharge.backButton.verticalCenter
        font.pixelSize: Theme.fontTitle
        font.bold: true
        color: Theme.textStrong
    }
    Row {
        anchors.left: title.right
        anchors.leftMargin: 40
        anchors.verticalCenter: title.verticalCenter
        spacing: 30
        Text {
            objectName: "rechargeUser"
            text: "充值用户：" + recharge.userPhones + " " + recharge.userNames
            font.pixelSize: Theme.fontMedium
            color: Theme.text
        }
        Text {
            objectName: "rechargeBalance"
            text: "当前余额:" + "¥ " + recharge.userBlances
            font.pixelSize: Theme.fontMedium
            color: Theme.amount
        }
    }

    Rectangle {
        id: amountPanel
        anchors.left: parent.left
        anchors.top: recharge.backButton.bottom
        anchors.bottom: parent.bottom
        anchors.margins: 20
        width: 520
        radius: 8
        color: Theme.card

        Column {
            anchors.fill: parent
            anchors.margins: 30
            spacing: 20
            Row {
                spacing: 16
                Button {
                    objectName: "schemeModeButton"
                    visible: talk.schemes.length > 0
                    text: "活动方案充值"
                    highlighted: talk.withActive
                    onClicked: {
                        talk.chooseScheme(Math.max(talk.schemeIndex, 0))
                        recharge.refocus()
                    }
                }
                Button {
                    objectName: "freeModeButton"
                    text: "零散金额充值"
                    highlighted: !talk.withActive
                    onClicked: amountWindow.open()
                }
            }
            Column {
                visible: talk.withActive && talk.scheme !== null
                spacing: 8
                Text {
                    objectName: "schemeSummary"
                    text: "活动方案充值：" + (talk.scheme !== null ? Recharge.schemeText(talk.scheme) : "")
                    font.pixelSize: Theme.fontLarge
                    color: Theme.primary
                    MouseArea {
                        anchors.fill: parent
                        cursorShape: Qt.PointingHandCursor
                        onClicked: schemeWindow.openAt(talk.schemeIndex)
                    }
                }
                Text {
                    objectName: "schemeExtras"
                    text: talk.scheme !== null ? Recharge.extrasText(talk.scheme) : ""
                    font.pixelSize: Theme.fontNormal
                    color: Theme.warning
                }
            }
            Text {
                objectName: "freeAmountText"
                visible: !talk.withActive && talk.amountFen > 0
                text: Recharge.freeAmountText(talk.amountFen)
                font.pixelSize: Theme.fontLarge
                color: Theme.primary
            }
            Row {
                spacing: 10
                Text { text: "应收款"; font.pixelSize: Theme.fontLarge; color: Theme.text }
                Text {
                    objectName: "amountDue"
                    text: "¥" + Money.fenToYuan(talk.amountFen)
                    font.pixelSize: Theme.fontHeading
                    color: Theme.amount
                }
            }
        }
    }

    Rectangle {
        anchors.left: amountPanel.right
        anchors.right: parent.right
        anchors.top: amountPanel.top
        anchors.bottom: parent.bottom
        anchors.leftMargin: 20
        anchors.rightMargin: 20
        anchors.bottomMargin: 20
        radius: 8
        color: Theme.card

        Column {
            objectName: "payPanel"
            visible: !talk.done && talk.ready
            x: 30
            y: 30
            width: parent.width - 60
            spacing: 24
            PayMeansBar {
                enabledMeans: talk.enabledMeans
                current: talk.means
                onChosen: function (m) {
                    talk.chooseMeans(m)
                    Qt.callLater(recharge.refocus)
                }
            }
            ScanCodePanel {
                id: scanPanel
                visible: talk.means === "wechat" || talk.means === "alipay"
                width: parent.width
                busy: talk.busy
                note: talk.tradeMode !== "qr" ? talk.note : ""
                noteBad: talk.noteBad
                onCodeEntered: function (code) { talk.payByCode(code) }
                onQrRequested: talk.payByQr()
            }
            CashEntry {
                id: cashEntry
                visible: talk.means === "cash"
                width: parent.width
                dueFen: talk.amountFen
                busy: talk.busy
                onConfirmed: function (receivedText) { talk.payCash(receivedText) }
            }
            OtherMeansPicker {
                visible: talk.means === "other"
                width: parent.width
                means: talk.paySigns
                dueFen: talk.amountFen
                busy: talk.busy
                onConfirmed: function (paySign, remark) { talk.payOther(paySign, remark) }
            }
        }

        Text {
            objectName: "rechargeDone"
            visible: talk.done
            anchors.centerIn: parent
            text: "完成收款"
            font.pixelSize: Theme.fontHeading
            color: Theme.success
        }
    }

    SchemeWindow {
        id: schemeWindow
        schemes: talk.schemes
        onChosen: function (index) { talk.chooseScheme(index) }
        onClosed: recharge.refocus()
    }
    AmountWindow {
        id: amountWindow
        onChosen: function (fen) { talk.chooseFreeAmount(fen) }
        onClosed: recharge.refocus()
    }
    QrPayWindow {
        id: qrWindow
        codeUrl: talk.codeUrl
        status: talk.tradeStatus
        statusNote: talk.noteBad ? talk.note : ""
        onClosed: {
            talk.qrClosed()
            recharge.refocus()
        }
    }

    LoadingShade { visible: talk.loading }
}
