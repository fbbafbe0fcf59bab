import QtQuick 2.15
import QtTest 1.2
import "qrc:/payment.js" as Payment

// The rules of taking a payment: what is still to collect in whole fen, which switches are
// offered, change, when a scanned code may go out, and the fields of each payment request.
TestCase {
    name: "Payment"

    function figures(f) {
        var s = { toPay: 0, balance: 0, useBalance: false, couponForbidsBalance: false,
                  cardEnabled: false, cardBalance: 0, cardRatio: 0, useCard: false }
        for (var k in f)
            s[k] = f[k]
        return s
    }

    function test_still_to_collect_data() {
        return [
            { tag: "30.00, balance 50.00 on: all from the balance", s: { toPay: 3000, balance: 5000, useBalance: true }, fen: -2000 },
            { tag: "30.00, balance 10.00 on", s: { toPay: 3000, balance: 1000, useBalance: true }, fen: 2000 },
            { tag: "balance off", s: { toPay: 3000, balance: 1000, useBalance: false }, fen: 3000 },
            { tag: "coupon forbids the balance", s: { toPay: 3000, balance: 1000, useBalance: true, couponForbidsBalance: true }, fen: 3000 },
            { tag: "card 50 % of 33.33, card 100.00", s: { toPay: 3333, cardEnabled: true, cardBalance: 10000, cardRatio: 50, useCard: true }, fen: 1667 },
            { tag: "card 100 % of 30.00, card 10.00", s: { toPay: 3000, cardEnabled: true, cardBalance: 1000, cardRatio: 100, useCard: true }, fen: 2000 },
            { tag: "card covers all", s: { toPay: 3000, cardEnabled: true, cardBalance: 5000, cardRatio: 100, useCard: true }, fen: 0 },
            { tag: "card with an empty balance", s: { toPay: 3000, cardEnabled: true, cardBalance: 0, cardRatio: 50, useCard: true }, fen: 3000 },
            { tag: "19.99 left after a coupon", s: { toPay: 1999 }, fen: 1999 },
            { tag: "nothing to pay", s: { toPay: 0, balance: 0, useBalance: true }, fen: 0 }
        ]
    }
    function test_still_to_collect(row) {
        compare(Payment.stillToCollect(figures(row.s)), row.fen)
    }

    function test_card_share_rounds_down() {
        compare(Payment.cardShare(3333, 50, 10000), 1666)
        compare(Payment.cardShare(3333, 33, 10000), 1099)
        compare(Payment.cardShare(3000, 100, 1000), 1000)
        compare(Payment.cardShare(3000, 50, 0), 0)
    }

    function test_switches_offered_data() {
        return [
            { tag: "balance and something to pay", s: { toPay: 3000, balance: 100 }, balance: true },
            { tag: "no balance", s: { toPay: 3000, balance: 0 }, balance: false },
            { tag: "coupon forbids", s: { toPay: 3000, balance: 100, couponForbidsBalance: true }, balance: false },
            { tag: "nothing to pay", s: { toPay: 0, balance: 100 }, balance: false },
            { tag: "card with a balance", s: { toPay: 3000, cardEnabled: true, cardBalance: 1 }, card: true },
            { tag: "card empty", s: { toPay: 3000, cardEnabled: true, cardBalance: 0 }, card: false },
            { tag: "card, nothing to pay", s: { toPay: 0, cardEnabled: true, cardBalance: 100 }, card: false }
        ]
    }
    function test_switches_offered(row) {
        if (row.balance !== undefined)
            compare(Payment.balanceOffered(figures(row.s)), row.balance)
        if (row.card !== undefined)
            compare(Payment.cardOffered(figures(row.s)), row.card)
    }

    // The balance and the card never count together, whatever the switches say.
    function test_balance_wins_over_card() {
        var s = figures({ toPay: 3000, balance: 1000, useBalance: true, cardEnabled: true,
                          cardBalance: 5000, cardRatio: 50, useCard: true })
        verify(Payment.usesBalance(s))
        verify(!Payment.usesCard(s))
        compare(Payment.stillToCollect(s), 2000)
    }

    function test_change_data() {
        return [
            { tag: "25 for 20.00", received: "25", due: 2000, change: 500 },
            { tag: "exact", received: "20.00", due: 2000, change: 0 },
            { tag: "19.99 for 19.99", received: "19.99", due: 1999, change: 0 },
            { tag: "too little", received: "19.98", due: 1999, change: -1 },
            { tag: "two points", received: "1.2.3", due: 100, change: NaN },
            { tag: "empty", received: "", due: 100, change: NaN }
        ]
    }
    function test_change(row) {
        var c = Payment.change(row.received, row.due)
        if (isNaN(row.change))
            verify(isNaN(c))
        else
            compare(c, row.change)
        compare(Payment.cashCovers(row.received, row.due), !isNaN(row.change) && row.change >= 0)
    }

    function test_received_field_takes_a_digit_first() {
        verify(Payment.receivedPattern.test("25"))
        verify(Payment.receivedPattern.test("2.5"))
        verify(!Payment.receivedPattern.test(".5"))
        verify(!Payment.receivedPattern.test("1a"))
        verify(Payment.receivedPattern.test("1" + new Array(35).join("0")))
        verify(!Payment.receivedPattern.test("1" + new Array(36).join("0")))
    }

    function test_code_goes_out_once_data() {
        return [
            { tag: "a code", text: "134567890123456789", busy: false, ready: true },
            { tag: "while a payment is out", text: "134567890123456789", busy: true, ready: false },
            { tag: "empty", text: "", busy: false, ready: false },
            { tag: "short codes go to the backend, which says why", text: "1234", busy: false, ready: true }
        ]
    }
    function test_code_goes_out_once(row) {
        compare(Payment.codeReady(row.text, row.busy), row.ready)
    }

    function test_code_field_takes_35_digits() {
        verify(Payment.codeAccepted(new Array(36).join("1")))
        verify(!Payment.codeAccepted(new Array(37).join("1")))
        verify(!Payment.codeAccepted("12a"))
    }

    function test_first_means() {
        compare(Payment.firstMeans({ wechat: true, alipay: true, cash: true, other: true }), "wechat")
        compare(Payment.firstMeans({ wechat: false, alipay: true, cash: true, other: false }), "alipay")
        compare(Payment.firstMeans({ wechat: false, alipay: false, cash: false, other: true }), "other")
        compare(Payment.firstMeans({}), "")
    }

    function test_request_data() {
        var withBalance = { toPay: 3000, balance: 1000, useBalance: true }
        var forbidden = { toPay: 3000, balance: 1000, useBalance: true, couponForbidsBalance: true }
        var card = { toPay: 3333, cardEnabled: true, cardBalance: 10000, cardRatio: 50, useCard: true }
        var cardAll = { toPay: 3000, cardEnabled: true, cardBalance: 9000, cardRatio: 100, useCard: true }
        return [
            { tag: "whole from the balance", mode: "whole", s: { toPay: 3000, balance: 5000, useBalance: true, couponId: "7" },
              path: "tradePay/balancePay", fields: { orderId: "12", cpnRelId: "7", remark: "" } },
            { tag: "whole by the card", mode: "whole", s: cardAll,
              path: "tradePay/confirmPay", fields: { orderId: "12", remark: "", groupCardType: "41", cardBalance: "9000" } },
            { tag: "cash with the balance", mode: "cash", s: withBalance,
              path: "tradePay/confirmPay", fields: { orderId: "12", remark: "", groupCardType: "", balance: "1000" } },
            { tag: "cash, coupon without the balance", mode: "cash", s: forbidden,
              path: "tradePay/confirmPay", fields: { orderId: "12", remark: "", groupCardType: "" } },
            { tag: "cash with the card", mode: "cash", s: card,
              path: "tradePay/confirmPay", fields: { orderId: "12", remark: "", groupCardType: "41", cardBalance: "10000" } },
            { tag: "other means", mode: "other", s: { toPay: 100, paySign: "5", remark: "刷卡" },
              path: "tradePay/otherPay", fields: { orderId: "12", remark: "刷卡", groupCardType: "", paySign: "5" } },
            { tag: "other, none chosen", mode: "other", s: { toPay: 100, paySign: "", remark: "" },
              path: "tradePay/otherPay", fields: { orderId: "12", remark: "", groupCardType: "" } },
            { tag: "wechat scan", mode: "wechatScan", s: { toPay: 100, authCode: "134567890123456789" },
              path: "tradePay/wxMicroPay", fields: { orderId: "12", remark: "", groupCardType: "", authCode: "134567890123456789" } },
            { tag: "alipay scan with the balance", mode: "alipayScan", s: { toPay: 3000, balance: 1000, useBalance: true, authCode: "284567890123456789" },
              path: "tradePay/aliMicroPay", fields: { orderId: "12", remark: "", groupCardType: "", authCode: "284567890123456789", balance: "1000" } },
            { tag: "wechat QR", mode: "wechatQr", s: { toPay: 100 },
              path: "tradePay/wxUnifiedOrder", fields: { orderId: "12", remark: "", groupCardType: "", authCode: "" } },
            { tag: "alipay QR with the card", mode: "alipayQr", s: card,
              path: "tradePay/aliUnifiedOrder", fields: { orderId: "12", remark: "", groupCardType: "41", authCode: "", cardBalance: "10000" } }
        ]
    }
    function test_request(row) {
        var s = figures(row.s)
        s.orderId = 12
        s.couponId = row.s.couponId || ""
        s.paySign = row.s.paySign
        s.remark = row.s.remark
        s.authCode = row.s.authCode
        var request = Payment.paymentRequest(row.mode, s)
        compare(request.path, row.path)
        compare(request.fields, row.fields)
    }

    // A refused payment read again: did the balance or the card balance it named move?
    function test_balance_moved_data() {
        return [
            { tag: "balance as sent", sent: { balance: "1000" }, now: { balance: 1000 }, moved: false },
            { tag: "balance moved", sent: { balance: "1000" }, now: { balance: 500 }, moved: true },
            { tag: "card as sent", sent: { cardBalance: "4294967301" }, now: { cardBalance: 4294967301 }, moved: false },
            { tag: "card moved", sent: { cardBalance: "10000" }, now: { cardBalance: 8000 }, moved: true },
            { tag: "neither sent", sent: {}, now: { balance: 5, cardBalance: 6 }, moved: false }
        ]
    }
    function test_balance_moved(row) { compare(Payment.balanceMoved(row.sent, row.now), row.moved) }

    // "订单已支付" is a lost payment gone through only for a payment of the same amount
    // whose outcome was not known.
    function test_paid_before_data() {
        return [
            { tag: "same amount", msg: "订单已支付", unsettled: { toPay: 3000 }, toPay: 3000, paid: true },
            { tag: "another amount", msg: "订单已支付", unsettled: { toPay: 3000 }, toPay: 2500, paid: false },
            { tag: "nothing unknown", msg: "订单已支付", unsettled: null, toPay: 3000, paid: false },
            { tag: "another refusal", msg: "订单正在支付中，请稍后再试", unsettled: { toPay: 3000 }, toPay: 3000, paid: false }
        ]
    }
    function test_paid_before(row) { compare(Payment.paidBefore(row.msg, row.unsettled, row.toPay), row.paid) }

    function test_status_texts() {
        compare(Payment.statusText("-1"), "交易失败")
        compare(Payment.statusText("0"), "交易中")
        compare(Payment.statusText("1"), "交易成功")
        compare(Payment.statusText("2"), "交易撤销")
        compare(Payment.statusTone("1"), "good")
        compare(Payment.statusTone("2"), "bad")
        compare(Payment.statusTone("0"), "")
    }

    function test_qr_picture_named_by_the_last_ten_characters() {
        compare(Payment.qrImageSource("weixin://wxpay/bizpayurl?pr=5261130120000000123"),
                "image://imageProvider/qrpic/0000000123.jpg")
        compare(Payment.qrImageSource(""), "")
    }

    function test_replies_that_are_not_json_do_not_throw() {
        compare(Payment.paySignList("<html>502</html>"), [])
        compare(Payment.paySignList(""), [])
        compare(Payment.paySignList('{"httpCode":200,"data":{"paySignList":[{"val":5,"showName":"银行卡","name":"bank"}]}}'),
                [{ val: "5", showName: "银行卡", name: "bank" }])
    }
}
