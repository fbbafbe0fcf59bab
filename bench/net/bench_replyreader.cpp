// What showing one page of the order list costs: a 200-row orderInfo/list reply read with
// 20 getOrderInfo calls per row, with and without the parse cache.
//
//   bench_replyreader [rounds]
#include "net/ccnetworkrequest.h"
#include "net/replycache.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const QStringList kFields{"id",         "orderNo",      "userId",       "userName",
                          "phone",      "createTime",   "payablePrice", "paymentPrice",
                          "orderPrice", "payStatus",    "statusVal",    "statusName",
                          "productCnt", "annexCnt",     "storeId",      "storeName",
                          "remark",     "creditStatus", "storeShelfNo", "isEnablePay"};

QString orderListReply(int rows)
{
    QJsonArray list;
    for (int i = 0; i < rows; ++i) {
        list.append(QJsonObject{{"id", 100000 + i},
                                {"orderNo", QStringLiteral("XH%1").arg(20240000 + i)},
                                {"userId", 5000 + i % 37},
                                {"userName", QStringLiteral("顾客%1").arg(i)},
                                {"phone", QStringLiteral("1380000%1").arg(i, 4, 10, QChar('0'))},
                                {"createTime", 1704067200000.0 + i * 60000.0},
                                {"payablePrice", 1550 + i},
                                {"paymentPrice", 1500 + i},
                                {"orderPrice", 1600 + i},
                                {"payStatus", i % 2},
                                {"statusVal", i % 7},
                                {"statusName", QStringLiteral("已收衣")},
                                {"productCnt", 1 + i % 5},
                                {"annexCnt", i % 3},
                                {"storeId", 1},
                                {"storeName", QStringLiteral("净衣坊·徐汇店")},
                                {"remark", QStringLiteral("加急，领口有污渍")},
                                {"creditStatus", 0},
                                {"storeShelfNo", QStringLiteral("A-%1").arg(i)},
                                {"isEnablePay", i % 2 == 0}});
    }
    const QJsonObject data{{"list", list}, {"total", rows}, {"pageNum", 1}};
    const QJsonObject reply{{"httpCode", 200}, {"msg", QStringLiteral("操作成功")}, {"data", data}};
    return QString::fromUtf8(QJsonDocument(reply).toJson(QJsonDocument::Compact));
}

// Median of the runs, in microseconds.
double medianMicros(int runs, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1000.0);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(3, atoi(argv[1])) : 21;
    const int rows = 200;
    const QString reply = orderListReply(rows);
    CCNetWorkRequest request;

    // Keeps the compiler from dropping the work.
    qsizetype sink = 0;
    const auto showPage = [&](const QString &text) {
        for (int row = 0; row < request.getOrderNum(text, 1); ++row) {
            for (const QString &field : kFields)
                sink += request.getOrderInfo(text, field, row, 1).size();
        }
    };

    const double parse = medianMicros(rounds * 5, [&] {
        const ParsedReply parsed(reply);
        sink += parsed.root().size();
    });

    ReplyCache::setCapacity(ReplyCache::defaultCapacity);
    const double cached = medianMicros(rounds * 5, [&] {
        ReplyCache::clear(); // the page's first call parses, as when the reply arrives
        showPage(reply);
    });

    ReplyCache::setCapacity(0);
    const double uncached = medianMicros(std::max(3, rounds / 4), [&] { showPage(reply); });
    ReplyCache::setCapacity(ReplyCache::defaultCapacity);

    const int calls = rows * kFields.size();
    std::printf("reply: %d rows, %d fields a row, %lld bytes of JSON\n", rows, int(kFields.size()),
                static_cast<long long>(reply.toUtf8().size()));
    std::printf("(a) one parse:                          %10.1f us\n", parse);
    std::printf("(b) %d getOrderInfo calls, cached:    %10.1f us  (b/a = %.2f)\n", calls, cached,
                cached / parse);
    std::printf("(c) %d getOrderInfo calls, uncached:  %10.1f us  (c/a = %.1f)\n", calls, uncached,
                uncached / parse);
    std::printf("(sink %lld)\n", static_cast<long long>(sink));
    return 0;
}
