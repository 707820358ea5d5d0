#pragma once
// One cashier as it travels to and from the device: its number and name (0x90 reply, 0x95 write).

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
    // Write request data from frame position 4: the number and the name field.
    static constexpr int kRequestSize = 1 + kRequestNameField;

    // The number at position 4 (of a read reply: the cashier it holds; of a write reply: the
    // cashier the device asks for next).
    int number = 0;
    // Nothing when the device has no name defined for the cashier.
    std::optional<QString> name;

    // A read reply from frame position 4 on (33 bytes readable).
    static CashierRecord decode(const uint8_t *data);

    // The name of a read reply from its first name byte on (32 bytes readable); nothing when the
    // first two bytes are 0xFF 0xFF (no name defined).
    static std::optional<QString> nameFromReply(const uint8_t *bytes);
    // Windows-1251 bytes of a name for the write request, cut to 32 so the terminator always fits.
    static QByteArray nameField(const QString &name);
};
