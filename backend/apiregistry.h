#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>

#include <json/value.h>

class Connection;
class ServerKeys;
struct ServerOptions;

// A refusal with the envelope's httpCode and msg. Thrown by handlers; the request's
// writes are rolled back and the worker sees msg.
class ApiError : public std::runtime_error
{
public:
    ApiError(int code, const std::string &msg) : std::runtime_error(msg), code_(code) {}
    int code() const { return code_; }

private:
    int code_;
};

// Envelope codes beside 200 and 401.
namespace codes {
constexpr int ok = 200;
constexpr int badRequest = 400;   // not JSON, missing or mistyped field, bad value
constexpr int unauthorized = 401; // unknown, ended or idle-expired accessToken
constexpr int forbidden = 403;    // bad signature, stale timestamp, unknown terminal
constexpr int notFound = 404;     // unknown path or record
constexpr int conflict = 409;     // the state of the data does not allow it
constexpr int serverError = 500;
} // namespace codes

// Who may call an endpoint.
enum class Access {
    Handshake, // client/sign: token = mmd5(serialNum, timestamp), no appSecret yet
    Terminal,  // signed with a handshake's appSecret, no worker yet (the logins)
    Worker,    // signed, with a live accessToken
};

// Everything a handler sees of one request. It runs inside the request's transaction.
struct Call
{
    Call(Connection &db, const ServerKeys &keys, const ServerOptions &options,
         const Json::Value &body, std::int64_t now, std::string baseUrl)
        : db(db), keys(keys), options(options), body(body), now(now), baseUrl(std::move(baseUrl))
    {
    }

    Connection &db;
    const ServerKeys &keys;
    const ServerOptions &options;
    const Json::Value &body; // the flat parameter object
    std::int64_t now;        // milliseconds since 1970
    std::string baseUrl;     // "http://host:port" as the client reached us

    // Filled before the handler runs.
    std::int64_t terminalId = 0;
    std::int64_t storeId = 0;
    std::int64_t mercId = 0;
    std::int64_t workerId = 0; // Worker access only
    std::string serialNum;     // the terminal's, even when the body's is empty
    std::string appSecret;
    std::string accessToken;

    // A field that must be present as a JSON string (empty allowed).
    std::string text(const char *key) const;
    // A string field that must be present and not empty.
    std::string requiredText(const char *key) const;
    std::string optionalText(const char *key, const std::string &fallback = {}) const;
    // An integer sent either as a JSON number or as decimal text; ApiError 400 otherwise.
    std::int64_t integer(const char *key) const;
    std::int64_t optionalInteger(const char *key, std::int64_t fallback) const;
    bool has(const char *key) const;
};

using Handler = std::function<Json::Value(Call &)>;

// The table of "/mac/<path>" endpoints. Each endpoint family registers itself from its
// own source file (see endpoints.h).
class ApiRegistry
{
public:
    struct Entry
    {
        Access access;
        Handler handler;
    };

    void add(const std::string &path, Access access, Handler handler);
    const Entry *find(const std::string &path) const;
    size_t size() const { return entries_.size(); }

private:
    std::map<std::string, Entry> entries_;
};

// Small helpers for building replies.
namespace reply {
// An integer field for JSON: fen, ids, counts, times.
inline Json::Value number(std::int64_t v)
{
    return Json::Value(Json::Int64(v));
}
// Milliseconds as text, for fields the terminal reads as text.
inline Json::Value msText(std::int64_t v)
{
    return Json::Value(std::to_string(v));
}
} // namespace reply
