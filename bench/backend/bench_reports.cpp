// bench_reports [--calls N] [--scales 1000,10000,100000]
//
// The revenue reports against reference backends of their own on the large seeded store
// (`brenvo-backend --demo --demo-scale N`), side by side at 1 k, 10 k and 100 k orders: for
// each report of the current month, and of today, p50 and p95 of one signed call from one
// keep-alive client, and of the whole chain the revenue analysis sends (the six reports and the
// trend, one after the other). Goal: a monthly report in under 50 ms p95 at 100 k orders. The
// seeded orders of the store and of the month are counted from the database, since the figures
// depend on how the seed spreads them over time. Build it RelWithDebInfo for figures.

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QElapsedTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

#include "../percentile.h"
#include "backendclient.h"
#include "backenddatabase.h"
#include "privatebackend.h"

namespace {

const QStringList chain{
    "revenueSum/queryReport",    "revenueCnt/getReport",       "revenueOrder/getReport",
    "revenueRecharge/getReport", "reportTradeOrder/getReport", "reportTradeRecharge/getReport",
    "revenueSum/trend"};

struct Figures
{
    double p50 = 0;
    double p95 = 0;
    int errors = 0;
};

QString cell(const Figures &f)
{
    return QString::asprintf("%6.2f / %6.2f", f.p50, f.p95) +
           (f.errors ? QString(" (%1 errors)").arg(f.errors) : QString());
}

// One scale: a backend seeded with `orders`, its figures by row name.
struct Scale
{
    qint64 orders = 0;
    double seedSeconds = 0;
    qint64 storeOrders = 0;
    qint64 monthOrders = 0;
    std::map<QString, Figures> rows;
    QString failure;
};

// `calls` signed calls of `paths` one after the other (a chain counts as one sample).
Figures measure(BackendClient &client, const WorkerSession &session, const QStringList &paths,
                const QString &dateType, const QString &date, int calls)
{
    std::vector<double> ms;
    int errors = 0;
    for (int i = 0; i < calls; ++i) {
        QElapsedTimer timer;
        timer.start();
        for (const QString &path : paths) {
            QJsonObject body = session.body();
            body["storeId"] = "1";
            body["dateType"] = dateType;
            body["date"] = date;
            errors += client.call(path, body).value("httpCode").toInt() != 200;
        }
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    return {percentile(ms, 0.5), percentile(ms, 0.95), errors};
}

Scale run(qint64 orders, int calls)
{
    Scale s;
    s.orders = orders;
    QElapsedTimer started;
    started.start();
    PrivateBackend backend({"--demo-scale", QString::number(orders)}, 600000);
    s.seedSeconds = started.nsecsElapsed() / 1e9;
    if (backend.url().isEmpty()) {
        s.failure = "the backend did not start: " + backend.output().trimmed();
        return s;
    }
    {
        BackendDatabase db;
        if (db.open(backend.databasePath())) {
            const QDate today = QDate::currentDate();
            const qint64 monthStart =
                QDateTime(QDate(today.year(), today.month(), 1), QTime(0, 0)).toMSecsSinceEpoch();
            s.storeOrders = db.number("SELECT COUNT(*) FROM orders WHERE store_id = 1");
            s.monthOrders = db.number(
                QString("SELECT COUNT(*) FROM orders WHERE store_id = 1 AND created_at >= %1")
                    .arg(monthStart)
                    .toUtf8()
                    .constData());
        }
    }
    BackendClient client(backend.url());
    const WorkerSession session = WorkerSession::open(client, "BV2024000001", "zhangli");
    const QString month = QDate::currentDate().toString("yyyy-MM");
    const QString day = QDate::currentDate().toString("yyyy-MM-dd");
    measure(client, session, chain, "2", month, 5); // warm-up: caches, statements, pages
    for (const QString &path : chain)
        s.rows["month  " + path] = measure(client, session, {path}, "2", month, calls);
    s.rows["month  the chain of seven"] = measure(client, session, chain, "2", month, calls / 4);
    s.rows["day    the chain of seven"] = measure(client, session, chain, "1", day, calls / 4);
    return s;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int calls = 200;
    QList<qint64> scales{1000, 10000, 100000};
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == "--calls")
            calls = std::max(8, args[i + 1].toInt());
        else if (args[i] == "--scales") {
            scales.clear();
            for (const QString &n : args[i + 1].split(','))
                scales << n.toLongLong();
        }
    }

    std::vector<Scale> results;
    for (qint64 n : scales) {
        std::fprintf(stderr, "bench_reports: %lld orders\n", static_cast<long long>(n));
        results.push_back(run(n, calls));
    }

    std::printf("\nRevenue reports, one client, ms p50 / p95 (%d calls each, chains %d)\n", calls,
                calls / 4);
    std::printf("%-44s", "");
    for (const Scale &s : results)
        std::printf("  %-22s", qPrintable(QString("%1 orders").arg(s.orders)));
    std::printf("\n");
    auto line = [&](const QString &what, auto value) {
        std::printf("%-44s", qPrintable(what));
        for (const Scale &s : results)
            std::printf("  %-22s", qPrintable(value(s)));
        std::printf("\n");
    };
    line("seeded and started in (s)", [](const Scale &s) {
        return s.failure.isEmpty() ? QString::number(s.seedSeconds, 'f', 1) : QString("failed");
    });
    line("orders of store 1 / of this month",
         [](const Scale &s) { return QString("%1 / %2").arg(s.storeOrders).arg(s.monthOrders); });
    std::map<QString, Figures> names;
    for (const Scale &s : results)
        names.insert(s.rows.begin(), s.rows.end());
    for (const auto &entry : names)
        line(entry.first, [&](const Scale &s) {
            const auto found = s.rows.find(entry.first);
            return found == s.rows.end() ? QString("-") : cell(found->second);
        });
    std::printf("Goal: a monthly report under 50 ms p95 at 100 k orders.\n");
    for (const Scale &s : results)
        if (!s.failure.isEmpty())
            std::printf("%lld orders: %s\n", static_cast<long long>(s.orders),
                        qPrintable(s.failure));
    return 0;
}
