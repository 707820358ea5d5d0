#include "LongFrame.h"

#include "FieldEncodings.h"

QByteArray BuildLongFrame(const QString &factoryNumber, uint8_t command, const QByteArray &data)
{
    const auto fab = FabrickiBrojToBCD(factoryNumber);
    QByteArray f;
    f.append(char(0xAA)).append(char(0x04)).append(char(0x01));
    for (uint8_t b : fab)
        f.append(char(b));
    f.append(char(0x01)).append(char(command)).append(char(data.size() & 0xFF));
    f.append(data);
    uint8_t sum = 0, x = 0;
    for (char c : f) {
        sum = uint8_t(sum + uint8_t(c));
        x = uint8_t(x ^ uint8_t(c));
    }
    f.append(char(sum)).append(char(x)).append(char(0x0D));
    return f;
}
