// Printing what the reference backend answers: the reply text of a "print/..." endpoint for
// a demo record goes to PrinterHelper unchanged, as the screens hand it over, and the PDF is
// read back with pdftotext and a real barcode decoder.

#include "print/printerhelper.h"
#include "printtestsupport.h"

#include <QJsonArray>
#include <QtTest>

#include "backendclient.h"

namespace {

using PrintCall = bool (PrinterHelper::*)(const QString &, const QString &);

const QString pdfPath = QStringLiteral("release/qrpic/123.pdf");

QJsonObject dataOf(const QString &reply)
{
    return QJsonDocument::fromJson(reply.toUtf8())
        .object()
        .value(QStringLiteral("data"))
        .toObject();
}

// Fen as the documents print them: yuan with two decimals.
QString yuan(qint64 fen)
{
    return QStringLiteral("%1%2.%3")
        .arg(fen < 0 ? QStringLiteral("-") : QString())
        .arg(qAbs(fen) / 100)
        .arg(int(qAbs(fen) % 100), 2, 10, QLatin1Char('0'));
}

qint64 whole(const QJsonValue &v)
{
    return v.toVariant().toLongLong();
}

} // namespace

Q_DECLARE_METATYPE(PrintCall)

class TestPrintBackend : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void orderTicket_data();
    void orderTicket();
    void bagLabel();
    void washLabelsOfAnOrder();

private:
    // The reply text of a signed call, exactly as it came over the wire.
    QString reply(const QString &path, const QString &field, const QString &id);
    // The first demo record, from id 1 up, whose reply passes `wanted`.
    QString firstReply(const QString &path, const QString &field,
                       const std::function<bool(const QJsonObject &)> &wanted);

    QTemporaryDir m_work;
    std::unique_ptr<BackendClient> m_client;
    WorkerSession m_session;
};

void TestPrintBackend::initTestCase()
{
    QVERIFY(m_work.isValid());
    // No spooler to talk to: the machine's own printers stay out of this test.
    qputenv("CUPS_SERVER", QFile::encodeName(m_work.filePath(QStringLiteral("no-cups.sock"))));
    QFile url(QStringLiteral(BRENVO_TEST_BACKEND_FILE));
    QVERIFY2(url.open(QIODevice::ReadOnly), "no backend URL file: run with the backend fixture");
    m_client = std::make_unique<BackendClient>(QString::fromUtf8(url.readAll()).trimmed());
    m_session =
        WorkerSession::open(*m_client, QStringLiteral("BV2024000001"), QStringLiteral("zhangli"));
    QVERIFY(!m_session.accessToken.isEmpty());
}

void TestPrintBackend::init()
{
    // "release/qrpic/123.pdf" is relative to the working directory; start each print clean.
    QDir(m_work.path()).removeRecursively();
    QVERIFY(QDir().mkpath(m_work.path()));
    QVERIFY(QDir::setCurrent(m_work.path()));
}

QString TestPrintBackend::reply(const QString &path, const QString &field, const QString &id)
{
    QJsonObject body = m_session.body();
    body.insert(field, id);
    return QString::fromUtf8(m_client->postRaw(QStringLiteral("/mac/") + path + QLatin1Char('?') +
                                                   BackendClient::signedQuery(body),
                                               QJsonDocument(body).toJson(QJsonDocument::Compact)));
}

QString TestPrintBackend::firstReply(const QString &path, const QString &field,
                                     const std::function<bool(const QJsonObject &)> &wanted)
{
    for (int id = 1; id <= 60; ++id) {
        const QString text = reply(path, field, QString::number(id));
        const QJsonObject root = QJsonDocument::fromJson(text.toUtf8()).object();
        if (root.value(QStringLiteral("httpCode")).toInt() == 200 &&
            wanted(root.value(QStringLiteral("data")).toObject()))
            return text;
    }
    return {};
}

void TestPrintBackend::orderTicket_data()
{
    QTest::addColumn<PrintCall>("call");
    QTest::addColumn<QString>("totalCaption");
    QTest::newRow("80 mm") << &PrinterHelper::ticketPrintIfo << QStringLiteral("衣物总额：");
    QTest::newRow("58 mm") << &PrinterHelper::ticketPrintIfo58 << QStringLiteral("衣物总额:¥");
}

void TestPrintBackend::orderTicket()
{
    QFETCH(PrintCall, call);
    QFETCH(QString, totalCaption);
    // An order with several garments, taken in and priced.
    const QString text = firstReply(
        QStringLiteral("print/order/detail"), QStringLiteral("orderId"), [](const QJsonObject &d) {
            return d.value(QStringLiteral("orderProductList")).toArray().size() >= 2;
        });
    QVERIFY2(!text.isEmpty(), "no demo order with garments");
    const QJsonObject d = dataOf(text);
    const QString orderNo = d.value(QStringLiteral("orderNo")).toString();

    PrinterHelper helper;
    (helper.*call)(QStringLiteral("pdf"), text);
    QVERIFY(QFile::exists(pdfPath));
    const QStringList pages = PrintTest::pdfPages(pdfPath);
    QCOMPARE(pages.size(), 1);
    const QString page = pages.first();
    QVERIFY2(page.contains(orderNo), qPrintable(page));
    QVERIFY2(page.contains(totalCaption + yuan(whole(d.value(QStringLiteral("orderPrice"))))),
             qPrintable(page));
    for (const QJsonValue &g : d.value(QStringLiteral("orderProductList")).toArray())
        QVERIFY(page.contains(g.toObject().value(QStringLiteral("scanCode")).toString()));

    // The order code decodes to the order number; the follow code, when the shop set one.
    const bool qr = d.value(QStringLiteral("isShowOrderQrCode")).toBool(true);
    QStringList expected{(qr ? QStringLiteral("QR-Code:") : QStringLiteral("CODE-128:")) + orderNo};
    const QString follow = d.value(QStringLiteral("qrcode")).toString();
    if (!follow.isEmpty())
        expected << QStringLiteral("QR-Code:") + follow;
    expected.sort();
    QCOMPARE(PrintTest::decodedCodes(pdfPath), expected);
}

void TestPrintBackend::bagLabel()
{
    const QString text = firstReply(
        QStringLiteral("print/batchIn/product"), QStringLiteral("id"), [](const QJsonObject &d) {
            return whole(d.value(QStringLiteral("batch")).toObject().value("productCnt")) > 0;
        });
    QVERIFY2(!text.isEmpty(), "no demo bag with garments");
    const QJsonObject batch = dataOf(text).value(QStringLiteral("batch")).toObject();
    PrinterHelper helper;
    helper.bagNumPrintInfo(QStringLiteral("pdf"), text);
    QVERIFY(QFile::exists(pdfPath));
    const QString page = PrintTest::pdfPages(pdfPath).value(0);
    const qint64 total = whole(batch.value(QStringLiteral("productCnt"))) +
                         whole(batch.value(QStringLiteral("annexCnt")));
    QVERIFY2(page.contains(QStringLiteral("共%1件").arg(total)), qPrintable(page));
    QVERIFY(page.contains(batch.value(QStringLiteral("storeName")).toString()));
    QCOMPARE(
        PrintTest::decodedCodes(pdfPath, 1, 5),
        QStringList{QStringLiteral("QR-Code:") + batch.value(QStringLiteral("code")).toString()});
}

void TestPrintBackend::washLabelsOfAnOrder()
{
    // An order whose garments carry accessories: each gets a label of its own.
    const QString text = firstReply(
        QStringLiteral("print/product/all"), QStringLiteral("orderId"), [](const QJsonObject &d) {
            for (const QJsonValue &g : d.value(QStringLiteral("productList")).toArray())
                if (!g.toObject().value(QStringLiteral("annexList")).toArray().isEmpty())
                    return true;
            return false;
        });
    QVERIFY2(!text.isEmpty(), "no demo order with accessories");
    QStringList expected;
    QStringList codes;
    for (const QJsonValue &g : dataOf(text).value(QStringLiteral("productList")).toArray()) {
        expected << QStringLiteral("QR-Code:") + g.toObject().value("scanCode").toString();
        for (const QJsonValue &a : g.toObject().value(QStringLiteral("annexList")).toArray())
            expected << QStringLiteral("QR-Code:") + a.toObject().value("scanCode").toString();
        // The screen's loop: the element as its own reply, the whole reply beside it.
        const QString element =
            QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("data"), g}}).toJson());
        QFile::remove(pdfPath);
        PrinterHelper helper;
        helper.printInfo(QStringLiteral("pdf"), element, text);
        QVERIFY(QFile::exists(pdfPath));
        const int pages = PrintTest::pdfPages(pdfPath).size();
        for (int page = 1; page <= pages; ++page)
            codes << PrintTest::decodedCodes(pdfPath, page, 2);
    }
    expected.sort();
    codes.sort();
    QCOMPARE(codes, expected);
}

QTEST_MAIN(TestPrintBackend)
#include "tst_printbackend.moc"
