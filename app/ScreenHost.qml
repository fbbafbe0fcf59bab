import QtQuick 2.15
import Brenvo 1.0
import "screens.js" as Screens

// The content area into which working screens are created.
Item {
    id: host

    // The home button: a fresh menu over everything. The screens it would cover can never be
    // reached again, so they are released instead of piling up over a day's work.
    function showMenu() {
        if (Session.istackphoto)
            return null
        Screens.closeAll(host)
        return Screens.open(host, "Menu")
    }
}
