#include "IntegerField.h"

std::optional<int> CheckedInteger(const QString &text, int min, int max)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text.at(i) == u' ' || text.at(i) == u'\t'))
        ++i;
    bool negative = false;
    if (i < n && (text.at(i) == u'+' || text.at(i) == u'-')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    if (i == n)
        return std::nullopt;
    // Accumulated with a ceiling so that a long run of digits cannot overflow.
    constexpr qint64 kCeiling = qint64(1) << 40;
    qint64 value = 0;
    for (; i < n; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > kCeiling)
            value = kCeiling;
    }
    if (negative)
        value = -value;
    if (value < min || value > max)
        return std::nullopt;
    return int(value);
}
