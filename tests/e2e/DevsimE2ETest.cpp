// The main window against the quorvel-devsim program: over real loopback TCP and over a real
// pseudo-terminal, with its fault options, its saved state, and the tool's own --demo and --version.
#include "DeviceLink.h"
#include "LongFrame.h"
#include "SerialTransport.h"
#include "TDialog.h"
#include "TcpTransport.h"
#include "TestPty.h"
#include "TfMain.h"
#include "ToolText.h"
#include "TransportControls.h"
#include "UiText.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {
bool waitFor(const std::function<bool()> &done, int timeoutMs = 8000)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QTest::qWait(5);
    }
    return true;
}

// One quorvel-devsim process; its first output line says where it serves.
class Devsim {
public:
    explicit Devsim(const QStringList &args)
    {
        proc.setProgram(QStringLiteral(QUORVEL_DEVSIM_PATH));
        proc.setArguments(args + QStringList{"--trace"});
        proc.start();
        started = proc.waitForStarted(5000) && waitFor([this] { return readLines(), !lines.isEmpty(); });
    }
    ~Devsim()
    {
        if (proc.state() != QProcess::NotRunning) {
            proc.terminate();
            if (!proc.waitForFinished(5000))
                proc.kill();
        }
    }
    void readLines()
    {
        buffer += proc.readAllStandardOutput();
        qsizetype nl;
        while ((nl = buffer.indexOf('\n')) >= 0) {
            lines << QString::fromUtf8(buffer.left(nl));
            buffer.remove(0, nl + 1);
        }
    }
    // "listening 127.0.0.35:41234" -> "127.0.0.35:41234"; a pty path as it is.
    QString where() const { return lines.isEmpty() ? QString() : lines.first().section(' ', -1); }
    bool traced(const QString &line)
    {
        return waitFor([&] {
            readLines();
            return lines.contains(line);
        });
    }
    bool stop()
    {
        proc.terminate();
        return proc.waitForFinished(5000) && proc.exitStatus() == QProcess::NormalExit && proc.exitCode() == 0;
    }

    QProcess proc;
    QStringList lines;
    QByteArray buffer;
    bool started = false;
};

class AgainstDevsim : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFile::exists(QStringLiteral(QUORVEL_DEVSIM_PATH))) << QUORVEL_DEVSIM_PATH;
        w = std::make_unique<TfMain>();
        w->FormActivate();
        w->dialog().setResponder([this](TDialog &d) {
            messages.append(d.Naslov->text() + "|" + d.tekst->toPlainText());
            return 1;
        });
        tc = w->findChild<TransportControls *>();
        ASSERT_NE(tc, nullptr);
        tc->setConnectErrorBox([this](QWidget *, const QString &text) { messages.append("box|" + text); });
        QObject::connect(&w->link(), &DeviceLink::replyDispatched, [this](uint8_t c) { replies.append(c); });
    }
    QPushButton *button(const char *name) { return w->findChild<QPushButton *>(name); }
    void connectTcp(const QString &address)
    {
        w->findChild<QLineEdit *>("edtIP")->setText(address);
        button("btnCOM")->click();
    }
    void openSerial(const QString &path)
    {
        auto *port = w->findChild<QComboBox *>("CB_ComPort");
        port->setEditText(path);
        emit port->activated(port->currentIndex());
        button("btnCom1")->click();
    }
    bool waitReplies(int n)
    {
        return waitFor([&] { return replies.size() >= n; });
    }
    bool waitMessages(int n)
    {
        return waitFor([&] { return messages.size() >= n; });
    }
    QString err(const QString &text) { return UiText(Txt::TitleError) + "|" + text; }

    std::unique_ptr<TfMain> w;
    TransportControls *tc = nullptr;
    QStringList messages;
    QList<int> replies;
};
} // namespace

TEST_F(AgainstDevsim, TcpRefusalLoginAndDisconnectThatWaitsForLeavingServiceMode)
{
    Devsim sim({"--listen", "127.0.0.35:0", "--not-in-service"});
    ASSERT_TRUE(sim.started) << sim.proc.readAllStandardError().toStdString();
    connectTcp(sim.where());
    ASSERT_TRUE(tc->tcp().isOpen()) << messages.join("\n").toStdString();
    EXPECT_EQ(button("btnCOM")->text(), "Затвори порт");

    // The device is outside service mode: a read is refused with error code 17.
    ASSERT_TRUE(w->link().SendAwaitingReply(0x30, 4));
    ASSERT_TRUE(waitMessages(1));
    EXPECT_EQ(messages[0].toStdString(), err("Сервисни џампер није стављен").toStdString());

    // The login enters service mode.
    w->link().setServiceMode(false);
    w->findChild<QPushButton *>("BtnPrijava")->click();
    ASSERT_TRUE(waitFor([&] { return w->link().serviceMode(); }));
    EXPECT_EQ(w->statusText(), UiText(Txt::InServiceMode));
    EXPECT_TRUE(sim.traced("request aa 04 01 00 00 00 01 01 01 01 b3 af 0d -> 5f 00 02 04 01 0d"));

    // Disconnect in service mode: 0x10 goes out and the connection closes when it is answered.
    button("btnCOM")->click();
    EXPECT_TRUE(sim.traced("request 5f 10 00 0d -> 5f 10 02 04 01 0d"));
    ASSERT_TRUE(waitFor([&] { return !tc->tcp().isOpen(); }));
    EXPECT_EQ(button("btnCOM")->text(), "Отвори порт");
    EXPECT_FALSE(w->link().serviceMode());
    EXPECT_EQ(w->statusText(), UiText(Txt::NotInServiceMode));
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(AgainstDevsim, DeviceErrorsAreShown)
{
    Devsim sim({"--listen", "127.0.0.36:0", "--not-zeroed", "--error", "14"});
    ASSERT_TRUE(sim.started);
    connectTcp(sim.where());
    ASSERT_TRUE(tc->tcp().isOpen());
    w->PrijavaOperatera();
    ASSERT_TRUE(waitMessages(1));
    EXPECT_EQ(messages[0].toStdString(), err("Каса није нулирана. Направите дневни извештај").toStdString());
    ASSERT_TRUE(w->link().SendAwaitingReply(0x70, 4));
    ASSERT_TRUE(waitMessages(2));
    EXPECT_EQ(messages[1].toStdString(), err("Фискализација је већ урађена").toStdString());
    // A long request the device does not know is answered by a long reply with result 0 and the
    // status bit "wrong command".
    ASSERT_TRUE(w->link().WriteBytes(BuildLongFrame(w->factoryNumber(), 0x33)));
    ASSERT_TRUE(waitMessages(3));
    EXPECT_EQ(messages[2].toStdString(), err("Грешка! / Pogresna komanda(8)").toStdString());
}

TEST_F(AgainstDevsim, GarbageBeforeRepliesIsDroppedOverTcpAndSilenceGivesTheNoAnswerMessage)
{
    Devsim sim({"--listen", "127.0.0.37:0", "--garbage-every", "1", "--silent-after", "2"});
    ASSERT_TRUE(sim.started);
    connectTcp(sim.where());
    ASSERT_TRUE(tc->tcp().isOpen());
    w->link().replyTimer().setInterval(300);
    w->link().setServiceMode(false);
    w->PrijavaOperatera();
    ASSERT_TRUE(waitReplies(1));
    EXPECT_EQ(replies[0], 0x00);
    ASSERT_TRUE(w->link().SendAwaitingReply(0x10, 4));
    ASSERT_TRUE(waitReplies(2));
    EXPECT_EQ(replies[1], 0x10);
    EXPECT_TRUE(messages.isEmpty());
    // The third request is not answered.
    ASSERT_TRUE(w->link().SendAwaitingReply(0x10, 4));
    ASSERT_TRUE(waitMessages(1));
    EXPECT_EQ(messages[0].toStdString(),
              err(UiText(Txt::NoAnswer) + "\n" +
                  ToolText::noAnswerDetail("5f 10 00 0d", "leave service mode", w->link().transport()->where()))
                  .toStdString());
    EXPECT_EQ(replies.size(), 2);

    // The trace shows what really went out: each of the two replies behind bytes that are no
    // frame's start, then nothing.
    ASSERT_TRUE(waitFor([&] {
        sim.readLines();
        return sim.lines.filter("request ").size() >= 3;
    }));
    const QStringList traced = sim.lines.filter("request ");
    const QStringList ends = {"5f 00 02 04 01 0d", "5f 10 02 04 01 0d"};
    for (int i = 0; i < 2; ++i) {
        const QString sent = traced[i].section(" -> ", 1);
        ASSERT_TRUE(sent.endsWith(ends[i])) << traced[i].toStdString();
        const QStringList lead = sent.left(sent.size() - ends[i].size()).split(' ', Qt::SkipEmptyParts);
        EXPECT_GE(lead.size(), 1) << traced[i].toStdString();
        EXPECT_LE(lead.size(), 8) << traced[i].toStdString();
        EXPECT_FALSE(lead.contains("5f") || lead.contains("aa")) << traced[i].toStdString();
    }
    EXPECT_TRUE(traced[2].endsWith("-> (no reply)")) << traced[2].toStdString();
}

TEST_F(AgainstDevsim, PseudoTerminalAtLineSpeedLoginAndExitSendsLeaveServiceMode)
{
    Devsim sim({"--pty", "--baud", "57600"});
    ASSERT_TRUE(sim.started);
    ASSERT_TRUE(sim.where().startsWith("/dev/")) << sim.where().toStdString();
    openSerial(sim.where());
    ASSERT_TRUE(tc->serial().isOpen()) << messages.join("\n").toStdString();
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(button("btnCom1")->text(), "Затвори порт");

    w->link().setServiceMode(false);
    w->PrijavaOperatera();
    ASSERT_TRUE(waitFor([&] { return w->link().serviceMode(); }));
    EXPECT_EQ(replies, QList<int>{0x00});

    // An unknown command comes back as an error reply over the line as well.
    ASSERT_TRUE(w->link().SendAwaitingReply(0x3F, 4));
    ASSERT_TRUE(waitMessages(1));
    EXPECT_EQ(messages[0].toStdString(), err("Погрешан параметар").toStdString());

    w->show();
    button("btnClose")->click();
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(sim.traced("request 5f 10 00 0d -> 5f 10 02 04 01 0d"));
}

TEST_F(AgainstDevsim, StateIsSavedWhenTheSimulatorIsStopped)
{
    QTemporaryDir dir;
    const QString state = dir.filePath("device.json");
    {
        Devsim sim({"--listen", "127.0.0.38:0", "--state", state});
        ASSERT_TRUE(sim.started);
        connectTcp(sim.where());
        ASSERT_TRUE(w->link().SendAwaitingReply(0x10, 4));
        ASSERT_TRUE(waitReplies(1));
        EXPECT_TRUE(sim.stop());
    }
    QFile f(state);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QJsonObject o = QJsonDocument::fromJson(f.readAll()).object();
    EXPECT_EQ(o.value("serviceMode").toBool(true), false);

    // Started again on that file, the device is still outside service mode.
    ASSERT_TRUE(waitFor([&] { return !tc->tcp().isOpen(); }));
    ASSERT_TRUE(waitMessages(1)); // the tool says at once that the connection went away
    EXPECT_EQ(messages.last().toStdString(), err("Веза са фискалним принтером је прекинута.\n" +
                                                 ToolText::connectionLostDetail(w->link().transport()->where()))
                                                 .toStdString());
    messages.clear();
    Devsim again({"--listen", "127.0.0.38:0", "--state", state});
    ASSERT_TRUE(again.started);
    connectTcp(again.where()); // the connection was lost: the button connects again
    ASSERT_TRUE(tc->tcp().isOpen());
    ASSERT_TRUE(w->link().SendAwaitingReply(0x30, 4));
    ASSERT_TRUE(waitMessages(1));
    EXPECT_EQ(messages.last().toStdString(), err("Сервисни џампер није стављен").toStdString());
}

TEST(DevsimSerial, ServesOnANamedSerialDevice)
{
    // The test plays the tool on the master side of a pseudo-terminal; the simulator opens the
    // slave as a serial port.
    TestPty pty;
    ASSERT_GE(pty.master, 0);
    ASSERT_FALSE(pty.slave.isEmpty());
    Devsim sim({"--serial", pty.slave});
    ASSERT_TRUE(sim.started) << sim.proc.readAllStandardError().toStdString();
    EXPECT_EQ(sim.lines.first(), "serial " + pty.slave);
    pty.write(QByteArray::fromHex("5f10000d"));
    EXPECT_EQ(pty.read(6).toHex(' '), "5f 10 02 04 01 0d");
    EXPECT_TRUE(sim.traced("request 5f 10 00 0d -> 5f 10 02 04 01 0d"));
    sim.stop();
}

TEST(ToolCommandLine, VersionAndDemo)
{
    QProcess version;
    version.start(QStringLiteral(QUORVEL_APP_PATH), {"--version"});
    ASSERT_TRUE(version.waitForFinished(10000));
    EXPECT_EQ(version.exitCode(), 0);
    EXPECT_TRUE(version.readAllStandardOutput().trimmed().startsWith("quorvel "));

    // --demo starts a simulated printer inside the tool; it answers on the port it announces.
    QProcess demo;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    demo.setProcessEnvironment(env);
    demo.start(QStringLiteral(QUORVEL_APP_PATH), {"--demo"});
    ASSERT_TRUE(demo.waitForStarted(5000));
    QByteArray err;
    ASSERT_TRUE(waitFor([&] {
        err += demo.readAllStandardError();
        return err.contains("listening on 127.0.0.1:") && err.indexOf('\n', err.indexOf("listening on")) > 0;
    }));
    const qsizetype at = err.indexOf("listening on ") + 13;
    const QString address = QString::fromUtf8(err.mid(at, err.indexOf('\n', at) - at)).trimmed();
    TcpTransport tcp;
    ASSERT_TRUE(tcp.connectTo(address)) << address.toStdString();
    QByteArray got;
    QObject::connect(&tcp, &Transport::received, [&](const QByteArray &b) { got += b; });
    ASSERT_TRUE(tcp.write(QByteArray::fromHex("5f10000d")));
    ASSERT_TRUE(waitFor([&] { return got.size() >= 6; }));
    EXPECT_EQ(got.toHex(' '), "5f 10 02 04 01 0d");
    demo.terminate();
    if (!demo.waitForFinished(5000))
        demo.kill();
}
