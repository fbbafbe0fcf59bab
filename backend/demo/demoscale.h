#pragma once

#include <cstdint>

class Connection;

namespace demo {

// A year of a busy store on top of the demo data (`brenvo-backend --demo-scale N`): `orders`
// orders of store 1 and a tenth as many of store 2 over the year before nowMs, with their
// garments, payments, refunds, notes, factory bags and batches, the members who brought them
// and their recharges. The spread is a store's (weekends and evenings busier, a few regulars
// bring much, most orders long handed out, the last days' still in the house); the draws come
// from a fixed seed, so the same N seeds the same store (only the dates follow the clock).
// One transaction of its own, after demo::seed.
void seedScale(Connection &db, std::int64_t orders, std::int64_t nowMs);

} // namespace demo
