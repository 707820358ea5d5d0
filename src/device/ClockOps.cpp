#include "ClockOps.h"

#include "DeviceLink.h"

ClockOps::ClockOps(DeviceLink &link, QObject *parent) : QObject(parent), link_(link)
{
    link_.onReply(kReadCode, [this] { emit received(ClockRecord::decode(link_.rxAt(4))); });
}

bool ClockOps::read()
{
    return link_.SendAwaitingReply(kReadCode, 4);
}

bool ClockOps::write(const QDate &date, const QTime &time)
{
    link_.clearTx();
    link_.putTx(4, ClockRecord::encodeWrite(date, time));
    return link_.SendFrame(kWriteCode, kWriteCount);
}
