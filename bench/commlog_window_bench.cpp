// Times the tool's 60000-article read and write chains over loopback TCP with the communication
// log window closed and open (shown, following the lines as they come), alternating, so that the
// cost of the open window shows as the ratio of the medians.
//
//   commlog_window_bench [--devsim PATH] [--host 127.0.0.210] [--port 41210] [--rounds 3]
//
// Without --devsim the printer is this program started again with --serve.
#include "ArticleModel.h"
#include "ArticlesSection.h"
#include "BenchSupport.h"
#include "CommLog.h"
#include "CommLogModel.h"
#include "CommLogWindow.h"
#include "DeviceLink.h"
#include "TcpTransport.h"
#include "TfMain.h"

#include <QApplication>
#include <QLabel>
#include <QListView>
#include <QPushButton>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
constexpr int kArticles = ArticleModel::kArticles;

// Clicks `button` and runs the event loop until `lblBrojac` shows `endText`; seconds, or -1.
double transfer(TfMain &w, QPushButton *button, const QString &endText)
{
    QLabel *counter = w.articlesSection().lblBrojac;
    counter->clear();
    QEventLoop loop;
    auto c = QObject::connect(&w.link(), &DeviceLink::replyDispatched, [&](uint8_t) {
        if (counter->text() == endText)
            loop.quit();
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
    guard.start(300000);
    QElapsedTimer t;
    t.start();
    button->click();
    loop.exec();
    const double s = t.nsecsElapsed() / 1e9;
    QObject::disconnect(c);
    return counter->text() == endText ? s : -1;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
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
    const bench::DeviceOptions opt = bench::deviceOptions(app.arguments(), QStringLiteral("127.0.0.210"), 41210);
    int rounds = 3;
    if (const qsizetype i = opt.rest.indexOf("--rounds"); i >= 0 && i + 1 < opt.rest.size())
        rounds = std::max(1, opt.rest[i + 1].toInt());
    QLocale::setDefault(QLocale::c());

    QProcess device;
    const QString address = bench::startDevice(device, opt.devsim, opt.host, opt.port);
    if (address.isEmpty()) {
        std::fprintf(stderr, "the simulated printer did not start\n");
        return 1;
    }
    TfMain w;
    bench::prepareArticleWindow(w, true);
    TcpTransport tcp;
    if (!tcp.connectTo(address)) {
        std::fprintf(stderr, "connect to %s failed: %s\n", qPrintable(address), qPrintable(tcp.errorString()));
        return 1;
    }
    w.link().setTransport(&tcp);
    app.processEvents();

    std::vector<double> readClosed, readOpen, writeClosed, writeOpen;
    bool complete = true;
    const auto run = [&](bool open) {
        if (open) {
            w.showCommLog();
        } else if (w.commLogWindow()) {
            w.commLogWindow()->hide();
        }
        app.processEvents();
        const double write = transfer(w, w.articlesSection().btnAWrite, QString::number(kArticles + 1));
        const double read = transfer(w, w.articlesSection().btnARead, QString::number(kArticles));
        complete = complete && write > 0 && read > 0;
        (open ? writeOpen : writeClosed).push_back(write);
        (open ? readOpen : readClosed).push_back(read);
    };
    for (int r = 0; r < rounds; ++r) {
        run(false);
        run(true);
    }
    int listed = 0;
    if (CommLogWindow *lw = w.commLogWindow()) {
        lw->model().sync();
        listed = lw->listedCount();
    }
    const double wc = median(writeClosed), wo = median(writeOpen), rc = median(readClosed), ro = median(readOpen);
    std::printf("log window closed: write 60000 %.3f s, read 60000 %.3f s (medians of %d)\n", wc, rc, rounds);
    std::printf("log window open:   write 60000 %.3f s, read 60000 %.3f s; open/closed %+.1f %% and %+.1f %%\n", wo, ro,
                (wo / wc - 1) * 100, (ro / rc - 1) * 100);
    std::printf("log entries held %d (at most %d), lines listed in the window %d, peak RSS %ld kB, %s\n",
                w.commLog().size(), CommLog::kMaxEntries, listed, bench::statusKb("VmHWM"),
                complete ? "all transfers complete" : "INCOMPLETE");
    tcp.close();
    bench::stopDevice(device);
    return complete ? 0 : 1;
}
