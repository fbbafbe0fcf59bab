#pragma once

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include <json/value.h>

struct Call;

// A refusal with the envelope's httpCode and msg. Thrown by handlers and validators; the
// call's writes are rolled back and the worker sees msg.
class ApiError : public std::runtime_error
{
public:
    ApiError(int code, const std::string &msg) : std::runtime_error(msg), code_(code) {}
    int code() const { return code_; }

private:
    int code_;
};

// Envelope codes.
namespace codes {
constexpr int ok = 200;
constexpr int badRequest = 400;   // not JSON, missing, mistyped or out-of-range field
constexpr int unauthorized = 401; // unknown, ended or idle-expired accessToken
constexpr int forbidden =
    403; // bad signature, stale timestamp, unknown terminal, another store's record
constexpr int notFound = 404; // unknown path or record
constexpr int conflict = 409; // the state of the data does not allow it
constexpr int serverError = 500;
} // namespace codes

// Who may call an endpoint.
enum class Access {
    Handshake, // client/sign: token = mmd5(serialNum, timestamp), no appSecret yet
    Terminal,  // signed with a handshake's appSecret, no worker yet (the logins)
    Worker,    // signed, with a live accessToken
};

using Handler = std::function<Json::Value(Call &)>;
// Work an endpoint needs done before the call looks at the data, in a write transaction of its
// own that is committed whatever the call then answers (a read sees a snapshot, a refused
// write rolls back). It runs before the caller is identified, so it may only do what time has
// decided already for anyone (a waiting payment past its deadline closed); its refusals are
// ignored, the call refuses for itself.
using Upkeep = std::function<void(Call &)>;

// The table of "/mac/<path>" endpoints, filled by the endpoint families (api/families.h),
// one line per path:
//   api.read("userAddress/list", Access::Worker, addresses);
//   api.write("userAddress/add", Access::Worker, addAddress);
// A read changes nothing: it runs on a read-only snapshot, in parallel with other calls,
// and its answer is not kept. A write runs in the one write transaction of its call, and
// its answer is kept so that a repeat of the request is answered without running again.
class ApiRegistry
{
public:
    enum class Effect { Read, Write };
    struct Entry
    {
        Access access;
        Effect effect;
        Handler handler;
        Upkeep upkeep; // none for most
    };

    void read(const std::string &path, Access access, Handler handler, Upkeep upkeep = {});
    void write(const std::string &path, Access access, Handler handler, Upkeep upkeep = {});
    const Entry *find(const std::string &path) const;
    size_t size() const { return entries_.size(); }
    // Every registered path, in order (what the endpoint index is held to).
    std::vector<std::string> paths() const;

private:
    void add(const std::string &path, Entry entry);
    std::map<std::string, Entry> entries_;
};
