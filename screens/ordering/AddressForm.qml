import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Dialogs 1.2
import Brenvo 1.0
import "orderheader.js" as Header

// "添加地址": the customer's new address, found through the map web service (plain GET and
// POST requests, no envelope, no signature; the replies are used as they come).
PopupWindow {
    id: form
    objectName: "addressForm"
    title: editingId !== "" ? "修改地址" : "添加地址"
    panelWidth: 760
    panelHeight: 560

    // Filled from the customer when the form opens.
    property string contactName: ""
    property string contactPhone: ""

    property string cityCode: ""
    property string city: ""
    property string center: ""
    property string mapUrl: ""
    property var tips: []          // [{ name, district, address, location }], at most 5
    property string regionalDesc: ""
    property string regionalId: ""
    property string detailPrefix: ""
    property string longitude: ""
    property string latitude: ""
    // The address being changed ("" for a new one): the owner sends its change.
    property string editingId: ""
    readonly property alias request: maps.request

    // The fields of userAddress/add (without userId).
    signal saveRequested(var fields)

    // A map web-service query; its answer goes to `onReply`.
    function mapGet(tag, path, pairs, onReply) {
        maps.fetch(tag, AppConfig.mapHost + path + "?"
                   + Header.query(pairs.concat([["key", AppConfig.mapKey]])), onReply)
    }

    // Opens the form at the terminal's city (IP location first).
    function start() {
        tips = []
        regionalDesc = ""
        regionalId = ""
        detailPrefix = ""
        longitude = ""
        latitude = ""
        addressField.text = ""
        houseField.text = ""
        keywordField.text = ""
        nameField.text = contactName
        phoneField.text = contactPhone
        editingId = ""
        maps.postTo("ip", AppConfig.mapHost + "/v3/ip?" + Header.query(
                        [["ip", maps.request.getHostIp()], ["output", "json"], ["key", AppConfig.mapKey]]),
                    "{}", cityFound)
    }

    // Opens the form on an address to change: its place stays unless another is chosen.
    // `address`: { addressId, name, phone, regionalDesc, regionalId, detail, longitude,
    // latitude }.
    function edit(address) {
        start()
        editingId = address.addressId
        nameField.text = address.name
        phoneField.text = address.phone
        regionalDesc = address.regionalDesc
        regionalId = address.regionalId
        detailPrefix = address.detail
        addressField.text = address.detail
        longitude = address.longitude
        latitude = address.latitude
    }

    function search() {
        if (keywordField.text.trim() === "")
            return
        mapGet("tips", "/v3/assistant/inputtips",
               [["keywords", keywordField.text.trim()], ["city", cityCode], ["datatype", "poi"],
                ["citylimit", "true"], ["output", "json"]], tipsFound)
    }

    function chooseTip(i) {
        var tip = tips[i]
        mapUrl = Header.staticMapUrl(AppConfig.mapHost, AppConfig.mapKey, tip.location, 12,
                                     Header.tipMarkers([tip.location]))
        addressField.text = tip.address + " " + tip.name
        regionalDesc = tip.district
        detailPrefix = tip.address + tip.name
        var location = Header.splitLocation(tip.location)
        var area = Header.districtName(tip.district)
        if (area !== "")
            mapGet("region", "/v3/config/district", [["keywords", area], ["subdistrict", "0"]],
                   function (reply) {
                       form.regionalId = maps.request.getListInfo(reply, "districts", "adcode", "", 0)
                   })
        longitude = location.longitude
        latitude = location.latitude
    }

    function fields(def) {
        return {
            name: nameField.text,
            sex: sexBox.currentIndex === 0 ? "1" : sexBox.currentIndex === 1 ? "2" : "0",
            phone: phoneField.text,
            regionalId: regionalId,
            regionalDesc: regionalDesc,
            detail: detailPrefix + houseField.text,
            latitude: latitude,
            def: def,
            longitude: longitude
        }
    }

    function save(def) { saveRequested(fields(def)) }

    function cityFound(reply) {
        cityCode = maps.request.josnReturn(reply, "adcode")
        city = maps.request.josnReturn(reply, "city")
        open()
        mapGet("center", "/v3/config/district", [["keywords", city], ["subdistrict", "0"]],
               function (centerReply) {
                   form.center = maps.request.getListInfo(centerReply, "districts", "center", "", 0)
                   form.mapUrl = Header.staticMapUrl(AppConfig.mapHost, AppConfig.mapKey, form.center, 10, "")
               })
    }

    function tipsFound(reply) {
        var request = maps.request
        var n = Math.min(request.getListNum(reply, "tips", ""), Header.maxTips)
        var list = []
        for (var i = 0; i < n; ++i)
            list.push({
                name: request.getListInfo(reply, "tips", "name", "", i),
                district: request.getListInfo(reply, "tips", "district", "", i),
                address: request.getListInfo(reply, "tips", "address", "", i),
                location: request.getListInfo(reply, "tips", "location", "", i)
            })
        tips = list
        if (n > 0)
            mapUrl = Header.staticMapUrl(AppConfig.mapHost, AppConfig.mapKey, list[0].location,
                                         10, Header.tipMarkers(list.map(function (t) { return t.location })))
    }

    BackendRequest { id: maps }

    MessageDialog {
        id: defaultQuestion
        title: "提示"
        text: "是否将此地址设置为默认"
        standardButtons: StandardButton.Yes | StandardButton.No
        onYes: form.save("1")
        onNo: form.save("0")
    }

    Row {
        anchors.fill: parent
        spacing: Theme.spacingLarge
        Column {
            width: 400
            spacing: Theme.spacingMedium
            Row {
                spacing: Theme.spacingSmall
                Text { text: "省份"; width: 70; font.pixelSize: Theme.fontBody; anchors.verticalCenter: parent.verticalCenter }
                Text { objectName: "cityText"; text: form.city; font.pixelSize: Theme.fontBody; anchors.verticalCenter: parent.verticalCenter }
            }
            Row {
                spacing: Theme.spacingSmall
                Text { text: "地址"; width: 70; font.pixelSize: Theme.fontBody; anchors.verticalCenter: parent.verticalCenter }
                TextField { id: keywordField; objectName: "keywordField"; width: 230; placeholderText: "小区/学校/超市等" }
                Button { objectName: "tipSearch"; text: "搜索"; width: 80; onClicked: form.search() }
            }
            ListView {
                id: tipList
                objectName: "tipList"
                width: parent.width
                height: 150
                clip: true
                model: form.tips
                delegate: ItemDelegate {
                    required property var modelData
                    required property int index
                    width: tipList.width
                    height: 30
                    text: (index + 1) + ". " + modelData.name + "  " + modelData.district
                    font.pixelSize: Theme.fontSmall
                    onClicked: form.chooseTip(index)
                }
            }
            Row {
                spacing: Theme.spacingSmall
                Text { text: "详细地址"; width: 70; font.pixelSize: Theme.fontBody; anchors.verticalCenter: parent.verticalCenter }
                TextField { id: addressField; objectName: "addressField"; width: 318; readOnly: true }
            }
            Row {
                spacing: Theme.spacingSmall
                Text { text: "门牌号"; width: 70; font.pixelSize: Theme.fontBody; anchors.verticalCenter: parent.verticalCenter }
                TextField { id: houseField; objectName: "houseField"; width: 318; placeholderText: "例：5号楼203室" }
            }
            Row {
                spacing: Theme.spacingSmall
                Text { text: "联系人"; width: 70; font.pixelSize: Theme.fontBody; anchors.verticalCenter: parent.verticalCenter }
                TextField { id: nameField; objectName: "contactField"; width: 200 }
                ComboBox { id: sexBox; objectName: "contactSex"; width: 110; model: ["男", "女", "未知"] }
            }
            Row {
                spacing: Theme.spacingSmall
                Text { text: "联系人电话"; width: 70; font.pixelSize: Theme.fontBody; anchors.verticalCenter: parent.verticalCenter }
                TextField { id: phoneField; objectName: "contactPhoneField"; width: 318 }
            }
        }
        Column {
            spacing: Theme.spacingMedium
            Image {
                objectName: "mapImage"
                width: 300
                height: 300
                source: form.mapUrl
                fillMode: Image.PreserveAspectFit
            }
            Button {
                objectName: "addressSave"
                text: "保存"
                width: 120
                anchors.horizontalCenter: parent.horizontalCenter
                onClicked: defaultQuestion.open()
            }
        }
    }
}
