#pragma once

#include <QObject>
#include <QString>

// Modal system message boxes for the screens. Each call returns when the box is closed and
// reports a confirmation through okFlishedReturn; closing the box any other way (its close
// control, Escape, "不更新") reports nothing.
class BVMessageBox : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    Q_INVOKABLE void btnMsgMessageBox(const QString &title, const QString &content);
    Q_INVOKABLE void btnMsgUpdate(const QString &content);
    Q_INVOKABLE void btnMsgMessageInformationBox(const QString &title, const QString &content);
    Q_INVOKABLE void btnMsgMessageErrBox(const QString &title, const QString &content);

signals:
    void okFlishedReturn(const QString &jsonStr);

private:
    void showConfirmBox(int icon, const QString &title, const QString &content);
};
