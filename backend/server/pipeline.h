#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include <json/value.h>

#include "server/registry.h"

struct Call;
class Connection;
class Database;
class ServerKeys;
struct ServerOptions;

// The envelope {httpCode, msg, data} as compact UTF-8 JSON.
std::string envelope(int httpCode, const std::string &msg, Json::Value data = {});

// One POST to "/mac/<path>": parse and signature; a repeat of a write answered with its kept
// answer, at any delay; otherwise a fresh timestamp, then the call in its one transaction: a
// read on a read-only snapshot; a write in a write transaction that also keeps its answer for
// repeats. Every refusal is an envelope.
class Pipeline
{
public:
    static constexpr std::int64_t timestampWindowMs = 5 * 60 * 1000;
    // A write's answer is kept this long: a worker may retry a lost reply much later, and
    // the retry must not run again. Far longer than the window, so a request past it is
    // either answered as before or refused as stale, never run.
    static constexpr std::int64_t keptAnswerMs = 24 * 3600 * 1000LL;
    static constexpr size_t maxBodyBytes = 256 * 1024;
    // The longest request line served. The terminal repeats every field of the body in the
    // signed query, each byte at most three times over (percent-encoded), so no request
    // whose body is within its limit needs more; 4 KB more hold the method, path and `sign`.
    static constexpr size_t maxAddressBytes = 3 * maxBodyBytes + 4096;

    Pipeline(Database &db, const ServerKeys &keys, const ServerOptions &options,
             const ApiRegistry &api);

    std::string answer(const std::string &path, const std::string &body,
                       const std::string &querySign, const std::string &baseUrl);

private:
    struct Request
    {
        const ApiRegistry::Entry &entry;
        Json::Value body;
        std::int64_t stamp = 0;
        std::string identity; // path, serial number, timestamp and sign
        std::string baseUrl;
    };

    std::string checked(const std::string &path, const std::string &bodyText,
                        const std::string &querySign, const std::string &baseUrl);
    std::string read(const Request &r);
    std::string write(const Request &r, bool keepAnswer);
    std::string repeat(Connection &db, const Request &r, const std::string &bodyHash);
    // The endpoint's upkeep, committed on its own (ApiRegistry's Upkeep).
    void upkeep(const Request &r);
    // The handler's answer or refusal; `done` when it answered.
    std::string run(const Request &r, Call &call, bool &done);
    void pruneNow();

    Database &db_;
    const ServerKeys &keys_;
    const ServerOptions &options_;
    const ApiRegistry &api_;
    std::atomic<unsigned> writeCount_{0};
};
