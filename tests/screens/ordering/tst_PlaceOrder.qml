import QtQuick 2.15
import QtTest 1.2
import Brenvo 1.0
import BrenvoTest 1.0
import "../common"

// Finding the customer and composing the order header, against the reference backend's
// demo data (demo member i has the phone 139123400ii and the card VIP00ii).
ScreenTestCase {
    id: testCase
    name: "PlaceOrder"
    needsSignIn: true

    SignalSpy { id: sentSpy; signalName: "reqParamsReturn" }
    SignalSpy { id: repliedSpy; signalName: "callFinished" }
    SignalSpy { id: createdSpy; signalName: "orderCreated" }
    SignalSpy { id: mapSpy; signalName: "reqFlishedReturn" }

    function init() {
        verify(TestSupport.writeFile("card.txt", ""))
        screen = Qt.createComponent("qrc:/PlaceOrder.qml").createObject(host)
        verify(screen !== null)
        screen.messageBox = boxRecorder
        compare(Session.enterFlag, "PlaceOrder")
    }

    function contentOf(parentScreen) {
        for (var i = 0; i < parentScreen.children.length; ++i)
            if (parentScreen.children[i].objectName === "PlaceOrderContent")
                return parentScreen.children[i]
        return null
    }

    function search(key) {
        var field = findChild(screen, "searchField")
        field.forceActiveFocus()
        field.text = ""
        type(key)
        keyClick(Qt.Key_Return)
    }

    // The order form of a customer found by phone, once its loading chain has run.
    function openContent(phone) {
        search(phone)
        tryVerify(function () { return contentOf(screen) !== null }, 5000)
        var content = contentOf(screen)
        content.messageBox = boxRecorder
        settle(content.conversation)
        sentSpy.target = content.conversation.backend.request
        repliedSpy.target = content.conversation.backend.request
        createdSpy.target = content
        return content
    }

    function lastSent(path) {
        for (var i = sentSpy.count - 1; i >= 0; --i)
            if (sentSpy.signalArguments[i][0].indexOf("/mac/" + path + "?") >= 0)
                return sentSpy.signalArguments[i][0]
        return ""
    }

    // The member's orders in the test's store, newest first.
    function ordersOf(userId) {
        var list = reference.data("orderInfo/list", { userId: userId, pageNum: "1", pageSize: "100" }).data.list
        verify(list.length < 100)
        return list
    }

    // --- Finding the customer -----------------------------------------------------------

    function test_search_data() {
        return [
            { tag: "found by phone", key: "13912340004", box: null, offer: false, found: true },
            { tag: "unknown phone, 11 digits", key: "13900000009", box: ["创建新用户", "没有此用户，请创建新用户"], offer: true, found: false },
            { tag: "unknown, 10 digits", key: "1390000000", box: ["创建新用户", "没有此会员卡，请创建账户"], offer: false, found: false },
            { tag: "unknown, 12 digits", key: "139000000001", box: ["创建新用户", "没有此会员卡，请创建账户"], offer: false, found: false }
        ]
    }

    function test_search(row) {
        var button = findChild(screen, "createUserButton")
        search(row.key)
        if (row.found) {
            tryVerify(function () { return contentOf(screen) !== null }, 5000)
            compare(contentOf(screen).panel.phone, row.key)
            compare(boxes.length, 0)
            return
        }
        tryCompare(testCase, "boxes", [row.box], 5000)
        verify(!button.visible)
        screen.followUp.confirm()
        compare(button.visible, row.offer)
        verify(contentOf(screen) === null)
        shot(screen, "placeorder-" + row.key.length)
        // A new search hides the offer again.
        if (row.offer) {
            search("13912340004")
            verify(!button.visible)
        }
    }

    function test_at_most_25_characters() {
        var field = findChild(screen, "searchField")
        field.forceActiveFocus()
        for (var i = 0; i < 30; ++i)
            keyClick("7")
        keyClick("a")
        compare(field.text.length, 25)
        verify(/^\d+$/.test(field.text))
    }

    // Member card numbers carry letters: typed as printed, or in small letters, they find
    // their member; what is neither a letter nor a digit is refused.
    function test_member_card_number_finds_its_member_data() {
        return [
            { tag: "as printed", key: "VIP0001", phone: "13912340001" },
            { tag: "small letters", key: "vip0015", phone: "13912340015" }
        ]
    }
    function test_member_card_number_finds_its_member(row) {
        search(row.key + "-/ ")
        compare(findChild(screen, "searchField").text, row.key)
        tryVerify(function () { return contentOf(screen) !== null }, 5000)
        compare(contentOf(screen).panel.phone, row.phone)
        compare(boxes.length, 0)
    }

    function test_member_card_on_the_reader_finds_its_member() {
        verify(TestSupport.writeFile("card.txt", "mifare_serial=0A0B0C0D\nmifare_block4_text=e004010000000002\nmifare_key=BRNV01\n"))
        mouseClick(findChild(screen, "cardModeButton"))
        verify(findChild(screen, "cardPrompt").visible)
        tryVerify(function () { return contentOf(screen) !== null }, 5000)
        compare(contentOf(screen).panel.phone, "13912340002")
        compare(contentOf(screen).panel.isBinding, "1")
    }

    // --- The order form -----------------------------------------------------------------

    function test_panel_and_loading_chain() {
        var content = openContent("13912340003")
        var panel = content.panel
        compare(panel.name !== "", true)
        compare(findChild(panel, "customerBalance").text.indexOf("¥ "), 0)
        compare(findChild(panel, "couponCount").text, panel.couponCnt + " 张")
        verify(content.slots.length > 0)
        compare(content.header.takeTimeStart, content.slots[0].timeStart)
        compare(content.addresses.length, 2)
        compare(content.header.takeAddrId, String(content.addresses[0].id))
        compare(content.header.sendAddrId, content.header.takeAddrId)
        verify(!findChild(content, "loadingShade").visible)
        shot(content, "placeordercontent")
    }

    // Demo member 3's RFID card is bound: the panel shows the member card number, which the
    // ticket prints too; the card window shows the RFID card's own number.
    function test_member_card_number_and_rfid_card() {
        var content = openContent("13912340003")
        var card = findChild(content.panel, "cardNumber")
        compare(card.text, "VIP0003")
        mouseClick(card)
        var cardWindow = findChild(content, "memberCardWindow")
        tryCompare(cardWindow, "visible", true)
        compare(findChild(cardWindow, "rfidCardNumber").text, "RFID卡号: e004010000000003")
        cardWindow.close()
    }

    // The form's loading chain gets no answer: the worker is told, the shade goes from "返回",
    // and confirming the box loads the form again.
    function test_failed_opening_leaves_the_way_back() {
        var content = openContent("13912340009")
        var backend = content.conversation.backend
        content.conversation.open(content.userId())
        verify(content.loading)
        var out = Object.keys(backend.calls)
        compare(out.length, 2)
        out.forEach(function (id) { backend.finish(Number(id), "Operation canceled", true) })
        compare(boxes, [["错误提示", "无法连接服务器，请检查网络后重试"]])
        verify(!content.loading)
        verify(!findChild(content, "loadingShade").visible)
        content.followUp.confirm()
        tryCompare(content, "loading", false, 5000)
        compare(content.addresses.length, reference.data("userAddress/list", { userId: "9" }).data.length)
        mouseClick(findChild(content, "backButton"))
        tryVerify(function () { return contentOf(screen) === null }, 5000)
    }

    function test_take_1_send_2_body() {
        var content = openContent("13912340005")
        mouseClick(findChild(content, "sendMode2"))
        compare(content.header.takeMode, 1)
        compare(content.header.sendMode, 2)
        verify(findChild(content, "sendDateButton").visible)
        verify(!findChild(content, "takeDateButton").visible)
        mouseClick(findChild(content, "submitOrder"))
        tryCompare(createdSpy, "count", 1, 5000)
        var q = query(lastSent("orderInfo/add"))
        compare(q.sendDate, content.header.sendDate)
        compare(q.takeDate, undefined)
        compare(q.takeTimeStart, undefined)
        compare(q.takeTimeEnd, undefined)
        // An empty management note and an empty mark.
        compare(q.remark, "")
        compare(q.remarkJson, undefined)
        compare(q.tag, undefined)
        compare(q.takeMode, "1")
        compare(q.sendMode, "2")
        compare(q.priority, "0")
    }

    function test_submitted_order_exists_with_its_header() {
        var content = openContent("13912340006")
        mouseClick(findChild(content, "takeMode2"))
        compare(content.header.sendMode, 2)
        content.header.mark = "企业客户"
        content.header.remark = "袖口有污渍"
        content.header.userRemark = "轻洗"
        content.header.pieces = "3"
        mouseClick(findChild(content, "submitOrder"))
        tryCompare(createdSpy, "count", 1, 5000)
        var q = query(lastSent("orderInfo/add"))
        compare(q.takeDate, content.header.takeDate)
        compare(q.takeTimeStart, content.header.takeTimeStart)
        compare(q.tag, "企业客户")
        verify(q.remarkJson.indexOf("袖口有污渍") >= 0)
        var number = createdSpy.signalArguments[0][0]
        var handOff = createdSpy.signalArguments[0][1]
        verify(/^\d{12}$/.test(number), number)
        compare(handOff.orderNumber, number)
        compare(handOff.clothNum1, "3")
        compare(handOff.user_info_phone, "13912340006")
        compare(handOff.user_card_cardNumber, "VIP0006")
        compare(handOff.priority, "0")
        verify(/^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d$/.test(handOff.creatOrderTime))
        // The backend knows the order, and it belongs to this customer.
        var record = null
        content.conversation.backend.call("check", "userInfo/queryByKey", { key: number }, function (reply) {
            record = content.conversation.backend.request.josnData(reply)
        })
        tryVerify(function () { return record !== null }, 5000)
        compare(content.conversation.backend.request.getMemberInfo(record, "info", "phone", "", 0), "13912340006")
    }

    // A refusal is final: confirming the box sends nothing, and the corrected form is a new
    // request.
    function test_refused_order_is_not_sent_again() {
        var content = openContent("13912340020") // no addresses: take mode 2 is refused
        mouseClick(findChild(content, "takeMode2"))
        mouseClick(findChild(content, "submitOrder"))
        tryCompare(testCase.boxes, "length", 1, 5000)
        compare(boxes[0][0], "错误提示")
        var first = lastSent("orderInfo/add")
        compare(query(first).takeAddrId, "")
        var before = sentSpy.count
        content.followUp.confirm()
        wait(50)
        compare(sentSpy.count, before)
        mouseClick(findChild(content, "takeMode1"))
        mouseClick(findChild(content, "submitOrder"))
        tryCompare(createdSpy, "count", 1, 5000)
        verify(lastSent("orderInfo/add") !== first)
    }

    // The backend made the order but its answer never reached the form: the worker's retry
    // sends the very same request, and the backend's kept answer names the one order made.
    function test_lost_reply_retry_leaves_one_order() {
        var content = openContent("13912340007")
        var before = ordersOf(content.userId())
        content.submitOrder()
        var out = Object.keys(content.conversation.backend.calls)
        compare(out.length, 1)
        var first = lastSent("orderInfo/add")
        content.conversation.backend.finish(Number(out[0]), "Operation canceled", true)
        compare(boxes, [["错误提示", "无法连接服务器，请检查网络后重试"]])
        tryVerify(function () { return ordersOf(content.userId()).length === before.length + 1 }, 5000)
        content.followUp.confirm()
        tryCompare(createdSpy, "count", 1, 5000)
        compare(lastSent("orderInfo/add"), first)
        // The two attempts made one order, the one the form was told of.
        var after = ordersOf(content.userId())
        compare(after.length, before.length + 1)
        compare(after[0].orderNo, createdSpy.signalArguments[0][0])
    }

    // The dates read as a Chinese store expects, whatever the machine's locale.
    function test_dates_show_chinese_weekdays() {
        var content = openContent("13912340009")
        content.header.setTakeDate("2026-12-10")
        compare(findChild(content, "takeDateButton").text, "12-10 周四")
    }

    function test_pieces_counter_bounds() {
        var content = openContent("13912340008")
        var field = findChild(content, "piecesField")
        mouseClick(findChild(content, "piecesMinus"))
        compare(field.text, "0")
        mouseClick(findChild(content, "piecesMinus"))
        compare(field.text, "0")
        field.text = "9999"
        mouseClick(findChild(content, "piecesPlus"))
        compare(field.text, "10000")
        mouseClick(findChild(content, "piecesPlus"))
        compare(field.text, "10000")
        field.text = ""
        field.forceActiveFocus()
        "10001".split("").forEach(function (c) { keyClick(c) })
        compare(field.text, "1000")
    }

    function test_new_default_address_comes_first_and_fills_both_rows() {
        var content = openContent("13912340014") // one address, the default
        compare(content.addresses.length, 1)
        var form = findChild(content, "addressForm")
        mapSpy.target = form.request
        form.contactName = content.panel.name
        form.contactPhone = content.panel.phone
        form.start()
        tryVerify(function () { return form.visible }, 5000)
        compare(form.city, "上海市")
        tryVerify(function () { return form.mapUrl !== "" }, 5000)
        findChild(form, "keywordField").text = "上海"
        mapSpy.clear()
        form.search()
        tryCompare(mapSpy, "count", 1, 5000)
        verify(form.request.getListNum(mapSpy.signalArguments[0][0], "tips", "") > 5)
        compare(form.tips.length, 5)
        verify(form.mapUrl.indexOf("large,,5:") > 0)
        mapSpy.clear()
        form.chooseTip(0)
        tryCompare(mapSpy, "count", 1, 5000)
        verify(/^\d{6}$/.test(form.regionalId), form.regionalId)
        findChild(form, "houseField").text = "8号楼808室"
        shot(content, "addressform")
        form.save("1")
        tryVerify(function () { return content.addresses.length === 2 && !form.visible }, 5000)
        compare(content.addresses[0].detail.indexOf("8号楼808室") > 0, true)
        compare(content.header.takeAddrId, String(content.addresses[0].id))
        compare(content.header.sendAddrId, String(content.addresses[0].id))
        compare(content.header.takeAddrLines[1].indexOf("8号楼808室") > 0, true)
    }

    function test_one_backend_group_lists_only_the_default() {
        var content = openContent("13912340010")
        var window = findChild(content, "groupWindow")
        content.showGroups("{\"httpCode\":200,\"data\":[{\"id\":1,\"name\":\"散客\"}]}", false)
        compare(window.choices.map(function (g) { return g.name }), ["默认分组"])
        findChild(content.panel, "groupName").clicked()
        tryVerify(function () { return window.visible && window.choices.length === 5 }, 5000)
        compare(window.choices[0].name, "默认分组")
        compare(window.title, "分组")
    }

    function test_tag_window_sends_the_tag_text() {
        var content = openContent("13912340011")
        findChild(content.panel, "tagsText").clicked()
        var window = findChild(content, "tagWindow")
        verify(window.visible)
        tryVerify(function () { return window.allTags.length >= 6 }, 5000)
        window.customerTags = [{ id: String(window.allTags[0].id), name: window.allTags[0].name }]
        findChild(window, "newTagField").text = "爱干净"
        window.addTyped()
        shot(content, "tagwindow")
        findChild(window, "tagConfirm").clicked()
        tryVerify(function () { return content.customerTags.length === 2 && content.conversation.backend.pending === 0 }, 5000)
        verify(!window.visible)
        compare(query(lastSent("userInfo/updateTag")).tags,
                "[{\"id\":\"" + window.allTags[0].id + "\", \"name\":\"" + window.allTags[0].name
                + "\"},{\"id\":\"\", \"name\":\"爱干净\"}]")
        compare(content.customerTags[1].name, "爱干净")
    }

    // --- The screen on top owns the keyboard, and each reply its handler ------------------

    function placeOrderContents() {
        var n = 0
        for (var i = 0; i < screen.children.length; ++i)
            if (screen.children[i].objectName === "PlaceOrderContent")
                ++n
        return n
    }

    function test_order_form_keeps_keys_from_the_covered_search() {
        var content = openContent("13912340002")
        var field = findChild(screen, "searchField")
        verify(!field.activeFocus)
        // A scanned code ends in Enter: neither the digits nor the Enter reach the search.
        "6901234".split("").forEach(function (c) { keyClick(c) })
        keyClick(Qt.Key_Return)
        wait(300)
        compare(placeOrderContents(), 1)
        compare(field.text, "13912340002")
        compare(screen.searchKey, "13912340002")

        // Closed, the form gives the keyboard and Enter back to the search.
        mouseClick(findChild(content, "backButton"))
        tryVerify(function () { return placeOrderContents() === 0 }, 5000)
        compare(Session.enterFlag, "PlaceOrder")
        verify(field.activeFocus)
    }

    function test_new_address_keeps_the_choices_made() {
        var content = openContent("13912340012") // two addresses, the first the default
        compare(content.addresses.length, 2)
        var other = content.addresses[1]
        content.header.setAddress(other)
        if (content.slots.length > 1) {
            content.header.takeTimeStart = content.slots[1].timeStart
            content.header.takeTimeEnd = content.slots[1].timeEnd
        }
        var slot = [content.header.takeTimeStart, content.header.takeTimeEnd]
        content.saveAddress({ name: "王五", sex: "1", phone: "13912340012", regionalId: "310104",
                              regionalDesc: "上海市徐汇区", detail: "漕溪北路1号", latitude: "31.19",
                              def: "0", longitude: "121.43" })
        tryVerify(function () { return content.addresses.length === 3 }, 5000)
        compare(content.header.takeAddrId, String(other.id))
        compare(content.header.sendAddrId, String(other.id))
        compare([content.header.takeTimeStart, content.header.takeTimeEnd], slot)
        compare(content.conversation.backend.pending, 0)
    }

    // The coupon window, opened while the customer's tags are still being fetched, shows
    // the coupons; the tags still arrive; the count stays the backend's.
    function test_coupons_clicked_while_tags_load() {
        var content = openContent("13912340013")
        var count = content.panel.couponCnt
        content.loadTags()
        verify(content.conversation.backend.busy("UserTag"))
        findChild(content.panel, "couponCount").clicked()
        var window = findChild(content, "couponWindow")
        tryVerify(function () { return window.visible }, 5000)
        verify(window.coupons.length > 0)
        var shown = window.coupons.length
        tryCompare(content.conversation.backend, "pending", 0, 5000)
        compare(window.coupons.length, shown) // the tags' reply did not land in the window
        verify(window.visible)
        compare(content.panel.couponCnt, count)
    }

    // The loading shade lifts once the panel has all it shows: the first look at the panel
    // has the customer's tags, never "添加标签" in their place.
    function test_shade_lifts_with_the_tags_shown() {
        var userId = String(reference.data("userInfo/queryByKey", { key: "13912340003" }).data.user.info.id)
        var tags = reference.data("userTag/list", { userId: userId }).data.list
        verify(tags.length > 0)
        var expected = tags.map(function (t) { return t.name }).join(" | ")
        var shownWhenLifted = []
        function watch() {
            var content = contentOf(screen)
            var tagsText = findChild(content.panel, "tagsText")
            var shade = findChild(content, "loadingShade")
            verify(shade.visible)
            shade.visibleChanged.connect(function () {
                if (!shade.visible)
                    shownWhenLifted.push(tagsText.text)
            })
        }
        screen.customerFound.connect(watch)
        search("13912340003")
        tryVerify(function () { return shownWhenLifted.length === 1 }, 5000)
        compare(shownWhenLifted[0], expected)
        settle(contentOf(screen).conversation)
        screen.customerFound.disconnect(watch)
    }

    // A refused load is told once; confirming the box asks again for what is still
    // missing, and only for that.
    function test_refused_load_is_told_and_asked_again() {
        var record = reference.data("userInfo/queryByKey", { key: "13912340003" }).data
        routed.start()
        routes = {
            "userAddress/list": [refused(500, "地址服务忙"), ok([])],
            "serviceTime/list": ok({ list: [{ timeStart: "08:00", timeEnd: "10:00" }] }),
            "userTag/list": ok({ list: [{ id: 1, name: "常客" }] })
        }
        var content = createTemporaryObject(Qt.createComponent("qrc:/PlaceOrderContent.qml"), host,
                                            { userData: JSON.stringify(record), searchKey: "13912340003" })
        content.messageBox = boxRecorder
        tryVerify(function () { return boxes.length === 1 && content.conversation.backend.pending === 0 }, 5000)
        compare(boxes[0], ["错误提示", "地址服务忙"])
        compare(findChild(content.panel, "tagsText").text, "常客")

        content.followUp.confirm()
        tryVerify(function () { return sentTo("userAddress/list").length === 2 }, 5000)
        settle(content.conversation)
        verify(!findChild(content, "loadingShade").visible)
        compare(sentTo("serviceTime/list").length, 1)
        compare(sentTo("userTag/list").length, 1)
        compare(content.header.takeTimeStart, "08:00")
        compare(boxes.length, 1)
    }
}
