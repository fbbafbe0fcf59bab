import QtQuick 2.15
import QtTest 1.2
import "qrc:/requests.js" as Requests

// How a call's answer is read: a reply, an expired session, a refusal, or no usable answer.
TestCase {
    name: "RequestOutcome"

    function test_outcome_data() {
        return [
            { tag: "200", failed: false, code: "200", outcome: "ok" },
            { tag: "401", failed: false, code: "401", outcome: "expired" },
            { tag: "refused", failed: false, code: "409", outcome: "refused" },
            { tag: "envelope without a code", failed: false, code: "0", outcome: "refused" },
            { tag: "network error", failed: true, code: "Connection refused", outcome: "unreachable" },
            { tag: "time limit", failed: true, code: "Operation canceled", outcome: "unreachable" },
            { tag: "not JSON", failed: false, code: "<html>502</html>", outcome: "unreachable" },
            { tag: "cut-off JSON", failed: false, code: "{\"httpCode\":200,\"da", outcome: "unreachable" },
            { tag: "empty answer", failed: false, code: "", outcome: "unreachable" }
        ]
    }
    function test_outcome(row) {
        compare(Requests.outcome(row.failed, row.code), row.outcome)
    }
}
