// Clock on the wire: the 0x60 reply with its fallbacks and the 0x65 setting.
#include "ClockRecord.h"

#include <gtest/gtest.h>

#include <array>

TEST(ClockRecord, DecodesClockAndLastFiscalRecord)
{
    const std::array<uint8_t, 12> d = {5, 30, 14, 0x77, 9, 4, 108, 1, 2, 124, 23, 59};
    const ClockRecord r = ClockRecord::decode(d.data());
    EXPECT_EQ(r.clockTime, QTime(14, 30, 5));
    EXPECT_EQ(r.clockDate, QDate(2008, 4, 9));
    EXPECT_EQ(r.fiscalDate, QDate(2024, 2, 1));
    EXPECT_EQ(r.fiscalTime, QTime(23, 59, 0));
}

TEST(ClockRecord, InvalidValuesFallBack)
{
    const std::array<uint8_t, 12> d = {0, 0, 24, 0, 32, 1, 120, 10, 0, 120, 10, 60};
    const ClockRecord r = ClockRecord::decode(d.data());
    EXPECT_EQ(r.clockTime, QTime(0, 0, 0));     // hour 24
    EXPECT_EQ(r.clockDate, QDate(2004, 1, 1));  // day 32
    EXPECT_EQ(r.fiscalDate, QDate(2004, 1, 1)); // month 0
    EXPECT_EQ(r.fiscalTime, QTime(0, 0, 0));    // minute 60
    EXPECT_EQ(ClockRecord::dateFrom(124, 2, 30), QDate(2004, 1, 1));
    EXPECT_EQ(ClockRecord::dateFrom(255, 12, 31), QDate(2155, 12, 31));
}

TEST(ClockRecord, WriteLayout)
{
    EXPECT_EQ(ClockRecord::encodeWrite(QDate(2008, 4, 9), QTime(14, 30, 5, 999)),
              QByteArray("\x05\x1E\x0E\x00\x09\x04\x6C", 7));
    // The year counts from 1900 modulo 256: 2156 sends 0.
    EXPECT_EQ(ClockRecord::encodeWrite(QDate(2156, 1, 2), QTime(0, 0, 0)).at(6), '\0');
    EXPECT_EQ(uint8_t(ClockRecord::encodeWrite(QDate(2155, 1, 2), QTime(0, 0, 0)).at(6)), 255);
}
