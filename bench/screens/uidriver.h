#pragma once

#include <QEventLoop>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>
#include <stdexcept>

class QQuickItem;
class QQuickWindow;

// A step of the benchmark that did not happen in time: the run stops and says which.
struct StepFailed : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

// Works the terminal's window as a worker would: finds items by objectName, clicks them,
// types, presses Return, and runs the event loop while waiting. The benchmark runs outside
// QApplication::exec, so what the screens release with deleteLater is released within the
// next wait, as in the running terminal.
class UiDriver
{
public:
    explicit UiDriver(QQuickWindow *window) : win(window) {}

    QQuickWindow *window() const { return win; }

    // The topmost shown item with this objectName below `root` (the whole window when null),
    // or with `hiddenToo` the last one shown or not; null when there is none.
    QQuickItem *find(const QString &name, QQuickItem *root = nullptr, bool hiddenToo = false) const;
    // As find, but a missing item stops the run.
    QQuickItem *need(const QString &name, QQuickItem *root = nullptr, bool hiddenToo = false) const;

    // Runs the event loop until `done` holds; after `timeoutMs` the run stops, naming `what`.
    void waitFor(const std::function<bool()> &done, const QString &what, int timeoutMs = 15000);
    // Waits for `old` to be released and a shown item `name` to take its place. Take the
    // guard before the step that releases `old`: it may go within that very step.
    QQuickItem *waitForNew(const QString &name, const QPointer<QQuickItem> &old,
                           QQuickItem *root = nullptr);
    // Runs the event loop for `ms` milliseconds with no timer of its own but the one ending it.
    void idle(int ms);

    // Does `act`, then runs the event loop until `done` holds, looking again each time
    // `sender` emits `signal` (connected before `act`, so no emission is missed); after
    // `timeoutMs` the run stops, naming `what`.
    template <typename Signal>
    void actThenWait(const std::function<void()> &act,
                     const typename QtPrivate::FunctionPointer<Signal>::Object *sender,
                     Signal signal, const std::function<bool()> &done, const QString &what,
                     int timeoutMs = 15000)
    {
        QEventLoop loop;
        QObject::connect(sender, signal, &loop, [&] {
            if (done())
                loop.quit();
        });
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
        act();
        if (!done())
            loop.exec();
        releaseDeferred();
        if (!done())
            throw StepFailed("timed out waiting for " + what.toStdString());
    }

    void click(QQuickItem *item);
    void hover(QQuickItem *item);
    // Keys (Latin-1 characters) into the item that holds the keyboard.
    void type(const QString &text);
    void pressReturn();

private:
    static void releaseDeferred();

    QQuickWindow *win;
};
