// The article read and write chains against a scripted device: numbering, progress, end, Cancel.
#include "ArticleTransfer.h"
#include "ArticleModel.h"
#include "ArticleRecord.h"
#include "ArticlesSection.h"
#include "DeviceLink.h"
#include "TDialog.h"
#include "TestTransport.h"
#include "TfMain.h"
#include "ToolText.h"
#include "UiText.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {
// Counts the paint events of the widgets it is installed on.
struct PaintCounter : QObject {
    bool eventFilter(QObject *, QEvent *e) override
    {
        paints += e->type() == QEvent::Paint;
        return false;
    }
    int paints = 0;
};

class ArticleChain : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        w = std::make_unique<TfMain>();
        w->FormActivate();
        w->link().setTransport(&t);
        w->dialog().setResponder([this](TDialog &d) {
            messages.append(d.Naslov->text() + "|" + d.tekst->toPlainText());
            return 1;
        });
    }
    ArticlesSection &s() { return w->articlesSection(); }
    ArticleModel &m() { return w->articles(); }
    int progress() { return w->findChild<QProgressBar *>("PBar")->value(); }

    static QByteArray readReply(const ArticleRecord &r) { return QByteArray("\x5F\x80\x32", 3) + r.encode() + '\r'; }
    static QByteArray readReply(int n, const QString &name = {}, uint32_t price = 0, uint8_t tax = 0)
    {
        ArticleRecord r;
        r.number = uint16_t(n);
        r.name = name.toLatin1();
        r.price = price;
        r.taxIndex = tax;
        return readReply(r);
    }
    static QByteArray writeReply(int n) { return QByteArray("\x5F\x85\x02", 3) + char(n & 0xFF) + char(n >> 8) + '\r'; }
    static QByteArray readRequest(int n)
    {
        return QByteArray("\x5F\x80\x02", 3) + char(n & 0xFF) + char(n >> 8) + '\r';
    }
    // The record the write request for row r must carry.
    QByteArray recordOfRow(int r)
    {
        ArticleRecord rec;
        EXPECT_TRUE(ArticleRecord::fromCells(r, m().cell(1, r), m().cell(2, r), m().cell(3, r), m().cell(4, r),
                                             m().cell(5, r), QLocale(), rec));
        return rec.encode();
    }
    void setRow(int r, const QString &name, const QString &barcode, const QString &department, const QString &price,
                const QString &tax)
    {
        m().setCell(1, r, name);
        m().setCell(2, r, barcode);
        m().setCell(3, r, department);
        m().setCell(4, r, price);
        m().setCell(5, r, tax);
    }

    std::unique_ptr<TfMain> w;
    TestTransport t;
    QStringList messages;
};
} // namespace

TEST_F(ArticleChain, ReadStartsWithArticleOneAndAwaitsTheReply)
{
    t.inject(QByteArray("\x5F\x80\x32\x01", 4)); // a broken-off reply left in the buffer
    ASSERT_EQ(w->link().rxCount(), 4);
    w->link().setCancelFlag(true); // and a Cancel with no byte after it
    s().BtnOtkaz->hide();
    QTest::mouseClick(s().btnARead, Qt::LeftButton);
    ASSERT_EQ(t.writes.size(), 1);
    EXPECT_EQ(t.writes[0], readRequest(1));
    EXPECT_TRUE(w->link().replyPending());
    EXPECT_TRUE(w->link().replyTimer().isActive());
    EXPECT_FALSE(w->link().cancelFlag());
    EXPECT_FALSE(s().BtnOtkaz->isHidden());
    EXPECT_EQ(w->statusText(), UiText(Txt::PleaseWait));
    // The stale bytes are gone, so the first reply is recognised whole.
    t.inject(readReply(1, "first"));
    EXPECT_EQ(m().cell(1, 1), "first");
}

TEST_F(ArticleChain, ReadReplyFillsTheRowAndAsksForTheNext)
{
    s().btnAWrite->setEnabled(false);
    s().btnARead->click();
    ArticleRecord r;
    ASSERT_TRUE(ArticleRecord::fromCells(1, QStringLiteral("Хлеб"), "8600000000017", "4", "0.29", QStringLiteral("Ђ"),
                                         QLocale(), r));
    t.inject(readReply(r));
    EXPECT_EQ(m().cell(0, 1), "1");
    EXPECT_EQ(m().cell(1, 1), QStringLiteral("Хлеб"));
    EXPECT_EQ(m().cell(2, 1), "8600000000017");
    EXPECT_EQ(m().cell(3, 1), "4");
    EXPECT_EQ(m().cell(4, 1), "0.29");
    EXPECT_EQ(m().cell(5, 1), QStringLiteral("Ђ"));
    ASSERT_EQ(t.writes.size(), 2);
    EXPECT_EQ(t.writes[1], readRequest(2));
    EXPECT_TRUE(w->link().replyPending()); // every read request awaits its reply
    EXPECT_TRUE(w->link().replyTimer().isActive());
    EXPECT_EQ(s().lblBrojac->text(), "1");
    EXPECT_EQ(s().lblArt->text(), "1");
    EXPECT_EQ(progress(), 1);
    EXPECT_EQ(w->statusText(), UiText(Txt::InServiceMode));
    EXPECT_FALSE(s().btnAWrite->isEnabled()); // enabled by the reply, held until the read ends
    t.inject(readReply(60000));
    EXPECT_TRUE(s().btnAWrite->isEnabled());
}

TEST_F(ArticleChain, DeviceMaySkipNumbers)
{
    s().btnARead->click();
    t.inject(readReply(7, "seven")); // asked for 1, the device answers 7
    EXPECT_EQ(m().cell(1, 7), "seven");
    for (int r = 1; r < 7; ++r)
        EXPECT_EQ(m().cell(1, r), "") << r;
    EXPECT_EQ(t.lastWrite(), readRequest(8));
    EXPECT_EQ(s().lblArt->text(), "7");
}

TEST_F(ArticleChain, ReadOfTheLastArticleEndsAndReloadsTheForm)
{
    m().setCell(1, 1, "row one");
    s().sgArticles->setCurrentIndex(m().index(9, 3));
    s().btnARead->click();
    t.inject(readReply(60000, "last", 150, 9));
    EXPECT_EQ(m().cell(1, 60000), "last");
    EXPECT_EQ(m().cell(4, 60000), "1.5");
    EXPECT_EQ(m().cell(5, 60000), ""); // tax index 9 has no letter
    EXPECT_EQ(t.writes.size(), 1);     // nothing more is asked
    EXPECT_EQ(s().sgArticles->currentIndex(), m().index(0, 1));
    EXPECT_EQ(s().edtArticleName->text(), "row one");
    EXPECT_EQ(s().lblBrojac->text(), "60000");
    EXPECT_EQ(s().lblArt->text(), "60000");
    EXPECT_EQ(progress(), 0);
}

TEST_F(ArticleChain, CountersPaintAgainWhenAChainEnds)
{
    w->show();
    s().btnARead->click();
    for (int n = 1; n <= 20; ++n)
        t.inject(readReply(n)); // a burst: painting of the counters is held back
    EXPECT_FALSE(s().lblBrojac->updatesEnabled());
    EXPECT_EQ(s().lblBrojac->text(), "20");
    t.inject(readReply(60000));
    EXPECT_TRUE(s().lblBrojac->updatesEnabled());
    EXPECT_TRUE(s().lblArt->updatesEnabled());

    s().btnAWrite->click();
    for (int n = 2; n <= 20; ++n)
        t.inject(writeReply(n));
    EXPECT_FALSE(s().lblArt->updatesEnabled());
    s().BtnOtkaz->click();
    EXPECT_TRUE(s().lblArt->updatesEnabled());
    EXPECT_EQ(s().lblArt->text(), "20");
}

TEST_F(ArticleChain, ProgressBarPaintsOnlyWhenItsValueChanges)
{
    // A chain sets the bar with every reply; a bar that repaints each time costs a 60000-article
    // chain several times its line time over TCP.
    PaintCounter counter;
    auto *bar = w->findChild<QProgressBar *>("PBar");
    w->show();
    s().btnARead->click();
    t.inject(readReply(1));
    QApplication::processEvents();
    bar->installEventFilter(&counter);
    for (int n = 2; n <= 200; ++n) {
        t.inject(readReply(n)); // all of them on the bar's first step
        QApplication::processEvents();
    }
    EXPECT_EQ(progress(), 1);
    EXPECT_EQ(counter.paints, 0);
    t.inject(readReply(3749)); // the next step paints
    QApplication::processEvents();
    EXPECT_EQ(progress(), 2);
    EXPECT_GE(counter.paints, 1);
}

TEST_F(ArticleChain, ChangedCountInItsButtonKeepsUpButPaintsAFewTimesASecond)
{
    // Each acknowledged record clears its row's mark and "Унос измена" shows the count left; a
    // button repainted with every reply cost a 60000-row write three times its reads over TCP.
    PaintCounter counter;
    for (int r = 1; r <= 200; ++r)
        m().setCell(ArticleModel::Price, r, QStringLiteral("%1.00").arg(r));
    w->show();
    w->btPage2Click();
    QApplication::processEvents();
    QPushButton *changed = s().btnAWriteChanged;
    changed->installEventFilter(&counter);
    QElapsedTimer burst;
    burst.start();
    s().btnAWrite->click();
    for (int n = 2; n <= 200; ++n) {
        t.inject(writeReply(n)); // the record before n is acknowledged
        QApplication::processEvents();
        ASSERT_EQ(m().changedCount(), 200 - n + 1);
        ASSERT_EQ(changed->text(), ToolText::writeChangedCaption(200 - n + 1)) << n;
    }
    // One paint per 40 ms of the burst at most (and the first), not one per reply.
    EXPECT_LE(counter.paints, int(burst.elapsed() / 40) + 2) << burst.elapsed() << " ms";
    s().BtnOtkaz->click();
    QApplication::processEvents();
    EXPECT_TRUE(changed->updatesEnabled());
    EXPECT_EQ(changed->text(), ToolText::writeChangedCaption(1));
}

TEST_F(ArticleChain, BarAndChangedCountRepaintWithoutTheWidgetsBehindThem)
{
    // Painting the status bar, the group box, the page and the window behind a new value takes
    // most of a millisecond, right after the next request went out.
    for (int r = 1; r <= 30; ++r)
        m().setCell(ArticleModel::Price, r, QStringLiteral("%1.00").arg(r));
    w->show();
    w->btPage2Click();
    QApplication::processEvents();
    s().btnAWriteChanged->click(); // the controls the write turns off repaint with what is behind them
    t.inject(writeReply(2));
    QApplication::processEvents();
    PaintCounter bar, statusBar;
    w->findChild<QProgressBar *>("PBar")->installEventFilter(&bar);
    w->findChild<QWidget *>("StatusBar")->installEventFilter(&statusBar);
    for (int n = 3; n <= 30; ++n) {
        t.inject(writeReply(n));
        QApplication::processEvents();
    }
    EXPECT_EQ(m().changedCount(), 1);
    EXPECT_GE(bar.paints, 4); // the bar moved and did repaint
    EXPECT_EQ(statusBar.paints, 0);
    t.inject(writeReply(31));
    QApplication::processEvents();
    EXPECT_EQ(m().changedCount(), 0);

    // A new count in "Унос измена" (here: a cell edited) repaints the button, not its group box.
    PaintCounter button, box;
    s().btnAWriteChanged->installEventFilter(&button);
    s().gbArticles->installEventFilter(&box);
    m().setCell(ArticleModel::Price, 40, QStringLiteral("4.00"));
    QApplication::processEvents();
    EXPECT_EQ(s().btnAWriteChanged->text(), ToolText::writeChangedCaption(1));
    EXPECT_GE(button.paints, 1);
    EXPECT_EQ(box.paints, 0);
}

TEST_F(ArticleChain, OverASerialLineTheWindowPaintsAMomentAfterEachRequest)
{
    // On a pseudo-terminal the system passes a written request on from the writer's own core:
    // painting right after the write would keep the request from the line.
    m().setCell(ArticleModel::Price, 7, QStringLiteral("7.00"));
    w->show();
    w->btPage2Click();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    QApplication::processEvents();
    PaintCounter status;
    w->findChild<QWidget *>("StatusPanel0")->installEventFilter(&status);

    // Over TCP the status text paints at once when the first record has gone out.
    w->link().setSerialTransport(false);
    s().btnAWriteChanged->click();
    ASSERT_EQ(t.writes.size(), 1);
    EXPECT_FALSE(w->paintHeld());
    EXPECT_GE(status.paints, 1);
    s().BtnOtkaz->click();
    t.inject(writeReply(8));
    QApplication::processEvents();
    ASSERT_FALSE(w->link().busy());

    // Over a serial line it paints a moment later, and then it does.
    w->link().setSerialTransport(true);
    status.paints = 0;
    s().btnAWriteChanged->click();
    ASSERT_EQ(t.writes.size(), 2);
    EXPECT_TRUE(w->paintHeld());
    EXPECT_EQ(status.paints, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return status.paints > 0; }, 1000));
    EXPECT_FALSE(w->paintHeld());
    EXPECT_EQ(w->statusText(), UiText(Txt::InServiceMode));
}

TEST_F(ArticleChain, NumberPastTheTableStoresNothing)
{
    s().btnARead->click();
    t.inject(readReply(60001, "ghost"));
    EXPECT_EQ(t.writes.size(), 1);
    EXPECT_EQ(s().lblBrojac->text(), "60001");
    EXPECT_EQ(s().lblArt->text(), "60000");
    EXPECT_EQ(progress(), 0);
    EXPECT_EQ(m().cell(1, 60000), "");
    EXPECT_EQ(messages, QStringList{UiText(Txt::TitleInfo) + "|" + ToolText::articlesReadCompleted(0)});
}

TEST_F(ArticleChain, ProgressSteps)
{
    s().btnARead->click();
    const std::pair<int, int> expected[] = {{1, 1}, {3748, 1}, {3749, 2}, {7499, 3}, {59998, 16}, {59999, 0}};
    for (auto [article, bar] : expected) {
        t.inject(readReply(article));
        EXPECT_EQ(progress(), bar) << article;
    }
    EXPECT_EQ(ArticleTransfer::progressFor(60000), 0);
    EXPECT_EQ(ArticleTransfer::progressFor(60001), 0);
}

TEST_F(ArticleChain, CancelDropsTheReplyInFlightAndEndsTheChain)
{
    s().btnARead->click();
    t.inject(readReply(1, "one"));
    ASSERT_EQ(t.writes.size(), 2);
    QTest::mouseClick(s().BtnOtkaz, Qt::LeftButton);
    EXPECT_TRUE(s().BtnOtkaz->isHidden());
    EXPECT_FALSE(w->link().replyPending());
    EXPECT_FALSE(w->link().replyTimer().isActive());
    t.inject(readReply(2, "two"));
    EXPECT_EQ(m().cell(1, 2), ""); // the reply in flight is lost
    EXPECT_EQ(t.writes.size(), 2); // and nothing more is asked
    EXPECT_EQ(m().cell(1, 1), "one");
    EXPECT_EQ(messages, QStringList{UiText(Txt::TitleWarning) + "|" + ToolText::articlesReadCancelled(2, 1)});
    // A later reply is recognised again.
    t.inject(readReply(3, "three"));
    EXPECT_EQ(m().cell(1, 3), "three");
}

TEST_F(ArticleChain, ReadRefusedOutsideServiceMode)
{
    w->link().setServiceMode(false);
    s().btnARead->click();
    EXPECT_TRUE(t.writes.isEmpty());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], UiText(Txt::TitleError) + "|" + UiText(Txt::NotInServiceMode));
}

TEST_F(ArticleChain, WriteSendsRowOneAwaitingItsReplyAndFollowsTheDevice)
{
    setRow(1, QStringLiteral("Јабука"), "123", "2", "12.5", QStringLiteral("Г"));
    setRow(9, "nine", "", "10", "0.5", "");
    w->link().setCancelFlag(true);
    s().BtnOtkaz->hide();
    s().btnAWrite->click();
    ASSERT_EQ(t.writes.size(), 1);
    EXPECT_EQ(t.writes[0].size(), 54);
    EXPECT_EQ(t.writes[0].left(3), QByteArray("\x5F\x85\x32", 3));
    EXPECT_EQ(t.writes[0].mid(3, 50), recordOfRow(1));
    EXPECT_EQ(t.writes[0].at(53), '\r');
    EXPECT_TRUE(w->link().replyPending()); // the first frame waits for its reply like the others
    EXPECT_TRUE(w->link().replyTimer().isActive());
    EXPECT_FALSE(w->link().cancelFlag());
    EXPECT_FALSE(s().BtnOtkaz->isHidden());
    EXPECT_EQ(progress(), 0);
    EXPECT_EQ(w->statusText(), UiText(Txt::InServiceMode));

    t.inject(writeReply(9)); // the device skips to 9
    ASSERT_EQ(t.writes.size(), 2);
    EXPECT_EQ(t.writes[1].mid(3, 50), recordOfRow(9));
    EXPECT_EQ(uint8_t(t.writes[1].at(3 + 36)), 50); // 0.5 is sent as 50
    EXPECT_EQ(uint8_t(t.writes[1].at(3 + 41)), 0);  // an empty tax cell is index 0
    EXPECT_TRUE(w->link().replyPending());          // follow-on writes await their reply
    EXPECT_TRUE(w->link().replyTimer().isActive());
    EXPECT_EQ(s().lblBrojac->text(), "9");
    EXPECT_EQ(s().lblArt->text(), "9");
    EXPECT_EQ(progress(), 1);

    t.inject(writeReply(3750));
    EXPECT_EQ(progress(), 2);
    EXPECT_EQ(t.lastWrite().mid(3, 2), QByteArray("\xA6\x0E", 2));
    t.inject(writeReply(60000));
    EXPECT_EQ(progress(), 0);
    EXPECT_EQ(t.lastWrite().mid(3, 2), QByteArray("\x60\xEA", 2));
    t.inject(writeReply(60001)); // done: nothing sent, no message
    EXPECT_EQ(t.writes.size(), 4);
    EXPECT_EQ(s().lblBrojac->text(), "60001");
    EXPECT_EQ(s().lblArt->text(), "60000");
    EXPECT_EQ(progress(), 0);
    EXPECT_EQ(w->statusText(), UiText(Txt::InServiceMode));
    // Four replies acknowledged rows 1, 9, 3750 and 60000.
    EXPECT_EQ(messages, QStringList{UiText(Txt::TitleInfo) + "|" + ToolText::articlesWriteCompleted(4)});
}

TEST_F(ArticleChain, DepartmentThatIsNoNumberStopsTheWrite)
{
    setRow(5, "bad", "", QStringLiteral("пет"), "1", "");
    s().btnAWrite->click();
    t.inject(writeReply(2));
    ASSERT_EQ(t.writes.size(), 2);
    t.inject(writeReply(5));
    EXPECT_EQ(t.writes.size(), 2); // row 5 is not sent
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(UiText(Txt::TitleError) + "|")) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(QStringLiteral("пет")));
    EXPECT_EQ(progress(), 0);

    // The same check guards the first row, and departments 0 and 11 go to the device as they are.
    messages.clear();
    t.writes.clear();
    setRow(1, "", "", "", "1", "");
    s().btnAWrite->click();
    EXPECT_TRUE(t.writes.isEmpty());
    EXPECT_EQ(messages.size(), 1);
    setRow(1, "", "", "0", "1", "");
    setRow(2, "", "", "11", "1", "");
    s().btnAWrite->click();
    t.inject(writeReply(2));
    ASSERT_EQ(t.writes.size(), 2);
    EXPECT_EQ(uint8_t(t.writes[0].at(3 + 35)), 0xFF);
    EXPECT_EQ(uint8_t(t.writes[1].at(3 + 35)), 10);
}

TEST_F(ArticleChain, WriteDoesNothingOutsideServiceModeAndRefusesArticleZero)
{
    w->link().setServiceMode(false);
    s().btnAWrite->click();
    EXPECT_TRUE(t.writes.isEmpty());
    EXPECT_TRUE(messages.isEmpty());
    w->link().setServiceMode(true);
    s().btnAWrite->click();
    t.inject(writeReply(0));
    EXPECT_EQ(t.writes.size(), 1);
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(ArticleChain, CancelDuringAWrite)
{
    s().btnAWrite->click();
    t.inject(writeReply(2));
    ASSERT_EQ(t.writes.size(), 2);
    s().BtnOtkaz->click();
    t.inject(writeReply(3));
    EXPECT_EQ(t.writes.size(), 2);
}

// A chain started again after the last one was broken off: the new chain's first reply must be
// recognised whole, whatever the old chain left behind.
TEST_F(ArticleChain, ReadAndWriteRestartAfterCancelAndAfterAnAbortedChain)
{
    // Cancel pressed, and no byte came after it.
    s().btnARead->click();
    t.inject(readReply(1, "one"));
    s().BtnOtkaz->click();
    ASSERT_TRUE(w->link().cancelFlag());
    s().btnARead->click();
    t.inject(readReply(1, "again"));
    EXPECT_EQ(m().cell(1, 1), "again");
    EXPECT_EQ(t.lastWrite(), readRequest(2));

    // A chain that stopped part-way through a reply (the device went quiet).
    t.inject(readReply(2, "two").left(20));
    ASSERT_EQ(w->link().rxCount(), 20);
    s().BtnOtkaz->click(); // the technician ends the stuck chain
    s().btnARead->click();
    EXPECT_EQ(t.lastWrite(), readRequest(1));
    t.inject(readReply(1, "fresh"));
    EXPECT_EQ(m().cell(1, 1), "fresh");
    EXPECT_EQ(t.lastWrite(), readRequest(2));

    // The write after either of them.
    setRow(1, "w1", "", "1", "1", QStringLiteral("А"));
    setRow(2, "w2", "", "1", "2", QStringLiteral("А"));
    s().BtnOtkaz->click();
    s().btnAWrite->click();
    t.inject(writeReply(2));
    EXPECT_EQ(t.lastWrite().mid(3, 50), recordOfRow(2));
    t.inject(writeReply(3).left(3)); // broken off inside the reply
    s().BtnOtkaz->click();
    s().btnAWrite->click();
    t.inject(writeReply(2));
    EXPECT_EQ(t.lastWrite().mid(3, 50), recordOfRow(2));
    const qsizetype sent = t.writes.size();
    EXPECT_EQ(t.writes[sent - 2].mid(3, 50), recordOfRow(1));
    // Only the notices of the Cancels were shown.
    for (const QString &msg : messages)
        EXPECT_TRUE(msg.startsWith(UiText(Txt::TitleWarning) + "|")) << msg.toStdString();
}

namespace {
// The buttons that start a device operation, as the window has them.
QList<QPushButton *> operationButtons(TfMain &w)
{
    QList<QPushButton *> out;
    for (const QString &name : DeviceLink::deviceOperationControls())
        if (auto *b = w.findChild<QPushButton *>(name))
            out << b;
    return out;
}
QByteArray errorReply(uint8_t code)
{
    return QByteArray("\x5F\xF5\x03\x04\x01", 5) + char(code) + '\r';
}
} // namespace

TEST_F(ArticleChain, OneOperationAtATimeAndTheButtonsComeBackAsBefore)
{
    auto *tgWrite = w->findChild<QPushButton *>("btnTGWrite");
    tgWrite->setEnabled(false);
    s().btnAWrite->setEnabled(false);
    const QList<QPushButton *> buttons = operationButtons(*w);
    ASSERT_GE(buttons.size(), 20);
    QHash<QPushButton *, bool> before;
    for (QPushButton *b : buttons)
        before[b] = b->isEnabled();

    s().btnARead->click();
    for (QPushButton *b : buttons)
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    EXPECT_TRUE(s().BtnOtkaz->isEnabled());
    t.inject(readReply(1));
    EXPECT_FALSE(s().btnAWrite->isEnabled()); // held until the read ends

    // Clicks that still arrive (the slots called directly) are refused with a message.
    w->findChild<QPushButton *>("btnTGRead")->setEnabled(true);
    w->findChild<QPushButton *>("btnTGRead")->click();
    s().btnAWrite->setEnabled(true);
    s().btnAWrite->click();
    s().btnARead->setEnabled(true);
    s().btnARead->click();
    ASSERT_EQ(t.writes.size(), 2); // article 1 and article 2 only
    EXPECT_EQ(t.writes[1], readRequest(2));
    ASSERT_EQ(messages.size(), 3);
    for (const QString &msg : messages)
        EXPECT_EQ(msg, UiText(Txt::TitleWarning) + "|" + ToolText::deviceBusy(ToolText::articlesReadName()));
    messages.clear();

    // The read goes on undisturbed and, when it ends, every button is as it was; the write
    // button is enabled by the read.
    t.inject(readReply(2));
    EXPECT_EQ(t.lastWrite(), readRequest(3));
    t.inject(readReply(60000));
    EXPECT_FALSE(w->link().busy());
    for (QPushButton *b : buttons)
        if (b != s().btnAWrite)
            EXPECT_EQ(b->isEnabled(), before[b]) << b->objectName().toStdString();
    EXPECT_TRUE(s().btnAWrite->isEnabled());
    EXPECT_FALSE(tgWrite->isEnabled());
    EXPECT_EQ(messages, QStringList{UiText(Txt::TitleInfo) + "|" + ToolText::articlesReadCompleted(3)});
}

TEST_F(ArticleChain, EveryEndGivesTheButtonsBackAndSaysWhereTheTransferStood)
{
    auto *tgRead = w->findChild<QPushButton *>("btnTGRead");
    auto expectFree = [&](const char *when) {
        EXPECT_FALSE(w->link().busy()) << when;
        EXPECT_TRUE(tgRead->isEnabled()) << when;
        EXPECT_TRUE(s().btnARead->isEnabled()) << when;
        EXPECT_EQ(progress(), 0) << when;
    };

    // Cancel part-way through a write.
    s().btnAWrite->click();
    t.inject(writeReply(2));
    t.inject(writeReply(3));
    EXPECT_EQ(progress(), 1);
    s().BtnOtkaz->click();
    expectFree("cancel");
    EXPECT_EQ(messages.takeFirst(), UiText(Txt::TitleWarning) + "|" + ToolText::articlesWriteCancelled(3, 2));

    // No answer to a read request.
    s().btnARead->click();
    t.inject(readReply(1));
    t.inject(readReply(3749));
    EXPECT_EQ(progress(), 2);
    w->link().TimerTimer();
    expectFree("no answer");
    // The fixed text, what was sent (the test transport says nowhere), then where the chain stood.
    EXPECT_EQ(messages.takeFirst(), UiText(Txt::TitleError) + "|" + UiText(Txt::NoAnswer) + "\n" +
                                        ToolText::noAnswerDetail("5f 80 02 a6 0e 0d", "read article 3750", {}) + "\n" +
                                        ToolText::articlesReadStopped(3750, 2));

    // The device leaves service mode during a write: the read buttons stay off as it says.
    s().btnAWrite->click();
    t.inject(QByteArray("\x5F\x10\x02\x04\x01\r", 6));
    EXPECT_FALSE(w->link().busy());
    EXPECT_FALSE(tgRead->isEnabled());
    EXPECT_EQ(messages.takeFirst(), UiText(Txt::TitleWarning) + "|" + ToolText::articlesWriteStopped(1, 0));
    t.inject(QByteArray("\x5F\x00\x02\x04\x01\r", 6));

    // The connection goes away.
    s().btnARead->click();
    emit t.closed();
    expectFree("closed");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(UiText(Txt::TitleError) + "|" + ToolText::ConnectionLost()))
        << messages[0].toStdString();
}

TEST_F(ArticleChain, FirstWriteFrameGetsNoAnswer)
{
    s().btnAWrite->click();
    ASSERT_TRUE(w->link().replyTimer().isActive());
    EXPECT_EQ(w->link().replyTimer().interval(), DeviceLink::kReplyTimeoutMs);
    // The reply timer itself fires (made short here).
    w->link().replyTimer().setInterval(1);
    for (int i = 0; i < 200 && w->link().busy(); ++i)
        QTest::qWait(5);
    EXPECT_FALSE(w->link().busy());
    EXPECT_TRUE(s().BtnOtkaz->isHidden());
    ASSERT_EQ(messages.size(), 1);
    const QString sent = QString::fromLatin1(t.writes.last().left(12).toHex(' ')) + " …";
    EXPECT_EQ(messages[0], UiText(Txt::TitleError) + "|" + UiText(Txt::NoAnswer) + "\n" +
                               ToolText::noAnswerDetail(sent, "write article 1", {}) + "\n" +
                               ToolText::articlesWriteStopped(1, 0));
}

TEST_F(ArticleChain, DeviceErrorNamesTheArticleItAnswered)
{
    setRow(12, "bad", "", "12", "1", "");
    s().btnAWrite->click();
    t.inject(writeReply(12));
    ASSERT_EQ(t.lastWrite().mid(3, 2), QByteArray("\x0C\x00", 2));
    t.inject(errorReply(0x03));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(UiText(Txt::TitleError) + "|")) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].endsWith(ToolText::errorConcernsArticle(12) + " " + ToolText::articlesWriteStopped(12, 1)))
        << messages[0].toStdString();
    EXPECT_FALSE(w->link().busy());

    // A reply that comes after the chain ended starts nothing.
    const auto sent = t.writes.size();
    t.inject(writeReply(13));
    s().btnARead->click();
    t.inject(readReply(1));
    t.inject(errorReply(0x03));
    messages.clear();
    const auto afterRead = t.writes.size();
    t.inject(readReply(2, "late"));
    EXPECT_EQ(m().cell(1, 2), "late"); // the data still land
    EXPECT_EQ(t.writes.size(), afterRead);
    EXPECT_EQ(afterRead, sent + 2);
}

TEST_F(ArticleChain, ExitDuringATransferAsksFirst)
{
    w->show();
    s().btnARead->click();
    int asked = 0;
    int answer = 0;
    w->dialog().setResponder([&](TDialog &d) {
        ++asked;
        EXPECT_TRUE(d.twoButtons());
        EXPECT_EQ(d.tekst->toPlainText(), ToolText::exitDuringTransfer());
        return answer;
    });
    w->findChild<QPushButton *>("btnClose")->click();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->link().busy());
    t.inject(readReply(1));
    EXPECT_EQ(t.lastWrite(), readRequest(2)); // the read went on

    w->close(); // the window's own close button asks the same
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(w->isVisible());

    answer = 1;
    w->findChild<QPushButton *>("btnClose")->click();
    EXPECT_EQ(asked, 3); // once; the closing itself does not ask again
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(w->link().busy());
    const auto sent = t.writes.size();
    t.inject(readReply(2));
    EXPECT_EQ(t.writes.size(), sent); // broken off as Cancel does
}

TEST_F(ArticleChain, CancelLeavesTheFocusWhereTheTechnicianWas)
{
    w->show();
    w->activateWindow();
    w->btPage2Click();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    s().sgArticles->setFocus();
    s().btnARead->click();
    QTest::mouseClick(s().BtnOtkaz, Qt::LeftButton);
    EXPECT_TRUE(s().BtnOtkaz->isHidden());
    EXPECT_EQ(QApplication::focusWidget(), s().sgArticles);

    // Reached with the keyboard, the button hands the focus to the grid when it hides.
    s().btnARead->click();
    s().BtnOtkaz->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(s().BtnOtkaz->hasFocus());
    QTest::keyClick(s().BtnOtkaz, Qt::Key_Space);
    EXPECT_TRUE(s().BtnOtkaz->isHidden());
    EXPECT_EQ(QApplication::focusWidget(), s().sgArticles);
    auto *ip = w->findChild<QLineEdit *>("edtIP");
    EXPECT_FALSE(ip->hasSelectedText());
}

TEST_F(ArticleChain, CountersHaveCaptions)
{
    EXPECT_EQ(s().lblArtCaption->text(), ToolText::articleCounterCaption());
    EXPECT_EQ(s().lblBrojacCaption->text(), ToolText::replyCounterCaption());
    EXPECT_EQ(s().lblArtCaption->geometry().left(), s().lblArt->geometry().left());
    EXPECT_EQ(s().lblBrojacCaption->geometry().right(), s().lblBrojac->geometry().right());
}
