#include "LastFiscalDateTime.h"

namespace {
const char *const kObjectName = "LastFiscalDateTime";
}

LastFiscalDateTime &LastFiscalDateTime::of(QObject *window)
{
    if (auto *existing = window->findChild<LastFiscalDateTime *>(kObjectName, Qt::FindDirectChildrenOnly))
        return *existing;
    auto *created = new LastFiscalDateTime(window);
    created->setObjectName(kObjectName);
    return *created;
}

QDateTime LastFiscalDateTime::wallClock(const QDate &date, const QTime &time)
{
    const QTime whole(time.hour(), time.minute(), time.second());
    // UTC is used only as a zone without daylight-saving gaps: the values compare as wall clocks.
    return QDateTime(date, whole.isValid() ? whole : QTime(0, 0), Qt::UTC);
}

void LastFiscalDateTime::set(const QDate &date, const QTime &time)
{
    value_ = wallClock(date, time);
}

bool LastFiscalDateTime::allows(const QDate &date, const QTime &time) const
{
    return !value_.isValid() || wallClock(date, time) > value_;
}
