// The text cursor stops blinking after a while without input and blinks again with the next.
#include "app/caretblinktimeout.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleHints>
#include <QWindow>
#include <QtTest>

class TestCaretBlinkTimeout : public QObject
{
    Q_OBJECT

private slots:
    void stopsWhenIdleAndResumesOnInput_data();
    void stopsWhenIdleAndResumesOnInput();
    void leavesTheBlinkAsItFoundIt();
};

void TestCaretBlinkTimeout::stopsWhenIdleAndResumesOnInput_data()
{
    QTest::addColumn<int>("eventType");
    QTest::newRow("key") << int(QEvent::KeyPress);
    QTest::newRow("click") << int(QEvent::MouseButtonPress);
    QTest::newRow("mouse moved") << int(QEvent::MouseMove);
}

void TestCaretBlinkTimeout::stopsWhenIdleAndResumesOnInput()
{
    QFETCH(int, eventType);
    QStyleHints *hints = QGuiApplication::styleHints();
    const int flash = hints->cursorFlashTime();
    QVERIFY(flash > 0);

    CaretBlinkTimeout timeout(100);
    QWindow window;
    QVERIFY(timeout.blinking());
    QTRY_COMPARE(hints->cursorFlashTime(), 0);
    QVERIFY(!timeout.blinking());

    // An event that is no input leaves it steady.
    QEvent expose(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(&window, &expose);
    QCOMPARE(hints->cursorFlashTime(), 0);

    if (eventType == QEvent::KeyPress) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, QStringLiteral("5"));
        QCoreApplication::sendEvent(&window, &key);
    } else {
        QMouseEvent mouse(QEvent::Type(eventType), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &mouse);
    }
    QCOMPARE(hints->cursorFlashTime(), flash);
    QVERIFY(timeout.blinking());
    // And stops again once the worker leaves it.
    QTRY_COMPARE(hints->cursorFlashTime(), 0);
}

void TestCaretBlinkTimeout::leavesTheBlinkAsItFoundIt()
{
    QStyleHints *hints = QGuiApplication::styleHints();
    const int flash = hints->cursorFlashTime();
    {
        CaretBlinkTimeout timeout(10);
        QTRY_COMPARE(hints->cursorFlashTime(), 0);
    }
    QCOMPARE(hints->cursorFlashTime(), flash);
}

QTEST_MAIN(TestCaretBlinkTimeout)
#include "tst_caretblinktimeout.moc"
