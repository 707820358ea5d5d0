#include "CashiersOps.h"

#include "DeviceLink.h"

namespace {
constexpr int kCashiers = CashierRecord::kCashiers;
constexpr int kNumberPos = 4;
using Chain = DeviceLink::Chain;
using ChainEnd = DeviceLink::ChainEnd;
} // namespace

CashiersOps::CashiersOps(DeviceLink &link, QObject *parent) : QObject(parent), link_(link)
{
    link_.onReply(kReadCode, [this] { readReply(); });
    link_.onReply(kWriteCode, [this] { writeReply(); });
}

void CashiersOps::forgetBrokenOffReply()
{
    // A Cancel (of this or the article transfer) or a chain that stopped inside a reply must not
    // swallow the first reply of the chain that starts now.
    link_.clearRx();
    link_.setCancelFlag(false);
}

bool CashiersOps::startRead()
{
    if (!link_.beginChain(Chain::CashiersRead))
        return false;
    forgetBrokenOffReply();
    emit readStarting();
    link_.setTx(kNumberPos, 1);
    if (!link_.SendAwaitingReply(kReadCode, kReadFrame)) {
        link_.endChain(Chain::CashiersRead, ChainEnd::Stopped);
        return false;
    }
    return true;
}

void CashiersOps::readReply()
{
    // A reply after the read ended still publishes its cashier but asks for nothing more.
    const bool running = link_.chain() == Chain::CashiersRead;
    const CashierRecord record = CashierRecord::decode(link_.rxAt(kNumberPos));
    const int k = record.number;
    emit received(record);
    bool more = false;
    if (k < kCashiers && running) {
        link_.setTx(kNumberPos, uint8_t(k + 1));
        // Every request of the chain waits for its reply, so a device that stops answering
        // part-way is reported instead of leaving the read hanging.
        more = link_.SendAwaitingReply(kReadCode, kReadFrame);
    }
    emit readStepEnded();
    if (running && !more)
        link_.endChain(Chain::CashiersRead, k < kCashiers ? ChainEnd::Stopped : ChainEnd::Completed);
}

bool CashiersOps::putName(int k, const NameSource &names, int minimumBytes)
{
    link_.clearTx();
    link_.setTx(kNumberPos, uint8_t(k));
    const QString name = names && k >= 1 && k <= kCashiers ? names(k) : QString();
    const QByteArray bytes = CashierRecord::nameField(name);
    if (bytes.size() < minimumBytes)
        return false;
    link_.putTx(kNumberPos + 1, bytes, CashierRecord::kNameMaxChars);
    return true;
}

bool CashiersOps::startWrite(NameSource names, int count)
{
    if (!link_.beginChain(Chain::CashiersWrite))
        return false;
    names_ = names ? std::move(names) : standingNames_;
    count_ = qBound(1, count, kCashiers);
    forgetBrokenOffReply();
    emit writeStepStarting(1);
    lastWritten_ = 0;
    bool sent = false;
    // The first cashier needs a name of at least one character.
    if (!putName(1, names_, 1)) {
        link_.endChain(Chain::CashiersWrite, ChainEnd::Stopped);
        emit writeRefused(1);
    } else if (!link_.SendAwaitingReply(kWriteCode, kWriteFrame)) {
        link_.endChain(Chain::CashiersWrite, ChainEnd::Stopped);
    } else {
        lastWritten_ = 1;
        sent = true;
        if (count_ == 1)
            link_.endChain(Chain::CashiersWrite, ChainEnd::Completed);
    }
    emit writeStepEnded();
    return sent;
}

void CashiersOps::writeReply()
{
    const int k = link_.rx(kNumberPos);
    // Once the last cashier is written the device asks for the one after it: the write is complete.
    const bool complete = k == count_ + 1 && lastWritten_ == count_;
    lastWritten_ = 0;
    if (complete) {
        emit writeCompleted();
        emit writeStepEnded();
        return;
    }
    // A reply outside a running chain is answered from the standing names, as far as cashier 64.
    const bool running = link_.chain() == Chain::CashiersWrite;
    const NameSource &names = running ? names_ : standingNames_;
    const int count = running ? count_ : kCashiers;
    emit writeStepStarting(k);
    // Every later cashier needs a name of at least two characters.
    const bool valid = putName(k, names, 2);
    if (!valid || k > count) {
        link_.endChain(Chain::CashiersWrite, ChainEnd::Stopped);
        emit writeRefused(k);
    } else if (!link_.SendAwaitingReply(kWriteCode, kWriteFrame)) { // a silent device is reported
        link_.endChain(Chain::CashiersWrite, ChainEnd::Stopped);
    } else {
        lastWritten_ = k;
        // The last cashier is on its way; the device's request for the one after it ends the write.
        if (k == count)
            link_.endChain(Chain::CashiersWrite, ChainEnd::Completed);
    }
    emit writeStepEnded();
}
