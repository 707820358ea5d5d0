#include "TaxGroupsOps.h"

#include "DeviceLink.h"

TaxGroupsOps::TaxGroupsOps(DeviceLink &link, QObject *parent) : QObject(parent), link_(link)
{
    link_.onReply(kReadCode, [this] { emit received(TaxGroupsRecord::decode(link_.rxAt(4))); });
}

bool TaxGroupsOps::read()
{
    return link_.SendAwaitingReply(kReadCode, 4);
}

TaxGroupsOps::Write TaxGroupsOps::write(const TaxGroupsRecord &record)
{
    for (uint16_t rate : record.rates)
        if (rate > TaxGroupsRecord::kMaxRate && rate != TaxGroupsRecord::kUndefinedRate)
            return Write::Invalid;
    link_.clearTx();
    link_.putTx(4, record.encode());
    return link_.SendFrame(kWriteCode, kWriteFrame) ? Write::Sent : Write::NotSent;
}
