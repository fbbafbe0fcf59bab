pragma Singleton
import QtQml 2.15

// The screens' logging categories, one per area, named in this one place. A screen writes
// `console.log(Logs.members, "…")`, so support can turn on or off one area's lines
// (QT_LOGGING_RULES="brenvo.screens.pickup.debug=true") like any native subsystem's.
// Console lines without a category go to "brenvo.screens" (app/applogging.cpp).
QtObject {
    readonly property LoggingCategory app: LoggingCategory { name: "brenvo.app" }
    readonly property LoggingCategory common: LoggingCategory { name: "brenvo.screens.common" }
    readonly property LoggingCategory ordering: LoggingCategory { name: "brenvo.screens.ordering" }
    readonly property LoggingCategory pickup: LoggingCategory { name: "brenvo.screens.pickup" }
    readonly property LoggingCategory logistics: LoggingCategory { name: "brenvo.screens.logistics" }
    readonly property LoggingCategory members: LoggingCategory { name: "brenvo.screens.members" }
    readonly property LoggingCategory reports: LoggingCategory { name: "brenvo.screens.reports" }
    readonly property LoggingCategory books: LoggingCategory { name: "brenvo.screens.books" }
}
