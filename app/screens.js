.pragma library

// Opens a screen from the resources over `parent`. A screen fills its parent and swallows
// the clicks, so what lies below stays alive but out of reach. Returns the screen, or null
// (with the reason logged) when it cannot be created.
function open(parent, name, properties) {
    var component = Qt.createComponent("qrc:/" + name + ".qml")
    if (component.status !== 1 /* Component.Ready */) {
        console.warn("cannot open " + name + ": " + component.errorString())
        return null
    }
    var screen = component.createObject(parent, properties || {})
    if (screen === null)
        console.warn("cannot create " + name)
    return screen
}
