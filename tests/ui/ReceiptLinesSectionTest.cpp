// Header, footer and display lines: start-up state, check-box behaviour, the 0x40 read and 0x45 write.
#include "ReceiptLinesSection.h"
#include "FiscalSectionFixture.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {
class ReceiptLines : public FiscalSectionFixture {};

struct Line {
    const char *box;
    const char *caption;
    const char *captionText;
    const char *edit;
    const char *editLabel;
};
// In frame order: receipt lines 1..4, display working first/second, closed first/second.
const Line kLines[] = {{"chbFTop", "chbFTopLabel", "Први ред ", "edtFTop", "Први ред :"},
                       {"chbSTop", "chbSTopLabel", "Други ред :", "edtSTop", "Други ред :"},
                       {"chbFBottom", "chbFBottomLabel", "Трећи ред ", "edtFBottom", "Трећи ред :"},
                       {"chbSBottom", "chbSBottomLabel", "Четврти ред ", "edtSBottom", "Четврти ред :"},
                       {"chbLCD1_1", "chbLCD1Label", "Први ред", "edtLCD1_1", "Први"},
                       {"chbLCD1_2", "Label14", "Други ред", "edtLCD1_2", "Други"},
                       {"chbLCD2_1", "Label15", "Први ред-затворен", "edtLCD2_1", "Први"},
                       {"chbLCD2_2", "Label20", "Други ред-затворен", "edtLCD2_2", "Други"}};

QByteArray record(uint8_t receiptSwitch, uint8_t displaySwitch)
{
    QByteArray d(204, '\0');
    for (int i = 0; i < 4; ++i) {
        d.replace(i * 32, 2, QByteArray("R") + char('1' + i));
        d[128 + i] = char(receiptSwitch);
        d.replace(132 + i * 17, 2, QByteArray("D") + char('1' + i));
        d[200 + i] = char(displaySwitch);
    }
    return d;
}
} // namespace

TEST_F(ReceiptLines, StartUpState)
{
    auto *gb = find<QGroupBox>("GBKlishe");
    EXPECT_EQ(gb->geometry(), QRect(400, 26, 396, 262));
    EXPECT_EQ(gb->title(), " Поруке : ");
    for (const Line &l : kLines) {
        auto *box = find<QCheckBox>(l.box);
        auto *edit = find<QLineEdit>(l.edit);
        EXPECT_FALSE(box->isChecked()) << l.box;
        EXPECT_TRUE(box->isEnabled()) << l.box;
        EXPECT_FALSE(edit->isEnabled()) << l.edit; // cleared at activation through the box's behaviour
        EXPECT_EQ(edit->maxLength(), 31) << l.edit;
        EXPECT_EQ(edit->palette().color(QPalette::Active, QPalette::Base), QColor(0xFF, 0xFF, 0xE1));
        EXPECT_EQ(find<QLabel>(l.caption)->text(), QString::fromUtf8(l.captionText)) << l.caption;
        EXPECT_EQ(find<QLabel>((QByteArray(l.edit) + "Label").constData())->text(), QString::fromUtf8(l.editLabel));
        for (QWidget *w : std::initializer_list<QWidget *>{box, edit}) {
            EXPECT_EQ(w->parentWidget(), gb);
            EXPECT_TRUE(gb->rect().contains(w->geometry())) << w->objectName().toStdString();
        }
    }
    EXPECT_EQ(find<QPushButton>("btnReadCliche")->text(), "Читање из касе");
    EXPECT_EQ(find<QPushButton>("btnWriteCliche")->text(), "Унос у касу");
    EXPECT_TRUE(find<QPushButton>("btnReadCliche")->isEnabled());
    EXPECT_TRUE(find<QPushButton>("btnWriteCliche")->isEnabled());
}

TEST_F(ReceiptLines, BoxEnablesItsEditOnlyOnAChange)
{
    auto *box = find<QCheckBox>("chbSBottom");
    auto *edit = find<QLineEdit>("edtSBottom");
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_TRUE(box->isChecked());
    EXPECT_TRUE(edit->isEnabled());
    edit->setText("kept");
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_EQ(edit->text(), "kept");
    // Setting a box to the state it has runs nothing.
    edit->setEnabled(true);
    box->setChecked(false);
    EXPECT_TRUE(edit->isEnabled());
}

TEST_F(ReceiptLines, ReadRequestAndRefusal)
{
    QTest::mouseClick(find<QPushButton>("btnReadCliche"), Qt::LeftButton);
    ASSERT_EQ(transport.writes.size(), 1);
    EXPECT_EQ(transport.writes[0].toHex(' '), "5f 40 00 0d");
    EXPECT_TRUE(link().replyPending());
    EXPECT_EQ(status(), "Молим сачекајте...");
    link().setServiceMode(false);
    section<ReceiptLinesSection>().btnReadClicheClick();
    EXPECT_EQ(transport.writes.size(), 1);
    EXPECT_EQ(messages, QStringList{"Грешка !!! |Фискални принтер није у сервисном режиму."});
}

TEST_F(ReceiptLines, ReplySetsBoxesAndTexts)
{
    find<QPushButton>("btnWriteCliche")->setEnabled(false);
    QByteArray d = record(0xCC, 0xCC);
    d[129] = char(0x33);
    d[130] = char(0x00);
    d[131] = char(0xFF);
    d.replace(0, 32, QByteArray(32, 'x'));   // 31 characters shown, the 32nd byte ignored
    d.replace(183, 17, QByteArray(17, 'y')); // a full display field
    reply(0x40, d);
    const bool on[] = {true, false, false, false, true, true, true, true};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(find<QCheckBox>(kLines[i].box)->isChecked(), on[i]) << kLines[i].box;
        EXPECT_EQ(find<QLineEdit>(kLines[i].edit)->isEnabled(), on[i]) << kLines[i].edit;
    }
    EXPECT_EQ(find<QLineEdit>("edtFTop")->text(), QString(31, 'x'));
    EXPECT_EQ(find<QLineEdit>("edtSTop")->text(), "R2");
    EXPECT_EQ(find<QLineEdit>("edtLCD1_1")->text(), "D1");
    EXPECT_EQ(find<QLineEdit>("edtLCD2_1")->text(), "D3");
    EXPECT_EQ(find<QLineEdit>("edtLCD2_2")->text(), QString(17, 'y'));
    EXPECT_TRUE(find<QPushButton>("btnWriteCliche")->isEnabled());
    EXPECT_EQ(progress(), 0);
    EXPECT_EQ(status(), "Фискални принтер је у сервисном режиму...");
}

TEST_F(ReceiptLines, ReplyWithUnchangedSwitchesLeavesEnabledStates)
{
    // All boxes are clear; an edit enabled by hand stays enabled when the reply keeps its box clear.
    find<QLineEdit>("edtFTop")->setEnabled(true);
    reply(0x40, record(0x33, 0x33));
    EXPECT_TRUE(find<QLineEdit>("edtFTop")->isEnabled());
    EXPECT_FALSE(find<QLineEdit>("edtSTop")->isEnabled());
}

TEST_F(ReceiptLines, WriteSendsEveryLineWithItsSwitch)
{
    for (const Line &l : kLines)
        find<QLineEdit>(l.edit)->setText(QString::fromLatin1(l.edit));
    find<QLineEdit>("edtLCD1_2")->setText(QString(31, 'L'));
    find<QCheckBox>("chbFTop")->setChecked(true);
    find<QCheckBox>("chbLCD2_2")->setChecked(true);
    QTest::mouseClick(find<QPushButton>("btnWriteCliche"), Qt::LeftButton);
    ASSERT_EQ(transport.writes.size(), 1);
    const QByteArray w = transport.writes[0];
    ASSERT_EQ(w.size(), 208);
    EXPECT_EQ(w.left(3), QByteArray("\x5F\x45\xCC"));
    EXPECT_EQ(w.at(207), '\x0D');
    const QByteArray d = w.mid(3, 204);
    EXPECT_EQ(d.mid(0, 32), QByteArray("edtFTop") + QByteArray(25, '\0'));
    EXPECT_EQ(d.mid(32, 32), QByteArray("edtSTop") + QByteArray(25, '\0')); // sent although switched off
    EXPECT_EQ(d.mid(96, 32), QByteArray("edtSBottom") + QByteArray(22, '\0'));
    EXPECT_EQ(d.mid(128, 4), QByteArray("\xCC\x33\x33\x33"));
    EXPECT_EQ(d.mid(132, 17), QByteArray("edtLCD1_1") + QByteArray(8, '\0'));
    EXPECT_EQ(d.mid(149, 17), QByteArray(17, 'L')); // first 17 characters, no zero byte
    EXPECT_EQ(d.mid(166, 17), QByteArray("edtLCD2_1") + QByteArray(8, '\0'));
    EXPECT_EQ(d.mid(183, 17), QByteArray("edtLCD2_2") + QByteArray(8, '\0'));
    EXPECT_EQ(d.mid(200, 4), QByteArray("\x33\x33\x33\xCC"));
    EXPECT_FALSE(link().replyPending());
    EXPECT_EQ(progress(), 0);
    EXPECT_EQ(status(), "Фискални принтер је у сервисном режиму...");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(ReceiptLines, WriteOutsideServiceModeDoesNothingAndServiceRepliesSetButtons)
{
    link().setServiceMode(false);
    section<ReceiptLinesSection>().btnWriteClicheClick();
    EXPECT_TRUE(transport.writes.isEmpty());
    EXPECT_TRUE(messages.isEmpty());
    // Both buttons are on from start-up: leaving service mode first makes the enabling visible.
    reply(0x10, "\x04\x01");
    EXPECT_FALSE(find<QPushButton>("btnReadCliche")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("btnWriteCliche")->isEnabled());
    reply(0x00, "\x04\x01");
    EXPECT_TRUE(find<QPushButton>("btnReadCliche")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("btnWriteCliche")->isEnabled());
    reply(0x40, record(0x33, 0x33));
    EXPECT_TRUE(find<QPushButton>("btnWriteCliche")->isEnabled());
    reply(0x10, "\x04\x01");
    EXPECT_FALSE(find<QPushButton>("btnReadCliche")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("btnWriteCliche")->isEnabled());
}
