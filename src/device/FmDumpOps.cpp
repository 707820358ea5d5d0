#include "FmDumpOps.h"

#include "ReplyWaiter.h"
#include "UiText.h"

namespace {
// Data bytes of a block reply: the block number (2) and the block itself.
constexpr int kReplyDataLength = 2 + FmDumpOps::kBlockSize;
} // namespace

FmDumpOps::FmDumpOps(DeviceLink &link, QObject *parent) : QObject(parent), link_(link)
{
    link_.onReply(kReadCode, [this] { onBlockReply(); });
    connect(&link_, &DeviceLink::deviceErrorReply, this, [this](const QString &text) { lastError_ = text; });
    // Whatever ends the chain from outside (silence, an error reply, leaving service mode, a lost
    // connection, Cancel) ends the dump.
    connect(&link_, &DeviceLink::chainEnded, this, &FmDumpOps::onChainEnded);
}

bool FmDumpOps::begin(const QStringList &keepEnabled)
{
    if (!link_.beginChain(DeviceLink::Chain::MemoryDump, {}, keepEnabled))
        return false;
    running_ = true;
    nextBlock_ = 0;
    lastError_.clear();
    return true;
}

bool FmDumpOps::requestFirstBlock()
{
    return running_ && request(0);
}

bool FmDumpOps::request(int block)
{
    nextBlock_ = block;
    link_.setTx(4, uint8_t(block & 0xFF));
    link_.setTx(5, uint8_t(block >> 8));
    emit blockRequested(block);
    if (link_.SendAwaitingReply(kReadCode, 6))
        return true;
    finish(DeviceLink::ChainEnd::Stopped);
    emit broken(OpResult::failed(OpResult::Kind::NotSent));
    return false;
}

void FmDumpOps::cancel()
{
    if (!running_)
        return;
    link_.stopReplyTimer();
    link_.setReplyPending(false);
    finish(DeviceLink::ChainEnd::Cancelled);
}

void FmDumpOps::stop()
{
    finish(DeviceLink::ChainEnd::Stopped);
}

void FmDumpOps::finish(DeviceLink::ChainEnd how)
{
    if (!running_)
        return;
    running_ = false;
    link_.endChain(DeviceLink::Chain::MemoryDump, how);
}

void FmDumpOps::onBlockReply()
{
    if (!running_)
        return; // a late answer to a dump that was already stopped
    const int block = link_.rx(4) | (link_.rx(5) << 8);
    emit replyArrived(block);
    if (!running_)
        return;
    // Every block must be the one asked for and complete; anything else would put bytes in the
    // wrong place.
    if (block != nextBlock_ || link_.rx(3) < kReplyDataLength) {
        const int expected = nextBlock_;
        finish(DeviceLink::ChainEnd::Stopped);
        emit badBlock(block, expected);
        return;
    }
    emit blockReceived(block, QByteArray(reinterpret_cast<const char *>(link_.rxAt(6)), kBlockSize));
    if (!running_)
        return;
    if (block >= kBlocks - 1) {
        finish(DeviceLink::ChainEnd::Completed);
        emit completed();
        return;
    }
    request(block + 1);
}

void FmDumpOps::onChainEnded(DeviceLink::Chain chain, DeviceLink::ChainEnd how)
{
    if (chain != DeviceLink::Chain::MemoryDump || !running_)
        return;
    running_ = false;
    OpResult why = ChainWaiter::resultFor(how, lastError_);
    if (how == DeviceLink::ChainEnd::Stopped)
        why = OpResult::failed(OpResult::Kind::DeviceError, UiText(Txt::NotInServiceMode));
    emit broken(why);
}
