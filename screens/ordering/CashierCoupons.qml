import QtQuick 2.15
import Brenvo 1.0
import "coupon.js" as Coupon

// The cashier's coupon requests: the coupons the order may use, using one and letting it go,
// and redeeming a coupon code for the customer.
Item {
    id: coupons
    visible: false

    // The cashier's BackendRequest.
    property var backend: null
    property string orderId: ""
    property string userIds: ""
    // The last list (Coupon.listKeys of each coupon).
    property var list: []
    property bool none: false

    signal listed(bool any)
    signal listFailed(string reply, bool unreachable)
    signal codeExchanged()
    signal codeRefused(string reason)

    function load() {
        if (backend.busy("CouponInfo"))
            return
        backend.call("CouponInfo", "couponInfo/orderList", { orderId: orderId }, function (reply) {
            var rows = coupons.backend.listOf(reply, Coupon.listKeys, 0)
            coupons.list = rows
            coupons.none = rows.length === 0
            coupons.listed(rows.length > 0)
        }, function (reply, unreachable) { coupons.listFailed(reply, unreachable) })
    }

    // The backend is told of the choice the screen already shows; the list is reloaded. A
    // refusal is only logged: the screen keeps the choice, and the payment names its coupon.
    // Each is a write: after a lost answer, the same click sends the very same request.
    function use(id) {
        send("UseCoupon", "couponInfo/use", id)
    }

    function release(id) {
        send("UnUseCoupon", "couponInfo/unused", id)
    }

    function send(tag, path, id) {
        backend.write(tag, path, { orderId: orderId, relId: String(id) }, function () {
            coupons.load()
        }, function (reply) {
            console.log(Logs.ordering, "Cashier: " + tag + " failed: " + reply)
        })
    }

    // A code whose answer was lost, typed again, is sent as the very same request.
    function exchange(code) {
        backend.write("ExchangeDisCode", "couponFCode/exchangeCode", { code: code, userId: userIds },
                      function () {
                          coupons.codeExchanged()
                          coupons.load()
                      }, function (reply, unreachable) {
                          coupons.codeRefused(coupons.backend.failureText(unreachable))
                      })
    }
}
