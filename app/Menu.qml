import QtQuick 2.15
import Brenvo 1.0
import "menuentries.js" as MenuEntries
import "screens.js" as Screens

// The signed-in worker's home: the functions the worker may use, as a grid of buttons.
Rectangle {
    id: menu
    objectName: "Menu"

    // Closed through Screens.close, with what was opened over it.
    readonly property bool isScreen: true

    // Raised by the quality test and the rail screens to switch to each other.
    signal tohangup()
    signal toquality()

    anchors.fill: parent
    gradient: Gradient {
        GradientStop { position: 0.0; color: Theme.gradientTop }
        GradientStop { position: 1.0; color: Theme.gradientBottom }
    }

    // The same entries as shown are left alone: rebuilding them would redraw the grid and
    // drop the entry under the worker's pointer.
    function showEntries(entries) {
        if (entryModel.count === entries.length && entries.every(function (e, i) {
            return entryModel.get(i).menuId === e.menuId
        }))
            return
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

    // The worker's rights: only the entries the reply lists, in its order. Without an
    // answer all twelve stay; the backend still decides what each request may do.
    function showRights(reply) {
        var ids = []
        var request = backend.request
        for (var i = 0; i < request.getOrderNum(reply, 0); ++i)
            ids.push(request.getOrderInfo(reply, "id", i, 0))
        showEntries(MenuEntries.entriesForRights(ids))
    }

    Component.onCompleted: {
        showEntries(MenuEntries.all)
        backend.call("MenuControl", "wkMenu/queryAllByWorkId", {}, showRights)
    }

    MouseArea { anchors.fill: parent }

    BackendRequest {
        id: backend
        objectName: "menuBackend"
    }

    Item {
        id: banner
        width: grid.width
        height: 100
        y: 50
        anchors.horizontalCenter: menu.horizontalCenter

        Rectangle {
            anchors.fill: banner
            radius: Theme.radiusHuge
            color: Theme.bannerShade
            opacity: Theme.bannerOpacity
        }
        RoundImage {
            id: logo
            width: 60; height: 60
            x: Theme.spacingLarge
            anchors.verticalCenter: banner.verticalCenter
            source: Session.logoPath
        }
        Text {
            anchors.left: logo.right
            anchors.leftMargin: Theme.spacingLarge
            anchors.verticalCenter: banner.verticalCenter
            text: Session.mainName
            color: Theme.textOnDark
            font.pixelSize: Theme.fontBanner
        }
        Text {
            anchors.right: banner.right
            anchors.rightMargin: Theme.spacingLarge
            anchors.verticalCenter: banner.verticalCenter
            text: Session.mainInfo
            color: Theme.textOnDark
            font.pixelSize: Theme.fontTitle
        }
    }

    ListModel { id: entryModel }

    GridView {
        id: grid
        objectName: "menuGrid"
        width: 1000
        height: 750
        y: 180
        anchors.horizontalCenter: menu.horizontalCenter
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
                radius: Theme.radiusHuge
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
                anchors.topMargin: Theme.spacingSmall
                anchors.horizontalCenter: button.horizontalCenter
                text: entry.label
                color: Theme.textOnDark
                font.pixelSize: Theme.fontMedium
            }
        }
    }
}
