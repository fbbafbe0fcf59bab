import QtQuick 2.15
import QtQuick.Window 2.15

// A main screen that does not compile: the terminal must exit with -1 and show nothing.
Window {
    visible: true
    width: 1300
    height: 900
    title: "broken"
    Item { width: 10 +
}
