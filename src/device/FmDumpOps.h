#pragma once
// Reading the whole fiscal memory: the chain of 0xC0 requests for blocks 0..1023 of 128 bytes each.

#include "DeviceLink.h"
#include "OpResult.h"

#include <QByteArray>
#include <QObject>
#include <QStringList>

#include <cstdint>

class FmDumpOps : public QObject {
    Q_OBJECT
public:
    static constexpr uint8_t kReadCode = 0xC0;
    static constexpr int kBlockSize = 128;
    static constexpr int kBlocks = 1024;
    static constexpr int kDumpSize = kBlockSize * kBlocks;

    explicit FmDumpOps(DeviceLink &link, QObject *parent = nullptr);

    // Takes the link for the dump (controls other than `keepEnabled` are held disabled); nothing
    // is sent yet. False, with the link's busy message, when another chain runs.
    bool begin(const QStringList &keepEnabled = {});
    // Asks for block 0; later blocks are asked for as each reply arrives. False when it could not be
    // written: the dump has then ended.
    bool requestFirstBlock();
    // The user stops the dump: no reply is awaited any longer and the chain ends as cancelled.
    void cancel();
    // Ends the dump at once because the caller could not keep a block.
    void stop();

    bool running() const { return running_; }
    int nextBlock() const { return nextBlock_; }

signals:
    // Just before the request for `block` goes out.
    void blockRequested(int block);
    // A block reply arrived while the dump runs, before it is checked.
    void replyArrived(int block);
    // A complete block, the one asked for. The dump goes on after this returns, unless stopped.
    void blockReceived(int block, const QByteArray &data);
    // All blocks are in; the chain has ended as completed.
    void completed();
    // The device sent another block than the one asked for, or an incomplete one; the dump has ended.
    void badBlock(int block, int expected);
    // The dump ended without all blocks for another reason: no reply in time, an error reply, the
    // device left service mode, the connection went away, a request could not be written, or the
    // chain was broken off from outside (Cancel, the program closing).
    void broken(const OpResult &why);

private:
    bool request(int block);
    void onBlockReply();
    void onChainEnded(DeviceLink::Chain chain, DeviceLink::ChainEnd how);
    // Ends the chain as `how` without reporting it (the dump itself decided to end).
    void finish(DeviceLink::ChainEnd how);

    DeviceLink &link_;
    bool running_ = false;
    int nextBlock_ = 0;
    QString lastError_;
};
