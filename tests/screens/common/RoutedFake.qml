import QtQuick 2.15
import BrenvoTest 1.0
import "fakeroutes.js" as Routes

// A fake backend of the test's own that answers each call from `routes` (a path and its
// answer, see fakeroutes.js) as soon as there is an answer for it; `answered` marks the calls
// answered. start() points the screens at it, stop() back at the reference backend. A test
// may also put `fake` in another FakeBackend mode ("down", "html502", "truncated") or answer
// a held call itself (fake.answerHeld), in an order of its choosing.
Item {
    id: routed

    property var testCase
    property var fake: null
    property var routes: ({})
    property var answered: ({})

    function start() {
        fake = testCase.createTemporaryObject(fakeComponent, testCase)
        fake.setMode("hold")
        routes = {}
        answered = {}
        TestSupport.setEnv("BRENVO_BACKEND_URL", fake.url)
    }

    function stop() {
        fake = null
        TestSupport.setEnv("BRENVO_BACKEND_URL", TestSupport.backendUrl)
    }

    Component { id: fakeComponent; FakeBackend {} }

    Timer {
        interval: 5
        repeat: true
        running: routed.fake !== null
        onTriggered: Routes.answer(routed.fake, routed.routes, routed.answered)
    }
}
