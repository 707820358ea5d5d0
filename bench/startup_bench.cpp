// Start-up time (process start to the first painted main window) and resident memory of the tool's
// window, beside an empty Qt window for comparison. Runs each case several times in a child process.
//   startup_bench [runs]
#include "TfMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
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

// Child: builds the window, reports once it has been painted, and ends.
int child(int argc, char **argv, bool empty)
{
    QApplication app(argc, argv);
    QMainWindow *w = empty ? new QMainWindow : new TfMain;
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

Sample runChild(const QString &self, bool empty)
{
    QProcess p;
    QElapsedTimer t;
    QStringList args{"--child"};
    if (empty)
        args << "--empty";
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
    if (argc > 1 && QByteArray(argv[1]) == "--child")
        return child(argc, argv, argc > 2 && QByteArray(argv[2]) == "--empty");
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    for (bool empty : {true, false}) {
        std::vector<double> times;
        long rss = 0;
        for (int i = 0; i < runs; ++i) {
            const Sample s = runChild(QCoreApplication::applicationFilePath(), empty);
            times.push_back(s.ms);
            rss = std::max(rss, s.rssKb);
        }
        std::sort(times.begin(), times.end());
        std::printf("%-28s median %7.1f ms  min %7.1f ms  peak RSS %6.1f MB  (%d runs, platform %s)\n",
                    empty ? "startup: empty Qt window" : "startup: main window", times[times.size() / 2], times.front(),
                    rss / 1024.0, runs, qgetenv("QT_QPA_PLATFORM").constData());
    }
    return 0;
}
