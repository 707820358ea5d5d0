#include "DateTimeFormats.h"

#include <QLocale>
#include <QRegularExpression>

namespace DateTimeFormats {

QString longTime()
{
    QString f = QLocale().timeFormat(QLocale::LongFormat);
    // Drop the zone token ("t", "tttt", optionally in parentheses) and the blanks before it.
    f.remove(QRegularExpression(QStringLiteral("\\s*\\(?\\bt+\\b\\)?")));
    f = f.trimmed();
    return f.isEmpty() ? QStringLiteral("HH:mm:ss") : f;
}

QString pickerDate()
{
    QString f = QLocale().dateFormat(QLocale::ShortFormat);
    if (!f.contains(QStringLiteral("yyyy")))
        f.replace(QRegularExpression(QStringLiteral("\\by{1,2}\\b")), QStringLiteral("yyyy"));
    return f;
}

QString formatLongTime(const QTime &time)
{
    return QLocale().toString(time, longTime());
}

QString formatShortDate(const QDate &date)
{
    return QLocale().toString(date, QLocale::ShortFormat);
}

QTime nowWholeSeconds()
{
    const QTime t = QTime::currentTime();
    return QTime(t.hour(), t.minute(), t.second());
}

} // namespace DateTimeFormats
