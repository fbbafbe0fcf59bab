#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include <json/value.h>

class Connection;
class ServerKeys;
struct ServerOptions;

// Longest texts accepted, in characters.
namespace limits {
constexpr size_t text = 100;       // names, phones, codes, short fields: the default
constexpr size_t longText = 500;   // remarks and notes
constexpr size_t jsonText = 20000; // JSON lists sent as text (tags, photos, remark lists)
} // namespace limits

// A page of a list: pageNum from 1, pageSize rows.
struct Page
{
    std::int64_t num = 1;
    std::int64_t size = 10;
    std::int64_t offset() const { return (num - 1) * size; }
};

// Everything a handler sees of one call. It runs inside the call's one transaction (a
// read-only snapshot for reads). Input is read only through the validators below: each
// refuses a missing, mistyped or out-of-range field with ApiError 400 and a clear msg.
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

    // The caller, filled before the handler runs.
    std::int64_t terminalId = 0;
    std::int64_t storeId = 0;
    std::int64_t mercId = 0;
    std::int64_t workerId = 0; // Worker access only
    std::string serialNum;     // the terminal's, even when the body's is empty
    std::string appSecret;
    std::string sessionHash; // Worker access only: the hash of the session's token

    bool has(const char *key) const;
    // A JSON string, present (empty allowed), of at most maxChars characters.
    std::string text(const char *key, size_t maxChars = limits::text) const;
    // A JSON string, present and not empty.
    std::string requiredText(const char *key, size_t maxChars = limits::text) const;
    // A JSON string or nothing (""), of at most maxChars characters.
    std::string optionalText(const char *key, size_t maxChars = limits::text) const;
    // An integer sent as a JSON number or as decimal text, from -(2^63 - 1) to 2^63 - 1 (so
    // that its negation is one too).
    std::int64_t integer(const char *key) const;
    // An integer, or nothing when absent, null or "": absence is never a number a caller
    // could also send.
    std::optional<std::int64_t> optionalInteger(const char *key) const;
    // The default when absent, null or "": only for a field whose absence means that value.
    std::int64_t optionalInteger(const char *key, std::int64_t fallback) const;
    // An integer or a text that must be one of the given values.
    std::int64_t oneOf(const char *key, std::initializer_list<std::int64_t> allowed) const;
    std::string oneOf(const char *key, std::initializer_list<const char *> allowed) const;
    // A real calendar date "yyyy-MM-dd".
    std::string date(const char *key) const;
    // A calendar month "yyyy-MM".
    std::string month(const char *key) const;
    // A clock time "HH:mm" (00:00 to 23:59).
    std::string clockTime(const char *key) const;
    // A text holding a JSON array, parsed.
    Json::Value jsonArray(const char *key, size_t maxChars = limits::jsonText) const;
    // pageNum (default 1) and pageSize (default defaultSize, at most maxSize).
    Page page(std::int64_t defaultSize = 10, std::int64_t maxSize = 100) const;

    // Logins: opens a session for the worker on this terminal; returns its access token.
    std::string openSession(std::int64_t workerId, const char *loginWay);
    // Sign-out: ends the caller's session.
    void endSession();

    // Kept by the pipeline: what identifies the request, and what the call did to sessions.
    std::string requestIdentity;
    std::string issuedToken;
    bool endsSession = false;
};

// The text without leading and trailing white space.
std::string trimmed(const std::string &text);
// True for a real calendar date written "yyyy-MM-dd".
bool isDate(const std::string &text);
// True for a calendar month written "yyyy-MM".
bool isMonth(const std::string &text);
// True for "HH:mm" with HH < 24 and mm < 60.
bool isClockTime(const std::string &text);
// "12,13,15": ids joined by ",", each once, in the order sent; ApiError 400
// "参数格式错误: <field>" for anything else.
std::vector<std::int64_t> idList(const std::string &text, const std::string &field);
