#pragma once

#include <cstdint>
#include <memory>
#include <string>

// Watches the X display from outside the programs that draw on it: the X server tells when a
// top-level window is mapped, and the screen in that window's place is read back every few
// milliseconds until it stops changing. What it measures is what a worker sees, whatever
// the program does inside.
class ScreenWatch
{
public:
    struct Settled
    {
        std::int64_t mappedNs = 0;  // the server mapped the window
        std::int64_t settledNs = 0; // the first read-back showing the final picture
        int pictures = 0;           // distinct pictures read back, the first one included
        bool ok = false;            // false: no window, or it never settled in time
        std::string problem;
    };

    // Opens the display named by DISPLAY; `ok()` says whether that worked.
    ScreenWatch();
    ~ScreenWatch();
    ScreenWatch(const ScreenWatch &) = delete;
    ScreenWatch &operator=(const ScreenWatch &) = delete;

    bool ok() const;

    // A monotonic clock in nanoseconds, the one the moments below are on.
    static std::int64_t nowNs();

    // Forgets the windows mapped so far; call before starting the program to watch.
    void expectWindow();
    // Waits for a top-level window to be mapped, then reads its place on the screen every
    // `pollMs` until it has not changed for `quietMs`. Gives up after `timeoutMs`.
    Settled waitUntilSettled(int pollMs, int quietMs, int timeoutMs);
    // Waits until the window last watched is gone from the screen (at most `timeoutMs`).
    void waitUntilGone(int timeoutMs);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
