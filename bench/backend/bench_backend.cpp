// bench_backend [BASE_URL]
//
// Signed wkMenu/queryAllByWorkId calls against the reference backend (a private one on a
// fresh demo database unless a base URL is given):
//  - requests per second, p50 and p99 at 1 and at 20 concurrent keep-alive clients;
//  - the same call through QNetworkAccessManager on one reused connection, each request
//    sent from the previous reply's handler as the screens do, and a chain of six.

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

Figures httplibClients(const QString &base, int clients, int perClient)
{
    std::vector<std::vector<double>> latencies(clients);
    std::vector<int> errors(clients, 0);
    std::vector<WorkerSession> sessions;
    std::vector<std::unique_ptr<BackendClient>> conns;
    for (int c = 0; c < clients; ++c) {
        conns.push_back(std::make_unique<BackendClient>(base));
        sessions.push_back(WorkerSession::open(*conns.back(), "BV2024000001", "zhangli"));
    }
    const auto start = Clock::now();
    std::vector<std::thread> threads;
    for (int c = 0; c < clients; ++c) {
        threads.emplace_back([&, c] {
            for (int i = 0; i < perClient; ++i) {
                const auto t0 = Clock::now();
                const QJsonObject r = conns[c]->call("wkMenu/queryAllByWorkId", sessions[c].body());
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
    std::printf("backend %s, signed wkMenu/queryAllByWorkId\n", qPrintable(base));

    httplibClients(base, 1, 200); // warm-up
    print("1 client (keep-alive)", httplibClients(base, 1, 3000));
    print("20 clients (keep-alive)", httplibClients(base, 20, 300));

    BackendClient client(base);
    const WorkerSession s = WorkerSession::open(client, "BV2024000001", "zhangli");
    print("Qt QNetworkAccessManager, reused connection", qtChained(base, 300, 1, s, false));
    print("  the same with \"Expect: 100-continue\"", qtChained(base, 1000, 1, s, true));
    print("Qt, chain of six requests (per chain)", qtChained(base, 50, 6, s, false));
    print("  the same with \"Expect: 100-continue\"", qtChained(base, 200, 6, s, true));
    return 0;
}
