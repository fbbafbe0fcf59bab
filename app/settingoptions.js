.pragma library

// The workflow options of the settings screen: each is a one-value settings file holding the
// position of the chosen entry, mirrored in a session property.
var lists = [
    { file: "setting/sign.ini", session: "isElectronicLabel", labels: ["打印水洗标", "绑定纸质或电子标签"] },
    { file: "setting/register.ini", session: "iniRegister", labels: ["自动上架", "手动上架"] },
    { file: "setting/isCheck.ini", session: "ischecks", labels: ["无需核对附件", "需要核对附件"] },
    { file: "setting/printetype.ini", session: "printetype", labels: ["80小票打印机", "58小票打印机"] }
]

// The rows of the "参数设置" page; each opens the option page showing its lists.
var rows = [
    { label: "衣物标签", lists: [0] },
    { label: "门店质检", lists: [1, 2] },
    { label: "小票打印机类型", lists: [3] }
]

// The entry a file's text chooses: a missing file ("") starts on the first entry; any text
// other than 0 or 1 chooses none (-1).
function choiceOf(text) {
    var value = String(text).trim()
    if (value === "" || value === "0")
        return 0
    if (value === "1")
        return 1
    return -1
}

// The label of choice `choice` in list `list`, "" for no valid choice.
function labelOf(list, choice) {
    var labels = lists[list].labels
    return choice >= 0 && choice < labels.length ? labels[choice] : ""
}

// The session value of a choice: the garment-label flag is a number, the others are text.
function sessionValue(list, choice) {
    return lists[list].session === "isElectronicLabel" ? choice : String(choice)
}

// A printer role's choices: "无" (print nothing), "pdf" (an A4 PDF file in the working folder,
// for a store without that printer yet, or a first try) and the installed printers in the
// system's order. A queue of the system named like either is listed once.
function printerChoices(installed) {
    var names = ["无", "pdf"]
    for (var i = 0; i < installed.length; ++i) {
        var name = String(installed[i])
        if (names.indexOf(name) < 0)
            names.push(name)
    }
    return names
}
