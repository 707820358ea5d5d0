#pragma once
// The check of a price typed into the article form and the text it is stored with.

#include <QLocale>
#include <QString>

class ArticlePrice {
public:
    // Largest price in hundredths (9999999.99).
    static constexpr long long kMaxHundredths = 999999999;

    // False when the text is no number, is above 9999999.99, has more than two characters after
    // its first decimal separator, is negative, or holds a minus sign anywhere.
    static bool acceptable(const QString &text, const QLocale &locale = QLocale());
    // The grid text of an accepted price: "0" put in front when it begins with the decimal
    // separator (",5" is stored as "0,5"); otherwise the text as typed.
    static QString forGrid(const QString &text, const QLocale &locale = QLocale());
};
