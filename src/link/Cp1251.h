#pragma once
// Conversion between the program's Unicode text and the device's Windows-1251 bytes.

#include <QByteArray>
#include <QString>

namespace Cp1251 {
// One byte per character; a character Windows-1251 cannot hold becomes '?'.
QByteArray encode(const QString &text);
// Every byte is a character of Windows-1251.
QString decode(const QByteArray &bytes);
QString decode(const unsigned char *bytes, int length);
} // namespace Cp1251
