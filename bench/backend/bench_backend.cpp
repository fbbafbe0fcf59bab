// bench_backend [BASE_URL]
//
// Against the reference backend (a private one on a fresh demo database unless a base URL
// is given), requests per second, p50 and p99 at keep-alive clients:
//  - first, a bare cpp-httplib handler answering the same reply text without any work, with
//    the same client doing the same signing: what the machine and the HTTP layer allow;
//  - signed wkMenu/queryAllByWorkId (a read) at 1 and 20 clients, and its ratio to the bare
//    handler at 20;
//  - signed userInfo/updateName (a write, its answer kept) at 20 clients, with the store's
//    synchronous=FULL and, on a second private backend, NORMAL: what durability costs;
//  - the read through QNetworkAccessManager on one reused connection, each request sent
//    from the previous reply's handler as the screens do, and a chain of six.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include <httplib.h>

#include "backendclient.h"
#include "privatebackend.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Figures
{
    double rps = 0;
    double p50Ms = 0;
    double p99Ms = 0;
    double meanMs = 0;
    int errors = 0;
};

Figures summarise(std::vector<double> latenciesMs, double seconds, int errors)
{
    Figures f;
    std::sort(latenciesMs.begin(), latenciesMs.end());
    const size_t n = latenciesMs.size();
    f.rps = n / seconds;
    f.p50Ms = latenciesMs[n / 2];
    f.p99Ms = latenciesMs[std::min(n - 1, n * 99 / 100)];
    double sum = 0;
    for (double v : latenciesMs)
        sum += v;
    f.meanMs = sum / n;
    f.errors = errors;
    return f;
}

void print(const char *what, const Figures &f)
{
    std::printf("%-44s %9.0f req/s   p50 %7.3f ms   p99 %7.3f ms   mean %7.3f ms   errors %d\n",
                what, f.rps, f.p50Ms, f.p99Ms, f.meanMs, f.errors);
}

// One signed body per request: `bodyOf(client, i)`.
using BodyOf = std::function<QJsonObject(int client, int i)>;

Figures httplibClients(const QString &base, const QString &path, int clients, int perClient,
                       const BodyOf &bodyOf)
{
    std::vector<std::vector<double>> latencies(clients);
    std::vector<int> errors(clients, 0);
    std::vector<std::unique_ptr<BackendClient>> conns;
    for (int c = 0; c < clients; ++c)
        conns.push_back(std::make_unique<BackendClient>(base));
    const auto start = Clock::now();
    std::vector<std::thread> threads;
    for (int c = 0; c < clients; ++c) {
        threads.emplace_back([&, c] {
            for (int i = 0; i < perClient; ++i) {
                const QJsonObject body = bodyOf(c, i);
                const auto t0 = Clock::now();
                const QJsonObject r = conns[c]->call(path, body);
                const auto t1 = Clock::now();
                latencies[c].push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
                errors[c] += r.value("httpCode").toInt() != 200;
            }
        });
    }
    for (auto &t : threads)
        t.join();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::vector<double> all;
    int errs = 0;
    for (int c = 0; c < clients; ++c) {
        all.insert(all.end(), latencies[c].begin(), latencies[c].end());
        errs += errors[c];
    }
    return summarise(all, seconds, errs);
}

std::vector<WorkerSession> openSessions(const QString &base, int count)
{
    BackendClient client(base);
    std::vector<WorkerSession> sessions;
    for (int c = 0; c < count; ++c)
        sessions.push_back(WorkerSession::open(client, "BV2024000001", "zhangli"));
    return sessions;
}

// A cpp-httplib server set up as the backend's listener is (thread pool, TCP_NODELAY,
// keep-alive), whose handler only answers a fixed text.
class BareServer
{
public:
    explicit BareServer(std::string reply) : reply_(std::move(reply))
    {
        server_.new_task_queue = [] { return new httplib::ThreadPool(64); };
        server_.set_tcp_nodelay(true);
        server_.set_keep_alive_max_count(100000);
        server_.set_keep_alive_timeout(10);
        server_.Post("/mac/(.*)", [this](const httplib::Request &, httplib::Response &res) {
            res.set_content(reply_, "application/json;charset=UTF-8");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running())
            std::this_thread::yield();
    }
    ~BareServer()
    {
        server_.stop();
        thread_.join();
    }
    QString url() const { return "http://127.0.0.1:" + QString::number(port_); }

private:
    std::string reply_;
    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
};

// Like the terminal: one manager, requests chained from the finished handler.
Figures qtChained(const QString &base, int count, int chainLength, const WorkerSession &s,
                  bool expectContinue)
{
    QNetworkAccessManager nam;
    std::vector<double> latencies;
    int errors = 0, sent = 0, inChain = 0;
    QElapsedTimer total, one;
    QEventLoop loop;
    std::function<void()> send = [&] {
        const QJsonObject body = s.body();
        QNetworkRequest request(
            QUrl(base + "/mac/wkMenu/queryAllByWorkId?" + BackendClient::signedQuery(body)));
        request.setRawHeader("Content-Type", "application/json;charset=UTF-8");
        if (expectContinue)
            request.setRawHeader("Expect", "100-continue");
        if (inChain == 0)
            one.start();
        QNetworkReply *reply =
            nam.post(request, QJsonDocument(body).toJson(QJsonDocument::Compact));
        QObject::connect(reply, &QNetworkReply::finished, [&, reply] {
            const QByteArray text = reply->readAll();
            reply->deleteLater();
            errors += reply->error() != QNetworkReply::NoError ||
                      QJsonDocument::fromJson(text).object().value("httpCode").toInt() != 200;
            if (++inChain == chainLength) {
                latencies.push_back(one.nsecsElapsed() / 1e6);
                inChain = 0;
                ++sent;
            }
            if (sent < count)
                send();
            else
                loop.quit();
        });
    };
    // Warm up: the first request opens the connection that the rest reuse.
    {
        QNetworkReply *r = nam.post(
            [&] {
                QNetworkRequest q(QUrl(base + "/mac/wkMenu/queryAllByWorkId?" +
                                       BackendClient::signedQuery(s.body())));
                q.setRawHeader("Content-Type", "application/json;charset=UTF-8");
                return q;
            }(),
            QJsonDocument(s.body()).toJson(QJsonDocument::Compact));
        QObject::connect(r, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
        r->deleteLater();
    }
    total.start();
    send();
    loop.exec();
    return summarise(latencies, total.nsecsElapsed() / 1e9, errors);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::unique_ptr<PrivateBackend> own;
    QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (base.isEmpty()) {
        own = std::make_unique<PrivateBackend>();
        base = own->url();
        if (base.isEmpty()) {
            std::fprintf(stderr, "the backend did not start: %s\n", qPrintable(own->output()));
            return 1;
        }
    }
    std::printf("backend %s\n", qPrintable(base));
    const QString read = "wkMenu/queryAllByWorkId";
    const std::vector<WorkerSession> sessions = openSessions(base, 20);
    const BodyOf readBody = [&](int c, int) { return sessions[c].body(); };

    // The bare handler answers what the backend answers, to the same signed requests.
    const QJsonObject sample = sessions[0].body();
    const QByteArray menus =
        BackendClient(base).postRaw("/mac/" + read + "?" + BackendClient::signedQuery(sample),
                                    QJsonDocument(sample).toJson(QJsonDocument::Compact));
    Figures bare;
    {
        BareServer server(menus.toStdString());
        httplibClients(server.url(), read, 20, 100, readBody); // warm-up
        bare = httplibClients(server.url(), read, 20, 1500, readBody);
    }
    print("bare cpp-httplib handler, 20 clients", bare);

    httplibClients(base, read, 1, 200, readBody); // warm-up
    print("signed read, 1 client", httplibClients(base, read, 1, 3000, readBody));
    const Figures signedRead = httplibClients(base, read, 20, 1500, readBody);
    print("signed read, 20 clients", signedRead);
    std::printf("%-44s %9.2f\n", "  ratio to the bare handler", signedRead.rps / bare.rps);

    const BodyOf writeBody = [&](int c, int i) {
        QJsonObject body = sessions[c].body();
        body["id"] = QString::number(c + 1);
        body["name"] = "会员" + QString::number(i);
        return body;
    };
    const QString write = "userInfo/updateName";
    print("signed write, 20 clients, synchronous=FULL",
          httplibClients(base, write, 20, 100, writeBody));
    {
        PrivateBackend normal({"--synchronous", "normal"});
        const std::vector<WorkerSession> normalSessions = openSessions(normal.url(), 20);
        const BodyOf normalBody = [&](int c, int i) {
            QJsonObject body = normalSessions[c].body();
            body["id"] = QString::number(c + 1);
            body["name"] = "会员" + QString::number(i);
            return body;
        };
        print("  the same with synchronous=NORMAL",
              httplibClients(normal.url(), write, 20, 100, normalBody));
    }

    BackendClient client(base);
    const WorkerSession s = WorkerSession::open(client, "BV2024000001", "zhangli");
    print("Qt QNetworkAccessManager, reused connection", qtChained(base, 300, 1, s, false));
    print("  the same with \"Expect: 100-continue\"", qtChained(base, 1000, 1, s, true));
    print("Qt, chain of six requests (per chain)", qtChained(base, 50, 6, s, false));
    print("  the same with \"Expect: 100-continue\"", qtChained(base, 200, 6, s, true));
    return 0;
}
