#pragma once
// Conversion between the program's Unicode text and the device's Windows-1251 bytes.

#include <QByteArray>
#include <QString>

namespace Cp1251 {
// One byte per character; a character Windows-1251 cannot hold (a surrogate pair counts as one
// character) becomes '?'.
QByteArray encode(QStringView text);
inline QByteArray encode(const QString &text)
{
    return encode(QStringView(text));
}
// The same, appended to `out` (for bulk text such as the article file).
void append(QByteArray &out, QStringView text);
// Every byte is one character of Windows-1251.
QString decode(const char *bytes, qsizetype length);
inline QString decode(const QByteArray &bytes)
{
    return decode(bytes.constData(), bytes.size());
}
inline QString decode(const unsigned char *bytes, int length)
{
    return decode(reinterpret_cast<const char *>(bytes), length);
}
} // namespace Cp1251
