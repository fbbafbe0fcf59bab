import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0
import "garmentrecord.js" as Record

// "添加衣物": one garment of an order, composed from the catalogue (project, category,
// garment, service, accessories, colour, flaws, effects, brand, add-ons) with its price, and
// stored with stockIn/add; or, given a garment's code, that garment changed with
// stockIn/update. The backend prices what is stored; the price shown here follows the same
// rules.
ScreenPage {
    id: screen
    objectName: "ChooseClothInfo"
    enterFlag: "ChooseClothInfo"

    // From the opener: the order number, and the code of the garment to change ("" adds one).
    property string keywords: ""
    property string idofCloth: ""
    // The message box; tests put a recorder in its place.
    property var messageBox: followUp.box

    // The garment was stored: the opener reloads the order.
    signal garmentSaved(string orderNumber)

    property bool loading: true
    property var sel: Record.empty()
    property var projects: []
    // Change mode: the chain of step 2 marks the record's choices instead of choosing afresh.
    property bool preselecting: false
    property bool brandsArrived: false
    property var pendingAddOn: null
    readonly property var price: Record.prices(sel)
    readonly property alias backend: conversation.backend
    readonly property alias tabs: tabs
    readonly property alias followUp: followUp
    readonly property alias orderId: conversation.orderId

    Component.onCompleted: conversation.loadOrder(keywords)

    // --- Loading: the order, the projects, in change mode the garment --------------------

    function projectsArrived(rows) {
        projects = rows
        if (idofCloth !== "")
            conversation.loadDetail(idofCloth)
        else
            loading = false
    }

    // The garment's project is chosen and its record taken; the chain of the categories
    // marks its choices.
    function detailArrived(detail) {
        loading = false
        var project = null
        for (var i = 0; i < projects.length; ++i)
            if (String(projects[i].businessId) === String(detail.businessId))
                project = projects[i]
        sel = Record.fromDetail(detail, project)
        preselecting = true
        tabs.openCount = tabs.names.length
        tabs.grid("category").reload(false)
    }

    // --- The catalogue ---------------------------------------------------------------------

    // A page arrived; what follows it are the chains of the selection flow.
    function pageArrived(kind, page, rows, generation) {
        var grid = tabs.grid(kind)
        grid.received(rows, generation)
        if (generation !== grid.generation)
            return
        if (kind === "project")
            projectsArrived(rows)
        else if (kind === "category")
            categoriesArrived(rows)
        else if (kind === "garment" && page === 1 && preselecting)
            tabs.grid("service").reload(false)
        else if (kind === "service") {
            preselecting = false
            tabs.grid("addOn").reload(true)
        } else if (kind === "addOn" && page === 1 && grid.keywords === "")
            tabs.grid("annex").reload(true)
        else if (kind === "brand")
            brandsArrived = true
    }

    // The first category is chosen; in change mode the garment's own is marked.
    function categoriesArrived(rows) {
        if (preselecting) {
            for (var i = 0; i < rows.length; ++i)
                if (String(rows[i].id) === String(sel.category.id)) {
                    var s = Record.copy(sel)
                    s.category = rows[i]
                    sel = s
                }
        } else if (rows.length > 0) {
            sel = Record.chooseCategory(sel, rows[0])
        }
        tabs.grid("garment").reload(true)
    }

    function openTab(index) {
        tabs.open(index)
    }

    // Colours, and until the first brands came flaws, effects and brands, are asked for when
    // their tab opens holding fewer than 3 entries.
    function tabOpened(index) {
        var kinds = {}
        kinds[tabs.colourTab] = "colour"
        kinds[tabs.flawTab] = "flaw"
        kinds[tabs.effectTab] = "effect"
        kinds[tabs.brandTab] = "brand"
        var kind = kinds[index]
        if (kind === undefined)
            return
        var grid = tabs.grid(kind)
        if (grid.count < 3 && (kind === "colour" || !brandsArrived))
            grid.reload(false)
    }

    // --- Choices -----------------------------------------------------------------------------

    function entryClicked(kind, entry) {
        switch (kind) {
        case "project":
            preselecting = false
            sel = Record.chooseProject(sel, entry)
            ;["garment", "service"].forEach(function (k) { tabs.grid(k).clear() })
            tabs.openCount = 2
            tabs.grid("category").reload(false)
            openTab(tabs.garmentTab)
            break
        case "category":
            preselecting = false
            sel = Record.chooseCategory(sel, entry)
            tabs.openCount = 2
            tabs.grid("service").clear()
            tabs.grid("garment").reload(true)
            break
        case "garment":
            preselecting = false
            sel = Record.chooseGarment(sel, entry)
            tabs.openCount = 3
            tabs.grid("service").reload(false)
            openTab(tabs.serviceTab)
            break
        case "service":
            sel = Record.chooseService(sel, entry)
            if (Record.bySize(sel)) {
                sizeWindow.prompt = "每" + sel.garment.unitText + "衣物价格" + Record.priceText(entry.price) + "元"
                sizeWindow.open()
            } else {
                serviceReady()
            }
            break
        case "annex":
            sel = Record.toggle(sel, "annexes", entry)
            break
        case "flaw":
            sel = Record.toggle(sel, "flaws", entry)
            break
        case "effect":
            sel = Record.toggle(sel, "effects", entry)
            break
        case "colour":
            sel = Record.chooseColour(sel, entry.id === undefined ? { name: entry.name }
                                                                  : { id: String(entry.id), name: entry.name })
            openTab(tabs.flawTab)
            break
        case "brand":
            sel = Record.chooseBrand(sel, { id: String(entry.id), name: entry.name })
            openTab(tabs.addOnTab)
            break
        case "addOn":
            pendingAddOn = entry
            addOnWindow.title = "附加服务:" + entry.name
            addOnWindow.open()
            break
        }
    }

    // A service is chosen (and sized): the later tabs open at the accessories.
    function serviceReady() {
        tabs.openCount = tabs.names.length
        tabs.grid("annex").reload(true)
        openTab(tabs.annexTab)
    }

    function typedAdded(kind, name) {
        var typed = { id: kind === "addOn" || kind === "brand" ? "" : "null", name: name }
        if (kind === "colour")
            typed = { name: name }
        tabs.grid(kind).prepend(typed)
        if (kind === "annex")
            sel = Record.addTyped(sel, "annexes", name)
        else if (kind === "flaw")
            sel = Record.addTyped(sel, "flaws", name)
        else if (kind === "effect")
            sel = Record.addTyped(sel, "effects", name)
        else if (kind === "colour")
            sel = Record.chooseColour(sel, typed)
        else if (kind === "brand")
            sel = Record.chooseBrand(sel, typed)
    }

    function nextClicked(kind) {
        var next = { annex: tabs.colourTab, flaw: tabs.effectTab, effect: tabs.brandTab }
        if (next[kind] !== undefined)
            openTab(next[kind])
    }

    function refuse(text) {
        followUp.error(text)
    }

    function sizeTyped(text) {
        if (text.trim() === "")
            return
        var count = Record.typedCount(text)
        if (isNaN(count)) {
            refuse("请输入正确的衣物面积")
            return
        }
        sizeWindow.close()
        sel = Record.setSize(sel, count)
        serviceReady()
    }

    function addOnTyped(text) {
        if (text.trim() === "" || pendingAddOn === null)
            return
        var fen = Record.typedFen(text)
        if (isNaN(fen)) {
            refuse("请输入正确的金额")
            return
        }
        sel = Record.setAddOn(sel, pendingAddOn, fen)
        addOnWindow.close()
    }

    function subtotalTyped(text) {
        var fen = Record.typedFen(text)
        if (isNaN(fen)) {
            refuse("请输入正确的金额")
            return
        }
        subtotalWindow.close()
        sel = Record.setSubtotal(sel, fen)
    }

    ClothConversation {
        id: conversation
        messageBox: screen.messageBox
        onOrderLoaded: screen.tabs.grid("project").reload(false)
        onDetailLoaded: function (detail) { screen.detailArrived(detail) }
        onLoadFailed: function (text) {
            screen.loading = false
            if (text !== "")
                screen.followUp.error(text)
        }
        onPageLoaded: function (kind, page, rows, generation) { screen.pageArrived(kind, page, rows, generation) }
        onPageFailed: function (kind, generation) {
            screen.tabs.grid(kind).failed(generation)
            if (kind === "project")
                screen.loading = false
        }
        onSaved: {
            screen.garmentSaved(screen.keywords)
            screen.close()
        }
        // Confirmed, a save whose outcome is not known goes again.
        onSaveFailed: function (text, unresolved) {
            screen.followUp.error(text, unresolved ? function () { conversation.save(screen.sel) } : null)
        }
    }

    FollowUpBox { id: followUp; messageBox: screen.messageBox }

    Text {
        id: title
        text: "添加衣物"
        font.pixelSize: Theme.fontHeading
        color: Theme.textStrong
        anchors.horizontalCenter: parent.horizontalCenter
        y: Theme.spacingLarge
    }

    ClothTabs {
        id: tabs
        anchors.left: parent.left
        anchors.right: sidePanel.left
        anchors.top: title.bottom
        anchors.bottom: parent.bottom
        anchors.margins: Theme.spacingLarge
        chosenKeys: ({
            project: screen.sel.project ? [Record.keyOf(screen.sel.project)] : [],
            category: screen.sel.category ? [Record.keyOf(screen.sel.category)] : [],
            garment: screen.sel.garment ? [Record.keyOf(screen.sel.garment)] : [],
            service: screen.sel.service ? [Record.keyOf(screen.sel.service)] : [],
            colour: screen.sel.colour ? [Record.keyOf(screen.sel.colour)] : [],
            brand: screen.sel.brand ? [Record.keyOf(screen.sel.brand)] : [],
            annex: Record.keysOf(screen.sel.annexes),
            flaw: Record.keysOf(screen.sel.flaws),
            effect: Record.keysOf(screen.sel.effects),
            addOn: Record.keysOf(screen.sel.addOns)
        })
        onPageRequested: function (kind, page, fields, generation) {
            conversation.requestPage(kind, page, fields, generation, screen.sel)
        }
        onEntryClicked: function (kind, entry) { screen.entryClicked(kind, entry) }
        onTypedAdded: function (kind, name) { screen.typedAdded(kind, name) }
        onNextClicked: function (kind) { screen.nextClicked(kind) }
        onCurrentIndexChanged: screen.tabOpened(currentIndex)
    }

    ClothSidePanel {
        id: sidePanel
        objectName: "sidePanel"
        width: 340
        anchors.right: parent.right
        anchors.top: title.bottom
        anchors.bottom: parent.bottom
        anchors.margins: Theme.spacingLarge
        sel: screen.sel
        price: screen.price
        onRemoveClicked: function (listName, index) { screen.sel = Record.removeAt(screen.sel, listName, index) }
        onSubtotalClicked: subtotalWindow.open()
        onFinishClicked: conversation.save(screen.sel)
    }

    ClothInputWindow {
        id: sizeWindow
        objectName: "sizeWindow"
        title: "衣物面积"
        placeholder: "请输入衣物面积"
        validator: RegularExpressionValidator { regularExpression: /[0-9.]{0,10}/ }
        onAccepted: function (text) { screen.sizeTyped(text) }
    }
    ClothInputWindow {
        id: addOnWindow
        objectName: "addOnWindow"
        suffix: "元"
        maximumLength: 35
        validator: RegularExpressionValidator { regularExpression: /\d{0,35}/ }
        onAccepted: function (text) { screen.addOnTyped(text) }
        onClosed: screen.pendingAddOn = null
    }
    ClothInputWindow {
        id: subtotalWindow
        objectName: "subtotalWindow"
        title: "修改衣物金额"
        suffix: "元"
        validator: RegularExpressionValidator { regularExpression: /(\d[\d.]{0,20})?/ }
        onAccepted: function (text) { screen.subtotalTyped(text) }
    }

    LoadingShade { visible: screen.loading }
}
