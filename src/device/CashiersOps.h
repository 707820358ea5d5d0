#pragma once
// Reading and writing the 64 cashiers: the chains of requests 0x90 and 0x95, one cashier per request.

#include "CashierRecord.h"

#include <QObject>

#include <functional>

class DeviceLink;

class CashiersOps : public QObject {
    Q_OBJECT
public:
    static constexpr uint8_t kReadCode = 0x90;
    static constexpr uint8_t kWriteCode = 0x95;
    static constexpr int kReadFrame = 5;                                // 0x5F, code, length, K, CR
    static constexpr int kWriteFrame = 4 + CashierRecord::kRequestSize; // 0x5F, code, length, K, name field, CR

    // The name to send for cashier 1..64.
    using NameSource = std::function<QString(int number)>;

    explicit CashiersOps(DeviceLink &link, QObject *parent = nullptr);

    // Where the names come from for replies that arrive while no write chain of another source runs
    // (the window's grid).
    void setNameSource(NameSource names) { standingNames_ = std::move(names); }

    // Starts the read chain at cashier 1; every reply asks for the next one until cashier 64.
    // False when another chain runs (the link said so) or the first request could not be written.
    bool startRead();
    // Starts the write chain of cashiers 1..count with names from `names` (empty: the standing
    // source). The device asks for each next cashier; the chain ends as soon as cashier `count` is
    // sent, and the device's request for the one after it is then taken quietly. A name shorter
    // than one character for cashier 1, or two for the others, stops the chain (writeRefused).
    // False when the chain did not start or its first request was not sent.
    bool startWrite(NameSource names = {}, int count = CashierRecord::kCashiers);

signals:
    // The read chain began; its first request goes out next.
    void readStarting();
    // Reply 0x90, asked for or not, before the next request of the chain goes out.
    void received(const CashierRecord &record);
    // A read reply was handled and the next request (if any) sent; the chain's end follows.
    void readStepEnded();
    // The write of cashier `number` is being prepared (the chain's start, or a reply asking for it).
    void writeStepStarting(int number);
    // The name of cashier `number` is too short, or the device asked for a cashier the chain does
    // not hold: nothing was sent and the chain stopped.
    void writeRefused(int number);
    // The device asked for the cashier after the last one written: it took the chain's last request.
    void writeCompleted();
    // A write step ended (also the quiet step after the last cashier).
    void writeStepEnded();

private:
    void readReply();
    void writeReply();
    // Empties the receive buffer and clears the cancel flag before a chain starts.
    void forgetBrokenOffReply();
    // Fills the write request for cashier k: false, with nothing filled in, when its name has fewer
    // than `minimumBytes` bytes.
    bool putName(int k, const NameSource &names, int minimumBytes);

    DeviceLink &link_;
    NameSource standingNames_;
    // The names and the length of the last write chain.
    NameSource names_;
    int count_ = CashierRecord::kCashiers;
    // The cashier whose name the write chain sent last; 0 when no write is running.
    int lastWritten_ = 0;
};
