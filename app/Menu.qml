import QtQuick 2.15
import Brenvo 1.0
import "menuentries.js" as MenuEntries
import "screens.js" as Screens

// The signed-in worker's home: the functions the worker may use, as a grid of buttons.
Rectangle {
    id: menu
    objectName: "Menu"

    // Raised by the quality test and the rail screens to switch to each other.
    signal tohangup()
    signal toquality()

    anchors.fill: parent
    gradient: Gradient {
        GradientStop { position: 0.0; color: "#0B2D63" }
        GradientStop { position: 1.0; color: "#A4DDF4" }
    }

    function showEntries(entries) {
        entryModel.clear()
        for (var i = 0; i < entries.length; ++i)
            entryModel.append(entries[i])
    }

    // Opens `screen` over the menu; the quality test and the rail can ask for each other.
    function openScreen(screen, flag) {
        var opened = Screens.open(menu, screen)
        if (opened === null)
            return null
        if (opened.tohangup !== undefined)
            opened.tohangup.connect(menu.tohangup)
        if (opened.toquality !== undefined)
            opened.toquality.connect(menu.toquality)
        Session.enterFlag = flag
        return opened
    }

    onTohangup: openScreen("HangUp", "HangUp")
    onToquality: openScreen("qualityTest", "Quality")

    Component.onCompleted: {
        showEntries(MenuEntries.all)
        backend.post("MenuControl", "wkMenu/queryAllByWorkId")
    }

    MouseArea { anchors.fill: parent }

    BackendRequest {
        id: backend
        objectName: "menuBackend"
        onReplied: function (reply) {
            if (Session.whoPost !== "MenuControl")
                return
            if (Number(Session.httpCode) !== 200) {
                console.log(reply)
                return
            }
            var ids = []
            var request = backend.request
            for (var i = 0; i < request.getOrderNum(reply, 0); ++i)
                ids.push(request.getOrderInfo(reply, "id", i, 0))
            menu.showEntries(MenuEntries.entriesForRights(ids))
        }
    }

    Item {
        id: banner
        width: grid.width
        height: 100
        y: 50
        anchors.horizontalCenter: parent.horizontalCenter

        Rectangle {
            anchors.fill: parent
            radius: 20
            color: "black"
            opacity: 0.3
        }
        RoundImage {
            id: logo
            width: 60; height: 60
            x: 20
            anchors.verticalCenter: parent.verticalCenter
            source: Session.logoPath
        }
        Text {
            anchors.left: logo.right
            anchors.leftMargin: 20
            anchors.verticalCenter: parent.verticalCenter
            text: Session.mainName
            color: "white"
            font.pixelSize: 32
        }
        Text {
            anchors.right: parent.right
            anchors.rightMargin: 20
            anchors.verticalCenter: parent.verticalCenter
            text: Session.mainInfo
            color: "white"
            font.pixelSize: 20
        }
    }

    ListModel { id: entryModel }

    GridView {
        id: grid
        objectName: "menuGrid"
        width: 1000
        height: 750
        y: 180
        anchors.horizontalCenter: parent.horizontalCenter
        cellWidth: 200
        cellHeight: 200
        interactive: false
        model: entryModel
        delegate: Item {
            id: entry
            required property string menuId
            required property string label
            required property string screen
            required property string flag
            required property string icon
            required property string hover

            objectName: "entry_" + menuId
            width: 200
            height: 200

            RoundImage {
                id: button
                x: 75; y: 75
                width: 100; height: 100
                radius: 21
                source: "qrc:/icon/icon/" + (buttonArea.containsMouse ? entry.hover : entry.icon) + ".png"
                MouseArea {
                    id: buttonArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: menu.openScreen(entry.screen, entry.flag)
                }
            }
            Text {
                anchors.top: button.bottom
                anchors.topMargin: 8
                anchors.horizontalCenter: button.horizontalCenter
                text: entry.label
                color: "white"
                font.pixelSize: 16
            }
        }
    }
}
