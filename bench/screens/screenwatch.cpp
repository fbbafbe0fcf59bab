#include "screenwatch.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <poll.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

namespace {

// A window that goes away while it is being read gives an X error: that is an answer here,
// not a reason to end the benchmark.
int ignoreXError(Display *, XErrorEvent *)
{
    return 0;
}

struct Rect
{
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Rect &o) const
    {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
};

} // namespace

struct ScreenWatch::Impl
{
    Display *display = nullptr;
    Window root = 0;
    Window watched = 0;
    bool gone = false;
    // The whole screen before the program started: a window the server has mapped but the
    // program has not drawn yet may still show it.
    XImage *before = nullptr;

    // The window's place on the screen, read back through shared memory where the server
    // offers it (a copy within the machine), else through the connection.
    Rect place;
    XImage *image = nullptr;
    XShmSegmentInfo shm{};
    bool shared = false;

    ~Impl()
    {
        freeImage();
        if (before)
            XDestroyImage(before);
        if (display)
            XCloseDisplay(display);
    }

    // Handles what the server has said; `mapped` gets the first top-level window mapped.
    void drainEvents(Window *mapped)
    {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            switch (event.type) {
            case MapNotify:
                if (mapped && *mapped == 0 && event.xmap.event == root)
                    *mapped = event.xmap.window;
                break;
            case UnmapNotify:
                if (event.xunmap.window == watched)
                    gone = true;
                break;
            case DestroyNotify:
                if (event.xdestroywindow.window == watched)
                    gone = true;
                break;
            default:
                break;
            }
        }
    }

    // Waits for the server to say something, at most `ms`.
    void waitForEvents(int ms)
    {
        if (XPending(display) > 0)
            return;
        pollfd fd{ConnectionNumber(display), POLLIN, 0};
        ::poll(&fd, 1, std::max(0, ms));
    }

    // The watched window's rectangle, cut to the screen.
    Rect windowPlace()
    {
        XWindowAttributes a;
        if (!XGetWindowAttributes(display, watched, &a))
            return {};
        const Screen *screen = DefaultScreenOfDisplay(display);
        const int x0 = std::max(0, a.x), y0 = std::max(0, a.y);
        const int x1 = std::min(WidthOfScreen(screen), a.x + a.width);
        const int y1 = std::min(HeightOfScreen(screen), a.y + a.height);
        if (x1 <= x0 || y1 <= y0)
            return {};
        return {x0, y0, x1 - x0, y1 - y0};
    }

    void freeImage()
    {
        if (!image)
            return;
        if (shared) {
            XShmDetach(display, &shm);
            shmdt(shm.shmaddr);
            image->data = nullptr;
        }
        XDestroyImage(image);
        image = nullptr;
        shared = false;
    }

    bool allocate(const Rect &r)
    {
        freeImage();
        place = r;
        if (!XShmQueryExtension(display))
            return true;
        const int screen = DefaultScreen(display);
        image =
            XShmCreateImage(display, DefaultVisual(display, screen), DefaultDepth(display, screen),
                            ZPixmap, nullptr, &shm, r.width, r.height);
        if (!image)
            return true;
        shm.shmid = shmget(IPC_PRIVATE, image->bytes_per_line * image->height, IPC_CREAT | 0600);
        if (shm.shmid < 0) {
            XDestroyImage(image);
            image = nullptr;
            return true;
        }
        shm.shmaddr = image->data = static_cast<char *>(shmat(shm.shmid, nullptr, 0));
        shm.readOnly = False;
        XShmAttach(display, &shm);
        XSync(display, False);
        shmctl(shm.shmid, IPC_RMID, nullptr); // freed once both sides let go
        shared = true;
        return true;
    }

    // Whether `pixels` (the window's place) show what the screen showed there before.
    bool asBefore(const std::vector<char> &pixels) const
    {
        if (!before)
            return false;
        const int bytes = before->bits_per_pixel / 8;
        const int row = place.width * bytes;
        if (pixels.size() < size_t(row) * place.height)
            return false;
        const size_t stride = pixels.size() / place.height;
        for (int y = 0; y < place.height; ++y) {
            const char *then =
                before->data + (place.y + y) * before->bytes_per_line + place.x * bytes;
            if (std::memcmp(then, pixels.data() + y * stride, row) != 0)
                return false;
        }
        return true;
    }

    // The screen in the window's place now; false when it cannot be read.
    bool grab(std::vector<char> *pixels)
    {
        if (shared) {
            if (!XShmGetImage(display, root, image, place.x, place.y, AllPlanes))
                return false;
            pixels->assign(image->data, image->data + image->bytes_per_line * image->height);
            return true;
        }
        XImage *copy = XGetImage(display, root, place.x, place.y, place.width, place.height,
                                 AllPlanes, ZPixmap);
        if (!copy)
            return false;
        pixels->assign(copy->data, copy->data + copy->bytes_per_line * copy->height);
        XDestroyImage(copy);
        return true;
    }
};

ScreenWatch::ScreenWatch() : d(new Impl)
{
    d->display = XOpenDisplay(nullptr);
    if (!d->display)
        return;
    XSetErrorHandler(ignoreXError);
    d->root = DefaultRootWindow(d->display);
    XSelectInput(d->display, d->root, SubstructureNotifyMask);
    XSync(d->display, False);
}

ScreenWatch::~ScreenWatch() = default;

bool ScreenWatch::ok() const
{
    return d->display != nullptr;
}

std::int64_t ScreenWatch::nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void ScreenWatch::expectWindow()
{
    XSync(d->display, False);
    d->drainEvents(nullptr);
    d->watched = 0;
    d->gone = false;
    if (d->before)
        XDestroyImage(d->before);
    const Screen *screen = DefaultScreenOfDisplay(d->display);
    d->before = XGetImage(d->display, d->root, 0, 0, WidthOfScreen(screen), HeightOfScreen(screen),
                          AllPlanes, ZPixmap);
}

ScreenWatch::Settled ScreenWatch::waitUntilSettled(int pollMs, int quietMs, int timeoutMs)
{
    Settled result;
    const std::int64_t deadline = nowNs() + std::int64_t(timeoutMs) * 1000000;
    Window mapped = 0;
    while (mapped == 0 && nowNs() < deadline) {
        d->waitForEvents(int((deadline - nowNs()) / 1000000));
        d->drainEvents(&mapped);
    }
    if (mapped == 0) {
        result.problem = "no window was mapped";
        return result;
    }
    result.mappedNs = nowNs();
    d->watched = mapped;
    // The window's own events: its end, and where it is.
    XSelectInput(d->display, mapped, StructureNotifyMask);

    std::vector<char> last, now;
    bool drawn = false; // the window shows something of its own
    std::int64_t lastChange = result.mappedNs;
    std::int64_t next = result.mappedNs;
    while (true) {
        d->drainEvents(nullptr);
        if (d->gone) {
            result.problem = "the window went away";
            return result;
        }
        const Rect place = d->windowPlace();
        if (place.width > 0 && !(place == d->place)) {
            d->allocate(place);
            last.clear();
        }
        const std::int64_t t = nowNs();
        if (d->place.width > 0 && d->grab(&now) && now != last) {
            ++result.pictures;
            drawn = drawn || !d->asBefore(now);
            last.swap(now);
            lastChange = t;
        }
        if (drawn && t - lastChange >= std::int64_t(quietMs) * 1000000) {
            result.settledNs = lastChange;
            result.ok = true;
            return result;
        }
        if (t >= deadline) {
            result.problem = "the screen never settled";
            return result;
        }
        next += std::int64_t(pollMs) * 1000000;
        const std::int64_t wait = next - nowNs();
        if (wait > 0)
            d->waitForEvents(int(wait / 1000000));
    }
}

void ScreenWatch::waitUntilGone(int timeoutMs)
{
    const std::int64_t deadline = nowNs() + std::int64_t(timeoutMs) * 1000000;
    while (d->watched != 0 && !d->gone && nowNs() < deadline) {
        d->waitForEvents(int((deadline - nowNs()) / 1000000));
        d->drainEvents(nullptr);
    }
    d->freeImage();
    d->place = {};
}
