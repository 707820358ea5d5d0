#include "FiscalDataOps.h"

#include "DeviceLink.h"

FiscalDataOps::FiscalDataOps(DeviceLink &link, QObject *parent) : QObject(parent), link_(link)
{
    link_.onReply(kReadCode, [this] { emit received(FiscalDataRecord::decode(link_.rxAt(4))); });
}

bool FiscalDataOps::read()
{
    return link_.SendAwaitingReply(kReadCode, 4);
}

FiscalDataOps::Write FiscalDataOps::write(const QString &cashRegisterSerial, const QString &fiscalMemorySerial,
                                          const QString &taxNumber)
{
    link_.clearTx();
    link_.putTx(4, FiscalDataRecord::encodeWrite(cashRegisterSerial, fiscalMemorySerial, taxNumber));
    if (!FiscalDataRecord::taxNumberAcceptable(taxNumber))
        return Write::Invalid;
    return link_.SendFrame(kWriteCode, kWriteCount) ? Write::Sent : Write::NotSent;
}
