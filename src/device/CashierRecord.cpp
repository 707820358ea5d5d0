#include "CashierRecord.h"

#include "FieldEncodings.h"

CashierRecord CashierRecord::decode(const uint8_t *data)
{
    CashierRecord r;
    r.number = data[0];
    r.name = nameFromReply(data + 1);
    return r;
}

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
