// Start-up time (process start to the first painted main window) and resident memory of the tool's
// window, beside an empty Qt window and a Qt window showing one Cyrillic label (which loads the same
// fonts, so it is the fair baseline). Runs each case several times in a child process. The tool's
// window builds the pages after the first one right after its first paint; the time until that
// is done is reported too. The tool's child starts the way the tool's main() does: the font
// configuration loads on another core while the application starts (FontWarmup).
//   startup_bench [runs]
//   startup_bench --child [--tool|--label|--empty] [--first-paint]   (one window, e.g. under callgrind)
#include "FontWarmup.h"
#include "TfMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <unistd.h>
#include <vector>

namespace {
long peakRssKb()
{
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

enum class Kind { Empty, Label, Tool };

// Child: builds the window, reports once it has been painted, and ends.
// Ends at the first paint when `firstPaintOnly` (for counting instructions to that point).
int child(int argc, char **argv, Kind kind, bool firstPaintOnly)
{
    std::optional<FontWarmup> fonts;
    if (kind == Kind::Tool)
        fonts.emplace();
    QApplication app(argc, argv);
    QMainWindow *w = kind == Kind::Tool ? new TfMain : new QMainWindow;
    if (kind == Kind::Label) {
        w->setFont(QFont("Arial", 8));
        w->setCentralWidget(new QLabel(QStringLiteral("Фискални принтер је у сервисном режиму..."), w));
    }
    struct Filter : QObject {
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::Paint && !done) {
                done = true;
                QMetaObject::invokeMethod(
                    qApp,
                    [firstPaintOnly = firstPaintOnly] {
                        std::printf("shown %ld\n", peakRssKb());
                        std::fflush(stdout);
                        if (firstPaintOnly)
                            _exit(0); // at once: calls already posted would still run before exit() returns
                        // The tool builds its other pages right after its first paint: "ready"
                        // once that has run too (a later posted call).
                        QMetaObject::invokeMethod(
                            qApp,
                            [] {
                                std::printf("ready %ld\n", peakRssKb());
                                std::fflush(stdout);
                                QApplication::exit(0);
                            },
                            Qt::QueuedConnection);
                    },
                    Qt::QueuedConnection);
            }
            return false;
        }
        bool done = false;
        bool firstPaintOnly = false;
    } filter;
    filter.firstPaintOnly = firstPaintOnly;
    w->installEventFilter(&filter);
    w->resize(800, 625);
    w->show();
    return app.exec();
}

struct Sample {
    double ms;      // to the first paint
    double readyMs; // to the end of the work the first paint left for right after it
    long rssKb;
};

Sample runChild(const QString &self, Kind kind)
{
    QProcess p;
    QElapsedTimer t;
    QStringList args{"--child"};
    if (kind == Kind::Empty)
        args << "--empty";
    if (kind == Kind::Label)
        args << "--label";
    t.start();
    p.start(self, args);
    QByteArray out;
    double ms = -1, readyMs = -1;
    while ((ms < 0 || readyMs < 0) && p.waitForReadyRead(30000)) {
        out += p.readAll();
        if (ms < 0 && out.contains("shown"))
            ms = t.nsecsElapsed() / 1e6;
        if (readyMs < 0 && out.contains("ready"))
            readyMs = t.nsecsElapsed() / 1e6;
    }
    p.waitForFinished(30000);
    const QList<QByteArray> lines = out.trimmed().split('\n');
    const QList<QByteArray> parts = lines.last().split(' ');
    return {ms, readyMs, parts.size() == 2 ? parts[1].toLong() : -1};
}
} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && QByteArray(argv[1]) == "--child") {
        const QByteArray which = argc > 2 ? QByteArray(argv[2]) : QByteArray();
        const bool firstPaintOnly = argc > 3 && QByteArray(argv[3]) == "--first-paint";
        return child(argc, argv,
                     which == "--empty"   ? Kind::Empty
                     : which == "--label" ? Kind::Label
                                          : Kind::Tool,
                     firstPaintOnly);
    }
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    double median[3] = {};
    const char *names[3] = {"startup: empty Qt window", "startup: one-label window", "startup: main window"};
    // Interleaved runs, so that a busy moment of the machine falls on every case alike.
    std::vector<double> times[3], ready[3];
    long rss[3] = {};
    for (int i = 0; i < runs; ++i)
        for (int k = 0; k < 3; ++k) {
            const Sample s = runChild(QCoreApplication::applicationFilePath(), Kind(k));
            times[k].push_back(s.ms);
            ready[k].push_back(s.readyMs);
            rss[k] = std::max(rss[k], s.rssKb);
        }
    for (int k = 0; k < 3; ++k) {
        std::sort(times[k].begin(), times[k].end());
        std::sort(ready[k].begin(), ready[k].end());
        median[k] = times[k][times[k].size() / 2];
        std::printf("%-28s median %7.1f ms  min %7.1f ms  peak RSS %6.1f MB  (%d runs, platform %s)\n", names[k],
                    median[k], times[k].front(), rss[k] / 1024.0, runs, qgetenv("QT_QPA_PLATFORM").constData());
    }
    const double toolReady = ready[2][ready[2].size() / 2];
    std::printf("main window with every page built (right after its first paint): median %.1f ms\n", toolReady);
    std::printf("main window / one-label window %.2fx (limit 1.5x), main window / empty window %.2fx; "
                "with every page built %.2fx the one-label window\n",
                median[2] / median[1], median[2] / median[0], toolReady / median[1]);
    return 0;
}
