#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include <httplib.h>

// The bytes of one accepted connection, plain or TLS.
class Transport
{
public:
    virtual ~Transport() = default;
    // Bytes read into `data` (> 0), 0 when the peer closed, < 0 on an error or time-out.
    virtual ssize_t receive(char *data, size_t size) = 0;
    // Bytes written (> 0), < 0 on an error or time-out.
    virtual ssize_t send(const char *data, size_t size) = 0;
    // Bytes that arrived but that the socket no longer shows (decrypted TLS records).
    virtual bool hasPending() const { return false; }
};

// One connection as cpp-httplib reads its requests, but for their request lines.
// cpp-httplib, as the system builds it, refuses a line over 8 KB (a limit compiled into the
// library) with an empty 414; yet the terminal repeats every field of a call in its signed
// query, so a call with long remarks, legal in every field, passes it. This stream reads each
// request line itself, up to `maxLine` bytes, and hands cpp-httplib a shorter one where
// needed: a "/mac/" call keeps only `sign` of its query, all the pipeline reads of it (the
// body is authoritative); a line it cannot shorten so, or one beyond `maxLine`, asks for
// `overlongTarget` instead, whose handler says why.
class ConnectionStream final : public httplib::Stream
{
public:
    static constexpr const char *overlongTarget = "/request-line-too-long";

    struct Timeouts
    {
        int readMs;
        int writeMs;
        int keepAliveMs; // the wait for a connection's next request
    };

    ConnectionStream(Transport &transport, socket_t sock, size_t maxLine, Timeouts timeouts);

    // Waits for the next request, at most the keep-alive time and while `running()`, and reads
    // its request line; false when the connection is over.
    bool nextRequest(const std::function<bool()> &running);

    bool is_readable() const override;
    bool is_writable() const override;
    ssize_t read(char *ptr, size_t size) override;
    ssize_t write(const char *ptr, size_t size) override;
    void get_remote_ip_and_port(std::string &ip, int &port) const override;
    void get_local_ip_and_port(std::string &ip, int &port) const override;
    socket_t socket() const override { return sock_; }

    // The request line cpp-httplib is handed for `line` (ending in "\n"); `cut`: only the
    // line's start is known, the whole was longer than any request may be.
    static std::string forHttplib(const std::string &line, bool cut);

private:
    bool readLine(std::string &line, bool &cut);
    // Receives what has arrived into the buffer: the count, 0 when the peer closed, < 0 on an
    // error or time-out.
    ssize_t fill();

    Transport &transport_;
    socket_t sock_;
    size_t maxLine_;
    Timeouts timeouts_;
    std::string line_; // the request line still to hand out
    size_t lineAt_ = 0;
    std::string buffer_; // bytes received and not handed out yet
    size_t at_ = 0;
};

// What the connections need of their sockets, apart from the transport.
namespace sockets {
// > 0 when the socket has something to read (or, with `forWriting`, room to write) within
// `ms`; 0 on time-out; < 0 on an error.
int wait(socket_t sock, bool forWriting, int ms);
// Blocking reads and writes give up after these times.
void setTimeouts(socket_t sock, int readMs, int writeMs);
void shutdownAndClose(socket_t sock);
} // namespace sockets
