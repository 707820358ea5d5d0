// Taxpayer data written to the simulated printer over loopback TCP and read back.
#include "SimFiscal.h"
#include "SimHarness.h"
#include "TaxpayerRecord.h"

#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

TEST(TaxpayerE2E, WrittenDataReadsBackEqual)
{
    SimHarness h(QStringLiteral("127.0.0.41"));
    ASSERT_TRUE(h.connected);
    TfMain &w = *h.window;
    int acks = 0, reads = 0;
    QObject::connect(&h.link(), &DeviceLink::replyDispatched, [&](uint8_t code) {
        acks += code == SimulatedDevice::kAckCode;
        reads += code == 0x30;
    });
    const std::pair<const char *, QString> values[] = {{"edtPr_Tel", QStringLiteral("Продавница „Код Ђоке“")},
                                                       {"edtPr_Name", QStringLiteral("Кнеза Михаила 12, Београд")},
                                                       {"edtDZL_Name", QStringLiteral("011/123-456")},
                                                       {"edtDZL_Addr", QStringLiteral("Ђорђе Јовановић ПР")},
                                                       {"edtDZL_Bulstat", QStringLiteral("08765432")}};
    for (const auto &[name, text] : values)
        w.findChild<QLineEdit *>(name)->setText(text);
    w.findChild<QPushButton *>("btnCompanyWrite")->click();
    ASSERT_TRUE(waitUntil([&] { return acks == 1; }));
    const QByteArray stored = h.device.module<SimFiscal>()->taxpayer();
    EXPECT_EQ(stored.mid(64, 32).left(10), QByteArray("\xCF\xF0\xEE\xE4\xE0\xE2\xED\xE8\xF6\xE0")); // Продавница

    for (const auto &[name, text] : values)
        w.findChild<QLineEdit *>(name)->clear();
    w.findChild<QPushButton *>("btnCompanyRead")->click();
    ASSERT_TRUE(waitUntil([&] { return reads == 1; }));
    // „ and “ exist in Windows-1251, so the text comes back unchanged.
    for (const auto &[name, text] : values)
        EXPECT_EQ(w.findChild<QLineEdit *>(name)->text(), text) << name;
    EXPECT_TRUE(h.messages.isEmpty());
}
