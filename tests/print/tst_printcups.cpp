#include "print/printerhelper.h"
#include "printtestsupport.h"

#include <QtTest>

using PrintTest::fixture;

// Printing through a real spooler: a private cupsd with a cups-pdf queue, started by the
// `cups` fixture, reached through CUPS_SERVER.
class TestPrintCups : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void listsTheQueue();
    void ticketReachesTheQueue();
    void unknownPrinterSendsNoJob_data();
    void unknownPrinterSendsNoJob();

private:
    int jobCount();

    QString m_dir;
    QString m_queue;
};

void TestPrintCups::initTestCase()
{
    m_dir = qEnvironmentVariable("BRENVO_TEST_CUPS_DIR");
    QVERIFY2(!m_dir.isEmpty() && !qEnvironmentVariable("CUPS_SERVER").isEmpty(),
             "run through ctest: the cups fixture provides the daemon");
    QFile queue(m_dir + QStringLiteral("/queue"));
    QVERIFY(queue.open(QIODevice::ReadOnly));
    m_queue = QString::fromUtf8(queue.readAll()).trimmed();
    QVERIFY(!m_queue.isEmpty());
}

int TestPrintCups::jobCount()
{
    return PrintTest::run(QStringLiteral("lpstat"),
                          {QStringLiteral("-W"), QStringLiteral("all"), QStringLiteral("-o")})
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
        .size();
}

void TestPrintCups::listsTheQueue()
{
    PrinterHelper helper;
    const QList<QString> printers = helper.getPrinterList();
    QVERIFY2(printers.contains(m_queue), qPrintable(QStringList(printers).join(',')));
    QCOMPARE(helper.getPrinterListNum(), printers.size());
}

void TestPrintCups::ticketReachesTheQueue()
{
    const QDir out(m_dir + QStringLiteral("/out"));
    const QStringList before = out.entryList({QStringLiteral("*.pdf")}, QDir::Files);
    const int jobsBefore = jobCount();
    PrinterHelper helper;
    helper.ticketPrintIfo(m_queue, fixture(QStringLiteral("order_detail.json")));
    QCOMPARE(jobCount(), jobsBefore + 1);

    QStringList fresh;
    QTRY_VERIFY_WITH_TIMEOUT((fresh = out.entryList({QStringLiteral("*.pdf")}, QDir::Files),
                              fresh.size() > before.size()),
                             60000);
    for (const QString &old : before)
        fresh.removeAll(old);
    QCOMPARE(fresh.size(), 1);
    const QString pdf = out.filePath(fresh.first());
    // cups-pdf writes the file while the job runs; it is complete once its codes decode. The
    // queue turns the job into PostScript and back, so its text is no longer extractable:
    // the order and follow-us QR codes are what shows the ticket came through whole.
    QStringList expected{QStringLiteral("QR-Code:DD2406120031"),
                         QStringLiteral("QR-Code:http://weixin.qq.com/r/jRkBWXbEcvWbrQ9i9xbM")};
    expected.sort();
    QTRY_COMPARE_WITH_TIMEOUT(PrintTest::decodedCodes(pdf), expected, 30000);
}

void TestPrintCups::unknownPrinterSendsNoJob_data()
{
    QTest::addColumn<QString>("printer");
    QTest::newRow("无") << QStringLiteral("无");
    QTest::newRow("not installed") << QStringLiteral("Label Printer 3");
}

// With a default printer installed, an unknown name must not fall back to it.
void TestPrintCups::unknownPrinterSendsNoJob()
{
    QFETCH(QString, printer);
    const int jobsBefore = jobCount();
    PrinterHelper helper;
    helper.ticketPrintIfo(printer, fixture(QStringLiteral("order_detail.json")));
    helper.bagNumPrintInfo(printer, fixture(QStringLiteral("batch_product.json")));
    QCOMPARE(jobCount(), jobsBefore);
}

QTEST_MAIN(TestPrintCups)
#include "tst_printcups.moc"
