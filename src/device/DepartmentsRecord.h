#pragma once
// Wire form of the ten department names and the restaurant mode (0xA0 reply, 0xA5 write).

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

struct DepartmentsRecord {
    static constexpr int kDepartments = 10;
    // A name field is 19 bytes; the tool sends and reads at most 18 characters of it.
    static constexpr int kField = 19;
    static constexpr int kNameLength = 18;
    // The device needs a name of two characters at least.
    static constexpr int kMinNameLength = 2;
    // Reply data from frame position 4: the ten fields and the mode byte (position 194).
    static constexpr int kReplySize = kDepartments * kField + 1;
    // Write data from frame position 4: the ten fields, 0x00, the mode byte (position 195).
    static constexpr int kWriteSize = kDepartments * kField + 2;

    std::array<QString, kDepartments> names;
    bool restaurantMode = false;

    static DepartmentsRecord decode(const uint8_t *data);
    QByteArray encode() const;
    // Every name has at least two characters.
    bool valid() const;

    // JSON form: "departments" (ten objects with "number" 1..10 and "name") and "restaurantMode".
    QJsonObject toJson() const;
    // Reads the JSON form; false, with `error` saying what and where, when it does not fit.
    // `texts` receives every name for the Windows-1251 check.
    static bool fromJson(const QJsonValue &json, DepartmentsRecord &record, QString &error,
                         QStringList *texts = nullptr);
};
