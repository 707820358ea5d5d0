// The device clock over loopback TCP: the tool's bound, the device's own refusal, a setting read back.
#include "LastFiscalDateTime.h"
#include "SimFiscal.h"
#include "SimHarness.h"

#include <QDateEdit>
#include <QPushButton>
#include <QTimeEdit>

#include <gtest/gtest.h>

TEST(DateTimeE2E, ToolAndDeviceBothGuardTheLastFiscalRecord)
{
    SimHarness h(QStringLiteral("127.0.0.42"));
    ASSERT_TRUE(h.connected);
    SimFiscal &sim = *h.device.module<SimFiscal>();
    TfMain &w = *h.window;
    int acks = 0, reads = 0;
    QObject::connect(&h.link(), &DeviceLink::replyDispatched, [&](uint8_t code) {
        acks += code == SimulatedDevice::kAckCode;
        reads += code == 0x60;
    });
    // The device knows the seconds of its last fiscal record; its reply carries only hours and minutes.
    sim.setLastFiscalRecord(QDateTime(QDate(2024, 5, 10), QTime(12, 30, 45), Qt::UTC));
    auto *date = w.findChild<QDateEdit *>("dtpSetDate");
    auto *time = w.findChild<QTimeEdit *>("dtpSetTime");
    auto *write = w.findChild<QPushButton *>("btnWriteDateTime");

    w.findChild<QPushButton *>("btnReadDateTime")->click();
    ASSERT_TRUE(waitUntil([&] { return reads == 1; }));
    EXPECT_EQ(date->date(), QDate::currentDate());
    EXPECT_LE(std::abs(time->time().secsTo(QTime::currentTime())), 3);
    EXPECT_EQ(LastFiscalDateTime::of(&w).value(), QDateTime(QDate(2024, 5, 10), QTime(12, 30), Qt::UTC));
    EXPECT_TRUE(w.findChild<QLabel *>("lblFDT")->text().startsWith("Фискални датум и време: "));

    // Before the bound: refused by the tool, nothing reaches the device.
    date->setDate(QDate(2024, 5, 10));
    time->setTime(QTime(12, 29, 0));
    write->click();
    ASSERT_EQ(h.messages.size(), 1);
    EXPECT_EQ(h.messages[0], "Грешка !!! |Грешка у подацима ! Упис је отказан");

    // After the tool's bound but before the record's seconds: the device refuses.
    time->setTime(QTime(12, 30, 20));
    write->click();
    ASSERT_TRUE(waitUntil([&] { return h.messages.size() == 2; }));
    EXPECT_EQ(h.messages[1], "Грешка !!! |Нови датум је мањи од последњег фискалног датума");
    EXPECT_EQ(sim.clockOffsetSeconds(), 0);

    // A later setting is taken and reads back.
    date->setDate(QDate(2031, 1, 2));
    time->setTime(QTime(8, 0, 0));
    write->click();
    ASSERT_TRUE(waitUntil([&] { return acks == 1; }));
    EXPECT_LE(std::abs(sim.clock().secsTo(QDateTime(QDate(2031, 1, 2), QTime(8, 0, 0), Qt::UTC))), 2);
    date->setDate(QDate(2000, 1, 1));
    w.findChild<QPushButton *>("btnReadDateTime")->click();
    ASSERT_TRUE(waitUntil([&] { return reads == 2; }));
    EXPECT_EQ(date->date(), QDate(2031, 1, 2));
    EXPECT_LE(std::abs(time->time().secsTo(QTime(8, 0, 0))), 3);
    EXPECT_EQ(h.messages.size(), 2);
}
