#include "ArticlePrice.h"

#include "Decimal.h"

bool ArticlePrice::acceptable(const QString &text, const QLocale &locale)
{
    const std::optional<int64_t> hundredths = Decimal::toHundredths(text, locale);
    if (!hundredths)
        return false;
    if (*hundredths > kMaxHundredths)
        return false;
    const QString point = locale.decimalPoint();
    const qsizetype at = text.indexOf(point);
    if (at >= 0 && text.size() - (at + point.size()) > 2)
        return false;
    if (*hundredths < 0)
        return false;
    return !text.contains(u'-');
}

QString ArticlePrice::forGrid(const QString &text, const QLocale &locale)
{
    if (text.startsWith(locale.decimalPoint()))
        return QStringLiteral("0") + text;
    return text;
}
