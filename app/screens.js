.pragma library
.import Brenvo 1.0 as Brenvo

// Opens a screen from the resources over `parent`. A screen fills its parent and swallows
// the clicks, so what lies below stays alive but out of reach. Returns the screen, or null
// (with the reason logged) when it cannot be created.
function open(parent, name, properties) {
    var component = Qt.createComponent("qrc:/" + name + ".qml")
    if (component.status !== 1 /* Component.Ready */) {
        console.warn(Brenvo.Logs.app, "cannot open " + name + ": " + component.errorString())
        return null
    }
    var screen = component.createObject(parent, properties || {})
    if (screen === null)
        console.warn(Brenvo.Logs.app, "cannot create " + name)
    else if (screen.isScreen !== true)
        console.warn(Brenvo.Logs.app, name + " has no isScreen: it would not be closed with its opener")
    return screen
}

// Closes `screen` and every screen opened over it, the ones on top first. A screen that
// went with the one below it would see its parent vanish while its own bindings still run.
function close(screen) {
    closeAll(screen)
    if (typeof screen.handBack === "function")
        screen.handBack()
    screen.destroy()
}

// Closes every screen opened over `host` (or over any item inside it), top first.
function closeAll(host) {
    var items = host.children
    for (var i = items.length - 1; i >= 0; --i) {
        if (items[i].isScreen === true)
            close(items[i])
        else
            closeAll(items[i])
    }
}
