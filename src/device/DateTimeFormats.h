#pragma once
// The user's date and time formats for the pickers and the fiscal date-time caption.

#include <QDate>
#include <QString>
#include <QTime>

namespace DateTimeFormats {
// The locale's long time format without a time-zone part (the values shown are wall-clock times).
QString longTime();
// The locale's short date format with a four-digit year.
QString pickerDate();
QString formatLongTime(const QTime &time);
QString formatShortDate(const QDate &date);
// The current time in whole seconds.
QTime nowWholeSeconds();
} // namespace DateTimeFormats
