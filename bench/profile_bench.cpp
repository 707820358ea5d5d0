// Times a whole-device backup of a printer with a full article table and its restore to a fresh
// printer (every article written and read back to verify), windowless over the device layer.
// Each printer is a quorvel-devsim process; over TCP on loopback, or with --pty over a
// pseudo-terminal paced at --baud, where the figures stand beside the line-time limit of the
// same frames (every byte sent and received, 10 bits a byte).
//
//   profile_bench --devsim PATH [--pty] [--baud 57600] [--articles 60000] [--host 127.0.0.1]
//
// Over a paced line at 57600 baud the full run takes more than half an hour (four passes over
// 60000 articles); --articles N shortens it.
#include "ArticleRecord.h"
#include "Cp1251.h"
#include "Device.h"
#include "DeviceLink.h"
#include "NullView.h"
#include "Profile.h"
#include "ProfileRun.h"
#include "SerialTransport.h"
#include "SimArticles.h"
#include "SimFiscal.h"
#include "SimulatedDevice.h"
#include "TaxpayerRecord.h"
#include "TcpTransport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace {
struct Options {
    QString devsim;
    QString host = QStringLiteral("127.0.0.1");
    bool pty = false;
    int baud = 57600;
    int articles = 60000;
};

// One printer in its own process; `where` is its address or pseudo-terminal.
struct Printer {
    Printer(const Options &o, const QString &state)
    {
        QStringList args{QStringLiteral("--state"), state};
        if (o.pty)
            args << QStringLiteral("--pty") << QStringLiteral("--baud") << QString::number(o.baud);
        else
            args << QStringLiteral("--listen") << o.host + QStringLiteral(":0");
        proc.start(o.devsim, args);
        QByteArray line;
        if (proc.waitForStarted(5000))
            while (!line.contains('\n') && proc.waitForReadyRead(10000))
                line += proc.readAllStandardOutput();
        where = QString::fromLocal8Bit(line.left(line.indexOf('\n'))).trimmed().section(QLatin1Char(' '), -1);
    }
    ~Printer()
    {
        proc.terminate();
        if (!proc.waitForFinished(5000))
            proc.kill();
    }
    QProcess proc;
    QString where;
};

// A link and a device over one transport to a printer, counting the bytes both ways.
struct Connection {
    Connection(const Options &o, const Printer &p)
    {
        if (o.pty) {
            auto serial = std::make_unique<SerialTransport>();
            serial->setPortName(p.where);
            ok = serial->open();
            link.setSerialTransport(true);
            transport = std::move(serial);
        } else {
            auto tcp = std::make_unique<TcpTransport>();
            ok = tcp->connectTo(p.where);
            transport = std::move(tcp);
        }
        link.setTransport(transport.get());
        QObject::connect(&link, &DeviceLink::frameSent, [this](const QByteArray &b) {
            bytes += b.size();
            ++frames;
        });
        QObject::connect(&link, &DeviceLink::frameRecognised, [this](const QByteArray &b) { bytes += b.size(); });
    }
    NullView view;
    DeviceLink link{view};
    Device device{link};
    std::unique_ptr<Transport> transport;
    bool ok = false;
    qint64 bytes = 0;
    qint64 frames = 0;
};

OpResult runToEnd(ProfileRun &run, const std::function<void()> &start)
{
    OpResult result;
    QEventLoop loop;
    const auto c = QObject::connect(&run, &ProfileRun::finished, &loop, [&](const OpResult &r) {
        result = r;
        loop.quit();
    });
    start();
    loop.exec();
    QObject::disconnect(c);
    return result;
}

void line(const char *what, double seconds, const Connection &c, const Options &o)
{
    if (o.pty) {
        const double limit = double(c.bytes) * 10.0 / o.baud;
        std::printf("%s: %.1f s, %lld frames, %lld bytes; line time at %d baud %.1f s (%.1f %% above it)\n", what,
                    seconds, static_cast<long long>(c.frames), static_cast<long long>(c.bytes), o.baud, limit,
                    100.0 * (seconds - limit) / limit);
    } else {
        std::printf("%s: %.2f s, %lld frames (%.1f µs a frame)\n", what, seconds, static_cast<long long>(c.frames),
                    1e6 * seconds / double(std::max<qint64>(c.frames, 1)));
    }
    std::fflush(stdout); // the paced run is long: each figure as soon as it is known
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("profile_bench"));
    Options o;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--devsim" && i + 1 < args.size())
            o.devsim = args[++i];
        else if (args[i] == "--host" && i + 1 < args.size())
            o.host = args[++i];
        else if (args[i] == "--pty")
            o.pty = true;
        else if (args[i] == "--baud" && i + 1 < args.size())
            o.baud = std::max(1, args[++i].toInt());
        else if (args[i] == "--articles" && i + 1 < args.size())
            o.articles = std::clamp(args[++i].toInt(), 0, 60000);
    }
    if (o.devsim.isEmpty()) {
        std::fprintf(stderr, "usage: profile_bench --devsim PATH [--pty] [--baud N] [--articles N]\n");
        return 2;
    }

    // Printer A holds `articles` named articles from 1 on; printer B is fresh.
    QTemporaryDir dir;
    {
        SimulatedDevice a;
        // The taxpayer write needs a statistical number, as a shop's printer has one.
        TaxpayerRecord taxpayer;
        for (int i = 0; i < TaxpayerRecord::kFieldCount; ++i)
            taxpayer.fields[size_t(i)] = QStringLiteral("Поље %1").arg(i + 1);
        a.module<SimFiscal>()->setTaxpayer(taxpayer.encode());
        for (int n = 1; n <= o.articles; ++n) {
            ArticleRecord r = ArticleRecord::fresh(n);
            r.name = Cp1251::encode(QStringLiteral("Артикал %1").arg(n));
            r.price = uint32_t(n);
            a.module<SimArticles>()->setArticle(n, r.encode());
        }
        if (!a.saveToFile(dir.filePath(QStringLiteral("a.json"))))
            return 1;
    }
    Printer a(o, dir.filePath(QStringLiteral("a.json")));
    Printer b(o, dir.filePath(QStringLiteral("b.json")));
    Connection ca(o, a), cb(o, b);
    if (!ca.ok || !cb.ok) {
        std::fprintf(stderr, "cannot reach the simulated printers (%s, %s)\n", qPrintable(a.where),
                     qPrintable(b.where));
        return 1;
    }

    ProfileRun backup(ca.device);
    QElapsedTimer t;
    t.start();
    OpResult r = runToEnd(backup, [&] { backup.backup(); });
    const double backupSeconds = t.nsecsElapsed() / 1e9;
    if (!r.ok()) {
        std::fprintf(stderr, "backup failed: %s\n", qPrintable(r.message));
        return 1;
    }
    line("backup", backupSeconds, ca, o);

    ProfileRun restore(cb.device);
    t.restart();
    r = runToEnd(restore, [&] { restore.prepareRestore(backup.profile()); });
    if (r.ok())
        r = runToEnd(restore, [&] { restore.restore(true); });
    const double restoreSeconds = t.nsecsElapsed() / 1e9;
    if (!r.ok()) {
        std::fprintf(stderr, "restore failed: %s\n%s", qPrintable(r.message), qPrintable(restore.report()));
        return 1;
    }
    const QByteArray what = QStringLiteral("restore with verify (%1 articles written)").arg(o.articles).toUtf8();
    line(what.constData(), restoreSeconds, cb, o);
    return 0;
}
