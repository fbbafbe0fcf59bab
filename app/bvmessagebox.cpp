#include "app/bvmessagebox.h"

#include "app/applogging.h"

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

// The system's message boxes: one "确定" button, or "去更新"/"不更新" for the update.
bool systemBox(const QString &kind, const QString &title, const QString &content)
{
    if (kind == QLatin1String("update")) {
        QMessageBox box(QMessageBox::Question, title, content);
        QPushButton *update = box.addButton(QStringLiteral("去更新"), QMessageBox::AcceptRole);
        box.addButton(QStringLiteral("不更新"), QMessageBox::RejectRole);
        return pressed(box, update);
    }
    const QMessageBox::Icon icon = kind == QLatin1String("error")         ? QMessageBox::Critical
                                   : kind == QLatin1String("information") ? QMessageBox::Information
                                                                          : QMessageBox::NoIcon;
    QMessageBox box(icon, title, content);
    QPushButton *ok = box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    CloseWithoutAnswer closer;
    box.installEventFilter(&closer);
    return pressed(box, ok);
}

BVMessageBox::Presenter &presenter()
{
    static BVMessageBox::Presenter current = systemBox;
    return current;
}

} // namespace

void BVMessageBox::setPresenter(Presenter replacement)
{
    presenter() = replacement ? std::move(replacement) : Presenter(systemBox);
}

void BVMessageBox::show(const QString &kind, const QString &title, const QString &content,
                        const QString &answer)
{
    if (!presenter()(kind, title, content))
        return;
    qCDebug(lcApp).noquote() << answer;
    emit okFlishedReturn(answer);
}

void BVMessageBox::btnMsgMessageBox(const QString &title, const QString &content)
{
    show(QStringLiteral("message"), title, content, QStringLiteral("ok"));
}

void BVMessageBox::btnMsgUpdate(const QString &content)
{
    show(QStringLiteral("update"), QStringLiteral("更新提醒"),
         QStringLiteral("发现新的版本，是否更新!\n") + content, QStringLiteral("update"));
}

void BVMessageBox::btnMsgMessageInformationBox(const QString &title, const QString &content)
{
    show(QStringLiteral("information"), title, content, QStringLiteral("ok"));
}

void BVMessageBox::btnMsgMessageErrBox(const QString &title, const QString &content)
{
    show(QStringLiteral("error"), title, content, QStringLiteral("ok"));
}
