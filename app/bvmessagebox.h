#pragma once

#include <QObject>
#include <QString>

#include <functional>

// Modal system message boxes for the screens. Each call returns when the box is closed and
// reports a confirmation through okFlishedReturn; closing the box any other way (its close
// control, Escape, "不更新") reports nothing.
class BVMessageBox : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // What shows a box and tells whether the worker confirmed it. `kind` is "message",
    // "information", "error" or "update". The terminal shows system message boxes; a
    // harness without widgets (the screen tests) puts its own in place.
    using Presenter =
        std::function<bool(const QString &kind, const QString &title, const QString &content)>;
    static void setPresenter(Presenter presenter);

    Q_INVOKABLE void btnMsgMessageBox(const QString &title, const QString &content);
    Q_INVOKABLE void btnMsgUpdate(const QString &content);
    Q_INVOKABLE void btnMsgMessageInformationBox(const QString &title, const QString &content);
    Q_INVOKABLE void btnMsgMessageErrBox(const QString &title, const QString &content);

signals:
    void okFlishedReturn(const QString &jsonStr);

private:
    void show(const QString &kind, const QString &title, const QString &content,
              const QString &answer);
};
