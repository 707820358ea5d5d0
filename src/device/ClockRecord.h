#pragma once
// Wire form of the device clock and last fiscal record (0x60 reply) and of a clock setting (0x65).

#include <QByteArray>
#include <QDate>
#include <QTime>

#include <cstdint>

struct ClockRecord {
    static constexpr int kReplySize = 12; // data bytes, frame positions 4..15
    static constexpr int kWriteSize = 7;  // data bytes, frame positions 4..10

    // Fallbacks (1 January 2004, 00:00:00) already applied to values that are not a date or time.
    QDate clockDate;
    QTime clockTime;
    QDate fiscalDate;
    QTime fiscalTime; // seconds are always 0

    static ClockRecord decode(const uint8_t *data);
    // Seconds, minutes, hours, 0, day, month, (year - 1900) mod 256; milliseconds are dropped.
    static QByteArray encodeWrite(const QDate &date, const QTime &time);

    // Year 1900 + yearByte, month, day; 1 January 2004 when they are not a date.
    static QDate dateFrom(int yearByte, int month, int day);
    // Hours, minutes, seconds; 00:00:00 when they are not a time.
    static QTime timeFrom(int hours, int minutes, int seconds);
};
