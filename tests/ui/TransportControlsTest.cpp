// The transport controls of the top band: opening and closing the serial port (on a real
// pseudo-terminal) and the TCP connection (on loopback), with their enabling rules and captions.
#include "TransportControls.h"
#include "DeviceLink.h"
#include "FaultInjector.h"
#include "SerialTransport.h"
#include "SimHarness.h"
#include "SimServer.h"
#include "SimulatedDevice.h"
#include "TDialog.h"
#include "TcpTransport.h"
#include "TestPty.h"
#include "TfMain.h"
#include "ToolText.h"
#include "UiText.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSerialPortInfo>
#include <QTest>

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>
#include <ostream>

// Readable QString values in test failure messages.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {
bool waitFor(const std::function<bool()> &done)
{
    return waitUntil(done, 5000);
}

using Pty = TestPty;

const QStringList kSerialOpenEnables = {"btnReadCliche", "btnTGRead",    "btnSTRead", "btnARead",
                                        "btnLogoRead",   "btnLogoWrite", "btnORead",  "btnAWrite"};
const QStringList kSerialCloseDisables = {"btnReadCliche", "btnWriteCliche", "btnTGRead", "btnTGWrite",
                                          "btnSTRead",     "btnSTWrite",     "btnARead",  "btnAWrite",
                                          "btnLogoRead",   "btnLogoWrite",   "btnORead",  "btnOWrite"};

class Transports : public ::testing::Test {
protected:
    void SetUp() override
    {
        w = std::make_unique<TfMain>();
        w->FormActivate();
        w->dialog().setResponder([this](TDialog &d) {
            messages.append(d.Naslov->text() + "|" + d.tekst->toPlainText());
            return 1;
        });
        tc = w->findChild<TransportControls *>();
        ASSERT_NE(tc, nullptr);
        tc->setConnectErrorBox([this](QWidget *, const QString &text) { errorBoxes.append(text); });
        for (const QString &n : kSerialCloseDisables)
            control(n);
        port = w->findChild<QComboBox *>("CB_ComPort");
        btnCom1 = w->findChild<QPushButton *>("btnCom1");
        edtIP = w->findChild<QLineEdit *>("edtIP");
        btnCOM = w->findChild<QPushButton *>("btnCOM");
        ASSERT_TRUE(port && btnCom1 && edtIP && btnCOM);
    }
    // The window's button of that name; a stand-in is made when its section has not built it.
    QWidget *control(const QString &name)
    {
        if (auto *b = w->findChild<QWidget *>(name))
            return b;
        auto *b = new QPushButton(w.get());
        b->setObjectName(name);
        return b;
    }
    bool enabled(const QString &name) { return control(name)->isEnabled(); }
    void setAll(const QStringList &names, bool on)
    {
        for (const QString &n : names)
            control(n)->setEnabled(on);
    }
    void choosePort(const QString &text)
    {
        port->setEditText(text);
        emit port->activated(port->currentIndex());
    }

    std::unique_ptr<TfMain> w;
    TransportControls *tc = nullptr;
    QComboBox *port = nullptr;
    QPushButton *btnCom1 = nullptr;
    QLineEdit *edtIP = nullptr;
    QPushButton *btnCOM = nullptr;
    QStringList messages;
    QStringList errorBoxes;
};
} // namespace

TEST(SerialPortNames, ComNamesMapToTheFirstFourPortsAndPathsStayAsTyped)
{
    EXPECT_EQ(SerialTransport::systemLocation("COM1"), "/dev/ttyS0");
    EXPECT_EQ(SerialTransport::systemLocation("COM4"), "/dev/ttyS3");
    EXPECT_EQ(SerialTransport::systemLocation("/dev/pts/7"), "/dev/pts/7");
    EXPECT_EQ(SerialTransport::systemLocation("/dev/ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(SerialTransport::systemLocation("ttyACM1"), "/dev/ttyACM1");
    EXPECT_EQ(SerialTransport::systemLocation("COM12"), "/dev/COM12");
}

TEST_F(Transports, PortListStartsWithComOneToFourAndAddsTheMachinesPortsWhenOpened)
{
    // Nothing is scanned at start-up: the system's list is read when the box's list opens.
    ASSERT_EQ(port->count(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(port->itemText(i), QString("COM%1").arg(i + 1));
    EXPECT_TRUE(port->isEditable());

    port->setCurrentIndex(2);
    QStringList expected;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        if (!QRegularExpression("^/dev/ttyS[0-3]$").match(info.systemLocation()).hasMatch() &&
            !expected.contains(info.systemLocation()))
            expected << info.systemLocation();
    for (int opening = 0; opening < 2; ++opening) {
        port->showPopup();
        port->hidePopup();
        QStringList added;
        for (int i = 4; i < port->count(); ++i)
            added << port->itemText(i);
        // COM1..COM4 are /dev/ttyS0..3, not listed twice; opening again repeats nothing.
        EXPECT_EQ(added, expected) << "opening " << opening;
        EXPECT_EQ(port->currentText(), "COM3");
    }
}

TEST_F(Transports, SerialOpenOnAPseudoTerminalAndClose)
{
    Pty pty;
    ASSERT_FALSE(pty.slave.isEmpty());
    setAll(kSerialCloseDisables, false);
    choosePort(pty.slave);
    btnCom1->click();
    ASSERT_TRUE(messages.isEmpty()) << messages.join("\n").toStdString(); // DTR/RTS refusal is no failure
    EXPECT_EQ(btnCom1->text(), "Затвори порт");
    EXPECT_TRUE(w->link().serialTransport());
    EXPECT_FALSE(edtIP->isEnabled());
    EXPECT_FALSE(btnCOM->isEnabled());
    for (const QString &n : kSerialOpenEnables)
        EXPECT_TRUE(enabled(n)) << n.toStdString();
    for (const char *n : {"btnWriteCliche", "btnTGWrite", "btnSTWrite", "btnOWrite"})
        EXPECT_FALSE(enabled(n)) << n;

    // Requests go out on the line; a reply arriving in pieces is recognised.
    ASSERT_TRUE(w->link().SendFrame(0x10, 4));
    EXPECT_EQ(pty.read(4).toHex(' '), "5f 10 00 0d");
    // The second piece is written only after the first has been read and collected, so the
    // reply really arrives in two deliveries.
    QList<QByteArray> deliveries;
    QObject::connect(&tc->serial(), &Transport::received, [&](const QByteArray &b) { deliveries.append(b); });
    pty.write(QByteArray::fromHex("5f1002"));
    ASSERT_TRUE(waitFor([&] { return w->link().rxCount() == 3; }));
    EXPECT_TRUE(w->link().serviceMode());
    EXPECT_EQ(w->link().rx(1), 0x5F);
    pty.write(QByteArray::fromHex("04010d"));
    ASSERT_TRUE(waitFor([&] { return !w->link().serviceMode(); }));
    EXPECT_GE(deliveries.size(), 2);
    EXPECT_EQ(deliveries.join().toHex(' '), "5f 10 02 04 01 0d");
    EXPECT_EQ(w->link().rxCount(), 0);

    // Another port chosen while open is ignored.
    choosePort("/dev/pts/99999");
    EXPECT_EQ(tc->serial().portName(), pty.slave);

    btnCom1->click();
    EXPECT_EQ(btnCom1->text(), "Отвори порт");
    EXPECT_FALSE(tc->serial().isOpen());
    for (const QString &n : kSerialCloseDisables)
        EXPECT_FALSE(enabled(n)) << n.toStdString();
    EXPECT_FALSE(btnCOM->isEnabled()); // stays disabled for the rest of the run
    EXPECT_FALSE(edtIP->isEnabled());

    // Chosen while closed, the port takes effect at the next open.
    choosePort("/dev/pts/99999");
    EXPECT_EQ(tc->serial().portName(), "/dev/pts/99999");
}

TEST_F(Transports, SerialOpenFailureShowsThePortError)
{
    setAll(kSerialOpenEnables, false);
    choosePort("/dev/quorvel-no-such-port");
    btnCom1->click();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(UiText(Txt::TitleError) + "|/dev/quorvel-no-such-port: "))
        << messages[0].toStdString();
    EXPECT_EQ(btnCom1->text(), "Отвори порт");
    for (const QString &n : kSerialOpenEnables)
        EXPECT_FALSE(enabled(n)) << n.toStdString();
    // A request now reports that the port is not open instead of passing silently.
    EXPECT_FALSE(w->link().SendFrame(0x30, 4));
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[1].startsWith(UiText(Txt::TitleError) + "|"));
}

TEST_F(Transports, ExitSendsLeaveServiceModeOverARealPseudoTerminal)
{
    Pty pty;
    choosePort(pty.slave);
    btnCom1->click();
    ASSERT_TRUE(tc->serial().isOpen());
    w->show();
    w->findChild<QPushButton *>("btnClose")->click();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(pty.read(4).toHex(' '), "5f 10 00 0d");
}

TEST_F(Transports, TcpConnectFailureShowsTheErrorBox)
{
    // Nothing listens on this address: the connection is refused at once.
    edtIP->setText("127.0.0.30:9");
    btnCOM->click();
    ASSERT_EQ(errorBoxes.size(), 1);
    EXPECT_TRUE(errorBoxes[0].startsWith(QString("Error while connecting:") + QChar(0x0D)));
    EXPECT_TRUE(errorBoxes[0].contains("refused", Qt::CaseInsensitive)) << errorBoxes[0].toStdString();
    EXPECT_EQ(btnCOM->text(), "Отвори порт");
    EXPECT_FALSE(w->link().serialTransport());
    EXPECT_FALSE(port->isEnabled());
    EXPECT_FALSE(btnCom1->isEnabled());
    EXPECT_TRUE(messages.isEmpty());

    edtIP->setText("127.0.0.30:99999");
    btnCOM->click();
    ASSERT_EQ(errorBoxes.size(), 2);
    EXPECT_EQ(errorBoxes[1].toStdString(), "Error while connecting:\rInvalid port number in \"127.0.0.30:99999\"");
}

TEST_F(Transports, TcpDisconnectInServiceModeWaitsForTheLeaveReplyOrItsNoAnswerNotice)
{
    SimulatedDevice device;
    FaultInjector faults;
    SimServer server(device);
    server.setFaults(&faults);
    ASSERT_TRUE(server.listen(QHostAddress("127.0.0.31"), 0));
    edtIP->setText(QString("127.0.0.31:%1").arg(server.port()));
    btnCOM->click();
    ASSERT_TRUE(errorBoxes.isEmpty()) << errorBoxes.join("\n").toStdString();
    EXPECT_EQ(btnCOM->text(), "Затвори порт");
    ASSERT_TRUE(tc->tcp().isOpen());

    // The device stays silent: the connection waits for the answer, then closes after the notice.
    faults.setSilentAfter(0);
    w->link().replyTimer().setInterval(50);
    btnCOM->click();
    EXPECT_TRUE(w->link().disconnectAfterExit());
    EXPECT_TRUE(w->link().replyPending());
    EXPECT_TRUE(tc->tcp().isOpen());
    ASSERT_TRUE(waitFor([&] { return !messages.isEmpty(); }));
    EXPECT_EQ(messages.last(), UiText(Txt::TitleError) + "|" + UiText(Txt::NoAnswer) + "\n" +
                                   ToolText::noAnswerDetail("5f 10 00 0d", "leave service mode",
                                                            QString("127.0.0.31:%1").arg(server.port())));
    EXPECT_FALSE(tc->tcp().isOpen());
    EXPECT_EQ(btnCOM->text(), "Отвори порт");
    EXPECT_FALSE(w->link().disconnectAfterExit());
    ASSERT_EQ(messages.size(), 1); // closed by the tool: no lost-connection message

    // Connected again to a device that answers: closed when 0x10 arrives.
    faults.setSilentAfter(-1);
    btnCOM->click();
    ASSERT_TRUE(tc->tcp().isOpen());
    btnCOM->click();
    ASSERT_TRUE(waitFor([&] { return !tc->tcp().isOpen(); }));
    EXPECT_EQ(btnCOM->text(), "Отвори порт");
    EXPECT_FALSE(w->link().serviceMode());
    EXPECT_FALSE(w->link().disconnectAfterExit());
    EXPECT_EQ(w->statusText(), UiText(Txt::NotInServiceMode));

    // Out of service mode the next connect/disconnect pair closes at once.
    btnCOM->click();
    ASSERT_TRUE(tc->tcp().isOpen());
    btnCOM->click();
    EXPECT_FALSE(tc->tcp().isOpen());
    EXPECT_EQ(btnCOM->text(), "Отвори порт");
    QTest::qWait(20);
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(Transports, DeviceClosingTheConnectionIsNoticedAtOnceAndTheNextClickReconnects)
{
    SimulatedDevice device;
    FaultInjector faults;
    SimServer server(device);
    server.setFaults(&faults);
    // Without a port the default 1024 is used.
    ASSERT_TRUE(server.listen(QHostAddress("127.0.0.32"), 1024));
    edtIP->setText("127.0.0.32");
    btnCOM->click();
    ASSERT_TRUE(tc->tcp().isOpen());
    ASSERT_TRUE(waitFor([&] { return server.hasClient(); }));

    // A read is waiting when the device goes away.
    faults.setSilentAfter(0);
    w->link().replyTimer().setInterval(200);
    ASSERT_TRUE(w->link().SendAwaitingReply(0x30, 4));
    server.dropClient();
    ASSERT_TRUE(waitFor([&] { return !messages.isEmpty(); }));
    EXPECT_EQ(messages[0], UiText(Txt::TitleError) + "|Веза са фискалним принтером је прекинута.\n" +
                               ToolText::connectionLostDetail("127.0.0.32:1024"));
    EXPECT_FALSE(tc->tcp().isOpen());
    EXPECT_EQ(btnCOM->text(), "Отвори порт");
    EXPECT_EQ(w->statusText(), "Веза са фискалним принтером је прекинута.");
    EXPECT_FALSE(w->link().replyPending());
    EXPECT_FALSE(w->link().replyTimer().isActive());
    QTest::qWait(300); // the reply timer does not add a no-answer notice
    EXPECT_EQ(messages.size(), 1);

    // A request now reports the lost connection.
    EXPECT_FALSE(w->link().SendAwaitingReply(0x30, 4));
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[1], UiText(Txt::TitleError) + "|Веза са фискалним принтером је прекинута.");

    btnCOM->click();
    EXPECT_TRUE(errorBoxes.isEmpty()) << errorBoxes.join("\n").toStdString();
    EXPECT_TRUE(tc->tcp().isOpen());
    EXPECT_EQ(btnCOM->text(), "Затвори порт");
}

TEST_F(Transports, SerialPortThatGoesAwayIsNoticedAndOpensAgainOnTheNextPress)
{
    auto pty = std::make_unique<Pty>();
    choosePort(pty->slave);
    btnCom1->click();
    ASSERT_TRUE(tc->serial().isOpen());
    pty->write(QByteArray::fromHex("5f10000d"));
    ASSERT_TRUE(waitFor([&] { return !w->link().serviceMode(); }));
    ASSERT_TRUE(w->link().SendAwaitingReply(0x30, 4));

    pty->closeMaster();
    ASSERT_TRUE(waitFor([&] { return !messages.isEmpty(); }));
    EXPECT_EQ(messages[0], UiText(Txt::TitleError) + "|Веза са фискалним принтером је прекинута.\n" +
                               ToolText::connectionLostDetail(pty->slave));
    EXPECT_FALSE(tc->serial().isOpen());
    EXPECT_EQ(btnCom1->text(), "Отвори порт");
    for (const QString &n : kSerialCloseDisables)
        EXPECT_FALSE(enabled(n)) << n.toStdString();
    EXPECT_FALSE(w->link().replyTimer().isActive());

    pty = std::make_unique<Pty>();
    choosePort(pty->slave);
    btnCom1->click();
    EXPECT_TRUE(tc->serial().isOpen());
    EXPECT_EQ(btnCom1->text(), "Затвори порт");
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(Transports, SerialPortHeldByAnotherProgramSaysSo)
{
    Pty pty;
    SerialTransport other;
    other.setPortName(pty.slave);
    ASSERT_TRUE(other.open()) << other.errorString().toStdString();
    choosePort(pty.slave);
    btnCom1->click();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], UiText(Txt::TitleError) + "|" + pty.slave +
                               ": порт већ користи други програм. Затворите тај програм или изаберите други порт.");
    EXPECT_EQ(btnCom1->text(), "Отвори порт");

    other.close();
    btnCom1->click();
    EXPECT_TRUE(tc->serial().isOpen());
    EXPECT_EQ(messages.size(), 1);
}

TEST(SerialPortErrors, MissingPermissionSaysWhichGroupToJoin)
{
    TestPty pty;
    ASSERT_FALSE(pty.slave.isEmpty());
    const QByteArray path = pty.slave.toLocal8Bit();
    ASSERT_EQ(::chmod(path.constData(), 0600), 0);
    struct stat st {};
    ASSERT_EQ(::stat(path.constData(), &st), 0);
    const group *g = ::getgrgid(st.st_gid);
    ASSERT_NE(g, nullptr);
    const QString groupName = QString::fromLocal8Bit(g->gr_name);
    if (::geteuid() != 0)
        ASSERT_EQ(::chmod(path.constData(), 0), 0); // the owner itself has no rights now

    // The open runs as an unprivileged user in a child process; root would be let in.
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(fds[0]);
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        SerialTransport t;
        t.setPortName(pty.slave);
        const QByteArray text = t.open() ? QByteArray("opened") : t.errorString().toUtf8();
        [[maybe_unused]] auto n = ::write(fds[1], text.constData(), size_t(text.size()));
        ::_exit(0);
    }
    ::close(fds[1]);
    QByteArray out;
    char buf[1024];
    ssize_t n;
    while ((n = ::read(fds[0], buf, sizeof buf)) > 0)
        out.append(buf, n);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(QString::fromUtf8(out), pty.slave + ": нема дозволе за приступ порту. Корисник мора бити у групи " +
                                          groupName +
                                          " која поседује порт (обично dialout); после додавања у групу "
                                          "одјавите се и поново пријавите.");
}
