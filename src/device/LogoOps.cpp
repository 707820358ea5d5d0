#include "LogoOps.h"

#include "DeviceLink.h"
#include "FieldEncodings.h"
#include "LogoBlock.h"

namespace {
constexpr int kBlockFrame = 4 + LogoBlock::kBlockSize; // 260: length byte 255
constexpr int kLastBlock = LogoBlock::kBlockCount - 1;
} // namespace

LogoOps::LogoOps(DeviceLink &link, QObject *parent) : QObject(parent), link_(link)
{
    link_.onBlockReply(kReadBlock0, [this](int block) { onReadBlock(block); });
    link_.onReply(kReadFlag, [this] { emit flagReceived(SwitchIsOn(link_.rx(4))); });
    link_.onBlockReply(kWriteBlock0, [this](int block) { onWriteBlockRequest(block); });
    link_.onReply(kWriteFlag, [this] { onFlagRequest(); });
    // A write's own flag is for that write only.
    connect(&link_, &DeviceLink::chainEnded, this, [this](DeviceLink::Chain chain, DeviceLink::ChainEnd how) {
        if (chain == DeviceLink::Chain::LogoWrite && how != DeviceLink::ChainEnd::Completed)
            writeFlag_.reset();
    });
}

LogoOps::Start LogoOps::read()
{
    if (!link_.beginChain(DeviceLink::Chain::LogoRead))
        return Start::Busy;
    emit readRequesting(0);
    if (link_.SendAwaitingReply(kReadBlock0, 4))
        return Start::Started;
    link_.endChain(DeviceLink::Chain::LogoRead, DeviceLink::ChainEnd::Stopped);
    return Start::NotSent;
}

void LogoOps::onReadBlock(int block)
{
    LogoBlock::unpack(link_.rxAt(4), block, received_);
    emit blockReceived(block);
    if (block < kLastBlock) {
        emit readRequesting(block + 1);
        if (!link_.SendAwaitingReply(uint8_t(kReadBlock0 + block + 1), 4))
            link_.endChain(DeviceLink::Chain::LogoRead, DeviceLink::ChainEnd::Stopped);
    } else {
        // The picture is in; the printing flag is one more request of its own.
        link_.endChain(DeviceLink::Chain::LogoRead, DeviceLink::ChainEnd::Completed);
        link_.SendFrame(kReadFlag, 4);
    }
}

bool LogoOps::sendBlock(int block)
{
    link_.clearTx();
    link_.putTx(4, LogoBlock::pack(pixelSource_, block));
    // Each block waits for the device's request for the next one: a device that stops answering
    // part-way is reported instead of leaving the write hanging.
    return link_.SendAwaitingReply(uint8_t(kWriteBlock0 + block), kBlockFrame);
}

LogoOps::Start LogoOps::write(const LogoBitmap &source, std::optional<bool> printed)
{
    if (!link_.beginChain(DeviceLink::Chain::LogoWrite))
        return Start::Busy;
    pixelSource_ = source;
    writeFlag_ = printed;
    emit blockRequested(0);
    if (sendBlock(0))
        return Start::Started;
    link_.endChain(DeviceLink::Chain::LogoWrite, DeviceLink::ChainEnd::Stopped);
    return Start::NotSent;
}

void LogoOps::onWriteBlockRequest(int block)
{
    emit blockRequested(block);
    if (!sendBlock(block))
        link_.endChain(DeviceLink::Chain::LogoWrite, DeviceLink::ChainEnd::Stopped);
    emit blockSent(block);
}

void LogoOps::onFlagRequest()
{
    const bool printed = writeFlag_ ? *writeFlag_ : (flagSource_ && flagSource_());
    writeFlag_.reset();
    link_.endChain(DeviceLink::Chain::LogoWrite, DeviceLink::ChainEnd::Completed);
    link_.setTx(4, SwitchByte(printed));
    link_.SendFrame(kWriteFlag, 5);
    emit flagSent(printed);
}
