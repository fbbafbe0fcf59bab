import QtQuick 2.15
import Brenvo 1.0
import "coupon.js" as Coupon

// What the customer panel opens and changes, for every screen that shows the panel (place
// order, pick-up, member details): the tag, group, coupon and member-card windows, and the
// requests behind the panel's name, sex and birthday. It fills the screen it is put in, so
// its windows cover the screen, and talks through the screen's request piece.
Item {
    id: windows
    anchors.fill: parent

    // From the screen: its request piece and its customer panel.
    property var backend: null
    property var panel: null
    // The customer's tags ({id, name}), shown by the panel.
    property var customerTags: []
    // The first loadTags() has its answer (the tags, or a refusal): until then the panel would
    // show "添加标签" in their place.
    property bool tagsLoaded: false

    // The worker chose a group; for the garment mark when `forMark`.
    signal groupChosen(string id, string name, bool forMark)
    // A request refused with a text the worker must read (a coupon code).
    signal failed(string text)

    readonly property alias tagWindow: tagWindow
    readonly property alias groupWindow: groupWindow
    readonly property alias cardWindow: cardWindow
    readonly property alias couponWindow: couponWindow

    function userId() {
        if (panel.userId === "")
            panel.load()
        return panel.userId
    }

    function listOf(reply, keys, flag) {
        return backend.listOf(reply, keys, flag)
    }

    // A refusal is logged and an unreachable backend told; the panel then shows no tags.
    function loadTags() {
        backend.call("UserTag", "userTag/list", { userId: userId() }, function (reply) {
            windows.customerTags = windows.listOf(reply, ["id", "name"], 1)
            tagWindow.customerTags = windows.customerTags
            windows.tagsLoaded = true
        }, function (reply, unreachable) {
            if (unreachable)
                windows.failed(windows.backend.failureText(true))
            else
                console.log(Logs.common, "UserTag: " + reply)
            windows.tagsLoaded = true
        })
    }

    function openTags() {
        tagWindow.customerTags = customerTags
        tagWindow.open()
        backend.call("AllTag", "userTag/all", {}, function (reply) {
            tagWindow.allTags = windows.listOf(reply, ["id", "name"], 1)
            tagWindow.customerTags = windows.customerTags
        })
    }

    function saveTags(tags) {
        backend.write("UpdateTag", "userInfo/updateTag", { id: userId(), tags: tags }, function () {
            tagWindow.close()
            windows.loadTags()
        })
    }

    function openCoupons() {
        backend.call("CouponInfo", "couponInfo/userList", { userId: userId() }, function (reply) {
            couponWindow.coupons = windows.listOf(reply, Coupon.listKeys, 0)
            couponWindow.open()
        })
    }

    // A code whose answer was lost, typed again, is sent as the very same request.
    function exchangeCode(code) {
        backend.write("ExchangeDisCode", "couponFCode/exchangeCode", { code: code, userId: userId() },
                      function () {
                          couponWindow.codeMode = false
                          couponWindow.code = ""
                          windows.openCoupons()
                      }, function (reply, unreachable) {
                          couponWindow.code = ""
                          windows.failed(windows.backend.failureText(unreachable))
                      })
    }

    function openGroups(forMark) {
        backend.call(forMark ? "GroupListBiao" : "GroupList", "userGroup/list", {}, function (reply) {
            windows.showGroups(reply, forMark)
        })
    }

    function showGroups(reply, forMark) {
        groupWindow.groups = listOf(reply, ["id", "name"], 0)
        groupWindow.markMode = forMark
        groupWindow.currentId = panel.groupId
        groupWindow.open()
    }

    function chooseGroup(id, name, forMark) {
        backend.write("UpdataGruop", "userInfo/updateGroup", { id: userId(), groupId: id }, function () {
            groupWindow.close()
            windows.panel.groupId = id
            windows.panel.groupName = name
            windows.groupChosen(id, name, forMark)
        })
    }

    // A member-card change is shown, then the customer is read again by phone: the key that
    // found the customer may have been the very card that was just taken off. Like every
    // change here it is a write: after a lost answer, the same change is the very same request.
    function changeCard(tag, path, fields, done) {
        fields.userId = userId()
        backend.write(tag, path, fields, function () {
            cardWindow.showResult(done)
            backend.call("placeOrders", "userInfo/queryByKey", { key: windows.panel.phone }, function (reply) {
                var r = windows.backend.request
                var data = r.josnData(reply)
                windows.panel.cardNo = r.getMemberInfo(data, "card", "no", "", 0)
                windows.panel.rfidNo = r.getMemberInfo(data, "card", "rfidNo", "", 0)
                windows.panel.isBinding = r.getMemberInfo(data, "card", "isBinding", "", 0)
            })
        })
    }

    Connections {
        target: windows.panel
        function onNameEdited(name) {
            windows.backend.write("UpdateName", "userInfo/updateName", { id: windows.userId(), name: name },
                                 function () { windows.panel.name = name })
        }
        function onSexChosen(sex) {
            windows.backend.write("UpdataSex", "userInfo/updateSex", { id: windows.userId(), sex: sex },
                                 function () { windows.panel.sex = sex })
        }
        function onBirthdayChosen(birthday) {
            windows.backend.write("UpdateBrith", "userInfo/updateBirthday", { id: windows.userId(), birthday: birthday },
                                 function () { windows.panel.birthday = birthday })
        }
        function onCouponsClicked() { windows.openCoupons() }
        function onCardClicked() {
            cardWindow.bound = windows.panel.isBinding === "1"
            cardWindow.cardNumber = windows.panel.rfidNo
            cardWindow.open()
        }
        function onGroupClicked() { windows.openGroups(false) }
        function onTagsClicked() { windows.openTags() }
    }

    TagWindow {
        id: tagWindow
        onConfirmed: function (tags) { windows.saveTags(tags) }
    }
    GroupWindow {
        id: groupWindow
        onChosen: function (id, name, forMark) { windows.chooseGroup(id, name, forMark) }
    }
    MemberCardWindow {
        id: cardWindow
        onBindCard: function (rfidNo, checkCode) {
            windows.changeCard("CardNumBind", "rfid/user/manual/binding",
                               { rfidNo: rfidNo, checkCode: checkCode }, "绑卡成功")
        }
        onCancelCard: windows.changeCard("CardCancel", "rfid/user/cancel", {}, "已作废")
        onUnbindCard: windows.changeCard("CardUntie", "rfid/user/unbundling", {}, "已解绑")
    }
    CouponWindow {
        id: couponWindow
        onRefresh: windows.openCoupons()
        onExchange: function (code) { windows.exchangeCode(code) }
    }
}
