#include "frameprobe.h"

#include <QMutexLocker>
#include <QQuickWindow>

#include <chrono>

FrameProbe::FrameProbe(QQuickWindow *window) : QObject(window)
{
    // Direct: the render thread's own moment is what counts, not when the GUI hears of it.
    connect(window, &QQuickWindow::beforeSynchronizing, this, &FrameProbe::synchronizing,
            Qt::DirectConnection);
    connect(window, &QQuickWindow::beforeRendering, this, &FrameProbe::rendering,
            Qt::DirectConnection);
    connect(window, &QQuickWindow::frameSwapped, this, &FrameProbe::frameSwapped,
            Qt::DirectConnection);
}

qint64 FrameProbe::nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int FrameProbe::swapCount() const
{
    QMutexLocker lock(&mutex);
    return swaps;
}

QVector<double> FrameProbe::takeFrameTimes()
{
    QMutexLocker lock(&mutex);
    QVector<double> taken;
    taken.swap(frameTimes);
    return taken;
}

void FrameProbe::watch(Stage awaited)
{
    QMutexLocker lock(&mutex);
    stage = std::move(awaited);
    syncedStage = 0;
    drawnStage = 0;
    stageSynced.clear();
    stageSwapped.clear();
}

void FrameProbe::unwatch()
{
    QMutexLocker lock(&mutex);
    stage = nullptr;
}

qint64 FrameProbe::stageSyncedNs(int s) const
{
    QMutexLocker lock(&mutex);
    return stageSynced.value(s);
}

qint64 FrameProbe::stageSwappedNs(int s) const
{
    QMutexLocker lock(&mutex);
    return stageSwapped.value(s);
}

void FrameProbe::synchronizing()
{
    const qint64 now = nowNs();
    QMutexLocker lock(&mutex);
    syncStart = now;
    syncedSinceSwap = true;
    if (!stage)
        return;
    syncedStage = stage();
    for (int s = 1; s <= syncedStage; ++s)
        if (!stageSynced.contains(s))
            stageSynced.insert(s, now);
}

void FrameProbe::rendering()
{
    const qint64 now = nowNs();
    QMutexLocker lock(&mutex);
    renderStart = now;
}

void FrameProbe::frameSwapped()
{
    const qint64 now = nowNs();
    int drawn = 0;
    {
        QMutexLocker lock(&mutex);
        const qint64 start = syncedSinceSwap ? syncStart : renderStart;
        frameTimes.append((now - start) / 1e6);
        syncedSinceSwap = false;
        ++swaps;
        if (stage && syncedStage > drawnStage) {
            for (int s = drawnStage + 1; s <= syncedStage; ++s)
                stageSwapped.insert(s, now);
            drawnStage = syncedStage;
            drawn = drawnStage;
        }
    }
    // Queued to the GUI thread when this is the render thread.
    emit swapped();
    if (drawn > 0)
        emit stageDrawn(drawn);
}
