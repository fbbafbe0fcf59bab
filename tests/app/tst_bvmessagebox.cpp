#include "../device/logcapture.h"
#include "app/bvmessagebox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

// What a worker sees in the box, and how the box was answered.
struct SeenBox
{
    QString title;
    QString text;
    int icon = -1;
    QStringList buttons;
    bool visibleWhileOpen = false;
    bool fixedSize = false;
};

class TestBVMessageBox : public QObject
{
    Q_OBJECT

private slots:
    void answer_data();
    void answer();
};

namespace {

// Waits for the modal box, records it, then answers it with the given action: the text of a
// button to press, or "close", "escape" or "reject".
void answerWhenShown(SeenBox *seen, const QString &action)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, seen, action] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll->stop();
        poll->deleteLater();
        seen->title = box->windowTitle();
        seen->text = box->text();
        seen->icon = box->icon();
        seen->visibleWhileOpen = box->isVisible() && box->isModal();
        seen->fixedSize = box->minimumSize() == box->maximumSize();
        for (QAbstractButton *button : box->buttons())
            seen->buttons << button->text();
        if (action == "close")
            box->close();
        else if (action == "escape")
            QTest::keyClick(box, Qt::Key_Escape);
        else if (action == "reject")
            box->reject();
        for (QAbstractButton *button : box->buttons()) {
            if (button->text() == action)
                button->click();
        }
    });
    poll->start(10);
}

void open(BVMessageBox &box, const QString &op, const QString &title, const QString &content)
{
    if (op == "btnMsgMessageBox")
        box.btnMsgMessageBox(title, content);
    else if (op == "btnMsgUpdate")
        box.btnMsgUpdate(content);
    else if (op == "btnMsgMessageInformationBox")
        box.btnMsgMessageInformationBox(title, content);
    else
        box.btnMsgMessageErrBox(title, content);
}

} // namespace

void TestBVMessageBox::answer_data()
{
    QTest::addColumn<QString>("op");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("expectedTitle");
    QTest::addColumn<QString>("expectedText");
    QTest::addColumn<int>("expectedIcon");
    QTest::addColumn<QStringList>("expectedButtons");
    QTest::addColumn<QString>("expectedEmit"); // "" for none

    const QString update = "发现新的版本，是否更新!\nV4.0.3 修复打印";
    const QStringList updateButtons{"去更新", "不更新"};
    QTest::newRow("update, 去更新")
        << "btnMsgUpdate"
        << "去更新"
        << "更新提醒" << update << int(QMessageBox::Question) << updateButtons << "update";
    QTest::newRow("update, 不更新")
        << "btnMsgUpdate"
        << "不更新"
        << "更新提醒" << update << int(QMessageBox::Question) << updateButtons << "";
    QTest::newRow("update, closed")
        << "btnMsgUpdate"
        << "close"
        << "更新提醒" << update << int(QMessageBox::Question) << updateButtons << "";

    const struct
    {
        const char *op;
        QMessageBox::Icon icon;
    } confirmBoxes[] = {{"btnMsgMessageBox", QMessageBox::NoIcon},
                        {"btnMsgMessageInformationBox", QMessageBox::Information},
                        {"btnMsgMessageErrBox", QMessageBox::Critical}};
    for (const auto &box : confirmBoxes) {
        for (const char *action : {"确定", "close", "escape", "reject"}) {
            QTest::addRow("%s, %s", box.op, action)
                << box.op << action << "错误提示"
                << "手机号格式不正确" << int(box.icon) << QStringList{"确定"}
                << (QString(action) == "确定" ? "ok" : "");
        }
    }
}

void TestBVMessageBox::answer()
{
    QFETCH(QString, op);
    QFETCH(QString, action);
    QFETCH(QString, expectedTitle);
    QFETCH(QString, expectedText);
    QFETCH(int, expectedIcon);
    QFETCH(QStringList, expectedButtons);
    QFETCH(QString, expectedEmit);

    BVMessageBox box;
    QSignalSpy emitted(&box, &BVMessageBox::okFlishedReturn);
    SeenBox seen;
    answerWhenShown(&seen, action);
    LogCapture log("brenvo.app");
    open(box, op, "错误提示", op == "btnMsgUpdate" ? "V4.0.3 修复打印" : "手机号格式不正确");

    // The call returns only once the box is answered.
    QVERIFY(seen.visibleWhileOpen);
    QVERIFY(seen.fixedSize);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QCOMPARE(seen.title, expectedTitle);
    QCOMPARE(seen.text, expectedText);
    QCOMPARE(seen.icon, expectedIcon);
    QCOMPARE(seen.buttons, expectedButtons);
    QCOMPARE(emitted.count(), expectedEmit.isEmpty() ? 0 : 1);
    if (!expectedEmit.isEmpty())
        QCOMPARE(emitted.first().first().toString(), expectedEmit);
    QCOMPARE(log.debugLines(), expectedEmit.isEmpty() ? QStringList() : QStringList{expectedEmit});
}

QTEST_MAIN(TestBVMessageBox)
#include "tst_bvmessagebox.moc"
