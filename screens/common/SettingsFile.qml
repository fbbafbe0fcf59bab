import QtQuick 2.15
import FileIo 1.0

// A screen's binding to one local file. What goes wrong with the file (a missing file, no
// name) is written to the console, and the screen goes on with the empty text.
FileIo {
    onError: function (msg) { console.log((source !== "" ? source : "file") + ": " + msg) }
}
