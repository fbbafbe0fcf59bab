#include "device/cmrf800drivehelper.h"
#include "logcapture.h"

#include <QTemporaryDir>
#include <QtTest>

// Runs against one variant of the stand-in reader libraries, named by
// BRENVO_TEST_READER_VARIANT (full, noiso, nosnr, none); CTest puts that variant on the
// library search path. Each table keeps only the rows of the running variant.
class TestCMRF800DriveHelper : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void initLoadsLibraries();
    void readCardId_data();
    void readCardId();
    void cardLaidDownBetweenReads();
    void readCard_data();
    void readCard();

private:
    void layCard(const QByteArray &card);

    QString m_variant;
    QTemporaryDir m_dir;
};

namespace {

const QByteArray unset = "<no card file>";
const QString isoLog = "the receive card number is : 01 00 e0 04 01 50 12 34 56 78 00\r\n";
const QString snrLog = "the receive card number is : 1a 2b 3c 4d\r\n";
const QString header = "----------------read card--------------";

bool runs(const QString &variant, std::initializer_list<const char *> variants)
{
    for (const char *v : variants) {
        if (variant == QLatin1String(v))
            return true;
    }
    return false;
}

} // namespace

void TestCMRF800DriveHelper::initTestCase()
{
    m_variant = qEnvironmentVariable("BRENVO_TEST_READER_VARIANT");
    QVERIFY2(runs(m_variant, {"full", "noiso", "nosnr", "none"}),
             "BRENVO_TEST_READER_VARIANT must name a reader variant");
    QVERIFY(m_dir.isValid());
    // Only the environment configures the reader key here, never a stray brenvo.ini.
    qputenv("BRENVO_CONFIG", m_dir.filePath("no-config.ini").toLocal8Bit());
}

void TestCMRF800DriveHelper::init()
{
    qunsetenv("BRENVO_READER_CARD_FILE");
    qunsetenv("BRENVO_READER_KEY");
}

void TestCMRF800DriveHelper::layCard(const QByteArray &card)
{
    if (card == unset)
        return;
    const QString path = m_dir.filePath("card.txt");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(card);
    file.close();
    qputenv("BRENVO_READER_CARD_FILE", path.toLocal8Bit());
}

void TestCMRF800DriveHelper::initLoadsLibraries()
{
    CMRF800DriveHelper helper;
    LogCapture log("brenvo.device");
    const bool loaded = helper.init();
    QCOMPARE(loaded, m_variant != "none");
    QCOMPARE(log.lines(), QStringList{loaded ? "dll 加载成功" : "dll 加载失败"});
}

void TestCMRF800DriveHelper::readCardId_data()
{
    QTest::addColumn<QByteArray>("card");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("expectedLog");

    const QByteArray iso = "iso15693=E004015012345678\n";
    const QByteArray mifare = "mifare_serial=1A2B3C4D\n";
    const QByteArray hf = "hf=E0040150AABBCCDD\n";
    const QString fullMiss = "ios15693 failure";
    const QString noIso = "can't find method ios15693";
    const auto row = [&](std::initializer_list<const char *> variants, const char *name) {
        return runs(m_variant, variants) ? &QTest::newRow(name) : nullptr;
    };
    if (auto r = row({"full"}, "ISO 15693 tag, 16 digits"))
        *r << iso << "e004015012345678"
           << QStringList{"readcard", isoLog, "cardid: e004015012345678"};
    if (auto r = row({"full"}, "ISO 15693 comes before the HF reader"))
        *r << iso + hf << "e004015012345678"
           << QStringList{"readcard", isoLog, "cardid: e004015012345678"};
    if (auto r = row({"full"}, "no ISO tag falls back to the HF reader"))
        *r << hf << "e0040150aabbccdd" << QStringList{"readcard", fullMiss};
    if (auto r = row({"full"}, "Mifare card is not asked while ISO 15693 exists"))
        *r << mifare << "" << QStringList{"readcard", fullMiss, "none card"};
    if (auto r = row({"full"}, "no card on either reader"))
        *r << QByteArray() << "" << QStringList{"readcard", fullMiss, "none card"};
    if (auto r = row({"full"}, "no card file"))
        *r << unset << "" << QStringList{"readcard", fullMiss, "none card"};
    if (auto r = row({"full"}, "HF reader unplugged"))
        *r << QByteArray("hf_reader=off\n") << ""
           << QStringList{"readcard", fullMiss, "filed to read card  HF"};
    if (auto r = row({"noiso"}, "Mifare serial, 8 digits"))
        *r << mifare + hf << "1a2b3c4d" << QStringList{noIso, snrLog, "cardid: 1a2b3c4d"};
    if (auto r = row({"noiso"}, "no Mifare card falls back to the HF reader"))
        *r << hf << "e0040150aabbccdd" << QStringList{noIso, "getsnr failure"};
    if (auto r = row({"noiso"}, "no card on either reader"))
        *r << QByteArray() << "" << QStringList{noIso, "getsnr failure", "none card"};
    if (auto r = row({"nosnr"}, "without both functions the HF reader is not tried"))
        *r << iso + mifare + hf << "" << QStringList{noIso};
    if (auto r = row({"none"}, "no library at all"))
        *r << iso + mifare + hf << "" << QStringList{noIso};
}

void TestCMRF800DriveHelper::readCardId()
{
    QFETCH(QByteArray, card);
    QFETCH(QString, expected);
    QFETCH(QStringList, expectedLog);
    layCard(card);
    CMRF800DriveHelper helper;
    helper.init();
    LogCapture log("brenvo.device");
    QCOMPARE(helper.readCardId(), !expected.isEmpty());
    QCOMPARE(helper.cardId(), expected);
    QCOMPARE(log.lines(), expectedLog);
}

void TestCMRF800DriveHelper::cardLaidDownBetweenReads()
{
    if (m_variant != "full")
        QSKIP("needs the full reader libraries");
    CMRF800DriveHelper helper;
    helper.init();
    layCard("hf=E0040150AABBCCDD\n");
    QVERIFY(helper.readCardId());
    QCOMPARE(helper.cardId(), QString("e0040150aabbccdd"));
    layCard("");
    QVERIFY(!helper.readCardId());
    QCOMPARE(helper.cardId(), QString()); // a failed read leaves no stale id behind
    layCard("iso15693=E004015012345678\n");
    QVERIFY(helper.readCardId());
    QCOMPARE(helper.cardId(), QString("e004015012345678"));
}

void TestCMRF800DriveHelper::readCard_data()
{
    QTest::addColumn<QByteArray>("card");
    QTest::addColumn<QByteArray>("readerKey");
    QTest::addColumn<bool>("expectedOk");
    QTest::addColumn<QString>("expectedText");
    QTest::addColumn<QStringList>("expectedLog");

    const QByteArray staff = "mifare_serial=1A2B3C4D\nmifare_key=K3y!9z\n";
    const QString serialLine = "卡号: 1a 2b 3c 4d\r\n卡的内容:";
    const QStringList readOk{header, serialLine};
    const QStringList readFailed{header, "filed to read card"};
    const bool withMfRead = m_variant != "none";

    if (withMfRead) {
        QTest::newRow("staff card") << staff + "mifare_block4_text=STAFF-0001\n"
                                    << QByteArray("K3y!9z") << true << "STAFF-0001" << readOk;
        QTest::newRow("block 4 filled to the end")
            << staff + "mifare_block4=41424344454647484950515253545556\n"
            << QByteArray("K3y!9z") << true << "ABCDEFGHIPQRSTUV" << readOk;
        QTest::newRow("block 4 starting with a zero byte")
            << staff + "mifare_block4=00414243\n"
            << QByteArray("K3y!9z") << true << "" << readOk;
        QTest::newRow("key of other stores") << staff + "mifare_block4_text=STAFF-0001\n"
                                             << QByteArray("FFFFFF") << false << "" << readFailed;
        QTest::newRow("key of wrong length")
            << QByteArray("mifare_serial=1A2B3C4D\nmifare_block4_text=S1\n") << QByteArray("abc")
            << true << "S1"
            << QStringList{header, "reader key must be six characters, has 3", serialLine};
        QTest::newRow("no card") << QByteArray() << QByteArray("K3y!9z") << false << ""
                                 << readFailed;
    } else {
        QTest::newRow("no library") << staff + "mifare_block4_text=STAFF-0001\n"
                                    << QByteArray("K3y!9z") << false << ""
                                    << QStringList{header, "can't find method readCard"};
    }
}

void TestCMRF800DriveHelper::readCard()
{
    QFETCH(QByteArray, card);
    QFETCH(QByteArray, readerKey);
    QFETCH(bool, expectedOk);
    QFETCH(QString, expectedText);
    QFETCH(QStringList, expectedLog);
    layCard(card);
    qputenv("BRENVO_READER_KEY", readerKey);
    CMRF800DriveHelper helper;
    helper.init();
    LogCapture log("brenvo.device");
    QCOMPARE(helper.readCard(), expectedOk);
    QCOMPARE(helper.cardText(), expectedText);
    QCOMPARE(log.lines(), expectedLog);
}

QTEST_GUILESS_MAIN(TestCMRF800DriveHelper)
#include "tst_cmrf800drivehelper.moc"
