import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "screens.js" as Screens
import "money.js" as Money
import "payment.js" as Payment

// "收款": collects the money of one order. The amounts and the coupon on the left; on the
// right the means (WeChat, Alipay, cash, other), or "确认收款" alone when the balance or the
// group pay card covers everything; an order another payment holds says so instead. After a
// payment the opener hears `paid` (and reloads); "返回" gives back a payment under way (or
// one whose outcome is not known) first, then tells the opener `returned`, so that a trade
// completed while the worker left still shows.
ScreenPage {
    id: cashier
    objectName: "Cashier"
    enterFlag: "Cashier"

    // From the opener.
    property string orderId: ""
    property string userIds: ""
    // "PutOrder", "orderDetail", "orderDetails" or "TakeCloth": where the cashier came from.
    property string payFlags: ""

    property string means: ""
    property bool done: false
    property real doneAmount: 0
    property bool doneViaQr: false
    // "返回" was clicked: the screen closes once the order is released.
    property bool leaving: false
    readonly property alias conversation: talk

    signal paid()
    signal returned()

    closesOnBack: false
    Component.onCompleted: talk.load()
    onBackClicked: leave()

    function leave() {
        if (done)
            return
        leaving = true
        if (!talk.abandon())
            closeReturned()
    }

    function closeReturned() {
        returned()
        close()
    }

    function chooseMeans(m) {
        means = m
        Qt.callLater(refocus)
    }

    // The scanner types into the focused field: after any click, the scan field takes the
    // keyboard back.
    function refocus() {
        if (means === "wechat" || means === "alipay")
            scanPanel.focusField()
        else if (means === "cash")
            cashEntry.focusField()
    }

    function walletMode(suffix) {
        return (means === "alipay" ? "alipay" : "wechat") + suffix
    }

    function succeeded(amount, viaQr) {
        doneAmount = amount
        doneViaQr = viaQr
        done = true
        qrWindow.close()
        couponWindow.close()
        paid()
        doneTimer.start()
    }

    // With "PutOrder", a trade the customer paid by scanning goes on to the order inquiry;
    // everything else closes the cashier, and the opener reloads.
    function finish() {
        if (doneViaQr && payFlags === "PutOrder" && !leaving) {
            if (Screens.open(cashier, "OrderInquiry", {}) !== null) {
                Session.enterFlag = "OrderList"
                return
            }
        }
        close()
    }

    CashierConversation {
        id: talk
        orderId: cashier.orderId
        userIds: cashier.userIds
        onLoaded: {
            cashier.means = Payment.firstMeans(enabledMeans)
            Qt.callLater(cashier.refocus)
        }
        onCouponsListed: function (any) {
            if (any)
                couponWindow.open()
        }
        onCodeExchanged: {
            couponWindow.codeMode = false
            couponWindow.code = ""
        }
        onCodeRefused: couponWindow.code = ""
        onQrStarted: function (wallet, amountFen) { qrWindow.openFor(wallet, amountFen) }
        onQrGivenUp: qrWindow.close()
        onPaid: function (amountFen, viaQr) { cashier.succeeded(amountFen, viaQr) }
        onReleased: if (cashier.leaving) cashier.closeReturned()
    }

    Timer {
        id: doneTimer
        interval: 1200
        onTriggered: cashier.finish()
    }

    Text {
        text: "收款"
        anchors.left: cashier.backButton.right
        anchors.leftMargin: Theme.spacingLarge
        anchors.verticalCenter: cashier.backButton.verticalCenter
        font.pixelSize: Theme.fontTitle
        font.bold: true
        color: Theme.textStrong
    }

    CashierSummary {
        id: summary
        anchors.left: parent.left
        anchors.top: cashier.backButton.bottom
        anchors.margins: Theme.spacingLarge
        width: 460
        figures: talk.figures
        receivable: talk.receivable
        carriage: talk.carriage
        modifyPrice: talk.modifyPrice
        couponAmount: talk.couponAmount
        noCoupons: talk.noCoupons
        stillToCollect: talk.stillToCollect
        locked: talk.busy || talk.held
        onCouponClicked: talk.listCoupons()
        onBalanceSwitched: function (on) {
            talk.setBalance(on)
            cashier.refocus()
        }
        onCardSwitched: function (on) {
            talk.setCard(on)
            cashier.refocus()
        }
    }

    Rectangle {
        id: meansArea
        anchors.left: summary.right
        anchors.right: parent.right
        anchors.top: summary.top
        anchors.bottom: parent.bottom
        anchors.leftMargin: Theme.spacingLarge
        anchors.rightMargin: Theme.spacingLarge
        anchors.bottomMargin: Theme.spacingLarge
        color: Theme.card
        radius: Theme.radiusLarge

        Column {
            objectName: "heldPanel"
            visible: !cashier.done && talk.ready && talk.held
            anchors.centerIn: parent
            spacing: Theme.spacingMedium
            Text {
                objectName: "heldText"
                anchors.horizontalCenter: parent.horizontalCenter
                text: "订单正在支付中，请稍后再试"
                font.pixelSize: Theme.fontLarge
                color: Theme.danger
            }
            Button {
                objectName: "heldReload"
                anchors.horizontalCenter: parent.horizontalCenter
                text: "刷新"
                onClicked: talk.load()
            }
        }

        Button {
            objectName: "wholeConfirm"
            visible: !cashier.done && talk.ready && !talk.held && talk.stillToCollect <= 0
            anchors.centerIn: parent
            text: "确认收款"
            highlighted: true
            font.pixelSize: Theme.fontLarge
            onClicked: talk.pay("whole")
        }

        Column {
            objectName: "meansPanel"
            visible: !cashier.done && talk.ready && !talk.held && talk.stillToCollect > 0
            x: Theme.spacingLarge
            y: Theme.spacingLarge
            width: parent.width - 2 * Theme.spacingLarge
            spacing: Theme.spacingLarge

            PayMeansBar {
                id: meansBar
                enabledMeans: talk.enabledMeans
                current: cashier.means
                onChosen: function (m) { cashier.chooseMeans(m) }
            }
            ScanCodePanel {
                id: scanPanel
                visible: cashier.means === "wechat" || cashier.means === "alipay"
                width: parent.width
                busy: talk.busy
                note: talk.tradeMode !== "qr" ? talk.note : ""
                noteBad: talk.noteBad
                onCodeEntered: function (code) { talk.pay(cashier.walletMode("Scan"), { authCode: code }) }
                onQrRequested: talk.pay(cashier.walletMode("Qr"))
            }
            CashEntry {
                id: cashEntry
                visible: cashier.means === "cash"
                width: parent.width
                dueFen: talk.stillToCollect
                busy: talk.busy
                onConfirmed: talk.pay("cash")
            }
            OtherMeansPicker {
                id: otherPicker
                visible: cashier.means === "other"
                width: parent.width
                means: talk.paySigns
                dueFen: talk.stillToCollect
                busy: talk.busy
                onConfirmed: function (paySign, remark) { talk.pay("other", { paySign: paySign, remark: remark }) }
            }
            Text {
                objectName: "payNote"
                visible: cashier.means !== "wechat" && cashier.means !== "alipay" && talk.note !== ""
                text: talk.note
                font.pixelSize: Theme.fontNormal
                color: talk.noteBad ? Theme.danger : Theme.textRegular
            }
        }

        Column {
            objectName: "donePanel"
            visible: cashier.done
            anchors.centerIn: parent
            spacing: Theme.spacingMedium
            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                text: "收款完成"
                font.pixelSize: Theme.fontHeading
                color: Theme.success
            }
            Text {
                objectName: "doneAmount"
                anchors.horizontalCenter: parent.horizontalCenter
                text: "¥" + Money.fenToYuan(cashier.doneAmount)
                font.pixelSize: Theme.fontTitle
                color: Theme.amount
            }
        }
    }

    CouponWindow {
        id: couponWindow
        orderId: cashier.orderId
        dateSeparator: "."
        coupons: talk.coupons
        onRefresh: talk.listCoupons()
        onExchange: function (code) { talk.exchangeCode(code) }
        onCouponClicked: function (coupon) { talk.couponClicked(coupon) }
        onClosed: cashier.refocus()
    }

    QrPayWindow {
        id: qrWindow
        codeUrl: talk.codeUrl
        status: talk.tradeStatus
        statusNote: talk.noteBad ? talk.note : ""
        onClosed: {
            talk.qrClosed()
            cashier.refocus()
        }
    }

    LoadingShade {
        visible: talk.loading || (cashier.leaving && !cashier.done)
        text: cashier.leaving ? "正在取消支付，请稍等..." : "正在加载数据，请稍等..."
    }
}
