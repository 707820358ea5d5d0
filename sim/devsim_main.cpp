// quorvel-devsim: a simulated fiscal printer served over TCP, a pseudo-terminal or a serial port.
#include "FaultInjector.h"
#include "SimArticles.h"
#include "SimSerialServer.h"
#include "SimServer.h"
#include "SimulatedDevice.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &c, 1);
}

void fail(const QString &message)
{
    std::fprintf(stderr, "quorvel-devsim: %s\n", qPrintable(message));
    std::exit(2);
}

int intOption(const QCommandLineParser &p, const QString &name, int fallback, int minimum)
{
    if (!p.isSet(name))
        return fallback;
    bool ok = false;
    const int v = p.value(name).toInt(&ok);
    if (!ok || v < minimum)
        fail(QStringLiteral("--%1 needs a whole number of at least %2").arg(name).arg(minimum));
    return v;
}

QString hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quorvel-devsim"));

    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral(
        "Simulated fiscal printer. Serves TCP on --listen (default 127.0.0.1:1024) unless --pty or --serial is "
        "given without --listen."));
    p.addHelpOption();
    p.addOptions({
        {"listen", "Serve TCP on ADDR:PORT (port 0 picks a free one; the bound address is printed).", "ADDR:PORT"},
        {"pty", "Create a pseudo-terminal pair, print the slave path on stdout and serve on it."},
        {"serial", "Serve on a serial port.", "DEVICE"},
        {"baud", "Pace both directions at this line speed (10 bits per byte).", "N"},
        {"state", "Load the device's data from FILE at start (if present) and save it there.", "FILE"},
        {"not-in-service", "Start outside service mode."},
        {"not-zeroed", "Start with the register not zeroed (login answers 0xFD)."},
        {"drop-reply-every", "Do not send every Nth reply.", "N"},
        {"garbage-every", "Send garbage bytes before every Nth reply.", "N"},
        {"silent-after", "Send no reply after the first N requests.", "N"},
        {"exit-after", "Go away after the first N requests: save the state and end, closing the line.", "N"},
        {"error", "Refuse every data command with this error code.", "CODE"},
        {"article-step", "The device skips numbers: each article reply asks for N articles further on.", "N"},
        {"trace", "Print every request and the bytes sent back on stdout."},
    });
    p.process(app);

    SimulatedDevice device;
    const QString statePath = p.value("state");
    if (!statePath.isEmpty() && QFile::exists(statePath)) {
        QString error;
        if (!device.loadFromFile(statePath, &error))
            fail(QStringLiteral("cannot load %1: %2").arg(statePath, error));
    }
    if (p.isSet("not-in-service"))
        device.setServiceMode(false);
    if (p.isSet("not-zeroed"))
        device.setZeroed(false);
    if (p.isSet("error"))
        device.setForcedError(intOption(p, "error", 0, 0));
    if (p.isSet("article-step"))
        device.module<SimArticles>()->setArticleStep(intOption(p, "article-step", 1, 1));

    device.module<SimArticles>()->storeSlots();

    FaultInjector faults;
    faults.setDropReplyEvery(intOption(p, "drop-reply-every", 0, 0));
    faults.setGarbageEvery(intOption(p, "garbage-every", 0, 0));
    faults.setSilentAfter(intOption(p, "silent-after", -1, 0));
    const int baud = intOption(p, "baud", 0, 1);
    const bool trace = p.isSet("trace");
    auto traceLine = [trace](const QByteArray &request, const QByteArray &sent) {
        if (!trace)
            return;
        std::printf("request %s -> %s\n", qPrintable(hex(request)),
                    sent.isEmpty() ? "(no reply)" : qPrintable(hex(sent)));
        std::fflush(stdout);
    };

    SimSerialServer serial(device, &faults);
    serial.setBaud(baud);
    QObject::connect(&serial, &SimSerialServer::requestAnswered, traceLine);
    if (p.isSet("pty") && p.isSet("serial"))
        fail(QStringLiteral("--pty and --serial exclude each other"));
    if (p.isSet("pty")) {
        if (!serial.openPty())
            fail(QStringLiteral("cannot create a pseudo-terminal: %1").arg(serial.errorString()));
        std::printf("%s\n", qPrintable(serial.slavePath()));
        std::fflush(stdout);
    } else if (p.isSet("serial")) {
        if (!serial.openSerial(p.value("serial")))
            fail(serial.errorString());
        std::printf("serial %s\n", qPrintable(serial.slavePath()));
        std::fflush(stdout);
    }

    SimServer server(device);
    server.setBaud(baud);
    server.setFaults(&faults);
    QObject::connect(&server, &SimServer::requestAnswered, traceLine);
    if (p.isSet("listen") || !(p.isSet("pty") || p.isSet("serial"))) {
        const QString listen = p.isSet("listen") ? p.value("listen") : QStringLiteral("127.0.0.1:1024");
        const qsizetype colon = listen.lastIndexOf(QLatin1Char(':'));
        bool ok = colon > 0;
        const uint port = ok ? listen.mid(colon + 1).toUInt(&ok) : 0;
        const QHostAddress address(colon > 0 ? listen.left(colon) : QString());
        if (!ok || port > 65535 || address.isNull())
            fail(QStringLiteral("--listen needs ADDR:PORT, for instance 127.0.0.1:1024"));
        if (!server.listen(address, quint16(port)))
            fail(QStringLiteral("cannot listen on %1: %2").arg(listen, server.server().errorString()));
        std::printf("listening %s\n", qPrintable(server.address()));
        std::fflush(stdout);
    }

    // The state is saved once the device has been quiet for a moment after a request, and at exit;
    // saving 60000 articles after every single request would slow a transfer down.
    quint64 savedAt = device.requestCount();
    auto save = [&] {
        if (statePath.isEmpty() || device.requestCount() == savedAt)
            return;
        QString error;
        if (!device.saveToFile(statePath, &error))
            std::fprintf(stderr, "quorvel-devsim: cannot save %s: %s\n", qPrintable(statePath), qPrintable(error));
        savedAt = device.requestCount();
    };
    QTimer saveTimer;
    saveTimer.setSingleShot(true);
    saveTimer.setInterval(1000);
    QObject::connect(&saveTimer, &QTimer::timeout, save);
    // A printer switched off in the middle of a transfer, at a request a test can name.
    const int exitAfter = intOption(p, "exit-after", 0, 1);
    auto requestSeen = [&](const QByteArray &, const QByteArray &) {
        saveTimer.start();
        if (exitAfter > 0 && device.requestCount() >= quint64(exitAfter))
            QCoreApplication::quit();
    };
    QObject::connect(&serial, &SimSerialServer::requestAnswered, requestSeen);
    QObject::connect(&server, &SimServer::requestAnswered, requestSeen);

    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        fail(QStringLiteral("cannot set up signal handling"));
    QSocketNotifier signalNotifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, [&] {
        char c;
        [[maybe_unused]] const ssize_t n = ::read(signalPipe[0], &c, 1);
        QCoreApplication::quit();
    });
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);

    const int rc = app.exec();
    save();
    return rc;
}
