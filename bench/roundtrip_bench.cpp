// One request/reply round trip through the whole link over loopback TCP: SendFrame, the TCP
// transport, the simulated printer in a separate process (quorvel-devsim with --devsim PATH,
// otherwise this program started again with --serve), the reply's bytes back through the
// recogniser to its handler. --in-process puts the printer into this process instead, which
// shares the event loop and is shown as such.
//   roundtrip_bench [--devsim PATH] [--host 127.0.0.66] [--port 41066] [--in-process]
#include "BenchSupport.h"
#include "DeviceLink.h"
#include "NullView.h"
#include "SimServer.h"
#include "SimulatedDevice.h"
#include "TcpTransport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char *argv[])
{
    if (argc >= 3 && QByteArray(argv[1]) == "--serve") {
        QCoreApplication app(argc, argv);
        return bench::serve(QString::fromLatin1(argv[2]));
    }
    QCoreApplication app(argc, argv);
    const bench::DeviceOptions opt = bench::deviceOptions(app.arguments(), QStringLiteral("127.0.0.66"), 41066);
    const bool inProcess = opt.rest.contains("--in-process");
    const int rounds = 5000;
    SimulatedDevice device;
    SimServer server(device);
    QProcess process;
    QString address;
    if (inProcess) {
        if (!server.listen(QHostAddress(opt.host), 0)) {
            std::fprintf(stderr, "cannot listen\n");
            return 1;
        }
        address = server.address();
    } else {
        address = bench::startDevice(process, opt.devsim, opt.host, opt.port);
        if (address.isEmpty()) {
            std::fprintf(stderr, "the simulated printer did not start\n");
            return 1;
        }
    }
    const char *where = inProcess ? "printer in this process" : "printer in its own process";
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
                bench::stopDevice(process);
                return 1;
            }
        }
        ns.push_back(t.nsecsElapsed());
    }
    const double totalS = double(total.nsecsElapsed()) / 1e9;
    std::sort(ns.begin(), ns.end());
    auto us = [](qint64 v) { return double(v) / 1000.0; };
    std::printf("round trip over loopback TCP (%s, %s): %d rounds in %.3f s, median %.1f us, p99 %.1f us, "
                "max %.1f us, %.0f round trips/s\n",
                where, qPrintable(address), rounds, totalS, us(ns[ns.size() / 2]), us(ns[ns.size() * 99 / 100]),
                us(ns.back()), rounds / totalS);
    tcp.close();
    bench::stopDevice(process);
    return 0;
}
