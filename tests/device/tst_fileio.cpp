#include "device/fileio.h"
#include "logcapture.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QNetworkInterface>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

class TestFileIo : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void readOperations_data();
    void readOperations();
    void errors_data();
    void errors();
    void readaccount_data();
    void readaccount();
    void accountList_data();
    void accountList();
    void settingReplaced_data();
    void settingReplaced();
    void settingReplacedAtomically();
    void failedWriteReportsFalse();
    void objectsStayIndependent();
    void deleteFile_data();
    void deleteFile();
    void makeFolder_data();
    void makeFolder();
    void getFilePath();
    void getMac();
    void osVersion();
    void startUpdate_data();
    void startUpdate();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    void put(const QString &name, const QByteArray &content);
    QByteArray contentOf(const QString &name) const;

    QScopedPointer<QTemporaryDir> m_dir;
    QString m_previousCurrent;
};

void TestFileIo::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
    m_previousCurrent = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
}

void TestFileIo::cleanup()
{
    QDir::setCurrent(m_previousCurrent);
    m_dir.reset();
}

void TestFileIo::put(const QString &name, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path(name)).absolutePath());
    QFile file(path(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray TestFileIo::contentOf(const QString &name) const
{
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

static QString callRead(FileIo &io, const QString &op, int arg)
{
    if (op == "read")
        return io.read();
    if (op == "readlines")
        return io.readlines();
    if (op == "readaccount")
        return io.readaccount(QString()).toString();
    return io.reads(arg);
}

void TestFileIo::readOperations_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("op");
    QTest::addColumn<int>("arg");
    QTest::addColumn<QString>("expected");

    const QByteArray ab = "a\nb\n";
    QTest::newRow("read joins lines") << ab << "read" << 0 << "ab";
    QTest::newRow("readlines unchanged") << ab << "readlines" << 0 << "a\nb\n";
    QTest::newRow("reads 1") << ab << "reads" << 1 << "a";
    QTest::newRow("reads 2") << ab << "reads" << 2 << "b";
    QTest::newRow("reads past the end") << ab << "reads" << 3 << "";
    QTest::newRow("reads 0") << ab << "reads" << 0 << "";
    QTest::newRow("reads negative") << ab << "reads" << -1 << "";
    QTest::newRow("reads empty middle line") << QByteArray("a\n\nc") << "reads" << 2 << "";
    QTest::newRow("reads last line without break") << QByteArray("a\n\nc") << "reads" << 3 << "c";
    QTest::newRow("read drops CR LF") << QByteArray("a\r\nb\r\n") << "read" << 0 << "ab";
    QTest::newRow("read local encoding")
        << QString("门店\n").toLocal8Bit() << "read" << 0 << QString("门店");
}

void TestFileIo::readOperations()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, op);
    QFETCH(int, arg);
    QFETCH(QString, expected);
    put("setting/f.ini", content);
    FileIo io;
    io.setSource("setting/f.ini");
    QSignalSpy errors(&io, &FileIo::error);
    QCOMPARE(callRead(io, op, arg), expected);
    QCOMPARE(errors.count(), 0);
}

void TestFileIo::errors_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("op");
    QTest::addColumn<QString>("expectedError");

    for (const QString op : {"read", "readlines", "reads"}) {
        QTest::newRow(qPrintable(op + ", no source")) << "" << op << "source is empty";
        QTest::newRow(qPrintable(op + ", missing file"))
            << "setting/missing.ini" << op << "Unable to open the file";
    }
    QTest::newRow("readaccount, no source") << ""
                                            << "readaccount"
                                            << "source is empty";
}

void TestFileIo::errors()
{
    QFETCH(QString, source);
    QFETCH(QString, op);
    QFETCH(QString, expectedError);
    FileIo io;
    io.setSource(source);
    QSignalSpy errors(&io, &FileIo::error);
    QCOMPARE(callRead(io, op, 1), QString());
    QCOMPARE(errors.count(), 1);
    QCOMPARE(errors.first().first().toString(), expectedError);
}

void TestFileIo::readaccount_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("expected");

    const QString accounts = "setting/account.ini";
    QTest::newRow("empty key lists non-empty lines")
        << accounts << QByteArray("amy\n\nBob\n") << "" << QStringList{"amy", "Bob"};
    QTest::newRow("containment ignores case")
        << accounts << QByteArray("cab\nABC\nbac\n") << "Ab" << QStringList{"cab", "ABC"};
    QTest::newRow("no match") << accounts << QByteArray("amy\n") << "zz" << QStringList();
    QTest::newRow("missing file") << accounts << QByteArray() << "" << QStringList();
}

void TestFileIo::readaccount()
{
    QFETCH(QString, source);
    QFETCH(QByteArray, content);
    QFETCH(QString, key);
    QFETCH(QStringList, expected);
    if (!content.isEmpty())
        put(source, content);
    FileIo io;
    io.setSource(source);
    QSignalSpy errors(&io, &FileIo::error);
    const QJsonValue result = io.readaccount(key);
    QVERIFY(result.isObject());
    QStringList views;
    for (const QJsonValue &row : result.toObject().value("list").toArray())
        views << row.toObject().value("view").toString();
    QCOMPARE(views, expected);
    QCOMPARE(errors.count(), 0);
}

void TestFileIo::accountList_data()
{
    QTest::addColumn<QStringList>("steps"); // "write:value" or "writes:value"
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("write to missing file") << QStringList{"write:Bob"} << QByteArray("Bob\n");
    QTest::newRow("write puts newest first")
        << QStringList{"write:Bob", "write:amy"} << QByteArray("amy\nBob\n");
    QTest::newRow("write of a known value in other case changes nothing")
        << QStringList{"write:Bob", "write:amy", "write:BOB"} << QByteArray("amy\nBob\n");
    QTest::newRow("writes to missing file starts with empty line")
        << QStringList{"writes:x"} << QByteArray("\nx");
    QTest::newRow("writes appends at the end")
        << QStringList{"write:a", "writes:b"} << QByteArray("a\n\nb");
    QTest::newRow("writes of a known value changes nothing")
        << QStringList{"write:amy", "writes:AMY"} << QByteArray("amy\n");
    QTest::newRow("a value is compared with whole lines")
        << QStringList{"write:tammy", "write:amy"} << QByteArray("amy\ntammy\n");
    QTest::newRow("empty value is never added")
        << QStringList{"write:Bob", "write:", "writes:"} << QByteArray("Bob\n");
}

void TestFileIo::accountList()
{
    QFETCH(QStringList, steps);
    QFETCH(QByteArray, expected);
    FileIo io;
    io.setSource("setting/account.ini");
    QVERIFY(io.holdsList());
    for (const QString &step : steps) {
        const QString value = step.section(':', 1);
        QVERIFY(step.startsWith("writes:") ? io.writes(value) : io.write(value));
    }
    QCOMPARE(contentOf("setting/account.ini"), expected);
}

void TestFileIo::settingReplaced_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("op");
    QTest::addColumn<QStringList>("values");

    QTest::newRow("printer name") << "setting/Wash.ini"
                                  << "write" << QStringList{"HP LaserJet Pro", "HP LaserJet"};
    QTest::newRow("option flag back and forth") << "setting/sign.ini"
                                                << "write" << QStringList{"0", "1", "0"};
    QTest::newRow("arrival mode") << "setting/asMode.ini"
                                  << "write" << QStringList{"2", "1"};
    QTest::newRow("newest version") << "ver.ini"
                                    << "write" << QStringList{"V4.0.2", "V4.0.3"};
    QTest::newRow("portrait cleared") << "setting/HeadPath.ini"
                                      << "write" << QStringList{"http://x/a.png", ""};
    QTest::newRow("writes replaces too") << "setting/quality.ini"
                                         << "writes" << QStringList{"1", "0"};
}

void TestFileIo::settingReplaced()
{
    QFETCH(QString, source);
    QFETCH(QString, op);
    QFETCH(QStringList, values);
    FileIo io;
    io.setSource(source);
    QVERIFY(!io.holdsList());
    for (const QString &value : values)
        QVERIFY(op == "writes" ? io.writes(value) : io.write(value));
    QCOMPARE(io.read(), values.last());
    QCOMPARE(io.reads(2), QString());
}

void TestFileIo::settingReplacedAtomically()
{
#ifdef Q_OS_UNIX
    // A second name for the old file keeps the old content only when the new content went
    // into a new file renamed over the old one, never into the old file itself.
    put("setting/Ticket.ini", "old printer\n");
    QCOMPARE(::link(qPrintable(path("setting/Ticket.ini")), qPrintable(path("old.ini"))), 0);
    FileIo io;
    io.setSource("setting/Ticket.ini");
    QVERIFY(io.write("new printer"));
    QCOMPARE(contentOf("setting/Ticket.ini"), QByteArray("new printer\n"));
    QCOMPARE(contentOf("old.ini"), QByteArray("old printer\n"));
    QCOMPARE(QDir(path("setting")).entryList(QDir::Files), QStringList{"Ticket.ini"});
#else
    QSKIP("needs hard links");
#endif
}

void TestFileIo::failedWriteReportsFalse()
{
    put("blocked", "a file where a folder should be");
    for (const QString source : {"blocked/Wash.ini", "blocked/account.ini"}) {
        FileIo io;
        io.setSource(source);
        QVERIFY2(!io.write("x"), qPrintable(source));
        QVERIFY2(!io.writes("x"), qPrintable(source));
    }
    FileIo noSource;
    QVERIFY(!noSource.write("x"));
    QVERIFY(!noSource.writes("x"));
    QCOMPARE(contentOf("blocked"), QByteArray("a file where a folder should be"));
}

void TestFileIo::objectsStayIndependent()
{
    FileIo wash;
    FileIo ticket;
    wash.setSource("setting/Wash.ini");
    ticket.setProperty("source", "setting/Ticket.ini");
    QSignalSpy changes(&ticket, &FileIo::sourceChanged);
    QCOMPARE(changes.count(), 0); // setting the path only stores it
    QVERIFY(wash.write("label printer"));
    QVERIFY(ticket.write("ticket printer"));
    QCOMPARE(wash.read(), QString("label printer"));
    QCOMPARE(ticket.read(), QString("ticket printer"));
    QCOMPARE(wash.property("source").toString(), QString("setting/Wash.ini"));
}

void TestFileIo::deleteFile_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("namePath");
    QTest::addColumn<bool>("expected");
    QTest::addColumn<QStringList>("remaining");

    QTest::newRow("plain files") << QStringList{"qrpic/a.png", "qrpic/b.png", "qrpic/.hidden"}
                                 << "/qrpic/" << true << QStringList();
    QTest::newRow("subfolders are skipped, files after them removed")
        << QStringList{"qrpic/a.png", "qrpic/client/p.jpg", "qrpic/z.png"} << "/qrpic/" << true
        << QStringList{"client"};
    QTest::newRow("inner folder") << QStringList{"qrpic/a.png", "qrpic/client/p.jpg"}
                                  << "/qrpic/client/" << true << QStringList();
    QTest::newRow("missing folder")
        << QStringList{"other/a.png"} << "/qrpic/" << false << QStringList();
}

void TestFileIo::deleteFile()
{
    QFETCH(QStringList, files);
    QFETCH(QString, namePath);
    QFETCH(bool, expected);
    QFETCH(QStringList, remaining);
    for (const QString &file : files)
        put(file, "x");
    FileIo io;
    QCOMPARE(io.deleteFile(namePath), expected);
    const QDir folder(QDir::currentPath() + namePath);
    QCOMPARE(folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), remaining);
    if (remaining.contains("client"))
        QVERIFY(QFile::exists(path("qrpic/client/p.jpg")));
}

void TestFileIo::makeFolder_data()
{
    QTest::addColumn<QString>("namePath");
    QTest::addColumn<bool>("expected");
    QTest::newRow("with its parents") << "/qrpic/client/" << true;
    QTest::newRow("already there") << "/setting" << true;
    QTest::newRow("not above the current folder") << "/../outside/" << false;
}

void TestFileIo::makeFolder()
{
    QFETCH(QString, namePath);
    QFETCH(bool, expected);
    QVERIFY(QDir().mkpath("setting"));
    FileIo io;
    QCOMPARE(io.makeFolder(namePath), expected);
    QCOMPARE(QDir(QDir::currentPath() + namePath).exists(), expected);
}

void TestFileIo::getFilePath()
{
    FileIo io;
    const QString folder = io.getFilePath();
    QVERIFY(!folder.contains('\\'));
    QCOMPARE(QFileInfo(folder).canonicalFilePath(), QFileInfo(m_dir->path()).canonicalFilePath());
}

void TestFileIo::getMac()
{
    // Whatever the machine has: "" exactly when no interface but the loopback runs.
    bool anyRunning = false;
    QStringList candidates;
    for (const QNetworkInterface &interface : QNetworkInterface::allInterfaces()) {
        const auto flags = interface.flags();
        if (flags.testFlag(QNetworkInterface::IsUp) &&
            flags.testFlag(QNetworkInterface::IsRunning) &&
            !flags.testFlag(QNetworkInterface::IsLoopBack)) {
            anyRunning = true;
            candidates << interface.hardwareAddress();
        }
    }
    const QString mac = FileIo().getMac();
    if (!anyRunning) {
        QCOMPARE(mac, QString());
        return;
    }
    QVERIFY2(candidates.contains(mac), qPrintable(mac));
    if (!mac.isEmpty())
        QVERIFY(QRegularExpression("^([0-9A-F]{2}:){5}[0-9A-F]{2}$").match(mac).hasMatch());
}

void TestFileIo::osVersion()
{
#ifdef Q_OS_WIN
    const QString name = FileIo().osVersion();
    QVERIFY(name.isEmpty() || name.startsWith("Windows "));
#else
    QCOMPARE(FileIo().osVersion(), QSysInfo::prettyProductName());
    QVERIFY(!FileIo().osVersion().isEmpty());
#endif
}

void TestFileIo::startUpdate_data()
{
    QTest::addColumn<bool>("toolPresent");
    QTest::addColumn<QByteArray>("toolOutput");
    QTest::addColumn<QStringList>("expectedLog");

    QTest::newRow("no updater") << false << QByteArray()
                                << QStringList{"Error checking for updates.",
                                               "No updates available.", "Program startup failed."};
    QTest::newRow("no update") << true << QByteArray() << QStringList{"No updates available."};
    QTest::newRow("update available") << true << QByteArray("V4.0.3 available\n") << QStringList();
}

void TestFileIo::startUpdate()
{
#ifdef Q_OS_UNIX
    QFETCH(bool, toolPresent);
    QFETCH(QByteArray, toolOutput);
    QFETCH(QStringList, expectedLog);
    if (toolPresent) {
        put("maintenancetool", "#!/bin/sh\n"
                               "echo \"$*\" >> calls.log\n"
                               "[ \"$1\" = --checkupdates ] && cat output.txt\n"
                               "exit 0\n");
        QFile::setPermissions(path("maintenancetool"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        put("output.txt", toolOutput);
    }
    FileIo io;
    bool result = true;
    {
        LogCapture log("brenvo.device");
        result = io.startUpdate();
        QCOMPARE(log.lines(), expectedLog);
    }
    QCOMPARE(result, false);
    if (toolPresent) // the updater is started detached after the check
        QTRY_COMPARE(contentOf("calls.log"), QByteArray("--checkupdates\n--updater\n"));
#else
    QSKIP("uses a shell script as the updater");
#endif
}

QTEST_GUILESS_MAIN(TestFileIo)
#include "tst_fileio.moc"
