#include "DepartmentsOps.h"

#include "DeviceLink.h"

DepartmentsOps::DepartmentsOps(DeviceLink &link, QObject *parent) : QObject(parent), link_(link)
{
    link_.onReply(kReadCode, [this] { emit received(DepartmentsRecord::decode(link_.rxAt(4))); });
}

bool DepartmentsOps::read()
{
    return link_.SendAwaitingReply(kReadCode, 4);
}

DepartmentsOps::Write DepartmentsOps::write(const DepartmentsRecord &record)
{
    if (!record.valid())
        return Write::Invalid;
    link_.clearTx();
    link_.putTx(4, record.encode());
    return link_.SendFrame(kWriteCode, kWriteFrame) ? Write::Sent : Write::NotSent;
}
