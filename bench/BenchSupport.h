#pragma once
// Shared pieces of the transfer benchmarks: a simulated printer in its own process, memory figures.

#include "ArticleModel.h"
#include "ArticleRecord.h"
#include "Decimal.h"
#include "SimServer.h"
#include "SimulatedDevice.h"
#include "TDialog.h"
#include "TaxLetters.h"
#include "TfMain.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTcpSocket>
#include <QThread>

#include <cstdio>
#include <sys/resource.h>

namespace bench {

// Options every transfer benchmark takes: --devsim PATH, --host ADDR, --port N; `rest` holds the others.
struct DeviceOptions {
    QString devsim;
    QString host;
    quint16 port = 0;
    QStringList rest;
};

inline DeviceOptions deviceOptions(const QStringList &args, const QString &host, quint16 port)
{
    DeviceOptions o{QString(), host, port, {}};
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--devsim" && i + 1 < args.size())
            o.devsim = args[++i];
        else if (args[i] == "--host" && i + 1 < args.size())
            o.host = args[++i];
        else if (args[i] == "--port" && i + 1 < args.size())
            o.port = quint16(args[++i].toUInt());
        else
            o.rest << args[i];
    }
    return o;
}

// A field of /proc/self/status in kB (VmRSS, VmHWM).
inline long statusKb(const char *field)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').first().toLong();
    return -1;
}

// CPU time (user + system) this process has used, in seconds.
inline double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Runs the simulated printer on `host` (port chosen by the system) and prints "LISTENING host:port".
// Returns only when the process is stopped.
inline int serve(const QString &host)
{
    SimulatedDevice device;
    SimServer server(device);
    if (!server.listen(QHostAddress(host), 0)) {
        std::fprintf(stderr, "cannot listen on %s\n", qPrintable(host));
        return 1;
    }
    std::printf("LISTENING %s\n", qPrintable(server.address()));
    std::fflush(stdout);
    return QCoreApplication::exec();
}

// Starts the printer in a separate process: this program with "--serve HOST", or the given
// quorvel-devsim listening on HOST:PORT. Returns "host:port", empty on failure.
inline QString startDevice(QProcess &process, const QString &devsim, const QString &host, quint16 port)
{
    if (devsim.isEmpty()) {
        process.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--serve"), host});
        if (!process.waitForStarted(5000))
            return {};
        QByteArray line;
        QElapsedTimer t;
        t.start();
        while (!line.contains('\n') && t.elapsed() < 10000 && process.state() == QProcess::Running) {
            process.waitForReadyRead(100);
            line += process.readAllStandardOutput();
        }
        if (!line.startsWith("LISTENING "))
            return {};
        return QString::fromLatin1(line.mid(10).trimmed());
    }
    const QString address = host + QLatin1Char(':') + QString::number(port);
    process.start(devsim, {QStringLiteral("--listen"), address});
    if (!process.waitForStarted(5000))
        return {};
    // Wait until it accepts connections.
    for (int i = 0; i < 100; ++i) {
        QTcpSocket probe;
        probe.connectToHost(host, port);
        if (probe.waitForConnected(100)) {
            probe.abort();
            return address;
        }
        QThread::msleep(50);
    }
    return {};
}

inline void stopDevice(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000))
        process.kill();
    process.waitForFinished(1000);
}

// The benchmark table: the same rows the end-to-end test uses.
inline QString cellText(int column, int r)
{
    switch (column) {
    case ArticleModel::Name:
        if (r % 7 == 0)
            return QStringLiteral("Артикал ђжшћч Ј %1").arg(r);
        if (r % 3 == 0)
            return QStringLiteral("Item %1").arg(r);
        return {};
    case ArticleModel::Barcode:
        return r % 5 == 0 ? QStringLiteral("86%1").arg(r, 11, 10, QChar('0')) : QString();
    case ArticleModel::Department:
        return QString::number(r % 10 + 1);
    case ArticleModel::Price:
        return Decimal::fromHundredths(int64_t(r) * 7919 % 999999999);
    case ArticleModel::Tax:
        return TaxLetters::letter(r % 9);
    default:
        return QString::number(r);
    }
}

// The write frame (code 0x85) of row r as the benchmarks fill it, with `price` in place of the
// row's own price when one is given.
inline QByteArray articleWriteFrame(int r, const QString &price = {})
{
    ArticleRecord rec;
    ArticleRecord::fromCells(
        r, cellText(ArticleModel::Name, r), cellText(ArticleModel::Barcode, r), cellText(ArticleModel::Department, r),
        price.isNull() ? cellText(ArticleModel::Price, r) : price, cellText(ArticleModel::Tax, r), QLocale(), rec);
    return QByteArray("\x5F\x85\x32", 3) + rec.encode() + '\r';
}

// The window as a user has it before a transfer: activated, messages printed, the article page in
// front (unless hidden), and every article row filled with the benchmark's data.
inline void prepareArticleWindow(TfMain &w, bool shown)
{
    w.FormActivate();
    w.dialog().setResponder([](TDialog &d) {
        std::fprintf(stderr, "message: %s | %s\n", qPrintable(d.Naslov->text()), qPrintable(d.tekst->toPlainText()));
        return 1;
    });
    if (shown) {
        w.show();
        w.btPage2Click();
    }
    ArticleModel &m = w.articles();
    for (int r = 1; r <= ArticleModel::kArticles; ++r)
        for (int c = 1; c < ArticleModel::kColumns; ++c)
            m.setCell(c, r, cellText(c, r));
}

} // namespace bench
