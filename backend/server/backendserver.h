#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "server/options.h"
#include "server/pipeline.h"
#include "server/registry.h"

namespace httplib {
class Server;
struct Request;
} // namespace httplib

class Database;
class ServerKeys;

// The listener: "/mac/<path>" calls go through the pipeline to the registered endpoints;
// the stand-ins for outside services add their own routes on http().
class BackendServer
{
public:
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

private:
    Database &db_;
    const ServerKeys &keys_;
    ServerOptions options_;
    ApiRegistry api_;
    Pipeline pipeline_;
    std::unique_ptr<httplib::Server> http_;
    std::intptr_t listenSocket_ = -1; // the listening socket_t, kept to widen its backlog
    int port_ = 0;
};
