#include "server/connectionstream.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>
#endif

namespace {

// Past this, a request line is no longer read but the connection closed.
constexpr size_t dropLimit = 64 * 1024 * 1024;
constexpr size_t chunk = 16 * 1024;
constexpr int waitSliceMs = 100; // how soon a waiting connection notices the server stopping

void addressOf(const sockaddr_storage &addr, socklen_t length, std::string &ip, int &port)
{
    char host[NI_MAXHOST] = {};
    char service[NI_MAXSERV] = {};
    if (getnameinfo(reinterpret_cast<const sockaddr *>(&addr), length, host, sizeof host, service,
                    sizeof service, NI_NUMERICHOST | NI_NUMERICSERV) == 0) {
        ip = host;
        port = std::atoi(service);
    }
}

// The value of the first `key` pair of a query, "" when there is none.
std::string queryValue(const std::string &query, const std::string &key)
{
    size_t start = 0;
    while (start <= query.size()) {
        const size_t end = std::min(query.find('&', start), query.size());
        if (query.compare(start, key.size() + 1, key + "=") == 0)
            return query.substr(start + key.size() + 1, end - start - key.size() - 1);
        start = end + 1;
    }
    return {};
}

bool isMethod(const std::string &text)
{
    return !text.empty() && text.size() <= 16 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

} // namespace

namespace sockets {

int wait(socket_t sock, bool forWriting, int ms)
{
#ifdef _WIN32
    WSAPOLLFD p{sock, static_cast<SHORT>(forWriting ? POLLWRNORM : POLLRDNORM), 0};
    return WSAPoll(&p, 1, ms);
#else
    pollfd p{sock, static_cast<short>(forWriting ? POLLOUT : POLLIN), 0};
    int r;
    do {
        r = poll(&p, 1, ms);
    } while (r < 0 && errno == EINTR);
    return r;
#endif
}

void setTimeouts(socket_t sock, int readMs, int writeMs)
{
#ifdef _WIN32
    const DWORD r = readMs, w = writeMs;
    setsockopt(sock, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char *>(&r), sizeof r);
    setsockopt(sock, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char *>(&w), sizeof w);
#else
    const timeval r{readMs / 1000, (readMs % 1000) * 1000};
    const timeval w{writeMs / 1000, (writeMs % 1000) * 1000};
    setsockopt(sock, SOL_SOCKET, SO_RCVTIMEO, &r, sizeof r);
    setsockopt(sock, SOL_SOCKET, SO_SNDTIMEO, &w, sizeof w);
#endif
}

void shutdownAndClose(socket_t sock)
{
#ifdef _WIN32
    shutdown(sock, SD_BOTH);
    closesocket(sock);
#else
    shutdown(sock, SHUT_RDWR);
    close(sock);
#endif
}

} // namespace sockets

ConnectionStream::ConnectionStream(Transport &transport, socket_t sock, size_t maxLine,
                                   Timeouts timeouts)
    : transport_(transport), sock_(sock), maxLine_(maxLine), timeouts_(timeouts)
{
}

bool ConnectionStream::nextRequest(const std::function<bool()> &running)
{
    buffer_.erase(0, at_);
    at_ = 0;
    bool waiting = buffer_.empty() && !transport_.hasPending();
    for (int waited = 0; waiting; waited += waitSliceMs) {
        if (waited >= timeouts_.keepAliveMs || !running())
            return false;
        const int r =
            sockets::wait(sock_, false, std::min(waitSliceMs, timeouts_.keepAliveMs - waited));
        if (r < 0)
            return false;
        waiting = r == 0;
    }
    std::string line;
    bool cut = false;
    if (!readLine(line, cut))
        return false;
    line_ = forHttplib(line, cut);
    lineAt_ = 0;
    return true;
}

bool ConnectionStream::readLine(std::string &line, bool &cut)
{
    // Of a line too long to serve, only its method counts.
    const auto cutShort = [&] {
        line = buffer_.substr(at_, 64);
        cut = true;
    };
    size_t scanned = at_;
    size_t dropped = 0;
    for (;;) {
        const size_t end = buffer_.find('\n', scanned);
        if (end != std::string::npos) {
            if (!cut && end - at_ >= maxLine_)
                cutShort();
            else if (!cut)
                line = buffer_.substr(at_, end + 1 - at_);
            at_ = end + 1;
            return true;
        }
        if (!cut && buffer_.size() - at_ > maxLine_)
            cutShort();
        if (cut) {
            dropped += buffer_.size() - at_;
            if (dropped > dropLimit)
                return false;
            buffer_.clear();
            at_ = 0;
        }
        scanned = buffer_.size();
        if (fill() <= 0)
            return false;
    }
}

ssize_t ConnectionStream::fill()
{
    char bytes[chunk];
    const ssize_t n = transport_.receive(bytes, sizeof bytes);
    if (n > 0)
        buffer_.append(bytes, static_cast<size_t>(n));
    return n;
}

std::string ConnectionStream::forHttplib(const std::string &line, bool cut)
{
    if (!cut && line.size() <= CPPHTTPLIB_REQUEST_URI_MAX_LENGTH)
        return line;
    const size_t methodEnd = line.find(' ');
    const std::string sentMethod = line.substr(0, methodEnd);
    const std::string method = isMethod(sentMethod) ? sentMethod : "GET";
    const size_t targetEnd = line.rfind(' ');
    if (!cut && methodEnd != std::string::npos && targetEnd > methodEnd) {
        const std::string target = line.substr(methodEnd + 1, targetEnd - methodEnd - 1);
        const size_t query = target.find('?');
        if (target.compare(0, 5, "/mac/") == 0 && query != std::string::npos) {
            const std::string sign = queryValue(target.substr(query + 1), "sign");
            const std::string shorter = method + " " + target.substr(0, query) +
                                        (sign.empty() ? "" : "?sign=" + sign) +
                                        line.substr(targetEnd);
            if (shorter.size() <= CPPHTTPLIB_REQUEST_URI_MAX_LENGTH)
                return shorter;
        }
    }
    return method + " " + overlongTarget + " HTTP/1.1\r\n";
}

ssize_t ConnectionStream::read(char *ptr, size_t size)
{
    if (lineAt_ < line_.size()) {
        const size_t n = std::min(size, line_.size() - lineAt_);
        std::memcpy(ptr, line_.data() + lineAt_, n);
        lineAt_ += n;
        return static_cast<ssize_t>(n);
    }
    if (at_ == buffer_.size() && size < chunk) {
        // cpp-httplib reads header lines a byte at a time: one receive for many of them.
        buffer_.clear();
        at_ = 0;
        const ssize_t n = fill();
        if (n <= 0)
            return n;
    }
    if (at_ < buffer_.size()) {
        const size_t n = std::min(size, buffer_.size() - at_);
        std::memcpy(ptr, buffer_.data() + at_, n);
        at_ += n;
        return static_cast<ssize_t>(n);
    }
    return transport_.receive(ptr, size);
}

ssize_t ConnectionStream::write(const char *ptr, size_t size)
{
    size_t sent = 0;
    while (sent < size) {
        const ssize_t n = transport_.send(ptr + sent, size - sent);
        if (n <= 0)
            return -1;
        sent += static_cast<size_t>(n);
    }
    return static_cast<ssize_t>(size);
}

bool ConnectionStream::is_readable() const
{
    return lineAt_ < line_.size() || at_ < buffer_.size() || transport_.hasPending() ||
           sockets::wait(sock_, false, timeouts_.readMs) > 0;
}

bool ConnectionStream::is_writable() const
{
    return sockets::wait(sock_, true, timeouts_.writeMs) > 0;
}

void ConnectionStream::get_remote_ip_and_port(std::string &ip, int &port) const
{
    sockaddr_storage addr{};
    socklen_t length = sizeof addr;
    if (getpeername(sock_, reinterpret_cast<sockaddr *>(&addr), &length) == 0)
        addressOf(addr, length, ip, port);
}

void ConnectionStream::get_local_ip_and_port(std::string &ip, int &port) const
{
    sockaddr_storage addr{};
    socklen_t length = sizeof addr;
    if (getsockname(sock_, reinterpret_cast<sockaddr *>(&addr), &length) == 0)
        addressOf(addr, length, ip, port);
}
