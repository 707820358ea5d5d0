#pragma once
// The device's compact field forms: packed digits, factory-number bytes, switch bytes, text fields.

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

// Digit text (at most 14 characters count) -> 7 bytes, left-aligned, filled with 0xF nibbles.
std::array<uint8_t, 7> PackDigitsBcd(const QString &text);
// 7 packed bytes -> digit text; nibbles 10..15 are skipped wherever they stand.
QString UnpackBcdDigits(const uint8_t *bytes);
// Factory number (at most 6 characters count) -> 3 bytes, right-aligned, blanks as 0.
std::array<uint8_t, 3> FabrickiBrojToBCD(const QString &text);

inline constexpr uint8_t kSwitchOn = 0xCC;
inline constexpr uint8_t kSwitchOff = 0x33;
inline uint8_t SwitchByte(bool on)
{
    return on ? kSwitchOn : kSwitchOff;
}
// Only 0xCC means on.
inline bool SwitchIsOn(uint8_t b)
{
    return b == kSwitchOn;
}

// Text of a reply field: at most `width` bytes, ending at the first zero byte, Windows-1251.
QString ReadTextField(const uint8_t *bytes, int width);
// Text for a request field: Windows-1251 bytes cut to `width` (unmappable characters as '?').
QByteArray TextFieldBytes(const QString &text, int width);
