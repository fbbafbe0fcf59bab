#pragma once

#include <cstddef>

#include <httplib.h>

class Transport;

// cpp-httplib's servers, each accepted connection served through a ConnectionStream, so a
// request line may be as long as `setMaxRequestLine` allows (see connectionstream.h). The
// keep-alive, time-out and stop rules are cpp-httplib's own settings.
template <class Base> class LongLineServer : public Base
{
public:
    using Base::Base;
    void setMaxRequestLine(size_t bytes) { maxRequestLine_ = bytes; }

protected:
    // Blocking reads and writes on the socket end after cpp-httplib's time-outs.
    void limitWaits(socket_t sock) const;
    // Serves the connection's requests until it closes, goes idle or the server stops.
    bool serve(Transport &transport, socket_t sock);

private:
    size_t maxRequestLine_ = CPPHTTPLIB_REQUEST_URI_MAX_LENGTH;
};

class HttpServer final : public LongLineServer<httplib::Server>
{
public:
    using LongLineServer::LongLineServer;

private:
    bool process_and_close_socket(socket_t sock) override;
};

class HttpsServer final : public LongLineServer<httplib::SSLServer>
{
public:
    using LongLineServer::LongLineServer;

private:
    bool process_and_close_socket(socket_t sock) override;
};
