// Times a 1000-article read over a pseudo-terminal against quorvel-devsim pacing the line at 57600
// baud, and compares it with the line-time limit: 60 bytes per article (6 request + 54 reply),
// 10 bits per byte, so 10.42 ms per article at 57600 baud.
//
//   article_pty_bench --devsim PATH [--articles 1000] [--baud 57600] [--bare | --range | --write | --changed K]
//   [--own-core] [--phases]
//
// --bare runs the same chain with only a serial port (no window), to show what the paced line alone
// allows. --range reads articles 1..N through the page's range fields and times the read to its own
// end. --changed K marks K rows changed (in a few runs of consecutive numbers) and times "Унос измена"
// to its end; a written article is 54 request + 6 reply bytes, the same 60 bytes per article.
// --bare --changed K writes the same K records with only a serial port. --write fills rows 1..N and
// writes them through the range fields ("Упис"), timed to the write's end; --bare --write sends the
// same N records on a bare port.
// The tool's own serial transport is used when the build has it. --own-core gives the simulated
// printer the last core and the window the others, as a real printer has a processor of its own.
#include "ArticleModel.h"
#include "ArticlesSection.h"
#include "BenchSupport.h"
#include "DeviceLink.h"
#include "TDialog.h"
#include "TfMain.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSerialPort>

#include <cstdio>
#include <vector>

#include <sched.h>
#include <unistd.h>

#if __has_include("SerialTransport.h")
#include "SerialTransport.h"
#else
// Stand-in until the tool's serial transport is part of the build: the same port settings.
class SerialTransport : public Transport {
public:
    void setPortName(const QString &name) { port_.setPortName(name); }
    bool open()
    {
        port_.setBaudRate(57600);
        port_.setDataBits(QSerialPort::Data8);
        port_.setParity(QSerialPort::NoParity);
        port_.setStopBits(QSerialPort::OneStop);
        port_.setFlowControl(QSerialPort::NoFlowControl);
        if (!port_.open(QIODevice::ReadWrite))
            return false;
        QObject::connect(&port_, &QSerialPort::readyRead, this, [this] { emit received(port_.readAll()); });
        return true;
    }
    bool isOpen() const override { return port_.isOpen(); }
    bool write(const QByteArray &bytes) override { return port_.write(bytes) == bytes.size(); }
    QString errorString() const override { return port_.errorString(); }
    void close() override { port_.close(); }
    bool recogniseEachByte() const override { return false; }

private:
    QSerialPort port_;
};
#endif

namespace {
constexpr int kBytesPerArticle = 6 + 54;

QByteArray readRequest(int n)
{
    return QByteArray("\x5F\x80\x02", 3) + char(n & 0xFF) + char(n >> 8) + '\r';
}

// A bare chain: each frame out, its reply of `replySize` bytes in, the next frame out; frames
// prepared beforehand.
double bareExchanges(const QString &path, const std::vector<QByteArray> &frames, int replySize)
{
    QSerialPort port(path);
    port.setBaudRate(57600);
    if (!port.open(QIODevice::ReadWrite)) {
        std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(path), qPrintable(port.errorString()));
        return -1;
    }
    QElapsedTimer t;
    t.start();
    QByteArray pending;
    for (const QByteArray &frame : frames) {
        port.write(frame);
        port.flush();
        while (pending.size() < replySize && port.waitForReadyRead(5000))
            pending += port.readAll();
        if (pending.size() < replySize)
            return -1;
        pending.remove(0, replySize);
    }
    return t.nsecsElapsed() / 1e9;
}

// The bare read: request n, its 54-byte reply, request n + 1.
double bareChain(const QString &path, int articles)
{
    std::vector<QByteArray> frames;
    for (int n = 1; n <= articles; ++n)
        frames.push_back(readRequest(n));
    return bareExchanges(path, frames, 54);
}

// Row numbers of K changed rows in runs of three: 5..7, 105..107, ... as a technician's price
// changes might fall.
int changedRow(int i)
{
    return 5 + (i / 3) * 100 + i % 3;
}

// The bare write of the same changed rows: each 54-byte record out, its 6-byte reply in.
double bareWriteChain(const QString &path, int rows)
{
    std::vector<QByteArray> frames;
    for (int i = 0; i < rows; ++i)
        frames.push_back(bench::articleWriteFrame(changedRow(i), QStringLiteral("%1.50").arg(i + 1)));
    return bareExchanges(path, frames, 6);
}

// The bare write of rows 1..N with the benchmark's cell texts.
double bareRangeWrite(const QString &path, int rows)
{
    std::vector<QByteArray> frames;
    for (int r = 1; r <= rows; ++r)
        frames.push_back(bench::articleWriteFrame(r));
    return bareExchanges(path, frames, 6);
}
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QString devsim;
    int articles = 1000, baud = 57600;
    bool bare = false, range = false, write = false, ownCore = false, phases = false;
    int changed = 0;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--devsim" && i + 1 < args.size())
            devsim = args[++i];
        else if (args[i] == "--articles" && i + 1 < args.size())
            articles = std::clamp(args[++i].toInt(), 1, ArticleModel::kArticles);
        else if (args[i] == "--baud" && i + 1 < args.size())
            baud = std::max(1, args[++i].toInt());
        else if (args[i] == "--bare")
            bare = true;
        else if (args[i] == "--range")
            range = true;
        else if (args[i] == "--write")
            write = true;
        else if (args[i] == "--changed" && i + 1 < args.size())
            changed = std::clamp(args[++i].toInt(), 1, ArticleModel::kArticles);
        else if (args[i] == "--own-core")
            ownCore = true;
        else if (args[i] == "--phases")
            phases = true;
    }
    if (devsim.isEmpty()) {
        std::fprintf(stderr, "usage: article_pty_bench --devsim PATH-TO-quorvel-devsim [--articles N] [--bare]\n");
        return 2;
    }
    QLocale::setDefault(QLocale::c());

    QProcess device;
    // A real printer has a processor of its own; on a small machine the simulated one otherwise
    // waits for a core while the window paints, which is not the line's time.
    const int cpus = int(sysconf(_SC_NPROCESSORS_ONLN));
    if (ownCore && cpus >= 2) {
        cpu_set_t mine;
        CPU_ZERO(&mine);
        for (int c = 0; c < cpus - 1; ++c)
            CPU_SET(c, &mine);
        sched_setaffinity(0, sizeof mine, &mine);
        device.setChildProcessModifier([cpus] {
            cpu_set_t its;
            CPU_ZERO(&its);
            CPU_SET(cpus - 1, &its);
            sched_setaffinity(0, sizeof its, &its);
        });
    }
    device.start(devsim, {QStringLiteral("--pty"), QStringLiteral("--baud"), QString::number(baud)});
    QByteArray line;
    if (device.waitForStarted(5000))
        while (!line.contains('\n') && device.waitForReadyRead(5000))
            line += device.readAllStandardOutput();
    const QString path = QString::fromLocal8Bit(line.left(line.indexOf('\n'))).trimmed();
    if (!path.startsWith('/')) {
        std::fprintf(stderr, "quorvel-devsim gave no pseudo-terminal: %s %s\n", line.constData(),
                     device.readAllStandardError().constData());
        return 1;
    }
    if (changed > 0)
        articles = changed;
    const double limit = articles * kBytesPerArticle * 10.0 / baud;

    double seconds = -1;
    if (bare) {
        seconds = changed > 0 ? bareWriteChain(path, changed)
                  : write     ? bareRangeWrite(path, articles)
                              : bareChain(path, articles);
    } else {
        TfMain w;
        w.FormActivate();
        w.dialog().setResponder([](TDialog &d) {
            std::fprintf(stderr, "message: %s | %s\n", qPrintable(d.Naslov->text()),
                         qPrintable(d.tekst->toPlainText()));
            return 1;
        });
        w.show();
        w.btPage2Click();
        SerialTransport serial;
        serial.setPortName(path);
        if (!serial.open()) {
            std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(path), qPrintable(serial.errorString()));
            return 1;
        }
        w.link().setSerialTransport(true);
        w.link().setTransport(&serial);
        app.processEvents();
        QLabel *counter = w.articlesSection().lblBrojac;
        const QString endText = QString::number(articles);
        QEventLoop loop;
        // Where the time beyond the line goes: click to first frame, each reply to the next frame,
        // the last reply to the chain's end (the result message shown).
        QElapsedTimer t;
        qint64 firstFrame = -1, lastReply = -1, chainEnd = -1, replyAt = -1, turnaround = 0;
        int turns = 0;
        QObject::connect(&w.link(), &DeviceLink::frameSent, [&](const QByteArray &) {
            if (firstFrame < 0)
                firstFrame = t.nsecsElapsed();
            if (replyAt >= 0)
                turnaround += t.nsecsElapsed() - replyAt, ++turns, replyAt = -1;
        });
        QObject::connect(&w.link(), &DeviceLink::frameRecognised,
                         [&](const QByteArray &) { replyAt = lastReply = t.nsecsElapsed(); });
        // A chain that ends by itself is timed to its end; a whole-table read is broken off here.
        const bool endsItself = range || write || changed > 0;
        if (!endsItself)
            QObject::connect(&w.link(), &DeviceLink::replyDispatched, [&](uint8_t) {
                if (counter->text() == endText)
                    loop.quit();
            });
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
        guard.start(int(limit * 3000) + 10000);
        bool ended = false;
        if (endsItself)
            QObject::connect(&w.link(), &DeviceLink::chainEnded, [&](DeviceLink::Chain, DeviceLink::ChainEnd how) {
                chainEnd = t.nsecsElapsed();
                if (how != DeviceLink::ChainEnd::Completed)
                    loop.quit();
                else if (range || write || w.articles().changedCount() == 0)
                    ended = true, loop.quit();
            });
        if (range || write) {
            w.articlesSection().edtAFrom->setText(QStringLiteral("1"));
            w.articlesSection().edtATo->setText(QString::number(articles));
        }
        if (write)
            for (int r = 1; r <= articles; ++r)
                for (int c = 1; c < ArticleModel::kColumns; ++c)
                    w.articles().setCell(c, r, bench::cellText(c, r));
        for (int i = 0; i < changed; ++i)
            w.articles().setCell(ArticleModel::Price, changedRow(i), QStringLiteral("%1.50").arg(i + 1));
        // The edits have long been on screen when the technician clicks.
        app.processEvents();
        t.start();
        if (changed > 0)
            w.articlesSection().btnAWriteChanged->click();
        else if (write)
            w.articlesSection().btnAWrite->click();
        else
            w.articlesSection().btnARead->click();
        loop.exec();
        seconds = t.nsecsElapsed() / 1e9;
        if (phases)
            std::printf("first frame %.2f ms after the click; reply to next frame %.1f us on average (%d); "
                        "last reply to the chain's end %.2f ms\n",
                        firstFrame / 1e6, turns ? turnaround / 1e3 / turns : 0.0, turns,
                        chainEnd >= 0 && lastReply >= 0 ? (chainEnd - lastReply) / 1e6 : -1.0);
        if (endsItself) {
            if (!ended)
                seconds = -1;
        } else {
            // Break the chain off where it stands, as a user would.
            w.articlesSection().BtnOtkaz->click();
            if (counter->text() != endText)
                seconds = -1;
        }
        serial.close();
    }
    bench::stopDevice(device);
    if (seconds < 0) {
        std::fprintf(stderr, "the chain did not reach its end (%d articles)\n", articles);
        return 1;
    }
    const char *what = changed > 0 ? "write of changed rows,"
                       : write     ? "range write of"
                       : range     ? "range read of"
                                   : "read of";
    std::printf("%s %s %d articles over %s at %d baud%s: %.3f s; line-time limit %.3f s; %+.2f%%\n",
                bare ? "bare" : "tool", what, articles, qPrintable(path), baud,
                ownCore && cpus >= 2 ? " (printer on a core of its own)" : "", seconds, limit,
                (seconds / limit - 1) * 100);
    return 0;
}
