import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "records.js" as Records

// The member details' five tabs: the addresses (set as default, delete, edit, add), then the
// consumption, recharge, order and coupon records, ten at a time where the backend pages
// them. A tab reloads from page 1 when it is chosen; a failed load is told, and confirming
// it loads the tab again. Its requests go through the screen's conversation.
Rectangle {
    id: records
    color: Theme.card
    radius: Theme.radiusLarge

    // The screen's MemberDetailsConversation.
    property var conversation: null
    property string current: "address"
    property var addresses: []
    property bool loading: false
    property string markedOrderId: ""
    readonly property alias list: recordList

    // The worker asked for the address form: empty, or with `address` to change.
    signal addAddress()
    signal editAddress(var address)
    signal orderClicked(string orderId)
    // A tab's load failed with `text`; `retry` loads it again.
    signal failed(string text, var retry)

    function choose(key) {
        current = key
        if (key === "address")
            loadAddresses()
        else
            recordList.reload()
    }

    function loadAddresses() {
        loading = true
        conversation.loadAddresses()
    }

    function requestPage(number, fields) {
        loading = true
        conversation.recordPage(current, number, fields)
    }

    function setDefault(addressId) {
        conversation.setDefault(addressId)
    }

    function remove(addressId) {
        conversation.removeAddress(addressId)
    }

    function failedWith(text, retry) {
        loading = false
        if (recordList.loading)
            recordList.failed()
        failed(text, retry)
    }

    Connections {
        target: records.conversation
        function onAddressesLoaded(addresses, first) {
            records.addresses = addresses
            records.loading = false
        }
        function onAddressesFailed(text) { records.failedWith(text, records.loadAddresses) }
        function onRecordsReceived(key, cards) {
            if (records.current !== key)
                return
            recordList.received(cards)
            records.loading = false
        }
        function onTabFailed(key, text) { records.failedWith(text, function () { records.choose(key) }) }
    }

    Row {
        id: tabBar
        x: Theme.spacingLarge
        y: Theme.spacingMedium
        spacing: Theme.spacingLarge
        Repeater {
            model: Records.tabs
            Text {
                required property var modelData
                objectName: "tab_" + modelData.key
                text: modelData.label
                font.pixelSize: Theme.fontLarge
                color: records.current === modelData.key ? Theme.action : Theme.tabText
                MouseArea { anchors.fill: parent; onClicked: records.choose(parent.modelData.key) }
            }
        }
    }
    Button {
        objectName: "addAddressButton"
        visible: records.current === "address"
        anchors.right: parent.right
        anchors.rightMargin: Theme.spacingLarge
        anchors.verticalCenter: tabBar.verticalCenter
        text: "添加地址"
        onClicked: records.addAddress()
    }
    Button {
        objectName: "couponRefreshTab"
        visible: records.current === "coupon"
        anchors.right: parent.right
        anchors.rightMargin: Theme.spacingLarge
        anchors.verticalCenter: tabBar.verticalCenter
        text: "刷新"
        onClicked: recordList.reload()
    }

    ListView {
        id: addressList
        objectName: "addressList"
        visible: records.current === "address"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: tabBar.bottom
        anchors.bottom: parent.bottom
        anchors.margins: Theme.spacingLarge
        clip: true
        spacing: Theme.spacingSmall
        model: records.addresses
        delegate: Rectangle {
            id: addressRow
            required property var modelData
            width: addressList.width
            height: 70
            radius: Theme.radiusMedium
            color: Theme.cardAlt
            Column {
                x: Theme.spacingMedium
                anchors.verticalCenter: parent.verticalCenter
                spacing: Theme.spacingSmall
                Text {
                    text: addressRow.modelData.phone + " " + addressRow.modelData.name
                    font.pixelSize: Theme.fontBody
                    color: Theme.text
                }
                Text {
                    text: addressRow.modelData.regionalDesc + " " + addressRow.modelData.detail
                    font.pixelSize: Theme.fontNormal
                    color: Theme.textRegular
                }
            }
            Row {
                anchors.right: parent.right
                anchors.rightMargin: Theme.spacingMedium
                anchors.verticalCenter: parent.verticalCenter
                spacing: Theme.spacingMedium
                Text {
                    objectName: "defaultMark"
                    visible: addressRow.modelData.isDefault
                    text: "默认地址"
                    font.pixelSize: Theme.fontNormal
                    color: Theme.primary
                }
                Text {
                    objectName: "setDefault_" + addressRow.modelData.addressId
                    visible: !addressRow.modelData.isDefault
                    text: "设为默认"
                    font.pixelSize: Theme.fontNormal
                    color: Theme.textMuted
                    MouseArea { anchors.fill: parent; onClicked: records.setDefault(addressRow.modelData.addressId) }
                }
                Image {
                    objectName: "deleteAddress_" + addressRow.modelData.addressId
                    source: deleteArea.pressed ? "qrc:/icon/icon/Delete2.png" : "qrc:/icon/icon/Delete1.png"
                    MouseArea { id: deleteArea; anchors.fill: parent; onClicked: records.remove(addressRow.modelData.addressId) }
                }
                Image {
                    objectName: "editAddress_" + addressRow.modelData.addressId
                    source: editArea.pressed ? "qrc:/icon/icon/modify2.png" : "qrc:/icon/icon/modify1.png"
                    MouseArea { id: editArea; anchors.fill: parent; onClicked: records.editAddress(addressRow.modelData) }
                }
            }
        }
    }

    PagedList {
        id: recordList
        objectName: "recordList"
        visible: records.current !== "address"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: tabBar.bottom
        anchors.bottom: parent.bottom
        anchors.margins: Theme.spacingLarge
        spacing: Theme.spacingSmall
        onPageRequested: function (number, fields) { records.requestPage(number, fields) }
        delegate: Rectangle {
            id: card
            required property string recordId
            required property string title
            required property string badge
            required property string detail
            required property string amount
            width: recordList.width
            height: Math.max(detailText.y + detailText.height, amountText.height) + Theme.spacingMedium
            radius: Theme.radiusMedium
            color: records.current === "order" && records.markedOrderId === recordId ? Theme.selected : Theme.cardAlt
            Text {
                id: titleText
                x: Theme.spacingMedium
                y: Theme.spacingMedium
                text: card.title
                font.pixelSize: Theme.fontMedium
                font.bold: true
                color: Theme.textStrong
            }
            Text {
                anchors.left: titleText.right
                anchors.leftMargin: Theme.spacingMedium
                anchors.verticalCenter: titleText.verticalCenter
                text: card.badge
                font.pixelSize: Theme.fontNormal
                color: Theme.success
            }
            Text {
                id: detailText
                x: Theme.spacingMedium
                anchors.top: titleText.bottom
                anchors.topMargin: Theme.spacingSmall
                text: card.detail
                lineHeight: 1.3
                font.pixelSize: Theme.fontNormal
                color: Theme.textRegular
            }
            Text {
                id: amountText
                anchors.right: parent.right
                anchors.rightMargin: Theme.spacingMedium
                anchors.verticalCenter: parent.verticalCenter
                horizontalAlignment: Text.AlignRight
                text: card.amount
                font.pixelSize: Theme.fontMedium
                color: Theme.amount
            }
            MouseArea {
                anchors.fill: parent
                enabled: records.current === "order"
                onClicked: {
                    records.markedOrderId = card.recordId
                    records.orderClicked(card.recordId)
                }
            }
        }
    }

    LoadingShade { visible: records.loading }
}
