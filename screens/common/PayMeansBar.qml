import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "payment.js" as Payment

// The means of payment the merchant has enabled, one tab each, in the order WeChat, Alipay,
// cash, other.
Row {
    id: bar
    spacing: Theme.spacingMedium

    // { wechat, alipay, cash, other }: which are enabled.
    property var enabledMeans: ({})
    property string current: ""

    signal chosen(string means)

    readonly property var labels: ({ wechat: "微信支付", alipay: "支付宝", cash: "现金", other: "其他" })

    Repeater {
        model: Payment.meansOrder.filter(function (m) { return bar.enabledMeans[m] === true })
        delegate: Button {
            required property string modelData
            objectName: "means_" + modelData
            text: bar.labels[modelData]
            checkable: true
            checked: bar.current === modelData
            font.pixelSize: Theme.fontMedium
            onClicked: {
                bar.current = modelData
                bar.chosen(modelData)
            }
        }
    }
}
