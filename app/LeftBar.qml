import QtQuick 2.15
import Brenvo 1.0

// The black bar at the window's left: home button, store and worker, clock, version and
// the vendor's credit. The four worker items stay hidden until someone has signed in.
Rectangle {
    id: bar

    property bool signedIn: false
    // The window the bar moves while it is dragged.
    property var window: null

    signal homeClicked()
    signal portraitClicked()

    width: 80
    color: Theme.leftBar

    // The one-value settings files feed the session whenever a left bar is created.
    function readSettings() {
        var files = [
            ["setting/sign.ini", "isElectronicLabel"], ["setting/Wash.ini", "washPrinterName"],
            ["setting/Ticket.ini", "ticketPriterName"], ["setting/Certificate.ini", "certificatePrinterName"],
            ["setting/register.ini", "iniRegister"], ["setting/quality.ini", "qualityFlagM"],
            ["setting/isCheck.ini", "ischecks"], ["setting/printetype.ini", "printetype"]
        ]
        for (var i = 0; i < files.length; ++i) {
            settingsFile.source = files[i][0]
            var text = settingsFile.read()
            Session[files[i][1]] = files[i][1] === "isElectronicLabel" ? Number(text) || 0 : text
        }
    }

    Component.onCompleted: readSettings()

    // Once a worker is signed in, the bar takes the keyboard from the sign-in fields that the
    // menu now covers: their caret would go on blinking there, redrawing the whole window
    // twice a second. Keys the bar does not take go on to the window's own handlers.
    onSignedInChanged: {
        if (signedIn)
            forceActiveFocus()
    }

    SettingsFile { id: settingsFile }

    Rectangle {
        width: 1
        height: parent.height
        anchors.right: parent.right
        color: Theme.leftBarLine
    }

    MouseArea {
        property real pressX
        property real pressY
        anchors.fill: parent
        onPressed: function (mouse) {
            pressX = mouse.x
            pressY = mouse.y
        }
        onPositionChanged: function (mouse) {
            if (bar.window !== null && bar.window.visibility !== 4 /* Window.Maximized */) {
                bar.window.x += mouse.x - pressX
                bar.window.y += mouse.y - pressY
            }
        }
    }

    Image {
        objectName: "homeButton"
        width: 50; height: 50
        y: Theme.spacingLarge
        anchors.horizontalCenter: parent.horizontalCenter
        visible: bar.signedIn
        source: homeArea.pressed ? "qrc:/icon/icon/menu1.png" : "qrc:/icon/icon/menu2.png"
        MouseArea {
            id: homeArea
            anchors.fill: parent
            onClicked: bar.homeClicked()
        }
    }

    Text {
        y: 180
        width: 55
        anchors.horizontalCenter: parent.horizontalCenter
        visible: bar.signedIn
        text: Session.storename
        color: Theme.textOnDark
        font.pixelSize: Theme.fontSmall
        wrapMode: Text.WrapAnywhere
        horizontalAlignment: Text.AlignHCenter
    }

    Item {
        id: portrait
        objectName: "portrait"
        width: 50; height: 50
        y: 270
        anchors.horizontalCenter: parent.horizontalCenter
        visible: bar.signedIn

        RoundImage {
            anchors.fill: parent
            source: Session.workerHaedPic !== "" ? Session.workerHaedPic : "qrc:/icon/icon/grayhead.png"
        }
        MouseArea {
            anchors.fill: parent
            onClicked: bar.portraitClicked()
        }
    }

    Text {
        anchors.top: portrait.bottom
        anchors.topMargin: Theme.spacingTiny
        width: 60
        anchors.horizontalCenter: parent.horizontalCenter
        visible: bar.signedIn
        text: Session.workername
        color: Theme.textOnDark
        font.pixelSize: Theme.fontBody
        wrapMode: Text.WrapAnywhere
        horizontalAlignment: Text.AlignHCenter
    }

    // The clock. One timer for the three lines, and only while the bar is shown: a bar
    // covered by the sign-in screen does not wake the terminal twice a second.
    Timer {
        interval: 500; repeat: true; triggeredOnStart: true
        running: bar.visible
        onTriggered: {
            var now = new Date()
            dateText.text = Qt.formatDateTime(now, "MM-dd")
            timeText.text = Qt.formatDateTime(now, "hh:mm")
            weekdayText.text = Qt.formatDateTime(now, "dddd")
        }
    }
    Text {
        id: dateText
        anchors.bottom: timeText.top
        anchors.horizontalCenter: parent.horizontalCenter
        color: Theme.textOnDark
        font.pixelSize: Theme.fontSmall
    }
    Text {
        id: timeText
        anchors.bottom: weekdayText.top
        anchors.horizontalCenter: parent.horizontalCenter
        color: Theme.textOnDark
        font.pixelSize: Theme.fontTitle
    }
    Text {
        id: weekdayText
        anchors.bottom: version.top
        anchors.bottomMargin: 2 * Theme.spacingHuge
        anchors.horizontalCenter: parent.horizontalCenter
        color: Theme.textOnDark
        font.pixelSize: Theme.fontSmall
    }

    Text {
        id: version
        anchors.bottom: credit.top
        anchors.bottomMargin: Theme.spacingSmall
        anchors.horizontalCenter: parent.horizontalCenter
        text: Session.exeVersion
        color: Theme.textOnDark
        font.pixelSize: Theme.fontTiny
    }

    Text {
        id: credit
        anchors.bottom: parent.bottom
        anchors.bottomMargin: Theme.spacingLarge
        anchors.horizontalCenter: parent.horizontalCenter
        text: "由Brenvo提供\n  技术支持"
        color: creditArea.containsMouse ? Theme.textOnDark : Theme.credit
        font.pixelSize: Theme.fontTiny
        MouseArea {
            id: creditArea
            anchors.fill: parent
            hoverEnabled: true
            onClicked: Qt.openUrlExternally(AppConfig.vendorSite)
        }
    }
}
