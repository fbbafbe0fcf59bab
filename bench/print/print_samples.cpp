// Prints every document from the reply fixtures to PDF files in a folder, for looking at:
//   print_samples OUTDIR   then   pdftoppm -r 200 -png OUTDIR/ticket80.pdf ...
#include "print/printerhelper.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <functional>

namespace {

QString fixture(const char *name)
{
    QFile file(QStringLiteral(BRENVO_PRINT_TEST_DATA "/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", name);
    return QString::fromUtf8(file.readAll());
}

QString withData(const QString &reply, const std::function<void(QJsonObject &)> &edit)
{
    QJsonObject root = QJsonDocument::fromJson(reply.toUtf8()).object();
    QJsonObject data = root[QStringLiteral("data")].toObject();
    edit(data);
    root[QStringLiteral("data")] = data;
    return QString::fromUtf8(QJsonDocument(root).toJson());
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: print_samples OUTDIR\n");
        return 2;
    }
    const QDir out(QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[1])));
    QDir().mkpath(out.path());
    QDir::setCurrent(out.path());
    PrinterHelper helper;
    const QString pdf = QStringLiteral("pdf");
    auto keep = [&](const QString &name) {
        QFile::remove(out.filePath(name + QStringLiteral(".pdf")));
        QFile::rename(QStringLiteral("release/qrpic/123.pdf"),
                      out.filePath(name + QStringLiteral(".pdf")));
    };

    const QString ticket = fixture("order_detail.json");
    const QString barcodeTicket =
        withData(ticket, [](QJsonObject &d) { d[QStringLiteral("isShowOrderQrCode")] = false; });
    helper.ticketPrintIfo(pdf, ticket);
    keep(QStringLiteral("ticket80"));
    helper.ticketPrintIfo58(pdf, ticket);
    keep(QStringLiteral("ticket58"));
    helper.ticketPrintIfo(pdf, barcodeTicket);
    keep(QStringLiteral("ticket80-barcode"));
    helper.ticketPrintIfo58(pdf, barcodeTicket);
    keep(QStringLiteral("ticket58-barcode"));
    helper.bagNumPrintInfo(pdf, fixture("batch_product.json"));
    keep(QStringLiteral("bag"));
    helper.printInfo(pdf, fixture("product_detail.json"), QString());
    keep(QStringLiteral("wash")); // page 1 garment, pages 2 and 3 its accessories

    const QString certificate = fixture("product_qualified.json");
    const QString barcodeCertificate =
        withData(certificate, [](QJsonObject &d) { d[QStringLiteral("showCode")] = 0; });
    const QList<QPair<QString, bool (PrinterHelper::*)(const QString &, const QString &)>> styles{
        {QStringLiteral("certificate1"), &PrinterHelper::qualifiedPrintInfo},
        {QStringLiteral("certificate2"), &PrinterHelper::qualifiedPrintInfo1},
        {QStringLiteral("certificate3"), &PrinterHelper::qualifiedPrintInfo2}};
    for (const auto &style : styles) {
        (helper.*style.second)(pdf, certificate);
        keep(style.first);
        (helper.*style.second)(pdf, barcodeCertificate);
        keep(style.first + QStringLiteral("-barcode"));
    }
    QDir(out.filePath(QStringLiteral("release"))).removeRecursively();
    std::printf("%s\n", qPrintable(out.path()));
    return 0;
}
