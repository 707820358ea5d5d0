// Taxpayer group: start-up state, the 0x30 read in frame order and the 0x35 write.
#include "TaxpayerSection.h"
#include "FiscalSectionFixture.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {
class Taxpayer : public FiscalSectionFixture {};

// Screen order, top to bottom, with the label and the field's place in the frame (1-based).
struct Box {
    const char *name;
    const char *label;
    int field;
};
const Box kBoxes[] = {{"edtPr_Tel", "Назив обjекта :", 3},
                      {"edtPr_Name", "Адреса :", 1},
                      {"edtDZL_Name", "Броj телефона :", 4},
                      {"edtDZL_Addr", "Назив трговца :", 2},
                      {"edtDZL_Bulstat", "Статистички броj трговца :", 5}};
} // namespace

TEST_F(Taxpayer, StartUpState)
{
    auto *gb = find<QGroupBox>("GBCompany");
    EXPECT_EQ(gb->geometry(), QRect(4, 26, 392, 182));
    EXPECT_EQ(gb->title(), "Подаци о трговцу:");
    EXPECT_EQ(gb->parentWidget()->objectName(), "TabCompany");
    int lastY = -1;
    for (const Box &b : kBoxes) {
        auto *e = find<QLineEdit>(b.name);
        auto *l = find<QLabel>((QByteArray(b.name) + "Label").constData());
        EXPECT_EQ(e->parentWidget(), gb);
        EXPECT_EQ(e->maxLength(), 31) << b.name;
        EXPECT_TRUE(e->isEnabled()) << b.name;
        EXPECT_EQ(e->text(), "");
        EXPECT_EQ(l->text(), QString::fromUtf8(b.label));
        EXPECT_GT(e->y(), lastY) << b.name; // top to bottom in this order
        lastY = e->y();
        EXPECT_TRUE(gb->rect().contains(e->geometry())) << b.name;
        EXPECT_TRUE(e->font().bold());
        EXPECT_EQ(e->palette().color(QPalette::Active, QPalette::Text), QColor(Qt::blue));
    }
    for (const char *name : {"btnCompanyRead", "btnCompanyWrite"}) {
        EXPECT_TRUE(find<QPushButton>(name)->isEnabled());
        EXPECT_TRUE(gb->rect().contains(find<QPushButton>(name)->geometry()));
    }
    EXPECT_EQ(find<QPushButton>("btnCompanyRead")->text(), "Читање из касе");
    EXPECT_EQ(find<QPushButton>("btnCompanyWrite")->text(), "Унос у касу");
}

TEST_F(Taxpayer, ReadRequestAndRefusal)
{
    QTest::mouseClick(find<QPushButton>("btnCompanyRead"), Qt::LeftButton);
    ASSERT_EQ(transport.writes.size(), 1);
    EXPECT_EQ(transport.writes[0].toHex(' '), "5f 30 00 0d");
    EXPECT_TRUE(link().replyPending());
    EXPECT_EQ(status(), "Молим сачекајте...");
    link().setServiceMode(false);
    section<TaxpayerSection>().btnCompanyReadClick();
    EXPECT_EQ(transport.writes.size(), 1);
    EXPECT_EQ(messages, QStringList{"Грешка !!! |Фискални принтер није у сервисном режиму."});
}

TEST_F(Taxpayer, ReplyFillsBoxesInFrameOrder)
{
    find<QPushButton>("btnCompanyWrite")->setEnabled(false);
    find<QLineEdit>("edtDZL_Name")->setText("stale");
    QByteArray d(160, '\0');
    for (int f = 1; f <= 5; ++f)
        d.replace((f - 1) * 32, 6, QByteArray("field") + char('0' + f));
    d.replace(96, 6, QByteArray(6, '\0')); // field 4 empty
    d.replace(128, 32, QByteArray(32, char(0xFF)));
    reply(0x30, d);
    EXPECT_EQ(find<QLineEdit>("edtPr_Name")->text(), "field1");
    EXPECT_EQ(find<QLineEdit>("edtDZL_Addr")->text(), "field2");
    EXPECT_EQ(find<QLineEdit>("edtPr_Tel")->text(), "field3");
    EXPECT_EQ(find<QLineEdit>("edtDZL_Name")->text(), "");
    EXPECT_EQ(find<QLineEdit>("edtDZL_Bulstat")->text(), QString(31, QChar(0x044F))); // 31 letters я
    EXPECT_TRUE(find<QPushButton>("btnCompanyWrite")->isEnabled());
    EXPECT_EQ(progress(), 0);
    EXPECT_EQ(status(), "Фискални принтер је у сервисном режиму...");
}

TEST_F(Taxpayer, WriteSendsTheRecordInFrameOrder)
{
    for (const Box &b : kBoxes)
        find<QLineEdit>(b.name)->setText(QStringLiteral("Поље %1").arg(b.field));
    QTest::mouseClick(find<QPushButton>("btnCompanyWrite"), Qt::LeftButton);
    ASSERT_EQ(transport.writes.size(), 1);
    const QByteArray w = transport.writes[0];
    ASSERT_EQ(w.size(), 164);
    EXPECT_EQ(w.left(3), QByteArray("\x5F\x35\xA0"));
    EXPECT_EQ(w.at(163), '\x0D');
    for (int f = 1; f <= 5; ++f) {
        const QByteArray expected = QByteArray("\xCF\xEE\x9A\xE5 ") + char('0' + f); // "Поље n" in Windows-1251
        EXPECT_EQ(w.mid(3 + (f - 1) * 32, 32), expected + QByteArray(32 - expected.size(), '\0')) << f;
    }
    EXPECT_FALSE(link().replyPending());
    EXPECT_TRUE(find<QPushButton>("btnCompanyWrite")->isEnabled());
    EXPECT_EQ(progress(), 0);
    EXPECT_EQ(status(), "Фискални принтер је у сервисном режиму...");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Taxpayer, OnlyTheStatisticalNumberIsRequired)
{
    find<QLineEdit>("edtPr_Name")->setText(QString(31, 'x'));
    QTest::mouseClick(find<QPushButton>("btnCompanyWrite"), Qt::LeftButton);
    EXPECT_TRUE(transport.writes.isEmpty());
    EXPECT_EQ(messages, QStringList{"Грешка !!! |Грешка у подацима"});
    EXPECT_EQ(find<QLineEdit>("edtPr_Name")->text(), QString(31, 'x'));

    find<QLineEdit>("edtPr_Name")->clear();
    find<QLineEdit>("edtDZL_Bulstat")->setText("08765432");
    QTest::mouseClick(find<QPushButton>("btnCompanyWrite"), Qt::LeftButton);
    ASSERT_EQ(transport.writes.size(), 1);
    EXPECT_EQ(transport.writes[0].mid(3, 128), QByteArray(128, '\0'));
    EXPECT_EQ(transport.writes[0].mid(131, 32), QByteArray("08765432") + QByteArray(24, '\0'));
}

TEST_F(Taxpayer, WriteOutsideServiceModeDoesNothingAndServiceRepliesSetButtons)
{
    find<QLineEdit>("edtDZL_Bulstat")->setText("1");
    link().setServiceMode(false);
    section<TaxpayerSection>().btnCompanyWriteClick();
    EXPECT_TRUE(transport.writes.isEmpty());
    EXPECT_TRUE(messages.isEmpty());

    // Both buttons are on from start-up: leaving service mode first makes the enabling visible.
    reply(0x10, "\x04\x01");
    EXPECT_FALSE(find<QPushButton>("btnCompanyRead")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("btnCompanyWrite")->isEnabled());
    reply(0x00, "\x04\x01");
    EXPECT_TRUE(find<QPushButton>("btnCompanyRead")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("btnCompanyWrite")->isEnabled());
    reply(0x30, QByteArray(160, '\0'));
    EXPECT_TRUE(find<QPushButton>("btnCompanyWrite")->isEnabled());
    reply(0x10, "\x04\x01");
    EXPECT_FALSE(find<QPushButton>("btnCompanyRead")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("btnCompanyWrite")->isEnabled());
}
