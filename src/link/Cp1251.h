#pragma once
// Conversion between the program's Unicode text and the device's Windows-1251 bytes.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

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
// Adds to `found` each character of `text` that Windows-1251 cannot hold (the ones `encode` turns
// into '?') and that `found` does not hold yet, in the order they first appear; a surrogate pair is
// one character. Stops adding once `found` holds `limit` characters; returns false then.
bool collectUnencodable(QStringView text, QList<char32_t> &found, qsizetype limit = 64);
// The characters of `texts` that Windows-1251 cannot hold, for a message: blank-separated, those that
// print nothing named as U+XXXX, "..." after the first 64. Empty when every character can be held.
QString listUnencodable(const QStringList &texts);
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
