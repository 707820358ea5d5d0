#pragma once
// Reading and writing the taxpayer data (requests 0x30 and 0x35).

#include "TaxpayerRecord.h"

#include <QObject>

class DeviceLink;

class TaxpayerOps : public QObject {
    Q_OBJECT
public:
    static constexpr uint8_t kReadCode = 0x30;
    static constexpr uint8_t kWriteCode = 0x35;

    explicit TaxpayerOps(DeviceLink &link, QObject *parent = nullptr);

    // Read request 0x30 with the reply timer; false when it could not be written.
    bool read();

    enum class Write { Sent, Invalid, NotSent };
    // Write request 0x35. Invalid, with nothing sent, when the statistical number is empty.
    Write write(const TaxpayerRecord &record);

signals:
    // Reply 0x30, asked for or not.
    void received(const TaxpayerRecord &record);

private:
    DeviceLink &link_;
};
