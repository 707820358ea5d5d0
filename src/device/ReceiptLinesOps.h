#pragma once
// Reading and writing the receipt header and footer lines and the display lines (requests 0x40 and 0x45).

#include "ReceiptLinesRecord.h"

#include <QObject>

class DeviceLink;

class ReceiptLinesOps : public QObject {
    Q_OBJECT
public:
    static constexpr uint8_t kReadCode = 0x40;
    static constexpr uint8_t kWriteCode = 0x45;
    static constexpr int kWriteCount = 4 + ReceiptLinesRecord::kSize; // 208 with the CR

    explicit ReceiptLinesOps(DeviceLink &link, QObject *parent = nullptr);

    // Read request 0x40 with the reply timer; false when it could not be written.
    bool read();
    // Write request 0x45 with all eight lines and their switches, without the reply timer; false
    // when it could not be written.
    bool write(const ReceiptLinesRecord &record);

signals:
    // Reply 0x40, asked for or not.
    void received(const ReceiptLinesRecord &record);

private:
    DeviceLink &link_;
};
