#include "Cp1251.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace Cp1251 {

QByteArray encode(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    QStringEncoder encoder("windows-1251");
    // Encoded character by character so that each unmappable character (or a lone
    // surrogate) gives exactly one '?', keeping the one-byte-per-character rule.
    for (qsizetype i = 0; i < text.size(); ++i) {
        qsizetype len = 1;
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            len = 2;
        const QStringView ch = QStringView(text).mid(i, len);
        i += len - 1;
        if (ch.size() == 1 && ch.at(0).unicode() < 0x80) {
            out.append(static_cast<char>(ch.at(0).unicode()));
            continue;
        }
        QByteArray b = encoder.encode(ch);
        // The converter may put a substitute (0x1A) or a look-alike in place of a character the code
        // page lacks without reporting an error; only a byte that decodes back to the same character counts.
        if (encoder.hasError() || b.size() != 1 || QString(QStringDecoder("windows-1251").decode(b)) != ch) {
            encoder = QStringEncoder("windows-1251");
            out.append('?');
        } else {
            out.append(b);
        }
    }
    return out;
}

QString decode(const QByteArray &bytes)
{
    QStringDecoder decoder("windows-1251");
    return decoder.decode(bytes);
}

QString decode(const unsigned char *bytes, int length)
{
    return decode(QByteArray(reinterpret_cast<const char *>(bytes), length));
}

} // namespace Cp1251
