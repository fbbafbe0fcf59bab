#pragma once

#include <cstdint>
#include <string>

#include <json/value.h>

#include "domain/states.h"
#include "domain/wallet.h"
#include "server/registry.h"

class Connection;
struct Call;

// Payments of orders. A payment is one request of the cashier: the coupon, what it takes from
// the member balance and the group pay card, and the rest by one means (PAY_MEANS). It is
// opened waiting, with its balance and card parts already taken from the member and the order
// held (orders.locked), and then either paid (its parts become trades, the order is paid) or
// closed (the parts go back, the order is free). A payment the terminal settles at once is
// opened and paid in the same call; a wallet payment waits for the customer, at most waitMs.
//
// Every amount is worked out here from the order, its coupon and the member's balance and
// card; the terminal only says which order, which coupon, whether the balance or the card goes
// in (with the balance or card balance it showed), and which means takes the rest. An order is
// paid once: a paid order answers "订单已支付" before anything else is looked at, so a cashier
// whose reply was lost may take that answer as its success.
namespace payments {

// How long a waiting payment waits for the customer before it is closed.
constexpr std::int64_t waitMs = 5 * 60 * 1000;

// A trade state (tradeState) as the terminal reads it: "0" waiting, "1" paid, "-1" failed,
// "2" closed.
int answer(int state);

// What the group pay card takes of `toPay` fen: `ratio` percent rounded down to whole fen,
// at most the card's balance.
std::int64_t cardShare(std::int64_t toPay, std::int64_t ratio, std::int64_t cardBalance);

struct Payment
{
    std::int64_t id = 0;
    std::string seq;
    std::int64_t orderId = 0;
    int status = tradeState::waiting;
    wallet::Trade wallet; // mode "" for a payment settled in its call
    std::int64_t toPay = 0;
    std::int64_t couponAmount = 0;
    std::int64_t balanceAmount = 0;
    std::int64_t cardAmount = 0;
    std::int64_t meansAmount = 0;
};

// ---- the cashier's requests (tradePay/...): each answers the payment as reply() does ----
//
// Each reads `orderId`, `cpnRelId` (the coupon, or none), `remark`; the split ones also
// `balance` (sent only when the balance goes in: the member's balance + gift balance as the
// cashier showed it, 409 when it moved) or `groupCardType` "41" with `cardBalance` (the card's
// balance as the cashier showed it, 409 when it moved).

// Paid in the call: the whole from the balance (`means` payMeans::balance, 409 "会员余额不足"
// when it cannot), or the rest in cash, or by one of the merchant's other means (`paySign`,
// which must name one: 400 "请选择支付方式").
Json::Value payAtOnce(Call &call, int means);
// The worker scanned the customer's payment code (`authCode`): the wallet pays at once,
// refuses (409, nothing kept), or waits for the customer to confirm on the phone.
Json::Value payByCode(Call &call, wallet::Kind kind);
// A QR code for the customer to scan (`codeUrl`): the payment waits until the wallet reports
// it paid (the stand-in /wallet/scan), the worker gives it up, or its time runs out.
Json::Value payByQr(Call &call, wallet::Kind kind);
// The trade's book (domain/wallet) for what the customer's wallet decides: its status query
// and the wallet stand-in move it through this.
wallet::Book book(Connection &db, std::int64_t id, std::int64_t now);
// The state of the payment `seq` (a status query): a scanned code that waits for the
// customer moves on; a payment whose time is up is closed; nothing else moves it.
Json::Value followPayment(Call &call, const Payment &p);
// The worker gave the order's payment up (`orderId`): whatever the order holds is released
// (its waiting payments closed, the balance and card parts given back, the order free), and
// nothing changes when it holds nothing. `payStatus` says whether it is paid after all.
Json::Value unlock(Call &call);

// ---- the pieces ---------------------------------------------------------------------------

// Pays a waiting payment: its parts become trades, the coupon is used, the order is paid.
void complete(Connection &db, std::int64_t paymentId, std::int64_t now);
// Ends a waiting payment unpaid (tradeState::failed or closed): the parts go back, the order
// is free.
void close(Connection &db, std::int64_t paymentId, int state, std::int64_t now);
// Closes the order's waiting payments whose time is up, or with `all` every one.
void closeWaiting(Connection &db, std::int64_t orderId, std::int64_t now, bool all);
// Closes the waiting payments whose time is up of every order of the member: a payment holds
// the member's balance and card share as well as its order.
void closeExpiredOfMember(Connection &db, std::int64_t userId, std::int64_t now);
// Whether a waiting payment holds the order at `now`.
bool held(Connection &db, std::int64_t orderId, std::int64_t now);

Payment load(Connection &db, std::int64_t paymentId);
// The payment of that sequence number; false when there is none.
bool findBySeq(Connection &db, const std::string &seq, Payment &out);

// What the terminal is told of a payment: seq, status, orderId, payAmount (to pay), couponAmt,
// balanceAmt, cardAmt, amount (by the means).
Json::Value reply(const Payment &p);

// ---- expired payments closed before a call looks ------------------------------------------
//
// Upkeeps (server/registry.h) of the endpoints that show what a payment holds (the order's
// lock, the member's balance and card) or act on the order: the member's expired payments are
// closed in a transaction of their own before the call, so that stays done even when the call
// only reads or is refused. They run before the caller is identified and do only what time
// has decided already, found by the field the call sends:
Upkeep expiredOfMember(const char *memberField);        // a member's id
Upkeep expiredOfOrder(const char *orderField);          // an order's id
Upkeep expiredOfGarment(const char *garmentField);      // a garment's id
Upkeep expiredOfOrderNumber(const char *keywordsField); // an order number or its waybill

} // namespace payments
