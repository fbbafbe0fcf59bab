import QtQuick 2.15
import Brenvo 1.0

// A ring of shares: each part in hundredths of a percent (together 10000), in the colour of
// its line beside it. Painted once each time the shares change and never in between, so a
// report on screen costs no frame; a ring without shares is one plain ring.
Canvas {
    id: chart

    property var shares: []
    property var colors: Theme.chartColors
    readonly property bool empty: shares.every(function (s) { return s <= 0 })

    onSharesChanged: requestPaint()
    onWidthChanged: requestPaint()
    onHeightChanged: requestPaint()

    onPaint: {
        var ctx = getContext("2d")
        ctx.reset()
        var outer = Math.min(width, height) / 2
        var thickness = outer * 0.42
        // A part is an arc stroked as wide as the ring, so one part of 100 % is a whole ring.
        var part = function (from, to, colour) {
            ctx.beginPath()
            ctx.arc(width / 2, height / 2, outer - thickness / 2, from, to, false)
            ctx.lineWidth = thickness
            ctx.strokeStyle = colour
            ctx.stroke()
        }
        if (empty) {
            part(0, 2 * Math.PI, Theme.chartEmpty)
            return
        }
        var start = -Math.PI / 2
        for (var i = 0; i < shares.length; ++i) {
            if (shares[i] <= 0)
                continue
            var end = start + 2 * Math.PI * shares[i] / 10000
            part(start, end, colors[i % colors.length])
            start = end
        }
    }

    Text {
        anchors.centerIn: parent
        visible: chart.empty
        text: "暂无数据"
        font.pixelSize: Theme.fontSmall
        color: Theme.textMuted
    }
}
