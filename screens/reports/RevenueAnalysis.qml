import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "reports.js" as Reports

// "营收分析": the store's takings of a day ("日报表", today at opening) or a month ("月报表"):
// the summary by means, the counts, the order money and the stored value, the order and
// stored-value payments by means with a ring of their shares, and under them the takings of
// the 30 days (12 months) up to the one shown. The reports are read one after the other behind
// the shade; a report that fails lifts the shade and is told.
ScreenPage {
    id: page
    objectName: "RevenueAnalysis"

    // "1" daily, "2" monthly; the day ("yyyy-MM-dd") and the month ("yyyy-MM") shown.
    property string dateTypes: Reports.daily
    property string day: Reports.dayOf(new Date())
    property string month: Reports.monthOf(day)
    property var messageBox: followUp.box
    readonly property bool daily: dateTypes !== Reports.monthly
    readonly property alias loading: talk.loading
    readonly property alias conversation: talk
    readonly property alias followUp: followUp

    Component.onCompleted: reload()

    function reload() {
        talk.load(Reports.reportFields(Session.storeId, dateTypes, day, month))
    }

    function chooseType(type) {
        dateTypes = type
        reload()
    }

    // "前一天"/"后一天" or "上一月"/"下一月": `forward` or back by one.
    function step(forward) {
        if (daily)
            day = talk.stepped(day, forward ? "+D" : "-D") || day
        else
            month = talk.stepped(month, forward ? "+M" : "-M") || month
        reload()
    }

    // A day picked on the calendar, or a bar of the trend: "yyyy-MM-dd" (a month's first 7
    // characters).
    function pick(date) {
        if (daily)
            day = String(date).substring(0, 10)
        else
            month = Reports.monthOf(date)
        reload()
    }

    function openCalendar() {
        calendar.maximumDate = Reports.dayOf(new Date())
        calendar.selectedDate = daily ? day : month + "-01"
        calendar.open()
    }

    RevenueConversation {
        id: talk
        messageBox: page.messageBox
        onFailed: function (text) { followUp.error(text) }
    }

    FollowUpBox { id: followUp; messageBox: page.messageBox }

    component DateField: Rectangle {
        id: field
        property alias text: fieldText.text
        signal clicked()
        width: 150
        height: 36
        radius: Theme.radiusSmall
        border.color: Theme.lineInput
        color: Theme.card
        Text {
            id: fieldText
            x: Theme.spacingMedium
            anchors.verticalCenter: parent.verticalCenter
            font.pixelSize: Theme.fontBody
            color: Theme.text
        }
        Image {
            anchors.right: parent.right
            anchors.rightMargin: Theme.spacingSmall
            anchors.verticalCenter: parent.verticalCenter
            source: "qrc:/icon/icon/downdown.png"
        }
        MouseArea { anchors.fill: parent; onClicked: field.clicked() }
    }

    Row {
        id: toolbar
        anchors.left: page.backButton.right
        anchors.leftMargin: Theme.spacingLarge
        anchors.verticalCenter: page.backButton.verticalCenter
        spacing: Theme.spacingMedium

        Text {
            anchors.verticalCenter: parent.verticalCenter
            rightPadding: Theme.spacingLarge
            text: "营收分析"
            font.pixelSize: Theme.fontTitle
            font.bold: true
            color: Theme.textStrong
        }
        Button {
            objectName: "dailyTab"
            text: "日报表"
            highlighted: page.daily
            onClicked: page.chooseType(Reports.daily)
        }
        Button {
            objectName: "monthlyTab"
            text: "月报表"
            highlighted: !page.daily
            onClicked: page.chooseType(Reports.monthly)
        }
        Item { width: Theme.spacingLarge; height: 1 }
        Button {
            objectName: "previousButton"
            text: page.daily ? "前一天" : "上一月"
            onClicked: page.step(false)
        }
        DateField {
            objectName: page.daily ? "dayField" : "monthField"
            anchors.verticalCenter: parent.verticalCenter
            text: page.daily ? page.day : page.month
            onClicked: page.openCalendar()
        }
        Button {
            objectName: "nextButton"
            text: page.daily ? "后一天" : "下一月"
            onClicked: page.step(true)
        }
        Button {
            objectName: "refreshButton"
            visible: page.daily
            text: "刷新"
            onClicked: page.reload()
        }
    }

    Flickable {
        id: content
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: page.backButton.bottom
        anchors.bottom: parent.bottom
        anchors.margins: Theme.spacingLarge
        contentHeight: blocks.height
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {}

        Column {
            id: blocks
            width: content.width
            spacing: Theme.spacingLarge

            Row {
                id: figuresRow
                readonly property real blockWidth: (width - 3 * spacing) / 4
                readonly property real blockHeight: Math.max(summaryBlock.implicitHeight, countsBlock.implicitHeight,
                                                             orderBlock.implicitHeight, rechargeBlock.implicitHeight)
                width: parent.width
                spacing: Theme.spacingLarge
                ReportBlock {
                    id: summaryBlock
                    objectName: "summaryBlock"
                    width: figuresRow.blockWidth
                    height: figuresRow.blockHeight
                    title: "汇总统计"
                    lines: talk.summary.lines
                    emptyText: "暂无收入"
                    totalLabel: "收入合计"
                    totalValue: talk.summary.total
                }
                ReportBlock {
                    id: countsBlock
                    objectName: "countsBlock"
                    width: figuresRow.blockWidth
                    height: figuresRow.blockHeight
                    title: "营业统计"
                    lines: talk.counts
                }
                ReportBlock {
                    id: orderBlock
                    objectName: "orderBlock"
                    width: figuresRow.blockWidth
                    height: figuresRow.blockHeight
                    title: "订单数据"
                    lines: talk.orderMoney
                }
                ReportBlock {
                    id: rechargeBlock
                    objectName: "rechargeBlock"
                    width: figuresRow.blockWidth
                    height: figuresRow.blockHeight
                    title: "储值数据"
                    lines: talk.rechargeMoney
                }
            }

            Row {
                id: meansRow
                readonly property real blockWidth: (width - spacing) / 2
                width: parent.width
                spacing: Theme.spacingLarge
                ReportBlock {
                    objectName: "orderPaymentsBlock"
                    width: meansRow.blockWidth
                    title: "订单营业数据"
                    lines: talk.orderPayments
                    colors: Theme.chartColors
                    sideWidth: 150
                    ShareChart {
                        objectName: "orderShares"
                        anchors.fill: parent
                        shares: talk.orderPayments.map(function (l) { return l.share })
                    }
                }
                ReportBlock {
                    objectName: "rechargePaymentsBlock"
                    width: meansRow.blockWidth
                    title: "储值营业数据"
                    lines: talk.rechargePayments
                    colors: Theme.chartColors
                    sideWidth: 150
                    ShareChart {
                        objectName: "rechargeShares"
                        anchors.fill: parent
                        shares: talk.rechargePayments.map(function (l) { return l.share })
                    }
                }
            }

            Rectangle {
                width: parent.width
                height: 230
                color: Theme.card
                radius: Theme.radiusLarge
                border.color: Theme.line
                Text {
                    id: trendTitle
                    x: Theme.spacingLarge
                    y: Theme.spacingLarge
                    text: page.daily ? "近30天营收" : "近12个月营收"
                    font.pixelSize: Theme.fontLarge
                    font.bold: true
                    color: Theme.textStrong
                }
                TrendChart {
                    objectName: "trendChart"
                    anchors.left: parent.left
                    anchors.right: parent.right
                    anchors.top: trendTitle.bottom
                    anchors.bottom: parent.bottom
                    anchors.margins: Theme.spacingLarge
                    anchors.topMargin: Theme.spacingSmall
                    list: talk.trend
                    shown: page.daily ? page.day : page.month
                    onBarClicked: function (date) { page.pick(date) }
                }
            }
        }
    }

    // The calendar of the day or the month shown, up to today.
    DatePickerPopup {
        id: calendar
        objectName: "revenueCalendar"
        anchors.centerIn: parent
        onChosen: function (date) { page.pick(date) }
    }

    LoadingShade { visible: page.loading }
}
