// Partial article transfers in the window: the range fields, the marks of changed rows, the write of
// changed rows only, and the question before closing with unwritten changes.
#include "ArticleModel.h"
#include "ArticleRecord.h"
#include "ArticlesSection.h"
#include "DeviceLink.h"
#include "SimHarness.h"
#include "TDialog.h"
#include "TestTransport.h"
#include "TfMain.h"
#include "ToolText.h"
#include "UiText.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {
QByteArray readRequest(int n)
{
    return QByteArray("\x5F\x80\x02", 3) + char(n & 0xFF) + char(n >> 8) + '\r';
}
QByteArray readReply(int n, const QByteArray &name)
{
    ArticleRecord r;
    r.number = uint16_t(n);
    r.name = name;
    return QByteArray("\x5F\x80\x32", 3) + r.encode() + '\r';
}
QByteArray writeReply(int n)
{
    return QByteArray("\x5F\x85\x02", 3) + char(n & 0xFF) + char(n >> 8) + '\r';
}
// The article number a write request carries; -1 for any other frame.
int writtenNumber(const QByteArray &frame)
{
    if (frame.size() != 54 || uint8_t(frame.at(1)) != 0x85)
        return -1;
    return uint8_t(frame.at(3)) | (uint8_t(frame.at(4)) << 8);
}

class ArticlePartial : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        w = std::make_unique<TfMain>();
        w->FormActivate();
        w->link().setTransport(&t);
        w->dialog().setResponder([this](TDialog &d) {
            messages.append(d.Naslov->text() + "|" + d.tekst->toPlainText());
            return answer;
        });
    }
    ArticlesSection &s() { return w->articlesSection(); }
    ArticleModel &m() { return w->articles(); }
    void setRange(const QString &from, const QString &to)
    {
        s().edtAFrom->setText(from);
        s().edtATo->setText(to);
    }
    // An in-place edit of a cell, as the grid's editor stores it.
    void edit(int c, int r, const QString &text) { m().setData(m().index(r - 1, c), text); }
    std::vector<int> writtenNumbers() const
    {
        std::vector<int> out;
        for (const QByteArray &f : t.writes)
            out.push_back(writtenNumber(f));
        return out;
    }

    std::unique_ptr<TfMain> w;
    TestTransport t;
    QStringList messages;
    int answer = 1;
};
} // namespace

TEST_F(ArticlePartial, RangeFieldsStartAtTheWholeTableAndMoveNoControl)
{
    EXPECT_EQ(s().edtAFrom->text(), "1");
    EXPECT_EQ(s().edtATo->text(), "60000");
    EXPECT_EQ(s().gbArticles->geometry(), QRect(362, 26, 436, 389));
    EXPECT_EQ(s().sgArticles->geometry(), QRect(4, 58, 430, 260));
    EXPECT_EQ(s().btnARead->geometry(), QRect(6, 356, 120, 25));
    EXPECT_EQ(s().btnAWrite->geometry(), QRect(130, 356, 120, 25));
    EXPECT_EQ(s().edtArticleName->geometry(), QRect(36, 32, 162, 21));
    // The new controls lie inside the group box and over no other control of it.
    const QList<QWidget *> added = {s().edtAFrom, s().edtATo, s().lblAFrom, s().lblATo, s().btnAWriteChanged};
    for (QWidget *a : added) {
        EXPECT_TRUE(QRect(QPoint(0, 0), s().gbArticles->size()).contains(a->geometry()))
            << a->objectName().toStdString();
        for (QWidget *other : s().gbArticles->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
            if (added.contains(other) || other->isHidden())
                continue;
            EXPECT_FALSE(a->geometry().intersects(other->geometry()))
                << a->objectName().toStdString() << " over " << other->objectName().toStdString();
        }
    }
    // The default range reads the whole table as before: article 1 first.
    s().btnARead->click();
    ASSERT_EQ(t.writes.size(), 1);
    EXPECT_EQ(t.writes[0], readRequest(1));
}

TEST_F(ArticlePartial, BadRangeIsRefusedAndNothingIsSent)
{
    const QList<QPair<QString, QString>> bad = {{"0", "5"}, {"7", "6"}, {"1", "60001"}, {"x", "5"},
                                                {"", "5"},  {"5", ""},  {"-3", "4"},    {"2.5", "9"}};
    for (const auto &[from, to] : bad) {
        setRange(from, to);
        for (QPushButton *b : {s().btnARead, s().btnAWrite}) {
            messages.clear();
            b->click();
            EXPECT_EQ(messages, QStringList{UiText(Txt::TitleError) + "|" +
                                            ToolText::articleRangeInvalid(from, to, ArticleModel::kArticles)})
                << from.toStdString() << ".." << to.toStdString();
            EXPECT_FALSE(w->link().busy());
        }
    }
    EXPECT_TRUE(t.writes.isEmpty());
    // Blanks around a number are no fault.
    setRange(" 4 ", "4");
    s().btnARead->click();
    ASSERT_EQ(t.writes.size(), 1);
    EXPECT_EQ(t.writes[0], readRequest(4));
}

TEST_F(ArticlePartial, RangeReadAsksForFromFirstEndsAfterToAndTouchesNothingOutside)
{
    m().setCell(1, 299, "kept before");
    m().setCell(1, 303, "kept after");
    setRange("300", "302");
    s().btnARead->click();
    for (int n = 300; n <= 302; ++n) {
        ASSERT_EQ(t.writes.size(), n - 299);
        EXPECT_EQ(t.writes.last(), readRequest(n));
        t.inject(readReply(n, "read " + QByteArray::number(n)));
    }
    EXPECT_EQ(t.writes.size(), 3); // nothing after the reply for "to"
    EXPECT_FALSE(w->link().busy());
    EXPECT_EQ(messages, QStringList{UiText(Txt::TitleInfo) + "|" + ToolText::articlesReadCompleted(3)});
    EXPECT_EQ(m().cell(1, 301), "read 301");
    EXPECT_EQ(m().cell(1, 299), "kept before");
    EXPECT_EQ(m().cell(1, 303), "kept after");
    // The form goes back to the range's first row.
    EXPECT_EQ(s().currentRow(), 300);
    EXPECT_EQ(s().edtArticleName->text(), "read 300");

    // A device that skips past "to": that record is not stored and the read ends.
    setRange("10", "20");
    s().btnARead->click();
    EXPECT_EQ(t.writes.last(), readRequest(10));
    t.inject(readReply(25, "past the range"));
    EXPECT_EQ(t.writes.size(), 4);
    EXPECT_EQ(m().cell(1, 25), "");
    EXPECT_FALSE(w->link().busy());
}

TEST_F(ArticlePartial, RangeWriteSendsFromFirstAndFollowsTheDeviceWithinTheRange)
{
    for (int r = 99; r <= 103; ++r)
        m().setCell(1, r, QStringLiteral("row %1").arg(r));
    setRange("100", "102");
    s().btnAWrite->click();
    ASSERT_EQ(t.writes.size(), 1);
    EXPECT_EQ(writtenNumber(t.writes[0]), 100);
    EXPECT_EQ(t.writes[0].mid(5, 7), "row 100");
    t.inject(writeReply(101));
    t.inject(writeReply(102));
    t.inject(writeReply(103)); // outside: the write is complete
    EXPECT_EQ(writtenNumbers(), (std::vector<int>{100, 101, 102}));
    EXPECT_FALSE(w->link().busy());
    EXPECT_EQ(messages, QStringList{UiText(Txt::TitleInfo) + "|" + ToolText::articlesWriteCompleted(3)});
    // Only the rows written lost their marks.
    EXPECT_TRUE(m().isChanged(99));
    EXPECT_FALSE(m().isChanged(100));
    EXPECT_FALSE(m().isChanged(102));
    EXPECT_TRUE(m().isChanged(103));

    // A device that asks for a number below the range ends the write as well.
    t.writes.clear();
    s().btnAWrite->click();
    t.inject(writeReply(50));
    EXPECT_EQ(writtenNumbers(), (std::vector<int>{100}));
    EXPECT_FALSE(w->link().busy());
}

TEST_F(ArticlePartial, EditsMarkTheirRowsAndReadsAndLoadsClearThem)
{
    EXPECT_EQ(m().changedCount(), 0);
    EXPECT_EQ(s().btnAWriteChanged->text(), ToolText::writeChangedCaption(0));
    edit(ArticleModel::Name, 5, "in place");
    s().setCurrentCell(ArticleModel::Name, 8);
    s().edtAPrice->setText("2.50");
    s().btnACor->click();                                             // the form applied to row 8
    edit(ArticleModel::Price, 12, m().cell(ArticleModel::Price, 12)); // the same text is no change
    EXPECT_EQ(m().changedRows(), (std::vector<int>{5, 8}));
    EXPECT_EQ(s().btnAWriteChanged->text(), ToolText::writeChangedCaption(2));
    // The mark shows in the number column of the changed rows only.
    EXPECT_TRUE(m().data(m().index(4, ArticleModel::Number), Qt::BackgroundRole).isValid());
    EXPECT_FALSE(m().data(m().index(5, ArticleModel::Number), Qt::BackgroundRole).isValid());
    EXPECT_FALSE(m().data(m().index(4, ArticleModel::Name), Qt::BackgroundRole).isValid());
    EXPECT_EQ(m().data(m().index(4, ArticleModel::Number)).toString(), "5"); // the number itself stays

    // A read of row 5 gives the device's row: no longer changed; row 8 keeps its mark.
    setRange("5", "5");
    s().btnARead->click();
    t.inject(readReply(5, "from the device"));
    EXPECT_EQ(m().changedRows(), (std::vector<int>{8}));

    // A loaded file replaces the table: nothing is changed since.
    QTemporaryDir dir;
    const QString path = dir.filePath("a.csv");
    ASSERT_TRUE(s().saveArticlesTo(path));
    edit(ArticleModel::Name, 7, "typed after the save");
    ASSERT_TRUE(s().loadArticlesFrom(path));
    EXPECT_EQ(m().changedCount(), 0);
    EXPECT_EQ(m().cell(ArticleModel::Price, 8), "2.50");
    EXPECT_EQ(m().cell(ArticleModel::Name, 7), "");
    EXPECT_EQ(s().btnAWriteChanged->text(), ToolText::writeChangedCaption(0));
}

TEST_F(ArticlePartial, ChangedWriteSendsExactlyTheChangedRowsBlockByBlock)
{
    for (int r : {5, 6, 7, 20, 60000})
        edit(ArticleModel::Name, r, QStringLiteral("changed %1").arg(r));
    s().btnAWriteChanged->click();
    ASSERT_EQ(t.writes.size(), 1);
    EXPECT_EQ(writtenNumber(t.writes[0]), 5);
    EXPECT_EQ(t.writes[0].mid(5, 9), "changed 5");
    t.inject(writeReply(6));
    t.inject(writeReply(7));
    t.inject(writeReply(8)); // the block 5..7 is done; 20 follows as a chain of its own
    ASSERT_TRUE(waitUntil([&] { return t.writes.size() == 4; }, 2000));
    EXPECT_EQ(writtenNumber(t.writes[3]), 20);
    t.inject(writeReply(21));
    ASSERT_TRUE(waitUntil([&] { return t.writes.size() == 5; }, 2000));
    t.inject(writeReply(60001));
    QApplication::processEvents();
    EXPECT_EQ(writtenNumbers(), (std::vector<int>{5, 6, 7, 20, 60000}));
    EXPECT_FALSE(w->link().busy());
    EXPECT_EQ(m().changedCount(), 0);
    EXPECT_EQ(messages, QStringList{UiText(Txt::TitleInfo) + "|" + ToolText::articlesChangedWritten(5, 3)});

    // Nothing changed: said, and nothing sent.
    messages.clear();
    s().btnAWriteChanged->click();
    EXPECT_EQ(messages, QStringList{UiText(Txt::TitleInfo) + "|" + ToolText::articlesNothingChanged()});
    EXPECT_EQ(t.writes.size(), 5);
}

TEST_F(ArticlePartial, ACancelledOrFailedRunKeepsTheMarksOfRowsNotAcknowledged)
{
    for (int r : {5, 6, 7, 30})
        edit(ArticleModel::Name, r, "x");
    s().btnAWriteChanged->click();
    t.inject(writeReply(6)); // acknowledges 5; 6 goes out
    s().BtnOtkaz->click();
    t.inject(writeReply(7)); // dropped as Cancel does
    QApplication::processEvents();
    EXPECT_EQ(writtenNumbers(), (std::vector<int>{5, 6}));
    EXPECT_EQ(m().changedRows(), (std::vector<int>{6, 7, 30}));
    EXPECT_FALSE(w->link().busy());

    // A row that cannot be sent stops the run there; the rows before it are written.
    messages.clear();
    t.writes.clear();
    edit(ArticleModel::Department, 7, QStringLiteral("пет"));
    s().btnAWriteChanged->click();
    t.inject(writeReply(7)); // acknowledges 6; 7 is refused
    QApplication::processEvents();
    EXPECT_EQ(writtenNumbers(), (std::vector<int>{6}));
    EXPECT_EQ(m().changedRows(), (std::vector<int>{7, 30}));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(UiText(Txt::TitleError))) << messages[0].toStdString();
    EXPECT_FALSE(w->link().busy());

    // Outside service mode the button does nothing, as the whole write.
    w->link().receiveBytes(QByteArray("\x5F\x10\x02\x04\x01\r", 6), true);
    t.writes.clear();
    s().btnAWriteChanged->setEnabled(true);
    s().btnAWriteChanged->click();
    EXPECT_TRUE(t.writes.isEmpty());
}

TEST_F(ArticlePartial, WriteChangedButtonFollowsTheWriteButton)
{
    s().btnAWrite->setEnabled(false);
    EXPECT_FALSE(s().btnAWriteChanged->isEnabled());
    s().btnAWrite->setEnabled(true);
    EXPECT_TRUE(s().btnAWriteChanged->isEnabled());
}

TEST_F(ArticlePartial, ClosingAsksOnlyWithUnwrittenChanges)
{
    w->show();
    w->close(); // nothing changed: no question
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_FALSE(w->isVisible());

    w->show();
    edit(ArticleModel::Name, 3, "unwritten");
    w->link().setSerialTransport(true);
    answer = 0;
    w->findChild<QPushButton *>("btnClose")->click();
    EXPECT_EQ(messages, QStringList{UiText(Txt::TitleWarning) + "|" + ToolText::closeWithUnwrittenChanges(1)});
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(t.writes.isEmpty()); // a "no" keeps the device in service mode as well
    w->close();
    EXPECT_EQ(messages.size(), 2);
    EXPECT_TRUE(w->isVisible());

    answer = 1;
    messages.clear();
    w->findChild<QPushButton *>("btnClose")->click();
    EXPECT_EQ(messages.size(), 1); // once: the closing itself does not ask again
    EXPECT_FALSE(w->isVisible());
    ASSERT_EQ(t.writes.size(), 1);
    EXPECT_EQ(t.writes[0], QByteArray("\x5F\x10\x00\r", 4));
}

TEST_F(ArticlePartial, TheCloseQuestionIsAModalDialogAnsweredByItsButtons)
{
    w->dialog().setResponder({});
    w->show();
    edit(ArticleModel::Name, 3, "unwritten");
    // The question is modal: a timer finds it open and presses one of its buttons.
    QString asked;
    const auto press = [&](bool ok) {
        QTimer::singleShot(50, [&, ok] {
            if (!w->dialog().isVisible())
                return;
            asked = w->dialog().tekst->toPlainText();
            (ok ? w->dialog().Button1 : w->dialog().Button2)->click();
        });
    };
    press(false);
    w->close();
    EXPECT_EQ(asked, ToolText::closeWithUnwrittenChanges(1));
    EXPECT_TRUE(w->isVisible());
    asked.clear();
    press(true);
    w->close();
    EXPECT_EQ(asked, ToolText::closeWithUnwrittenChanges(1));
    EXPECT_FALSE(w->isVisible());
}
