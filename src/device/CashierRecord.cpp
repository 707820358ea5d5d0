#include "CashierRecord.h"

#include "FieldEncodings.h"

std::optional<QString> CashierRecord::nameFromReply(const uint8_t *bytes)
{
    if (bytes[0] == 0xFF && bytes[1] == 0xFF)
        return std::nullopt;
    return ReadTextField(bytes, kReplyNameBytes);
}

QByteArray CashierRecord::nameField(const QString &name)
{
    return TextFieldBytes(name, kNameMaxChars);
}
