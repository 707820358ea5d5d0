// Tax groups on the window: start-up grid, read reply handling, write request and its refusals.
#include "TaxGroupsSection.h"
#include "CatalogueFixture.h"
#include "UiText.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTimeEdit>

namespace {
QByteArray readReply(const std::array<uint16_t, 9> &rates, uint8_t day, uint8_t month, uint8_t year, uint8_t count,
                     uint8_t hour, uint8_t minute)
{
    QByteArray d;
    for (uint16_t r : rates)
        d.append(char(r & 0xFF)).append(char(r >> 8));
    d.append('\0').append(char(day)).append(char(month)).append(char(year)).append(char(count));
    d.append(char(hour)).append(char(minute));
    return d;
}

std::array<uint16_t, 9> allUndefined()
{
    std::array<uint16_t, 9> r{};
    r.fill(0xFFFF);
    return r;
}

class TaxGroups : public CatalogueTest {
protected:
    TaxGroupsSection &s() { return section<TaxGroupsSection>(); }
    void setRates(const QStringList &texts)
    {
        for (int i = 0; i < 9; ++i)
            s().setCell(1, i + 1, i < texts.size() ? texts[i] : QString());
    }
    void clickWrite()
    {
        s().btnTGWrite->setEnabled(true);
        QTest::mouseClick(s().btnTGWrite, Qt::LeftButton);
    }
};
} // namespace

TEST_F(TaxGroups, StartUpGridPickersAndCaptions)
{
    EXPECT_EQ(s().gbTaxGroups->title(), " Пореске стопе : ");
    EXPECT_EQ(s().gbTaxGroups->geometry(), QRect(2, 26, 196, 389));
    EXPECT_EQ(s().cell(0, 0), "П. Ст.");
    EXPECT_EQ(s().cell(1, 0), "%(0.0-99.99)");
    const QStringList letters = {"А", "Г", "Д", "Ђ", "Е", "Ж", "И", "Ј", "К"};
    for (int r = 1; r <= 9; ++r) {
        EXPECT_EQ(s().cell(0, r), letters[r - 1]);
        EXPECT_FALSE(s().taxModel->item(r - 1, 0)->flags() & Qt::ItemIsEditable);
        EXPECT_TRUE(s().taxModel->item(r - 1, 1)->flags() & Qt::ItemIsEditable);
    }
    EXPECT_EQ(s().taxModel->rowCount(), 9);
    EXPECT_EQ(s().sgTaxGroups->currentIndex(), s().taxModel->index(0, 1));
    EXPECT_EQ(s().sgTaxGroups->columnWidth(0), 30);
    EXPECT_EQ(s().sgTaxGroups->columnWidth(1), 66);
    EXPECT_FALSE(s().dtpTGTime->isEnabled());
    EXPECT_FALSE(s().dtpTaxGroups->isEnabled());
    EXPECT_EQ(s().dtpTaxGroups->date(), QDate::currentDate());
    EXPECT_EQ(s().lblTGTime->text(), "Параметризација фискалне касе");
    EXPECT_EQ(s().lblTGDate->text(), "Датум промене :");
    EXPECT_EQ(s().btnTGRead->text(), "Читање из касе");
    EXPECT_EQ(s().btnTGWrite->text(), "Унос у касу");
}

TEST_F(TaxGroups, CommaLocaleHeading)
{
    LocaleScope comma(commaLocale());
    build();
    EXPECT_EQ(s().cell(1, 0), "%(0,0-99,99)");
}

TEST_F(TaxGroups, ReadSendsRequestAndReplyFillsGrid)
{
    QTest::mouseClick(s().btnTGRead, Qt::LeftButton);
    ASSERT_EQ(t.writes.size(), 1);
    EXPECT_EQ(t.writes[0].toHex(' '), "5f 70 00 0d");
    EXPECT_TRUE(w->link().replyPending());
    EXPECT_EQ(w->statusText(), "Молим сачекајте...");

    const QDate before = s().dtpTaxGroups->date();
    const QTime beforeTime = s().dtpTGTime->time();
    s().btnTGWrite->setEnabled(false);
    child<QPushButton>("btnAWrite")->setEnabled(true);
    child<QPushButton>("btnARead")->setEnabled(false);
    reply(0x70, readReply({1800, 850, 2050, 0, 9999, 10000, 0xFFFF, 1, 805}, 1, 2, 120, 0xFF, 10, 20));
    const QStringList expected = {"18", "8.5", "20.5", "0", "99.99", "**,**", "**,**", "0.01", "8.05"};
    for (int r = 1; r <= 9; ++r)
        EXPECT_EQ(s().cell(1, r), expected[r - 1]) << r;
    // Count 0xFF: never changed, the pickers keep their values, 30 changes remain.
    EXPECT_EQ(s().dtpTaxGroups->date(), before);
    EXPECT_EQ(s().dtpTGTime->time().hour(), beforeTime.hour());
    EXPECT_EQ(messages, QStringList({"Пажња!!! |Можете да промените пореске стопе jош 30 пута!!!"}));
    EXPECT_TRUE(s().btnTGWrite->isEnabled());
    EXPECT_TRUE(child<QPushButton>("btnARead")->isEnabled());
    EXPECT_FALSE(child<QPushButton>("btnAWrite")->isEnabled());
    EXPECT_EQ(progress(), 0);
    EXPECT_EQ(w->statusText(), "Фискални принтер је у сервисном режиму...");
}

TEST_F(TaxGroups, ChangeCountDatesAndTheLastChange)
{
    reply(0x70, readReply(allUndefined(), 15, 6, 124, 29, 13, 45));
    EXPECT_EQ(s().dtpTaxGroups->date(), QDate(2024, 6, 15));
    EXPECT_EQ(s().dtpTGTime->time(), QTime(13, 45));
    EXPECT_EQ(messages.last(), "Пажња!!! |Можете да промените пореске стопе jош 1 пута!!!");
    EXPECT_TRUE(s().btnTGWrite->isEnabled());
    for (int r = 1; r <= 9; ++r)
        EXPECT_EQ(s().cell(1, r), "**,**");

    // A date or time the calendar does not have falls back to 1 January 2004 and 00:00.
    reply(0x70, readReply(allUndefined(), 31, 2, 124, 0, 25, 61));
    EXPECT_EQ(s().dtpTaxGroups->date(), QDate(2004, 1, 1));
    EXPECT_EQ(s().dtpTGTime->time(), QTime(0, 0));
    EXPECT_EQ(messages.last(), "Пажња!!! |Можете да промените пореске стопе jош 30 пута!!!");

    reply(0x70, readReply(allUndefined(), 1, 1, 125, 30, 0, 0));
    EXPECT_EQ(messages.last(), "Пажња!!! |Можете да промените пореске стопе jош 0 пута!!!");
    EXPECT_FALSE(s().btnTGWrite->isEnabled());
}

TEST_F(TaxGroups, WriteFrameLayout)
{
    setRates({"99.99", "**,**", "", "8,5", "0", "8.53", "0.29", "18", " 20 "});
    clickWrite();
    ASSERT_EQ(t.writes.size(), 1);
    const QByteArray f = t.writes[0];
    ASSERT_EQ(f.size(), 33);
    EXPECT_EQ(f.left(3).toHex(' '), "5f 75 1d");
    // 9999; undefined (no number, empty, decimal comma under a full-stop locale); 0; 853; 29; 1800; 2000
    EXPECT_EQ(f.mid(3, 18).toHex(' '), "0f 27 ff ff ff ff ff ff 00 00 55 03 1d 00 08 07 d0 07");
    EXPECT_EQ(f.mid(21, 2).toHex(' '), "cc 09");
    EXPECT_EQ(f.mid(23, 9).toHex(' '), "c0 c3 c4 80 c5 c6 c8 a3 ca");
    EXPECT_EQ(uint8_t(f[32]), 0x0D);
    EXPECT_FALSE(w->link().replyPending());
    EXPECT_FALSE(s().btnTGWrite->isEnabled());
    EXPECT_EQ(progress(), 0);
    EXPECT_EQ(w->statusText(), "Фискални принтер је у сервисном режиму...");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(TaxGroups, LettersAreTheTableLettersWhateverTheGridShows)
{
    s().setCell(0, 1, "X");
    clickWrite();
    ASSERT_EQ(t.writes.size(), 1);
    EXPECT_EQ(t.writes[0].mid(23, 9).toHex(' '), "c0 c3 c4 80 c5 c6 c8 a3 ca");
    EXPECT_EQ(t.writes[0].mid(3, 18), QByteArray(18, char(0xFF))); // all empty: undefined
}

TEST_F(TaxGroups, OutOfRangeRateRefusesTheWholeWrite)
{
    for (const char *bad : {"100", "-1", "655.36", "-0.01"}) {
        messages.clear();
        setRates({"18", bad});
        clickWrite();
        EXPECT_TRUE(t.writes.isEmpty()) << bad;
        EXPECT_EQ(messages, QStringList({"Грешка !!! |Грешка у подацима ! Упис је отказан"})) << bad;
        EXPECT_EQ(s().cell(1, 2), bad);
        EXPECT_FALSE(s().btnTGWrite->isEnabled());
        EXPECT_EQ(progress(), 0);
    }
    // 99.999 truncates to 99.99, and a negative zero is zero.
    setRates({"99.999", "-0"});
    clickWrite();
    ASSERT_EQ(t.writes.size(), 1);
    EXPECT_EQ(t.writes[0].mid(3, 4).toHex(' '), "0f 27 00 00");
}

TEST_F(TaxGroups, CommaLocaleReadAndExactWrite)
{
    LocaleScope comma(commaLocale());
    build();
    reply(0x70, readReply({850, 853, 29, 0xFFFF, 0, 0, 0, 0, 0}, 1, 1, 124, 5, 1, 1));
    EXPECT_EQ(s().cell(1, 1), "8,5");
    EXPECT_EQ(s().cell(1, 2), "8,53");
    EXPECT_EQ(s().cell(1, 4), "**,**");
    s().setCell(1, 5, "8.5"); // a full stop is no decimal separator here
    clickWrite();
    ASSERT_EQ(t.writes.size(), 1);
    EXPECT_EQ(t.writes[0].mid(3, 10).toHex(' '), "52 03 55 03 1d 00 ff ff ff ff");
}

TEST_F(TaxGroups, OutsideServiceModeReadIsRefusedAndWriteDoesNothing)
{
    w->link().setServiceMode(false);
    QTest::mouseClick(s().btnTGRead, Qt::LeftButton);
    EXPECT_TRUE(t.writes.isEmpty());
    EXPECT_EQ(messages, QStringList({"Грешка !!! |Фискални принтер није у сервисном режиму."}));
    messages.clear();
    clickWrite();
    EXPECT_TRUE(t.writes.isEmpty());
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_TRUE(s().btnTGWrite->isEnabled());
}

TEST_F(TaxGroups, TypingIntoTheRateColumn)
{
    w->show();
    w->btPage2Click();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    QTableView *grid = s().sgTaxGroups;
    grid->setCurrentIndex(s().taxModel->index(2, 1));
    QTest::keyClick(grid, '7'); // a key opens the cell's editor
    auto *editor = grid->viewport()->findChild<QLineEdit *>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, ".5");
    EXPECT_EQ(editor->text(), "7.5");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the editor commits through a queued call
    EXPECT_EQ(s().cell(1, 3), "7.5");
    clickWrite();
    ASSERT_EQ(t.writes.size(), 1);
    EXPECT_EQ(t.writes[0].mid(7, 2).toHex(' '), "ee 02");
}
