#pragma once
// The device link: buffers and flags, framing of requests, recognition and dispatch of replies.

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <array>
#include <cstdint>
#include <functional>

class LinkView;
#include "Transport.h"

class DeviceLink : public QObject {
    Q_OBJECT
public:
    static constexpr int kBufferSize = 260;
    static constexpr int kReplyTimeoutMs = 5000;

    explicit DeviceLink(LinkView &view, QObject *parent = nullptr);
    ~DeviceLink() override;

    LinkView &view() { return view_; }

    // Buffers with positions 1..260 as the frame tables count them.
    uint8_t tx(int pos) const { return tx_[index(pos)]; }
    void setTx(int pos, uint8_t value) { tx_[index(pos)] = value; }
    // Copies bytes into the transmit buffer from position `pos` on, never past position 260.
    void putTx(int pos, const QByteArray &bytes, int maxLength = kBufferSize);
    void clearTx() { tx_.fill(0); }
    uint8_t rx(int pos) const { return rx_[index(pos)]; }
    // Pointer to receive position `pos`; the bytes up to position 260 may be read through it.
    const uint8_t *rxAt(int pos) const { return &rx_[index(pos)]; }
    int rxCount() const { return rxCount_; }
    // Empties the receive buffer: count 0 and all positions zeroed.
    void clearRx();

    // Frames transmit positions 1..count as a short frame and writes it; false when it could not
    // be written (the error was shown to the user).
    bool SendFrame(uint8_t code, int count);
    // SendFrame, then the reply-pending flag and the reply timer.
    bool SendAwaitingReply(uint8_t code, int count);
    // Transport write of a ready frame (long frames); false when it could not be written.
    bool WriteBytes(const QByteArray &bytes);

    // Receivers: append bytes and run the recogniser (per byte or per chunk, as the transport says).
    void receiveBytes(const QByteArray &bytes, bool eachByte);
    // The recogniser: tests for a complete reply and dispatches it.
    void HandleReceived();

    using Handler = std::function<void()>;
    using BlockHandler = std::function<void(int block)>;
    // Handler for one reply code; the reply is readable through rx() while it runs.
    void onReply(uint8_t code, Handler handler);
    // Handler for the sixteen codes 0xE0..0xEF (highNibble 0xE0) or 0xD0..0xDF (0xD0), given the block.
    void onBlockReply(uint8_t highNibble, BlockHandler handler);

    bool serviceMode() const { return serviceMode_; }
    void setServiceMode(bool on) { serviceMode_ = on; }
    bool serialTransport() const { return serialTransport_; }
    void setSerialTransport(bool on) { serialTransport_ = on; }
    bool replyPending() const { return replyPending_; }
    void setReplyPending(bool on) { replyPending_ = on; }
    bool cancelFlag() const { return cancel_; }
    void setCancelFlag(bool on) { cancel_ = on; }
    bool disconnectAfterExit() const { return disconnectAfterExit_; }
    void setDisconnectAfterExit(bool on) { disconnectAfterExit_ = on; }

    // Start-up state: flags as at activation, empty receive buffer, timer stopped.
    void resetState();

    QTimer &replyTimer() { return timer_; }
    void startReplyTimer() { timer_.start(); }
    void stopReplyTimer() { timer_.stop(); }
    // The reply timer's event.
    void TimerTimer();
    // The Cancel button during transfers.
    void BtnOtkazClick();

    // The transport requests go to and bytes come from; the link does not own it.
    void setTransport(Transport *transport);
    Transport *transport() const { return transport_; }

    // One device operation at a time: the chains of requests that occupy the link until they end.
    enum class Chain {
        None,
        ArticlesRead,
        ArticlesWrite,
        CashiersRead,
        CashiersWrite,
        LogoRead,
        LogoWrite,
        MemoryDump
    };
    Q_ENUM(Chain)
    // How a chain ended: all done, Cancel, an error reply, no reply in time, the connection went
    // away, stopped by the tool itself (bad data, the device left service mode), or the program ends.
    enum class ChainEnd { Completed, Cancelled, DeviceError, NoAnswer, ConnectionLost, Stopped, Abandoned };
    Q_ENUM(ChainEnd)
    // Says where a chain stands when it ends; added to the link's own error and no-answer messages.
    using ChainDescriber = std::function<QString(ChainEnd how)>;
    // Why received bytes were thrown away without forming a reply: no start byte in front, a frame
    // that outgrew the buffer, the reply in flight after Cancel, a partial frame dropped when the
    // buffer was emptied (the connection went away, a disconnect).
    enum class Discard { NoStartByte, TooLong, Cancelled, Dropped };
    Q_ENUM(Discard)

    // Names a frame in messages ("read taxpayer"); the device layer, which knows the commands, sets it.
    using FrameNamer = std::function<QString(const QByteArray &frame, bool sent)>;
    void setFrameNamer(FrameNamer namer) { frameNamer_ = std::move(namer); }
    // The last frame written to the transport (empty before the first).
    const QByteArray &lastSent() const { return lastSent_; }
    // The no-answer message: the fixed text, then what was sent, where to, and what to check.
    QString noAnswerMessage() const;

    // Marks `chain` as running and disables every control that would start another device
    // operation, except `keepEnabled` (the running chain's own stop button). False, with a message,
    // when another chain is already running.
    bool beginChain(Chain chain, ChainDescriber describe = {}, const QStringList &keepEnabled = {});
    // Ends the running chain: the controls come back as they were before it, with the changes
    // asked for while it ran. Nothing happens when no chain runs.
    void endChain(ChainEnd how);
    // The same, only when `chain` is the one running.
    void endChain(Chain chain, ChainEnd how);
    Chain chain() const { return chain_; }
    bool busy() const { return chain_ != Chain::None; }
    // While a chain runs: shows that the link is busy and returns true.
    bool refuseWhileBusy();
    // Enables or disables controls; the ones a running chain holds disabled take the state when it ends.
    void setControlsEnabled(const QStringList &objectNames, bool enabled);
    // The controls that start a device operation (held disabled while a chain runs).
    static const QStringList &deviceOperationControls();
    // The program is closing during a chain: it is broken off as Cancel does, without a message.
    void abandonChain();

signals:
    // After a short reply was recognised and its handler (if any) ran.
    void replyDispatched(uint8_t code);
    // After a long reply (command byte 0x20 or 0x24) was recognised; result 0 means a device error.
    void longReplyRecognised(uint8_t command, uint8_t result);
    // The transport went away by itself; every byte it delivered before was recognised first.
    void connectionLost();
    // After a chain ended, its controls came back and the link's own message (if any) was raised.
    void chainEnded(DeviceLink::Chain chain, DeviceLink::ChainEnd how);
    // An error reply (0xF5) or a long reply with result 0 arrived; `text` is what the user was shown.
    void deviceErrorReply(const QString &text);
    // The reply timer ran out while a reply was awaited.
    void noAnswer();
    // Bytes that went out to the transport, one frame per call.
    void frameSent(const QByteArray &bytes);
    // A complete reply was recognised (short or long frame), before it is handled.
    void frameRecognised(const QByteArray &bytes);
    // Received bytes that formed no reply were thrown away: one run of them per call, reported in
    // arrival order with frameRecognised.
    void bytesDiscarded(const QByteArray &bytes, DeviceLink::Discard why);

private:
    static int index(int pos) { return pos < 1 ? 1 : (pos > kBufferSize ? kBufferSize : pos); }
    // Receive positions 1..count are thrown away: collected into the current run of discarded bytes.
    void discardCollected(Discard why);
    // Reports the run of discarded bytes collected so far (before a frame or at the end of a delivery).
    void flushDiscarded();
    void appendByte(uint8_t b);
    void onTransportBytes(const QByteArray &bytes);
    void onTransportClosed();
    // The connection is gone: stop waiting, tell the window, say so.
    void actOnClosed();
    // Closes the TCP connection that a disconnect request was waiting to close.
    void closeAfterLeave();
    bool tryLongReply(uint8_t command);
    void dispatch(uint8_t code);
    // Recognises queued bytes in arrival order unless a reply handler is still running.
    void processIncoming();
    void recognise(const QByteArray &bytes, bool eachByte);
    void handleServiceModeOn();
    void handleServiceModeOff();
    void handleNotZeroed();
    void handleErrorReply();
    bool hasModelIdentifier() const;
    // Shows the message dialog; bytes that arrive while it is open wait until it is closed.
    int showDialog(const QString &title, const QString &text);

    LinkView &view_;
    std::array<uint8_t, kBufferSize + 1> tx_{}; // index 0 unused
    std::array<uint8_t, kBufferSize + 1> rx_{};
    int rxCount_ = 0;
    bool serviceMode_ = true;
    bool serialTransport_ = false;
    bool replyPending_ = false;
    bool cancel_ = false;
    bool disconnectAfterExit_ = false;
    QTimer timer_;
    QPointer<Transport> transport_;
    std::array<Handler, 256> handlers_{};
    BlockHandler logoRead_;
    BlockHandler logoWrite_;
    // Bytes that arrive while a reply handler runs (a modal dialog keeps events flowing) wait here
    // and are recognised once the handler has returned, behind the bytes already being worked
    // through, so the reply being handled stays intact and the stream keeps its order.
    int dispatchDepth_ = 0;
    bool receiving_ = false;
    struct Incoming {
        QByteArray bytes;
        bool eachByte;
    };
    QList<Incoming> incoming_;
    // The transport reported `closed`; acted on once the bytes before it have been recognised.
    bool closePending_ = false;

    // Ends the running chain as `how` and shows the link's message with the chain's own words added.
    void endChainWithMessage(ChainEnd how, const QString &text);
    // The transport write itself; false, with the error shown, when the bytes could not go out.
    bool writeOut(const QByteArray &bytes);

    QByteArray discarded_;
    Discard discardedWhy_ = Discard::NoStartByte;
    FrameNamer frameNamer_;
    QByteArray lastSent_;

    Chain chain_ = Chain::None;
    ChainDescriber describeChain_;
    // Controls held disabled by the running chain, with the state each takes when it ends.
    QHash<QString, bool> heldControls_;
};
