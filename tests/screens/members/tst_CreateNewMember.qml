import QtQuick 2.15
import QtTest 1.2
import Brenvo 1.0
import BrenvoTest 1.0
import "qrc:/"
import "../common"
import "../common/fakeroutes.js" as Routes

// The new member: the form's choices and the request it sends, against a backend answering
// as each test says; against the reference backend, a new member found by phone afterwards,
// a phone already taken, and the place-order screen's "创建该用户" that opens the form.
ScreenTestCase {
    id: testCase
    name: "CreateNewMember"
    needsSignIn: true
    confirmsBoxes: false

    SignalSpy { id: createdSpy; signalName: "created" }

    function useFake(addCardUser) {
        routed.start()
        routes = {
            "userCard/listForSelect": Routes.ok({ list: [
                { id: 1, name: "普通会员", rights: "10", discountType: "1", discount: 100, def: 0 },
                { id: 2, name: "银卡会员", rights: "11", discountType: "1", discount: 95, def: 1 }] }),
            "userGroup/list": Routes.ok([{ id: 4, name: "高端客户", cnt: 3 }]),
            "mercCity/paramDetail": Routes.ok({ addCardUser: addCardUser }),
            "userInfo/add": Routes.ok({ id: 99 })
        }
    }

    function open(phone) {
        screen = Qt.createComponent("qrc:/CreateNewMember.qml").createObject(host, { createNewMemberPhone: phone || "" })
        verify(screen !== null)
        createdSpy.target = screen
        tryCompare(screen, "loading", false, 5000)
        return screen
    }

    // Levels, then groups, then the setting; the default level and group are shown; nothing
    // touched sends today's birthday, no sex, the default level and group.
    function test_defaults_and_todays_birthday() {
        useFake("1")
        open()
        compare(Routes.paths(fake), ["userCard/listForSelect", "userGroup/list", "mercCity/paramDetail"])
        compare(item("cardChoice").text, "银卡会员")
        compare(item("groupChoice").text, "默认分组")
        var today = Qt.formatDate(new Date(), "yyyy-MM-dd")
        compare(item("birthdayChoice").text, today)
        item("newPhoneField").forceActiveFocus()
        type("13800009999")
        click(item("newMemberSave"))
        tryCompare(createdSpy, "count", 1, 5000)
        var body = sentTo("userInfo/add")[0]
        compare([body.phone, body.name, body.sex, body.cardId, body.groupId, body.birthday],
                ["13800009999", "", "0", "2", "-1", today])
        tryVerify(closed, 5000)
    }

    function test_empty_phone_sends_nothing() {
        useFake("1")
        open()
        item("newNameField").text = "无电话"
        click(item("newMemberSave"))
        wait(50)
        compare(sentTo("userInfo/add").length, 0)
        verify(!closed())
    }

    // The phone field only takes what can still become 1 and ten more digits.
    function test_phone_field_refuses_what_cannot_be_a_phone() {
        useFake("1")
        open()
        item("newPhoneField").forceActiveFocus()
        type("2")
        compare(item("newPhoneField").text, "")
        type("1391234000123")
        compare(item("newPhoneField").text, "13912340001")
    }

    // Level, group, sex and birthday chosen; the level may be chosen only when the merchant
    // allows it.
    function test_choices_sent() {
        useFake("1")
        open("13800008888")
        compare(item("newPhoneField").text, "13800008888")
        click(item("cardChoice"))
        var levels = item("levelWindow")
        verify(levels.visible)
        compare(findChild(levels, "windowTitle").text, "会员卡")
        click(findChild(levels, "choice_1"))
        click(findChild(levels, "choiceCancel"))
        compare(item("cardChoice").text, "银卡会员")
        click(item("cardChoice"))
        click(findChild(levels, "choice_1"))
        click(findChild(levels, "choiceConfirm"))
        compare(item("cardChoice").text, "普通会员")
        click(item("groupChoice"))
        var groups = item("newGroupChooser")
        compare(findChild(groups, "windowTitle").text, "分组")
        compare(groups.entries.map(function (e) { return e.label }), ["默认分组", "高端客户"])
        click(findChild(groups, "choice_4"))
        click(findChild(groups, "choiceConfirm"))
        compare(item("groupChoice").text, "高端客户")
        click(item("sexFemale"))
        click(item("birthdayChoice"))
        var picker = item("newBirthdayPopup")
        verify(picker.visible)
        picker.choose(new Date(1990, 4, 6))
        compare(item("birthdayChoice").text, "1990-05-06")
        item("newNameField").text = "选好了"
        click(item("newMemberSave"))
        tryCompare(createdSpy, "count", 1, 5000)
        var body = sentTo("userInfo/add")[0]
        compare([body.name, body.sex, body.cardId, body.groupId, body.birthday], ["选好了", "2", "1", "4", "1990-05-06"])
    }

    function test_level_fixed_when_the_merchant_says_so() {
        useFake("0")
        open()
        click(item("cardChoice"))
        verify(!item("levelWindow").visible)
    }

    // Whichever first request fails, the shade goes and the worker is told; the form cannot be
    // saved half-loaded, and "返回" closes the screen.
    function test_failed_opening_leaves_the_way_back_data() {
        return [
            { tag: "levels refused", path: "userCard/listForSelect", reply: Routes.refused(500, "服务器忙"), text: "服务器忙" },
            { tag: "groups unreachable", path: "userGroup/list", reply: "<html>", text: "无法连接服务器，请检查网络后重试" },
            { tag: "setting refused", path: "mercCity/paramDetail", reply: Routes.refused(403, "无权限"), text: "无权限" }
        ]
    }
    function test_failed_opening_leaves_the_way_back(row) {
        useFake("1")
        routes[row.path] = row.reply
        open()
        tryVerify(function () { return TestSupport.boxes().length === 1 }, 5000)
        compare(TestSupport.boxes()[0].slice(1), ["错误提示", row.text])
        verify(!item("loadingShade").visible)
        verify(!item("newMemberSave").enabled)
        click(item("newMemberBack"))
        tryVerify(closed, 5000)
    }

    // Confirming the box asks again, and the form that then arrives can be saved.
    function test_failed_opening_loads_again_on_confirmation() {
        useFake("1")
        routes["userGroup/list"] = [Routes.refused(500, "服务器忙"), Routes.ok([{ id: 4, name: "高端客户", cnt: 3 }])]
        TestSupport.confirmBoxes(true)
        open()
        tryCompare(item("newMemberSave"), "enabled", true, 5000)
        compare(TestSupport.boxes().length, 1)
        compare(Routes.paths(fake), ["userCard/listForSelect", "userGroup/list",
                                     "userCard/listForSelect", "userGroup/list", "mercCity/paramDetail"])
        verify(!item("loadingShade").visible)
        compare(item("cardChoice").text, "银卡会员")
    }

    // --- Against the reference backend -------------------------------------------------------

    // A phone of this run's own, so a second run on the same database finds none.
    function newPhone() {
        return "137" + String(Date.now()).slice(-8)
    }

    function test_new_member_found_by_phone_afterwards() {
        var phone = newPhone()
        compare(reference.data("userInfo/queryByKey", { key: phone }).data, {})
        open()
        item("newPhoneField").text = phone
        item("newNameField").text = "新会员"
        click(item("newMemberSave"))
        tryCompare(createdSpy, "count", 1, 5000)
        tryVerify(closed, 5000)
        var user = reference.data("userInfo/queryByKey", { key: phone }).data.user
        compare(user.info.name, "新会员")
        compare(user.card.info.name, "普通会员")
    }

    // A refusal is told, and the form stays as it was.
    function test_phone_taken() {
        open()
        item("newPhoneField").text = "13912340003"
        item("newNameField").text = "重复"
        click(item("newMemberSave"))
        tryVerify(function () { return TestSupport.boxes().length === 1 }, 5000)
        compare(TestSupport.boxes()[0].slice(1), ["错误提示", "该手机号已注册"])
        verify(!closed())
        compare(item("newPhoneField").text, "13912340003")
        compare(item("newNameField").text, "重复")
        compare(createdSpy.count, 0)
    }

    // The backend made the member but its answer never reached the form: the worker's second
    // "保存" sends the very same request, and the backend's kept answer is the member made,
    // not "该手机号已注册".
    function test_lost_reply_saved_again_makes_one_member() {
        var phone = newPhone()
        open()
        item("newPhoneField").text = phone
        item("newNameField").text = "丢失回复"
        click(item("newMemberSave"))
        var backend = screen.conversation.backend
        var out = Object.keys(backend.calls)
        compare(out.length, 1)
        backend.finish(Number(out[0]), "Operation canceled", true)
        tryVerify(function () { return TestSupport.boxes().length === 1 }, 5000)
        compare(TestSupport.boxes()[0].slice(1), ["错误提示", "无法连接服务器，请检查网络后重试"])
        tryVerify(function () { return reference.data("userInfo/queryByKey", { key: phone }).data.user !== undefined }, 5000)
        verify(!closed())
        click(item("newMemberSave"))
        tryCompare(createdSpy, "count", 1, 5000)
        tryVerify(closed, 5000)
        compare(TestSupport.boxes().length, 1)
        compare(reference.data("userInfo/queryByKey", { key: phone }).data.user.info.name, "丢失回复")
    }

    // "创建该用户" on the place-order screen opens the form with the phone typed there; once
    // saved, the offer goes and the phone finds the new member.
    function test_place_order_creates_the_member() {
        var phone = newPhone()
        var placeOrder = Qt.createComponent("qrc:/PlaceOrder.qml").createObject(host, {})
        verify(placeOrder !== null)
        TestSupport.confirmBoxes(true)
        var field = findChild(placeOrder, "searchField")
        field.text = phone
        click(findChild(placeOrder, "searchButton"))
        var button = findChild(placeOrder, "createUserButton")
        tryVerify(function () { return button.visible }, 5000)
        click(button)
        screen = findChild(placeOrder, "CreateNewMember")
        verify(screen !== null)
        createdSpy.target = screen
        tryCompare(screen, "loading", false, 5000)
        compare(item("newPhoneField").text, phone)
        click(item("newMemberSave"))
        tryCompare(createdSpy, "count", 1, 5000)
        tryVerify(closed, 5000)
        verify(!button.visible)
        click(findChild(placeOrder, "searchButton"))
        tryVerify(function () { return findChild(placeOrder, "PlaceOrderContent") !== null }, 5000)
        screen = null
        placeOrder.close()
    }
}
