// Replies that arrive while a message or the one-time question is open, and connections that go
// away: the real window against a scripted device on loopback TCP and on a pseudo-terminal. The
// device sends its bytes while the dialog's own event loop runs and nothing after it closes.
#include "DeviceLink.h"
#include "SerialTransport.h"
#include "SimHarness.h"
#include "TDialog.h"
#include "TcpTransport.h"
#include "TestPty.h"
#include "TfMain.h"
#include "ToolText.h"
#include "TransportControls.h"
#include "UiText.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {
const QByteArray kJumperError = QByteArray::fromHex("5ff5030401110d"); // 0xF5, code 17
const QByteArray kLeaveService = QByteArray::fromHex("5f10000d");
const QByteArray kEnterService = QByteArray::fromHex("5f00000d");
const QString kJumperText = QStringLiteral("Сервисни џампер није стављен");

bool waitFor(const std::function<bool()> &done)
{
    return waitUntil(done, 3000);
}

// The device end of a TCP connection, driven by the test.
struct ScriptedTcpDevice {
    explicit ScriptedTcpDevice(const QString &host)
    {
        listening = server.listen(QHostAddress(host), 0);
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            peer = server.nextPendingConnection();
            QObject::connect(peer, &QTcpSocket::readyRead, [this] { got += peer->readAll(); });
        });
    }
    QString address() const { return server.serverAddress().toString() + ":" + QString::number(server.serverPort()); }
    void send(const QByteArray &b)
    {
        peer->write(b);
        peer->flush();
    }
    QTcpServer server;
    QPointer<QTcpSocket> peer;
    QByteArray got;
    bool listening = false;
};

// Requests of this code the device has seen.
int requestsOf(const QByteArray &got, uint8_t code)
{
    int n = 0;
    for (qsizetype i = 0; i + 1 < got.size(); ++i)
        if (uint8_t(got[i]) == 0x5F && uint8_t(got[i + 1]) == code)
            ++n;
    return n;
}

class ReceivePath : public ::testing::Test {
protected:
    void SetUp() override
    {
        w = std::make_unique<TfMain>();
        w->FormActivate();
        tc = w->findChild<TransportControls *>();
        ASSERT_NE(tc, nullptr);
        tc->setConnectErrorBox([this](QWidget *, const QString &text) { errorBoxes.append(text); });
        QObject::connect(&w->link(), &DeviceLink::replyDispatched, [this](uint8_t code) { dispatched.append(code); });
    }
    void connectTcp(ScriptedTcpDevice &dev)
    {
        ASSERT_TRUE(dev.listening);
        w->findChild<QLineEdit *>("edtIP")->setText(dev.address());
        w->findChild<QPushButton *>("btnCOM")->click();
        ASSERT_TRUE(errorBoxes.isEmpty()) << errorBoxes.join("\n").toStdString();
        ASSERT_TRUE(waitFor([&] { return dev.peer != nullptr; }));
    }
    void openPty(TestPty &pty)
    {
        ASSERT_FALSE(pty.slave.isEmpty());
        auto *port = w->findChild<QComboBox *>("CB_ComPort");
        port->setEditText(pty.slave);
        w->findChild<QPushButton *>("btnCom1")->click();
        ASSERT_TRUE(tc->serial().isOpen()) << tc->serial().errorString().toStdString();
    }
    // Presses the fiscal write with a taxpayer number; the one-time question opens.
    void pressFiscalWrite()
    {
        auto *btnWrite = w->findChild<QPushButton *>("btnWrite");
        btnWrite->setEnabled(true);
        w->findChild<QLineEdit *>("edtDZL_DanNo")->setText("101234567");
        btnWrite->click();
    }
    QString shown() const { return w->dialog().Naslov->text() + "|" + w->dialog().tekst->toPlainText(); }

    // Plays a user at the real dialog: once it shows, `whileOpen` runs (the device sends), and
    // some time later "У РЕДУ" is pressed, all inside the dialog's own event loop.
    void pressOkAfter(const std::function<void()> &whileOpen, int afterMs = 300)
    {
        auto *poll = new QTimer(w.get());
        auto stage = std::make_shared<int>(0);
        auto opened = std::make_shared<QElapsedTimer>();
        QObject::connect(poll, &QTimer::timeout, [=, this] {
            if (*stage == 0 && w->dialog().isVisible()) {
                shownTexts.append(shown());
                whileOpen();
                opened->start();
                *stage = 1;
            } else if (*stage == 1 && opened->elapsed() >= afterMs) {
                serviceModeWhileOpen = w->link().serviceMode();
                *stage = 2;
                poll->deleteLater();
                w->dialog().Button1->click();
            }
        });
        poll->start(10);
    }

    std::unique_ptr<TfMain> w;
    TransportControls *tc = nullptr;
    QStringList errorBoxes;
    QList<int> dispatched;
    bool serviceModeWhileOpen = false;
    QStringList shownTexts;
};
} // namespace

TEST_F(ReceivePath, TcpReplyArrivingWhileAMessageIsOpenIsHandledWhenItCloses)
{
    ScriptedTcpDevice dev("127.0.0.150");
    connectTcp(dev);
    pressOkAfter([&] { dev.send(kLeaveService); });
    dev.send(kJumperError);
    ASSERT_TRUE(waitFor([&] { return !w->link().serviceMode(); }))
        << "the reply that came while the message was open was never handled";
    EXPECT_EQ(shownTexts, QStringList{UiText(Txt::TitleError) + "|" + kJumperText});
    EXPECT_TRUE(serviceModeWhileOpen); // not handled inside the open message
    QTest::qWait(50);
    EXPECT_EQ(dispatched, (QList<int>{0xF5, 0x10})); // each once, in order
    EXPECT_EQ(w->statusText(), UiText(Txt::NotInServiceMode));
}

TEST_F(ReceivePath, SerialReplyArrivingWhileAMessageIsOpenIsHandledAndTheNextOneToo)
{
    TestPty pty;
    openPty(pty);
    pressOkAfter([&] { pty.write(kLeaveService); });
    pty.write(kJumperError);
    ASSERT_TRUE(waitFor([&] { return !w->link().serviceMode(); }))
        << "the reply that came while the message was open was never handled";
    EXPECT_EQ(shownTexts, QStringList{UiText(Txt::TitleError) + "|" + kJumperText});
    EXPECT_TRUE(serviceModeWhileOpen);

    // A clean reply afterwards is recognised on its own: nothing was left over to join it.
    pty.write(kEnterService);
    ASSERT_TRUE(waitFor([&] { return w->link().serviceMode(); }));
    QTest::qWait(50);
    EXPECT_EQ(dispatched, (QList<int>{0xF5, 0x10, 0x00}));
    EXPECT_EQ(w->link().rxCount(), 0);
}

namespace {
// A user at the question: looks at the dialog when about to press, confirms only the question it
// sees ("ОТКАЗ" on it) and dismisses anything else with "У РЕДУ". Meanwhile `duringQuestion`
// runs inside the question's event loop.
struct QuestionUser {
    explicit QuestionUser(TfMain &w) : w(w)
    {
        w.dialog().setResponder([this](TDialog &d) { return respond(d); });
    }
    int respond(TDialog &d)
    {
        ++depth;
        maxDepth = std::max(maxDepth, depth);
        const QString opened = d.Naslov->text() + "|" + d.tekst->toPlainText();
        presented.append(opened);
        const bool question = d.tekst->toPlainText() == UiText(Txt::FiscalizeQuestion);
        if (question && duringQuestion)
            QTimer::singleShot(20, duringQuestion);
        QEventLoop loop;
        QTimer::singleShot(question ? 400 : 20, &loop, &QEventLoop::quit);
        loop.exec();
        // What is on the screen when the button is pressed.
        const QString seen = d.Naslov->text() + "|" + d.tekst->toPlainText();
        atPress.append(seen);
        --depth;
        return seen.endsWith("|" + UiText(Txt::FiscalizeQuestion)) ? 0 : 1;
    }
    TfMain &w;
    std::function<void()> duringQuestion;
    QStringList presented;
    QStringList atPress;
    int depth = 0;
    int maxDepth = 0;
};
} // namespace

TEST_F(ReceivePath, DeviceErrorDuringTheOneTimeQuestionWaitsAndCannotAnswerIt)
{
    ScriptedTcpDevice dev("127.0.0.151");
    connectTcp(dev);
    QuestionUser user(*w);
    user.duringQuestion = [&] { dev.send(kJumperError); };
    pressFiscalWrite();
    ASSERT_TRUE(waitFor([&] { return user.presented.size() == 2; }));
    const QString question = UiText(Txt::TitleWarning) + "|" + UiText(Txt::FiscalizeQuestion);
    const QString error = UiText(Txt::TitleError) + "|" + kJumperText;
    EXPECT_EQ(user.presented, (QStringList{question, error}));
    EXPECT_EQ(user.atPress, (QStringList{question, error})); // the question kept its text to the end
    EXPECT_EQ(user.maxDepth, 1);                             // the error waited for the question
    QTest::qWait(100);
    EXPECT_EQ(requestsOf(dev.got, 0x25), 0) << "declined, yet the one-time write went out";
}

TEST_F(ReceivePath, NoAnswerNoticeDuringTheQuestionWaitsAndConfirmingStillWritesOnce)
{
    ScriptedTcpDevice dev("127.0.0.152");
    connectTcp(dev);
    QuestionUser user(*w);
    // The device never answers the read; its reply timer runs out while the question is open.
    w->link().replyTimer().setInterval(100);
    w->link().SendAwaitingReply(0x20, 4);
    pressFiscalWrite();
    ASSERT_TRUE(waitFor([&] { return user.presented.size() == 2; }));
    const QString question = UiText(Txt::TitleWarning) + "|" + UiText(Txt::FiscalizeQuestion);
    const QString noAnswer =
        UiText(Txt::TitleError) + "|" + UiText(Txt::NoAnswer) + "\n" +
        ToolText::noAnswerDetail("5f 20 00 0d", "read fiscal data", w->link().transport()->where());
    EXPECT_EQ(user.presented, (QStringList{question, noAnswer}));
    EXPECT_EQ(user.maxDepth, 1);
    QTest::qWait(100);
    EXPECT_EQ(requestsOf(dev.got, 0x25), 0);

    // A user who confirms the question they see gets the write, once.
    user.presented.clear();
    w->dialog().setResponder([](TDialog &d) { return d.tekst->toPlainText() == UiText(Txt::FiscalizeQuestion); });
    pressFiscalWrite();
    ASSERT_TRUE(waitFor([&] { return requestsOf(dev.got, 0x25) == 1; }));
}

TEST_F(ReceivePath, ReplySentJustBeforeTheDeviceDropsTheConnectionIsHandledFirst)
{
    ScriptedTcpDevice dev("127.0.0.153");
    connectTcp(dev);
    QStringList messages;
    w->dialog().setResponder([&](TDialog &d) {
        messages.append(d.Naslov->text() + "|" + d.tekst->toPlainText() + (w->link().serviceMode() ? "" : "|off"));
        return 1;
    });
    w->findChild<QPushButton *>("btnCompanyRead")->setEnabled(true);
    w->findChild<QPushButton *>("btnCompanyRead")->click();
    EXPECT_EQ(w->statusText(), UiText(Txt::PleaseWait));
    ASSERT_TRUE(waitFor([&] { return dev.got.size() >= 4; }));
    dev.send(kLeaveService);
    dev.peer->disconnectFromHost();
    ASSERT_TRUE(waitFor([&] { return !messages.isEmpty(); }));
    // The reply came first (service mode already off when the loss is reported).
    EXPECT_EQ(messages, QStringList{UiText(Txt::TitleError) + "|Веза са фискалним принтером је прекинута.\n" +
                                    ToolText::connectionLostDetail(w->link().transport()->where()) + "|off"});
    EXPECT_EQ(dispatched, QList<int>{0x10});
    EXPECT_EQ(w->findChild<QPushButton *>("btnCOM")->text(), UiText(Txt::OpenPort));
    EXPECT_EQ(w->statusText(), QStringLiteral("Веза са фискалним принтером је прекинута."));
}
