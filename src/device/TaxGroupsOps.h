#pragma once
// Reading and writing the nine tax-group rates (requests 0x70 and 0x75).

#include "TaxGroupsRecord.h"

#include <QObject>

class DeviceLink;

class TaxGroupsOps : public QObject {
    Q_OBJECT
public:
    static constexpr uint8_t kReadCode = 0x70;
    static constexpr uint8_t kWriteCode = 0x75;
    static constexpr int kWriteFrame = 4 + TaxGroupsRecord::kWriteSize;

    explicit TaxGroupsOps(DeviceLink &link, QObject *parent = nullptr);

    // Read request 0x70 with the reply timer; false when it could not be written.
    bool read();

    enum class Write { Sent, Invalid, NotSent };
    // Write request 0x75, without the reply timer (the device answers with a status or error
    // reply). Invalid, with nothing sent, when a rate is neither 0..9999 nor undefined (0xFFFF).
    Write write(const TaxGroupsRecord &record);

signals:
    // Reply 0x70, asked for or not.
    void received(const TaxGroupsRecord &record);

private:
    DeviceLink &link_;
};
