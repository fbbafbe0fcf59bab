import QtQuick 2.15
import QtTest 1.2
import Brenvo 1.0
import BrenvoTest 1.0
import "qrc:/"
import "../common"

// Arrival from the factory against the reference backend and its factory stand-in: a bag of
// three garments of three orders goes to the factory and comes back in a batch, then is
// confirmed in the three ways, the backend's garment states read after each step. The mode
// across a restart, codes that are not waiting, a confirmation whose answer was lost.
ScreenTestCase {
    id: testCase
    name: "BatchArrivalStore"
    needsSignIn: true
    confirmsBoxes: false

    readonly property string modeFile: "setting/asMode.ini"

    SignalSpy { id: sentSpy; signalName: "reqParamsReturn" }

    function init() {
        TestSupport.writeFile(modeFile, "")
    }

    function open() {
        screen = Qt.createComponent("qrc:/BatchArrivalStore.qml").createObject(host, {})
        verify(screen !== null)
        screen.messageBox = boxRecorder
        sentSpy.target = screen.conversation.backend.request
        return screen
    }

    function sent(path) {
        var all = []
        for (var i = 0; i < sentSpy.count; ++i) {
            var url = sentSpy.signalArguments[i][0]
            if (url.indexOf("/mac/" + path + "?") >= 0)
                all.push(query(url))
        }
        return all
    }

    function scanInto(field, code) {
        field.focusField()
        type(code)
        keyClick(Qt.Key_Return)
        compare(field.field.text, "")
        settle(screen.conversation)
    }

    // The codes of arrival rows, or of garments made by reference.waitingGarment.
    function codes(rows) {
        return rows.map(function (r) { return r.scanCode !== undefined ? r.scanCode : r.code })
    }

    // Garments of three orders in a completed bag that the factory sent back: the garments
    // and the batch's code.
    function returnedBatch() {
        var garments = [reference.waitingGarment(3, 1500), reference.waitingGarment(4, 2500), reference.waitingGarment(5, 3500)]
        var bag = reference.bagOf(garments)
        var back = reference.factory("return", bag.code)
        compare(back.status, 200)
        garments.forEach(function (g) { compare(reference.garmentStatus(g.code), "已出厂") })
        return { garments: garments, code: back.body.batchCode }
    }

    function statuses(garments) {
        return garments.map(function (g) { return reference.garmentStatus(g.code) })
    }

    // The walk: the batch scanned in mode 0 and one garment of it confirmed; the second
    // garment's order in mode 1, confirmed whole; the third garment alone in mode 2.
    function test_three_ways_of_arrival() {
        var batch = returnedBatch()
        var g = batch.garments
        open()
        compare(screen.asMode, 0)
        compare(screen.firstField.placeholderText, "批次号")

        scanInto(screen.firstField, batch.code)
        compare(codes(screen.conversation.pending), codes(g))
        compare(screen.conversation.confirmed, [])
        compare(findChild(screen, "factoryName").text.indexOf("工厂："), 0)
        verify(findChild(screen, "factoryName").text.length > 3)
        compare(findChild(screen, "operatorName").text, "操作人：" + Session.workername)
        verify(findChild(screen, "confirmAllButton").visible)
        tryVerify(function () { return screen.garmentField.field.activeFocus }, 5000)
        scanInto(screen.garmentField, g[0].code)
        compare(codes(screen.conversation.confirmed), [g[0].code])
        compare(codes(screen.conversation.pending), [g[1].code, g[2].code])
        compare(statuses(g), ["已到店", "已出厂", "已出厂"])
        compare(sent("orderProductBatchOutRel/confirmStore")[0].id, g[0].id)
        shot("batcharrival-batch")

        click(findChild(screen, "mode_1"))
        compare(TestSupport.readFile(modeFile).trim(), "1")
        compare(screen.conversation.pending, [])
        compare(screen.firstField.placeholderText, "订单号")
        scanInto(screen.firstField, g[1].orderNo)
        compare(codes(screen.conversation.pending), [g[1].code])
        compare(findChild(screen, "operatorName").text, "操作人：" + Session.workername)
        click("confirmAllButton")
        settle(screen.conversation)
        var confirmAll = sent("orderProductRel/factoryOut/confirmStore")
        compare([confirmAll[0].orderId, confirmAll[0].id], [g[1].orderId, undefined])
        compare(codes(screen.conversation.confirmed), [g[1].code])
        compare(screen.conversation.pending, [])
        verify(!findChild(screen, "confirmAllButton").visible)
        compare(statuses(g), ["已到店", "已到店", "已出厂"])

        click(findChild(screen, "mode_2"))
        verify(!screen.garmentField.visible)
        scanInto(screen.firstField, g[2].code)
        compare(codes(screen.conversation.confirmed), [g[2].code])
        compare(statuses(g), ["已到店", "已到店", "已到店"])
        compare(findChild(findChild(screen, "confirmedPanel"), "panelTitle").text, "已确认到店衣物  1 件")
        shot("batcharrival-garment")
        compare(boxes, [])
    }

    // A garment code that is not waiting to be confirmed sends nothing, in the batch and the
    // order ways alike; the field is empty again and the worker reads why.
    function test_code_not_pending_sends_nothing_data() {
        return [{ tag: "batch", mode: 0 }, { tag: "order", mode: 1 }]
    }
    function test_code_not_pending_sends_nothing(row) {
        var batch = returnedBatch()
        var other = reference.waitingGarment(3, 900)
        TestSupport.writeFile(modeFile, String(row.mode))
        open()
        scanInto(screen.firstField, row.mode === 0 ? batch.code : batch.garments[0].orderNo)
        compare(screen.conversation.pending.length, row.mode === 0 ? 3 : 1)
        scanInto(screen.garmentField, other.code)
        compare(sent("orderProductBatchOutRel/confirmStore").length, 0)
        compare(sent("orderProductRel/factoryOut/confirmStore").length, 0)
        compare(findChild(screen, "arrivalNote").text, "衣物条码 " + other.code + " 不在待确认列表中")
        compare(reference.garmentStatus(batch.garments[0].code), "已出厂")
    }

    // The mode chosen is kept in setting/asMode.ini and taken again when the screen opens;
    // a file with anything else in it means batch arrival.
    function test_mode_survives_a_restart_data() {
        return [
            { tag: "by order", click: 1, file: "1", placeholder: "订单号" },
            { tag: "garment by garment", click: 2, file: "2", placeholder: "衣物条码" },
            { tag: "back to batches", click: 0, file: "0", placeholder: "批次号" }
        ]
    }
    function test_mode_survives_a_restart(row) {
        TestSupport.writeFile(modeFile, row.click === 0 ? "2" : "0")
        open()
        click(findChild(screen, "mode_" + row.click))
        compare(TestSupport.readFile(modeFile).trim(), row.file)
        screen.destroy()
        wait(0)
        open()
        compare(screen.asMode, row.click)
        compare(screen.firstField.placeholderText, row.placeholder)
        compare(screen.garmentField.visible, row.click !== 2)
    }

    function test_unreadable_mode_file_means_batches() {
        TestSupport.writeFile(modeFile, "7")
        open()
        compare(screen.asMode, 0)
    }

    // A batch whose garments were all confirmed before shows them all as confirmed, and no
    // "全部确认到店".
    function test_batch_confirmed_before() {
        var batch = returnedBatch()
        batch.garments.forEach(function (g) {
            compare(reference.data("orderProductRel/reachStore/confirm", { scanCode: g.code }).httpCode, 200)
        })
        open()
        scanInto(screen.firstField, batch.code)
        compare(screen.conversation.pending, [])
        compare(codes(screen.conversation.confirmed), codes(batch.garments))
        verify(!findChild(screen, "confirmAllButton").visible)
        compare(findChild(findChild(screen, "pendingPanel"), "panelTitle").text, "出厂批次衣物  0 件")
    }

    // A confirmation whose answer was lost: the worker is told; confirming the box sends the
    // very same request again, which the backend answers once.
    function test_lost_confirmation_is_sent_again_unchanged() {
        var batch = returnedBatch()
        open()
        scanInto(screen.firstField, batch.code)
        var backend = screen.conversation.backend
        screen.garmentField.focusField()
        type(batch.garments[1].code)
        keyClick(Qt.Key_Return)
        var out = Object.keys(backend.calls)
        compare(out.length, 1)
        backend.finish(Number(out[0]), "Operation canceled", true)
        compare(boxes, [["错误提示", "无法连接服务器，请检查网络后重试"]])
        tryVerify(function () { return reference.garmentStatus(batch.garments[1].code) === "已到店" }, 5000)
        screen.followUp.confirm()
        settle(screen.conversation)
        var sentTwice = sent("orderProductBatchOutRel/confirmStore")
        compare(sentTwice.length, 2)
        compare(sentTwice[1], sentTwice[0])
        compare(boxes.length, 1)
        compare(codes(screen.conversation.confirmed), [batch.garments[1].code])
    }
}
