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
#include <QFile>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
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

// Latencies and time of one or more runs.
struct Samples
{
    std::vector<double> latenciesMs;
    double seconds = 0;
    int errors = 0;
    void add(const Samples &more)
    {
        latenciesMs.insert(latenciesMs.end(), more.latenciesMs.begin(), more.latenciesMs.end());
        seconds += more.seconds;
        errors += more.errors;
    }
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

Samples runClients(const QString &base, const QString &path, int clients, int perClient,
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
    Samples out;
    out.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    for (int c = 0; c < clients; ++c) {
        out.latenciesMs.insert(out.latenciesMs.end(), latencies[c].begin(), latencies[c].end());
        out.errors += errors[c];
    }
    return out;
}

Figures summarise(const Samples &s)
{
    return summarise(s.latenciesMs, s.seconds, s.errors);
}

Figures httplibClients(const QString &base, const QString &path, int clients, int perClient,
                       const BodyOf &bodyOf)
{
    return summarise(runClients(base, path, clients, perClient, bodyOf));
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
// keep-alive, listening backlog), whose handler only answers a fixed text. It runs in a process of
// its own, as the backend does: `bench_backend --bare-server REPLY_FILE` prints its base URL and
// serves until its input closes.
int serveBare(const char *replyFile)
{
    QFile f(QString::fromLocal8Bit(replyFile));
    if (!f.open(QIODevice::ReadOnly))
        return 1;
    const std::string reply = f.readAll().toStdString();
    httplib::Server server;
    server.new_task_queue = [] { return new httplib::ThreadPool(64); };
    server.set_tcp_nodelay(true);
    server.set_keep_alive_max_count(100000);
    server.set_keep_alive_timeout(10);
    server.Post("/mac/(.*)", [&reply](const httplib::Request &, httplib::Response &res) {
        res.set_content(reply, "application/json;charset=UTF-8");
    });
    socket_t listening = INVALID_SOCKET;
    server.set_socket_options([&listening](socket_t sock) {
        httplib::default_socket_options(sock);
        listening = sock;
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    // As the backend does: cpp-httplib's backlog of 5 drops connections opened together.
    if (listening != INVALID_SOCKET)
        ::listen(listening, SOMAXCONN);
    std::thread stopper([&server] {
        while (std::getchar() != EOF) {
        }
        server.stop();
    });
    std::printf("http://127.0.0.1:%d\n", port);
    std::fflush(stdout);
    server.listen_after_bind();
    stopper.join();
    return 0;
}

class BareServer
{
public:
    explicit BareServer(const QByteArray &reply)
    {
        QFile f(dir_.filePath("reply.json"));
        if (f.open(QIODevice::WriteOnly))
            f.write(reply);
        f.close();
        process_.start(QCoreApplication::applicationFilePath(),
                       {"--bare-server", dir_.filePath("reply.json")});
        if (process_.waitForStarted(5000) && process_.waitForReadyRead(5000))
            url_ = QString::fromUtf8(process_.readLine()).trimmed();
    }
    ~BareServer()
    {
        process_.closeWriteChannel();
        if (!process_.waitForFinished(5000))
            process_.kill();
    }
    QString url() const { return url_; }

private:
    QTemporaryDir dir_;
    QProcess process_;
    QString url_;
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
    if (argc == 3 && std::string(argv[1]) == "--bare-server")
        return serveBare(argv[2]);
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
    // Bare and signed in alternating rounds, so that whatever else the machine does weighs
    // on both alike.
    Samples bare, signedRead;
    {
        BareServer server(menus);
        if (server.url().isEmpty()) {
            std::fprintf(stderr, "the bare server did not start\n");
            return 1;
        }
        httplibClients(server.url(), read, 20, 100, readBody); // warm-up
        httplibClients(base, read, 20, 100, readBody);
        for (int round = 0; round < 6; ++round) {
            bare.add(runClients(server.url(), read, 20, 250, readBody));
            signedRead.add(runClients(base, read, 20, 250, readBody));
        }
    }
    const Figures bareFigures = summarise(bare), readFigures = summarise(signedRead);
    print("bare cpp-httplib handler, 20 clients", bareFigures);
    print("signed read, 20 clients", readFigures);
    std::printf("%-44s %9.2f\n", "  ratio to the bare handler", readFigures.rps / bareFigures.rps);
    print("signed read, 1 client", httplibClients(base, read, 1, 3000, readBody));

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
