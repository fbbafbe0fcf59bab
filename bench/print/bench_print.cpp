// Lays documents out to the "pdf" printer and reports milliseconds per document:
// an 80 mm ticket with 100 garments, and 100 wash labels.
#include "print/printerhelper.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <cstdio>

namespace {

QJsonObject fixtureData(const char *name)
{
    QFile file(QStringLiteral(BRENVO_PRINT_TEST_DATA "/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", name);
    return QJsonDocument::fromJson(file.readAll()).object()[QStringLiteral("data")].toObject();
}

QString reply(const QJsonObject &data)
{
    return QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("httpCode"), 200},
                                                       {QStringLiteral("data"), data}})
                                 .toJson(QJsonDocument::Compact));
}

QString ticketWith100Garments()
{
    QJsonObject data = fixtureData("order_detail.json");
    const QJsonArray sample = data[QStringLiteral("orderProductList")].toArray();
    QJsonArray garments;
    for (int i = 0; i < 100; ++i) {
        QJsonObject garment = sample.at(i % sample.size()).toObject();
        garment[QStringLiteral("scanCode")] =
            QStringLiteral("8800123%1").arg(i, 5, 10, QLatin1Char('0'));
        garments.append(garment);
    }
    data[QStringLiteral("orderProductList")] = garments;
    data[QStringLiteral("productCnt")] = 100;
    return reply(data);
}

QStringList hundredWashLabels()
{
    QJsonObject data = fixtureData("product_detail.json");
    data.remove(QStringLiteral("annexList"));
    QStringList labels;
    for (int i = 0; i < 100; ++i) {
        data[QStringLiteral("no")] = i + 1;
        data[QStringLiteral("scanCode")] =
            QStringLiteral("8800123%1").arg(i, 5, 10, QLatin1Char('0'));
        labels << reply(data);
    }
    return labels;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir work;
    QDir::setCurrent(work.path());
    PrinterHelper helper;
    const QString pdf = QStringLiteral("pdf");

    const QString ticket = ticketWith100Garments();
    helper.ticketPrintIfo(pdf, ticket); // warm-up: fonts, printer plug-ins
    constexpr int ticketRuns = 20;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < ticketRuns; ++i)
        helper.ticketPrintIfo(pdf, ticket);
    const double ticketMs = double(timer.nsecsElapsed()) / 1e6 / ticketRuns;

    const QStringList labels = hundredWashLabels();
    timer.restart();
    for (const QString &label : labels)
        helper.printInfo(pdf, label, QString());
    const double labelMs = double(timer.nsecsElapsed()) / 1e6 / labels.size();

    std::printf("80 mm ticket, 100 garments: %.2f ms per ticket (%d runs)\n", ticketMs, ticketRuns);
    std::printf("wash label: %.2f ms per label (%d labels, %.1f ms in all)\n", labelMs,
                int(labels.size()), labelMs * labels.size());
    return 0;
}
