#pragma once

#include <cstdint>

#include <json/value.h>

struct Call;

// Staff sign-in, shared by the password and the staff-card login.
namespace signin {

// Opens the worker's session on the calling terminal and answers what the sign-in shows:
// accessToken, storeInfo, workerInfo, mercInfo. A disabled worker is refused (403).
Json::Value openSession(Call &call, std::int64_t workerId, bool enabled, const char *loginWay);

} // namespace signin
