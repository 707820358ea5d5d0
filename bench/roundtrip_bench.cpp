// One request/reply round trip through the whole link over loopback TCP: SendFrame, the TCP
// transport, a simulated device (in this process, or a quorvel-devsim given as host:port),
// the reply's bytes back through the recogniser to its handler.
#include "DeviceLink.h"
#include "NullView.h"
#include "SimServer.h"
#include "SimulatedDevice.h"
#include "TcpTransport.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int rounds = 5000;
    SimulatedDevice device;
    SimServer server(device);
    QString address = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (address.isEmpty()) {
        if (!server.listen(QHostAddress(QHostAddress::LocalHost), 0)) {
            std::fprintf(stderr, "cannot listen\n");
            return 1;
        }
        address = server.address();
    }
    NullView view;
    DeviceLink link(view);
    TcpTransport tcp;
    if (!tcp.connectTo(address)) {
        std::fprintf(stderr, "cannot connect to %s: %s\n", qPrintable(address), qPrintable(tcp.connectError()));
        return 1;
    }
    link.setTransport(&tcp);

    // Leave-service-mode request 0x10 and its reply 0x10 (4 + 6 bytes), one at a time.
    std::vector<qint64> ns;
    ns.reserve(rounds);
    bool answered = false;
    QObject::connect(&link, &DeviceLink::replyDispatched, [&](uint8_t code) { answered = code == 0x10; });
    QElapsedTimer total;
    total.start();
    for (int i = 0; i < rounds; ++i) {
        answered = false;
        QElapsedTimer t;
        t.start();
        link.SendAwaitingReply(0x10, 4);
        while (!answered) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            if (t.elapsed() > 5000) {
                std::fprintf(stderr, "no reply in round %d\n", i);
                return 1;
            }
        }
        ns.push_back(t.nsecsElapsed());
    }
    const double totalS = double(total.nsecsElapsed()) / 1e9;
    std::sort(ns.begin(), ns.end());
    auto us = [](qint64 v) { return double(v) / 1000.0; };
    std::printf("round trip over loopback TCP (%s): %d rounds in %.3f s, median %.1f us, p99 %.1f us, "
                "max %.1f us, %.0f round trips/s\n",
                qPrintable(address), rounds, totalS, us(ns[ns.size() / 2]), us(ns[ns.size() * 99 / 100]), us(ns.back()),
                rounds / totalS);
    return 0;
}
