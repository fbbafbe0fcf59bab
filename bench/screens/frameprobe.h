#pragma once

#include <QHash>
#include <QMutex>
#include <QObject>
#include <QVector>

#include <functional>

class QQuickWindow;

// Watches one window's scene graph: how long each frame takes from the start of its
// synchronisation (or of its rendering, for a frame without one) until it is swapped, how
// many frames were swapped, and when the first frame showing an awaited state reached the
// screen. Works with the threaded and the basic render loop alike.
class FrameProbe : public QObject
{
    Q_OBJECT

public:
    // Called at every synchronisation, while the GUI thread waits, so it may read the item
    // tree: how far the awaited change has come (0: not yet).
    using Stage = std::function<int()>;

    explicit FrameProbe(QQuickWindow *window);

    // A monotonic clock in nanoseconds, the same for every thread.
    static qint64 nowNs();

    int swapCount() const;
    // Frame times in milliseconds of the frames swapped since the last call.
    QVector<double> takeFrameTimes();

    // Starts watching for the stages of a change; forgets the stages of the last one.
    void watch(Stage stage);
    void unwatch();
    // When a stage (or a later one) was first seen at a synchronisation, and when the first
    // frame that showed it was swapped (0: not yet). Stages come in order: one passed over
    // between two synchronisations counts as reached with the later one.
    qint64 stageSyncedNs(int stage) const;
    qint64 stageSwappedNs(int stage) const;

signals:
    void swapped();
    void stageDrawn(int stage);

private:
    void synchronizing();
    void rendering();
    void frameSwapped();

    mutable QMutex mutex;
    Stage stage;
    int syncedStage = 0;
    int drawnStage = 0;
    QHash<int, qint64> stageSynced;
    QHash<int, qint64> stageSwapped;
    qint64 syncStart = 0;
    qint64 renderStart = 0;
    bool syncedSinceSwap = false;
    int swaps = 0;
    QVector<double> frameTimes;
};
