#pragma once

#include <cstdint>

class Connection;
class ServerKeys;

namespace demo {

// True when the database holds no merchant yet.
bool isEmpty(Connection &db);

// Seeds a store a person can try at once (README lists the accounts and cards). Every
// value is fixed except the times, which are placed relative to nowMs so today's reports
// and lists have something to show.
void seed(Connection &db, const ServerKeys &keys, std::int64_t nowMs);

} // namespace demo
