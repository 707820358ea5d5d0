#pragma once
// Exact conversion between decimal text in the user's locale and whole hundredths (rates, prices).

#include <QLocale>
#include <QString>

#include <cstdint>
#include <optional>

class Decimal {
public:
    // Magnitudes above this are reported as this value (far beyond any rate or price).
    static constexpr int64_t kSaturated = 1'000'000'000'000'000'000LL;

    // The number the text stands for, times 100, truncated toward zero, computed on the decimal
    // digits themselves ("8.53" gives 853, "0.29" gives 29). Accepted: blanks around the number,
    // an optional sign, digits with at most one locale decimal separator (at least one digit) and
    // an optional exponent ("1e3"). Group separators are not accepted. No value when the text is
    // no number.
    static std::optional<int64_t> toHundredths(const QString &text, const QLocale &locale = QLocale());

    // Hundredths written in the shortest form with the locale decimal separator:
    // 1800 gives "18", 850 gives "8.5", 805 gives "8.05", 0 gives "0".
    static QString fromHundredths(int64_t hundredths, const QLocale &locale = QLocale());
};
