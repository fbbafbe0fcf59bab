// brenvo-backend: the reference backend for the BrenvoPOS terminal.
//
//   brenvo-backend --db FILE [--port N] [--host 127.0.0.1] [--demo] [--cert FILE --key FILE]
//                  [--idle-minutes N] [--url-file FILE] [--map-key KEY]
//                  [--upload-token-seconds N] [--vendor-version TEXT] [--synchronous normal]
//                  [--clock-offset-minutes N] [--demo-scale N]

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <string>

#include "api/families.h"
#include "demo/demodata.h"
#include "demo/demoscale.h"
#include "server/backendserver.h"
#include "server/crypto.h"
#include "standins/standins.h"
#include "store/database.h"
#include "store/schema.h"

namespace {

BackendServer *running = nullptr;

void onSignal(int)
{
    if (running)
        running->stop();
}

[[noreturn]] void usage(const std::string &problem)
{
    if (!problem.empty())
        std::cerr << "brenvo-backend: " << problem << "\n";
    std::cerr << "usage: brenvo-backend --db FILE [--port N] [--host ADDRESS] [--demo]\n"
                 "                      [--cert FILE --key FILE] [--idle-minutes N]\n"
                 "                      [--url-file FILE] [--map-key KEY]\n"
                 "                      [--upload-token-seconds N] [--vendor-version TEXT]\n"
                 "                      [--synchronous full|normal] [--clock-offset-minutes N]\n"
                 "                      [--demo-scale N]\n";
    std::exit(problem.empty() ? 0 : 2);
}

// Written through a temporary file and a rename, so a reader never sees half a line.
bool writeUrlFile(const std::string &path, const std::string &url)
{
    const std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::trunc);
        out << url << "\n";
        if (!out)
            return false;
    }
#ifdef _WIN32
    std::remove(path.c_str());
#endif
    return std::rename(temp.c_str(), path.c_str()) == 0;
}

} // namespace

int main(int argc, char **argv)
{
    ServerOptions options;
    std::string dbPath, urlFile, synchronous = "FULL";
    bool demo = false;
    std::int64_t scaleOrders = 0;

    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                usage(arg + " needs a value");
            return argv[++i];
        };
        auto number = [&](double low) {
            const std::string text = value();
            char *end = nullptr;
            const double v = std::strtod(text.c_str(), &end);
            if (text.empty() || *end || !(v >= low) || v > 1e9)
                usage(arg + " needs a number, not \"" + text + "\"");
            return v;
        };
        if (arg == "--db")
            dbPath = value();
        else if (arg == "--port")
            options.port = static_cast<int>(number(0));
        else if (arg == "--host")
            options.host = value();
        else if (arg == "--demo")
            demo = true;
        else if (arg == "--demo-scale") { // the demo data and a year of a busy store
            demo = true;
            scaleOrders = static_cast<std::int64_t>(number(0));
        } else if (arg == "--cert")
            options.certFile = value();
        else if (arg == "--key")
            options.keyFile = value();
        else if (arg == "--idle-minutes")
            options.idleMs =
                static_cast<std::int64_t>(number(0) * 60 * 1000); // fractions for tests
        else if (arg == "--url-file")
            urlFile = value();
        else if (arg == "--map-key")
            options.mapKey = value();
        else if (arg == "--upload-token-seconds")
            options.uploadTokenSeconds = static_cast<std::int64_t>(number(0));
        else if (arg == "--vendor-version")
            options.vendorVersion = value();
        else if (arg == "--clock-offset-minutes")
            clockOffsetMs = static_cast<std::int64_t>(number(-1e9) * 60 * 1000);
        else if (arg == "--synchronous")
            synchronous = value() == "normal" ? "NORMAL" : "FULL";
        else if (arg == "--help" || arg == "-h")
            usage({});
        else
            usage("unknown option " + arg);
    }
    if (dbPath.empty())
        usage("--db is required");
    if (options.certFile.empty() != options.keyFile.empty())
        usage("--cert and --key go together");
    if (options.port > 65535)
        usage("--port must be at most 65535");

#ifdef __GLIBC__
    // One malloc arena per request thread: threads sharing an arena queue on its lock, and a
    // holder the scheduler preempts stalls every thread behind it (the tail of the latency).
    mallopt(M_ARENA_MAX, options.threads + 8);
#endif
    try {
        Database db(dbPath, synchronous);
        const ServerKeys keys(dbPath + ".key");
        {
            auto conn = db.acquire();
            schema::migrate(*conn);
            if (demo && demo::isEmpty(*conn)) {
                const std::int64_t now = nowMs();
                demo::seed(*conn, keys, now);
                demo::seedScale(*conn, scaleOrders, now);
            }
        }
        BackendServer server(db, keys, options);
        api::registerAll(server.api());
        standins::registerAll(server);
        server.bind();
        if (!urlFile.empty() && !writeUrlFile(urlFile, server.baseUrl())) {
            std::cerr << "brenvo-backend: cannot write " << urlFile << "\n";
            return 1;
        }
        running = &server;
        std::signal(SIGINT, onSignal);
        std::signal(SIGTERM, onSignal);
#ifndef _WIN32
        // A client gone while its TLS answer is written is that connection's error only.
        std::signal(SIGPIPE, SIG_IGN);
#endif
        std::cout << "brenvo-backend listening on " << server.baseUrl() << " (database " << dbPath
                  << ")" << std::endl;
        server.listen();
        running = nullptr;
    } catch (const std::exception &e) {
        std::cerr << "brenvo-backend: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
