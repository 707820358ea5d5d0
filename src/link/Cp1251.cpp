#include "Cp1251.h"

#include <QStringDecoder>

#include <array>
#include <cstdint>

namespace {
// Both directions as tables, made once from Qt's own "windows-1251" decoder.
struct Tables {
    std::array<char16_t, 256> toUnicode{};
    std::array<uint8_t, 65536> fromUnicode{}; // 0 = not in the code page (byte 0 itself is U+0000)

    Tables()
    {
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            QStringDecoder decoder("windows-1251");
            const QString s = decoder.decode(QByteArrayView(&byte, 1));
            toUnicode[size_t(b)] = s.size() == 1 ? s.at(0).unicode() : u'\uFFFD';
        }
        for (int b = 1; b < 256; ++b) {
            const char16_t u = toUnicode[size_t(b)];
            if (u != u'\uFFFD' && fromUnicode[u] == 0)
                fromUnicode[u] = uint8_t(b);
        }
    }
};

const Tables &tables()
{
    static const Tables t;
    return t;
}
} // namespace

namespace Cp1251 {

void append(QByteArray &out, QStringView text)
{
    const Tables &t = tables();
    const qsizetype start = out.size();
    out.resize(start + text.size());
    char *d = out.data() + start;
    const QChar *p = text.data();
    const QChar *end = p + text.size();
    while (p != end) {
        const char16_t u = (p++)->unicode();
        if (u < 0x80) {
            *d++ = char(u);
        } else if (QChar::isHighSurrogate(u) && p != end && p->isLowSurrogate()) {
            ++p;
            *d++ = '?';
        } else {
            const uint8_t b = t.fromUnicode[u];
            *d++ = b != 0 ? char(b) : '?';
        }
    }
    out.resize(d - out.data());
}

bool collectUnencodable(QStringView text, QList<char32_t> &found, qsizetype limit)
{
    const Tables &t = tables();
    const QChar *p = text.data();
    const QChar *end = p + text.size();
    while (p != end) {
        char32_t u = (p++)->unicode();
        if (u < 0x80)
            continue;
        if (QChar::isHighSurrogate(u) && p != end && p->isLowSurrogate())
            u = QChar::surrogateToUcs4(char16_t(u), (p++)->unicode());
        else if (t.fromUnicode[u] != 0)
            continue;
        if (found.contains(u))
            continue;
        if (found.size() >= limit)
            return false;
        found.append(u);
    }
    return true;
}

QString listUnencodable(const QStringList &texts)
{
    QList<char32_t> found;
    bool complete = true;
    for (const QString &text : texts)
        if (!(complete = collectUnencodable(text, found)))
            break;
    QStringList listed;
    for (char32_t c : found) // characters that print nothing are named by their code
        listed.append(QChar::isPrint(c) ? QString::fromUcs4(&c, 1)
                                        : QStringLiteral("U+%1").arg(uint(c), 4, 16, QChar('0')).toUpper());
    if (!complete)
        listed.append(QStringLiteral("..."));
    return listed.join(' ');
}

QByteArray encode(QStringView text)
{
    QByteArray out;
    out.reserve(text.size());
    append(out, text);
    return out;
}

QString decode(const char *bytes, qsizetype length)
{
    const Tables &t = tables();
    QString out(length, Qt::Uninitialized);
    QChar *d = out.data();
    for (qsizetype i = 0; i < length; ++i)
        d[i] = QChar(t.toUnicode[uint8_t(bytes[i])]);
    return out;
}

} // namespace Cp1251
