#pragma once

#include <cstdint>
#include <string>

#include "server/registry.h"

class Connection;
struct Call;

// Terminals and worker sessions: who is calling. A session is stored under the hash of its
// access token, never the token itself.
namespace sessions {

std::string hashOf(const std::string &token);

// Fills the call's terminal, store and merchant (and worker, for Access::Worker) from the
// body, or refuses with ApiError (400, 401, 403). A worker's activity is written down when
// it is older than a tenth of the idle time (at most a minute); without `canWrite` (a read's
// snapshot) the answer is then true, and the caller runs the call as a write instead.
bool identify(Call &call, Access access, bool canWrite);

// Not ended, its worker enabled, and not idle past the limit.
bool isLive(Connection &db, const std::string &tokenHash, std::int64_t now, std::int64_t idleMs);

std::string open(Call &call, std::int64_t workerId, const char *loginWay);
void end(Call &call);

} // namespace sessions
