// The communication log window over a simulated printer on loopback TCP (frames, garbage, an
// error reply; filter, pause, clear, save), and "Пронађи принтер" beside the port box.
#include "CommLogWindow.h"
#include "CommLog.h"
#include "CommLogLine.h"
#include "CommLogModel.h"
#include "DeviceErrors.h"
#include "FaultInjector.h"
#include "PrinterProber.h"
#include "PrinterSearch.h"
#include "PrinterSearchDialog.h"
#include "RecordingView.h"
#include "SerialTransport.h"
#include "SimHarness.h"
#include "SimSerialServer.h"
#include "TestPty.h"
#include "ToolText.h"
#include "TransportControls.h"
#include "UiText.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
// Clicks `button` and waits until the device's reply `code` was handled.
bool clickAndWaitFor(SimHarness &h, const char *button, uint8_t code)
{
    bool seen = false;
    auto c =
        QObject::connect(&h.link(), &DeviceLink::replyDispatched, [&](uint8_t got) { seen = seen || got == code; });
    h.window->findChild<QPushButton *>(button)->click();
    const bool ok = waitUntil([&] { return seen; });
    QObject::disconnect(c);
    return ok;
}

QByteArray allLines(const CommLog &log)
{
    QByteArray text;
    for (quint64 n = log.first(); n < log.end(); ++n)
        text += CommLogLine::format(log.entry(n));
    return text;
}

QStringList untimedLines(const QByteArray &text)
{
    QStringList lines;
    for (const QString &line : QString::fromUtf8(text).split('\n', Qt::SkipEmptyParts))
        lines << line.mid(13);
    return lines;
}

// The printer's faults take effect for the connections made after they are set: connects anew.
bool withFaults(SimHarness &h, FaultInjector &faults, const QString &host)
{
    h.server->setFaults(&faults);
    return h.tcp.connectTo(host + QStringLiteral(":") + QString::number(h.server->port()));
}

CommLogWindow *openLog(SimHarness &h)
{
    QAction *action = h.window->viewMenu().findChild<QAction *>("actCommLog");
    if (!action) {
        for (QAction *a : h.window->viewMenu().actions())
            if (a->objectName() == "actCommLog")
                action = a;
    }
    if (!action)
        return nullptr;
    action->trigger();
    return h.window->commLogWindow();
}
} // namespace

TEST(CommLogWindow, ListsTheFramesFromTheViewMenuAndSavesTheSameLines)
{
    SimHarness h("127.0.0.201");
    ASSERT_TRUE(h.connected);
    ASSERT_TRUE(h.logIn());
    ASSERT_TRUE(clickAndWaitFor(h, "btnCompanyRead", 0x30));

    CommLogWindow *w = openLog(h);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->isModal());
    EXPECT_EQ(h.window->viewMenu().actions().first()->text(), ToolText::commLogMenu());
    w->model().sync();

    const QStringList lines = untimedLines(w->listedText());
    ASSERT_EQ(lines.size(), 4) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines[0].startsWith("-> aa 04 01 ")) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].endsWith("  (login)"));
    EXPECT_EQ(lines[1], "<- 5f 00 02 04 01 0d  (service mode on)");
    EXPECT_EQ(lines[2], "-> 5f 30 00 0d  (read taxpayer)");
    EXPECT_TRUE(lines[3].startsWith("<- 5f 30 a0 ")) << lines[3].toStdString();
    EXPECT_EQ(w->listedText(), allLines(h.window->commLog()));

    // Saving writes exactly the lines listed, in the format of the command-line log.
    QTemporaryDir dir;
    QString error;
    const QString path = dir.filePath("log.txt");
    ASSERT_TRUE(w->saveTo(path, error)) << error.toStdString();
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), w->listedText());
    EXPECT_FALSE(w->saveTo(dir.filePath("no/such/dir/log.txt"), error));

    // The direction filter.
    w->setFilter(CommLogWindow::Filter::Sent);
    EXPECT_EQ(w->cbDirection->currentIndex(), 1);
    EXPECT_EQ(untimedLines(w->listedText()), (QStringList{lines[0], lines[2]}));
    w->cbDirection->setCurrentIndex(2);
    EXPECT_EQ(untimedLines(w->listedText()), (QStringList{lines[1], lines[3]}));
    w->setFilter(CommLogWindow::Filter::All);
    EXPECT_EQ(w->listedCount(), 4);

    // Paused, the list keeps still while the log goes on; resumed, it catches up.
    w->chbPause->click();
    ASSERT_TRUE(clickAndWaitFor(h, "btnCompanyRead", 0x30));
    w->model().sync();
    EXPECT_EQ(w->listedCount(), 4);
    EXPECT_EQ(w->model().waiting(), 2);
    EXPECT_TRUE(w->lblCount->text().contains(ToolText::commLogPaused(2))) << w->lblCount->text().toStdString();
    w->chbPause->click();
    EXPECT_EQ(w->listedCount(), 6);
    EXPECT_EQ(w->model().waiting(), 0);

    // Clear empties the list and the log behind it; what comes next is listed.
    w->btnClear->click();
    EXPECT_EQ(w->listedCount(), 0);
    EXPECT_EQ(h.window->commLog().size(), 0);
    ASSERT_TRUE(clickAndWaitFor(h, "btnCompanyRead", 0x30));
    ASSERT_TRUE(waitUntil([&] { return w->listedCount() == 2; })) << "the window's timer brings new lines";
}

TEST(CommLogWindow, ShowsGarbageAndTheDevicesErrorText)
{
    SimHarness h("127.0.0.202");
    FaultInjector faults;
    ASSERT_TRUE(withFaults(h, faults, "127.0.0.202"));
    ASSERT_TRUE(h.logIn());
    CommLogWindow *w = openLog(h);
    ASSERT_NE(w, nullptr);
    w->btnClear->click();

    faults.setGarbageEvery(1);
    h.device.setForcedError(16);
    ASSERT_TRUE(clickAndWaitFor(h, "btnCompanyRead", 0xF5));
    w->model().sync();
    const QStringList lines = untimedLines(w->listedText());
    ASSERT_EQ(lines.size(), 3) << lines.join('\n').toStdString();
    EXPECT_EQ(lines[0], "-> 5f 30 00 0d  (read taxpayer)");
    EXPECT_TRUE(lines[1].startsWith("<- ")) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].endsWith("  (discarded: no start byte)")) << lines[1].toStdString();
    EXPECT_EQ(lines[1].section("  (", 0, 0).mid(3).split(' ').size(), int(faults.garbageBytes()));
    EXPECT_EQ(lines[2], "<- 5f f5 03 04 01 10 0d  (error: " + DeviceErrorCodeText(16) + ")");
    EXPECT_EQ(w->model().data(w->model().index(1), Qt::ForegroundRole).value<QColor>(), QColor(Qt::darkRed));
}

TEST(CommLogModel, HoldsTheNewestLinesOfABoundedLog)
{
    RecordingView view;
    DeviceLink link(view);
    CommLog log(link, 5);
    CommLogModel model(log);
    for (int i = 0; i < 8; ++i)
        log.add(CommLogEntry{0, CommLogEntry::Kind::Sent, DeviceLink::Discard::NoStartByte, QByteArray(1, char(i))});
    model.sync();
    ASSERT_EQ(model.rowCount(), 5);
    EXPECT_EQ(model.entry(0).bytes, QByteArray(1, char(3)));
    EXPECT_EQ(model.entry(4).bytes, QByteArray(1, char(7)));
    for (int i = 8; i < 10; ++i)
        log.add(
            CommLogEntry{0, CommLogEntry::Kind::Received, DeviceLink::Discard::NoStartByte, QByteArray(1, char(i))});
    model.sync();
    ASSERT_EQ(model.rowCount(), 5);
    EXPECT_EQ(model.entry(0).bytes, QByteArray(1, char(5)));
    EXPECT_EQ(model.entry(4).bytes, QByteArray(1, char(9)));
    EXPECT_EQ(model.data(model.index(4), CommLogModel::DirectionRole).toString(), "in");
}

TEST(PrinterSearchButton, SitsBesideThePortBoxWithoutCoveringAnyControl)
{
    SimHarness h("127.0.0.203");
    QPushButton *find = h.window->printerSearch().btnFindPrinter;
    ASSERT_NE(find, nullptr);
    EXPECT_EQ(find->text(), ToolText::findPrinterButton());
    QWidget *band = find->parentWidget();
    const QRect mine = find->geometry();
    for (QObject *o : band->children()) {
        auto *w = qobject_cast<QWidget *>(o);
        if (!w || w == find || !w->isVisibleTo(h.window.get()))
            continue;
        EXPECT_FALSE(mine.intersects(w->geometry())) << w->objectName().toStdString();
    }
    // The port box and its open button keep their places.
    EXPECT_EQ(h.window->findChild<QComboBox *>("CB_ComPort")->geometry(), QRect(8, 22, 104, 22));
    EXPECT_EQ(h.window->findChild<QPushButton *>("btnCom1")->geometry(), QRect(116, 20, 104, 25));
    // Label22 is fitted to its text: the button must not cover it.
    EXPECT_LE(h.window->findChild<QLabel *>("Label22")->geometry().right(), mine.left());
}

TEST(PrinterSearchButton, ListsWhatEachPortSaidAndPutsTheChosenOneIntoThePortBox)
{
    SimHarness h("127.0.0.204");
    SimulatedDevice device;
    SimSerialServer printer(device);
    ASSERT_TRUE(printer.openPty());
    TestPty silent;
    PrinterSearch &search = h.window->printerSearch();
    search.setPortSource([&] { return QStringList{silent.slave, printer.slavePath()}; });
    search.setTimeout(150);
    search.btnFindPrinter->click();
    PrinterSearchDialog *d = search.dialog();
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->isVisible());
    ASSERT_TRUE(waitUntil([&] { return !d->prober().running(); }));
    ASSERT_EQ(d->lwPorts->count(), 2);
    EXPECT_FALSE(d->lwPorts->item(0)->flags() & Qt::ItemIsEnabled) << "a silent port cannot be chosen";
    EXPECT_TRUE(d->lwPorts->item(0)->text().contains(ToolText::probeSilent(150)));
    EXPECT_TRUE(d->lwPorts->item(1)->text().startsWith(printer.slavePath() + " — " + ToolText::probeFound()));
    EXPECT_EQ(d->lwPorts->currentRow(), 1);
    EXPECT_EQ(d->lblStatus->text(), ToolText::findPrinterDone(1, 2));
    ASSERT_TRUE(d->btnChoose->isEnabled());
    d->btnChoose->click();
    EXPECT_FALSE(d->isVisible());

    auto *port = h.window->findChild<QComboBox *>("CB_ComPort");
    EXPECT_EQ(port->currentText(), printer.slavePath());
    auto *tc = h.window->findChild<TransportControls *>();
    EXPECT_EQ(tc->serial().portName(), printer.slavePath());
    // The chosen port opens and the printer answers there.
    h.window->findChild<QPushButton *>("btnCom1")->click();
    ASSERT_TRUE(tc->serial().isOpen());
    // While the port is open the search would disturb it: refused with a word why.
    search.btnFindPrinter->click();
    EXPECT_EQ(h.messages.last(), UiText(Txt::TitleWarning) + "|" + ToolText::findPrinterPortOpen());
    EXPECT_FALSE(d->isVisible());
}

TEST(PrinterSearchButton, GoesOffWithTheSerialControlsOnceTcpIsChosen)
{
    SimHarness h("127.0.0.205");
    QPushButton *find = h.window->printerSearch().btnFindPrinter;
    EXPECT_TRUE(find->isEnabled());
    h.window->findChild<QLineEdit *>("edtIP")->setText(QStringLiteral("127.0.0.205:%1").arg(h.server->port()));
    h.window->findChild<QPushButton *>("btnCOM")->click();
    EXPECT_FALSE(h.window->findChild<QComboBox *>("CB_ComPort")->isEnabled());
    EXPECT_FALSE(find->isEnabled());
}

TEST(ConnectionErrors, NameTheAddressOrPortAndWhatToDo)
{
    SimHarness h("127.0.0.206");
    auto *tc = h.window->findChild<TransportControls *>();
    QStringList boxes;
    tc->setConnectErrorBox([&](QWidget *, const QString &text) { boxes << text; });
    // Refused: nothing listens on port 9 of this address.
    h.window->findChild<QLineEdit *>("edtIP")->setText("127.0.0.206:9");
    h.window->findChild<QPushButton *>("btnCOM")->click();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].startsWith(QString("Error while connecting:") + QChar(0x0D)));
    EXPECT_TRUE(boxes[0].endsWith("\n" + ToolText::tcpRefused("127.0.0.206", 9))) << boxes[0].toStdString();

    // A serial port that does not exist (a new window: the TCP choice holds for the run).
    SimHarness s("127.0.0.207");
    auto *port = s.window->findChild<QComboBox *>("CB_ComPort");
    port->setEditText("/dev/no-such-serial-port");
    s.window->findChild<QPushButton *>("btnCom1")->click();
    ASSERT_FALSE(s.messages.isEmpty());
    EXPECT_EQ(s.messages.last(),
              UiText(Txt::TitleError) + "|" + ToolText::SerialPortMissing("/dev/no-such-serial-port"));
}

TEST(ConnectionErrors, LostConnectionAndNoAnswerSayWhereAndWhat)
{
    SimHarness h("127.0.0.208");
    FaultInjector faults;
    ASSERT_TRUE(withFaults(h, faults, "127.0.0.208"));
    ASSERT_TRUE(h.logIn());
    faults.setSilentAfter(int(faults.requestCount()));
    h.link().replyTimer().setInterval(50);
    h.window->findChild<QPushButton *>("btnCompanyRead")->click();
    ASSERT_TRUE(waitUntil([&] { return !h.messages.isEmpty(); }));
    const QString where = QStringLiteral("127.0.0.208:%1").arg(h.server->port());
    EXPECT_EQ(h.messages.last(), UiText(Txt::TitleError) + "|" + UiText(Txt::NoAnswer) + "\n" +
                                     ToolText::noAnswerDetail("5f 30 00 0d", "read taxpayer", where));

    h.messages.clear();
    h.server.reset();
    ASSERT_TRUE(waitUntil([&] { return !h.messages.isEmpty(); }));
    EXPECT_EQ(h.messages.last(), UiText(Txt::TitleError) + "|" + ToolText::ConnectionLost() + "\n" +
                                     ToolText::connectionLostDetail(where));
}
