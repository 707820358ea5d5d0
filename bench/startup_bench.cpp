// Start-up time (process start to the first painted main window) and resident memory of the tool's
// window, beside an empty Qt window and a Qt window showing one Cyrillic label (which loads the same
// fonts, so it is the fair baseline). Runs each case several times in a child process.
//   startup_bench [runs]
#include "TfMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QProcess>

#include <algorithm>
#include <cstdio>
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
int child(int argc, char **argv, Kind kind)
{
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
                    [] {
                        std::printf("shown %ld\n", peakRssKb());
                        std::fflush(stdout);
                        QApplication::exit(0);
                    },
                    Qt::QueuedConnection);
            }
            return false;
        }
        bool done = false;
    } filter;
    w->installEventFilter(&filter);
    w->resize(800, 625);
    w->show();
    return app.exec();
}

struct Sample {
    double ms;
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
    p.waitForReadyRead(30000);
    const double ms = t.nsecsElapsed() / 1e6;
    const QByteArray out = p.readAll();
    p.waitForFinished(30000);
    const QList<QByteArray> parts = out.trimmed().split(' ');
    return {ms, parts.size() == 2 ? parts[1].toLong() : -1};
}
} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && QByteArray(argv[1]) == "--child") {
        const QByteArray which = argc > 2 ? QByteArray(argv[2]) : QByteArray();
        return child(argc, argv, which == "--empty" ? Kind::Empty : which == "--label" ? Kind::Label : Kind::Tool);
    }
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    double median[3] = {};
    const char *names[3] = {"startup: empty Qt window", "startup: one-label window", "startup: main window"};
    // Interleaved runs, so that a busy moment of the machine falls on every case alike.
    std::vector<double> times[3];
    long rss[3] = {};
    for (int i = 0; i < runs; ++i)
        for (int k = 0; k < 3; ++k) {
            const Sample s = runChild(QCoreApplication::applicationFilePath(), Kind(k));
            times[k].push_back(s.ms);
            rss[k] = std::max(rss[k], s.rssKb);
        }
    for (int k = 0; k < 3; ++k) {
        std::sort(times[k].begin(), times[k].end());
        median[k] = times[k][times[k].size() / 2];
        std::printf("%-28s median %7.1f ms  min %7.1f ms  peak RSS %6.1f MB  (%d runs, platform %s)\n", names[k],
                    median[k], times[k].front(), rss[k] / 1024.0, runs, qgetenv("QT_QPA_PLATFORM").constData());
    }
    std::printf("main window / one-label window %.2fx (limit 1.5x), main window / empty window %.2fx\n",
                median[2] / median[1], median[2] / median[0]);
    return 0;
}
