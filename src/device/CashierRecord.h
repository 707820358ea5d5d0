#pragma once
// One cashier name as it travels to and from the device (read reply field and write request field).

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

class CashierRecord {
public:
    static constexpr int kCashiers = 64;
    // Name bytes in the read reply (positions 5..36).
    static constexpr int kReplyNameBytes = 32;
    // Name field of the write request (positions 5..37): 32 characters and a terminator.
    static constexpr int kRequestNameField = 33;
    static constexpr int kNameMaxChars = 32;

    // The name of a read reply from its first name byte on (32 bytes readable); nothing when the
    // first two bytes are 0xFF 0xFF (no name defined).
    static std::optional<QString> nameFromReply(const uint8_t *bytes);
    // Windows-1251 bytes of a name for the write request, cut to 32 so the terminator always fits.
    static QByteArray nameField(const QString &name);
};
