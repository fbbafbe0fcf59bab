import QtQuick 2.15
import QtTest 1.2
import Brenvo 1.0
import "qrc:/menuentries.js" as MenuEntries

TestCase {
    name: "Session"

    // The tests run with TZ=Asia/Shanghai (UTC+8, no daylight saving).
    function test_timerToDate_data() {
        return [
            { tag: "unpadded day and time", ms: Date.UTC(2018, 2, 5, 1, 7, 3), date: "2018/03/5 9:7:3", day: "2018/03/5 " },
            { tag: "two-digit everything", ms: Date.UTC(2019, 10, 23, 15, 45, 59), date: "2019/11/23 23:45:59", day: "2019/11/23 " },
            { tag: "local midnight is the next day", ms: Date.UTC(2020, 11, 31, 16, 0, 0), date: "2021/01/1 0:0:0", day: "2021/01/1 " },
            { tag: "epoch", ms: 0, date: "1970/01/1 8:0:0", day: "1970/01/1 " }
        ]
    }

    function test_timerToDate(row) {
        compare(Session.timerToDate(String(row.ms)), row.date)
        compare(Session.timerToDates(String(row.ms)), row.day)
    }

    function test_empty_timestamp_gives_empty_text() {
        compare(Session.timerToDate(""), "")
        compare(Session.timerToDates(""), "")
    }

    function test_rights_order_data() {
        return [
            { tag: "backend order is kept", rights: ["530", "525"], labels: ["订单管理", "下单"] },
            { tag: "empty list", rights: [], labels: [] },
            { tag: "unknown ids skipped", rights: ["999", "536", "abc", "532"], labels: ["上挂", "设置"] },
            { tag: "numbers as well as texts", rights: [526, "527"], labels: ["取衣", "到店"] }
        ]
    }

    function test_rights_order(row) {
        var labels = MenuEntries.entriesForRights(row.rights).map(function (e) { return e.label })
        compare(labels, row.labels)
    }

    function test_session_starts_signed_out() {
        compare(Session.enterFlag, "MAIN")
        compare(Session.loginFlag, "rfID")
        compare(Session.exeVersion, "V4.0.2")
        compare(Session.workerid, 0)
        verify(Session.accountchange)
        verify(!Session.istackphoto)
    }
}
