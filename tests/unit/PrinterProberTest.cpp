// Looking for the printer on serial ports: a simulated printer on a pseudo-terminal among ports
// where nobody answers, one where another device answers garbage, and one that does not exist.
#include "PrinterProber.h"
#include "DeviceErrors.h"
#include "SimSerialServer.h"
#include "SimulatedDevice.h"
#include "TestPty.h"
#include "ToolText.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSignalSpy>
#include <QSocketNotifier>
#include <QTimer>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {
// A pseudo-terminal whose other end answers every request with bytes that are no reply.
struct GarbagePty : TestPty {
    GarbagePty()
    {
        notifier = std::make_unique<QSocketNotifier>(master, QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, [this] {
            char buf[256];
            bool got = false;
            while (::read(master, buf, sizeof buf) > 0)
                got = true;
            if (!got) {
                // Nobody has the line open: look again a little later rather than spin.
                notifier->setEnabled(false);
                QTimer::singleShot(20, notifier.get(), [this] { notifier->setEnabled(true); });
                return;
            }
            ++received;
            write("\x01\x02OK\r\n");
        });
    }
    std::unique_ptr<QSocketNotifier> notifier;
    int received = 0;
};

// How many descriptors of this process are open on `path`.
int openDescriptors(const QString &path)
{
    int n = 0;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString &fd : fds.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System))
        n += QFileInfo(fds.filePath(fd)).symLinkTarget() == path;
    return n;
}

QList<ProbeResult> probe(const QStringList &ports, int timeoutMs = 200)
{
    PrinterProber prober;
    prober.setTimeout(timeoutMs);
    QSignalSpy finished(&prober, &PrinterProber::finished);
    prober.start(ports);
    QElapsedTimer t;
    t.start();
    while (finished.isEmpty() && t.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_EQ(finished.size(), 1);
    return prober.results();
}
} // namespace

TEST(PrinterProber, FindsTheSimulatedPrinterAmongSilentGarbageAndMissingPorts)
{
    SimulatedDevice device;
    SimSerialServer printer(device);
    ASSERT_TRUE(printer.openPty()) << printer.errorString().toStdString();
    TestPty silent;
    TestPty silent2;
    GarbagePty garbage;
    const QString missing = QStringLiteral("/dev/no-such-port-here");
    const QStringList ports = {silent.slave, garbage.slave, printer.slavePath(), missing, silent2.slave};

    const QList<ProbeResult> results = probe(ports);
    ASSERT_EQ(results.size(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(results[i].port, ports[i]);

    using O = ProbeResult::Outcome;
    EXPECT_EQ(results[0].outcome, O::Silent);
    EXPECT_EQ(results[0].summary(), ToolText::probeSilent(200));
    EXPECT_EQ(results[1].outcome, O::Garbage);
    EXPECT_EQ(results[1].discardedBytes, 6);
    EXPECT_EQ(results[1].summary(), ToolText::probeGarbage(6));
    EXPECT_EQ(results[3].outcome, O::NotOpened);
    EXPECT_EQ(results[3].error, ToolText::SerialPortMissing(missing));
    EXPECT_EQ(results[4].outcome, O::Silent);

    const ProbeResult &found = results[2];
    ASSERT_EQ(found.outcome, O::Found);
    EXPECT_EQ(found.reply.left(2).toHex(), "5f20");
    EXPECT_EQ(found.serviceMode, ProbeResult::ServiceMode::On);
    EXPECT_FALSE(found.serialNumber.isEmpty());
    EXPECT_TRUE(found.summary().startsWith(ToolText::probeFound() + ", " + ToolText::probeInServiceMode()))
        << found.summary().toStdString();
    EXPECT_TRUE(found.summary().contains(found.serialNumber));
    int foundCount = 0;
    for (const ProbeResult &r : results)
        foundCount += r.found();
    EXPECT_EQ(foundCount, 1);
}

TEST(PrinterProber, SendsOneHarmlessReadAndLeavesEveryPortClosedAsItFoundIt)
{
    TestPty silent;
    GarbagePty garbage;
    SimulatedDevice device;
    SimSerialServer printer(device);
    ASSERT_TRUE(printer.openPty());
    // The test holds the silent line open at 9600 baud, as another program might have left it.
    const int hold = ::open(silent.slave.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    ASSERT_GE(hold, 0);
    termios before{};
    ASSERT_EQ(::tcgetattr(hold, &before), 0);
    ::cfsetispeed(&before, B9600);
    ::cfsetospeed(&before, B9600);
    ASSERT_EQ(::tcsetattr(hold, TCSANOW, &before), 0);
    ASSERT_EQ(::tcgetattr(hold, &before), 0);
    const QStringList ports = {silent.slave, garbage.slave, printer.slavePath()};
    QList<int> open;
    for (const QString &p : ports)
        open << openDescriptors(p);

    const QList<ProbeResult> results = probe(ports);
    ASSERT_EQ(results.size(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(openDescriptors(ports[i]), open[i]) << ports[i].toStdString() << " left open";

    // Exactly the four bytes of the fiscal-data read went out, nothing else.
    EXPECT_EQ(silent.read(100, 300).toHex(' '), "5f 20 00 0d");
    EXPECT_EQ(garbage.received, 1);
    EXPECT_EQ(device.requestCount(), 1u);

    termios after{};
    ASSERT_EQ(::tcgetattr(hold, &after), 0);
    EXPECT_EQ(::cfgetospeed(&after), ::cfgetospeed(&before));
    EXPECT_EQ(after.c_cflag, before.c_cflag);
    EXPECT_EQ(after.c_lflag, before.c_lflag);
    EXPECT_EQ(after.c_iflag, before.c_iflag);
    ::close(hold);
}

TEST(PrinterProber, APrinterOutsideServiceModeCountsWithItsRefusalAndModel)
{
    SimulatedDevice device;
    device.setServiceMode(false);
    SimSerialServer printer(device);
    ASSERT_TRUE(printer.openPty());
    const QList<ProbeResult> results = probe({printer.slavePath()});
    ASSERT_EQ(results.size(), 1);
    const ProbeResult &r = results[0];
    ASSERT_TRUE(r.found());
    EXPECT_EQ(r.serviceMode, ProbeResult::ServiceMode::Off);
    EXPECT_EQ(r.model, "04 01");
    EXPECT_TRUE(r.ourModel);
    EXPECT_EQ(r.refusal, DeviceErrorCodeText(17));
    EXPECT_EQ(r.summary(), ToolText::probeFound() + ", " + ToolText::probeNotInServiceMode() + ", " +
                               ToolText::probeRefused(DeviceErrorCodeText(17)) + ", " + ToolText::probeModel("04 01"));
}

TEST(PrinterProber, FindsNothingWhereNoPrinterIsAndCanBeStopped)
{
    TestPty silent;
    GarbagePty garbage;
    const QList<ProbeResult> results = probe({silent.slave, garbage.slave});
    ASSERT_EQ(results.size(), 2);
    EXPECT_FALSE(results[0].found());
    EXPECT_FALSE(results[1].found());

    // Stopped while waiting on the first port: it is closed and the rest is not probed.
    TestPty a, b;
    PrinterProber prober;
    prober.setTimeout(5000);
    QSignalSpy finished(&prober, &PrinterProber::finished);
    prober.start({a.slave, b.slave});
    QElapsedTimer t;
    t.start();
    while (a.read(4, 50).isEmpty() && t.elapsed() < 3000) {
    }
    const int held = openDescriptors(a.slave);
    EXPECT_EQ(held, 1);
    prober.abort();
    EXPECT_EQ(openDescriptors(a.slave), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(finished.size(), 1);
    EXPECT_FALSE(prober.running());
    EXPECT_EQ(b.read(4, 200), QByteArray());
}
