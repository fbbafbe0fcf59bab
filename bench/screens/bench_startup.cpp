// bench_startup: how long the terminal takes from its start to a settled sign-in panel, next
// to a bare Qt Quick window of the same size and kind (bench_bare_window), measured from
// outside both programs. Run by hand, from the build folder:
//
//   xvfb-run -a -s "-screen 0 1600x1000x24" bench/screens/bench_startup [--runs N] [--terminal P]
//
// --runs: the starts of each program counted (7); --terminal: another build of the terminal
// to measure instead of this build's (an earlier commit's, say).
//
// Each start is a fresh process. The X server says when its window is mapped; from then on
// the screen in the window's place is read back every 10 ms until it has not changed for
// 1.5 s. The start-up is the time from starting the process to the first read-back showing
// that final picture. The two programs take turns, so whatever else the machine does weighs
// on both alike, and the first start of each is not counted (it fills the file cache). The
// terminal talks to a private reference backend (fresh demo database, free loopback port),
// so its start-up version check is answered as in a store. LIBGL_ALWAYS_SOFTWARE=1 is set
// unless the environment says otherwise.
//
// It prints the medians and the best starts of both, and their ratio (goal: the terminal
// within 1.5× the bare window), foremost the median of the ratios of starts made one after
// the other. Nothing is asserted: the figures are for reading.

#include "privatebackend.h"
#include "screenwatch.h"
#include "tests/screens/referencebackend.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Start
{
    double mappedMs = 0;
    double settledMs = 0;
    int pictures = 0;
};

struct Program
{
    QString name;
    QString path;
    std::vector<Start> starts;
};

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[(values.size() - 1) / 2];
}

double best(const std::vector<double> &values)
{
    return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

std::vector<double> settled(const Program &p)
{
    std::vector<double> v;
    for (const Start &s : p.starts)
        v.push_back(s.settledMs);
    return v;
}

std::vector<double> mapped(const Program &p)
{
    std::vector<double> v;
    for (const Start &s : p.starts)
        v.push_back(s.mappedMs);
    return v;
}

std::vector<double> pictures(const Program &p)
{
    std::vector<double> v;
    for (const Start &s : p.starts)
        v.push_back(s.pictures);
    return v;
}

QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll().split(' ').value(0))
                                          : QStringLiteral("?");
}

// Starts `program` in `folder`, waits for its picture to settle and ends it again. False
// (with the reason on stderr) when it did not come up.
bool startOnce(ScreenWatch &watch, const Program &program, const QString &folder, Start *start)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    watch.expectWindow();
    const std::int64_t t0 = ScreenWatch::nowNs();
    process.start(program.path, QStringList());
    if (!process.waitForStarted(10000)) {
        std::fprintf(stderr, "bench_startup: %s: %s\n", qPrintable(program.path),
                     qPrintable(process.errorString()));
        return false;
    }
    const ScreenWatch::Settled s = watch.waitUntilSettled(10, 1500, 30000);
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
    watch.waitUntilGone(5000);
    if (!s.ok) {
        std::fprintf(stderr, "bench_startup: %s: %s\n", qPrintable(program.name),
                     s.problem.c_str());
        return false;
    }
    start->mappedMs = (s.mappedNs - t0) / 1e6;
    start->settledMs = (s.settledNs - t0) / 1e6;
    start->pictures = s.pictures;
    return true;
}

void printRow(const QString &what, const QString &value, const QString &goal)
{
    std::printf("%s  %s  %s\n", qPrintable(what.leftJustified(66)),
                qPrintable(value.leftJustified(24)), qPrintable(goal));
}

QString ms(double value)
{
    return QString::number(value, 'f', 0) + " ms";
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("LIBGL_ALWAYS_SOFTWARE"))
        qputenv("LIBGL_ALWAYS_SOFTWARE", "1");
    QCoreApplication app(argc, argv);
    int runs = 7;
    QString terminalPath = QStringLiteral(BRENVO_TERMINAL_EXE);
    const QStringList arguments = app.arguments();
    for (int i = 1; i + 1 < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--runs") && arguments[i + 1].toInt() > 0)
            runs = arguments[++i].toInt();
        else if (arguments[i] == QLatin1String("--terminal"))
            terminalPath = QFileInfo(arguments[++i]).absoluteFilePath();
    }

    ScreenWatch watch;
    if (!watch.ok()) {
        std::fprintf(
            stderr,
            "usage: xvfb-run -a -s \"-screen 0 1600x1000x24\" %s [--runs N] [--terminal P]\n",
            argv[0]);
        return 2;
    }
    PrivateBackend backend;
    if (backend.url().isEmpty()) {
        std::fprintf(stderr, "bench_startup: the reference backend did not start\n%s\n",
                     qPrintable(backend.output()));
        return 1;
    }
    useReferenceBackend(backend.url().toUtf8());
    qputenv("BRENVO_SERIAL_NUM", "BV2024000001");
    qputenv("TZ", "Asia/Shanghai");
    QTemporaryDir folder; // the terminal's working folder: its settings files

    Program bare{
        QStringLiteral("bare Qt Quick window"), QStringLiteral(BRENVO_BARE_WINDOW_EXE), {}};
    Program terminal{QStringLiteral("terminal, sign-in panel"), terminalPath, {}};
    const QString loadBefore = loadAverage();
    for (int i = 0; i <= runs; ++i) {
        QString line;
        for (Program *program : {&bare, &terminal}) {
            Start start;
            if (!startOnce(watch, *program, folder.path(), &start))
                return 1;
            if (i > 0) // the first start fills the file cache
                program->starts.push_back(start);
            line += QStringLiteral(", %1 %2").arg(program->name, ms(start.settledMs));
        }
        std::fprintf(stderr, "bench_startup: %d of %d%s\n", i, runs, qPrintable(line));
    }

    std::printf("\n");
    printRow(QStringLiteral("Measure"), QStringLiteral("Value"), QStringLiteral("Goal"));
    std::printf("%s\n", QString(100, QLatin1Char('-')).toUtf8().constData());
    for (const Program *program : {&bare, &terminal}) {
        const QString n = QStringLiteral(" (n=%1)").arg(program->starts.size());
        printRow(QStringLiteral("Start → window mapped, ") + program->name +
                     QStringLiteral(", median"),
                 ms(median(mapped(*program))), QString());
        printRow(QStringLiteral("Start → screen settled, ") + program->name +
                     QStringLiteral(", median") + n,
                 ms(median(settled(*program))), QString());
        printRow(QStringLiteral("Start → screen settled, ") + program->name +
                     QStringLiteral(", best"),
                 ms(best(settled(*program))), QString());
        printRow(QStringLiteral("  pictures until settled, median"),
                 QString::number(median(pictures(*program)), 'f', 0), QString());
    }
    // Each pair of starts ran back to back, under much the same load: their ratio is the
    // steadiest figure on a busy machine.
    std::vector<double> ratios;
    for (size_t i = 0; i < terminal.starts.size(); ++i)
        ratios.push_back(terminal.starts[i].settledMs / bare.starts[i].settledMs);
    printRow(QStringLiteral("Start-up, terminal ÷ bare window, median of the pairs"),
             QString::number(median(ratios), 'f', 2) + QStringLiteral("×"),
             QStringLiteral("≤ 1.5×"));
    printRow(QStringLiteral("Start-up, terminal ÷ bare window, medians"),
             QString::number(median(settled(terminal)) / median(settled(bare)), 'f', 2) +
                 QStringLiteral("×"),
             QString());
    printRow(QStringLiteral("Start-up, terminal ÷ bare window, best starts"),
             QString::number(best(settled(terminal)) / best(settled(bare)), 'f', 2) +
                 QStringLiteral("×"),
             QString());
    std::printf("Load average of the machine (1 min) at start → end: %s → %s\n",
                qPrintable(loadBefore), qPrintable(loadAverage()));
    return 0;
}
