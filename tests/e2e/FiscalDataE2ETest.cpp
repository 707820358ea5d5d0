// Fiscalisation against the simulated printer over loopback TCP: once accepted, then refused.
#include "FiscalDataSection.h"
#include "SimFiscal.h"
#include "SimHarness.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>

#include <gtest/gtest.h>

TEST(FiscalDataE2E, FiscalisesOnceThenTheDeviceRefuses)
{
    SimHarness h(QStringLiteral("127.0.0.40"));
    ASSERT_TRUE(h.connected);
    SimFiscal &sim = *h.device.module<SimFiscal>();
    TfMain &w = *h.window;
    auto *tax = w.findChild<QLineEdit *>("edtDZL_DanNo");
    auto *gb1 = w.findChild<QGroupBox *>("GB1");
    ASSERT_TRUE(h.logIn());
    ASSERT_FALSE(w.findChild<QPushButton *>("btnWrite")->isEnabled());

    w.findChild<QPushButton *>("btnRead")->click();
    ASSERT_TRUE(waitUntil([&] { return w.findChild<QLineEdit *>("edtEKAFP_Ser_No")->text() == "QV00012345"; }));
    EXPECT_EQ(w.findChild<QLineEdit *>("edtFP_Ser_No")->text(), "FM0000067890");
    EXPECT_EQ(tax->text(), "");
    EXPECT_TRUE(w.findChild<QPushButton *>("btnWrite")->isEnabled());

    tax->setText("101234567");
    w.findChild<QPushButton *>("btnWrite")->click();
    ASSERT_TRUE(waitUntil([&] { return sim.fiscalised(); }));
    EXPECT_EQ(sim.taxNumber(), "101234567");
    ASSERT_EQ(h.messages.size(), 1); // the question only
    EXPECT_TRUE(h.messages[0].startsWith("Пажња!!! |"));

    tax->clear();
    w.findChild<QPushButton *>("btnRead")->click();
    ASSERT_TRUE(waitUntil([&] { return !gb1->isEnabled(); }));
    EXPECT_EQ(tax->text(), "101234567");
    EXPECT_EQ(w.findChild<QDateEdit *>("dtpDate")->date(), sim.fiscalisedAt().date());
    const QTime at = sim.fiscalisedAt().time();
    EXPECT_EQ(w.findChild<QTimeEdit *>("dtpTime")->time(), QTime(at.hour(), at.minute(), 0));
    EXPECT_FALSE(w.findChild<QPushButton *>("btnWrite")->isEnabled());

    // A second fiscal write (the button is off, so straight through the handler) is refused by the device.
    tax->setEnabled(true);
    tax->setText("999999999");
    w.findChild<FiscalDataSection *>()->btnWriteClick();
    ASSERT_TRUE(waitUntil([&] { return h.messages.size() == 3; }));
    EXPECT_EQ(h.messages[2], "Грешка !!! |Фискализација је већ урађена");
    EXPECT_EQ(sim.taxNumber(), "101234567");
}
