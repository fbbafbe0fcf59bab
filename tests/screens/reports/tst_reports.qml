import QtQuick 2.15
import QtTest 1.2
import "qrc:/reports.js" as Reports

// The revenue reports' rules.
TestCase {
    name: "ReportRules"

    function test_reports_in_reading_order() {
        compare(Reports.reports.map(function (r) { return r.tag }),
                ["RevenueSum", "RevenueCnt", "RevenueOrder", "RevenueRecharge", "RevenueTradeOrder", "RevenueTradecharge"])
        compare(Reports.reports[0].path, "revenueSum/queryReport")
        compare(Reports.reports[5].path, "reportTradeRecharge/getReport")
    }

    function test_report_fields_data() {
        return [
            { tag: "daily", type: "1", fields: { storeId: "1", dateType: "1", date: "2019-03-01" } },
            { tag: "monthly", type: "2", fields: { storeId: "1", dateType: "2", date: "2019-03" } },
            { tag: "unknown type reads daily", type: "", fields: { storeId: "1", dateType: "1", date: "2019-03-01" } }
        ]
    }
    function test_report_fields(row) {
        compare(Reports.reportFields(1, row.type, "2019-03-01", "2019-03"), row.fields)
    }
}
