// quorvel-cli detect as a process: a simulated printer (quorvel-devsim --pty) among ports where
// nobody answers and one that answers garbage; nothing found; the frame log; connection errors
// that name the address or the port.
#include "DevsimProcess.h"
#include "TestPty.h"
#include "ToolText.h"
#include "UiText.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {
struct CliResult {
    int exitCode = -1;
    QString out;
    QString err;
};

CliResult runCli(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(QUORVEL_CLI_PATH), args);
    CliResult r;
    if (!p.waitForStarted(5000) || !p.waitForFinished(60000))
        p.kill(), p.waitForFinished(2000);
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// A pseudo-terminal whose far end answers whatever it is sent with bytes that are no reply, from a
// thread of its own (the test itself waits for the process).
struct GarbageLine {
    GarbageLine()
    {
        worker = std::thread([this] {
            while (!stop) {
                pollfd p{pty.master, POLLIN, 0};
                if (::poll(&p, 1, 20) > 0 && (p.revents & POLLIN)) {
                    char buf[256];
                    if (::read(pty.master, buf, sizeof buf) > 0) {
                        ++requests;
                        pty.write("\x01garbage\r\n");
                    }
                } else if (p.revents & POLLHUP) {
                    ::usleep(20000);
                }
            }
        });
    }
    ~GarbageLine()
    {
        stop = true;
        worker.join();
    }
    TestPty pty;
    std::atomic<bool> stop{false};
    std::atomic<int> requests{0};
    std::thread worker;
};
} // namespace

TEST(CliDetect, FindsTheSimulatedPrinterOnItsPtyAmongSilentAndGarbagePorts)
{
    DevsimProcess printer({"--pty"});
    ASSERT_TRUE(printer.started);
    TestPty silent;
    TestPty silent2;
    GarbageLine garbage;
    QTemporaryDir dir;
    const QString log = dir.filePath("detect.log");
    const CliResult r = runCli({"detect", "--timeout", "200", "--log", log, silent.slave, garbage.pty.slave,
                                "serial:" + printer.where(), silent2.slave});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList out = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(out.size(), 1) << r.out.toStdString();
    EXPECT_TRUE(out[0].startsWith("serial:" + printer.where() + "\t" + ToolText::probeFound() + ", " +
                                  ToolText::probeInServiceMode()))
        << out[0].toStdString();
    EXPECT_TRUE(r.err.contains(silent.slave + ": " + ToolText::probeSilent(200))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(silent2.slave + ": " + ToolText::probeSilent(200))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(garbage.pty.slave + ": " + ToolText::probeGarbage(10))) << r.err.toStdString();
    EXPECT_EQ(garbage.requests, 1);
    EXPECT_EQ(printer.requests(), 1) << "one request, no login, nothing written";

    // The log has the probe of every port that opened, and the garbage as discarded bytes.
    QFile f(log);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    EXPECT_EQ(text.count(" -> 5f 20 00 0d  (read fiscal data)\n"), 4) << text.toStdString();
    EXPECT_EQ(text.count("  (discarded: no start byte)\n"), 1) << text.toStdString();
    EXPECT_TRUE(text.contains(" <- 5f 20 ")) << text.toStdString();
    // Each silent line got exactly the one request.
    EXPECT_EQ(silent.read(100, 200).toHex(' '), "5f 20 00 0d");
}

TEST(CliDetect, ReportsNothingForPortsWithoutAPrinter)
{
    TestPty silent;
    GarbageLine garbage;
    const CliResult r =
        runCli({"detect", "--timeout", "100", "-q", silent.slave, garbage.pty.slave, "/dev/no-such-port-here"});
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    EXPECT_TRUE(r.err.contains(ToolText::cliDetectNone(3))) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(silent.slave)) << "--quiet names no port";

    const CliResult usage = runCli({"detect", "--device", "tcp:127.0.0.209", silent.slave});
    EXPECT_EQ(usage.exitCode, 2);
    EXPECT_TRUE(runCli({"detect", "--help"}).out.contains("Usage: quorvel-cli detect"));
    EXPECT_EQ(runCli({"read", "taxpayer", "--device", "tcp:127.0.0.209", "--timeout", "100"}).exitCode, 2);
}

TEST(CliConnectionErrors, NameTheAddressThePortAndWhatToDo)
{
    // Nothing listens on port 9 of this address.
    CliResult r = runCli({"--device", "tcp:127.0.0.209:9", "read", "taxpayer"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(ToolText::tcpRefused("127.0.0.209", 9))) << r.err.toStdString();

    r = runCli({"--device", "serial:/dev/no-such-serial-port", "read", "taxpayer"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(ToolText::SerialPortMissing("/dev/no-such-serial-port"))) << r.err.toStdString();

    // A line where nobody answers: the message says what was sent where, after the fixed text.
    TestPty silent;
    r = runCli({"--device", "serial:" + silent.slave, "read", "taxpayer"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(UiText(Txt::NoAnswer) + "\n" +
                               ToolText::noAnswerDetail("5f 30 00 0d", "read taxpayer", silent.slave)))
        << r.err.toStdString();
}
