// bench_screens: the terminal's real window (qrc:/main.qml) worked as a worker would, against
// a reference backend of its own (fresh demo database, free loopback port), on a virtual
// display with software OpenGL. Run by hand, from the build folder:
//
//   xvfb-run -a -s "-screen 0 1600x1000x24" bench/screens/bench_screens
//
// Options: --searches N (60), --round-trips N (300), --cycles N (50), --bag-grids N (30),
// --bag-grid-only (the bag grid's measures alone), --echo (pass every message line on to the
// terminal's own output instead of only counting the warnings).
// LIBGL_ALWAYS_SOFTWARE=1 is set unless the environment says otherwise. The text cursor
// blinks for 10 s after each key or click and then stops, as in the terminal, so the frames
// it draws count wherever a store would see them.
//
// It prints one table:
//  1. Return in the place-order search until the customer panel has settled (the first
//     frame swapped with the order form's loading shade gone and everything the form asked
//     for answered, the customer's tags included): median and p95, with the moments the
//     form was first shown, the shade was taken off and the first frame without it was
//     swapped, and how many searches showed the panel unfinished (its tags not yet there)
//     before it settled;
//  2. frame times of the main window (menu) redrawn while idle, the same without the
//     window's shadows, and while the pointer moves over the menu buttons;
//  3. idle CPU (process CPU time over 5 s without input, % of one core) and the frames drawn
//     meanwhile on every landed screen;
//  4. RSS and threads before and after the place-order round trips (home, 下单, search,
//     order form) and the sign-out/sign-in cycles;
//  5. warnings (TypeErrors among them) printed during those, and the most frequent texts;
//  6. the revenue analysis (营收分析): from the last report's reply until the first frame
//     without the shade, after "刷新" and after a switch between daily and monthly reports
//     (p95, median), and idle CPU on it.
//  7. the bag grid ("送厂"): its page reply reaching its handler until the first frame that
//     shows the 18 bags with their QR pictures, for pictures made before (a tab clicked again)
//     and for bags new to the terminal (pictures made then), and how many pictures were
//     written again meanwhile (none: a code's picture is made once).
// Nothing is asserted: the figures are for reading.

#include "../percentile.h"
#include "app/applogging.h"
#include "app/bvmessagebox.h"
#include "app/caretblinktimeout.h"
#include "app/typeregistry.h"
#include "backendclient.h"
#include "frameprobe.h"
#include "messagecounter.h"
#include "print/imageprovider.h"
#include "privatebackend.h"
#include "tests/screens/referencebackend.h"
#include "uidriver.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMetaMethod>
#include <QPointer>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

namespace {

struct Options
{
    int searches = 60;
    int roundTrips = 300;
    int cycles = 50;
    int bagGrids = 30;
    bool bagGridOnly = false;
    bool echo = false;
};

struct Row
{
    QString what;
    QString value;
    QString goal;
};

struct Usage
{
    double rssMb = 0;
    int threads = 0;
};

Usage processUsage()
{
    Usage usage;
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return usage;
    for (const QByteArray &line : status.readAll().split('\n')) {
        const QList<QByteArray> words = line.simplified().split(' ');
        if (words.size() >= 2 && words[0] == "VmRSS:")
            usage.rssMb = words[1].toDouble() / 1024;
        else if (words.size() >= 2 && words[0] == "Threads:")
            usage.threads = words[1].toInt();
    }
    return usage;
}

// The machine's one-minute load average: other programs running meanwhile disturb every
// figure here, so the table says how busy the machine was.
QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll().split(' ').value(0))
                                          : QStringLiteral("?");
}

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

QString ms(double value)
{
    return QString::number(value, 'f', 1) + " ms";
}

QString phone(int i)
{
    return QStringLiteral("139123400%1").arg(i % 30 + 1, 2, 10, QLatin1Char('0'));
}

void progress(const QString &text)
{
    std::fprintf(stderr, "bench_screens: %s\n", qPrintable(text));
}

// A screen's request piece: its conversation's (the view's `conversation`), or its own.
QObject *backendOf(QObject *screen)
{
    QObject *talk = screen->property("conversation").value<QObject *>();
    QObject *backend = (talk ? talk : screen)->property("backend").value<QObject *>();
    if (!backend)
        throw StepFailed("no backend on " + screen->objectName().toStdString());
    return backend;
}

// Stages of an order form coming up, as the frame probe sees them at a synchronisation.
enum FormStage { NoForm = 0, FormShaded = 1, FormUnshaded = 2, FormSettled = 3 };

QQuickItem *childNamed(QQuickItem *parent, const QString &name)
{
    const QList<QQuickItem *> children = parent->childItems();
    for (QQuickItem *child : children)
        if (child->objectName() == name)
            return child;
    return nullptr;
}

// Whether a request piece under `item` (anything with a count of calls out) still waits
// for an answer.
bool requestsOut(QQuickItem *item)
{
    const QVariant pending = item->property("pending");
    if (pending.isValid() && pending.toInt() > 0)
        return true;
    const QList<QQuickItem *> children = item->childItems();
    return std::any_of(children.begin(), children.end(), requestsOut);
}

// Notes the moments a QML signal or property change comes, on the GUI thread.
class Stopwatch : public QObject
{
    Q_OBJECT

public:
    // Listens to `signal` ("customerFound(QString)") or, when it names a property, to that
    // property's change signal.
    Stopwatch(QObject *object, const char *signalOrProperty)
    {
        const QMetaObject *meta = object->metaObject();
        int index = meta->indexOfSignal(signalOrProperty);
        QMetaMethod signal = index >= 0 ? meta->method(index) : QMetaMethod();
        if (index < 0) {
            index = meta->indexOfProperty(signalOrProperty);
            if (index >= 0)
                signal = meta->property(index).notifySignal();
        }
        const int slot = staticMetaObject.indexOfSlot("mark()");
        if (!signal.isValid() || !connect(object, signal, this, staticMetaObject.method(slot)))
            throw StepFailed(std::string("cannot listen to ") + signalOrProperty);
    }

    QVector<qint64> moments;

public Q_SLOTS:
    void mark() { moments.append(FrameProbe::nowNs()); }
};

// One search: Return to the first frame with the form, to the shade's removal, to the
// first frame without the shade and to the first frame of the settled panel; the frames
// drawn meanwhile, and whether a frame showed the panel unfinished.
struct SearchTimes
{
    double repliedMs = 0;
    double createdMs = 0;
    double formShownMs = 0;
    double shadeGoneMs = 0;
    double unshadedMs = 0;
    double settledMs = 0;
    int frames = 0;
    bool unfinishedShown = false;
};

class Bench
{
public:
    Bench(QQmlEngine &engine, QQuickWindow *window, const Options &options,
          const QString &backendUrl)
        : engine(engine), ui(window), probe(new FrameProbe(window)), options(options),
          backendUrl(backendUrl)
    {
    }

    void run();
    void print() const;

private:
    void startUp();
    QQuickItem *signIn();
    void signOut();
    QQuickItem *goHome();
    void waitForRights(QQuickItem *menu);
    QQuickItem *openFromMenu(QQuickItem *menu, const QString &menuId, const QString &screen);
    SearchTimes search(QQuickItem *placeOrder, const QString &key);
    void waitForFormIdle(QQuickItem *placeOrder);
    void closeForm(QQuickItem *placeOrder);

    void idleCpu(const QString &screen);
    void searchLatency(QQuickItem *placeOrder, const QString &label, int count);
    std::vector<double> redrawnFrames(int count);
    std::vector<double> hoveredFrames(QQuickItem *menu, int count);
    void frameTimes(QQuickItem *menu, const QString &label);
    void setShadowsShown(bool shown);
    Usage settledUsage();
    void usageRows(const QString &what, const Usage &before, const Usage &after);
    void messageRows(const QString &what, const MessageCounter::Counts &counts);

    void roundTrip(int i);
    void roundTrips();
    void signOutCycles();

    // The revenue analysis: the reports read again until the screen is drawn without its shade.
    struct ReportTimes
    {
        double drawnMs = 0;   // last reply → first frame without the shade
        double handledMs = 0; // last reply → its handler done
        double clickedMs = 0; // click → that frame
        int frames = 0;
    };
    ReportTimes reportsRedrawn(QQuickItem *revenue, const QString &button);
    void reportLatency(QQuickItem *menu, int count);
    void makeBags(int count);
    double gridDrawn(QQuickItem *page);
    void bagGrid();

    QQmlEngine &engine;
    UiDriver ui;
    FrameProbe *probe;
    Options options;
    std::vector<Row> rows;
    std::vector<QString> notes;
    QString backendUrl;
    // Of the last bag grid drawn: from its reply to the synchronisation that took its pictures.
    double lastGridSyncMs = 0;
};

// The window is shown and the start-up version check has had its answer.
void Bench::startUp()
{
    ui.window()->requestActivate();
    if (!QTest::qWaitForWindowExposed(ui.window(), 10000))
        throw StepFailed("the main window was not shown");
    if (!QTest::qWaitForWindowActive(ui.window(), 5000))
        throw StepFailed("the main window did not become active");
    ui.need(QStringLiteral("passwordTab"));
}

// A password sign-in on whichever sign-in screen is shown; returns the menu it opens.
QQuickItem *Bench::signIn()
{
    ui.click(ui.need(QStringLiteral("passwordTab")));
    ui.need(QStringLiteral("accountField"))->setProperty("text", QStringLiteral("zhangli"));
    ui.need(QStringLiteral("passwordField"))->setProperty("text", QStringLiteral("123456"));
    if (ui.find(QStringLiteral("accountList")))
        throw StepFailed("the account suggestions cover the login button");
    ui.click(ui.need(QStringLiteral("loginButton")));
    QQuickItem *menu = ui.waitForNew(QStringLiteral("Menu"), nullptr);
    waitForRights(menu);
    return menu;
}

// Portrait, "安全退出", and the fresh sign-in screen.
void Bench::signOut()
{
    const QPointer<QQuickItem> oldLogin = ui.find(QStringLiteral("login"));
    ui.click(ui.need(QStringLiteral("portrait")));
    QQuickItem *quit = ui.waitForNew(QStringLiteral("Quit"), nullptr);
    ui.click(ui.need(QStringLiteral("logoutButton"), quit));
    ui.waitForNew(QStringLiteral("login"), oldLogin);
}

QQuickItem *Bench::goHome()
{
    const QPointer<QQuickItem> old = ui.find(QStringLiteral("Menu"));
    ui.click(ui.need(QStringLiteral("homeButton")));
    QQuickItem *menu = ui.waitForNew(QStringLiteral("Menu"), old);
    waitForRights(menu);
    return menu;
}

// The menu's rights reply rebuilds the grid; a click before it could hit a vanishing button.
void Bench::waitForRights(QQuickItem *menu)
{
    QPointer<QQuickItem> backend = ui.need(QStringLiteral("menuBackend"), menu, true);
    ui.waitFor([&] { return backend && backend->property("pending").toInt() == 0; },
               QStringLiteral("the menu's rights"));
}

QQuickItem *Bench::openFromMenu(QQuickItem *menu, const QString &menuId, const QString &screen)
{
    ui.click(ui.need(QStringLiteral("entry_") + menuId, menu));
    return ui.waitForNew(screen, nullptr, menu);
}

// Types `key` into the search field, presses Return and waits for the first frame that
// shows the order form settled: no loading shade, and every request it sent answered.
SearchTimes Bench::search(QQuickItem *placeOrder, const QString &key)
{
    QQuickItem *field = ui.need(QStringLiteral("searchField"), placeOrder);
    field->setProperty("text", QString());
    ui.type(key);
    if (field->property("text").toString() != key)
        throw StepFailed("the search field does not hold the keyboard");
    ui.idle(100); // the typing's own frames are done

    QPointer<QQuickItem> page(placeOrder);
    probe->watch([page]() -> int {
        QQuickItem *form = page ? childNamed(page, QStringLiteral("PlaceOrderContent")) : nullptr;
        if (!form)
            return NoForm;
        QQuickItem *shade = childNamed(form, QStringLiteral("loadingShade"));
        if (shade && shade->isVisible())
            return FormShaded;
        return requestsOut(form) ? FormUnshaded : FormSettled;
    });
    // The search's reply is handled when the screen's count of calls out drops back; the
    // form exists when the screen says it found the customer.
    QObject *backend = backendOf(placeOrder);
    Stopwatch replied(backend, "pending");
    Stopwatch created(placeOrder, "customerFound(QString)");
    const int swapsBefore = probe->swapCount();
    const qint64 start = FrameProbe::nowNs();
    ui.actThenWait([&] { ui.pressReturn(); }, probe, &FrameProbe::stageDrawn,
                   [&] { return probe->stageSwappedNs(FormSettled) != 0; },
                   QStringLiteral("the customer panel of ") + key);
    SearchTimes times;
    times.frames = probe->swapCount() - swapsBefore;
    times.repliedMs = (replied.moments.value(1) - start) / 1e6;
    times.createdMs = (created.moments.value(0) - start) / 1e6;
    times.formShownMs = (probe->stageSwappedNs(FormShaded) - start) / 1e6;
    times.shadeGoneMs = (probe->stageSyncedNs(FormUnshaded) - start) / 1e6;
    times.unshadedMs = (probe->stageSwappedNs(FormUnshaded) - start) / 1e6;
    times.settledMs = (probe->stageSwappedNs(FormSettled) - start) / 1e6;
    // A frame swapped without the shade before the settled one showed the panel unfinished.
    times.unfinishedShown =
        probe->stageSwappedNs(FormUnshaded) < probe->stageSwappedNs(FormSettled);
    probe->unwatch();
    waitForFormIdle(placeOrder);
    return times;
}

// The form's last loading request (the customer's tags) has come back.
void Bench::waitForFormIdle(QQuickItem *placeOrder)
{
    QQuickItem *form = ui.need(QStringLiteral("PlaceOrderContent"), placeOrder);
    QPointer<QObject> backend = backendOf(form);
    ui.waitFor([&] { return backend && backend->property("pending").toInt() == 0; },
               QStringLiteral("the order form's requests"));
}

void Bench::closeForm(QQuickItem *placeOrder)
{
    QQuickItem *form = ui.need(QStringLiteral("PlaceOrderContent"), placeOrder);
    ui.click(ui.need(QStringLiteral("backButton"), form));
    ui.waitFor([&] { return !childNamed(placeOrder, QStringLiteral("PlaceOrderContent")); },
               QStringLiteral("the order form to be released"));
}

// Process CPU time over 5 s without input, after 1.5 s for late replies and pictures.
void Bench::idleCpu(const QString &screen)
{
    ui.idle(1500);
    const int swaps = probe->swapCount();
    const double cpu = cpuSeconds();
    const qint64 start = FrameProbe::nowNs();
    ui.idle(5000);
    const double seconds = (FrameProbe::nowNs() - start) / 1e9;
    const double percent = (cpuSeconds() - cpu) / seconds * 100;
    rows.push_back(
        {QStringLiteral("Idle CPU, ") + screen,
         QStringLiteral("%1 % (%2 frames)").arg(percent, 0, 'f', 1).arg(probe->swapCount() - swaps),
         QStringLiteral("≈ 0")});
}

void Bench::searchLatency(QQuickItem *placeOrder, const QString &label, int count)
{
    for (int i = 0; i < 3; ++i) { // the form's first compilation and pictures
        search(placeOrder, phone(i));
        closeForm(placeOrder);
    }
    std::vector<double> settled, replied, created, shown, shadeGone, unshaded, frames;
    int unfinished = 0;
    for (int i = 0; i < count; ++i) {
        const SearchTimes t = search(placeOrder, phone(i));
        settled.push_back(t.settledMs);
        replied.push_back(t.repliedMs);
        created.push_back(t.createdMs);
        shown.push_back(t.formShownMs);
        shadeGone.push_back(t.shadeGoneMs);
        unshaded.push_back(t.unshadedMs);
        frames.push_back(t.frames);
        unfinished += t.unfinishedShown ? 1 : 0;
        closeForm(placeOrder);
    }
    const QString n = QStringLiteral(" (n=%1%2)").arg(count).arg(label);
    rows.push_back({QStringLiteral("Return → customer panel settled, median") + n,
                    ms(median(settled)), QString()});
    rows.push_back({QStringLiteral("Return → customer panel settled, p95") + n,
                    ms(percentile(settled, 0.95)), QStringLiteral("≤ 100 ms")});
    rows.push_back({QStringLiteral("  search reply reached its handler, median"),
                    ms(median(replied)), QString()});
    rows.push_back(
        {QStringLiteral("  order form created, median"), ms(median(created)), QString()});
    rows.push_back({QStringLiteral("  first frame with the shaded form, median"), ms(median(shown)),
                    QString()});
    rows.push_back({QStringLiteral("  shade taken off (synchronised), median"),
                    ms(median(shadeGone)), QString()});
    rows.push_back({QStringLiteral("  first frame without the shade, median"), ms(median(unshaded)),
                    QString()});
    rows.push_back({QStringLiteral("  panel shown unfinished (tags not yet there) before settling"),
                    QStringLiteral("%1 of %2").arg(unfinished).arg(count), QStringLiteral("0")});
    rows.push_back({QStringLiteral("  frames swapped meanwhile, median"),
                    QString::number(median(frames), 'f', 0), QString()});
}

// Frames forced one after the other with nothing changed: the cost of drawing the window.
std::vector<double> Bench::redrawnFrames(int count)
{
    probe->takeFrameTimes();
    for (int i = 0; i < count; ++i) {
        const int before = probe->swapCount();
        ui.actThenWait([&] { ui.window()->update(); }, probe, &FrameProbe::swapped,
                       [&] { return probe->swapCount() > before; },
                       QStringLiteral("a redrawn frame"));
    }
    const QVector<double> times = probe->takeFrameTimes();
    return std::vector<double>(times.begin(), times.end());
}

// The pointer moves from one menu button to the next: each move changes a button's icon.
std::vector<double> Bench::hoveredFrames(QQuickItem *menu, int count)
{
    QQuickItem *first = ui.need(QStringLiteral("entry_525"), menu);
    QQuickItem *second = ui.need(QStringLiteral("entry_526"), menu);
    probe->takeFrameTimes();
    for (int i = 0; i < count; ++i) {
        const int before = probe->swapCount();
        ui.actThenWait([&] { ui.hover(i % 2 ? first : second); }, probe, &FrameProbe::swapped,
                       [&] { return probe->swapCount() > before; },
                       QStringLiteral("a frame after a hover"));
    }
    ui.idle(200);
    const QVector<double> times = probe->takeFrameTimes();
    return std::vector<double>(times.begin(), times.end());
}

// The window's shadow: the picture main.qml draws around the panel.
void Bench::setShadowsShown(bool shown)
{
    std::vector<QQuickItem *> stack{ui.window()->contentItem()};
    while (!stack.empty()) {
        QQuickItem *item = stack.back();
        stack.pop_back();
        if (item->objectName() == QLatin1String("windowShadow"))
            item->setVisible(shown);
        const QList<QQuickItem *> children = item->childItems();
        stack.insert(stack.end(), children.begin(), children.end());
    }
}

void Bench::frameTimes(QQuickItem *menu, const QString &label)
{
    const std::vector<double> idle = redrawnFrames(60);
    setShadowsShown(false);
    const std::vector<double> bare = redrawnFrames(60);
    setShadowsShown(true);
    const std::vector<double> hovered = hoveredFrames(menu, 60);
    rows.push_back({QStringLiteral("Frame time, menu redrawn idle, median") + label,
                    ms(median(idle)), QString()});
    rows.push_back({QStringLiteral("Frame time, menu redrawn idle, no shadows, median") + label,
                    ms(median(bare)), QString()});
    rows.push_back({QStringLiteral("Frame time, pointer over the menu buttons, median") + label,
                    ms(median(hovered)), QString()});
}

// RSS and threads once the JavaScript heap is collected and released objects are gone.
Usage Bench::settledUsage()
{
    engine.collectGarbage();
    ui.idle(1000);
    return processUsage();
}

void Bench::usageRows(const QString &what, const Usage &before, const Usage &after)
{
    rows.push_back({QStringLiteral("RSS before → after ") + what,
                    QStringLiteral("%1 → %2 MB (%3%4 %)")
                        .arg(before.rssMb, 0, 'f', 1)
                        .arg(after.rssMb, 0, 'f', 1)
                        .arg(after.rssMb >= before.rssMb ? "+" : "")
                        .arg((after.rssMb / before.rssMb - 1) * 100, 0, 'f', 1),
                    QStringLiteral("within 5 %")});
    rows.push_back({QStringLiteral("Threads before → after ") + what,
                    QStringLiteral("%1 → %2").arg(before.threads).arg(after.threads),
                    QStringLiteral("within 5 %")});
}

void Bench::messageRows(const QString &what, const MessageCounter::Counts &counts)
{
    rows.push_back({QStringLiteral("Warnings (TypeErrors) in ") + what,
                    QStringLiteral("%1 (%2)").arg(counts.warnings).arg(counts.typeErrors),
                    QStringLiteral("0")});
    std::vector<std::pair<int, QString>> texts;
    for (auto it = counts.texts.cbegin(); it != counts.texts.cend(); ++it)
        texts.emplace_back(it.value(), it.key());
    std::sort(texts.begin(), texts.end(), [](const auto &a, const auto &b) { return a > b; });
    for (size_t i = 0; i < texts.size() && i < 8; ++i)
        notes.push_back(
            QStringLiteral("%1 ×%2: %3").arg(what).arg(texts[i].first).arg(texts[i].second));
}

// Home, 下单, a search, the order form with its data.
void Bench::roundTrip(int i)
{
    QQuickItem *menu = goHome();
    QQuickItem *placeOrder =
        openFromMenu(menu, QStringLiteral("525"), QStringLiteral("PlaceOrder"));
    search(placeOrder, phone(i));
}

void Bench::roundTrips()
{
    const int n = options.roundTrips;
    progress(QStringLiteral("%1 place-order round trips").arg(n));
    for (int i = 0; i < 10; ++i) // pictures, compiled screens, pools
        roundTrip(i);
    const Usage before = settledUsage();
    MessageCounter::take();
    for (int i = 0; i < n; ++i)
        roundTrip(i);
    goHome(); // the last form is torn down as well
    const MessageCounter::Counts counts = MessageCounter::take();
    const Usage after = settledUsage();
    const QString what = QStringLiteral("%1 round trips").arg(n);
    usageRows(what, before, after);
    messageRows(what, counts);
}

void Bench::signOutCycles()
{
    const int n = options.cycles;
    progress(QStringLiteral("%1 sign-out/sign-in cycles").arg(n));
    signOut();
    idleCpu(QStringLiteral("login screen after sign-out"));
    signIn();
    idleCpu(QStringLiteral("Menu on the login screen"));
    for (int i = 0; i < 2; ++i) {
        signOut();
        signIn();
    }
    const Usage before = settledUsage();
    MessageCounter::take();
    for (int i = 0; i < n; ++i) {
        signOut();
        signIn();
    }
    const MessageCounter::Counts counts = MessageCounter::take();
    const Usage after = settledUsage();
    const QString what = QStringLiteral("%1 sign-out cycles").arg(n);
    usageRows(what, before, after);
    messageRows(what, counts);
}

// A click on `button` ("refreshButton", a tab) of the revenue analysis, until the first frame
// swapped without its shade after the shade was up, timed from the last report's reply (the
// screen's count of calls out back at 0).
Bench::ReportTimes Bench::reportsRedrawn(QQuickItem *revenue, const QString &button)
{
    QPointer<QQuickItem> page(revenue);
    auto shaded = std::make_shared<bool>(false);
    probe->watch([page, shaded]() -> int {
        QQuickItem *shade = page ? childNamed(page, QStringLiteral("loadingShade")) : nullptr;
        if (shade && shade->isVisible())
            *shaded = true;
        return !*shaded ? NoForm : shade && shade->isVisible() ? FormShaded : FormSettled;
    });
    Stopwatch replied(backendOf(revenue), "pending");
    Stopwatch handled(revenue->property("conversation").value<QObject *>(), "loaded()");
    const int swapsBefore = probe->swapCount();
    const qint64 start = FrameProbe::nowNs();
    ui.actThenWait([&] { ui.click(ui.need(button, revenue)); }, probe, &FrameProbe::stageDrawn,
                   [&] { return probe->stageSwappedNs(FormSettled) != 0; },
                   QStringLiteral("the revenue reports after ") + button);
    const qint64 drawn = probe->stageSwappedNs(FormSettled);
    const qint64 lastReply = replied.moments.value(replied.moments.size() - 1, start);
    ReportTimes times;
    times.drawnMs = (drawn - lastReply) / 1e6;
    times.handledMs = (handled.moments.value(0, lastReply) - lastReply) / 1e6;
    times.clickedMs = (drawn - start) / 1e6;
    times.frames = probe->swapCount() - swapsBefore;
    probe->unwatch();
    return times;
}

// 营收分析 from the menu: idle CPU on it, then "刷新" and the switch between daily and monthly
// reports, `count` times each.
void Bench::reportLatency(QQuickItem *menu, int count)
{
    progress(QStringLiteral("revenue analysis: %1 refreshes and %1 switches").arg(count));
    QQuickItem *revenue =
        openFromMenu(menu, QStringLiteral("535"), QStringLiteral("RevenueAnalysis"));
    ui.waitFor([&] { return !revenue->property("loading").toBool(); },
               QStringLiteral("the revenue reports"));
    idleCpu(QStringLiteral("RevenueAnalysis"));
    for (int i = 0; i < 3; ++i) // compiled delegates, the canvas, the calendar's pictures
        reportsRedrawn(revenue, QStringLiteral("refreshButton"));
    std::vector<double> refreshed, handled, clicked, frames, switched;
    for (int i = 0; i < count; ++i) {
        const ReportTimes t = reportsRedrawn(revenue, QStringLiteral("refreshButton"));
        refreshed.push_back(t.drawnMs);
        handled.push_back(t.handledMs);
        clicked.push_back(t.clickedMs);
        frames.push_back(t.frames);
        switched.push_back(reportsRedrawn(revenue, QStringLiteral("monthlyTab")).drawnMs);
        switched.push_back(reportsRedrawn(revenue, QStringLiteral("dailyTab")).drawnMs);
    }
    const QString n = QStringLiteral(" (n=%1)").arg(count);
    rows.push_back({QStringLiteral("刷新: last report's reply → drawn, median") + n,
                    ms(median(refreshed)), QString()});
    rows.push_back({QStringLiteral("刷新: last report's reply → drawn, p95") + n,
                    ms(percentile(refreshed, 0.95)), QStringLiteral("≤ 100 ms")});
    rows.push_back({QStringLiteral("  last reply handled (blocks filled, shade off), median"),
                    ms(median(handled)), QString()});
    rows.push_back({QStringLiteral("  click → drawn (seven requests), median"), ms(median(clicked)),
                    QString()});
    rows.push_back({QStringLiteral("  frames swapped meanwhile, median"),
                    QString::number(median(frames), 'f', 0), QString()});
    rows.push_back({QStringLiteral("日报表/月报表: last reply → drawn, p95") +
                        QStringLiteral(" (n=%1)").arg(2 * count),
                    ms(percentile(switched, 0.95)), QStringLiteral("≤ 100 ms")});
    idleCpu(QStringLiteral("RevenueAnalysis after the runs"));
}

// ---- The bag grid ("送厂") -------------------------------------------------------------------

// A page of the bag grid: three rows of six bags.
constexpr int bagsOnAPage = 18;

// Bags of store 1 made through the backend, as another terminal would: each one new to this
// terminal, so its QR picture is made when the grid first shows it.
void Bench::makeBags(int count)
{
    BackendClient client(backendUrl);
    const WorkerSession worker =
        WorkerSession::open(client, QStringLiteral("BV2024000001"), QStringLiteral("zhangli"));
    for (int i = 0; i < count; ++i)
        if (client.call(QStringLiteral("orderProductBatchIn/add"), worker.body())
                .value(QStringLiteral("httpCode"))
                .toInt() != 200)
            throw StepFailed("the backend made no bag");
}

// The QR pictures of the grid's rows that are loaded and inside the window (drawn, not only
// made). Rows waiting to be reused are not the view's rows.
int picturesShown(QQuickItem *grid, const QRectF &window)
{
    int shown = 0;
    const int count = grid->property("count").toInt();
    for (int i = 0; i < count; ++i) {
        QQuickItem *row = nullptr;
        // Direct: this runs at a synchronisation, on the render thread while the GUI waits.
        QMetaObject::invokeMethod(grid, "itemAtIndex", Qt::DirectConnection,
                                  Q_RETURN_ARG(QQuickItem *, row), Q_ARG(int, i));
        std::vector<QQuickItem *> stack{row};
        while (!stack.empty()) {
            QQuickItem *item = stack.back();
            stack.pop_back();
            if (!item || !item->isVisible())
                continue;
            if (item->objectName() == QLatin1String("bagQr")) {
                const QRectF rect =
                    item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
                if (item->property("status").toInt() == 1 /* Image.Ready */ &&
                    window.contains(rect))
                    ++shown;
                continue;
            }
            const QList<QQuickItem *> children = item->childItems();
            stack.insert(stack.end(), children.begin(), children.end());
        }
    }
    return shown;
}

// The "全部" tab is clicked: the grid empties, asks for page 1, and is drawn again. The time
// from the page's reply reaching its handler to the first frame swapped with the 18 pictures.
// (The reply may come before the emptied grid is ever drawn, so the frame is told by the
// reply having come: its cells are the new ones.)
double Bench::gridDrawn(QQuickItem *page)
{
    enum { Drawn = 1 };
    QObject *talk = page->property("conversation").value<QObject *>();
    Stopwatch replied(talk, "pageReceived(QVariant)");
    QPointer<QQuickItem> guard(page);
    QPointer<QQuickItem> grid(ui.need(QStringLiteral("bagGrid"), page));
    const QRectF window(QPointF(0, 0), ui.window()->size());
    probe->watch([guard, grid, window, &replied]() -> int {
        if (!guard || !grid || replied.moments.isEmpty())
            return 0;
        QQuickItem *shade = childNamed(guard, QStringLiteral("loadingShade"));
        if (shade && shade->isVisible())
            return 0;
        return picturesShown(grid, window) >= bagsOnAPage ? Drawn : 0;
    });
    QQuickItem *tab = ui.need(QStringLiteral("bagTab_all"), page);
    ui.actThenWait([&] { ui.click(tab); }, probe, &FrameProbe::stageDrawn,
                   [&] { return probe->stageSwappedNs(Drawn) != 0; },
                   QStringLiteral("the bag grid's 18 pictures"));
    const double drawnMs = (probe->stageSwappedNs(Drawn) - replied.moments.value(0)) / 1e6;
    lastGridSyncMs = (probe->stageSyncedNs(Drawn) - replied.moments.value(0)) / 1e6;
    probe->unwatch();
    return drawnMs;
}

// The grid with pictures made before, then with bags new to the terminal; and whether any
// picture was written again.
void Bench::bagGrid()
{
    makeBags(bagsOnAPage);
    QQuickItem *menu = goHome();
    rows.push_back({QStringLiteral("Frame time, menu redrawn idle (beside the grid's), median"),
                    ms(median(redrawnFrames(30))), QString()});
    QQuickItem *page = openFromMenu(menu, QStringLiteral("528"), QStringLiteral("SendFactory"));
    QObject *talk = page->property("conversation").value<QObject *>();
    ui.waitFor([&] { return !talk->property("loading").toBool(); },
               QStringLiteral("the bag grid's first page"));
    idleCpu(QStringLiteral("SendFactory"));
    for (int i = 0; i < 3; ++i) // compiled delegates, cached pictures
        gridDrawn(page);
    rows.push_back({QStringLiteral("Frame time, bag grid redrawn idle, median"),
                    ms(median(redrawnFrames(30))), QString()});

    const QStringList pictures =
        QDir(QStringLiteral("qrpic")).entryList({QStringLiteral("9*.jpg")});
    QHash<QString, QDateTime> written;
    for (const QString &name : pictures)
        written.insert(name, QFileInfo(QStringLiteral("qrpic/") + name).lastModified());

    const int n = options.bagGrids;
    progress(QStringLiteral("the bag grid, %1 times with its pictures made").arg(n));
    std::vector<double> warm, warmSync;
    for (int i = 0; i < n; ++i) {
        warm.push_back(gridDrawn(page));
        warmSync.push_back(lastGridSyncMs);
    }
    int rewritten = 0;
    for (auto it = written.cbegin(); it != written.cend(); ++it)
        if (QFileInfo(QStringLiteral("qrpic/") + it.key()).lastModified() != it.value())
            ++rewritten;

    const int cold = std::max(3, n / 3);
    progress(QStringLiteral("the bag grid, %1 times with 18 new bags").arg(cold));
    std::vector<double> fresh;
    for (int i = 0; i < cold; ++i) {
        makeBags(bagsOnAPage);
        fresh.push_back(gridDrawn(page));
    }

    const QString label = QStringLiteral("Reply → bag grid with 18 QR pictures drawn, ");
    rows.push_back({label + QStringLiteral("median (n=%1, pictures made before)").arg(n),
                    ms(median(warm)), QString()});
    rows.push_back({label + QStringLiteral("p95 (n=%1, pictures made before)").arg(n),
                    ms(percentile(warm, 0.95)), QStringLiteral("≤ 100 ms")});
    rows.push_back({QStringLiteral("  synchronised with its cells and pictures, median"),
                    ms(median(warmSync)), QString()});
    rows.push_back({label + QStringLiteral("median (n=%1, 18 new bags)").arg(cold),
                    ms(median(fresh)), QString()});
    rows.push_back({label + QStringLiteral("p95 (n=%1, 18 new bags)").arg(cold),
                    ms(percentile(fresh, 0.95)), QStringLiteral("≤ 100 ms")});
    rows.push_back({QStringLiteral("QR pictures written again while the grid redrew (of %1)")
                        .arg(written.size()),
                    QString::number(rewritten), QStringLiteral("0")});
}

void Bench::run()
{
    startUp();
    if (options.bagGridOnly) {
        signIn();
        bagGrid();
        return;
    }
    idleCpu(QStringLiteral("sign-in panel"));
    QQuickItem *menu = signIn();
    idleCpu(QStringLiteral("Menu"));
    progress(QStringLiteral("frame times"));
    frameTimes(menu, QString());

    QQuickItem *placeOrder =
        openFromMenu(menu, QStringLiteral("525"), QStringLiteral("PlaceOrder"));
    idleCpu(QStringLiteral("PlaceOrder"));
    search(placeOrder, phone(0));
    idleCpu(QStringLiteral("PlaceOrderContent"));
    closeForm(placeOrder);
    progress(QStringLiteral("%1 searches").arg(options.searches));
    searchLatency(placeOrder, QString(), options.searches);

    menu = goHome();
    openFromMenu(menu, QStringLiteral("532"), QStringLiteral("Setting"));
    idleCpu(QStringLiteral("Setting"));
    progress(QStringLiteral("the bag grid"));
    bagGrid();

    menu = goHome();
    reportLatency(menu, options.searches);

    roundTrips();
    signOutCycles();

    progress(QStringLiteral("after the cycles: searches and frame times again"));
    menu = goHome();
    frameTimes(menu, QStringLiteral(" (after the cycles)"));
    placeOrder = openFromMenu(menu, QStringLiteral("525"), QStringLiteral("PlaceOrder"));
    searchLatency(placeOrder, QStringLiteral(", after the cycles"), options.searches);
}

void Bench::print() const
{
    int width = 0;
    for (const Row &row : rows)
        width = std::max(width, row.what.size());
    std::printf("\n%-*s  %-28s  %s\n", width, "Measure", "Value", "Goal");
    std::printf("%s\n", QString(width + 44, QLatin1Char('-')).toUtf8().constData());
    for (const Row &row : rows) {
        // printf pads by bytes; pad by characters instead.
        const QString what = row.what.leftJustified(width);
        const QString value = row.value.leftJustified(28);
        std::printf("%s  %s  %s\n", qPrintable(what), qPrintable(value), qPrintable(row.goal));
    }
    if (!notes.empty())
        std::printf("\nMost frequent warnings:\n");
    for (const QString &note : notes)
        std::printf("  %s\n", qPrintable(note));
    std::fflush(stdout);
}

Options parseOptions(const QStringList &arguments)
{
    Options options;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        const int next = i + 1 < arguments.size() ? arguments[i + 1].toInt() : 0;
        if (a == QLatin1String("--searches") && next > 0)
            options.searches = next, ++i;
        else if (a == QLatin1String("--round-trips") && next > 0)
            options.roundTrips = next, ++i;
        else if (a == QLatin1String("--cycles") && next > 0)
            options.cycles = next, ++i;
        else if (a == QLatin1String("--bag-grids") && next > 0)
            options.bagGrids = next, ++i;
        else if (a == QLatin1String("--bag-grid-only"))
            options.bagGridOnly = true;
        else if (a == QLatin1String("--echo"))
            options.echo = true;
    }
    return options;
}

// The terminal's configuration pointed at the private backend and its stand-ins.
void configure(const QString &base)
{
    useReferenceBackend(base.toUtf8());
    qputenv("BRENVO_SERIAL_NUM", "BV2024000001");
    qputenv("TZ", "Asia/Shanghai");
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("LIBGL_ALWAYS_SOFTWARE"))
        qputenv("LIBGL_ALWAYS_SOFTWARE", "1");
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::fprintf(stderr,
                     "usage: xvfb-run -a -s \"-screen 0 1600x1000x24\" %s [--searches N] "
                     "[--round-trips N] [--cycles N] [--bag-grids N] [--bag-grid-only] "
                     "[--echo]\n",
                     argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    const Options options = parseOptions(app.arguments());
    installScreenLogging();
    MessageCounter::install(options.echo);
    // As in the terminal: the cursor blinks for 10 s after each key or click, so the idle
    // measures below (taken 1.5 s after the last input) count its frames as a store has them.
    CaretBlinkTimeout caretBlink;

    QTemporaryDir workDir;
    QDir::setCurrent(workDir.path());
    PrivateBackend backend;
    if (backend.url().isEmpty()) {
        std::fprintf(stderr, "bench_screens: the reference backend did not start\n%s\n",
                     qPrintable(backend.output()));
        return 1;
    }
    configure(backend.url());
    // Message boxes are confirmed at once: a modal box would stop the run.
    int boxes = 0;
    BVMessageBox::setPresenter(
        [&boxes](const QString &, const QString &title, const QString &text) {
            ++boxes;
            progress(QStringLiteral("message box: %1: %2").arg(title, text));
            return true;
        });

    registerBrenvoTypes();
    QQmlApplicationEngine engine;
    engine.addImageProvider(QStringLiteral("imageProvider"), new ImageProvider);
    engine.load(QUrl(QStringLiteral("qrc:/main.qml")));
    auto *window = engine.rootObjects().isEmpty()
                       ? nullptr
                       : qobject_cast<QQuickWindow *>(engine.rootObjects().first());
    if (!window) {
        std::fprintf(stderr, "bench_screens: qrc:/main.qml did not load\n");
        return 1;
    }

    Bench bench(engine, window, options, backend.url());
    const QString loadBefore = loadAverage();
    int status = 0;
    try {
        bench.run();
    } catch (const StepFailed &failure) {
        std::fprintf(stderr, "bench_screens: stopped: %s\n", failure.what());
        status = 1;
    }
    bench.print();
    std::printf("Message boxes shown: %d\n", boxes);
    std::printf("Load average of the machine (1 min) at start → end: %s → %s\n",
                qPrintable(loadBefore), qPrintable(loadAverage()));
    return status;
}

#include "bench_screens.moc"
