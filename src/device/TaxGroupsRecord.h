#pragma once
// Wire form of the nine tax-group rates and their change counter (0x70 reply, 0x75 write).

#include <QByteArray>
#include <QDate>
#include <QJsonObject>
#include <QString>
#include <QTime>

#include <array>
#include <cstdint>

struct TaxGroupsRecord {
    static constexpr int kGroups = 9;
    // Reply data from frame position 4: nine rates, an unused byte, day, month, year - 1900,
    // change count, hour, minute.
    static constexpr int kReplySize = 25;
    // Write data from frame position 4: nine rates, 0xCC, the group count and the nine letters.
    static constexpr int kWriteSize = 29;
    // A rate in hundredths of a percent; 10000 and above is an undefined group, written as 0xFFFF.
    static constexpr uint16_t kUndefinedRate = 0xFFFF;
    static constexpr int kMaxRate = 9999;
    static constexpr uint8_t kNeverChanged = 0xFF;
    static constexpr int kAllowedChanges = 30;

    std::array<uint16_t, kGroups> rates{kUndefinedRate, kUndefinedRate, kUndefinedRate, kUndefinedRate, kUndefinedRate,
                                        kUndefinedRate, kUndefinedRate, kUndefinedRate, kUndefinedRate};
    uint8_t changeCount = kNeverChanged;
    uint8_t day = 0;
    uint8_t month = 0;
    uint8_t yearSince1900 = 0;
    uint8_t hour = 0;
    uint8_t minute = 0;

    static TaxGroupsRecord decode(const uint8_t *data);
    // The 29 write bytes; the letters are always the nine of the letter table.
    QByteArray encode() const;

    bool defined(int group) const { return rates[size_t(group)] <= kMaxRate; }
    // Changes the device still allows: 30 when it was never changed.
    int remainingChanges() const;
    // Date and time of the last change as the reply gives them (may be invalid; nothing when never changed).
    QDate changeDate() const;
    QTime changeTime() const;

    // JSON form: "groups" (nine objects with "letter" and "rate", the rate as decimal text with '.',
    // null for an undefined group), and from a read "remainingChanges" and "lastChange"
    // ("yyyy-MM-ddTHH:mm", null when never changed or not a valid date).
    QJsonObject toJson() const;
    // Reads the rates of the JSON form ("remainingChanges" and "lastChange" are the device's own and
    // are not read); false, with `error` saying what and where, when it does not fit.
    static bool fromJson(const QJsonValue &json, TaxGroupsRecord &record, QString &error);
};
