// Receipt header, footer and display lines written to the simulated printer and read back.
#include "SimFiscal.h"
#include "SimHarness.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

TEST(ReceiptLinesE2E, WrittenLinesAndSwitchesReadBackEqual)
{
    SimHarness h(QStringLiteral("127.0.0.43"));
    ASSERT_TRUE(h.connected);
    TfMain &w = *h.window;
    int acks = 0, reads = 0;
    QObject::connect(&h.link(), &DeviceLink::replyDispatched, [&](uint8_t code) {
        acks += code == SimulatedDevice::kAckCode;
        reads += code == 0x40;
    });
    struct Line {
        const char *box;
        const char *edit;
        bool on;
        QString text;
    };
    const Line lines[] = {{"chbFTop", "edtFTop", true, QStringLiteral("ДОБРО ДОШЛИ")},
                          {"chbSTop", "edtSTop", false, QStringLiteral("Други ред заглавља")},
                          {"chbFBottom", "edtFBottom", true, QStringLiteral("ХВАЛА НА ПОСЕТИ")},
                          {"chbSBottom", "edtSBottom", true, QString(31, QChar(0x0416))},
                          {"chbLCD1_1", "edtLCD1_1", true, QStringLiteral("Каса ради")},
                          {"chbLCD1_2", "edtLCD1_2", false, QStringLiteral("Изволите")},
                          {"chbLCD2_1", "edtLCD2_1", true, QStringLiteral("Затворено")},
                          {"chbLCD2_2", "edtLCD2_2", true, QString(17, 'Z')}};
    for (const Line &l : lines) {
        w.findChild<QCheckBox *>(l.box)->setChecked(l.on);
        w.findChild<QLineEdit *>(l.edit)->setText(l.text);
    }
    w.findChild<QPushButton *>("btnWriteCliche")->click();
    ASSERT_TRUE(waitUntil([&] { return acks == 1; }));
    const QByteArray stored = h.device.module<SimFiscal>()->receiptLines();
    EXPECT_EQ(stored.mid(128, 4), QByteArray("\xCC\x33\xCC\xCC"));
    EXPECT_EQ(stored.mid(200, 4), QByteArray("\xCC\x33\xCC\xCC"));

    for (const Line &l : lines) {
        w.findChild<QCheckBox *>(l.box)->setChecked(!l.on);
        w.findChild<QLineEdit *>(l.edit)->clear();
    }
    w.findChild<QPushButton *>("btnReadCliche")->click();
    ASSERT_TRUE(waitUntil([&] { return reads == 1; }));
    for (const Line &l : lines) {
        EXPECT_EQ(w.findChild<QCheckBox *>(l.box)->isChecked(), l.on) << l.box;
        EXPECT_EQ(w.findChild<QLineEdit *>(l.edit)->isEnabled(), l.on) << l.edit;
        EXPECT_EQ(w.findChild<QLineEdit *>(l.edit)->text(), l.text) << l.edit;
    }
    EXPECT_TRUE(h.messages.isEmpty());
}
