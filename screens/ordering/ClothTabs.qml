import QtQuick 2.15
import QtQuick.Controls 2.15
import Brenvo 1.0

// The garment entry's tabs, one catalogue list each (the garment tab also lists the
// categories). A tab opens once what it depends on is chosen: `openCount` tabs from the
// left are open. The grids' signals come out here, named by the grid's kind.
Item {
    id: tabs

    readonly property var names: ["项目", "衣物", "服务", "附件", "颜色", "瑕疵", "预计效果", "品牌", "附加"]
    readonly property int projectTab: 0
    readonly property int garmentTab: 1
    readonly property int serviceTab: 2
    readonly property int annexTab: 3
    readonly property int colourTab: 4
    readonly property int flawTab: 5
    readonly property int effectTab: 6
    readonly property int brandTab: 7
    readonly property int addOnTab: 8

    property int openCount: 1
    property int currentIndex: 0
    // Keys of the chosen entries, by kind.
    property var chosenKeys: ({})

    signal pageRequested(string kind, int page, var fields, int generation)
    signal entryClicked(string kind, var entry)
    signal typedAdded(string kind, string name)
    signal nextClicked(string kind)

    readonly property var grids: [projectGrid, categoryGrid, garmentGrid, serviceGrid, annexGrid,
                                  colourGrid, flawGrid, effectGrid, brandGrid, addOnGrid]

    function grid(kind) {
        for (var i = 0; i < grids.length; ++i)
            if (grids[i].kind === kind)
                return grids[i]
        return null
    }

    function open(index) {
        if (index < openCount)
            currentIndex = index
    }

    Component.onCompleted: {
        for (var i = 0; i < grids.length; ++i) {
            grids[i].pageRequested.connect(tabs.pageRequested)
            grids[i].entryClicked.connect(tabs.entryClicked)
            grids[i].typedAdded.connect(tabs.typedAdded)
            grids[i].nextClicked.connect(tabs.nextClicked)
        }
    }

    // The nine tabs share the width they are given, at most 96 each: beside the side panel of
    // the terminal's window they are narrower, and the last one stays in sight.
    Row {
        id: tabRow
        spacing: Theme.spacingTiny
        readonly property real tabWidth: Math.min(96, Math.floor((tabs.width - spacing * (tabs.names.length - 1))
                                                               / tabs.names.length))
        Repeater {
            model: tabs.names
            delegate: Rectangle {
                id: tab
                required property string modelData
                required property int index
                readonly property bool isOpen: index < tabs.openCount
                objectName: "tab:" + modelData
                width: tabRow.tabWidth
                height: 40
                radius: Theme.radiusSmall
                color: tabs.currentIndex === index ? Theme.primary : Theme.tabBar
                opacity: isOpen ? 1 : 0.4
                Text {
                    anchors.centerIn: parent
                    text: tab.modelData
                    font.pixelSize: Theme.fontMedium
                    color: tabs.currentIndex === tab.index ? Theme.textOnDark : Theme.tabText
                }
                MouseArea {
                    anchors.fill: parent
                    enabled: tab.isOpen
                    onClicked: tabs.open(tab.index)
                }
            }
        }
    }

    // Every page keeps its size while hidden, so a grid is laid out before its tab opens.
    Item {
        id: pages
        anchors.top: tabRow.bottom
        anchors.topMargin: Theme.spacingMedium
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom

        CatalogueGrid {
            id: projectGrid
            anchors.fill: parent
            visible: tabs.currentIndex === tabs.projectTab
            kind: "project"
            selectedKeys: tabs.chosenKeys.project || []
        }
        Item {
            id: garmentPage
            anchors.fill: parent
            visible: tabs.currentIndex === tabs.garmentTab
            CatalogueGrid {
                id: categoryGrid
                kind: "category"
                width: 150
                height: parent.height
                cellWidth: 150
                selectedKeys: tabs.chosenKeys.category || []
            }
            CatalogueGrid {
                id: garmentGrid
                kind: "garment"
                paged: true
                searchable: true
                anchors.left: categoryGrid.right
                anchors.leftMargin: Theme.spacingMedium
                anchors.right: parent.right
                height: parent.height
                selectedKeys: tabs.chosenKeys.garment || []
            }
        }
        CatalogueGrid {
            id: serviceGrid
            anchors.fill: parent
            visible: tabs.currentIndex === tabs.serviceTab
            kind: "service"
            detailRole: "price"
            selectedKeys: tabs.chosenKeys.service || []
        }
        CatalogueGrid {
            id: annexGrid
            anchors.fill: parent
            visible: tabs.currentIndex === tabs.annexTab
            kind: "annex"
            paged: true
            searchable: true
            addable: true
            nextVisible: true
            selectedKeys: tabs.chosenKeys.annex || []
        }
        CatalogueGrid {
            id: colourGrid
            anchors.fill: parent
            visible: tabs.currentIndex === tabs.colourTab
            kind: "colour"
            paged: true
            searchable: true
            addable: true
            selectedKeys: tabs.chosenKeys.colour || []
        }
        CatalogueGrid {
            id: flawGrid
            anchors.fill: parent
            visible: tabs.currentIndex === tabs.flawTab
            kind: "flaw"
            paged: true
            searchable: true
            addable: true
            nextVisible: true
            selectedKeys: tabs.chosenKeys.flaw || []
        }
        CatalogueGrid {
            id: effectGrid
            anchors.fill: parent
            visible: tabs.currentIndex === tabs.effectTab
            kind: "effect"
            paged: true
            searchable: true
            addable: true
            nextVisible: true
            cellWidth: 210
            selectedKeys: tabs.chosenKeys.effect || []
        }
        CatalogueGrid {
            id: brandGrid
            anchors.fill: parent
            visible: tabs.currentIndex === tabs.brandTab
            kind: "brand"
            paged: true
            searchable: true
            addable: true
            selectedKeys: tabs.chosenKeys.brand || []
        }
        CatalogueGrid {
            id: addOnGrid
            anchors.fill: parent
            visible: tabs.currentIndex === tabs.addOnTab
            kind: "addOn"
            paged: true
            searchable: true
            addable: true
            selectedKeys: tabs.chosenKeys.addOn || []
        }
    }
}
