import QtQuick 2.15
import Brenvo 1.0
import "money.js" as Money
import "pickup.js" as Pickup

// The order view's header: the order, its money and payments, the notes, pick-up and
// delivery, and the order's track.
Column {
    id: summary
    spacing: Theme.spacingSmall

    // orderInfo/detail's data, and the order's paid parts (tradeOrder/list).
    property var order: ({})
    property var payments: []
    readonly property var paid: Pickup.payments(payments)
    readonly property bool unpaid: String(order.payStatusText) === "未支付"
    readonly property bool onCredit: String(order.creditStatus) === "1"

    // "有退款记录".
    signal recordsClicked()

    component Line: Text {
        font.pixelSize: Theme.fontBody
        color: Theme.textRegular
        width: summary.width
        wrapMode: Text.Wrap
    }
    // A courier's picture is loaded only from a web address.
    component WorkerPicture: Image {
        property var address: ""
        visible: String(source) !== ""
        source: /^https?:\/\//.test(String(address || "")) ? String(address) : ""
        width: 48
        height: 48
        fillMode: Image.PreserveAspectCrop
    }
    component Heading: Text {
        font.pixelSize: Theme.fontMedium
        font.bold: true
        color: Theme.textStrong
        topPadding: Theme.spacingSmall
    }

    Heading { text: "订单信息" }
    Line { objectName: "orderNo"; text: "单号：" + (summary.order.orderNo || "") }
    Line { text: "下单方式：" + (summary.order.originText || "") }
    Line { text: "下单时间：" + Session.timerToDate(summary.order.createTime) }
    Line {
        objectName: "orderCustomer"
        text: "客户：" + (summary.order.userInfo ? summary.order.userInfo.name + "  " + summary.order.userInfo.phone : "")
    }
    Line { objectName: "orderStatus"; text: "当前状态：" + (summary.order.statusText || "") + "  " + (summary.order.payStatusText || "") }

    Heading { text: "支付信息" }
    Line { text: "订单金额：" + Money.fenToYuan(summary.order.payablePrice) }
    Line { text: "使用优惠券：" + Money.fenToYuan(summary.order.couponAmt) }
    Row {
        spacing: Theme.spacingMedium
        Line {
            objectName: "paidAmount"
            width: implicitWidth
            text: "实付金额：" + (summary.unpaid ? "0.00" : Money.fenToYuan(summary.order.paymentPrice))
        }
        Text {
            objectName: "creditMark"
            visible: summary.onCredit
            text: summary.unpaid ? "已赊账" : "赊"
            font.pixelSize: Theme.fontBody
            color: Theme.warning
        }
        Text {
            objectName: "refundRecords"
            visible: String(summary.order.refundPrice || "0") !== "0" || summary.order.hasRefundRecord === true
            text: "有退款记录"
            font.pixelSize: Theme.fontBody
            color: Theme.primary
            MouseArea {
                anchors.fill: parent
                onClicked: summary.recordsClicked()
            }
        }
    }
    Line {
        visible: summary.onCredit
        text: "赊账原因：" + (summary.order.creditRemark || "")
    }
    Line {
        objectName: "payMethods"
        visible: summary.payments.length > 0
        text: "支付方式：" + summary.paid.methods + "  " + Session.timerToDate(summary.paid.lastTime)
    }

    Heading { text: "备注" }
    Line { text: "客户备注：" + (summary.order.userRemark || "") }
    Line {
        text: "管理备注：" + (Array.isArray(summary.order.remarkJson)
                            ? summary.order.remarkJson.map(function (n) { return n.workName + "：" + n.remark }).join("；")
                            : "")
    }

    Heading { text: "取送" }
    Line { text: "取件方式：" + (summary.order.takeModeText || "") }
    Line { text: "取件联系人：" + (summary.order.takeName || "") + "  " + (summary.order.takePhone || "") }
    Line { text: "取件地址：" + (summary.order.takeAddress || "") }
    Line { text: "取件员：" + (summary.order.takeWorkName || "") + "  " + (summary.order.takeWorkPhone || "") }
    WorkerPicture { address: summary.order.takeWorkImg }
    Line { text: "送件方式：" + (summary.order.sendModeText || "") }
    Line { text: "送件联系人：" + (summary.order.sendName || "") + "  " + (summary.order.sendPhone || "") }
    Line { text: "送件地址：" + (summary.order.sendAddress || "") }
    Line { text: "送件员：" + (summary.order.sendWorkName || "") + "  " + (summary.order.sendWorkPhone || "") }
    WorkerPicture { address: summary.order.sendWorkImg }

    Heading { text: "订单跟踪" }
    Repeater {
        model: Array.isArray(summary.order.statusList) ? summary.order.statusList : []
        Line {
            required property var modelData
            text: Session.timerToDate(modelData.createTime) + "  " + modelData.statusText
                  + (modelData.workName ? "  " + modelData.workName : "")
        }
    }
}
