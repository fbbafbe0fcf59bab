#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "apiregistry.h"

namespace httplib {
class Server;
struct Request;
} // namespace httplib

class Database;
class ServerKeys;

struct ServerOptions
{
    std::string host = "127.0.0.1";
    int port = 8686; // 0 picks a free port
    std::string certFile;
    std::string keyFile;
    std::int64_t idleMs = 30 * 60 * 1000;   // a session ends after this much silence
    std::int64_t uploadTokenSeconds = 3600; // lifetime of a photo-store upload token
    std::string mapKey = "3f2b9c61d84e4a7f9e05c7d2b1a86e43"; // the map stand-in's key
    std::string vendorVersion;                               // overrides "upgrade_pc.txt" when set
    int threads = 64; // keep-alive connections each hold a thread while open
};

// The service: "/mac/<path>" endpoints with envelope, signature, sessions and replay
// answers, plus the outside services (photo store, vendor files, map) on their prefixes.
class BackendServer
{
public:
    static constexpr std::int64_t timestampWindowMs = 5 * 60 * 1000;
    // Answers are kept a little longer than a timestamp stays acceptable.
    static constexpr std::int64_t replayKeepMs = 2 * timestampWindowMs + 60 * 1000;

    BackendServer(Database &db, const ServerKeys &keys, ServerOptions options);
    ~BackendServer();
    BackendServer(const BackendServer &) = delete;
    BackendServer &operator=(const BackendServer &) = delete;

    ApiRegistry &api() { return api_; }
    httplib::Server &http() { return *http_; }
    Database &database() { return db_; }
    const ServerKeys &keys() const { return keys_; }
    const ServerOptions &options() const { return options_; }
    bool isHttps() const { return !options_.certFile.empty(); }

    // Binds the socket; returns the port. Throws std::runtime_error on failure.
    int bind();
    // Serves until stop().
    void listen();
    void stop();
    // "http://127.0.0.1:43211" once bound.
    std::string baseUrl() const;
    // "scheme://host:port" as a client addressed us (the Host header), for addresses in replies.
    std::string baseUrlFor(const httplib::Request &req) const;

    // The envelope text for one POST to "/mac/<path>".
    std::string answer(const std::string &path, const std::string &body,
                       const std::string &querySign, const std::string &baseUrl);

    static std::int64_t nowMs();

private:
    std::string run(const ApiRegistry::Entry &entry, const std::string &path,
                    const Json::Value &body, const std::string &sign, const std::string &baseUrl);
    void identify(Call &call, Access access) const;
    void pruneOldAnswers();

    Database &db_;
    const ServerKeys &keys_;
    ServerOptions options_;
    ApiRegistry api_;
    std::unique_ptr<httplib::Server> http_;
    std::intptr_t listenSocket_ = -1; // the listening socket_t, kept to widen its backlog
    int port_ = 0;
    std::atomic<unsigned> requestCount_{0};
};

// The envelope {httpCode, msg, data} as compact UTF-8 JSON.
std::string envelope(int httpCode, const std::string &msg, const Json::Value &data = {});
std::string compactJson(const Json::Value &v);
