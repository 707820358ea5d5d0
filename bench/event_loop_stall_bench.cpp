// Longest time the window's event loop goes without turning during a 60000-article write and read
// over loopback TCP, with the printer in its own process (or in this one with --in-process).
// A 2 ms timer in the window's thread notes the largest gap between its ticks; a gap much over
// 2 ms is time the user's clicks and repaints had to wait.
//
//   event_loop_stall_bench [--devsim PATH] [--host 127.0.0.89] [--port 41089] [--hidden]
#include "ArticleModel.h"
#include "ArticlesSection.h"
#include "BenchSupport.h"
#include "DeviceLink.h"
#include "TDialog.h"
#include "TcpTransport.h"
#include "TfMain.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
constexpr int kArticles = ArticleModel::kArticles;
constexpr int kTickMs = 2;

struct Stalls {
    double seconds = 0;
    qint64 longestNs = 0;
    qint64 over16 = 0; // gaps longer than a 60 Hz frame
    qint64 over50 = 0;
    std::vector<qint64> gaps;
    bool complete = false;
};

Stalls measure(TfMain &w, QPushButton *button, const QString &endText)
{
    Stalls s;
    QLabel *counter = w.articlesSection().lblBrojac;
    counter->clear();
    QEventLoop loop;
    auto c = QObject::connect(&w.link(), &DeviceLink::replyDispatched, [&](uint8_t) {
        if (counter->text() == endText)
            loop.quit();
    });
    QElapsedTimer clock;
    qint64 last = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(kTickMs);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 t = clock.nsecsElapsed();
        const qint64 gap = t - last;
        last = t;
        s.gaps.push_back(gap);
        s.longestNs = std::max(s.longestNs, gap);
        s.over16 += gap > 16000000;
        s.over50 += gap > 50000000;
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
    guard.start(300000);
    clock.start();
    ticker.start();
    button->click(); // the click itself counts: it runs before the first tick
    loop.exec();
    // The gap up to the moment the chain ended.
    s.longestNs = std::max(s.longestNs, clock.nsecsElapsed() - last);
    s.seconds = clock.nsecsElapsed() / 1e9;
    ticker.stop();
    QObject::disconnect(c);
    s.complete = counter->text() == endText;
    return s;
}

void report(const char *what, Stalls &s)
{
    std::sort(s.gaps.begin(), s.gaps.end());
    const auto pct = [&](double p) {
        return s.gaps.empty() ? 0.0 : s.gaps[size_t(p * double(s.gaps.size() - 1))] / 1e6;
    };
    std::printf("%-12s %7.3f s  %s  longest gap %.1f ms  p50 %.2f ms  p99 %.2f ms  p99.9 %.2f ms  gaps >16 ms: %lld  "
                ">50 ms: %lld\n",
                what, s.seconds, s.complete ? "complete" : "INCOMPLETE", s.longestNs / 1e6, pct(0.5), pct(0.99),
                pct(0.999), (long long)s.over16, (long long)s.over50);
}
} // namespace

int main(int argc, char **argv)
{
    if (argc >= 3 && QByteArray(argv[1]) == "--serve") {
        QCoreApplication app(argc, argv);
        return bench::serve(QString::fromLatin1(argv[2]));
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bench::DeviceOptions opt = bench::deviceOptions(app.arguments(), QStringLiteral("127.0.0.89"), 41089);
    const QString devsim = opt.devsim, host = opt.host;
    const quint16 port = opt.port;
    const bool hidden = opt.rest.contains("--hidden");
    QLocale::setDefault(QLocale::c());

    QProcess device;
    const QString address = bench::startDevice(device, devsim, host, port);
    if (address.isEmpty()) {
        std::fprintf(stderr, "the simulated printer did not start\n");
        return 1;
    }
    TfMain w;
    bench::prepareArticleWindow(w, !hidden);
    ArticleModel &m = w.articles();
    TcpTransport tcp;
    if (!tcp.connectTo(address)) {
        std::fprintf(stderr, "connect to %s failed: %s\n", qPrintable(address), qPrintable(tcp.errorString()));
        return 1;
    }
    w.link().setTransport(&tcp);
    app.processEvents();

    std::printf("event-loop gaps, %d ms timer, over loopback TCP to %s (%s window)\n", kTickMs, qPrintable(address),
                hidden ? "hidden" : "shown");
    Stalls write = measure(w, w.articlesSection().btnAWrite, QString::number(kArticles + 1));
    report("write 60000", write);
    m.fillStartup();
    Stalls read = measure(w, w.articlesSection().btnARead, QString::number(kArticles));
    report("read 60000", read);
    tcp.close();
    bench::stopDevice(device);
    return write.complete && read.complete ? 0 : 1;
}
