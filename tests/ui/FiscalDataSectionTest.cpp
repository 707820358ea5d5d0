// Fiscal data group: start-up state, the 0x20 read, the one-time 0x25 write and its bound for the clock.
#include "FiscalDataSection.h"
#include "FiscalSectionFixture.h"
#include "LastFiscalDateTime.h"
#include "UiText.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>

#include <cstring>

namespace {
class FiscalData : public FiscalSectionFixture {
protected:
    // Reply data (positions 4..80) with the given state byte and tax number field.
    static QByteArray replyData(uint8_t state, const QByteArray &taxField, const char *date = "07.03.2024 14:25")
    {
        QByteArray d(77, '\0');
        d.replace(0, 10, "QV00012345");
        d.replace(20, 12, "FM0000067890");
        d.replace(40, 16, date);
        d.replace(57, taxField.size(), taxField);
        d[76] = char(state);
        return d;
    }
};

const QString kQuestion = QStringLiteral("Пажња!!! |Можете само једном да упишете податке о пореском обавезнику. Да ли "
                                         "заиста желите уписати ове податке у касу?");
} // namespace

TEST_F(FiscalData, StartUpState)
{
    auto *gb = find<QGroupBox>("gbFiscData");
    EXPECT_EQ(gb->geometry(), QRect(228, 4, 452, 178));
    EXPECT_EQ(gb->title(), "Фискални подаци");
    struct EditSpec {
        const char *name;
        const char *label;
        int maxLength;
        bool enabled;
    };
    const EditSpec edits[] = {{"edtEKAFP_Ser_No", "Сериjски броj касе:", 10, false},
                              {"edtFP_Ser_No", "Сериjски броj ФМ:", 12, false},
                              {"edtDZL_DanNo", "Порески броj трговца (ПИБ):", 13, true}};
    for (const EditSpec &e : edits) {
        auto *edit = find<QLineEdit>(e.name);
        auto *label = find<QLabel>((QByteArray(e.name) + "Label").constData());
        EXPECT_EQ(edit->parentWidget(), gb) << e.name;
        EXPECT_EQ(edit->maxLength(), e.maxLength) << e.name;
        EXPECT_EQ(edit->isEnabled(), e.enabled) << e.name;
        EXPECT_EQ(label->text(), QString::fromUtf8(e.label));
        EXPECT_TRUE(label->isEnabled()) << e.name; // the serial numbers' labels stay enabled
        EXPECT_TRUE(gb->rect().contains(edit->geometry())) << e.name;
    }
    EXPECT_TRUE(find<QLineEdit>("edtEKAFP_Ser_No")->isReadOnly());
    EXPECT_TRUE(find<QLineEdit>("edtFP_Ser_No")->isReadOnly());
    EXPECT_FALSE(find<QLineEdit>("edtDZL_DanNo")->isReadOnly());

    auto *gb1 = find<QGroupBox>("GB1");
    EXPECT_EQ(gb1->title(), "Увођење у експлоатациjу : ");
    EXPECT_TRUE(gb1->isEnabled());
    EXPECT_TRUE(gb->rect().contains(gb1->geometry()));
    EXPECT_EQ(find<QLabel>("Label1")->text(), "Датум :");
    EXPECT_EQ(find<QLabel>("Label2")->text(), "Време :");
    EXPECT_EQ(find<QDateEdit>("dtpDate")->date(), QDate::currentDate());
    EXPECT_LE(std::abs(find<QTimeEdit>("dtpTime")->time().secsTo(QTime::currentTime())), 2);
    EXPECT_EQ(find<QDateEdit>("dtpDate")->parentWidget(), gb1);
    for (const char *b : {"btnRead", "btnWrite"}) {
        EXPECT_TRUE(find<QPushButton>(b)->isEnabled());
        EXPECT_TRUE(gb->rect().contains(find<QPushButton>(b)->geometry()));
    }
    EXPECT_EQ(find<QPushButton>("btnRead")->text(), "Читање из касе");
    EXPECT_EQ(find<QPushButton>("btnWrite")->text(), "Унос у касу");
    EXPECT_FALSE(LastFiscalDateTime::of(window.get()).value().isValid());
}

TEST_F(FiscalData, ReadSendsRequestOrRefusesOutsideServiceMode)
{
    QTest::mouseClick(find<QPushButton>("btnRead"), Qt::LeftButton);
    ASSERT_EQ(transport.writes.size(), 1);
    EXPECT_EQ(transport.writes[0].toHex(' '), "5f 20 00 0d");
    EXPECT_TRUE(link().replyPending());
    EXPECT_TRUE(link().replyTimer().isActive());
    EXPECT_EQ(status(), "Молим сачекајте...");

    link().setServiceMode(false);
    section<FiscalDataSection>().btnReadClick();
    EXPECT_EQ(transport.writes.size(), 1);
    EXPECT_EQ(messages, QStringList{"Грешка !!! |Фискални принтер није у сервисном режиму."});
}

TEST_F(FiscalData, NotFiscalisedReplyFillsFieldsAndEnablesWrite)
{
    auto *tax = find<QLineEdit>("edtDZL_DanNo");
    tax->setText("old");
    find<QPushButton>("btnWrite")->setEnabled(false);
    find<QDateEdit>("dtpDate")->setDate(QDate(2010, 1, 1));
    reply(0x20, replyData(0x33, QByteArray(18, char(0xFF))));
    EXPECT_EQ(find<QLineEdit>("edtEKAFP_Ser_No")->text(), "QV00012345");
    EXPECT_EQ(find<QLineEdit>("edtFP_Ser_No")->text(), "FM0000067890");
    EXPECT_EQ(tax->text(), ""); // 0xFF empties the box
    EXPECT_TRUE(tax->isEnabled());
    EXPECT_TRUE(find<QPushButton>("btnWrite")->isEnabled());
    // Today and now, not the date field of the reply.
    EXPECT_EQ(find<QDateEdit>("dtpDate")->date(), QDate::currentDate());
    EXPECT_LE(std::abs(find<QTimeEdit>("dtpTime")->time().secsTo(QTime::currentTime())), 2);
    EXPECT_EQ(progress(), 0);
    EXPECT_EQ(status(), "Фискални принтер је у сервисном режиму...");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(FiscalData, FiscalisedReplyShowsDateReadOnly)
{
    reply(0x20, replyData(0xCC, QByteArray(18, '7'), "31.02.2024 25:10"));
    EXPECT_EQ(find<QLineEdit>("edtDZL_DanNo")->text(), QString(18, '7')); // not cut to the typing limit
    EXPECT_EQ(find<QDateEdit>("dtpDate")->date(), QDate(2004, 1, 1));
    EXPECT_EQ(find<QTimeEdit>("dtpTime")->time(), QTime(0, 0, 0));
    for (const char *name : {"edtDZL_DanNo", "btnWrite", "dtpDate", "dtpTime", "GB1"})
        EXPECT_FALSE(find<QWidget>(name)->isEnabled()) << name;
    EXPECT_EQ(find<QDateEdit>("dtpDate")->palette().color(QPalette::Disabled, QPalette::Base), QColor(Qt::white));
    EXPECT_EQ(find<QTimeEdit>("dtpTime")->palette().color(QPalette::Disabled, QPalette::Base), QColor(Qt::white));

    reply(0x20, replyData(0xCC, "123", "07.03.2024 14:25"));
    EXPECT_EQ(find<QDateEdit>("dtpDate")->date(), QDate(2024, 3, 7));
    EXPECT_EQ(find<QTimeEdit>("dtpTime")->time(), QTime(14, 25, 0));
    EXPECT_EQ(find<QLineEdit>("edtDZL_DanNo")->text(), "123");

    // A later read of a register that is not fiscalised enables the write again but not GB1.
    reply(0x20, replyData(0x33, QByteArray(18, char(0xFF))));
    EXPECT_TRUE(find<QPushButton>("btnWrite")->isEnabled());
    EXPECT_FALSE(find<QGroupBox>("GB1")->isEnabled());
}

TEST_F(FiscalData, LongSerialNumbersFromTheDeviceAreShownWhole)
{
    QByteArray d = replyData(0x33, "1");
    d.replace(0, 19, QByteArray(19, 'S'));
    d.replace(20, 19, QByteArray(19, 'F'));
    reply(0x20, d);
    EXPECT_EQ(find<QLineEdit>("edtEKAFP_Ser_No")->text(), QString(19, 'S'));
    EXPECT_EQ(find<QLineEdit>("edtFP_Ser_No")->text(), QString(19, 'F'));
}

TEST_F(FiscalData, WriteAsksFirstAndCancelSendsNothing)
{
    find<QLineEdit>("edtDZL_DanNo")->setText("101234567");
    answer = 0;
    QTest::mouseClick(find<QPushButton>("btnWrite"), Qt::LeftButton);
    EXPECT_EQ(messages, QStringList{kQuestion});
    EXPECT_TRUE(transport.writes.isEmpty());
    EXPECT_TRUE(find<QPushButton>("btnWrite")->isEnabled());
    EXPECT_FALSE(LastFiscalDateTime::of(window.get()).value().isValid());
}

TEST_F(FiscalData, WriteSendsSerialsAndTaxNumberAndSetsTheBound)
{
    reply(0x20, replyData(0x33, QByteArray(18, char(0xFF))));
    find<QLineEdit>("edtDZL_DanNo")->setText("101234567");
    find<QDateEdit>("dtpDate")->setDate(QDate(2024, 6, 1));
    find<QTimeEdit>("dtpTime")->setTime(QTime(9, 15, 30));
    QTest::mouseClick(find<QPushButton>("btnWrite"), Qt::LeftButton);
    ASSERT_EQ(transport.writes.size(), 1);
    const QByteArray w = transport.writes[0];
    ASSERT_EQ(w.size(), 58);
    EXPECT_EQ(w.left(3), QByteArray("\x5F\x25\x36"));
    EXPECT_EQ(w.mid(3, 20), QByteArray("QV00012345") + QByteArray(10, '\0'));
    EXPECT_EQ(w.mid(23, 20), QByteArray("FM0000067890") + QByteArray(8, '\0'));
    EXPECT_EQ(w.mid(43, 14), QByteArray("101234567") + QByteArray(5, '\0'));
    EXPECT_EQ(w.at(57), '\x0D');
    EXPECT_FALSE(link().replyPending());
    for (const char *name : {"btnWrite", "dtpDate", "dtpTime", "edtDZL_DanNo"})
        EXPECT_FALSE(find<QWidget>(name)->isEnabled()) << name;
    EXPECT_EQ(LastFiscalDateTime::of(window.get()).value(), QDateTime(QDate(2024, 6, 1), QTime(9, 15, 30), Qt::UTC));
    EXPECT_EQ(messages, QStringList{kQuestion});
    EXPECT_EQ(progress(), 0);
    EXPECT_EQ(status(), "Фискални принтер је у сервисном режиму...");
}

TEST_F(FiscalData, ShortTaxNumberRefusedLongOneCut)
{
    auto *tax = find<QLineEdit>("edtDZL_DanNo");
    tax->setText("1");
    QTest::mouseClick(find<QPushButton>("btnWrite"), Qt::LeftButton);
    EXPECT_TRUE(transport.writes.isEmpty());
    EXPECT_EQ(messages, (QStringList{kQuestion, "Грешка !!! |Грешка у подацима"}));
    EXPECT_TRUE(find<QPushButton>("btnWrite")->isEnabled());
    EXPECT_FALSE(LastFiscalDateTime::of(window.get()).value().isValid());

    // Eighteen characters can come from a reply; the frame takes the first fourteen only.
    reply(0x20, replyData(0x33, "123456789012345678"));
    EXPECT_EQ(tax->text(), "123456789012345678");
    QTest::mouseClick(find<QPushButton>("btnWrite"), Qt::LeftButton);
    ASSERT_EQ(transport.writes.size(), 1);
    EXPECT_EQ(transport.writes[0].mid(43, 15), QByteArray("12345678901234\x0D"));
}

TEST_F(FiscalData, WriteOutsideServiceModeDoesNothing)
{
    find<QLineEdit>("edtDZL_DanNo")->setText("101234567");
    link().setServiceMode(false);
    section<FiscalDataSection>().btnWriteClick();
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_TRUE(transport.writes.isEmpty());
}

TEST_F(FiscalData, ServiceModeRepliesSetTheButtons)
{
    // Both buttons are on from start-up: leaving service mode first makes the enabling visible.
    reply(0x10, "\x04\x01");
    EXPECT_FALSE(find<QPushButton>("btnRead")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("btnWrite")->isEnabled());
    reply(0x00, "\x04\x01");
    EXPECT_TRUE(find<QPushButton>("btnRead")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("btnWrite")->isEnabled());
    reply(0x20, replyData(0x33, QByteArray(18, char(0xFF))));
    EXPECT_TRUE(find<QPushButton>("btnWrite")->isEnabled());
    reply(0x10, "\x04\x01");
    EXPECT_FALSE(find<QPushButton>("btnRead")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("btnWrite")->isEnabled());
}
