#include "ReceiptLinesOps.h"

#include "DeviceLink.h"

ReceiptLinesOps::ReceiptLinesOps(DeviceLink &link, QObject *parent) : QObject(parent), link_(link)
{
    link_.onReply(kReadCode, [this] { emit received(ReceiptLinesRecord::decode(link_.rxAt(4))); });
}

bool ReceiptLinesOps::read()
{
    return link_.SendAwaitingReply(kReadCode, 4);
}

bool ReceiptLinesOps::write(const ReceiptLinesRecord &record)
{
    link_.clearTx();
    link_.putTx(4, record.encode());
    return link_.SendFrame(kWriteCode, kWriteCount);
}
