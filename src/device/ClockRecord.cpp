#include "ClockRecord.h"

#include "JsonFields.h"
#include "ToolText.h"

namespace {
const char *const kDateFormat = "yyyy-MM-dd";
const char *const kTimeFormat = "HH:mm:ss";
} // namespace

QDate ClockRecord::dateFrom(int yearByte, int month, int day)
{
    const QDate d(1900 + yearByte, month, day);
    return d.isValid() ? d : QDate(2004, 1, 1);
}

QTime ClockRecord::timeFrom(int hours, int minutes, int seconds)
{
    const QTime t(hours, minutes, seconds);
    return t.isValid() ? t : QTime(0, 0, 0);
}

ClockRecord ClockRecord::decode(const uint8_t *d)
{
    ClockRecord r;
    r.clockTime = timeFrom(d[2], d[1], d[0]);
    // d[3] (frame position 7) is not read.
    r.clockDate = dateFrom(d[6], d[5], d[4]);
    r.fiscalDate = dateFrom(d[9], d[8], d[7]);
    r.fiscalTime = timeFrom(d[10], d[11], 0);
    return r;
}

QByteArray ClockRecord::encodeWrite(const QDate &date, const QTime &time)
{
    QByteArray out(kWriteSize, '\0');
    out[0] = char(time.second());
    out[1] = char(time.minute());
    out[2] = char(time.hour());
    out[3] = 0;
    out[4] = char(date.day());
    out[5] = char(date.month());
    out[6] = char(uint8_t((date.year() - 1900) & 0xFF));
    return out;
}

QJsonObject ClockRecord::toJson() const
{
    return QJsonObject{{QLatin1String("date"), clockDate.toString(QLatin1String(kDateFormat))},
                       {QLatin1String("time"), clockTime.toString(QLatin1String(kTimeFormat))}};
}

bool ClockRecord::fromJson(const QJsonValue &json, QDate &date, QTime &time, QString &error)
{
    JsonFields f(json, QStringLiteral("clock"));
    const QString dateText = f.string(QStringLiteral("date"));
    const QString timeText = f.string(QStringLiteral("time"));
    if (f.ok()) {
        // The exact lengths keep out the forms Qt would also take ("2024-5-1", "1:2:3").
        const QDate d = QDate::fromString(dateText, QLatin1String(kDateFormat));
        const QTime t = QTime::fromString(timeText, QLatin1String(kTimeFormat));
        if (dateText.size() != 10 || !d.isValid())
            f.fail(QStringLiteral("date"), ToolText::JsonExpectedDate());
        else if (d.year() < kFirstYear || d.year() > kLastYear)
            f.fail(QStringLiteral("date"), ToolText::clockYearOutOfRange());
        else if (timeText.size() != 8 || !t.isValid())
            f.fail(QStringLiteral("time"), ToolText::JsonExpectedTime());
        date = d;
        time = t;
    }
    error = f.error();
    return f.ok();
}
