import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Window 2.15
import Brenvo 1.0
import "screens.js" as Screens

// A working screen: it fills the item it was opened over, keeps clicks and keys from the
// screens below, and has a back button that closes it.
//
// The screen on top owns the keyboard. A screen that acts on Enter names its `enterFlag`:
// the flag becomes Session.enterFlag while the screen is open, and closing the screen gives
// the flag and the keyboard back to the screen below.
FocusScope {
    id: page

    // The Session.enterFlag of this screen; "" for a screen that takes no Enter.
    property string enterFlag: ""
    property bool backVisible: true
    // False for a page with a step to finish before it closes (the cashier gives a payment
    // under way back first): it hears backClicked and closes itself.
    property bool closesOnBack: true
    property color background: Theme.page
    readonly property alias backButton: back

    // Opened screens are closed through Screens.close, the ones on top first.
    readonly property bool isScreen: true

    // The back button was clicked; the page closes right after (unless closesOnBack is off).
    signal backClicked()

    anchors.fill: parent
    // Above everything its opener holds (its back button, pop-ups and shades): a screen
    // covers the one it was opened over.
    z: 100

    property string flagBelow: ""
    property var focusBelow: null

    function close() {
        Screens.close(page)
    }

    Component.onCompleted: {
        focusBelow = page.Window.activeFocusItem
        if (enterFlag !== "") {
            flagBelow = Session.enterFlag
            Session.enterFlag = enterFlag
        }
        page.forceActiveFocus()
    }

    Component.onDestruction: {
        if (enterFlag !== "" && Session.enterFlag === enterFlag)
            Session.enterFlag = flagBelow
        if (focusBelow)
            focusBelow.forceActiveFocus()
    }

    Rectangle {
        anchors.fill: parent
        color: page.background
        MouseArea { anchors.fill: parent }
    }

    Button {
        id: back
        objectName: "backButton"
        visible: page.backVisible
        z: 5
        text: "返回"
        icon.source: "qrc:/icon/icon/goback.png"
        x: Theme.spacingLarge
        y: Theme.spacingMedium
        onClicked: {
            page.backClicked()
            if (page.closesOnBack)
                page.close()
        }
    }
}
