#pragma once

#include <cstdint>

struct Call;

// Whose a record is. Members and what hangs on them (cards, tags, groups, addresses, coupons)
// belong to the merchant and are shared by all its stores: a chain's customer is served in
// any store. Orders, garments, bags, trades and photos belong to their store.
//
// Every handler that takes an id checks it here, and nowhere else: an unknown id and another
// merchant's answer 404 alike (nothing about other merchants shows); another store's record
// of the same merchant answers 403 with the record's own refusal ("非此门店衣物").
namespace ownership {

enum class Scope { Merchant, Store };

struct Record
{
    // SELECT of the record's merchant and store as `mercId` and `storeId`, by its id.
    const char *ownerSql;
    Scope scope;
    const char *unknown;    // 404 msg
    const char *otherStore; // 403 msg (store-scoped records)
};

namespace records {
extern const Record member;
extern const Record address;
extern const Record coupon;
extern const Record userCoupon;
extern const Record tag;
extern const Record group;
extern const Record order;
extern const Record garment;
extern const Record photo;
extern const Record bag;
// A batch back from the factory belongs to the store it comes back to.
extern const Record batch;
extern const Record trade;
// The catalogue is the merchant's: its business lines and the garments listed under them.
extern const Record businessLine;
extern const Record product;
extern const Record payment;
extern const Record recharge;
// A store's own figures (its reports) are its own.
extern const Record store;
// The merchant's factories.
extern const Record factory;
} // namespace records

// The id the integer field `field` names, once it is the caller's.
std::int64_t owned(Call &call, const Record &record, const char *field);
// The same for an id from elsewhere (a list entry, a looked-up row). `scope` widens or
// narrows the record's own scope where an endpoint calls for it.
void check(Call &call, const Record &record, std::int64_t id);
void check(Call &call, const Record &record, std::int64_t id, Scope scope);

} // namespace ownership
