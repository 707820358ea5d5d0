#pragma once
// Wire form of the device clock and last fiscal record (0x60 reply) and of a clock setting (0x65).

#include <QByteArray>
#include <QDate>
#include <QJsonObject>
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

    // The years a clock setting can carry: (year - 1900) has to fit its byte.
    static constexpr int kFirstYear = 1900;
    static constexpr int kLastYear = 1900 + 255;

    // JSON form of the clock: {"date": "2024-05-10", "time": "12:30:05"}.
    QJsonObject toJson() const;
    // Reads the JSON form of a clock setting; false, with `error` saying what and where, when it
    // is not a date and a time of day of the years above.
    static bool fromJson(const QJsonValue &json, QDate &date, QTime &time, QString &error);
};
