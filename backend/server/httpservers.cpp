#include "server/httpservers.h"

#include <algorithm>
#include <climits>

#include <openssl/ssl.h>

#include "server/connectionstream.h"

namespace {

#ifdef MSG_NOSIGNAL
constexpr int sendFlags = MSG_NOSIGNAL; // a peer gone away is an error, not a signal
#else
constexpr int sendFlags = 0;
#endif

int milliseconds(time_t seconds, time_t microseconds)
{
    return static_cast<int>(seconds * 1000 + microseconds / 1000);
}

int chunkOf(size_t size)
{
    return static_cast<int>(std::min<size_t>(size, INT_MAX));
}

class SocketTransport final : public Transport
{
public:
    explicit SocketTransport(socket_t sock) : sock_(sock) {}
    ssize_t receive(char *data, size_t size) override
    {
        return recv(sock_, data, chunkOf(size), 0);
    }
    ssize_t send(const char *data, size_t size) override
    {
        return ::send(sock_, data, chunkOf(size), sendFlags);
    }

private:
    socket_t sock_;
};

class TlsTransport final : public Transport
{
public:
    explicit TlsTransport(SSL *ssl) : ssl_(ssl) {}
    ssize_t receive(char *data, size_t size) override
    {
        const int n = SSL_read(ssl_, data, chunkOf(size));
        if (n > 0)
            return n;
        return SSL_get_error(ssl_, n) == SSL_ERROR_ZERO_RETURN ? 0 : -1;
    }
    ssize_t send(const char *data, size_t size) override
    {
        const int n = SSL_write(ssl_, data, chunkOf(size));
        return n > 0 ? n : -1;
    }
    bool hasPending() const override { return SSL_pending(ssl_) > 0; }

private:
    SSL *ssl_;
};

} // namespace

template <class Base> void LongLineServer<Base>::limitWaits(socket_t sock) const
{
    sockets::setTimeouts(sock, milliseconds(this->read_timeout_sec_, this->read_timeout_usec_),
                         milliseconds(this->write_timeout_sec_, this->write_timeout_usec_));
}

template <class Base> bool LongLineServer<Base>::serve(Transport &transport, socket_t sock)
{
    const ConnectionStream::Timeouts timeouts{
        milliseconds(this->read_timeout_sec_, this->read_timeout_usec_),
        milliseconds(this->write_timeout_sec_, this->write_timeout_usec_),
        milliseconds(this->keep_alive_timeout_sec_, 0)};
    ConnectionStream stream(transport, sock, maxRequestLine_, timeouts);
    const auto running = [this] { return this->svr_sock_ != INVALID_SOCKET; };
    bool served = false;
    for (size_t left = this->keep_alive_max_count_; left > 0 && stream.nextRequest(running);
         --left) {
        bool closed = false;
        served = this->process_request(stream, left == 1, closed, nullptr);
        if (!served || closed)
            break;
    }
    return served;
}

template class LongLineServer<httplib::Server>;
template class LongLineServer<httplib::SSLServer>;

bool HttpServer::process_and_close_socket(socket_t sock)
{
    limitWaits(sock);
    SocketTransport transport(sock);
    const bool served = serve(transport, sock);
    sockets::shutdownAndClose(sock);
    return served;
}

bool HttpsServer::process_and_close_socket(socket_t sock)
{
    limitWaits(sock);
    bool served = false;
    if (SSL *ssl = SSL_new(ssl_context())) {
        SSL_set_fd(ssl, static_cast<int>(sock));
        if (SSL_accept(ssl) == 1) {
            TlsTransport transport(ssl);
            served = serve(transport, sock);
            if (served)
                SSL_shutdown(ssl);
        }
        SSL_free(ssl);
    }
    sockets::shutdownAndClose(sock);
    return served;
}
