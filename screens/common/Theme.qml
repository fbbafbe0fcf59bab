pragma Singleton
import QtQuick 2.15

// The terminal's colours, type sizes, spacings and corner radii. Screens name a role here
// instead of writing a colour or a size of their own, so the look stays one look.
QtObject {
    // --- Colours ---------------------------------------------------------------------
    // Full-window backgrounds: the sign-in panel and the menu fade from night to sky blue.
    readonly property color gradientTop: "#0B2D63"
    readonly property color gradientBottom: "#A4DDF4"
    readonly property color page: "#f2f4f7"        // behind a working screen's cards
    readonly property color settingsPage: "#f5f5f5" // behind the settings screen's panels
    readonly property color card: "white"          // panels, windows, rows
    readonly property color cardAlt: "#fafafa"     // every other row, inactive fields
    readonly property color tabBar: "#f7f7f7"
    readonly property color selected: "#f0f6ff"    // a chosen or pressed row
    readonly property color selectedStrong: "#e8f2ff" // the suggestion under the mouse
    readonly property color hover: "#f5f5f5"
    readonly property color ticked: "#fffbce"      // a member ticked in the member list

    readonly property color text: "#333333"
    readonly property color textStrong: "#303133"  // titles
    readonly property color textRegular: "#606266"
    readonly property color textSecondary: "#909399"
    readonly property color textMuted: "#999999"
    readonly property color textOnDark: "white"
    readonly property color textFaint: "#666666"
    readonly property color tabText: "black"       // a tab's label while another is chosen
    readonly property color hint: "grey"           // what to do next, under a picture
    readonly property color amount: "#f56c6c"      // sums of money: balance, coupon value

    readonly property color line: "#e4e7ed"
    readonly property color lineLight: "#ebeef5"
    readonly property color lineInput: "#dcdfe6"
    readonly property color border: "#e0e0e0"
    readonly property color separator: "#cdcdcd"
    readonly property color divider: "#eeeeee"

    readonly property color primary: "#409eff"      // links, chosen tabs, primary buttons
    readonly property color primaryLight: "#ecf5ff"
    readonly property color action: "#479fff"       // the sign-in button; settings: chosen section, back link
    readonly property color actionPressed: "#3b78bc"
    readonly property color actionPale: "#a3dbef"
    readonly property color success: "#67c23a"      // a done tick, the customer's WeChat name
    readonly property color successStrong: "#00c800" // the chosen sign-in tab's label
    readonly property color wechat: "#1AAD19"
    readonly property color warning: "#e6a23c"      // the corporate customer's badge
    readonly property color warningLight: "#fdf6ec" // a coupon, with warningLine around it
    readonly property color warningLine: "#f3d19e"
    readonly property color danger: "#f56c6c"
    readonly property color dangerStrong: "#ff4949"
    readonly property color dangerPressed: "#B23232"
    readonly property color neutralLight: "#f4f4f5"
    // The version row of the settings' about page: up to date, or an update is waiting.
    readonly property color versionCurrent: "#1AAD19"
    readonly property color versionOutdated: "red"

    readonly property color leftBar: "black"
    readonly property color leftBarLine: "#555555"
    readonly property color credit: "#9b9b9b"

    readonly property color shade: "#80000000"        // behind a pop-up window
    readonly property color loadingShade: "#99000000" // while a screen loads
    readonly property color quitShade: "black"
    readonly property color bannerShade: "black"      // with bannerOpacity
    readonly property real bannerOpacity: 0.3
    readonly property color imageShade: "#66000000"
    readonly property color busyShade: "#66000000"    // while a blocking system call runs (the printer list)
    readonly property color viewfinder: "black"      // behind the camera's picture

    // --- Type sizes (pixels) --------------------------------------------------------
    readonly property int fontTiny: 10
    readonly property int fontSmall: 13
    readonly property int fontNormal: 14
    readonly property int fontBody: 15
    readonly property int fontMedium: 16
    readonly property int fontMainButton: 17  // a form's one main button ("提交下单")
    readonly property int fontLarge: 18
    readonly property int fontTitle: 20
    readonly property int fontHeading: 24
    readonly property int fontBanner: 32
    readonly property int fontHuge: 48

    readonly property string fontFamily: "微软雅黑"

    // --- Spacing (pixels) -----------------------------------------------------------
    // Between and around items: the lines of one block, the items of a row, the blocks of
    // a card, a screen's edge, the gap that sets a block apart.
    readonly property int spacingTiny: 4
    readonly property int spacingSmall: 8
    readonly property int spacingMedium: 12
    readonly property int spacingLarge: 20
    readonly property int spacingHuge: 40

    // --- Corner radii (pixels) ------------------------------------------------------
    readonly property int radiusSmall: 4   // fields, choices, buttons
    readonly property int radiusMedium: 6  // rows, side panels, small cards
    readonly property int radiusLarge: 8   // cards and windows
    readonly property int radiusHuge: 20   // the menu's banner and its round buttons

    // --- Charts ------------------------------------------------------------------------
    // The parts of a chart of shares, in the order of the lines beside it; the ring with
    // nothing to share; the bars of a trend, the one shown, and one below zero.
    readonly property var chartColors: ["#409eff", "#67c23a", "#e6a23c", "#9b59b6", "#f56c6c", "#909399"]
    readonly property color chartEmpty: "#ebeef5"
    readonly property color chartBar: "#a0cfff"
    readonly property color chartBarShown: "#409eff"
    readonly property color chartBarBelow: "#f56c6c"
}
