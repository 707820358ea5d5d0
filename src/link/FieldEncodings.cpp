#include "FieldEncodings.h"

#include "Cp1251.h"

namespace {
// A character contributes the low four bits of its Windows-1251 byte.
QByteArray nibbleSource(const QString &text, int maxChars)
{
    return Cp1251::encode(text.left(maxChars));
}
} // namespace

std::array<uint8_t, 7> PackDigitsBcd(const QString &text)
{
    uint8_t nib[14];
    for (auto &n : nib)
        n = 0x0F;
    const QByteArray b = nibbleSource(text, 14);
    for (int i = 0; i < b.size() && i < 14; ++i)
        nib[i] = static_cast<uint8_t>(b.at(i)) & 0x0F;
    std::array<uint8_t, 7> out{};
    for (int j = 0; j < 7; ++j)
        out[j] = static_cast<uint8_t>((nib[2 * j] << 4) | nib[2 * j + 1]);
    return out;
}

QString UnpackBcdDigits(const uint8_t *bytes)
{
    QString out;
    for (int j = 0; j < 7; ++j) {
        const int hi = bytes[j] >> 4;
        const int lo = bytes[j] & 0x0F;
        if (hi <= 9)
            out.append(QChar('0' + hi));
        if (lo <= 9)
            out.append(QChar('0' + lo));
    }
    return out;
}

std::array<uint8_t, 3> FabrickiBrojToBCD(const QString &text)
{
    QByteArray b = nibbleSource(text, 6);
    while (b.size() < 6)
        b.prepend(' ');
    std::array<uint8_t, 3> out{};
    for (int j = 0; j < 3; ++j) {
        const int hi = static_cast<uint8_t>(b.at(2 * j)) & 0x0F;
        const int lo = static_cast<uint8_t>(b.at(2 * j + 1)) & 0x0F;
        out[j] = static_cast<uint8_t>((hi << 4) | lo);
    }
    return out;
}

QString ReadTextField(const uint8_t *bytes, int width)
{
    int n = 0;
    while (n < width && bytes[n] != 0)
        ++n;
    return Cp1251::decode(bytes, n);
}

QByteArray TextFieldBytes(const QString &text, int width)
{
    return Cp1251::encode(text).left(width);
}
