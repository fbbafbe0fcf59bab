#pragma once

#include <cstdint>
#include <string>

#include <json/value.h>

#include "domain/pickup.h"

struct Call;
struct Page;
class Connection;
class Conditions;

// The store's books: the order book's pages, each order with what it offers, and voiding an
// order. What an order of the book offers is decided here once: the book shows it as flags,
// and orderInfo/destroy refuses what it does not allow.
namespace books {

// What an order's offers follow from: the order as the counter sees it, and how many of its
// garments are still at the counter (taken in, waiting for a bag: 已收衣).
struct Facts
{
    pickup::OrderState order;
    int atCounter = 0;
};

struct Offers
{
    bool pay = false;     // 收款
    bool credit = false;  // 赊账
    bool destroy = false; // 作废
    bool print = false;   // 打小票
    bool stockIn = false; // 入库: the intake is not finished
    bool batchIn = false; // 入袋: a garment waits for a bag
};

Offers offers(const Facts &f);
// Why the order may not be voided, or "" when it may: a voided, completed, paid or paying
// order may not, nor one with a refund request waiting or a garment past the counter (in a
// bag, at the factory, back from it or handed out).
std::string voidRefusal(const Facts &f);

// A page of the orders `where` selects (conditions on the orders table `o`), newest first,
// as the order book lists them: the order, its customer, its notes (`remarkJson`), its
// garments (`business`) and accessories (`annexCnt`) and its offers as the flags `isEnable…`.
Json::Value orderPage(Connection &db, const Conditions &where, const Page &page, std::int64_t now);

// Voids the order (已作废) for `remark`, once: refused with 409 and voidRefusal's reason. A
// coupon it held is free again.
void destroy(Connection &db, std::int64_t orderId, std::int64_t workerId, const std::string &remark,
             std::int64_t now);

// The order's track (orderInfo/detail's `statusList`, oldest first) with the moment its
// garments were washed ("已洗完": the last of them back from the factory), once all of them
// are.
void addWashedStep(Connection &db, std::int64_t orderId, Json::Value &statusList);

// The local dates "yyyy-MM-dd" of the fields `fromField` and `toField`, each when sent, as a
// range of `column` (milliseconds) from the first day's start to the last day's end: the
// index on the column serves it. 400 for a date that is not one.
void createdBetween(const Call &call, Conditions &where, const char *column, const char *fromField,
                    const char *toField);

} // namespace books
