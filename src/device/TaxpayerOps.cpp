#include "TaxpayerOps.h"

#include "DeviceLink.h"

TaxpayerOps::TaxpayerOps(DeviceLink &link, QObject *parent) : QObject(parent), link_(link)
{
    link_.onReply(kReadCode, [this] { emit received(TaxpayerRecord::decode(link_.rxAt(4))); });
}

bool TaxpayerOps::read()
{
    return link_.SendAwaitingReply(kReadCode, 4);
}

TaxpayerOps::Write TaxpayerOps::write(const TaxpayerRecord &record)
{
    link_.clearTx();
    link_.putTx(4, record.encode());
    if (record.fields[TaxpayerRecord::DzlBulstat].isEmpty())
        return Write::Invalid;
    return link_.SendFrame(kWriteCode, 4 + TaxpayerRecord::kSize) ? Write::Sent : Write::NotSent;
}
