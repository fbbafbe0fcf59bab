import QtQuick 2.15
import FileIo 1.0
import Brenvo 1.0
import "settingsfiles.js" as SettingsFiles

// A screen's binding to one local file; the screen goes on with the empty text whatever goes
// wrong. A settings file that was never written is expected (its default holds) and named in
// one debug line; any other fault (no name, a file that cannot be read) is a warning.
FileIo {
    onError: function (msg) {
        if (source !== "" && !exists())
            SettingsFiles.noteMissing(source)
        else
            console.warn(Logs.common, (source !== "" ? source : "file") + ": " + msg)
    }
}
