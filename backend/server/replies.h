#pragma once

#include <cstdint>
#include <string>

class Connection;

// The answers of write calls, kept so that a repeat of a request (a retry whose reply was
// lost) is answered without running it again. Kept under the request's identity (path,
// serial number, timestamp, sign) for a day (Pipeline::keptAnswerMs), whatever its
// timestamp says: a retry may come long after the reply was lost.
namespace replies {

struct Kept
{
    std::string bodyHash;    // a repeat must carry the very same body
    std::string sessionHash; // the session the answer belongs to ("" before any)
    bool endsSession = false;
    bool issuedToken = false; // the answer held a new access token, left out of `text`
    std::string text;
};

bool find(Connection &db, const std::string &identity, Kept &out);
// `token`: the access token the answer carries, if any; it is not kept.
void keep(Connection &db, const std::string &identity, Kept kept, const std::string &token,
          std::int64_t expiresAt);
// The kept text with the access token put back.
std::string withToken(const std::string &text, const std::string &token);
// Drops answers kept past their time.
void prune(Connection &db, std::int64_t now);

} // namespace replies
