#pragma once

#include <chrono>
#include <cstdint>
#include <string>

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

// How far the service's clock runs ahead of the system's (`--clock-offset-minutes`), so a test
// can show the service a later moment without waiting. Set once, before any request.
inline std::int64_t clockOffsetMs = 0;

// The service's time: milliseconds since 1970.
inline std::int64_t nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count() +
           clockOffsetMs;
}
