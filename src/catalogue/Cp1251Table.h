#pragma once
// Table-driven Windows-1251 conversion for bulk text (the article file): one byte per character.

#include <QByteArray>
#include <QString>

class Cp1251Table {
public:
    // Appends the bytes of `text`; a character Windows-1251 cannot hold (a surrogate pair counts as
    // one character) becomes '?', as in the link's own conversion.
    static void append(QByteArray &out, QStringView text);
    static QByteArray encode(QStringView text);
    // Every byte is one character.
    static QString decode(const char *bytes, qsizetype length);
    static QString decode(const QByteArray &bytes) { return decode(bytes.constData(), bytes.size()); }
};
