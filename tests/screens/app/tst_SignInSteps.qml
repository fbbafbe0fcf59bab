import QtQuick 2.15
import QtTest 1.2
import "qrc:/signin.js" as SignIn

// The pure steps of the sign-in: the pause between refused handshakes and the handshake's
// request, whose query must carry exactly the body's fields.
TestCase {
    name: "SignInSteps"

    function test_retry_pause_data() {
        return [
            { tag: "first", delay: 1000, max: 30000, next: 2000 },
            { tag: "grows", delay: 8000, max: 30000, next: 16000 },
            { tag: "capped", delay: 16000, max: 30000, next: 30000 },
            { tag: "stays at the cap", delay: 30000, max: 30000, next: 30000 }
        ]
    }
    function test_retry_pause(row) {
        compare(SignIn.nextRetryDelay(row.delay, row.max), row.next)
    }

    function test_handshake_request_data() {
        return [
            { tag: "main window", mac: undefined,
              body: '{"serialNum":"BV2024000001","timestamp":"1700000000000","token":"abc"}',
              query: "client/sign?serialNum=BV2024000001&timestamp=1700000000000&token=abc" },
            { tag: "login screen", mac: "00:1A:2B:3C:4D:5E",
              body: '{"serialNum":"BV2024000001","timestamp":"1700000000000","token":"abc","mac":"00:1A:2B:3C:4D:5E"}',
              query: "client/sign?serialNum=BV2024000001&timestamp=1700000000000&token=abc&mac=00:1A:2B:3C:4D:5E" },
            // A machine without a network address still names the field.
            { tag: "login screen, no address", mac: "",
              body: '{"serialNum":"BV2024000001","timestamp":"1700000000000","token":"abc","mac":""}',
              query: "client/sign?serialNum=BV2024000001&timestamp=1700000000000&token=abc&mac=" }
        ]
    }
    function test_handshake_request(row) {
        var body = SignIn.handshakeBody("BV2024000001", "1700000000000", "abc", row.mac)
        compare(JSON.stringify(body), row.body)
        compare(SignIn.handshakeQuery(body), row.query)
    }
}
