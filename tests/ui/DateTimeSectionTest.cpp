// Clock group: start-up state, the 0x60 read with lblFDT and the bound, the checked 0x65 write.
#include "DateTimeSection.h"
#include "FiscalSectionFixture.h"
#include "LastFiscalDateTime.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>

namespace {
class DateTime : public FiscalSectionFixture {
protected:
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
    void setPickers(const QDate &d, const QTime &t)
    {
        find<QDateEdit>("dtpSetDate")->setDate(d);
        find<QTimeEdit>("dtpSetTime")->setTime(t);
    }
    // Clock 14:30:05 on 9.4.2008 (byte 7 set to show it is not read), last fiscal record 1.2.2024 23:59.
    static QByteArray clockReply() { return QByteArray("\x05\x1E\x0E\x77\x09\x04\x6C\x01\x02\x7C\x17\x3B", 12); }
};
} // namespace

TEST_F(DateTime, StartUpState)
{
    auto *gb = find<QGroupBox>("GBTimeDate");
    EXPECT_EQ(gb->geometry(), QRect(400, 290, 396, 125));
    EXPECT_EQ(gb->title(), "Подешавање времена и датума : ");
    EXPECT_EQ(find<QLabel>("Label19")->text(), "Датум :");
    EXPECT_EQ(find<QLabel>("Label23")->text(), "Време :");
    EXPECT_EQ(find<QDateEdit>("dtpSetDate")->date(), QDate::currentDate());
    EXPECT_LE(std::abs(find<QTimeEdit>("dtpSetTime")->time().secsTo(QTime::currentTime())), 2);
    EXPECT_EQ(find<QPushButton>("btnReadDateTime")->text(), "Читање из касе");
    EXPECT_EQ(find<QPushButton>("btnWriteDateTime")->text(), "Унос у касу");
    auto *lbl = find<QLabel>("lblFDT");
    EXPECT_EQ(lbl->text(), "Фискални датум и време");
    EXPECT_TRUE(lbl->font().bold());
    EXPECT_EQ(lbl->font().pointSize(), 9);
    EXPECT_EQ(lbl->palette().color(QPalette::WindowText), QColor(Qt::red));
    for (const char *name :
         {"Label19", "Label23", "dtpSetDate", "dtpSetTime", "btnReadDateTime", "btnWriteDateTime", "lblFDT"}) {
        auto *w = find<QWidget>(name);
        EXPECT_TRUE(w->isEnabled()) << name;
        EXPECT_EQ(w->parentWidget(), gb) << name;
        EXPECT_TRUE(gb->rect().contains(w->geometry())) << name;
    }
}

TEST_F(DateTime, ReadRequestAndRefusal)
{
    QTest::mouseClick(find<QPushButton>("btnReadDateTime"), Qt::LeftButton);
    ASSERT_EQ(transport.writes.size(), 1);
    EXPECT_EQ(transport.writes[0].toHex(' '), "5f 60 00 0d");
    EXPECT_TRUE(link().replyPending());
    EXPECT_EQ(status(), "Молим сачекајте...");
    link().setServiceMode(false);
    section<DateTimeSection>().btnReadDateTimeClick();
    EXPECT_EQ(transport.writes.size(), 1);
    EXPECT_EQ(messages, QStringList{"Грешка !!! |Фискални принтер није у сервисном режиму."});
}

TEST_F(DateTime, ReplyShowsClockAndLastFiscalDateTime)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    find<QPushButton>("btnWriteDateTime")->setEnabled(false);
    reply(0x60, clockReply());
    EXPECT_EQ(find<QDateEdit>("dtpSetDate")->date(), QDate(2008, 4, 9));
    EXPECT_EQ(find<QTimeEdit>("dtpSetTime")->time(), QTime(14, 30, 5));
    EXPECT_EQ(find<QLabel>("lblFDT")->text(), "Фискални датум и време: 01.02.24 - 23:59:00");
    EXPECT_EQ(LastFiscalDateTime::of(window.get()).value(), QDateTime(QDate(2024, 2, 1), QTime(23, 59), Qt::UTC));
    EXPECT_TRUE(find<QPushButton>("btnWriteDateTime")->isEnabled());
    EXPECT_EQ(progress(), 0);
    EXPECT_EQ(status(), "Фискални принтер је у сервисном режиму...");

    // Invalid values fall back without a message.
    reply(0x60, QByteArray("\x00\x00\x18\x00\x20\x01\x78\x0A\x00\x78\x0A\x3C", 12));
    EXPECT_EQ(find<QDateEdit>("dtpSetDate")->date(), QDate(2004, 1, 1));
    EXPECT_EQ(find<QTimeEdit>("dtpSetTime")->time(), QTime(0, 0, 0));
    EXPECT_EQ(find<QLabel>("lblFDT")->text(), "Фискални датум и време: 01.01.04 - 00:00:00");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(DateTime, CaptionFollowsTheUsersFormats)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(DateTimeSection::fiscalCaption(QDate(2024, 2, 1), QTime(23, 59, 0)),
              "Фискални датум и време: 2/1/24 - 11:59:00 PM");
}

TEST_F(DateTime, AnySettingGoesBeforeTheFirstRead)
{
    setPickers(QDate(1990, 1, 1), QTime(0, 0, 0, 500));
    QTest::mouseClick(find<QPushButton>("btnWriteDateTime"), Qt::LeftButton);
    ASSERT_EQ(transport.writes.size(), 1);
    EXPECT_EQ(transport.writes[0].toHex(' '), "5f 65 07 00 00 00 00 01 01 5a 0d");
    EXPECT_FALSE(link().replyPending());
    EXPECT_EQ(progress(), 0);
    EXPECT_EQ(status(), "Фискални принтер је у сервисном режиму...");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(DateTime, SettingMustBeLaterThanLastFiscalDateTime)
{
    reply(0x60, clockReply()); // bound 1.2.2024 23:59:00
    setPickers(QDate(2024, 2, 1), QTime(23, 59, 0));
    QTest::mouseClick(find<QPushButton>("btnWriteDateTime"), Qt::LeftButton);
    EXPECT_TRUE(transport.writes.isEmpty());
    EXPECT_EQ(messages, QStringList{"Грешка !!! |Грешка у подацима ! Упис је отказан"});
    EXPECT_EQ(find<QDateEdit>("dtpSetDate")->date(), QDate(2024, 2, 1));

    setPickers(QDate(2024, 2, 1), QTime(23, 59, 1));
    QTest::mouseClick(find<QPushButton>("btnWriteDateTime"), Qt::LeftButton);
    ASSERT_EQ(transport.writes.size(), 1);
    EXPECT_EQ(transport.writes[0].toHex(' '), "5f 65 07 01 3b 17 00 01 02 7c 0d");
    EXPECT_TRUE(find<QPushButton>("btnWriteDateTime")->isEnabled());
    // A clock write never moves the bound.
    EXPECT_EQ(LastFiscalDateTime::of(window.get()).value(), QDateTime(QDate(2024, 2, 1), QTime(23, 59), Qt::UTC));
}

TEST_F(DateTime, FiscalWriteSetsTheBound)
{
    find<QLineEdit>("edtDZL_DanNo")->setText("101234567");
    find<QDateEdit>("dtpDate")->setDate(QDate(2025, 3, 3));
    find<QTimeEdit>("dtpTime")->setTime(QTime(10, 0, 0));
    QTest::mouseClick(find<QPushButton>("btnWrite"), Qt::LeftButton);
    ASSERT_EQ(transport.writes.size(), 1);
    setPickers(QDate(2025, 3, 3), QTime(9, 59, 59));
    QTest::mouseClick(find<QPushButton>("btnWriteDateTime"), Qt::LeftButton);
    EXPECT_EQ(transport.writes.size(), 1);
    EXPECT_EQ(messages.last(), "Грешка !!! |Грешка у подацима ! Упис је отказан");
    setPickers(QDate(2025, 3, 3), QTime(10, 0, 1));
    QTest::mouseClick(find<QPushButton>("btnWriteDateTime"), Qt::LeftButton);
    EXPECT_EQ(transport.writes.size(), 2);
}

TEST_F(DateTime, YearOffsetWrapsAndServiceRepliesSetButtons)
{
    setPickers(QDate(2156, 5, 6), QTime(1, 2, 3));
    QTest::mouseClick(find<QPushButton>("btnWriteDateTime"), Qt::LeftButton);
    ASSERT_EQ(transport.writes.size(), 1);
    EXPECT_EQ(transport.writes[0].at(9), '\0');

    // Both buttons are on from start-up: leaving service mode first makes the enabling visible.
    reply(0x10, "\x04\x01");
    EXPECT_FALSE(find<QPushButton>("btnReadDateTime")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("btnWriteDateTime")->isEnabled());
    reply(0x00, "\x04\x01");
    EXPECT_FALSE(find<QPushButton>("btnWriteDateTime")->isEnabled());
    EXPECT_TRUE(find<QPushButton>("btnReadDateTime")->isEnabled());
    reply(0x60, clockReply());
    EXPECT_TRUE(find<QPushButton>("btnWriteDateTime")->isEnabled());
    reply(0xFD, "\x04\x01");
    EXPECT_FALSE(find<QPushButton>("btnWriteDateTime")->isEnabled());
    reply(0x10, "\x04\x01");
    EXPECT_FALSE(find<QPushButton>("btnReadDateTime")->isEnabled());
    // Not zeroed, right model: the clock read comes back on by itself.
    reply(0xFD, "\x04\x01");
    EXPECT_TRUE(find<QPushButton>("btnReadDateTime")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("btnWriteDateTime")->isEnabled());
    reply(0x10, "\x04\x01");
    link().setServiceMode(false);
    find<QPushButton>("btnWriteDateTime")->setEnabled(true);
    QTest::mouseClick(find<QPushButton>("btnWriteDateTime"), Qt::LeftButton);
    EXPECT_EQ(transport.writes.size(), 1);
}
