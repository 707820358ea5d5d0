// The article chains with nothing but a socket: the same requests and replies as the tool, no window,
// no grid, records prepared beforehand. The lower bound the tool's transfer times are compared with.
//
//   bare_article_chain [--devsim PATH] [--host 127.0.0.64] [--port 41064] [--blocking]
//
// Event-driven by default (readyRead on the event loop, as the tool receives); --blocking waits
// on the socket instead.
#include "BenchSupport.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTcpSocket>
#include <functional>

#include <cstdio>
#include <vector>

namespace {
constexpr int kArticles = ArticleModel::kArticles;
constexpr int kReadReply = 54;
constexpr int kWriteReply = 6;

QByteArray readRequest(int n)
{
    return QByteArray("\x5F\x80\x02", 3) + char(n & 0xFF) + char(n >> 8) + '\r';
}

int number(const QByteArray &reply)
{
    return uint8_t(reply.at(3)) | (uint8_t(reply.at(4)) << 8);
}

// One chain: `next(reply)` returns the following request, or nothing at the end.
double chain(QTcpSocket &s, const QByteArray &first, int replySize, bool blocking,
             const std::function<QByteArray(const QByteArray &)> &next, double &cpu)
{
    const double cpu0 = bench::cpuSeconds();
    struct CpuUsed {
        double &cpu;
        double start;
        ~CpuUsed() { cpu = bench::cpuSeconds() - start; }
    } used{cpu, cpu0};
    QElapsedTimer t;
    t.start();
    QByteArray pending;
    s.write(first);
    s.flush();
    if (blocking) {
        for (;;) {
            while (pending.size() < replySize && s.waitForReadyRead(5000))
                pending += s.readAll();
            if (pending.size() < replySize)
                break;
            const QByteArray reply = pending.left(replySize);
            pending.remove(0, replySize);
            const QByteArray request = next(reply);
            if (request.isEmpty())
                break;
            s.write(request);
            s.flush();
        }
        return t.nsecsElapsed() / 1e9;
    }
    QEventLoop loop;
    auto c = QObject::connect(&s, &QTcpSocket::readyRead, [&] {
        pending += s.readAll();
        while (pending.size() >= replySize) {
            const QByteArray reply = pending.left(replySize);
            pending.remove(0, replySize);
            const QByteArray request = next(reply);
            if (request.isEmpty()) {
                loop.quit();
                return;
            }
            s.write(request);
            s.flush();
        }
    });
    loop.exec();
    QObject::disconnect(c);
    return t.nsecsElapsed() / 1e9;
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc >= 3 && QByteArray(argv[1]) == "--serve")
        return bench::serve(QString::fromLatin1(argv[2]));
    const bench::DeviceOptions opt = bench::deviceOptions(app.arguments(), QStringLiteral("127.0.0.64"), 41064);
    const QString devsim = opt.devsim, host = opt.host;
    const quint16 port = opt.port;
    const bool blocking = opt.rest.contains("--blocking");
    QLocale::setDefault(QLocale::c());

    // Every write frame prepared beforehand.
    std::vector<QByteArray> frames(kArticles + 1);
    for (int r = 1; r <= kArticles; ++r)
        frames[size_t(r)] = bench::articleWriteFrame(r);

    QProcess device;
    const QString address = bench::startDevice(device, devsim, host, port);
    if (address.isEmpty()) {
        std::fprintf(stderr, "the simulated printer did not start\n");
        return 1;
    }
    QTcpSocket s;
    s.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    const qsizetype colon = address.lastIndexOf(':');
    s.connectToHost(address.left(colon), quint16(address.mid(colon + 1).toUInt()));
    if (!s.waitForConnected(3000)) {
        std::fprintf(stderr, "connect to %s failed\n", qPrintable(address));
        return 1;
    }

    int written = 0;
    double writeCpu = 0, readCpu = 0;
    const double writeSeconds = chain(
        s, frames[1], kWriteReply, blocking,
        [&](const QByteArray &reply) {
            ++written;
            const int n = number(reply);
            return n >= 1 && n <= kArticles ? frames[size_t(n)] : QByteArray();
        },
        writeCpu);
    std::vector<QByteArray> names(kArticles + 1);
    int read = 0;
    const double readSeconds = chain(
        s, readRequest(1), kReadReply, blocking,
        [&](const QByteArray &reply) {
            const int n = number(reply);
            if (n < 1 || n > kArticles)
                return QByteArray();
            ++read;
            names[size_t(n)] = reply.mid(5, 33);
            return n < kArticles ? readRequest(n + 1) : QByteArray();
        },
        readCpu);
    std::printf("bare client (%s) over loopback TCP to %s\n", blocking ? "blocking" : "event-driven",
                qPrintable(address));
    std::printf("write 60000 %7.3f s  %6.1f us/article  CPU %5.1f us/article  (%d replies)\n", writeSeconds,
                writeSeconds * 1e6 / kArticles, writeCpu * 1e6 / kArticles, written);
    std::printf("read 60000  %7.3f s  %6.1f us/article  CPU %5.1f us/article  (%d articles)\n", readSeconds,
                readSeconds * 1e6 / kArticles, readCpu * 1e6 / kArticles, read);
    s.abort();
    bench::stopDevice(device);
    return written == kArticles && read == kArticles ? 0 : 1;
}
