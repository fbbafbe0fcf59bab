// The screens' console output goes through its own logging category.
#include "app/applogging.h"
#include "tests/device/logcapture.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QtTest>

class TestAppLogging : public QObject
{
    Q_OBJECT

private slots:
    void screenConsoleUsesItsCategory();

private:
    void runScreenConsole(const QByteArray &call)
    {
        QQmlEngine engine;
        QQmlComponent component(&engine);
        component.setData("import QtQml 2.15\nQtObject { Component.onCompleted: " + call + " }",
                          QUrl());
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

QTEST_GUILESS_MAIN(TestAppLogging)
#include "tst_applogging.moc"
