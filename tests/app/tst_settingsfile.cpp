#include "app/typeregistry.h"
#include "tests/device/logcapture.h"

#include <QDir>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// What the settings files write to the log: a new terminal reads a dozen files that were
// never written, which is no fault and takes one debug line; a file that cannot be read is a
// warning.
class TestSettingsFile : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir::setCurrent(m_dir.path()));
        QVERIFY(QDir().mkpath("setting"));
    }

    void filesNotWrittenYetTakeOneDebugLine()
    {
        LogCapture log;
        readAll({"setting/sign.ini", "setting/Wash.ini", "setting/Ticket.ini", "ver.ini"});
        QCOMPARE(log.lines(), log.debugLines());
        QCOMPARE(log.lines().size(), 1);
        QCOMPARE(log.lines().first(),
                 "settings not written yet, defaults used: setting/sign.ini, setting/Wash.ini, "
                 "setting/Ticket.ini, ver.ini");
        QVERIFY(!log.lines().join('\n').contains("Unable to open the file"));
    }

    void unreadableFileIsAWarning()
    {
        QVERIFY(QDir().mkpath("setting/quality.ini")); // a folder where the file should be
        LogCapture log;
        readAll({"setting/quality.ini"});
        QCOMPARE(log.lines(), {"setting/quality.ini: Unable to open the file"});
        QVERIFY(log.debugLines().isEmpty());
    }

private:
    // Reads each file through the screens' SettingsFile, as the left bar does at start-up.
    void readAll(const QStringList &paths)
    {
        QQmlEngine engine;
        QQmlComponent component(&engine);
        component.setData("import QtQuick 2.15\nimport \"qrc:/\"\nItem {\n"
                          "  function readAll(paths) { for (var i = 0; i < paths.length; ++i) {"
                          " file.source = paths[i]; file.read() } }\n"
                          "  SettingsFile { id: file }\n}",
                          QUrl("qrc:/tst_settingsfile.qml"));
        std::unique_ptr<QObject> item(component.create());
        QVERIFY2(item, qPrintable(component.errorString()));
        QMetaObject::invokeMethod(item.get(), "readAll", Q_ARG(QVariant, paths));
        QCoreApplication::processEvents();
    }

    QTemporaryDir m_dir;
};

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    registerBrenvoTypes();
    TestSettingsFile test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settingsfile.moc"
