// Times the tool's full 60000-article write and read over loopback TCP against the simulated printer
// running in its own process, and samples the tool's memory during both transfers.
//
//   article_transfer_bench [--devsim PATH] [--host 127.0.0.63] [--port 41063] [--hidden]
//
// Without --devsim the printer is this program started again with --serve. The window is shown
// (offscreen unless a display platform is chosen) with the article page in front, as a user sees it.
#include "ArticleModel.h"
#include "ArticlesSection.h"
#include "BenchSupport.h"
#include "DeviceLink.h"
#include "TDialog.h"
#include "TcpTransport.h"
#include "TfMain.h"
#include "UiText.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
constexpr int kArticles = ArticleModel::kArticles;

struct Run {
    double seconds = 0;
    double cpu = 0;
    long rssBefore = 0, rssMax = 0, rssAfter = 0;
    bool complete = false;
};

// Clicks `button` and runs the event loop until `lblBrojac` shows `endText`, sampling memory.
Run transfer(TfMain &w, QPushButton *button, const QString &endText)
{
    Run run;
    QLabel *counter = w.articlesSection().lblBrojac;
    counter->clear();
    run.rssBefore = bench::statusKb("VmRSS");
    run.rssMax = run.rssBefore;
    int replies = 0;
    QEventLoop loop;
    auto c = QObject::connect(&w.link(), &DeviceLink::replyDispatched, [&](uint8_t) {
        if (++replies % 5000 == 0)
            run.rssMax = std::max(run.rssMax, bench::statusKb("VmRSS"));
        if (counter->text() == endText)
            loop.quit();
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
    guard.start(300000);
    QElapsedTimer t;
    t.start();
    const double cpu0 = bench::cpuSeconds();
    button->click();
    loop.exec();
    run.seconds = t.nsecsElapsed() / 1e9;
    run.cpu = bench::cpuSeconds() - cpu0;
    QObject::disconnect(c);
    run.complete = counter->text() == endText;
    run.rssAfter = bench::statusKb("VmRSS");
    return run;
}

void report(const char *what, const Run &r)
{
    std::printf("%-18s %7.3f s  %6.1f us/article  CPU %5.1f us/article  %s  RSS kB before %ld, max during %ld, "
                "after %ld\n",
                what, r.seconds, r.seconds * 1e6 / kArticles, r.cpu * 1e6 / kArticles,
                r.complete ? "complete" : "INCOMPLETE", r.rssBefore, r.rssMax, r.rssAfter);
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
    const bench::DeviceOptions opt = bench::deviceOptions(app.arguments(), QStringLiteral("127.0.0.63"), 41063);
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

    std::printf("tool over loopback TCP to %s (%s window)\n", qPrintable(address), hidden ? "hidden" : "shown");
    const Run write = transfer(w, w.articlesSection().btnAWrite, QString::number(kArticles + 1));
    report("write 60000", write);
    m.fillStartup();
    const Run read1 = transfer(w, w.articlesSection().btnARead, QString::number(kArticles));
    report("read 60000", read1);
    int wrong = 0;
    for (int r = 1; r <= kArticles; ++r)
        for (int c = 1; c < ArticleModel::kColumns; ++c)
            wrong += m.cell(c, r) != bench::cellText(c, r);
    const Run read2 = transfer(w, w.articlesSection().btnARead, QString::number(kArticles));
    report("read 60000 again", read2);
    std::printf("cells differing after the read: %d\n", wrong);
    std::printf("peak RSS (VmHWM) %ld kB\n", bench::statusKb("VmHWM"));

    // Cost of the status line: as the reply handlers set it (the text it already shows, which
    // returns at once), and changed every time (set and repainted).
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < kArticles; ++i)
        w.setStatusText(UiText(Txt::InServiceMode));
    std::printf("status line set 60000 times to the text it shows: %.3f s (%.2f us each)\n", t.nsecsElapsed() / 1e9,
                t.nsecsElapsed() / 1e3 / kArticles);
    const QString texts[2] = {UiText(Txt::PleaseWait), UiText(Txt::InServiceMode)};
    t.restart();
    for (int i = 0; i < kArticles; ++i)
        w.setStatusText(texts[i % 2]);
    std::printf("status line changed 60000 times (set and repainted): %.3f s (%.2f us each)\n", t.nsecsElapsed() / 1e9,
                t.nsecsElapsed() / 1e3 / kArticles);

    tcp.close();
    bench::stopDevice(device);
    return write.complete && read1.complete && read2.complete && wrong == 0 ? 0 : 1;
}
