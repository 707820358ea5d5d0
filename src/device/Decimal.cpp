#include "Decimal.h"

#include <string>

namespace {
bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool startsWithAt(const QString &s, qsizetype at, const QString &what)
{
    return !what.isEmpty() && QStringView(s).mid(at).startsWith(what);
}
} // namespace

std::optional<int64_t> Decimal::toHundredths(const QString &text, const QLocale &locale)
{
    const QString s = text.trimmed();
    const QString point = locale.decimalPoint();
    qsizetype i = 0;
    bool negative = false;
    if (i < s.size() && (s.at(i) == u'+' || s.at(i) == u'-')) {
        negative = s.at(i) == u'-';
        ++i;
    } else if (startsWithAt(s, i, locale.negativeSign())) {
        negative = true;
        i += locale.negativeSign().size();
    } else if (startsWithAt(s, i, locale.positiveSign())) {
        i += locale.positiveSign().size();
    }

    std::string digits;
    int fractionDigits = 0;
    bool seenPoint = false;
    while (i < s.size()) {
        if (isDigit(s.at(i))) {
            digits.push_back(char(s.at(i).unicode()));
            if (seenPoint)
                ++fractionDigits;
            ++i;
        } else if (!seenPoint && startsWithAt(s, i, point)) {
            seenPoint = true;
            i += point.size();
        } else {
            break;
        }
    }
    if (digits.empty())
        return std::nullopt;

    int64_t exponent = 0;
    if (i < s.size() && (s.at(i) == u'e' || s.at(i) == u'E')) {
        ++i;
        bool expNegative = false;
        if (i < s.size() && (s.at(i) == u'+' || s.at(i) == u'-')) {
            expNegative = s.at(i) == u'-';
            ++i;
        }
        if (i >= s.size() || !isDigit(s.at(i)))
            return std::nullopt;
        while (i < s.size() && isDigit(s.at(i))) {
            if (exponent < 100000)
                exponent = exponent * 10 + (s.at(i).unicode() - u'0');
            ++i;
        }
        if (expNegative)
            exponent = -exponent;
    }
    if (i != s.size())
        return std::nullopt;

    // value * 100 = digits * 10^shift; a negative shift drops digits (truncation toward zero).
    const int64_t shift = exponent - fractionDigits + 2;
    const size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return 0;
    digits.erase(0, first);
    if (shift < 0) {
        if (int64_t(digits.size()) <= -shift)
            return 0;
        digits.resize(digits.size() - size_t(-shift));
    } else if (int64_t(digits.size()) + shift > 19) {
        return negative ? -kSaturated : kSaturated;
    } else {
        digits.append(size_t(shift), '0');
    }
    if (digits.size() > 18)
        return negative ? -kSaturated : kSaturated;
    int64_t value = 0;
    for (char d : digits)
        value = value * 10 + (d - '0');
    if (value > kSaturated)
        value = kSaturated;
    return negative ? -value : value;
}

QString Decimal::fromHundredths(int64_t hundredths, const QLocale &locale)
{
    const bool negative = hundredths < 0;
    const uint64_t magnitude = negative ? uint64_t(0) - uint64_t(hundredths) : uint64_t(hundredths);
    QString out = QString::number(magnitude / 100);
    const unsigned cents = unsigned(magnitude % 100);
    if (cents != 0) {
        out += locale.decimalPoint();
        out += QChar(u'0' + int(cents / 10));
        if (cents % 10 != 0)
            out += QChar(u'0' + int(cents % 10));
    }
    return negative ? QStringLiteral("-") + out : out;
}
