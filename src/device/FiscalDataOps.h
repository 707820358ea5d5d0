#pragma once
// Reading the fiscal identity (request 0x20) and the one-time fiscalisation write (0x25).

#include "FiscalDataRecord.h"

#include <QObject>

class DeviceLink;

class FiscalDataOps : public QObject {
    Q_OBJECT
public:
    static constexpr uint8_t kReadCode = 0x20;
    static constexpr uint8_t kWriteCode = 0x25;
    static constexpr int kWriteCount = 4 + FiscalDataRecord::kWriteSize; // 58 with the CR

    explicit FiscalDataOps(DeviceLink &link, QObject *parent = nullptr);

    // Read request 0x20 with the reply timer; false when it could not be written.
    bool read();

    enum class Write { Sent, Invalid, NotSent };
    // Write request 0x25: the two serial numbers as read and the tax number. Invalid, with nothing
    // sent, when the tax number is shorter than two characters.
    Write write(const QString &cashRegisterSerial, const QString &fiscalMemorySerial, const QString &taxNumber);

signals:
    // Reply 0x20, asked for or not.
    void received(const FiscalDataRecord &record);

private:
    DeviceLink &link_;
};
