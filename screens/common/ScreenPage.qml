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
    property bool handedBack: false

    function close() {
        Screens.close(page)
    }

    // Gives the Enter flag and the keyboard back to what was below, once: as the screen is
    // closed (Screens.close), so that a screen opened in its place right after keeps them, or
    // at the latest when it goes.
    function handBack() {
        if (handedBack)
            return
        handedBack = true
        if (enterFlag !== "" && Session.enterFlag === enterFlag)
            Session.enterFlag = flagBelow
        // A screen that focuses its own field as it opens may do so before the item below
        // was noted: the keyboard then goes to what the screen was opened over.
        var below = focusBelow !== null && !holds(focusBelow) ? focusBelow : page.parent
        if (below)
            below.forceActiveFocus()
    }

    function holds(item) {
        for (var i = item; i; i = i.parent)
            if (i === page)
                return true
        return false
    }

    Component.onCompleted: {
        focusBelow = page.Window.activeFocusItem
        if (enterFlag !== "") {
            flagBelow = Session.enterFlag
            Session.enterFlag = enterFlag
        }
        page.forceActiveFocus()
    }

    Component.onDestruction: handBack()

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
