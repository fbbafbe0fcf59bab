// The screens' console output goes through its own logging category.
#include "app/applogging.h"
#include "app/typeregistry.h"
#include "tests/device/logcapture.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QtTest>

class TestAppLogging : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerBrenvoTypes(); }
    void screenConsoleUsesItsCategory();
    void areaConsoleUsesTheAreaCategory_data();
    void areaConsoleUsesTheAreaCategory();
    void screenOpenerWarnsUnderTheShell();

private:
    void runScreenConsole(const QByteArray &call)
    {
        QQmlEngine engine;
        QQmlComponent component(&engine);
        component.setData("import QtQml 2.15\nimport Brenvo 1.0\nimport \"qrc:/screens.js\" as "
                          "Screens\nQtObject { Component.onCompleted: " +
                              call + " }",
                          QUrl());
        QVERIFY2(component.isReady(), qPrintable(component.errorString()));
        delete component.create();
    }
};

void TestAppLogging::screenConsoleUsesItsCategory()
{
    LogCapture capture("brenvo.screens");
    installScreenLogging();

    runScreenConsole("console.log('PlaceOrderContent: tags loaded')");
    runScreenConsole("console.warn('cannot open Cashier')");
    QCOMPARE(capture.lines(),
             (QStringList{"PlaceOrderContent: tags loaded", "cannot open Cashier"}));

    // Support turns the screens' chatter off like any other subsystem's.
    QLoggingCategory::setFilterRules(QStringLiteral("brenvo.screens.debug=false"));
    runScreenConsole("console.log('not wanted')");
    runScreenConsole("console.warn('still wanted')");
    QLoggingCategory::setFilterRules(QString());
    QCOMPARE(capture.lines().last(), QString("still wanted"));
    QVERIFY(!capture.lines().contains("not wanted"));
}

void TestAppLogging::areaConsoleUsesTheAreaCategory_data()
{
    QTest::addColumn<QByteArray>("area");
    QTest::addColumn<QByteArray>("category");
    const QByteArray areas[] = {"common", "ordering", "pickup", "logistics",
                                "members", "reports", "books"};
    for (const QByteArray &area : areas)
        QTest::newRow(area.constData()) << area << "brenvo.screens." + area;
    QTest::newRow("app") << QByteArray("app") << QByteArray("brenvo.app");
}

// Logs names one category per area; a line written with it carries that name, and support
// turns one area's chatter off without touching another's.
void TestAppLogging::areaConsoleUsesTheAreaCategory()
{
    QFETCH(QByteArray, area);
    QFETCH(QByteArray, category);
    LogCapture capture(category.constData());

    runScreenConsole("console.log(Logs." + area + ", 'page 2 of the list')");
    QCOMPARE(capture.lines(), QStringList{"page 2 of the list"});

    QLoggingCategory::setFilterRules(QString::fromLatin1(category + ".debug=false"));
    runScreenConsole("console.log(Logs." + area + ", 'not wanted')");
    runScreenConsole("console.warn(Logs." + area + ", 'still wanted')");
    QLoggingCategory::setFilterRules(QString());
    QCOMPARE(capture.lines(), (QStringList{"page 2 of the list", "still wanted"}));
}

// The shell's script that opens screens tells under brenvo.app why a screen did not open.
void TestAppLogging::screenOpenerWarnsUnderTheShell()
{
    LogCapture capture("brenvo.app");
    runScreenConsole("Screens.open(null, 'NoSuchScreen')");
    QCOMPARE(capture.lines().size(), 1);
    QVERIFY2(capture.lines().first().startsWith("cannot open NoSuchScreen: "),
             qPrintable(capture.lines().first()));
}

QTEST_GUILESS_MAIN(TestAppLogging)
#include "tst_applogging.moc"
