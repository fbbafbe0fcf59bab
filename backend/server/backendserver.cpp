#include "server/backendserver.h"

#include <iostream>
#include <stdexcept>

#include <httplib.h>

#include "server/connectionstream.h"
#include "server/crypto.h"
#include "server/httpservers.h"
#include "store/database.h"

namespace {

const char *const jsonType = "application/json;charset=UTF-8";

} // namespace

BackendServer::BackendServer(Database &db, const ServerKeys &keys, ServerOptions options)
    : db_(db), keys_(keys), options_(std::move(options)), pipeline_(db_, keys_, options_, api_)
{
    if (isHttps()) {
        auto https =
            std::make_unique<HttpsServer>(options_.certFile.c_str(), options_.keyFile.c_str());
        if (!https->is_valid())
            throw std::runtime_error("cannot use the certificate " + options_.certFile +
                                     " with the key " + options_.keyFile);
        https->setMaxRequestLine(Pipeline::maxAddressBytes);
        http_ = std::move(https);
    } else {
        auto plain = std::make_unique<HttpServer>();
        plain->setMaxRequestLine(Pipeline::maxAddressBytes);
        http_ = std::move(plain);
    }

    const int threads = options_.threads;
    http_->new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
    // Small requests on a reused connection would otherwise wait for Nagle's algorithm to
    // meet the peer's delayed acknowledgement (tens of milliseconds). Accepted sockets
    // inherit the option from the listening one.
    http_->set_tcp_nodelay(true);
    http_->set_socket_options([this](socket_t sock) {
        httplib::default_socket_options(sock);
        listenSocket_ = static_cast<std::intptr_t>(sock);
    });
    http_->set_keep_alive_max_count(100000);
    http_->set_keep_alive_timeout(10);
    http_->set_payload_max_length(32 * 1024 * 1024);

    http_->Post("/mac/(.*)", [this](const httplib::Request &req, httplib::Response &res) {
        res.set_content(pipeline_.answer(req.matches[1], req.body, req.get_param_value("sign"),
                                         baseUrlFor(req)),
                        jsonType);
    });
    http_->Get("/mac/(.*)", [](const httplib::Request &, httplib::Response &res) {
        res.set_content(envelope(codes::badRequest, "请使用POST请求"), jsonType);
    });
    const auto overlong = [](const httplib::Request &, httplib::Response &res) {
        res.set_content(envelope(codes::badRequest, "请求地址过长"), jsonType);
    };
    http_->Post(ConnectionStream::overlongTarget, overlong);
    http_->Get(ConnectionStream::overlongTarget, overlong);
    http_->set_exception_handler(
        [](const httplib::Request &req, httplib::Response &res, std::exception_ptr ep) {
            std::string what = "unknown";
            try {
                std::rethrow_exception(ep);
            } catch (const std::exception &e) {
                what = e.what();
            } catch (...) {
            }
            std::cerr << "brenvo-backend: error on " << req.path << ": " << what << std::endl;
            res.status = 500;
            res.set_content(envelope(codes::serverError, "服务器内部错误"), jsonType);
        });
}

BackendServer::~BackendServer()
{
    stop();
}

int BackendServer::bind()
{
    if (options_.port == 0) {
        port_ = http_->bind_to_any_port(options_.host);
        if (port_ < 0)
            throw std::runtime_error("cannot listen on " + options_.host);
    } else {
        if (!http_->bind_to_port(options_.host, options_.port))
            throw std::runtime_error("cannot listen on " + options_.host + ":" +
                                     std::to_string(options_.port));
        port_ = options_.port;
    }
    // cpp-httplib listens with a backlog of 5: twenty clients connecting at once overflow it,
    // and the connections the kernel drops come back to their clients as failed reads.
    // Listening again on the bound socket only widens the queue.
    if (listenSocket_ != -1)
        ::listen(static_cast<socket_t>(listenSocket_), SOMAXCONN);
    return port_;
}

void BackendServer::listen()
{
    http_->listen_after_bind();
}

void BackendServer::stop()
{
    if (http_)
        http_->stop();
}

std::string BackendServer::baseUrl() const
{
    const bool v6 = options_.host.find(':') != std::string::npos;
    return std::string(isHttps() ? "https" : "http") + "://" + (v6 ? "[" : "") + options_.host +
           (v6 ? "]" : "") + ":" + std::to_string(port_);
}

std::string BackendServer::baseUrlFor(const httplib::Request &req) const
{
    const std::string host = req.get_header_value("Host");
    if (host.empty())
        return baseUrl();
    return std::string(isHttps() ? "https" : "http") + "://" + host;
}
