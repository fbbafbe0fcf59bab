#include "app/bvmessagebox.h"

#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

namespace {

// A one-button box would take its close control and Escape as a press of that button;
// here they close the box without a confirmation.
class CloseWithoutAnswer : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const bool escape = event->type() == QEvent::KeyPress &&
                            static_cast<QKeyEvent *>(event)->matches(QKeySequence::Cancel);
        if (event->type() != QEvent::Close && !escape)
            return false;
        static_cast<QMessageBox *>(watched)->done(QDialog::Rejected);
        return true;
    }
};

// Runs the box modally; true when the given button closed it.
bool pressed(QMessageBox &box, QAbstractButton *button)
{
    box.exec();
    return box.clickedButton() == button;
}

} // namespace

void BVMessageBox::showConfirmBox(int icon, const QString &title, const QString &content)
{
    QMessageBox box(QMessageBox::Icon(icon), title, content);
    QPushButton *ok = box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    CloseWithoutAnswer closer;
    box.installEventFilter(&closer);
    if (pressed(box, ok)) {
        qDebug("ok");
        emit okFlishedReturn(QStringLiteral("ok"));
    }
}

void BVMessageBox::btnMsgMessageBox(const QString &title, const QString &content)
{
    showConfirmBox(QMessageBox::NoIcon, title, content);
}

void BVMessageBox::btnMsgUpdate(const QString &content)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("更新提醒"),
                    QStringLiteral("发现新的版本，是否更新!\n") + content);
    QPushButton *update = box.addButton(QStringLiteral("去更新"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("不更新"), QMessageBox::RejectRole);
    if (pressed(box, update)) {
        qDebug("update");
        emit okFlishedReturn(QStringLiteral("update"));
    }
}

void BVMessageBox::btnMsgMessageInformationBox(const QString &title, const QString &content)
{
    showConfirmBox(QMessageBox::Information, title, content);
}

void BVMessageBox::btnMsgMessageErrBox(const QString &title, const QString &content)
{
    showConfirmBox(QMessageBox::Critical, title, content);
}
