import QtQuick 2.15
import Brenvo 1.0
import "reports.js" as Reports

// The revenue analysis' requests: the six reports of a day or month one after the other, then
// the takings of the days (months) up to it. Each reply fills its block at once; a report that
// fails stops the chain there (the blocks still to come keep what they showed) and is told.
Item {
    id: talk
    visible: false

    property var messageBox: null
    // While a chain of reports is on its way.
    property bool loading: false
    // What the reports said, as the blocks show them.
    property var summary: Reports.summary("")
    property var counts: Reports.figures("", Reports.countLines)
    property var orderMoney: Reports.figures("", Reports.orderLines)
    property var rechargeMoney: Reports.figures("", Reports.rechargeLines)
    property var orderPayments: Reports.breakdown([0, 0, 0, 0, 0, 0], Reports.orderMeans)
    property var rechargePayments: Reports.breakdown([0, 0, 0, 0, 0, 0], Reports.rechargeMeans)
    property var trend: []
    // The chain under way: the replies of one given up (a newer load) are not shown.
    property int chain: 0

    readonly property alias backend: backend

    // The last reply of a chain was shown.
    signal loaded()
    // A report failed: what the worker is told.
    signal failed(string text)

    // The reports of `fields` (Reports.reportFields) read anew.
    function load(fields) {
        chain += 1
        loading = true
        ask(chain, 0, fields)
    }

    // The day or month next to `date` ("+D", "-D", "+M", "-M").
    function stepped(date, operation) {
        return backend.request.timeOperation(date, operation)
    }

    function ask(run, index, fields) {
        var steps = Reports.reports.concat([Reports.trend])
        var report = steps[index]
        backend.call(report.tag, report.path, fields, function (reply) {
            if (run !== talk.chain)
                return
            talk.fill(report.tag, reply)
            if (index + 1 < steps.length) {
                talk.ask(run, index + 1, fields)
            } else {
                talk.loading = false
                talk.loaded()
            }
        }, function (reply, unreachable) {
            if (run !== talk.chain)
                return
            console.log(Logs.reports, "RevenueAnalysis: " + report.path + " failed: " + reply)
            talk.loading = false
            talk.failed(backend.failureText(unreachable))
        })
    }

    function fill(tag, reply) {
        switch (tag) {
        case "RevenueSum":
            summary = Reports.summary(reply)
            break
        case "RevenueCnt":
            counts = Reports.figures(reply, Reports.countLines)
            break
        case "RevenueOrder":
            orderMoney = Reports.figures(reply, Reports.orderLines)
            break
        case "RevenueRecharge":
            rechargeMoney = Reports.figures(reply, Reports.rechargeLines)
            break
        case "RevenueTradeOrder":
            orderPayments = Reports.breakdown(Reports.positions(reply), Reports.orderMeans)
            break
        case "RevenueTradecharge":
            rechargePayments = Reports.breakdown(Reports.positions(reply), Reports.rechargeMeans)
            break
        default:
            trend = Reports.trendOf(reply)
        }
    }

    BackendRequest {
        id: backend
        objectName: "revenueBackend"
        messageBox: talk.messageBox
    }
}
