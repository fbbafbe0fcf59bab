import QtQuick 2.15
import QtTest 1.2
import Brenvo 1.0
import BrenvoTest 1.0
import "qrc:/"

// The screens' request piece against a backend that holds, refuses and garbles answers:
// every reply reaches the handler of its own call, and every failure is told once.
//
// The fake backend is started through RoutedFake but driven by hand: the piece is tested
// against each way a backend fails (FakeBackend's modes) and against answers given in an
// order the test chooses, which answering by path would hide.
ScreenTestCase {
    id: testCase
    name: "BackendRequest"

    Component { id: requestComponent; BackendRequest {} }
    Component { id: followUpComponent; FollowUpBox {} }

    property var backend: null

    function init() {
        routed.start()
        TestSupport.setEnv("BRENVO_REQUEST_TIMEOUT_MS", "1500")
        backend = createTemporaryObject(requestComponent, testCase)
    }

    function envelope(code, msg) {
        return JSON.stringify({ httpCode: code, msg: msg, data: {} })
    }

    function test_each_reply_reaches_its_own_handler_data() {
        return [
            { tag: "later call answered first", order: [1, 0] },
            { tag: "answered in order", order: [0, 1] }
        ]
    }
    function test_each_reply_reaches_its_own_handler(row) {
        fake.setMode("hold")
        var got = []
        backend.call("UserTag", "userTag/list", { userId: "7" }, function (reply) {
            got.push(["UserTag", Session.msg, backend.request.josnMsg(reply)])
        })
        backend.call("CouponInfo", "couponInfo/userList", { userId: "7" }, function (reply) {
            got.push(["CouponInfo", Session.msg, backend.request.josnMsg(reply)])
        })
        compare(Session.whoPost, "CouponInfo")
        compare(backend.pending, 2)
        tryVerify(function () { return fake.requestCount() === 2 }, 5000)
        var tags = fake.indexOf("userTag/list")
        var names = [tags === 0 ? "UserTag" : "CouponInfo", tags === 0 ? "CouponInfo" : "UserTag"]
        for (var i = 0; i < row.order.length; ++i) {
            fake.answerHeld(row.order[i], envelope(200, names[row.order[i]]))
            tryVerify(function () { return got.length === i + 1 }, 5000)
        }
        for (var k = 0; k < 2; ++k) {
            var expected = names[row.order[k]]
            compare(got[k], [expected, expected, expected])
        }
        compare(backend.pending, 0)
        verify(!backend.busy("UserTag"))
        compare(TestSupport.boxes().length, 0)
    }

    function test_busy_names_the_calls_out() {
        fake.setMode("hold")
        backend.call("createOrder", "orderInfo/add", {}, function () {})
        verify(backend.busy("createOrder"))
        verify(!backend.busy("UserTag"))
        tryVerify(function () { return fake.requestCount() === 1 }, 5000)
        fake.answerHeld(0, envelope(200, "ok"))
        tryVerify(function () { return !backend.busy("createOrder") }, 5000)
    }

    // Backend down, a server that accepts and never answers, a proxy's error page, cut-off
    // JSON: within the time limit the call's handler hears it, or the worker sees the box.
    function test_no_usable_answer_data() {
        return [
            { tag: "backend down", mode: "down" },
            { tag: "accepts and never answers", mode: "hold" },
            { tag: "HTML 502 page", mode: "html502" },
            { tag: "truncated JSON", mode: "truncated" }
        ]
    }
    function test_no_usable_answer(row) {
        fake.setMode(row.mode)
        var heard = null
        backend.call("OrderList", "orderInfo/list", {}, function () { heard = "reply" },
                     function (reply, unreachable) { heard = unreachable })
        backend.call("MenuControl", "wkMenu/queryAllByWorkId", {}, function () {
            fail("a failed call has no reply")
        })
        tryVerify(function () { return backend.pending === 0 }, 10000)
        compare(heard, true)
        compare(TestSupport.boxes(), [["error", "错误提示", "无法连接服务器，请检查网络后重试"]])
    }

    function test_refusal_goes_to_the_handler_or_the_log() {
        fake.reply = envelope(500, "订单不存在")
        fake.setMode("answer")
        var heard = null
        backend.call("OrderInfo", "orderInfo/detail", {}, function () { heard = "reply" },
                     function (reply, unreachable) { heard = [Session.httpCode, Session.msg, unreachable] })
        backend.call("Other", "orderInfo/detail", {}, function () { fail("refused") })
        tryVerify(function () { return backend.pending === 0 }, 5000)
        compare(heard, ["500", "订单不存在", false])
        compare(TestSupport.boxes().length, 0)
    }

    function test_expired_session_shows_the_time_out_dialog() {
        fake.reply = envelope(401, "登录已失效")
        fake.setMode("answer")
        var heard = false
        backend.call("OrderInfo", "orderInfo/detail", {}, function () { heard = true },
                     function () { heard = true })
        tryVerify(function () { return backend.pending === 0 }, 5000)
        verify(!heard, "no handler runs for an expired session")
        var dialog = findChild(backend, "sessionTimeout")
        verify(dialog !== null)
        compare(dialog.title, "登录超时")
        compare(dialog.text, "您长时间没有操作，请重新登录")
        tryCompare(dialog, "visible", true)
    }

    // --- Writes: a write whose outcome is not known goes again as the very same request ------

    function writeOnce(fields, heard) {
        return backend.write("FinishOrder", "stockIn/add", fields, function (reply) {
            heard.push("reply")
        }, function (reply, unreachable) {
            heard.push(unreachable ? "unreachable" : Session.httpCode)
        })
    }

    // No answer, a 5xx: the retry sends the same address and body (same timestamp and sign);
    // a definite answer releases the write, so the next one is a new request.
    function test_write_unknown_outcome_is_sent_again_unchanged_data() {
        return [
            { tag: "no answer", code: 0 },
            { tag: "service fault", code: 502 }
        ]
    }
    function test_write_unknown_outcome_is_sent_again_unchanged(row) {
        var heard = []
        var fields = { orderId: "12", productId: "7" }
        fake.reply = envelope(row.code, "网关错误")
        fake.setMode(row.code === 0 ? "hold" : "answer")
        verify(writeOnce(fields, heard) !== 0)
        tryVerify(function () { return heard.length === 1 }, 10000)
        compare(heard[0], row.code === 0 ? "unreachable" : String(row.code))
        verify(backend.held("stockIn/add", { productId: "7", orderId: "12" }), "held, whatever the key order")

        // The worker retries from the screen opened again.
        backend = createTemporaryObject(requestComponent, testCase)
        fake.setMode("hold")
        wait(2)
        verify(writeOnce(fields, heard) !== 0)
        compare(writeOnce(fields, heard), 0, "not sent twice while out")
        tryVerify(function () { return fake.requestCount() === 2 }, 5000)
        compare(fake.requestTarget(1), fake.requestTarget(0))
        compare(fake.requestBody(1), fake.requestBody(0))
        fake.answerHeld(1, envelope(200, "ok"))
        tryVerify(function () { return heard.length === 2 }, 5000)
        compare(heard[1], "reply")
        verify(!backend.held("stockIn/add", fields))

        verify(writeOnce(fields, heard) !== 0)
        tryVerify(function () { return fake.requestCount() === 3 }, 5000)
        verify(fake.requestTarget(2) !== fake.requestTarget(0), "a new write is a new request")
    }

    // The write's failure handler hears whether sending it again sends the very same request.
    function test_write_failure_tells_whether_it_is_held_data() {
        return [
            { tag: "no answer", mode: "hold", code: 0, held: true },
            { tag: "service fault", mode: "answer", code: 503, held: true },
            { tag: "refused", mode: "answer", code: 409, held: false }
        ]
    }
    function test_write_failure_tells_whether_it_is_held(row) {
        fake.reply = envelope(row.code, "x")
        fake.setMode(row.mode)
        var heard = null
        backend.write("FinishOrder", "stockIn/delete", { id: "5" }, function () { heard = "reply" },
                      function (reply, unreachable, held) { heard = held })
        tryVerify(function () { return heard !== null }, 10000)
        compare(heard, row.held)
        compare(backend.held("stockIn/delete", { id: "5" }), row.held)
    }

    // The worker is told of an unknown outcome; confirming sends the very same request. A
    // refusal goes to its handler, without a box.
    function test_write_with_retry() {
        var followUp = createTemporaryObject(followUpComponent, testCase)
        var heard = []
        fake.setMode("hold")
        backend.writeWithRetry(followUp, "DeleteCloth", "stockIn/delete", { id: "8" },
                               function () { heard.push("reply") }, function (text) { heard.push(text) })
        tryVerify(function () { return fake.requestCount() === 2 }, 10000)
        compare(TestSupport.boxes(), [["error", "错误提示", "无法连接服务器，请检查网络后重试"]])
        compare(fake.requestTarget(1), fake.requestTarget(0))
        compare(fake.requestBody(1), fake.requestBody(0))
        fake.answerHeld(1, envelope(200, "ok"))
        tryVerify(function () { return heard.length === 1 }, 5000)
        compare(heard, ["reply"])

        fake.reply = envelope(409, "衣物已入袋，不能删除")
        fake.setMode("answer")
        backend.writeWithRetry(followUp, "DeleteCloth", "stockIn/delete", { id: "8" },
                               function () { heard.push("reply") }, function (text) { heard.push(text) })
        tryVerify(function () { return heard.length === 2 }, 5000)
        compare(heard[1], "衣物已入袋，不能删除")
        compare(TestSupport.boxes().length, 1)
    }

    function test_write_refusal_releases_it() {
        fake.reply = envelope(409, "余额已变化")
        fake.setMode("answer")
        var heard = []
        writeOnce({ orderId: "3" }, heard)
        tryVerify(function () { return heard.length === 1 }, 5000)
        compare(heard, ["409"])
        verify(!backend.held("stockIn/add", { orderId: "3" }))
    }

    // The first sending never reached the backend and the retry comes after the time window:
    // the backend, which answers a repeat it knows first, calls it too old, so the write goes
    // as a new request and the handler hears that one's answer.
    function test_stale_repeat_goes_as_a_new_request() {
        var heard = []
        fake.setMode("hold")
        writeOnce({ orderId: "4" }, heard)
        tryVerify(function () { return heard.length === 1 }, 10000)
        compare(heard, ["unreachable"])

        wait(2)
        writeOnce({ orderId: "4" }, heard)
        tryVerify(function () { return fake.requestCount() === 2 }, 5000)
        fake.answerHeld(1, envelope(403, "请求时间戳已过期，请校准终端时间"))
        tryVerify(function () { return fake.requestCount() === 3 }, 5000)
        verify(fake.requestTarget(2) !== fake.requestTarget(1))
        compare(heard, ["unreachable"], "the stale answer is not the write's")
        fake.answerHeld(2, envelope(200, "ok"))
        tryVerify(function () { return heard.length === 2 }, 5000)
        compare(heard[1], "reply")
    }
}
