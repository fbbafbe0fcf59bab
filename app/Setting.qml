import QtQuick 2.15
import FileIo 1.0
import PrinterHelper 1.0
import BVMessageBox 1.0
import Brenvo 1.0
import "settingoptions.js" as Options

// "设置": the store's details, the three printers, the workflow options and the about page.
// Every choice is stored at once in its settings file and in the session, so it takes
// effect for every screen. Opened from the menu it has no back button (the home button
// covers it); a screen that sends the worker here to choose a printer shows one.
ScreenPage {
    id: setting
    objectName: "Setting"
    enterFlag: "Setting"
    backVisible: false
    background: Theme.settingsPage

    // The shown section: 0 store, 1 wash-label, 2 ticket, 3 certificate printer, 4 options,
    // 5 about.
    property int section: 0
    // The installed printers, asked for once per visit (null until then).
    property var printers: null
    // The chosen entry of each option list (settingoptions.js), read from the files on opening.
    property var choices: [-1, -1, -1, -1]

    // What the screen reaches outside itself through; tests put stand-ins here, since the
    // message box is modal and the browser is another program.
    property var printerSource: printerHelpe
    property var messageBox: mMessageBox
    property var openUrl: function (url) { return Qt.openUrlExternally(url) }

    readonly property var sections: [
        { label: "门店信息", title: "门店信息", icon: "qrc:/icon/icon/storeinfo.png" },
        { label: "水洗标打印机", title: "水洗标打印机设置", icon: "qrc:/icon/icon/printer.png" },
        { label: "小票打印机", title: "小票打印机设置", icon: "qrc:/icon/icon/printer.png" },
        { label: "合格证打印机", title: "合格证打印机设置", icon: "qrc:/icon/icon/printer.png" },
        { label: "参数设置", title: "参数设置", icon: "qrc:/icon/icon/settings.png" },
        { label: "关于Brenvo", title: "关于Brenvo", icon: "qrc:/icon/favicon.ico" }
    ]
    readonly property var printerRoles: [
        { file: "setting/Wash.ini", session: "washPrinterName" },
        { file: "setting/Ticket.ini", session: "ticketPriterName" },
        { file: "setting/Certificate.ini", session: "certificatePrinterName" }
    ]

    function showSection(index) {
        setting.section = index
        if (index >= 1 && index <= 3 && setting.printers === null && !printerShade.visible) {
            // Listing the printers blocks; the shade is drawn first.
            printerShade.visible = true
            printerFetch.start()
        }
    }

    function fetchPrinters() {
        var listed = setting.printerSource.getPrinterList()
        var names = []
        for (var i = 0; i < listed.length; ++i)
            names.push(String(listed[i]))
        setting.printers = names
        printerShade.visible = false
    }

    function readChoices() {
        var read = []
        for (var i = 0; i < Options.lists.length; ++i) {
            settingsFile.source = Options.lists[i].file
            read.push(Options.choiceOf(settingsFile.read()))
        }
        setting.choices = read
    }

    function choose(list, choice) {
        settingsFile.source = Options.lists[list].file
        if (!settingsFile.write(String(choice)))
            console.log(Logs.app, "cannot write " + Options.lists[list].file)
        Session[Options.lists[list].session] = Options.sessionValue(list, choice)
        var next = setting.choices.slice()
        next[list] = choice
        setting.choices = next
    }

    function askForUpdate() {
        if (!versionCheck.current)
            versionCheck.fetchReleaseNotes()
    }

    // Emitted when the worker accepts the update, just before the program ends.
    signal updating()

    // The updater replaces the installed files, so the program ends once it has started it.
    function acceptUpdate() {
        setting.updating()
        fileio.startUpdate()
        Qt.quit()
    }

    Component.onCompleted: readChoices()

    Rectangle {
        id: titleBar
        width: parent.width
        height: 50
        color: Theme.card

        Text {
            anchors.centerIn: parent
            text: "设置"
            font.pixelSize: Theme.fontTitle
            color: Theme.text
        }
        Rectangle {
            anchors.bottom: parent.bottom
            width: parent.width
            height: 1
            color: Theme.border
        }
    }

    Rectangle {
        id: sectionBar
        y: titleBar.height
        width: 200
        height: parent.height - y
        color: Theme.card

        Column {
            y: Theme.spacingLarge
            Repeater {
                model: setting.sections

                delegate: SettingSectionButton {
                    required property int index
                    required property var modelData

                    objectName: "section" + index
                    label: modelData.label
                    icon: modelData.icon
                    selected: setting.section === index
                    onClicked: setting.showSection(index)
                }
            }
        }
    }

    Rectangle {
        id: pageArea
        x: sectionBar.width + Theme.spacingLarge
        y: titleBar.height + Theme.spacingLarge
        width: parent.width - x - Theme.spacingLarge
        height: parent.height - y - Theme.spacingLarge
        color: Theme.card
        radius: Theme.radiusSmall

        Text {
            id: pageTitle
            objectName: "pageTitle"
            x: Theme.spacingLarge
            height: 56
            verticalAlignment: Text.AlignVCenter
            text: setting.sections[setting.section].title
            font.pixelSize: Theme.fontLarge
            font.bold: true
            color: Theme.text
        }
        Rectangle {
            id: titleLine
            y: pageTitle.height
            width: parent.width
            height: 1
            color: Theme.border
        }

        Item {
            id: pageBody
            y: titleLine.y + 1
            width: parent.width
            height: parent.height - y

            SettingStorePage {
                objectName: "storePage"
                visible: setting.section === 0
            }

            Repeater {
                model: setting.printerRoles

                delegate: SettingPrinterPage {
                    required property int index
                    required property var modelData

                    objectName: "printerPage" + (index + 1)
                    width: pageBody.width
                    height: pageBody.height
                    visible: setting.section === index + 1
                    printers: setting.printers === null ? [] : setting.printers
                    fileName: modelData.file
                    sessionKey: modelData.session
                }
            }

            SettingOptionsPage {
                id: optionsPage
                objectName: "optionsPage"
                width: pageBody.width
                height: pageBody.height
                visible: setting.section === 4
                choices: setting.choices
                onChosen: function (list, choice) { setting.choose(list, choice) }
            }

            SettingAboutPage {
                objectName: "aboutPage"
                visible: setting.section === 5
                current: versionCheck.current
                onHelpClicked: setting.openUrl(AppConfig.helpUrl)
                onServiceClicked: setting.openUrl(AppConfig.serviceUrl)
                onVersionClicked: setting.askForUpdate()
            }
        }
    }

    // Dims the screen while the system lists its printers.
    Rectangle {
        id: printerShade
        objectName: "printerShade"
        anchors.fill: parent
        visible: false
        color: Theme.busyShade

        MouseArea { anchors.fill: parent }
        Text {
            anchors.centerIn: parent
            text: "正在获取打印机…"
            font.pixelSize: Theme.fontLarge
            color: Theme.textOnDark
        }
    }

    Timer {
        id: printerFetch
        interval: 50
        onTriggered: setting.fetchPrinters()
    }

    VersionCheck {
        id: versionCheck
        objectName: "settingVersionCheck"
        onReleaseNotes: function (text) {
            Session.messagePost = "update"
            setting.messageBox.btnMsgUpdate(text)
        }
    }

    BVMessageBox {
        id: mMessageBox
        objectName: "updateBox"
        onOkFlishedReturn: function (jsonStr) {
            if (Session.messagePost === "update" && jsonStr === "update")
                setting.acceptUpdate()
        }
    }

    PrinterHelper { id: printerHelpe }
    FileIo { id: fileio }
    SettingsFile { id: settingsFile }
}
