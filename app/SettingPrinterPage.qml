import QtQuick 2.15
import Brenvo 1.0
import "settingoptions.js" as Options

// One printer role: "无", "pdf" and the installed printers, the role's printer ticked. A click
// stores the name in the role's file and in the session property the printing screens read.
Flickable {
    id: page

    // The installed printers (the screen fetches them once per visit).
    property var printers: []
    property string fileName
    property string sessionKey

    readonly property var names: Options.printerChoices(page.printers)

    contentHeight: choices.height
    clip: true

    function choose(name) {
        settingsFile.source = page.fileName
        if (!settingsFile.write(name))
            console.log(Logs.app, "cannot write " + page.fileName)
        Session[page.sessionKey] = name
    }

    SettingChoiceList {
        id: choices
        objectName: "printerChoices"
        width: page.width
        caption: "选择“pdf”时，打印内容写入 release/qrpic/123.pdf"
        labels: page.names
        current: page.names.indexOf(Session[page.sessionKey])
        onChosen: function (index, label) { page.choose(label) }
    }

    SettingsFile { id: settingsFile }
}
