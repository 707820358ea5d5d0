#pragma once
// The logo chains: reading blocks 0xE0..0xEF and the printing flag 0x55, writing the blocks the
// device asks for with 0xD0..0xDF and the flag it asks for with 0x50.

#include "LogoBitmap.h"

#include <QObject>

#include <functional>
#include <optional>

class DeviceLink;

class LogoOps : public QObject {
    Q_OBJECT
public:
    static constexpr uint8_t kReadBlock0 = 0xE0;
    static constexpr uint8_t kWriteBlock0 = 0xD0;
    static constexpr uint8_t kReadFlag = 0x55;
    static constexpr uint8_t kWriteFlag = 0x50;

    explicit LogoOps(DeviceLink &link, QObject *parent = nullptr);

    // The dots the read blocks have been drawn into (blocks not received keep their dots).
    const LogoBitmap &received() const { return received_; }
    // The dots the write chain packs its blocks from: blank until the first write.
    const LogoBitmap &pixelSource() const { return pixelSource_; }
    // Asked for the printing flag when the device asks for it (the window's check box); without
    // one, and outside a write that brought its own flag, the flag is off.
    void setFlagSource(std::function<bool()> printed) { flagSource_ = std::move(printed); }

    enum class Start { Started, Busy, NotSent };
    // Starts the read chain with block 0 (reply timer on each block). Busy, with the link's
    // message and nothing sent, when another chain runs; NotSent when the request could not be
    // written (the chain has ended as Stopped).
    Start read();
    // Starts the write chain: `source` becomes the pixel source and block 0 goes out; the device
    // asks for the rest. `printed` is the flag this write sends, else the flag source is asked.
    Start write(const LogoBitmap &source, std::optional<bool> printed = std::nullopt);

signals:
    // The read request for `block` is about to go out.
    void readRequesting(int block);
    // Reply 0xE0 + block: its rows are in received(). The chain goes on after this.
    void blockReceived(int block);
    // Reply 0x55.
    void flagReceived(bool printed);
    // Reply 0xD0 + block, before the block goes out, and after it went (or could not go).
    void blockRequested(int block);
    void blockSent(int block);
    // Reply 0x50 was answered with the flag.
    void flagSent(bool printed);

private:
    void onReadBlock(int block);
    void onWriteBlockRequest(int block);
    void onFlagRequest();
    bool sendBlock(int block);

    DeviceLink &link_;
    LogoBitmap received_;
    LogoBitmap pixelSource_;
    std::function<bool()> flagSource_;
    std::optional<bool> writeFlag_;
};
