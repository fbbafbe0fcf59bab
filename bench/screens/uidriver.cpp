#include "uidriver.h"

#include <QCoreApplication>
#include <QPointer>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

namespace {

void collect(QQuickItem *item, const QString &name, bool hiddenToo, QQuickItem *&found)
{
    if (!hiddenToo && !item->isVisible())
        return;
    if (item->objectName() == name)
        found = item;
    const QList<QQuickItem *> children = item->childItems();
    for (QQuickItem *child : children)
        collect(child, name, hiddenToo, found);
}

QPoint centreOf(QQuickItem *item)
{
    return item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint();
}

} // namespace

QQuickItem *UiDriver::find(const QString &name, QQuickItem *root, bool hiddenToo) const
{
    QQuickItem *found = nullptr;
    collect(root ? root : win->contentItem(), name, hiddenToo, found);
    return found;
}

QQuickItem *UiDriver::need(const QString &name, QQuickItem *root, bool hiddenToo) const
{
    QQuickItem *item = find(name, root, hiddenToo);
    if (!item)
        throw StepFailed("no shown item named " + name.toStdString());
    return item;
}

void UiDriver::releaseDeferred()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void UiDriver::waitFor(const std::function<bool()> &done, const QString &what, int timeoutMs)
{
    if (done())
        return;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        releaseDeferred();
        if (done())
            loop.quit();
    });
    poll.start(5);
    bool late = false;
    QTimer::singleShot(timeoutMs, &loop, [&] {
        late = true;
        loop.quit();
    });
    loop.exec();
    releaseDeferred();
    if (late && !done())
        throw StepFailed("timed out waiting for " + what.toStdString());
}

QQuickItem *UiDriver::waitForNew(const QString &name, const QPointer<QQuickItem> &old,
                                 QQuickItem *root)
{
    // Once `old` is gone its address may be reused by the new item, so only the guard tells
    // them apart.
    QQuickItem *found = nullptr;
    waitFor(
        [&] {
            found = old.isNull() ? find(name, root) : nullptr;
            return found != nullptr;
        },
        "a new " + name);
    return found;
}

void UiDriver::idle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    releaseDeferred();
}

void UiDriver::click(QQuickItem *item)
{
    QTest::mouseClick(win, Qt::LeftButton, Qt::NoModifier, centreOf(item));
}

void UiDriver::hover(QQuickItem *item)
{
    QTest::mouseMove(win, centreOf(item));
}

void UiDriver::type(const QString &text)
{
    for (const QChar c : text)
        QTest::keyClick(win, c.toLatin1());
}

void UiDriver::pressReturn()
{
    QTest::keyClick(win, Qt::Key_Return);
}
