import QtQuick 2.15
import Brenvo 1.0
import "money.js" as Money

// "价格明细": what the order's total is made of, in yuan.
PopupWindow {
    id: window
    title: "价格明细"
    panelWidth: 420
    panelHeight: 330

    // The order's fields from stockIn/queryOrder.
    property var info: ({})

    function yuan(name) {
        return Money.fenToYuan(info[name])
    }

    component Line: Text {
        font.pixelSize: Theme.fontBody
        color: Theme.text
    }

    Column {
        anchors.fill: parent
        spacing: Theme.spacingMedium
        Line { objectName: "priceGarments"; text: "衣物总额：" + window.yuan("orderPrice") }
        Line { objectName: "priceTake"; text: "取件费用：" + window.yuan("takeCarriage") }
        Line { objectName: "priceSend"; text: "送件费用：" + window.yuan("sendCarriage") }
        Line {
            objectName: "priceModified"
            visible: String(window.info.isModifyPrice) === "1"
            text: "修改金额：" + window.yuan("modifyPrice")
        }
        Line {
            objectName: "priceOrder"
            text: "订单金额：¥" + window.yuan("paymentPrice")
            color: Theme.amount
            font.bold: true
        }
    }
}
