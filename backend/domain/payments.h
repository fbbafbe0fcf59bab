#pragma once

#include <cstdint>
#include <string>

#include <json/value.h>

class Connection;

// Payments of orders. A payment is one request of the cashier: the coupon, what it takes from
// the member balance and the group pay card, and the rest by one means (PAY_MEANS). It is
// opened waiting, with its balance and card parts already taken from the member and the order
// held (orders.locked), and then either paid (its parts become trades, the order is paid) or
// closed (the parts go back, the order is free). A payment the terminal settles at once is
// opened and paid in the same call; a wallet payment waits for the customer.
namespace payments {

enum Status { waiting = 0, paid = 1, failed = 2, closed = 3 };

// How long a waiting payment waits for the customer before it is closed.
constexpr std::int64_t waitMs = 5 * 60 * 1000;

// The status as the terminal reads it: "0" waiting, "1" paid, "-1" failed, "2" closed.
int answer(int status);

// What the group pay card takes of `toPay` fen: `ratio` percent rounded down to whole fen,
// at most the card's balance.
std::int64_t cardShare(std::int64_t toPay, std::int64_t ratio, std::int64_t cardBalance);

struct Parts
{
    std::int64_t orderId = 0;
    std::int64_t userId = 0;
    std::int64_t storeId = 0;
    std::int64_t workerId = 0;
    int means = 1;          // PAY_MEANS of the rest
    std::string walletMode; // "micro", "native" or ""
    std::int64_t toPay = 0;
    std::int64_t couponId = 0;
    std::int64_t couponAmount = 0;
    std::int64_t balanceAmount = 0;
    std::int64_t cardAmount = 0;
    std::int64_t meansAmount = 0;
    std::string authCode, paySign, remark;
    int walletSteps = 0;
    bool walletPays = true;
};

struct Payment
{
    std::int64_t id = 0;
    std::string seq;
    std::int64_t orderId = 0;
    int status = waiting;
    std::string walletMode;
    int walletSteps = 0;
    bool walletPays = true;
    std::int64_t toPay = 0;
    std::int64_t couponAmount = 0;
    std::int64_t balanceAmount = 0;
    std::int64_t cardAmount = 0;
    std::int64_t meansAmount = 0;
    std::int64_t expiresAt = 0;
};

// Opens a waiting payment: takes its balance part (paid-in balance first, then the gift
// balance) and its card part from the member and holds the order.
Payment open(Connection &db, const Parts &parts, std::int64_t now);
// Pays a waiting payment: its parts become trades, the coupon is used, the order is paid.
void complete(Connection &db, std::int64_t paymentId, std::int64_t now);
// Ends a waiting payment unpaid (failed or closed): the parts go back, the order is free.
void close(Connection &db, std::int64_t paymentId, Status status, std::int64_t now);
// Closes the order's waiting payments whose time is up, or with `all` every one.
void closeWaiting(Connection &db, std::int64_t orderId, std::int64_t now, bool all);
// Whether a waiting payment holds the order at `now`.
bool held(Connection &db, std::int64_t orderId, std::int64_t now);

Payment load(Connection &db, std::int64_t paymentId);
// The payment of that sequence number; false when there is none.
bool findBySeq(Connection &db, const std::string &seq, Payment &out);

// What the terminal is told of a payment: seq, status, orderId, payAmount (to pay), couponAmt,
// balanceAmt, cardAmt, amount (by the means).
Json::Value reply(const Payment &p);

} // namespace payments
