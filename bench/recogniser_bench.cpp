// Throughput of the reply recogniser alone: bytes per second through HandleReceived with no
// reply handlers, fed one byte at a time (as over TCP) and in chunks (as over a serial port).
#include "DeviceLink.h"
#include "NullView.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace {
QByteArray replyStream(int replies, bool strays)
{
    // Replies of 36 bytes (32 data bytes) whose code has no handler, with a stray byte now and then.
    QByteArray one;
    one.append(char(0x5F)).append(char(0x30)).append(char(32));
    for (int i = 0; i < 32; ++i)
        one.append(char(0x41 + i % 26));
    one.append(char(0x0D));
    QByteArray s;
    s.reserve(replies * (one.size() + 1));
    for (int i = 0; i < replies; ++i) {
        s.append(one);
        if (strays && i % 10 == 9)
            s.append(char(0x13));
    }
    return s;
}

void run(const char *label, const QByteArray &stream, bool eachByte, int chunk)
{
    NullView view;
    DeviceLink link(view);
    int dispatched = 0;
    QObject::connect(&link, &DeviceLink::replyDispatched, [&](uint8_t) { ++dispatched; });
    QElapsedTimer t;
    t.start();
    for (qsizetype at = 0; at < stream.size(); at += chunk)
        link.receiveBytes(stream.mid(at, chunk), eachByte);
    const double s = double(t.nsecsElapsed()) / 1e9;
    std::printf("%-28s %10lld bytes  %8.3f s  %8.1f MB/s  %10.0f bytes/s  (%d replies)\n", label,
                static_cast<long long>(stream.size()), s, double(stream.size()) / s / 1e6, double(stream.size()) / s,
                dispatched);
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // About 18 MB of replies; the byte-by-byte run has a stray byte after every tenth reply.
    run("recogniser, byte by byte", replyStream(500000, true), true, 4096);
    run("recogniser, one chunk per reply", replyStream(500000, false), false, 36);
    return 0;
}
